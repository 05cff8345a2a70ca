// Fonts for the program's own controls, named by families that are installed.
//
// The forms name classic faces ("MS Sans Serif", "Times New Roman") that are rarely installed
// here, and the desktop's default may be an alias such as "Sans Serif". Qt resolves a family it
// does not have by trying every fallback against every installed family, which takes seconds
// on a machine with thousands of fonts; a family it has is found at once. So every name is
// resolved once, through fontconfig, to a family Qt has, before Qt ever draws with it.
#pragma once

#include <QString>

namespace platform {
class FontTable;
}

namespace interfacefonts {

// Whether Qt's font database has `family` (letter case ignored) and, once a font table was
// handed to keepInterfaceFontsInstalled, a font carries it.
bool qtHasFamily(const QString &family);
// A family Qt has that stands for `family`: the name itself when Qt has it, else the first
// installed of its metric-compatible substitutes, else fontconfig's choice for it.
QString installedFamily(const QString &family);
// From now on, gives the application's default font and every widget font that names a family
// Qt does not have the installed family that stands for it, as the font is set and before the
// widget uses it. Widgets that show a named face themselves (the chart, the picked-character
// box, the symbol label; property "showsNamedFace") get their fonts as they are. Call before
// widgets are made. The filter lives as long as the application and keeps what it needs of
// `fonts` (which families fontconfig has) for as long; a later call hands it a newer table.
void keepInterfaceFontsInstalled(platform::FontTable &fonts);

} // namespace interfacefonts
