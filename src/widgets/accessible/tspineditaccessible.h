// A size box as screen readers see it: a spin button with its value and range.
#pragma once

#include <QAccessibleWidget>

class TSpinEdit;

class TSpinEditAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit TSpinEditAccessible(TSpinEdit *box);

    // For QAccessible::installFactory: the interface of every TSpinEdit.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

private:
    TSpinEdit *box() const;
};
