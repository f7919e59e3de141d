#pragma once

#include <QColor>
#include <QtGlobal>

// A colour as the theme tables and theme files store it: one 32-bit BBGGRR integer, blue in
// the high byte and red in the low byte. Keeping the integer (rather than a QColor) lets theme
// values round-trip through files unchanged.
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

    QColor toQColor() const { return QColor(red(), green(), blue()); }
    QRgb toRgb() const { return qRgb(red(), green(), blue()); }

    friend constexpr bool operator==(TColor a, TColor b) { return a.value == b.value; }
};

// The transparent key colour of the looks' pictures.
inline constexpr TColor clFuchsia = TColor(0xFF00FF);
