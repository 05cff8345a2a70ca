// The folder of symbolic links through which fonts under preview are visible to the user's
// other programs.
//
// Every instance of the program draws a random token when it starts; its links are named
// after the token, and it holds a lock on the dot-file ".<token>.lock" in the folder for as
// long as it runs. A later start can so tell the links of an instance that has ended from
// those of one that runs, even where several instances share a process id (each sees pid 1 in
// a container or sandbox of its own). Only what an instance made is removed by it; another
// start removes links only when it can prove their owner ended, and never anything but a
// symbolic link of that naming and an empty lock file nobody holds.
//
// The folder must be a real folder of the user's (not a symbolic link, which would take the
// links and the sweep elsewhere); when it is not, no link is made and nothing is swept. Its
// entries are reached relative to the open folder, and never through a symbolic link.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace platform {

// "<token>-<serial>-<file name>", shortened (keeping the file's extension) so that it fits the
// file system's 255-byte limit for one name.
QString previewLinkName(const QString &token, int serial, const QString &fileName);
// The token a link name starts with (16 lowercase hex digits); empty when the name is not
// a link name.
QString previewLinkToken(const QString &linkName);
// Name of the lock file an instance holds while it runs: ".<token>.lock" (fontconfig skips
// dot-files, so it is never taken for a font).
QString previewLockName(const QString &token);

class PreviewLinks
{
public:
    // What tells a link this instance made from one that took its name later.
    struct Made
    {
        quint64 inode = 0;
        QByteArray target;
    };

    explicit PreviewLinks(const QString &folder);
    // Removes the links this instance made that are still there, and its lock file.
    ~PreviewLinks();
    PreviewLinks(const PreviewLinks &) = delete;
    PreviewLinks &operator=(const PreviewLinks &) = delete;

    QString folder() const { return m_folder; }
    // This instance's token.
    QString token() const { return m_token; }
    // Makes a link to `target` (an absolute path) and returns the link's path; empty when the
    // folder, the lock or the link could not be made.
    QString create(const QString &target);
    // Removes a link that create returned, if it is still the one made; anything else is left
    // alone.
    void remove(const QString &linkPath);
    // Removes the links of instances that have ended, with their lock files.
    void sweepStale();
    // Sets the folder's modification time to now, so that other programs' fontconfig rescans it.
    void touch() const;

private:
    // A descriptor of the folder, created first if `create`; -1 when it is missing, not a
    // folder, a symbolic link or someone else's.
    int openFolder(bool create) const;
    bool ensureOwnLock(int folder);
    void removeOwnLink(int folder, const QByteArray &name) const;

    QString m_folder;
    QString m_token;
    int m_lockFd = -1;
    int m_serial = 0;
    QHash<QByteArray, Made> m_own; // each link this instance made and has not removed, by name
};

} // namespace platform
