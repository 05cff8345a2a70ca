#include "widgets/accessible/tspineditaccessible.h"
#include "tspinedit.h"

TSpinEditAccessible::TSpinEditAccessible(TSpinEdit *box)
    : QAccessibleWidget(box, QAccessible::SpinBox)
{
}

QAccessibleInterface *TSpinEditAccessible::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TSpinEdit") && object && object->isWidgetType())
        return new TSpinEditAccessible(static_cast<TSpinEdit *>(object));
    return nullptr;
}

TSpinEdit *TSpinEditAccessible::box() const
{
    return static_cast<TSpinEdit *>(widget());
}

void *TSpinEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TSpinEditAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->Text();
    return QAccessibleWidget::text(t);
}

QVariant TSpinEditAccessible::currentValue() const
{
    return box()->Value();
}

void TSpinEditAccessible::setCurrentValue(const QVariant &value)
{
    box()->setValue(value.toInt());
}

QVariant TSpinEditAccessible::maximumValue() const
{
    return box()->MaxValue();
}

QVariant TSpinEditAccessible::minimumValue() const
{
    return box()->MinValue();
}
