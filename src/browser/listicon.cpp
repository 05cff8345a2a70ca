#include "browser/listicon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {
// Paints the picture at whatever size it is asked for, so that it stays sharp on a screen of
// any scale instead of a small bitmap being stretched. Selected entries get it untinted.
class ListIconEngine : public QIconEngine
{
public:
    explicit ListIconEngine(std::function<void(QPainter &)> draw) : m_draw(std::move(draw)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(qreal(rect.width()) / ListIconSize, qreal(rect.height()) / ListIconSize);
        m_draw(*painter);
        painter->restore();
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }
    QIconEngine *clone() const override { return new ListIconEngine(m_draw); }

private:
    std::function<void(QPainter &)> m_draw;
};
} // namespace

QIcon listIcon(const std::function<void(QPainter &)> &draw)
{
    return QIcon(new ListIconEngine(draw));
}
