#include "platform/displaycheck.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
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

// Whether Qt has its Wayland platform here (Debian's qt6-wayland): Qt looks for platforms in its
// own plugin folder and in the folders the environment adds.
bool qtWaylandPluginInstalled()
{
    QStringList folders{QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms")};
    const QStringList added = qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &folder : added)
        folders << folder + QStringLiteral("/platforms");
    folders << qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &folder : std::as_const(folders)) {
        if (!QDir(folder).entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

} // namespace

bool DisplayCheck::waylandAnswers(bool namedExplicitly)
{
    if (!waylandSocketAnswers(namedExplicitly))
        return false;
    m_waylandPluginMissing = !qtWaylandPluginInstalled();
    return !m_waylandPluginMissing;
}

QString DisplayCheck::whatIsMissing() const
{
    if (m_canOpen)
        return QString();
    return m_waylandPluginMissing ? QStringLiteral("cannot open a display: install qt6-wayland, or run under X11")
                                  : QStringLiteral("cannot open a display: set DISPLAY or WAYLAND_DISPLAY");
}

DisplayCheck::DisplayCheck(const QString &platformName, const QString &x11Display)
{
    // Qt takes a list of platforms to try in turn; each may carry ":options".
    const QStringList entries = platformName.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (entries.isEmpty()) {
        m_canOpen = x11DisplayAnswers(x11Display) || waylandAnswers(false);
        return;
    }
    for (const QString &entry : entries) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        if (name == QLatin1String("xcb"))
            m_canOpen = x11DisplayAnswers(x11Display);
        else if (name.startsWith(QLatin1String("wayland")))
            m_canOpen = waylandAnswers(true);
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
    if (m_connection)
        xcb_disconnect(static_cast<xcb_connection_t *>(m_connection));
    m_connection = nullptr;
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
    m_connection = connection;
    return true;
}

} // namespace platform
