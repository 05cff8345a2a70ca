// Tavoret: a viewer for the characters 32 to 255 of installed and uninstalled fonts.
#include "commandline.h"
#include "filenames.h"
#include "fonttable.h"
#include "termination.h"
#include "unit1.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    // A write past the file-size limit then fails and is reported instead of ending the program.
    platform::IgnoreFileSizeSignal();
    // Help and version need no display, so the arguments are read before the application starts.
    // They keep their bytes, so that a file name that is not valid UTF-8 is found again.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << platform::DecodeName(QByteArray(argv[i]));
    QTextStream out(stdout), err(stderr);
    const CommandLine commandLine = ParseCommandLine(arguments, out, err);
    out.flush();
    err.flush();
    if (commandLine.exit)
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavoret"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavoret"));
    QApplication::setApplicationVersion(QStringLiteral(TAVORET_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tavoret"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavoret.svg")));

    platform::FontTable &fonts = platform::FontTable::Instance();
    fonts.SweepStalePreviewLinks();
    StartupFontNames = fonts.ReadInstalledFontNames();

    TForm1 form;
    form.move(0, 0);
    form.show();
    // A session that ends, or Ctrl+C in a terminal, closes the window as the user would, so that
    // the preview is removed.
    platform::HandleTerminationSignals([&form] {
        form.close();
        QCoreApplication::quit();
    });
    // Files named on the command line arrive like one drop of those files on the window.
    if (!commandLine.files.isEmpty())
        QTimer::singleShot(0, &form, [&form, &commandLine] { form.FileDrag1->ReadNames(commandLine.files); });
    return app.exec();
}
