#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <memory>

class QMdiArea;
class QMdiSubWindow;
class TkavForm;

namespace Kav {
class TkavFrameSizer;
}

// What a skinned form does as an MDI child: made by the form while its window is shown in a
// (frameless) QMdiSubWindow, and dropped when it leaves it. It follows the sub-window's activation,
// maximising and minimising (the form hides its title bar while the child is maximised and becomes
// a strip while it is minimised), tells the parent's QMdiArea of them (the events of KAVMDIForm.h),
// moves and sizes the sub-window itself (its title bar and its edges; the parent's edges win where
// they meet), does the title bar's window buttons and the window menu's Minimize, Maximize/Restore
// and Close on the sub-window (Move and Size are for top-level windows), and opens the window menu
// on Alt+Minus while it is the active child.
class TkavMdiChild : public QObject {
    Q_OBJECT

public:
    TkavMdiChild(TkavForm *form, QMdiSubWindow *subWindow);
    ~TkavMdiChild() override;

    // nullptr once the sub-window is going (it deletes the form with its widget).
    QMdiSubWindow *subWindow() const;
    bool isActive() const { return m_active; }
    // Maximised: the form's title bar is hidden (the parent shows the control buttons).
    bool isMaximized() const { return m_maximized; }
    // Minimised: the form is a strip, its title bar over its bottom border.
    bool isMinimized() const { return m_minimized; }

    // Asks the parent to show this child's menu and caption again.
    void refreshParent();
    // The form is going: the parent shows another child's menu and title (and takes its buttons
    // down when this one was maximised).
    void formGoing();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followState();
    void postToArea(QEvent::Type type);
    void maximizeOrRestore();
    void minimizeOrRestore();
    bool titleBarEvent(QEvent *event);
    bool dragEvent(QEvent *event);
    bool windowMenuKey(QEvent *event);
    // Whether the parent's window is sized from global (its edges win).
    bool parentSizesAt(const QPoint &global) const;
    void takeWindowMenu();
    void giveWindowMenuBack();

    TkavForm *m_form;
    // Kept as QObjects: the sub-window (and the area, when it goes with its children) is half
    // destroyed when it deletes the form with its widget, and must then not be taken for what it
    // was (subWindow() is null by then; the area is only posted to).
    QPointer<QObject> m_subWindow;
    QPointer<QObject> m_area;
    std::unique_ptr<Kav::TkavFrameSizer> m_sizer;
    bool m_active = false;
    bool m_maximized = false;
    bool m_minimized = false;
    QSize m_minimumBeforeStrip;
    // A move (no edges) or size of the sub-window that the child does itself.
    struct Drag {
        bool active = false;
        Qt::Edges edges;
        QPoint startGlobal;
        QRect startGeometry;
    } m_drag;
    int m_pressedButton = -1;
    bool m_resettingTitleBar = false;
};
