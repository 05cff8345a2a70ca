// The program's drop-down lists as screen readers see them: named by what they are for ("Font",
// "Drive"), with the text they show (the selected item, or the text shown with nothing
// selected) as their value and as a read-only text, selected as a whole like the text of a
// box whose item was just picked. The dropped list is their child while it is shown.
// (On Linux Qt names a combo box by its current text and expects a label beside it.)
#pragma once

#include <QAccessibleWidget>

class QComboBox;

class NamedComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit NamedComboBoxAccessible(QComboBox *box);

    // For QAccessible::installFactory: the interface of TComboBox and TDriveComboBox.
    static QAccessibleInterface *factory(const QString &className, QObject *object);
    // Tells screen readers that `box` shows another text, as a text inserted in place of the
    // old one; a reader speaks it while the box has the focus. Nothing is sent while the text
    // stays the same, nor for an empty text.
    static void announceShownText(QComboBox *box);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    // The shown text, read-only; its one selection is the whole text.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    static QString shownTextOf(const QComboBox *box);
    QComboBox *box() const;
    QString shownText() const;
    bool listShown() const;
};
