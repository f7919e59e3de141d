#pragma once

#include "KAVMgr.h"
#include "KAVThemes.h"

#include <QPointer>

class QWidget;

namespace Kav {
// Gives a whole window one look: window itself (when it is skinned) and every skinned control in
// it, at any depth, take style and fileTheme (nullptr for a built-in look). A skinned control is
// any widget whose class declares both a "UIStyle" and a "FileTheme" property (Q_PROPERTY, matched
// by name ignoring case, as the theme manager matches them); other widgets are only walked through.
//
// The switch is one pass with one repaint:
// - Parents are handled before their children, so a container that hands its look on to its
//   children in its own setter (group boxes, page controls, memos with their scroll bars) has done
//   so before the pass reaches them; a control found already at style and fileTheme is left alone.
// - Of the two properties only those that differ are written, FileTheme first, so that a control
//   never reads a look from a theme it is about to leave. (A FileTheme write re-reads the look.)
// - Containers with a writable bool property "UIStyleAutoUpdateSub" that is set get it cleared for
//   the pass and set again afterwards (the setter is expected to store the flag only), so that
//   their children are not handed the look a second time: the pass reaches them anyway.
// - Updates of window are switched off during the pass (QWidget::setUpdatesEnabled(false)), so
//   that even a control that calls repaint() paints nothing yet, and put back as they were; then
//   window gets one update() (and so do the widgets that paint opaquely, which a window's repaint
//   leaves out): the event loop paints the window once, every control with it. (Switching updates
//   back on through setUpdatesEnabled(true) would update every child on its own, and Qt would then
//   paint the window a second time behind them.) When updates were already off they stay off and
//   nothing is scheduled.
// - The children of a control are looked at after the control took its look, so a control that a
//   change destroyed is skipped and one that it created is visited. Child windows of window
//   (pop-up menus, dialogs) are visited too, but are not covered by the update switch.
//
// Nothing happens for a null window. Non-widget objects (theme managers among them) are not
// written: a theme manager hands its look on to the controls it lists, which are visited anyway.
void KavApplyWindowLook(QWidget *window, TkavUIStyle style, TkavFileTheme *fileTheme = nullptr);

// Holds a window's updates off for as long as it lives (QWidget::setUpdatesEnabled(false)), then
// puts them back without the update() of every widget that setUpdatesEnabled(true) would make:
// the window gets one update() (so do the widgets that paint opaquely, which a window's repaint
// leaves out), and the event loop paints it once, every widget with it. A window whose updates
// were off already is left as it was. KavApplyWindowLook changes its window under one of these.
class KavQuietUpdates {
public:
    explicit KavQuietUpdates(QWidget *window);
    ~KavQuietUpdates();
    KavQuietUpdates(const KavQuietUpdates &) = delete;
    KavQuietUpdates &operator=(const KavQuietUpdates &) = delete;

private:
    QPointer<QWidget> m_window;
    bool m_suspended = false;
};
} // namespace Kav
