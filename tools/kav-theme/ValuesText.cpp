#include "ValuesText.h"

#include <QStringList>

#include <limits>

namespace ValuesText {

namespace {

bool isHexDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!c.isDigit() && !(c.toLower() >= u'a' && c.toLower() <= u'f'))
            return false;
    }
    return true;
}

bool parseInteger(QStringView text, qint32 &value)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        return false;
    value = qint32(number);
    return true;
}

bool parseColor(QStringView text, qint32 &value)
{
    QStringView hex;
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        hex = text.mid(2);
    else if (text.size() == 6 && isHexDigits(text))
        hex = text;
    if (!hex.isNull()) {
        if (hex.size() > 8 || !isHexDigits(hex))
            return false;
        bool ok = false;
        value = qint32(hex.toUInt(&ok, 16));
        return ok;
    }
    // Decimal: any 32-bit pattern, written as signed or unsigned.
    bool ok = false;
    const qint64 number = text.toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<quint32>::max())
        return false;
    value = qint32(quint32(number));
    return true;
}

bool parseBool(QStringView text, qint32 &value)
{
    if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1") {
        value = 1;
        return true;
    }
    if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0") {
        value = 0;
        return true;
    }
    return false;
}

QString expected(TkavType kind)
{
    switch (kind) {
    case TkavType::Int:
        return QStringLiteral("a decimal integer");
    case TkavType::Color:
        return QStringLiteral("a colour (six hex digits BBGGRR, 0x and hex digits, or decimal)");
    case TkavType::Bool:
        return QStringLiteral("true, false, 1 or 0");
    case TkavType::Str:
        break;
    }
    return {};
}

} // namespace

bool parseValue(TkavType kind, QStringView text, qint32 &value)
{
    switch (kind) {
    case TkavType::Int:
        return parseInteger(text, value);
    case TkavType::Color:
        return parseColor(text, value);
    case TkavType::Bool:
        return parseBool(text, value);
    case TkavType::Str:
        break;
    }
    return false;
}

bool parse(const QString &text, QMap<int, qint32> &values, QString &error)
{
    values.clear();
    QMap<int, int> lineOfKey;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i) + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const auto fail = [&](const QString &what) {
            error = QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
            return false;
        };
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            return fail(QStringLiteral("expected NAME=value, found \"%1\"").arg(line));
        const QString name = line.left(equals).trimmed();
        const QString valueText = line.mid(equals + 1).trimmed();
        const int key = Kav::KavThemeKeyByName(name);
        if (key == 0)
            return fail(QStringLiteral("unknown key name \"%1\"").arg(name));
        const QString keyName = Kav::KavThemeKeyName(key);
        const TkavType kind = Kav::KavThemeKeyKind(key);
        if (kind == TkavType::Str)
            return fail(QStringLiteral("%1 is a picture; put it in the folder as %1.bmp").arg(keyName));
        if (lineOfKey.contains(key))
            return fail(QStringLiteral("%1 is given a second time (first on line %2)").arg(keyName).arg(lineOfKey[key]));
        qint32 value = 0;
        if (!parseValue(kind, valueText, value))
            return fail(QStringLiteral("%1 needs %2, not \"%3\"").arg(keyName, expected(kind), valueText));
        values.insert(key, value);
        lineOfKey.insert(key, lineNumber);
    }
    return true;
}

QString colorHex(quint32 value)
{
    return QStringLiteral("%1").arg(value, value > 0xFFFFFF ? 8 : 6, 16, QLatin1Char('0')).toUpper();
}

QString format(TkavType kind, qint32 value)
{
    switch (kind) {
    case TkavType::Color:
        return quint32(value) > 0xFFFFFF ? QStringLiteral("0x") + colorHex(quint32(value)) : colorHex(quint32(value));
    case TkavType::Bool:
        return value != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case TkavType::Int:
    case TkavType::Str:
        break;
    }
    return QString::number(value);
}

} // namespace ValuesText
