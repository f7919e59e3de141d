#include "KAVImageButton.h"

#include "KAVMetrics.h"

TkavImageButton::TkavImageButton(QWidget *parent) : TkavCustomButton(parent)
{
    // The base could not reach this class while it was being built.
    refreshFaces();
}

void TkavImageButton::setPicture(QImage &slot, const QImage &picture)
{
    slot = picture;
    refreshFaces();
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
    return m_picNormal.isNull() ? Kav::Metrics::ImageButtonSize : m_picNormal.size();
}

void TkavImageButton::AutoSizeChanged()
{
    if (parentWidget() && AutoSize() && !m_picNormal.isNull())
        resize(m_picNormal.size());
}

Kav::TkavPicture TkavImageButton::facePicture(FaceState state) const
{
    const QImage *picture = &m_picNormal;
    switch (state) {
    case FaceState::Normal:
        break;
    case FaceState::MouseOn:
        picture = &m_picMouseOn;
        break;
    case FaceState::MouseDown:
        picture = &m_picMouseDown;
        break;
    case FaceState::Disabled:
        picture = &m_picDisabled;
        break;
    }
    if (picture->isNull())
        picture = &m_picNormal;
    const auto mask = PicTransparent() ? Kav::PictureMask::TopLeft : Kav::PictureMask::None;
    return Kav::TkavPictureStore::instance().userPicture(*picture, {0, 0, mask});
}

void TkavImageButton::initOption(Kav::PictureButtonOption &option) const
{
    TkavCustomButton::initOption(option);
    option.stretch = m_stretch;
    option.focus.shown = option.focus.shown && m_drawFocused;
}
