// What the application needs before its first window: the resources of the static library,
// fonts for its controls that are installed, and the controls' interfaces for screen readers.
#pragma once

namespace platform {
class FontTable;
}

// Call once the application object exists; `fonts` must outlive the windows.
void initialiseApplication(platform::FontTable &fonts);
