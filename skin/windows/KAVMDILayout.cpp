#include "KAVMDILayout.h"

#include <algorithm>

namespace Kav::MdiLayout {

namespace {

// Neighbouring tiles share this much, so that two borders make one line.
constexpr int TileOverlap = 6;
// Room the parent's frame takes from the area the tiles share.
constexpr int FrameAllowance = 4;
// How far each cascaded child moves beyond the title bar's height.
constexpr int CascadeExtraStep = 3;

} // namespace

QList<QRect> tile(const Frame &frame, const QList<bool> &minimized, TileMode mode)
{
    QList<QRect> bounds(minimized.size());
    const qsizetype shown = std::count(minimized.cbegin(), minimized.cend(), false);
    if (shown == 0)
        return bounds;
    const int count = int(shown);
    int height = frame.client.height() - frame.menuBarHeight - frame.titleBarHeight - FrameAllowance;
    if (shown != minimized.size())
        height -= std::max(0, frame.minimizedHeight);
    height = std::max(0, height);

    if (mode == TileMode::Vertical) {
        const int width = std::max(0, frame.client.width() / count);
        int x = 0;
        for (qsizetype i = 0; i < minimized.size(); ++i) {
            if (minimized.at(i))
                continue;
            bounds[i] = QRect(x, 0, width, height);
            x += std::max(0, width - TileOverlap);
        }
    } else {
        const int width = std::max(0, frame.client.width() - FrameAllowance);
        height /= count;
        int y = 0;
        for (qsizetype i = 0; i < minimized.size(); ++i) {
            if (minimized.at(i))
                continue;
            bounds[i] = QRect(0, y, width, height);
            y += std::max(0, height - TileOverlap);
        }
    }
    return bounds;
}

QList<QRect> cascade(const Frame &frame, const QList<bool> &minimized)
{
    QList<QRect> bounds(minimized.size());
    const int width = std::max(0, frame.client.width() * 8 / 10);
    const int height = std::max(0, frame.client.height() * 6 / 10);
    const int step = frame.titleBarHeight + CascadeExtraStep;
    int offset = 0;
    for (qsizetype i = 0; i < minimized.size(); ++i) {
        if (minimized.at(i))
            continue;
        bounds[i] = QRect(offset, offset, width, height);
        offset += step;
    }
    return bounds;
}

} // namespace Kav::MdiLayout
