#pragma once

#include "KAVThemes.h"

#include <QMenu>
#include <QPointer>

class QAction;
class TkavFileTheme;
class TkavTitleBar;

// The window menu of a title bar: minimise, maximise/restore, move, size and close. A frameless
// window has no other way for a keyboard user to move or size it, hence Move and Size.
//
// Qt opens, tracks and navigates it; the skinned menus draw it once it stands on them (only
// Kav::TitleBarMenuBase changes).
namespace Kav {
// What the window menu stands on: Qt's menu until the skinned pop-up menu takes its place.
using TitleBarMenuBase = QMenu;
} // namespace Kav

class TkavTitleBarPopupMenu : public Kav::TitleBarMenuBase {
    Q_OBJECT

public:
    explicit TkavTitleBarPopupMenu(TkavTitleBar *titleBar);

    // Enables each item for the title bar's buttons and the window's state; Popup calls it
    // before showing the menu.
    void prepare();
    // Hands the bar's look on to the menu (a skinned menu draws in it).
    void applyLook(TkavUIStyle style, TkavFileTheme *fileTheme);

    QAction *minimizeAction() const { return m_minimize; }
    QAction *maximizeAction() const { return m_maximize; }
    QAction *moveAction() const { return m_move; }
    QAction *sizeAction() const { return m_size; }
    QAction *closeAction() const { return m_close; }

private:
    QPointer<TkavTitleBar> m_titleBar;
    QAction *m_minimize;
    QAction *m_maximize;
    QAction *m_move;
    QAction *m_size;
    QAction *m_close;
};
