// Tavoret: a viewer for the characters 32 to 255 of installed and uninstalled fonts.
#include "unit1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavoret"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavoret"));
    QApplication::setApplicationVersion(QStringLiteral(TAVORET_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tavoret"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavoret.svg")));

    TForm1 form;
    form.move(0, 0);
    form.show();
    return app.exec();
}
