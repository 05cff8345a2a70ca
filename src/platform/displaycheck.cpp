#include "displaycheck.h"

#include <QByteArray>
#include <QStringList>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>

namespace platform {

namespace {

bool waylandSocketAnswers(bool namedExplicitly)
{
    QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty()) {
        if (!namedExplicitly)
            return false;
        name = "wayland-0"; // the Wayland client library's own default
    }
    if (!name.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        name = runtime + '/' + name;
    }
    sockaddr_un address{};
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

} // namespace

DisplayCheck::DisplayCheck(const QString &platformName, const QString &x11Display)
{
    // Qt takes a list of platforms to try in turn; each may carry ":options".
    const QStringList entries = platformName.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (entries.isEmpty()) {
        m_canOpen = x11DisplayAnswers(x11Display) || waylandSocketAnswers(false);
        return;
    }
    for (const QString &entry : entries) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        if (name == QLatin1String("xcb"))
            m_canOpen = x11DisplayAnswers(x11Display);
        else if (name.startsWith(QLatin1String("wayland")))
            m_canOpen = waylandSocketAnswers(true);
        else
            m_canOpen = true;
        if (m_canOpen)
            return;
    }
}

DisplayCheck::~DisplayCheck()
{
    release();
}

void DisplayCheck::release()
{
    if (m_x11)
        xcb_disconnect(m_x11);
    m_x11 = nullptr;
}

bool DisplayCheck::x11DisplayAnswers(const QString &display)
{
    const QByteArray name = display.isEmpty() ? qgetenv("DISPLAY") : display.toLocal8Bit();
    if (name.isEmpty())
        return false;
    // A real connection, with authorisation, as Qt's X11 platform will make it.
    xcb_connection_t *connection = xcb_connect(name.constData(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    m_x11 = connection;
    return true;
}

} // namespace platform
