#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVScrollBar.h"
#include "KAVThemes.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QStringList>

// A multi-line text editor with the skin's flat border (an outer line in BorderColor and an inner
// line in the memo's Color, MemoBorderWidth in all) that can show skinned scroll bars in place of
// its own. Text editing, the clipboard, undo, input methods and accessibility are Qt's.
//
// ScrollBars says which of Qt's own scroll bars are shown. Attaching a VScrollBar or HScrollBar
// sets ScrollBars to the attached directions; in an attached direction Qt's bar is not shown and
// the skinned bar, which stands on the memo's parent, is laid over the memo's edge and follows the
// text as it is typed, pasted, scrolled by wheel or keys, resized and wrapped.
class TkavMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(TkavScrollBar *VScrollBar READ VScrollBar WRITE setVScrollBar)
    Q_PROPERTY(TkavScrollBar *HScrollBar READ HScrollBar WRITE setHScrollBar)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(QStringList Lines READ Lines WRITE setLines)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE setScrollBars)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE setWantReturns)
    Q_PROPERTY(bool WantTabs READ WantTabs WRITE setWantTabs)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    enum TScrollStyle : quint8 { ssNone = 0, ssHorizontal, ssVertical, ssBoth };
    Q_ENUM(TScrollStyle)

    explicit TkavMemo(QWidget *parent = nullptr);
    ~TkavMemo() override;

    // A look brings BorderColor (the look's ControlBorderColor) and reaches the attached bars;
    // Color and Font stay as they are.
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }

    // The attached bars (not owned); nullptr detaches.
    TkavScrollBar *VScrollBar() const;
    void setVScrollBar(TkavScrollBar *bar);
    TkavScrollBar *HScrollBar() const;
    void setHScrollBar(TkavScrollBar *bar);

    // The background of the text (and of the border's inner line).
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    QStringList Lines() const;
    void setLines(const QStringList &lines);

    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void setScrollBars(TScrollStyle scrollBars);

    bool WordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    void setWordWrap(bool wordWrap);

    // Without WantReturns, Return and Enter are left to the window (its default button).
    bool WantReturns() const { return m_wantReturns; }
    void setWantReturns(bool wantReturns) { m_wantReturns = wantReturns; }
    // Without WantTabs, Tab moves the focus on.
    bool WantTabs() const { return !tabChangesFocus(); }
    void setWantTabs(bool wantTabs) { setTabChangesFocus(!wantTabs); }

    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    void setTabStop(bool tabStop) { setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus); }

    // The attached bars and what keeps them in step.
    TkavAttachedScrollBars *attachedScrollBars() const { return m_bars; }

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void UpdateInnerScrollBars();
    void applyScrollBars();
    void paintBorder();
    void applyLook(const KavThemeValues &values);

    TkavLook m_look;
    TColor m_borderColor;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wantReturns = true;
    TkavAttachedScrollBars *m_bars;
};
