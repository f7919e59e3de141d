#include "KAVImageButton.h"

#include "KAVMetrics.h"

TkavImageButton::TkavImageButton(QWidget *parent) : TkavCustomButton(parent) {}

void TkavImageButton::setPicture(QImage &slot, QImage &slot2x, const QImage &picture)
{
    slot = picture;
    slot2x = QImage();
    refreshFaces();
    AutoSizeChanged();
    updateGeometry();
    update();
}

void TkavImageButton::setPicNormal(const QImage &picture)
{
    setPicture(m_picNormal, m_picNormal2x, picture);
}

void TkavImageButton::setPicMouseOn(const QImage &picture)
{
    setPicture(m_picMouseOn, m_picMouseOn2x, picture);
}

void TkavImageButton::setPicMouseDown(const QImage &picture)
{
    setPicture(m_picMouseDown, m_picMouseDown2x, picture);
}

void TkavImageButton::setPicDisabled(const QImage &picture)
{
    setPicture(m_picDisabled, m_picDisabled2x, picture);
}

void TkavImageButton::setPictures2x(const QImage &normal, const QImage &mouseOn, const QImage &mouseDown,
                                    const QImage &disabled)
{
    m_picNormal2x = normal;
    m_picMouseOn2x = mouseOn;
    m_picMouseDown2x = mouseDown;
    m_picDisabled2x = disabled;
    refreshFaces();
    update();
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
    const Kav::TkavPicture normal = store.userPicture(m_picNormal, m_picNormal2x, recipe);
    auto orNormal = [&](const QImage &picture, const QImage &picture2x) {
        return picture.isNull() ? normal : store.userPicture(picture, picture2x, recipe);
    };
    return {normal, orNormal(m_picMouseOn, m_picMouseOn2x), orNormal(m_picMouseDown, m_picMouseDown2x),
            orNormal(m_picDisabled, m_picDisabled2x)};
}

void TkavImageButton::initOption(Kav::PictureButtonOption &option) const
{
    TkavCustomButton::initOption(option);
    option.stretch = m_stretch;
    option.focus.shown = option.focus.shown && m_drawFocused;
}
