#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <stdexcept>

#include "KAVColor.h"

namespace Kav {
Q_NAMESPACE

// The look of a skinned component. FromThemeFile takes every value from the component's file
// theme; the other five are the built-in looks, DeepBlue being the fall-back.
enum class TkavUIStyle : quint8 { FromThemeFile = 0, MacOS, WinXP, DeepBlue, Protein, BlueGlass };
Q_ENUM_NS(TkavUIStyle)

// The kind of a theme value. Str values are the resource names of pictures.
enum class TkavType : quint8 { Int = 0, Color, Str, Bool };
Q_ENUM_NS(TkavType)
} // namespace Kav

using Kav::TkavType;
using Kav::TkavUIStyle;

// The theme keys, declared once: number, name (also the entry name in theme files), kind and,
// for pictures, the number of equal-width frames the picture holds side by side (1 for a single
// picture, 0 for keys that are no picture).
// Everything that knows about keys (the key enum, the name and kind tables, the built-in looks,
// file themes, the theme tool) is derived from this list.
#define KAV_THEME_KEYS(X)                                                                          \
    X(1, ButtonImage, Str, 3)                                                                         \
    X(2, ButtonTransparentBool, Bool, 0)                                                              \
    X(3, CheckBoxImage, Str, 4)                                                                       \
    X(4, RadioButtonImage, Str, 4)                                                                    \
    X(5, TitleBarButtonImage, Str, 18)                                                                 \
    X(6, TitleBarButtonTransparentBool, Bool, 0)                                                      \
    X(7, TitleBarButtonLeftOffsetInt, Int, 0)                                                         \
    X(8, TitleBarButtonRightOffsetInt, Int, 0)                                                        \
    X(9, TitleBarButtonTopInt, Int, 0)                                                                \
    X(10, TitleBarLeftImage, Str, 1)                                                                  \
    X(11, TitleBarClientImage, Str, 1)                                                                \
    X(12, TitleBarRightImage, Str, 1)                                                                 \
    X(13, FormMinWidthInt, Int, 0)                                                                    \
    X(14, FormRoundCornerInt, Int, 0)                                                                 \
    X(15, FormBackgroundColor, Color, 0)                                                              \
    X(16, FormBorderColor, Color, 0)                                                                  \
    X(17, FormBorderWidthInt, Int, 0)                                                                 \
    X(18, MenuSelectedBorderColor, Color, 0)                                                          \
    X(19, MenuSelectedBackgroundColor, Color, 0)                                                      \
    X(20, MenuSelectedFontColor, Color, 0)                                                            \
    X(21, MenuBackgroundColor, Color, 0)                                                              \
    X(22, MenuFontColor, Color, 0)                                                                    \
    X(23, MenuBarColor, Color, 0)                                                                     \
    X(24, ProgressBarImage, Str, 1)                                                                   \
    X(25, ControlBorderColor, Color, 0)                                                               \
    X(26, ControlBackgroundColor, Color, 0)                                                           \
    X(27, ControlFontColor, Color, 0)                                                                 \
    X(28, TrackBarBarImage, Str, 3)                                                                   \
    X(29, TrackBarSliderImage, Str, 1)                                                                \
    X(30, TrackBarSliderVImage, Str, 1)                                                               \
    X(31, ScrollBarBackgroundColor, Color, 0)                                                         \
    X(32, ScrollBarButtonImage, Str, 6)                                                               \
    X(33, ScrollBarSliderImage, Str, 3)                                                               \
    X(34, CheckListBoxImage, Str, 1)                                                                  \
    X(35, ToolBarButtonBorderColor, Color, 0)                                                         \
    X(36, ToolBarButtonBackgroundColor, Color, 0)                                                     \
    X(37, ToolBarButtonDownBackgroundColor, Color, 0)                                                 \
    X(38, ScrollButtonImage, Str, 4)                                                                  \
    X(39, TabControlTabImage, Str, 2)                                                                 \
    X(40, TabControlBarImage, Str, 1)                                                                 \
    X(41, SideChannelHandleImage, Str, 1)                                                             \
    X(42, SideChannelBarImage, Str, 1)

// Key numbers by name: KavKey::ButtonImage == 1 ... KavKey::SideChannelBarImage == 42.
namespace KavKey {
#define KAV_THEME_KEY_NUMBER(number, name, kind, frames) name = number,
enum Key : int { KAV_THEME_KEYS(KAV_THEME_KEY_NUMBER) };
#undef KAV_THEME_KEY_NUMBER
} // namespace KavKey

// Number of theme keys; valid keys are 1..KavThemeKeyCount.
inline constexpr int KavThemeKeyCount = 42;

namespace Kav {
// Name of a key ("ButtonImage" for 1); empty outside 1..42.
QString KavThemeKeyName(int key);
// Kind of a key; Int outside 1..42 (the answer the lookups give for anything unknown).
TkavType KavThemeKeyKind(int key);
// Frames of a key's picture (ButtonImage 3, CheckBoxImage 4, ...); 1 for single pictures and 0
// for keys that are no picture or outside 1..42.
int KavThemeKeyFrameCount(int key);
// Key of a name, compared without regard to case; 0 when no key has that name.
int KavThemeKeyByName(QStringView name);
} // namespace Kav

namespace Kav {

// The number of TkavUIStyle values: FromThemeFile and the five built-in looks.
inline constexpr int KavUIStyleCount = int(TkavUIStyle::BlueGlass) + 1;

// What a look does beyond its theme values: the few places where a built-in look is drawn or laid
// out in a way of its own. One row per look beside the look tables, read by name with the look a
// control resolved to (KavThemeValues::resolvedStyle(): FromThemeFile while a file theme is in
// use, whose row has none of the built-in looks' ways; DeepBlue for FromThemeFile without one).
struct TkavLookTraits {
    // A focused push button shows a bold caption instead of a focus rectangle.
    bool boldFocusCaption = false;
    // The skinned form's background: this 8 x 8 picture tiled instead of FormBackgroundColor.
    const char *formBackgroundPicture = nullptr;
    // The menus and the main menu's bar are drawn from the MACOS_MENU_BAR and MACOS_MENU_SELECT
    // pictures, with item heights that keep to their rows.
    bool pictureMenus = false;
    // The colour the look gives the title bar's caption (a file theme brings none).
    TColor titleCaptionColor = TColor(0xFFFFFF);
    // The title bar draws the outline of the form's rounded top corners.
    bool titleBarOutline = true;
    // A captioned panel's caption is black on its light bar, not MenuSelectedFontColor.
    bool blackPanelCaption = false;
    // The combo boxes' drop-down button: this picture stretched, or a flat button when null.
    const char *comboButtonPicture = nullptr;
    // The combo boxes draw their arrow (the button picture may carry its own).
    bool comboButtonArrow = true;
    // The tab and page controls' body is white whatever ControlBackgroundColor says.
    bool whiteTabBody = false;
    // A track bar given the look becomes transparent (and stays so).
    bool transparentTrackBar = false;
    // The toolbar lets its parent show through.
    bool transparentToolBar = false;
};

// The traits of a look; DeepBlue's for anything out of range.
const TkavLookTraits &lookTraits(TkavUIStyle style);

} // namespace Kav

// Raised when a picture resource is missing; what() is "Resource NAME not found".
class EKavResourceNotFound : public std::runtime_error {
public:
    explicit EKavResourceNotFound(const QString &name);
    QString resourceName() const { return m_name; }

private:
    QString m_name;
};

namespace Kav {
// Loads the picture resource of that name (":/looks/NAME") as a 32-bit RGB image.
// Throws EKavResourceNotFound when there is none.
QImage KavLoadResourceBitmap(const QString &name);
} // namespace Kav

// Built-in look values. Each answers only for keys of its own kind and gives a neutral value
// otherwise (Int -1, Color 0, Bool false); FromThemeFile and unknown looks have no built-in data
// and get the neutral value too.
bool GetInsideThemeBool(TkavUIStyle style, int key);
TColor GetInsideThemeColor(TkavUIStyle style, int key);
int GetInsideThemeInt(TkavUIStyle style, int key);
// Resource name of the picture of a Str key; empty for other kinds and for FromThemeFile.
QString GetInsideThemeStr(TkavUIStyle style, int key);

// Fills *bitmap with the picture of key in style: the whole picture for frameCount 0, otherwise
// frame frameNumber (1-based) of frameCount equal frames. Nothing happens for a null bitmap.
// A key without a picture leaves a whole-picture destination untouched and makes a cut one
// empty.
void GetInsideThemeBitmap(TkavUIStyle style, int key, QImage *bitmap, int frameCount,
                          int frameNumber);

// The class information that marks the skinned form (TkavForm): a class that gives its form its
// look declares Q_CLASSINFO("KavFormSkin", "true") and a UIStyle property. The core knows the
// skinned form only by this mark, so that it needs nothing of the windows layer.
inline constexpr char KavFormSkinClassInfo[] = "KavFormSkin";
namespace Kav {
// Whether object is such a form skin.
bool KavIsFormSkin(const QObject *object);
} // namespace Kav

// The look a new component takes: the UIStyle of the first TkavForm among the direct children of
// its owner form, DeepBlue when the owner is no form or holds no TkavForm.
TkavUIStyle GetKAVFormStyle(QObject *owner);
