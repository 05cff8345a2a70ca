#include "screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

int PrimaryScreenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

} // namespace platform
