// Signals that would end the process: ending cleanly when the session or a user asks it to
// stop (SIGTERM, SIGINT, SIGHUP), and not at all when a write passes the file-size limit.
#pragma once

#include <functional>

namespace platform {

// Runs `onTermination` in the event loop when one of those signals arrives, instead of
// letting the signal end the process on the spot. A signal that the process inherited as
// ignored (nohup) stays ignored. Call once, after the application object exists.
void handleTerminationSignals(std::function<void()> onTermination);

// Past the file-size limit (ulimit -f) a write then fails with EFBIG, which the caller reports,
// instead of SIGXFSZ ending the process. Call at start.
void ignoreFileSizeSignal();

} // namespace platform
