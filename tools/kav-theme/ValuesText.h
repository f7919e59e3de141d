#pragma once

#include "KAVThemes.h"

#include <QMap>
#include <QString>
#include <QStringView>

// The text form of a theme's integers, colours and Booleans: one NAME=value line per key
// (values.txt). Blank lines and lines starting with '#' are ignored; spaces around names and
// values are too. Names are theme key names, in any letter case.
//
// Values by the key's kind:
//   Int    a decimal number, e.g. -2
//   Color  six hexadecimal digits BBGGRR (7F7F7F; blue first), 0x followed by one to eight
//          hexadecimal digits, or a decimal number of any other length
//   Bool   true, false, 1 or 0
namespace ValuesText {

// Parses the whole text into key -> value (Booleans 1 or 0). On failure returns false and sets
// error, which starts with "line N: ".
bool parse(const QString &text, QMap<int, qint32> &values, QString &error);

// Parses one value of the given kind; false when it is not one.
bool parseValue(TkavType kind, QStringView text, qint32 &value);

// A value as parse() reads it back: decimal, BBGGRR hex (0x and eight digits above FFFFFF) or
// true/false.
QString format(TkavType kind, qint32 value);

// The six hexadecimal digits of a BBGGRR colour, or eight for values above FFFFFF.
QString colorHex(quint32 value);

} // namespace ValuesText
