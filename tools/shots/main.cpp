// Renders the exam window in its three states to PNG files:
//   kav-exam-shots OUTDIR   -> OUTDIR/exam-idle.png, exam-running.png, exam-handed-in.png
//   kav-exam-shots --help | --version
#include "ExamApplication.h"
#include "ExamGrading.h"
#include "ExamSettings.h"
#include "FormMain.h"

#include <QCommandLineParser>
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

    // Parsed before the exam set-up installs the program's translation of Qt's own texts, so
    // that the help of this developer tool stays in English.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the exam window idle, during an exam and "
                                                    "after a hand-in to PNG files."));
    parser.addPositionalArgument(QStringLiteral("OUTDIR"),
                                 QStringLiteral("Where exam-idle.png, exam-running.png and "
                                                "exam-handed-in.png are written."));
    // Not addHelpOption(): its --help-all would need a branch of its own here.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments())) {
        QTextStream(stderr) << "kav-exam-shots: " << parser.errorText() << "\nusage: kav-exam-shots OUTDIR\n";
        return 2;
    }
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        QTextStream(stdout) << "kav-exam-shots " KAV_PROJECT_VERSION "\n";
        return 0;
    }
    if (parser.positionalArguments().isEmpty()) {
        QTextStream(stderr) << "usage: kav-exam-shots OUTDIR\n";
        return 2;
    }
    setUpExamApplication();
    const QDir out(parser.positionalArguments().constFirst());
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
