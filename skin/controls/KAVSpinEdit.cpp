#include "KAVSpinEdit.h"

#include "KAVAccessible.h"
#include "KAVArrowButton.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QResizeEvent>

#include <algorithm>
#include <limits>

namespace {

// The spin edit as the accessibility layer sees it: a spin box whose text reads and edits as an
// edit's, whose value is Value, with its limits and step, and that can be stepped up and down.
class TkavSpinEditAccessible : public TkavLineEditAccessible, public QAccessibleValueInterface {
public:
    explicit TkavSpinEditAccessible(TKavSpinEdit *edit) : TkavLineEditAccessible(edit, QAccessible::SpinBox) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return TkavLineEditAccessible::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = TkavLineEditAccessible::state();
        s.editable = spinEdit()->EditorEnabled() && !spinEdit()->isReadOnly();
        return s;
    }

    QVariant currentValue() const override { return spinEdit()->Value(); }
    void setCurrentValue(const QVariant &value) override
    {
        if (!spinEdit()->isReadOnly())
            spinEdit()->setValue(value.toInt());
    }
    QVariant maximumValue() const override
    {
        return unlimited() ? std::numeric_limits<int>::max() : spinEdit()->MaxValue();
    }
    QVariant minimumValue() const override
    {
        return unlimited() ? std::numeric_limits<int>::min() : spinEdit()->MinValue();
    }
    QVariant minimumStepSize() const override { return spinEdit()->Increment(); }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << increaseAction() << decreaseAction();
        return names + TkavLineEditAccessible::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (!widget()->isEnabled())
            return;
        if (actionName == increaseAction())
            spinEdit()->UpClick(spinEdit());
        else if (actionName == decreaseAction())
            spinEdit()->DownClick(spinEdit());
        else
            TkavLineEditAccessible::doAction(actionName);
    }

private:
    TKavSpinEdit *spinEdit() const { return static_cast<TKavSpinEdit *>(widget()); }
    bool unlimited() const { return spinEdit()->MinValue() == spinEdit()->MaxValue(); }
};

QAccessibleInterface *spinEditAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("TKavSpinEdit") && object && object->isWidgetType())
        return new TkavSpinEditAccessible(static_cast<TKavSpinEdit *>(object));
    return nullptr;
}

void installSpinEditAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(spinEditAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

int saturated(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TKavSpinButtons

TKavSpinButtons::TKavSpinButtons(QWidget *parent)
    : QWidget(parent), m_up(makeButton(TKavArrowButton::kavUp)), m_down(makeButton(TKavArrowButton::kavDown))
{
    setMinimumWidth(Kav::Metrics::SpinButtonsMinWidth);
    resize(Kav::Metrics::SpinButtonsSize);
    layoutButtons();
}

TKavArrowButton *TKavSpinButtons::makeButton(int arrow)
{
    auto *button = new TKavArrowButton(this);
    button->setArrow(TKavArrowButton::TkavArrowButtonType(arrow));
    button->setTabStop(false);
    button->setMouseContinuouslyDownInterval(RepeatInterval);
    // The pair may sit in an edit, whose text cursor the buttons must not show.
    button->setCursor(Qt::ArrowCursor);
    connect(button, &TKavArrowButton::OnClick, this, &TKavSpinButtons::buttonClicked);
    connect(button, &TKavArrowButton::OnMouseContinuouslyDown, this, &TKavSpinButtons::buttonClicked);
    return button;
}

TkavUIStyle TKavSpinButtons::UIStyle() const
{
    return m_up ? m_up->UIStyle() : TkavUIStyle::DeepBlue;
}

void TKavSpinButtons::setUIStyle(TkavUIStyle style)
{
    m_up->setUIStyle(style);
    m_down->setUIStyle(style);
}

TkavFileTheme *TKavSpinButtons::FileTheme() const
{
    return m_up ? m_up->FileTheme() : nullptr;
}

void TKavSpinButtons::setFileTheme(TkavFileTheme *fileTheme)
{
    m_up->setFileTheme(fileTheme);
    m_down->setFileTheme(fileTheme);
}

void TKavSpinButtons::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutButtons();
}

void TKavSpinButtons::layoutButtons()
{
    // The two buttons share one pixel row, so that their frames meet in a single line.
    const int w = width();
    const int upHeight = height() / 2 + 1;
    m_up->setGeometry(0, 0, w, upHeight);
    m_down->setGeometry(0, upHeight - 1, w, height() - upHeight + 1);
}

void TKavSpinButtons::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up)
        m_up->Click();
    else if (event->key() == Qt::Key_Down)
        m_down->Click();
    else
        QWidget::keyPressEvent(event);
}

void TKavSpinButtons::buttonClicked(QObject *button)
{
    if (button == m_up)
        Q_EMIT OnUpClick(this);
    else if (button == m_down)
        Q_EMIT OnDownClick(this);
}

// ---------------------------------------------------------------------------------------------
// TKavSpinEdit

TKavSpinEdit::TKavSpinEdit(QWidget *parent) : TkavEdit(parent), m_buttons(new TKavSpinButtons(this))
{
    installSpinEditAccessibility();
    m_buttons->resize(Kav::Metrics::SpinEditButtonsSize);
    connect(m_buttons, &TKavSpinButtons::OnUpClick, this, &TKavSpinEdit::UpClick);
    connect(m_buttons, &TKavSpinButtons::OnDownClick, this, &TKavSpinEdit::DownClick);
    setText(QStringLiteral("0"));
    layoutButtons();
}

int TKavSpinEdit::Value() const
{
    bool ok = false;
    const int value = text().trimmed().toInt(&ok);
    return ok ? value : m_minValue;
}

void TKavSpinEdit::setValue(int value)
{
    setText(QString::number(CheckValue(value)));
}

int TKavSpinEdit::CheckValue(int value) const
{
    if (m_maxValue == m_minValue)
        return value;
    if (value < m_minValue)
        return m_minValue;
    if (value > m_maxValue)
        return m_maxValue;
    return value;
}

void TKavSpinEdit::UpClick(QObject *)
{
    step(m_increment);
}

void TKavSpinEdit::DownClick(QObject *)
{
    step(-qint64(m_increment));
}

void TKavSpinEdit::step(qint64 delta)
{
    if (isReadOnly()) {
        Kav::KavMessageBeep(this);
        return;
    }
    setValue(saturated(qint64(Value()) + delta));
}

bool TKavSpinEdit::IsValidChar(QChar key) const
{
    const char16_t code = key.unicode();
    bool valid = key == u'-' || (key >= u'0' && key <= u'9') || (code < 32 && code != 13);
    if (valid && !m_editorEnabled && (code == 8 || code >= 32))
        valid = false;
    return valid;
}

void TKavSpinEdit::UIStyleChanged()
{
    if (!m_buttons)
        return;
    m_buttons->setUIStyle(UIStyle());
    m_buttons->setFileTheme(FileTheme());
}

void TKavSpinEdit::Change()
{
    TkavEdit::Change();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, Value());
        QAccessible::updateAccessibility(&event);
    }
}

bool TKavSpinEdit::acceptsPaste(const QString &text) const
{
    // All of it must be what could be typed here, or "abc" pasted after "0" reads "0abc".
    return std::all_of(text.cbegin(), text.cend(), [this](QChar c) { return c.unicode() >= 32 && IsValidChar(c); });
}

void TKavSpinEdit::DoExit()
{
    TkavEdit::DoExit();
    const int value = Value();
    if (CheckValue(value) != value)
        setValue(value);
}

void TKavSpinEdit::KeyPress(QChar &key)
{
    if (!IsValidChar(key)) {
        key = QChar();
        Kav::KavMessageBeep(this);
        return;
    }
    TkavEdit::KeyPress(key);
}

void TKavSpinEdit::keyPressEvent(QKeyEvent *event)
{
    const bool up = event->key() == Qt::Key_Up;
    const bool down = event->key() == Qt::Key_Down;
    if (up)
        UpClick(this);
    else if (down)
        DownClick(this);
    TkavEdit::keyPressEvent(event);
    // Return is refused with a beep (IsValidChar) and ends there: it does not go on to the
    // window's Default button as a refused Return in a plain edit does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (up || down || enter)
        event->accept();
}

void TKavSpinEdit::resizeEvent(QResizeEvent *event)
{
    TkavEdit::resizeEvent(event);
    layoutButtons();
}

void TKavSpinEdit::layoutButtons()
{
    // The buttons fill the edit's height inside its frame, at its right; the text keeps a gap
    // before them.
    const int border = Kav::Metrics::EditBorderWidth;
    const int buttonsWidth = m_buttons->width();
    m_buttons->setGeometry(width() - buttonsWidth - border, border, buttonsWidth, std::max(0, height() - 2 * border));
    setTextMargins(border, border, border + Kav::Metrics::SpinEditButtonsGap + buttonsWidth, border);
}
