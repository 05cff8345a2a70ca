// The preview of one font file at a time: the previous file leaves the font table, the new one
// enters it, and the outcome says what the selector is to show.
#pragma once

#include <QString>
#include <QStringList>

namespace platform {
class FontTable;
}

class FontPreview
{
public:
    enum class Outcome {
        NewFace,          // the list grew: its last name is the file's face
        AlreadyInstalled, // the list is as long as before
        NotAFont,         // a file the table takes no face from
    };
    struct Result
    {
        Outcome outcome;
        QStringList names;   // the installed face names, read after the file was added
        int countBefore = 0; // their number before, with the previous file removed
    };

    explicit FontPreview(platform::FontTable &fonts);

    // Ends the preview under way and previews `path` (an empty path only ends it). Other
    // programs hear of the change.
    Result show(const QString &path);
    // Removes the file under preview from the font table; the file stays the one last shown.
    void end();

private:
    platform::FontTable &m_fonts;
    QString m_file;
};
