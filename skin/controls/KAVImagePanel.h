#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVPictureStore.h"
#include "KAVPlatformPanel.h"
#include "KAVThemes.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>
#include <stdexcept>

class QTimer;

// Raised by TkavPanel::Push when the panel's Align leaves it no height of its own.
class EKavPanelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A borderless panel that paints a picture (at natural size, stretched or tiled) or its colour,
// optionally over its parent's background, with an optional caption. Base of the group boxes.
class TkavCustomPanel : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture WRITE setPicture)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE setCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE setCaptionPosY)
    Q_PROPERTY(TkavDrawStyle DrawStyle READ DrawStyle WRITE setDrawStyle)
    Q_PROPERTY(KavLayout::TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(QString Caption READ Text WRITE setText)

public:
    enum TkavDrawStyle : quint8 { kavNormal = 0, kavStretch, kavTile };
    Q_ENUM(TkavDrawStyle)

    explicit TkavCustomPanel(QWidget *parent = nullptr);

    QImage Picture() const { return m_picture; }
    // Copies the picture (an empty image clears it), then PictureChanged, ClearPanel, repaint.
    void setPicture(const QImage &picture);

    bool Transparent() const { return m_transparent; }
    // With Transparent the parent's background shows under the panel, and so it does through
    // the picture's transparent pixels: those of the colour of its bottom-left pixel (masked once,
    // when the picture or Transparent changes).
    virtual void setTransparent(bool transparent);

    bool AutoSize() const { return m_autoSize; }
    // With AutoSize the panel takes the picture's size, except on the sides its Align leaves to
    // the parent.
    void setAutoSize(bool autoSize);

    // A fixed caption position; -1 in either makes the caption follow Alignment.
    int CaptionPosX() const { return m_captionPosX; }
    void setCaptionPosX(int x);
    int CaptionPosY() const { return m_captionPosY; }
    void setCaptionPosY(int y);

    TkavDrawStyle DrawStyle() const { return m_drawStyle; }
    void setDrawStyle(TkavDrawStyle style);

    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);

    // Room kept free inside the panel's edges for aligned children and layouts.
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);

    // The panel's own text, drawn as its caption (published as Caption; descendants with a caption
    // of their own, such as the group boxes, publish that under the same name instead).
    QString Text() const { return m_text; }
    void setText(const QString &text);

    // Where the caption is drawn: the whole panel when it follows Alignment, its own line at a
    // fixed position; empty when the caption is blank.
    QRect captionRect() const;

    QSize sizeHint() const override;

protected:
    // Nothing to clear here: every repaint covers the whole panel. Kept for descendants.
    virtual void ClearPanel();
    // Called with the last caption rectangle before the repaint that follows a text change.
    virtual void RepaintText(const QRect &rect);
    // The picture changed: apply AutoSize and the transparency, ClearPanel, repaint.
    virtual void PictureChanged(QObject *sender);

    Kav::Backdrop backdrop() const override;
    void paintPanel(QImage &canvas) const override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyAutoSize();
    // The picture with its transparent pixels masked, from the picture store, while Transparent.
    void preparePicture();

    QImage m_picture;
    Kav::TkavPicture m_keyedPicture;
    bool m_transparent = false;
    bool m_autoSize = false;
    int m_captionPosX = -1;
    int m_captionPosY = -1;
    TkavDrawStyle m_drawStyle = kavNormal;
    TAlignment m_alignment = KavLayout::taCenter;
    int m_borderWidth = 0;
    QString m_text;
};

// The panel as it is placed on forms: publishes the caption and the picture settings.
class TkavImagePanel : public TkavCustomPanel {
    Q_OBJECT

public:
    explicit TkavImagePanel(QWidget *parent = nullptr);

    QString Caption() const { return Text(); }
    void setCaption(const QString &caption) { setText(caption); }
};

// A panel with a caption bar in the colours and picture of its look, and an optional push button
// in that bar that rolls the panel up to the bar and down again; from the keyboard, Alt+Up and
// Alt+Down do the same for a key that no control in the panel took. Its Color (white in every
// look) is the background of the controls inside it that keep their parent's colour.
//
// Rolling runs on the event loop: Push and Pop start it and return at once; one step of 15 pixels
// follows every AnimationInterval milliseconds, and OnPush or OnPop is raised when it ends.
// Everything else keeps running meanwhile.
class TkavPanel : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool ShowButton READ ShowButton WRITE setShowButton)
    Q_PROPERTY(int Height READ Height WRITE setHeight)
    Q_PROPERTY(QColor CaptionFontColor READ CaptionFontColor WRITE setCaptionFontColor)
    Q_PROPERTY(bool Pushed READ Pushed)
    Q_PROPERTY(bool PushButtonShown READ pushButtonShown)
    Q_PROPERTY(int AnimationInterval READ AnimationInterval WRITE setAnimationInterval)

public:
    // The message Push raises for a panel aligned alClient, alLeft or alRight.
    static const char *const CantPushMessage;
    // Roll step in pixels, and the height rolled up to when the look has no caption bar picture.
    static constexpr int RollStep = 15;
    static constexpr int DefaultBarHeight = 20;
    // Room kept free inside the edges (and below the caption bar) for aligned children.
    static constexpr int ChildMargin = 3;

    explicit TkavPanel(QWidget *parent = nullptr);
    ~TkavPanel() override;

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    // A look brings the caption bar, border colour and caption colour; Color becomes white.
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }

    TColor CaptionFontColor() const { return m_captionFontColor; }
    void setCaptionFontColor(TColor color);
    void setCaptionFontColor(const QColor &color) { setCaptionFontColor(TColor::fromQColor(color)); }

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);

    bool ShowButton() const { return m_showButton; }
    void setShowButton(bool show);

    // The height when expanded. A pushed panel keeps its caption bar height and takes a new
    // Height when it pops.
    int Height() const { return m_fullHeight; }
    void setHeight(int height);

    // True from the end of a Push to the end of the next Pop.
    bool Pushed() const { return !m_expanded; }
    // True while rolling up or down.
    bool Animating() const { return m_rolling != Roll::None; }

    // Milliseconds between two roll steps; 0 steps at every pass of the event loop.
    int AnimationInterval() const { return m_animationInterval; }
    void setAnimationInterval(int milliseconds);

    // The height of the caption bar: its picture's height, DefaultBarHeight without a picture.
    int captionBarHeight() const;
    Kav::TkavPicture captionBarPicture() const { return m_barPicture; }
    // Whether the push button is drawn: ShowButton, and Align none of alClient, alLeft, alRight.
    bool pushButtonShown() const;
    // Where the push button is drawn, which is where a click hits it; empty when the button is
    // not shown.
    QRect pushButtonRect() const;
    // Whether the mouse is over the push button (it is drawn highlighted then).
    bool mouseOverButton() const;

    QSize sizeHint() const override;

    // Rolls up to the caption bar. Throws EKavPanelError(CantPushMessage) and changes nothing when
    // Align is alClient, alLeft or alRight. A Push while already rolling up is merged into that
    // roll; during a Pop it turns the roll round. (Not a slot: nothing that reaches the panel
    // through the meta-object may throw.)
    void Push();
    // Rolls down to Height. A Pop while already rolling down is merged into that roll; during a
    // Push it turns the roll round.
    void Pop();

public Q_SLOTS:
    // One step of the running roll now (nothing when not rolling); the roll timer calls it.
    void stepRoll();

Q_SIGNALS:
    void OnPush(QObject *sender);
    void OnPop(QObject *sender);

protected:
    // The push button's four frames (expanded, expanded under the mouse, pushed, pushed under the
    // mouse): those of the PANEL_BUTTON strip. Asked for when the look is set; null frames draw
    // no button.
    using ButtonFrames = std::array<Kav::TkavPicture, 4>;
    virtual ButtonFrames pushButtonFrames() const;
    void paintPanel(QImage &canvas) const override;
    // The push button shows for some Aligns only.
    void AlignChanged() override;

    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    enum class Roll { None, Up, Down };

    void applyLook(const KavThemeValues &values);
    void updateChildMargins();
    void startRoll(Roll direction);
    void setVisibleHeight(int height);
    void finishRoll();

    TColor m_borderColor;
    TkavLook m_look;
    Kav::TkavPicture m_barPicture;
    ButtonFrames m_buttonFrames;
    bool m_showButton = true;
    bool m_expanded = true;
    int m_fullHeight = 100;
    TColor m_captionFontColor;
    QString m_caption;

    Roll m_rolling = Roll::None;
    int m_rollTarget = 0;
    int m_animationInterval = 10;
    QTimer *m_rollTimer = nullptr;
    std::optional<int> m_savedMaximumHeight;
    std::optional<QPoint> m_mousePos;
};
