// Folder list: the path from "/" down to the current folder, then that folder's sub-folders.
#pragma once

#include "tlistbox.h"

#include <QIcon>
#include <QPointer>

#include <functional>

class TDriveComboBox;
class TFileListBox;

class TDirectoryListBox : public TListBox
{
    Q_OBJECT
    Q_PROPERTY(QString directory READ directory WRITE setDirectory)

public:
    // Shows a folder that can't be entered; the default is a warning message box.
    using ErrorReporter = std::function<void(QWidget *parent, const QString &text)>;

    explicit TDirectoryListBox(QWidget *parent = nullptr);

    QString directory() const { return m_directory; }
    // Moves to a folder, or to the folder of an existing file. Changes the volume first
    // (through the linked drive selector) when the path lies on another one. An empty path
    // or the current folder does nothing; a folder that can't be entered is reported and
    // the list stays where it was.
    void setDirectory(const QString &path);
    // Moves to `folder` without the volume step: re-reads the entries and makes the linked
    // file list show the folder. Reports a folder that can't be entered; returns whether the
    // move took place.
    bool enterFolder(const QString &folder);

    void setFileList(TFileListBox *list);
    TFileListBox *fileList() const;
    TDriveComboBox *driveCombo() const;

    // The folder the entry in `row` stands for (empty for a row that doesn't exist).
    QString folderAt(int row) const;

    // Replaces the error reporter of all folder lists; returns the previous one.
    static ErrorReporter setErrorReporter(ErrorReporter reporter);

signals:
    void Click();   // the user changed the selected entry (mouse or keyboard)
    void Enter();   // became the focused control of its window
    void Exit();    // another control of the window took the focus
    void directoryChanged(const QString &folder);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class TDriveComboBox;
    void setDriveCombo(TDriveComboBox *combo);
    QString absolutePath(const QString &path) const;
    void fill();
    void addEntry(const QString &text, const QString &folder, int depth, const QIcon &icon);
    void onSelectionChanged();

    QString m_directory;
    QPointer<TFileListBox> m_fileList;
    QPointer<TDriveComboBox> m_driveCombo;
    bool m_filling = false;
    bool m_entered = false; // the focused control of its window
    QIcon m_openIcon;
    QIcon m_currentIcon;
    QIcon m_closedIcon;
};
