// libFuzzer target: a font file's bytes taken the way a preview takes a file. Its faces are read
// as the preview's worker reads them (fontconfig's query with the character map, the single-face
// extraction of a collection, the checks before them); each of the first faces that passes is
// loaded from the bytes, its names are read and its cells drawn at a small and a large size.
#include "charset.h"
#include "chartcells.h"
#include "platform/facequery.h"
#include "platform/fontface.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {
constexpr int FacesTried = 2;
constexpr qreal PixelSizes[] = {9, 72};

void DrawChart(const QRawFont &raw)
{
    const bool symbol = platform::isSymbolCmap(raw.fontTable("cmap"));
    const int cell = int(raw.pixelSize()) + 4;
    QImage image(16 * cell, 14 * cell, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int code = chart::FirstCode; code <= chart::LastCode; ++code) {
        const int index = code - chart::FirstCode;
        const char32_t symbolCode = charset::symbolCodePoint(code);
        const QString text = symbol ? QString::fromUcs4(&symbolCode, 1) : QString(charset::ansiToUnicode(code));
        painter.drawGlyphRun(QPointF(index % 16 * cell, index / 16 * cell + raw.ascent()),
                             platform::glyphRunOf(raw, text));
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns of every glyph a damaged face cannot give; findings are what libFuzzer reports.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    new QGuiApplication(*argc, *argv); // kept for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const int faces = int(platform::faceFamiliesOfData(bytes, QStringLiteral("/fuzz/font.ttf")).size());
    for (int face = 0; face < std::min(faces, FacesTried); ++face) {
        for (const qreal pixelSize : PixelSizes) {
            const QRawFont raw = platform::loadFaceFromData(bytes, face, pixelSize);
            if (!raw.isValid())
                break;
            [[maybe_unused]] const QString names = raw.familyName() + raw.styleName();
            DrawChart(raw);
        }
    }
    return 0;
}
