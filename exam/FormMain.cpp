#include "FormMain.h"

#include "AnswerKeyFilter.h"
#include "AnswerValidator.h"
#include "ExamAccessibility.h"
#include "ExamLeaveQuestion.h"
#include "ExamPictures.h"
#include "ExamSettings.h"
#include "ExamSheet.h"
#include "FormStyle.h"
#include "KAVErrorBox.h"
#include "KAVCheckBox.h"
#include "KAVForm.h"
#include "KAVTitleBar.h"
#include "KAVPageControl.h"
#include "ui_form_main.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSplitter>
#include <QUrl>

namespace {
constexpr int SettingsPanelWidth = 153;
// Narrower than this, the settings panel would cut its start and exit buttons and the choices'
// captions.
constexpr int SettingsPanelMinWidth = 130;
// The exam panel's frame line beyond its page control.
constexpr int ExamPanelBorder = 2;
// Blank space between an answer box's border and its digits, on the left and on the right.
constexpr int AnswerInnerSpace = 3;

// Page button N shows this page.
constexpr int PageButtonTargets[] = {0, 2, 1, 3, 2, 4, 3, 5, 4};
constexpr int PageCount = ExamNames::RowCount / ExamNames::RowsPerPage;

int rowOfAnswerBox(const QWidget *box)
{
    const QString name = box->objectName();
    return name.startsWith(u"tr") ? name.mid(2).toInt() : 0;
}
} // namespace

Tform_main::Tform_main(ExamSession::SecondsClock clock, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::form_main>()), m_session(*this, std::move(clock))
{
    {
        // The settings' check states are applied while loading: no click events for them.
        TkavFormLoading loading(this);
        m_ui->setupUi(this);
    }
    setObjectName(QStringLiteral("form_main"));
    applyFormStyle(this);
    setFixedSize(798, 570);
    setWindowIcon(ExamPictures::windowIcon());
    // The settings panel keeps its width; the exam panel takes the rest.
    m_ui->Splitter1->setStretchFactor(0, 0);
    m_ui->Splitter1->setStretchFactor(1, 1);
    m_ui->Splitter1->setSizes({SettingsPanelWidth, width() - SettingsPanelWidth});
    // Neither panel can be dragged so narrow that its controls leave the window: the exam panel
    // keeps its whole page control (and so the questions and "我要交卷").
    m_ui->panel_left->setMinimumWidth(SettingsPanelMinWidth);
    m_ui->panel_right->setMinimumWidth(m_ui->page_kaochang->geometry().right() + 1 + ExamPanelBorder);

    m_timeMain = new QTimer(this);
    m_timeMain->setObjectName(QStringLiteral("time_main"));
    m_timeMain->setInterval(1000);

    m_keyFilter = new AnswerKeyFilter(this);
    auto *digitsOnly = new AnswerValidator(this);
    const bool qtSpeaksChinese = QCoreApplication::translate("QLineEdit", "&Paste") != QLatin1String("&Paste");
    for (int row = 1; row <= ExamNames::RowCount; ++row) {
        if (auto *box = control<QLineEdit>(ExamNames::answer(row))) {
            m_keyFilter->watch(box);
            box->setValidator(digitsOnly);
            const QMargins margins = box->textMargins();
            box->setTextMargins(margins.left() + AnswerInnerSpace, margins.top(),
                                margins.right() + AnswerInnerSpace, margins.bottom());
            // The boxes' context menu is Qt's own; a pupil gets it in Chinese or not at all.
            if (!qtSpeaksChinese)
                box->setContextMenuPolicy(Qt::NoContextMenu);
        }
    }

    // The sheets were added in form order, the last one becoming active: the exam opens on the
    // welcome page.
    control<TkavPageControl>(QStringLiteral("page_kaochang"))->setActivePage(control<TkavTabSheet>(ExamNames::Welcome));

    // The score line takes the focus after a hand-in, so that a pupil on the keyboard lands on
    // the result; while it is empty it is no stop for Tab.
    m_ui->score_text->setFocusPolicy(Qt::NoFocus);
    m_session.setHandedInListener([this] {
        // A question about leaving an unfinished exam no longer applies once it is handed in
        // (the clock ran out while it was open): the pupil sees the result instead.
        if (m_leaveQuestion)
            m_leaveQuestion->done(QMessageBox::No);
        focusScore();
    });

    styleFrame();
    placePictures();
    connectHandlers();
    FormCreate();
    // Question names, mark reviews and announcements for screen readers.
    ExamAccessibility::install(*this, *this);
}

Tform_main::~Tform_main() = default;

void Tform_main::styleFrame()
{
    TkavForm *frame = m_ui->sform_main;
    QFont captionFont(QStringLiteral("宋体"));
    captionFont.setPixelSize(12);
    captionFont.setBold(true);
    frame->setTitleFont(captionFont);
    // The exam window cannot be maximised: control box, close and minimise only.
    TkavTitleBarButtons *buttons = frame->TitleBarButtons();
    buttons->clear();
    for (const TkavTitleBarBtnType type : {KavTitleBar::kavControlBox, KavTitleBar::kavClose, KavTitleBar::kavMin}) {
        TkavTitleBarButton *button = buttons->add();
        button->setButtonType(type);
        button->setUIStyle(frame->UIStyle());
    }
}

void Tform_main::placePictures()
{
    ExamPictures::placeOn(this);
    for (const char *name : {"Image3", "Image4", "Image5"})
        control(QLatin1String(name))->installEventFilter(this);
}

void Tform_main::connectHandlers()
{
    connect(m_ui->button_begin, &QAbstractButton::clicked, this, &Tform_main::button_beginClick);
    connect(m_ui->button_exit, &QAbstractButton::clicked, this, &Tform_main::button_exitClick);
    connect(m_ui->button_ok, &QAbstractButton::clicked, this, &Tform_main::button_okClick);
    connect(m_timeMain, &QTimer::timeout, this, &Tform_main::time_mainTimer);
    connect(m_ui->edit_time, &QLineEdit::textChanged, this, &Tform_main::edit_timeChange);
    for (int button = 1; button <= ExamNames::PageButtonCount; ++button) {
        const int target = PageButtonTargets[button];
        connect(control<QAbstractButton>(ExamNames::pageButton(button)), &QAbstractButton::clicked,
                this, [this, target] { showPage(target); });
    }
    connect(m_keyFilter, &AnswerKeyFilter::enterPressed, this, &Tform_main::moveOnFrom);
    installSheetPrinting(this, *this); // Ctrl+P prints the sheet
}

void Tform_main::showPage(int page)
{
    setActivePage(ExamNames::page(page));
    // The button that was pressed sits on the page now disabled: without this the focus would
    // be nowhere and the pupil's next digits lost.
    focusEdit(ExamNames::answer((page - 1) * ExamNames::RowsPerPage + 1));
}

void Tform_main::moveOnFrom(QWidget *answerBox)
{
    const int row = rowOfAnswerBox(answerBox);
    QWidget *next = nullptr;
    if (row % ExamNames::RowsPerPage != 0) {
        next = control(ExamNames::answer(row + 1));
    } else if (const int page = row / ExamNames::RowsPerPage; page >= 1 && page < PageCount) {
        // The last box of a page: on to the page's "下一页" (its odd-numbered button), which the
        // start hides on the last page in use; from there, or from the last page, "我要交卷".
        next = control(ExamNames::pageButton(2 * page - 1));
    }
    if (!next || !next->isVisibleTo(this) || !next->isEnabled())
        next = m_ui->button_ok;
    if (next->isVisibleTo(this) && next->isEnabled())
        next->setFocus(Qt::TabFocusReason);
    else
        focusNextChild(); // no exam running: as Tab would
}

void Tform_main::focusScore()
{
    m_ui->score_text->setFocusPolicy(Qt::StrongFocus);
    m_ui->score_text->setFocus(Qt::OtherFocusReason);
}

// The welcome page's pictures open their web address when clicked.
bool Tform_main::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
        QDesktopServices::openUrl(QUrl(widget->property("url").toString()));
    return false;
}

void Tform_main::closeEvent(QCloseEvent *event)
{
    if (mayLeave())
        event->accept();
    else
        event->ignore();
}

bool Tform_main::mayLeave()
{
    if (!isExamRunning())
        return true;
    if (m_leaveQuestion) {
        // Asked already (a second close request while the question is open): one answer.
        m_leaveQuestion->raise();
        m_leaveQuestion->activateWindow();
        return false;
    }
    const QPointer<QWidget> focus = focusWidget();
    // The clock goes on ticking in the question's event loop: the exam's time is real time.
    const std::unique_ptr<QMessageBox> question(ExamLeaveQuestion::create(this));
    m_leaveQuestion = question.get();
    const bool leave = question->exec() == QMessageBox::Yes;
    m_leaveQuestion = nullptr;
    if (leave) {
        // The pupil gave the exam up: its clock stops with the window.
        m_timeMain->stop();
        return true;
    }
    if (focus && isExamRunning()) {
        activateWindow();
        focus->setFocus(Qt::OtherFocusReason);
    }
    return false;
}

void Tform_main::FormCreate()
{
    m_ui->button_begin->setEnabled(true);
    m_ui->button_ok->setEnabled(false);
}

void Tform_main::button_beginClick()
{
    if (m_session.start()) {
        m_ui->score_text->setFocusPolicy(Qt::NoFocus);
        return;
    }
    Kav::KavErrorBox(this, timeLimitRefusal(comboText(ExamNames::TimeBox)));
    m_ui->combox_time->setFocus(Qt::OtherFocusReason);
}

void Tform_main::button_exitClick()
{
    close();
}

void Tform_main::button_okClick()
{
    m_session.handIn(ExamSession::HandIn::ByButton);
}

void Tform_main::time_mainTimer()
{
    m_session.tick();
}

void Tform_main::edit_timeChange(const QString &text)
{
    m_session.clockChanged(text);
}

QString Tform_main::labelCaption(const QString &name) const
{
    const auto *label = control<QLabel>(name);
    return label ? label->text() : QString();
}

void Tform_main::setLabelCaption(const QString &name, const QString &caption)
{
    if (auto *label = control<QLabel>(name))
        label->setText(caption);
}

void Tform_main::setLabelColor(const QString &name, const QColor &color)
{
    if (auto *label = control<QLabel>(name)) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, color);
        label->setPalette(palette);
    }
}

QString Tform_main::editText(const QString &name) const
{
    const auto *edit = control<QLineEdit>(name);
    return edit ? edit->text() : QString();
}

void Tform_main::setEditText(const QString &name, const QString &text)
{
    if (auto *edit = control<QLineEdit>(name))
        edit->setText(text);
}

void Tform_main::focusEdit(const QString &name)
{
    if (auto *edit = control<QLineEdit>(name))
        edit->setFocus(Qt::OtherFocusReason);
}

bool Tform_main::isRadioChecked(const QString &name) const
{
    const auto *radio = control<QAbstractButton>(name);
    return radio && radio->isChecked();
}

QString Tform_main::comboText(const QString &name) const
{
    const auto *combo = control<QComboBox>(name);
    return combo ? combo->currentText() : QString();
}

void Tform_main::setButtonEnabled(const QString &name, bool enabled)
{
    if (auto *button = control<QAbstractButton>(name))
        button->setEnabled(enabled);
}

void Tform_main::setButtonVisible(const QString &name, bool visible)
{
    if (auto *button = control<QAbstractButton>(name))
        button->setVisible(visible);
}

void Tform_main::setPanelCaption(const QString &name, const QString &caption)
{
    if (QWidget *panel = control(name))
        panel->setProperty("Caption", caption);
}

void Tform_main::setActivePage(const QString &pageName)
{
    auto *pages = control<TkavPageControl>(QStringLiteral("page_kaochang"));
    if (auto *page = control<TkavTabSheet>(pageName); pages && page)
        pages->setActivePage(page);
}

void Tform_main::setTimerEnabled(bool enabled)
{
    if (enabled)
        m_timeMain->start();
    else
        m_timeMain->stop();
}
