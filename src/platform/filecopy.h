// Copying a file into a folder without ever overwriting what is there.
#pragma once

#include <QString>

namespace platform {

enum class CopyResult {
    Copied,       // the target now holds a complete copy of the source
    TargetExists, // a file of that name was there already and is untouched
    Failed,       // nothing was copied (no permission, source gone, disk full, ...)
};

// Copies `source` to `target` unless `target` exists. The data goes to a hidden temporary file
// in the target's folder first and is linked into place only if the target still does not
// exist, so a failed copy never leaves a partial file and a file that appears meanwhile wins.
CopyResult copyFileNoOverwrite(const QString &source, const QString &target);

} // namespace platform
