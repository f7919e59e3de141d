#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVMgr.h"
#include "KAVPictureStore.h"
#include "KAVThemes.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QSize>
#include <QString>

#include <array>

// Loading a form. While a form definition is being applied, the skinned controls change state
// silently: they store and repaint but raise none of their events (OnClick), because user code
// must not react to the definition itself. Qt has no such state, so it is a flag: a control counts
// as loading while it or any of its ancestors carries it. A form loader holds a TkavFormLoading on
// the window for as long as it creates controls and applies their properties; a single control
// can also be switched with TkavCheckBox::setLoading.
class TkavFormLoading {
public:
    explicit TkavFormLoading(QWidget *form);
    ~TkavFormLoading();
    TkavFormLoading(const TkavFormLoading &) = delete;
    TkavFormLoading &operator=(const TkavFormLoading &) = delete;

private:
    QPointer<QWidget> m_form;
    bool m_wasLoading;
};

namespace Kav {
// Whether the control can be given the focus: shown and enabled; skinned check boxes and radio
// buttons take it whatever their TabStop, other widgets only when their focus policy allows.
bool KavCanTakeFocus(const QWidget *control);

// Whether widget, or any of its ancestors, is being loaded.
bool KavIsLoading(const QWidget *widget);
// Switches the loading flag of widget alone.
void KavSetLoading(QWidget *widget, bool loading);
} // namespace Kav

// A skinned check box: the state picture of its look (CheckBoxImage, four frames: checked,
// unchecked, checked disabled, unchecked disabled) followed by its caption, sized to both.
//
// Checked is QAbstractButton's checked state, and every click (mouse, Space or Enter, accelerator,
// Click()) goes through QAbstractButton::click(): pressed(), released(), clicked(), toggled() and
// QButtonGroup behave as for any Qt button. On top of that, OnClick is raised on every real change
// of Checked (by click, keyboard, accelerator or program), never for a click that changes nothing
// and never while loading; CheckedChanged is the plain change notification of the property, which
// follows every real change, loading or not.
//
// Keyboard: Space or Enter released on a focused check box toggles it; the caption's
// accelerator ("&Start" -> Alt+S) focuses and clicks; the arrow keys move the focus to the next or
// previous control of the same parent (tab order, wrapping round).
class TkavCheckBox : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool Checked READ Checked WRITE setChecked NOTIFY CheckedChanged)
    Q_PROPERTY(TCheckBoxState State READ State WRITE setState)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    // QAbstractButton's text, written through the meta-object (form loaders), sizes the box too.
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool Loading READ isLoading WRITE setLoading)

public:
    // The three states of a platform check box; there is no third state here, cbGrayed unchecks.
    enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
    Q_ENUM(TCheckBoxState)

    explicit TkavCheckBox(QWidget *parent = nullptr);

    // A look brings the state pictures (from the picture store); the size is measured again only
    // when the picture's size changed.
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    bool Checked() const { return isChecked(); }
    // QAbstractButton::setChecked under the published name: a real change repaints and then runs
    // CheckStateChanged; the same value does nothing. (A change made through the base class, or
    // by a QButtonGroup, is handled alike.)
    void setChecked(bool checked);

    TCheckBoxState State() const { return isChecked() ? cbChecked : cbUnchecked; }
    void setState(TCheckBoxState state) { setChecked(state == cbChecked); }

    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption);
    // Hides QAbstractButton::setText so that the size follows at once. (A text set through a
    // QAbstractButton pointer is shown, but the size follows only at the next change of caption,
    // font or look.)
    void setText(const QString &text) { setCaption(text); }

    // TabStop: Tab reaches the control. With or without it, a click takes the focus when it
    // clicks (on release, not on press), and so do the arrow keys (group items are reached so).
    bool TabStop() const { return (focusPolicy() & Qt::TabFocus) != 0; }
    void setTabStop(bool tabStop);

    // The background colour; by default the parent's (Qt palette inheritance is ParentColor).
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    bool isLoading() const { return Kav::KavIsLoading(this); }
    void setLoading(bool loading) { Kav::KavSetLoading(this, loading); }

    // Picture width + caption width + 8 by max(text height + 2, picture height) + 4.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The state picture as it is drawn now (frame of the current state, masked as drawn); null
    // when the look has none.
    Kav::TkavPicture statePicture() const;

public Q_SLOTS:
    // What a mouse click does: take the focus when possible, then QAbstractButton::click(), whose
    // nextCheckState runs DoClick. Nothing when disabled.
    void Click();

Q_SIGNALS:
    void OnClick(QObject *sender);
    void CheckedChanged(bool checked);

protected:
    // Operations a subclass may replace.
    virtual bool NeedDrawFocus() const;
    virtual bool GetPicTransparent() const { return false; }
    virtual int GetPicThemeIndex() const { return KavKey::CheckBoxImage; }
    virtual void CheckStateChanged();
    virtual void Toggle() {}
    virtual void DoClick();
    virtual bool WantKeyUp() const { return true; }

    // OnClick, unless loading.
    void raiseOnClick();
    // Gives the control the focus when it can take it and has not got it.
    void takeFocus();
    // The look's pictures again (a subclass draws another theme key); sized again when their size
    // changed.
    void reloadPictures(const KavThemeValues &values);

    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    // A click's change of state is DoClick's to decide.
    void nextCheckState() override { DoClick(); }

private:
    void checkedToggled(bool checked);
    bool focusSibling(bool forward);
    // Measures the caption again (its font or text changed) and applies AutoSize.
    void captionChanged();
    void applyAutoSize();
    // 1 checked, 2 unchecked, 3 checked disabled, 4 unchecked disabled.
    int frameNumber() const;

    TkavLook m_look;
    std::array<Kav::TkavPicture, 4> m_frames;
    // The caption's width and line height in the font, kept with caption and font.
    QSize m_captionSize;
    bool m_transparent = false;
    bool m_autoSize = true;
};

// A skinned radio button: RadioButtonImage drawn with its bottom-left colour transparent.
// Becoming checked unchecks every TkavRadioButton with the same parent and the same GroupIndex,
// also while loading; only then is OnClick raised, on the newly checked button alone. Clicking a
// checked radio button changes nothing and raises no OnClick (clicked() still follows, as for any
// Qt button). Space released on a focused radio button clicks it, so that keyboard users can
// choose; Enter does nothing on it.
class TkavRadioButton : public TkavCheckBox {
    Q_OBJECT
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)

public:
    explicit TkavRadioButton(QWidget *parent = nullptr);

    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int groupIndex) { m_groupIndex = groupIndex; }

protected:
    bool GetPicTransparent() const override { return true; }
    int GetPicThemeIndex() const override { return KavKey::RadioButtonImage; }
    void CheckStateChanged() override;
    void DoClick() override;
    bool WantKeyUp() const override { return false; }

    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;

private:
    // The focus came to this button from previous (QApplication::focusChanged).
    void focusArrived(QWidget *previous);
    void uncheckGroup();

    int m_groupIndex = 0;
};
