#include "KAVNumberFormat.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace Kav {

namespace {

// Decimals beyond this are noise in a double; a longer picture is cut here rather than asking
// for an absurd number of digits.
constexpr int MaxDecimals = 40;
constexpr int MaxExponentDigits = 4;

struct Token {
    enum Kind { Zero, Hash, Point, Literal, Exponent } kind;
    QString text;          // Literal
    QChar exponentLetter;  // Exponent: 'E' or 'e'
    bool exponentPlus = false;
    int exponentDigits = 0;
};

// One section of a picture, read once.
struct Section {
    QList<Token> tokens;
    int integerPlaceholders = 0;
    int integerMinimum = 0;    // digits from the first integer 0 up to the point
    int decimals = 0;          // placeholders after the point
    int decimalsMinimum = 0;   // up to the last 0 after the point
    bool grouping = false;
    bool scientific = false;
};

QStringList splitSections(const QString &picture)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

Section parseSection(const QString &text)
{
    Section section;
    bool afterPoint = false;
    bool afterExponent = false;
    int firstZero = -1; // index among the integer placeholders
    auto literal = [&section](const QString &s) {
        if (!section.tokens.isEmpty() && section.tokens.last().kind == Token::Literal)
            section.tokens.last().text += s;
        else
            section.tokens.append({Token::Literal, s, {}, false, 0});
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"' || c == u'\'') {
            const qsizetype end = text.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? text.size() : end;
            literal(text.mid(i + 1, stop - i - 1));
            i = stop;
        } else if ((c == u'0' || c == u'#') && !afterExponent) {
            const bool zero = c == u'0';
            section.tokens.append({zero ? Token::Zero : Token::Hash, {}, {}, false, 0});
            if (afterPoint) {
                ++section.decimals;
                if (zero)
                    section.decimalsMinimum = section.decimals;
            } else {
                if (zero && firstZero < 0)
                    firstZero = section.integerPlaceholders;
                ++section.integerPlaceholders;
            }
        } else if (c == u'.' && !afterExponent) {
            if (!afterPoint)
                section.tokens.append({Token::Point, {}, {}, false, 0});
            afterPoint = true;
        } else if (c == u',' && !afterExponent) {
            if (!afterPoint)
                section.grouping = true;
        } else if ((c == u'E' || c == u'e') && !afterExponent && i + 1 < text.size()
                   && (text.at(i + 1) == u'+' || text.at(i + 1) == u'-')) {
            Token exponent{Token::Exponent, {}, c, text.at(i + 1) == u'+', 0};
            i += 1;
            while (i + 1 < text.size() && text.at(i + 1) == u'0' && exponent.exponentDigits < MaxExponentDigits) {
                ++exponent.exponentDigits;
                ++i;
            }
            section.tokens.append(exponent);
            section.scientific = true;
            afterExponent = true;
        } else {
            literal(QString(c));
        }
    }
    section.integerMinimum = firstZero < 0 ? 0 : section.integerPlaceholders - firstZero;
    section.decimals = std::min(section.decimals, MaxDecimals);
    section.decimalsMinimum = std::min(section.decimalsMinimum, section.decimals);
    return section;
}

// The digits of a non-negative number rounded for a section.
struct Digits {
    QString integer;  // without leading zeros ("" for zero)
    QString fraction; // exactly section.decimals digits
    int exponent = 0;
    bool zero = true;
};

bool allZeros(const QString &digits)
{
    return std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0'; });
}

Digits roundFor(double magnitude, const Section &section)
{
    Digits digits;
    QString integer;
    if (section.scientific) {
        // The mantissa keeps as many integer digits as the picture has placeholders there.
        const int integerDigits = std::max(1, section.integerPlaceholders);
        const QString text = QString::number(magnitude, 'e', integerDigits - 1 + section.decimals);
        const qsizetype e = text.indexOf(u'e');
        QString mantissa = text.left(e);
        mantissa.remove(u'.');
        const bool zero = allZeros(mantissa);
        digits.exponent = zero ? 0 : text.mid(e + 1).toInt() - (integerDigits - 1);
        integer = mantissa.left(integerDigits);
        digits.fraction = mantissa.mid(integerDigits);
    } else {
        const QString text = QString::number(magnitude, 'f', section.decimals);
        const qsizetype point = text.indexOf(u'.');
        integer = point < 0 ? text : text.left(point);
        digits.fraction = point < 0 ? QString() : text.mid(point + 1);
    }
    digits.zero = allZeros(integer) && allZeros(digits.fraction);
    while (integer.startsWith(u'0'))
        integer.remove(0, 1);
    digits.integer = integer;
    return digits;
}

QString render(const Section &section, const Digits &digits, const QLocale &locale)
{
    QString integer = digits.integer;
    if (integer.size() < section.integerMinimum)
        integer.prepend(QString(section.integerMinimum - integer.size(), u'0'));
    QString fraction = digits.fraction;
    while (fraction.size() > section.decimalsMinimum && fraction.endsWith(u'0'))
        fraction.chop(1);

    const QString groupSeparator = locale.groupSeparator();
    QString out;
    auto putIntegerDigit = [&](qsizetype index) {
        out += integer.at(index);
        const qsizetype remaining = integer.size() - 1 - index;
        if (section.grouping && remaining > 0 && remaining % 3 == 0)
            out += groupSeparator;
    };

    const qsizetype placeholders = section.integerPlaceholders;
    const qsizetype spare = placeholders - integer.size(); // > 0: leading placeholders stay empty
    int integerIndex = 0;
    int decimalIndex = 0;
    bool afterPoint = false;
    for (const Token &token : section.tokens) {
        switch (token.kind) {
        case Token::Zero:
        case Token::Hash:
            if (afterPoint) {
                if (decimalIndex < fraction.size())
                    out += fraction.at(decimalIndex);
                ++decimalIndex;
                break;
            }
            if (integerIndex == 0) {
                for (qsizetype i = 0; i < -spare; ++i)
                    putIntegerDigit(i);
            }
            if (const qsizetype at = integerIndex - spare; at >= 0 && at < integer.size())
                putIntegerDigit(at);
            ++integerIndex;
            break;
        case Token::Point:
            // Without integer placeholders the integer digits still show, before the point.
            if (placeholders == 0)
                out += integer;
            afterPoint = true;
            if (!fraction.isEmpty())
                out += locale.decimalPoint();
            break;
        case Token::Literal:
            out += token.text;
            break;
        case Token::Exponent: {
            out += token.exponentLetter;
            if (digits.exponent < 0)
                out += u'-';
            else if (token.exponentPlus)
                out += u'+';
            QString number = QString::number(std::abs(digits.exponent));
            if (number.size() < token.exponentDigits)
                number.prepend(QString(token.exponentDigits - number.size(), u'0'));
            out += number;
            break;
        }
        }
    }
    return out;
}

} // namespace

QString KavFormatFloat(double value, const QString &picture, const QLocale &locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const QStringList sections = splitSections(picture);
    if (sections.first().isEmpty())
        return locale.toString(value, 'g', 15);

    const Section positive = parseSection(sections.first());
    const double magnitude = std::abs(value);
    const Digits rounded = roundFor(magnitude, positive);

    if (rounded.zero) {
        if (sections.size() > 2 && !sections.at(2).isEmpty()) {
            const Section zero = parseSection(sections.at(2));
            return render(zero, roundFor(0.0, zero), locale);
        }
        return render(positive, roundFor(0.0, positive), locale);
    }
    if (value < 0 && sections.size() > 1 && !sections.at(1).isEmpty()) {
        const Section negative = parseSection(sections.at(1));
        return render(negative, roundFor(magnitude, negative), locale);
    }
    const QString text = render(positive, rounded, locale);
    return value < 0 ? QLatin1Char('-') + text : text;
}

bool KavStrToFloat(const QString &text, const QLocale &locale, double *value)
{
    bool ok = false;
    const double number = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return false;
    if (value)
        *value = number;
    return true;
}

} // namespace Kav
