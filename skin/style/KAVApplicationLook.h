#pragma once

#include "KAVThemes.h"

class TkavFileTheme;

namespace Kav {

// Gives the whole running program one look: every window, Qt's own widgets in it (through the
// application's KavStyle) and the library's skinned controls alike (Kav::KavApplyWindowLook);
// with FromThemeFile the look of fileTheme.
//
// One pass, one repaint per window. When the application's style is a KavStyle already, its look
// changes in place: no widget is unpolished or polished again (QApplication::setStyle would do
// both to every widget, and hand out a new palette and font besides). Qt's widgets get the new
// palette, which keeps any colour the program set itself; only where the two looks measure
// differently are they told that their style changed, so that they drop the sizes they keep and
// lay themselves out again. Every window's updates are held off meanwhile, and each is then
// repainted once. The first call in a program whose style is another one installs a KavStyle
// (with QApplication::setStyle: that once, every widget is polished).
void KavSetApplicationLook(TkavUIStyle look, TkavFileTheme *fileTheme = nullptr);

} // namespace Kav
