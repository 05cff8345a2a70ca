// Tavoret: a viewer for the characters 32 to 255 of installed and uninstalled fonts.
#include "commandline.h"
#include "platform/displaycheck.h"
#include "platform/facereader.h"
#include "platform/filenames.h"
#include "platform/fonttable.h"
#include "initialise.h"
#include "platform/termination.h"
#include "unit1.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

namespace {

// The arguments keep their bytes, so that a file name that is not valid UTF-8 is found again.
QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << platform::decodeName(QByteArray(argv[i]));
    return arguments;
}

// Qt ends the process with an abort and a page about reinstalling when it finds no display, so
// the display is tried first, as Qt would choose it.
platform::DisplayCheck displayFor(const QStringList &arguments)
{
    QString platformName = qtOptionValue(arguments, QStringLiteral("platform"));
    if (platformName.isEmpty())
        platformName = qEnvironmentVariable("QT_QPA_PLATFORM");
    return platform::DisplayCheck(platformName, qtOptionValue(arguments, QStringLiteral("display")));
}

void nameApplication()
{
    QApplication::setApplicationName(QStringLiteral("tavoret"));
    // No display name: Qt would append it to every window title ("... — Tavoret"), and the
    // program's captions are to stand as they are.
    QApplication::setApplicationVersion(QStringLiteral(TAVORET_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TAVORET_APP_ID));
}

// The windows' icon in PNG sizes, which Qt draws without its SVG image plugin. The resources
// must be registered first: a file that cannot be read then is left out of the icon for good.
QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tavoret-%1.png").arg(size), QSize(size, size));
    return icon;
}

QtMessageHandler qtMessageHandler = nullptr;

// Without XDG_RUNTIME_DIR (a session started through su, ssh or without a login manager), Qt
// uses a folder of its own below /tmp and says so at every start. The program keeps nothing
// there that another needs to find, so that one notice is left out; every other message passes.
void withoutRuntimeFolderNotice(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qtMessageHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    // The program started again as the worker that reads font files for it.
    if (argc == 2 && qstrcmp(argv[1], platform::FaceReader::WorkerArgument) == 0)
        return platform::serveFaceQueries();
    // A write past the file-size limit then fails and is reported instead of ending the program.
    platform::ignoreFileSizeSignal();
    QTextStream out(stdout), err(stderr);
    // Help and version need no display, so they are answered before the application starts.
    if (answerHelpOrVersion(argumentsOf(argc, argv), out))
        return 0;
    platform::DisplayCheck display = displayFor(argumentsOf(argc, argv));
    if (!display.canOpen()) {
        err << "tavoret: " << display.whatIsMissing() << "\n";
        return 1;
    }

    qtMessageHandler = qInstallMessageHandler(withoutRuntimeFolderNotice);
    QApplication app(argc, argv);
    display.release();
    // The application took Qt's own options out of the arguments; the rest are files.
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv), err);
    out.flush();
    err.flush();
    nameApplication();

    platform::FaceReader::setWorkerProgram(QCoreApplication::applicationFilePath());
    platform::FontTable fonts;
    // Fontconfig is read once the preview folder is swept, which may change the fonts folder.
    fonts.sweepStalePreviewLinks();
    const QStringList startupFontNames = fonts.ReadInstalledFontNames();
    initialiseApplication(fonts);
    QApplication::setWindowIcon(programIcon());

    TForm1 form(fonts, startupFontNames);
    form.move(0, 0);
    form.show();
    // A session that ends, or Ctrl+C in a terminal, closes the window as the user would, so that
    // the preview is removed.
    platform::handleTerminationSignals([&form] {
        form.close();
        QCoreApplication::quit();
    });
    // Files named on the command line arrive like one drop of those files on the window.
    if (!commandLine.files.isEmpty())
        QTimer::singleShot(0, &form, [&form, &commandLine] { form.FileDrag1->readNames(commandLine.files); });
    return app.exec();
}
