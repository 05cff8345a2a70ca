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
namespace platform {
class FontTable;
}

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
