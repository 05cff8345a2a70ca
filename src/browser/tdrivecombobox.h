// Drive selector: one entry per mounted volume; picking one moves the folder list to the
// folder last shown on that volume. A view of the FolderBrowser it is given; empty until then.
#pragma once

#include <QComboBox>
#include <QPointer>

#include "browser/folderbrowser.h"

class TDriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TDriveComboBox(QWidget *parent = nullptr);

    FolderBrowser *browser() const { return m_browser; }
    // Shows the volumes of `browser` and follows its folder; the selector does not own it.
    void setBrowser(FolderBrowser *browser);

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
    void fill();
    void showDrive();
    void onActivated(int index);

    QPointer<FolderBrowser> m_browser; // null until given, and once its owner is gone
};
