#include "screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

QRect PrimaryScreenGeometry()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

int PrimaryScreenHeight()
{
    return PrimaryScreenGeometry().height();
}

} // namespace platform
