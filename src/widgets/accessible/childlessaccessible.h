// What the accessible objects share that stand for no widget of their own and have no children
// (a cell of the chart, an entry of a list, a notice): no object, no children, a text that
// screen readers cannot set.
#pragma once

#include <QAccessible>

class ChildlessAccessible : public QAccessibleInterface
{
public:
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}
};
