#pragma once

#include "KAVCustomButton.h"

#include <QImage>
#include <QPoint>

// The skinned push button: its face is the look's ButtonImage (three frames: normal, mouse over,
// pressed; the normal frame also when disabled) stretched over the button by nine-part drawing,
// with an optional glyph beside the caption. In the MacOS and BlueGlass looks a focused button
// shows a bold caption instead of a focus rectangle. Whether the parent shows through its corners
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
    void UIStyleChanged() override;
    void ActionChange() override;
    void PaintPic(QPainter &canvas, const QImage &picture) override;
    void PaintText(QPainter &canvas, const QString &text) override;
    void PaintFocus(QPainter &canvas) override;

private:
    QSize captionSize() const;
    void drawGlyph(QPainter &canvas);

    QImage m_glyph;
    TButtonLayout m_layout = blGlyphLeft;
    int m_spacing = 4;
    // Where PaintText puts the caption of a button with a glyph; worked out at every paint.
    QPoint m_captionPos;
};

using TButtonLayout = TkavButton::TButtonLayout;

// The rest of the unit: the other buttons, and the check box and radio button.
#include "KAVArrowButton.h"
#include "KAVControlButton.h"
#include "KAVImageButton.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVCheckBox.h"
