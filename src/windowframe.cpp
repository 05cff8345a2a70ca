#include "windowframe.h"

#include <QWidget>

QSize windowFrameSize(const QMargins &frame)
{
    return QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

QSize windowFrameSize(const QWidget &window)
{
    return window.frameGeometry().size() - window.size();
}
