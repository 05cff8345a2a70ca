// File list: the files of one folder whose names match a mask, sorted ignoring case.
#pragma once

#include "tlistbox.h"

#include <QPointer>

class TDirectoryListBox;

class TFileListBox : public TListBox
{
    Q_OBJECT
    Q_PROPERTY(QString fileMask READ fileMask WRITE setFileMask)

public:
    explicit TFileListBox(QWidget *parent = nullptr);

    QString directory() const { return m_directory; }
    // Shows another folder, re-read with nothing selected; the folder already shown is not
    // re-read.
    void setDirectory(const QString &folder);
    // "*" and "?" wildcards, letter case ignored; "*.ttf" lists Demo.TTF too.
    QString fileMask() const { return m_mask; }
    void setFileMask(const QString &mask);
    // Reads the folder again; nothing is selected afterwards.
    void reread();

    // Folder, one "/", selected name; empty when nothing is selected.
    QString FileName() const;
    // Shows the file's folder (through the linked folder list) and selects the file's entry.
    // When the file exists but the mask hides it, the mask becomes the file's name. Selecting
    // by program doesn't emit Click().
    void setFileName(const QString &path);

    TDirectoryListBox *dirList() const;
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
    friend class TDirectoryListBox;
    void setDirList(TDirectoryListBox *list);
    bool selectName(const QString &name);
    void clearSelectionByProgram();
    void onSelectionChanged();

    QString m_directory;
    QString m_mask = QStringLiteral("*");
    QPointer<TDirectoryListBox> m_dirList;
    bool m_byProgram = false;
};

// The Windows virtual-key code of a Qt key (Left 37, Home 36, "A" 65, F1 112, ...); keys of
// the numeric keypad give the keypad codes. 0 for keys without one.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
