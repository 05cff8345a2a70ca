// The font table against the real fontconfig and Qt, with the project's test fonts.
#include "fonttable.h"
#include "previewlinks.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRawFont>
#include <QWidget>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::FontTable;
using testsupport::fontPath;

namespace {
// Ids above the kernel's largest possible pid_max (2^22): no process can have them.
constexpr qint64 kDeadPid = 4194305;
constexpr qint64 kLockedPid = 4194306;
constexpr qint64 kLeftLockPid = 4194307;

FontTable &Table()
{
    return FontTable::Instance();
}

QString InPreview(const QString &name)
{
    return Table().PreviewFolder() + QLatin1Char('/') + name;
}

// The links in the preview folder (lock files and other files left out).
QStringList Links()
{
    QStringList links;
    const QDir folder(Table().PreviewFolder());
    for (const QFileInfo &entry : folder.entryInfoList(QDir::System | QDir::Files)) {
        if (entry.isSymLink())
            links << entry.fileName();
    }
    return links;
}

// Opens (and makes) the lock file of process `pid`, as a starting process would.
int OpenLockFile(qint64 pid)
{
    const QByteArray path = QFile::encodeName(InPreview(platform::PreviewLockName(pid)));
    return ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

bool Draws(const QString &family)
{
    return QFontInfo(QFont(family)).family() == family;
}

QStringList FcListFamilies()
{
    QProcess fcList;
    fcList.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("family")});
    if (!fcList.waitForFinished(60000))
        return {};
    return QString::fromUtf8(fcList.readAllStandardOutput()).split(QLatin1Char('\n'));
}

// A top-level window that counts the font-change announcements it gets.
struct WindowSpy : QWidget
{
    int fontChanges = 0;
    bool event(QEvent *e) override
    {
        fontChanges += e->type() == QEvent::ApplicationFontChange;
        return QWidget::event(e);
    }
};
} // namespace

class TestFontTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsSet("TAVORET_EMPTY_SYSTEM"))
            return; // the child process of emptySystem()
        testsupport::resetDir(testsupport::homeDir() + QStringLiteral("/data"));
        testsupport::resetDir(testsupport::homeDir() + QStringLiteral("/scratch"));
        QCOMPARE(Table().PreviewFolder(), platform::UserFontsFolder() + "/tavoret-preview");
        QVERIFY(Table().ReadInstalledFontNames().contains(QStringLiteral("Times New Roman")));
    }

    void linkNames_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected"); // empty: only the shape is checked
        QTest::addColumn<QString>("suffix");
        QTest::newRow("short") << "Demo.ttf" << "42-7-Demo.ttf" << ".ttf";
        QTest::newRow("long ascii") << QString(300, QLatin1Char('a')) + ".TTF" << "" << ".TTF";
        QTest::newRow("long two-byte") << QString(200, QChar(0x00FC)) + ".ttf" << "" << ".ttf";
        const QString smiley = QString::fromUcs4(U"\U0001F600");
        QTest::newRow("long surrogates") << smiley.repeated(80) + ".ttf" << "" << ".ttf";
        QTest::newRow("long, no extension") << QString(300, QLatin1Char('b')) << "" << "b";
        QTest::newRow("long extension dropped") << "x." + QString(300, QLatin1Char('c')) << "" << "c";
    }

    void linkNames()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, expected);
        QFETCH(QString, suffix);
        const QString name = platform::PreviewLinkName(42, 7, fileName);
        if (!expected.isEmpty())
            QCOMPARE(name, expected);
        const QByteArray bytes = QFile::encodeName(name);
        QVERIFY(bytes.size() <= 255);
        QVERIFY(bytes.size() > 240 || bytes.size() == QFile::encodeName("42-7-" + fileName).size());
        QCOMPARE(QFile::decodeName(bytes), name); // no character was cut in half
        QVERIFY(name.startsWith(QLatin1String("42-7-")));
        QVERIFY(name.endsWith(suffix));
        QCOMPARE(platform::PreviewLinkOwner(name), qint64(42));
    }

    void linkOwner_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("owner");
        QTest::newRow("link") << "123-4-a.ttf" << qint64(123);
        QTest::newRow("no file name") << "123-4-" << qint64(123);
        QTest::newRow("no serial") << "123-a.ttf" << qint64(-1);
        QTest::newRow("pid 0") << "0-1-a.ttf" << qint64(-1);
        QTest::newRow("lock file") << ".123.lock" << qint64(-1);
        QTest::newRow("overflowing pid") << "99999999999999999999-1-a.ttf" << qint64(-1);
    }

    void linkOwner()
    {
        QFETCH(QString, name);
        QFETCH(qint64, owner);
        QCOMPARE(platform::PreviewLinkOwner(name), owner);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("faces");
        QTest::addColumn<QStringList>("newNames"); // what the list gains at its end
        const QString longName = QStringLiteral("A family name well beyond thirty-one characters");
        const QString longFile = testsupport::homeDir() + "/scratch/" + longName + ".ttf";
        QTest::newRow("new family") << fontPath("files/TavoretAlpha.ttf") << 1
                                    << QStringList{"Tavoret Test Alpha"};
        QTest::newRow("collection") << fontPath("files/TavoretPair.ttc") << 2
                                    << QStringList{"Tavoret Test Pair One", "Tavoret Test Pair Two"};
        QTest::newRow("symbol font") << fontPath("files/TavoretSymbol.ttf") << 1
                                     << QStringList{"Tavoret Test Symbol"};
        QTest::newRow("family installed") << fontPath("files/DejaVuSansCopy.ttf") << 1 << QStringList{};
        // fontconfig and Qt take a truncated file, naming it after the file: so does the table.
        QTest::newRow("truncated") << fontPath("broken/truncated.ttf") << 1 << QStringList{"truncated"};
        QTest::newRow("long name kept whole") << longFile << 1 << QStringList{longName};
        QTest::newRow("random bytes") << fontPath("broken/random.ttf") << 0 << QStringList{};
        QTest::newRow("empty file") << fontPath("broken/empty.ttf") << 0 << QStringList{};
        QTest::newRow("missing file") << fontPath("files/Missing.ttf") << 0 << QStringList{};
        QTest::newRow("folder") << fontPath("files") << 0 << QStringList{};
        QTest::newRow("empty path") << QString() << 0 << QStringList{};
        QFile::copy(fontPath("broken/truncated.ttf"), longFile);
    }

    void roundTrip()
    {
        QFETCH(QString, path);
        QFETCH(int, faces);
        QFETCH(QStringList, newNames);
        const QStringList before = Table().ReadInstalledFontNames();

        QCOMPARE(Table().AddFontResource(path), faces);
        const QStringList during = Table().ReadInstalledFontNames();
        QCOMPARE(during, before + newNames);
        for (const QString &name : newNames)
            QVERIFY2(Draws(name), qPrintable(name));
        const QStringList links = Links();
        QCOMPARE(links.size(), faces > 0 ? 1 : 0);
        if (faces > 0)
            QCOMPARE(QFileInfo(InPreview(links.first())).symLinkTarget(), path);

        Table().RemoveFontResource(path);
        QCOMPARE(Table().ReadInstalledFontNames(), before);
        QVERIFY(Links().isEmpty());
        for (const QString &name : newNames)
            QVERIFY2(!Draws(name), qPrintable(name));
        Table().RemoveFontResource(path); // a second removal changes nothing
        QCOMPARE(Table().ReadInstalledFontNames(), before);
    }

    // Only what a path's own add did is undone, whatever path is named.
    void addTwiceRemoveOnce()
    {
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        const QString beta = fontPath("files/TavoretBeta.ttf");
        const QStringList before = Table().ReadInstalledFontNames();
        QCOMPARE(Table().AddFontResource(alpha), 1);
        QCOMPARE(Table().AddFontResource(alpha), 0);
        QCOMPARE(Table().AddFontResource(beta), 1);
        Table().RemoveFontResource(QString());
        Table().RemoveFontResource(fontPath("files/TavoretPair.ttc"));
        const QStringList added{"Tavoret Test Alpha", "Tavoret Test Beta"};
        QCOMPARE(Table().ReadInstalledFontNames(), before + added);
        QCOMPARE(Links().size(), 2);

        // The same file under another spelling of its path.
        Table().RemoveFontResource(fontPath("files/../files/./TavoretAlpha.ttf"));
        QCOMPARE(Table().ReadInstalledFontNames(), before + QStringList{"Tavoret Test Beta"});
        QVERIFY(Draws("Tavoret Test Beta"));
        QCOMPARE(Links().size(), 1);
        Table().RemoveFontResource(beta);
        QCOMPARE(Table().ReadInstalledFontNames(), before);
        QVERIFY(Links().isEmpty());
    }

    void damagedFileDrawsWithoutCrash()
    {
        const QString path = fontPath("broken/truncated.ttf");
        QCOMPARE(Table().AddFontResource(path), 1);
        QFont font(QStringLiteral("truncated"), 24);
        font.setStyleStrategy(QFont::NoFontMerging);
        QImage image(600, 600, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setFont(font);
            for (int code = 32; code < 256; ++code) {
                const QPoint cell(20 + code % 16 * 35, 40 + (code - 32) / 16 * 40);
                painter.drawText(cell, QString(QChar(code)));
            }
        }
        const QRawFont raw = QRawFont::fromFont(font);
        raw.glyphIndexesForString(QStringLiteral("ABC xyz"));
        Table().RemoveFontResource(path);
    }

    // Fonts copied into the user's font folder, or deleted there, while the program runs.
    void installedWhileRunning_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("folderExisted");
        const QString fonts = platform::UserFontsFolder();
        QTest::newRow("font folder") << fonts << true;
        QTest::newRow("new subfolder") << fonts + "/new" << false;
        QTest::newRow("font folder made meanwhile") << fonts << false;
    }

    void installedWhileRunning()
    {
        QFETCH(QString, folder);
        QFETCH(bool, folderExisted);
        if (folderExisted)
            QVERIFY(platform::EnsureUserFontsFolder());
        else
            QDir(folder).removeRecursively();
        const QString beta = fontPath("files/TavoretBeta.ttf");
        QCOMPARE(Table().AddFontResource(beta), 1);
        const QStringList before = Table().ReadInstalledFontNames();
        QCOMPARE(before.last(), QStringLiteral("Tavoret Test Beta"));

        QVERIFY(QDir().mkpath(folder));
        const QString copy = folder + "/TavoretAlpha.ttf";
        QVERIFY(QFile::copy(fontPath("files/TavoretAlpha.ttf"), copy));
        const QStringList during = Table().ReadInstalledFontNames();
        QCOMPARE(during.size(), before.size() + 1);
        QVERIFY(during.contains("Tavoret Test Alpha"));
        QCOMPARE(during.last(), QStringLiteral("Tavoret Test Beta")); // the run-time addition stays last
        QVERIFY(Draws("Tavoret Test Alpha"));
        QVERIFY(Draws("Tavoret Test Beta"));

        QVERIFY(QFile::remove(copy));
        QCOMPARE(Table().ReadInstalledFontNames(), before);
        QVERIFY(!Draws("Tavoret Test Alpha"));
        QVERIFY(Draws("Tavoret Test Beta"));
        Table().RemoveFontResource(beta);
    }

    // Another process with the same configuration (fc-list) lists a font under preview.
    void otherProgramsSeePreview()
    {
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        QVERIFY(!FcListFamilies().contains("Tavoret Test Alpha"));
        QCOMPARE(Table().AddFontResource(alpha), 1);
        Table().AnnounceFontChange();
        QVERIFY(FcListFamilies().contains("Tavoret Test Alpha"));
        Table().RemoveFontResource(alpha);
        Table().AnnounceFontChange();
        QVERIFY(!FcListFamilies().contains("Tavoret Test Alpha"));
    }

    void sweep_data()
    {
        QTest::addColumn<qint64>("owner"); // 0: a link made by AddFontResource
        QTest::addColumn<QString>("target"); // empty: a copy, not a link
        QTest::addColumn<bool>("kept");
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        const qint64 self = QCoreApplication::applicationPid();
        QTest::newRow("process ended") << kDeadPid << alpha << false;
        QTest::newRow("process ended, file gone") << kDeadPid << fontPath("gone.ttf") << false;
        QTest::newRow("process ended, lock file left") << kLeftLockPid << alpha << false;
        QTest::newRow("process runs, holds its lock") << kLockedPid << alpha << true;
        QTest::newRow("process holds no lock") << qint64(1) << alpha << false;
        QTest::newRow("this id, not made here") << self << alpha << false;
        QTest::newRow("made here") << qint64(0) << alpha << true;
        QTest::newRow("not a link") << kDeadPid << QString() << true;
    }

    void sweep()
    {
        QFETCH(qint64, owner);
        QFETCH(QString, target);
        QFETCH(bool, kept);
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        QVERIFY(QDir().mkpath(Table().PreviewFolder()));
        QString entry = InPreview(platform::PreviewLinkName(owner, 999, "TavoretAlpha.ttf"));
        if (owner == 0) {
            QCOMPARE(Table().AddFontResource(alpha), 1);
            entry = InPreview(Links().value(0));
        } else {
            QVERIFY(target.isEmpty() ? QFile::copy(alpha, entry) : QFile::link(target, entry));
        }
        const int lock = owner == kLockedPid || owner == kLeftLockPid ? OpenLockFile(owner) : -1;
        if (owner == kLockedPid)
            QCOMPARE(::flock(lock, LOCK_EX | LOCK_NB), 0);
        const QString otherFile = InPreview("notes.txt"); // not named like a link: never touched
        QVERIFY(QFile::link(alpha, otherFile));

        Table().SweepStalePreviewLinks();
        QCOMPARE(QFileInfo(entry).isSymLink() || QFileInfo::exists(entry), kept);
        QVERIFY(QFileInfo(otherFile).isSymLink());
        if (lock >= 0)
            QCOMPARE(QFileInfo::exists(InPreview(platform::PreviewLockName(owner))), kept);

        if (lock >= 0) {
            ::close(lock);
            QFile::remove(InPreview(platform::PreviewLockName(owner)));
        }
        Table().RemoveFontResource(alpha);
        for (const QString &name : QDir(Table().PreviewFolder()).entryList(QDir::System | QDir::Files))
            QFile::remove(InPreview(name));
    }

    // Another start must see this process as running even after its lock file was deleted.
    void lockTakenAgainAfterFolderRemoved()
    {
        const QString alpha = fontPath("files/TavoretAlpha.ttf");
        const QString beta = fontPath("files/TavoretBeta.ttf");
        QCOMPARE(Table().AddFontResource(alpha), 1);
        QVERIFY(QDir(Table().PreviewFolder()).removeRecursively());
        QCOMPARE(Table().AddFontResource(beta), 1);
        const int lock = OpenLockFile(QCoreApplication::applicationPid());
        QVERIFY(lock >= 0);
        QCOMPARE(::flock(lock, LOCK_EX | LOCK_NB), -1);
        ::close(lock);
        Table().RemoveFontResource(alpha);
        Table().RemoveFontResource(beta);
        QVERIFY(Links().isEmpty());
    }

    void announce()
    {
        WindowSpy first, second;
        first.show();
        const QString folder = Table().PreviewFolder();
        QVERIFY(QDir().mkpath(folder));
        const time_t dayAgo = ::time(nullptr) - 86400;
        const timespec times[2] = {{dayAgo, 0}, {dayAgo, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
        Table().AnnounceFontChange();
        QCOMPARE(first.fontChanges, 1);
        QCOMPARE(second.fontChanges, 1);
        QVERIFY(QFileInfo(folder).lastModified().secsTo(QDateTime::currentDateTime()) < 3600);
    }

    // A configuration without fonts gives an empty list (checked in a child process that reads
    // such a configuration from the start).
    void emptySystem()
    {
        if (qEnvironmentVariableIsSet("TAVORET_EMPTY_SYSTEM")) {
            QCOMPARE(Table().ReadInstalledFontNames(), QStringList());
            return;
        }
        const QString config = testsupport::homeDir() + "/scratch/empty.conf";
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
        file.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("FONTCONFIG_FILE", config);
        env.insert("TAVORET_EMPTY_SYSTEM", "1");
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"emptySystem"});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
    }
};

QTEST_MAIN(TestFontTable)
#include "tst_fonttable.moc"
