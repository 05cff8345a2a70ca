// Drive selector: one entry per mounted volume; picking one moves the linked folder list to
// the folder last shown on that volume.
#pragma once

#include "volumes.h"

#include <QComboBox>
#include <QHash>
#include <QPointer>

#include <functional>

class TDirectoryListBox;

class TDriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    using VolumeSource = std::function<QList<volumes::Volume>()>;

    explicit TDriveComboBox(QWidget *parent = nullptr);

    void setDirList(TDirectoryListBox *list);
    TDirectoryListBox *dirList() const;

    // Mount point of the volume shown.
    QString drive() const { return m_drive; }
    // Shows the volume that `path` lies on (a mount point names its own volume) and moves the
    // linked folder list to the folder last shown there. The volume already shown does
    // nothing. When the volume can't be entered the error is reported and the selector goes
    // back to the folder list's volume.
    void setDrive(const QString &path);

    // Mount point of the volume a path lies on; empty when no listed volume holds it.
    QString volumeOf(const QString &path) const;
    // The folder last shown on a volume (its mount point until one was shown there).
    QString lastFolderOn(const QString &mountPoint) const;

    // Where the list of volumes comes from (tests give their own); re-reads the volumes.
    void setVolumeSource(VolumeSource source);
    // Reads the mounted volumes again, keeping the volume shown when it is still there.
    void refreshVolumes();
    // Re-reads the volumes (media come and go) and opens the list wide enough for its texts.
    void showPopup() override;

private:
    friend class TDirectoryListBox;
    void folderShown(const QString &folder);
    void changeDrive(const QString &mountPoint);
    void showVolume(const QString &mountPoint);
    void onActivated(int index);

    QList<volumes::Volume> m_volumes;
    QStringList m_mountPoints;
    QHash<QString, QString> m_lastFolder;
    QString m_drive;
    VolumeSource m_source;
    QPointer<TDirectoryListBox> m_dirList;
};
