#include "KAVImageButton.h"

#include "KAVMetrics.h"

TkavImageButton::TkavImageButton(QWidget *parent) : TkavCustomButton(parent) {}

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

TkavCustomButton::FacePictures TkavImageButton::facePictures() const
{
    Kav::TkavPictureStore &store = Kav::TkavPictureStore::instance();
    const Kav::PictureRecipe recipe{0, 0, PicTransparent() ? Kav::PictureMask::TopLeft : Kav::PictureMask::None};
    const Kav::TkavPicture normal = store.userPicture(m_picNormal, recipe);
    auto orNormal = [&](const QImage &picture) { return picture.isNull() ? normal : store.userPicture(picture, recipe); };
    return {normal, orNormal(m_picMouseOn), orNormal(m_picMouseDown), orNormal(m_picDisabled)};
}

void TkavImageButton::initOption(Kav::PictureButtonOption &option) const
{
    TkavCustomButton::initOption(option);
    option.stretch = m_stretch;
    option.focus.shown = option.focus.shown && m_drawFocused;
}
