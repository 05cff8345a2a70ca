#include "fontsubstitutes.h"

#include <QFont>
#include <QStringList>

namespace platform {

void InstallFontSubstitutes()
{
    // Liberation's faces have the widths the layout was drawn for; DejaVu is the fallback.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Serif"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
}

} // namespace platform
