#pragma once

// Where the title bar's pieces go: the background sections, the picture buttons, the caption and
// the window shape. Pure arithmetic on sizes, so that the title bar draws its buttons exactly
// where it hit-tests them, and so that the numbers can be checked without a window.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

#include <functional>

namespace Kav::TitleBarLayout {

// ---- Sections ---------------------------------------------------------------------------------

enum class Side : quint8 { Left, Right, Client };

struct SectionInput {
    Side side = Side::Left;
    int width = 0;
    bool stretch = false;
};

// One section drawn: its picture stretched over dest, or (stretch false) the picture's top-left
// dest.size() pixels copied to dest.
struct SectionPiece {
    int section = -1;
    QRect dest;
    bool stretch = false;
};

// Left sections are laid from the left edge, right ones from the right edge, in collection order;
// a right section is left out when the bar is narrower than what the left ones took plus its
// width. The last client section stretches over what lies between (nothing when nothing is left).
QList<SectionPiece> sections(const QList<SectionInput> &input, const QSize &bar);

// ---- Buttons and caption ----------------------------------------------------------------------

struct ButtonInput {
    bool visible = true;
    bool controlBox = false;
    QSize size;   // the size of the button's normal picture
    int top = 0;
};

struct Input {
    int barWidth = 0;
    int leftOffset = 0;   // left edge of the control box
    int rightOffset = 0;  // shift of the right-hand row (negative: to the left)
    int interval = 0;     // extra gap between right-hand buttons
    bool drawAppIcon = false;
    QList<ButtonInput> buttons;
};

struct Result {
    QList<QRect> buttons;    // per input button; null when it is not shown
    int controlBox = -1;     // the visible control box's index, -1 without one
    QPoint appIcon{-1, -1};  // where the application icon goes (DrawAppIcon), (-1, -1) when not
    int captionLeft = 0;     // the caption starts here...
    int captionRight = 0;    // ...and must end before the leftmost right-hand button
};

// Right-hand buttons from the right edge leftwards, one pixel apart plus interval; the control
// box (the last visible one counts) at leftOffset, with the caption after it.
Result layout(const Input &input);

// The button under point (edges inclusive), -1 for none. Buttons never overlap: they lie at
// least one pixel apart.
int buttonAt(const Result &result, const QPoint &point);

// The caption shortened to fit room pixels: the whole text when it fits, else its longest prefix
// that fits followed by "..." (just "..." when no prefix fits). Surrogate pairs are never split.
QString elideCaption(const QString &caption, int room, const std::function<int(const QString &)> &widthOf);

// ---- Window shape -----------------------------------------------------------------------------

// The window's shape for a client area of this size: the top corners rounded with an r x r
// corner ellipse, the bottom corners square. Empty for r <= 0 (the window keeps no mask).
QRegion windowShape(const QSize &client, int r);

} // namespace Kav::TitleBarLayout
