#pragma once

// How a check box or radio button is drawn: a state picture at the left, vertically centred, and
// the caption right of it, with a dotted focus frame round the caption's line. The control fills a
// CheckOption from its state and hands it to KavPaintCheck, which only reads it; sizing and
// painting take their geometry from the same KavCheckLayout.

#include "KAVPictureStore.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace Kav {

// The caption's size in its font: its width without the accelerator marks, and the height of a
// line of text (what "W" measures). Measured when caption or font change, not at every use.
QSize KavMeasureCheckCaption(const QFont &font, const QString &caption);

// One paint of a check box or radio button.
struct CheckOption {
    QSize size;
    // The frame of the current state, already masked when the control keys it; a null picture
    // draws none and the caption moves to the left.
    TkavPicture picture;
    QString caption; // with its accelerator marks ("&Start")
    QSize captionSize; // KavMeasureCheckCaption
    QFont font;
    QColor textColour;
    bool focusFrame = false;
};

// Where the parts of a check box of the given size lie.
struct CheckLayout {
    QPoint picture;  // top-left corner of the state picture
    QRect text;      // the caption is drawn from the top-left of this
    QRect focus;     // the dotted frame, outline included
};

CheckLayout KavCheckLayout(const QSize &size, const QSize &pictureSize, int lineHeight);

// The size a check box takes with AutoSize: picture width + caption width + 8 by
// max(line height + 2, picture height) + 4.
QSize KavCheckSizeHint(const QSize &pictureSize, const QSize &captionSize);

// Draws picture, caption and focus frame onto face (the backdrop is already there).
void KavPaintCheck(QImage &face, const CheckOption &option);

// The platform's focus frame: every other pixel of rect's outline (edges inclusive) inverted,
// starting at the pixels whose x + y is even.
void KavDrawFocusFrame(QImage &canvas, const QRect &rect);

} // namespace Kav
