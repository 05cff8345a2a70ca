// Handing things over to the desktop.
#pragma once

#include <QString>

namespace platform {

// Opens a folder in the user's file manager through xdg-open, without waiting for it. The path
// is passed as one argument, never through a shell. False when the opener could not be started.
bool OpenFolder(const QString &path);

} // namespace platform
