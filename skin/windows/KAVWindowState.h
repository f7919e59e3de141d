#pragma once

#include <QRect>

#include <functional>

class QWidget;

// Maximising and restoring a frameless top-level window, and what the platform lets a window do
// with itself.
//
// The window manager (or the Wayland compositor) maximises a window when asked
// (QWidget::showMaximized), sizes it to the work area, remembers the size to come back to and
// restores it; Qt reports the state (windowState(), QEvent::WindowStateChange). A skinned window
// only asks, and shows what the state is. Only where nobody answers the request (an X server with
// no window manager) does the window place itself on the work area, and put itself back when it is
// restored. A maximised window's geometry is never set against the window manager: X window
// managers drop the maximised state, a Wayland compositor ends the program for it.
namespace Kav {

// Makes a top-level window place itself on the work area while it is maximised (and back when it
// is restored) where no window manager does; the skinned forms call it for their windows.
void KavFollowWindowState(QWidget *window);

// Maximises a normal window, restores a maximised (or full-screen) one. An MDI sub-window does
// this inside its MDI area by itself.
void KavToggleMaximized(QWidget *window);

// Whether the platform lets a window place itself on the screen: not on Wayland, where the
// compositor alone places windows (a client cannot even read its position there).
bool KavWindowsPlaceThemselves();

// Whether a window manager answers maximise requests (and moves windows on request). True on
// every platform but an X server without an EWMH window manager.
bool KavWindowManagerAnswers();

// For tests: replaces the answer of KavWindowManagerAnswers (an empty function restores it).
void KavSetWindowManagerProbe(std::function<bool()> probe);

// The geometry a window comes back to from maximised, as far as the skin keeps it (only where it
// places the window itself); an invalid rectangle otherwise.
QRect KavRestoreGeometry(const QWidget *window);

} // namespace Kav
