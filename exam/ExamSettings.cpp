#include "ExamSettings.h"

#include "ExamControls.h"

#include <array>
#include <utility>

namespace {

struct Choice {
    const char *name;
    int value;
};

constexpr std::array<Choice, 4> BoundChoices{{
    {"rad_nandu1", 10}, {"rad_nandu2", 100}, {"rad_nandu3", 1000}, {"rad_nandu4", 10000}}};
constexpr std::array<Choice, 5> CountChoices{{
    {"rad_tishu1", 20}, {"rad_tishu2", 40}, {"rad_tishu3", 60}, {"rad_tishu4", 80},
    {"rad_tishu5", 100}}};
constexpr std::array<Choice, 3> KindChoices{{
    {"rad_suanfa1", 1}, {"rad_suanfa2", 2}, {"rad_suanfa3", 3}}};

// The checked choice of a group; the group keeps exactly one checked, but a group with none
// checked falls back to its first choice rather than to a value outside the settings.
template <size_t N>
int checkedValue(const ExamControls &controls, const std::array<Choice, N> &choices)
{
    for (const Choice &choice : choices) {
        if (controls.isRadioChecked(QLatin1String(choice.name)))
            return choice.value;
    }
    return choices.front().value;
}

const std::array<std::pair<QString, int>, 5> &limitedItems()
{
    static const std::array<std::pair<QString, int>, 5> items{{
        {QStringLiteral("5  分钟"), 5},
        {QStringLiteral("10 分钟"), 10},
        {QStringLiteral("15 分钟"), 15},
        {QStringLiteral("20 分钟"), 20},
        {QStringLiteral("30 分钟"), 30},
    }};
    return items;
}

const QString MinutesUnit = QStringLiteral("分钟");
constexpr int MaxTypedDigits = 4;  // "0045" still reads as 45
constexpr int MaxTypedLength = 32; // longer texts are no limit anyone typed on purpose

// The value of a run of decimal digits, ASCII or full-width (what a Chinese input method types);
// no value for anything else or for more digits than a limit can have.
std::optional<int> typedNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > MaxTypedDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        const char16_t code = c.unicode();
        if (code >= u'0' && code <= u'9')
            value = value * 10 + (code - u'0');
        else if (code >= u'\uFF10' && code <= u'\uFF19')
            value = value * 10 + (code - u'\uFF10');
        else
            return std::nullopt;
    }
    return value;
}

} // namespace

TimeLimit readTimeLimit(const QString &timeText)
{
    for (const auto &[text, minutes] : limitedItems()) {
        if (text == timeText)
            return {TimeLimit::Kind::Minutes, minutes, timeText};
    }
    if (timeText == NoTimeLimitText)
        return {TimeLimit::Kind::Unlimited, 0, timeText};

    // Bounded before any work: the box takes text of any length.
    if (timeText.size() > MaxTypedLength)
        return {};
    QStringView typed = QStringView(timeText).trimmed();
    if (typed.endsWith(MinutesUnit))
        typed = typed.chopped(MinutesUnit.size()).trimmed();
    const std::optional<int> minutes = typedNumber(typed);
    if (!minutes || *minutes < 1 || *minutes > MaxTypedMinutes)
        return {};
    return {TimeLimit::Kind::Minutes, *minutes, QString::number(*minutes) + u' ' + MinutesUnit};
}

std::optional<int> timeLimitMinutes(const QString &timeText)
{
    const TimeLimit limit = readTimeLimit(timeText);
    if (limit.kind != TimeLimit::Kind::Minutes)
        return std::nullopt;
    return limit.minutes;
}

QString timeLimitRefusal(const QString &timeText)
{
    return QStringLiteral("无法开始考试: 时间设定 \"%1\" 无效.\n"
                          "请输入 1 到 %2 之间的整数分钟, 例如 \"45\" 或 \"45 分钟\", "
                          "或者在列表中选择一项.")
        .arg(timeText.left(MaxTypedLength), QString::number(MaxTypedMinutes));
}

QStringList timeItems()
{
    QStringList items;
    for (const auto &item : limitedItems())
        items << item.first;
    items << NoTimeLimitText;
    return items;
}

ExamSettings readExamSettings(const ExamControls &controls)
{
    ExamSettings settings;
    settings.bound = checkedValue(controls, BoundChoices);
    settings.count = readQuestionCount(controls);
    settings.kind = ExamKind(checkedValue(controls, KindChoices));
    settings.timeText = controls.comboText(ExamNames::TimeBox);
    settings.timeLimit = readTimeLimit(settings.timeText);
    return settings;
}

int readQuestionCount(const ExamControls &controls)
{
    return checkedValue(controls, CountChoices);
}

namespace ExamNames {
QString operand1(int row) { return QStringLiteral("tt%1_1").arg(row); }
QString glyph(int row) { return QStringLiteral("tf%1").arg(row); }
QString operand2(int row) { return QStringLiteral("tt%1_2").arg(row); }
QString answer(int row) { return QStringLiteral("tr%1").arg(row); }
QString mark(int row) { return QStringLiteral("ok%1").arg(row); }
QString page(int page) { return QStringLiteral("tab_kc%1").arg(page); }
QString pageButton(int index) { return QStringLiteral("button_go%1").arg(index); }
} // namespace ExamNames
