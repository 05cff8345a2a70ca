// The chart's plain rules: which code sits in which cell, the menu captions, the logo colours,
// reading a size box's text, the character set, hit-testing and the copied RTF.
#include "charset.h"
#include "chartcells.h"
#include "clipboardflavours.h"
#include "platform/fontface.h"
#include "logocolours.h"
#include "tspinedit.h"
#include "tstringgrid.h"

#include <QtTest>

class TestChartRules : public QObject
{
    Q_OBJECT

private slots:
    void cellsAndCaptions_data();
    void cellsAndCaptions();
    void logoColourSequence();
    void spinValueFromText_data();
    void spinValueFromText();
    void ansiCharacters_data();
    void ansiCharacters();
    void cellIndexAt_data();
    void cellIndexAt();
    void symbolCmap_data();
    void symbolCmap();
    void rtf_data();
    void cellNames_data();
    void cellNames();
    void rtf();
};

void TestChartRules::cellsAndCaptions_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("hex");
    QTest::newRow("space") << 32 << 0 << 0 << "Dec: 0032" << "Hex: 20";
    QTest::newRow("A") << 65 << 1 << 2 << "Dec: 0065" << "Hex: 41";
    QTest::newRow("d") << 100 << 4 << 4 << "Dec: 0100" << "Hex: 64";
    QTest::newRow("last") << 255 << 15 << 13 << "Dec: 0255" << "Hex: FF";
}

void TestChartRules::cellsAndCaptions()
{
    QFETCH(int, code);
    QFETCH(int, col);
    QFETCH(int, row);
    QCOMPARE(chart::cellCode(col, row), code);
    QCOMPARE(chart::cellCol(code), col);
    QCOMPARE(chart::cellRow(code), row);
    QTEST(chart::decCaption(code), "dec");
    QTEST(chart::hexCaption(col, row), "hex");
}

void TestChartRules::logoColourSequence()
{
    logo::Colours colours;
    QCOMPARE(colours.nextColour(), QColor(0, 8, 219));
    QCOMPARE(colours.nextColour(), QColor(51, 69, 171));
    QCOMPARE(colours.nextColour(), QColor(81, 41, 94));
    QCOMPARE(colours.nextColour(), QColor(108, 20, 121));
    logo::Colours again; // every run starts from the same state
    QCOMPARE(again.nextColour(), QColor(0, 8, 219));
}

void TestChartRules::spinValueFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("number") << "20" << 20;
    QTest::newRow("minus sign") << "-3" << -3;
    QTest::newRow("largest int") << "2147483647" << 2147483647;
    QTest::newRow("empty") << "" << 2;
    QTest::newRow("lone minus") << "-" << 2;
    QTest::newRow("fraction") << "12.5" << 2;
    QTest::newRow("above 32 bits") << "2147483648" << 2;
    QTest::newRow("below 32 bits") << "-2147483649" << 2;
    QTest::newRow("leading blank") << " 5" << 2;
    QTest::newRow("hex is not decimal") << "0x10" << 2;
}

void TestChartRules::spinValueFromText()
{
    QFETCH(QString, text);
    QTEST(TSpinEdit::valueFromText(text, 2), "value");
}

void TestChartRules::ansiCharacters_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("unicode");
    // With a symbol font a cell shows the glyph filed under 0xF000 + its code, not its character.
    QTest::addColumn<QString>("symbol");
    QTest::newRow("space") << 0x20 << 0x20 << QString(QChar(0xF020));
    QTest::newRow("euro") << 0x80 << 0x20AC << QString(QChar(0xF080));
    QTest::newRow("unassigned 81") << 0x81 << 0x81 << QString(QChar(0xF081));
    QTest::newRow("unassigned 9D") << 0x9D << 0x9D << QString(QChar(0xF09D));
    QTest::newRow("Y diaeresis") << 0x9F << 0x178 << QString(QChar(0xF09F));
    QTest::newRow("y diaeresis") << 0xFF << 0xFF << QString(QChar(0xF0FF));
    QTest::newRow("outside the set") << -1 << 0x3A9 << QString(QChar(0x03A9));
}

void TestChartRules::ansiCharacters()
{
    QFETCH(int, code);
    QFETCH(int, unicode);
    if (code >= 0)
        QCOMPARE(int(charset::ansiToUnicode(code).unicode()), unicode);
    QCOMPARE(charset::unicodeToAnsi(QChar(char16_t(unicode))), code);
    QTEST(chart::symbolText(QString(QChar(char16_t(unicode)))), "symbol");
}

void TestChartRules::cellIndexAt_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("index");
    QTest::newRow("line belongs to the cell before") << 37 << 37 << 0 << 0;
    QTest::newRow("next cell") << 38 << 37 << 0 << 1;
    QTest::newRow("scrolled by three") << 0 << 37 << 3 << 3;
    QTest::newRow("right of the last cell") << 16 * 38 << 37 << 0 << -1;
    QTest::newRow("last cell") << 16 * 38 - 1 << 37 << 0 << 15;
    QTest::newRow("huge cells") << 2000000000 << 2000000000 << 0 << 0;
}

void TestChartRules::cellIndexAt()
{
    QFETCH(int, pos);
    QFETCH(int, size);
    QFETCH(int, first);
    QTEST(TStringGrid::cellIndexAt(pos, size, first, 16), "index");
}

static QByteArray CmapWith(const QList<QPair<int, int>> &maps)
{
    QByteArray cmap;
    QDataStream out(&cmap, QIODevice::WriteOnly);
    out << quint16(0) << quint16(maps.size());
    for (const auto &map : maps)
        out << quint16(map.first) << quint16(map.second) << quint32(0);
    return cmap;
}

void TestChartRules::symbolCmap_data()
{
    QTest::addColumn<QByteArray>("cmap");
    QTest::addColumn<bool>("symbol");
    QTest::newRow("symbol only") << CmapWith({{3, 0}}) << true;
    QTest::newRow("unicode bmp") << CmapWith({{0, 3}, {3, 1}}) << false;
    QTest::newRow("symbol and unicode") << CmapWith({{3, 0}, {3, 1}}) << false;
    QTest::newRow("unicode platform and symbol") << CmapWith({{0, 3}, {3, 0}}) << false;
    QTest::newRow("empty table") << QByteArray() << false;
    QTest::newRow("truncated records") << CmapWith({{3, 0}}).left(6) << false;
}

void TestChartRules::symbolCmap()
{
    QFETCH(QByteArray, cmap);
    QTEST(platform::isSymbolCmap(cmap), "symbol");
}

void TestChartRules::rtf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("plain") << "A" << "Liberation Serif"
                           << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Liberation Serif;}}\\f0\\fs24 A}");
    QTest::newRow("braces escaped") << "{" << "F"
                                    << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil F;}}\\f0\\fs24 \\{}");
    QTest::newRow("euro as unicode") << QString(QChar(0x20AC)) << "F"
                                     << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil F;}}\\f0\\fs24 \\u8364?}");
}

void TestChartRules::rtf()
{
    QFETCH(QString, text);
    QFETCH(QString, face);
    QTEST(clipboard::rtfFor(text, face, 12), "rtf");
}

QTEST_GUILESS_MAIN(TestChartRules)
void TestChartRules::cellNames_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("name");
    const int glyph = int(chart::Shown::Glyph), missing = int(chart::Shown::Missing), symbol = int(chart::Shown::Symbol);
    QTest::newRow("letter") << 65 << glyph << "A, 65, hex 41";
    QTest::newRow("euro sign") << 128 << glyph << QStringLiteral("\u20AC, 128, hex 80");
    QTest::newRow("space") << 32 << glyph << "space, 32, hex 20";
    QTest::newRow("no-break space") << 160 << glyph << "no-break space, 160, hex A0";
    QTest::newRow("soft hyphen") << 173 << glyph << "soft hyphen, 173, hex AD";
    QTest::newRow("unassigned code") << 0x9D << missing << "unassigned, 157, hex 9D, not in this font";
    QTest::newRow("not in the font") << 0xC0 << missing << QStringLiteral("\u00C0, 192, hex C0, not in this font");
    QTest::newRow("symbol font") << 65 << symbol << "symbol, 65, hex 41";
}

void TestChartRules::cellNames()
{
    QFETCH(int, code);
    QFETCH(int, shown);
    QTEST(chart::cellName(charset::ansiToUnicode(code), code, chart::Shown(shown)), "name");
}

#include "tst_chartrules.moc"
