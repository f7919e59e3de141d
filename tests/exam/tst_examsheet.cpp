// Printed sheets: the same questions as the window for a seed, the command line's options, the
// pages written and the answer key.
#include "ExamApplication.h"
#include "ExamGrading.h"
#include "ExamSettings.h"
#include "ExamSheet.h"
#include "FormMain.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

ExamSettings settingsOf(int bound, int count, ExamKind kind, const QString &timeText = QString())
{
    ExamSettings settings;
    settings.bound = bound;
    settings.count = count;
    settings.kind = kind;
    settings.timeText = timeText;
    return settings;
}

constexpr qint64 FixedSecond = 1'700'000'000;

QStringList questionTexts(const ExamSheet &sheet)
{
    QStringList texts;
    for (const Question &question : sheet.questions)
        texts << sheetQuestionText(question);
    return texts;
}

// The window with its clock stopped at one second, set up by its radio buttons.
class Window
{
public:
    explicit Window(qint64 second = FixedSecond) : form(std::make_unique<Tform_main>([second] { return second; }))
    {
        form->show();
        printing = form->findChild<ExamSheetPrinting *>();
        if (!printing)
            qFatal("the window has no sheet printing");
    }

    void choose(const QString &radioName)
    {
        auto *radio = form->control<QAbstractButton>(radioName);
        if (!radio)
            qFatal("no control named %s", qPrintable(radioName));
        radio->setChecked(true);
    }
    void set(int bound, int count, ExamKind kind)
    {
        const int boundIndex = bound == 10 ? 1 : bound == 100 ? 2 : bound == 1000 ? 3 : 4;
        choose(QStringLiteral("rad_nandu%1").arg(boundIndex));
        choose(QStringLiteral("rad_tishu%1").arg(count / 20));
        choose(QStringLiteral("rad_suanfa%1").arg(int(kind)));
    }
    void start() { form->control<QAbstractButton>(ExamNames::BeginButton)->click(); }

    QStringList rowTexts(int count) const
    {
        QStringList texts;
        for (int row = 1; row <= count; ++row)
            texts << QStringLiteral("%1 %2 %3 =")
                         .arg(form->labelCaption(ExamNames::operand1(row)), form->labelCaption(ExamNames::glyph(row)),
                              form->labelCaption(ExamNames::operand2(row)));
        return texts;
    }

    std::unique_ptr<Tform_main> form;
    ExamSheetPrinting *printing = nullptr;
};

int pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

} // namespace

Q_DECLARE_METATYPE(Question)
Q_DECLARE_METATYPE(ExamKind)
Q_DECLARE_METATYPE(CommandLine::Mode)

class TestExamSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameQuestionsAsWindow_data();
    void sameQuestionsAsWindow();
    void printsTheExamStartedLast();
    void answerKey_data();
    void answerKey();
    void answerKeyAgreesWithGrading();
    void settingsLine();
    void pdfPages_data();
    void pdfPages();
    void printThroughDialog();
    void commandLine_data();
    void commandLine();
    void sheetCommandWritesOrSaysWhy();
};

void TestExamSheet::sameQuestionsAsWindow_data()
{
    QTest::addColumn<int>("bound");
    QTest::addColumn<int>("count");
    QTest::addColumn<ExamKind>("kind");
    QTest::addColumn<qint64>("second");
    QTest::newRow("add-sub 100, 20") << 100 << 20 << ExamKind::AdditionSubtraction << FixedSecond;
    QTest::newRow("mul-div 1000, 40") << 1000 << 40 << ExamKind::MultiplicationDivision << qint64(12345);
    QTest::newRow("mixed 10000, 100") << 10000 << 100 << ExamKind::Mixed << qint64(4'000'000'000);
    QTest::newRow("mixed 10, 60, second past 32 bits") << 10 << 60 << ExamKind::Mixed << qint64(5'000'000'000);
}

void TestExamSheet::sameQuestionsAsWindow()
{
    QFETCH(int, bound);
    QFETCH(int, count);
    QFETCH(ExamKind, kind);
    QFETCH(qint64, second);

    Window window(second);
    window.set(bound, count, kind);
    window.start();

    const ExamSheet sheet = makeExamSheet(settingsOf(bound, count, kind), second);
    QCOMPARE(sheet.questions.size(), count);
    QCOMPARE(questionTexts(sheet), window.rowTexts(count));
    QCOMPARE(sheet.seed, std::optional<qint64>(second));
}

// After a start, Ctrl+P prints the rows on the window with the settings of that start, even
// when the count buttons have been changed since; before any start, a sheet of the settings.
void TestExamSheet::printsTheExamStartedLast()
{
    Window window;
    window.set(100, 40, ExamKind::Mixed);
    const ExamSheet before = window.printing->currentSheet();
    QCOMPARE(before.questions.size(), 40);
    QVERIFY(before.seed.has_value());

    window.set(100, 20, ExamKind::AdditionSubtraction);
    window.start();
    const QStringList started = window.rowTexts(20);
    window.choose(QStringLiteral("rad_tishu5")); // 100 now, the exam still has 20

    const ExamSheet sheet = window.printing->currentSheet();
    QCOMPARE(sheet.settings.count, 20);
    QCOMPARE(sheet.settings.kind, ExamKind::AdditionSubtraction);
    QCOMPARE(questionTexts(sheet), started);
    QVERIFY(!sheet.seed.has_value());
}

void TestExamSheet::answerKey_data()
{
    QTest::addColumn<Question>("question");
    QTest::addColumn<QString>("text");
    QTest::newRow("addition") << Question{40, 12, Operation::Addition, 52} << QStringLiteral("40 + 12 = 52");
    QTest::newRow("subtraction") << Question{9, 9, Operation::Subtraction, 0} << QStringLiteral("9 - 9 = 0");
    QTest::newRow("multiplication") << Question{25, 4, Operation::Multiplication, 100}
                                    << QStringLiteral("25 x 4 = 100");
    QTest::newRow("division") << Question{10000, 2500, Operation::Division, 4}
                              << QStringLiteral("10000 ÷ 2500 = 4");
}

void TestExamSheet::answerKey()
{
    QFETCH(Question, question);
    QFETCH(QString, text);
    QCOMPARE(sheetAnswerText(question), text);
}

// Every answer on the key is what the hand-in would accept as right for that question.
void TestExamSheet::answerKeyAgreesWithGrading()
{
    for (const ExamKind kind : {ExamKind::AdditionSubtraction, ExamKind::MultiplicationDivision, ExamKind::Mixed}) {
        const ExamSheet sheet = makeExamSheet(settingsOf(1000, 100, kind), FixedSecond + int(kind));
        for (const Question &question : sheet.questions) {
            const std::optional<qint32> expected = expectedAnswer(
                QString::number(question.operand1), operatorGlyph(question.operation), QString::number(question.operand2));
            QVERIFY2(expected.has_value(), qPrintable(sheetQuestionText(question)));
            QCOMPARE(gradeAnswer(expected, QString::number(question.answer)), Mark::Right);
        }
    }
}

void TestExamSheet::settingsLine()
{
    QCOMPARE(sheetSettingsText(settingsOf(1000, 60, ExamKind::Mixed, QStringLiteral("5  分钟"))),
             QStringLiteral("时间 5 分钟, 难度 1000 以下, 题数 60, 混和计算"));
    QCOMPARE(sheetSettingsText(settingsOf(10, 20, ExamKind::MultiplicationDivision)),
             QStringLiteral("难度 10 以下, 题数 20, 乘除法"));
}

void TestExamSheet::pdfPages_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("withAnswerKey");
    QTest::addColumn<int>("pages");
    QTest::newRow("20, one page") << 20 << false << 1;
    QTest::newRow("20 with key, key on its own page") << 20 << true << 2;
    QTest::newRow("100 break onto a second page") << 100 << false << 2;
    QTest::newRow("100 with key") << 100 << true << 4;
}

void TestExamSheet::pdfPages()
{
    QFETCH(int, count);
    QFETCH(bool, withAnswerKey);
    QFETCH(int, pages);

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    const ExamSheet sheet = makeExamSheet(settingsOf(10000, count, ExamKind::Mixed), FixedSecond);
    QCOMPARE(writeExamSheetPdf(sheet, buffer, withAnswerKey), pages);
    QVERIFY(buffer.data().startsWith("%PDF"));
    QCOMPARE(pdfPageCount(buffer.data()), pages);
}

// The print path as Ctrl+P takes it, with the dialog replaced: cancelled prints nothing; the
// printer as the dialog left it gets the sheet and, when asked, the key, but not while the
// exam runs.
void TestExamSheet::printThroughDialog()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    Window window;
    window.set(100, 20, ExamKind::AdditionSubtraction);
    window.start();

    QList<bool> offered;
    window.printing->setPrintDialog([&](QPrinter &, ExamSheetPrinting::Choice &choice) {
        offered << choice.answerKeyOffered;
        return false;
    });
    // Ctrl+P typed in an answer box, whose key filter lets shortcuts through.
    QApplication::setActiveWindow(window.form.get());
    auto *answerBox = window.form->control(ExamNames::answer(1));
    QVERIFY(answerBox);
    answerBox->setFocus();
    QTest::keyClick(answerBox, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(offered, QList<bool>{false});
    QVERIFY(!QFile::exists(path));

    window.printing->setPrintDialog([&](QPrinter &printer, ExamSheetPrinting::Choice &choice) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        choice.withAnswerKey = true;
        return true;
    });
    QCOMPARE(window.printing->print(), 1); // the exam runs: no key

    window.form->control<QAbstractButton>(ExamNames::HandInButton)->click();
    QCOMPARE(window.printing->print(), 2);
    QFile printed(path);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QCOMPARE(pdfPageCount(printed.readAll()), 2);
}

void TestExamSheet::commandLine_data()
{
    using Mode = CommandLine::Mode;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("error"); // a part of the message naming what is wrong

    const auto row = [](const char *name, QStringList arguments, Mode mode, const char *error = "") {
        QTest::newRow(name) << arguments << mode << QString::fromUtf8(error);
    };
    row("no arguments: the window", {}, Mode::Window);
    row("stray argument refused by the window", {QStringLiteral("foo")}, Mode::Invalid, "foo");
    row("unknown option refused by the window", {QStringLiteral("--bogus")}, Mode::Invalid, "--bogus");
    row("unknown short option refused by the window", {QStringLiteral("-x")}, Mode::Invalid, "-x");
    row("Qt's options left to Qt",
        {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--style=fusion"), QStringLiteral("-reverse"),
         QStringLiteral("--qwindowgeometry"), QStringLiteral("640x480+0+0")},
        Mode::Window);
    row("Qt's option value not taken as an option", {QStringLiteral("-title"), QStringLiteral("--bogus")}, Mode::Window);
    row("Qt's option without its value", {QStringLiteral("-platform")}, Mode::Invalid, "-platform");
    row("Qt's options in sheet mode", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("-platform"), QStringLiteral("offscreen")},
        Mode::Sheet);
    row("help", {QStringLiteral("--help")}, Mode::Help);
    row("sheet alone", {QStringLiteral("--sheet"), QStringLiteral("a.pdf")}, Mode::Sheet);
    row("every option, both spellings",
        {QStringLiteral("--sheet=a.PDF"), QStringLiteral("--bound"), QStringLiteral("10000"), QStringLiteral("--count=100"),
         QStringLiteral("--kind"), QStringLiteral("3"), QStringLiteral("--seed=4294967295"), QStringLiteral("--answer-key")},
        Mode::Sheet);
    row("sheet option without --sheet", {QStringLiteral("--count"), QStringLiteral("40")}, Mode::Invalid, "--count");
    row("sheet without file", {QStringLiteral("--sheet")}, Mode::Invalid, "--sheet");
    row("sheet file not pdf", {QStringLiteral("--sheet"), QStringLiteral("notes.txt")}, Mode::Invalid, "notes.txt");
    row("next option taken as file", {QStringLiteral("--sheet"), QStringLiteral("--count"), QStringLiteral("20")},
        Mode::Invalid, "--sheet");
    row("bound not offered", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--bound=50")}, Mode::Invalid, "--bound");
    row("count not offered", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--count=30")}, Mode::Invalid, "--count");
    row("count not a number", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--count=twenty")}, Mode::Invalid, "twenty");
    row("count signed", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--count=+20")}, Mode::Invalid, "--count");
    row("kind 0", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--kind=0")}, Mode::Invalid, "--kind");
    row("seed negative", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--seed=-1")}, Mode::Invalid, "--seed");
    row("seed past 32 bits", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--seed=4294967296")}, Mode::Invalid, "--seed");
    row("seed huge", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--seed=99999999999999999999999")}, Mode::Invalid, "--seed");
    row("seed empty", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--seed=")}, Mode::Invalid, "--seed");
    row("answer key with a value", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--answer-key=yes")}, Mode::Invalid,
        "--answer-key");
    row("option twice", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--count=20"), QStringLiteral("--count=40")},
        Mode::Invalid, "--count");
    row("unknown option in sheet mode", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("--cuont=40")}, Mode::Invalid,
        "--cuont");
    row("stray argument in sheet mode", {QStringLiteral("--sheet=a.pdf"), QStringLiteral("40")}, Mode::Invalid, "40");
}

void TestExamSheet::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Mode, mode);
    QFETCH(QString, error);

    const CommandLine line = parseCommandLine(arguments);
    QCOMPARE(line.mode, mode);
    if (mode == CommandLine::Mode::Invalid)
        QVERIFY2(line.error.contains(error), qPrintable(line.error));
    if (QByteArray(QTest::currentDataTag()).startsWith("every option")) {
        QCOMPARE(line.sheet.outputPath, QStringLiteral("a.PDF"));
        QCOMPARE(line.sheet.settings.bound, 10000);
        QCOMPARE(line.sheet.settings.count, 100);
        QCOMPARE(line.sheet.settings.kind, ExamKind::Mixed);
        QCOMPARE(line.sheet.seed, std::optional<qint64>(4294967295LL));
        QVERIFY(line.sheet.withAnswerKey);
    }
    if (QByteArray(QTest::currentDataTag()) == "sheet alone") {
        QCOMPARE(line.sheet.settings.bound, 100);
        QCOMPARE(line.sheet.settings.count, 20);
        QCOMPARE(line.sheet.settings.kind, ExamKind::AdditionSubtraction);
        QVERIFY(!line.sheet.seed.has_value());
        QVERIFY(!line.sheet.withAnswerKey);
    }
}

// A sheet that cannot be written says so with its own exit code and leaves no file; one that
// can replaces the file whole.
void TestExamSheet::sheetCommandWritesOrSaysWhy()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SheetCommand command;
    command.seed = FixedSecond;

    command.outputPath = dir.filePath(QStringLiteral("missing/folder/sheet.pdf"));
    QCOMPARE(runSheetCommand(command), ExitSheetNotWritten);
    QVERIFY(!QFile::exists(command.outputPath));

    command.outputPath = dir.filePath(QStringLiteral("sheet.pdf"));
    {
        QFile old(command.outputPath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file");
    }
    QCOMPARE(runSheetCommand(command), ExitSheetWritten);
    QFile written(command.outputPath);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(pdfPageCount(written.readAll()), 1);
}

int main(int argc, char *argv[])
{
    ExamApplication app(argc, argv);
    setUpExamApplication();
    TestExamSheet test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_examsheet.moc"
