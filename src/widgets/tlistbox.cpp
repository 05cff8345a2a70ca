#include "tlistbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// Draws each entry indented by its IndentRole and gives it the list's entry height.
class EntryDelegate : public QStyledItemDelegate
{
public:
    explicit EntryDelegate(TListBox *list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += indent(index);
        if (m_list->itemHeight() > 0)
            size.setHeight(m_list->itemHeight());
        return size;
    }

private:
    static int indent(const QModelIndex &index) { return index.data(TListBox::IndentRole).toInt(); }
    const TListBox *m_list;
};

} // namespace

TListBox::TListBox(QWidget *parent)
    : QListWidget(parent)
{
    // Focus comes by Tab and, in mousePressEvent, by a left click; a right or middle click
    // leaves the focus and the selection as they are, so the window can react to a right-button
    // release on its own.
    setFocusPolicy(Qt::TabFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setItemDelegate(new EntryDelegate(this));
}

void TListBox::setItemHeight(int height)
{
    m_itemHeight = qMax(0, height);
    doItemsLayout();
}

void TListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    QListWidget::mousePressEvent(event);
}

void TListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        QListWidget::mouseReleaseEvent(event);
    else
        event->accept();
    emit MouseUp(event->button(), event->modifiers(), viewport()->mapTo(this, event->position().toPoint()));
}

void TListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        QListWidget::keyPressEvent(event);
        return;
    }
    // A one-column list: left and right step like up and down.
    QKeyEvent step(event->type(), event->key() == Qt::Key_Left ? Qt::Key_Up : Qt::Key_Down, event->modifiers(),
                   event->text(), event->isAutoRepeat(), event->count());
    QListWidget::keyPressEvent(&step);
    event->setAccepted(step.isAccepted());
}

void TListBox::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept(); // no menu here, and none of the window's either
}

void TListBox::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    if (currentItem())
        scrollToItem(currentItem());
}

QItemSelectionModel::SelectionFlags TListBox::selectionCommand(const QModelIndex &index, const QEvent *) const
{
    // The user can change the selection but not empty it: a click beside the entries or with
    // Ctrl keeps it.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}
