// The folder of symbolic links through which fonts under preview are visible to the user's
// other programs. Each link's name starts with the id of the process that made it; each such
// process holds a lock on a dot-file of its own in the folder for as long as it runs, so a
// later start can tell which links were left behind by a process that has ended.
#pragma once

#include <QSet>
#include <QString>

namespace platform {

// "<pid>-<serial>-<file name>", shortened (keeping the file's extension) so that it fits the
// file system's 255-byte limit for one name.
QString PreviewLinkName(qint64 pid, int serial, const QString &fileName);
// The process id a link name starts with; -1 when the name is not a link name.
qint64 PreviewLinkOwner(const QString &linkName);
// Name of the lock file a process holds while it runs: ".<pid>.lock" (fontconfig skips
// dot-files, so it is never taken for a font).
QString PreviewLockName(qint64 pid);

class PreviewLinks
{
public:
    explicit PreviewLinks(const QString &folder);
    // Removes the links this process still has and its lock file.
    ~PreviewLinks();
    PreviewLinks(const PreviewLinks &) = delete;
    PreviewLinks &operator=(const PreviewLinks &) = delete;

    QString Folder() const { return m_folder; }
    // Makes a link to `target` (an absolute path) and returns the link's path; empty when the
    // folder or the link could not be made.
    QString Create(const QString &target);
    // Removes a link that Create returned; anything else is left alone.
    void Remove(const QString &linkPath);
    // Removes the links of processes that no longer run, with their lock files, and the links
    // named after this process that it did not make (left by an ended process with the same id).
    // Links of running processes, and files that are not links, are left alone.
    void SweepStale();
    // Sets the folder's modification time to now, so that other programs' fontconfig rescans it.
    void Touch() const;

private:
    bool EnsureOwnLock();
    // Whether the process with that id holds its lock; the lock file of one that has ended is
    // removed.
    bool OwnerRuns(qint64 pid);

    QString m_folder;
    qint64 m_pid;
    int m_lockFd = -1;
    int m_serial = 0;
    QSet<QString> m_own; // names of the links this process made and has not removed
};

} // namespace platform
