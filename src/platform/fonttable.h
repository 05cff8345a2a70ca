// The font table: the installed fonts as fontconfig and Qt know them, and font files added
// to it for as long as this process runs.
#pragma once

#include "fontconfigstate.h"
#include "previewlinks.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace platform {

// The user's font folder: $XDG_DATA_HOME/fonts, by default ~/.local/share/fonts.
QString UserFontsFolder();
// Creates the user's font folder when it is missing; returns whether it exists afterwards.
bool EnsureUserFontsFolder();

// One instance serves the whole process; it needs a QGuiApplication for everything that Qt
// must draw (without one it only lists what fontconfig has).
class FontTable
{
public:
    static FontTable &Instance();
    FontTable(const FontTable &) = delete;
    FontTable &operator=(const FontTable &) = delete;

    // A fresh list of what is installed now, one name per family: the system's fonts first,
    // then the fonts added by AddFontResource, each name where it first appears. Fonts copied
    // into or deleted from a font folder since the last call are taken into account, for this
    // list and for Qt's drawing alike. Names are complete (never cut short).
    QStringList ReadInstalledFontNames();
    // Registers a font file for drawing in this process and links it into PreviewFolder() for
    // the user's other programs. Returns the number of faces it added: 0 for an empty path,
    // a folder, a missing file, a file that is not a font, or a path that is added already.
    int AddFontResource(const QString &path);
    // Undoes what AddFontResource did for the same path; any other path does nothing.
    void RemoveFontResource(const QString &path);
    // Tells this process's top-level widgets (a QEvent::ApplicationFontChange each, sent
    // directly) and, through the preview folder's time stamp, other programs' fontconfig,
    // which rescans when it next checks. Waits for no other program.
    void AnnounceFontChange();
    // Removes the links that processes which no longer run left in the preview folder.
    void SweepStalePreviewLinks();
    // $XDG_DATA_HOME/fonts/tavoret-preview
    QString PreviewFolder() const;

private:
    FontTable();
    ~FontTable();
    void RefreshQtFontDatabase();

    struct Added
    {
        int id = -1;  // Qt's application font id; Qt reuses ids, so it is forgotten on removal
        QString link; // the link in the preview folder, empty when none could be made
    };
    QHash<QString, Added> m_added; // by absolute path
    PreviewLinks m_links;
    FontconfigState m_fontconfig;
};

} // namespace platform
