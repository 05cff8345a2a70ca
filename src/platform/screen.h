// The primary display's metrics.
#pragma once

namespace platform {

// Height of the primary screen in device-independent pixels; 0 when there is no screen.
int PrimaryScreenHeight();

} // namespace platform
