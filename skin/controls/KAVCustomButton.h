#pragma once

#include "KAVButtonPainter.h"
#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVMgr.h"
#include "KAVRepeatTimer.h"
#include "KAVThemes.h"

#include <QAbstractButton>
#include <QFont>
#include <QImage>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QAction;

using TkavRepeatTimerFactory = std::function<std::unique_ptr<TkavRepeatTimer>(QObject *owner)>;

// The common part of the skinned push buttons: the mouse-over / pressed state machine, the
// auto-repeat while the left button is held, Space and Enter, the accelerator of the caption,
// Default and Cancel, ModalResult, and the face drawn from the look's pictures.
//
// State: the pressed face is QAbstractButton's down state and a click is QAbstractButton's click,
// so clicked(), pressed(), released(), toggled(), nextCheckState() and QButtonGroup behave as for
// any Qt button (a checkable button shows its pressed face while checked). The mouse-over face is
// the button's own flag: it follows the pointer at once, also while the button is held, where Qt
// tells a held button of the leave only at the release.
//
// Mouse: a left press shows the pressed face and starts the repeat (OnMouseContinuouslyDown every
// MouseContinuouslyDownInterval ms, the first one interval after the press); a release inside
// clicks. Dragging a held button out lets go of it (released()) and ends the repeat at once;
// dragging it back in shows the mouse-over face (not the pressed one), and a release there still
// clicks. Disabling, hiding or leaving a held button lets go of it. The button takes the focus
// when it is clicked, not when it is pressed.
//
// Keyboard: Space, Return and Enter press the button and click it on release.
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
// Clicks: every click, whether by the mouse, the keyboard, a dialog key, the accelerator,
// Click() or QAbstractButton::click(), is QAbstractButton's; the button handles clicked() first
// (ends the repeat, takes the focus, sets the modal result), then emits OnClick and triggers its
// Action.
//
// Colours and font: the caption is written in the palette's foreground role (WindowText unless
// changed), which is what a container's font colour sets and what Qt hands down from parent to
// child, so a button takes its parent's font colour until it is given one of its own; Color is
// the background role (Window), shown where the face leaves the button uncovered. ParentFont and
// ParentColor tell whether the button follows its parent (Qt's font and palette inheritance).
//
// Pictures: the face of each state is taken from the picture store when the look or a picture
// setting changes, never while painting, so a look change is a few look-ups and identical
// buttons share their composed faces.
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
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE setParentFont)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)

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
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    int MouseContinuouslyDownInterval() const { return m_repeatInterval; }
    void setMouseContinuouslyDownInterval(int milliseconds) { m_repeatInterval = milliseconds; }

    int FocusedRectMargin() const { return m_focusedRectMargin; }
    void setFocusedRectMargin(int margin);

    // Whether the button takes the focus by Tab (and when clicked); shown as Qt's focus policy.
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool tabStop);

    // The action the button shows and triggers: its text, enabled state, tool tip and
    // visibility are copied into the button whenever the action changes. Not owned.
    QAction *Action() const { return m_action; }
    void setAction(QAction *action);

    // Whether the font is the parent's (no font of the button's own). Setting it drops the
    // button's own font; clearing it keeps the current font as the button's own.
    bool ParentFont() const;
    void setParentFont(bool parentFont);
    // The background colour: the palette's background role, the parent's until set.
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }
    // Whether the background colour is the parent's. Setting it drops the button's own colour.
    bool ParentColor() const;
    void setParentColor(bool parentColor);

    // The button's click (QAbstractButton::click): nothing when disabled.
    void Click();

    // A Return/Enter or Escape that reached the window unhandled: clicks this button when it is
    // the Default (Return/Enter) or Cancel (Escape) button, no Shift, Ctrl or Alt is held and it
    // can take the focus. Returns whether it clicked.
    bool DialogKey(int key, Qt::KeyboardModifiers modifiers);

    // The face state, for the controls built from buttons and for tests. Pressed is Qt's down.
    bool isMouseOver() const { return m_mouseOver; }
    bool isPressed() const { return isDown(); }
    bool hasRepeatTimer() const { return m_repeatTimer != nullptr; }

    // Replaces the maker of repeat timers for every button; an empty factory restores the QTimer
    // one. Returns the factory that was installed before.
    static TkavRepeatTimerFactory setRepeatTimerFactory(TkavRepeatTimerFactory factory);
    // A repeat timer from the installed factory, for controls that repeat on their own terms.
    static std::unique_ptr<TkavRepeatTimer> newRepeatTimer(QObject *owner);

Q_SIGNALS:
    void OnClick(QObject *sender);
    void OnMouseEnter(QObject *sender);
    void OnMouseExit(QObject *sender);
    void OnMouseContinuouslyDown(QObject *sender);
    void OnMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);

protected:
    // The faces a button draws: disabled wins over pressed, pressed over mouse over.
    enum class FaceState : quint8 { Normal, MouseOn, MouseDown, Disabled };
    static constexpr int FaceStateCount = 4;

    // A picture for each face state, by FaceState.
    using FacePictures = std::array<Kav::TkavPicture, FaceStateCount>;

    // The pictures of the face states as this kind of button draws them, from the picture store.
    // Asked when the look or a picture setting changes; a subclass whose pictures depend on more
    // calls refreshFaces() when that changes. The base: frames 1, 2, 3 and 1 of the look's
    // ButtonImage, masked by the top-left colour when PicTransparent, the disabled one greyed.
    virtual FacePictures facePictures() const;
    // Told after the face pictures were fetched again.
    virtual void FacesChanged() {}
    // The frames of the look's ButtonImage for the face states (normal, mouse over, pressed, and
    // the normal one when disabled), masked as asked, the disabled one greyed when asked.
    FacePictures buttonImageFaces(Kav::PictureMask mask, bool greyDisabled) const;
    // Fetches the face pictures again.
    void refreshFaces();

    // Hooks of the button family.
    virtual void AutoSizeChanged();
    virtual void CaptionChanged() {}
    virtual void FontChanged();
    virtual void TransparentChanged();
    virtual void EnableChanged() {}
    virtual void UIStyleChanged() {}
    virtual void ActionChange();

    // For buttons made outside the library that show other pictures: each fills picture with the
    // face of one state, and is asked with the other face pictures, never while painting. By
    // default the picture facePictures() gives. A picture handed back that the store gave is
    // drawn as that picture; any other is taken into the store once, as it is. A hook that throws
    // leaves a blank face.
    virtual void PaintButtonNormal(QImage &picture);
    virtual void PaintButtonMouseOn(QImage &picture);
    virtual void PaintButtonMouseDown(QImage &picture);
    virtual void PaintButtonDisabled(QImage &picture);

    // Paints the face through the composer (the backdrop is Color, with what lies behind the
    // button when Transparent); the face itself is drawFace's.
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    // Draws the face of the button's current state; only reads the button. The base draws the
    // picture button (PictureButtonOption, from initOption).
    virtual void drawFace(QImage &face) const;
    virtual void initOption(Kav::PictureButtonOption &option) const;

    // What the option structs are filled from.
    FaceState faceState() const;
    const Kav::TkavPicture &face(FaceState state) const { return m_faces[std::size_t(state)]; }
    const Kav::TkavPicture &currentFace() const { return face(faceState()); }
    // The pressed look: down, or checked for a checkable button.
    bool looksPressed() const { return isDown() || isChecked(); }
    // Whether the focus is to be shown: the button has it and is a tab stop.
    bool showsFocus() const { return hasFocus() && TabStop(); }
    Kav::ButtonFocusOption focusOption() const { return {showsFocus(), m_focusedRectMargin}; }
    Kav::ButtonCaptionOption captionOption() const;

    // The button's theme values (file theme or built-in look).
    KavThemeValues themeValues() const { return m_look.values(); }

    bool event(QEvent *e) override;
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

private:
    void handleClicked();
    void mouseEntered();
    void mouseLeft();
    void letGo();
    void startRepeat();
    void stopRepeat();
    // Applies a look: the hooks of the button family (UIStyleChanged), then the faces.
    void applyLook();
    void applyModalResult();
    void watchWindowDialogKeys();
    bool isOutside(const QPoint &at) const;
    Kav::TkavPicture storedFace(const QImage &image, FaceState state) const;

    TkavLook m_look;
    bool m_autoSize = false;
    bool m_cancel = false;
    bool m_default = false;
    bool m_transparent = false;
    int m_modalResult = 0;
    bool m_picTransparent = false;
    std::unique_ptr<TkavRepeatTimer> m_repeatTimer;
    int m_repeatInterval = 100;
    int m_focusedRectMargin = 2;
    // The mouse-over face: set when the pointer comes onto the button, cleared when it leaves or
    // a held button is dragged off.
    bool m_mouseOver = false;
    QPointer<QAction> m_action;
    QMetaObject::Connection m_actionWatch;
    FacePictures m_faces;
    // While the look changes, the faces are fetched once at the end (the look may set
    // Transparent on the way).
    bool m_lookChanging = false;
};
