// What a top-level window's frame (its title bar and borders) adds to its client area.
#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

// The size a frame with these sides adds to a client area.
QSize windowFrameSize(const QMargins &frame);
// The size the frame Qt knows for `window` adds: its outer size less its client size.
QSize windowFrameSize(const QWidget &window);
