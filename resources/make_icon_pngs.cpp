// Draws resources/tavoret.svg's shapes as the PNG sizes the program and desktops use, without
// needing an SVG renderer:
//   g++ -std=c++17 -fPIC resources/make_icon_pngs.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_icon_pngs
//   QT_QPA_PLATFORM=offscreen /tmp/make_icon_pngs resources/icons
// Keep it in step with tavoret.svg.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0); // the SVG's view box is 64 × 64
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f3b6e));
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);
        p.setPen(QPen(QColor(0x8fb3e8), 1));
        for (qreal at : {22, 42}) {
            p.drawLine(QPointF(at, 8), QPointF(at, 56));
            p.drawLine(QPointF(8, at), QPointF(56, at));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x00ff00));
        p.drawRect(QRectF(22, 22, 20, 20));
        QPainterPath letter;
        letter.moveTo(26, 38);
        letter.lineTo(32, 25);
        letter.lineTo(38, 38);
        letter.moveTo(28.5, 33);
        letter.lineTo(35.5, 33);
        p.setPen(QPen(QColor(0x1f3b6e), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(letter);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe3f1ff));
        p.drawEllipse(QPointF(15, 15), 3, 3);
        p.drawEllipse(QPointF(49, 49), 3, 3);
        p.end();
        if (!image.save(QStringLiteral("%1/tavoret-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size), "PNG", 9))
            return 1;
    }
}
