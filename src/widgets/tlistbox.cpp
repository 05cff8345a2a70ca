#include "tlistbox.h"

#include <QKeyEvent>
#include <QMouseEvent>

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
}

void TListBox::setItemHeight(int height)
{
    m_itemHeight = qMax(0, height);
    doItemsLayout();
}

QSize TListBox::EntrySize(QSize natural) const
{
    if (m_itemHeight > 0)
        natural.setHeight(m_itemHeight);
    return natural;
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
