#include "widgets/accessible/tstringgridcellaccessible.h"
#include "tstringgrid.h"
#include "widgets/accessible/tstringgridaccessible.h"

TStringGridCellAccessible::TStringGridCellAccessible(TStringGridAccessible *table, int row, int column)
    : m_table(table), m_row(row), m_column(column)
{
}

TStringGrid *TStringGridCellAccessible::grid() const
{
    return m_table->grid();
}

void *TStringGridCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    return nullptr;
}

bool TStringGridCellAccessible::isValid() const
{
    return m_table->isValid() && m_row < grid()->RowCount() && m_column < grid()->ColCount();
}

QWindow *TStringGridCellAccessible::window() const
{
    return m_table->window();
}

QAccessibleInterface *TStringGridCellAccessible::parent() const
{
    return m_table;
}

QAccessibleInterface *TStringGridCellAccessible::table() const
{
    return m_table;
}

QString TStringGridCellAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return grid()->accessibleCellName(m_column, m_row);
    if (t == QAccessible::Value)
        return grid()->Cells(m_column, m_row);
    return QString();
}

QRect TStringGridCellAccessible::rect() const
{
    const QRect cell = grid()->cellRect(m_column, m_row);
    return QRect(grid()->viewport()->mapToGlobal(cell.topLeft()), cell.size());
}

bool TStringGridCellAccessible::isSelected() const
{
    return grid()->Col() == m_column && grid()->Row() == m_row;
}

QAccessible::State TStringGridCellAccessible::state() const
{
    QAccessible::State state;
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = isSelected() && grid()->hasFocus();
    state.invisible = !grid()->cellRect(m_column, m_row).intersects(grid()->viewport()->rect());
    return state;
}
