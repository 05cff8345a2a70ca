#include "platform/frameextents.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {

namespace {
constexpr const char *FrameExtentsAtom = "_NET_FRAME_EXTENTS";

xcb_connection_t *x11Connection()
{
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    const auto *x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
} // namespace

FrameExtents::FrameExtents(const QWidget *window, std::function<void()> changed)
    : m_window(window), m_changed(std::move(changed))
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(FrameExtentsAtom)), FrameExtentsAtom);
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    if (!reply)
        return;
    m_atom = reply->atom;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

FrameExtents::~FrameExtents()
{
    if (m_atom && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

QMargins FrameExtents::qtFrame() const
{
    const QRect outer = m_window->frameGeometry(), inner = m_window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

QMargins FrameExtents::current() const
{
    const WId window = m_window->internalWinId();
    xcb_connection_t *connection = x11Connection();
    if (!m_atom || !window || !connection)
        return qtFrame();
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, xcb_window_t(window), m_atom, XCB_ATOM_CARDINAL, 0, 4);
    const std::unique_ptr<xcb_get_property_reply_t, FreeReply> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return qtFrame();
    // Left, right, top, bottom, in the X server's pixels.
    const auto *extents = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    const qreal ratio = m_window->devicePixelRatioF();
    auto scaled = [ratio](uint32_t pixels) { return qRound(pixels / ratio); };
    return QMargins(scaled(extents[0]), scaled(extents[2]), scaled(extents[1]), scaled(extents[3]));
}

bool FrameExtents::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
    const WId window = m_window->internalWinId();
    if (window && property->window == xcb_window_t(window) && property->atom == m_atom && m_changed)
        m_changed();
    return false;
}

} // namespace platform
