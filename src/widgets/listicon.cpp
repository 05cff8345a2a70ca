#include "listicon.h"

#include <QPainter>
#include <QPixmap>

QIcon listIcon(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(ListIconSize, ListIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    painter.end();
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}
