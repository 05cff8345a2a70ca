#include "screenreadernotice.h"

ScreenReaderNotice::ScreenReaderNotice(QWidget *window) : m_window(window)
{
}

ScreenReaderNotice *ScreenReaderNotice::create(QWidget *window)
{
    auto *notice = new ScreenReaderNotice(window);
    // The accessibility cache owns the notice; it is deleted when its window is.
    const QAccessible::Id id = QAccessible::registerAccessibleInterface(notice);
    QObject::connect(window, &QObject::destroyed, [id] { QAccessible::deleteAccessibleInterface(id); });
    return notice;
}

// The notice goes out after the events of the step that led to it, so that a reader speaks it
// after them (after the file list's new entry, say). Screen readers speak a notification that
// shows itself.
void ScreenReaderNotice::announce(const QString &text)
{
    QMetaObject::invokeMethod(m_window, [this, text] {
        m_text = text;
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }, Qt::QueuedConnection);
}

bool ScreenReaderNotice::isValid() const
{
    return !m_window.isNull();
}

QWindow *ScreenReaderNotice::window() const
{
    return m_window ? m_window->windowHandle() : nullptr;
}

QAccessibleInterface *ScreenReaderNotice::parent() const
{
    return m_window ? QAccessible::queryAccessibleInterface(m_window.data()) : nullptr;
}

QString ScreenReaderNotice::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? m_text : QString();
}

// Nothing of it is on screen.
QAccessible::State ScreenReaderNotice::state() const
{
    QAccessible::State state;
    state.invisible = true;
    return state;
}
