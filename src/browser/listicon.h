// The small pictures beside the entries of the drive selector and the folder list.
#pragma once

#include <QIcon>

#include <functional>

class QPainter;

constexpr int ListIconSize = 16;

// A picture that `draw` paints on a transparent ground in a ListIconSize square, drawn anew at
// each size and screen scale it is shown at. The style leaves it untinted when its entry is
// selected.
QIcon listIcon(const std::function<void(QPainter &)> &draw);
