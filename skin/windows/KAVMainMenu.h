#pragma once

#include "KAVMenu.h"

#include <QMenuBar>
#include <QPointer>

// A window skin that shows a main menu under its title bar (TkavForm, TkavMDIForm). A main menu
// made on a window with such a skin becomes its menu.
class TkavMenuHost {
public:
    virtual void setMenu(QMenuBar *menu) = 0;

protected:
    ~TkavMenuHost() = default;
};

// A main menu drawn in the skin. It is the bar that shows the top-level items (the skinned form
// places it under its title bar): the bar's background is the MacOS line picture or the bar
// colour the form gives it, a hot item shows the selection face, a pressed one the same face
// shifted. Its drop-down menus and all their sub-menus, also those added later, are drawn like a
// TkavPopupMenu. Qt opens, tracks and navigates everything (accelerators, Alt, arrow keys,
// shortcuts, accessibility); it never becomes a native menu bar.
//
// The form that shows the bar hears of its changes through its signals: itemsChanged when
// top-level items come or go (or MenuAdded hooked the tree again), itemChanged when one changes,
// fontChanged when UseSystemFont changes.
class TkavMainMenu : public QMenuBar {
    Q_OBJECT
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE setOwnerDraw)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(int MenuItemHeight READ MenuItemHeight WRITE setMenuItemHeight)
    Q_PROPERTY(int SeparatorHeight READ SeparatorHeight WRITE setSeparatorHeight)
    Q_PROPERTY(int BarWidth READ BarWidth WRITE setBarWidth)
    Q_PROPERTY(QColor BarColor READ BarColor WRITE setBarColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QColor SeparatorColor READ SeparatorColor WRITE setSeparatorColor)
    Q_PROPERTY(QColor SelectedBorderColor READ SelectedBorderColor WRITE setSelectedBorderColor)
    Q_PROPERTY(QColor SelectedColor READ SelectedColor WRITE setSelectedColor)
    Q_PROPERTY(QColor SelectedFontColor READ SelectedFontColor WRITE setSelectedFontColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE setFlatMenu)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(int FontCharset READ FontCharset WRITE setFontCharset)
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE setUseSystemFont)

public:
    // The look starts as that of the skinned form on parent's window.
    explicit TkavMainMenu(QWidget *parent = nullptr);
    ~TkavMainMenu() override;

    // Items are always drawn by the skin.
    bool OwnerDraw() const { return true; }
    void setOwnerDraw(bool) {}

    TkavFileTheme *FileTheme() const { return m_appearance.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_appearance.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_appearance.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_appearance.setUIStyle(style); }

    int MenuItemHeight() const { return skin().menuItemHeight; }
    void setMenuItemHeight(int height) { m_appearance.setMenuItemHeight(height); }
    int SeparatorHeight() const { return skin().separatorHeight; }
    void setSeparatorHeight(int height) { m_appearance.setSeparatorHeight(height); }
    int BarWidth() const { return skin().barWidth; }
    void setBarWidth(int width) { m_appearance.setBarWidth(width); }
    TColor BarColor() const { return skin().barColor; }
    void setBarColor(TColor color) { m_appearance.setBarColor(color); }
    void setBarColor(const QColor &color) { setBarColor(TColor::fromQColor(color)); }
    TColor Color() const { return skin().color; }
    void setColor(TColor color) { m_appearance.setColor(color); }
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }
    TColor SeparatorColor() const { return skin().separatorColor; }
    void setSeparatorColor(TColor color) { m_appearance.setSeparatorColor(color); }
    void setSeparatorColor(const QColor &color) { setSeparatorColor(TColor::fromQColor(color)); }
    TColor SelectedBorderColor() const { return skin().selectedBorderColor; }
    void setSelectedBorderColor(TColor color) { m_appearance.setSelectedBorderColor(color); }
    void setSelectedBorderColor(const QColor &color) { setSelectedBorderColor(TColor::fromQColor(color)); }
    TColor SelectedColor() const { return skin().selectedColor; }
    void setSelectedColor(TColor color) { m_appearance.setSelectedColor(color); }
    void setSelectedColor(const QColor &color) { setSelectedColor(TColor::fromQColor(color)); }
    TColor SelectedFontColor() const { return skin().selectedFontColor; }
    void setSelectedFontColor(TColor color) { m_appearance.setSelectedFontColor(color); }
    void setSelectedFontColor(const QColor &color) { setSelectedFontColor(TColor::fromQColor(color)); }
    TColor FontColor() const { return skin().fontColor; }
    void setFontColor(TColor color) { m_appearance.setFontColor(color); }
    void setFontColor(const QColor &color) { setFontColor(TColor::fromQColor(color)); }
    // Kept with the menu (theme tools read it); not drawn.
    TColor BorderColor() const { return skin().borderColor; }
    void setBorderColor(TColor color) { m_appearance.setBorderColor(color); }
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    bool FlatMenu() const { return skin().flatMenu; }
    void setFlatMenu(bool flat) { m_appearance.setFlatMenu(flat); }
    // The font when UseSystemFont is false. The charset is kept for theme tools; Qt picks
    // glyphs by text, not by charset.
    QString FontName() const { return skin().fontName; }
    void setFontName(const QString &name) { m_appearance.setFontName(name); }
    int FontSize() const { return skin().fontSize; }
    void setFontSize(int size) { m_appearance.setFontSize(size); }
    int FontCharset() const { return skin().fontCharset; }
    void setFontCharset(int charset) { m_appearance.setFontCharset(charset); }
    bool UseSystemFont() const { return skin().useSystemFont; }
    // Stores, then tells the form (fontChanged) to repaint its menu bar.
    void setUseSystemFont(bool use);

    // Gives every sub-menu of the tree the skin again (those added later are found on their own),
    // then tells the form (itemsChanged) to rebuild its menu bar.
    void MenuAdded();

    // Set by the skinned form that shows the bar. The bar's background outside MacOS (the
    // published BarColor is the bar at the left of each drop-down item): default the button face.
    TColor menuBarColor() const { return skin().menuBarColor; }
    void setMenuBarColor(TColor color) { m_appearance.setMenuBarColor(color); }
    // Height of the bar and of each of its items; default 22.
    int barHeight() const { return skin().menuBarHeight; }
    void setBarHeight(int height) { m_appearance.setMenuBarHeight(height); }
    // The form that shows the bar; cleared when the form goes away.
    QWidget *form() const { return m_form; }
    void setForm(QWidget *form) { m_form = form; }

    const Kav::TkavMenuSkin &skin() const { return m_appearance.skin(); }

Q_SIGNALS:
    // Top-level items came or went: the bar is to be laid out again.
    void itemsChanged();
    // A top-level item changed (its caption, say): the bar is to be repainted.
    void itemChanged();
    // UseSystemFont changed: the bar's font is to be set again.
    void fontChanged();

protected:
    void actionEvent(QActionEvent *event) override;

private:
    TkavMenuAppearance m_appearance;
    QPointer<QWidget> m_form;
};
