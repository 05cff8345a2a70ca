// Mounted volumes, the volume a path lies on, and entering a folder.
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

// Index of the volume a path lies on: the one with the longest mount point that prefixes it;
// -1 when none does.
int volumeIndexOf(const QStringList &mountPoints, const QString &path);

// 0 when the folder can be opened for listing, otherwise the system's error number.
int folderAccessError(const QString &folder);

// The text of the message box that reports a folder that can't be entered.
QString ioErrorText(const QString &folder, int error);

} // namespace platform
