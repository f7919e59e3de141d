#pragma once

#include "KAVThemeValues.h"

#include <QList>

#include <functional>

class QWidget;

// The sections of the gallery page. Each one is a framed group of controls in their states,
// built as a child of parent. What a look does not reach by itself (pictures the gallery takes
// from the look for controls that have no look, colours, properties a look change resets) is
// done by followers: the gallery calls each one after every look change.
using GalleryLookFollower = std::function<void(const KavThemeValues &values)>;
using GalleryLookFollowers = QList<GalleryLookFollower>;

class QGridLayout;
class QString;
class TkavGroupBox;

namespace GallerySections {

// A framed section with a grid for its controls, kept clear of the frame.
TkavGroupBox *section(QWidget *parent, const QString &caption, QGridLayout **grid);

// TkavButton: normal, default, disabled, mouse over, pressed, focused; a glyph in each layout;
// a two-image glyph enabled and disabled. focused receives the button that should hold the focus.
QWidget *pushButtons(QWidget *parent, QWidget **focused);
// A push button and an image button with see-through corners on a tiled picture (TkavImagePanel).
QWidget *seeThrough(QWidget *parent, GalleryLookFollowers &followers);
// TkavImageButton, TKavArrowButton, TkavControlButton, TkavToolBarSpeedButton.
QWidget *otherButtons(QWidget *parent, GalleryLookFollowers &followers);
// TkavCheckBox: checked, unchecked, disabled both ways.
QWidget *checkBoxes(QWidget *parent);
// TkavRadioButton: a group of three, and two disabled ones.
QWidget *radioButtons(QWidget *parent);
// TkavCheckGroup with items in two columns.
QWidget *checkGroup(QWidget *parent);
// TkavRadioGroup with items in three columns.
QWidget *radioGroup(QWidget *parent);
// TkavPanel with its roll-up button (live), and one without.
QWidget *rollingPanel(QWidget *parent);
QWidget *plainPanel(QWidget *parent);
// TkavURLLabel with the default colours and with colours of its own.
QWidget *urlLabels(QWidget *parent);

} // namespace GallerySections
