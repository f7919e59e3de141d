#pragma once

#include "KAVPictureStore.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>

namespace Kav {
struct SpeedButtonOption;
}

// A flat 18 x 18 glyph button: the glyph on a plain face, framed in black while the mouse is over
// it. No pressed face and no focus; it clicks like any button. The MDI control buttons are made
// of these.
class TkavToolBarSpeedButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QImage Glyph READ Glyph WRITE setGlyph)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    explicit TkavToolBarSpeedButton(QWidget *parent = nullptr);

    // Drawn at (1, 1); its bottom-left pixel is the transparent colour.
    QImage Glyph() const { return m_glyph; }
    // Only stored: the next paint shows it.
    void setGlyph(const QImage &glyph);
    // The face colour; the palette's button colour until set.
    QColor Color() const;
    void setColor(const QColor &color);

    // Whether the pointer is on the button (the frame shows). The button's own flag: it follows
    // the enter and leave events the button is sent.
    bool isMouseOver() const { return m_mouseOver; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void OnClick(QObject *sender);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    // Describes the face of the button's current state.
    void initOption(Kav::SpeedButtonOption &option) const;

private:
    QImage m_glyph;
    // The glyph masked by its bottom-left colour, as it is drawn.
    Kav::TkavPicture m_glyphPicture;
    QColor m_color;
    bool m_mouseOver = false;
};
