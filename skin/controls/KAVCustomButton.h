#pragma once

#include "KAVLook.h"
#include "KAVMgr.h"
#include "KAVThemes.h"

#include <QAbstractButton>
#include <QHash>
#include <QImage>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QPainter;

// The ticking behind a held button's auto-repeat. The default one runs on a QTimer; tests (of the
// buttons and of the controls built from them) install a driven one so that nothing waits for
// real time.
class TkavRepeatTimer {
public:
    virtual ~TkavRepeatTimer() = default;
    // Calls tick every intervalMs milliseconds until destroyed, the first time one full interval
    // after this call. Destroying the timer from inside tick is allowed.
    virtual void start(int intervalMs, std::function<void()> tick) = 0;
};
// A copy of picture whose pixels of colour key are fully transparent (how the buttons draw a
// picture with a transparent colour).
QImage KavWithoutKeyColour(const QImage &picture, QRgb key);

// Makes the repeat timer of a button; owner is the button.
using TkavRepeatTimerFactory = std::function<std::unique_ptr<TkavRepeatTimer>(QObject *owner)>;

// The common part of the skinned push buttons: the mouse-over / pressed state machine, the
// auto-repeat while the left button is held, Space and Enter, the accelerator of the caption,
// Default and Cancel, ModalResult, and the paint template that composes the whole face off screen
// and copies it once.
//
// Mouse: a left press shows the pressed face and starts the repeat (OnMouseContinuouslyDown every
// MouseContinuouslyDownInterval ms, the first one interval after the press); a release inside
// clicks. Dragging a held button out clears its faces and ends the repeat at once; dragging it
// back in shows the mouse-over face (not the pressed one), and a release there still clicks.
// Disabling or hiding a held button lets go of it.
//
// Default and Cancel: Qt knows default buttons only inside dialogs, so the button watches its
// window for Return/Enter and Escape key presses that no child took (a key press travels from the
// focus widget up to the window until someone accepts it). Such a key clicks the first enabled,
// visible button of that window, in creation order, that is Default (Return/Enter) or Cancel
// (Escape), provided no Shift, Ctrl or Alt is held. A focused button takes Return itself, and a
// control that consumes Return (a multi-line editor, say) keeps it.
//
// ModalResult: a click hands the button's ModalResult to its window. A QDialog is closed with
// done(ModalResult) when the value is non-zero (exec() then returns it); any other window gets it
// in its property "ModalResult" (a dynamic property unless the window declares one), also when 0.
//
// Clicks: every click, whether by the mouse, the keyboard, a dialog key, the accelerator or
// QAbstractButton::click(), passes through QAbstractButton::clicked; the button handles it first
// (clears the pressed face, takes the focus, sets the modal result), then emits OnClick and
// triggers its Action.
class TkavCustomButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Cancel READ Cancel WRITE setCancel)
    Q_PROPERTY(bool Default READ Default WRITE setDefault)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE setModalResult)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(bool PicTransparent READ PicTransparent WRITE setPicTransparent)
    Q_PROPERTY(int MouseContinuouslyDownInterval READ MouseContinuouslyDownInterval WRITE
                   setMouseContinuouslyDownInterval)
    Q_PROPERTY(int FocusedRectMargin READ FocusedRectMargin WRITE setFocusedRectMargin)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(QAction *Action READ Action WRITE setAction)

public:
    explicit TkavCustomButton(QWidget *parent = nullptr);
    ~TkavCustomButton() override;

    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    // The caption is the button's text(): setText() and setCaption() are the same store.
    QString Caption() const { return text(); }
    void setCaption(const QString &caption);

    bool Cancel() const { return m_cancel; }
    void setCancel(bool cancel);
    bool Default() const { return m_default; }
    void setDefault(bool isDefault);

    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    bool PicTransparent() const { return m_picTransparent; }
    void setPicTransparent(bool picTransparent);

    int ModalResult() const { return m_modalResult; }
    void setModalResult(int modalResult) { m_modalResult = modalResult; }

    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style);
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme);

    int MouseContinuouslyDownInterval() const { return m_repeatInterval; }
    void setMouseContinuouslyDownInterval(int milliseconds) { m_repeatInterval = milliseconds; }

    int FocusedRectMargin() const { return m_focusedRectMargin; }
    void setFocusedRectMargin(int margin);

    // Whether the button takes the focus (by Tab and by clicks); shown as Qt's focus policy.
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool tabStop);

    // The action the button shows and triggers: its text, enabled state, tool tip and
    // visibility are copied into the button whenever the action changes. Not owned.
    QAction *Action() const { return m_action; }
    void setAction(QAction *action);

    // The button's click: nothing when disabled.
    void Click();

    // A Return/Enter or Escape that reached the window unhandled: clicks this button when it is
    // the Default (Return/Enter) or Cancel (Escape) button, no Shift, Ctrl or Alt is held and it
    // can take the focus. Returns whether it clicked.
    bool DialogKey(int key, Qt::KeyboardModifiers modifiers);

    // The face state, for the controls built from buttons and for tests.
    bool isMouseOver() const { return m_mouseOver; }
    bool isPressed() const { return m_pressed; }
    bool hasRepeatTimer() const { return m_repeatTimer != nullptr; }

    // Replaces the maker of repeat timers for every button; an empty factory restores the QTimer
    // one. Returns the factory that was installed before.
    static TkavRepeatTimerFactory setRepeatTimerFactory(TkavRepeatTimerFactory factory);

Q_SIGNALS:
    void OnClick(QObject *sender);
    void OnMouseEnter(QObject *sender);
    void OnMouseExit(QObject *sender);
    void OnMouseContinuouslyDown(QObject *sender);
    void OnMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);

protected:
    // Hooks of the button family. The Paint* hooks fill picture with the face of one state.
    virtual void AutoSizeChanged();
    virtual void CaptionChanged() {}
    virtual void FontChanged();
    virtual void TransparentChanged();
    virtual void EnableChanged() {}
    virtual void UIStyleChanged() {}
    virtual void ActionChange();
    virtual void PaintPic(QPainter &canvas, const QImage &picture);
    virtual void PaintText(QPainter &canvas, const QString &text);
    virtual void PaintFocus(QPainter &canvas);
    virtual void PaintButtonNormal(QImage &picture);
    virtual void PaintButtonMouseOn(QImage &picture);
    virtual void PaintButtonMouseDown(QImage &picture);
    virtual void PaintButtonDisabled(QImage &picture);

    // The button's theme values (file theme or built-in look).
    KavThemeValues themeValues() const { return m_look.values(); }
    // Frame index (1-based) of count frames of the theme picture key, kept until the look
    // changes; count 0 gives the whole picture. May throw when a built-in picture is missing.
    QImage themeFrame(int key, int count, int index) const;

    // The caption is drawn bold at the next PaintText (a focused button in some looks).
    void setBoldCaptionOnce() { m_boldCaption = true; }
    bool boldCaptionPending() const { return m_boldCaption; }

    // Draws picture at point at natural size: pixels of its top-left colour are skipped when
    // masked, and a disabled-looking copy is drawn when disabledManner.
    static void drawImageListStyle(QPainter &canvas, const QImage &picture, const QPoint &point,
                                   bool masked, bool disabledManner);
    // The same with the key colour given: pixels of key are skipped.
    static void drawImageListStyle(QPainter &canvas, const QImage &picture, const QPoint &point,
                                   QRgb key, bool disabledManner);
    // The base focus rectangle: dotted, inverting, at FocusedRectMargin inside the client area.
    void drawFocusRectangle(QPainter &canvas) const;

    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void changeEvent(QEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    bool hitButton(const QPoint &pos) const override;

private:
    void handleClicked();
    void mouseEntered();
    void mouseLeft();
    void startRepeat();
    void stopRepeat();
    void releasePressed();
    void fallBackToDeepBlue();
    void applyModalResult();
    void watchWindowDialogKeys();
    void paintBackground(QPainter &canvas);
    QImage statePicture();

    TkavLook m_look;
    bool m_autoSize = false;
    bool m_cancel = false;
    bool m_default = false;
    bool m_transparent = false;
    int m_modalResult = 0;
    bool m_boldCaption = false;
    bool m_picTransparent = false;
    std::unique_ptr<TkavRepeatTimer> m_repeatTimer;
    int m_repeatInterval = 100;
    int m_focusedRectMargin = 2;
    bool m_mouseOver = false;
    bool m_pressed = false;
    // Whether the pointer counts as on the button as far as enter and leave go. Qt delays the
    // leave of a held button until the release, so the button tells enter and leave itself
    // while held; this keeps each one from being reported twice.
    bool m_underMouse = false;
    bool m_pressedByKey = false;
    QPointer<QAction> m_action;
    QMetaObject::Connection m_actionWatch;

    // Theme frames fetched since the last look change, and what they were fetched for.
    mutable QHash<quint64, QImage> m_frames;
    mutable QString m_framesThemeFile;
    mutable bool m_framesThemeUsable = false;
};
