#include "initialise.h"

#include "interfacefonts.h"

#include <QtGlobal>

void initialiseApplication(platform::FontTable &fonts)
{
    // The forms live in a static library, whose resources are not registered on their own.
    Q_INIT_RESOURCE(tavoret);
    Q_INIT_RESOURCE(about);
    platform::keepInterfaceFontsInstalled(fonts);
}
