#include "testsupport.h"
#include "aboutanimation.h"
#include "platform/facereader.h"
#include "platform/filenames.h"
#include "platform/fonttable.h"
#include "initialise.h"
#include "tsymbollabel.h"
#include "unit1.h"
#include "unit2.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QtGlobal>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Font files are read by the program's own worker, as in the program.
void useTheProgramsFaceReader()
{
    platform::FaceReader::setWorkerProgram(QStringLiteral(TAVORET_APP));
}
Q_COREAPP_STARTUP_FUNCTION(useTheProgramsFaceReader)
} // namespace

namespace testsupport {

QString fontsDir()
{
    return qEnvironmentVariable("TAVORET_TEST_FONTS");
}

QString fontPath(const QString &relative)
{
    return fontsDir() + QLatin1Char('/') + relative;
}

namespace {
// The tests' scratch root, as CMake names it: a folder of its own below the build folder.
constexpr const char *ScratchRoot = TAVORET_SCRATCH_ROOT;

// Ends the test at once, with one line on standard error, before it can touch anything.
[[noreturn]] void refuse(const QByteArray &why)
{
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, why.constData());
    std::fflush(stderr);
    std::_Exit(2);
}

// `path` as the system reaches it: the part that exists with every link resolved, the missing
// rest as written. Empty for a relative path, a dangling link or ".." below a missing folder.
QByteArray resolvedPath(const QByteArray &path)
{
    if (!path.startsWith('/'))
        return QByteArray();
    QByteArray resolved = "/";
    bool missing = false;
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        const QByteArray next = resolved + (resolved.endsWith('/') ? "" : "/") + part;
        struct stat info;
        if (!missing && ::lstat(next.constData(), &info) != 0)
            missing = true;
        if (missing) {
            if (part == "..")
                return QByteArray();
            resolved = next;
            continue;
        }
        char canonical[PATH_MAX];
        if (!::realpath(next.constData(), canonical))
            return QByteArray();
        resolved = canonical;
    }
    return resolved;
}

// The scratch root with its links resolved; the test refuses to start where it is not a folder.
const QByteArray &scratchRoot()
{
    static const QByteArray root = [] {
        struct stat info;
        const QByteArray resolved = resolvedPath(ScratchRoot);
        if (::lstat(ScratchRoot, &info) != 0 || !S_ISDIR(info.st_mode) || resolved.size() <= 1)
            refuse(QByteArray("refusing to start: the scratch root ") + ScratchRoot
                   + " is not a folder; configure the build again");
        return resolved;
    }();
    return root;
}

bool isBelowScratchRoot(const QByteArray &resolved)
{
    return resolved.startsWith(scratchRoot() + '/') && resolved.size() > scratchRoot().size() + 1;
}

// Runs before anything else in the test, static objects included.
[[gnu::constructor(101)]] void refuseToStartOutsideTheScratchRoot()
{
    for (const char *name : {"TAVORET_TEST_HOME", "HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const char *value = std::getenv(name);
        if (!value || !*value)
            refuse(QByteArray("refusing to start: ") + name + " is not set; run the tests through ctest");
        const QByteArray resolved = resolvedPath(value);
        if (!isBelowScratchRoot(resolved))
            refuse(QByteArray("refusing to start: ") + name + "=" + value
                   + (resolved != value ? " (" + (resolved.isEmpty() ? "unresolvable" : resolved) + ")" : "")
                   + " is not below the scratch root " + scratchRoot() + "; run the tests through ctest");
    }
    // Every run starts from an empty home: what a run before left there (the links and locks of
    // a run that was killed, say) would otherwise decide this one. The runtime folder (and the one
    // holding it) stays: the compositor or accessibility bus started before the test keeps its
    // sockets there.
    const QByteArray home = std::getenv("TAVORET_TEST_HOME");
    const QByteArray runtime = QFile::encodeName(QDir::cleanPath(QFile::decodeName(std::getenv("XDG_RUNTIME_DIR"))));
    if (DIR *dir = ::opendir(home.constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name = entry->d_name;
            const QByteArray path = QFile::encodeName(QDir::cleanPath(QFile::decodeName(home + '/' + name)));
            if (name != "." && name != ".." && path != runtime && !runtime.startsWith(path + '/'))
                removePath(QFile::decodeName(path));
        }
        ::closedir(dir);
    }
    QDir().mkpath(QFile::decodeName(home));
    // Qt takes the runtime folder only when it is private.
    QDir().mkpath(QFile::decodeName(runtime));
    QFile::setPermissions(QFile::decodeName(runtime), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

QString homeDir()
{
    return QDir::cleanPath(qEnvironmentVariable("TAVORET_TEST_HOME"));
}

bool removePath(const QString &path)
{
    // The folder holding it is resolved; the last name is removed as it is, a link included.
    const QByteArray clean = QFile::encodeName(QDir::cleanPath(path));
    const qsizetype slash = clean.lastIndexOf('/');
    const QByteArray name = clean.mid(slash + 1);
    const QByteArray folder = slash < 0 ? QByteArray() : resolvedPath(slash == 0 ? "/" : clean.left(slash));
    const QByteArray target = folder + (folder.endsWith('/') ? "" : "/") + name;
    if (folder.isEmpty() || name.isEmpty() || name == ".." || !isBelowScratchRoot(target))
        refuse("refusing to remove " + clean + ": it is not below the scratch root " + scratchRoot());
    struct stat info;
    if (::lstat(target.constData(), &info) != 0)
        return errno == ENOENT;
    // nftw rather than QDir::removeRecursively(), which passes over names that are not valid
    // UTF-8 and follows links to folders. Links are removed, never followed, and no other
    // file system mounted below is entered.
    ::nftw(target.constData(),
           [](const char *entry, const struct stat *, int, struct FTW *) { ::remove(entry); return 0; },
           16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
    return ::lstat(target.constData(), &info) != 0;
}

void resetDir(const QString &path)
{
    removePath(path);
    QDir().mkpath(path);
}

namespace {
bool WriteFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}
} // namespace

bool MakeFolder(const QString &folder, const QMap<QString, QString> &entries)
{
    resetDir(folder);
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const QString path = folder + QLatin1Char('/') + it.key();
        const bool made = it.value().isEmpty()            ? WriteFile(path, "not a font\n")
                          : it.value() == QLatin1String("/") ? QDir().mkpath(path)
                                                             : QFile::copy(fontPath(it.value()), path);
        if (!made)
            return false;
    }
    return true;
}

bool CopyToRawName(const QString &font, const QByteArray &target)
{
    QFile in(fontPath(font));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = in.readAll();
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, data.constData(), size_t(data.size())) == data.size();
    return ::close(fd) == 0 && written;
}

QStringList VisibleEntries(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    while (const dirent *entry = dir ? ::readdir(dir) : nullptr) {
        if (entry->d_name[0] != '.')
            names << platform::decodeName(entry->d_name);
    }
    if (dir)
        ::closedir(dir);
    return names;
}

bool SendDrop(QWidget *target, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    return SendDrop(target, data);
}

bool SendDrop(QWidget *target, const QMimeData &data)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted();
}

void InstallFolderOpenerLog(const QString &logPath)
{
    const QString script = homeDir() + QStringLiteral("/folder-opener.sh");
    WriteFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + logPath.toUtf8() + "'; done\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString apps = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir().mkpath(apps);
    WriteFile(apps + QStringLiteral("/tavoret-test-opener.desktop"),
              "[Desktop Entry]\nType=Application\nName=Opener\nExec=" + script.toUtf8()
                  + " %f\nMimeType=inode/directory;\n");
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list"),
              "[Default Applications]\ninode/directory=tavoret-test-opener.desktop\n");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("DISPLAY", ":0"); // xdg-open looks for a desktop session; the handler needs none
}

namespace {
MessageBoxSeen *g_answeredBoxes = nullptr;

// Answers the message boxes a test expects; any other box fails the test and is closed, where
// it would otherwise wait for a user until CTest ends the test.
void watchMessageBoxes()
{
    static QTimer *watcher = nullptr;
    if (watcher)
        return;
    watcher = new QTimer(qApp);
    QObject::connect(watcher, &QTimer::timeout, watcher, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (!g_answeredBoxes) {
            const QByteArray what = "unexpected message box \"" + box->windowTitle().toUtf8() + "\": " + box->text().toUtf8();
            box->reject();
            QTest::qFail(what.constData(), __FILE__, __LINE__);
            return;
        }
        g_answeredBoxes->caption = box->windowTitle();
        g_answeredBoxes->text = box->text();
        ++g_answeredBoxes->count;
        box->accept();
    });
    watcher->start(10);
}
} // namespace

MainWindow::MainWindow() = default;
MainWindow::MainWindow(MainWindow &&other) noexcept = default;

MainWindow::~MainWindow()
{
    reset();
}

MainWindow &MainWindow::operator=(MainWindow &&other) noexcept
{
    reset();
    m_fonts = std::move(other.m_fonts);
    m_form = std::move(other.m_form);
    return *this;
}

void MainWindow::reset()
{
    if (m_form)
        m_form->close();
    m_form.reset();
    m_fonts.reset();
}

MainWindow MainWindow::open(const QStringList *startupNames)
{
    MainWindow window;
    watchMessageBoxes();
    window.m_fonts = std::make_unique<platform::FontTable>();
    initialiseApplication(*window.m_fonts);
    const QStringList names = startupNames ? *startupNames : window.m_fonts->ReadInstalledFontNames();
    window.m_form = std::make_unique<TForm1>(*window.m_fonts, names);
    // A loaded machine may take longer than the window waits for a file's faces; the tests
    // read the outcome right after a preview unless they test a slow file.
    window->preview().setAnswerWithin(platform::FaceReader::TimeLimitMs);
    window->move(0, 0);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        window.reset();
    return window;
}

MainWindow OpenMainWindow(const QStringList &startupNames)
{
    return MainWindow::open(&startupNames);
}

MainWindow OpenMainWindow()
{
    return MainWindow::open(nullptr);
}

bool noChildProcessRuns()
{
    // Each thread lists the processes it started, until they are reaped. The font table's
    // worker, kept ready for the table's whole life, does not count.
    const QStringList threads = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &thread : threads) {
        QFile children(QStringLiteral("/proc/self/task/%1/children").arg(thread));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> pids = children.readAll().simplified().split(' ');
        for (const QByteArray &pid : pids) {
            QFile command("/proc/" + pid + "/cmdline");
            if (!pid.isEmpty() && !(command.open(QIODevice::ReadOnly)
                                    && command.readAll().contains(platform::FaceReader::WorkerArgument)))
                return false;
        }
    }
    return true;
}

QStringList ReadLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void AnswerMessageBoxes(MessageBoxSeen *seen)
{
    g_answeredBoxes = seen;
    watchMessageBoxes();
}

namespace {
// Counts the sizes the About box's symbol takes: every pulse step sets its font.
class PulseStepCounter : public QObject
{
public:
    explicit PulseStepCounter(int *steps) : m_steps(steps) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FontChange)
            ++*m_steps;
        return false;
    }

private:
    int *m_steps;
};
} // namespace

void AboutBoxOpening::run()
{
    QElapsedTimer clock;
    QTimer ticker;
    PulseStepCounter counter(&pulseSteps);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (clock.elapsed() > Patience) {
            StopAnimation = 1;
        } else if (!box && AboutBox) {
            box = AboutBox;
            box->Label1->installEventFilter(&counter);
            QObject::connect(box, &QDialog::finished, [this] { closed = true; });
        } else if (box && !closed) {
            if (whileOpen)
                whileOpen(box);
            if (whilePulsing && box && box->Label1->font().pointSize() < about::PulseLargest)
                whilePulsing(box);
        }
    });
    clock.start();
    ticker.start(5);
    QTimer::singleShot(0, [] {
        openAboutBox(Form1);
        QCoreApplication::exit();
    });
    QCoreApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace testsupport
