#include "ExamSession.h"

#include "ExamControls.h"
#include "ExamGrading.h"
#include "ExamSettings.h"
#include "QuestionGenerator.h"

#include <QDateTime>

namespace {
const QString TimeUpText = QStringLiteral("0");

// Shown in the clock box at start: the limit in seconds, or "不限时".
QString initialClockText(const TimeLimit &limit)
{
    return limit.kind == TimeLimit::Kind::Minutes ? QString::number(limit.minutes * 60) : NoTimeLimitText;
}

// The next-page button of the last page in use; none when all five pages are in use.
int hiddenNextButton(int count)
{
    const int lastPage = count / ExamNames::RowsPerPage;
    return lastPage < 5 ? 2 * lastPage - 1 : 0;
}
} // namespace

qint64 ExamSession::systemSeconds()
{
    return QDateTime::currentSecsSinceEpoch();
}

ExamSession::ExamSession(ExamControls &controls, SecondsClock clock)
    : m_controls(controls), m_clock(std::move(clock))
{
}

void ExamSession::setHandedInListener(std::function<void()> listener)
{
    m_handedIn = std::move(listener);
}

bool ExamSession::start()
{
    // A time text the program cannot read is refused before anything of the last exam is
    // cleared: silently running without a limit is not what the teacher typed.
    const ExamSettings settings = readExamSettings(m_controls);
    if (settings.timeLimit.kind == TimeLimit::Kind::Unreadable)
        return false;

    clearSheet();
    for (int button = 1; button <= ExamNames::PageButtonCount; ++button)
        m_controls.setButtonVisible(ExamNames::pageButton(button), true);
    m_controls.setActivePage(ExamNames::page(1));

    m_random.seed(quint32(m_clock()));
    if (const int hidden = hiddenNextButton(settings.count))
        m_controls.setButtonVisible(ExamNames::pageButton(hidden), false);

    m_controls.setPanelCaption(ExamNames::ExamPanel,
                               QStringLiteral("当前考场设置: 时间 ") + settings.timeLimit.caption
                                   + QStringLiteral(", 难度 ") + QString::number(settings.bound)
                                   + QStringLiteral(" 以下,") + QStringLiteral(" 题数 ")
                                   + QString::number(settings.count));
    fillRows(settings);

    m_controls.setButtonEnabled(ExamNames::BeginButton, false);
    m_controls.setButtonEnabled(ExamNames::HandInButton, true);
    m_controls.setLabelCaption(ExamNames::Score, QString());
    m_controls.setEditText(ExamNames::Clock, initialClockText(settings.timeLimit));
    m_controls.setTimerEnabled(true);
    m_controls.focusEdit(ExamNames::answer(1));
    return true;
}

void ExamSession::clearSheet()
{
    // Row 0 bears no controls; the look-up skips it. Operands stay: rows up to the new count are
    // overwritten, the rest sit on pages the page buttons no longer reach.
    for (int row = 0; row <= ExamNames::RowCount; ++row) {
        m_controls.setLabelCaption(ExamNames::mark(row), QString());
        m_controls.setEditText(ExamNames::answer(row), QString());
    }
}

void ExamSession::fillRows(const ExamSettings &settings)
{
    for (int row = 1; row <= settings.count; ++row) {
        const Operation operation = operationForRow(settings.kind, row, settings.count);
        const Question question = makeQuestion(operation, settings.kind, settings.bound, m_random);
        m_controls.setLabelCaption(ExamNames::operand1(row), QString::number(question.operand1));
        m_controls.setLabelCaption(ExamNames::operand2(row), QString::number(question.operand2));
        m_controls.setLabelCaption(ExamNames::glyph(row), operatorGlyph(question.operation));
    }
}

void ExamSession::tick()
{
    const QString clockText = m_controls.editText(ExamNames::Clock);
    const std::optional<qint32> secondsLeft = readAnswer(clockText);
    // "不限时" (and anything else that is not a count of seconds) leaves the clock alone.
    if (!secondsLeft || *secondsLeft <= 0)
        return;
    m_controls.setEditText(ExamNames::Clock, QString::number(*secondsLeft - 1));
}

void ExamSession::clockChanged(const QString &clockText)
{
    if (clockText == TimeUpText)
        handIn(HandIn::TimeUp);
}

void ExamSession::handIn(HandIn how)
{
    m_controls.setTimerEnabled(false);
    m_controls.setEditText(ExamNames::Clock, QString());

    Tally tally;
    const int count = readQuestionCount(m_controls);
    for (int row = 1; row <= count; ++row) {
        const std::optional<qint32> expected =
            expectedAnswer(m_controls.labelCaption(ExamNames::operand1(row)),
                           m_controls.labelCaption(ExamNames::glyph(row)),
                           m_controls.labelCaption(ExamNames::operand2(row)));
        const Mark mark = gradeAnswer(expected, m_controls.editText(ExamNames::answer(row)));
        m_controls.setLabelCaption(ExamNames::mark(row), markText(mark));
        m_controls.setLabelColor(ExamNames::mark(row), markColor(mark));
        tally.add(mark);
    }

    m_controls.setLabelCaption(ExamNames::Score,
                               scoreReport(count, tally, how == HandIn::ByButton));
    m_controls.setButtonEnabled(ExamNames::BeginButton, true);
    m_controls.setButtonEnabled(ExamNames::HandInButton, false);
    if (m_handedIn)
        m_handedIn();
}
