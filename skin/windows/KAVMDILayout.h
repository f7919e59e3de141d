#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Where Tile and Cascade put the children of a skinned MDI parent. Pure arithmetic, so that the
// bounds can be checked without windows.
namespace Kav::MdiLayout {

enum class TileMode { Horizontal, Vertical };

// Width of a minimised child's strip (its title bar) at the bottom of the area.
inline constexpr int MinimizedWidth = 160;
// Height of that strip when no child says otherwise.
inline constexpr int MinimizedHeight = 20;

// What the arrangement needs of the parent: its client size and the height of its title bar and
// of its menu bar (0 for a hidden bar).
struct Frame {
    QSize client;
    int titleBarHeight = 0;
    int menuBarHeight = 0;
    // Room the strips of minimised children take at the bottom.
    int minimizedHeight = MinimizedHeight;
};

// Children side by side (Vertical) or one above the other (Horizontal). minimized lists the
// children in the order they are placed (the bottom of the stack first); the result has one
// rectangle per child, a null QRect for a minimised one, which keeps its place. Neighbours overlap
// by 6 pixels so that their borders do not double. Minimised children leave their strips' height
// (Frame::minimizedHeight) at the bottom. Sizes never go below 0, and a tile never starts before the one before.
QList<QRect> tile(const Frame &frame, const QList<bool> &minimized, TileMode mode);

// Children stacked down and to the right, each 80% as wide and 60% as high as the client area and
// a title bar's height + 3 further along than the one before; minimised ones keep their place
// (null QRect) and take no step.
QList<QRect> cascade(const Frame &frame, const QList<bool> &minimized);

} // namespace Kav::MdiLayout
