// What the installed fonts hold, as the system's font configuration read them last: the
// program's own controls ask it for the faces and substitutes of the families they name.
#pragma once

#include "platform/fontface.h"

#include <QString>

namespace platform {

class InstalledFaces
{
public:
    virtual ~InstalledFaces() = default;

    // The regular face of an installed family (any of a font's family names, spelt exactly);
    // invalid when no installed font has that name.
    virtual FontFace installedFace(const QString &family) const = 0;
    // The installed family the system draws a family name with, which need not be installed:
    // the name itself, else its aliases and defaults.
    virtual QString substituteFamily(const QString &family) = 0;
};

} // namespace platform
