// The flavours a copied text goes on the clipboard in: plain text, and HTML and RTF that name
// its face and size, so that a word processor pastes it in the chart's font.
#pragma once

#include <QByteArray>
#include <QString>

class QMimeData;
class QTextDocumentFragment;

namespace clipboard {

// RTF for `text` in face `face` at `points`: the face in the font table, the size in half points.
QByteArray rtfFor(const QString &text, const QString &face, int points);

// Plain text, HTML and RTF of `selection` with every character in `face` at `points`. The
// caller owns the result (QClipboard takes it over).
QMimeData *flavoursOf(const QTextDocumentFragment &selection, const QString &face, qreal points);

} // namespace clipboard
