// Folder list: the path from "/" down to the current folder, then that folder's sub-folders.
// A view of the FolderBrowser it is given; empty until then.
#pragma once

#include "tlistbox.h"

#include <QIcon>
#include <QPointer>

#include "browser/folderbrowser.h"

class TDirectoryListBox : public TListBox
{
    Q_OBJECT
    Q_PROPERTY(QString directory READ directory WRITE setDirectory)

public:
    explicit TDirectoryListBox(QWidget *parent = nullptr);

    FolderBrowser *browser() const { return m_browser; }
    // Shows the folders of `browser` from now on; the list does not own it.
    void setBrowser(FolderBrowser *browser);
    QString directory() const;
    // Moves to a folder, or to the folder of an existing file, on whichever volume. An empty
    // path or the current folder does nothing; a folder that can't be entered is reported
    // (folderError) and the list stays where it was.
    void setDirectory(const QString &path);
    // Enters `folder`, also the current one, which is read again; returns whether it could.
    bool enterFolder(const QString &folder);
    // The folder the entry in `row` stands for (empty for a row that doesn't exist).
    QString folderAt(int row) const;

signals:
    void Click();   // the user changed the selected entry (mouse or keyboard)
    void Enter();   // became the focused control of its window
    void Exit();    // another control of the window took the focus
    // A folder could not be entered, whichever list asked for it; `text` says why.
    void folderError(const QString &text);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill();
    void addEntry(const QString &text, const QString &folder, int depth, const QIcon &icon);
    void onSelectionChanged();

    QPointer<FolderBrowser> m_browser; // null until given, and once its owner is gone
    bool m_filling = false;
    bool m_entered = false; // the focused control of its window
    QIcon m_openIcon;
    QIcon m_currentIcon;
    QIcon m_closedIcon;
};
