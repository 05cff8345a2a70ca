#include "tcombobox.h"

#include "widgets/accessible/namedcomboboxaccessible.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QStringListModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>
#include <utility>
#include <vector>

TComboBox::TComboBox(QWidget *parent)
    : QComboBox(parent)
    , m_model(new QStringListModel(this))
{
    setModel(m_model);
    setEditable(false);
    setMaxVisibleItems(8);
    // A plain list below the box, so that at most eight rows drop down, each 16 pixels high.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"
                                 "QComboBox QAbstractItemView::item { height: %1px; }").arg(ItemHeight));
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, &TComboBox::onActivated);
}

void TComboBox::onActivated()
{
    showText(QString());
    NamedComboBoxAccessible::announceShownText(this);
    emit Click();
    emit Change();
}

void TComboBox::keyPressEvent(QKeyEvent *event)
{
    const bool searching = m_lastSearchKey.isValid()
                           && m_lastSearchKey.elapsed() < QApplication::keyboardInputInterval();
    const QString text = event->text();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && searching) {
        // The list view goes on with the search it holds, as the box does for other keys.
        QAbstractItemView *list = view();
        list->setCurrentIndex(model()->index(currentIndex(), 0));
        list->keyboardSearch(text);
        m_lastSearchKey.start();
        const int found = list->currentIndex().row();
        if (found != currentIndex() && found >= 0) {
            setCurrentIndex(found);
            emit activated(found);
        }
        return;
    }
    const bool searchKey = !text.isEmpty() && text.front().isPrint() && event->key() != Qt::Key_Space
                           && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (searchKey)
        m_lastSearchKey.start();
    else
        m_lastSearchKey.invalidate();
    QComboBox::keyPressEvent(event);
}

void TComboBox::setSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    fill(Items());
}

QStringList TComboBox::sortedNames(const QStringList &names)
{
    // Compares case-folded keys, made once per name rather than at every comparison.
    std::vector<std::pair<QString, int>> keys;
    keys.reserve(size_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        keys.emplace_back(names[i].toCaseFolded(), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto &key : keys)
        sorted.append(names[key.second]);
    return sorted;
}

void TComboBox::fill(const QStringList &names)
{
    const bool wasEnabled = updatesEnabled();
    setUpdatesEnabled(false);
    blockSignals(true); // filling is not a selection change
    showText(QString());
    m_model->setStringList(m_sorted ? sortedNames(names) : names);
    setCurrentIndex(-1);
    blockSignals(false);
    setUpdatesEnabled(wasEnabled);
    update();
    NamedComboBoxAccessible::announceShownText(this);
}

QStringList TComboBox::Items() const
{
    return m_model->stringList();
}

QString TComboBox::Text() const
{
    return currentIndex() >= 0 ? currentText() : QString();
}

QString TComboBox::shownText() const
{
    return currentIndex() >= 0 ? currentText() : placeholderText();
}

void TComboBox::setText(const QString &text)
{
    setCurrentIndex(-1);
    showText(text);
    NamedComboBoxAccessible::announceShownText(this);
}

void TComboBox::showText(const QString &text)
{
    setPlaceholderText(text);
}

// Drawn as QComboBox draws itself, except that the text shown with nothing selected is drawn
// in the box's own text colour: it is the box's text, not a greyed hint.
void TComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // Qt greys the text shown with nothing selected as a hint; here it is the box's own text.
    for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::Text})
        option.palette.setBrush(role, palette().brush(role));
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        option.currentText = placeholderText();
    painter.setPen(palette().color(QPalette::Text)); // some styles draw the label with the pen
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TComboBox::setItemIndex(int index)
{
    if (index >= 0)
        showText(QString());
    setCurrentIndex(index);
    NamedComboBoxAccessible::announceShownText(this);
}
