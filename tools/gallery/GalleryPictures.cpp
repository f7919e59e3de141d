#include "GalleryPictures.h"

#include "KAVFunctions.h"
#include "KAVThemes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace GalleryPictures {
namespace {

const QColor Key(255, 0, 255);

QImage keyedCanvas(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Key);
    return picture;
}

// Keyed pictures are drawn without anti-aliasing so that no magenta fringe can show.
void drawStar(QPainter &painter, const QPointF &centre, double outer, const QColor &fill,
              const QColor &edge)
{
    QPolygonF star;
    for (int point = 0; point < 10; ++point) {
        const double radius = point % 2 == 0 ? outer : outer * 0.45;
        const double angle = -std::numbers::pi / 2 + point * std::numbers::pi / 5;
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    painter.setPen(edge);
    painter.setBrush(fill);
    painter.drawPolygon(star);
}

} // namespace

QImage tickGlyph()
{
    QImage glyph = keyedCanvas(16, 16);
    QPainter painter(&glyph);
    painter.setPen(QColor(0x1E, 0x7B, 0x34));
    painter.setBrush(QColor(0x2E, 0xA0, 0x4A));
    painter.drawEllipse(1, 1, 13, 13);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawPolyline(QPolygon({QPoint(4, 8), QPoint(7, 11), QPoint(11, 4)}));
    return glyph;
}

QImage twoImageStarGlyph()
{
    QImage glyph = keyedCanvas(32, 16);
    QPainter painter(&glyph);
    drawStar(painter, QPointF(7.5, 8.5), 7.5, QColor(0xF5, 0xB7, 0x1F), QColor(0xA8, 0x6A, 0x00));
    drawStar(painter, QPointF(23.5, 8.5), 7.5, QColor(0xC8, 0xC8, 0xC8), QColor(0x8C, 0x8C, 0x8C));
    return glyph;
}

QImage playButton(PlayState state)
{
    QColor top, bottom, text = Qt::white;
    switch (state) {
    case PlayState::Normal:
        top = QColor(0x5C, 0xC2, 0x6E);
        bottom = QColor(0x27, 0x8E, 0x3D);
        break;
    case PlayState::MouseOn:
        top = QColor(0x86, 0xDE, 0x95);
        bottom = QColor(0x3A, 0xAE, 0x52);
        break;
    case PlayState::MouseDown:
        top = QColor(0x1F, 0x75, 0x31);
        bottom = QColor(0x3E, 0x9E, 0x50);
        break;
    case PlayState::Disabled:
        top = QColor(0xD6, 0xD6, 0xD6);
        bottom = QColor(0xB0, 0xB0, 0xB0);
        text = QColor(0xF2, 0xF2, 0xF2);
        break;
    }
    QImage picture = keyedCanvas(72, 24);
    QPainter painter(&picture);
    QLinearGradient fill(0, 0, 0, 24);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(bottom.darker(130));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(0, 0, 71, 23), 11, 11);
    // A play triangle and the word beside it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(text);
    const int shift = state == PlayState::MouseDown ? 1 : 0;
    painter.drawPolygon(QPolygon({QPoint(14 + shift, 6 + shift), QPoint(23 + shift, 12 + shift),
                                  QPoint(14 + shift, 18 + shift)}));
    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(text);
    painter.drawText(QRect(28 + shift, shift, 40, 24), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Play"));
    return picture;
}

QImage stripedBackdrop()
{
    constexpr int Size = 24;
    QImage picture(Size, Size, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing); // no key colour here, so smooth edges are fine
    painter.fillRect(picture.rect(), QColor(0xF2, 0x9E, 0x4C));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xC8, 0x4B, 0x78));
    // The band and its neighbours' parts, so that the stripes run on across tile edges.
    for (int offset : {-Size, 0, Size}) {
        painter.drawPolygon(
            QPolygon({QPoint(offset, Size), QPoint(offset + Size / 2, Size),
                      QPoint(offset + Size + Size / 2, 0), QPoint(offset + Size, 0)}));
    }
    return picture;
}

QImage mdiControlGlyph(int index)
{
    try {
        QImage frame;
        SpitBitmap(Kav::KavLoadResourceBitmap(QStringLiteral("MDI_CONTROL_BUTTON")), frame, 3, index);
        return frame;
    } catch (const EKavResourceNotFound &) {
        return {};
    }
}

} // namespace GalleryPictures
