#include "KAVComposer.h"

#include "KAVFunctions.h"

#include <QMetaObject>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

namespace Kav {

bool KavIsSeeThrough(const QWidget *widget)
{
    return widget && widget->metaObject()->indexOfClassInfo(KavSeeThroughClassInfo) >= 0;
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
                      const std::function<void(QImage &face)> &draw, const QRegion &exposed)
{
    QImage face(control->size(), QImage::Format_RGB32);
    if (face.isNull())
        return face;
    const QRegion whole(face.rect());
    const QRegion part = exposed.isNull() ? whole : exposed.intersected(whole);
    if (part.isEmpty())
        return face;
    if (part == whole) {
        face.fill(backdrop.colour);
    } else {
        // Every painter on the face is held to the part: the drawing outside it costs nothing.
        face.paintEngine()->setSystemClip(part);
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
    const QRect device(QPoint(0, 0), QSize(painter.device()->width(), painter.device()->height()));
    const QRegion clip = painter.paintEngine() ? painter.paintEngine()->systemClip() : QRegion();
    return clip.isNull() ? device : clip.boundingRect().intersected(device);
}

void KavPaintFace(QWidget *control, const Backdrop &backdrop, const std::function<void(QImage &face)> &draw,
                  const QRegion &exposed)
{
    if (control->width() <= 0 || control->height() <= 0)
        return;
    const QImage face = KavComposeFace(control, backdrop, draw, exposed);
    if (face.isNull())
        return;
    QPainter painter(control);
    if (!exposed.isNull())
        painter.setClipRegion(exposed);
    painter.drawImage(0, 0, face);
}

} // namespace Kav
