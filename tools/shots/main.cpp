// Renders the exam window in its three states to PNG files:
//   kav-exam-shots OUTDIR   -> OUTDIR/exam-idle.png, exam-running.png, exam-handed-in.png
#include "ExamApplication.h"
#include "ExamGrading.h"
#include "ExamSettings.h"
#include "FormMain.h"

#include <QDir>
#include <QLineEdit>
#include <QTextStream>

namespace {

// Answers most rows right, one wrong, leaves the last ones empty: a realistic sheet.
void answerSheet(Tform_main &form, int count)
{
    for (int row = 1; row <= count - 3; ++row) {
        const auto expected = expectedAnswer(form.labelCaption(ExamNames::operand1(row)),
                                             form.labelCaption(ExamNames::glyph(row)),
                                             form.labelCaption(ExamNames::operand2(row)));
        int answer = expected.value_or(0);
        if (row == 4)
            ++answer;
        form.setEditText(ExamNames::answer(row), QString::number(answer));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    ExamApplication app(argc, argv);
    setUpExamApplication();
    if (argc < 2) {
        QTextStream(stderr) << "usage: kav-exam-shots OUTDIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    Tform_main form([] { return qint64(1'700'000'000); });
    form.show();
    form.grab().save(out.filePath(QStringLiteral("exam-idle.png")));

    form.button_beginClick();
    answerSheet(form, 20);
    for (int tick = 0; tick < 75; ++tick)
        form.time_mainTimer();
    form.grab().save(out.filePath(QStringLiteral("exam-running.png")));

    form.button_okClick();
    form.grab().save(out.filePath(QStringLiteral("exam-handed-in.png")));
    return 0;
}
