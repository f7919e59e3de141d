#pragma once

#include "QuestionGenerator.h"

#include <QString>

#include <optional>

class ExamControls;

// What a time text asks for: a limit in whole minutes, no limit, or something the program does not
// understand (which refuses the start rather than guessing).
struct TimeLimit {
    enum class Kind { Minutes, Unlimited, Unreadable };
    Kind kind = Kind::Unreadable;
    int minutes = 0;
    QString caption; // how the exam panel shows it: an item verbatim, a typed limit as "45 分钟"
};

inline constexpr int MaxTypedMinutes = 999;

// The four choices of the settings panel, read afresh at every start.
struct ExamSettings {
    int bound = 100;     // difficulty: numbers up to and including this
    int count = 20;      // number of questions
    ExamKind kind = ExamKind::AdditionSubtraction;
    QString timeText;    // the time box's text, verbatim
    TimeLimit timeLimit; // what timeText asks for
};

// The time box's items are taken as they are ("5  分钟" -> 5, "不限时" -> no limit); a typed text
// is a whole number of minutes from 1 to MaxTypedMinutes, alone or followed by "分钟" ("45",
// "45 分钟", blanks around allowed, full-width digits too). Everything else is Unreadable.
TimeLimit readTimeLimit(const QString &timeText);

// Minutes of a time text; no value for "不限时" and for an unreadable text.
std::optional<int> timeLimitMinutes(const QString &timeText);

// The message that refuses an unreadable time text.
QString timeLimitRefusal(const QString &timeText);

// The items of the time box, in order.
QStringList timeItems();

ExamSettings readExamSettings(const ExamControls &controls);

// The question count as the count buttons stand now (the hand-in reads it again).
int readQuestionCount(const ExamControls &controls);

// Names of the controls of a question row and of the window's fixed controls.
namespace ExamNames {
QString operand1(int row);
QString glyph(int row);
QString operand2(int row);
QString answer(int row);
QString mark(int row);
QString page(int page);        // 1..5 -> tab_kc1..tab_kc5
QString pageButton(int index); // 1..8 -> button_go1..button_go8

inline constexpr int RowCount = 100;
inline constexpr int RowsPerPage = 20;
inline constexpr int PageButtonCount = 8;
inline const QString Clock = QStringLiteral("edit_time");
inline const QString Score = QStringLiteral("score_text");
inline const QString BeginButton = QStringLiteral("button_begin");
inline const QString HandInButton = QStringLiteral("button_ok");
inline const QString ExamPanel = QStringLiteral("panel_right");
inline const QString TimeBox = QStringLiteral("combox_time");
inline const QString Welcome = QStringLiteral("tab_welcome");
} // namespace ExamNames

inline const QString NoTimeLimitText = QStringLiteral("不限时");
