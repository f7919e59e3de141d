#pragma once

#include <QString>

class ExamRandom;

// The four operations a question row can have. The operator of a row is fixed by its position
// on the sheet, never drawn.
enum class Operation { Addition, Subtraction, Multiplication, Division };

// Exam kinds as the settings panel numbers them.
enum class ExamKind { AdditionSubtraction = 1, MultiplicationDivision = 2, Mixed = 3 };

struct Question {
    int operand1 = 0;
    int operand2 = 0;
    Operation operation = Operation::Addition;
    int answer = 0;
};

QString operatorGlyph(Operation operation);

// Which operation row `row` (1-based) of a sheet of `count` rows gets.
Operation operationForRow(ExamKind kind, int row, int count);

// Builds one question backwards from its answer (or first number) so that every number is whole,
// within 1..bound and every quotient exact. Draws from `random` in a fixed order.
Question makeQuestion(Operation operation, ExamKind kind, int bound, ExamRandom &random);
