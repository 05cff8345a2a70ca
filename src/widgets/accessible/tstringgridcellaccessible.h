// One cell of the chart for screen readers: named by its character and codes, a cell of the
// chart's table, focused and selected when it is the grid's current cell.
#pragma once

#include "widgets/accessible/childlessaccessible.h"

class TStringGrid;
class TStringGridAccessible;

class TStringGridCellAccessible : public ChildlessAccessible, public QAccessibleTableCellInterface
{
public:
    TStringGridCellAccessible(TStringGridAccessible *table, int row, int column);

    void *interface_cast(QAccessible::InterfaceType type) override;
    bool isValid() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    TStringGrid *grid() const;

    TStringGridAccessible *m_table;
    int m_row;
    int m_column;
};
