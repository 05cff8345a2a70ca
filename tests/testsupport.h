// Helpers shared by the Qt Test executables.
#pragma once

#include <QString>

namespace testsupport {

// Folder of the project's test fonts (tests/fonts), as CTest passes it in TAVORET_TEST_FONTS.
QString fontsDir();
// Full path of a test font below that folder, e.g. fontPath("files/TavoretAlpha.ttf").
QString fontPath(const QString &relative);
// This test's own scratch folder (TAVORET_TEST_HOME); XDG_DATA_HOME etc. point below it.
QString homeDir();
// Empties a folder (created when missing) so a test starts from a known state.
void resetDir(const QString &path);

} // namespace testsupport
