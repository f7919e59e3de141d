#include "KAVStyleLook.h"

#include "KAVFunctions.h"
#include "KAVMgr.h"
#include "KAVThemeValues.h"

#include <QAtomicInteger>

namespace Kav {

namespace {

QColor colourOf(const KavThemeValues &values, int key)
{
    return values.color(key).resolved();
}

quint64 nextSerial()
{
    static QAtomicInteger<quint64> serial;
    return ++serial;
}

// The palette a window of the look shows: the form's colour behind everything, buttons in it,
// white fields, selections in the menus' colours, a grey for disabled text.
QPalette paletteOf(const KavStyleLook &look)
{
    const QColor window = look.formBackground;
    QPalette palette(window);
    const auto setAll = [&palette](QPalette::ColorRole role, const QColor &colour) {
        palette.setColor(QPalette::All, role, colour);
    };
    setAll(QPalette::Window, window);
    setAll(QPalette::Button, window);
    setAll(QPalette::Base, Qt::white);
    setAll(QPalette::AlternateBase, look.controlBackground.darker(104));
    setAll(QPalette::WindowText, Qt::black);
    setAll(QPalette::Text, Qt::black);
    setAll(QPalette::ButtonText, Qt::black);
    setAll(QPalette::PlaceholderText, QColor(128, 128, 128));
    setAll(QPalette::Light, window.lighter(125));
    setAll(QPalette::Midlight, window.lighter(110));
    setAll(QPalette::Mid, window.darker(130));
    // Shades of the window's colour (an MDI area's background is Dark), not the borders' black.
    setAll(QPalette::Dark, window.darker(165));
    setAll(QPalette::Shadow, window.darker(250));
    setAll(QPalette::Highlight, look.menuSelectedBackground);
    setAll(QPalette::HighlightedText, look.menuSelectedFont);
    const QColor disabled(128, 128, 128);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    return palette;
}

} // namespace

int KavStyleLook::scrollBarExtent() const
{
    return arrowsVertical[0].width();
}

bool KavStyleLook::sameMetrics(const KavStyleLook &other) const
{
    const auto sizesOf = [](const KavStyleLook &look) {
        return std::array<QSize, 10>{QSize(look.scrollBarExtent(), look.arrowsVertical[0].height()),
                                     look.checkIndicator(),
                                     look.radioIndicator(),
                                     QSize(look.tabHeight(), look.tabBarHeight()),
                                     QSize(look.titleBarHeight(), look.formBorderWidth),
                                     QSize(look.buttonFaceHeight(), look.menu.menuItemHeight),
                                     look.trackSliderSize(false),
                                     look.trackSliderSize(true),
                                     QSize(look.trackBar.height(), look.menu.separatorHeight),
                                     QSize(look.menu.menuBarHeight, look.arrowsHorizontal[0].height())};
    };
    return sizesOf(*this) == sizesOf(other);
}

KavStyleLook KavMakeStyleLook(TkavUIStyle uiStyle, const TkavFileTheme *fileTheme)
{
    const KavThemeValues values(uiStyle, fileTheme);
    TkavPictureStore &store = TkavPictureStore::instance();
    auto frame = [&values](int key, int count, int number, PictureMask mask = PictureMask::None) {
        return values.picture(key, PictureRecipe{count, number, mask, false});
    };

    KavStyleLook look;
    look.uiStyle = uiStyle;
    look.resolved = values.resolvedStyle();
    look.fromFile = values.usesFile();
    look.serial = nextSerial();

    look.formBackground = colourOf(values, KavKey::FormBackgroundColor);
    look.formBorder = colourOf(values, KavKey::FormBorderColor);
    look.formBorderWidth = qMax(0, values.integer(KavKey::FormBorderWidthInt));
    look.controlBorder = colourOf(values, KavKey::ControlBorderColor);
    look.controlBackground = colourOf(values, KavKey::ControlBackgroundColor);
    look.controlFont = colourOf(values, KavKey::ControlFontColor);
    look.scrollBackground = colourOf(values, KavKey::ScrollBarBackgroundColor);
    look.toolButtonBorder = colourOf(values, KavKey::ToolBarButtonBorderColor);
    look.toolButtonBackground = colourOf(values, KavKey::ToolBarButtonBackgroundColor);
    look.toolButtonDown = colourOf(values, KavKey::ToolBarButtonDownBackgroundColor);
    look.menuSelectedBackground = colourOf(values, KavKey::MenuSelectedBackgroundColor);
    look.menuSelectedFont = colourOf(values, KavKey::MenuSelectedFontColor);
    // The tab control's body: white in the built-in WinXP look, the look's colour elsewhere.
    look.tabBody = !look.fromFile && uiStyle == TkavUIStyle::WinXP ? QColor(Qt::white) : look.controlBackground;
    look.toolBarTransparent = uiStyle == TkavUIStyle::MacOS || uiStyle == TkavUIStyle::Protein;

    for (int i = 0; i < 3; ++i)
        look.button[std::size_t(i)] = frame(KavKey::ButtonImage, 3, i + 1);
    look.buttonTransparent = values.boolean(KavKey::ButtonTransparentBool);

    // The check box's frames are drawn opaque, the radio button's keyed by their bottom-left
    // pixel, as TkavCheckBox and TkavRadioButton draw them.
    for (int i = 0; i < 4; ++i) {
        look.checkBox[std::size_t(i)] = frame(KavKey::CheckBoxImage, 4, i + 1);
        look.radioButton[std::size_t(i)] = frame(KavKey::RadioButtonImage, 4, i + 1, PictureMask::BottomLeft);
    }

    // The scroll bar's pictures, stored for a vertical bar (arrows) and a horizontal one
    // (slider), turned for the other as TkavScrollBar turns them.
    for (int i = 0; i < 6; ++i) {
        QImage arrow = frame(KavKey::ScrollBarButtonImage, 6, i + 1).image();
        look.arrowsVertical[std::size_t(i)] = arrow;
        RoundPicture(arrow);
        look.arrowsHorizontal[std::size_t(i)] = arrow;
    }
    for (int i = 0; i < 3; ++i) {
        QImage slice = frame(KavKey::ScrollBarSliderImage, 3, i + 1).image();
        look.sliderHorizontal[std::size_t(i)] = slice;
        RoundPicture3(slice);
        look.sliderVertical[std::size_t(i)] = slice;
    }

    // The track bar's: the horizontal slider lets the track show around it, the vertical one not.
    look.trackBar = values.picture(KavKey::TrackBarBarImage).image();
    look.trackSlider = frame(KavKey::TrackBarSliderImage, 0, 0, PictureMask::BottomLeft);
    look.trackSliderVertical = frame(KavKey::TrackBarSliderVImage, 0, 0);

    look.progress = values.picture(KavKey::ProgressBarImage).image();
    look.progressVertical = look.progress;
    RoundPicture(look.progressVertical);

    look.tabActive = frame(KavKey::TabControlTabImage, 2, 1);
    look.tabInactive = frame(KavKey::TabControlTabImage, 2, 2);
    look.tabBar = values.picture(KavKey::TabControlBarImage);
    for (int i = 0; i < 4; ++i)
        look.tabScrollButtons[std::size_t(i)] = frame(KavKey::ScrollButtonImage, 4, i + 1, PictureMask::Magenta);

    // Only these two looks have a combo box button picture, whatever a theme file holds.
    if (uiStyle == TkavUIStyle::MacOS)
        look.comboButton = store.resourcePicture(QStringLiteral("MACOS_COMBOBOX_BUTTON"));
    else if (uiStyle == TkavUIStyle::WinXP)
        look.comboButton = store.resourcePicture(QStringLiteral("WINXP_COMBOBOX_BUTTON"));
    look.comboArrow = uiStyle != TkavUIStyle::WinXP;

    if (!look.fromFile && look.resolved == TkavUIStyle::MacOS)
        look.formPattern = store.resourcePicture(QStringLiteral("MACOS_FORM_BACKGROUND"));
    else if (!look.fromFile && look.resolved == TkavUIStyle::Protein)
        look.formPattern = store.resourcePicture(QStringLiteral("PROTEIN_FORM_BACKGROUND"));

    look.titleLeft = values.picture(KavKey::TitleBarLeftImage);
    look.titleClient = values.picture(KavKey::TitleBarClientImage);
    look.titleRight = values.picture(KavKey::TitleBarRightImage);
    const PictureMask titleMask =
        values.boolean(KavKey::TitleBarButtonTransparentBool) ? PictureMask::BottomLeft : PictureMask::None;
    for (int i = 0; i < 18; ++i)
        look.titleButtons[std::size_t(i)] = frame(KavKey::TitleBarButtonImage, 18, i + 1, titleMask);
    look.titleButtonTop = values.integer(KavKey::TitleBarButtonTopInt);
    look.titleButtonLeftOffset = values.integer(KavKey::TitleBarButtonLeftOffsetInt);
    look.titleButtonRightOffset = values.integer(KavKey::TitleBarButtonRightOffsetInt);

    KavApplyMenuLook(look.menu, values);
    // A skinned form shows its menu bar in its own colour.
    look.menu.menuBarColor = TColor::fromQColor(look.formBackground);

    look.palette = paletteOf(look);
    return look;
}

} // namespace Kav
