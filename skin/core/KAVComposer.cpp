#include "KAVComposer.h"

#include "KAVFunctions.h"

#include <QMetaObject>
#include <QPainter>
#include <QWidget>

namespace Kav {

bool KavIsSeeThrough(const QWidget *widget)
{
    return widget && widget->metaObject()->indexOfClassInfo(KavSeeThroughClassInfo) >= 0;
}

void KavPaintBehind(QPainter &canvas, const QWidget *control)
{
    // DoTrans renders the parent, which is no change of the control; it takes a mutable pointer
    // only because rendering does.
    auto *widget = const_cast<QWidget *>(control);
    QWidget *parent = widget->parentWidget();
    if (KavIsSeeThrough(parent) && parent->parentWidget()) {
        // DoTrans of the parent puts the parent's corner at the origin; the control sits pos()
        // further in.
        canvas.save();
        canvas.translate(-control->pos());
        DoTrans(canvas, parent);
        canvas.restore();
        return;
    }
    DoTrans(canvas, widget);
}

QImage KavComposeFace(const QWidget *control, const Backdrop &backdrop,
                      const std::function<void(QImage &face)> &draw)
{
    QImage face(control->size(), QImage::Format_RGB32);
    if (face.isNull())
        return face;
    face.fill(backdrop.colour);
    if (backdrop.kind == Backdrop::Behind) {
        QPainter painter(&face);
        KavPaintBehind(painter, control);
    }
    if (draw)
        draw(face);
    return face;
}

void KavPaintFace(QWidget *control, const Backdrop &backdrop, const std::function<void(QImage &face)> &draw)
{
    if (control->width() <= 0 || control->height() <= 0)
        return;
    const QImage face = KavComposeFace(control, backdrop, draw);
    if (!face.isNull())
        QPainter(control).drawImage(0, 0, face);
}

} // namespace Kav
