// A pick-only drop-down list of names with a sorting switch: while sorting is on, a name added
// takes its alphabetical place (letter case ignored); while it is off, names are appended.
// With nothing selected it can show a text that is not one of its items. Screen readers are
// told of every change of the text it shows.
#pragma once

#include <QComboBox>
#include <QElapsedTimer>

class QStringListModel;

class TComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(bool Sorted READ Sorted WRITE setSorted)

public:
    // The height of a row of the dropped list, in pixels.
    static constexpr int ItemHeight = 16;

    explicit TComboBox(QWidget *parent = nullptr);

    bool Sorted() const { return m_sorted; }
    // Changing the switch rebuilds the list in place (re-ordered when sorting goes on) and
    // clears the selection; setting the value it has does nothing.
    void setSorted(bool sorted);

    // Clears the list and adds the names, each at its place (equal names are kept, each as an
    // item of its own), with redrawing suspended until the end. The list is replaced in one
    // step, so filling takes no time per item that grows with the number of items.
    void fill(const QStringList &names);
    // The names in the order a sorted box holds them: alphabetical without regard to letter
    // case, equal names in their given order.
    static QStringList sortedNames(const QStringList &names);
    QStringList Items() const;

    // The selected item's name; empty when nothing is selected.
    QString Text() const;
    // What the box shows: the selected name, or the text shown with nothing selected.
    QString shownText() const;
    // Shows `text` with nothing selected.
    void setText(const QString &text);
    int ItemIndex() const { return currentIndex(); }
    // Selects by program: raises neither Click nor Change.
    void setItemIndex(int index);

signals:
    // The user picked an item (mouse or keyboard); Change follows right after.
    void Click();
    void Change();

protected:
    // Keys typed into the closed box search its items, as the list does; a space is part of
    // that search while one is under way (a family's name has spaces), else it opens the list.
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void onActivated();
    void showText(const QString &text);
    QElapsedTimer m_lastSearchKey; // the last key that went to the search
    bool m_sorted = true;
    QStringListModel *m_model;
};
