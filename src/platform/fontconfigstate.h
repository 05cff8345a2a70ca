// This process's fontconfig configuration, kept in step with the font folders on disk.
//
// fontconfig notices a changed folder only by whole seconds of its modification time (a font
// copied in the same second as the last check is missed for good) and, with a rescan interval
// of 0, not at all. So this class stamps every font folder and configuration file to the
// nanosecond and builds a new current configuration when a stamp changed. Its configurations
// never rescan on their own, so the fonts this process registered (fontconfig's application
// set) are not dropped behind its back.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

class FontconfigState
{
public:
    // Fonts lying in `excludedFolder` never count as system fonts.
    explicit FontconfigState(const QString &excludedFolder);

    // Builds a new current configuration when this is the first call or a font folder or a
    // configuration file changed since the last build. Returns whether it built one.
    bool BringUpToDate();
    // The first family name of every font, the system set first (fonts in the excluded folder
    // left out), then the set added in this process; each name once, where it first appears.
    QStringList FamilyNames() const;
    // The files of the system set, fonts in the excluded folder left out.
    QStringList SystemFontFiles() const;

private:
    struct Stamp
    {
        QByteArray path;
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 modified = 0; // nanoseconds since the epoch
        bool operator==(const Stamp &other) const;
    };
    static Stamp TakeStamp(const QByteArray &path);
    bool Changed() const;
    void Rebuild();
    QByteArray RejectRules() const;
    void StampConfiguration(qint64 buildStart);
    bool IsExcluded(const char *file) const;

    QString m_excludedFolder;
    QList<QByteArray> m_excludedPrefixes; // the excluded folder as fontconfig may name it, with '/'
    std::vector<Stamp> m_stamps;
    bool m_built = false;
    bool m_racy = false; // something changed while the last build ran: build again next time
};

} // namespace platform
