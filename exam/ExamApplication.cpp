#include "ExamApplication.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <QFont>
#include <QMessageBox>

#include <exception>

ExamApplication::ExamApplication(int &argc, char **argv) : QApplication(argc, argv)
{
}

bool ExamApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        m_display(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        m_display(QString());
    }
    return false;
}

void ExamApplication::showExceptionMessage(const QString &message)
{
    QMessageBox::critical(activeWindow(), ApplicationTitle, message);
}

void setUpExamApplication()
{
    // The window's fonts are named as on the systems the program was designed on; map them to
    // the installed Song-style CJK font and a plain sans.
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("Noto Serif CJK SC")});
    for (const char *family : {"MS Sans Serif", "Tahoma"})
        QFont::insertSubstitutions(QLatin1String(family),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL UMing CN")});
    QCoreApplication::setApplicationName(ApplicationTitle);
    installQtTranslation();
}

bool installQtTranslation()
{
    // Qt's own texts (the edit boxes' context menu, the buttons of message boxes) in the
    // program's language. Installed once, for the life of the application.
    static QTranslator *translator = nullptr;
    if (translator)
        return true;
    auto *candidate = new QTranslator(QCoreApplication::instance());
    if (!candidate->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete candidate;
        return false;
    }
    QCoreApplication::installTranslator(candidate);
    translator = candidate;
    return true;
}
