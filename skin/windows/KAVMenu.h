#pragma once

// What the skinned menus (TkavPopupMenu, TkavMainMenu) share: the appearance values of one menu,
// the stateless routines that draw an item, a separator, the menu window's frame and the main
// menu's bar items from them, the per-menu style through which Qt asks for item sizes and
// pictures, and the skinner that gives a menu and every sub-menu in its tree that style.
//
// Qt opens, tracks and navigates the menus (mouse, keyboard, accelerators, shortcuts,
// accessibility); the skin only answers sizes and paints.

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVMetrics.h"
#include "KAVPictureStore.h"
#include "KAVThemes.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QProxyStyle>
#include <QRect>
#include <QString>

class QMenu;
class QMenuBar;
class QPainter;
class QStyleOptionMenuItem;

namespace Kav {

// System colours as the classic colour type writes them (0x80000000 | index); drawn in the
// menu's palette colour that plays the same part.
inline constexpr TColor clBtnFace = TColor(0x8000000F);
inline constexpr TColor clHighlight = TColor(0x8000000D);
inline constexpr TColor clMenuText = TColor(0x80000007);
inline constexpr TColor clMenuWhite = TColor(0xFFFFFF);
inline constexpr TColor clMenuGrey = TColor(0x808080); // disabled captions, a new separator

// A colour ready to draw: system colours come from palette.
QColor KavMenuColor(TColor color, const QPalette &palette);

// The appearance of one skinned menu: its published values, and the pictures its look draws
// with, prepared when the look is applied so that painting only reads.
struct TkavMenuSkin {
    // The look draws its items and bar from pictures (TkavLookTraits::pictureMenus).
    bool pictureMenus = false;
    int menuItemHeight = Metrics::MenuNewItemHeight;
    int separatorHeight = Metrics::MenuNewItemHeight;
    TColor barColor = clBtnFace;
    int barWidth = 0;
    TColor color = clMenuWhite;
    TColor separatorColor = clMenuGrey;
    TColor selectedBorderColor = clHighlight;
    TColor selectedColor = clHighlight;
    TColor selectedFontColor = clMenuWhite;
    TColor fontColor = clMenuWhite;
    TColor borderColor = TColor(0); // kept for theme tools; not drawn
    bool flatMenu = false;
    QString fontName = QStringLiteral("MS Sans Serif");
    int fontSize = 8;
    int fontCharset = 1;
    bool useSystemFont = true;

    // The flat frame's line colour: the look's form border colour.
    TColor frameLineColor = TColor(0);
    // The main menu's bar (set by the form that shows it).
    TColor menuBarColor = clBtnFace;
    int menuBarHeight = Metrics::MenuBarHeight;

    // MacOS pictures: the line picture cut to an item's and a separator's rows, the selection
    // picture cut to an item's rows, and both whole for the main menu's bar.
    QImage macItem;
    QImage macSeparator;
    QImage macSelected;
    QImage macBar;
    QImage macBarSelected;
    // The check mark, white masked, and its greyed copy for disabled items.
    TkavPicture checkMark;
    TkavPicture checkMarkGreyed;

    // The font items are measured and drawn with.
    QFont font() const;
};

// Applies a look to skin: the heights, the bar width, the separator colour and the colours of the
// look (from the file theme when it is in use), and the pictures it draws with. BorderColor and
// the font stay. Nothing is repainted.
void KavApplyMenuLook(TkavMenuSkin &skin, const KavThemeValues &values);

// The system's menu font.
QFont Menu_GetSystemFont();

// One item as the drawing routines read it, filled from Qt's style option.
struct MenuItemFace {
    QRect rect;
    QString caption;  // with its '&' accelerator marks
    QString shortcut; // the shortcut's text, empty when there is none
    QImage icon;      // MenuGlyphSize, already greyed for a disabled item; null without an icon
    bool separator = false;
    bool selected = false;
    bool enabled = true;
    bool checked = false;
    bool defaultItem = false;
    bool subMenu = false;
    bool showMnemonic = true;
};
MenuItemFace KavMenuItemFace(const QStyleOptionMenuItem &option);

// The size Qt is told for an item: MenuItemHeight (SeparatorHeight for a separator), and caption
// width + BarWidth + MenuItemExtraWidth; Qt adds the menu's widest shortcut text to every item.
QSize Menu_MeasureItem(const TkavMenuSkin &skin, const QFontMetrics &metrics, const QString &caption,
                       bool separator);

// The drawing routines; each paints within rect only.
// A 1-pixel frame just inside rect.
void Menu_DrawBorder(QPainter &painter, const QRect &rect, const QColor &color);
// A normal item's background: the bar at the left and Color, or the selection face.
void Menu_DrawBackGround(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin, bool selected,
                         const QPalette &palette);
// A separator outside MacOS: the background and a line right of the bar.
void Menu_DrawLineItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin, const QPalette &palette);
// MacOS separator, selected and normal item backgrounds: their pictures stretched over rect.
void Menu_DrawMacOSLineItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin);
void Menu_DrawMacOSSelectedItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin);
void Menu_DrawMacOSNonSelectedItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin);
// The flat frame around a menu window whose rectangle is rect: a frame in outer one pixel below
// the top, a white frame inside it, and lines in line along the bottom, the right and the top.
// Drawn on the menu window's own frame (a window cannot draw on the screen around it).
void Menu_DrawWindowBorder(QPainter &painter, const QRect &rect, const QColor &outer, const QColor &line);
// A whole item: background, caption, shortcut, check mark or icon, sub-menu arrow.
void Menu_DrawItem(QPainter &painter, const MenuItemFace &item, const TkavMenuSkin &skin,
                   const QPalette &palette, const QFont &font);

// The main menu's bar. barRect is the whole bar; hot and pressed as Qt reports them.
struct MenuBarItemFace {
    QRect rect;
    QRect barRect;
    QString caption;
    bool hot = false;
    bool pressed = false;
    bool enabled = true;
    bool showMnemonic = true;
};
void Menu_DrawBarBackground(QPainter &painter, const QRect &rect, const QRect &barRect, const TkavMenuSkin &skin,
                            const QPalette &palette);
void Menu_DrawBarItem(QPainter &painter, const MenuBarItemFace &item, const TkavMenuSkin &skin,
                      const QPalette &palette, const QFont &font);

} // namespace Kav

// The style of one skinned menu tree: Qt's application style, except for what a menu's items,
// panel and frame and a main menu's bar look like and measure, read from the menu's skin. Owned
// by the menu; every sub-menu of the tree uses it too.
class TkavMenuStyle : public QProxyStyle {
    Q_OBJECT

public:
    explicit TkavMenuStyle(const Kav::TkavMenuSkin *skin, QObject *owner);

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    const Kav::TkavMenuSkin *m_skin;
};

// Gives one menu (a TkavPopupMenu, or a TkavMainMenu's bar) and every sub-menu in its tree the
// menu's style and font, now and whenever a sub-menu is added or attached to an action later, at
// any depth. A sub-menu that is a skinned menu of its own keeps its own skin.
class TkavMenuSkinner : public QObject {
    Q_OBJECT

public:
    // root: the skinned menu widget, which owns this skinner. The skinner keeps the skin, so that
    // it lives as long as the style that reads it.
    explicit TkavMenuSkinner(QWidget *root);

    Kav::TkavMenuSkin &skin() { return m_skin; }
    const Kav::TkavMenuSkin &skin() const { return m_skin; }

    TkavMenuStyle *style() const { return m_style; }
    // Hooks the whole tree again (sub-menus attached since are found too).
    void hookTree();
    // Gives menu and its sub-menus the skin, unless it has a skin of its own.
    void hookMenu(QMenu *menu);
    // Tells every menu of the tree that sizes, font or pictures changed, and repaints it.
    void refresh();
    // The menus of the tree that carry the skin, root first.
    QList<QWidget *> hookedWidgets() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hookWidget(QWidget *widget);
    void hookActionsOf(QWidget *widget);
    void hookActionMenu(QAction *action);

    QWidget *m_root;
    Kav::TkavMenuSkin m_skin;
    TkavMenuStyle *m_style;
    QList<QPointer<QWidget>> m_hooked;
};


// The published appearance of a skinned menu, kept once for both menu classes: the look, the
// skin values and the skinner of the menu's tree. Every setter stores, re-derives and refreshes
// the tree; the menu classes forward their properties here.
class TkavMenuAppearance {
public:
    // root: the menu widget that owns this appearance; it takes the look of the skinned form on
    // its parent's window when it is polished, unless it was given one before.
    explicit TkavMenuAppearance(QWidget *root);
    TkavMenuAppearance(const TkavMenuAppearance &) = delete;
    TkavMenuAppearance &operator=(const TkavMenuAppearance &) = delete;

    const Kav::TkavMenuSkin &skin() const { return m_skinner->skin(); }
    TkavMenuSkinner *skinner() const { return m_skinner; }

    // A look brings the heights, the bar width, the separator colour and the look's colours.
    TkavUIStyle uiStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *fileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    // Both heights keep the MacOS pictures' rows while the look is MacOS.
    void setMenuItemHeight(int height);
    void setSeparatorHeight(int height);
    void setBarWidth(int width);
    void setBarColor(TColor color) { store(&Kav::TkavMenuSkin::barColor, color); }
    void setColor(TColor color) { store(&Kav::TkavMenuSkin::color, color); }
    void setSeparatorColor(TColor color) { store(&Kav::TkavMenuSkin::separatorColor, color); }
    void setSelectedBorderColor(TColor color) { store(&Kav::TkavMenuSkin::selectedBorderColor, color); }
    void setSelectedColor(TColor color) { store(&Kav::TkavMenuSkin::selectedColor, color); }
    void setSelectedFontColor(TColor color) { store(&Kav::TkavMenuSkin::selectedFontColor, color); }
    void setFontColor(TColor color) { store(&Kav::TkavMenuSkin::fontColor, color); }
    void setBorderColor(TColor color) { m_skinner->skin().borderColor = color; }
    void setFlatMenu(bool flat) { store(&Kav::TkavMenuSkin::flatMenu, flat); }
    void setFontName(const QString &name) { store(&Kav::TkavMenuSkin::fontName, name); }
    void setFontSize(int size) { store(&Kav::TkavMenuSkin::fontSize, size); }
    void setFontCharset(int charset) { store(&Kav::TkavMenuSkin::fontCharset, qBound(0, charset, 255)); }
    void setUseSystemFont(bool use) { store(&Kav::TkavMenuSkin::useSystemFont, use); }
    void setMenuBarColor(TColor color) { store(&Kav::TkavMenuSkin::menuBarColor, color); }
    void setMenuBarHeight(int height);

private:
    template <typename Value>
    void store(Value Kav::TkavMenuSkin::*field, const Value &value)
    {
        m_skinner->skin().*field = value;
        m_skinner->refresh();
    }

    TkavLook m_look;
    TkavMenuSkinner *m_skinner; // a child of the root
};

namespace Kav {
// Hooks menu and all its sub-menus to skinner (the skinned menus' MenuAdded runs this for the
// whole tree).
void Menu_SetItemEvent(QMenu *menu, TkavMenuSkinner *skinner);

// F10: opens the first enabled item of a visible menu bar, as a click on it would. False when the
// bar is hidden or has nothing to open.
bool KavOpenMenuBar(QMenuBar *menuBar);
} // namespace Kav
