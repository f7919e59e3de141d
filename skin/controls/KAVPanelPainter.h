#pragma once

// How the skin's containers are drawn: the group box's frame with its caption set into the top
// line, the image panel's picture and caption, and the captioned panel with its caption bar and
// roll button. Each control fills an option from its state and hands it to a painter that only
// reads it; the rectangles that the controls also hit-test or report come from the functions here
// that the painters use.

#include "KAVPictureStore.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace Kav {

// --- group box ---

struct GroupBoxOption {
    QSize size;
    QString caption;
    QFont font;
    int fontHeight = 0; // the pixel height the font asks for
    QColor borderColour;
    QColor captionColour;
    // Room before the caption (a check box in front of it): the caption moves right by this
    // much and the gap in the top line grows with it.
    int captionIndent = 0;
};

// The frame's line runs at this height: half the font height down, plus one.
int KavGroupBoxLineY(int fontHeight);
// Draws frame and caption onto face (the backdrop is already there).
void KavPaintGroupBox(QImage &face, const GroupBoxOption &option);
// The same onto a painter whose origin is the group box's top-left corner.
void KavPaintGroupBox(QPainter &painter, const GroupBoxOption &option);

// --- image panel ---

enum class PictureLayout : quint8 {
    Natural, // at (0, 0), as large as it is
    Stretch, // over the whole panel
    Tile,    // repeated from the origin
};

// Where an image panel's caption goes: the whole panel with flags that place it by alignment, or
// a fixed spot.
struct PanelCaptionPlace {
    QRect rect;
    int flags = 0;
};

// Places a caption: with posX or posY -1 on one line in the whole panel, centred vertically and
// placed horizontally by horizontalAlignment (Qt::AlignLeft, AlignRight or AlignHCenter);
// otherwise at (posX, posY). A caption of blanks only is drawn nowhere (an empty rectangle).
PanelCaptionPlace KavPanelCaptionPlace(const QSize &size, const QString &caption, const QFont &font,
                                       int horizontalAlignment, int posX, int posY);

struct ImagePanelOption {
    QSize size;
    QImage picture; // masked already when the panel is transparent; null draws none
    PictureLayout layout = PictureLayout::Natural;
    QString caption;
    PanelCaptionPlace captionPlace;
    QFont font;
    QColor textColour;
};

// Draws picture and caption onto face (the panel's colour or what lies behind it is already there).
void KavPaintImagePanel(QImage &face, const ImagePanelOption &option);

// --- captioned panel ---

// The roll button's rectangle in a panel of panelSize whose caption bar is barHeight high, for a
// button frame of frameSize: where it is drawn and where a click hits it (the same pixels).
QRect KavPanelButtonRect(const QSize &panelSize, int barHeight, const QSize &frameSize);

// The caption's rectangle in the caption bar.
QRect KavPanelCaptionRect(const QSize &panelSize, int barHeight);

struct CaptionPanelOption {
    QSize size;
    QColor borderColour;
    TkavPicture bar; // stretched across the top between the side lines; null draws none
    int barHeight = 0;
    QString caption;
    QFont font;
    QColor captionColour;
    TkavPicture button; // the roll button's frame of the current state; null draws none
};

// Draws outline, caption bar, caption and roll button onto face (filled with the panel's colour).
void KavPaintCaptionPanel(QImage &face, const CaptionPanelOption &option);

} // namespace Kav
