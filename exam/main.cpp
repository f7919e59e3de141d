#include "ExamApplication.h"
#include "FormMain.h"

#include <QMessageBox>

#include <exception>

int main(int argc, char *argv[])
{
    ExamApplication app(argc, argv);
    try {
        setUpExamApplication();
        Tform_main form_main;
        form_main.show();
        return app.exec();
    } catch (const std::exception &error) {
        ExamApplication::showExceptionMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ExamApplication::showExceptionMessage(QString());
    }
    return 1;
}
