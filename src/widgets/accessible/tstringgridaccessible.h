// The chart as screen readers see it: a table of rows and columns whose cells are named by the
// character they show and its codes, with the grid's current cell as the focused, selected one.
#pragma once

#include <QAccessibleWidget>
#include <QHash>

class TStringGrid;

class TStringGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit TStringGridAccessible(TStringGrid *grid);
    ~TStringGridAccessible() override;

    // For QAccessible::installFactory: the interface of every TStringGrid.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *focusChild() const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 1; }
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The grid selects single cells only.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    TStringGrid *grid() const;

private:
    mutable QHash<int, QAccessible::Id> m_cells; // by child index, made on first use
};
