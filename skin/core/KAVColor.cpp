#include "KAVColor.h"

#include <QGuiApplication>
#include <QMetaType>
#include <QPalette>

namespace {

// System colour indexes (0x80000000 | index) by the palette roles that play their part, taken
// from the Active group (the disabled texts from the Disabled group, which is their part).
QColor systemColor(int index, const QPalette &palette)
{
    const auto active = [&palette](QPalette::ColorRole role) { return palette.color(QPalette::Active, role); };
    switch (index) {
    case 5: return active(QPalette::Base);                                 // window
    case 6: case 21: return active(QPalette::Shadow);                     // window frame, 3D dark shadow
    case 7: return active(QPalette::WindowText);                           // menu text
    case 8: return active(QPalette::Text);                                 // window text
    case 2: case 13: case 27: case 29: return active(QPalette::Highlight);
    case 9: case 14: return active(QPalette::HighlightedText);
    case 0: case 10: case 11: case 15: return active(QPalette::Button);
    case 3: case 12: case 28: return active(QPalette::Mid);
    case 16: return active(QPalette::Dark);                                // button shadow
    case 17: case 19: return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: return active(QPalette::ButtonText);
    case 20: return active(QPalette::Light);                               // button highlight
    case 22: return active(QPalette::Midlight);
    case 23: return active(QPalette::ToolTipText);
    case 24: return active(QPalette::ToolTipBase);
    case 26: return active(QPalette::Link);
    default: return active(QPalette::Window);                              // desktop, menus, the rest
    }
}

} // namespace

QColor TColor::resolved(const QPalette &palette) const
{
    return isSystemColor() ? systemColor(int(value & 0xFF), palette) : QColor(red(), green(), blue());
}

QColor TColor::resolved() const
{
    // Without an application there is no palette of the platform yet: Qt's default stands in.
    return isSystemColor() ? resolved(qGuiApp ? QGuiApplication::palette() : QPalette()) : QColor(red(), green(), blue());
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
