#include "KAVComposer.h"

#include "KAVFunctions.h"

#include <QMetaObject>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>
#include <QWidget>

#include <cmath>

namespace Kav {

bool KavIsSeeThrough(const QWidget *widget)
{
    return widget && widget->metaObject()->indexOfClassInfo(KavSeeThroughClassInfo) >= 0;
}

void KavUpdateOpaquePaint(QWidget *control)
{
    const bool large = qint64(control->width()) * control->height() >= KavOpaqueMinimumArea;
    // At a fractional ratio a control's edges can fall inside a device pixel, which an opaque
    // control covers only in part and its parent no longer paints: a dark seam along the edge.
    const qreal ratio = control->devicePixelRatioF();
    const bool wholePixels = ratio == std::floor(ratio);
    const bool opaque = large && wholePixels && !control->testAttribute(Qt::WA_TranslucentBackground);
    if (control->testAttribute(Qt::WA_OpaquePaintEvent) != opaque)
        control->setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void KavPaintBehind(QPainter &canvas, const QWidget *control, const QRect &part)
{
    // DoTrans renders the parent, which is no change of the control; it takes a mutable pointer
    // only because rendering does.
    auto *widget = const_cast<QWidget *>(control);
    QWidget *parent = widget->parentWidget();
    const QRect wanted = part.isNull() ? control->rect() : part;
    if (KavIsSeeThrough(parent) && parent->parentWidget()) {
        // DoTrans of the parent puts the parent's corner at the origin; the control sits pos()
        // further in.
        canvas.save();
        canvas.translate(-control->pos());
        DoTrans(canvas, parent, wanted.translated(control->pos()));
        canvas.restore();
        return;
    }
    DoTrans(canvas, widget, wanted);
}

QImage KavComposeFace(const QWidget *control, const Backdrop &backdrop,
                      const std::function<void(QImage &face)> &draw, const QRegion &exposed,
                      FaceDensity density)
{
    // Double density covers every ratio above 1: Qt scales the face down to fractional ratios,
    // which stays sharp, where a single-density face would be scaled up.
    const int scale = density == FaceDensity::Device && control->devicePixelRatioF() > 1.0 ? 2 : 1;
    QImage face(control->size() * scale, QImage::Format_RGB32);
    if (face.isNull())
        return face;
    face.setDevicePixelRatio(scale);
    const QRegion whole(QRect(QPoint(0, 0), control->size()));
    const QRegion part = exposed.isNull() ? whole : exposed.intersected(whole);
    if (part.isEmpty())
        return face;
    if (part == whole) {
        face.fill(backdrop.colour);
    } else {
        // Every painter on the face is held to the part: the drawing outside it costs nothing.
        // The system clip is in the image's own pixels.
        face.paintEngine()->setSystemClip(scale == 1 ? part : QTransform::fromScale(scale, scale).map(part));
        QPainter(&face).fillRect(part.boundingRect(), backdrop.colour);
    }
    if (backdrop.kind == Backdrop::Behind) {
        QPainter painter(&face);
        KavPaintBehind(painter, control, part.boundingRect());
    }
    if (draw)
        draw(face);
    return face;
}

QRect KavVisiblePart(QPainter &painter)
{
    // The device and the system clip count the device's own pixels; the part is in logical ones.
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QRect device(QPoint(0, 0), QSize(painter.device()->width(), painter.device()->height()));
    const QRegion clip = painter.paintEngine() ? painter.paintEngine()->systemClip() : QRegion();
    const QRect visible = clip.isNull() ? device : clip.boundingRect().intersected(device);
    if (ratio == 1.0)
        return visible;
    return QRectF(visible.x() / ratio, visible.y() / ratio, visible.width() / ratio, visible.height() / ratio)
        .toAlignedRect();
}

namespace {

// Draws a composed face at the painter's origin. A double-density face is scaled smoothly onto a
// screen of another ratio; deviceRatio is the ratio of the control's own screen.
void drawFace(QPainter &painter, const QImage &face, qreal deviceRatio)
{
    if (face.devicePixelRatio() == 1.0 || face.devicePixelRatio() == deviceRatio) {
        painter.drawImage(0, 0, face);
        return;
    }
    const qreal painterRatio = painter.device() ? painter.device()->devicePixelRatioF() : deviceRatio;
    if (painterRatio == deviceRatio && painter.transform().type() <= QTransform::TxTranslate) {
        // Scaled to the device's pixels here, edges held: the painter's own smooth scaling reads
        // beyond the image's edge and leaves a dark seam along a face drawn at a fractional ratio.
        const QSizeF logical = QSizeF(face.size()) / face.devicePixelRatio();
        const QSize device(qRound(logical.width() * deviceRatio), qRound(logical.height() * deviceRatio));
        QImage scaled = face.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(deviceRatio);
        painter.drawImage(0, 0, scaled);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(0, 0, face);
}

} // namespace

void KavPaintFace(QWidget *control, const Backdrop &backdrop, const std::function<void(QImage &face)> &draw,
                  const QRegion &exposed, FaceDensity density)
{
    if (control->width() <= 0 || control->height() <= 0)
        return;
    const QImage face = KavComposeFace(control, backdrop, draw, exposed, density);
    if (face.isNull())
        return;
    QPainter painter(control);
    if (!exposed.isNull())
        painter.setClipRegion(exposed);
    drawFace(painter, face, painter.device()->devicePixelRatioF());
}

void KavPaintFaceOn(QPainter &painter, const QWidget *control, const Backdrop &backdrop,
                    const std::function<void(QImage &face)> &draw, const QRect &part, const QRegion &exposed,
                    FaceDensity density)
{
    const QRect wanted = part.intersected(control->rect());
    if (wanted.isEmpty())
        return;
    const QImage face = KavComposeFace(control, backdrop, draw, exposed, density);
    if (face.isNull())
        return;
    painter.save();
    painter.setClipRect(wanted, Qt::IntersectClip);
    // As the control's own paint event would draw it on its own screen.
    drawFace(painter, face, control->devicePixelRatioF());
    painter.restore();
}

} // namespace Kav
