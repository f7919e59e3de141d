#pragma once

#include "KAVCustomButton.h"

#include <QImage>

// The skinned push button: its face is the look's ButtonImage (three frames: normal, mouse over,
// pressed; the normal frame also when disabled) stretched over the button by nine-part drawing,
// with an optional glyph beside the caption. In the looks whose traits say so (MacOS, BlueGlass) a
// focused button shows a bold caption instead of a focus rectangle. Whether the parent shows through its corners
// (Transparent) follows the look's ButtonTransparentBool.
class TkavButton : public TkavCustomButton {
    Q_OBJECT
    Q_PROPERTY(QImage Glyph READ Glyph WRITE setGlyph)
    Q_PROPERTY(TButtonLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)
    Q_PROPERTY(uint ResHandle READ ResHandle WRITE setResHandle)

public:
    // Where the glyph sits relative to the caption.
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(TButtonLayout)

    explicit TkavButton(QWidget *parent = nullptr);

    // A glyph twice as wide as high holds two images side by side: enabled, disabled. Its
    // top-left pixel is the transparent colour.
    QImage Glyph() const { return m_glyph; }
    void setGlyph(const QImage &glyph);
    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout layout);
    int Spacing() const { return m_spacing; }
    void setSpacing(int spacing);
    // Kept for form definitions that carry it: always 0, assignments are ignored.
    uint ResHandle() const { return 0; }
    void setResHandle(uint) {}

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    FacePictures facePictures() const override;
    void UIStyleChanged() override;
    void ActionChange() override;
    void drawFace(QImage &face) const override;
    // Describes the face of the button's current state.
    void initPushOption(Kav::PushButtonOption &option) const;

private:
    // The size of one glyph image: a glyph of two images shows half of its width.
    QSize glyphImageSize() const;
    bool holdsTwoImages() const { return !m_glyph.isNull() && m_glyph.width() == 2 * m_glyph.height(); }

    QImage m_glyph;
    // The glyph masked by its top-left colour, and that greyed (a disabled single-image glyph).
    Kav::TkavPicture m_glyphPicture;
    Kav::TkavPicture m_greyedGlyphPicture;
    TButtonLayout m_layout = blGlyphLeft;
    int m_spacing = 4;
    bool m_boldFocusCaption = false; // the look shows the focus as a bold caption
};

using TButtonLayout = TkavButton::TButtonLayout;

// The rest of the unit: the other buttons, and the check box and radio button.
#include "KAVArrowButton.h"
#include "KAVControlButton.h"
#include "KAVImageButton.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVCheckBox.h"
