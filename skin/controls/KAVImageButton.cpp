#include "KAVImageButton.h"

#include <QPainter>

TkavImageButton::TkavImageButton(QWidget *parent) : TkavCustomButton(parent)
{
}

void TkavImageButton::setPicture(QImage &slot, const QImage &picture)
{
    slot = picture;
    AutoSizeChanged();
    updateGeometry();
    update();
}

void TkavImageButton::setPicNormal(const QImage &picture)
{
    setPicture(m_picNormal, picture);
}

void TkavImageButton::setPicMouseOn(const QImage &picture)
{
    setPicture(m_picMouseOn, picture);
}

void TkavImageButton::setPicMouseDown(const QImage &picture)
{
    setPicture(m_picMouseDown, picture);
}

void TkavImageButton::setPicDisabled(const QImage &picture)
{
    setPicture(m_picDisabled, picture);
}

void TkavImageButton::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void TkavImageButton::setDrawFocused(bool drawFocused)
{
    m_drawFocused = drawFocused;
    update();
}

QSize TkavImageButton::sizeHint() const
{
    return m_picNormal.isNull() ? QSize(24, 24) : m_picNormal.size();
}

void TkavImageButton::AutoSizeChanged()
{
    if (parentWidget() && AutoSize() && !m_picNormal.isNull())
        resize(m_picNormal.size());
}

void TkavImageButton::PaintButtonNormal(QImage &picture)
{
    picture = m_picNormal;
}

void TkavImageButton::PaintButtonMouseOn(QImage &picture)
{
    picture = orNormal(m_picMouseOn);
}

void TkavImageButton::PaintButtonMouseDown(QImage &picture)
{
    picture = orNormal(m_picMouseDown);
}

void TkavImageButton::PaintButtonDisabled(QImage &picture)
{
    picture = orNormal(m_picDisabled);
}

void TkavImageButton::PaintPic(QPainter &canvas, const QImage &picture)
{
    if (picture.isNull())
        return;
    // The picture's transparent colour is its top-left pixel.
    const QImage image = PicTransparent() ? KavWithoutKeyColour(picture, picture.pixel(0, 0)) : picture;
    if (m_stretch)
        canvas.drawImage(rect(), image);
    else
        canvas.drawImage(0, 0, image);
}

void TkavImageButton::PaintFocus(QPainter &canvas)
{
    if (m_drawFocused)
        TkavCustomButton::PaintFocus(canvas);
}
