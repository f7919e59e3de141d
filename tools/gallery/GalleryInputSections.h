#pragma once

#include "GallerySections.h"

class QWidget;

// The gallery's sections of controls that take input: edits, combo boxes, track bars, scroll
// bars and the memo, each in its states.
namespace GallerySections {

// TkavEdit normal, read-only and disabled; TkavMaskEdit, TkavNumberEdit, TKavSpinEdit.
QWidget *edits(QWidget *parent);
// TkavComboBox editable, choosing only and disabled; TkavDriveComboBox.
QWidget *comboBoxes(QWidget *parent);
// TkavTrackBar horizontal and vertical, with ticks and without, and disabled.
QWidget *trackBars(QWidget *parent);
// TkavScrollBar horizontal and vertical, and disabled.
QWidget *scrollBars(QWidget *parent);
// TkavProgressBar at several values, horizontal and vertical.
QWidget *progressBars(QWidget *parent);
// TkavToolBar with a button under the mouse, a pressed one, a checked one and a drop-down one.
QWidget *toolBar(QWidget *parent);
// TkavTabControl with more tabs than fit (scroll buttons shown).
QWidget *tabControl(QWidget *parent);
// TkavPageControl with pages that hold other controls.
QWidget *pageControl(QWidget *parent);
// TkavMemo with attached skinned scroll bars, and a read-only one with Qt's own bar.
QWidget *memos(QWidget *parent);

} // namespace GallerySections
