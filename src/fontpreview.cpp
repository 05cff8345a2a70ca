#include "fontpreview.h"

#include "platform/fonttable.h"

#include <QDir>
#include <QFileInfo>

FontPreview::FontPreview(platform::FontTable &fonts, QObject *parent) : QObject(parent), m_fonts(fonts)
{
    connect(&fonts.faceReader(), &platform::FaceReader::answered, this, &FontPreview::faceReaderAnswered);
}

FontPreview::Result FontPreview::show(const QString &path)
{
    end();
    m_countBefore = int(m_fonts.ReadInstalledFontNames().size());
    m_file = path;
    if (path.isEmpty())
        return finish(QStringList());
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const std::optional<QStringList> families = m_fonts.faceReader().read(file, m_answerWithinMs);
    if (families)
        return finish(*families);
    m_reading = file;
    return Result{Outcome::Pending, m_fonts.ReadInstalledFontNames(), m_countBefore};
}

FontPreview::Result FontPreview::finish(const QStringList &families)
{
    Result result;
    result.countBefore = m_countBefore;
    const int facesAdded = m_fonts.addReadFaces(m_file, families);
    m_fonts.announceFontChange();
    result.names = m_fonts.ReadInstalledFontNames();
    const bool listGrew = result.names.size() != result.countBefore;
    result.outcome = facesAdded == 0 && !m_file.isEmpty() && !listGrew ? Outcome::NotAFont : Outcome::Read;
    return result;
}

void FontPreview::faceReaderAnswered(const QString &path, const QStringList &families)
{
    if (m_reading.isEmpty() || path != m_reading)
        return;
    m_reading.clear();
    emit shown(finish(families));
}

void FontPreview::end()
{
    m_reading.clear();
    m_fonts.RemoveFontResource(m_file);
}
