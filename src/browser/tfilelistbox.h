// File list: the files of one folder whose names match a mask, sorted ignoring case. It shows
// the folder of the FolderBrowser it is given; empty until then.
#pragma once

#include "tlistbox.h"

#include <QPointer>

#include "browser/folderbrowser.h"

class TFileListBox : public TListBox
{
    Q_OBJECT
    Q_PROPERTY(QString fileMask READ fileMask WRITE setFileMask)

public:
    explicit TFileListBox(QWidget *parent = nullptr);

    FolderBrowser *browser() const { return m_browser; }
    // Shows the folder of `browser` from now on; the list does not own it.
    void setBrowser(FolderBrowser *browser);
    // The folder shown.
    QString directory() const { return m_directory; }
    // "*" and "?" wildcards, letter case ignored; "*.ttf" lists Demo.TTF too.
    QString fileMask() const { return m_mask; }
    void setFileMask(const QString &mask);
    // Reads the folder again; nothing is selected afterwards.
    void reread();

    // Folder, one "/", selected name; empty when nothing is selected.
    QString FileName() const;
    // Moves the browser to the file's folder and selects the file's entry.
    // When the file exists but the mask hides it, the mask becomes the file's name. Selecting
    // by program doesn't emit Click().
    void setFileName(const QString &path);

    // Makes the list the active control of its window and gives it the keyboard focus.
    void setFocusByProgram();

signals:
    void Click();   // the user changed the selection (mouse or keyboard)
    void KeyUp(int virtualKeyCode, Qt::KeyboardModifiers modifiers);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void showFolder(const QString &folder);
    bool selectName(const QString &name);
    void clearSelectionByProgram();
    void onSelectionChanged();

    QString m_directory;
    QString m_mask = QStringLiteral("*");
    QPointer<FolderBrowser> m_browser; // null until given, and once its owner is gone
    bool m_byProgram = false;
};

