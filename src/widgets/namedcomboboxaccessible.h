// The program's drop-down lists as screen readers see them: named by what they are for ("Font",
// "Drive") rather than by the item they show, which is their value; the dropped list is their
// child. (On Linux Qt names a combo box by its current text and expects a label beside it.)
#pragma once

#include <QAccessibleWidget>

class QComboBox;

class NamedComboBoxAccessible : public QAccessibleWidget
{
public:
    explicit NamedComboBoxAccessible(QComboBox *box);

    // For QAccessible::installFactory: the interface of TComboBox and TDriveComboBox.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QComboBox *box() const;
};
