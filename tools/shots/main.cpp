// Renders the exam window in its three states to PNG files:
//   kav-exam-shots OUTDIR   -> OUTDIR/exam-idle.png, exam-running.png, exam-handed-in.png
//   kav-exam-shots --help | --version
// Needs no display (renders offscreen unless QT_QPA_PLATFORM says otherwise). Exit status 1 when
// a picture cannot be written or the chosen platform has no display, 2 for a bad command line.
#include "ExamApplication.h"
#include "ExamGrading.h"
#include "ExamSettings.h"
#include "FormMain.h"

#include <QCommandLineParser>
#include <QDir>
#include <QImageWriter>
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

// Writes the window as it is now to folder/name; false (and said on stderr) when it cannot.
bool save(QWidget &window, const QDir &folder, const QString &name)
{
    const QString file = folder.filePath(name);
    QImageWriter writer(file, "png");
    if (writer.write(window.grab().toImage()))
        return true;
    QTextStream(stderr) << "kav-exam-shots: cannot write \"" << file << "\": " << writer.errorString() << '\n';
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Only pictures are made, so no display is needed: offscreen unless a platform is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt aborts when the X11 platform is asked for without a display; say so and stop instead.
    if (qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("xcb")) && qEnvironmentVariableIsEmpty("DISPLAY")) {
        QTextStream(stderr) << "kav-exam-shots: QT_QPA_PLATFORM asks for X11 but DISPLAY is not set; "
                               "unset QT_QPA_PLATFORM to render offscreen\n";
        return 1;
    }
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
    if (!save(form, out, QStringLiteral("exam-idle.png")))
        return 1;

    form.button_beginClick();
    answerSheet(form, 20);
    for (int tick = 0; tick < 75; ++tick)
        form.time_mainTimer();
    if (!save(form, out, QStringLiteral("exam-running.png")))
        return 1;

    form.button_okClick();
    return save(form, out, QStringLiteral("exam-handed-in.png")) ? 0 : 1;
}
