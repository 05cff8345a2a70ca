// Which names count as font files: a name whose extension (splitName) is "TTF" in any letter
// case. The file list shows the same files through its mask "*.ttf", set in the form
// (resources/unit1.ui); dropped names and the command line's files are judged by this rule.
#pragma once

#include <QString>

namespace fontfiles {

// "TTF" in any letter case, and nothing else.
bool isTrueTypeExtension(const QString &extension);

// Splits a full name into its name part (after the last "/") and its extension (after the
// first "." of the name part; empty when the name part has none).
void splitName(const QString &name, QString *nameOnly, QString *extension);

} // namespace fontfiles
