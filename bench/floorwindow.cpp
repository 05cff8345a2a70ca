// tavoret_floor: the least a Qt Widgets program does to show a window, the floor that the
// program's start-up figures are compared with: a label in a 640 x 600 window at 0,0, in a
// 9-point application font.
//
//   tavoret_floor [FAMILY]     (default "DejaVu Sans")
//
// FAMILY should be an installed family: for an unknown one Qt searches every installed font
// for a fallback, which is a cost of that name, not of showing a window.
#include <QApplication>
#include <QFont>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString family = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("DejaVu Sans");
    QApplication::setFont(QFont(family, 9));
    QLabel label(QStringLiteral("Tavoret"));
    label.setGeometry(0, 0, 640, 600);
    label.show();
    return app.exec();
}
