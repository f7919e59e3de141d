#pragma once

#include <QApplication>

#include <functional>

// The program's application object: an exception that escapes an event handler is shown in a
// message box and the program goes on, so a pupil never loses an exam to one.
class ExamApplication : public QApplication
{
public:
    using ExceptionDisplay = std::function<void(const QString &message)>;

    ExamApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Replaces the message box (tests record the message instead).
    void setExceptionDisplay(ExceptionDisplay display) { m_display = std::move(display); }
    static void showExceptionMessage(const QString &message);

private:
    ExceptionDisplay m_display = &ExamApplication::showExceptionMessage;
};

// Font substitutions, the application title and Qt's texts in Chinese; shared by the program and
// its tests.
void setUpExamApplication();
// Loads Qt's own Chinese texts (package qt6-translations-l10n); false when they are not installed.
bool installQtTranslation();

inline const QString ApplicationTitle = QStringLiteral("Velmora软件---Tallisk 1.2");
