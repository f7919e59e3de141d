#include "KAVTabLayout.h"

#include "KAVMetrics.h"

#include <algorithm>

namespace Kav::TabLayout {

int tabWidth(int captionWidth, bool empty)
{
    const int width = empty ? Metrics::TabEmptyWidth : captionWidth + Metrics::TabCaptionPadding;
    return std::max(width, Metrics::TabMinWidth);
}

bool isShown(const Input &input, int index)
{
    return index >= 0 && (index >= input.shown.size() || input.shown.at(index));
}

Result layout(const Input &input)
{
    Result result;
    const int count = int(input.widths.size());
    const int cutRight = input.stripWidth - 2 * input.buttonWidth - Metrics::TabButtonGap;
    const int lastLimit = input.stripWidth - Metrics::TabLastTabRightGap;
    int x = input.leftMargin;
    int shownCount = 0;
    int limit = cutRight;
    bool cut = false;
    result.lastFullTab = count - 1;

    for (int i = 0; i < count; ++i) {
        if (!isShown(input, i))
            continue;
        if (cut)
            break;
        const int width = input.widths.at(i);
        ++shownCount;
        if (shownCount <= input.scrollOffset)
            continue;
        const bool selected = i == input.selected;
        QRect rect(x, selected ? 1 : 0, width, input.tabHeight);
        limit = i == count - 1 ? lastLimit : cutRight;
        bool thisCut = false;
        if (rect.x() + rect.width() > limit) {
            rect.setRight(cutRight - 1);
            cut = thisCut = true;
            result.lastFullTab = i - 1;
        }
        result.tabs.append(Tab{i, rect, thisCut});
        x += width;
    }
    result.overflow = count > 0 && (cut || x > limit);
    return result;
}

int tabAt(const Result &result, const QPoint &point, int tabHeight)
{
    if (point.y() <= 0 || point.y() >= tabHeight)
        return -1;
    for (const Tab &tab : result.tabs) {
        const int left = tab.rect.x(), right = tab.rect.x() + tab.rect.width();
        if (left < point.x() && point.x() < right)
            return tab.index;
    }
    return -1;
}

namespace {
int shownBefore(const Input &input, int index)
{
    int shown = 0;
    for (int i = 0; i < index; ++i)
        shown += isShown(input, i) ? 1 : 0;
    return shown;
}
} // namespace

int maxOffset(const Input &input)
{
    return std::max(0, shownBefore(input, int(input.widths.size())) - 1);
}

int offsetShowing(const Input &input)
{
    const int selected = input.selected;
    if (selected < 0 || selected >= input.widths.size() || !isShown(input, selected))
        return input.scrollOffset;
    // Never past the selected tab itself: a tab wider than the strip is shown first, cut.
    const int firstDrawn = shownBefore(input, selected);
    Input probe = input;
    probe.scrollOffset = std::min(input.scrollOffset, firstDrawn);
    while (probe.scrollOffset < firstDrawn && layout(probe).lastFullTab < selected)
        ++probe.scrollOffset;
    return probe.scrollOffset;
}

Buttons scrollButtons(const QSize &strip, const QSize &button, bool overflow, int scrollOffset)
{
    Buttons buttons;
    buttons.shown = overflow || scrollOffset > 0;
    const int x = strip.width() - Metrics::TabButtonGap - button.width();
    const int y = strip.height() > button.height() + 4 ? (strip.height() - button.height()) / 2 - 2 : 0;
    buttons.right = QRect(QPoint(x, y), button);
    buttons.left = QRect(QPoint(x - button.width(), y), button);
    return buttons;
}

} // namespace Kav::TabLayout
