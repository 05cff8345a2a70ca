// The primary display's metrics.
#pragma once

#include <QRect>

namespace platform {

// The primary screen's area in device-independent pixels; empty when there is no screen.
QRect primaryScreenGeometry();

// Height of the primary screen in device-independent pixels; 0 when there is no screen.
int primaryScreenHeight();

// Whether the window system lets a program place its own windows. A Wayland compositor does
// not: it places them itself, and a program's moves change nothing there.
bool programPlacesWindows();

} // namespace platform
