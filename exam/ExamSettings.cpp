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

} // namespace

std::optional<int> timeLimitMinutes(const QString &timeText)
{
    for (const auto &[text, minutes] : limitedItems()) {
        if (text == timeText)
            return minutes;
    }
    return std::nullopt;
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
