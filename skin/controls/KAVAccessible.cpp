#include "KAVAccessible.h"

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

// One row per skinned class that needs its own description.
const AccessibleClass accessibleClasses[] = {
    {"TkavCheckBox",
     [](QWidget *w) -> QAccessibleInterface * {
         return new TkavCheckableAccessible(w, QAccessible::CheckBox);
     }},
    {"TkavRadioButton",
     [](QWidget *w) -> QAccessibleInterface * {
         return new TkavCheckableAccessible(w, QAccessible::RadioButton);
     }},
    {"TkavCustomGroupBox",
     [](QWidget *w) -> QAccessibleInterface * { return new TkavGroupingAccessible(w); }},
    {"TkavCustomPanel",
     [](QWidget *w) -> QAccessibleInterface * { return new TkavGroupingAccessible(w); }},
    {"TkavPanel",
     [](QWidget *w) -> QAccessibleInterface * { return new TkavRollingPanelAccessible(w); }},
    {"TkavURLLabel",
     [](QWidget *w) -> QAccessibleInterface * { return new TkavLinkAccessible(w); }},
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
    for (const AccessibleClass &entry : accessibleClasses) {
        if (className == QLatin1StringView(entry.className))
            return entry.make(static_cast<QWidget *>(object));
    }
    return nullptr;
}

// The name a widget gives itself, or failing that its caption without mnemonic marks.
QString captionName(const QWidget *widget)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    return KavStripMnemonic(widget->property("Caption").toString());
}

} // namespace

void KavInstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(kavAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString KavStripMnemonic(const QString &text)
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

TkavCheckableAccessible::TkavCheckableAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
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
    s.checked = widget()->property("Checked").toBool();
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
    if (!widget()->isEnabled())
        return;
    if (actionName == toggleAction() || actionName == pressAction())
        QMetaObject::invokeMethod(widget(), "Click");
    else
        QAccessibleWidget::doAction(actionName);
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

TkavRollingPanelAccessible::TkavRollingPanelAccessible(QWidget *widget)
    : TkavGroupingAccessible(widget)
{
}

QAccessible::State TkavRollingPanelAccessible::state() const
{
    QAccessible::State s = TkavGroupingAccessible::state();
    if (widget()->property("PushButtonShown").toBool()) {
        const bool pushed = widget()->property("Pushed").toBool();
        s.expandable = true;
        s.expanded = !pushed;
        s.collapsed = pushed;
    }
    return s;
}

QStringList TkavRollingPanelAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled() && widget()->property("PushButtonShown").toBool())
        names << toggleAction();
    return names + TkavGroupingAccessible::actionNames();
}

void TkavRollingPanelAccessible::doAction(const QString &actionName)
{
    if (actionName != toggleAction()) {
        TkavGroupingAccessible::doAction(actionName);
        return;
    }
    // Only offered while the button is shown, i.e. while the panel may roll: Push cannot refuse.
    if (!widget()->isEnabled() || !widget()->property("PushButtonShown").toBool())
        return;
    const bool pushed = widget()->property("Pushed").toBool();
    QMetaObject::invokeMethod(widget(), pushed ? "Pop" : "Push");
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
        name = KavStripMnemonic(button->text());
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

TkavLinkAccessible::TkavLinkAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::Link)
{
}

QString TkavLinkAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return captionName(widget());
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
        return widget()->property("URL").toString();
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
    if (actionName == pressAction()) {
        if (widget()->isEnabled())
            QMetaObject::invokeMethod(widget(), "Click");
        return;
    }
    QAccessibleWidget::doAction(actionName);
}
