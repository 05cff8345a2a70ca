// Helpers shared by the Qt Test executables.
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;
class TAboutBox;
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
// Empties `folder`, then fills it: each name maps to the test font copied there (as for
// fontPath()), to "" for a small text file or to "/" for a sub-folder. False when one failed.
bool MakeFolder(const QString &folder, const QMap<QString, QString> &entries);

// Copies a test font (as for fontPath()) to a file named by raw bytes, such as a name that is
// not valid UTF-8, which Qt cannot make.
bool CopyToRawName(const QString &font, const QByteArray &target);

// Every entry of a folder whose name does not start with ".", whatever it is and however it is
// named (QDir passes over names that are not valid UTF-8), as platform::DecodeName gives it.
QStringList VisibleEntries(const QString &folder);

// Makes a logging script the desktop's handler for folders (through XDG_DATA_HOME and
// XDG_CONFIG_HOME), so that xdg-open appends each folder it is asked to open to `logPath`.
void InstallFolderOpenerLog(const QString &logPath);
// Closes the main window, as the user would (which ends its preview), then deletes it.
struct CloseMainWindow
{
    void operator()(TForm1 *form) const;
};
using MainWindow = std::unique_ptr<TForm1, CloseMainWindow>;
// A main window made with `startupNames` as the start-up font list, shown and active;
// empty when it could not be activated.
MainWindow OpenMainWindow(const QStringList &startupNames);

// Drags `urls` onto `target` and drops them there, with made-up events; whether the drag was accepted.
bool SendDrop(QWidget *target, const QList<QUrl> &urls);

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

// Opens the About box with OpenAboutBox() from within the application's event loop, as the
// main window does, and calls `whileOpen` every 5 ms while the box is open and `whilePulsing`
// while its symbol pulses, with the time since opening. A watchdog stops the pulsing after
// 15 s so that a failing test cannot hang.
struct AboutBoxOpening
{
    std::function<void(TAboutBox *, qint64)> whileOpen;
    std::function<void(TAboutBox *, qint64)> whilePulsing;
    QElapsedTimer clock;
    QPointer<TAboutBox> box;
    qint64 closedAt = -1;

    // One pulse step is about 80 ms; the rest is room for a loaded machine.
    bool closesInOneStep(qint64 t) const { return t >= 0 && t <= closedAt && closedAt - t <= 200; }
    void run();
};

} // namespace testsupport
