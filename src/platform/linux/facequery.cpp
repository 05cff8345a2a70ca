#include "platform/facequery.h"

#include "charset.h"
#include "chartcells.h"
#include "platform/filenames.h"
#include "platform/fontface.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>
#include <fontconfig/fcfreetype.h>

#include <QSet>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace platform {

namespace {
// No real collection comes near this many faces; each face costs a full reading.
constexpr long MaxFaces = 256;
// Larger files are not taken as fonts: no real face comes near this.
constexpr qint64 MaxFontFileSize = 512ll * 1024 * 1024;
// The worker's address space: far more than any real font needs, far less than the machine.
constexpr rlim_t WorkerAddressSpace = 4ull * 1024 * 1024 * 1024;
// A request names a path; longer ones are not paths.
constexpr size_t MaxRequestSize = 64 * 1024;

FT_Library freeType()
{
    static FT_Library library = [] {
        FT_Library created = nullptr;
        return FT_Init_FreeType(&created) == 0 ? created : nullptr;
    }();
    return library;
}

// Qt draws glyphs of up to 64 device pixels from bitmaps that FreeType renders (larger ones as
// paths); where FreeType's rasteriser gives up on a glyph, Qt 6.4 copies the bitmap it did not
// get and the window crashes. The chart's characters are rendered here at the largest such
// size (a glyph too much for the rasteriser at a smaller size is at this one too), and a face
// with one that does not render is not taken.
constexpr FT_UInt LargestBitmapPixels = 64;
// Character maps looked at per face: real fonts have at most a handful.
constexpr int MaxCharacterMaps = 8;

bool chartCharactersRender(FT_Face face)
{
    if (!FT_IS_SCALABLE(face))
        return true; // drawn from the font's own bitmaps
    if (FT_Set_Pixel_Sizes(face, 0, LargestBitmapPixels) != 0)
        return false;
    QSet<FT_UInt> rendered;
    for (int map = 0; map < std::min(face->num_charmaps, MaxCharacterMaps); ++map) {
        if (FT_Set_Charmap(face, face->charmaps[map]) != 0)
            continue;
        for (int code = chart::FirstCode; code <= chart::LastCode; ++code) {
            for (const FT_ULong point : {FT_ULong(charset::ansiToUnicode(code).unicode()),
                                         FT_ULong(charset::symbolCodePoint(code))}) {
                const FT_UInt glyph = FT_Get_Char_Index(face, point);
                if (glyph == 0 || rendered.contains(glyph))
                    continue;
                rendered.insert(glyph);
                // A glyph that does not load is left out by Qt as well.
                if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING) == 0
                    && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
                    return false;
            }
        }
    }
    return true;
}

// The first family name of face `index`; false when FreeType or fontconfig takes no such face,
// or the chart could not draw it.
bool readFace(const QByteArray &fileData, const QByteArray &fileName, long index, long *faces,
              QString *family)
{
    FT_Face face = nullptr;
    if (!freeType()
        || FT_New_Memory_Face(freeType(), reinterpret_cast<const FT_Byte *>(fileData.constData()),
                              FT_Long(fileData.size()), FT_Long(index), &face) != 0)
        return false;
    *faces = face->num_faces;
    FcPattern *pattern = FcFreeTypeQueryFace(face, reinterpret_cast<const FcChar8 *>(fileName.constData()),
                                             unsigned(index), nullptr);
    const bool drawable = pattern && chartCharactersRender(face);
    FT_Done_Face(face);
    if (!drawable) {
        if (pattern)
            FcPatternDestroy(pattern);
        return false;
    }
    FcChar8 *name = nullptr;
    *family = FcPatternGetString(pattern, FC_FAMILY, 0, &name) == FcResultMatch
                  ? QString::fromUtf8(reinterpret_cast<const char *>(name))
                  : QString();
    FcPatternDestroy(pattern);
    return true;
}

bool readRequest(std::string *request)
{
    size_t length = 0;
    int c;
    while ((c = std::getchar()) != ':') {
        if (c < '0' || c > '9' || length > MaxRequestSize)
            return false;
        length = length * 10 + size_t(c - '0');
    }
    request->resize(length);
    return length == 0 || std::fread(request->data(), 1, length, stdin) == length;
}

void writeField(const QByteArray &field)
{
    std::printf("%lld:", static_cast<long long>(field.size()));
    std::fwrite(field.constData(), 1, size_t(field.size()), stdout);
}

bool runsUnderAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}
} // namespace

QStringList faceFamiliesOfData(const QByteArray &fileData, const QString &fileName)
{
    const QByteArray name = encodeName(fileName);
    QStringList families;
    long faces = 1;
    for (long index = 0; index < faces; ++index) {
        // The face must be drawable on its own, and its map is checked before fontconfig walks
        // it (a map that reaches past Unicode would keep fontconfig going for minutes).
        const QByteArray face = singleFaceData(fileData, int(index));
        if (face.isEmpty() || !cmapStaysInUnicode(fontTableOf(face, "cmap")))
            return QStringList();
        QString family;
        if (!readFace(fileData, name, index, &faces, &family) || faces > MaxFaces)
            return QStringList();
        families.append(family);
    }
    return families;
}

QStringList faceFamiliesOfFile(const QString &path)
{
    const QByteArray data = readRegularFile(path, MaxFontFileSize);
    return data.isEmpty() ? QStringList() : faceFamiliesOfData(data, path);
}

int serveFaceQueries()
{
    if (!runsUnderAddressSanitizer()) {
        const rlimit limit{WorkerAddressSpace, WorkerAddressSpace};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    std::putchar('+'); // ready
    std::fflush(stdout);
    std::string request;
    while (readRequest(&request)) {
        const QStringList families = faceFamiliesOfFile(decodeName(QByteArray::fromStdString(request)));
        std::printf("%lld:", static_cast<long long>(families.size()));
        for (const QString &family : families)
            writeField(family.toUtf8());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace platform
