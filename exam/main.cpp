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
    // The command line is read before the application exists: a sheet, the usage and a refused
    // option need no window, so they need no display either (a teacher may make a class set on
    // a machine without one).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
        QTextStream(stdout) << commandLineUsage();
        return 0;
    case CommandLine::Mode::Invalid:
        QTextStream(stderr) << QStringLiteral("tallisk: ") << commandLine.error << '\n' << commandLineUsage();
        return ExitInvalidOptions;
    case CommandLine::Mode::Sheet:
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        break;
    case CommandLine::Mode::Window:
        break;
    }

    ExamApplication app(argc, argv);
    try {
        setUpExamApplication();
        if (commandLine.mode == CommandLine::Mode::Sheet)
            return runSheetCommand(commandLine.sheet);
        return runWindow();
    } catch (const std::exception &error) {
        ExamApplication::showExceptionMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ExamApplication::showExceptionMessage(QString());
    }
    return 1;
}
