// The frame a window manager draws around a top-level window: its title bar and borders.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>

#include <functional>

class QWidget;

namespace platform {

// Reads a window's frame from the window system whenever asked, and reports when the window
// manager gives it another frame. Qt keeps the extents it read at the last configure event, so
// its frame geometry can lag behind a frame that changed with a maximise, and a new theme
// changes the frame without resizing the window at all.
class FrameExtents : public QAbstractNativeEventFilter
{
public:
    // Watches `window`; `changed` runs whenever its window manager sets new extents.
    FrameExtents(const QWidget *window, std::function<void()> changed);
    ~FrameExtents() override;
    FrameExtents(const FrameExtents &) = delete;
    FrameExtents &operator=(const FrameExtents &) = delete;

    // The frame's width on each side, in device-independent pixels: as the window manager set
    // it on X11 (where it set none, as Qt has it), as Qt has it elsewhere.
    QMargins current() const;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QMargins qtFrame() const;

    const QWidget *m_window;
    std::function<void()> m_changed;
    unsigned m_atom = 0; // _NET_FRAME_EXTENTS; 0 without an X11 connection
};

} // namespace platform
