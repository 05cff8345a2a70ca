// Handing things over to the desktop.
#pragma once

#include <QString>

#include <functional>

class QObject;

namespace platform {

// Opens a folder in the user's file manager through xdg-open, without waiting for it. The path
// is passed as one argument, never through a shell. `onFailure` runs later, in the event loop,
// when the opener cannot be started or ends with an error (as it does where no program opens
// folders); the watch ends with `context`, while the opener goes on by itself.
void openFolder(const QString &path, QObject *context, std::function<void()> onFailure);

} // namespace platform
