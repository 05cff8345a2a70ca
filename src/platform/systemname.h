// The name of the system the program runs on, as the About box gives it.
#pragma once

#include <QString>

namespace platform {

// "Linux": this platform layer is the one for Linux desktops.
QString systemName();

} // namespace platform
