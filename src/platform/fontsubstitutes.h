// The form's classic bitmap faces are not found on Linux; map them to metric-compatible ones.
#pragma once

namespace platform {

// Registers the substitutes with Qt; calling it again does nothing more.
void InstallFontSubstitutes();

} // namespace platform
