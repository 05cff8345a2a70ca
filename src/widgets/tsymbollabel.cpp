#include "tsymbollabel.h"
#include "interfacefonts.h"

#include <QFile>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

TSymbolLabel::TSymbolLabel(QWidget *parent)
    : QLabel(parent)
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
        return QLabel::sizeHint();
    qreal width = 0;
    const QList<quint32> glyphs = m_ownFont.glyphIndexesForString(text());
    for (const QPointF &advance : m_ownFont.advancesForGlyphIndexes(glyphs))
        width += advance.x();
    const QMargins margins = contentsMargins();
    return QSize(qRound(width) + margins.left() + margins.right(),
                 qRound(m_ownFont.ascent() + m_ownFont.descent()) + margins.top()
                         + margins.bottom());
}

QSize TSymbolLabel::minimumSizeHint() const
{
    return m_drawOwn ? sizeHint() : QLabel::minimumSizeHint();
}

void TSymbolLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        chooseFont();
}

void TSymbolLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    fitToCaption();
}

// An installed face of the font's family list wins: the label's font then names that one face
// alone. The own file stands in only when none of them is installed. Installed means known to
// Qt's font database: asking Qt for a face it does not have would make it search every
// installed family.
void TSymbolLabel::chooseFont()
{
    const QStringList families = font().families().isEmpty() ? QStringList{font().family()} : font().families();
    const auto installed = std::find_if(families.cbegin(), families.cend(), platform::QtHasFamily);
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
        QLabel::paintEvent(event);
        return;
    }
    // The background, when the label fills it, is already painted.
    const QList<quint32> glyphs = m_ownFont.glyphIndexesForString(text());
    if (glyphs.isEmpty())
        return;
    QList<QPointF> positions;
    qreal x = 0;
    for (const QPointF &advance : m_ownFont.advancesForGlyphIndexes(glyphs)) {
        positions.append(QPointF(x, 0));
        x += advance.x();
    }
    const QSize textSize(qRound(x), qRound(m_ownFont.ascent() + m_ownFont.descent()));
    const QRect box = QStyle::alignedRect(layoutDirection(), alignment(), textSize, contentsRect());

    QGlyphRun run;
    run.setRawFont(m_ownFont);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(box.left(), box.top() + m_ownFont.ascent()), run);
}

void TSymbolLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TSymbolLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
            m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}
