// File names as the system stores them: any bytes but "/" and NUL, not always valid UTF-8.
//
// Qt turns a name into a QString as UTF-8 and leaves out, or cannot open again, a name that is
// not valid UTF-8 (a "café.ttf" written in Latin-1, say). Names go through the program as
// QStrings that keep every such byte: a byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC80-U+DCFF (0x80-0xFF), which no valid UTF-8 can give, so the bytes come back
// unchanged. Paths in that form are opened, listed and tested through the functions here.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QUrl;

namespace platform {

// The name of these bytes, every byte that is not valid UTF-8 kept as U+DC80-U+DCFF.
QString decodeName(const QByteArray &bytes);
// The bytes of a name that decodeName gave (any other QString encodes as UTF-8).
QByteArray encodeName(const QString &name);
// The name for the eye: each kept byte shown as U+FFFD, the replacement character.
QString displayName(const QString &name);

// The local file a file: URL names, its percent-escapes taken as bytes (QUrl::toLocalFile()
// reads them as UTF-8 and loses the others); empty for other URLs.
QString localFileName(const QUrl &url);

// Whether the path names a regular file, following links (a dangling link is none).
bool isFile(const QString &path);
// Whether the path names a folder, following links.
bool isFolder(const QString &path);
// Whether anything is there under that name, a dangling link included.
bool exists(const QString &path);

// The contents of a regular file of at most `maxSize` bytes; empty when the path names none,
// the file is larger or cannot be read. Never blocks on a pipe or device.
QByteArray readRegularFile(const QString &path, qint64 maxSize);
// A descriptor open for reading on the regular file at `path`; -1 when there is none.
int openRegularFile(const QString &path);

enum class EntryKind { Files, Folders };
// The names in a folder of one kind, followed through links, sorted ignoring letter case;
// without "." and "..", without dot-files, and without sockets, pipes, devices and dangling
// links. Empty when the folder cannot be read.
QStringList folderEntries(const QString &folder, EntryKind kind);

} // namespace platform
