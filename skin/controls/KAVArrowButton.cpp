#include "KAVArrowButton.h"

#include "KAVAccessible.h"

TKavArrowButton::TKavArrowButton(QWidget *parent) : TkavCustomButton(parent)
{
    Kav::KavInstallAccessibility();
}

void TKavArrowButton::setArrow(TkavArrowButtonType arrow)
{
    m_arrow = arrow;
    update();
}

TkavCustomButton::FacePictures TKavArrowButton::facePictures() const
{
    // Stretched like a push button's face: nine-part drawing skips the magenta pixels itself.
    return buttonImageFaces(Kav::PictureMask::None, false);
}

void TKavArrowButton::UIStyleChanged()
{
    setTransparent(themeValues().boolean(KavKey::ButtonTransparentBool));
}

void TKavArrowButton::initArrowOption(Kav::ArrowButtonOption &option) const
{
    option.rect = rect();
    option.face = currentFace();
    option.transparentCorners = PicTransparent();
    option.up = m_arrow == kavUp;
    option.focus = focusOption();
}

void TKavArrowButton::drawFace(QImage &face) const
{
    Kav::ArrowButtonOption option;
    initArrowOption(option);
    Kav::KavPaintArrowButton(face, option);
}
