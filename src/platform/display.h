// Whether a window system is there to show windows on, asked before Qt tries (and aborts).
#pragma once

#include <QString>

namespace platform {

// Whether Qt's platform `platformName` (as given by -platform or QT_QPA_PLATFORM; empty for
// Qt's default) can open a display. The X11 and Wayland platforms, and the default, need a
// server that answers: the X display `x11Display` (DISPLAY when empty) or the Wayland socket
// of WAYLAND_DISPLAY. Any other platform (offscreen, vnc, ...) is taken to need none.
bool CanOpenDisplay(const QString &platformName, const QString &x11Display);

} // namespace platform
