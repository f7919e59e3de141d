#include "Glyphs.h"

#include "Paint.h"

#include <QPainterPath>

#include <algorithm>

namespace lookgen {

namespace {

// Paints whole pixels regardless of the painter's antialiasing.
void pixels(QPainter &p, const QRect &r, QColor colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(r, colour);
    p.restore();
}

// The same on fractions of a design pixel (whole image pixels at the current scale).
void pixels(QPainter &p, const QRectF &r, QColor colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(r, colour);
    p.restore();
}

// A square of side s centred in box, on whole pixels.
QRect centredSquare(const QRect &box, int s)
{
    return QRect(box.left() + (box.width() - s) / 2, box.top() + (box.height() - s) / 2, s, s);
}

void frame(QPainter &p, const QRect &r, QColor colour, int weight, int topWeight)
{
    pixels(p, QRect(r.left(), r.top(), r.width(), topWeight), colour);
    pixels(p, QRect(r.left(), r.bottom() - weight + 1, r.width(), weight), colour);
    pixels(p, QRect(r.left(), r.top(), weight, r.height()), colour);
    pixels(p, QRect(r.right() - weight + 1, r.top(), weight, r.height()), colour);
}

void chevrons(QPainter &p, const QRect &box, QColor colour, bool up)
{
    // Two chevrons of arm 3, 2 px thick, 4 rows apart.
    const int cx = box.left() + box.width() / 2;
    const int total = 4 + 4 + 1;
    const int top = box.top() + (box.height() - total) / 2;
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i <= 3; ++i) {
            const int row = up ? top + c * 4 + i : top + c * 4 + (3 - i);
            pixels(p, QRect(cx - i, row, 1, 2), colour);
            pixels(p, QRect(cx + i, row, 1, 2), colour);
        }
    }
}

} // namespace

void drawArrow(QPainter &p, Glyph direction, const QRect &box, int height, QColor colour)
{
    const bool vertical = direction == Glyph::ArrowUp || direction == Glyph::ArrowDown;
    const int across = vertical ? box.width() : box.height();
    // An even box needs a 2-pixel apex to stay centred.
    const int apex = across % 2 == 0 ? 2 : 1;
    const int centre0 = (across - apex) / 2; // first apex pixel along the cross axis
    const int along = vertical ? box.height() : box.width();
    const int start = (along - height) / 2;
    for (int i = 0; i < height; ++i) {
        const int width = apex + 2 * i;
        const int from = centre0 - i;
        int step = 0;
        switch (direction) {
        case Glyph::ArrowUp:
        case Glyph::ArrowLeft:
            step = start + i;
            break;
        default:
            step = start + height - 1 - i;
            break;
        }
        if (vertical)
            pixels(p, QRect(box.left() + from, box.top() + step, width, 1), colour);
        else
            pixels(p, QRect(box.left() + step, box.top() + from, 1, width), colour);
    }
}

void drawGlyph(QPainter &p, Glyph g, const QRect &box, QColor colour, int weight)
{
    const int side = std::min(box.width(), box.height());
    switch (g) {
    case Glyph::Minimise: {
        const int w = std::max(5, side * 6 / 10);
        const int x = box.left() + (box.width() - w) / 2;
        const int h = weight + 1;
        const int y = box.top() + (box.height() + side) / 2 - (side * 3 / 10) - h + 1;
        pixels(p, QRect(x, y, w, h), colour);
        break;
    }
    case Glyph::Maximise: {
        const QRect r = centredSquare(box, std::max(6, side * 6 / 10));
        frame(p, r, colour, 1, weight + 1);
        break;
    }
    case Glyph::Restore: {
        const int s = std::max(5, side * 5 / 10);
        const int off = std::max(2, s / 3);
        const QRect all = centredSquare(box, s + off);
        const QRect back(all.left() + off, all.top(), s, s);
        const QRect front(all.left(), all.top() + off, s, s);
        // The back window shows only where the front one does not cover it.
        p.save();
        QRegion clip(box.adjusted(-2, -2, 2, 2));
        p.setClipRegion(clip.subtracted(QRegion(front)));
        frame(p, back, colour, 1, weight + 1);
        p.restore();
        frame(p, front, colour, 1, weight + 1);
        break;
    }
    case Glyph::Close: {
        // Two staircase diagonals of runs weight + 1 pixels long: crisp at any size, and no
        // half-covered pixels to fall apart when keyed.
        const int run = weight + 1;
        const int w = std::max(5, side * 7 / 10 + (weight > 1 ? 1 : 0));
        const int h = w - run + 1;
        const int x0 = box.left() + (box.width() - w) / 2;
        const int y0 = box.top() + (box.height() - h) / 2;
        // Twice as dense the stairs take half steps: the same cross, with smooth diagonals.
        const qreal step = 1.0 / scale();
        for (int i = 0; i < h * scale(); ++i) {
            const qreal at = i * step;
            pixels(p, QRectF(x0 + at, y0 + at, run, step), colour);
            pixels(p, QRectF(x0 + w - run - at, y0 + at, run, step), colour);
        }
        break;
    }
    case Glyph::Help: {
        // A question mark from a small pixel pattern, bold for weight 2.
        static const char *const regular[] = {".###.", "#...#", "....#", "...#.", "..#..",
                                              "..#..", ".....", "..#.."};
        static const char *const bold[] = {".####.", "##..##", "....##", "...##.", "..##..",
                                           "..##..", "......", "..##..", "..##.."};
        const bool isBold = weight > 1;
        const char *const *rows = isBold ? bold : regular;
        const int rowCount = isBold ? 9 : 8;
        const int columns = isBold ? 6 : 5;
        const int x0 = box.left() + (box.width() - columns) / 2;
        const int y0 = box.top() + (box.height() - rowCount) / 2;
        for (int y = 0; y < rowCount; ++y)
            for (int x = 0; x < columns; ++x)
                if (rows[y][x] == '#')
                    pixels(p, QRect(x0 + x, y0 + y, 1, 1), colour);
        break;
    }
    case Glyph::Window: {
        const int w = std::max(7, side * 7 / 10);
        const int h = std::max(6, w - 1);
        const QRect r(box.left() + (box.width() - w) / 2, box.top() + (box.height() - h) / 2, w, h);
        pixels(p, r, colour);
        pixels(p, r.adjusted(1, 3, -1, -1), lighter(colour, 0.92));
        pixels(p, QRect(r.right() - 2, r.top() + 1, 2, 1), lighter(colour, 0.7));
        break;
    }
    case Glyph::ArrowUp:
    case Glyph::ArrowDown:
    case Glyph::ArrowLeft:
    case Glyph::ArrowRight:
        drawArrow(p, g, box, std::max(2, (side + 2) / 4), colour);
        break;
    case Glyph::DoubleUp:
    case Glyph::DoubleDown:
        chevrons(p, box, colour, g == Glyph::DoubleUp);
        break;
    case Glyph::Check: {
        const QRectF r(box);
        QPainterPath tick;
        tick.moveTo(r.left() + r.width() * 0.12, r.top() + r.height() * 0.52);
        tick.lineTo(r.left() + r.width() * 0.40, r.top() + r.height() * 0.80);
        tick.lineTo(r.left() + r.width() * 0.90, r.top() + r.height() * 0.18);
        p.save();
        p.setPen(QPen(colour, weight + 0.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        p.restore();
        break;
    }
    case Glyph::Dot: {
        const qreal s = std::max(3.0, side * 0.45);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QRectF(box).center(), s / 2, s / 2);
        p.restore();
        break;
    }
    }
}

} // namespace lookgen
