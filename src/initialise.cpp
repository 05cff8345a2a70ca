#include "initialise.h"

#include "interfacefonts.h"
#include "widgets/accessible/namedcomboboxaccessible.h"
#include "widgets/accessible/tlistboxaccessible.h"
#include "widgets/accessible/tspineditaccessible.h"
#include "widgets/accessible/tstringgridaccessible.h"

#include <QAccessible>
#include <QtGlobal>

void initialiseApplication(platform::FontTable &fonts)
{
    // The forms live in a static library, whose resources are not registered on their own.
    Q_INIT_RESOURCE(tavoret);
    Q_INIT_RESOURCE(about);
    interfacefonts::keepInterfaceFontsInstalled(fonts);
    // What screen readers learn of the controls Qt has no accessible interface for.
    QAccessible::installFactory(&TStringGridAccessible::factory);
    QAccessible::installFactory(&TSpinEditAccessible::factory);
    QAccessible::installFactory(&NamedComboBoxAccessible::factory);
    QAccessible::installFactory(&TListBoxAccessible::factory);
}
