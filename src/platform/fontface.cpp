#include "fontface.h"

#include "filenames.h"

#include <QtEndian>

#include <fontconfig/fontconfig.h>

#include <algorithm>

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

void append32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

// Rebuilds the face whose offset table starts at `start` as a font of its own: the same
// header and table records, each table copied behind them on a 4-byte boundary.
QByteArray extractFace(const QByteArray &data, qint64 start)
{
    if (start < 0 || start + OffsetTableSize > data.size())
        return QByteArray();
    const int tables = read16(data, start + 4);
    const qint64 records = start + OffsetTableSize;
    if (records + qint64(tables) * TableRecordSize > data.size())
        return QByteArray();
    QByteArray head = data.mid(start, OffsetTableSize);
    QByteArray body;
    const qint64 bodyStart = OffsetTableSize + qint64(tables) * TableRecordSize;
    for (int i = 0; i < tables; ++i) {
        const qint64 record = records + qint64(i) * TableRecordSize;
        const quint32 offset = read32(data, record + 8);
        const quint32 length = read32(data, record + 12);
        if (qint64(offset) + length > data.size())
            return QByteArray();
        head.append(data.constData() + record, 8); // tag and checksum
        append32(head, quint32(bodyStart + body.size()));
        append32(head, length);
        body.append(data.constData() + offset, length);
        body.append((4 - body.size() % 4) % 4, '\0');
    }
    return head + body;
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
