// The primary display's metrics.
#pragma once

#include <QRect>

namespace platform {

// The primary screen's area in device-independent pixels; empty when there is no screen.
QRect primaryScreenGeometry();

// Height of the primary screen in device-independent pixels; 0 when there is no screen.
int primaryScreenHeight();

} // namespace platform
