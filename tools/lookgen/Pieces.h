#pragma once

// Builders for the kinds of pictures every look has. A look describes its design with these
// recipes (sizes, shapes, faces, colours); the builders lay out frames exactly as the skin cuts
// them.

#include "Glyphs.h"
#include "Paint.h"

#include <QImage>
#include <QMap>
#include <QString>

#include <array>
#include <functional>

namespace lookgen {

using Pictures = QMap<QString, QImage>;

// Picture background: either opaque over a colour, or keyed on magenta with edge pixels blended
// over a colour close to what shows through.
struct Behind {
    QColor colour;
    bool keyed = false;
};
QImage finish(const QImage &argb, const Behind &behind);

// Push button: three frames (normal, mouse over, pressed), stretched by nine-part drawing, so
// rounded corners stay within the frame's quarter corners.
struct ButtonRecipe {
    QSize frame;
    Shape shape;
    std::array<Face, 3> faces;
    Behind behind;
};
QImage buttonStrip(const ButtonRecipe &recipe);

// Check box or radio button: four frames (checked, unchecked, checked disabled, unchecked
// disabled).
struct BoxRecipe {
    QSize frame;
    QRectF bounds;
    Shape shape;
    Face on, off, onDisabled, offDisabled;
    Glyph mark = Glyph::Check;
    QRect markBox;
    QColor markColour, markDisabled;
    int weight = 1;
    Behind behind;
};
QImage boxStrip(const BoxRecipe &recipe);
// A look's colours for its check boxes, radio buttons and check-list boxes: one face for both
// enabled frames and one for both disabled frames, and the mark's colours.
struct BoxColours {
    Face enabled, disabled;
    QColor mark, markDisabled;
    QColor background; // what the box stands on
};
// The recipe of a box strip filling its whole frame; keyed corners are magenta.
BoxRecipe boxStripRecipe(QSize frame, Shape shape, bool keyedCorners, const BoxColours &colours);

// Title-bar buttons: 18 frames, three states (normal, over, pressed) for each kind in the order
// control box, help, maximise, restore, minimise, close.
enum class TitleKind { ControlBox, Help, Maximise, Restore, Minimise, Close };
Glyph titleGlyph(TitleKind kind);
struct TitleButtonRecipe {
    QSize frame;
    Profile rows;   // opaque buttons: the title bar rows behind the button (empty: keyed)
    Behind behind;  // keyed buttons
    std::function<void(QPainter &, TitleKind, int state, const QRectF &frame)> paint;
};
QImage titleButtonStrip(const TitleButtonRecipe &recipe);

// Scroll-bar arrow buttons for a vertical bar: six frames, up normal/over/pressed then down.
struct ArrowButtonRecipe {
    QSize frame;
    QRectF bounds;
    Shape shape;
    std::array<Face, 3> faces;
    std::array<QColor, 3> arrows;
    int arrowHeight = 4;
    Behind behind;
};
QImage arrowButtonStrip(const ArrowButtonRecipe &recipe);

// Scroll-bar thumb for a horizontal bar, cut into head, body and tail slices of one size.
struct ThumbRecipe {
    QSize slice;
    QRectF bounds; // within the 3-slice picture
    Shape shape;
    Face face;
    Behind behind;
    QColor grip; // optional grip lines on the head and tail ends (invalid: none)
};
QImage thumbStrip(const ThumbRecipe &recipe);

// A bar drawn in three parts of equal width (left end, stretched middle, right end), size being
// the whole picture.
QImage threePartBar(QSize size, const QRectF &bounds, const Shape &shape, const Face &face,
                    const Behind &behind);

// Track-bar sliders: the horizontal one points down and is keyed; the vertical one points right
// and is drawn opaque, so its corners carry the background colour.
QImage sliderPicture(QSize size, const Shape &shape, const Face &face, const Behind &behind);
QImage sliderPictureVertical(QSize size, const Shape &shape, const Face &face, QColor background);

// Tab scroll buttons: four frames (forward, forward under the mouse, back, back under the mouse).
struct ScrollButtonRecipe {
    QSize frame;
    QRectF bounds;
    Shape shape;
    Face normal, over;
    QColor arrow, arrowOver;
    int arrowHeight = 4;
    Behind behind;
};
QImage scrollButtonStrip(const ScrollButtonRecipe &recipe);

// Tabs: two frames (selected, other), each drawn in three parts; only the end parts may hold
// the key colour.
struct TabRecipe {
    QSize frame;
    Shape shape;
    Face selected, other;
    std::function<void(QPainter &, bool selected, const QRectF &frame)> decorate;
    Behind behind;
};
QImage tabStrip(const TabRecipe &recipe);

// A picture whose every column is the same vertical profile (caption bars, progress fills).
QImage columnPicture(QSize size, Stops rows);
// Same, with explicit colours per row.
QImage columnPicture(QSize size, const Profile &rows);

// A vertical side-channel handle: a rounded tab with a grip and a small arrow.
QImage handlePicture(QSize size, const Face &face, QColor grip, const Behind &behind);

} // namespace lookgen
