#include "platform/previewlinks.h"

#include "platform/filenames.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
// Longest file name, in bytes, that Linux file systems take.
constexpr int MaxNameBytes = 255;
// An extension longer than this is not kept when a name has to be shortened.
constexpr int MaxKeptSuffix = 16;
constexpr int TokenLength = 16;

bool fits(const QString &name)
{
    return encodeName(name).size() <= MaxNameBytes;
}

// Drops the last character, never leaving half of a surrogate pair behind.
void chopCharacter(QString &text)
{
    text.chop(1);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
}

QString newToken()
{
    return QStringLiteral("%1").arg(QRandomGenerator::system()->generate64(), TokenLength, 16,
                                    QLatin1Char('0'));
}

bool isToken(QStringView text)
{
    if (text.size() != TokenLength)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar ch) {
        return (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || (ch >= QLatin1Char('a') && ch <= QLatin1Char('f'));
    });
}

// The token of a lock file's name; empty when the name is not one.
QString lockToken(const QString &name)
{
    const QString token = name.mid(1, TokenLength);
    return isToken(token) && name == previewLockName(token) ? token : QString();
}

// The lock file's name as the file system spells it.
QByteArray lockFileName(const QString &token)
{
    return encodeName(previewLockName(token));
}

bool statAt(int folder, const QByteArray &name, struct stat *info)
{
    return ::fstatat(folder, name.constData(), info, AT_SYMLINK_NOFOLLOW) == 0;
}

// Whether `name` in the folder is the file open as `fd` (never following a link).
bool sameFileAt(int fd, int folder, const QByteArray &name)
{
    struct stat held, named;
    return ::fstat(fd, &held) == 0 && statAt(folder, name, &named) && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}

// The lock file of an instance that has ended, held now so that nobody takes it meanwhile; -1
// when it runs or that cannot be proven. Only an empty regular file of this user's counts: a
// link, a folder, a file with content or someone else's file is not a lock of this program's.
int takeStaleLock(int folder, const QByteArray &name)
{
    struct stat info;
    if (!statAt(folder, name, &info) || !S_ISREG(info.st_mode) || info.st_size != 0
        || info.st_uid != ::geteuid())
        return -1;
    const int fd = ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat held;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && held.st_size == 0
        && sameFileAt(fd, folder, name))
        return fd;
    ::close(fd);
    return -1;
}

QByteArray linkTargetAt(int folder, const QByteArray &name)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlinkat(folder, name.constData(), target.data(), size_t(target.size()));
    return length > 0 ? target.left(length) : QByteArray();
}

// Removes `name` if it is a symbolic link; given `made`, only if it is that very link (the
// same inode, which a new link may get again, and the same target).
void unlinkLinkAt(int folder, const QByteArray &name, const PreviewLinks::Made *made = nullptr)
{
    struct stat info;
    if (!statAt(folder, name, &info) || !S_ISLNK(info.st_mode))
        return;
    if (made && (info.st_ino != made->inode || linkTargetAt(folder, name) != made->target))
        return;
    ::unlinkat(folder, name.constData(), 0);
}
} // namespace

QString previewLinkName(const QString &token, int serial, const QString &fileName)
{
    const QString prefix = QStringLiteral("%1-%2-").arg(token).arg(serial);
    QString name = prefix + fileName;
    if (fits(name))
        return name;
    const int dot = int(fileName.lastIndexOf(QLatin1Char('.')));
    const bool keepSuffix = dot > 0 && fileName.size() - dot <= MaxKeptSuffix;
    const QString suffix = keepSuffix ? fileName.mid(dot) : QString();
    QString stem = keepSuffix ? fileName.left(dot) : fileName;
    do {
        chopCharacter(stem);
        name = prefix + stem + suffix;
    } while (!fits(name) && !stem.isEmpty());
    return name;
}

QString previewLinkToken(const QString &linkName)
{
    const QStringView name(linkName);
    if (name.size() < TokenLength + 3 || !isToken(name.left(TokenLength)) || name.at(TokenLength) != QLatin1Char('-'))
        return QString();
    qsizetype pos = TokenLength + 1;
    const qsizetype digits = pos;
    while (pos < name.size() && name.at(pos).isDigit() && name.at(pos).unicode() < 0x80)
        ++pos;
    if (pos == digits || pos >= name.size() || name.at(pos) != QLatin1Char('-'))
        return QString();
    return name.left(TokenLength).toString();
}

QString previewLockName(const QString &token)
{
    return QLatin1Char('.') + token + QStringLiteral(".lock");
}

PreviewLinks::PreviewLinks(const QString &folder)
    : m_folder(folder), m_token(newToken())
{
}

PreviewLinks::~PreviewLinks()
{
    const int folder = openFolder(false);
    if (folder >= 0) {
        for (auto it = m_own.cbegin(); it != m_own.cend(); ++it)
            removeOwnLink(folder, it.key());
        const QByteArray lock = lockFileName(m_token);
        if (m_lockFd >= 0 && sameFileAt(m_lockFd, folder, lock))
            ::unlinkat(folder, lock.constData(), 0);
        ::close(folder);
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

int PreviewLinks::openFolder(bool create) const
{
    const QByteArray path = encodeName(m_folder);
    if (create) {
        QDir().mkpath(QFileInfo(m_folder).path());
        ::mkdir(path.constData(), 0755);
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info;
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid())
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

QString PreviewLinks::create(const QString &target)
{
    const int folder = openFolder(true);
    if (folder < 0)
        return QString();
    QString path;
    // Without the lock a later start would take the link for a left-over: no lock, no link.
    if (ensureOwnLock(folder)) {
        const QByteArray targetBytes = encodeName(target);
        const QString fileName = QFileInfo(target).fileName();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = encodeName(previewLinkName(m_token, ++m_serial, fileName));
            if (::symlinkat(targetBytes.constData(), folder, name.constData()) == 0) {
                struct stat info;
                if (statAt(folder, name, &info))
                    m_own.insert(name, Made{quint64(info.st_ino), targetBytes});
                path = m_folder + QLatin1Char('/') + decodeName(name);
                break;
            }
            if (errno != EEXIST)
                break;
        }
    }
    ::close(folder);
    return path;
}

void PreviewLinks::remove(const QString &linkPath)
{
    const QFileInfo info(linkPath);
    const QByteArray name = encodeName(info.fileName());
    if (linkPath.isEmpty() || info.path() != m_folder || !m_own.contains(name))
        return;
    const int folder = openFolder(false);
    if (folder >= 0) {
        removeOwnLink(folder, name);
        ::close(folder);
    }
    m_own.remove(name);
}

void PreviewLinks::removeOwnLink(int folder, const QByteArray &name) const
{
    const auto made = m_own.constFind(name);
    if (made != m_own.cend())
        unlinkLinkAt(folder, name, &made.value());
}

void PreviewLinks::sweepStale()
{
    const int folder = openFolder(false);
    if (folder < 0)
        return;
    // The names are read once, before any owner is checked: a link that a starting instance
    // makes after this listing is never looked at.
    QMap<QString, QList<QByteArray>> linksByToken; // every token met, with its links' names
    if (DIR *dir = ::fdopendir(::dup(folder))) {
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            const QString decoded = decodeName(name);
            const QString linkToken = previewLinkToken(decoded);
            if (!linkToken.isEmpty())
                linksByToken[linkToken].append(name);
            else if (const QString lockOwner = lockToken(decoded); !lockOwner.isEmpty())
                linksByToken[lockOwner];
        }
        ::closedir(dir);
    }
    for (auto it = linksByToken.cbegin(); it != linksByToken.cend(); ++it) {
        if (it.key() == m_token)
            continue;
        const QByteArray lockName = lockFileName(it.key());
        struct stat info;
        const bool lockMissing = !statAt(folder, lockName, &info) && errno == ENOENT;
        const int lock = lockMissing ? -1 : takeStaleLock(folder, lockName);
        if (!lockMissing && lock < 0)
            continue; // runs, or its lock is not a file this program made
        for (const QByteArray &name : it.value())
            unlinkLinkAt(folder, name);
        if (lock >= 0) {
            ::unlinkat(folder, lockName.constData(), 0);
            ::close(lock);
        }
    }
    ::close(folder);
}

void PreviewLinks::touch() const
{
    const int folder = openFolder(false);
    if (folder >= 0) {
        ::futimens(folder, nullptr);
        ::close(folder);
    }
}

bool PreviewLinks::ensureOwnLock(int folder)
{
    if (m_lockFd >= 0) {
        // Still valid unless the file was deleted (with the folder, say) since it was taken.
        if (sameFileAt(m_lockFd, folder, lockFileName(m_token)))
            return true;
        ::close(m_lockFd);
        m_lockFd = -1;
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        const QByteArray name = lockFileName(m_token);
        // A new file, never one found there: whatever else has that name is not this
        // instance's lock, and a link there is not followed.
        const int fd = ::openat(folder, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno != EEXIST)
                return false;
            // Taken by something else. Before the first link the token can still change;
            // after it, a start that is just removing the deleted lock's file may be done soon.
            if (m_own.isEmpty())
                m_token = newToken();
            else
                QThread::msleep(5);
            continue;
        }
        // A start that found the new file before the lock was on it takes it for a left-over
        // and removes it: then the lock is on a file nobody can find, so start over.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFileAt(fd, folder, name)) {
            m_lockFd = fd;
            return true;
        }
        ::close(fd);
        QThread::msleep(5);
    }
    return false;
}

} // namespace platform
