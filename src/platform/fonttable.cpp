#include "fonttable.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {

namespace {
QString PreviewFolderPath()
{
    return UserFontsFolder() + QStringLiteral("/tavoret-preview");
}

// The path a file is remembered by: absolute and without "." or ".." parts.
QString AbsolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

QString UserFontsFolder()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome + QStringLiteral("/fonts"));
}

bool EnsureUserFontsFolder()
{
    return QDir().mkpath(UserFontsFolder());
}

FontTable &FontTable::Instance()
{
    static FontTable table;
    return table;
}

FontTable::FontTable()
    : m_links(PreviewFolderPath()), m_fontconfig(PreviewFolderPath())
{
}

// Qt may be gone by now: only the links and the lock file are cleaned up (by m_links).
FontTable::~FontTable() = default;

QStringList FontTable::ReadInstalledFontNames()
{
    if (m_fontconfig.BringUpToDate())
        RefreshQtFontDatabase();
    // After dropping its font list Qt reads it again on first use, and only then registers its
    // application fonts with fontconfig again: make it do so before those are listed.
    if (qGuiApp)
        QFontDatabase::families();
    return m_fontconfig.FamilyNames();
}

int FontTable::AddFontResource(const QString &path)
{
    if (path.isEmpty() || !qGuiApp)
        return 0;
    const QString file = AbsolutePath(path);
    // isFile() keeps out folders (a link to one would give other programs every font inside
    // it) and pipes or devices, on which reading could block.
    if (m_added.contains(file) || !QFileInfo(file).isFile())
        return 0;
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0)
        return 0;
    const int faces = int(QFontDatabase::applicationFontFamilies(id).size());
    if (faces == 0) {
        QFontDatabase::removeApplicationFont(id);
        return 0;
    }
    m_added.insert(file, Added{id, m_links.Create(file)});
    return faces;
}

void FontTable::RemoveFontResource(const QString &path)
{
    if (path.isEmpty())
        return;
    const auto it = m_added.constFind(AbsolutePath(path));
    if (it == m_added.cend())
        return;
    if (qGuiApp)
        QFontDatabase::removeApplicationFont(it->id);
    m_links.Remove(it->link);
    m_added.erase(it);
}

void FontTable::AnnounceFontChange()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            QEvent event(QEvent::ApplicationFontChange);
            QCoreApplication::sendEvent(window, &event);
        }
    }
    m_links.Touch();
}

void FontTable::SweepStalePreviewLinks()
{
    m_links.SweepStale();
}

QString FontTable::PreviewFolder() const
{
    return m_links.Folder();
}

// Qt keeps its own copy of fontconfig's font list and drops it only when an application font
// is removed. Registering a small font file and removing it again makes it read the new
// configuration; the files this process added come first, as they are known to load.
void FontTable::RefreshQtFontDatabase()
{
    if (!qGuiApp)
        return;
    QStringList candidates = m_added.keys();
    std::vector<std::pair<qint64, QString>> system;
    for (const QString &file : m_fontconfig.SystemFontFiles())
        system.emplace_back(QFileInfo(file).size(), file);
    const auto wanted = system.begin() + std::min<std::ptrdiff_t>(std::ptrdiff_t(system.size()), 8);
    std::partial_sort(system.begin(), wanted, system.end());
    for (auto it = system.begin(); it != wanted; ++it)
        candidates.append(it->second);
    for (const QString &file : std::as_const(candidates)) {
        const int id = QFontDatabase::addApplicationFont(file);
        if (id >= 0) {
            QFontDatabase::removeApplicationFont(id);
            return;
        }
    }
}

} // namespace platform
