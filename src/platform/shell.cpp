#include "shell.h"

#include <QProcess>

namespace platform {

bool OpenFolder(const QString &path)
{
    // xdg-open picks the desktop's own file manager (its inode/directory handler).
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

} // namespace platform
