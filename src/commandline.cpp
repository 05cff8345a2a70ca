#include "commandline.h"

#include "platform/filenames.h"

#include <QFileInfo>
#include <QTextStream>
#include <QUrl>

namespace {
constexpr const char *Usage =
    "Usage: tavoret [FILE...]\n"
    "Shows the characters 32 to 255 of installed fonts and of TrueType files.\n"
    "Each FILE is opened as if it had been dropped on the window: the first .ttf file is\n"
    "shown in the file browser and previewed.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform, -display and -style, are taken as Qt defines them.\n";

const QLatin1String EndOfOptions("--");

QString localPath(const QString &argument)
{
    if (argument.startsWith(QLatin1String("file:")))
        return platform::localFileName(QUrl(argument));
    return argument;
}

// Writes the help or the version when `argument` asks for one; true when it did.
bool answer(const QString &argument, QTextStream &out)
{
    if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
        out << Usage;
        return true;
    }
    if (argument == QLatin1String("-v") || argument == QLatin1String("--version")) {
        out << "Tavoret " << QStringLiteral(TAVORET_VERSION) << '\n' << QStringLiteral(TAVORET_DESCRIPTION) << '\n';
        return true;
    }
    return false;
}
} // namespace

CommandLine parseCommandLine(const QStringList &arguments, QTextStream &err)
{
    CommandLine result;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (argument == EndOfOptions)
                optionsEnded = true;
            else
                err << "tavoret: ignoring unknown option '" << argument << "'\n";
            continue;
        }
        const QString path = localPath(argument);
        if (platform::isFile(path))
            result.files << QFileInfo(path).absoluteFilePath();
        else
            err << "tavoret: ignoring '" << platform::displayName(argument) << "': not a file\n";
    }
    return result;
}

bool answerHelpOrVersion(const QStringList &arguments, QTextStream &out)
{
    for (const QString &argument : arguments) {
        if (argument == EndOfOptions)
            return false;
        if (answer(argument, out))
            return true;
    }
    return false;
}

QString qtOptionValue(const QStringList &arguments, const QString &name)
{
    // As Qt reads them: anywhere on the line, the last one counting.
    QString value;
    for (int i = 0; i + 1 < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1Char('-') + name || argument == EndOfOptions + name)
            value = arguments.at(++i);
    }
    return value;
}
