// Mounted volumes and the path rules the folder and file lists share.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

enum class VolumeKind { Fixed, Removable, Network, Optical, Ram };

struct Volume {
    QString mountPoint;     // absolute, without a trailing "/" except for the root "/"
    QString label;          // volume label, or the server path of a network volume; may be empty
    VolumeKind kind = VolumeKind::Fixed;
};

// The real file systems mounted now (no proc, sysfs, cgroup, tmpfs and the like), sorted by
// mount point, one entry per mount point. The root "/" is always among them.
QList<Volume> mountedVolumes();

// Whether a mount is a file system the user keeps files on. Pure rule behind mountedVolumes().
bool isRealFileSystem(const QByteArray &fsType, const QString &mountPoint);

// The kind of a volume from its file system type, its device and whether the block device is
// removable (or hangs on a USB bus). Pure rule behind mountedVolumes().
VolumeKind classifyVolume(const QByteArray &fsType, const QByteArray &device, bool removableDevice);

// The drive selector's text for a volume: the mount point and, if there is one, the label
// in square brackets ("/media/usb [STICK]").
QString volumeText(const Volume &volume);

// Whether `prefix` is `path` itself or one of its ancestor folders, compared by whole path
// components and exactly: "/home" prefixes "/home/x" but not "/homework".
bool isPathPrefix(const QString &prefix, const QString &path);

// Index of the volume a path lies on: the one with the longest mount point that prefixes it;
// -1 when none does.
int volumeIndexOf(const QStringList &mountPoints, const QString &path);

// A file's full name from its folder and its name: exactly one "/" between them, so the root
// folder "/" and "x.ttf" give "/x.ttf". An empty folder gives the name alone.
QString joinPath(const QString &folder, const QString &name);

// The folders from the root down to `folder` itself: "/a/b" gives "/", "/a", "/a/b".
// `folder` is an absolute, clean path.
QStringList folderChain(const QString &folder);

// Whether `name` matches a file mask of "*" (any run of characters) and "?" (any one
// character), ignoring letter case. An empty mask and "*.*" match every name.
bool matchesMask(const QString &name, const QString &mask);

// 0 when the folder can be opened for listing, otherwise the system's error number.
int folderAccessError(const QString &folder);

// The text of the message box that reports a folder that can't be entered.
QString ioErrorText(const QString &folder, int error);

} // namespace platform
