#pragma once

// How the push buttons draw: each kind of button fills a small option struct from its state and
// hands it to a painter function here. The painters keep nothing and change nothing but the face
// they draw on; everything they show is in the option, and the pictures in it come ready from the
// picture store (cut, masked and greyed when the look changed, not now).

#include "KAVPictureStore.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <optional>

class QPainter;

namespace Kav {

// The caption of a button face.
struct ButtonCaptionOption {
    QString text;   // with '&' marking the accelerator; empty draws nothing
    QFont font;
    bool bold = false; // a focused button's caption in some looks
    QColor colour;     // the font colour of an enabled button
    bool enabled = true;
    bool pressed = false; // a pressed caption sits one pixel right and down
};

// The dotted frame of a focused button, FocusedRectMargin inside its edges.
struct ButtonFocusOption {
    bool shown = false;
    int margin = 2;
};

// A picture button: the face picture at natural size in the top-left corner, or stretched over
// the whole button; then the focus frame and the caption, centred.
struct PictureButtonOption {
    QRect rect;
    TkavPicture picture;
    bool stretch = false;
    ButtonFocusOption focus;
    ButtonCaptionOption caption;
};

// Which side of the caption a push button's glyph is on.
enum class GlyphSide : quint8 { Left, Right, Top, Bottom };

// A push button: its face picture stretched over the button by nine-part drawing, an optional
// glyph beside the caption, the focus frame and the caption.
struct PushButtonOption {
    QRect rect;
    TkavPicture face;
    bool transparentCorners = false; // the face's magenta corners let the backdrop show
    // The glyph picture (masked, greyed where it is shown so) and the part of it to draw: one
    // image of a glyph that holds two. No glyph when null.
    TkavPicture glyph;
    QRect glyphSource;
    GlyphSide glyphSide = GlyphSide::Left;
    int spacing = 4;
    ButtonFocusOption focus;
    ButtonCaptionOption caption;
};

// Where a push button's glyph (unpressed) and its caption's top-left corner go.
struct GlyphPlacement {
    QRect glyph;
    QPoint caption;
};

// A small button with a black triangle and never a caption.
struct ArrowButtonOption {
    QRect rect;
    TkavPicture face;
    bool transparentCorners = false;
    bool up = true;
    ButtonFocusOption focus;
};

// The flat glyph button of a toolbar: the glyph at (1, 1), framed in black under the mouse.
struct SpeedButtonOption {
    QRect rect;
    TkavPicture glyph;
    bool framed = false;
};

// The size of a caption as a button draws it (one line, accelerator marks hidden).
QSize KavButtonCaptionSize(const QFont &font, const QString &text);
// Where the glyph of the given size and the caption of the given size go on a push button of
// client size, the glyph on side of the caption, spacing pixels apart. Both are centred together;
// divisions round toward zero.
GlyphPlacement KavPlaceGlyph(const QSize &client, const QSize &caption, const QSize &glyph, GlyphSide side,
                             int spacing);
// The triangle of an arrow button on rect, for a polygon filled without anti-aliasing.
QPolygon KavArrowTriangle(const QRect &rect, bool up);

void KavPaintPictureButton(QImage &face, const PictureButtonOption &option);
void KavPaintPushButton(QImage &face, const PushButtonOption &option);
void KavPaintArrowButton(QImage &face, const ArrowButtonOption &option);
void KavPaintArrowButton(QPainter &painter, const ArrowButtonOption &option);
void KavPaintSpeedButton(QImage &face, const SpeedButtonOption &option);

// The parts the painters above are made of.
// The dotted focus frame: every other pixel along the frame inverted.
void KavPaintFocusFrame(QPainter &painter, const QRect &client, const ButtonFocusOption &focus);
// The caption, centred on client or written from at; clipped at client's right and bottom edges.
// A disabled caption is grey over a white shadow one pixel right and down, a pressed one is moved
// one pixel right and down. A blank caption draws nothing.
void KavPaintButtonCaption(QPainter &painter, const QRect &client, const ButtonCaptionOption &caption,
                           const std::optional<QPoint> &at = std::nullopt);

} // namespace Kav
