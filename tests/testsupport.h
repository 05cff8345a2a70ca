// Helpers shared by the Qt Test executables.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class TForm1;

namespace testsupport {

// Folder of the project's test fonts (tests/fonts), as CTest passes it in TAVORET_TEST_FONTS.
QString fontsDir();
// Full path of a test font below that folder, e.g. fontPath("files/TavoretAlpha.ttf").
QString fontPath(const QString &relative);
// This test's own scratch folder (TAVORET_TEST_HOME), also its HOME; XDG_DATA_HOME is its .local/share.
QString homeDir();
// Empties a folder (created when missing) so a test starts from a known state.
void resetDir(const QString &path);

// Makes a logging script the desktop's handler for folders (through XDG_DATA_HOME and
// XDG_CONFIG_HOME), so that xdg-open appends each folder it is asked to open to `logPath`.
void InstallFolderOpenerLog(const QString &logPath);
// A main window made with `startupNames` as the start-up font list, shown and active;
// empty when it could not be activated.
std::unique_ptr<TForm1> OpenMainWindow(const QStringList &startupNames);

// The lines of a text file; empty when it does not exist.
QStringList ReadLines(const QString &path);

// The next message box that opens is answered with OK; its caption and text are kept here.
struct MessageBoxSeen
{
    QString caption;
    QString text;
    int count = 0;
};
void AnswerMessageBoxes(MessageBoxSeen *seen);

} // namespace testsupport
