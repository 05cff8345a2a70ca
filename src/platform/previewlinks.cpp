#include "previewlinks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <cerrno>
#include <limits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
// Longest file name, in bytes, that Linux file systems take.
constexpr int kMaxNameBytes = 255;
// An extension longer than this is not kept when a name has to be shortened.
constexpr int kMaxKeptSuffix = 16;

bool Fits(const QString &name)
{
    return QFile::encodeName(name).size() <= kMaxNameBytes;
}

// Drops the last character, never leaving half of a surrogate pair behind.
void ChopCharacter(QString &text)
{
    text.chop(1);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
}

// Whether `path` names the file open as `fd`.
bool SameFile(int fd, const QByteArray &path)
{
    struct stat held, named;
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Reads a run of decimal digits starting at `pos`; -1 when there is none or it overflows.
qint64 ReadNumber(const QString &text, int &pos)
{
    const int start = pos;
    qint64 value = 0;
    while (pos < text.size() && text.at(pos) >= QLatin1Char('0') && text.at(pos) <= QLatin1Char('9')) {
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10)
            return -1;
        value = value * 10 + (text.at(pos).unicode() - '0');
        ++pos;
    }
    return pos > start ? value : -1;
}
} // namespace

QString PreviewLinkName(qint64 pid, int serial, const QString &fileName)
{
    const QString prefix = QStringLiteral("%1-%2-").arg(pid).arg(serial);
    QString name = prefix + fileName;
    if (Fits(name))
        return name;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const bool keepSuffix = dot > 0 && fileName.size() - dot <= kMaxKeptSuffix;
    const QString suffix = keepSuffix ? fileName.mid(dot) : QString();
    QString stem = keepSuffix ? fileName.left(dot) : fileName;
    do {
        ChopCharacter(stem);
        name = prefix + stem + suffix;
    } while (!Fits(name) && !stem.isEmpty());
    return name;
}

qint64 PreviewLinkOwner(const QString &linkName)
{
    int pos = 0;
    const qint64 pid = ReadNumber(linkName, pos);
    if (pid <= 0 || pos >= linkName.size() || linkName.at(pos) != QLatin1Char('-'))
        return -1;
    ++pos;
    if (ReadNumber(linkName, pos) < 0 || pos >= linkName.size() || linkName.at(pos) != QLatin1Char('-'))
        return -1;
    return pid;
}

QString PreviewLockName(qint64 pid)
{
    return QStringLiteral(".%1.lock").arg(pid);
}

PreviewLinks::PreviewLinks(const QString &folder)
    : m_folder(folder), m_pid(::getpid())
{
}

PreviewLinks::~PreviewLinks()
{
    for (const QString &name : std::as_const(m_own))
        ::unlink(QFile::encodeName(m_folder + QLatin1Char('/') + name).constData());
    if (m_lockFd >= 0) {
        const QByteArray lock = QFile::encodeName(m_folder + QLatin1Char('/') + PreviewLockName(m_pid));
        if (SameFile(m_lockFd, lock))
            ::unlink(lock.constData());
        ::close(m_lockFd);
    }
}

QString PreviewLinks::Create(const QString &target)
{
    if (!QDir().mkpath(m_folder))
        return QString();
    // Without the lock a later start would take the link for a left-over; it is still made,
    // since at worst another start removes it early.
    EnsureOwnLock();
    const QByteArray targetBytes = QFile::encodeName(target);
    const QString fileName = QFileInfo(target).fileName();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = PreviewLinkName(m_pid, ++m_serial, fileName);
        const QString path = m_folder + QLatin1Char('/') + name;
        if (::symlink(targetBytes.constData(), QFile::encodeName(path).constData()) == 0) {
            m_own.insert(name);
            return path;
        }
        if (errno != EEXIST)
            return QString();
    }
    return QString();
}

void PreviewLinks::Remove(const QString &linkPath)
{
    const QFileInfo info(linkPath);
    if (linkPath.isEmpty() || info.path() != m_folder || !m_own.contains(info.fileName()))
        return;
    ::unlink(QFile::encodeName(linkPath).constData());
    m_own.remove(info.fileName());
}

void PreviewLinks::SweepStale()
{
    const QDir dir(m_folder);
    if (!dir.exists())
        return;
    // The names are read once, before any owner is checked: a link that a starting process
    // makes after this listing is never looked at.
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    QHash<qint64, bool> running;
    auto ownerRuns = [&](qint64 pid) {
        if (pid == m_pid)
            return true;
        auto it = running.find(pid);
        if (it == running.end())
            it = running.insert(pid, OwnerRuns(pid));
        return it.value();
    };
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const qint64 pid = PreviewLinkOwner(name);
        if (pid < 0 || !entry.isSymLink())
            continue;
        const bool stale = pid == m_pid ? !m_own.contains(name) : !ownerRuns(pid);
        if (stale)
            ::unlink(QFile::encodeName(entry.filePath()).constData());
    }
    // Lock files of ended processes that had no links left.
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (!name.startsWith(QLatin1Char('.')) || !name.endsWith(QLatin1String(".lock")))
            continue;
        int pos = 1;
        const qint64 pid = ReadNumber(name, pos);
        if (pid > 0 && name == PreviewLockName(pid))
            ownerRuns(pid);
    }
}

void PreviewLinks::Touch() const
{
    ::utimensat(AT_FDCWD, QFile::encodeName(m_folder).constData(), nullptr, 0);
}

bool PreviewLinks::EnsureOwnLock()
{
    const QByteArray path = QFile::encodeName(m_folder + QLatin1Char('/') + PreviewLockName(m_pid));
    if (m_lockFd >= 0) {
        // Still valid unless the file was deleted (with the folder, say) since it was taken.
        if (SameFile(m_lockFd, path))
            return true;
        ::close(m_lockFd);
        m_lockFd = -1;
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            // Another start is just checking a file left under this id; it removes it.
            ::close(fd);
            QThread::msleep(5);
            continue;
        }
        // The file may have been removed by such a check between open and flock: then the
        // lock is on a file nobody can find, so start over with a new one.
        if (SameFile(fd, path)) {
            m_lockFd = fd;
            return true;
        }
        ::close(fd);
    }
    return false;
}

bool PreviewLinks::OwnerRuns(qint64 pid)
{
    const QByteArray path = QFile::encodeName(m_folder + QLatin1Char('/') + PreviewLockName(pid));
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno != ENOENT; // unreadable: assume it runs rather than remove its links
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return true;
    }
    // Nobody holds it: its process has ended. Remove the file while holding the lock.
    ::unlink(path.constData());
    ::close(fd);
    return false;
}

} // namespace platform
