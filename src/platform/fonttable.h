// The font table: the installed fonts as fontconfig and Qt know them, and font files added
// to it for as long as this process runs.
#pragma once

#include "platform/facereader.h"
#include "platform/fontface.h"
#include "platform/installedfaces.h"
#include "platform/previewlinks.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

namespace platform {

class FontconfigState; // the system's implementation of InstalledFaces

// The user's font folder: $XDG_DATA_HOME/fonts, by default ~/.local/share/fonts.
QString userFontsFolder();
// Creates the user's font folder when it is missing; returns whether it exists afterwards.
bool ensureUserFontsFolder();

// What fontconfig has installed plus the font files added to it, and the file that draws a
// family. Qt's own font database is never asked to add or remove a font, so it is read once
// and never rebuilt. The program makes one, after the application object.
class FontTable
{
public:
    FontTable();
    // Removes the links it made in the preview folder.
    ~FontTable();
    FontTable(const FontTable &) = delete;
    FontTable &operator=(const FontTable &) = delete;

    // A fresh list of what is installed now, one name per family: the system's fonts first,
    // then the fonts added by AddFontResource, each name where it first appears. Fonts copied
    // into or deleted from a font folder since the last call are taken into account, for this
    // list and for faceOf alike. Names are complete (never cut short).
    QStringList ReadInstalledFontNames();
    // Adds a font file's faces to the table for this process and links it into previewFolder()
    // for the user's other programs. Returns the number of faces it added: 0 for an empty path,
    // a folder, a missing file, a file that is not a font, or a path that is added already.
    // The file's faces are read by faceReader(), waiting for its answer.
    int AddFontResource(const QString &path);
    // The same with the first family name of each face already read by faceReader() (nothing
    // is added for no names).
    int addReadFaces(const QString &path, const QStringList &families);
    // Whether the file at `path` has a face the table would take (whether added or not).
    bool hasFaces(const QString &path);
    // Reads font files' faces for the table, bounded in time and memory.
    FaceReader &faceReader() { return m_reader; }
    // Undoes what AddFontResource did for the same path; any other path does nothing.
    void RemoveFontResource(const QString &path);
    // Tells this process's top-level widgets (a QEvent::ApplicationFontChange each, sent
    // directly) and, through the preview folder's time stamp, other programs' fontconfig,
    // which rescans when it next checks. Waits for no other program.
    void announceFontChange();
    // Removes the links that processes which no longer run left in the preview folder.
    void sweepStalePreviewLinks();
    // $XDG_DATA_HOME/fonts/tavoret-preview
    static QString previewFolder();

    // The face that draws `family` as the list names it: an installed font's regular face,
    // else a face added to the table, else fontconfig's substitute for the name. Costs no time
    // that grows with the number of installed fonts, but for a name that is neither installed
    // nor added, once per configuration.
    FontFace faceOf(const QString &family);
    // The installed fonts as last read (read now if they never were).
    std::shared_ptr<InstalledFaces> installedFonts();
    // Changes whenever what faceOf answers may have changed (fonts added, removed or installed).
    int generation() const { return m_generation; }
    // Called whenever generation() changes; a later listener replaces an earlier one.
    void setOnChange(std::function<void()> changed) { m_onChange = std::move(changed); }
    // How many times fontconfig's configuration was built (for the benchmark).
    int configurationBuilds() const;

private:
    void bringUpToDate();
    void changed();

    struct Added
    {
        QString path;            // absolute
        QString link;            // the link in the preview folder, empty when none could be made
        QStringList families;    // the first family name of each face, by face index
    };
    QList<Added> m_added;        // in the order they were added
    int m_generation = 0;
    std::function<void()> m_onChange;
    PreviewLinks m_links;
    FaceReader m_reader;
    std::shared_ptr<FontconfigState> m_fontconfig;
};

} // namespace platform
