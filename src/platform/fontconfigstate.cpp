#include "fontconfigstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace platform {

namespace {
// A folder whose modification time lies this close before a build started may have changed
// while the build read it; the next check builds again.
constexpr qint64 kRacyWindowNs = 50'000'000;

qint64 NowNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QByteArray XmlEscaped(const QByteArray &text)
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

template<typename Visit>
void ForEach(FcStrList *list, Visit visit)
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

bool FontconfigState::BringUpToDate()
{
    if (!Changed())
        return false;
    Rebuild();
    return true;
}

QStringList FontconfigState::FamilyNames() const
{
    QStringList names;
    QSet<QString> seen;
    FcConfig *config = FcConfigReference(nullptr);
    if (!config)
        return names;
    for (FcSetName set : {FcSetSystem, FcSetApplication}) {
        const FcFontSet *fonts = FcConfigGetFonts(config, set);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcPattern *font = fonts->fonts[i];
            FcChar8 *file = nullptr;
            if (set == FcSetSystem && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch
                && IsExcluded(reinterpret_cast<const char *>(file)))
                continue;
            FcChar8 *family = nullptr;
            if (FcPatternGetString(font, FC_FAMILY, 0, &family) != FcResultMatch)
                continue;
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(family));
            if (name.isEmpty() || seen.contains(name))
                continue;
            seen.insert(name);
            names.append(name);
        }
    }
    FcConfigDestroy(config);
    return names;
}

QStringList FontconfigState::SystemFontFiles() const
{
    QStringList files;
    FcConfig *config = FcConfigReference(nullptr);
    if (!config)
        return files;
    const FcFontSet *fonts = FcConfigGetFonts(config, FcSetSystem);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8 *file = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
            continue;
        const char *path = reinterpret_cast<const char *>(file);
        if (!IsExcluded(path))
            files.append(QFile::decodeName(path));
    }
    FcConfigDestroy(config);
    files.removeDuplicates();
    return files;
}

FontconfigState::Stamp FontconfigState::TakeStamp(const QByteArray &path)
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

bool FontconfigState::Changed() const
{
    if (!m_built || m_racy)
        return true;
    for (const Stamp &stamp : m_stamps) {
        if (!(TakeStamp(stamp.path) == stamp))
            return true;
    }
    return false;
}

QByteArray FontconfigState::RejectRules() const
{
    QByteArray globs;
    for (const QByteArray &prefix : m_excludedPrefixes)
        globs += "<glob>" + XmlEscaped(prefix) + "*</glob>";
    return "<fontconfig><selectfont><rejectfont>" + globs
        + "</rejectfont></selectfont></fontconfig>";
}

void FontconfigState::Rebuild()
{
    m_excludedPrefixes = {QFile::encodeName(m_excludedFolder) + '/'};
    const QString canonical = QFileInfo(m_excludedFolder).canonicalFilePath();
    if (!canonical.isEmpty() && canonical != m_excludedFolder)
        m_excludedPrefixes.append(QFile::encodeName(canonical) + '/');

    const qint64 buildStart = NowNs();
    m_built = true;
    FcConfig *config = FcInitLoadConfig();
    if (config) {
        // Fonts in the excluded folder stay out of the system set, also for Qt, which lists
        // the fonts of the current configuration.
        const QByteArray rules = RejectRules();
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8 *>(rules.constData()),
                                       FcFalse);
        if (FcConfigBuildFonts(config)) {
            FcConfigSetRescanInterval(config, 0);
            FcConfigSetCurrent(config);
        }
        FcConfigDestroy(config);
    }
    StampConfiguration(buildStart);
}

void FontconfigState::StampConfiguration(qint64 buildStart)
{
    m_stamps.clear();
    m_racy = false;
    FcConfig *config = FcConfigReference(nullptr);
    if (!config)
        return;
    const Stamp excluded = TakeStamp(QFile::encodeName(m_excludedFolder));
    auto add = [&](const QByteArray &path) {
        const Stamp stamp = TakeStamp(path);
        m_racy = m_racy || (stamp.exists && stamp.modified >= buildStart - kRacyWindowNs);
        m_stamps.push_back(stamp);
    };
    ForEach(FcConfigGetConfigFiles(config), add);
    ForEach(FcConfigGetFontDirs(config), [&](const QByteArray &dir) {
        // The excluded folder changes with every link made there; those changes never matter.
        const QByteArray withSlash = dir + '/';
        for (const QByteArray &prefix : std::as_const(m_excludedPrefixes)) {
            if (withSlash.startsWith(prefix))
                return;
        }
        const Stamp stamp = TakeStamp(dir);
        if (excluded.exists && stamp.exists && stamp.device == excluded.device
            && stamp.inode == excluded.inode) {
            m_excludedPrefixes.append(withSlash); // the same folder under another name
            return;
        }
        add(dir);
    });
    FcConfigDestroy(config);
}

bool FontconfigState::IsExcluded(const char *file) const
{
    for (const QByteArray &prefix : m_excludedPrefixes) {
        if (std::strncmp(file, prefix.constData(), size_t(prefix.size())) == 0)
            return true;
    }
    return false;
}

} // namespace platform
