// The folder list and the file list as screen readers see them: a list of entries named by
// their text. An entry is shown only while the list is shown and the entry lies in its view,
// and it is focused only while the list has the keyboard focus, so that a hidden list, or one
// the user is not in, claims nothing on screen or under the focus.
#pragma once

#include <QAccessibleWidget>
#include <QHash>

class TListBox;

class TListBoxAccessible : public QAccessibleWidget
{
public:
    explicit TListBoxAccessible(TListBox *list);
    ~TListBoxAccessible() override;

    // For QAccessible::installFactory: the interface of every TListBox.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *focusChild() const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    TListBox *list() const;

private:
    mutable QHash<int, QAccessible::Id> m_entries; // by row, made on first use
};
