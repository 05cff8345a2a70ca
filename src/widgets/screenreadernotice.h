// A short message for screen readers, spoken wherever the keyboard focus is, without moving
// it: a notification that appears on the accessibility bus only when it is announced. It is
// no control on screen, and no control lists it as a child.
#pragma once

#include "widgets/accessible/childlessaccessible.h"

#include <QPointer>
#include <QWidget>

class ScreenReaderNotice : public ChildlessAccessible
{
public:
    // A notice of `window`, which lives as long as the window.
    static ScreenReaderNotice *create(QWidget *window);

    // Screen readers speak `text` once the events under way are handled.
    void announce(const QString &text);

    bool isValid() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override { return QRect(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override;

private:
    explicit ScreenReaderNotice(QWidget *window);

    QPointer<QWidget> m_window;
    QString m_text;
};
