#pragma once

class QKeyEvent;
class QWidget;

namespace Kav {

// A bare accelerator: a letter or digit typed without Alt or Ctrl while a button, check box or
// radio button has the focus (controls that take no text) acts as Alt+letter does, as in a
// dialog: the one visible, enabled button of the window whose caption marks that letter ("&Go"
// for "g") is triggered as its accelerator triggers it; when several captions mark it, the focus
// moves to the next of them. Returns whether a caption marked it.
bool KavBareAccelerator(QWidget *focus, const QKeyEvent *event);

} // namespace Kav
