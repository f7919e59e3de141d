#pragma once

#include "KAVColor.h"
#include "KAVComposer.h"
#include "KAVLook.h"
#include "KAVThemes.h"

#include <QColor>
#include <QProxyStyle>
#include <QRect>
#include <QToolBar>

class QStyleOptionToolButton;

namespace Kav {

// How one tool button face is drawn in the skin; filled from the button's style option.
struct ToolButtonFace {
    enum Kind : quint8 {
        Platform, // left to the platform (a normal button: flat)
        Hot,      // ButtonColor: under the mouse, or pressed or checked away from it
        Down,     // ButtonDownColor: pressed under the mouse
    };
    Kind kind = Platform;
    bool dropDownMark = false; // the split line and arrow of a drop-down button under the mouse
};

// Which face a tool button in state shows; dropDown says the button has a separate menu arrow.
ToolButtonFace toolButtonFace(QStyle::State state, bool dropDown);

// The part of a drop-down button's rectangle right of the split line: the arrow's part.
inline constexpr int ToolDropDownWidth = 14;

// Draws a skinned face (Hot or Down) onto painter within rect: the fill, the border, and for a
// drop-down mark the split line and the arrow. The label is drawn by the caller.
void paintToolButtonFace(QPainter &painter, const QRect &rect, const ToolButtonFace &face, const QColor &fill,
                         const QColor &border);

} // namespace Kav

// A tool bar with skinned button faces. Qt lays out its buttons, tracks the mouse over them, opens
// their menus and moves what does not fit behind its extension button; the skin only paints the
// faces of the hot, pressed and checked buttons in the look's colours, and leaves normal buttons
// flat.
//
// The faces are drawn by a style (TkavToolBarStyle) set on the tool bar and on every tool button
// the tool bar makes for its actions: the button keeps its own state, so the face is painted from
// Qt's own style option for it, and menu buttons, focus, icons and text placement stay Qt's.
//
// Transparent shows what lies behind the tool bar instead of Color; MacOS and Protein make the
// tool bar transparent, the other looks make it opaque.
class TkavToolBar : public QToolBar {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor ButtonColor READ ButtonColor WRITE setButtonColor)
    Q_PROPERTY(QColor ButtonBorderColor READ ButtonBorderColor WRITE setButtonBorderColor)
    Q_PROPERTY(QColor ButtonDownColor READ ButtonDownColor WRITE setButtonDownColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)

public:
    explicit TkavToolBar(QWidget *parent = nullptr);
    ~TkavToolBar() override;

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    // Takes the look's button colours and its transparency.
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    TColor ButtonColor() const { return m_buttonColor; }
    void setButtonColor(TColor color);
    void setButtonColor(const QColor &color) { setButtonColor(TColor::fromQColor(color)); }
    TColor ButtonBorderColor() const { return m_buttonBorderColor; }
    void setButtonBorderColor(TColor color);
    void setButtonBorderColor(const QColor &color) { setButtonBorderColor(TColor::fromQColor(color)); }
    TColor ButtonDownColor() const { return m_buttonDownColor; }
    void setButtonDownColor(TColor color);
    void setButtonDownColor(const QColor &color) { setButtonDownColor(TColor::fromQColor(color)); }

    // The bar's background, kept in the palette (QPalette::Window) so that Qt's own drawing of an
    // expanded bar uses it too.
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);

protected:
    void actionEvent(QActionEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyLook(const KavThemeValues &values);

    TkavLook m_look;
    TColor m_buttonColor;
    TColor m_buttonBorderColor;
    TColor m_buttonDownColor;
    bool m_transparent = false;
};

// The style of a skinned tool bar and its buttons: the application's style, except for the faces
// of tool buttons on a TkavToolBar (read from that tool bar's colours) and the bar's own panel,
// which the tool bar paints itself. One instance serves every tool bar.
class TkavToolBarStyle : public QProxyStyle {
    Q_OBJECT

public:
    static TkavToolBarStyle *instance();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    TkavToolBarStyle();
    void drawSkinnedButton(const TkavToolBar &bar, const QStyleOptionToolButton &option,
                           const Kav::ToolButtonFace &face, QPainter *painter, const QWidget *widget) const;
};
