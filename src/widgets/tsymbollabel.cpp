#include "tsymbollabel.h"

#include "platform/fontface.h"
#include "interfacefonts.h"

#include <QEvent>
#include <QFile>
#include <QGlyphRun>
#include <QPainter>
#include <QStyle>

#include <algorithm>

TSymbolLabel::TSymbolLabel(QWidget *parent)
    : ClickableLabel(parent)
{
    setProperty("showsNamedFace", true);
}

void TSymbolLabel::setOwnFontFile(const QString &path)
{
    m_ownFontFile = path;
    m_ownFontData.clear();
    m_ownFont = QRawFont();
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly))
        m_ownFontData = file.readAll();
    chooseFont();
}

QSize TSymbolLabel::sizeHint() const
{
    if (!m_drawOwn)
        return ClickableLabel::sizeHint();
    return ownCaptionSize().grownBy(contentsMargins());
}

// The caption's size in the label's own font.
QSize TSymbolLabel::ownCaptionSize() const
{
    qreal width = 0;
    const QList<quint32> glyphs = m_ownFont.glyphIndexesForString(text());
    for (const QPointF &advance : m_ownFont.advancesForGlyphIndexes(glyphs))
        width += advance.x();
    return QSize(qRound(width), qRound(m_ownFont.ascent() + m_ownFont.descent()));
}

QSize TSymbolLabel::minimumSizeHint() const
{
    return m_drawOwn ? sizeHint() : ClickableLabel::minimumSizeHint();
}

void TSymbolLabel::changeEvent(QEvent *event)
{
    ClickableLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        chooseFont();
}

void TSymbolLabel::showEvent(QShowEvent *event)
{
    ClickableLabel::showEvent(event);
    fitToCaption();
}

// An installed face of the font's family list wins: the label's font then names that one face
// alone. The own file stands in only when none of them is installed. Installed means known to
// Qt's font database: asking Qt for a face it does not have would make it search every
// installed family.
void TSymbolLabel::chooseFont()
{
    const QStringList families = font().families().isEmpty() ? QStringList{font().family()} : font().families();
    const auto installed = std::find_if(families.cbegin(), families.cend(), interfacefonts::qtHasFamily);
    if (installed != families.cend() && families.size() > 1) {
        QFont single = font();
        single.setFamilies({*installed});
        setFont(single); // comes back here with the one installed face
        return;
    }
    m_drawOwn = installed == families.cend() && !m_ownFontData.isEmpty();
    if (m_drawOwn) {
        if (!m_ownFont.isValid())
            m_ownFont.loadFromData(m_ownFontData, fontPixelSize(), QFont::PreferDefaultHinting);
        m_ownFont.setPixelSize(fontPixelSize());
        m_drawOwn = m_ownFont.isValid();
    }
    fitToCaption();
    update();
}

void TSymbolLabel::fitToCaption()
{
    resize(sizeHint());
}

qreal TSymbolLabel::fontPixelSize() const
{
    if (font().pixelSize() > 0)
        return font().pixelSize();
    return font().pointSizeF() * logicalDpiY() / 72.0;
}

void TSymbolLabel::paintEvent(QPaintEvent *event)
{
    if (!m_drawOwn) {
        ClickableLabel::paintEvent(event);
        return;
    }
    // The background, when the label fills it, is already painted.
    const QGlyphRun run = platform::glyphRunOf(m_ownFont, text());
    if (run.glyphIndexes().isEmpty())
        return;
    const QRect box = QStyle::alignedRect(layoutDirection(), alignment(), ownCaptionSize(), contentsRect());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(box.left(), box.top() + m_ownFont.ascent()), run);
}
