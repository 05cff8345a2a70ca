// File list: the files of one folder whose names match a mask, sorted ignoring case.
#pragma once

#include <QListWidget>
#include <QPointer>

class TDirectoryListBox;

class TFileListBox : public QListWidget
{
    Q_OBJECT
    Q_PROPERTY(QString fileMask READ fileMask WRITE setFileMask)
    Q_PROPERTY(int itemHeight READ itemHeight WRITE setItemHeight)

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

    // Height of one entry; 0 takes the height the font needs.
    int itemHeight() const { return m_itemHeight; }
    void setItemHeight(int height);

signals:
    void Click();   // the user changed the selection (mouse or keyboard)
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void KeyUp(int virtualKeyCode, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    friend class TDirectoryListBox;
    void setDirList(TDirectoryListBox *list);
    bool selectName(const QString &name);
    void clearSelectionByProgram();
    void onSelectionChanged();

    QString m_directory;
    QString m_mask = QStringLiteral("*");
    QPointer<TDirectoryListBox> m_dirList;
    int m_itemHeight = 0;
    bool m_byProgram = false;
};

// The Windows virtual-key code of a Qt key (Left 37, Home 36, "A" 65, F1 112, ...); keys of
// the numeric keypad give the keypad codes. 0 for keys without one.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
