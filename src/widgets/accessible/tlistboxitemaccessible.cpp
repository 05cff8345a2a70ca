#include "widgets/accessible/tlistboxitemaccessible.h"
#include "tlistbox.h"
#include "widgets/accessible/tlistboxaccessible.h"

TListBoxItemAccessible::TListBoxItemAccessible(TListBoxAccessible *list, int row)
    : m_list(list), m_row(row)
{
}

TListBox *TListBoxItemAccessible::listBox() const
{
    return m_list->list();
}

bool TListBoxItemAccessible::isValid() const
{
    return m_list->isValid() && m_row < listBox()->count();
}

QWindow *TListBoxItemAccessible::window() const
{
    return m_list->window();
}

QAccessibleInterface *TListBoxItemAccessible::parent() const
{
    return m_list;
}

QString TListBoxItemAccessible::text(QAccessible::Text t) const
{
    const QListWidgetItem *entry = listBox()->item(m_row);
    return entry && t == QAccessible::Name ? entry->text() : QString();
}

QRect TListBoxItemAccessible::rectInViewport() const
{
    const QListWidgetItem *entry = listBox()->item(m_row);
    return entry ? listBox()->visualItemRect(entry) : QRect();
}

QRect TListBoxItemAccessible::rect() const
{
    const QRect inViewport = rectInViewport();
    return QRect(listBox()->viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size());
}

QAccessible::State TListBoxItemAccessible::state() const
{
    const TListBox *list = listBox();
    const QListWidgetItem *entry = list->item(m_row);
    const bool current = list->currentRow() == m_row;
    QAccessible::State state;
    state.selectable = true;
    state.focusable = true;
    state.selected = entry && entry->isSelected();
    state.focused = current && list->hasFocus();
    state.invisible = !list->isVisible() || !rectInViewport().intersects(list->viewport()->rect());
    return state;
}
