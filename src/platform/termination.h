// Ending cleanly when the session or a user asks the process to stop (SIGTERM, SIGINT, SIGHUP).
#pragma once

#include <functional>

namespace platform {

// Runs `onTermination` in the event loop when one of those signals arrives, instead of
// letting the signal end the process on the spot. Call once, after the application object exists.
void HandleTerminationSignals(std::function<void()> onTermination);

} // namespace platform
