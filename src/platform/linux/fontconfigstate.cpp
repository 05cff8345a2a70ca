#include "platform/linux/fontconfigstate.h"

#include "platform/filenames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>
#include <sys/stat.h>

namespace platform {

namespace {
// A folder whose modification time lies this close before a build started may have changed
// while the build read it; the next check builds again.
constexpr qint64 RacyWindowNs = 50'000'000;

qint64 nowNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QByteArray xmlEscaped(const QByteArray &text)
{
    QByteArray out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

// Every family name a pattern holds, in its order.
QStringList patternFamilies(FcPattern *pattern)
{
    QStringList names;
    FcChar8 *family = nullptr;
    for (int n = 0; FcPatternGetString(pattern, FC_FAMILY, n, &family) == FcResultMatch; ++n)
        names.append(QString::fromUtf8(reinterpret_cast<const char *>(family)));
    return names;
}

template<typename Visit>
void forEach(FcStrList *list, Visit visit)
{
    if (!list)
        return;
    while (const FcChar8 *item = FcStrListNext(list))
        visit(QByteArray(reinterpret_cast<const char *>(item)));
    FcStrListDone(list);
}
} // namespace

bool FontconfigState::Stamp::operator==(const Stamp &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode
        && modified == other.modified;
}

FontconfigState::FontconfigState(const QString &excludedFolder)
    : m_excludedFolder(QDir::cleanPath(excludedFolder))
{
}

FontconfigState::~FontconfigState()
{
    if (m_config)
        FcConfigDestroy(m_config);
}

bool FontconfigState::bringUpToDate()
{
    if (!changed())
        return false;
    rebuild();
    return true;
}

// What the index needs of one font: its family names and how far its style is from a regular,
// upright, normal-width one (smaller is better).
FontconfigState::Indexed FontconfigState::readFont(FcPattern *font)
{
    Indexed read;
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN, width = FC_WIDTH_NORMAL;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    FcPatternGetInteger(font, FC_WIDTH, 0, &width);
    read.distance = (slant != FC_SLANT_ROMAN ? 1000 : 0) + std::abs(weight - FC_WEIGHT_REGULAR)
                    + std::abs(width - FC_WIDTH_NORMAL);
    read.families = patternFamilies(font);
    return read;
}

// Reads the system set once per build: the names the font table lists, and for every family
// name the face that draws it. It runs whenever a font folder changes, so what it read of a
// font is kept for the next build: fontconfig keeps the fonts of unchanged folders in the same
// place (the new configuration is built while the old one, and all it holds, is still alive,
// so a font at an address seen in the last build is the very same font).
void FontconfigState::indexFonts()
{
    m_names.clear();
    m_faces.clear();
    m_substitutes.clear();
    QHash<FcPattern *, Indexed> indexed;
    const FcFontSet *fonts = m_config ? FcConfigGetFonts(m_config, FcSetSystem) : nullptr;
    if (fonts) {
        indexed.reserve(fonts->nfont);
        m_faces.reserve(fonts->nfont);
    }
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcPattern *font = fonts->fonts[i];
        FcChar8 *file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch
            || isExcluded(reinterpret_cast<const char *>(file)))
            continue;
        const auto known = m_indexed.constFind(font);
        const Indexed &read = *indexed.insert(font, known != m_indexed.cend() ? *known : readFont(font));
        for (int n = 0; n < read.families.size(); ++n) {
            const QString &name = read.families[n];
            if (name.isEmpty())
                continue;
            Candidate &candidate = m_faces[name];
            if (n == 0 && !candidate.listed) {
                candidate.listed = true;
                m_names.append(name);
            }
            // The first of equally good faces wins, as the first appearance of a name does.
            if (!candidate.font || read.distance < candidate.distance) {
                candidate.font = font;
                candidate.distance = read.distance;
            }
        }
    }
    m_indexed = std::move(indexed);
}

FontFace FontconfigState::installedFace(const QString &family) const
{
    FontFace face;
    FcPattern *font = m_faces.value(family).font;
    FcChar8 *file = nullptr;
    if (font && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) {
        face.file = decodeName(QByteArray(reinterpret_cast<const char *>(file)));
        FcPatternGetInteger(font, FC_INDEX, 0, &face.index);
    }
    return face;
}

QString FontconfigState::substituteFamily(const QString &family)
{
    const auto known = m_substitutes.constFind(family);
    if (known != m_substitutes.cend())
        return *known;
    // fontconfig's configuration lists, after the name, its aliases (metric-compatible faces
    // first) and the defaults; the first of them that is installed is what fontconfig would
    // draw. Only where none is, fontconfig compares the name with every font.
    QString installed;
    FcPattern *pattern = FcPatternCreate();
    if (pattern) {
        const QByteArray name = family.toUtf8();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        const QStringList candidates = patternFamilies(pattern);
        const auto first = std::find_if(candidates.cbegin(), candidates.cend(),
                                        [this](const QString &name) { return m_faces.contains(name); });
        if (first != candidates.cend())
            installed = *first;
        FcResult result = FcResultNoMatch;
        FcPattern *match = installed.isEmpty() ? FcFontMatch(nullptr, pattern, &result) : nullptr;
        if (match) {
            installed = patternFamilies(match).value(0);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    m_substitutes.insert(family, installed);
    return installed;
}

FontconfigState::Stamp FontconfigState::takeStamp(const QByteArray &path)
{
    Stamp stamp;
    stamp.path = path;
    struct stat info;
    if (::stat(path.constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.modified = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return stamp;
}

bool FontconfigState::changed() const
{
    if (!m_built || m_racy)
        return true;
    for (const Stamp &stamp : m_stamps) {
        if (!(takeStamp(stamp.path) == stamp))
            return true;
    }
    return false;
}

QByteArray FontconfigState::rejectRules() const
{
    QByteArray globs;
    for (const QByteArray &prefix : m_excludedPrefixes)
        globs += "<glob>" + xmlEscaped(prefix) + "*</glob>";
    return "<fontconfig><selectfont><rejectfont>" + globs
        + "</rejectfont></selectfont></fontconfig>";
}

void FontconfigState::rebuild()
{
    m_excludedPrefixes = {QFile::encodeName(m_excludedFolder) + '/'};
    const QString canonical = QFileInfo(m_excludedFolder).canonicalFilePath();
    if (!canonical.isEmpty() && canonical != m_excludedFolder)
        m_excludedPrefixes.append(QFile::encodeName(canonical) + '/');

    const qint64 buildStart = nowNs();
    m_built = true;
    FcConfig *config = FcInitLoadConfig();
    if (config) {
        // Fonts in the excluded folder stay out of the system set, also for Qt, which lists
        // the fonts of the current configuration.
        const QByteArray rules = rejectRules();
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8 *>(rules.constData()),
                                       FcFalse);
        if (FcConfigBuildFonts(config)) {
            FcConfigSetRescanInterval(config, 0);
            FcConfigSetCurrent(config);
            // The index points into the configuration, so it is kept for as long as the index
            // is, whatever another state makes current meanwhile.
            std::swap(config, m_config);
        }
    }
    if (!m_config)
        m_config = FcConfigReference(nullptr); // no build of its own yet: the one fontconfig has
    stampConfiguration(buildStart);
    indexFonts();
    if (config)
        FcConfigDestroy(config); // the previous build, or one that failed
    ++m_builds;
}

void FontconfigState::stampConfiguration(qint64 buildStart)
{
    m_stamps.clear();
    m_racy = false;
    FcConfig *config = FcConfigReference(nullptr);
    if (!config)
        return;
    const Stamp excluded = takeStamp(QFile::encodeName(m_excludedFolder));
    auto add = [&](const QByteArray &path) {
        const Stamp stamp = takeStamp(path);
        m_racy = m_racy || (stamp.exists && stamp.modified >= buildStart - RacyWindowNs);
        m_stamps.push_back(stamp);
    };
    forEach(FcConfigGetConfigFiles(config), add);
    forEach(FcConfigGetFontDirs(config), [&](const QByteArray &dir) {
        // The excluded folder changes with every link made there; those changes never matter.
        const QByteArray withSlash = dir + '/';
        for (const QByteArray &prefix : std::as_const(m_excludedPrefixes)) {
            if (withSlash.startsWith(prefix))
                return;
        }
        const Stamp stamp = takeStamp(dir);
        if (excluded.exists && stamp.exists && stamp.device == excluded.device
            && stamp.inode == excluded.inode) {
            m_excludedPrefixes.append(withSlash); // the same folder under another name
            return;
        }
        add(dir);
    });
    FcConfigDestroy(config);
}

bool FontconfigState::isExcluded(const char *file) const
{
    for (const QByteArray &prefix : m_excludedPrefixes) {
        if (std::strncmp(file, prefix.constData(), size_t(prefix.size())) == 0)
            return true;
    }
    return false;
}

} // namespace platform
