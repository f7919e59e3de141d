// The exam window driven as a pupil would: start, answer, move between pages, hand in, time-up.
#include "ExamApplication.h"
#include "ExamGrading.h"
#include "ExamLeaveQuestion.h"
#include "ExamSettings.h"
#include "FormMain.h"
#include "KAVButton.h"
#include "KAVComboBox.h"
#include "KAVEdit.h"
#include "KAVErrorBox.h"
#include "KAVForm.h"
#include "KAVTitleBar.h"
#include "KAVMemo.h"
#include "KAVImagePanel.h"
#include "KAVPageControl.h"

#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QScopeGuard>
#include <QSplitter>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace {

constexpr qint64 FixedSecond = 1'700'000'000;

class ExamWindowFixture
{
public:
    ExamWindowFixture() : form(std::make_unique<Tform_main>([this] { return now; }))
    {
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

    void choose(const QString &radioName) { get<QAbstractButton>(radioName)->setChecked(true); }
    void chooseCount(int count) { choose(QStringLiteral("rad_tishu%1").arg(count / 20)); }
    void chooseTime(const QString &text) { get<QComboBox>(ExamNames::TimeBox)->setEditText(text); }

    void start() { get<QAbstractButton>(ExamNames::BeginButton)->click(); }
    void handIn() { get<QAbstractButton>(ExamNames::HandInButton)->click(); }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            form->time_mainTimer();
    }

    QString clock() const { return form->editText(ExamNames::Clock); }
    QString score() const { return form->labelCaption(ExamNames::Score); }
    QString mark(int row) const { return form->labelCaption(ExamNames::mark(row)); }
    QColor markColor(int row) const
    {
        return get<QLabel>(ExamNames::mark(row))->palette().color(QPalette::WindowText);
    }
    QString question(int row) const
    {
        return form->labelCaption(ExamNames::operand1(row)) + form->labelCaption(ExamNames::glyph(row))
               + form->labelCaption(ExamNames::operand2(row));
    }
    int expected(int row) const
    {
        return expectedAnswer(form->labelCaption(ExamNames::operand1(row)),
                              form->labelCaption(ExamNames::glyph(row)),
                              form->labelCaption(ExamNames::operand2(row)))
            .value();
    }
    void answer(int row, const QString &text) { form->setEditText(ExamNames::answer(row), text); }
    void answerRight(int row) { answer(row, QString::number(expected(row))); }
    TkavPageControl *pages() const { return get<TkavPageControl>(QStringLiteral("page_kaochang")); }

    qint64 now = FixedSecond;
    std::unique_ptr<Tform_main> form;
};

// Answers the question asked before leaving a running exam, from inside its event loop: it looks
// for the question while the window is being closed and then does what the pupil does.
class LeaveQuestionAnswerer : public QObject
{
public:
    enum Answer { Yes, No, Escape, Enter, TimeUp };

    LeaveQuestionAnswerer(ExamWindowFixture &fixture, Answer answer) : m_fixture(fixture), m_answer(answer)
    {
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, [this] { answerIfAsked(); });
        m_poll.start();
    }

    bool asked() const { return !m_text.isEmpty(); }
    QString text() const { return m_text; }
    bool noWasDefault() const { return m_noWasDefault; }

private:
    void answerIfAsked()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->objectName() != QStringLiteral("leave_question"))
            return;
        m_poll.stop();
        m_text = box->text();
        m_noWasDefault = box->defaultButton() == qobject_cast<QPushButton *>(box->button(QMessageBox::No));
        switch (m_answer) {
        case Yes: box->button(QMessageBox::Yes)->click(); break;
        case No: box->button(QMessageBox::No)->click(); break;
        case Escape: QTest::keyClick(box, Qt::Key_Escape); break;
        case Enter: QTest::keyClick(box, Qt::Key_Return); break;
        case TimeUp: m_fixture.ticks(300); break; // the clock runs out while the question is open
        }
    }

    ExamWindowFixture &m_fixture;
    Answer m_answer;
    QTimer m_poll;
    QString m_text;
    bool m_noWasDefault = false;
};

} // namespace

class TestExamWindow : public QObject
{
    Q_OBJECT

private slots:
    void initialState();
    void windowGeometry();
    void missingNamesYieldNothing();
    void startFillsSheet_data();
    void startFillsSheet();
    void sameSecondSameSheet();
    void panelCaptionKeepsTimeTextVerbatim();
    void pageButtons();
    void handInByButton();
    void countChangedDuringExam_data();
    void countChangedDuringExam();
    void timeUpOnTheLastTick();
    void noLimitNeverEndsByItself();
    void typedTimeLimit_data();
    void typedTimeLimit();
    void refusedTimeTextDoesNotStart_data();
    void refusedTimeTextDoesNotStart();
    void handInStopsTheClock();
    void newExamAfterTimeUp();
    void newExamClearsWholeSheet();
    void unreadableAnswersStillGradeTheSheet_data();
    void unreadableAnswersStillGradeTheSheet();
    void answerBoxKeyFilter();
    void boxesAreTheSkinnedControls();
    void windowIsTheSkinnedForm();
    void answerBoxContextMenuIsChinese();
    void answerBoxTakesOnlyDigitsFromEveryPath_data();
    void answerBoxTakesOnlyDigitsFromEveryPath();
    void exitClosesWithoutGrading();
    void leavingARunningExamAsksFirst_data();
    void leavingARunningExamAsksFirst();
    void leavingWithoutARunningExamAsksNothing_data();
    void leavingWithoutARunningExamAsksNothing();
    void splitterResizesSettingsPanel();
    void splitterKeepsBothPanelsInSight();
    void focusAfterPageChange_data();
    void focusAfterPageChange();
    void focusAfterStartByKey();
    void enterMovesOn_data();
    void enterMovesOn();
    void enterAfterHandInMovesAsTab();
    void focusAfterHandIn_data();
    void focusAfterHandIn();
    void answerBoxesKeepDigitsOffTheBorder();
    void exceptionInHandlerIsShownAndProgramGoesOn();
};

void TestExamWindow::initialState()
{
    ExamWindowFixture f;
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::Welcome));
    QVERIFY(f.get(ExamNames::Welcome)->isVisible());
    for (int page = 1; page <= 5; ++page)
        QVERIFY(!f.get(ExamNames::page(page))->isEnabled());
    QVERIFY(f.clock().isEmpty());
    QVERIFY(f.score().isEmpty());
    QVERIFY(f.get(ExamNames::BeginButton)->isEnabled());
    QVERIFY(!f.get(ExamNames::HandInButton)->isEnabled());
    QVERIFY(!f.form->time_main()->isActive());
    QCOMPARE(f.form->time_main()->interval(), 1000);
    QCOMPARE(f.form->comboText(ExamNames::TimeBox), QStringLiteral("5  分钟"));
    QCOMPARE(f.get<QComboBox>(ExamNames::TimeBox)->count(), 6);
    QVERIFY(f.form->isRadioChecked(QStringLiteral("rad_nandu2")));
    QVERIFY(f.form->isRadioChecked(QStringLiteral("rad_tishu1")));
    QVERIFY(f.form->isRadioChecked(QStringLiteral("rad_suanfa1")));
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Velmora软件---Tallisk  1.2"));
    QCOMPARE(f.get<TkavPanel>(QStringLiteral("panel_left"))->Caption(), QStringLiteral("题目设置"));
}

void TestExamWindow::windowGeometry()
{
    ExamWindowFixture f;
    QCOMPARE(f.form->size(), QSize(798, 570));
    QCOMPARE(f.form->minimumSize(), f.form->maximumSize());
    QCOMPARE(f.get(QStringLiteral("panel_left"))->width(), 153);
    QCOMPARE(f.get(QStringLiteral("page_kaochang"))->geometry(), QRect(4, 25, 632, 472));
    QCOMPARE(f.get(QStringLiteral("tr1"))->geometry(), QRect(176, 56, 73, 25));
    QCOMPARE(f.get(QStringLiteral("tr20"))->geometry(), QRect(176 + 312, 56 + 32 * 9, 73, 25));
    QCOMPARE(f.get(QStringLiteral("ok11"))->geometry(), QRect(256 + 312, 64, 41, 12));
    QCOMPARE(f.get(QStringLiteral("tt100_2"))->parentWidget(), f.get(ExamNames::page(5)));
    QCOMPARE(f.get(QStringLiteral("tr1"))->font().pixelSize(), 20);
    QVERIFY(f.get(QStringLiteral("tr1"))->font().bold());
    QCOMPARE(f.get(QStringLiteral("ok1"))->font().pixelSize(), 12);
    QVERIFY(!f.get(QStringLiteral("ok1"))->font().bold());
    // "宋体" is mapped to the installed Song-style CJK font.
    QVERIFY2(QFontInfo(f.get(QStringLiteral("tr1"))->font()).family().contains(u"UMing"),
             qPrintable(QFontInfo(f.get(QStringLiteral("tr1"))->font()).family()));
}

void TestExamWindow::missingNamesYieldNothing()
{
    ExamWindowFixture f;
    for (const QString &name : {ExamNames::operand1(0), ExamNames::answer(101), ExamNames::mark(0),
                                QStringLiteral("tt101_1"), QString()})
        QVERIFY(!f.form->control(name));
    f.form->setLabelCaption(ExamNames::mark(0), QString()); // does nothing, and does not fail
    f.form->setEditText(ExamNames::answer(101), QString());
    QCOMPARE(f.form->editText(ExamNames::answer(0)), QString());
}

void TestExamWindow::startFillsSheet_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("hiddenButton"); // 0: none
    QTest::addRow("20") << 20 << 1;
    QTest::addRow("40") << 40 << 3;
    QTest::addRow("60") << 60 << 5;
    QTest::addRow("80") << 80 << 7;
    QTest::addRow("100") << 100 << 0;
}

void TestExamWindow::startFillsSheet()
{
    QFETCH(int, count);
    QFETCH(int, hiddenButton);
    ExamWindowFixture f;
    f.chooseCount(count);
    f.start();

    for (int row = 1; row <= 100; ++row)
        QCOMPARE(f.question(row).isEmpty(), row > count);
    for (int button = 1; button <= ExamNames::PageButtonCount; ++button)
        QCOMPARE(!f.get(ExamNames::pageButton(button))->isHidden(), button != hiddenButton);
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(1)));
    QVERIFY(f.get(ExamNames::page(1))->isEnabled());
    QCOMPARE(f.clock(), QStringLiteral("300"));
    QVERIFY(f.form->time_main()->isActive());
    QVERIFY(!f.get(ExamNames::BeginButton)->isEnabled());
    QVERIFY(f.get(ExamNames::HandInButton)->isEnabled());
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(1)));
}

void TestExamWindow::sameSecondSameSheet()
{
    ExamWindowFixture f;
    f.choose(QStringLiteral("rad_suanfa3"));
    f.chooseCount(100);
    f.start();
    QStringList first;
    for (int row = 1; row <= 100; ++row)
        first << f.question(row);
    f.handIn();
    f.start();
    QStringList second;
    for (int row = 1; row <= 100; ++row)
        second << f.question(row);
    QCOMPARE(second, first);

    f.handIn();
    f.now += 1;
    f.start();
    QStringList third;
    for (int row = 1; row <= 100; ++row)
        third << f.question(row);
    QVERIFY(third != first);
}

void TestExamWindow::panelCaptionKeepsTimeTextVerbatim()
{
    ExamWindowFixture f;
    f.start();
    QCOMPARE(f.get<TkavPanel>(ExamNames::ExamPanel)->Caption(),
             QStringLiteral("当前考场设置: 时间 5  分钟, 难度 100 以下, 题数 20"));
    f.handIn();
    f.choose(QStringLiteral("rad_nandu4"));
    f.chooseCount(100);
    f.chooseTime(NoTimeLimitText);
    f.start();
    QCOMPARE(f.get<TkavPanel>(ExamNames::ExamPanel)->Caption(),
             QStringLiteral("当前考场设置: 时间 不限时, 难度 10000 以下, 题数 100"));
}

void TestExamWindow::pageButtons()
{
    ExamWindowFixture f;
    f.chooseCount(100);
    f.start();
    f.get<QAbstractButton>(QStringLiteral("button_go1"))->click();
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(2)));
    QVERIFY(f.get(ExamNames::page(2))->isEnabled());
    QVERIFY(!f.get(ExamNames::page(1))->isEnabled());
    QVERIFY(f.get(ExamNames::page(1))->isVisible()); // stays beneath

    for (const char *next : {"button_go3", "button_go5", "button_go7"})
        f.get<QAbstractButton>(QLatin1String(next))->click();
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(5)));
    f.get<QAbstractButton>(QStringLiteral("button_go8"))->click();
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(4)));
    f.get<QAbstractButton>(QStringLiteral("button_go6"))->click();
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(3)));
    QCOMPARE(f.get(QStringLiteral("button_go8"))->geometry().x(), 512);

    // Navigation touches nothing else of the exam.
    QCOMPARE(f.clock(), QStringLiteral("300"));
    QVERIFY(f.score().isEmpty());
}

void TestExamWindow::handInByButton()
{
    ExamWindowFixture f;
    f.start();
    for (int row = 1; row <= 18; ++row)
        f.answerRight(row);
    f.answer(19, QString::number(f.expected(19) + 1));
    f.ticks(5);
    f.handIn();

    for (int row = 1; row <= 18; ++row) {
        QCOMPARE(f.mark(row), QStringLiteral("正确"));
        QCOMPARE(f.markColor(row), QColor(0, 0, 255));
    }
    QCOMPARE(f.mark(19), QStringLiteral("错误"));
    QCOMPARE(f.markColor(19), QColor(255, 0, 0));
    QCOMPARE(f.mark(20), QStringLiteral("未完成"));
    QCOMPARE(f.markColor(20), QColor(255, 0, 0));
    QCOMPARE(f.score(), QStringLiteral("本次考试总题数:20 正确:18 错误:1 未完成:1  得分:90"));
    QVERIFY(f.clock().isEmpty());
    QVERIFY(!f.form->time_main()->isActive());
    QVERIFY(f.get(ExamNames::BeginButton)->isEnabled());
    QVERIFY(!f.get(ExamNames::HandInButton)->isEnabled());
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(1)));

    // Typing afterwards changes no mark and no count.
    f.answer(20, QStringLiteral("1"));
    QCOMPARE(f.mark(20), QStringLiteral("未完成"));
    QCOMPARE(f.score(), QStringLiteral("本次考试总题数:20 正确:18 错误:1 未完成:1  得分:90"));
}

void TestExamWindow::countChangedDuringExam_data()
{
    QTest::addColumn<int>("startCount");
    QTest::addColumn<int>("handInCount");
    QTest::addColumn<QString>("report");
    QTest::addRow("20 to 40") << 20 << 40 << "本次考试总题数:40 正确:20 错误:0 未完成:20  得分:40";
    QTest::addRow("40 to 20") << 40 << 20 << "本次考试总题数:20 正确:20 错误:0 未完成:0  得分:100";
}

void TestExamWindow::countChangedDuringExam()
{
    QFETCH(int, startCount);
    QFETCH(int, handInCount);
    QFETCH(QString, report);
    ExamWindowFixture f;
    f.chooseCount(startCount);
    f.start();
    for (int row = 1; row <= qMin(startCount, handInCount); ++row)
        f.answerRight(row);
    f.chooseCount(handInCount);
    f.handIn();
    QCOMPARE(f.score(), report);
    for (int row = handInCount + 1; row <= 40; ++row)
        QVERIFY(f.mark(row).isEmpty());
}

void TestExamWindow::timeUpOnTheLastTick()
{
    ExamWindowFixture f;
    f.start();
    for (int row = 1; row <= 18; ++row)
        f.answerRight(row);
    f.answer(19, QString::number(f.expected(19) + 1));

    f.ticks(1);
    QCOMPARE(f.clock(), QStringLiteral("299"));
    f.ticks(298);
    QCOMPARE(f.clock(), QStringLiteral("1"));
    QVERIFY(f.score().isEmpty());
    QVERIFY(f.form->time_main()->isActive());

    f.ticks(1); // the 300th
    QCOMPARE(f.score(), QStringLiteral("本次考试总题数:20 正确:18 错误:1 未完成:1"));
    QVERIFY(f.clock().isEmpty());
    QVERIFY(!f.form->time_main()->isActive());
    QVERIFY(f.get(ExamNames::BeginButton)->isEnabled());
    QVERIFY(!f.get(ExamNames::HandInButton)->isEnabled());
    QCOMPARE(f.mark(19), QStringLiteral("错误"));

    f.ticks(5); // a stray tick after the end changes nothing
    QVERIFY(f.clock().isEmpty());
}

void TestExamWindow::noLimitNeverEndsByItself()
{
    ExamWindowFixture f;
    f.chooseTime(NoTimeLimitText);
    f.start();
    QCOMPARE(f.clock(), NoTimeLimitText);
    f.ticks(4000);
    QCOMPARE(f.clock(), NoTimeLimitText);
    QVERIFY(f.score().isEmpty());
    QVERIFY(f.get(ExamNames::HandInButton)->isEnabled());
    f.handIn();
    QVERIFY(f.score().endsWith(QStringLiteral("  得分:0")));
}

void TestExamWindow::typedTimeLimit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<QString>("caption");
    QTest::addRow("bare number") << "45" << "2700" << "时间 45 分钟,";
    QTest::addRow("with unit") << "7 分钟" << "420" << "时间 7 分钟,";
    QTest::addRow("highest") << "999" << "59940" << "时间 999 分钟,";
}

// A typed whole number of minutes is a limit like a listed item: caption, clock, countdown, time-up.
void TestExamWindow::typedTimeLimit()
{
    QFETCH(QString, typed);
    QFETCH(QString, clock);
    QFETCH(QString, caption);
    ExamWindowFixture f;
    f.chooseTime(typed);
    f.start();
    QCOMPARE(f.clock(), clock);
    QVERIFY2(f.get<TkavPanel>(ExamNames::ExamPanel)->Caption().contains(caption),
             qPrintable(f.get<TkavPanel>(ExamNames::ExamPanel)->Caption()));
    const int seconds = clock.toInt();
    f.ticks(seconds - 1);
    QCOMPARE(f.clock(), QStringLiteral("1"));
    QVERIFY(f.score().isEmpty());
    f.ticks(1);
    QCOMPARE(f.score(), QStringLiteral("本次考试总题数:20 正确:0 错误:0 未完成:20"));
}

void TestExamWindow::refusedTimeTextDoesNotStart_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("afterAnExam");
    QTest::addRow("zero, first exam") << "0" << false;
    QTest::addRow("words, first exam") << "半小时" << false;
    QTest::addRow("too many minutes, after an exam") << "1000" << true;
    QTest::addRow("empty, after an exam") << "" << true;
}

// Anything else typed is refused with a message before the exam starts, and nothing changes:
// the last exam's marks and report stay, no clock runs, the focus returns to the time box.
void TestExamWindow::refusedTimeTextDoesNotStart()
{
    QFETCH(QString, typed);
    QFETCH(bool, afterAnExam);
    QStringList shown;
    const Kav::ErrorBoxHandler before =
        Kav::KavSetErrorBoxHandler([&shown](QWidget *, const QString &text) { shown << text; });
    const auto restore = qScopeGuard([&before] { Kav::KavSetErrorBoxHandler(before); });

    ExamWindowFixture f;
    QString report;
    QString question;
    if (afterAnExam) {
        f.start();
        f.answerRight(1);
        f.handIn();
        report = f.score();
        question = f.question(1);
    }
    const QString panelCaption = f.get<TkavPanel>(ExamNames::ExamPanel)->Caption();
    f.chooseTime(typed);
    f.now += 7;
    f.start();

    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.front().contains(u"1 到 999") && shown.front().contains(u"无效"), qPrintable(shown.front()));
    QVERIFY(!f.form->time_main()->isActive());
    QVERIFY(f.clock().isEmpty());
    QVERIFY(f.get(ExamNames::BeginButton)->isEnabled());
    QVERIFY(!f.get(ExamNames::HandInButton)->isEnabled());
    QCOMPARE(f.get<TkavPanel>(ExamNames::ExamPanel)->Caption(), panelCaption);
    QCOMPARE(f.score(), report);
    QCOMPARE(f.question(1), question);
    QCOMPARE(f.pages()->ActivePage(), f.get(afterAnExam ? ExamNames::page(1) : ExamNames::Welcome));
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::TimeBox));
}

void TestExamWindow::handInStopsTheClock()
{
    ExamWindowFixture f;
    f.start();
    f.ticks(290);
    QCOMPARE(f.clock(), QStringLiteral("10"));
    f.handIn();
    QVERIFY(f.clock().isEmpty());
    QVERIFY(!f.form->time_main()->isActive());
    const QString report = f.score();
    f.ticks(20);
    QVERIFY(f.clock().isEmpty());
    QCOMPARE(f.score(), report);
}

void TestExamWindow::newExamAfterTimeUp()
{
    ExamWindowFixture f;
    f.start();
    f.ticks(300);
    QVERIFY(!f.score().isEmpty());
    f.chooseTime(QStringLiteral("10 分钟"));
    f.start();
    QCOMPARE(f.clock(), QStringLiteral("600"));
    QVERIFY(f.score().isEmpty());
    f.ticks(3);
    QCOMPARE(f.clock(), QStringLiteral("597"));
}

void TestExamWindow::newExamClearsWholeSheet()
{
    ExamWindowFixture f;
    f.chooseCount(100);
    f.start();
    for (int row = 1; row <= 100; ++row)
        f.answerRight(row);
    f.handIn();
    QCOMPARE(f.score(), QStringLiteral("本次考试总题数:100 正确:100 错误:0 未完成:0  得分:100"));
    const QString row21 = f.question(21);

    f.chooseCount(20);
    f.now += 5;
    f.start();
    for (int row = 1; row <= 100; ++row) {
        QVERIFY(f.form->editText(ExamNames::answer(row)).isEmpty());
        QVERIFY(f.mark(row).isEmpty());
    }
    QCOMPARE(f.question(21), row21); // left on a page that cannot be reached
    QVERIFY(f.get(QStringLiteral("button_go1"))->isHidden());
}

void TestExamWindow::unreadableAnswersStillGradeTheSheet_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("report");
    const QString wrong = QStringLiteral("错误");
    const QString notDone = QStringLiteral("未完成");
    QTest::addRow("above 32 bits") << "2147483648" << wrong << QStringLiteral("正确:19 错误:1 未完成:0");
    // The box keeps only digits, so these arrive as nothing at all.
    QTest::addRow("pasted letters") << "abc" << notDone << QStringLiteral("正确:19 错误:0 未完成:1");
    QTest::addRow("pasted negative") << "-" << notDone << QStringLiteral("正确:19 错误:0 未完成:1");
}

// An answer that is no 32-bit number is wrong, one that the box did not take is not done; the rest
// of the sheet is graded and the exam ends, by button and at time-up alike.
void TestExamWindow::unreadableAnswersStillGradeTheSheet()
{
    QFETCH(QString, answer);
    QFETCH(QString, mark);
    QFETCH(QString, report);
    for (const bool timeUp : {false, true}) {
        ExamWindowFixture f;
        f.start();
        f.answer(1, answer);
        for (int row = 2; row <= 20; ++row)
            f.answerRight(row);
        if (timeUp)
            f.ticks(300);
        else
            f.handIn();
        QCOMPARE(f.mark(1), mark);
        QCOMPARE(f.mark(20), QStringLiteral("正确"));
        QVERIFY2(f.score().startsWith(QStringLiteral("本次考试总题数:20 ") + report), qPrintable(f.score()));
        QVERIFY(!f.form->time_main()->isActive());
        QVERIFY(f.get(ExamNames::BeginButton)->isEnabled());
        QVERIFY(!f.get(ExamNames::HandInButton)->isEnabled());
    }
}

void TestExamWindow::answerBoxTakesOnlyDigitsFromEveryPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("kept");
    for (const char *path : {"Ctrl+V", "Shift+Insert", "context menu", "middle button", "drop"}) {
        QTest::addRow("%s, digits among blanks", path) << QString::fromLatin1(path) << QStringLiteral("1 2,3")
                                                       << QStringLiteral("4123");
        QTest::addRow("%s, words", path) << QString::fromLatin1(path) << QStringLiteral("abc") << QStringLiteral("4");
        QTest::addRow("%s, full-width digits", path) << QString::fromLatin1(path) << QStringView(u"\uFF15\uFF16").toString()
                                                     << QStringLiteral("4");
    }
}

// Whatever way text arrives in an answer box, only its digits stay: pasting by keys, by the
// context menu or with the middle button, and dropping.
void TestExamWindow::answerBoxTakesOnlyDigitsFromEveryPath()
{
    QFETCH(QString, path);
    QFETCH(QString, offered);
    QFETCH(QString, kept);
    ExamWindowFixture f;
    f.start();
    auto *box = f.get<QLineEdit>(ExamNames::answer(1));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("4"));
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (path == QLatin1String("Ctrl+V")) {
        clipboard->setText(offered);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else if (path == QLatin1String("Shift+Insert")) {
        clipboard->setText(offered);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (path == QLatin1String("context menu")) {
        clipboard->setText(offered);
        std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
        // The paste item shows the paste shortcut after a tab, whatever the language.
        const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        QAction *paste = nullptr;
        for (QAction *action : menu->actions())
            if (action->text().endsWith(u'\t' + shortcut))
                paste = action;
        QVERIFY(paste);
        paste->trigger();
    } else if (path == QLatin1String("middle button")) {
        // What the middle button pastes is the selection, where the platform has one; either way
        // it arrives through insert().
        if (clipboard->supportsSelection()) {
            clipboard->setText(offered, QClipboard::Selection);
            QTest::mouseClick(box, Qt::MiddleButton, {}, QPoint(box->width() - 4, box->height() / 2));
        } else {
            box->insert(offered);
        }
    } else {
        QMimeData data;
        data.setText(offered);
        const QPointF at(box->width() - 4, box->height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &drop);
    }
    QCOMPARE(box->text(), kept);
}

// The answer boxes, the clock, the time choice and the welcome notes are the skinned controls
// with the window's fixed settings.
void TestExamWindow::boxesAreTheSkinnedControls()
{
    ExamWindowFixture f;
    const TColor grey = TColor::fromQColor(QColor(127, 127, 127));
    for (const QString &name : {ExamNames::answer(1), ExamNames::answer(100), QString(ExamNames::Clock)}) {
        auto *edit = qobject_cast<TkavEdit *>(f.get(name));
        QVERIFY2(edit, qPrintable(name));
        QCOMPARE(edit->UIStyle(), TkavUIStyle::MacOS);
        QCOMPARE(edit->BorderColor(), grey);
    }
    QVERIFY(f.get<TkavEdit>(ExamNames::Clock)->isReadOnly());

    auto *time = qobject_cast<TkavComboBox *>(f.get(ExamNames::TimeBox));
    QVERIFY(time);
    QCOMPARE(time->UIStyle(), TkavUIStyle::MacOS);
    QCOMPARE(time->currentText(), QStringLiteral("5  分钟"));
    QCOMPARE(time->count(), 6);
    QCOMPARE(time->ItemHeight(), 13);
    QCOMPARE(time->BorderColor(), grey);
    QCOMPARE(time->ArrowColor(), TColor(0));
    QCOMPARE(time->ButtonColor(), TColor::fromQColor(QColor(231, 231, 231)));

    auto *notes = qobject_cast<TkavMemo *>(f.get(QStringLiteral("kavMemo1")));
    QVERIFY(notes);
    QVERIFY(notes->isReadOnly());
    QCOMPARE(notes->UIStyle(), TkavUIStyle::MacOS);
    QCOMPARE(notes->BorderColor(), grey);
    QCOMPARE(notes->ScrollBars(), TkavMemo::ssVertical);
    QVERIFY(notes->toPlainText().startsWith(QStringLiteral("简单使用说明:")));
}

// The answer boxes' context menu is Qt's own, in the program's language.
void TestExamWindow::windowIsTheSkinnedForm()
{
    ExamWindowFixture f;
    auto *frame = f.get<TkavForm>(QStringLiteral("sform_main"));
    QVERIFY(f.form->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(frame->UIStyle(), TkavUIStyle::MacOS);
    QCOMPARE(frame->geometry(), QRect(1, 0, 796, 569));
    QCOMPARE(frame->BorderWidth(), 1);
    QCOMPARE(frame->BorderColor(), TColor::fromQColor(QColor(127, 127, 127)));
    QCOMPARE(frame->Color(), TColor::fromQColor(QColor(231, 231, 231)));
    QCOMPARE(frame->MenuBarColor(), TColor::fromQColor(QColor(231, 231, 231)));
    QCOMPARE(frame->MenuBarHeight(), 22);
    QCOMPARE(frame->RoundCorner(), 0);
    QVERIFY(!frame->TitleBarDrawAppIcon());
    QCOMPARE(frame->Caption(), f.form->windowTitle());
    QCOMPARE(frame->TitleFont().pixelSize(), 12);
    QVERIFY(frame->TitleFont().bold());

    TkavTitleBar *bar = frame->TitleBar();
    QCOMPARE(bar->geometry(), QRect(0, 0, 796, 23));
    const QList<TkavTitleBarBtnType> expectedTypes{KavTitleBar::kavControlBox, KavTitleBar::kavClose,
                                                   KavTitleBar::kavMin};
    QCOMPARE(bar->Buttons()->count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(bar->Buttons()->item(i)->ButtonType(), expectedTypes[i]);
        QCOMPARE(bar->Buttons()->item(i)->Top(), 4);
        QVERIFY(!bar->Buttons()->item(i)->PicNormal().isNull());
    }
    QCOMPARE(bar->Sections()->count(), 3);
    QCOMPARE(bar->Sections()->item(0)->Width(), 48);
    QCOMPARE(bar->Sections()->item(1)->Width(), 48);
    QCOMPARE(bar->Sections()->item(2)->Align(), KavTitleBar::kavClient);

    // The settings panel sits under the title bar, the page control where it always was.
    QCOMPARE(f.get(QStringLiteral("panel_left"))->mapTo(f.form.get(), QPoint(0, 0)), QPoint(2, 24));
    QCOMPARE(f.get(QStringLiteral("page_kaochang"))->geometry(), QRect(4, 25, 632, 472));
}

void TestExamWindow::answerBoxContextMenuIsChinese()
{
    QVERIFY2(installQtTranslation(), "Qt's Chinese texts (qt6-translations-l10n) are not installed");
    ExamWindowFixture f;
    auto *box = f.get<QLineEdit>(ExamNames::answer(1));
    QCOMPARE(box->contextMenuPolicy(), Qt::DefaultContextMenu);
    std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text();
    QVERIFY2(texts.join(u' ').contains(QStringLiteral("粘贴")), qPrintable(texts.join(u' ')));
}

void TestExamWindow::answerBoxKeyFilter()
{
    ExamWindowFixture f;
    f.start();
    auto *box = f.get<QLineEdit>(ExamNames::answer(1));
    QTest::keyClicks(box, QStringLiteral("1a-. 2"));
    QCOMPARE(box->text(), QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("1"));
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(2))); // Enter moves on, typing nothing
    box->setFocus();
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QStringLiteral("５"), Qt::NoModifier);
    QCOMPARE(box->text(), QStringLiteral("1"));
    // Delete as X sends it, with the text "\x7f": it edits, it types nothing.
    box->setText(QStringLiteral("123"));
    box->setCursorPosition(0);
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
    QCOMPARE(box->text(), QStringLiteral("23"));
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(2)));
}

void TestExamWindow::exitClosesWithoutGrading()
{
    ExamWindowFixture f;
    f.start();
    f.answerRight(1);
    LeaveQuestionAnswerer pupil(f, LeaveQuestionAnswerer::Yes);
    f.get<QAbstractButton>(QStringLiteral("button_exit"))->click();
    QVERIFY(pupil.asked());
    QVERIFY(!f.form->isVisible());
    QVERIFY(f.mark(1).isEmpty());
    QVERIFY(f.score().isEmpty());
}

namespace {
enum class LeaveBy { ExitButton, CloseRequest };

void leave(ExamWindowFixture &f, LeaveBy way)
{
    if (way == LeaveBy::ExitButton)
        f.get<QAbstractButton>(QStringLiteral("button_exit"))->click();
    else
        f.form->close(); // what the title bar's close button, Alt+F4 and the window manager do
}
} // namespace

void TestExamWindow::leavingARunningExamAsksFirst_data()
{
    QTest::addColumn<LeaveBy>("way");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("stillRunning");
    using A = LeaveQuestionAnswerer;
    for (const auto &[name, way] : {std::pair{"exit button", LeaveBy::ExitButton}, std::pair{"close", LeaveBy::CloseRequest}}) {
        QTest::addRow("%s, yes", name) << way << int(A::Yes) << true << false;
        QTest::addRow("%s, no", name) << way << int(A::No) << false << true;
        QTest::addRow("%s, escape", name) << way << int(A::Escape) << false << true;
        QTest::addRow("%s, stray enter", name) << way << int(A::Enter) << false << true;
        QTest::addRow("%s, time runs out meanwhile", name) << way << int(A::TimeUp) << false << false;
    }
}

void TestExamWindow::leavingARunningExamAsksFirst()
{
    QFETCH(LeaveBy, way);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, stillRunning);

    ExamWindowFixture f;
    f.start();
    f.answerRight(1);
    f.answer(2, QStringLiteral("7"));
    f.ticks(10);
    // Where the pupil was: on the exit button when leaving by it (reached with Shift+Tab), in an
    // answer box when closing the window.
    QWidget *focus = way == LeaveBy::ExitButton ? f.get(QStringLiteral("button_exit")) : f.get(ExamNames::answer(2));
    focus->setFocus();

    LeaveQuestionAnswerer pupil(f, LeaveQuestionAnswerer::Answer(answer));
    leave(f, way);

    QVERIFY(pupil.asked());
    QCOMPARE(pupil.text(), ExamLeaveQuestion::Text);
    QVERIFY(pupil.noWasDefault());
    QCOMPARE(f.form->isVisible(), !closes);
    QCOMPARE(f.form->time_main()->isActive(), stillRunning);
    if (stillRunning) {
        // The exam goes on exactly where it was.
        QCOMPARE(f.clock(), QStringLiteral("290"));
        QCOMPARE(f.form->editText(ExamNames::answer(1)), QString::number(f.expected(1)));
        QCOMPARE(f.form->editText(ExamNames::answer(2)), QStringLiteral("7"));
        QVERIFY(f.score().isEmpty());
        QTRY_COMPARE(QApplication::focusWidget(), focus);
        f.ticks(1);
        QCOMPARE(f.clock(), QStringLiteral("289"));
    }
    if (answer == LeaveQuestionAnswerer::TimeUp)
        QVERIFY(f.score().startsWith(QStringLiteral("本次考试总题数:20 正确:1")));
}

void TestExamWindow::leavingWithoutARunningExamAsksNothing_data()
{
    QTest::addColumn<LeaveBy>("way");
    QTest::addColumn<QString>("before");
    for (const auto &[name, way] : {std::pair{"exit button", LeaveBy::ExitButton}, std::pair{"close", LeaveBy::CloseRequest}}) {
        QTest::addRow("%s, not started", name) << way << QStringLiteral("nothing");
        QTest::addRow("%s, handed in", name) << way << QStringLiteral("hand-in");
        QTest::addRow("%s, time up", name) << way << QStringLiteral("time-up");
    }
}

void TestExamWindow::leavingWithoutARunningExamAsksNothing()
{
    QFETCH(LeaveBy, way);
    QFETCH(QString, before);

    ExamWindowFixture f;
    if (before != QStringLiteral("nothing")) {
        f.start();
        if (before == QStringLiteral("hand-in"))
            f.handIn();
        else
            f.ticks(300);
        QVERIFY(!f.form->time_main()->isActive());
    }
    LeaveQuestionAnswerer pupil(f, LeaveQuestionAnswerer::No);
    leave(f, way);
    QVERIFY(!pupil.asked());
    QVERIFY(!f.form->isVisible());
}

void TestExamWindow::splitterResizesSettingsPanel()
{
    ExamWindowFixture f;
    auto *splitter = f.get<QSplitter>(QStringLiteral("Splitter1"));
    QCOMPARE(splitter->handleWidth(), 3);
    splitter->setSizes({140, splitter->width() - 140 - splitter->handleWidth()});
    QCOMPARE(f.get(QStringLiteral("panel_left"))->width(), 140);
    QCOMPARE(f.form->size(), QSize(798, 570));
}

namespace {
// Drags the splitter's handle by dx pixels with the mouse.
void dragSplitter(QSplitter *splitter, int dx)
{
    QWidget *handle = splitter->handle(1);
    const QPoint grip(handle->width() / 2, handle->height() / 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(dx, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(dx, 0));
}
} // namespace

// However far the splitter is dragged, the exam panel keeps its whole page control and "我要交卷"
// in sight, and the settings panel its start and exit buttons.
void TestExamWindow::splitterKeepsBothPanelsInSight()
{
    ExamWindowFixture f;
    auto *splitter = f.get<QSplitter>(QStringLiteral("Splitter1"));
    QWidget *examPanel = f.get(ExamNames::ExamPanel);
    QWidget *settingsPanel = f.get(QStringLiteral("panel_left"));
    const auto inSight = [](QWidget *panel, const QString &name) {
        QWidget *child = panel->findChild<QWidget *>(name);
        return QRect(QPoint(0, 0), panel->size()).contains(child->geometry());
    };
    for (const int dx : {300, -300}) {
        dragSplitter(splitter, dx);
        QVERIFY2(inSight(examPanel, QStringLiteral("page_kaochang")), qPrintable(QString::number(dx)));
        QVERIFY(inSight(examPanel, ExamNames::HandInButton));
        QVERIFY(inSight(settingsPanel, ExamNames::BeginButton));
        QVERIFY(inSight(settingsPanel, QStringLiteral("button_exit")));
        QCOMPARE(examPanel->geometry().right() + 1, splitter->width());
    }
    QVERIFY(settingsPanel->width() < 153); // the drag to the left did move it
    QCOMPARE(f.form->size(), QSize(798, 570));
}

void TestExamWindow::focusAfterPageChange_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"click", "Space", "Enter"})
        QTest::addRow("%s", how) << QString::fromLatin1(how);
}

// Whichever way a page button is pressed, the focus lands in the first answer box of the page
// shown, and the digits typed next go there.
void TestExamWindow::focusAfterPageChange()
{
    QFETCH(QString, how);
    ExamWindowFixture f;
    f.chooseCount(100);
    f.start();
    const auto press = [&](const char *name) {
        auto *button = f.get<QAbstractButton>(QLatin1String(name));
        button->setFocus(Qt::TabFocusReason);
        if (how == QLatin1String("click"))
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        else
            QTest::keyClick(button, how == QLatin1String("Space") ? Qt::Key_Space : Qt::Key_Return);
    };
    press("button_go1");
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(2)));
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(21)));
    QTest::keyClicks(f.form->focusWidget(), QStringLiteral("12"));
    QCOMPARE(f.form->editText(ExamNames::answer(21)), QStringLiteral("12"));

    press("button_go3");
    press("button_go5");
    press("button_go7");
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(81)));
    press("button_go8"); // back
    QCOMPARE(f.pages()->ActivePage(), f.get(ExamNames::page(4)));
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(61)));
}

void TestExamWindow::focusAfterStartByKey()
{
    ExamWindowFixture f;
    auto *begin = f.get<QAbstractButton>(ExamNames::BeginButton);
    begin->setFocus(Qt::TabFocusReason);
    QTest::keyClick(begin, Qt::Key_Space);
    QVERIFY(f.form->time_main()->isActive());
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(1)));
}

void TestExamWindow::enterMovesOn_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("next");
    QTest::addRow("within the left column") << 20 << 1 << "tr2";
    QTest::addRow("left column to right column") << 20 << 10 << "tr11";
    QTest::addRow("last box, one page: hand in") << 20 << 20 << "button_ok";
    QTest::addRow("last box of page 1 of 2: next page") << 40 << 20 << "button_go1";
    QTest::addRow("last box of the last page in use") << 40 << 40 << "button_ok";
    QTest::addRow("last box of page 4 of 5: next page") << 100 << 80 << "button_go7";
    QTest::addRow("last box of page 5: hand in") << 100 << 100 << "button_ok";
}

// Enter in an answer box moves on as Tab does, never typing anything; at the end of a page it
// goes to "下一页", or to "我要交卷" on the last page in use.
void TestExamWindow::enterMovesOn()
{
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QString, next);
    ExamWindowFixture f;
    f.chooseCount(count);
    f.start();
    f.form->setActivePage(ExamNames::page((row - 1) / 20 + 1));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *box = f.get<QLineEdit>(ExamNames::answer(row));
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, QStringLiteral("3"));
        QTest::keyClick(box, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(box->text(), QStringLiteral("3"));
        QCOMPARE(f.form->focusWidget(), f.get(next));
        box->clear();
    }
}

// After the hand-in the buttons that Enter leads to at the end of a page are out of reach: Enter
// in the last box then goes where Tab goes.
void TestExamWindow::enterAfterHandInMovesAsTab()
{
    ExamWindowFixture f;
    f.start();
    f.handIn();
    auto *box = f.get<QLineEdit>(ExamNames::answer(20));
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Tab);
    QWidget *byTab = f.form->focusWidget();
    QVERIFY(byTab && byTab != box);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(f.form->focusWidget(), byTab);
}

void TestExamWindow::focusAfterHandIn_data()
{
    QTest::addColumn<bool>("timeUp");
    QTest::addRow("by button") << false;
    QTest::addRow("time-up") << true;
}

// After a hand-in the focus is on the score line, which can take it only while it shows a
// report: an empty score line is no Tab stop during the next exam.
void TestExamWindow::focusAfterHandIn()
{
    QFETCH(bool, timeUp);
    ExamWindowFixture f;
    auto *score = f.get<QLabel>(ExamNames::Score);
    QCOMPARE(score->focusPolicy(), Qt::NoFocus);
    f.start();
    f.get(ExamNames::answer(5))->setFocus();
    if (timeUp) {
        f.ticks(300);
    } else {
        auto *handIn = f.get<QAbstractButton>(ExamNames::HandInButton);
        handIn->setFocus(Qt::TabFocusReason);
        QTest::keyClick(handIn, Qt::Key_Space);
    }
    QVERIFY(!f.score().isEmpty());
    QCOMPARE(f.form->focusWidget(), score);
    QVERIFY(score->focusPolicy() & Qt::TabFocus);

    f.start();
    QCOMPARE(score->focusPolicy(), Qt::NoFocus);
    QCOMPARE(f.form->focusWidget(), f.get(ExamNames::answer(1)));
}

// The digits keep a few pixels from the box's border on both sides.
void TestExamWindow::answerBoxesKeepDigitsOffTheBorder()
{
    ExamWindowFixture f;
    auto *box = f.get<TkavEdit>(ExamNames::answer(37));
    auto *clock = f.get<TkavEdit>(ExamNames::Clock);
    QCOMPARE(box->textMargins().left(), clock->textMargins().left() + 3);
    QCOMPARE(box->textMargins().right(), clock->textMargins().right() + 3);
    QCOMPARE(box->textMargins().top(), clock->textMargins().top());
}

void TestExamWindow::exceptionInHandlerIsShownAndProgramGoesOn()
{
    auto *app = static_cast<ExamApplication *>(QCoreApplication::instance());
    QStringList shown;
    app->setExceptionDisplay([&shown](const QString &message) { shown << message; });

    QObject thrower;
    QObject::connect(&thrower, &QObject::objectNameChanged, &thrower,
                     [] { throw std::runtime_error("'x' is not a valid integer value"); });
    QTimer::singleShot(0, &thrower, [&thrower] { thrower.setObjectName(QStringLiteral("go")); });
    QTRY_COMPARE(shown.size(), 1);
    QCOMPARE(shown.front(), QStringLiteral("'x' is not a valid integer value"));

    // The loop goes on: a later event is still delivered.
    bool later = false;
    QTimer::singleShot(0, [&later] { later = true; });
    QTRY_VERIFY(later);
    app->setExceptionDisplay(&ExamApplication::showExceptionMessage);
}

int main(int argc, char *argv[])
{
    ExamApplication app(argc, argv);
    setUpExamApplication();
    TestExamWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_examwindow.moc"
