// One entry of a folder or file list for screen readers: named by its text; selected when it
// is the list's selected entry, focused when it is the current one of a list with the focus,
// and shown only while the list is shown and the entry is in its view.
#pragma once

#include "widgets/accessible/childlessaccessible.h"

class TListBox;
class TListBoxAccessible;

class TListBoxItemAccessible : public ChildlessAccessible
{
public:
    TListBoxItemAccessible(TListBoxAccessible *list, int row);

    int row() const { return m_row; }

    bool isValid() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    TListBox *listBox() const;
    QRect rectInViewport() const;

    TListBoxAccessible *m_list;
    int m_row;
};
