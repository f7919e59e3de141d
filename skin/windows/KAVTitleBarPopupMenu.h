#pragma once

#include "KAVPopupMenu.h"
#include "KAVThemes.h"

#include <QElapsedTimer>
#include <QPointer>

class QAction;
class TkavFileTheme;
class TkavTitleBar;

// The window menu of a title bar: minimise, maximise/restore, move, size and close. A frameless
// window has no other way for a keyboard user to move or size it, hence Move and Size.
// Qt opens, tracks and navigates it; it is drawn in the title bar's look.
class TkavTitleBarPopupMenu : public TkavPopupMenu {
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

    // Hands Minimize, Maximize/Restore and Close over to taker, which connects to the actions
    // itself: while it lives the menu does not act on the window for them (a skinned MDI child
    // does them on its sub-window). nullptr takes them back.
    void handOverWindowActions(QObject *taker) { m_windowActionsTaker = taker; }

    // Opens the menu for a click on the control box: a second click on the control box within the
    // double-click time is the control box's double click (it closes the window), not a click
    // that merely closes the menu.
    void popupFromControlBox(const QPoint &at);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Whether the menu acts on the window itself for minimise, maximise and close.
    bool actsOnWindow() const { return m_titleBar && !m_windowActionsTaker; }

    QPointer<TkavTitleBar> m_titleBar;
    QPointer<QObject> m_windowActionsTaker;
    QAction *m_minimize;
    QAction *m_maximize;
    QAction *m_move;
    QAction *m_size;
    QAction *m_close;
    QElapsedTimer m_sinceControlBoxClick;
};
