// Damaged font files through the real preview: a few hundred mutations of the test fonts, made
// with a fixed seed (byte flips, truncations, damaged table records, zero-length tables, huge
// counts, broken collection headers), each previewed from the file list and drawn at a small
// and a large size. Each one shows a face or the verdict "not a valid Font-File", and no
// preview link is left behind.
#include "platform/fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

namespace {
constexpr quint32 Seed = 20240615;
// Of each kind of damage, for each source font. Under the sanitizers each preview costs some
// ten times as much, so fewer variants keep that run well inside its time limit on a busy machine.
#ifdef __SANITIZE_ADDRESS__ // GCC's AddressSanitizer build
constexpr int Variants = 2;
#else
constexpr int Variants = 7;
#endif
const QStringList Sources = {"files/TavoretAlpha.ttf", "files/TavoretBeta.ttf", "files/TavoretSymbol.ttf",
                              "files/TavoretPair.ttc",  "files/DejaVuSansCopy.ttf", "seeds/cff.otf",
                              "seeds/wide.ttf"};
const QString NotAFont = QStringLiteral("not a valid Font-File");
const QString Installed = QStringLiteral("already installed Font");

void Put16(QByteArray &data, qint64 at, quint16 value)
{
    if (at >= 0 && at + 2 <= data.size())
        qToBigEndian(value, data.data() + at);
}

void Put32(QByteArray &data, qint64 at, quint32 value)
{
    if (at >= 0 && at + 4 <= data.size())
        qToBigEndian(value, data.data() + at);
}

quint32 Get32(const QByteArray &data, qint64 at)
{
    return at >= 0 && at + 4 <= data.size() ? qFromBigEndian<quint32>(data.constData() + at) : 0;
}

quint16 Get16(const QByteArray &data, qint64 at)
{
    return at >= 0 && at + 2 <= data.size() ? qFromBigEndian<quint16>(data.constData() + at) : 0;
}

// Where the table records of the first face start (behind the collection header, if any).
qint64 FaceStart(const QByteArray &data)
{
    return data.startsWith("ttcf") ? Get32(data, 12) : 0;
}

// The offset of the record of table `tag` in the first face; -1 when there is none.
qint64 TableRecord(const QByteArray &data, const char *tag)
{
    const qint64 face = FaceStart(data);
    for (int i = 0; i < Get16(data, face + 4); ++i) {
        const qint64 record = face + 12 + 16 * i;
        if (data.mid(record, 4) == tag)
            return record;
    }
    return -1;
}

// One mutation of `font` of the given kind, drawn from `random`.
QByteArray Mutate(QByteArray font, int kind, QRandomGenerator &random)
{
    const auto anywhere = [&] { return qint64(random.bounded(int(font.size()))); };
    const qint64 face = FaceStart(font);
    const int tables = Get16(font, face + 4);
    const qint64 record = face + 12 + 16 * qint64(random.bounded(qMax(1, tables)));
    switch (kind) {
    case 0: // byte flips
        for (int flips = 1 + random.bounded(16); flips > 0; --flips)
            font[anywhere()] = char(font[anywhere()] ^ (1 + random.bounded(255)));
        return font;
    case 1: // truncation
        return font.left(anywhere());
    case 2: // a table record's offset or length out of place
        Put32(font, record + 8 + 4 * random.bounded(2),
              QList<quint32>{0xFFFFFFF0u, quint32(font.size()), quint32(font.size() - 1), 1, random.generate()}
                  .at(random.bounded(5)));
        return font;
    case 3: // a table of length 0
        Put32(font, record + 12, 0);
        return font;
    case 4: { // a huge count: of tables, glyphs, metrics, maps, names, or the glyph index format
        struct Count { const char *tag; int at; };
        const Count counts[] = {{"maxp", 4}, {"hhea", 34}, {"cmap", 2}, {"name", 2}, {"head", 50}, {"post", 32}};
        const Count &count = counts[random.bounded(int(std::size(counts)))];
        const qint64 table = TableRecord(font, count.tag);
        Put16(font, table < 0 ? face + 4 : Get32(font, table + 8) + count.at, random.bounded(2) ? 0xFFFF : 0x8000);
        return font;
    }
    default: // a broken collection header
        if (!font.startsWith("ttcf"))
            return QByteArray("ttcf\0\1\0\0", 8) + QByteArray(4, char(0xFF)) + font;
        switch (random.bounded(4)) {
        case 0: Put32(font, 8, 0xFFFFFFFFu); break;        // more faces than the file holds
        case 1: Put32(font, 8, 0); break;                  // no face at all
        case 2: Put32(font, 12 + 4 * random.bounded(2), 0); break; // a face at the header itself
        default: Put32(font, 12 + 4 * random.bounded(2), quint32(font.size() - 6)); break; // near the end
        }
        return font;
    }
}
} // namespace

class TestMutations : public QObject
{
    Q_OBJECT
    const QString m_folder = testsupport::homeDir() + "/mutations";

private slots:
    void everyMutationShowsAFaceOrTheVerdict()
    {
        testsupport::resetDir(m_folder);
        QRandomGenerator random(Seed);
        QStringList names;
        for (const QString &source : Sources) {
            QFile file(testsupport::fontPath(source));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(source));
            const QByteArray font = file.readAll();
            for (int kind = 0; kind < 6; ++kind) {
                for (int variant = 0; variant < Variants; ++variant) {
                    const QString name = QStringLiteral("%1-%2-%3.ttf").arg(QFileInfo(source).baseName()).arg(kind).arg(variant);
                    QFile out(m_folder + '/' + name);
                    QVERIFY(out.open(QIODevice::WriteOnly));
                    out.write(Mutate(font, kind, random));
                    names << name;
                }
            }
        }
        testsupport::MainWindow form = testsupport::OpenMainWindow();
        QVERIFY(form);
        form->Button1Click();
        form->DirectoryListBox1->setDirectory(m_folder);
        const QString previews = platform::FontTable::previewFolder();
        int faces = 0, refused = 0;
        for (const QString &name : std::as_const(names)) {
            form->FileListBox1->setFileName(m_folder + '/' + name);
            form->FileListBox1Click();
            TComboBox *box = form->ComboBox1;
            const QString verdict = box->shownText();
            const bool added = box->ItemIndex() == box->count() - 1 && box->ItemIndex() >= 0;
            QVERIFY2(verdict == NotAFont || verdict == Installed || (added && verdict == box->itemText(box->ItemIndex())),
                     qPrintable(name + ": " + verdict));
            (verdict == NotAFont ? refused : faces) += 1;
            for (const int points : {8, 96}) {
                form->StringGrid1->setFontSize(points);
                QVERIFY(!form->StringGrid1->grab().isNull());
            }
            QVERIFY2(testsupport::VisibleEntries(previews).size() <= 1, qPrintable(name));
        }
        qInfo("%d mutations: %d show a face, %d are not a valid font file", int(names.size()), faces, refused);
        QVERIFY(faces > 0 && refused > 0);
        form.reset();
        QCOMPARE(testsupport::VisibleEntries(previews), QStringList());
    }
};

QTEST_MAIN(TestMutations)
#include "tst_mutations.moc"
