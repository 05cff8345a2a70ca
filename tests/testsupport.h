// Helpers shared by the Qt Test executables.
#pragma once

#include <QList>
#include <QPointer>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class QMimeData;
class QWidget;
class TAboutBox;
class TForm1;
namespace platform {
class FontTable;
}

namespace testsupport {

// Folder of the project's test fonts (tests/fonts), as CTest passes it in TAVORET_TEST_FONTS.
QString fontsDir();
// Full path of a test font below that folder, e.g. fontPath("files/TavoretAlpha.ttf").
QString fontPath(const QString &relative);
// How long a test waits at most for something that comes at once on an idle machine: the
// ceiling of every wait for an event, generous for a machine whose cores are all busy.
constexpr int Patience = 30000;

// Every test runs in a scratch folder of its own below the build folder's scratch root, and
// refuses to start (one line on standard error, exit code 2) unless TAVORET_TEST_HOME, HOME,
// XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR all lie below that root
// (with every link resolved): CTest sets them so, a run by hand from a shell does not.

// This test's own scratch folder (TAVORET_TEST_HOME), also its HOME; XDG_DATA_HOME is its .local/share.
QString homeDir();
// Removes a file, a link (never what it leads to) or a folder with everything below it; every
// removal the tests make goes through here. Ends the test when `path` is not below the scratch
// root once the links leading to it are resolved. Whether nothing is left under that name.
bool removePath(const QString &path);
// Empties a folder (created when missing) so a test starts from a known state.
void resetDir(const QString &path);
// Empties `folder`, then fills it: each name maps to the test font copied there (as for
// fontPath()), to "" for a small text file or to "/" for a sub-folder. False when one failed.
bool MakeFolder(const QString &folder, const QMap<QString, QString> &entries);

// Copies a test font (as for fontPath()) to a file named by raw bytes, such as a name that is
// not valid UTF-8, which Qt cannot make.
bool CopyToRawName(const QString &font, const QByteArray &target);

// Every entry of a folder whose name does not start with ".", whatever it is and however it is
// named (QDir passes over names that are not valid UTF-8), as platform::decodeName gives it.
QStringList VisibleEntries(const QString &folder);

// Makes a logging script the desktop's handler for folders (through XDG_DATA_HOME and
// XDG_CONFIG_HOME), so that xdg-open appends each folder it is asked to open to `logPath`.
void InstallFolderOpenerLog(const QString &logPath);
// A main window with a font table of its own, as the program makes them. Resetting it, or
// destroying it, closes the window as the user would (which ends its preview), deletes it,
// then its table.
class MainWindow
{
public:
    MainWindow();
    MainWindow(MainWindow &&other) noexcept;
    MainWindow &operator=(MainWindow &&other) noexcept;
    ~MainWindow();

    TForm1 *get() const { return m_form.get(); }
    TForm1 *operator->() const { return m_form.get(); }
    explicit operator bool() const { return bool(m_form); }
    platform::FontTable &fonts() const { return *m_fonts; }
    void reset();

    // A new table, and a window with `startupNames` as its start-up list, or with what the
    // table lists when there are none.
    static MainWindow open(const QStringList *startupNames);

private:
    std::unique_ptr<platform::FontTable> m_fonts;
    std::unique_ptr<TForm1> m_form;
};
// A main window made with `startupNames` as the start-up font list, shown and active;
// empty when it could not be activated.
MainWindow OpenMainWindow(const QStringList &startupNames);
// The same with the installed fonts as the start-up list, as the program starts.
MainWindow OpenMainWindow();

// Drags `urls` onto `target` and drops them there, with made-up events; whether the drag was accepted.
bool SendDrop(QWidget *target, const QList<QUrl> &urls);
// The same with any data.
bool SendDrop(QWidget *target, const QMimeData &data);

// Whether every process this test started has ended and been reaped: what an ended opener
// or helper wrote is written by then.
bool noChildProcessRuns();

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

// Opens the About box with openAboutBox() from within the application's event loop, as the
// main window does, and calls `whileOpen` every 5 ms while the box is open and `whilePulsing`
// while its symbol pulses. A watchdog stops the pulsing after Patience so that a failing test
// cannot hang.
struct AboutBoxOpening
{
    std::function<void(TAboutBox *)> whileOpen;
    std::function<void(TAboutBox *)> whilePulsing;
    QPointer<TAboutBox> box;
    int pulseSteps = 0; // the sizes the symbol has taken since the box opened
    bool closed = false;

    // The box closed before the symbol took more than one size after the first `steps`.
    bool closesWithinOneStep(int steps) const { return closed && steps >= 0 && pulseSteps - steps <= 1; }
    void run();
};

} // namespace testsupport
