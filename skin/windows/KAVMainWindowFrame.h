#pragma once

#include <QRect>

class QMainWindow;
class QMenuBar;
class QWidget;

// A skinned form on a QMainWindow. The main window lays out its own menu bar, tool bars, dock
// widgets, central widget and status bar; its contents margins keep them inside the skinned frame
// (the border, and the form's title bar at the top). The form itself shrinks to the strip of its
// title bar, so it covers none of the window's widgets and the window keeps the mouse between its
// docks (their separators) and over its tool bars' handles.
namespace Kav {

// The main window a form skins, or nullptr when owner is no QMainWindow.
QMainWindow *KavMainWindowOf(QWidget *owner);

// Lays window out inside the frame. inner is what a form covers on any other window (all but the
// border), barsHeight the height of the form's own bars at its top. Returns the form's geometry:
// the strip of those bars.
QRect KavFitMainWindowInFrame(QMainWindow *window, const QRect &inner, int barsHeight);

// The menu bar window shows, or nullptr (a menu widget that is no QMenuBar, or none yet: a main
// window makes its menu bar only when asked for it).
QMenuBar *KavMainWindowMenuBar(QWidget *window);

} // namespace Kav
