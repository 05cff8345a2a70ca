// The preview of one font file at a time: the previous file leaves the font table, the new one
// enters it, and the outcome says what the selector is to show. A file whose faces take long
// to read does not hold up the window: its outcome comes later.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace platform {
class FontTable;
}

class FontPreview : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Read,     // the table took the file's faces (or the preview ended): compare the
                  // names with countBefore to tell a new face from one installed already
        NotAFont, // a file the table takes no face from
        Pending,  // the file is still being read: the outcome comes through `shown`
    };
    struct Result
    {
        Outcome outcome;
        QStringList names;   // the installed face names, read after the file was added
        int countBefore = 0; // their number before, with the previous file removed
    };
    // How long a preview waits for the file's faces before it lets the window go on. Reading a
    // common font takes a few milliseconds.
    static constexpr int AnswerWithinMs = 50;

    explicit FontPreview(platform::FontTable &fonts, QObject *parent = nullptr);

    // Ends the preview under way and previews `path` (an empty path only ends it). Other
    // programs hear of the change.
    Result show(const QString &path);
    // Removes the file under preview from the font table; the file stays the one last shown.
    // A preview still being read ends without an outcome.
    void end();
    // How long show() waits before its outcome is Pending (for tests on a slow machine).
    void setAnswerWithin(int ms) { m_answerWithinMs = ms; }

signals:
    // The outcome of a preview that show() left Pending.
    void shown(const FontPreview::Result &result);

private:
    Result finish(const QStringList &families);
    void faceReaderAnswered(const QString &path, const QStringList &families);

    platform::FontTable &m_fonts;
    QString m_file;
    QString m_reading; // the absolute path whose faces are awaited; empty when none
    int m_countBefore = 0;
    int m_answerWithinMs = AnswerWithinMs;
};
