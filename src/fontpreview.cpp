#include "fontpreview.h"

#include "fonttable.h"

FontPreview::FontPreview(platform::FontTable &fonts) : m_fonts(fonts)
{
}

FontPreview::Result FontPreview::show(const QString &path)
{
    end();
    Result result;
    result.countBefore = int(m_fonts.ReadInstalledFontNames().size());
    m_file = path;
    const int facesAdded = m_fonts.AddFontResource(path);
    m_fonts.announceFontChange();
    result.names = m_fonts.ReadInstalledFontNames();
    if (result.names.size() != result.countBefore)
        result.outcome = Outcome::NewFace;
    else if (facesAdded == 0 && !path.isEmpty())
        result.outcome = Outcome::NotAFont;
    else
        result.outcome = Outcome::AlreadyInstalled;
    return result;
}

void FontPreview::end()
{
    m_fonts.RemoveFontResource(m_file);
}
