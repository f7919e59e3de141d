#pragma once

// The one way a skinned control puts its face on the screen: the face is composed in an
// off-screen image of the control's size, over a backdrop (a colour, or what lies behind the
// control), and copied to the control in one go, so nothing flickers and every control composes
// alike. Painting through it only reads the control.

#include <QColor>
#include <QImage>
#include <QRegion>

#include <functional>

class QPainter;
class QWidget;

namespace Kav {

// The class information that marks a container whose own face must not show through a
// transparent control on it (a page of a page control, a toolbar, a data navigator): such a
// control shows what lies behind the container instead. A class declares
// Q_CLASSINFO("KavSeeThrough", "true").
inline constexpr char KavSeeThroughClassInfo[] = "KavSeeThrough";
bool KavIsSeeThrough(const QWidget *widget);

// Whether Qt takes control as painting every one of its pixels (WA_OpaquePaintEvent), which
// spares Qt painting what lies behind it. Every opaque control also costs Qt region work on each
// repaint of its parent, and that work grows with the square of the number of opaque siblings (the
// parent's region gets a hole for each): with thousands of small controls it swamps the painting.
// So a control is opaque only when it is large enough for painting behind it to cost more: from
// KavOpaqueMinimumArea pixels, which no more than a few dozen siblings can reach side by side.
// Controls call it when their size changes; a control made see-through
// (WA_TranslucentBackground) is never opaque, nor is one on a screen of a fractional ratio (its
// edges may cover device pixels only in part).
inline constexpr int KavOpaqueMinimumArea = 160 * 120;
void KavUpdateOpaquePaint(QWidget *control);

// What shows wherever the face draws nothing.
struct Backdrop {
    enum Kind : quint8 {
        Fill,   // the colour
        Behind, // the colour, then what lies behind the control (its parent's painting there)
    };
    Kind kind = Fill;
    QColor colour;

    static Backdrop filled(const QColor &colour) { return {Fill, colour}; }
    static Backdrop behind(const QColor &colour) { return {Behind, colour}; }
};

// A control whose own painting is its composed face and nothing else (no style, no background of
// its own beyond the palette's). What lies behind a transparent control on it is painted straight
// from that face: QWidget::render, the general way, walks every widget inside the parent each time,
// which for a window of many transparent controls grows with the square of their number.
class KavFaceSource {
public:
    // Paints part (in the control's coordinates) of the control's own face, without its children,
    // onto painter, whose origin is the control's corner: what QWidget::render with
    // DrawWindowBackground puts there.
    virtual void paintOwnFace(QPainter &painter, const QRect &part) const = 0;

protected:
    ~KavFaceSource() = default;
};

// Paints what shows through a transparent control into canvas at (0, 0): its parent's painting
// under it; when the parent is see-through, the parent's parent's painting under the control.
// With part (in the control's coordinates) only that part of what lies behind is painted.
void KavPaintBehind(QPainter &canvas, const QWidget *control, const QRect &part = QRect());

// How dense a face is composed. Logical: one image pixel per logical pixel, as every painter
// that works on the face's pixels expects; on a high-DPI screen Qt then enlarges it. Device: on a
// screen of ratio above 1 the face has twice the pixels (ratio 2, scaled by Qt to fractional
// ratios), so that pictures with double-density pixels and text come out sharp. A control may
// choose Device only when everything it draws on the face goes through a QPainter or the
// drawing helpers (SpitDraw and the like), none of which then address pixels directly.
enum class FaceDensity : quint8 { Logical, Device };

// The face of control: an RGB32 image of its size with the backdrop, then draw on it. With an
// exposed region (in the control's coordinates) only that part of the face is composed: the
// image keeps its size, but everything drawn on it is clipped to the region, and the rest of the
// image is undefined. A large control that is repainted in part, or shows through a small
// transparent control on it, composes only what is seen.
QImage KavComposeFace(const QWidget *control, const Backdrop &backdrop,
                      const std::function<void(QImage &face)> &draw, const QRegion &exposed = QRegion(),
                      FaceDensity density = FaceDensity::Logical);
// The part of a face being composed that will be seen (the whole image when all of it is), for
// painters that can leave out what lies outside.
QRect KavVisiblePart(QPainter &painter);

// Composes the face and copies it onto the control; call from paintEvent, with the event's region
// when the control is large.
void KavPaintFace(QWidget *control, const Backdrop &backdrop, const std::function<void(QImage &face)> &draw,
                  const QRegion &exposed = QRegion(), FaceDensity density = FaceDensity::Logical);
// The same onto another painter whose origin is the control's corner, clipped to part: what
// KavFaceSource::paintOwnFace does for a control that paints with KavPaintFace (pass the exposed
// region its paintEvent passes, null for the whole face).
void KavPaintFaceOn(QPainter &painter, const QWidget *control, const Backdrop &backdrop,
                    const std::function<void(QImage &face)> &draw, const QRect &part,
                    const QRegion &exposed = QRegion(), FaceDensity density = FaceDensity::Logical);

} // namespace Kav
