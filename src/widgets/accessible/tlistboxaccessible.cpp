#include "widgets/accessible/tlistboxaccessible.h"
#include "tlistbox.h"
#include "widgets/accessible/tlistboxitemaccessible.h"

TListBoxAccessible::TListBoxAccessible(TListBox *list)
    : QAccessibleWidget(list, QAccessible::List)
{
}

TListBoxAccessible::~TListBoxAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_entries))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *TListBoxAccessible::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TListBox") && qobject_cast<TListBox *>(object))
        return new TListBoxAccessible(static_cast<TListBox *>(object));
    return nullptr;
}

TListBox *TListBoxAccessible::list() const
{
    return static_cast<TListBox *>(widget());
}

int TListBoxAccessible::childCount() const
{
    return list()->count();
}

// The list's own events (focus, selection) name an entry by its row.
QAccessibleInterface *TListBoxAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto known = m_entries.constFind(index);
    if (known != m_entries.cend())
        return QAccessible::accessibleInterface(*known);
    auto *entry = new TListBoxItemAccessible(const_cast<TListBoxAccessible *>(this), index);
    m_entries.insert(index, QAccessible::registerAccessibleInterface(entry));
    return entry;
}

int TListBoxAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || child->parent() != this || child->role() != QAccessible::ListItem)
        return -1;
    return static_cast<const TListBoxItemAccessible *>(child)->row();
}

QAccessibleInterface *TListBoxAccessible::focusChild() const
{
    return list()->hasFocus() ? child(list()->currentRow()) : nullptr;
}

QAccessibleInterface *TListBoxAccessible::childAt(int x, int y) const
{
    const QModelIndex index = list()->indexAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(index.row()) : nullptr;
}
