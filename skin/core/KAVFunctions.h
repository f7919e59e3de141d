#pragma once

#include <QMetaProperty>

#include "KAVColor.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QVariant>

#include <type_traits>

class QObject;
class QPainter;
class QWidget;

namespace Kav {
class TkavPicture;
}

// Drawing helpers shared by every skinned control.
//
// Pictures are QImage (normally Format_RGB32); magenta qRgb(255, 0, 255) (clFuchsia) marks
// pixels that are not drawn. A canvas is either a QPainter or a QImage that a control composes
// its face in before copying it to the screen once.
//
// Rectangles: the helpers take QRect, but read it as left, top, right, bottom with the right
// and bottom edges EXCLUSIVE, i.e. right = x() + width() and bottom = y() + height()
// (never QRect::right(), which is inclusive). KavRect() and KavRight()/KavBottom() spell this out.
//
// Stretching and shrinking are pixel replication, nothing smoothed: a span of D destination
// pixels taken from S source pixels maps destination offset i to source offset (i * S) / D
// (integer division), independently for each axis.

namespace Kav {
// A rectangle given by its edges, right and bottom exclusive.
inline QRect KavRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
// Exclusive right and bottom edges of a rectangle.
inline int KavRight(const QRect &rect) { return rect.x() + rect.width(); }
inline int KavBottom(const QRect &rect) { return rect.y() + rect.height(); }
} // namespace Kav

// Copies frame frameNumber (1-based) of a strip of frameCount equal frames into destination,
// which becomes exactly one frame (frame width = source width / frameCount; the remainder columns
// at the right are never used). A frame count below 1, or a frame number outside the strip, leaves
// destination empty instead of dividing by zero or reading outside the source. source and
// destination may be the same image.
void SpitBitmap(const QImage &source, QImage &destination, int frameCount, int frameNumber);

// Nine-part drawing: stretches a frame picture over rect. The four corners keep their size (at
// most half the target each), edges and centre are stretched; with transparent False the corners
// are drawn opaque, otherwise their magenta pixels are skipped; magenta pixels of the edges and
// the centre are always skipped. The pieces are laid out within rect (for the usual client
// rectangle at (0, 0) this is the canvas origin). Nothing is drawn outside rect.
// Repeated draws of the same picture at the same size come from a cache of composed faces.
void SpitDraw(const QImage &picture, QPainter &canvas, const QRect &rect, bool transparent);
void SpitDraw(const QImage &picture, QImage &canvas, const QRect &rect, bool transparent);
// The same for a picture of the picture store: its faces are shared by every control that shows
// it, and retired with it.
void SpitDraw(const Kav::TkavPicture &picture, QPainter &canvas, const QRect &rect, bool transparent);
void SpitDraw(const Kav::TkavPicture &picture, QImage &canvas, const QRect &rect, bool transparent);
// Stretches picture over rect (as QPainter::drawImage does, without smoothing), through the shared face
// cache: a control that repaints at an unchanged size stretches nothing again.
void StretchDrawCached(const Kav::TkavPicture &picture, QPainter &canvas, const QRect &rect);

// The composed face of nine-part drawing at the given size, without the cache: an
// ARGB32_Premultiplied image whose skipped pixels are fully transparent, or an RGB32 image
// when nothing was skipped. Drawing it at rect's top-left is what SpitDraw does.
QImage SpitDrawFace(const QImage &picture, const QSize &size, bool transparent);

// Three-part drawing: the picture holds left end, middle and right end side by side, each
// width / 3 wide. The ends are drawn at natural size at rect's left and right, skipping pixels of
// the key colour (the picture's top-left pixel when transparent is True, magenta otherwise); the
// middle is stretched, opaque, over the rest of rect's width and over rect's height.
void SpitDrawHorizontal(const QImage &picture, QPainter &canvas, const QRect &rect, bool transparent);
void SpitDrawHorizontal(const QImage &picture, QImage &canvas, const QRect &rect, bool transparent);

// Tiles picture at natural size from the canvas origin (not from rect's corner), over every tile
// position that starts before rect's right and bottom edges, so the last tiles may run past rect.
// An empty picture draws nothing.
void TileDraw(QPainter &canvas, const QImage &picture, const QRect &rect);
void TileDraw(QImage &canvas, const QImage &picture, const QRect &rect);

// Paints the part of control's parent that lies under control into canvas at (0, 0): the parent's
// background and its own painting, without its children. Does nothing without a parent. Controls
// on a tab sheet pass the sheet, so the sheet's parent shows through at the sheet's place.
// part (in the control's coordinates, the whole control when null) limits what is painted.
void DoTrans(QPainter &canvas, QWidget *control, const QRect &part = QRect());
void DoTrans(QImage &canvas, QWidget *control);

// Frames the control's whole rectangle on painter: a 1-pixel line in borderColor along the outer
// edge, and with drawInner a 1-pixel line in innerColor just inside it. System colours
// (0x80000000 | index) are taken from the control's palette.
void DrawControlBorder(QWidget *control, QPainter &painter, TColor borderColor, TColor innerColor,
                       bool drawInner);
namespace Kav {
// The same frame on rect, in colours ready to draw.
void KavDrawBorder(QPainter &painter, const QRect &rect, const QColor &borderColor, const QColor &innerColor,
                   bool drawInner);
} // namespace Kav

// Turns picture a quarter turn anticlockwise (RoundPicture) or clockwise (RoundPicture3) in
// place; width and height swap.
void RoundPicture(QImage &picture);
void RoundPicture3(QImage &picture);

// The shape of picture's non-transparent pixels: for each row, every maximal run of pixels whose
// colour differs from transparentColor contributes one rectangle one pixel high.
QRegion BitmapRegion(const QImage &picture, TColor transparentColor);
// Gives window the shape of picture's non-transparent pixels (QWidget::setMask) and returns it.
QRegion SetBitmapWindow(QWidget *window, const QImage &picture, TColor transparentColor);

// Lets what lies under control show through wherever it does not paint.
void SetWinControlTransparent(QWidget *control);

// Whether the point lies in rect, both edges inclusive: left <= x <= right and
// top <= y <= bottom with right and bottom the exclusive edges as above (so the point at
// (right, bottom) counts as inside).
bool InRect(const QPoint &point, const QRect &rect);
bool InRect(int x, int y, const QRect &rect);

// The desktop work area (the primary screen less panels and task bars); empty without a screen.
QRect GetWorkAreaRect();

// Moves control so that its top-left corner is point: the left edge first, then the top.
void PlaceControl(QWidget *control, const QPoint &point);
// Places control on rect: left, top, width, height, one at a time in that order.
void PlaceControl(QWidget *control, const QRect &rect);

// The characters up to the terminating NUL (UTF-8); empty for nullptr. The overload with a
// capacity never reads more than capacity characters, for buffers that may lack the NUL.
QString PCharToStr(const char *text);
QString PCharToStr(const char *text, qsizetype capacity);

// Whether object's class declares a property (Q_PROPERTY) of that name, ignoring case.
bool IsHasProperty(const QObject *object, const QString &name);

namespace Kav {
// The property of that name a class declares, found as IsHasProperty finds it (the exact name
// first, then ignoring case); an invalid property when there is none.
QMetaProperty KavFindProperty(const QMetaObject *meta, const char *name);
} // namespace Kav

// Whether form counts as the active window of the application, given the application's main
// form (nullptr when there is none). With a main form that hosts an MDI area, a form counts when
// it is the active MDI child.
bool FormHasFocus(const QWidget *form, const QWidget *mainForm);

// Hands a look to the container's direct child widgets, in order: each child that declares both
// a "FileTheme" and a "UIStyle" property gets FileTheme := fileTheme first, then
// UIStyle := style. style is a QVariant so that this unit needs no look types: an int or the
// look's enumeration value both write an enumeration property. Grandchildren are not visited.
void ContainerApplyUIStyle(QObject *container, const QVariant &style, QObject *fileTheme);
template <typename Style>
    requires std::is_enum_v<Style>
void ContainerApplyUIStyle(QObject *container, Style style, QObject *fileTheme)
{
    ContainerApplyUIStyle(container, QVariant::fromValue(style), fileTheme);
}

// Whether the platform is the oldest one the combo boxes cannot draw over; never here.
bool IsWin95();
