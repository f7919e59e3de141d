#include "KAVButtonPainter.h"

#include "KAVFunctions.h"

#include <QFontMetrics>
#include <QPainter>

#include <optional>

namespace Kav {

namespace {

const QColor DisabledCaption(128, 128, 128);
const QColor DisabledCaptionShadow(255, 255, 255);

// The black triangle and the focus frame of an arrow button, over its face.
void paintArrowAndFocus(QPainter &painter, const ArrowButtonOption &option);

} // namespace

void KavPaintButtonCaption(QPainter &painter, const QRect &client, const ButtonCaptionOption &caption,
                           const std::optional<QPoint> &at)
{
    if (caption.text.trimmed().isEmpty())
        return;
    const int alignment = (at ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignCenter) | Qt::TextSingleLine
        | Qt::TextShowMnemonic;
    // The caption is clipped at the client's right and bottom edges, also when it is moved.
    auto area = [&](int dx, int dy) {
        if (!at)
            return client.translated(dx, dy);
        return Kav::KavRect(at->x() + dx, at->y() + dy, Kav::KavRight(client), Kav::KavBottom(client));
    };
    QFont font = caption.font;
    if (caption.bold)
        font.setBold(true);
    painter.save();
    painter.setFont(font);
    painter.setBrush(Qt::NoBrush);
    if (!caption.enabled) {
        painter.setPen(DisabledCaptionShadow);
        painter.drawText(area(1, 1), alignment, caption.text);
        painter.setPen(DisabledCaption);
        painter.drawText(area(0, 0), alignment, caption.text);
    } else {
        painter.setPen(caption.colour);
        painter.drawText(caption.pressed ? area(1, 1) : area(0, 0), alignment, caption.text);
    }
    painter.restore();
}

QSize KavButtonCaptionSize(const QFont &font, const QString &text)
{
    return QFontMetrics(font).size(Qt::TextSingleLine | Qt::TextShowMnemonic, text);
}

GlyphPlacement KavPlaceGlyph(const QSize &client, const QSize &caption, const QSize &glyph, GlyphSide side,
                             int spacing)
{
    const int W = client.width(), H = client.height();
    const int tw = caption.width(), th = caption.height();
    const int gw = glyph.width(), gh = glyph.height();
    const int S = spacing;
    QPoint at;
    QPoint text;
    switch (side) {
    case GlyphSide::Left:
        at = QPoint((W - tw - gw - S) / 2, (H - gh) / 2);
        text = QPoint(at.x() + gw + S, (H - th) / 2);
        break;
    case GlyphSide::Right:
        at = QPoint((W + tw + S - gw) / 2, (H - gh) / 2);
        text = QPoint(at.x() - tw - S, (H - th) / 2);
        break;
    case GlyphSide::Top:
        at = QPoint((W - gw) / 2, (H - th - gh - S) / 2);
        text = QPoint((W - tw) / 2, at.y() + gh + S);
        break;
    case GlyphSide::Bottom:
        at = QPoint((W - gw) / 2, (H + th + S - gh) / 2);
        text = QPoint((W - tw) / 2, at.y() - th - S);
        break;
    }
    return {QRect(at, glyph), text};
}

QPolygon KavArrowTriangle(const QRect &rect, bool up)
{
    //   up:   x0,y0+3 . x0+3,y0 . x0+6,y0+3      down:  x0,y0 . x0+3,y0+3 . x0+6,y0
    const int x0 = rect.x() + (rect.width() - 6) / 2;
    const int y0 = rect.y() + (rect.height() - 3) / 2;
    QPolygon triangle;
    if (up)
        triangle << QPoint(x0, y0 + 3) << QPoint(x0 + 3, y0) << QPoint(x0 + 6, y0 + 3);
    else
        triangle << QPoint(x0, y0) << QPoint(x0 + 3, y0 + 3) << QPoint(x0 + 6, y0);
    return triangle;
}

void KavPaintFocusFrame(QPainter &painter, const QRect &client, const ButtonFocusOption &focus)
{
    if (!focus.shown)
        return;
    const int margin = focus.margin;
    const QRect frame = Kav::KavRect(client.x() + margin, client.y() + margin, Kav::KavRight(client) - margin,
                                Kav::KavBottom(client) - margin);
    if (frame.width() <= 0 || frame.height() <= 0)
        return;
    // Every other pixel along the frame, counted from its top-left corner, inverted: the dotted
    // frame shows on any face. Each dot is one logical pixel, so a dense face shows the same dots.
    QList<QRect> dots;
    const int left = frame.x(), top = frame.y();
    const int right = Kav::KavRight(frame) - 1, bottom = Kav::KavBottom(frame) - 1;
    auto dot = [&](int x, int y) {
        if ((x - left + y - top) % 2 == 0)
            dots << QRect(x, y, 1, 1);
    };
    for (int x = left; x <= right; ++x) {
        dot(x, top);
        if (bottom != top)
            dot(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        dot(left, y);
        if (right != left)
            dot(right, y);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRects(dots);
    painter.restore();
}

void KavPaintPictureButton(QImage &face, const PictureButtonOption &option)
{
    QPainter painter(&face);
    if (!option.picture.isNull()) {
        const QImage &pixels = option.picture.imageFor(face.devicePixelRatio());
        if (option.stretch)
            painter.drawImage(option.rect, pixels);
        else
            painter.drawImage(QRect(option.rect.topLeft(), option.picture.size()), pixels);
    }
    KavPaintFocusFrame(painter, option.rect, option.focus);
    KavPaintButtonCaption(painter, option.rect, option.caption);
}

void KavPaintPushButton(QImage &face, const PushButtonOption &option)
{
    SpitDraw(option.face, face, option.rect, option.transparentCorners);
    QPainter painter(&face);
    std::optional<QPoint> captionAt;
    if (!option.glyph.isNull()) {
        // The pair of glyph and caption is centred; a pressed glyph moves, the caption's place is
        // worked out from the glyph at rest.
        const QSize captionSize = KavButtonCaptionSize(option.caption.font, option.caption.text);
        const GlyphPlacement place = KavPlaceGlyph(option.rect.size(), captionSize, option.glyphSource.size(),
                                                   option.glyphSide, option.spacing);
        const QPoint shift = option.caption.pressed ? QPoint(1, 1) : QPoint(0, 0);
        const QImage &pixels = option.glyph.imageFor(face.devicePixelRatio());
        const qreal density = qreal(pixels.width()) / option.glyph.width();
        const QRectF source(option.glyphSource.topLeft() * density, option.glyphSource.size() * density);
        painter.drawImage(QRectF(option.rect.topLeft() + place.glyph.topLeft() + shift, option.glyphSource.size()),
                          pixels, source);
        captionAt = option.rect.topLeft() + place.caption;
    }
    KavPaintFocusFrame(painter, option.rect, option.focus);
    KavPaintButtonCaption(painter, option.rect, option.caption, captionAt);
}

void KavPaintArrowButton(QImage &face, const ArrowButtonOption &option)
{
    SpitDraw(option.face, face, option.rect, option.transparentCorners);
    QPainter painter(&face);
    paintArrowAndFocus(painter, option);
}

void KavPaintArrowButton(QPainter &painter, const ArrowButtonOption &option)
{
    SpitDraw(option.face, painter, option.rect, option.transparentCorners);
    painter.save();
    paintArrowAndFocus(painter, option);
    painter.restore();
}

namespace {

void paintArrowAndFocus(QPainter &painter, const ArrowButtonOption &option)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::black);
    painter.drawPolygon(KavArrowTriangle(option.rect, option.up));
    KavPaintFocusFrame(painter, option.rect, option.focus);
}

} // namespace

void KavPaintSpeedButton(QImage &face, const SpeedButtonOption &option)
{
    // Without a glyph the button is only its colour, under the mouse too.
    if (option.glyph.isNull())
        return;
    QPainter painter(&face);
    if (option.framed) {
        // Four lines one logical pixel thick, as thick on a dense face as on a plain one.
        const QRect r = option.rect;
        painter.fillRect(r.x(), r.y(), r.width(), 1, Qt::black);
        painter.fillRect(r.x(), r.y() + r.height() - 1, r.width(), 1, Qt::black);
        painter.fillRect(r.x(), r.y(), 1, r.height(), Qt::black);
        painter.fillRect(r.x() + r.width() - 1, r.y(), 1, r.height(), Qt::black);
    }
    painter.drawImage(QRect(option.rect.topLeft() + QPoint(1, 1), option.glyph.size()),
                      option.glyph.imageFor(face.devicePixelRatio()));
}

} // namespace Kav
