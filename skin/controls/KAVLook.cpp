#include "KAVLook.h"

#include "KAVFunctions.h"

#include <QEvent>
#include <QHash>
#include <QWidget>

// Tells the looks of controls waiting for their first look when their control is polished. One
// filter for all of them, installed on each such control until its polish (a control that has its
// look is no longer watched).
class TkavLookPolisher : public QObject
{
public:
    static TkavLookPolisher &instance()
    {
        // Never destroyed: a control may outlive any static object.
        static TkavLookPolisher *polisher = new TkavLookPolisher;
        return *polisher;
    }

    void watch(QObject *control, TkavLook *look)
    {
        m_waiting.insert(control, look);
        control->installEventFilter(this);
    }

    void forget(QObject *control)
    {
        if (m_waiting.remove(control))
            control->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish) {
            if (TkavLook *look = m_waiting.take(watched)) {
                watched->removeEventFilter(this);
                look->polished();
            }
        }
        return false;
    }

private:
    QHash<QObject *, TkavLook *> m_waiting;
};

namespace {

// The form whose look a control starts from: the window of its parent.
QObject *ownerFormOf(const QObject *control)
{
    if (control->isWidgetType()) {
        const QWidget *parent = static_cast<const QWidget *>(control)->parentWidget();
        return parent ? parent->window() : nullptr;
    }
    return nullptr;
}

} // namespace

TkavLook::~TkavLook()
{
    QObject::disconnect(m_watch);
    if (m_control && !m_taken)
        TkavLookPolisher::instance().forget(m_control);
}

void TkavLook::attach(QObject *control, Apply apply, FirstLook first, FallBack fallBack)
{
    Q_ASSERT(!m_control);
    m_control = control;
    m_apply = std::move(apply);
    m_fallBack = fallBack;
    if (first == FirstLook::DeepBlue)
        setUIStyle(TkavUIStyle::DeepBlue);
    else
        TkavLookPolisher::instance().watch(control, this);
}

TkavUIStyle TkavLook::uiStyle() const
{
    // Before its first look a control reads the look it will take.
    return m_taken || !m_control ? m_uiStyle : GetKAVFormStyle(ownerFormOf(m_control));
}

void TkavLook::setUIStyle(TkavUIStyle style)
{
    m_uiStyle = style;
    apply();
}

void TkavLook::setFileTheme(TkavFileTheme *fileTheme)
{
    if (fileTheme != m_fileTheme) {
        QObject::disconnect(m_watch);
        m_fileTheme = fileTheme;
        if (fileTheme)
            m_watch = QObject::connect(fileTheme, &QObject::destroyed, m_control, [this] { fileThemeDestroyed(); });
    }
    // The same theme again is applied again: it may have loaded another file.
    m_uiStyle = uiStyle();
    m_applyingFileTheme = true;
    apply();
    m_applyingFileTheme = false;
}

void TkavLook::apply()
{
    if (!m_taken) {
        m_taken = true;
        TkavLookPolisher::instance().forget(m_control);
    }
    if (m_apply)
        m_apply(KavThemeValues(m_uiStyle, m_fileTheme));
}

void TkavLook::polished()
{
    if (m_taken)
        return;
    m_uiStyle = uiStyle();
    apply();
}

void TkavLook::fileThemeDestroyed()
{
    m_fileTheme.clear();
    if (m_fallBack == FallBack::Children && m_control->isWidgetType())
        ContainerApplyUIStyle(static_cast<QWidget *>(m_control), TkavUIStyle::DeepBlue, nullptr);
    setUIStyle(TkavUIStyle::DeepBlue);
}

TColor Kav::KavPaletteColor(const QWidget *widget, QPalette::ColorRole role)
{
    return TColor::fromQColor(widget->palette().color(role));
}

void Kav::KavSetPaletteColor(QWidget *widget, QPalette::ColorRole role, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color.resolved(widget->palette()));
    widget->setPalette(palette);
}
