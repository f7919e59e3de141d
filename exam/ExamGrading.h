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
// The mark a mark label shows, read back from its caption; no value for an unmarked row.
std::optional<Mark> markFromText(const QString &caption);

// What a screen reader says for an answer box: its question, "第 7 题：40 + 12 =". The
// multiplication glyph is spoken as the times sign, not as the letter it is drawn with. A row
// without a question yet gives "第 7 题".
QString questionName(int row, const QString &operand1, const QString &glyph,
                     const QString &operand2);

// The review of a marked row, as its mark's tooltip and its box's description: the mark and, for
// a wrong or missing answer, the right one ("错误，正确答案是 52"). A right answer is just
// "正确"; without a known right answer only the mark is told.
QString reviewText(Mark mark, std::optional<qint32> expected);

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
