#pragma once

#include <QEvent>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

// Moving and sizing a frameless top-level window. The window manager does it when it will
// (QWindow::startSystemMove / startSystemResize, which also snaps, tiles and shows its own
// feedback); where it refuses (no window manager, or one without the move-resize protocol) the
// window follows the mouse itself until the button is released, and Escape puts it back.
namespace Kav {

// Starts moving widget's window with the left button that is down now at globalPos. Returns true
// when the window manager took the move, false when the window moves itself (or there is none).
bool KavStartWindowMove(QWidget *widget, const QPoint &globalPos);
// The same for a button pressed at pressPos that has been moved to globalPos since: a window that
// moves itself follows at once.
bool KavStartWindowMove(QWidget *widget, const QPoint &pressPos, const QPoint &globalPos);

// Starts sizing widget's window from edges with the left button that is down now at globalPos.
// The window keeps its minimum and maximum size. Returns as KavStartWindowMove.
bool KavStartWindowResize(QWidget *widget, Qt::Edges edges, const QPoint &globalPos);

// Keyboard moving and sizing, for the window menu's Move and Size: the arrow keys move the window
// (or its bottom-right corner) by 10 pixels, with Ctrl by 1; Enter or a click ends, Escape puts the
// window back where it was.
void KavStartKeyboardMove(QWidget *widget);
void KavStartKeyboardResize(QWidget *widget);

// Whether a move or size that the window does itself is under way for widget's window.
bool KavWindowDragActive(const QWidget *widget);

// Whether the window manager is moving or sizing widget's window (started by the functions above).
// Meanwhile the window counts as active whatever Qt says: X window managers take the keyboard for
// the drag. When it is over the window receives an event of type KavWindowDragEndedEvent.
bool KavSystemDragActive(const QWidget *widget);
inline const QEvent::Type KavWindowDragEndedEvent = QEvent::Type(QEvent::registerEventType());

// The cursor that stands for sizing from edges (arrow for no edges).
Qt::CursorShape KavResizeCursor(Qt::Edges edges);

// The window geometry after sizing from edges by delta, kept within the window's minimum and
// maximum size; the opposite edges stay where they are.
QRect KavResizedGeometry(const QRect &geometry, Qt::Edges edges, const QPoint &delta,
                         const QSize &minimum, const QSize &maximum);

} // namespace Kav
