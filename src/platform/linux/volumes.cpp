#include "platform/volumes.h"

#include "platform/filenames.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStorageInfo>

#include <cerrno>
#include <dirent.h>

namespace platform {

namespace {

bool isUnder(const QString &mountPoint, const char *folder)
{
    return isPathPrefix(QLatin1String(folder), mountPoint);
}

bool isPseudoType(const QByteArray &fsType)
{
    static const QByteArrayList pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "ramfs", "rootfs", "cgroup", "cgroup2",
        "securityfs", "debugfs", "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs",
        "pstore", "bpf", "binfmt_misc", "autofs", "efivarfs", "selinuxfs", "rpc_pipefs", "nsfs",
        "overlay", "aufs", "nfsd", "devfs", "usbfs", "none", "fuse.gvfsd-fuse", "fuse.portal",
        "fuse.lxcfs", "fuse.xdg-document-portal"};
    return fsType.isEmpty() || pseudo.contains(fsType);
}

bool isNetworkType(const QByteArray &fsType)
{
    static const QByteArrayList network = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "ceph", "glusterfs",
        "davfs", "lustre", "fuse.sshfs", "fuse.rclone", "fuse.davfs2", "fuse.s3fs",
        "fuse.curlftpfs", "fuse.gcsfuse", "fuse.glusterfs"};
    return network.contains(fsType);
}

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(16).trimmed();
}

// Whether a block device can be taken out: the kernel's "removable" flag of the disk (of the
// partition's parent disk), or the disk hangs on a USB bus (USB hard disks report 0).
bool isRemovableDevice(const QByteArray &device)
{
    if (!device.startsWith("/dev/"))
        return false;
    const QString node = QFileInfo(QString::fromLocal8Bit(device)).canonicalFilePath();
    if (node.isEmpty())
        return false;
    const QString sysPath = QFileInfo(QStringLiteral("/sys/class/block/") + QFileInfo(node).fileName())
                                .canonicalFilePath();
    if (sysPath.isEmpty())
        return false;
    if (sysPath.contains(QLatin1String("/usb")))
        return true;
    QString disk = sysPath;
    if (QFileInfo::exists(sysPath + QLatin1String("/partition")))
        disk = QFileInfo(sysPath).absolutePath();
    return readSmallFile(disk + QLatin1String("/removable")) == "1";
}

Volume volumeFrom(const QStorageInfo &info)
{
    Volume volume;
    volume.mountPoint = info.rootPath();
    volume.kind = classifyVolume(info.fileSystemType(), info.device(), isRemovableDevice(info.device()));
    volume.label = info.name();
    if (volume.label.isEmpty() && volume.kind == VolumeKind::Network)
        volume.label = QString::fromLocal8Bit(info.device());
    return volume;
}

} // namespace

QList<Volume> mountedVolumes()
{
    QMap<QString, Volume> byMountPoint; // sorted; a later mount on the same point hides the earlier
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &info : mounted) {
        if (info.isValid() && isRealFileSystem(info.fileSystemType(), info.rootPath()))
            byMountPoint.insert(info.rootPath(), volumeFrom(info));
    }
    const QString root = QStringLiteral("/");
    if (!byMountPoint.contains(root)) {
        Volume volume = volumeFrom(QStorageInfo::root());
        volume.mountPoint = root;
        byMountPoint.insert(root, volume);
    }
    return byMountPoint.values();
}

bool isRealFileSystem(const QByteArray &fsType, const QString &mountPoint)
{
    if (mountPoint == QLatin1String("/"))
        return true; // whatever the root is (overlay in a container, rootfs), files live there
    if (isUnder(mountPoint, "/proc") || isUnder(mountPoint, "/sys") || isUnder(mountPoint, "/dev")
        || isUnder(mountPoint, "/var/run") || isUnder(mountPoint, "/var/lock")
        || isUnder(mountPoint, "/snap")
        || (isUnder(mountPoint, "/run") && !isUnder(mountPoint, "/run/media")))
        return false;
    return !isPseudoType(fsType);
}

VolumeKind classifyVolume(const QByteArray &fsType, const QByteArray &device, bool removableDevice)
{
    if (isNetworkType(fsType) || device.startsWith("//"))
        return VolumeKind::Network;
    if (fsType == "iso9660" || fsType == "udf" || device.startsWith("/dev/sr")
        || device.startsWith("/dev/scd") || device.startsWith("/dev/cdrom"))
        return VolumeKind::Optical;
    if (fsType == "tmpfs" || fsType == "ramfs" || device.startsWith("/dev/ram")
        || device.startsWith("/dev/zram"))
        return VolumeKind::Ram;
    return removableDevice ? VolumeKind::Removable : VolumeKind::Fixed;
}

QString volumeText(const Volume &volume)
{
    if (volume.label.isEmpty())
        return volume.mountPoint;
    return volume.mountPoint + QLatin1String(" [") + volume.label + QLatin1Char(']');
}

int volumeIndexOf(const QStringList &mountPoints, const QString &path)
{
    int best = -1;
    for (int i = 0; i < mountPoints.size(); ++i) {
        if (isPathPrefix(mountPoints.at(i), path)
            && (best < 0 || mountPoints.at(i).size() > mountPoints.at(best).size()))
            best = i;
    }
    return best;
}

int folderAccessError(const QString &folder)
{
    const QByteArray encoded = platform::encodeName(folder);
    DIR *dir = ::opendir(encoded.constData());
    if (!dir)
        return errno ? errno : EIO;
    ::closedir(dir);
    return 0;
}

QString ioErrorText(const QString &folder, int error)
{
    return QStringLiteral("I/O error %1: %2\n\n%3").arg(error).arg(qt_error_string(error), folder);
}

} // namespace platform
