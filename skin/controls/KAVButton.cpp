#include "KAVButton.h"

#include "KAVMetrics.h"

#include <QAction>

namespace {

Kav::GlyphSide glyphSide(TButtonLayout layout)
{
    switch (layout) {
    case TkavButton::blGlyphLeft:
        return Kav::GlyphSide::Left;
    case TkavButton::blGlyphRight:
        return Kav::GlyphSide::Right;
    case TkavButton::blGlyphTop:
        return Kav::GlyphSide::Top;
    case TkavButton::blGlyphBottom:
        return Kav::GlyphSide::Bottom;
    }
    return Kav::GlyphSide::Left;
}

} // namespace

TkavButton::TkavButton(QWidget *parent) : TkavCustomButton(parent)
{
    resize(Kav::Metrics::PushButtonSize);
}

void TkavButton::setGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    Kav::TkavPictureStore &store = Kav::TkavPictureStore::instance();
    m_glyphPicture = store.userPicture(glyph, {0, 0, Kav::PictureMask::TopLeft, false});
    // A glyph of two images has a disabled image of its own.
    m_greyedGlyphPicture = holdsTwoImages() ? Kav::TkavPicture()
                                            : store.userPicture(glyph, {0, 0, Kav::PictureMask::TopLeft, true});
    updateGeometry();
    update();
}

void TkavButton::setLayout(TButtonLayout layout)
{
    m_layout = layout;
    update();
}

void TkavButton::setSpacing(int spacing)
{
    m_spacing = spacing;
    update();
}

TkavCustomButton::FacePictures TkavButton::facePictures() const
{
    // Nine-part drawing skips the magenta pixels itself, and a disabled button shows the normal
    // frame as it is.
    return buttonImageFaces(Kav::PictureMask::None, false);
}

void TkavButton::UIStyleChanged()
{
    const KavThemeValues values = themeValues();
    m_boldFocusCaption = values.traits().boldFocusCaption;
    setTransparent(values.boolean(KavKey::ButtonTransparentBool));
}

void TkavButton::ActionChange()
{
    TkavCustomButton::ActionChange();
    const QAction *action = Action();
    if (action && m_glyph.isNull() && !action->icon().isNull()) {
        const QSize size = Kav::Metrics::ActionGlyphSize;
        setGlyph(action->icon().pixmap(size).toImage());
    }
}

QSize TkavButton::glyphImageSize() const
{
    if (m_glyph.isNull())
        return QSize();
    return holdsTwoImages() ? QSize(m_glyph.height(), m_glyph.height()) : m_glyph.size();
}

QSize TkavButton::sizeHint() const
{
    const QSize caption = Kav::KavButtonCaptionSize(font(), Caption());
    const QSize glyph = glyphImageSize();
    const int contentWidth = caption.width() + (m_glyph.isNull() ? 0 : glyph.width() + m_spacing);
    const int contentHeight = qMax(caption.height(), m_glyph.height());
    const QSize margins = Kav::Metrics::ButtonCaptionMargins;
    return QSize(qMax(Kav::Metrics::PushButtonSize.width(), contentWidth + margins.width()),
                 qMax(Kav::Metrics::PushButtonSize.height(), contentHeight + margins.height()));
}

QSize TkavButton::minimumSizeHint() const
{
    return Kav::Metrics::GlyphButtonSize;
}

void TkavButton::initPushOption(Kav::PushButtonOption &option) const
{
    option.rect = rect();
    option.face = currentFace();
    option.transparentCorners = PicTransparent();
    option.caption = captionOption();
    option.focus = focusOption();
    if (!m_glyph.isNull()) {
        const QSize image = glyphImageSize();
        if (holdsTwoImages()) {
            // Enabled the left image, disabled the right one, both as they are.
            option.glyph = m_glyphPicture;
            option.glyphSource = QRect(QPoint(isEnabled() ? 0 : image.width(), 0), image);
        } else {
            option.glyph = isEnabled() ? m_glyphPicture : m_greyedGlyphPicture;
            option.glyphSource = QRect(QPoint(0, 0), image);
        }
        option.glyphSide = glyphSide(m_layout);
        option.spacing = m_spacing;
    }
    // Some looks show the focus as a bold caption, which a glyph's caption never is.
    if (m_boldFocusCaption && option.focus.shown) {
        option.focus.shown = false;
        option.caption.bold = m_glyph.isNull();
    }
}

void TkavButton::drawFace(QImage &face) const
{
    Kav::PushButtonOption option;
    initPushOption(option);
    Kav::KavPaintPushButton(face, option);
}
