#pragma once

// The arithmetic of the range controls (track bar, scroll bar, attached scroll bars), kept apart
// from any widget so that it can be checked case by case: where a position puts the slider, which
// position lies under a point, paging, keys, ticks, slider lengths and the placement of the parts.
//
// Positions are 32-bit, but every difference and product is worked out in 64 bits: a range may
// run from INT_MIN to INT_MAX, and (track length) x (position - Min) does not fit 32 bits then.

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <optional>

#include "KAVOrientation.h"

namespace Kav::Track {

// A range as the setters keep it (min <= max).
struct Range {
    int min = 0;
    int max = 0;
    constexpr qint64 span() const { return qint64(max) - qint64(min); }
};

// value brought into min..max.
int clampToRange(qint64 value, Range range);

// Offset of the slider's near edge (left or top) from the track's start for position:
// (length - sliderLength) x (position - min) div span. 0 for an empty range, and 0 when the slider
// is as long as the track or longer (it cannot move then).
int sliderOffset(int length, int sliderLength, Range range, int position);

// The position whose slider centre lies at point along the track: (point - sliderLength div 2) x
// span / (length - sliderLength), rounded to the nearest integer with halves to even, plus min, and
// brought into the range. A slider that fills the track maps every point to 0, brought into range.
int positionAt(int length, int sliderLength, Range range, int point);

// One page step toward point: when the slider's near edge lies before the point, position + step
// but never past pointPosition (the position under the point); after it, position - step but never
// before pointPosition; on it, position. Not brought into the range.
qint64 pageToward(int position, qint64 step, int sliderNear, int point, int pointPosition);

// The position a key asks for (Page Up/Down by pageSize, Home and End, the arrows by lineSize),
// not brought into the range; nothing for other keys.
std::optional<qint64> keyTarget(int key, int position, int pageSize, int lineSize, Range range);

// Centres of the tick marks along the track, ascending and each once: ticks fall on min,
// min + frequency, min + 2 x frequency, ... below max, and on max; a frequency below 1 leaves only
// min and max; an empty range has none. Each tick is at sliderOffset(value) + sliderLength div 2.
// The work is bounded by the track's length, whatever the range.
QList<int> tickCentres(int length, int sliderLength, Range range, int frequency);

// --- Scroll bar -------------------------------------------------------------------------------

// The shortest slider a fixed slider length (LineButton) may give; shorter ones are raised to it.
int effectiveLineButton(int lineButton);

// Slider length of a scroll bar: a positive lineButton (raised to the shortest) gives it directly;
// otherwise pageSize is a percentage of the track (anything outside 10..100 counts as 10).
int scrollSliderLength(int trackLength, int pageSize, int lineButton);

// The thumb of a host's own scroll bar over a track of room pixels: room x page / (span + page);
// 0 when there is no page or no room.
int proportionalThumb(int room, Range range, int page);

// Where the parts of a scroll bar go, for a bar of size with arrow buttons of the given sizes.
struct ScrollBarLayout {
    bool visible = false;  // a bar without width or height hides itself
    QSize barSize;         // the bar takes the decrease button's thickness across
    QRect decrease;        // near (left or top) arrow button
    QRect increase;        // far (right or bottom) arrow button
    QPoint trackAt;        // the track's corner; its thickness is its slider's
    int trackLength = 0;   // never negative
};
ScrollBarLayout scrollBarLayout(QSize size, TkavProgressBarOrientation orientation,
                                QSize decreaseButton, QSize increaseButton);

// Where an attached scroll bar goes over its host's edge (host in the bar's parent's coordinates),
// and whether it fits across the host at all.
struct AttachedPlacement {
    QRect geometry;
    bool fits = false;
};
// A vertical bar barWidth wide along the right edge, shortened by otherBarHeight (the attached
// horizontal bar's height, 0 without one).
AttachedPlacement placeVerticalBar(const QRect &host, int barWidth, int otherBarHeight);
// A horizontal bar barHeight high along the bottom edge, shortened by otherBarWidth.
AttachedPlacement placeHorizontalBar(const QRect &host, int barHeight, int otherBarWidth);

} // namespace Kav::Track
