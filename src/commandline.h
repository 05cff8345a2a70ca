// The command line: font files to open as if dropped on the window, --help and --version.
#pragma once

#include <QStringList>

class QTextStream;

struct CommandLine
{
    QStringList files;  // absolute paths of existing files, in the given order
    bool exit = false;  // --help or --version was answered: end without opening the window
};

// Reads the arguments (without the program name). Help and version go to `out`; every argument
// that is not an existing file gets one line on `err` and is otherwise ignored.
CommandLine ParseCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err);
