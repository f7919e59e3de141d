// What a screen reader meets in the exam window: questions as the answer boxes' names, marks and
// right answers as their descriptions, the score and page number announced, hidden pages left out.
#include "ExamAccessibility.h"
#include "ExamGrading.h"
#include "ExamSettings.h"
#include "FormMain.h"
#include "KAVPageControl.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr qint64 FixedSecond = 1'700'000'000;

class ExamFixture
{
public:
    ExamFixture() : form(std::make_unique<Tform_main>([] { return FixedSecond; }))
    {
        form->findChild<ExamAccessibility *>()->setAnnouncer([this](QLabel *label) { announced.push_back(label); });
        form->show();
    }

    template <typename T = QWidget>
    T *get(const QString &name) const
    {
        T *widget = form->control<T>(name);
        if (!widget)
            qFatal("no control named %s", qPrintable(name));
        return widget;
    }

    void start() { get<QAbstractButton>(ExamNames::BeginButton)->click(); }
    void handIn() { get<QAbstractButton>(ExamNames::HandInButton)->click(); }
    QLineEdit *box(int row) const { return get<QLineEdit>(ExamNames::answer(row)); }
    QLabel *mark(int row) const { return get<QLabel>(ExamNames::mark(row)); }
    std::optional<qint32> expected(int row) const
    {
        return expectedAnswer(form->labelCaption(ExamNames::operand1(row)),
                              form->labelCaption(ExamNames::glyph(row)),
                              form->labelCaption(ExamNames::operand2(row)));
    }
    QString question(int row) const
    {
        return questionName(row, form->labelCaption(ExamNames::operand1(row)),
                            form->labelCaption(ExamNames::glyph(row)),
                            form->labelCaption(ExamNames::operand2(row)));
    }

    bool wasAnnounced(const QString &labelName) const
    {
        return std::find(announced.begin(), announced.end(), get<QLabel>(labelName)) != announced.end();
    }

    std::vector<QLabel *> announced;
    std::unique_ptr<Tform_main> form;
};

} // namespace

class TestExamAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questionNames_data();
    void questionNames();
    void reviewTexts_data();
    void reviewTexts();
    void marksReadBack();

    void boxesAreNamedByTheirQuestions();
    void questionAndMarkLabelsLabelTheBox();
    void reviewAfterMarking_data();
    void reviewAfterMarking();
    void reviewLeavesSheetAsItWas();
    void newExamForgetsTheReview();
    void labelBecomesAnnouncerAfterBeingMet();
    void scoreIsAnnounced();
    void pageChangeIsAnnounced();
    void hiddenPagesAreNotExposed();
};

void TestExamAccess::questionNames_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("operand1");
    QTest::addColumn<QString>("glyph");
    QTest::addColumn<QString>("operand2");
    QTest::addColumn<QString>("name");
    QTest::newRow("addition") << 7 << "40" << "+" << "12" << QStringLiteral("第 7 题：40 + 12 =");
    QTest::newRow("division") << 61 << "81" << "÷" << "9" << QStringLiteral("第 61 题：81 ÷ 9 =");
    QTest::newRow("times read as a sign") << 3 << "6" << "x" << "7" << QStringLiteral("第 3 题：6 × 7 =");
    QTest::newRow("row never filled") << 100 << "" << "" << "" << QStringLiteral("第 100 题");
}

void TestExamAccess::questionNames()
{
    QFETCH(int, row);
    QFETCH(QString, operand1);
    QFETCH(QString, glyph);
    QFETCH(QString, operand2);
    QTEST(questionName(row, operand1, glyph, operand2), "name");
}

void TestExamAccess::reviewTexts_data()
{
    QTest::addColumn<Mark>("mark");
    QTest::addColumn<std::optional<qint32>>("expected");
    QTest::addColumn<QString>("review");
    QTest::newRow("right") << Mark::Right << std::optional<qint32>(52) << QStringLiteral("正确");
    QTest::newRow("wrong") << Mark::Wrong << std::optional<qint32>(52) << QStringLiteral("错误，正确答案是 52");
    QTest::newRow("not done") << Mark::NotDone << std::optional<qint32>(0) << QStringLiteral("未完成，正确答案是 0");
    QTest::newRow("answer unknown") << Mark::Wrong << std::optional<qint32>() << QStringLiteral("错误");
}

void TestExamAccess::reviewTexts()
{
    QFETCH(Mark, mark);
    QFETCH(std::optional<qint32>, expected);
    QTEST(reviewText(mark, expected), "review");
}

void TestExamAccess::marksReadBack()
{
    for (const Mark mark : {Mark::Right, Mark::Wrong, Mark::NotDone})
        QCOMPARE(markFromText(markText(mark)), mark);
    QCOMPARE(markFromText(QString()), std::nullopt);
    QCOMPARE(markFromText(QStringLiteral("得分")), std::nullopt);
}

void TestExamAccess::boxesAreNamedByTheirQuestions()
{
    ExamFixture f;
    QCOMPARE(f.box(1)->accessibleName(), QStringLiteral("第 1 题"));
    f.get<QAbstractButton>(QStringLiteral("rad_tishu2"))->setChecked(true);
    f.start();
    for (int row = 1; row <= 40; ++row) {
        QVERIFY(f.question(row).contains(u'='));
        QCOMPARE(f.box(row)->accessibleName(), f.question(row));
        QVERIFY(f.box(row)->accessibleDescription().isEmpty());
    }
    // Rows past the count are named by number only.
    QCOMPARE(f.box(41)->accessibleName(), QStringLiteral("第 41 题"));
    // What a reader gets from the box's interface.
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(f.box(7));
    QVERIFY(box);
    QCOMPARE(box->text(QAccessible::Name), f.question(7));
}

void TestExamAccess::questionAndMarkLabelsLabelTheBox()
{
    ExamFixture f;
    f.start();
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(f.box(3));
    QVERIFY(box);
    QList<QObject *> labels;
    for (const auto &[label, relation] : box->relations(QAccessible::Label))
        labels.append(label->object());
    for (const QString &name : {ExamNames::operand1(3), ExamNames::glyph(3), ExamNames::operand2(3),
                                ExamNames::mark(3)})
        QVERIFY2(labels.contains(f.get(name)), qPrintable(name));
    QVERIFY(!labels.contains(f.get(ExamNames::mark(4))));
}

void TestExamAccess::reviewAfterMarking_data()
{
    QTest::addColumn<bool>("timeUp");
    QTest::newRow("handed in") << false;
    QTest::newRow("time up") << true;
}

void TestExamAccess::reviewAfterMarking()
{
    QFETCH(bool, timeUp);
    ExamFixture f;
    f.start();
    f.box(1)->setText(QString::number(*f.expected(1)));
    f.box(2)->setText(QString::number(*f.expected(2) + 1));
    if (timeUp) {
        f.form->setEditText(ExamNames::Clock, QStringLiteral("1"));
        f.form->time_mainTimer();
    } else {
        f.handIn();
    }
    QVERIFY(!f.form->labelCaption(ExamNames::Score).isEmpty());

    const QString right = QStringLiteral("正确");
    const QString wrong = QStringLiteral("错误，正确答案是 %1").arg(*f.expected(2));
    const QString notDone = QStringLiteral("未完成，正确答案是 %1").arg(*f.expected(3));
    QCOMPARE(f.box(1)->accessibleDescription(), right);
    QCOMPARE(f.box(2)->accessibleDescription(), wrong);
    QCOMPARE(f.box(3)->accessibleDescription(), notDone);
    QCOMPARE(f.mark(1)->toolTip(), right);
    QCOMPARE(f.mark(2)->toolTip(), wrong);
    QCOMPARE(f.mark(3)->toolTip(), notDone);
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(f.box(2));
    QCOMPARE(box->text(QAccessible::Description), wrong);
    // Rows outside the exam stay undescribed.
    QVERIFY(f.box(21)->accessibleDescription().isEmpty());
}

// The review is asked for, never shown unasked: marks, score line and layout as without it.
void TestExamAccess::reviewLeavesSheetAsItWas()
{
    ExamFixture f;
    f.start();
    f.box(2)->setText(QStringLiteral("1"));
    const QRect markPlace = f.mark(2)->geometry();
    f.handIn();
    QCOMPARE(f.mark(2)->text(), QStringLiteral("错误"));
    QCOMPARE(f.mark(2)->geometry(), markPlace);
    QCOMPARE(f.form->labelCaption(ExamNames::Score),
             QStringLiteral("本次考试总题数:20 正确:0 错误:1 未完成:19  得分:0"));
}

void TestExamAccess::newExamForgetsTheReview()
{
    ExamFixture f;
    f.start();
    f.handIn();
    QVERIFY(!f.box(1)->accessibleDescription().isEmpty());
    f.start();
    QVERIFY(f.box(1)->accessibleDescription().isEmpty());
    QVERIFY(f.mark(1)->toolTip().isEmpty());
    QCOMPARE(f.box(1)->accessibleName(), f.question(1));
}

// A reader listening while the window is built meets the labels as plain text first.
void TestExamAccess::labelBecomesAnnouncerAfterBeingMet()
{
    QLabel label(QStringLiteral("第 3 页"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&label)->role(), QAccessible::StaticText);
    ExamAccessibility::makeAnnouncer(&label);
    QAccessibleInterface *announcer = QAccessible::queryAccessibleInterface(&label);
    QCOMPARE(announcer->role(), QAccessible::Notification);
    QCOMPARE(announcer->text(QAccessible::Name), QStringLiteral("第 3 页"));
    label.setText(QStringLiteral("第 4 页"));
    QCOMPARE(announcer->text(QAccessible::Name), QStringLiteral("第 4 页"));
}

void TestExamAccess::scoreIsAnnounced()
{
    ExamFixture f;
    auto *score = f.get<QLabel>(ExamNames::Score);
    f.start();
    QVERIFY(!f.wasAnnounced(ExamNames::Score));
    f.handIn();
    QVERIFY(f.wasAnnounced(ExamNames::Score));
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(score);
    QCOMPARE(face->role(), QAccessible::Notification);
    QCOMPARE(face->text(QAccessible::Name), score->text());
}

void TestExamAccess::pageChangeIsAnnounced()
{
    ExamFixture f;
    f.get<QAbstractButton>(QStringLiteral("rad_tishu2"))->setChecked(true);
    f.start();
    const QString page1 = QStringLiteral("label_page1");
    const QString page2 = QStringLiteral("label_page2");
    QVERIFY(f.wasAnnounced(page1));
    f.announced.clear();
    f.get<QAbstractButton>(ExamNames::pageButton(1))->click();
    QVERIFY(f.wasAnnounced(page2));
    QVERIFY(!f.wasAnnounced(page1));
    QCOMPARE(QAccessible::queryAccessibleInterface(f.get(page2))->text(QAccessible::Name), QStringLiteral("第 2 页"));
    QCOMPARE(QAccessible::queryAccessibleInterface(f.get(ExamNames::page(2)))->text(QAccessible::Name),
             QStringLiteral("第 2 页"));
}

void TestExamAccess::hiddenPagesAreNotExposed()
{
    ExamFixture f;
    f.get<QAbstractButton>(QStringLiteral("rad_tishu2"))->setChecked(true);
    f.start();
    f.get<QAbstractButton>(ExamNames::pageButton(1))->click();
    QAccessibleInterface *behind = QAccessible::queryAccessibleInterface(f.get(ExamNames::page(1)));
    QAccessibleInterface *front = QAccessible::queryAccessibleInterface(f.get(ExamNames::page(2)));
    QVERIFY(behind->state().invisible);
    QCOMPARE(behind->childCount(), 0);
    QVERIFY(!front->state().invisible);
    QVERIFY(front->indexOfChild(QAccessible::queryAccessibleInterface(f.box(21))) >= 0);
}

QTEST_MAIN(TestExamAccess)
#include "tst_examaccess.moc"
