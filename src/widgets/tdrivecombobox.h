// Drive selector: one entry per mounted volume; picking one moves the folder list to the
// folder last shown on that volume. A view of a FolderBrowser: its own until setDirList shares
// the folder list's.
#pragma once

#include <QComboBox>
#include <QPointer>

#include "folderbrowser.h"
class TDirectoryListBox;

class TDriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TDriveComboBox(QWidget *parent = nullptr);

    FolderBrowser *browser() const { return m_browser; }
    // Shows the folder list's volumes and follows its folder.
    void setDirList(TDirectoryListBox *list);

    // Mount point of the volume shown.
    QString drive() const;
    // Moves to the folder last shown on the volume that `path` lies on (a mount point names
    // its own volume). The volume already shown does nothing. When the volume can't be entered
    // the error is reported and the selector shows the current folder's volume again.
    void setDrive(const QString &path);
    // Mount point of the volume a path lies on; empty when no listed volume holds it.
    QString volumeOf(const QString &path) const;

    // Re-reads the volumes (media come and go) and opens the list wide enough for its texts.
    void showPopup() override;

private:
    void setBrowser(FolderBrowser *browser);
    void fill();
    void showDrive();
    void onActivated(int index);

    QPointer<FolderBrowser> m_browser; // null once the folder list that owned a shared one is gone
};
