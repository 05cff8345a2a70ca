// Whether a window system is there to show windows on, asked before Qt tries (and aborts).
#pragma once

#include <QString>

namespace platform {

// Asks once, on construction, whether Qt's platform `platformName` (as given by -platform or
// QT_QPA_PLATFORM; empty for Qt's default) can open a display. The X11 and Wayland platforms,
// and the default, need a server that answers: the X display `x11Display` (DISPLAY when empty)
// or the Wayland socket of WAYLAND_DISPLAY with Qt's Wayland platform installed. Any other platform (offscreen, vnc, ...) is taken
// to need none.
// The X connection made for the question stays open until release(): an X server whose last
// client leaves resets itself, and would turn Qt away while it does.
class DisplayCheck
{
public:
    DisplayCheck(const QString &platformName, const QString &x11Display);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck &) = delete;
    DisplayCheck &operator=(const DisplayCheck &) = delete;

    bool canOpen() const { return m_canOpen; }
    // Why not, in a line for the user; empty when it can.
    QString whatIsMissing() const;
    // Closes the check's own connection, once the application has made its own.
    void release();

private:
    bool x11DisplayAnswers(const QString &display);
    // A Wayland socket answers and Qt has its Wayland platform to talk to it.
    bool waylandAnswers(bool namedExplicitly);

    void *m_connection = nullptr; // the window system's connection, kept open until release()
    bool m_canOpen = false;
    bool m_waylandPluginMissing = false;
};

} // namespace platform
