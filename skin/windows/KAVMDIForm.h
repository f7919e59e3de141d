#pragma once

#include "KAVColor.h"
#include "KAVForm.h"
#include "KAVLook.h"
#include "KAVMDILayout.h"
#include "KAVThemes.h"
#include "KAVTitleBar.h" // complete: the form keeps a QPointer to its title bar

#include <QEvent>
#include <QObject>
#include <QMdiSubWindow>
#include <QPointer>

#include <array>
#include <memory>

#include <QMdiArea>
class QMdiSubWindow;
class QMenuBar;
class TkavTitleBarButtons;
class TkavTitleBarSections;
class TkavToolBarSpeedButton;
namespace Kav {
class TkavFrameSizer;
}

namespace Kav {

// What the skinned form of an MDI child tells the MDI parent. Sent to the parent's QMdiArea.
// Refresh: menu and title are to be shown again (a child was activated, renamed or closed).
inline constexpr QEvent::Type MdiRefreshEvent = QEvent::Type(4912);
// A skinned child was maximised (the event is a TkavMdiChildEvent naming it).
inline constexpr QEvent::Type MdiChildMaximizedEvent = QEvent::Type(4913);
// No child is maximised any more.
inline constexpr QEvent::Type MdiChildRestoredEvent = QEvent::Type(4914);

// MdiChildMaximizedEvent with the sub-window that was maximised.
class TkavMdiChildEvent : public QEvent {
public:
    TkavMdiChildEvent(QEvent::Type type, QMdiSubWindow *child);
    // nullptr once the sub-window is gone (the event is posted).
    QMdiSubWindow *child() const;

private:
    QPointer<QMdiSubWindow> m_child;
};

// The text of the parent's title bar: the parent's caption, followed by " - [child]" while a
// child is active and child captions are shown, unless the caption carries such a part already.
QString KavMdiTitleText(const QString &parentCaption, const QString &childCaption, bool hasActiveChild,
                        bool drawChildCaptions);

} // namespace Kav

// The frameless sub-window that a skinned MDI parent puts a child in. Qt gives a frameless
// sub-window no size while it is minimised; this one keeps a strip the width of a minimised Qt
// sub-window and the height of its child's skinned title bar, which the child's form draws there.
class TkavMdiSubWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit TkavMdiSubWindow(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    // The size of the minimised strip.
    QSize minimizedSize() const;
};

// Skins an MDI parent: a top-level window whose children live in a QMdiArea. It is not a widget;
// it puts a skinned title bar at the top of the window, a menu bar under it, draws a one-pixel
// frame (no top line) and lays the MDI area out below. The title shows the active child's caption,
// the menu bar the active child's menu (or the parent's own Menu), and while a skinned child is
// maximised minimise/restore/close buttons at the menu bar's right.
//
// Use:
//   auto *parent = new QWidget;                  // a plain top-level widget (not a QMainWindow)
//   auto *mdi = new TkavMDIForm(parent);         // finds or makes the window's QMdiArea
//   auto *child = new QWidget; new TkavForm(child);
//   mdi->addChild(child);                        // a frameless QMdiSubWindow around it
//   mdi->Tile(); mdi->Cascade();
//
// The window counts as skinned: a TkavForm on it is refused, controls made on it take this look
// and a TkavMainMenu made on it becomes this Menu.
class TkavMDIForm : public QObject, public TkavMenuHost {
    Q_OBJECT
    Q_CLASSINFO("KavFormSkin", "true")
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(QMenuBar *Menu READ Menu WRITE setMenu)
    Q_PROPERTY(QColor MenuBarColor READ MenuBarColor WRITE setMenuBarColor)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE setTitleBarDrawAppIcon)
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE setTitleBarCustom)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE setTitleBarVisible)
    Q_PROPERTY(bool TitleBarDrawChildCaptions READ TitleBarDrawChildCaptions WRITE setTitleBarDrawChildCaptions)
    Q_PROPERTY(bool TitleBarDrawChildMenus READ TitleBarDrawChildMenus WRITE setTitleBarDrawChildMenus)

public:
    // The three control buttons in the menu bar, in their order from the right edge.
    enum ControlButton { CloseButton = 0, RestoreButton, MinimizeButton };

    // window must be a top-level widget (else EKavFormError "Sorry, TkavMDIForm must be placed
    // on a form"); one with a TkavForm is refused as well. The window's QMdiArea is used, or one
    // is made.
    explicit TkavMDIForm(QWidget *window);
    ~TkavMDIForm() override;

    QWidget *window() const { return m_window; }
    QMdiArea *mdiArea() const { return m_area; }
    TkavTitleBar *TitleBar() const { return m_titleBar; }
    // The bar that shows the menu's top-level items (it shares the menu's actions).
    QMenuBar *menuBar() const { return m_menuBar; }
    TkavToolBarSpeedButton *controlButton(ControlButton which) const { return m_controlButtons[which]; }

    // Puts widget (a window-like widget, usually carrying a TkavForm) in a frameless sub-window of
    // the MDI area and shows it.
    QMdiSubWindow *addChild(QWidget *widget);

    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    QMenuBar *Menu() const { return m_menu; }
    // The parent's own menu; the menu bar is its child, kept hidden: its items show in this bar.
    void setMenu(QMenuBar *menu) override;
    TColor MenuBarColor() const { return m_menuBarColor; }
    void setMenuBarColor(TColor color);
    void setMenuBarColor(const QColor &color) { setMenuBarColor(TColor::fromQColor(color)); }
    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    // The window's title; the title bar adds the active child's.
    QString Caption() const;
    void setCaption(const QString &caption);
    bool TitleBarDrawAppIcon() const;
    void setTitleBarDrawAppIcon(bool draw);
    bool TitleBarCustom() const;
    void setTitleBarCustom(bool custom);
    bool TitleBarVisible() const { return m_titleBarVisible; }
    void setTitleBarVisible(bool visible);
    TkavTitleBarButtons *TitleBarButtons() const;
    void setTitleBarButtons(const TkavTitleBarButtons *buttons);
    TkavTitleBarSections *TitleBarSections() const;
    void setTitleBarSections(const TkavTitleBarSections *sections);
    bool TitleBarDrawChildCaptions() const { return m_drawChildCaptions; }
    void setTitleBarDrawChildCaptions(bool draw);
    bool TitleBarDrawChildMenus() const { return m_drawChildMenus; }
    void setTitleBarDrawChildMenus(bool draw);

    // Arranges the children that are not minimised (see Kav::MdiLayout).
    void Tile(Kav::MdiLayout::TileMode mode = Kav::MdiLayout::TileMode::Horizontal);
    void Cascade();
    // The menu shown: the active child's (its own menu bar, else its TkavForm's Menu) when child
    // menus are drawn, else Menu. The bar is hidden when there is none.
    void UpdateMenu();
    QMenuBar *shownMenu() const { return m_shownMenu; }
    // For the active child's TkavForm, shows the control buttons whose kind its title bar has.
    void ShowControlButtons();
    void HideControlButtons();
    void ShowMenuBar();
    void HideMenuBar();
    // Height of the title bar (when visible) plus that of the menu bar (when visible).
    int GetTitleBarHeight() const;

    // Which edges of the window a point (in window coordinates) sizes: the outer 5 pixels, corners
    // counting for both (Kav::sizingEdges); nothing for a maximised window or one of fixed size.
    Qt::Edges sizingEdgesAt(const QPoint &windowPos) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeChildren(const QList<QMdiSubWindow *> &children, const QList<bool> &minimized,
                       const QList<QRect> &bounds);
    void buildMenuPanel();
    void layoutWindow();
    void updateTitle();
    void paintFrame();
    void applyControlButtonLook();
    void styleMainMenu();
    void clickControlButton(ControlButton which);
    void applyLook(const KavThemeValues &values);
    QMenuBar *menuToShow() const;
    QMdiSubWindow *activeChild() const;
    bool windowEvent(QEvent *event);
    bool areaEvent(QEvent *event);
    bool sizingNow() const;
    // Ctrl+F6, Alt+Space and F10 in the parent's window.
    bool keyOnWindow(QObject *watched, QEvent *event);
    Kav::MdiLayout::Frame layoutFrame() const;
    // The sub-windows in stacking order (bottom first) with whether each is minimised.
    QList<QMdiSubWindow *> stackedChildren(QList<bool> *minimized) const;

    TkavLook m_look;
    QPointer<QWidget> m_window;
    QPointer<QMdiArea> m_area;
    QPointer<TkavTitleBar> m_titleBar;
    QPointer<QWidget> m_menuPanel;
    QPointer<QMenuBar> m_menuBar;
    std::array<TkavToolBarSpeedButton *, 3> m_controlButtons{};
    QPointer<QMenuBar> m_menu;
    QPointer<QMenuBar> m_shownMenu;
    TColor m_menuBarColor;
    TColor m_borderColor;
    bool m_titleBarVisible = true;
    bool m_drawChildCaptions = true;
    bool m_drawChildMenus = true;
    bool m_controlButtonsShown = false;
    std::unique_ptr<Kav::TkavFrameSizer> m_sizer;
    // Who the filter's events come from, compared by address only: a widget that is being
    // destroyed must not be taken for what it was.
    const QObject *m_areaKey = nullptr;
    const QObject *m_shownMenuKey = nullptr;
};
