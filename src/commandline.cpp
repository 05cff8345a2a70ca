#include "commandline.h"

#include "filenames.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>

namespace {
const char *const kUsage =
    "Usage: tavoret [FILE...]\n"
    "Shows the characters 32 to 255 of installed fonts and of TrueType files.\n"
    "Each FILE is opened as if it had been dropped on the window: the first .ttf file is\n"
    "shown in the file browser and previewed.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n";

QString LocalPath(const QString &argument)
{
    if (argument.startsWith(QLatin1String("file:")))
        return platform::LocalFileName(QUrl(argument));
    return argument;
}
} // namespace

CommandLine ParseCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine result;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (argument == QLatin1String("--")) {
                optionsEnded = true;
            } else if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
                out << kUsage;
                result.exit = true;
                return result;
            } else if (argument == QLatin1String("-v") || argument == QLatin1String("--version")) {
                out << "Tavoret " << QStringLiteral(TAVORET_VERSION) << '\n';
                result.exit = true;
                return result;
            } else {
                err << "tavoret: ignoring unknown option '" << argument << "'\n";
            }
            continue;
        }
        const QString path = LocalPath(argument);
        if (platform::IsFile(path))
            result.files << QFileInfo(path).absoluteFilePath();
        else
            err << "tavoret: ignoring '" << platform::DisplayName(argument) << "': not a file\n";
    }
    return result;
}
