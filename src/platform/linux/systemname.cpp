#include "platform/systemname.h"

namespace platform {

QString systemName()
{
    return QStringLiteral("Linux");
}

} // namespace platform
