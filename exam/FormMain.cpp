#include "FormMain.h"

#include "AnswerKeyFilter.h"
#include "AnswerValidator.h"
#include "ExamAccessibility.h"
#include "ExamPictures.h"
#include "ExamSettings.h"
#include "ExamSheet.h"
#include "FormStyle.h"
#include "KAVCheckBox.h"
#include "KAVForm.h"
#include "KAVTitleBar.h"
#include "KAVPageControl.h"
#include "ui_form_main.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <QUrl>

namespace {
constexpr int SettingsPanelWidth = 153;

// Page button N shows this page.
const char *const PageButtonTargets[] = {nullptr,  "tab_kc2", "tab_kc1", "tab_kc3", "tab_kc2",
                                         "tab_kc4", "tab_kc3", "tab_kc5", "tab_kc4"};
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
            // The boxes' context menu is Qt's own; a pupil gets it in Chinese or not at all.
            if (!qtSpeaksChinese)
                box->setContextMenuPolicy(Qt::NoContextMenu);
        }
    }

    // The sheets were added in form order, the last one becoming active: the exam opens on the
    // welcome page.
    control<TkavPageControl>(QStringLiteral("page_kaochang"))->setActivePage(control<TkavTabSheet>(ExamNames::Welcome));

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
        const QString target = QLatin1String(PageButtonTargets[button]);
        connect(control<QAbstractButton>(ExamNames::pageButton(button)), &QAbstractButton::clicked,
                this, [this, target] { setActivePage(target); });
    }
    installSheetPrinting(this, *this); // Ctrl+P prints the sheet
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

void Tform_main::FormCreate()
{
    m_ui->button_begin->setEnabled(true);
    m_ui->button_ok->setEnabled(false);
}

void Tform_main::button_beginClick()
{
    m_session.start();
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
