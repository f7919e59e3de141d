#pragma once

#include <QColor>
#include <QString>

#include <optional>

// Marking of one question row and the one-line score report.

enum class Mark { Right, Wrong, NotDone };

// The answer a row expects, worked out again from its captions, since the captions are the only
// record of a question. No value for a row never filled (no operator glyph) or captions that
// are not numbers.
std::optional<qint32> expectedAnswer(const QString &operand1, const QString &glyph,
                                     const QString &operand2);

// A typed answer as a 32-bit signed whole number ("007" reads as 7). No value when the text is
// not such a number: too many digits, or anything other than digits (pasted text).
std::optional<qint32> readAnswer(const QString &text);

// Empty -> not done; a number equal to the expected answer -> right; anything else -> wrong,
// including an answer that cannot be read, so grading always completes.
Mark gradeAnswer(std::optional<qint32> expected, const QString &answerText);

QString markText(Mark mark);
QColor markColor(Mark mark);

struct Tally {
    int right = 0;
    int wrong = 0;
    int notDone = 0;

    void add(Mark mark);
};

// Score as the hand-in button reports it: each right answer is worth 100 / count points, the
// division done first in whole numbers.
int examScore(int count, int right);

// "本次考试总题数:20 正确:18 错误:1 未完成:1" and, when withScore, "  得分:90" after it.
QString scoreReport(int count, const Tally &tally, bool withScore);
