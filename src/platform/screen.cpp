#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

QRect primaryScreenGeometry()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

int primaryScreenHeight()
{
    return primaryScreenGeometry().height();
}

bool programPlacesWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace platform
