#include "KAVToolBar.h"

#include <QActionEvent>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionToolButton>
#include <QToolButton>

// --- Faces ------------------------------------------------------------------------------------

namespace Kav {

ToolButtonFace toolButtonFace(QStyle::State state, bool dropDown)
{
    const bool hot = state.testFlag(QStyle::State_MouseOver) && state.testFlag(QStyle::State_Enabled);
    const bool pressed = state.testFlag(QStyle::State_Sunken);
    const bool checked = state.testFlag(QStyle::State_On);
    if (hot)
        return {pressed ? ToolButtonFace::Down : ToolButtonFace::Hot, dropDown};
    if (pressed || checked)
        return {ToolButtonFace::Hot, false};
    return {};
}

void paintToolButtonFace(QPainter &painter, const QRect &rect, const ToolButtonFace &face, const QColor &fill,
                         const QColor &border)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(border);
    painter.setBrush(fill);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    if (face.dropDownMark) {
        // The split line, and a small arrow pointing down in the part right of it.
        const int right = rect.x() + rect.width(); // one past the last column
        const int middle = rect.top() + rect.height() / 2;
        painter.setPen(Qt::black);
        painter.drawLine(right - ToolDropDownWidth, rect.top(), right - ToolDropDownWidth, rect.bottom());
        for (int row = 0; row < 3; ++row)
            painter.drawLine(right - 9 + row, middle + row, right - 5 - row, middle + row);
    }
    painter.restore();
}

} // namespace Kav

// --- Style ------------------------------------------------------------------------------------

namespace {

const TkavToolBar *skinnedBarOf(const QWidget *widget)
{
    if (widget == nullptr)
        return nullptr;
    if (auto *bar = qobject_cast<const TkavToolBar *>(widget))
        return bar;
    return qobject_cast<const TkavToolBar *>(widget->parentWidget());
}

} // namespace

TkavToolBarStyle::TkavToolBarStyle() = default;

TkavToolBarStyle *TkavToolBarStyle::instance()
{
    // Owned by the application, so it outlives every tool bar and button that uses it.
    static QPointer<TkavToolBarStyle> style;
    if (style.isNull()) {
        style = new TkavToolBarStyle;
        style->setParent(qApp);
    }
    return style.data();
}

void TkavToolBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                          QPainter *painter, const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option);
    const TkavToolBar *bar = control == CC_ToolButton && !qobject_cast<const TkavToolBar *>(widget)
                                 ? skinnedBarOf(widget)
                                 : nullptr;
    if (button != nullptr && bar != nullptr) {
        const bool dropDown = button->features.testFlag(QStyleOptionToolButton::MenuButtonPopup);
        const Kav::ToolButtonFace face = Kav::toolButtonFace(button->state, dropDown);
        if (face.kind != Kav::ToolButtonFace::Platform) {
            drawSkinnedButton(*bar, *button, face, painter, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void TkavToolBarStyle::drawSkinnedButton(const TkavToolBar &bar, const QStyleOptionToolButton &option,
                                         const Kav::ToolButtonFace &face, QPainter *painter,
                                         const QWidget *widget) const
{
    const bool down = face.kind == Kav::ToolButtonFace::Down;
    const QColor fill = (down ? bar.ButtonDownColor() : bar.ButtonColor()).resolved(bar.palette());
    Kav::paintToolButtonFace(*painter, option.rect, face, fill, bar.ButtonBorderColor().resolved(bar.palette()));

    // The label as Qt places it, left of the arrow part of a drop-down button, one pixel right
    // and down while pressed; the platform's own shift is taken out so the offset is the skin's.
    QStyleOptionToolButton label = option;
    label.state &= ~(State_Sunken | State_On | State_MouseOver);
    if (option.features.testFlag(QStyleOptionToolButton::MenuButtonPopup))
        label.rect.setRight(label.rect.right() - Kav::ToolDropDownWidth);
    if (down)
        label.rect.translate(1, 1);
    QProxyStyle::drawControl(CE_ToolButtonLabel, &label, painter, widget);

    // A button whose whole face opens its menu keeps the platform's small menu mark.
    if (option.features.testFlag(QStyleOptionToolButton::HasMenu)
        && !option.features.testFlag(QStyleOptionToolButton::MenuButtonPopup)) {
        QStyleOption indicator = label;
        const int mark = QProxyStyle::pixelMetric(PM_MenuButtonIndicator, &option, widget);
        indicator.rect = QRect(option.rect.right() - mark + 1, option.rect.bottom() - mark + 1, mark - 1, mark - 1);
        QProxyStyle::drawPrimitive(PE_IndicatorArrowDown, &indicator, painter, widget);
    }
}

void TkavToolBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                   const QWidget *widget) const
{
    // The skinned bar paints its own panel, without edges.
    if (element == CE_ToolBar && qobject_cast<const TkavToolBar *>(widget))
        return;
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TkavToolBarStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    if (element == PE_PanelToolBar && qobject_cast<const TkavToolBar *>(widget))
        return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

// --- TkavToolBar ------------------------------------------------------------------------------

TkavToolBar::TkavToolBar(QWidget *parent) : QToolBar(parent)
{
    setStyle(TkavToolBarStyle::instance());
    setColor(TColor::fromQColor(palette().color(QPalette::Base)));
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

TkavToolBar::~TkavToolBar() = default;

void TkavToolBar::applyLook(const KavThemeValues &values)
{
    m_buttonBorderColor = values.color(KavKey::ToolBarButtonBorderColor);
    m_buttonColor = values.color(KavKey::ToolBarButtonBackgroundColor);
    m_buttonDownColor = values.color(KavKey::ToolBarButtonDownBackgroundColor);
    setTransparent(values.traits().transparentToolBar);
    update();
}

void TkavToolBar::setButtonColor(TColor color)
{
    m_buttonColor = color;
    update();
}

void TkavToolBar::setButtonBorderColor(TColor color)
{
    m_buttonBorderColor = color;
    update();
}

void TkavToolBar::setButtonDownColor(TColor color)
{
    m_buttonDownColor = color;
    update();
}

TColor TkavToolBar::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Window);
}

void TkavToolBar::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Window, color);
    update();
}

void TkavToolBar::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TkavToolBar::actionEvent(QActionEvent *event)
{
    QToolBar::actionEvent(event);
    // The buttons Qt makes for actions take the skinned style; widgets added by hand keep theirs
    // unless they are tool buttons.
    if (event->type() == QEvent::ActionAdded) {
        if (auto *button = qobject_cast<QToolButton *>(widgetForAction(event->action())))
            button->setStyle(TkavToolBarStyle::instance());
    }
}

void TkavToolBar::paintEvent(QPaintEvent *event)
{
    const QColor colour = Color().resolved(palette());
    Kav::KavPaintFace(this, m_transparent ? Kav::Backdrop::behind(colour) : Kav::Backdrop::filled(colour), {}, QRegion(),
                      Kav::FaceDensity::Device);
    // Qt then draws the handle, and the frame of a bar expanded over its neighbours.
    QToolBar::paintEvent(event);
}
