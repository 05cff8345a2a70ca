#include "platform/fontface.h"

#include "platform/filenames.h"

#include <QtEndian>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {
constexpr int TableRecordSize = 16;
constexpr int OffsetTableSize = 12;
// Larger files are not read for drawing: no real face comes near this.
constexpr qint64 MaxFontFileSize = 512ll * 1024 * 1024;

quint32 read32(const QByteArray &data, qint64 at)
{
    return qFromBigEndian<quint32>(data.constData() + at);
}

quint16 read16(const QByteArray &data, qint64 at)
{
    return qFromBigEndian<quint16>(data.constData() + at);
}

// Rebuilds the face whose offset table starts at `start` as a font of its own: the same
// header and table records, each table copied behind them on a 4-byte boundary. The tables of
// one face never overlap, so together they are no larger than the file: a directory whose
// records claim more (the same bytes again and again) is refused rather than copied, which
// bounds the result by the file's size plus its table directory.
QByteArray extractFace(const QByteArray &data, qint64 start)
{
    if (start < 0 || start + OffsetTableSize > data.size())
        return QByteArray();
    const int tables = read16(data, start + 4);
    const qint64 records = start + OffsetTableSize;
    if (records + qint64(tables) * TableRecordSize > data.size())
        return QByteArray();
    qint64 total = 0;
    for (int i = 0; i < tables; ++i) {
        const qint64 record = records + qint64(i) * TableRecordSize;
        const quint32 offset = read32(data, record + 8);
        const quint32 length = read32(data, record + 12);
        if (qint64(offset) + length > data.size())
            return QByteArray();
        total += length;
        if (total > data.size())
            return QByteArray();
    }
    const qint64 bodyStart = OffsetTableSize + qint64(tables) * TableRecordSize;
    QByteArray face = data.mid(start, OffsetTableSize);
    face.reserve(bodyStart + total + 3 * qint64(tables));
    face.resize(bodyStart);
    for (int i = 0; i < tables; ++i) {
        const qint64 record = records + qint64(i) * TableRecordSize;
        const quint32 offset = read32(data, record + 8);
        const quint32 length = read32(data, record + 12);
        char *entry = face.data() + OffsetTableSize + qint64(i) * TableRecordSize;
        std::memcpy(entry, data.constData() + record, 8); // tag and checksum
        qToBigEndian(quint32(face.size()), entry + 8);
        qToBigEndian(length, entry + 12);
        face.append(data.constData() + offset, length);
        face.append((4 - face.size() % 4) % 4, '\0');
    }
    return face;
}
} // namespace

QByteArray singleFaceData(const QByteArray &fileData, int index)
{
    if (index < 0 || fileData.size() < OffsetTableSize)
        return QByteArray();
    if (!fileData.startsWith("ttcf"))
        return index == 0 ? fileData : QByteArray();
    const quint32 faces = read32(fileData, 8);
    if (quint32(index) >= faces || OffsetTableSize + 4 * (qint64(index) + 1) > fileData.size())
        return QByteArray();
    return extractFace(fileData, read32(fileData, OffsetTableSize + 4 * qint64(index)));
}

QByteArray fontTableOf(const QByteArray &fontData, const char *tag)
{
    if (fontData.size() < OffsetTableSize)
        return QByteArray();
    const int tables = read16(fontData, 4);
    for (int i = 0; i < tables; ++i) {
        const qint64 record = OffsetTableSize + qint64(i) * TableRecordSize;
        if (record + TableRecordSize > fontData.size())
            return QByteArray();
        if (std::memcmp(fontData.constData() + record, tag, 4) != 0)
            continue;
        const quint32 offset = read32(fontData, record + 8);
        const quint32 length = read32(fontData, record + 12);
        if (qint64(offset) + length > fontData.size())
            return QByteArray();
        return fontData.mid(offset, length);
    }
    return QByteArray();
}

bool cmapStaysInUnicode(const QByteArray &cmap)
{
    constexpr quint32 LastUnicode = 0x10FFFF;
    if (cmap.size() < 4)
        return true;
    const int tables = read16(cmap, 2);
    for (int i = 0; i < tables && 4 + 8 * (i + 1) <= cmap.size(); ++i) {
        const qint64 subtable = read32(cmap, 4 + 8 * i + 4);
        if (subtable + 2 > cmap.size())
            continue;
        // Formats 8, 12 and 13 map groups of 32-bit codes: start, end, glyph.
        const quint16 format = read16(cmap, subtable);
        const qint64 groupsAt = format == 8 ? subtable + 16 + 8192 : subtable + 16;
        if ((format != 8 && format != 12 && format != 13) || groupsAt > cmap.size())
            continue;
        const quint32 groups = read32(cmap, groupsAt - 4);
        for (quint32 g = 0; g < groups && groupsAt + 12 * (qint64(g) + 1) <= cmap.size(); ++g) {
            const qint64 group = groupsAt + 12 * qint64(g);
            if (read32(cmap, group) > LastUnicode || read32(cmap, group + 4) > LastUnicode)
                return false;
        }
    }
    return true;
}

bool isSymbolCmap(const QByteArray &cmap)
{
    if (cmap.size() < 4)
        return false;
    const int tables = read16(cmap, 2);
    bool symbol = false;
    for (int i = 0; i < tables && 4 + 8 * (i + 1) <= cmap.size(); ++i) {
        const quint16 platformId = read16(cmap, 4 + 8 * i);
        const quint16 encodingId = read16(cmap, 6 + 8 * i);
        if (platformId == 3 && encodingId == 0)
            symbol = true;
        else if (platformId == 0 || (platformId == 3 && (encodingId == 1 || encodingId == 10)))
            return false; // a Unicode map: characters are found by their own code
    }
    return symbol;
}

QGlyphRun glyphRunOf(const QRawFont &raw, const QString &text)
{
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    QList<QPointF> positions;
    qreal x = 0;
    for (const QPointF &advance : raw.advancesForGlyphIndexes(glyphs)) {
        positions << QPointF(x, 0);
        x += advance.x();
    }
    run.setPositions(positions);
    return run;
}

QRawFont loadFace(const FontFace &face, qreal pixelSize)
{
    if (!face.isValid())
        return QRawFont();
    return loadFaceFromData(readRegularFile(face.file, MaxFontFileSize), face.index, pixelSize);
}

QRawFont loadFaceFromData(const QByteArray &fileData, int index, qreal pixelSize)
{
    const QByteArray data = singleFaceData(fileData, index & 0xFFFF);
    if (data.isEmpty())
        return QRawFont();

    // Loading a font from data, Qt asks fontconfig for the face's rendering settings by
    // matching its family against every installed font. An empty configuration answers at
    // once (with Qt's defaults: antialiased, default hinting); the installed one is current
    // again right after.
    static FcConfig *const empty = [] {
        FcConfig *config = FcConfigCreate();
        if (config)
            FcConfigBuildFonts(config);
        return config;
    }();
    FcConfig *installed = FcConfigReference(nullptr);
    const bool swapped = empty && installed && FcConfigSetCurrent(empty);
    QRawFont raw;
    raw.loadFromData(data, pixelSize, QFont::PreferDefaultHinting);
    if (swapped)
        FcConfigSetCurrent(installed);
    if (installed)
        FcConfigDestroy(installed);
    return raw;
}

} // namespace platform
