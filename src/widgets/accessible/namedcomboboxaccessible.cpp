#include "widgets/accessible/namedcomboboxaccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace {
// The text last announced for a box, kept on the box.
constexpr const char *AnnouncedTextProperty = "announcedText";
} // namespace

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

void NamedComboBoxAccessible::announceShownText(QComboBox *box)
{
    const QString shown = shownTextOf(box);
    if (box->property(AnnouncedTextProperty).toString() == shown)
        return;
    box->setProperty(AnnouncedTextProperty, shown);
    // Only an insertion: the removal of the old text, which was selected, would be heard as
    // "selection deleted".
    if (shown.isEmpty() || !QAccessible::isActive())
        return;
    QAccessibleTextInsertEvent inserted(box, 0, shown);
    QAccessible::updateAccessibility(&inserted);
}

QComboBox *NamedComboBoxAccessible::box() const
{
    return static_cast<QComboBox *>(widget());
}

QString NamedComboBoxAccessible::shownTextOf(const QComboBox *box)
{
    return box->currentIndex() >= 0 ? box->currentText() : box->placeholderText();
}

QString NamedComboBoxAccessible::shownText() const
{
    return shownTextOf(box());
}

void *NamedComboBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString NamedComboBoxAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return box()->accessibleName().isEmpty() ? box()->currentText() : box()->accessibleName();
    case QAccessible::Value:
        return shownText();
    default:
        return QAccessibleWidget::text(t);
    }
}

// A closed list is not on screen: its items would claim to be shown, its current one focused.
bool NamedComboBoxAccessible::listShown() const
{
    return box()->view()->isVisible();
}

int NamedComboBoxAccessible::childCount() const
{
    return listShown() ? 1 : 0;
}

QAccessibleInterface *NamedComboBoxAccessible::child(int index) const
{
    return index == 0 && listShown() ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
}

int NamedComboBoxAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child->object() == box()->view() && listShown() ? 0 : -1;
}

void NamedComboBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const bool whole = selectionIndex == 0 && selectionCount() == 1;
    *startOffset = 0;
    *endOffset = whole ? characterCount() : 0;
}

int NamedComboBoxAccessible::selectionCount() const
{
    return shownText().isEmpty() ? 0 : 1;
}

QString NamedComboBoxAccessible::text(int startOffset, int endOffset) const
{
    const QString shown = shownText();
    const int start = qBound(0, startOffset, int(shown.size()));
    const int end = endOffset < 0 ? int(shown.size()) : qBound(start, endOffset, int(shown.size()));
    return shown.mid(start, end - start);
}

int NamedComboBoxAccessible::characterCount() const
{
    return int(shownText().size());
}

QString NamedComboBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return QString();
}
