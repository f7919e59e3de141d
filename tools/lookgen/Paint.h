#pragma once

// Small painting toolkit for the look pictures. Every picture is painted antialiased into an
// ARGB canvas (its coverage ends up in the alpha channel) and then flattened into an opaque RGB
// picture: either over a background colour, or keyed, where pixels the shape covers less than
// half become exactly magenta and all others are blended over a colour close to what will be
// behind them on screen. Keyed edges are therefore hard: no pixel ever blends with magenta.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <initializer_list>
#include <utility>

namespace lookgen {

inline constexpr QRgb kMagenta = 0xFFFF00FF;

using Stops = std::initializer_list<std::pair<qreal, QColor>>;

// How many image pixels each design pixel gets: 1 for the pictures, 2 for their high-density
// copies. Every canvas and picture made while it is set has that many pixels per design pixel
// and carries it as its device pixel ratio, so painters keep working in design coordinates.
void setScale(int pixelsPerPoint);
int scale();
// A picture of w x h design pixels at the current scale, unfilled.
QImage scaledImage(QSize size, QImage::Format format);

// A transparent ARGB canvas of w x h design pixels.
QImage canvas(int w, int h);
// A painter on a canvas, antialiased.
void beginPainter(QPainter &p, QImage &image);

// Opaque picture: the canvas composed over background.
QImage flatten(const QImage &argb, QColor background);
// Keyed picture: coverage below half -> key colour, the rest composed over behind.
QImage keyed(const QImage &argb, QColor behind, QRgb key = kMagenta);

// Frames side by side, all of the height of the first.
QImage strip(const QList<QImage> &frames);
QImage rotatedLeft(const QImage &image);  // 90 degrees anticlockwise
QImage rotatedRight(const QImage &image); // 90 degrees clockwise

QLinearGradient vertical(const QRectF &r, Stops stops);
QLinearGradient horizontal(const QRectF &r, Stops stops);

QColor mix(QColor a, QColor b, qreal t); // t = 0 gives a, 1 gives b
QColor lighter(QColor c, qreal t);       // towards white
QColor darker(QColor c, qreal t);        // towards black
QColor grey(int level);
QColor withAlpha(QColor c, int alpha);

QPainterPath roundedRect(const QRectF &r, qreal radius);
// A rectangle with only its top corners rounded (tabs).
QPainterPath topRoundedRect(const QRectF &r, qreal radius);
// A slider that points down: rounded top, a tip at the bottom centre. tipHeight is the height
// of the pointed part.
QPainterPath pointerDown(const QRectF &r, qreal radius, qreal tipHeight);

// An outline that can be inset: the face's border is the ring between the shape and the shape
// inset by one pixel.
struct Shape {
    enum Kind { Round, TopRound, Pointer, Ellipse };
    Kind kind = Round;
    qreal radius = 0;
    qreal tip = 0; // Pointer only
    QPainterPath path(const QRectF &r, qreal inset = 0) const;
};

// A glossy face: base gradient, border, optional inner ring and highlight, a gloss over the
// upper part and a glow at the bottom. Used for buttons, thumbs, boxes and title-bar buttons.
struct Face {
    QGradientStops base;    // base colours from top to bottom (across: left to right)
    bool across = false;    // base runs left to right (faces that are turned for other bars)
    QColor border;          // outline
    QColor ring;            // a ring just inside the border (invalid: none)
    qreal ringWidth = 1.0;
    QColor innerLight;      // 1 px highlight along the inside of the upper half (invalid: none)
    qreal gloss = 0.0;      // strength of the white gloss over the upper part (0..1)
    qreal glossEnd = 0.5;   // where the gloss ends, as a fraction of the height
    QColor glow;            // a lighter glow rising from the bottom (invalid: none)
    bool glowEven = false;  // the glow rises evenly along the whole width instead of from the
                            // middle, so every column between the rounded ends is alike
};
// A face whose base runs from top to bottom colour.
Face face(QColor top, QColor bottom, QColor border);
// A face shaded across, from its edges (left and right) to its middle: scroll and handle parts.
Face faceAcross(QColor edge, QColor middle, QColor border);
QGradientStops stops(Stops list);

void paintFace(QPainter &p, const Shape &shape, const QRectF &bounds, const Face &face);

// Rows of a vertical profile: colour of each row of a bar, used to paint title bars and to
// give opaque title-bar buttons exactly the background they will sit on.
using Profile = QList<QColor>;
void fillProfile(QImage &image, const Profile &profile, int firstRow = 0);

} // namespace lookgen

namespace lookgen {
// n row colours sampled from a top-to-bottom gradient (stop positions 0..1 over the rows).
Profile sampleRows(int n, Stops stops);
} // namespace lookgen
