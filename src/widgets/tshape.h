// A plain geometric shape (rectangle or ellipse) filling its rectangle, with a brush and an
// outline; it takes no input.
#pragma once

#include <QColor>
#include <QWidget>

class TShape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(Shape shape READ shape WRITE setShape)
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)
    Q_PROPERTY(Qt::BrushStyle brushStyle READ brushStyle WRITE setBrushStyle)
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(Qt::PenStyle penStyle READ penStyle WRITE setPenStyle)

public:
    enum Shape { Rectangle, Ellipse };
    Q_ENUM(Shape)

    explicit TShape(QWidget *parent = nullptr);

    Shape shape() const { return m_shape; }
    void setShape(Shape shape);
    QColor brushColor() const { return m_brushColor; }
    void setBrushColor(const QColor &color);
    Qt::BrushStyle brushStyle() const { return m_brushStyle; }
    void setBrushStyle(Qt::BrushStyle style);
    QColor penColor() const { return m_penColor; }
    void setPenColor(const QColor &color);
    Qt::PenStyle penStyle() const { return m_penStyle; }
    void setPenStyle(Qt::PenStyle style);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Shape m_shape = Rectangle;
    QColor m_brushColor = Qt::white;
    Qt::BrushStyle m_brushStyle = Qt::SolidPattern;
    QColor m_penColor = Qt::black;
    Qt::PenStyle m_penStyle = Qt::SolidLine;
};
