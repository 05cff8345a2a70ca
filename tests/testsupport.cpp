#include "testsupport.h"
#include "aboutanimation.h"
#include "facereader.h"
#include "filenames.h"
#include "fonttable.h"
#include "initialise.h"
#include "tsymbollabel.h"
#include "unit1.h"
#include "unit2.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QtGlobal>

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
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

QString homeDir()
{
    // Tests empty and fill folders below this one; run outside CTest they would do it in "/".
    const QString home = qEnvironmentVariable("TAVORET_TEST_HOME");
    if (home.isEmpty() || QDir::isRelativePath(home) || QDir::cleanPath(home) == QLatin1String("/"))
        qFatal("TAVORET_TEST_HOME is not set to a scratch folder: run the tests through ctest");
    return QDir::cleanPath(home);
}

void resetDir(const QString &path)
{
    // Only ever below the test's own scratch folder.
    const QString clean = QDir::cleanPath(path);
    if (!clean.startsWith(homeDir() + QLatin1Char('/')) && clean != homeDir())
        qFatal("refusing to empty %s: it is not below the test's scratch folder", qPrintable(clean));
    // nftw rather than QDir::removeRecursively(), which passes over names that are not valid
    // UTF-8. Links are removed, never followed.
    ::nftw(QFile::encodeName(path).constData(),
           [](const char *entry, const struct stat *, int, struct FTW *) { ::remove(entry); return 0; },
           16, FTW_DEPTH | FTW_PHYS);
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
    window.m_fonts = std::make_unique<platform::FontTable>();
    initialiseApplication(*window.m_fonts);
    StartupFontNames = startupNames ? *startupNames : window.m_fonts->ReadInstalledFontNames();
    window.m_form = std::make_unique<TForm1>(*window.m_fonts);
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

QStringList ReadLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void AnswerMessageBoxes(MessageBoxSeen *seen)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [seen] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen->caption = box->windowTitle();
            seen->text = box->text();
            ++seen->count;
            box->accept();
        }
    });
    timer->start(10);
}

void AboutBoxOpening::run()
{
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [this] {
        if (clock.elapsed() > 15000) {
            StopAnimation = 1;
        } else if (!box && AboutBox) {
            box = AboutBox;
            QObject::connect(box, &QDialog::finished, [this] { closedAt = clock.elapsed(); });
        } else if (box && closedAt < 0) {
            if (whileOpen)
                whileOpen(box, clock.elapsed());
            if (whilePulsing && box && box->Label1->font().pointSize() < about::PulseLargest)
                whilePulsing(box, clock.elapsed());
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
