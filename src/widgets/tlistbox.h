// What the folder list and the file list share: a one-column list with one selected entry that
// the user can change but not empty, entries of a set height, focus by Tab or a left click
// only, and a report of every mouse-button release.
#pragma once

#include <QListWidget>

class TListBox : public QListWidget
{
    Q_OBJECT
    Q_PROPERTY(int itemHeight READ itemHeight WRITE setItemHeight)

public:
    explicit TListBox(QWidget *parent = nullptr);

    // Height of one entry; 0 takes the height the font (and any picture) needs.
    int itemHeight() const { return m_itemHeight; }
    void setItemHeight(int height);
    // An entry's indent in pixels, kept in its data under this role (none when unset).
    static constexpr int IndentRole = Qt::UserRole + 100;

signals:
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    int m_itemHeight = 0;
};
