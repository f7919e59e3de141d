#pragma once

#include "ExamSettings.h"
#include "QuestionGenerator.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class ExamControls;
class QIODevice;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

// A printed exam sheet: the settings it was made with and its questions, in row order.
struct ExamSheet {
    ExamSettings settings;
    QList<Question> questions;
    // The seed it was drawn from, printed on the sheet so that a teacher can make it again; not
    // known for a sheet copied from the window's rows.
    std::optional<qint64> seed;
};

// The questions the window draws when its clock reads `seedSeconds` at the start: the same
// random source, seeded the same way, and the same generator, row by row.
ExamSheet makeExamSheet(const ExamSettings &settings, qint64 seedSeconds);

// The sheet the window shows now, copied from its rows 1..count of `settings`; no value when
// a row of that range holds no readable question (no exam started yet).
std::optional<ExamSheet> sheetFromRows(const ExamControls &controls, const ExamSettings &settings);

// "难度 100 以下, 题数 20, 加减法", with "时间 10 分钟, " in front when the settings have a time.
QString sheetSettingsText(const ExamSettings &settings);
// "40 + 12 =" and, for the answer key, "40 + 12 = 52".
QString sheetQuestionText(const Question &question);
QString sheetAnswerText(const Question &question);

// Paints the sheet, page after page, on a device whose painting has not begun; the answer key
// follows on pages of its own. Returns the number of pages, 0 when the device cannot be painted.
int paintExamSheet(const ExamSheet &sheet, QPagedPaintDevice &device, bool withAnswerKey);

// Writes the sheet as PDF to `output` (A4). Returns the number of pages, 0 with `error` set
// when it cannot be written.
int writeExamSheetPdf(const ExamSheet &sheet, QIODevice &output, bool withAnswerKey,
                       QString *error = nullptr);

// Ctrl+P in the exam window: Qt's print dialog, with a choice of the answer key (outside an
// exam), printing the sheet of the exam started last, or a new sheet of the current settings
// when none was started.
class ExamSheetPrinting : public QObject
{
    Q_OBJECT

public:
    // What the dialog may offer and what was chosen. The key is not offered while an exam is
    // running: the pupil at the window could print the answers to a file.
    struct Choice {
        bool answerKeyOffered = true;
        bool withAnswerKey = false;
    };
    // Sets up the printer and the choice; false when cancelled. The window uses Qt's print
    // dialog; tests put their own in its place.
    using PrintDialog = std::function<bool(QPrinter &printer, Choice &choice)>;

    // `controls` is the window's view of its controls; both outlive this child of `window`.
    ExamSheetPrinting(QWidget *window, const ExamControls &controls);

    void setPrintDialog(PrintDialog dialog) { m_dialog = std::move(dialog); }

    // The sheet Ctrl+P prints now.
    ExamSheet currentSheet() const;
    // Shows the dialog and prints; the number of pages printed, 0 when cancelled or failed.
    int print();

private:
    void examStarted();

    QWidget *m_window;
    const ExamControls &m_controls;
    PrintDialog m_dialog;
    // The settings of the exam on the window, read when it started: the count buttons may have
    // been changed since, and rows beyond the exam's count may hold an older exam's questions.
    std::optional<ExamSettings> m_examSettings;
};

// Installs Ctrl+P on the exam window (called once from the window's set-up).
ExamSheetPrinting *installSheetPrinting(QWidget *window, const ExamControls &controls);
