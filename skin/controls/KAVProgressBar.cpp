#include "KAVProgressBar.h"

#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVPictureStore.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <limits>

// --- Arithmetic -------------------------------------------------------------------------------

namespace Kav::Progress {

qint64 percent(int min, int max, int position)
{
    if (max == min)
        return 0;
    // Both differences fit 33 bits, so the product with 100 cannot overflow 64 bits.
    return (qint64(position) - min) * 100 / (qint64(max) - min);
}

QString caption(int min, int max, int position)
{
    return QString::number(percent(min, max, position)) + QLatin1Char('%');
}

int fillLength(int total, int min, int max, int position)
{
    if (total <= 0 || max <= min || position <= min)
        return 0;
    if (position > max)
        return total;
    // total < 2^31 and position - min <= max - min < 2^32: the product stays below 2^63.
    return int(qint64(total) * (qint64(position) - min) / (qint64(max) - min));
}

} // namespace Kav::Progress

// --- Painting ---------------------------------------------------------------------------------

namespace Kav {

ProgressBarLayout progressBarLayout(const ProgressBarOption &option)
{
    const int width = option.size.width(), height = option.size.height();
    ProgressBarLayout layout;
    if (option.orientation == KavOrientation::kavVertical) {
        // The fill rises from the bottom: its top row is t, the unfilled part lies above it.
        int top = (height - 1) - Progress::fillLength(height - 1, option.min, option.max, option.position);
        if (top == 0)
            top = 1;
        layout.fill = QRect(QPoint(1, top), QPoint(width - 2, height - 2));
        layout.rest = QRect(QPoint(1, 1), QPoint(width - 2, top - 1));
    } else {
        // Even an empty bar reaches column 1, so the fill always starts inside the frame.
        int right = Progress::fillLength(width - 1, option.min, option.max, option.position);
        if (right == 0)
            right = 1;
        layout.fill = QRect(QPoint(1, 1), QPoint(right - 1, height - 2));
        layout.rest = QRect(QPoint(right, 1), QPoint(width - 2, height - 2));
    }
    return layout;
}

void paintProgressBar(QImage &face, const ProgressBarOption &option)
{
    QPainter painter(&face);
    paintProgressBar(painter, option);
}

void paintProgressBar(QPainter &painter, const ProgressBarOption &option)
{
    const ProgressBarLayout layout = progressBarLayout(option);
    // Everything in logical pixels: the face may be composed at the device's density.
    const QRect whole(QPoint(0, 0), option.size);
    painter.save();
    if (!option.picture.isNull() && layout.fill.isValid()) {
        // On a dense face the double-density fill, stretched into the same logical rectangle.
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        const QImage &fill = ratio > 1.0 && !option.picture2x.isNull() ? option.picture2x
                                                                   : option.picture;
        if (option.orientation == KavOrientation::kavVertical) {
            // The turned picture is laid upside down, so its first row meets the bottom.
            painter.drawImage(layout.fill, fill.mirrored(false, true));
        } else {
            painter.drawImage(layout.fill, fill);
        }
    }
    if (layout.rest.isValid())
        painter.fillRect(layout.rest, option.color);

    if (option.drawCaption) {
        painter.setFont(option.font);
        painter.setPen(option.captionColor);
        const QFontMetrics metrics(option.font);
        const int x = (whole.width() - metrics.horizontalAdvance(option.caption)) / 2;
        const int y = (whole.height() - metrics.height()) / 2;
        painter.drawText(x, y + metrics.ascent(), option.caption);
    }

    // The border as four one-pixel rectangles: a pen line would thin out at fractional densities.
    const QColor border = option.borderColor;
    painter.fillRect(QRect(whole.left(), whole.top(), whole.width(), 1), border);
    painter.fillRect(QRect(whole.left(), whole.bottom(), whole.width(), 1), border);
    painter.fillRect(QRect(whole.left(), whole.top(), 1, whole.height()), border);
    painter.fillRect(QRect(whole.right(), whole.top(), 1, whole.height()), border);
    painter.restore();
}

} // namespace Kav

// --- Accessibility ----------------------------------------------------------------------------

namespace {

QAccessibleInterface *progressBarAccessibleFactory(const QString &className, QObject *object)
{
    if (object != nullptr && object->isWidgetType() && className == QLatin1StringView("TkavProgressBar"))
        return new TkavProgressBarAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

bool isVertical(TkavProgressBarOrientation orientation)
{
    return orientation == KavOrientation::kavVertical;
}

} // namespace

void Kav::KavInstallProgressBarAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(progressBarAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

TkavProgressBarAccessible::TkavProgressBarAccessible(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::ProgressBar)
{
}

const TkavProgressBar *TkavProgressBarAccessible::bar() const
{
    return static_cast<const TkavProgressBar *>(object());
}

void *TkavProgressBarAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TkavProgressBarAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return bar()->Caption();
    return QAccessibleWidget::text(t);
}

QVariant TkavProgressBarAccessible::currentValue() const { return bar()->Position(); }
// A progress bar shows what the program does; assistive tools read it but do not set it.
void TkavProgressBarAccessible::setCurrentValue(const QVariant &) {}
QVariant TkavProgressBarAccessible::maximumValue() const { return bar()->Max(); }
QVariant TkavProgressBarAccessible::minimumValue() const { return bar()->Min(); }
QVariant TkavProgressBarAccessible::minimumStepSize() const { return 1; }

// --- TkavProgressBar --------------------------------------------------------------------------

TkavProgressBar::TkavProgressBar(QWidget *parent) : TkavPlatformPanel(parent)
{
    Kav::KavInstallProgressBarAccessibility();
    m_color = TColor::fromQColor(palette().color(QPalette::Button));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    UpdateBar(Kav::Metrics::ProgressBarLength);
    m_look.attach(this, [this](const KavThemeValues &) { UpdatePicture(); });
}

TkavProgressBar::~TkavProgressBar() = default;

void TkavProgressBar::UpdatePicture()
{
    const KavThemeValues values = m_look.values();
    m_lookPicture = values.picture(KavKey::ProgressBarImage);
    QImage picture = m_lookPicture.image();
    if (isVertical(m_orientation) && !picture.isNull())
        RoundPicture(picture);
    m_picture = picture;
    preparePicture2x();
    m_color = values.color(KavKey::ControlBackgroundColor);
    m_borderColor = values.color(KavKey::ControlBorderColor);
    update();
}

void TkavProgressBar::setOrientation(TkavProgressBarOrientation orientation)
{
    m_orientation = orientation;
    // Decided here rather than while painting: painting only reads the bar.
    if (isVertical(orientation))
        m_showCaption = false;
    UpdatePicture();
    UpdateBar(std::max(width(), height()));
}

void TkavProgressBar::UpdateBar(int length)
{
    const int thickness = Kav::Metrics::ProgressBarThickness;
    // The thickness is fixed; only the length follows resizes and layouts.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (isVertical(m_orientation)) {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        setFixedWidth(thickness);
        resize(thickness, length);
    } else {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        setFixedHeight(thickness);
        resize(length, thickness);
    }
    updateGeometry();
}

QSize TkavProgressBar::sizeHint() const
{
    const int thickness = Kav::Metrics::ProgressBarThickness;
    const int length = Kav::Metrics::ProgressBarLength;
    return isVertical(m_orientation) ? QSize(thickness, length) : QSize(length, thickness);
}

void TkavProgressBar::setMax(int max)
{
    m_max = max;
    UpdateProgress();
}

void TkavProgressBar::setMin(int min)
{
    m_min = min;
    UpdateProgress();
}

void TkavProgressBar::setPosition(int position)
{
    m_position = position;
    UpdateProgress();
}

void TkavProgressBar::StepIt()
{
    StepBy(1);
}

void TkavProgressBar::StepBy(int delta)
{
    const qint64 stepped = qint64(m_position) + delta;
    setPosition(int(std::clamp<qint64>(stepped, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void TkavProgressBar::UpdateProgress()
{
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_position);
        QAccessible::updateAccessibility(&event);
    }
}

QString TkavProgressBar::Caption() const
{
    return Kav::Progress::caption(m_min, m_max, m_position);
}

void TkavProgressBar::setCaptionColor(TColor color)
{
    m_captionColor = color;
    update();
}

void TkavProgressBar::setShowCaption(bool show)
{
    m_showCaption = show;
    update();
}

void TkavProgressBar::setSmartShowCaption(bool smart)
{
    m_smartShowCaption = smart;
    update();
}

void TkavProgressBar::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

void TkavProgressBar::setColor(TColor color)
{
    m_color = color;
    update();
}

void TkavProgressBar::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_lookPicture = {};
    m_picture2x = QImage();
    update();
}

void TkavProgressBar::preparePicture2x()
{
    // Decoded on a dense screen only; a picture a program gave has only its own pixels.
    m_picture2x = devicePixelRatioF() > 1.0 ? m_lookPicture.image2x() : QImage();
    if (m_picture2x.isNull())
        return;
    m_picture2x.setDevicePixelRatio(1.0);
    if (isVertical(m_orientation))
        RoundPicture(m_picture2x);
    m_picture2x.setDevicePixelRatio(2.0);
}

bool TkavProgressBar::event(QEvent *event)
{
    if (event->type() == QEvent::ScreenChangeInternal) {
        preparePicture2x();
        update();
    }
    return TkavPlatformPanel::event(event);
}

Kav::ProgressBarOption TkavProgressBar::option() const
{
    Kav::ProgressBarOption option;
    option.size = size();
    option.orientation = m_orientation;
    option.min = m_min;
    option.max = m_max;
    option.position = m_position;
    option.picture = m_picture;
    option.picture2x = m_picture2x;
    option.color = m_color.resolved(palette());
    option.borderColor = m_borderColor.resolved(palette());
    option.captionColor = m_captionColor.resolved(palette());
    option.caption = Caption();
    option.drawCaption = m_showCaption && !isVertical(m_orientation) && !(m_smartShowCaption && m_position == m_min);
    option.font = font();
    return option;
}

Kav::Backdrop TkavProgressBar::backdrop() const
{
    return Kav::Backdrop::filled(m_color.resolved(palette()));
}

void TkavProgressBar::paintPanel(QImage &canvas) const
{
    Kav::paintProgressBar(canvas, option());
}
