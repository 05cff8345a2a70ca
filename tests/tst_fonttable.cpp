// The font table against the real fontconfig and Qt, with the project's test fonts.
#include "platform/fonttable.h"
#include "platform/previewlinks.h"
#include "testsupport.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QPainter>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using platform::FontTable;
using testsupport::fontPath;

namespace {
const QString Ended = QStringLiteral("00000000deadbeef"); // a token no instance runs with
const QString Alpha = QStringLiteral("Tavoret Test Alpha");
const QString Beta = QStringLiteral("Tavoret Test Beta");

// Each test function gets a fresh table, as each run of the program does.
std::unique_ptr<FontTable> g_table;
FontTable &Table() { return *g_table; }
QString InPreview(const QString &name) { return FontTable::previewFolder() + '/' + name; }
// The links and copies in the preview folder (lock files are hidden and left out).
QStringList Links() { return QDir(FontTable::previewFolder()).entryList(QDir::System | QDir::Files); }

int OpenLock(const QString &token)
{
    const QByteArray path = QFile::encodeName(InPreview(platform::previewLockName(token)));
    return ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

// Whether the table draws `family` with a face of `file`; paints codes 32-255 with it first,
// which must not crash even for a damaged file.
bool Draws(const QString &family, const QString &file)
{
    const platform::FontFace face = Table().faceOf(family);
    const QRawFont raw = platform::loadFace(face, 24);
    QImage image(200, 200, QImage::Format_ARGB32);
    QPainter painter(&image);
    for (int code = 32; code < 256; ++code) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(raw.glyphIndexesForString(QString(QChar(code))));
        run.setPositions({QPointF(0, 0)});
        painter.drawGlyphRun(QPointF(code % 16 * 12, code / 16 * 12), run);
    }
    return raw.isValid() && face.file == file;
}

QStringList FcListFamilies()
{
    QProcess fcList;
    fcList.start("fc-list", {":", "family"});
    fcList.waitForFinished(testsupport::Patience);
    return QString::fromUtf8(fcList.readAllStandardOutput()).split('\n');
}
} // namespace

class TestFontTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        testsupport::resetDir(platform::userFontsFolder());
        testsupport::resetDir(testsupport::homeDir() + "/scratch");
        init();
        QVERIFY(Table().ReadInstalledFontNames().contains("Times New Roman"));
    }
    void init() { g_table = std::make_unique<FontTable>(); }
    void cleanup() { g_table.reset(); }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("faces");
        QTest::addColumn<QStringList>("newNames"); // what the list gains at its end
        // A damaged file is taken by fontconfig and Qt, named after the file: so by the table.
        // This one's name fills the file system's 255 bytes, so its link name must be shortened.
        const QString longName = "Tavoret " + QString(121, QChar(0xFC));
        const QString longFile = testsupport::homeDir() + "/scratch/" + longName + ".ttf";
        QFile::copy(fontPath("broken/truncated.ttf"), longFile);
        const QStringList pair{"Tavoret Test Pair One", "Tavoret Test Pair Two"};
        QTest::newRow("new family") << fontPath("files/TavoretAlpha.ttf") << 1 << QStringList{Alpha};
        QTest::newRow("collection") << fontPath("files/TavoretPair.ttc") << 2 << pair;
        QTest::newRow("symbol font") << fontPath("files/TavoretSymbol.ttf") << 1
                                     << QStringList{"Tavoret Test Symbol"};
        QTest::newRow("family installed") << fontPath("files/DejaVuSansCopy.ttf") << 1 << QStringList();
        QTest::newRow("damaged, long name") << longFile << 1 << QStringList{longName};
        QTest::newRow("random bytes") << fontPath("broken/random.ttf") << 0 << QStringList();
        QTest::newRow("empty file") << fontPath("broken/empty.ttf") << 0 << QStringList();
        QTest::newRow("folder") << fontPath("files") << 0 << QStringList();
    }

    void roundTrip()
    {
        QFETCH(QString, path);
        QFETCH(int, faces);
        QFETCH(QStringList, newNames);
        const QStringList before = Table().ReadInstalledFontNames();
        QCOMPARE(Table().AddFontResource(path), faces);
        QCOMPARE(Table().AddFontResource(path), 0); // added already
        Table().RemoveFontResource(fontPath("files/TavoretBeta.ttf")); // never added: no change
        QCOMPARE(Table().ReadInstalledFontNames(), before + newNames);
        for (const QString &name : newNames)
            QVERIFY2(Draws(name, path), qPrintable(name));
        QCOMPARE(Links().size(), faces > 0 ? 1 : 0);
        if (faces > 0)
            QCOMPARE(QFileInfo(InPreview(Links().first())).symLinkTarget(), path);
        Table().RemoveFontResource(QFileInfo(path).path() + "/./" + QFileInfo(path).fileName());
        QCOMPARE(Table().ReadInstalledFontNames(), before);
        QVERIFY(Links().isEmpty());
        for (const QString &name : newNames)
            QVERIFY2(!Draws(name, path), qPrintable(name));
    }

    // The one name a font file adds to the list, and that its first face draws it, whether the
    // file is previewed or installed (copied into the user's font folder).
    void familyOfAFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("family");
        const QString twin = "Tavoret Test Twin", names = "Tavoret Test Names";
        QTest::newRow("one family in two equal faces, previewed") << "files/TavoretTwins.ttc" << false << twin;
        QTest::newRow("one family in two equal faces, installed") << "files/TavoretTwins.ttc" << true << twin;
        QTest::newRow("a second family name, previewed") << "files/TavoretNames.ttf" << false << names;
        QTest::newRow("a second family name, installed") << "files/TavoretNames.ttf" << true << names;
    }
    void familyOfAFile()
    {
        QFETCH(QString, file);
        QFETCH(bool, installed);
        QFETCH(QString, family);
        const QStringList before = Table().ReadInstalledFontNames();
        const QString path = installed ? platform::userFontsFolder() + '/' + QFileInfo(file).fileName() : fontPath(file);
        if (installed)
            QVERIFY(QFile::copy(fontPath(file), path));
        else
            QVERIFY(Table().AddFontResource(path) > 0);
        const QStringList during = Table().ReadInstalledFontNames();
        QCOMPARE(during.size(), before.size() + 1);
        QCOMPARE(during.count(family), 1);
        const platform::FontFace face = Table().faceOf(family);
        QCOMPARE(face.file, path);
        QCOMPARE(face.index, 0);
        if (installed)
            QVERIFY(testsupport::removePath(path));
        else
            Table().RemoveFontResource(path);
        QCOMPARE(Table().ReadInstalledFontNames(), before);
    }

    // Which file and face draw a family: an installed one, a face added for preview (of a
    // collection, the face with that name), and for other names fontconfig's substitute. The
    // answer follows the table as files are added and removed.
    void faceOf_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("file"); // "*": some installed file other than the preview's
        QTest::addColumn<int>("index");
        const QString pair = fontPath("files/TavoretPair.ttc");
        QTest::newRow("installed") << "Times New Roman" << fontPath("installed/TimesNewRoman-Test.ttf") << 0;
        QTest::newRow("installed, other case") << "times new roman" << fontPath("installed/TimesNewRoman-Test.ttf") << 0;
        QTest::newRow("collection, first face") << "Tavoret Test Pair One" << pair << 0;
        QTest::newRow("collection, last face") << "Tavoret Test Pair Two" << pair << 1;
        QTest::newRow("not installed") << "Tavoret No Such Family" << "*" << 0;
    }
    void faceOf()
    {
        QFETCH(QString, family);
        QFETCH(QString, file);
        QFETCH(int, index);
        const QString pair = fontPath("files/TavoretPair.ttc");
        const int before = Table().generation();
        QCOMPARE(Table().AddFontResource(pair), 2);
        QVERIFY(Table().generation() != before);
        const platform::FontFace face = Table().faceOf(family);
        if (file == "*") {
            QVERIFY(face.isValid() && face.file != pair);
        } else {
            QCOMPARE(face.file, file);
            QCOMPARE(face.index, index);
        }
        const int added = Table().generation();
        Table().RemoveFontResource(pair);
        QVERIFY(Table().generation() != added);
        QVERIFY(Table().faceOf(family).file != pair || file != pair); // gone with its file
        QVERIFY(Table().faceOf(family).isValid());
    }

    // A font copied into the user's font folder, or a new folder in it, while the program runs.
    void installedWhileRunning_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("font folder") << platform::userFontsFolder();
        QTest::newRow("new subfolder") << platform::userFontsFolder() + "/new";
    }

    void installedWhileRunning()
    {
        QFETCH(QString, folder);
        const QString beta = fontPath("files/TavoretBeta.ttf");
        QCOMPARE(Table().AddFontResource(beta), 1);
        const QStringList before = Table().ReadInstalledFontNames();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(fontPath("files/TavoretAlpha.ttf"), folder + "/TavoretAlpha.ttf"));
        const QStringList during = Table().ReadInstalledFontNames();
        QCOMPARE(during.size(), before.size() + 1);
        QVERIFY(during.contains(Alpha) && Draws(Alpha, folder + "/TavoretAlpha.ttf"));
        QCOMPARE(during.last(), Beta); // the run-time addition stays last
        QVERIFY(testsupport::removePath(folder + "/TavoretAlpha.ttf"));
        QCOMPARE(Table().ReadInstalledFontNames(), before);
        QVERIFY(!Draws(Alpha, folder + "/TavoretAlpha.ttf") && Draws(Beta, beta));
        Table().RemoveFontResource(beta);
    }

    // Another process with the same configuration lists a font only while it is under preview.
    void otherProgramsSeePreview()
    {
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        QVERIFY(!FcListFamilies().contains(Alpha));
        QCOMPARE(Table().AddFontResource(alpha), 1);
        Table().announceFontChange();
        QVERIFY(FcListFamilies().contains(Alpha));
        Table().RemoveFontResource(alpha);
        Table().announceFontChange();
        QVERIFY(!FcListFamilies().contains(Alpha));
    }

    void sweep_data()
    {
        QTest::addColumn<QString>("owner"); // the token of the instance that made the entry
        QTest::addColumn<int>("lock"); // 0: no lock file, 1: one nobody holds, 2: one held
        QTest::addColumn<QString>("target"); // empty: a copy, not a link
        QTest::addColumn<bool>("kept");
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        QTest::newRow("ended, lock file left") << Ended << 1 << alpha << false;
        QTest::newRow("ended, font file gone") << Ended << 0 << fontPath("gone.ttf") << false;
        QTest::newRow("runs, holds its lock") << Ended << 2 << alpha << true;
        QTest::newRow("holds no lock") << Ended << 0 << alpha << false;
        QTest::newRow("not a link") << Ended << 0 << QString() << true;
    }

    void sweep()
    {
        QFETCH(QString, owner);
        QFETCH(int, lock);
        QFETCH(QString, target);
        QFETCH(bool, kept);
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        // Deleting the folder deletes this process's lock file too: its next add must take it again.
        testsupport::resetDir(FontTable::previewFolder());
        QCOMPARE(Table().AddFontResource(alpha), 1);
        const QString own = InPreview(Links().value(0));
        const QString entry = InPreview(platform::previewLinkName(owner, 999, "TavoretAlpha.ttf"));
        QVERIFY(target.isEmpty() ? QFile::copy(alpha, entry) : QFile::link(target, entry));
        const int fd = lock ? OpenLock(owner) : -1;
        if (lock == 2)
            QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
        Table().sweepStalePreviewLinks();
        QCOMPARE(QFileInfo(entry).isSymLink() || QFileInfo::exists(entry), kept);
        if (lock)
            QCOMPARE(QFileInfo::exists(InPreview(platform::previewLockName(owner))), kept);
        QVERIFY(QFileInfo(own).isSymLink()); // this process's own link stays
        const QString ownToken = platform::previewLinkToken(QFileInfo(own).fileName());
        const int ownLock = OpenLock(ownToken); // as another start would
        QCOMPARE(::flock(ownLock, LOCK_EX | LOCK_NB), -1);
        ::close(ownLock);
        ::close(fd);
        Table().RemoveFontResource(alpha);
    }
};

QTEST_MAIN(TestFontTable)
#include "tst_fonttable.moc"
