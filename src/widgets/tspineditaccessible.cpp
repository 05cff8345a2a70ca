#include "tspineditaccessible.h"
#include "tspinedit.h"

TSpinEditAccessible::TSpinEditAccessible(TSpinEdit *box)
    : QAccessibleWidget(box, QAccessible::SpinBox)
{
}

QAccessibleInterface *TSpinEditAccessible::Factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TSpinEdit") && object && object->isWidgetType())
        return new TSpinEditAccessible(static_cast<TSpinEdit *>(object));
    return nullptr;
}

TSpinEdit *TSpinEditAccessible::Box() const
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
        return Box()->Text();
    return QAccessibleWidget::text(t);
}

QVariant TSpinEditAccessible::currentValue() const
{
    return Box()->Value();
}

void TSpinEditAccessible::setCurrentValue(const QVariant &value)
{
    Box()->setValue(value.toInt());
}

QVariant TSpinEditAccessible::maximumValue() const
{
    return Box()->MaxValue();
}

QVariant TSpinEditAccessible::minimumValue() const
{
    return Box()->MinValue();
}
