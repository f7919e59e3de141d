#include "ExamApplication.h"
#include "FormMain.h"

#include <QScreen>

#include <exception>

int main(int argc, char *argv[])
{
    ExamApplication app(argc, argv);
    try {
        setUpExamApplication();
        Tform_main form_main;
        if (const QScreen *screen = form_main.screen())
            form_main.move(screen->availableGeometry().center() - form_main.rect().center());
        form_main.show();
        return app.exec();
    } catch (const std::exception &error) {
        ExamApplication::showExceptionMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ExamApplication::showExceptionMessage(QString());
    }
    return 1;
}
