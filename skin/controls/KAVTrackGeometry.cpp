#include "KAVTrackGeometry.h"

#include "KAVMetrics.h"

#include <algorithm>
#include <limits>

namespace Kav::Track {

namespace {

// numerator / denominator (denominator > 0) rounded to the nearest integer, halves to even.
qint64 roundHalfEven(qint64 numerator, qint64 denominator)
{
    qint64 quotient = numerator / denominator;
    qint64 remainder = numerator % denominator;
    if (remainder < 0) { // floor division, so that the remainder below is never negative
        remainder += denominator;
        quotient -= 1;
    }
    const qint64 twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && (quotient & 1) != 0))
        quotient += 1;
    return quotient;
}

qint64 ceilDiv(qint64 numerator, qint64 denominator)
{
    // Both non-negative here.
    return (numerator + denominator - 1) / denominator;
}

// Whether some tick value (min + k x frequency below max, or max itself), as an offset t from
// min, lies in lo..hi.
bool tickIn(qint64 lo, qint64 hi, qint64 span, int frequency)
{
    if (lo > hi)
        return false;
    if (lo <= span && span <= hi)
        return true;
    if (frequency < 1)
        return lo <= 0 && 0 <= hi;
    const qint64 first = ceilDiv(lo, frequency) * frequency;
    return first <= hi && first < span;
}

} // namespace

int clampToRange(qint64 value, Range range)
{
    return int(std::clamp<qint64>(value, range.min, std::max(range.min, range.max)));
}

int sliderOffset(int length, int sliderLength, Range range, int position)
{
    const qint64 room = qint64(length) - sliderLength;
    const qint64 span = range.span();
    if (span <= 0 || room <= 0)
        return 0;
    const qint64 along = qint64(clampToRange(position, range)) - range.min;
    return int(room * along / span);
}

int positionAt(int length, int sliderLength, Range range, int point)
{
    const qint64 room = qint64(length) - sliderLength;
    if (room <= 0)
        return clampToRange(0, range);
    // The mapping only grows with the point, so points beyond either end give the same position
    // as the end itself; keeping the offset within the room keeps the product within 64 bits.
    const qint64 offset = std::clamp<qint64>(qint64(point) - sliderLength / 2, 0, room);
    return clampToRange(roundHalfEven(offset * range.span(), room) + range.min, range);
}

qint64 pageToward(int position, qint64 step, int sliderNear, int point, int pointPosition)
{
    if (sliderNear < point)
        return std::min<qint64>(qint64(position) + step, pointPosition);
    if (sliderNear > point)
        return std::max<qint64>(qint64(position) - step, pointPosition);
    return position;
}

std::optional<qint64> keyTarget(int key, int position, int pageSize, int lineSize, Range range)
{
    switch (key) {
    case Qt::Key_PageUp:
        return qint64(position) - pageSize;
    case Qt::Key_PageDown:
        return qint64(position) + pageSize;
    case Qt::Key_End:
        return range.max;
    case Qt::Key_Home:
        return range.min;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return qint64(position) - lineSize;
    case Qt::Key_Right:
    case Qt::Key_Down:
        return qint64(position) + lineSize;
    default:
        return std::nullopt;
    }
}

QList<int> tickCentres(int length, int sliderLength, Range range, int frequency)
{
    QList<int> centres;
    const qint64 span = range.span();
    if (span <= 0)
        return centres;
    const qint64 room = std::max<qint64>(0, qint64(length) - sliderLength);
    const int half = sliderLength / 2;
    const qint64 ticks = frequency < 1 ? 2 : span / frequency + 2;
    if (ticks <= room + 2) {
        // Few ticks: walk them.
        auto add = [&](qint64 along) {
            const int centre = int(room * along / span) + half;
            if (centres.isEmpty() || centres.last() != centre)
                centres.append(centre);
        };
        if (frequency < 1) {
            add(0);
        } else {
            for (qint64 along = 0; along < span; along += frequency)
                add(along);
        }
        add(span);
        return centres;
    }
    // More ticks than pixels: walk the pixels and ask whether any tick lands on each. The values
    // t (offsets from min) that land on pixel p are those with p <= room x t / span < p + 1.
    for (qint64 pixel = 0; pixel <= room; ++pixel) {
        const qint64 lo = room == 0 ? 0 : ceilDiv(pixel * span, room);
        const qint64 hi = room == 0 ? span : std::min(span, ceilDiv((pixel + 1) * span, room) - 1);
        if (tickIn(lo, hi, span, frequency))
            centres.append(int(pixel) + half);
    }
    return centres;
}

int effectiveLineButton(int lineButton)
{
    return lineButton > 0 ? std::max(lineButton, Metrics::ScrollSliderMinLength) : lineButton;
}

int scrollSliderLength(int trackLength, int pageSize, int lineButton)
{
    if (lineButton > 0)
        return effectiveLineButton(lineButton);
    const int percent = pageSize < Metrics::ScrollSliderMinPercent || pageSize > 100
        ? Metrics::ScrollSliderMinPercent
        : pageSize;
    return int(qint64(std::max(0, trackLength)) * percent / 100);
}

int proportionalThumb(int room, Range range, int page)
{
    if (room <= 0 || page <= 0)
        return 0;
    const qint64 total = std::max<qint64>(0, range.span()) + page;
    return int(qint64(room) * page / total);
}

ScrollBarLayout scrollBarLayout(QSize size, TkavProgressBarOrientation orientation,
                                QSize decreaseButton, QSize increaseButton)
{
    ScrollBarLayout layout;
    layout.visible = size.width() > 0 && size.height() > 0;
    if (!layout.visible) {
        layout.barSize = size;
        return layout;
    }
    layout.decrease = QRect(QPoint(0, 0), decreaseButton);
    if (orientation == KavOrientation::kavVertical) {
        const int height = size.height();
        layout.barSize = QSize(decreaseButton.width(), height);
        layout.trackAt = QPoint(0, decreaseButton.height());
        // One pixel is left above the increase button.
        layout.trackLength = std::max(0, height - increaseButton.height() - decreaseButton.height() - 1);
        layout.increase = QRect(QPoint(0, height - increaseButton.height()), increaseButton);
    } else {
        const int width = size.width();
        layout.barSize = QSize(width, decreaseButton.height());
        layout.trackAt = QPoint(decreaseButton.width(), 0);
        layout.trackLength = std::max(0, width - increaseButton.width() - decreaseButton.width());
        layout.increase = QRect(QPoint(width - increaseButton.width(), 0), increaseButton);
    }
    return layout;
}

AttachedPlacement placeVerticalBar(const QRect &host, int barWidth, int otherBarHeight)
{
    AttachedPlacement placement;
    placement.fits = host.width() >= barWidth;
    placement.geometry = QRect(host.x() + host.width() - barWidth - 2, host.y() + 1, barWidth,
                               std::max(0, host.height() - otherBarHeight - 2));
    return placement;
}

AttachedPlacement placeHorizontalBar(const QRect &host, int barHeight, int otherBarWidth)
{
    AttachedPlacement placement;
    placement.fits = host.height() >= barHeight;
    placement.geometry = QRect(host.x() + 1, host.y() + host.height() - barHeight - 2,
                               std::max(0, host.width() - otherBarWidth - 2), barHeight);
    return placement;
}

} // namespace Kav::Track
