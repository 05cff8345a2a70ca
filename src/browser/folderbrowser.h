// Where the drive selector, the folder list and the file list stand: the mounted volumes, the
// folder last shown on each, and the current folder. The three lists are views of it: they
// pass on what the user does and follow its signals.
#pragma once

#include "platform/volumes.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class FolderBrowser : public QObject
{
    Q_OBJECT

public:
    using VolumeSource = std::function<QList<platform::Volume>()>;

    // Starts in the program's current folder. Its owner (the main window) hands it to each
    // of the three views; they do not own it.
    explicit FolderBrowser(QObject *parent = nullptr);

    QString folder() const { return m_folder; }
    // Mount point of the volume shown: the current folder's, or the last one that held it.
    QString drive() const { return m_drive; }
    const QList<platform::Volume> &volumes();
    // Mount point of the volume a path lies on; empty when no listed volume holds it.
    QString volumeOf(const QString &path);
    // The folder last shown on a volume (its mount point until one was shown there).
    QString lastFolderOn(const QString &mountPoint) const;

    // Where the list of volumes comes from (tests give their own); reads the volumes again.
    void setVolumeSource(VolumeSource source);
    // Reads the mounted volumes again (media come and go).
    void refreshVolumes();

    // Moves to a folder, or to the folder of an existing file; a relative path is taken from
    // the current folder. The current folder does nothing. A folder that can't be entered is
    // reported and nothing moves.
    void setDirectory(const QString &path);
    // Enters `folder`, also the current one (whose views then read it again). Reports a folder
    // that can't be entered; returns whether the move took place.
    bool enterFolder(const QString &folder);
    // Moves to the folder last shown on the volume that `path` lies on, or to the nearest
    // folder above it that can still be entered. The volume shown already does nothing.
    void setDrive(const QString &path);

signals:
    // A folder was entered: the views read it.
    void folderChanged(const QString &folder);
    // The volume shown changed.
    void driveChanged(const QString &mountPoint);
    // The list of volumes was read again.
    void volumesChanged();
    // A folder could not be entered; `text` says which and why.
    void folderError(const QString &text);

private:
    QString absolutePath(const QString &path) const;
    void readVolumes();

    VolumeSource m_source;
    QList<platform::Volume> m_volumes;
    QStringList m_mountPoints;
    bool m_volumesRead = false;
    QHash<QString, QString> m_lastFolder;
    QString m_folder;
    QString m_drive;
};
