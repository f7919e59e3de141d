#include "QuestionGenerator.h"

#include "ExamRandom.h"

#include <vector>

namespace {

std::vector<int> divisorsFrom(int first, int number)
{
    std::vector<int> divisors;
    for (int d = first; d <= number; ++d) {
        if (number % d == 0)
            divisors.push_back(d);
    }
    return divisors;
}

Question addition(int bound, ExamRandom &random)
{
    const int sum = random.draw(bound) + 1;
    const int first = random.draw(sum - 1) + 1;
    return {first, sum - first, Operation::Addition, sum};
}

Question subtraction(int bound, ExamRandom &random)
{
    const int minuend = random.draw(bound) + 1;
    const int difference = random.draw(minuend - 1) + 1;
    return {minuend, minuend - difference, Operation::Subtraction, difference};
}

Question multiplication(ExamKind kind, int bound, ExamRandom &random)
{
    const int product = random.draw(bound) + 1;
    const int firstFactor = kind == ExamKind::MultiplicationDivision ? 2 : 1;
    const std::vector<int> factors = divisorsFrom(firstFactor, product);
    // The product 1 has no factor from 2 on; 1 x 1 keeps operand 1 x operand 2 = product,
    // which is what grading recomputes. draw(0) takes no step, so the sequence stays as is.
    const int pick = random.draw(int(factors.size()));
    const int factor = factors.empty() ? 1 : factors[size_t(pick)];
    return {factor, product / factor, Operation::Multiplication, product};
}

Question division(int bound, ExamRandom &random)
{
    const int dividend = random.draw(bound) + 1;
    const std::vector<int> divisors = divisorsFrom(1, dividend);
    const int quotient = divisors[size_t(random.draw(int(divisors.size())))];
    return {dividend, dividend / quotient, Operation::Division, quotient};
}

} // namespace

QString operatorGlyph(Operation operation)
{
    switch (operation) {
    case Operation::Addition:
        return QStringLiteral("+");
    case Operation::Subtraction:
        return QStringLiteral("-");
    case Operation::Multiplication:
        return QStringLiteral("x");
    case Operation::Division:
        return QStringLiteral("÷");
    }
    return {};
}

Operation operationForRow(ExamKind kind, int row, int count)
{
    const int half = count / 2;
    const int quarter = count / 4;
    switch (kind) {
    case ExamKind::AdditionSubtraction:
        return row <= half ? Operation::Addition : Operation::Subtraction;
    case ExamKind::MultiplicationDivision:
        return row <= half ? Operation::Multiplication : Operation::Division;
    case ExamKind::Mixed:
        if (row <= quarter)
            return Operation::Addition;
        if (row <= half)
            return Operation::Subtraction;
        if (row <= count - quarter)
            return Operation::Multiplication;
        return Operation::Division;
    }
    return Operation::Addition;
}

Question makeQuestion(Operation operation, ExamKind kind, int bound, ExamRandom &random)
{
    switch (operation) {
    case Operation::Addition:
        return addition(bound, random);
    case Operation::Subtraction:
        return subtraction(bound, random);
    case Operation::Multiplication:
        return multiplication(kind, bound, random);
    case Operation::Division:
        return division(bound, random);
    }
    return {};
}
