#include "KAVControlButton.h"

#include <QPainter>

#include <exception>

TkavControlButton::TkavControlButton(QWidget *parent) : TkavCustomButton(parent)
{
    setTabStop(false);
    setFileTheme(nullptr);
    setUIStyle(TkavUIStyle::DeepBlue);
}

void TkavControlButton::setThemeID(int themeId)
{
    m_themeId = themeId;
    takePictureSize();
    update();
}

void TkavControlButton::setPicIndex(int picIndex)
{
    m_picIndex = picIndex;
    takePictureSize();
    update();
}

void TkavControlButton::setPicCount(int picCount)
{
    m_picCount = picCount;
    takePictureSize();
    update();
}

QImage TkavControlButton::frame(int index) const
{
    if (m_themeId <= 0)
        return QImage();
    return themeFrame(m_themeId, m_picCount, index);
}

void TkavControlButton::PaintButtonNormal(QImage &picture)
{
    picture = frame(m_picIndex);
}

void TkavControlButton::PaintButtonMouseOn(QImage &picture)
{
    picture = frame(m_picIndex + 1);
}

void TkavControlButton::PaintButtonMouseDown(QImage &picture)
{
    picture = frame(m_picIndex);
}

void TkavControlButton::PaintButtonDisabled(QImage &picture)
{
    picture = frame(m_picIndex);
}

void TkavControlButton::UIStyleChanged()
{
    takePictureSize();
}

void TkavControlButton::takePictureSize()
{
    // The button is as large as its picture. Done when the picture changes rather than while
    // painting, so that a paint never moves the layout.
    QImage picture;
    try {
        picture = frame(m_picIndex);
    } catch (const std::exception &) {
        return;
    }
    updateGeometry(); // the size hint is the picture's size
    if (!picture.isNull())
        resize(picture.size());
}

QSize TkavControlButton::sizeHint() const
{
    try {
        const QImage picture = frame(m_picIndex);
        if (!picture.isNull())
            return picture.size();
    } catch (const std::exception &) {
    }
    return QSize(24, 21);
}

void TkavControlButton::PaintPic(QPainter &canvas, const QImage &picture)
{
    if (picture.isNull())
        return;
    if (PicTransparent())
        drawImageListStyle(canvas, picture, QPoint(0, 0), picture.pixel(0, 0), false);
    else
        canvas.drawImage(0, 0, picture);
}
