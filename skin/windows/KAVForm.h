#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVMainMenu.h"
#include "KAVMetrics.h"
#include "KAVPictureStore.h"
#include "KAVPlatformPanel.h"
#include "KAVThemes.h"

#include <QEvent>
#include <QFont>
#include <QMenuBar>
#include <QPointer>
#include <QRect>

#include <memory>
#include <stdexcept>

class QMdiSubWindow;
class QPainter;
class TkavMdiChild;
class TkavTitleBar;
namespace Kav {
class TkavFrameSizer;
}
class TkavTitleBarButtons;
class TkavTitleBarSections;

// Raised when a second skinned form is put on one window.
class EKavFormError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The skinned form. Put exactly one on a top-level window (new TkavForm(window), or a Designer
// form whose top widget holds one): it makes the window frameless, covers it but for a border it
// draws along the window's edges, and carries a skinned title bar and, when a menu bar is given,
// that menu bar under it. The window's other controls go on the form (below the bars: the form's
// contents rectangle, which layouts and aligned panels keep to) and take its look when
// UIStyleAutoUpdateSub is set.
//
// Dragging the title bar moves the window; the outer 5 pixels size it (unless the window has a
// fixed size); Alt+Space opens the window menu. The window manager moves and sizes the window
// where it will; elsewhere the window does it itself.
//
// An MDI child: a widget shown in a (frameless) QMdiSubWindow, before or after the form is put on
// it. Its form leaves 3 more pixels of border at the right and the bottom, never shows its menu bar
// (the MDI parent shows the active child's menu) and hides its title bar while the sub-window is
// maximised; the rest is TkavMdiChild's (KAVMdiChild.h), which the form makes while it is one.
//
// The window's edges are sized through a TkavFrameSizer (KAVFrameSizer.h). A TkavMainMenu shown
// as Menu tells the form of its changes through its signals.
class TkavForm : public TkavPlatformPanel, public TkavMenuHost {
    Q_OBJECT
    Q_CLASSINFO("KavFormSkin", "true")
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(bool UIStyleAutoUpdateSub READ UIStyleAutoUpdateSub WRITE setUIStyleAutoUpdateSub)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QFont Font READ TitleFont WRITE setTitleFont)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE setTitleBarVisible)
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE setTitleBarCustom)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE setTitleBarDrawAppIcon)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE setRoundCorner)
    Q_PROPERTY(QMenuBar *Menu READ Menu WRITE setMenu)
    Q_PROPERTY(QColor MenuBarColor READ MenuBarColor WRITE setMenuBarColor)
    Q_PROPERTY(int MenuBarHeight READ MenuBarHeight WRITE setMenuBarHeight)
    Q_PROPERTY(QWidget *FormPanel READ FormPanel WRITE setFormPanel)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)
    Q_PROPERTY(int Width READ Width WRITE setWidth)
    Q_PROPERTY(int Height READ Height WRITE setHeight)

public:
    // parent is the window the form skins. Throws EKavFormError when it already has one.
    explicit TkavForm(QWidget *parent = nullptr);
    ~TkavForm() override;

    // A look reaches the border, background, title bar and menu (and, with UIStyleAutoUpdateSub,
    // the direct children). Assigning the file theme again (as a theme that loaded another file
    // does) re-reads its values.
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    bool UIStyleAutoUpdateSub() const { return m_autoUpdateSub; }
    void setUIStyleAutoUpdateSub(bool on) { m_autoUpdateSub = on; }

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    int BorderWidth() const { return m_borderWidth; }
    // The window grows or shrinks with the border, so that the form keeps its size.
    void setBorderWidth(int width);

    QString Caption() const;
    // The title bar's caption and the window's title.
    void setCaption(const QString &caption);
    // The font of the title bar's caption (published as Font; the form's own font is QWidget's).
    QFont TitleFont() const;
    void setTitleFont(const QFont &font);

    bool TitleBarVisible() const { return m_titleBarVisible; }
    void setTitleBarVisible(bool visible);
    bool TitleBarCustom() const;
    void setTitleBarCustom(bool custom);
    bool TitleBarDrawAppIcon() const;
    void setTitleBarDrawAppIcon(bool draw);
    int RoundCorner() const;
    void setRoundCorner(int radius);
    TkavTitleBarButtons *TitleBarButtons() const;
    // Copies the buttons (the form keeps its own collection).
    void setTitleBarButtons(const TkavTitleBarButtons *buttons);
    TkavTitleBarSections *TitleBarSections() const;
    void setTitleBarSections(const TkavTitleBarSections *sections);
    TkavTitleBar *TitleBar() const { return m_titleBar; }

    QMenuBar *Menu() const { return m_menu; }
    // Shows menu (a TkavMainMenu, or any QMenuBar) under the title bar; nullptr removes it. The
    // form takes the menu bar as its child.
    void setMenu(QMenuBar *menu) override;
    TColor MenuBarColor() const { return m_menuBarColor; }
    void setMenuBarColor(TColor color);
    void setMenuBarColor(const QColor &color) { setMenuBarColor(TColor::fromQColor(color)); }
    int MenuBarHeight() const { return m_menuBarHeight; }
    void setMenuBarHeight(int height);
    // The menu bar's buttons follow the menu's top-level items (Qt keeps them in step; these
    // lay the bar out again and repaint it). A TkavMainMenu's signals call them.
    void UpdateMenu();
    void UpdateTopMenu();
    void RepaintMenuBar();

    QWidget *FormPanel() const { return m_formPanel; }
    // A panel made to fill the area under the bars; the form itself is refused with an error box.
    void setFormPanel(QWidget *panel);

    QString Version() const { return QStringLiteral("4.30"); }
    void setVersion(const QString &) {}

    int Width() const { return width(); }
    // Resizes the window so that the form gets this width.
    void setWidth(int width);
    int Height() const { return height(); }
    void setHeight(int height);

    // Which edges of the window a point (in window coordinates) sizes: the outer 5 pixels do,
    // corners counting for both edges; nothing when the window is maximised or has a fixed size.
    Qt::Edges sizingEdgesAt(const QPoint &windowPos) const;
    // Whether the user can size the window: it is not of fixed size.
    bool sizeable() const;
    // The window the form skins.
    QWidget *ownerForm() const { return m_owner; }
    // The sub-window the form's window is shown in, when it is an MDI child.
    QMdiSubWindow *mdiSubWindow() const;
    // Whether the title bar is shown: TitleBarVisible, and not hidden by a maximised MDI child.
    bool titleBarShown() const;
    // The height of the strip a minimised MDI child shows: its title bar over its bottom border.
    int minimizedHeight() const;

Q_SIGNALS:
    void OnTitleBarCustomBtnsClick(QObject *sender, int index);
    void OnTitleBarHelpBtnClick(QObject *sender, int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void paintPanel(QImage &canvas) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    friend class TkavMdiChild;
    void adoptOwner();
    // Places the form in its window and the bars, the form panel and the window shape in the form.
    void layoutInOwner();
    void layoutBars();
    void styleMenuBar();
    void applyLook(const KavThemeValues &values);
    // Resizes the window, keeping a fixed size fixed.
    void resizeOwner(const QSize &size);
    // Whether the window (or sub-window) has a size of its own: not maximised, minimised or full
    // screen, where its size is given to it.
    bool ownerSizeIsItsOwn() const;
    // Whether the edges size the window now.
    bool sizingNow() const;
    // What the window's border needs.
    void paintOwnerBorder();
    // The background (the look's pattern, or Color) over rect.
    void paintBackground(QPainter &painter, const QRect &rect) const;
    bool ownerEvent(QEvent *event);
    bool keyEvent(QObject *watched, QEvent *event);
    // Becomes an MDI child, or a top-level form again, as its window went into or out of a
    // sub-window.
    void followSubWindow();
    // The sub-window while the form is an MDI child.
    QMdiSubWindow *subWindow() const;

    TkavLook m_look;
    TkavTitleBar *m_titleBar = nullptr;
    QPointer<QMenuBar> m_menu;
    QPointer<QWidget> m_formPanel;
    QPointer<QWidget> m_owner;
    bool m_adopted = false; // placed on its window: sizes now resize the window
    bool m_autoUpdateSub = false;
    bool m_titleBarVisible = true;
    TColor m_borderColor;
    int m_borderWidth = 0;
    TColor m_menuBarColor;
    int m_menuBarHeight = Kav::Metrics::MenuBarHeight;
    Kav::TkavPicture m_backgroundPattern;
    // The top-level window's sizing, or the MDI child's behaviour: one of them, as the form is.
    std::unique_ptr<Kav::TkavFrameSizer> m_sizer;
    std::unique_ptr<TkavMdiChild> m_mdiChild;
};
