// Loading one face of a font file for the chart: a face of a collection becomes a font of its
// own, and damaged collections, special files and missing files load nothing, without hanging.
#include "platform/facequery.h"
#include "platform/fontface.h"
#include "testsupport.h"

#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>

using platform::FontFace;

namespace {
QByteArray Read(const QString &relative)
{
    QFile file(testsupport::fontPath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put32(QByteArray &data, int at, quint32 value)
{
    qToBigEndian(value, data.data() + at);
}

// The family of a font's data as Qt reads it; empty when it is not a font.
QString FamilyOf(const QByteArray &data)
{
    if (data.isEmpty())
        return QString();
    QRawFont raw;
    raw.loadFromData(data, 20, QFont::PreferDefaultHinting);
    return raw.isValid() ? raw.familyName() : QString();
}
} // namespace

class TestFontFace : public QObject
{
    Q_OBJECT

private slots:
    void singleFace_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("family"); // empty: no face
        const QByteArray beta = Read("files/TavoretBeta.ttf"), pair = Read("files/TavoretPair.ttc");
        QVERIFY(pair.startsWith("ttcf"));
        // The second face's offset table, and its first table record's length.
        const int second = int(qFromBigEndian<quint32>(pair.constData() + 16));
        QByteArray secondPastEnd = pair, tableTooLong = pair, manyFaces = pair;
        Put32(secondPastEnd, 16, quint32(pair.size()));
        Put32(tableTooLong, second + 12 + 12, quint32(pair.size()));
        Put32(manyFaces, 8, 0xFFFFFFFF);
        QTest::newRow("single font") << beta << 0 << "Tavoret Test Beta";
        QTest::newRow("single font, second face") << beta << 1 << "";
        QTest::newRow("collection, first face") << pair << 0 << "Tavoret Test Pair One";
        QTest::newRow("collection, last face") << pair << 1 << "Tavoret Test Pair Two";
        QTest::newRow("collection, no third face") << pair << 2 << "";
        QTest::newRow("negative index") << pair << -1 << "";
        QTest::newRow("collection header cut short") << pair.left(14) << 1 << "";
        QTest::newRow("face offset past the end") << secondPastEnd << 1 << "";
        QTest::newRow("table past the end") << tableTooLong << 1 << "";
        QTest::newRow("face count beyond the header") << manyFaces << 5 << "";
        QTest::newRow("table records cut off") << pair.left(second + 20) << 1 << "";
        // Each of a thousand records claims the whole file: taken out, the face would be a
        // thousand times the file.
        QTest::newRow("tables that claim the file") << Read("seeds/tables-claim-the-file.ttc") << 1 << "";
        QTest::newRow("random bytes") << Read("broken/random.ttf") << 0 << "";
        QTest::newRow("empty") << QByteArray() << 0 << "";
    }
    void singleFace()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, index);
        const QByteArray face = platform::singleFaceData(data, index);
        QTEST(FamilyOf(face), "family");
        QVERIFY(face.size() <= data.size()); // never more than the file holds
    }

    // What a preview takes from a file: the first family of every face, or nothing at all for
    // a file that any face of makes unreadable or costly.
    void faceFamilies_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("families");
        QTest::newRow("collection") << "files/TavoretPair.ttc"
                                    << QStringList{"Tavoret Test Pair One", "Tavoret Test Pair Two"};
        QTest::newRow("symbol map") << "files/TavoretSymbol.ttf" << QStringList{"Tavoret Test Symbol"};
        QTest::newRow("32-bit map within Unicode") << "seeds/wide.ttf" << QStringList{"Tavoret Seed Wide"};
        QTest::newRow("no name: the file's") << "broken/truncated.ttf" << QStringList{"truncated"};
        QTest::newRow("map past Unicode") << "seeds/map-past-unicode.ttf" << QStringList();
        QTest::newRow("a face too large to take out") << "seeds/tables-claim-the-file.ttc" << QStringList();
        QTest::newRow("second face past the end") << "seeds/pair-past-end.ttc" << QStringList();
        QTest::newRow("a character the rasteriser gives up on") << "seeds/outline-past-the-raster.ttf" << QStringList();
        QTest::newRow("random bytes") << "broken/random.ttf" << QStringList();
    }
    void faceFamilies()
    {
        QFETCH(QString, file);
        QTEST(platform::faceFamiliesOfFile(testsupport::fontPath(file)), "families");
    }

    void loadFace_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("family");
        const QString scratch = testsupport::homeDir() + "/faces";
        testsupport::resetDir(scratch);
        QVERIFY(::mkfifo(QFile::encodeName(scratch + "/pipe.ttf").constData(), 0600) == 0);
        QTest::newRow("collection face") << testsupport::fontPath("files/TavoretPair.ttc") << 1
                                         << "Tavoret Test Pair Two";
        // fontconfig gives named instances of variable fonts in the high bits: the face is the same.
        QTest::newRow("named instance bits") << testsupport::fontPath("files/TavoretBeta.ttf") << (3 << 16)
                                             << "Tavoret Test Beta";
        QTest::newRow("missing file") << scratch + "/gone.ttf" << 0 << "";
        QTest::newRow("folder") << scratch << 0 << "";
        QTest::newRow("pipe") << scratch + "/pipe.ttf" << 0 << "";
        QTest::newRow("empty file") << testsupport::fontPath("broken/empty.ttf") << 0 << "";
        QTest::newRow("no file") << QString() << 0 << "";
    }
    void loadFace()
    {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(QString, family);
        const QRawFont raw = platform::loadFace(FontFace{file, index}, 30);
        QCOMPARE(raw.isValid(), !family.isEmpty());
        if (raw.isValid()) {
            QCOMPARE(raw.familyName(), family);
            QCOMPARE(raw.pixelSize(), 30.0);
        }
    }
};

QTEST_MAIN(TestFontFace)
#include "tst_fontface.moc"
