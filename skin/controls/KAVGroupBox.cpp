#include "KAVGroupBox.h"

#include "KAVAccessible.h"
#include "KAVComposer.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVPanelPainter.h"
#include "KAVPlatformPanel.h"

#include <QFontInfo>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {

constexpr QRgb DisabledCaptionColor = 0xFF808080;

} // namespace

TkavCustomGroupBox::TkavCustomGroupBox(QWidget *parent) : QWidget(parent)
{
    Kav::KavInstallAccessibility();
    setFocusPolicy(Qt::NoFocus);
    resize(Kav::Metrics::GroupBoxSize);
    applyMargins();
    // The look reaches the children too (UpdateUIStyle), also the DeepBlue of a lost file theme.
    m_look.attach(this, [this](const KavThemeValues &) { UpdateUIStyle(UIStyle(), FileTheme()); });
}

void TkavCustomGroupBox::UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme)
{
    ContainerApplyUIStyle(this, style, fileTheme);
    const KavThemeValues values(style, fileTheme);
    m_borderColor = values.color(KavKey::ControlBorderColor);
    setFontColor(values.color(KavKey::ControlFontColor));
    update();
}

void TkavCustomGroupBox::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TkavCustomGroupBox::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

TColor TkavCustomGroupBox::FontColor() const
{
    return Kav::KavPaletteColor(this, QPalette::WindowText);
}

void TkavCustomGroupBox::setFontColor(TColor color)
{
    Kav::KavUpdatePaletteColor(this, QPalette::WindowText, color);
    update();
}

TColor TkavCustomGroupBox::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Window);
}

void TkavCustomGroupBox::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Window, color);
    update();
}

void TkavCustomGroupBox::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TkavCustomGroupBox::setTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void TkavCustomGroupBox::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    handOnEnabled(enabled);
    update();
}

void TkavCustomGroupBox::handOnEnabled(bool enabled)
{
    m_ownEnabled = enabled;
    for (QObject *child : children()) {
        if (child->isWidgetType())
            static_cast<QWidget *>(child)->setEnabled(enabled);
    }
}

int TkavCustomGroupBox::fontHeight() const
{
    const int requested = font().pixelSize();
    return requested > 0 ? requested : QFontInfo(font()).pixelSize();
}

QRect TkavCustomGroupBox::GetClient() const
{
    return Kav::KavRect(3, fontHeight(), width() - 2, height() - 2);
}

void TkavCustomGroupBox::applyMargins()
{
    setContentsMargins(3, fontHeight() + 5, 3, 3);
}

void TkavCustomGroupBox::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Kav::KavUpdateOpaquePaint(this);
}

void TkavCustomGroupBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintOwnFace(painter, rect());
}

void TkavCustomGroupBox::paintOwnFace(QPainter &painter, const QRect &part) const
{
    Kav::GroupBoxOption option;
    option.size = size();
    option.caption = m_caption;
    option.font = font();
    option.fontHeight = fontHeight();
    option.borderColour = m_borderColor.resolved(palette());
    option.captionColour = isEnabled() ? palette().color(QPalette::Active, QPalette::WindowText)
                                       : QColor::fromRgb(DisabledCaptionColor);
    const QColor colour = palette().color(QPalette::Window);
    Kav::KavPaintFaceOn(painter, this, m_transparent ? Kav::Backdrop::behind(colour) : Kav::Backdrop::filled(colour),
                        [&option](QImage &face) { Kav::KavPaintGroupBox(face, option); }, part, QRegion(),
                        Kav::FaceDensity::Device);
}

void TkavCustomGroupBox::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::FontChange:
        applyMargins();
        update();
        break;
    case QEvent::EnabledChange: {
        // Only a change made on the group itself is handed on; one that comes from a disabled
        // ancestor reaches the children through Qt already.
        const bool ownEnabled = !testAttribute(Qt::WA_ForceDisabled);
        if (ownEnabled != m_ownEnabled)
            handOnEnabled(ownEnabled);
        update();
        break;
    }
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(e);
}

void TkavCustomGroupBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        m_leftDown = true;
    QWidget::mousePressEvent(e);
}

void TkavCustomGroupBox::mouseReleaseEvent(QMouseEvent *e)
{
    const bool wasDown = m_leftDown && e->button() == Qt::LeftButton;
    if (e->button() == Qt::LeftButton)
        m_leftDown = false;
    QWidget::mouseReleaseEvent(e);
    if (wasDown && rect().contains(e->position().toPoint()))
        Click();
}

// --- TkavGroupBox ---

TkavGroupBox::TkavGroupBox(QWidget *parent) : TkavCustomGroupBox(parent) {}

void TkavGroupBox::Click()
{
    Q_EMIT OnClick(this);
}

QSize TkavCustomGroupBox::sizeHint() const
{
    return layout() ? layout()->totalSizeHint() : Kav::Metrics::GroupBoxSize;
}
