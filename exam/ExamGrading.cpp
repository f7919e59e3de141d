#include "ExamGrading.h"

#include <limits>

namespace {

std::optional<qint64> readWholeNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    int position = 0;
    bool negative = false;
    if (text.at(0) == u'+' || text.at(0) == u'-') {
        negative = text.at(0) == u'-';
        position = 1;
    }
    if (position == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; position < text.size(); ++position) {
        const QChar c = text.at(position);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<qint32> toInt32(std::optional<qint64> value)
{
    if (!value || *value < std::numeric_limits<qint32>::min()
        || *value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(*value);
}

} // namespace

std::optional<qint32> readAnswer(const QString &text)
{
    return toInt32(readWholeNumber(text));
}

std::optional<qint32> expectedAnswer(const QString &operand1, const QString &glyph,
                                     const QString &operand2)
{
    const std::optional<qint32> a = readAnswer(operand1);
    const std::optional<qint32> b = readAnswer(operand2);
    if (!a || !b)
        return std::nullopt;
    if (glyph == u"+")
        return toInt32(qint64(*a) + *b);
    if (glyph == u"-")
        return toInt32(qint64(*a) - *b);
    if (glyph == u"x")
        return toInt32(qint64(*a) * *b);
    if (glyph == u"÷" && *b != 0)
        return toInt32(qint64(*a) / *b);
    return std::nullopt;
}

Mark gradeAnswer(std::optional<qint32> expected, const QString &answerText)
{
    if (answerText.isEmpty())
        return Mark::NotDone;
    const std::optional<qint32> answer = readAnswer(answerText);
    return answer && expected && *answer == *expected ? Mark::Right : Mark::Wrong;
}

QString markText(Mark mark)
{
    switch (mark) {
    case Mark::Right:
        return QStringLiteral("正确");
    case Mark::Wrong:
        return QStringLiteral("错误");
    case Mark::NotDone:
        return QStringLiteral("未完成");
    }
    return {};
}

std::optional<Mark> markFromText(const QString &caption)
{
    for (const Mark mark : {Mark::Right, Mark::Wrong, Mark::NotDone}) {
        if (caption == markText(mark))
            return mark;
    }
    return std::nullopt;
}

QString questionName(int row, const QString &operand1, const QString &glyph,
                     const QString &operand2)
{
    QString name = QStringLiteral("第 %1 题").arg(row);
    if (operand1.isEmpty() || glyph.isEmpty() || operand2.isEmpty())
        return name;
    const QString spokenGlyph = glyph == u"x" ? QStringLiteral("×") : glyph;
    return name + QStringLiteral("：%1 %2 %3 =").arg(operand1, spokenGlyph, operand2);
}

QString reviewText(Mark mark, std::optional<qint32> expected)
{
    if (mark == Mark::Right || !expected)
        return markText(mark);
    return markText(mark) + QStringLiteral("，正确答案是 %1").arg(*expected);
}

QColor markColor(Mark mark)
{
    return mark == Mark::Right ? QColor(0, 0, 255) : QColor(255, 0, 0);
}

void Tally::add(Mark mark)
{
    switch (mark) {
    case Mark::Right:
        ++right;
        break;
    case Mark::Wrong:
        ++wrong;
        break;
    case Mark::NotDone:
        ++notDone;
        break;
    }
}

int examScore(int count, int right)
{
    return count > 0 ? (100 / count) * right : 0;
}

QString scoreReport(int count, const Tally &tally, bool withScore)
{
    QString report = QStringLiteral("本次考试总题数:%1 正确:%2 错误:%3 未完成:%4")
                         .arg(count)
                         .arg(tally.right)
                         .arg(tally.wrong)
                         .arg(tally.notDone);
    if (withScore)
        report += QStringLiteral("  得分:%1").arg(examScore(count, tally.right));
    return report;
}
