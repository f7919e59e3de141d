#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

// A colour as the theme tables and theme files store it: one 32-bit BBGGRR integer, blue in
// the high byte and red in the low byte. Keeping the integer (rather than a QColor) lets theme
// values round-trip through files unchanged. A value with the high byte 0x80 names a system
// colour (0x80000000 | index) instead of holding one.
struct TColor {
    quint32 value = 0;

    constexpr TColor() = default;
    constexpr explicit TColor(quint32 bbggrr) : value(bbggrr) {}

    static constexpr TColor fromRgb(int r, int g, int b)
    {
        return TColor(quint32(r & 0xFF) | quint32(g & 0xFF) << 8 | quint32(b & 0xFF) << 16);
    }
    static TColor fromQColor(const QColor &c) { return fromRgb(c.red(), c.green(), c.blue()); }

    constexpr int red() const { return int(value & 0xFF); }
    constexpr int green() const { return int(value >> 8 & 0xFF); }
    constexpr int blue() const { return int(value >> 16 & 0xFF); }
    constexpr bool isSystemColor() const { return (value & 0xFF000000u) == 0x80000000u; }

    // The one conversion to a colour that can be drawn. A plain colour is its channels; a system
    // colour takes the colour of the palette role that plays its part, always from the palette's
    // Active group (a system colour names one colour, whatever state the control is in), so that
    // every control draws it alike and a colour property reads what its pixels show. Drawing code
    // passes the control's palette; the other forms below resolve against the application's.
    QColor resolved(const QPalette &palette) const;
    QColor resolved() const;
    // The colour properties are QColor to the meta-object system, so that Qt Designer edits them as
    // colours and stores them as <color> in form files; their getters convert through resolved().
    // The other way is explicit (fromQColor, or a setter's QColor overload): it drops alpha.
    operator QColor() const { return resolved(); }

    friend constexpr bool operator==(TColor a, TColor b) { return a.value == b.value; }
};

// The transparent key colour of the looks' pictures.
inline constexpr TColor clFuchsia = TColor(0xFF00FF);

namespace Kav {

// Registers the QVariant conversions TColor <-> QColor, so that a TColor variant can be written
// to a colour property and a colour property read as a TColor. Safe to call more than once, also
// from several copies of a statically linked library (a program and a plugin).
bool KavRegisterColorConverters();

// Every program that can name TColor includes this header, so the conversions are registered
// before main() however the library is linked, without the program calling anything.
inline const bool colorConvertersRegistered = KavRegisterColorConverters();

} // namespace Kav
