#pragma once

#include "KAVMenu.h"

#include <QMenu>

// A context menu drawn in the skin: Qt opens, tracks and navigates it; the skin measures and
// paints its items (the bar at the left, selected and disabled items, check marks, icons,
// sub-menu arrows, the MacOS pictures, the flat frame). Every sub-menu added to it, at any depth
// and at any time, is drawn in the same skin.
class TkavPopupMenu : public QMenu {
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
    explicit TkavPopupMenu(QWidget *parent = nullptr);
    ~TkavPopupMenu() override;

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
    void setUseSystemFont(bool use) { m_appearance.setUseSystemFont(use); }

    // Gives every sub-menu of the tree the skin again (those added later are found on their own).
    void MenuAdded();

    const Kav::TkavMenuSkin &skin() const { return m_appearance.skin(); }

private:
    TkavMenuAppearance m_appearance;
};
