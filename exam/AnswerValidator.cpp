#include "AnswerValidator.h"

namespace {

bool isAnswerDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QValidator::State AnswerValidator::validate(QString &input, int &pos) const
{
    QString digits;
    digits.reserve(input.size());
    int newPos = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (!isAnswerDigit(input.at(i)))
            continue;
        digits.append(input.at(i));
        if (i < pos)
            ++newPos;
    }
    input = digits;
    pos = newPos;
    return Acceptable;
}
