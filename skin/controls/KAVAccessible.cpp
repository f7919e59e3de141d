#include "KAVAccessible.h"

#include "KAVCheckBox.h"
#include "KAVEdit.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVThemes.h"
#include "KAVURLLabel.h"

#include <QAbstractButton>
#include <QAction>
#include <QMetaObject>
#include <QMetaProperty>
#include <QVariant>
#include <QWidget>

namespace {

// An arrow button without a tool tip is named after its direction: "kavUp" -> "Up".
QString arrowDirection(const QWidget *widget)
{
    const QMetaObject *meta = widget->metaObject();
    const QMetaProperty arrow = meta->property(meta->indexOfProperty("Arrow"));
    const char *key = arrow.isEnumType() ? arrow.enumerator().valueToKey(arrow.read(widget).toInt())
                                         : nullptr;
    const QString name = QString::fromLatin1(key);
    return name.startsWith(QLatin1StringView("kav")) ? name.mid(3) : name;
}

// A control button showing a frame of the title-bar buttons picture is named after the button
// drawn: frames 1-3 the window menu, 4-6 help, 7-9 maximise, 10-12 restore, 13-15 minimise and
// 16-18 close, as the title bar names its own buttons.
QString titleButtonFrameName(const QWidget *widget)
{
    if (widget->property("ThemeID").toInt() != KavKey::TitleBarButtonImage
        || widget->property("PicCount").toInt() != 18)
        return QString();
    static const char *const names[] = {"Window menu", "Help", "Maximize", "Restore", "Minimize", "Close"};
    const int frame = widget->property("PicIndex").toInt();
    return frame >= 1 && frame <= 18 ? QString::fromLatin1(names[(frame - 1) / 3]) : QString();
}

using MakeInterface = QAccessibleInterface *(*)(QWidget *widget);

struct AccessibleClass {
    const char *className;
    MakeInterface make;
};

// The button classes described by name.
const AccessibleClass accessibleButtonClasses[] = {
    {"TKavArrowButton",
     [](QWidget *w) -> QAccessibleInterface * {
         return new TkavGlyphButtonAccessible(w, arrowDirection);
     }},
    {"TkavToolBarSpeedButton",
     [](QWidget *w) -> QAccessibleInterface * { return new TkavGlyphButtonAccessible(w); }},
    {"TkavImageButton", [](QWidget *w) -> QAccessibleInterface * { return new TkavGlyphButtonAccessible(w); }},
    {"TkavControlButton",
     [](QWidget *w) -> QAccessibleInterface * { return new TkavGlyphButtonAccessible(w, titleButtonFrameName); }},
};

QAccessibleInterface *kavAccessibleFactory(const QString &className, QObject *object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    // Qt asks once for each class up the chain, the object's own first: the first answer counts.
    if (auto *radio = qobject_cast<TkavRadioButton *>(widget))
        return new TkavCheckableAccessible(radio, QAccessible::RadioButton);
    if (auto *box = qobject_cast<TkavCheckBox *>(widget))
        return new TkavCheckableAccessible(box, QAccessible::CheckBox);
    if (auto *panel = qobject_cast<TkavPanel *>(widget))
        return new TkavRollingPanelAccessible(panel);
    if (qobject_cast<TkavCustomGroupBox *>(widget) || qobject_cast<TkavCustomPanel *>(widget))
        return new TkavGroupingAccessible(widget);
    if (auto *label = qobject_cast<TkavURLLabel *>(widget))
        return new TkavLinkAccessible(label);
    // The spin edit describes itself (KAVSpinEdit.cpp), as a spin box with a value.
    if (auto *edit = qobject_cast<TkavEdit *>(widget); edit && !edit->inherits("TKavSpinEdit"))
        return new TkavLineEditAccessible(edit);
    for (const AccessibleClass &entry : accessibleButtonClasses) {
        if (className == QLatin1StringView(entry.className))
            return entry.make(widget);
    }
    return nullptr;
}

// The name a widget gives itself, or failing that its caption without mnemonic marks.
QString captionName(const QWidget *widget)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    return Kav::KavStripMnemonic(widget->property("Caption").toString());
}

} // namespace

void Kav::KavInstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(kavAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString Kav::KavStripMnemonic(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&') {
            ++i; // "&x" shows x; "&&" shows one "&"
            if (i == text.size())
                break;
        }
        result += text.at(i);
    }
    return result;
}

TkavCheckableAccessible::TkavCheckableAccessible(TkavCheckBox *box, QAccessible::Role role)
    : QAccessibleWidget(box, role)
{
}

TkavCheckBox *TkavCheckableAccessible::box() const
{
    return qobject_cast<TkavCheckBox *>(widget());
}

QString TkavCheckableAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return captionName(widget());
    return QAccessibleWidget::text(t);
}

QAccessible::State TkavCheckableAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = box() && box()->Checked();
    return s;
}

QStringList TkavCheckableAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled())
        names << toggleAction();
    return names + QAccessibleWidget::actionNames();
}

void TkavCheckableAccessible::doAction(const QString &actionName)
{
    if (actionName != toggleAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (TkavCheckBox *target = box())
        target->Click(); // nothing when disabled
}

TkavGroupingAccessible::TkavGroupingAccessible(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::Grouping)
{
}

QString TkavGroupingAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return captionName(widget());
    return QAccessibleWidget::text(t);
}

namespace {

// The push button in a panel's caption bar.
class RollButtonAccessible : public TkavDrawnPartAccessible {
public:
    explicit RollButtonAccessible(TkavPanel *panel) : TkavDrawnPartAccessible(panel, 0) {}

    bool isValid() const override { return panel() && panel()->pushButtonShown(); }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        return panel()->Pushed() ? QStringLiteral("Roll down") : QStringLiteral("Roll up");
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !isValid();
        state.disabled = isValid() && !panel()->isEnabled();
        state.hotTracked = isValid() && panel()->mouseOverButton();
        return state;
    }
    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName != pressAction() || !isValid())
            return {};
        return {panel()->Pushed() ? QStringLiteral("Alt+Down") : QStringLiteral("Alt+Up")};
    }

protected:
    QRect localRect() const override { return panel()->pushButtonRect(); }
    void press() override
    {
        if (!panel()->isEnabled())
            return;
        if (panel()->Pushed())
            panel()->Pop();
        else
            panel()->Push(); // the button is shown only where Align lets the panel roll
    }

private:
    TkavPanel *panel() const { return static_cast<TkavPanel *>(control()); }
};

} // namespace

TkavRollingPanelAccessible::TkavRollingPanelAccessible(TkavPanel *panel)
    : TkavGroupingAccessible(panel)
{
}

TkavRollingPanelAccessible::~TkavRollingPanelAccessible()
{
    if (m_rollButton != 0)
        QAccessible::deleteAccessibleInterface(m_rollButton);
}

QAccessibleInterface *TkavRollingPanelAccessible::rollButton() const
{
    const TkavPanel *target = panel();
    if (target == nullptr || !target->pushButtonShown())
        return nullptr;
    if (m_rollButton == 0 || QAccessible::accessibleInterface(m_rollButton) == nullptr)
        m_rollButton = QAccessible::registerAccessibleInterface(new RollButtonAccessible(panel()));
    return QAccessible::accessibleInterface(m_rollButton);
}

int TkavRollingPanelAccessible::childCount() const
{
    return TkavGroupingAccessible::childCount() + (rollButton() ? 1 : 0);
}

QAccessibleInterface *TkavRollingPanelAccessible::child(int index) const
{
    const int widgets = TkavGroupingAccessible::childCount();
    if (index == widgets)
        return rollButton();
    return TkavGroupingAccessible::child(index);
}

int TkavRollingPanelAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (child != nullptr && child == rollButton())
        return TkavGroupingAccessible::childCount();
    return TkavGroupingAccessible::indexOfChild(child);
}

QStringList TkavRollingPanelAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == toggleAction() && canRoll())
        return {panel()->Pushed() ? QStringLiteral("Alt+Down") : QStringLiteral("Alt+Up")};
    return TkavGroupingAccessible::keyBindingsForAction(actionName);
}

TkavPanel *TkavRollingPanelAccessible::panel() const
{
    return qobject_cast<TkavPanel *>(widget());
}

bool TkavRollingPanelAccessible::canRoll() const
{
    // The button is shown only where Align lets the panel roll, so Push cannot refuse then.
    const TkavPanel *target = panel();
    return target && target->isEnabled() && target->pushButtonShown();
}

QAccessible::State TkavRollingPanelAccessible::state() const
{
    QAccessible::State s = TkavGroupingAccessible::state();
    const TkavPanel *target = panel();
    if (target && target->pushButtonShown()) {
        s.expandable = true;
        s.expanded = !target->Pushed();
        s.collapsed = target->Pushed();
    }
    return s;
}

QStringList TkavRollingPanelAccessible::actionNames() const
{
    QStringList names;
    if (canRoll())
        names << toggleAction();
    return names + TkavGroupingAccessible::actionNames();
}

void TkavRollingPanelAccessible::doAction(const QString &actionName)
{
    if (actionName != toggleAction()) {
        TkavGroupingAccessible::doAction(actionName);
        return;
    }
    if (!canRoll())
        return;
    TkavPanel *target = panel();
    if (target->Pushed())
        target->Pop();
    else
        target->Push();
}

TkavGlyphButtonAccessible::TkavGlyphButtonAccessible(QWidget *widget, NameOf fallbackName)
    : QAccessibleWidget(widget, QAccessible::Button), m_fallbackName(fallbackName)
{
}

QString TkavGlyphButtonAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    QString name = widget()->accessibleName();
    const auto *button = qobject_cast<const QAbstractButton *>(widget());
    if (name.isEmpty() && button)
        name = Kav::KavStripMnemonic(button->text());
    if (name.isEmpty())
        name = widget()->toolTip();
    // A picture button of an action without a text of its own to show: the action's.
    if (const QVariant action = widget()->property("Action"); name.isEmpty() && action.isValid()) {
        if (const auto *given = action.value<QAction *>())
            name = Kav::KavStripMnemonic(given->iconText());
    }
    if (name.isEmpty() && m_fallbackName)
        name = m_fallbackName(widget());
    return name;
}

QAccessible::State TkavGlyphButtonAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget()))
        s.pressed = button->isDown();
    return s;
}

QStringList TkavGlyphButtonAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void TkavGlyphButtonAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    auto *button = qobject_cast<QAbstractButton *>(widget());
    if (button && button->isEnabled())
        button->click();
}

TkavLinkAccessible::TkavLinkAccessible(TkavURLLabel *label) : QAccessibleWidget(label, QAccessible::Link)
{
}

TkavURLLabel *TkavLinkAccessible::label() const
{
    return qobject_cast<TkavURLLabel *>(widget());
}

QString TkavLinkAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return captionName(widget());
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty() && label())
        return label()->URL();
    return QAccessibleWidget::text(t);
}

QAccessible::State TkavLinkAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.linked = true;
    s.hotTracked = widget()->underMouse();
    return s;
}

QStringList TkavLinkAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void TkavLinkAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    TkavURLLabel *target = label();
    if (target && target->isEnabled())
        target->Click();
}

TkavDrawnPartAccessible::TkavDrawnPartAccessible(QWidget *control, int index) : m_control(control), m_index(index) {}

QWindow *TkavDrawnPartAccessible::window() const
{
    const QAccessibleInterface *owner = parent();
    return owner ? owner->window() : nullptr;
}

QAccessibleInterface *TkavDrawnPartAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_control);
}

QRect TkavDrawnPartAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect local = localRect();
    return local.isNull() ? QRect() : QRect(m_control->mapToGlobal(local.topLeft()), local.size());
}

void *TkavDrawnPartAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList TkavDrawnPartAccessible::actionNames() const
{
    return {pressAction()};
}

void TkavDrawnPartAccessible::doAction(const QString &name)
{
    if (name == pressAction() && isValid())
        press();
}

// --- Single-line edits --------------------------------------------------------------------------

TkavLineEditAccessible::TkavLineEditAccessible(QLineEdit *edit, QAccessible::Role role) : QAccessibleWidget(edit, role)
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
}

QLineEdit *TkavLineEditAccessible::lineEdit() const
{
    return qobject_cast<QLineEdit *>(widget());
}

QString TkavLineEditAccessible::shownText() const
{
    const QLineEdit *edit = lineEdit();
    return edit->echoMode() == QLineEdit::Normal ? edit->text() : edit->displayText();
}

void *TkavLineEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TkavLineEditAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return shownText();
    QString result = QAccessibleWidget::text(t);
    if (t == QAccessible::Help && result.isEmpty())
        result = lineEdit()->placeholderText();
    return result;
}

void TkavLineEditAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t != QAccessible::Value) {
        QAccessibleWidget::setText(t, text);
        return;
    }
    if (state().editable)
        lineEdit()->setText(text);
}

QAccessible::State TkavLineEditAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    const QLineEdit *edit = lineEdit();
    // Either the one or the other: a reader announces a read-only field that is also editable
    // as a field to type into.
    s.readOnly = edit->isReadOnly();
    s.editable = !edit->isReadOnly();
    s.passwordEdit = edit->echoMode() != QLineEdit::Normal;
    s.selectableText = true;
    return s;
}

void TkavLineEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !lineEdit()->hasSelectedText())
        return;
    *startOffset = lineEdit()->selectionStart();
    *endOffset = *startOffset + int(lineEdit()->selectedText().size());
}

int TkavLineEditAccessible::selectionCount() const
{
    return lineEdit()->hasSelectedText() ? 1 : 0;
}

void TkavLineEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TkavLineEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        lineEdit()->deselect();
}

void TkavLineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int TkavLineEditAccessible::cursorPosition() const
{
    return lineEdit()->cursorPosition();
}

void TkavLineEditAccessible::setCursorPosition(int position)
{
    lineEdit()->setCursorPosition(position);
}

QString TkavLineEditAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return QString();
    return shownText().mid(startOffset, endOffset - startOffset);
}

int TkavLineEditAccessible::characterCount() const
{
    return int(shownText().size());
}

QRect TkavLineEditAccessible::characterRect(int offset) const
{
    // Where the edit lays out its line: inside its frame and text margins, aligned as it says.
    const QLineEdit *edit = lineEdit();
    const QString shown = shownText();
    if (offset < 0 || offset >= shown.size())
        return QRect();
    const QFontMetrics metrics(edit->font());
    const QRect area = edit->contentsRect().marginsRemoved(edit->textMargins()).adjusted(2, 0, -2, 0);
    const int lineWidth = metrics.horizontalAdvance(shown);
    int x = area.left();
    if (edit->alignment() & Qt::AlignRight)
        x = area.right() + 1 - lineWidth;
    else if (edit->alignment() & Qt::AlignHCenter)
        x = area.left() + (area.width() - lineWidth) / 2;
    x += metrics.horizontalAdvance(shown.left(offset));
    const int y = area.top() + (area.height() - metrics.height()) / 2;
    const QRect local(x, y, metrics.horizontalAdvance(shown.at(offset)), metrics.height());
    return QRect(edit->mapToGlobal(local.topLeft()), local.size());
}

int TkavLineEditAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = lineEdit()->mapFromGlobal(point);
    return lineEdit()->rect().contains(local) ? lineEdit()->cursorPositionAt(local) : -1;
}

void TkavLineEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    lineEdit()->setCursorPosition(endIndex);
    lineEdit()->setCursorPosition(startIndex);
}

QString TkavLineEditAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void TkavLineEditAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TkavLineEditAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void TkavLineEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    QLineEdit *edit = lineEdit();
    if (!state().editable || startOffset < 0 || endOffset < startOffset)
        return;
    // As typed: through the edit, so that its checks (a validator, a mask) have their say.
    edit->setSelection(startOffset, endOffset - startOffset);
    edit->insert(text);
}
