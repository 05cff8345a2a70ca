#include "browser/folderbrowser.h"

#include "platform/filenames.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

FolderBrowser::FolderBrowser(QObject *parent)
    : QObject(parent), m_folder(QDir::currentPath())
{
}

const QList<platform::Volume> &FolderBrowser::volumes()
{
    if (!m_volumesRead)
        readVolumes();
    return m_volumes;
}

QString FolderBrowser::volumeOf(const QString &path)
{
    volumes();
    const int index = platform::volumeIndexOf(m_mountPoints, path);
    return index < 0 ? QString() : m_mountPoints.at(index);
}

QString FolderBrowser::lastFolderOn(const QString &mountPoint) const
{
    return m_lastFolder.value(mountPoint, mountPoint);
}

void FolderBrowser::setVolumeSource(VolumeSource source)
{
    m_source = std::move(source);
    refreshVolumes();
}

void FolderBrowser::refreshVolumes()
{
    readVolumes();
    emit volumesChanged();
}

void FolderBrowser::readVolumes()
{
    m_volumesRead = true;
    m_volumes = m_source ? m_source() : platform::mountedVolumes();
    m_mountPoints.clear();
    for (const platform::Volume &volume : std::as_const(m_volumes))
        m_mountPoints << volume.mountPoint;
    // The current folder's volume remembers it, unless another folder was shown there.
    const QString drive = volumeOf(m_folder);
    if (!drive.isEmpty() && !m_lastFolder.contains(drive))
        m_lastFolder.insert(drive, m_folder);
    m_drive = drive;
}

QString FolderBrowser::absolutePath(const QString &path) const
{
    return QDir::cleanPath(QDir(m_folder).absoluteFilePath(path));
}

void FolderBrowser::setDirectory(const QString &path)
{
    if (path.isEmpty())
        return;
    QString target = absolutePath(path);
    if (platform::isFile(target))
        target = QFileInfo(target).absolutePath();
    if (target != m_folder)
        enterFolder(target);
}

bool FolderBrowser::enterFolder(const QString &folder)
{
    const QString target = absolutePath(folder);
    if (const int error = platform::folderAccessError(target)) {
        emit folderError(platform::ioErrorText(target, error));
        return false;
    }
    m_folder = target;
    const QString drive = volumeOf(target);
    if (!drive.isEmpty())
        m_lastFolder.insert(drive, target);
    emit folderChanged(m_folder);
    if (!drive.isEmpty() && drive != m_drive) {
        m_drive = drive;
        emit driveChanged(m_drive);
    }
    return true;
}

void FolderBrowser::setDrive(const QString &path)
{
    const QString mountPoint = volumeOf(QDir::cleanPath(path));
    if (mountPoint.isEmpty() || mountPoint == m_drive)
        return;
    QString folder = lastFolderOn(mountPoint);
    if (!platform::isPathPrefix(mountPoint, folder))
        folder = mountPoint;
    while (folder != mountPoint && platform::folderAccessError(folder) != 0)
        folder = QFileInfo(folder).absolutePath();
    enterFolder(folder);
}
