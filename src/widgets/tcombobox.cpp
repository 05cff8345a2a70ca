#include "tcombobox.h"

#include <QAbstractItemView>

TComboBox::TComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    setMaxVisibleItems(8);
    // A plain list below the box, so that at most eight rows drop down.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, &TComboBox::OnActivated);
}

void TComboBox::OnActivated()
{
    emit Click();
    emit Change();
}

void TComboBox::setSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    Fill(Items());
}

void TComboBox::AddItem(const QString &name)
{
    if (!m_sorted) {
        addItem(name);
        return;
    }
    // After every item that does not sort behind the new one: equal names keep their order.
    int lo = 0, hi = count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (QString::compare(itemText(mid), name, Qt::CaseInsensitive) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    insertItem(lo, name);
}

void TComboBox::Clear()
{
    setPlaceholderText(QString());
    clear();
}

void TComboBox::Fill(const QStringList &names)
{
    const bool wasEnabled = updatesEnabled();
    setUpdatesEnabled(false);
    blockSignals(true); // filling is not a selection change
    Clear();
    for (const QString &name : names)
        AddItem(name);
    setCurrentIndex(-1);
    blockSignals(false);
    setUpdatesEnabled(wasEnabled);
    update();
}

QStringList TComboBox::Items() const
{
    QStringList names;
    names.reserve(count());
    for (int i = 0; i < count(); ++i)
        names << itemText(i);
    return names;
}

QString TComboBox::Text() const
{
    return currentIndex() >= 0 ? currentText() : QString();
}

QString TComboBox::ShownText() const
{
    return currentIndex() >= 0 ? currentText() : placeholderText();
}

void TComboBox::setText(const QString &text)
{
    setCurrentIndex(-1);
    setPlaceholderText(text);
}

void TComboBox::setItemIndex(int index)
{
    setCurrentIndex(index);
}
