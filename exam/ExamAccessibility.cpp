#include "ExamAccessibility.h"

#include "ExamControls.h"
#include "ExamGrading.h"
#include "ExamSettings.h"
#include "KAVPageControl.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

const char *const AnnouncerProperty = "kavAnnouncer";
constexpr int ExamPageCount = ExamNames::RowCount / ExamNames::RowsPerPage;

// A label whose text is news: screen readers speak a notification when it is shown, so an
// announcement is a notification that tells it is showing again.
class AnnouncerAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncerAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *announcerFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label == nullptr || !label->property(AnnouncerProperty).toBool())
        return nullptr;
    return new AnnouncerAccessible(label);
}

} // namespace

ExamAccessibility *ExamAccessibility::install(QWidget &window, const ExamControls &controls)
{
    return new ExamAccessibility(window, controls);
}

ExamAccessibility::ExamAccessibility(QWidget &window, const ExamControls &controls)
    : QObject(&window), m_window(window), m_controls(controls)
{
    setObjectName(QStringLiteral("exam_accessibility"));
    for (int row = 1; row <= ExamNames::RowCount; ++row) {
        auto *box = m_window.findChild<QLineEdit *>(ExamNames::answer(row));
        auto *mark = m_window.findChild<QLabel *>(ExamNames::mark(row));
        if (box != nullptr && mark != nullptr)
            m_rows.push_back({row, box, mark});
    }
    tieRowLabels();
    nameQuestions();

    makeAnnouncer(m_window.findChild<QLabel *>(ExamNames::Score));
    for (int page = 1; page <= ExamPageCount; ++page) {
        auto *sheet = m_window.findChild<TkavTabSheet *>(ExamNames::page(page));
        auto *pageLabel = m_window.findChild<QLabel *>(QStringLiteral("label_page%1").arg(page));
        if (sheet == nullptr || pageLabel == nullptr)
            continue;
        sheet->setAccessibleName(pageLabel->text());
        makeAnnouncer(pageLabel);
        connect(sheet, &TkavTabSheet::OnShow, this, [this, pageLabel] { m_announce(pageLabel); });
    }

    m_handIn = m_window.findChild<QAbstractButton *>(ExamNames::HandInButton);
    if (m_handIn != nullptr) {
        m_examRunning = !m_handIn->testAttribute(Qt::WA_ForceDisabled);
        m_handIn->installEventFilter(this);
    }
}

void ExamAccessibility::makeAnnouncer(QLabel *label)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(announcerFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    if (label == nullptr)
        return;
    label->setProperty(AnnouncerProperty, true);
    // With a reader listening from the start, the label was already described as plain text
    // while the window was built; that description is dropped so that the next one is ours.
    QAccessibleInterface *known = QAccessible::queryAccessibleInterface(label);
    if (known != nullptr && known->role() != QAccessible::Notification)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

void ExamAccessibility::announce(QLabel *label)
{
    if (label == nullptr || label->text().isEmpty())
        return;
    // The bridge turns this into "showing" becoming true, which readers speak for a
    // notification; the name change lets them read the new text.
    QAccessibleEvent nameChanged(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleEvent shown(label, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

// The hand-in button is enabled by the exam alone (its ancestors stay enabled), so its own
// enabled flag, not the effective one, tells whether an exam is running.
bool ExamAccessibility::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_handIn && event->type() == QEvent::EnabledChange) {
        const bool running = !m_handIn->testAttribute(Qt::WA_ForceDisabled);
        if (running != m_examRunning) {
            m_examRunning = running;
            if (running) {
                nameQuestions();
            } else {
                describeMarks();
                m_announce(m_window.findChild<QLabel *>(ExamNames::Score));
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// The question's labels and the mark label label the answer box: a reader on the box can reach
// them, and the box's own name already says the question.
void ExamAccessibility::tieRowLabels()
{
    for (const Row &row : m_rows) {
        const int n = row.number;
        for (const QString &name : {ExamNames::operand1(n), ExamNames::glyph(n), ExamNames::operand2(n),
                                    QStringLiteral("eq%1").arg(n), ExamNames::mark(n)}) {
            if (auto *label = m_window.findChild<QLabel *>(name))
                label->setBuddy(row.box);
        }
    }
}

// Rows past the question count keep the captions of an earlier exam; they are named by number
// only.
void ExamAccessibility::nameQuestions()
{
    const int count = m_examRunning ? readQuestionCount(m_controls) : 0;
    for (const Row &row : m_rows) {
        const int n = row.number;
        row.box->setAccessibleName(n <= count ? questionName(n, m_controls.labelCaption(ExamNames::operand1(n)),
                                                             m_controls.labelCaption(ExamNames::glyph(n)),
                                                             m_controls.labelCaption(ExamNames::operand2(n)))
                                              : questionName(n, {}, {}, {}));
        row.box->setAccessibleDescription(QString());
        row.mark->setToolTip(QString());
    }
}

void ExamAccessibility::describeMarks()
{
    for (const Row &row : m_rows) {
        const std::optional<Mark> mark = markFromText(row.mark->text());
        if (!mark)
            continue;
        const int n = row.number;
        const QString review =
            reviewText(*mark, expectedAnswer(m_controls.labelCaption(ExamNames::operand1(n)),
                                             m_controls.labelCaption(ExamNames::glyph(n)),
                                             m_controls.labelCaption(ExamNames::operand2(n))));
        row.box->setAccessibleDescription(review);
        row.mark->setToolTip(review);
    }
}
