#include "tshape.h"

#include <QPainter>

TShape::TShape(QWidget *parent)
    : QWidget(parent)
{
    // A shape is drawn on its parent's surface: it lets clicks through to what lies beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::setShape(Shape shape)
{
    m_shape = shape;
    update();
}

void TShape::setBrushColor(const QColor &color)
{
    m_brushColor = color;
    update();
}

void TShape::setBrushStyle(Qt::BrushStyle style)
{
    m_brushStyle = style;
    update();
}

void TShape::setPenColor(const QColor &color)
{
    m_penColor = color;
    update();
}

void TShape::setPenStyle(Qt::PenStyle style)
{
    m_penStyle = style;
    update();
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A hatch leaves the parent's colour showing between its lines.
    painter.setBrush(QBrush(m_brushColor, m_brushStyle));
    const bool outlined = m_penStyle != Qt::NoPen;
    painter.setPen(outlined ? QPen(m_penColor, 1, m_penStyle) : QPen(Qt::NoPen));
    // With an outline, the one-pixel pen lies just inside the widget's rectangle.
    const QRect box = outlined ? rect().adjusted(0, 0, -1, -1) : rect();
    if (m_shape == Ellipse)
        painter.drawEllipse(box);
    else
        painter.drawRect(box);
}
