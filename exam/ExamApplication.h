#pragma once

#include "ExamSettings.h"

#include <QApplication>

#include <functional>
#include <optional>

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

// "tallisk --sheet FILE.pdf [--bound N] [--count N] [--kind N] [--seed N] [--answer-key]" writes
// a sheet as PDF and opens no window.
struct SheetCommand {
    QString outputPath;
    ExamSettings settings; // the panel's defaults
    std::optional<qint64> seed; // the window's clock second; now when not given
    bool withAnswerKey = false;
};

struct CommandLine {
    enum class Mode { Window, Sheet, Help, Invalid };
    Mode mode = Mode::Window;
    SheetCommand sheet;
    QString error; // for Invalid: what is wrong, in one line
};

// Exit codes of the sheet mode.
inline constexpr int ExitSheetWritten = 0;
inline constexpr int ExitSheetNotWritten = 1;
inline constexpr int ExitInvalidOptions = 2;

// `arguments` without the program's name. Qt's own options (-platform, -style, ...) are left to
// QApplication; sheet options without --sheet, unknown options, stray arguments, missing or bad
// values are Invalid.
CommandLine parseCommandLine(const QStringList &arguments);
QString commandLineUsage();
// Writes the sheet; messages go to stdout on success, stderr on failure. Returns an exit code.
int runSheetCommand(const SheetCommand &command);
