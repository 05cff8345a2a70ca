// What the application needs before its first window: the resources of the static library
// and fonts for its controls that are installed.
#pragma once

namespace platform {
class FontTable;
}

// Call once the application object exists; `fonts` must outlive the windows.
void initialiseApplication(platform::FontTable &fonts);
