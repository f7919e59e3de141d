#pragma once

// Fixed sizes of the skin in one place: the size of every built-in picture (the look generator
// draws them at these sizes and the tests check them against the resources) and the default
// sizes of the controls. Frame counts live in the key table (KAV_THEME_KEYS in KAVThemes.h).

#include "KAVThemes.h"

#include <QPoint>
#include <QSize>

#include <array>
#include <cstddef>

namespace Kav::Metrics {

// The built-in looks in the order of the size tables below.
inline constexpr std::array<TkavUIStyle, 5> BuiltInLooks = {
    TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue, TkavUIStyle::Protein, TkavUIStyle::BlueGlass};

// Index of a built-in look in BuiltInLooks; -1 for FromThemeFile and anything unknown.
constexpr int builtInLookIndex(TkavUIStyle style)
{
    for (std::size_t i = 0; i < BuiltInLooks.size(); ++i)
        if (BuiltInLooks[i] == style)
            return int(i);
    return -1;
}

// Whole-picture size of each picture key, per look (MacOS, WinXP, DeepBlue, Protein, BlueGlass).
struct KeyPictureSizes {
    int key;
    std::array<QSize, 5> sizes;
};

inline constexpr KeyPictureSizes KeyPictures[] = {
    {KavKey::ButtonImage, {QSize(252, 23), QSize(54, 21), QSize(222, 21), QSize(222, 21), QSize(231, 27)}},
    {KavKey::CheckBoxImage, {QSize(60, 17), QSize(52, 13), QSize(52, 13), QSize(52, 13), QSize(52, 13)}},
    {KavKey::RadioButtonImage, {QSize(64, 17), QSize(52, 13), QSize(52, 13), QSize(52, 13), QSize(52, 13)}},
    {KavKey::TitleBarButtonImage, {QSize(306, 17), QSize(378, 21), QSize(342, 19), QSize(342, 19), QSize(342, 19)}},
    {KavKey::TitleBarLeftImage, {QSize(48, 23), QSize(35, 29), QSize(97, 32), QSize(441, 23), QSize(162, 33)}},
    {KavKey::TitleBarClientImage, {QSize(49, 23), QSize(37, 29), QSize(98, 32), QSize(1, 23), QSize(179, 33)}},
    {KavKey::TitleBarRightImage, {QSize(48, 23), QSize(35, 29), QSize(97, 32), QSize(1, 23), QSize(101, 33)}},
    {KavKey::ProgressBarImage, {QSize(13, 10), QSize(6, 10), QSize(1, 10), QSize(1, 10), QSize(1, 10)}},
    {KavKey::TrackBarBarImage, {QSize(45, 5), QSize(45, 8), QSize(45, 4), QSize(45, 4), QSize(45, 4)}},
    {KavKey::TrackBarSliderImage, {QSize(11, 20), QSize(11, 21), QSize(11, 20), QSize(11, 20), QSize(11, 20)}},
    {KavKey::TrackBarSliderVImage, {QSize(19, 11), QSize(22, 11), QSize(18, 11), QSize(18, 11), QSize(18, 11)}},
    {KavKey::ScrollBarButtonImage, {QSize(96, 22), QSize(96, 17), QSize(96, 16), QSize(96, 16), QSize(102, 16)}},
    {KavKey::ScrollBarSliderImage, {QSize(33, 16), QSize(21, 16), QSize(21, 16), QSize(21, 16), QSize(21, 16)}},
    {KavKey::CheckListBoxImage, {QSize(40, 11), QSize(44, 11), QSize(44, 11), QSize(44, 11), QSize(44, 11)}},
    {KavKey::ScrollButtonImage, {QSize(72, 18), QSize(72, 18), QSize(72, 17), QSize(72, 17), QSize(72, 17)}},
    {KavKey::TabControlTabImage, {QSize(36, 27), QSize(18, 18), QSize(12, 17), QSize(18, 17), QSize(18, 17)}},
    {KavKey::TabControlBarImage, {QSize(17, 7), QSize(8, 1), QSize(5, 5), QSize(10, 5), QSize(10, 5)}},
    {KavKey::SideChannelHandleImage, {QSize(7, 84), QSize(8, 86), QSize(8, 83), QSize(8, 83), QSize(8, 86)}},
    {KavKey::SideChannelBarImage, {QSize(1, 21), QSize(1, 21), QSize(1, 20), QSize(1, 21), QSize(1, 21)}},
};

// Whole size of key's picture in a built-in look; an empty size for keys without a picture and
// for FromThemeFile.
constexpr QSize keyPictureSize(TkavUIStyle style, int key)
{
    const int look = builtInLookIndex(style);
    if (look < 0)
        return QSize();
    for (const KeyPictureSizes &entry : KeyPictures)
        if (entry.key == key)
            return entry.sizes[std::size_t(look)];
    return QSize();
}

// Pictures loaded by their resource name rather than through the key table.
struct FixedPicture {
    const char *name;
    QSize size;
    int frames;
};

inline constexpr FixedPicture FixedPictures[] = {
    {"MACOS_FORM_BACKGROUND", QSize(8, 8), 1},
    {"PROTEIN_FORM_BACKGROUND", QSize(8, 8), 1},
    {"MACOS_MENU_BAR", QSize(1, 22), 1},
    {"MACOS_MENU_SELECT", QSize(1, 21), 1},
    {"MENU_CHECKED", QSize(16, 16), 1},
    {"MDI_CONTROL_BUTTON", QSize(48, 16), 3},
    {"MSNPOPFORM", QSize(181, 116), 1},
    {"PANEL_BUTTON", QSize(52, 12), 4},
    {"MACOS_COMBOBOX_BUTTON", QSize(16, 17), 1},
    {"WINXP_COMBOBOX_BUTTON", QSize(16, 18), 1},
    {"DBNAV_BUTTON", QSize(160, 16), 10},
};

// Default control sizes (what a new control has before a form gives it its own).
inline constexpr QSize ButtonSize{74, 21};          // a push button: one DeepBlue button frame
inline constexpr QSize GlyphButtonSize{24, 21};     // arrow and control buttons
inline constexpr QSize CheckBoxSize{93, 17};
inline constexpr QSize GroupBoxSize{185, 105};
inline constexpr QSize PanelSize{185, 41};
inline constexpr QSize SpeedButtonSize{18, 18};
inline constexpr QSize PushButtonSize{80, 27};      // a new TkavButton, and its smallest size hint
inline constexpr QSize ArrowButtonSize{16, 11};     // an arrow button's size hint (half a spin button)
inline constexpr QSize ImageButtonSize{24, 24};     // an image button without a picture
inline constexpr QSize ButtonCaptionMargins{16, 8}; // room around a push button's caption and glyph
inline constexpr QSize ActionGlyphSize{16, 16};     // the glyph a push button takes from its action's icon

// Track bars, scroll bars and the memo.
inline constexpr int TrackBarLength = 185;          // a new track bar's width (horizontal)
inline constexpr int ScrollBarLength = 185;         // a new scroll bar's length
inline constexpr int TrackPageIntervalMs = 100;     // paging repeat while the mouse is held on a track
inline constexpr int ScrollArrowRepeatMs = 100;     // arrow button repeat of a scroll bar
inline constexpr int TrackTickLength = 3;           // a tick mark, in pixels
inline constexpr int ScrollSliderMinLength = 18;    // shortest fixed scroll slider (LineButton)
inline constexpr int ScrollSliderMinPercent = 10;   // slider length when PageSize is no percentage
inline constexpr int MemoBorderWidth = 2;           // the memo's flat border: outer and inner line

// Edits and combo boxes.
inline constexpr QSize EditSize{121, 21};
inline constexpr int EditBorderWidth = 2;             // outer line in the border colour, inner line in Color
inline constexpr QSize SpinButtonsSize{20, 25};       // a pair of spin buttons on its own
inline constexpr QSize SpinEditButtonsSize{15, 20};   // the pair inside a spin edit (its height follows the edit)
inline constexpr int SpinButtonsMinWidth = 15;
inline constexpr int SpinEditButtonsGap = 2;          // between the text and the spin buttons
inline constexpr QSize ComboBoxSize{145, 21};
inline constexpr int ComboBoxFrameWidth = 2;          // outer line in the border colour, inner line in Color
inline constexpr int ComboBoxButtonWidth = 17;        // the drop-down button, as wide as a scroll bar arrow
inline constexpr QSize ComboBoxArrowSize{7, 4};       // the drawn arrow: a filled triangle pointing down

// Check boxes and radio buttons: the state picture sits CheckPictureLeft from the left edge and
// the caption CheckTextGap right of the picture; an automatic size is picture + caption +
// CheckExtraWidth wide and max(text height + 2, picture height) + CheckExtraHeight high.
inline constexpr int CheckPictureLeft = 1;
inline constexpr int CheckTextGap = 4;
inline constexpr int CheckExtraWidth = 8;
inline constexpr int CheckExtraHeight = 4;

// Group boxes: the caption is written at (GroupCaptionLeft, 0) in a gap of the top line that runs
// from GroupLineGapLeft to caption width + GroupLineGapRight.
inline constexpr int GroupCaptionLeft = 5;
inline constexpr int GroupLineGapLeft = 2;
inline constexpr int GroupLineGapRight = 6;

// A captioned panel (TkavPanel): its default size, where its caption starts in the caption bar,
// and how far its push button keeps from the right edge.
inline constexpr QSize CaptionPanelSize{100, 100};
inline constexpr int PanelCaptionLeft = 10;
inline constexpr int PanelButtonRightMargin = 4;

// Progress bars: a fixed thickness across, and a new bar's length.
inline constexpr int ProgressBarThickness = 12;
inline constexpr int ProgressBarLength = 150;

// Tab strips: a tab is its caption's width + TabCaptionPadding wide (TabEmptyWidth without a
// caption), never narrower than TabMinWidth. Tabs start LeftMargin (TabLeftMargin by default)
// from the left; the last tab may reach TabLastTabRightGap from the right edge, any other stops
// TabButtonGap short of the two scroll buttons. A cut tab's caption keeps TabCutCaptionLeft and
// TabCutCaptionRight from its edges. The body's children keep TabBodyInset from its border.
inline constexpr QSize TabControlSize{185, 80};
inline constexpr int TabCaptionPadding = 20;
inline constexpr int TabEmptyWidth = 80;
inline constexpr int TabMinWidth = 15;
inline constexpr int TabLeftMargin = 10;
inline constexpr int TabLastTabRightGap = 10;
inline constexpr int TabButtonGap = 2;
inline constexpr int TabCutCaptionLeft = 10;
inline constexpr int TabCutCaptionRight = 4;
inline constexpr int TabBodyInset = 3;

// The title bar: right-hand buttons lie TitleBarButtonGap (plus the bar's ButtonInterval) apart;
// the caption starts TitleBarControlBoxGap after the control box, or TitleBarAppIconAdvance after
// its left edge when the application icon (TitleBarAppIconSize square, TitleBarAppIconLeft in)
// stands in its place, and never at 0 but at TitleBarCaptionDefaultLeft. The rounded outline runs
// TitleBarOutlineDepth below the bar so that only its top corners show. A new button sits
// TitleBarButtonTop from the top, a new section is TitleBarSectionWidth wide.
inline constexpr int TitleBarButtonGap = 1;
inline constexpr int TitleBarControlBoxGap = 5;
inline constexpr int TitleBarAppIconSize = 16;
inline constexpr int TitleBarAppIconLeft = 3;
inline constexpr int TitleBarAppIconAdvance = 21;
inline constexpr int TitleBarCaptionDefaultLeft = 6;
inline constexpr int TitleBarOutlineDepth = 50;
inline constexpr int TitleBarButtonTop = 2;
inline constexpr int TitleBarSectionWidth = 10;

// Menus. An item is MenuItemHeight high (a separator MenuSeparatorHeight), MacOS items and
// separators keep the heights of their pictures' rows; an item is as wide as its caption, its
// shortcut, the bar at its left and MenuItemExtraWidth. The caption starts MenuCaptionOffset right
// of the bar and below the item's top; the shortcut ends MenuShortcutRightGap short of the right
// edge; check mark and icon sit at MenuGlyphOffset, the box behind a checked item's icon is
// MenuIconBoxSize at MenuIconBoxOffset. Separators are a line MenuSeparatorLineTop below the top.
inline constexpr int MenuNewItemHeight = 21;         // a new menu's heights, before a look applies
inline constexpr int MenuItemHeight = 21;
inline constexpr int MenuSeparatorHeight = 5;
inline constexpr int MenuMacItemHeight = 20;
inline constexpr int MenuMacSeparatorHeight = 12;
inline constexpr int MenuBarWidth = 26;
inline constexpr int MenuItemExtraWidth = 40;
inline constexpr int MenuCaptionOffset = 4;
inline constexpr int MenuShortcutRightGap = 16;
inline constexpr QPoint MenuGlyphOffset{4, 3};
inline constexpr QPoint MenuIconBoxOffset{2, 1};
inline constexpr QSize MenuIconBoxSize{19, 19};
inline constexpr QSize MenuGlyphSize{16, 16};
inline constexpr int MenuSeparatorLineTop = 2;
inline constexpr int MenuSeparatorLineRightGap = 2;
inline constexpr int MenuArrowRightGap = 8;          // the sub-menu arrow's tip from the right edge
inline constexpr int MenuFlatFrameWidth = 3;         // the flat frame around a menu window
// The main menu's bar: its height (and its items'), and the room around an item's caption.
// A skinned form's bar and an MDI parent's are as high.
inline constexpr int MenuBarHeight = 22;
inline constexpr int MenuBarItemPadding = 8;
inline constexpr int MenuBarHotTextDrop = 2;          // a hot item's caption sits this much lower
inline constexpr int MenuBarPressedInset = 2;         // a pressed item's face and caption shift

} // namespace Kav::Metrics

namespace Kav::Metrics {

// Skinned windows: the band along a window's edges that sizes it (corners count for both edges),
// the smallest size a skinned window lets itself be given (room for the title bar's buttons and a
// border), the extra border an MDI child's form leaves at its right and bottom, and an MDI
// parent's frame (left, right and bottom; its title bar is the top).
inline constexpr int SizingBand = 5;
inline constexpr QSize MinimumFormSize{125, 50};
inline constexpr int MdiChildInset = 3;
inline constexpr int MdiFrameWidth = 1;

} // namespace Kav::Metrics

namespace Kav::Metrics {

// The pop-up notice: it keeps NoticeRightMargin from the work area's right edge; the title is one
// line at NoticeTitleTopLeft, NoticeTitleRightGap short of the right edge and NoticeTitleHeight
// high; the message starts at NoticeTextTopLeft and stops NoticeTextRightGap and
// NoticeTextBottomGap short of the edges. The close mark is part of the background picture.
inline constexpr int NoticeRightMargin = 18;
inline constexpr QPoint NoticeTitleTopLeft{10, 5};
inline constexpr int NoticeTitleRightGap = 30;
inline constexpr int NoticeTitleHeight = 18;
inline constexpr QPoint NoticeTextTopLeft{10, 40};
inline constexpr int NoticeTextRightGap = 20;
inline constexpr int NoticeTextBottomGap = 50;
inline constexpr QPoint NoticeCloseBoxTopLeft{162, 6};
inline constexpr QSize NoticeCloseBoxSize{14, 14};
inline constexpr int NoticeAnimateMs = 400;        // default slide time
inline constexpr int NoticeStayMs = 2000;          // default time shown after sliding in
inline constexpr int NoticeStayCheckMs = 100;      // how often a shown notice checks its time
inline constexpr int NoticeFrameMs = 15;           // a slide step

// The data-aware image: its size when made, and its flat border (outer line in the border colour,
// inner line in Color).
inline constexpr QSize DBImageSize{105, 105};
inline constexpr int DBImageBorderWidth = 2;

} // namespace Kav::Metrics

namespace Kav::Metrics {

// The data navigator: its size when made, the smallest button it lets itself be squeezed to, and
// how a held prior or next button repeats (a first step after the delay, then one every interval).
inline constexpr QSize NavigatorSize{250, 30};
inline constexpr QSize NavigatorButtonMinSize{20, 18};
inline constexpr int NavigatorRepeatDelayMs = 400;
inline constexpr int NavigatorRepeatIntervalMs = 100;

} // namespace Kav::Metrics

namespace Kav::Metrics {

// The data-aware list boxes (list box, lookup list): a new one's size, and their flat border
// (outer line in the border colour, inner line in Color).
inline constexpr QSize DBListBoxSize{121, 97};
inline constexpr int DBListBoxBorderWidth = 2;
// The data grid: a new one's size, its one-line border, and the room left and right of a title.
inline constexpr QSize DBGridSize{320, 120};
inline constexpr int DBGridBorderWidth = 1;
inline constexpr int DBGridTitlePadding = 2;

} // namespace Kav::Metrics
