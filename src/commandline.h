// The command line: font files to open as if dropped on the window, --help and --version.
// Qt's own options (-platform, -style, -display, ...) are Qt's: the application object takes
// them out of the arguments before the rest is read here.
#pragma once

#include <QStringList>

class QTextStream;

struct CommandLine
{
    QStringList files; // absolute paths of existing files, in the given order
};

// Reads the arguments (without the program name) once help and version were not asked for
// (answerHelpOrVersion). Every argument that is not an existing file gets one line on `err`
// and is otherwise ignored.
CommandLine parseCommandLine(const QStringList &arguments, QTextStream &err);

// Answers the first --help or --version before "--" on `out`, without looking at anything
// else; true when it did. This needs no display, so it runs before the application exists.
bool answerHelpOrVersion(const QStringList &arguments, QTextStream &out);

// The value that follows Qt's option `name` (such as "platform" for -platform or --platform),
// found as Qt finds it: anywhere on the line, the last one counting. Empty when not given.
QString qtOptionValue(const QStringList &arguments, const QString &name);
