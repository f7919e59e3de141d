#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>

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
    void setGlyph(const QImage &glyph) { m_glyph = glyph; }
    // The face colour; the palette's button colour until set.
    QColor Color() const;
    void setColor(const QColor &color);

    bool isMouseOver() const { return m_mouseOver; }

    QSize sizeHint() const override { return QSize(18, 18); }

Q_SIGNALS:
    void OnClick(QObject *sender);

protected:
    void paintEvent(QPaintEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;

private:
    QImage m_glyph;
    QColor m_color;
    bool m_mouseOver = false;
};
