// One face of a font file, and how the chart loads it for drawing.
//
// The chart draws its face straight from the file rather than through Qt's font database: Qt
// looks a family up by comparing it with every installed family, and rebuilds its whole list
// whenever a registered font is removed, so both would cost time in proportion to the number
// of installed fonts at every preview.
#pragma once

#include <QByteArray>
#include <QGlyphRun>
#include <QRawFont>
#include <QString>

namespace platform {

struct FontFace
{
    QString file;  // absolute path; empty when there is no such face
    int index = 0; // the face in a collection (fontconfig's index: named instances in the high bits)

    bool isValid() const { return !file.isEmpty(); }
    bool operator==(const FontFace &other) const { return file == other.file && index == other.index; }
    bool operator!=(const FontFace &other) const { return !(*this == other); }
};

// The data of face `index` of a font file's contents as a font of its own: the data as it is
// for a single font (index 0), a new single-face font made of the face's tables for a
// TrueType/OpenType collection. Empty when `index` names no face or the data is damaged.
QByteArray singleFaceData(const QByteArray &fileData, int index);

// The table `tag` (four characters) of a single font's data; empty when it has none or the
// table lies outside the data.
QByteArray fontTableOf(const QByteArray &fontData, const char *tag);

// Whether every code a character map table maps lies within Unicode (up to U+10FFFF), so that
// walking its codes ends. Maps of 16-bit codes always do; a damaged map is left to FreeType.
bool cmapStaysInUnicode(const QByteArray &cmap);

// True for a font's character map table whose maps are only symbol-encoded ((3,0)).
bool isSymbolCmap(const QByteArray &cmap);

// The glyphs of `text` in the face, one after the other from the origin, as found in the face
// itself: a character the face lacks gives its missing-glyph box.
QGlyphRun glyphRunOf(const QRawFont &raw, const QString &text);

// The face loaded for drawing at `pixelSize`; an invalid QRawFont when the file cannot be
// read or is not a font.
QRawFont loadFace(const FontFace &face, qreal pixelSize);
// The same for a font file's contents already read: face `index` of `fileData`.
QRawFont loadFaceFromData(const QByteArray &fileData, int index, qreal pixelSize);

} // namespace platform
