#include "KAVControlButton.h"

#include "KAVMetrics.h"

TkavControlButton::TkavControlButton(QWidget *parent) : TkavCustomButton(parent)
{
    setTabStop(false);
    // Its own look, not the owner form's: the pictures of ThemeID in DeepBlue.
    setUIStyle(TkavUIStyle::DeepBlue);
}

void TkavControlButton::setThemeID(int themeId)
{
    m_themeId = themeId;
    pictureChanged();
}

void TkavControlButton::setPicIndex(int picIndex)
{
    m_picIndex = picIndex;
    pictureChanged();
}

void TkavControlButton::setPicCount(int picCount)
{
    m_picCount = picCount;
    pictureChanged();
}

void TkavControlButton::pictureChanged()
{
    refreshFaces();
    update();
}

TkavCustomButton::FacePictures TkavControlButton::facePictures() const
{
    if (m_themeId <= 0)
        return {};
    // Only the mouse-over face shows the next frame; pressed and disabled show the button's own.
    const KavThemeValues values = themeValues();
    const auto mask = PicTransparent() ? Kav::PictureMask::TopLeft : Kav::PictureMask::None;
    const Kav::TkavPicture own = values.picture(m_themeId, {m_picCount, m_picIndex, mask});
    return {own, values.picture(m_themeId, {m_picCount, m_picIndex + 1, mask}), own, own};
}

void TkavControlButton::FacesChanged()
{
    // The button is as large as its picture. Done when the picture changes rather than while
    // painting, so that a paint never moves the layout.
    updateGeometry(); // the size hint is the picture's size
    const Kav::TkavPicture &picture = face(FaceState::Normal);
    if (!picture.isNull())
        resize(picture.size());
}

QSize TkavControlButton::sizeHint() const
{
    const Kav::TkavPicture &picture = face(FaceState::Normal);
    return picture.isNull() ? Kav::Metrics::GlyphButtonSize : picture.size();
}
