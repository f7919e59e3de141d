#pragma once

// The small symbols on the pictures: title-bar button marks, arrows, check marks. Marks made of
// straight horizontal and vertical strokes are drawn on whole pixels so they stay crisp at
// 9 to 13 pixels; diagonal ones are antialiased.

#include <QColor>
#include <QPainter>
#include <QRect>

namespace lookgen {

enum class Glyph {
    Window,   // the control box: a tiny window
    Help,     // question mark
    Maximise,
    Restore,
    Minimise,
    Close,    // a cross
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    DoubleUp,   // two stacked chevrons
    DoubleDown,
    Check,
    Dot,
};

// Draws g centred in box. weight (1 or 2) thickens the marks: the title stroke of window
// frames, the bar of minimise, the runs of the cross, the check and the question mark.
void drawGlyph(QPainter &p, Glyph g, const QRect &box, QColor colour, int weight = 1);

// A filled arrow of the given height (rows), its flat side centred on the box's centre line.
void drawArrow(QPainter &p, Glyph direction, const QRect &box, int height, QColor colour);

} // namespace lookgen
