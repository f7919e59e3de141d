// The exam's pure rules: random source, question generation, grading and the key filter.
#include "AnswerKeyFilter.h"
#include "ExamGrading.h"
#include "ExamRandom.h"
#include "ExamSettings.h"
#include "QuestionGenerator.h"

#include <QSet>
#include <QTest>

class TestExamLogic : public QObject
{
    Q_OBJECT

private slots:
    void randomSeedZero();
    void randomDraw();
    void operationTable_data();
    void operationTable();
    void generatedRows_data();
    void generatedRows();
    void multiplicationSetForBoundTen();
    void productOneInMultiplicationKind();
    void grading_data();
    void grading();
    void expectedAnswerGuards_data();
    void expectedAnswerGuards();
    void scoreReports_data();
    void scoreReports();
    void timeTexts_data();
    void timeTexts();
    void keyFilter_data();
    void keyFilter();
};

void TestExamLogic::randomSeedZero()
{
    ExamRandom random;
    random.seed(0);
    QCOMPARE(random.step(), 346u);
    QCOMPARE(random.step(), 13854878u);
    QCOMPARE(random.step(), 1621890440u);
}

void TestExamLogic::randomDraw()
{
    ExamRandom random;
    random.seed(0);
    const quint64 before = random.state();
    QCOMPARE(random.draw(0), 0);
    QCOMPARE(random.state(), before); // draw(0) takes no step
    QCOMPARE(random.draw(100), 346 % 100);
    QCOMPARE(random.draw(1), 0);
    QCOMPARE(random.draw(1000), 1621890440 % 1000);
}

void TestExamLogic::operationTable_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("glyphs"); // one glyph per row

    QTest::addRow("add-sub 20") << 1 << 20 << QString(10, u'+') + QString(10, u'-');
    QTest::addRow("mul-div 20") << 2 << 20 << QString(10, u'x') + QString(10, u'÷');
    QTest::addRow("mixed 20") << 3 << 20
                              << QString(5, u'+') + QString(5, u'-') + QString(5, u'x')
                                     + QString(5, u'÷');
    QTest::addRow("mixed 100") << 3 << 100
                               << QString(25, u'+') + QString(25, u'-') + QString(25, u'x')
                                      + QString(25, u'÷');
    QTest::addRow("mixed 60") << 3 << 60
                              << QString(15, u'+') + QString(15, u'-') + QString(15, u'x')
                                     + QString(15, u'÷');
}

void TestExamLogic::operationTable()
{
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(QString, glyphs);
    QString actual;
    for (int row = 1; row <= count; ++row)
        actual += operatorGlyph(operationForRow(ExamKind(kind), row, count));
    QCOMPARE(actual, glyphs);
}

void TestExamLogic::generatedRows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("bound");
    for (int kind : {1, 2, 3}) {
        for (int bound : {10, 100, 1000, 10000})
            QTest::addRow("kind %d bound %d", kind, bound) << kind << bound;
    }
}

// Every row of many sheets: numbers whole, within the bound (inclusive), no negative results,
// every quotient exact and never a zero in a division.
void TestExamLogic::generatedRows()
{
    QFETCH(int, kind);
    QFETCH(int, bound);
    ExamRandom random;
    bool boundReached = false;
    for (quint32 seed = 0; seed < 60; ++seed) {
        random.seed(seed * 7919u);
        for (int row = 1; row <= 100; ++row) {
            const Operation operation = operationForRow(ExamKind(kind), row, 100);
            const Question q = makeQuestion(operation, ExamKind(kind), bound, random);
            QVERIFY(q.operand1 >= 0 && q.operand2 >= 0);
            switch (operation) {
            case Operation::Addition:
                QCOMPARE(q.operand1 + q.operand2, q.answer);
                QVERIFY(q.answer >= 1 && q.answer <= bound);
                if (q.answer > 1)
                    QVERIFY(q.operand1 >= 1 && q.operand2 >= 1);
                boundReached |= q.answer == bound;
                break;
            case Operation::Subtraction:
                QCOMPARE(q.operand1 - q.operand2, q.answer);
                QVERIFY(q.operand1 >= 1 && q.operand1 <= bound);
                QVERIFY(q.answer >= 1);
                boundReached |= q.operand1 == bound;
                break;
            case Operation::Multiplication:
                QCOMPARE(q.operand1 * q.operand2, q.answer);
                QVERIFY(q.answer >= 1 && q.answer <= bound);
                if (kind == 2 && q.answer > 1)
                    QVERIFY(q.operand1 >= 2);
                break;
            case Operation::Division:
                QVERIFY(q.operand1 >= 1 && q.operand1 <= bound);
                QVERIFY(q.operand2 >= 1);
                QCOMPARE(q.operand1 % q.operand2, 0);
                QCOMPARE(q.operand1 / q.operand2, q.answer);
                QVERIFY(q.answer >= 1);
                break;
            }
        }
    }
    if (bound <= 100)
        QVERIFY2(boundReached || kind == 2, "the bound itself never came up");
}

void TestExamLogic::multiplicationSetForBoundTen()
{
    const QSet<QString> allowed{"2 x 1", "3 x 1", "2 x 2", "4 x 1", "5 x 1", "2 x 3",
                                "3 x 2", "6 x 1", "7 x 1", "2 x 4", "4 x 2", "8 x 1",
                                "3 x 3", "9 x 1", "2 x 5", "5 x 2", "10 x 1", "1 x 1"};
    QSet<QString> seen;
    ExamRandom random;
    random.seed(12345);
    for (int i = 0; i < 2000; ++i) {
        const Question q = makeQuestion(Operation::Multiplication, ExamKind::MultiplicationDivision,
                                        10, random);
        const QString text = QStringLiteral("%1 x %2").arg(q.operand1).arg(q.operand2);
        QVERIFY2(allowed.contains(text), qPrintable(text));
        seen.insert(text);
    }
    QCOMPARE(seen, allowed);
}

// The product 1 has no factor from 2 on: the row becomes 1 x 1 and draw(0) takes no step.
void TestExamLogic::productOneInMultiplicationKind()
{
    ExamRandom random;
    for (quint32 seed = 0;; ++seed) {
        random.seed(seed);
        ExamRandom probe = random;
        if (probe.draw(10) != 0)
            continue;
        const quint64 afterProductDraw = probe.state();
        const Question q = makeQuestion(Operation::Multiplication, ExamKind::MultiplicationDivision,
                                        10, random);
        QCOMPARE(q.operand1, 1);
        QCOMPARE(q.operand2, 1);
        QCOMPARE(q.answer, 1);
        QCOMPARE(random.state(), afterProductDraw);
        break;
    }
}

void TestExamLogic::grading_data()
{
    QTest::addColumn<QString>("operand1");
    QTest::addColumn<QString>("glyph");
    QTest::addColumn<QString>("operand2");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("mark");

    const int right = int(Mark::Right), wrong = int(Mark::Wrong), notDone = int(Mark::NotDone);
    QTest::addRow("sum right") << "2" << "+" << "3" << "5" << right;
    QTest::addRow("leading zero") << "2" << "+" << "3" << "05" << right;
    QTest::addRow("two leading zeros") << "14" << "÷" << "2" << "007" << right;
    QTest::addRow("difference") << "10" << "-" << "4" << "6" << right;
    QTest::addRow("product") << "7" << "x" << "8" << "56" << right;
    QTest::addRow("empty") << "2" << "+" << "3" << "" << notDone;
    QTest::addRow("wrong number") << "2" << "+" << "3" << "6" << wrong;
    QTest::addRow("largest int") << "2" << "+" << "3" << "2147483647" << wrong;
    QTest::addRow("too long") << "2" << "+" << "3" << "2147483648" << wrong;
    QTest::addRow("very long") << "2" << "+" << "3" << "99999999999999999999999" << wrong;
    QTest::addRow("pasted words") << "2" << "+" << "3" << "five" << wrong;
    QTest::addRow("pasted blank") << "2" << "+" << "3" << " 5" << wrong;
    QTest::addRow("pasted full-width") << "2" << "+" << "3" << "５" << wrong;
    QTest::addRow("never filled, empty") << "" << "" << "" << "" << notDone;
    QTest::addRow("never filled, typed") << "" << "" << "" << "3" << wrong;
}

void TestExamLogic::grading()
{
    QFETCH(QString, operand1);
    QFETCH(QString, glyph);
    QFETCH(QString, operand2);
    QFETCH(QString, answer);
    QFETCH(int, mark);
    QCOMPARE(int(gradeAnswer(expectedAnswer(operand1, glyph, operand2), answer)), mark);
}

void TestExamLogic::expectedAnswerGuards_data()
{
    QTest::addColumn<QString>("operand1");
    QTest::addColumn<QString>("glyph");
    QTest::addColumn<QString>("operand2");
    QTest::addColumn<bool>("hasValue");
    QTest::addColumn<int>("value");

    QTest::addRow("division drops remainder") << "7" << "÷" << "2" << true << 3;
    QTest::addRow("division by zero") << "7" << "÷" << "0" << false << 0;
    QTest::addRow("unknown glyph") << "7" << "*" << "2" << false << 0;
    QTest::addRow("overflowing product") << "100000" << "x" << "100000" << false << 0;
    QTest::addRow("subtraction to zero") << "1" << "-" << "1" << true << 0;
}

void TestExamLogic::expectedAnswerGuards()
{
    QFETCH(QString, operand1);
    QFETCH(QString, glyph);
    QFETCH(QString, operand2);
    QFETCH(bool, hasValue);
    QFETCH(int, value);
    const std::optional<qint32> expected = expectedAnswer(operand1, glyph, operand2);
    QCOMPARE(expected.has_value(), hasValue);
    if (hasValue)
        QCOMPARE(*expected, value);
}

void TestExamLogic::scoreReports_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("notDone");
    QTest::addColumn<bool>("withScore");
    QTest::addColumn<QString>("report");

    QTest::addRow("example button") << 20 << 18 << 1 << 1 << true
                                    << "本次考试总题数:20 正确:18 错误:1 未完成:1  得分:90";
    QTest::addRow("example time-up") << 20 << 18 << 1 << 1 << false
                                     << "本次考试总题数:20 正确:18 错误:1 未完成:1";
    QTest::addRow("all empty") << 20 << 0 << 0 << 20 << true
                               << "本次考试总题数:20 正确:0 错误:0 未完成:20  得分:0";
    QTest::addRow("40 all right") << 40 << 40 << 0 << 0 << true
                                  << "本次考试总题数:40 正确:40 错误:0 未完成:0  得分:80";
    QTest::addRow("60 one wrong") << 60 << 59 << 1 << 0 << true
                                  << "本次考试总题数:60 正确:59 错误:1 未完成:0  得分:59";
    QTest::addRow("100 all right") << 100 << 100 << 0 << 0 << true
                                   << "本次考试总题数:100 正确:100 错误:0 未完成:0  得分:100";
}

void TestExamLogic::scoreReports()
{
    QFETCH(int, count);
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(int, notDone);
    QFETCH(bool, withScore);
    QFETCH(QString, report);
    QCOMPARE(scoreReport(count, Tally{right, wrong, notDone}, withScore), report);
}

void TestExamLogic::timeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minutes");   // -1: no limit, -2: refused
    QTest::addColumn<QString>("caption"); // as the exam panel shows it

    // The listed items, exactly as they are.
    QTest::addRow("5") << "5  分钟" << 5 << "5  分钟";
    QTest::addRow("10") << "10 分钟" << 10 << "10 分钟";
    QTest::addRow("15") << "15 分钟" << 15 << "15 分钟";
    QTest::addRow("20") << "20 分钟" << 20 << "20 分钟";
    QTest::addRow("30") << "30 分钟" << 30 << "30 分钟";
    QTest::addRow("none") << "不限时" << -1 << "不限时";
    // Typed whole minutes.
    QTest::addRow("bare number") << "45" << 45 << "45 分钟";
    QTest::addRow("with unit") << "45 分钟" << 45 << "45 分钟";
    QTest::addRow("unit without blank") << "45分钟" << 45 << "45 分钟";
    QTest::addRow("blanks around") << "  7 分钟 " << 7 << "7 分钟";
    QTest::addRow("item with one blank") << "5 分钟" << 5 << "5 分钟";
    QTest::addRow("full-width digits") << QStringView(u"\uFF14\uFF15").toString() << 45 << "45 分钟";
    QTest::addRow("leading zero") << "045" << 45 << "45 分钟";
    QTest::addRow("lowest") << "1" << 1 << "1 分钟";
    QTest::addRow("highest") << "999" << 999 << "999 分钟";
    // Refused.
    QTest::addRow("zero") << "0" << -2 << "";
    QTest::addRow("above the highest") << "1000" << -2 << "";
    QTest::addRow("huge") << "99999999999999999999" << -2 << "";
    QTest::addRow("empty") << "" << -2 << "";
    QTest::addRow("blank") << "  " << -2 << "";
    QTest::addRow("unit alone") << "分钟" << -2 << "";
    QTest::addRow("negative") << "-5" << -2 << "";
    QTest::addRow("fraction") << "4.5" << -2 << "";
    QTest::addRow("hours") << "1 小时" << -2 << "";
    QTest::addRow("letters") << "abc" << -2 << "";
    QTest::addRow("two numbers") << "4 5" << -2 << "";
    QTest::addRow("unit first") << "分钟 45" << -2 << "";
    QTest::addRow("long text") << QString(200, u'4') << -2 << "";
}

void TestExamLogic::timeTexts()
{
    QFETCH(QString, text);
    QFETCH(int, minutes);
    QFETCH(QString, caption);
    const TimeLimit limit = readTimeLimit(text);
    const TimeLimit::Kind kind = minutes > 0    ? TimeLimit::Kind::Minutes
                                 : minutes == -1 ? TimeLimit::Kind::Unlimited
                                                 : TimeLimit::Kind::Unreadable;
    QCOMPARE(int(limit.kind), int(kind));
    QCOMPARE(timeLimitMinutes(text).value_or(-1), qMax(minutes, -1));
    if (kind == TimeLimit::Kind::Minutes)
        QCOMPARE(limit.minutes, minutes);
    if (kind != TimeLimit::Kind::Unreadable)
        QCOMPARE(limit.caption, caption);
}

void TestExamLogic::keyFilter_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("passes");

    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        QTest::addRow("digit %c", char(digit)) << int(digit) << true;
    QTest::addRow("backspace") << 8 << true;
    QTest::addRow("enter") << 13 << false;
    QTest::addRow("blank") << int(' ') << false;
    QTest::addRow("minus") << int('-') << false;
    QTest::addRow("point") << int('.') << false;
    QTest::addRow("letter") << int('a') << false;
    QTest::addRow("control-v") << 0x16 << false;
    QTest::addRow("code 128") << 128 << false;
    QTest::addRow("full-width five") << 0xFF15 << false;
    QTest::addRow("cjk") << 0x4E00 << false;
}

void TestExamLogic::keyFilter()
{
    QFETCH(int, code);
    QFETCH(bool, passes);
    const QChar typed{char16_t(code)};
    QCOMPARE(AnswerKeyFilter::filterCharacter(typed), passes ? typed : QChar(0));
}

QTEST_GUILESS_MAIN(TestExamLogic)
#include "tst_examlogic.moc"
