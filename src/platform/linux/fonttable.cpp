#include "platform/fonttable.h"

#include "platform/filenames.h"
#include "platform/linux/fontconfigstate.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace platform {

namespace {
QString previewFolderPath()
{
    return userFontsFolder() + QStringLiteral("/tavoret-preview");
}

// The path a file is remembered by: absolute and without "." or ".." parts.
QString absolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

QString userFontsFolder()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome + QStringLiteral("/fonts"));
}

bool ensureUserFontsFolder()
{
    return QDir().mkpath(userFontsFolder());
}

FontTable::FontTable()
    : m_links(previewFolderPath()), m_fontconfig(std::make_shared<FontconfigState>(previewFolderPath()))
{
}

FontTable::~FontTable() = default;

void FontTable::changed()
{
    ++m_generation;
    if (m_onChange)
        m_onChange();
}

void FontTable::bringUpToDate()
{
    if (m_fontconfig->bringUpToDate())
        changed();
}

QStringList FontTable::ReadInstalledFontNames()
{
    bringUpToDate();
    QStringList names = m_fontconfig->familyNames();
    // Added faces come after every installed one, each name where it first appears.
    QStringList added;
    for (const Added &file : std::as_const(m_added)) {
        for (const QString &family : file.families) {
            if (!family.isEmpty() && !m_fontconfig->listsName(family) && !added.contains(family))
                added.append(family);
        }
    }
    return names + added;
}

int FontTable::AddFontResource(const QString &path)
{
    return path.isEmpty() ? 0 : addReadFaces(path, m_reader.read(absolutePath(path)));
}

int FontTable::addReadFaces(const QString &path, const QStringList &families)
{
    if (path.isEmpty() || families.isEmpty())
        return 0;
    const QString file = absolutePath(path);
    // isFile() keeps out folders (a link to one would give other programs every font inside
    // it) and pipes or devices, on which reading could block.
    const bool known = std::any_of(m_added.cbegin(), m_added.cend(),
                                   [&](const Added &added) { return added.path == file; });
    if (known || !isFile(file))
        return 0;
    Added added{file, m_links.create(file), families};
    m_added.append(added);
    changed();
    return int(added.families.size());
}

bool FontTable::hasFaces(const QString &path)
{
    return isFile(path) && !m_reader.read(absolutePath(path)).isEmpty();
}

void FontTable::RemoveFontResource(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString file = absolutePath(path);
    for (auto it = m_added.begin(); it != m_added.end(); ++it) {
        if (it->path == file) {
            m_links.remove(it->link);
            m_added.erase(it);
            changed();
            return;
        }
    }
}

FontFace FontTable::faceOf(const QString &family)
{
    if (family.isEmpty())
        return FontFace();
    bringUpToDate();
    const FontFace installed = m_fontconfig->installedFace(family);
    if (installed.isValid())
        return installed;
    for (const Added &added : std::as_const(m_added)) {
        const int index = int(added.families.indexOf(family));
        if (index >= 0)
            return FontFace{added.path, index};
    }
    for (const Added &added : std::as_const(m_added)) {
        for (int index = 0; index < added.families.size(); ++index) {
            if (added.families[index].compare(family, Qt::CaseInsensitive) == 0)
                return FontFace{added.path, index};
        }
    }
    return m_fontconfig->installedFace(m_fontconfig->substituteFamily(family));
}

int FontTable::configurationBuilds() const
{
    return m_fontconfig->builds();
}

std::shared_ptr<InstalledFaces> FontTable::installedFonts()
{
    bringUpToDate();
    return m_fontconfig;
}

void FontTable::announceFontChange()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            QEvent event(QEvent::ApplicationFontChange);
            QCoreApplication::sendEvent(window, &event);
        }
    }
    m_links.touch();
}

void FontTable::sweepStalePreviewLinks()
{
    m_links.sweepStale();
}

QString FontTable::previewFolder()
{
    return previewFolderPath();
}

} // namespace platform
