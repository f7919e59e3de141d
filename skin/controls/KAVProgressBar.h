#pragma once

#include "KAVColor.h"
#include "KAVComposer.h"
#include "KAVLook.h"
#include "KAVOrientation.h"
#include "KAVPlatformPanel.h"
#include "KAVThemes.h"

#include <QAccessibleWidget>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace Kav::Progress {

// The percentage shown in the caption: (position - min) x 100 / (max - min), truncated toward
// zero and not clamped (a position past the ends reads below 0 or above 100); 0 for an empty
// range. Worked out in 64 bits, so no range or position overflows.
qint64 percent(int min, int max, int position);

// The caption for percent(): the number followed by "%".
QString caption(int min, int max, int position);

// How much of total the fill covers: none when max <= min or position <= min, all of total past
// max, else total x (position - min) / (max - min) truncated. Never outside 0..total.
int fillLength(int total, int min, int max, int position);

} // namespace Kav::Progress

namespace Kav {

// Everything one paint of a progress bar reads, filled from the control's state.
struct ProgressBarOption {
    QSize size;
    TkavProgressBarOrientation orientation = KavOrientation::kavHorizontal;
    int min = 0;
    int max = 100;
    int position = 0;
    QImage picture;          // the fill, already turned for a vertical bar
    QImage picture2x;        // the same at double density (ratio 2), drawn on dense faces; or null
    QColor color;            // the unfilled part
    QColor borderColor;
    QColor captionColor;
    QString caption;
    bool drawCaption = false; // already decided: never on a vertical bar
    QFont font;
};

// Where the fill and the unfilled part lie (inside the 1-pixel frame). The fill of a vertical bar
// grows from the bottom up.
struct ProgressBarLayout {
    QRect fill;
    QRect rest;
};
ProgressBarLayout progressBarLayout(const ProgressBarOption &option);

// Draws the bar onto face (of option.size): fill, unfilled part, caption, frame.
void paintProgressBar(QImage &face, const ProgressBarOption &option);
// The same onto a painter whose origin is the bar's top-left corner.
void paintProgressBar(QPainter &painter, const ProgressBarOption &option);

} // namespace Kav

// A skinned progress indicator: a bar of fixed thickness whose filled part is the look's picture
// stretched to the progress, captioned with the percentage.
//
// Max, Min and Position are stored as given (a position outside the range shows an empty or a
// full bar and its unclamped percentage; Max <= Min shows an empty bar). The bar is
// ProgressBarThickness across: a horizontal bar keeps that height, a vertical one that width.
// A vertical bar never shows its caption; turning a bar vertical clears ShowCaption.
class TkavProgressBar : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor CaptionColor READ CaptionColor WRITE setCaptionColor)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE setShowCaption)
    Q_PROPERTY(bool SmartShowCaption READ SmartShowCaption WRITE setSmartShowCaption)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(KavOrientation::TkavProgressBarOrientation Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QImage Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QString Caption READ Caption)

public:
    explicit TkavProgressBar(QWidget *parent = nullptr);
    ~TkavProgressBar() override;

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    // Takes the look's picture and colours (replacing any given here).
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    int Max() const { return m_max; }
    void setMax(int max);
    int Min() const { return m_min; }
    void setMin(int min);
    int Position() const { return m_position; }
    void setPosition(int position);
    // Position + 1, and Position + delta (saturating at the ends of int).
    void StepIt();
    void StepBy(int delta);

    // Turns the bar, keeping its length (the larger side); the look's picture is taken again.
    TkavProgressBarOrientation Orientation() const { return m_orientation; }
    void setOrientation(TkavProgressBarOrientation orientation);

    TColor CaptionColor() const { return m_captionColor; }
    void setCaptionColor(TColor color);
    void setCaptionColor(const QColor &color) { setCaptionColor(TColor::fromQColor(color)); }
    bool ShowCaption() const { return m_showCaption; }
    void setShowCaption(bool show);
    // Hides the caption while Position equals Min.
    bool SmartShowCaption() const { return m_smartShowCaption; }
    void setSmartShowCaption(bool smart);
    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    // The unfilled part's colour (the bar's own, not the panel's background).
    TColor Color() const { return m_color; }
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }
    // The fill picture: the look's, or a copy of one given here (kept until the next change of look
    // or orientation).
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);

    // The percentage followed by "%".
    QString Caption() const;

    QSize sizeHint() const override;

protected:
    Kav::ProgressBarOption option() const;
    Kav::Backdrop backdrop() const override;
    void paintPanel(QImage &canvas) const override;
    bool event(QEvent *event) override;

private:
    void UpdatePicture();
    // The look's fill at double density, turned as the fill is, on a screen of ratio above 1.
    void preparePicture2x();
    void UpdateBar(int length);
    void UpdateProgress();

    TkavLook m_look;
    int m_max = 100;
    int m_min = 0;
    int m_position = 50;
    TkavProgressBarOrientation m_orientation = KavOrientation::kavHorizontal;
    TColor m_borderColor;
    TColor m_color;
    QImage m_picture;
    Kav::TkavPicture m_lookPicture; // where m_picture came from; null for a picture given
    QImage m_picture2x;
    bool m_showCaption = true;
    TColor m_captionColor;
    bool m_smartShowCaption = false;
};

// What assistive technology learns of a progress bar: its role, the caption as its value text, and
// Position, Min and Max as a read-only value.
class TkavProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TkavProgressBarAccessible(QWidget *widget);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    const TkavProgressBar *bar() const;
};

namespace Kav {
// Registers the accessible description of progress bars; the constructor calls it.
void KavInstallProgressBarAccessibility();
} // namespace Kav
