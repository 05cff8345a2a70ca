#include "namedcomboboxaccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

NamedComboBoxAccessible::NamedComboBoxAccessible(QComboBox *box)
    : QAccessibleWidget(box, QAccessible::ComboBox)
{
}

QAccessibleInterface *NamedComboBoxAccessible::factory(const QString &className, QObject *object)
{
    if ((className == QLatin1String("TComboBox") || className == QLatin1String("TDriveComboBox"))
        && qobject_cast<QComboBox *>(object))
        return new NamedComboBoxAccessible(static_cast<QComboBox *>(object));
    return nullptr;
}

QComboBox *NamedComboBoxAccessible::box() const
{
    return static_cast<QComboBox *>(widget());
}

QString NamedComboBoxAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return box()->accessibleName().isEmpty() ? box()->currentText() : box()->accessibleName();
    case QAccessible::Value:
        // What the box shows: the selected item, or the text shown with nothing selected.
        return box()->currentIndex() >= 0 ? box()->currentText() : box()->placeholderText();
    default:
        return QAccessibleWidget::text(t);
    }
}

int NamedComboBoxAccessible::childCount() const
{
    return 1;
}

QAccessibleInterface *NamedComboBoxAccessible::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
}

int NamedComboBoxAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child->object() == box()->view() ? 0 : -1;
}
