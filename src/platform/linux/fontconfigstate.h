// This process's fontconfig configuration, kept in step with the font folders on disk.
//
// fontconfig notices a changed folder only by whole seconds of its modification time (a font
// copied in the same second as the last check is missed for good) and, with a rescan interval
// of 0, not at all. So this class stamps every font folder and configuration file to the
// nanosecond and builds a new current configuration when a stamp changed. Its configurations
// never rescan on their own, so the fonts this process registered (fontconfig's application
// set) are not dropped behind its back.
#pragma once

#include "platform/fontface.h"
#include "platform/installedfaces.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

typedef struct _FcPattern FcPattern;
typedef struct _FcConfig FcConfig;

namespace platform {

class FontconfigState : public InstalledFaces
{
public:
    // Fonts lying in `excludedFolder` never count as system fonts.
    explicit FontconfigState(const QString &excludedFolder);
    ~FontconfigState() override;
    FontconfigState(const FontconfigState &) = delete;
    FontconfigState &operator=(const FontconfigState &) = delete;

    // Builds a new current configuration when this is the first call or a font folder or a
    // configuration file changed since the last build. Returns whether it built one.
    bool bringUpToDate();
    // The first family name of every installed font (fonts in the excluded folder left out),
    // each name once, where it first appears. Read once per build.
    QStringList familyNames() const { return m_names; }
    bool listsName(const QString &family) const { return m_faces.value(family).listed; }
    // The regular face of an installed family (any of a font's family names, spelt exactly);
    // invalid when no installed font has that name.
    FontFace installedFace(const QString &family) const override;
    // The installed family fontconfig draws a family name with, which need not be installed:
    // the name itself, else its aliases and defaults. Answers are kept until the next build.
    QString substituteFamily(const QString &family) override;
    // How many configurations were built so far.
    int builds() const { return m_builds; }

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
    static Stamp takeStamp(const QByteArray &path);
    bool changed() const;
    void rebuild();
    QByteArray rejectRules() const;
    void stampConfiguration(qint64 buildStart);
    bool isExcluded(const char *file) const;
    void indexFonts();

    struct Indexed
    {
        QStringList families;
        int distance = 0;
    };
    static Indexed readFont(FcPattern *font);

    struct Candidate
    {
        FcPattern *font = nullptr; // owned by the current configuration
        int distance = 0;          // from a regular, upright, normal-width style; smaller is better
        bool listed = false;       // some font's first family name
    };

    FcConfig *m_config = nullptr; // the configuration of the last build, referenced
    QString m_excludedFolder;
    QList<QByteArray> m_excludedPrefixes; // the excluded folder as fontconfig may name it, with '/'
    std::vector<Stamp> m_stamps;
    bool m_built = false;
    bool m_racy = false; // something changed while the last build ran: build again next time
    int m_builds = 0;
    QStringList m_names;
    QHash<QString, Candidate> m_faces;     // best face by family name
    QHash<FcPattern *, Indexed> m_indexed; // what was read of each font of the current build
    QHash<QString, QString> m_substitutes; // substituteFamily answers of this build
};

} // namespace platform
