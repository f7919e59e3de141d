#pragma once

// Everything KavStyle draws one look with, fetched and prepared once when the look is chosen:
// the look's colours and integers, and its pictures from the picture store (cut, masked and,
// where a part lies the other way, turned), so that painting a widget only reads. The pictures
// are the very ones the library's own controls draw, fetched with the same recipes.

#include "KAVMenu.h"
#include "KAVPictureStore.h"
#include "KAVThemes.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QSize>

#include <array>

class TkavFileTheme;

namespace Kav {

struct KavStyleLook {
    TkavUIStyle uiStyle = TkavUIStyle::DeepBlue; // as asked for
    TkavUIStyle resolved = TkavUIStyle::DeepBlue; // the built-in look used where no file theme is
    bool fromFile = false;
    // Tells looks apart in the shared face cache: faces this style composes from turned or
    // combined pictures (which have no picture-store identity) carry it in their key.
    quint64 serial = 0;

    // Colours and integers of the look.
    QColor formBackground;
    QColor formBorder;
    int formBorderWidth = 1;
    QColor controlBorder;
    QColor controlBackground;
    QColor controlFont;
    QColor scrollBackground;
    QColor toolButtonBorder;
    QColor toolButtonBackground;
    QColor toolButtonDown;
    QColor menuSelectedBackground;
    QColor menuSelectedFont;
    QColor tabBody;            // the body of a tab widget (white in the built-in WinXP look)
    bool toolBarTransparent = false;

    // Push buttons (and the spin box's arrow buttons): frames 1-3 of ButtonImage.
    std::array<TkavPicture, 3> button;
    bool buttonTransparent = false;

    // Check boxes and radio buttons: checked, unchecked, checked disabled, unchecked disabled.
    std::array<TkavPicture, 4> checkBox;
    std::array<TkavPicture, 4> radioButton;

    // Scroll bars: the six arrow frames as drawn for a vertical bar and turned for a horizontal
    // one; the slider's head, body and tail lying (horizontal) and standing (vertical).
    std::array<QImage, 6> arrowsVertical;
    std::array<QImage, 6> arrowsHorizontal;
    std::array<QImage, 3> sliderHorizontal;
    std::array<QImage, 3> sliderVertical;

    // Track bars: the bar picture (three parts) and the slider of each orientation, masked as
    // the library's track bar masks it.
    QImage trackBar;
    TkavPicture trackSlider;
    TkavPicture trackSliderVertical;

    // Progress bars: the fill picture, and turned for a vertical bar.
    QImage progress;
    QImage progressVertical;

    // Tabs: the selected and the other tabs (three parts each), the line under them, and the
    // strip's scroll buttons (right, right hot, left, left hot).
    TkavPicture tabActive;
    TkavPicture tabInactive;
    TkavPicture tabBar;
    std::array<TkavPicture, 4> tabScrollButtons;

    // Combo boxes: the button picture of MacOS and WinXP (null elsewhere), and whether the arrow
    // is drawn on it.
    TkavPicture comboButton;
    bool comboArrow = true;

    // The window background's pattern (MacOS, Protein), null where the colour alone shows.
    TkavPicture formPattern;

    // Title bars of MDI sub-windows: the three sections, the 18 button frames and their offsets.
    TkavPicture titleLeft;
    TkavPicture titleClient;
    TkavPicture titleRight;
    std::array<TkavPicture, 18> titleButtons;
    int titleButtonTop = 0;
    int titleButtonLeftOffset = 0;
    int titleButtonRightOffset = 0;

    // Menus and menu bars, as a skinned menu of this look draws them.
    TkavMenuSkin menu;

    // The look's palette: window and buttons in the form's colour, selections as the menus show
    // them, disabled text grey.
    QPalette palette;

    // Sizes the look gives Qt's widgets.
    int scrollBarExtent() const;
    QSize checkIndicator() const { return checkBox[1].size(); }
    QSize radioIndicator() const { return radioButton[1].size(); }
    int tabHeight() const { return tabInactive.height(); }
    int tabBarHeight() const { return tabBar.height(); }
    int titleBarHeight() const { return titleLeft.height(); }
    int buttonFaceHeight() const { return button[0].height(); }
    QSize trackSliderSize(bool vertical) const
    {
        return vertical ? trackSliderVertical.size() : trackSlider.size();
    }

    // Whether two looks lay widgets out alike (every size above equal), so that switching between
    // them needs no new layout.
    bool sameMetrics(const KavStyleLook &other) const;
};

// The look of uiStyle, or of fileTheme when uiStyle is FromThemeFile (DeepBlue when the theme is
// missing or cannot be used), resolved as every skinned control resolves it.
KavStyleLook KavMakeStyleLook(TkavUIStyle uiStyle, const TkavFileTheme *fileTheme);

} // namespace Kav
