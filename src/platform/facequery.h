// What a font file holds, read the way fontconfig reads a font: the first family name of each
// face. A file that comes from anywhere may be built to make that reading take unbounded time
// or memory; FaceReader runs it in a worker process where it can be bounded.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// The first family name of each face in a font file's contents, by face index (a face without
// a family gives an empty name); empty when the contents are not a font fontconfig takes, or
// when any face could not be drawn from them: a collection's face whose tables cannot be taken
// out as a font of their own, more faces than any real collection has, or a character map
// whose ranges reach past Unicode (fontconfig would walk billions of codes). `fileName` is
// what fontconfig names a face after when it has no name of its own.
QStringList faceFamiliesOfData(const QByteArray &fileData, const QString &fileName);
// The same for the file at `path` (a regular file of a font's size; anything else has none).
QStringList faceFamiliesOfFile(const QString &path);

// The worker's side: answers the requests that arrive on standard input, one after the other,
// until it closes. Returns the process's exit status.
int serveFaceQueries();

} // namespace platform
