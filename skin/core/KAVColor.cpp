#include "KAVColor.h"

#include <QGuiApplication>
#include <QMetaType>
#include <QPalette>

namespace {

// System colour indexes (0x80000000 | index) by the palette roles that play their part.
QColor systemColor(int index, const QPalette &palette)
{
    switch (index) {
    case 5: return palette.color(QPalette::Base);                          // window
    case 6: case 21: return palette.color(QPalette::Shadow);              // window frame, 3D dark shadow
    case 7: return palette.color(QPalette::WindowText);                    // menu text
    case 8: return palette.color(QPalette::Text);                          // window text
    case 2: case 13: case 27: case 29: return palette.color(QPalette::Highlight);
    case 9: case 14: return palette.color(QPalette::HighlightedText);
    case 0: case 10: case 11: case 15: return palette.color(QPalette::Button);
    case 3: case 12: case 28: return palette.color(QPalette::Mid);
    case 16: return palette.color(QPalette::Dark);                         // button shadow
    case 17: case 19: return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);                        // button highlight
    case 22: return palette.color(QPalette::Midlight);
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    case 26: return palette.color(QPalette::Link);
    default: return palette.color(QPalette::Window);                      // desktop, menus, the rest
    }
}

} // namespace

TColor::operator QColor() const
{
    // Without an application there is no palette of the platform yet: Qt's default stands in.
    return isSystemColor() ? resolved(qGuiApp ? QGuiApplication::palette() : QPalette()) : toQColor();
}

QColor TColor::resolved(const QPalette &palette) const
{
    return isSystemColor() ? systemColor(int(value & 0xFF), palette) : toQColor();
}

bool Kav::KavRegisterColorConverters()
{
    // Checked first: a second registration is refused with a warning, and a plugin linking its
    // own copy of the library registers again in the same process.
    if (!QMetaType::hasRegisteredConverterFunction<TColor, QColor>())
        QMetaType::registerConverter<TColor, QColor>([](const TColor &color) { return QColor(color); });
    if (!QMetaType::hasRegisteredConverterFunction<QColor, TColor>())
        QMetaType::registerConverter<QColor, TColor>(&TColor::fromQColor);
    return true;
}
