#include "KAVArrowButton.h"

#include "KAVAccessible.h"
#include "KAVFunctions.h"

#include <QPainter>
#include <QPolygon>

TKavArrowButton::TKavArrowButton(QWidget *parent) : TkavCustomButton(parent)
{
    KavInstallAccessibility();
    // The base could not reach this class while it was being built.
    UIStyleChanged();
}

void TKavArrowButton::setArrow(TkavArrowButtonType arrow)
{
    m_arrow = arrow;
    update();
}

void TKavArrowButton::UIStyleChanged()
{
    setTransparent(themeValues().boolean(KavKey::ButtonTransparentBool));
}

void TKavArrowButton::PaintPic(QPainter &canvas, const QImage &picture)
{
    SpitDraw(picture, canvas, rect(), PicTransparent());
    const int x0 = (width() - 6) / 2;
    const int y0 = (height() - 3) / 2;
    QPolygon triangle;
    if (m_arrow == kavUp)
        triangle << QPoint(x0, y0 + 3) << QPoint(x0 + 3, y0) << QPoint(x0 + 6, y0 + 3);
    else
        triangle << QPoint(x0, y0) << QPoint(x0 + 3, y0 + 3) << QPoint(x0 + 6, y0);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(Qt::black, 0));
    canvas.setBrush(Qt::black);
    canvas.drawPolygon(triangle);
    canvas.restore();
}
