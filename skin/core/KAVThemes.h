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

// The theme keys, declared once: number, name (also the entry name in theme files) and kind.
// Everything that knows about keys (the key enum, the name and kind tables, the built-in looks,
// file themes, the theme tool) is derived from this list.
#define KAV_THEME_KEYS(X)                                                                          \
    X(1, ButtonImage, Str)                                                                         \
    X(2, ButtonTransparentBool, Bool)                                                              \
    X(3, CheckBoxImage, Str)                                                                       \
    X(4, RadioButtonImage, Str)                                                                    \
    X(5, TitleBarButtonImage, Str)                                                                 \
    X(6, TitleBarButtonTransparentBool, Bool)                                                      \
    X(7, TitleBarButtonLeftOffsetInt, Int)                                                         \
    X(8, TitleBarButtonRightOffsetInt, Int)                                                        \
    X(9, TitleBarButtonTopInt, Int)                                                                \
    X(10, TitleBarLeftImage, Str)                                                                  \
    X(11, TitleBarClientImage, Str)                                                                \
    X(12, TitleBarRightImage, Str)                                                                 \
    X(13, FormMinWidthInt, Int)                                                                    \
    X(14, FormRoundCornerInt, Int)                                                                 \
    X(15, FormBackgroundColor, Color)                                                              \
    X(16, FormBorderColor, Color)                                                                  \
    X(17, FormBorderWidthInt, Int)                                                                 \
    X(18, MenuSelectedBorderColor, Color)                                                          \
    X(19, MenuSelectedBackgroundColor, Color)                                                      \
    X(20, MenuSelectedFontColor, Color)                                                            \
    X(21, MenuBackgroundColor, Color)                                                              \
    X(22, MenuFontColor, Color)                                                                    \
    X(23, MenuBarColor, Color)                                                                     \
    X(24, ProgressBarImage, Str)                                                                   \
    X(25, ControlBorderColor, Color)                                                               \
    X(26, ControlBackgroundColor, Color)                                                           \
    X(27, ControlFontColor, Color)                                                                 \
    X(28, TrackBarBarImage, Str)                                                                   \
    X(29, TrackBarSliderImage, Str)                                                                \
    X(30, TrackBarSliderVImage, Str)                                                               \
    X(31, ScrollBarBackgroundColor, Color)                                                         \
    X(32, ScrollBarButtonImage, Str)                                                               \
    X(33, ScrollBarSliderImage, Str)                                                               \
    X(34, CheckListBoxImage, Str)                                                                  \
    X(35, ToolBarButtonBorderColor, Color)                                                         \
    X(36, ToolBarButtonBackgroundColor, Color)                                                     \
    X(37, ToolBarButtonDownBackgroundColor, Color)                                                 \
    X(38, ScrollButtonImage, Str)                                                                  \
    X(39, TabControlTabImage, Str)                                                                 \
    X(40, TabControlBarImage, Str)                                                                 \
    X(41, SideChannelHandleImage, Str)                                                             \
    X(42, SideChannelBarImage, Str)

// Key numbers by name: KavKey::ButtonImage == 1 ... KavKey::SideChannelBarImage == 42.
namespace KavKey {
#define KAV_THEME_KEY_NUMBER(number, name, kind) name = number,
enum Key : int { KAV_THEME_KEYS(KAV_THEME_KEY_NUMBER) };
#undef KAV_THEME_KEY_NUMBER
} // namespace KavKey

// Number of theme keys; valid keys are 1..KavThemeKeyCount.
inline constexpr int KavThemeKeyCount = 42;

// Name of a key ("ButtonImage" for 1); empty outside 1..42.
QString KavThemeKeyName(int key);
// Kind of a key; Int outside 1..42 (the answer the lookups give for anything unknown).
TkavType KavThemeKeyKind(int key);
// Key of a name, compared without regard to case; 0 when no key has that name.
int KavThemeKeyByName(QStringView name);

// Raised when a picture resource is missing; what() is "Resource NAME not found".
class EKavResourceNotFound : public std::runtime_error {
public:
    explicit EKavResourceNotFound(const QString &name);
    QString resourceName() const { return m_name; }

private:
    QString m_name;
};

// Loads the picture resource of that name (":/looks/NAME") as a 32-bit RGB image.
// Throws EKavResourceNotFound when there is none.
QImage KavLoadResourceBitmap(const QString &name);

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

// The look a new component takes: the UIStyle of the first TkavForm among the direct children of
// its owner form, DeepBlue when the owner is no form or holds no TkavForm.
TkavUIStyle GetKAVFormStyle(QObject *owner);
