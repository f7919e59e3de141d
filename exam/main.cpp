#include "ExamApplication.h"
#include "FormMain.h"

#include <QScreen>
#include <QTextStream>

#include <exception>

namespace {

int runWindow()
{
    Tform_main form_main;
    if (const QScreen *screen = form_main.screen())
        form_main.move(screen->availableGeometry().center() - form_main.rect().center());
    form_main.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // A sheet needs no window, so it needs no display either (a teacher may make a class set
    // on a machine without one).
    if (sheetModeRequested(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ExamApplication app(argc, argv);
    try {
        setUpExamApplication();
        const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments().mid(1));
        switch (commandLine.mode) {
        case CommandLine::Mode::Help:
            QTextStream(stdout) << commandLineUsage();
            return 0;
        case CommandLine::Mode::Invalid:
            QTextStream(stderr) << QStringLiteral("tallisk: ") << commandLine.error << '\n'
                                << commandLineUsage();
            return ExitInvalidOptions;
        case CommandLine::Mode::Sheet:
            return runSheetCommand(commandLine.sheet);
        case CommandLine::Mode::Window:
            break;
        }
        return runWindow();
    } catch (const std::exception &error) {
        ExamApplication::showExceptionMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ExamApplication::showExceptionMessage(QString());
    }
    return 1;
}
