// The preview folder against what other instances and other hands leave in it: links and lock
// files of running and ended instances, files, folders, pipes and links planted under the
// program's names, a preview folder that is not a real folder of the user's, and several
// instances within one process, which share its process id.
#include "platform/filenames.h"
#include "platform/previewlinks.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::PreviewLinks;

namespace {
const QString Ended = QStringLiteral("00000000deadbeef"); // a token no instance runs with
const QString Alpha = testsupport::fontPath(QStringLiteral("files/TavoretAlpha.ttf"));

QByteArray Bytes(const QString &path) { return QFile::encodeName(path); }

// Whether anything, a dangling link included, has that name.
bool Present(const QString &path)
{
    struct stat info;
    return ::lstat(Bytes(path).constData(), &info) == 0;
}

// Everything in a folder, dot-files included, with what each is.
QStringList Contents(const QString &folder)
{
    QStringList found;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                                 | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries)
        found << entry.fileName() + (entry.isSymLink() ? "@" + entry.symLinkTarget() : QString());
    return found;
}

bool Write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Makes `path` a thing of the given kind: "link" (to the Alpha test font), "dangling" (a link
// to `outside`, which does not exist), "file" (with content), "empty", "folder" or "fifo";
// "foreign" is an empty file of another user's. Returns false when it could not be made.
bool Plant(const QString &path, const QString &kind, const QString &outside)
{
    if (kind == "link")
        return QFile::link(Alpha, path);
    if (kind == "dangling")
        return QFile::link(outside, path);
    if (kind == "file")
        return Write(path, "99998\n");
    if (kind == "empty" || kind == "foreign")
        return Write(path, QByteArray()) && (kind == "empty" || ::chown(Bytes(path).constData(), 65534, 65534) == 0);
    if (kind == "folder")
        return QDir().mkdir(path);
    if (kind == "fifo")
        return ::mkfifo(Bytes(path).constData(), 0600) == 0;
    return false;
}

// Whether another start could take the lock: false while an instance holds it.
bool LockFree(const QString &path)
{
    const int fd = ::open(Bytes(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}
} // namespace

class TestPreviewLinks : public QObject
{
    Q_OBJECT
    const QString m_folder = testsupport::homeDir() + "/fonts/tavoret-preview";
    const QString m_outside = testsupport::homeDir() + "/outside";

    QString In(const QString &name) const { return m_folder + '/' + name; }
    QString Lock(const QString &token) const { return In(platform::previewLockName(token)); }

private slots:
    void init()
    {
        testsupport::resetDir(m_folder);
        testsupport::resetDir(m_outside);
    }

    // One entry planted in the folder, and the lock file of the ended instance "Ended" in the
    // state given, before a new instance starts: what the start-up sweep leaves, and that the
    // new instance then previews without touching anything outside the folder.
    void sweep_data()
    {
        QTest::addColumn<QString>("name");  // of the planted entry; empty: none
        QTest::addColumn<QString>("kind");  // of the planted entry (see Plant)
        QTest::addColumn<QString>("lock");  // Ended's lock: "none", "free", "held" or a kind
        QTest::addColumn<bool>("kept");     // the entry is still there afterwards
        QTest::addColumn<bool>("lockKept"); // so is the lock file
        const QString link = platform::previewLinkName(Ended, 1, "Alpha.ttf");
        QTest::newRow("ended: link, lock left") << link << "link" << "free" << false << false;
        QTest::newRow("ended: link, no lock") << link << "link" << "none" << false << false;
        QTest::newRow("ended: dangling link") << link << "dangling" << "none" << false << false;
        QTest::newRow("ended: lock alone") << "" << "" << "free" << false << false;
        QTest::newRow("runs: link, lock held") << link << "link" << "held" << true << true;
        QTest::newRow("lock with content") << link << "link" << "file" << true << true;
        QTest::newRow("lock is a link") << link << "link" << "dangling" << true << true;
        QTest::newRow("lock is a pipe") << link << "link" << "fifo" << true << true;
        QTest::newRow("lock is a folder") << link << "link" << "folder" << true << true;
        QTest::newRow("lock of another user") << link << "link" << "foreign" << true << true;
        QTest::newRow("file named as a link") << link << "file" << "none" << true << false;
        QTest::newRow("empty file named as a link") << link << "empty" << "free" << true << false;
        QTest::newRow("folder named as a link") << link << "folder" << "none" << true << false;
        QTest::newRow("pid-named lock with content") << ".99998.lock" << "file" << "none" << true << false;
        QTest::newRow("pid-named link") << "99998-1-Alpha.ttf" << "link" << "none" << true << false;
        QTest::newRow("link of another name") << "Alpha.ttf" << "link" << "none" << true << false;
    }
    void sweep()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, lock);
        const QString outside = m_outside + "/planted";
        if (!name.isEmpty())
            QVERIFY(Plant(In(name), kind, outside));
        const QString lockPath = Lock(Ended);
        if (lock != "none" && !Plant(lockPath, lock == "free" || lock == "held" ? "empty" : lock, outside))
            QSKIP("cannot make another user's file here");
        const int held = ::open(Bytes(lockPath).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (lock == "held")
            QCOMPARE(::flock(held, LOCK_EX | LOCK_NB), 0);
        {
            PreviewLinks links(m_folder);
            links.sweepStale();
            if (!name.isEmpty())
                QTEST(Present(In(name)), "kept");
            if (lock != "none")
                QTEST(Present(lockPath), "lockKept");
            QVERIFY(!links.create(Alpha).isEmpty());
            QVERIFY(!LockFree(Lock(links.token())));
        }
        QVERIFY(!Present(outside));
        QCOMPARE(Contents(m_outside), QStringList());
        ::close(held);
    }

    // A preview folder that is not a real folder of the user's is refused: no link and no lock
    // is made, and nothing is swept, there or wherever it leads.
    void refusedFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a folder") << "link";
        QTest::newRow("dangling link") << "dangling";
        QTest::newRow("file") << "file";
        QTest::newRow("folder of another user") << "foreign";
    }
    void refusedFolder()
    {
        QFETCH(QString, kind);
        QVERIFY(testsupport::removePath(m_folder));
        const QString target = m_outside + "/target";
        QVERIFY(QDir().mkpath(target));
        // What the sweep would take for left-overs, had it followed the link.
        QVERIFY(QFile::link(Alpha, target + '/' + platform::previewLinkName(Ended, 1, "Alpha.ttf")));
        QVERIFY(Write(target + '/' + platform::previewLockName(Ended), QByteArray()));
        QVERIFY(Write(target + "/.99998.lock", "99998\n"));
        if (kind == "link")
            QVERIFY(QFile::link(target, m_folder));
        else if (kind == "dangling")
            QVERIFY(QFile::link(m_outside + "/nowhere", m_folder));
        else if (kind == "file")
            QVERIFY(Write(m_folder, "not a folder\n"));
        else if (!QDir().mkdir(m_folder) || ::chown(Bytes(m_folder).constData(), 65534, 65534) != 0)
            QSKIP("cannot make another user's folder here");
        const QStringList before = Contents(m_outside + "/target");
        const QStringList folderBefore = kind == "foreign" ? Contents(m_folder) : QStringList();
        {
            PreviewLinks links(m_folder);
            links.sweepStale();
            QCOMPARE(links.create(Alpha), QString());
            links.touch();
        }
        QCOMPARE(Contents(m_outside + "/target"), before);
        QVERIFY(!Present(m_outside + "/nowhere"));
        if (kind == "foreign")
            QCOMPARE(Contents(m_folder), folderBefore);
    }

    // Something already has the name of the new instance's lock file: it is neither followed
    // nor taken over nor changed; the instance takes a lock under another token.
    void lockNameTaken_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("dangling link") << "dangling";
        QTest::newRow("file with content") << "file";
        QTest::newRow("lock held by another") << "empty";
    }
    void lockNameTaken()
    {
        QFETCH(QString, kind);
        PreviewLinks links(m_folder);
        const QString planted = Lock(links.token());
        QVERIFY(Plant(planted, kind, m_outside + "/planted"));
        const int held = ::open(Bytes(planted).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        QVERIFY(kind == "dangling" || ::flock(held, LOCK_EX | LOCK_NB) == 0);
        const QString link = links.create(Alpha);
        QVERIFY(!link.isEmpty());
        QVERIFY(planted != Lock(links.token()));
        QCOMPARE(platform::previewLinkToken(QFileInfo(link).fileName()), links.token());
        QVERIFY(Present(planted));
        QVERIFY(!Present(m_outside + "/planted"));
        ::close(held);
    }

    // Instances that share a process id (here: one process) keep apart: none sweeps another's
    // live links, two previews of one file get two links, and each removes only its own
    // links and lock, and only while they are still the ones it made.
    void instancesOfOneProcess()
    {
        auto first = std::make_unique<PreviewLinks>(m_folder);
        const QString firstLink = first->create(Alpha);
        PreviewLinks second(m_folder);
        second.sweepStale();
        QVERIFY(QFileInfo(firstLink).isSymLink());
        const QString secondLink = second.create(Alpha);
        QVERIFY(!secondLink.isEmpty() && secondLink != firstLink);
        // A link that is no longer the one the first made is left alone, at exit as on removal.
        const QString firstOther = first->create(testsupport::fontPath("files/TavoretBeta.ttf"));
        QVERIFY(testsupport::removePath(firstOther) && QFile::link(Alpha, firstOther));
        first->remove(firstOther);
        QVERIFY(QFileInfo(firstOther).isSymLink());
        first.reset();
        QVERIFY(!Present(firstLink));
        QVERIFY(QFileInfo(firstOther).isSymLink());
        QVERIFY(testsupport::removePath(firstOther));
        // The second's link and lock outlive the first, and a third start leaves them.
        QVERIFY(QFileInfo(secondLink).isSymLink());
        QVERIFY(!LockFree(Lock(second.token())));
        {
            PreviewLinks third(m_folder);
            third.sweepStale();
            QVERIFY(QFileInfo(secondLink).isSymLink());
        }
        second.remove(secondLink);
        QVERIFY(!Present(secondLink));
    }

    // A file whose name is not valid UTF-8 is linked by its real bytes.
    void linkKeepsTheTargetsBytes()
    {
        const QByteArray raw = Bytes(m_outside) + "/caf\xe9.ttf";
        QVERIFY(testsupport::CopyToRawName("files/TavoretAlpha.ttf", raw));
        PreviewLinks links(m_folder);
        const QString link = links.create(platform::decodeName(raw));
        QVERIFY(!link.isEmpty());
        char target[4096] = {};
        const ssize_t length = ::readlink(platform::encodeName(link).constData(), target, sizeof target - 1);
        QCOMPARE(QByteArray(target, int(qMax<ssize_t>(length, 0))), raw);
        QVERIFY(platform::encodeName(link).endsWith("-caf\xe9.ttf"));
    }
};

QTEST_GUILESS_MAIN(TestPreviewLinks)
#include "tst_previewlinks.moc"
