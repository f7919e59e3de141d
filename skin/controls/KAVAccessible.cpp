#include "KAVAccessible.h"

#include "KAVCheckBox.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVURLLabel.h"

#include <QAbstractButton>
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

TkavRollingPanelAccessible::TkavRollingPanelAccessible(TkavPanel *panel)
    : TkavGroupingAccessible(panel)
{
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
