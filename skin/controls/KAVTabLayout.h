#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Where the tabs of a tab strip lie: the arithmetic alone, so that painting, clicking and
// scrolling all read the same rectangles. Any number of tabs is laid out.
namespace Kav::TabLayout {

// The width of a tab whose caption is captionWidth pixels wide (empty: no caption).
int tabWidth(int captionWidth, bool empty);

struct Input {
    QList<int> widths;      // each tab's width (tabWidth), by tab index
    QList<bool> shown;      // false hides the tab; missing entries count as shown
    int selected = -1;      // the selected tab, drawn one pixel lower
    int leftMargin = 0;     // x of the first tab drawn
    int stripWidth = 0;
    int tabHeight = 0;      // the height of an unselected tab
    int buttonWidth = 0;    // one scroll button
    int scrollOffset = 0;   // how many shown tabs are scrolled out to the left
};

struct Tab {
    int index = -1;
    QRect rect;             // as drawn
    bool cut = false;       // narrowed to stop short of the scroll buttons
};

struct Result {
    QList<Tab> tabs;        // the tabs drawn, left to right
    bool overflow = false;  // the tabs do not all fit
    int lastFullTab = -1;   // the last tab index drawn uncut (or scrolled out before it)
};

Result layout(const Input &input);

bool isShown(const Input &input, int index);

// The tab under point, or -1: strictly inside a drawn tab's left and right edges and strictly
// between 0 and tabHeight.
int tabAt(const Result &result, const QPoint &point, int tabHeight);

// The scroll offset at which the selected tab is drawn uncut: never further right than needed,
// and a tab scrolled out to the left is brought back as the first tab drawn. Unchanged when the
// selected tab is hidden or there is none.
int offsetShowing(const Input &input);

// The largest useful scroll offset: one less than the number of shown tabs (0 without any).
int maxOffset(const Input &input);

struct Buttons {
    bool shown = false;
    QRect left;
    QRect right;
};

// The two scroll buttons at the strip's right end, shown while the tabs overflow or are scrolled.
Buttons scrollButtons(const QSize &strip, const QSize &button, bool overflow, int scrollOffset);

} // namespace Kav::TabLayout
