#include "widgets/accessible/tstringgridaccessible.h"
#include "chartcells.h"
#include "tstringgrid.h"
#include "widgets/accessible/tstringgridcellaccessible.h"

TStringGridAccessible::TStringGridAccessible(TStringGrid *grid)
    : QAccessibleWidget(grid, QAccessible::Table)
{
}

TStringGridAccessible::~TStringGridAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *TStringGridAccessible::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TStringGrid") && object && object->isWidgetType())
        return new TStringGridAccessible(static_cast<TStringGrid *>(object));
    return nullptr;
}

TStringGrid *TStringGridAccessible::grid() const
{
    return static_cast<TStringGrid *>(widget());
}

void *TStringGridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int TStringGridAccessible::columnCount() const
{
    return grid()->ColCount();
}

int TStringGridAccessible::rowCount() const
{
    return grid()->RowCount();
}

int TStringGridAccessible::childCount() const
{
    return rowCount() * columnCount();
}

QAccessibleInterface *TStringGridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    const int index = row * columnCount() + column;
    const auto known = m_cells.constFind(index);
    if (known != m_cells.cend())
        return QAccessible::accessibleInterface(*known);
    auto *cell = new TStringGridCellAccessible(const_cast<TStringGridAccessible *>(this), row, column);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface *TStringGridAccessible::child(int index) const
{
    return columnCount() > 0 ? cellAt(index / columnCount(), index % columnCount()) : nullptr;
}

int TStringGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const QAccessibleTableCellInterface *cell =
        child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
    if (!cell || child->parent() != this)
        return -1;
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface *TStringGridAccessible::focusChild() const
{
    return grid()->hasFocus() ? cellAt(grid()->Row(), grid()->Col()) : nullptr;
}

QAccessibleInterface *TStringGridAccessible::childAt(int x, int y) const
{
    int col = 0, row = 0;
    const QPoint inViewport = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    return grid()->MouseToCell(inViewport, &col, &row) ? cellAt(row, col) : nullptr;
}

QList<QAccessibleInterface *> TStringGridAccessible::selectedCells() const
{
    return {cellAt(grid()->Row(), grid()->Col())};
}

QString TStringGridAccessible::columnDescription(int column) const
{
    return QStringLiteral("low digit %1").arg(QString::number(column, 16).toUpper());
}

QString TStringGridAccessible::rowDescription(int row) const
{
    return QStringLiteral("high digit %1").arg(QString::number(chart::highDigit(row), 16).toUpper());
}
