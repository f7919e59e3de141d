#include "KAVWindowLook.h"

#include "KAVFunctions.h"

#include <QHash>
#include <QList>
#include <QMetaProperty>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace {

// Published properties are matched by name without regard to case, as the theme manager does.

// What the pass needs to know of one class; looked up once per class, not once per widget (a
// window holds hundreds of widgets of a dozen classes).
struct LookProperties {
    QMetaProperty uiStyle;
    QMetaProperty fileTheme;
    QMetaProperty autoUpdateSub;

    bool skinned() const { return uiStyle.isValid() && fileTheme.isValid(); }
    bool handsOnByFlag() const
    {
        return skinned() && autoUpdateSub.isValid() && autoUpdateSub.isWritable() &&
               autoUpdateSub.metaType() == QMetaType::fromType<bool>();
    }
};

class LookPass {
public:
    LookPass(TkavUIStyle style, TkavFileTheme *fileTheme) : m_style(style), m_fileTheme(fileTheme) {}

    // Clears UIStyleAutoUpdateSub wherever it is set, so that no container hands the look on
    // while the pass runs; restoreHandOn() sets it again.
    void suspendHandOn(QWidget *root)
    {
        suspendHandOnOf(root);
        for (QWidget *widget : root->findChildren<QWidget *>())
            suspendHandOnOf(widget);
    }

    void restoreHandOn()
    {
        for (const QPointer<QWidget> &container : std::as_const(m_suspended)) {
            if (container)
                propertiesOf(container).autoUpdateSub.write(container, true);
        }
        m_suspended.clear();
    }

    // Parents before children; a widget's children are taken only after it has its look.
    void apply(QWidget *root)
    {
        QList<QPointer<QWidget>> pending{root};
        while (!pending.isEmpty()) {
            const QPointer<QWidget> widget = pending.takeLast();
            if (!widget)
                continue; // destroyed by an earlier control's change
            applyTo(widget);
            if (!widget)
                continue; // destroyed by its own change
            const QObjectList &children = widget->children();
            // Pushed in reverse so that siblings are taken in their order.
            for (qsizetype i = children.size() - 1; i >= 0; --i) {
                if (children.at(i)->isWidgetType())
                    pending.append(static_cast<QWidget *>(children.at(i)));
            }
        }
    }

private:
    // Kept for the program's life: a class's meta-object does not change, and finding a property
    // by name is a walk over all of them (a QLabel has dozens), too slow to redo in every switch.
    static LookProperties propertiesOf(const QWidget *widget)
    {
        static QHash<const QMetaObject *, LookProperties> classes;
        const QMetaObject *meta = widget->metaObject();
        auto found = classes.constFind(meta);
        if (found == classes.constEnd()) {
            found = classes.insert(meta, LookProperties{Kav::KavFindProperty(meta, "UIStyle"),
                                                        Kav::KavFindProperty(meta, "FileTheme"),
                                                        Kav::KavFindProperty(meta, "UIStyleAutoUpdateSub")});
        }
        return *found;
    }

    void suspendHandOnOf(QWidget *widget)
    {
        const LookProperties properties = propertiesOf(widget);
        if (!properties.handsOnByFlag() || !properties.autoUpdateSub.read(widget).toBool())
            return;
        properties.autoUpdateSub.write(widget, false);
        m_suspended.append(widget);
    }

    void applyTo(QWidget *widget)
    {
        const LookProperties properties = propertiesOf(widget);
        if (!properties.skinned())
            return;
        const QPointer<QWidget> alive(widget);
        const QVariant currentStyle = properties.uiStyle.read(widget);
        const bool styleDiffers = currentStyle.metaType() == QMetaType::fromType<TkavUIStyle>()
                                      ? currentStyle.value<TkavUIStyle>() != m_style
                                      : currentStyle.toInt() != int(m_style);
        const bool themeDiffers = properties.fileTheme.read(widget).value<QObject *>() != m_fileTheme;
        if (themeDiffers) {
            // A null pointer of another type does not convert; a null of the property's own
            // type does.
            properties.fileTheme.write(widget, m_fileTheme ? QVariant::fromValue(m_fileTheme.data())
                                                           : QVariant(properties.fileTheme.metaType()));
        }
        if (styleDiffers && alive) {
            QVariant value = QVariant::fromValue(m_style);
            if (properties.uiStyle.metaType() != value.metaType())
                value = QVariant(int(m_style));
            properties.uiStyle.write(widget, value);
        }
    }

    const TkavUIStyle m_style;
    // Guarded: a control's change could destroy the theme it was handed.
    const QPointer<TkavFileTheme> m_fileTheme;
    QList<QPointer<QWidget>> m_suspended;
};

// Whether Qt treats the widget as painting all of its pixels itself. When a window is repainted,
// Qt leaves such children out, expecting them to be marked for repainting on their own. Skinned
// controls are opaque only when they are large (Kav::KavUpdateOpaquePaint), so a window holds few.
bool paintsOpaquely(const QWidget *widget)
{
    return widget->testAttribute(Qt::WA_OpaquePaintEvent) || widget->testAttribute(Qt::WA_NoSystemBackground) ||
           widget->autoFillBackground();
}

// Undoes QWidget::setUpdatesEnabled(false) of widget without what setUpdatesEnabled(true) adds:
// an update() of every widget below it. Separate updates of children that do not paint opaquely
// make Qt paint the window a second time behind each of them; the window's own update() repaints
// them with it. Opaque children, which that repaint leaves out, get their update() here. Walks like
// Qt's own propagation: children that are windows, or whose updates were switched off on their
// own (WA_ForceUpdatesDisabled), are left as they are.
void enableUpdatesQuietly(QWidget *widget, QList<QWidget *> &opaque)
{
    if (!widget->testAttribute(Qt::WA_UpdatesDisabled))
        return;
    widget->setAttribute(Qt::WA_UpdatesDisabled, false);
    if (!widget->isWindow() && paintsOpaquely(widget))
        opaque.append(widget);
    for (QObject *child : widget->children()) {
        if (!child->isWidgetType())
            continue;
        auto *childWidget = static_cast<QWidget *>(child);
        if (!childWidget->isWindow() && !childWidget->testAttribute(Qt::WA_ForceUpdatesDisabled))
            enableUpdatesQuietly(childWidget, opaque);
    }
}

} // namespace

void Kav::KavApplyWindowLook(QWidget *window, TkavUIStyle style, TkavFileTheme *fileTheme)
{
    if (!window)
        return;
    const KavQuietUpdates quiet(window);
    LookPass pass(style, fileTheme);
    pass.suspendHandOn(window);
    pass.apply(window);
    pass.restoreHandOn();
}

Kav::KavQuietUpdates::KavQuietUpdates(QWidget *window) : m_window(window)
{
    if (window && window->updatesEnabled()) {
        window->setUpdatesEnabled(false);
        m_suspended = true;
    }
}

Kav::KavQuietUpdates::~KavQuietUpdates()
{
    if (!m_window || !m_suspended)
        return;
    m_window->setAttribute(Qt::WA_ForceUpdatesDisabled, false);
    QList<QWidget *> opaque;
    enableUpdatesQuietly(m_window, opaque);
    m_window->update();
    for (QWidget *widget : std::as_const(opaque))
        widget->update();
}
