#pragma once

#include <QLocale>
#include <QString>

namespace Kav {

// Formats value through a number picture, the notation a number edit's Mask is written in:
//
//   0        a digit, or 0 where the number has none
//   #        a digit, or nothing where the number has none
//   .        the decimal separator (the locale's); only the first one counts
//   ,        anywhere left of the point: group the integer digits by three (the locale's separator)
//   E+ e+    scientific notation with the exponent's sign always shown; E- e- shows only a minus;
//            up to four 0 after it give the exponent's least number of digits
//   "x" 'x'  literal text
//   ;        separates the sections for positive, negative and zero values
//   other    shown as it is
//
// The number is rounded half away from zero to as many decimals as there are placeholders after
// the point; decimals beyond the last 0 placeholder are dropped when they are zeros, and the
// separator with them when no decimal is left. Integer digits beyond the placeholders are put
// before the first one. A negative number is shown with a leading minus in the first section, or
// without it in its own section; a number that rounds to zero takes the zero section when there is
// one and never shows a minus. An empty section falls back to the first; an empty first section
// (or an empty picture) shows the number in general format with up to 15 significant digits.
// Infinities and NaN, which no picture can show, give "INF", "-INF" and "NAN".
QString KavFormatFloat(double value, const QString &picture, const QLocale &locale = QLocale());

// Reads text as a number: the locale's decimal and group separators, an optional sign and
// exponent, blanks around it. Infinities and NaN count as no number. Returns whether it read one.
bool KavStrToFloat(const QString &text, const QLocale &locale, double *value);

} // namespace Kav
