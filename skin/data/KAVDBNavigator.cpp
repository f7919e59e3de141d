#include "KAVDBNavigator.h"

#include "KAVMetrics.h"
#include "KAVPictureStore.h"
#include "KAVStrings.h"
#include "KAVThemes.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMetaEnum>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

using namespace KavNav;

namespace {

constexpr std::array<int, NavigateBtnCount> DefaultHintIds = {
    KavString::FirstRecord, KavString::PriorRecord, KavString::NextRecord, KavString::LastRecord,
    KavString::InsertRecord, KavString::DeleteRecord, KavString::EditRecord, KavString::PostEdit,
    KavString::CancelEdit, KavString::RefreshRecord,
};

TkavDBNavigator::ConfirmQuestion &confirmQuestion()
{
    static TkavDBNavigator::ConfirmQuestion question;
    return question;
}

bool askInBox(QWidget *parent, const QString &caption, const QString &text)
{
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok)
        == QMessageBox::Ok;
}

// The glyph of a button: its frame of the navigator's strip, the same image for every navigator.
QImage glyphOf(TNavigateBtn index)
{
    static const std::array<QImage, NavigateBtnCount> glyphs = [] {
        std::array<QImage, NavigateBtnCount> frames;
        for (int i = 0; i < NavigateBtnCount; ++i)
            frames[std::size_t(i)] = Kav::TkavPictureStore::instance()
                                         .resourcePicture(QStringLiteral("DBNAV_BUTTON"),
                                                          Kav::PictureRecipe{NavigateBtnCount, i + 1})
                                         .image();
        return frames;
    }();
    return glyphs[index];
}

} // namespace

// ---- Layout ------------------------------------------------------------------------------------

Kav::NavigatorLayout Kav::KavNavigatorLayout(QSize asked, TButtonSet visible, bool keepWidth)
{
    using Kav::Metrics::NavigatorButtonMinSize;
    int count = 0;
    for (int i = 0; i < NavigateBtnCount; ++i)
        count += contains(visible, TNavigateBtn(i)) ? 1 : 0;
    count = std::max(count, 1);

    NavigatorLayout layout;
    int width = std::max(asked.width(), count * NavigatorButtonMinSize.width());
    const int height = std::max(asked.height(), NavigatorButtonMinSize.height());
    layout.buttonWidth = width / count;
    if (!keepWidth)
        width = count * layout.buttonWidth;
    layout.size = QSize(width, height);

    // The remainder goes one pixel at a time to buttons spread along the row: a counter that
    // starts in the middle takes the remainder off at each button and gives a pixel whenever it
    // goes below zero.
    const int remainder = width - count * layout.buttonWidth;
    int counter = count / 2;
    int x = 0;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        if (!contains(visible, TNavigateBtn(i))) {
            layout.buttons[std::size_t(i)] = QRect(width + 1, 0, layout.buttonWidth, height);
            continue;
        }
        int extra = 0;
        if (remainder != 0) {
            counter -= remainder;
            if (counter < 0) {
                counter += count;
                extra = 1;
            }
        }
        layout.buttons[std::size_t(i)] = QRect(x, 0, layout.buttonWidth + extra, height);
        x += layout.buttonWidth + extra;
    }
    return layout;
}

// ---- TkavNavButton -----------------------------------------------------------------------------

TkavNavButton::TkavNavButton(TkavDBNavigator *navigator, TNavigateBtn index)
    : TkavButton(navigator)
    , m_navigator(navigator)
    , m_index(index)
{
    setTabStop(false);
    // The navigator repeats its own way (a delay, then a shorter interval); the button's own
    // repeat would only tick for nothing.
    setMouseContinuouslyDownInterval(0);
    setSpacing(-1);
    setObjectName(QString::fromLatin1(QMetaEnum::fromType<TNavigateBtn>().valueToKey(index)));
}

TkavNavButton::~TkavNavButton() = default;

void TkavNavButton::setAllowTimer(bool allow)
{
    m_allowTimer = allow;
    if (!allow)
        StopRepeat();
}

void TkavNavButton::StopRepeat()
{
    m_timer.reset();
}

void TkavNavButton::startRepeatTimer(int intervalMs)
{
    // Replacing the timer from inside its own tick is allowed.
    m_timer = TkavCustomButton::newRepeatTimer(this);
    m_timer->start(intervalMs, [this] { repeatTick(); });
}

void TkavNavButton::repeatTick()
{
    if (!isDown()) {
        StopRepeat();
        return;
    }
    if (m_firstTick) {
        m_firstTick = false;
        startRepeatTimer(Kav::Metrics::NavigatorRepeatIntervalMs);
    }
    QPointer<TkavNavButton> guard(this);
    const bool done = m_navigator->BtnClick(m_index);
    if (guard && !done)
        StopRepeat();
}

void TkavNavButton::mousePressEvent(QMouseEvent *e)
{
    QPointer<TkavNavButton> guard(this);
    if (e->button() == Qt::LeftButton)
        m_navigator->buttonPressed(this);
    if (!guard)
        return;
    TkavButton::mousePressEvent(e);
    if (guard && m_allowTimer && e->button() == Qt::LeftButton && isDown()) {
        m_firstTick = true;
        startRepeatTimer(Kav::Metrics::NavigatorRepeatDelayMs);
    }
}

void TkavNavButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        StopRepeat();
    TkavButton::mouseReleaseEvent(e);
}

void TkavNavButton::changeEvent(QEvent *e)
{
    // A button disabled while held (the data set reached its end) gets no release.
    if (e->type() == QEvent::EnabledChange && !isEnabled())
        StopRepeat();
    TkavButton::changeEvent(e);
}

void TkavNavButton::hideEvent(QHideEvent *e)
{
    StopRepeat();
    TkavButton::hideEvent(e);
}

void TkavNavButton::drawFace(QImage &face) const
{
    TkavButton::drawFace(face);
    if (!m_navigator->hasFocus() || m_navigator->FocusedButton() != m_index)
        return;
    // The navigator's focus sits on one of its buttons: a dotted frame 3 pixels in, following
    // the pressed face down and right.
    QRect frame = QRect(QPoint(0, 0), size()).adjusted(3, 3, -4, -4);
    if (looksPressed())
        frame.translate(1, 1);
    if (frame.isEmpty())
        return;
    QPainter painter(&face);
    painter.setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
}

// ---- TkavNavDataLink ---------------------------------------------------------------------------

void TkavNavDataLink::ActiveChanged()
{
    if (m_navigator)
        m_navigator->ActiveChanged();
}

void TkavNavDataLink::EditingChanged()
{
    if (m_navigator)
        m_navigator->EditingChanged();
}

void TkavNavDataLink::DataSetChanged()
{
    if (m_navigator)
        m_navigator->DataChanged();
}

// ---- TkavDBNavigator ---------------------------------------------------------------------------

TkavDBNavigator::TkavDBNavigator(QWidget *parent)
    : TkavPlatformPanel(parent)
    , m_link(this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    InitButtons();
    InitHints();
    resize(Kav::Metrics::NavigatorSize);
    applyLayout();
    m_look.attach(this, [this](const KavThemeValues &) {
        // The buttons take the navigator's look as it was given.
        for (TkavNavButton *button : m_buttons) {
            button->setFileTheme(FileTheme());
            button->setUIStyle(UIStyle());
        }
        update();
    });
    ActiveChanged();
}

TkavDBNavigator::~TkavDBNavigator()
{
    m_link.clearNavigator();
}

void TkavDBNavigator::InitButtons()
{
    for (int i = 0; i < NavigateBtnCount; ++i) {
        const auto index = TNavigateBtn(i);
        auto *button = new TkavNavButton(this, index);
        button->setGlyph(glyphOf(index));
        button->setVisible(contains(m_visibleButtons, index));
        connect(button, &TkavCustomButton::OnClick, this, [this, button] { buttonClicked(button); });
        m_buttons[std::size_t(i)] = button;
    }
    m_buttons[nbPrior]->setAllowTimer(true);
    m_buttons[nbNext]->setAllowTimer(true);
}

QStringList TkavDBNavigator::DefaultHints()
{
    static const QStringList hints = [] {
        QStringList list;
        for (int id : DefaultHintIds)
            list.append(Kav::KavLoadString(id));
        return list;
    }();
    return hints;
}

void TkavDBNavigator::InitHints()
{
    const QStringList defaults = DefaultHints();
    for (int i = 0; i < NavigateBtnCount; ++i) {
        QString hint = defaults.value(i);
        if (i < m_customHints.size() && !m_customHints.at(i).isEmpty())
            hint = m_customHints.at(i);
        m_buttons[std::size_t(i)]->setToolTip(hint);
        m_buttons[std::size_t(i)]->setAccessibleName(hint);
    }
}

void TkavDBNavigator::setHints(const QStringList &hints)
{
    if (hints.join(u'\n') == DefaultHints().join(u'\n'))
        m_customHints.clear();
    else
        m_customHints = hints;
    InitHints();
}

void TkavDBNavigator::setDataSource(TkavDataSource *dataSource)
{
    // The link tells of the change (ActiveChanged), and of the source's destruction later.
    m_link.setDataSource(dataSource);
}

void TkavDBNavigator::setVisibleButtons(TButtonSet buttons)
{
    buttons &= AllButtons;
    m_visibleButtons = buttons;
    for (int i = 0; i < NavigateBtnCount; ++i)
        m_buttons[std::size_t(i)]->setVisible(contains(buttons, TNavigateBtn(i)));
    // The focus stays on a button that can be seen.
    if (!contains(buttons, m_focusedButton)) {
        for (int i = 0; i < NavigateBtnCount; ++i) {
            if (contains(buttons, TNavigateBtn(i))) {
                setFocusedButton(TNavigateBtn(i));
                break;
            }
        }
    }
    applyLayout();
    update();
}

void TkavDBNavigator::applyLayout()
{
    if (m_placing || !hasButtons())
        return;
    m_placing = true;
    const bool keepWidth = Align() != KavLayout::alNone || placedByLayout();
    const Kav::NavigatorLayout layout = Kav::KavNavigatorLayout(size(), m_visibleButtons, keepWidth);
    int visibleCount = 0;
    for (int i = 0; i < NavigateBtnCount; ++i)
        visibleCount += contains(m_visibleButtons, TNavigateBtn(i)) ? 1 : 0;
    setMinimumSize(std::max(visibleCount, 1) * Kav::Metrics::NavigatorButtonMinSize.width(),
                   Kav::Metrics::NavigatorButtonMinSize.height());
    if (layout.size != size())
        resize(layout.size);
    for (int i = 0; i < NavigateBtnCount; ++i)
        m_buttons[std::size_t(i)]->setGeometry(layout.buttons[std::size_t(i)]);
    m_placing = false;
}

void TkavDBNavigator::AlignChanged()
{
    TkavPlatformPanel::AlignChanged();
    applyLayout();
}

void TkavDBNavigator::resizeEvent(QResizeEvent *event)
{
    TkavPlatformPanel::resizeEvent(event);
    applyLayout();
}

void TkavDBNavigator::paintPanel(QImage &) const
{
    // The buttons cover the navigator; what shows between them is the backdrop.
}

// ---- Enabling ----------------------------------------------------------------------------------

bool TkavDBNavigator::isActive() const
{
    return isEnabled() && m_link.Active();
}

bool TkavDBNavigator::hasButtons() const
{
    // An enabled change can reach the navigator while it is being made, before its buttons are.
    return m_buttons[NavigateBtnCount - 1] != nullptr;
}

void TkavDBNavigator::DataChanged()
{
    if (!hasButtons())
        return;
    const bool active = isActive();
    const TkavDataSet *dataSet = m_link.DataSet();
    const bool up = active && !dataSet->Bof();
    const bool down = active && !dataSet->Eof();
    m_buttons[nbFirst]->setEnabled(up);
    m_buttons[nbPrior]->setEnabled(up);
    m_buttons[nbNext]->setEnabled(down);
    m_buttons[nbLast]->setEnabled(down);
    updateDeleteButton();
}

void TkavDBNavigator::updateDeleteButton()
{
    // Bof and Eof are both true on the one record of a one-record data set too; only an empty
    // data set has nothing to delete.
    const TkavDataSet *dataSet = m_link.DataSet();
    m_buttons[nbDelete]->setEnabled(isActive() && dataSet->CanModify() && !dataSet->IsEmpty());
}

void TkavDBNavigator::EditingChanged()
{
    if (!hasButtons())
        return;
    const bool canModify = isActive() && m_link.DataSet()->CanModify();
    const bool editing = m_link.Editing();
    m_buttons[nbInsert]->setEnabled(canModify);
    m_buttons[nbRefresh]->setEnabled(canModify);
    m_buttons[nbEdit]->setEnabled(canModify && !editing);
    m_buttons[nbPost]->setEnabled(canModify && editing);
    m_buttons[nbCancel]->setEnabled(canModify && editing);
    // Whether the data set may be modified is told as an editing change (ReadOnly switched on an
    // open data set): Delete follows it too.
    updateDeleteButton();
}

void TkavDBNavigator::ActiveChanged()
{
    if (!hasButtons())
        return;
    if (!isActive()) {
        for (TkavNavButton *button : m_buttons)
            button->setEnabled(false);
        return;
    }
    DataChanged();
    EditingChanged();
}

void TkavDBNavigator::changeEvent(QEvent *event)
{
    TkavPlatformPanel::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        ActiveChanged();
}

// ---- Actions -----------------------------------------------------------------------------------

TkavDBNavigator::ConfirmQuestion TkavDBNavigator::setConfirmQuestion(ConfirmQuestion question)
{
    ConfirmQuestion previous = std::move(confirmQuestion());
    confirmQuestion() = std::move(question);
    return previous;
}

bool TkavDBNavigator::confirm(const QString &text)
{
    const QString caption = Kav::KavLoadString(KavString::ConfirmCaption);
    const ConfirmQuestion &question = confirmQuestion();
    return question ? question(this, caption, text) : askInBox(this, caption, text);
}

bool TkavDBNavigator::BtnClick(TNavigateBtn index)
{
    QPointer<TkavDBNavigator> guard(this);
    TkavDataSource *source = DataSource();
    if (source && source->State() != TkavDataSet::dsInactive) {
        Q_EMIT BeforeAction(this, index);
        // The handler may have closed the data set or switched the source.
        if (!guard)
            return false;
        QPointer<TkavDataSet> dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
        if (dataSet) {
            bool done = true;
            switch (index) {
            case nbFirst:
                done = dataSet->First();
                break;
            case nbPrior:
                done = dataSet->Prior();
                break;
            case nbNext:
                done = dataSet->Next();
                break;
            case nbLast:
                done = dataSet->Last();
                break;
            case nbInsert:
                done = dataSet->Insert();
                break;
            case nbDelete:
                if (!m_confirmDelete || confirm(Kav::KavLoadString(KavString::DeleteRecordQuestion))) {
                    if (dataSet)
                        done = dataSet->Delete();
                }
                break;
            case nbEdit:
                done = dataSet->Edit();
                break;
            case nbPost:
                done = dataSet->Post();
                break;
            case nbCancel:
                dataSet->Cancel();
                break;
            case nbRefresh:
                done = dataSet->Refresh();
                break;
            }
            if (!guard)
                return false;
            if (!done) {
                Kav::KavShowDataError(this, dataSet);
                return false;
            }
        }
    }
    Q_EMIT OnClick(this, index);
    return true;
}

void TkavDBNavigator::buttonClicked(TkavNavButton *button)
{
    BtnClick(button->Index());
}

// ---- Focus and keys ----------------------------------------------------------------------------

void TkavDBNavigator::setFocusedButton(TNavigateBtn index)
{
    if (index == m_focusedButton)
        return;
    const TNavigateBtn old = m_focusedButton;
    m_focusedButton = index;
    if (hasFocus()) {
        m_buttons[old]->update();
        m_buttons[index]->update();
    }
}

void TkavDBNavigator::buttonPressed(TkavNavButton *button)
{
    if (TabStop() && !hasFocus() && isEnabled() && isVisible()) {
        m_focusedButton = button->Index();
        setFocus(Qt::MouseFocusReason);
        return;
    }
    setFocusedButton(button->Index());
}

void TkavDBNavigator::keyPressEvent(QKeyEvent *event)
{
    const auto visible = [this](int i) { return contains(m_visibleButtons, TNavigateBtn(i)); };
    switch (event->key()) {
    case Qt::Key_Space: {
        TkavNavButton *button = m_buttons[m_focusedButton];
        if (button->isEnabled() && visible(m_focusedButton))
            button->Click();
        break;
    }
    case Qt::Key_Left:
        // Only onto a button that can be seen: a hidden one would take the focus out of sight
        // and Space would click it.
        for (int i = int(m_focusedButton) - 1; i >= 0; --i) {
            if (visible(i)) {
                setFocusedButton(TNavigateBtn(i));
                break;
            }
        }
        break;
    case Qt::Key_Right:
        for (int i = int(m_focusedButton) + 1; i < NavigateBtnCount; ++i) {
            if (visible(i)) {
                setFocusedButton(TNavigateBtn(i));
                break;
            }
        }
        break;
    default:
        TkavPlatformPanel::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TkavDBNavigator::focusInEvent(QFocusEvent *event)
{
    TkavPlatformPanel::focusInEvent(event);
    m_buttons[m_focusedButton]->update();
}

void TkavDBNavigator::focusOutEvent(QFocusEvent *event)
{
    TkavPlatformPanel::focusOutEvent(event);
    m_buttons[m_focusedButton]->update();
}
