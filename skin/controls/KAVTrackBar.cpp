#include "KAVTrackBar.h"

#include "KAVButtonPainter.h"
#include "KAVComposer.h"
#include "KAVFaceCache.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVPictureStore.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {
// Face cache flags of a track bar's bar strip (the drawing helpers' faces use the bits below 8).
constexpr quint32 TrackBarStripFace = 8u;
constexpr quint32 VerticalStripFace = 16u;
} // namespace

namespace Kav {

namespace {

bool isVertical(TkavProgressBarOrientation orientation)
{
    return orientation == KavOrientation::kavVertical;
}

} // namespace

TrackBarLayout trackBarLayout(const TrackBarOption &option)
{
    TrackBarLayout layout;
    const bool vertical = isVertical(option.orientation);
    const int width = option.size.width(), height = option.size.height();
    const QSize slider = option.slider.size();
    const int length = vertical ? height : width;
    const int across = vertical ? width : height;
    const int sliderAlong = vertical ? slider.height() : slider.width();
    const int sliderAcross = vertical ? slider.width() : slider.height();

    const int offset = Track::sliderOffset(length, sliderAlong, option.range, option.position);
    const int centred = std::max(0, across - sliderAcross) / 2;
    layout.slider = vertical ? QRect(QPoint(centred, offset), slider) : QRect(QPoint(offset, centred), slider);

    // The bar runs along the middle of the track at its own size.
    const int barAt = (across - option.barThickness) / 2;
    layout.bar = QRect(vertical ? QPoint(barAt, 0) : QPoint(0, barAt), option.barStrip.size());

    if (option.showTick) {
        const int tick = Metrics::TrackTickLength;
        for (const int centre : Track::tickCentres(length, sliderAlong, option.range, option.frequency)) {
            if (vertical) {
                layout.ticks.append(QLine(0, centre, tick - 1, centre));
                layout.ticks.append(QLine(width - tick, centre, width - 1, centre));
            } else {
                layout.ticks.append(QLine(centre, height - tick, centre, height - 1));
            }
        }
    }
    return layout;
}

void paintTrackBar(QImage &face, const TrackBarOption &option)
{
    QPainter painter(&face);
    paintTrackBar(painter, option);
}

void paintTrackBar(QPainter &painter, const TrackBarOption &option)
{
    const TrackBarLayout layout = trackBarLayout(option);
    // On a dense device the double-density pictures, into the same logical rectangles.
    const bool dense = painter.device() != nullptr && painter.device()->devicePixelRatioF() > 1.0;
    auto pick = [dense](const QImage &single, const QImage &doubled) -> const QImage & {
        return dense && !doubled.isNull() ? doubled : single;
    };
    if (!option.barStrip.isNull())
        painter.drawImage(QRect(layout.bar.topLeft(), option.barStrip.size()), pick(option.barStrip, option.barStrip2x));
    if (option.focusFrame) // the platform's dotted focus rectangle
        KavPaintFocusFrame(painter, QRect(QPoint(0, 0), option.size), ButtonFocusOption{true, 0});
    const QRect whole(QPoint(0, 0), option.size);
    for (const QLine &tick : layout.ticks) {
        const QRect run = QRect(tick.p1(), tick.p2()).normalized().intersected(whole);
        if (!run.isEmpty())
            painter.fillRect(run, Qt::black);
    }
    if (option.sliderVisible && !option.slider.isNull())
        painter.drawImage(QRect(layout.slider.topLeft(), option.slider.size()), pick(option.slider, option.slider2x));
}

QImage KavTrackBarStrip(const QImage &bar, int length, TkavProgressBarOrientation orientation, qreal ratio)
{
    if (bar.isNull() || length <= 0)
        return QImage();
    const bool vertical = isVertical(orientation);
    const TkavFaceCache::Key key{quint64(bar.cacheKey()), QSize(length, 0),
                                 TrackBarStripFace | (vertical ? VerticalStripFace : 0u)};
    TkavFaceCache &cache = TkavFaceCache::shared();
    QImage strip = cache.find(key);
    cache.countLookup(!strip.isNull());
    if (!strip.isNull())
        return strip;
    QImage picture = bar;
    picture.setDevicePixelRatio(1.0); // cut and stretched in its own pixels
    strip = QImage(length, picture.height(), QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    SpitDrawHorizontal(picture, strip, QRect(0, 0, length, picture.height()), false);
    if (vertical)
        RoundPicture(strip);
    // Marked before it is shared: marking a shared image copies its pixels.
    strip.setDevicePixelRatio(ratio);
    cache.insert(key, strip);
    return strip;
}

} // namespace Kav

namespace {

using Kav::Track::Range;

TkavRepeatTimerFactory &pageTimerFactory()
{
    static TkavRepeatTimerFactory factory;
    return factory;
}


int saturated(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QAccessibleInterface *trackBarAccessibleFactory(const QString &className, QObject *object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1StringView("TkavTrackBar"))
        return new TkavRangeAccessible(static_cast<QWidget *>(object), QAccessible::Slider, "LineSize");
    return nullptr;
}

} // namespace

void Kav::KavInstallTrackBarAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(trackBarAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

// --- TkavTrackBar -----------------------------------------------------------------------------

TkavTrackBar::TkavTrackBar(QWidget *parent) : TkavPlatformPanel(parent)
{
    Kav::KavInstallTrackBarAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    resize(Kav::Metrics::TrackBarLength, height());
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

TkavTrackBar::~TkavTrackBar() = default;

TkavRepeatTimerFactory TkavTrackBar::setPageTimerFactory(TkavRepeatTimerFactory factory)
{
    TkavRepeatTimerFactory previous = std::move(pageTimerFactory());
    pageTimerFactory() = std::move(factory);
    return previous;
}

// --- Look -------------------------------------------------------------------------------------

void TkavTrackBar::applyLook(const KavThemeValues &values)
{
    UpdateControl();
    if (values.traits().transparentTrackBar)
        setTransparent(true);
}

void TkavTrackBar::setOrientation(TkavProgressBarOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    if (Kav::isVertical(orientation))
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    else
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    UpdateControl();
}

bool TkavTrackBar::SliderTransparent() const
{
    return !Kav::isVertical(m_orientation);
}

void TkavTrackBar::UpdatePicture()
{
    if (!CustomPicture()) {
        const KavThemeValues values = m_look.values();
        const Kav::TkavPicture bar = values.picture(KavKey::TrackBarBarImage);
        const Kav::TkavPicture slider = values.picture(
            Kav::isVertical(m_orientation) ? KavKey::TrackBarSliderVImage : KavKey::TrackBarSliderImage);
        m_barImage = bar.image();
        m_barPicture = bar;
        m_sliderImage = slider.image();
        m_sliderPicture = slider;
    }
    prepareBarStrip();
    prepareSlider();
}

namespace {

// A disabled track bar shows its pictures greyed, as disabled buttons and boxes do.
QImage greyedCopy(const QImage &image)
{
    if (image.isNull())
        return image;
    QImage grey = Kav::TkavPictureStore::instance()
                      .userPicture(image, Kav::PictureRecipe{0, 0, Kav::PictureMask::None, true})
                      .image();
    grey.setDevicePixelRatio(image.devicePixelRatio());
    return grey;
}

} // namespace

bool TkavTrackBar::showsGreyed() const
{
    // The scroll bar's track keeps its pictures: a disabled scroll bar has no slider to grey.
    return !isEnabled() && !CustomPicture();
}

void TkavTrackBar::prepareBarStrip()
{
    const int length = trackLength();
    m_barStrip = QImage();
    m_barStrip2x = QImage();
    if (m_barImage.isNull() || length <= 0)
        return;
    // The ends keep their size and leave their magenta out; the middle stretches. Every track bar
    // of a look and length has the same strip: it is made once and shared through the face cache
    // (a look switch of many track bars made each of them its own).
    m_barStrip = Kav::KavTrackBarStrip(m_barImage, length, m_orientation);
    const QImage barImage2x = devicePixelRatioF() > 1.0 ? m_barPicture.image2x() : QImage();
    if (!barImage2x.isNull() && barImage2x.height() == 2 * m_barImage.height())
        m_barStrip2x = Kav::KavTrackBarStrip(barImage2x, 2 * length, m_orientation, 2.0);
    if (showsGreyed()) {
        m_barStrip = greyedCopy(m_barStrip);
        m_barStrip2x = greyedCopy(m_barStrip2x);
    }
}

void TkavTrackBar::prepareSlider()
{
    if (m_sliderImage.isNull()) {
        m_slider = QImage();
        return;
    }
    const Kav::PictureRecipe recipe{0, 0,
                                    SliderTransparent() ? Kav::PictureMask::BottomLeft : Kav::PictureMask::None,
                                    false};
    m_slider = Kav::TkavPictureStore::instance().userPicture(m_sliderImage, recipe).image();
    m_slider2x = QImage();
    QImage sliderImage2x;
    if (devicePixelRatioF() > 1.0)
        sliderImage2x = m_sliderPicture.isNull() ? m_sliderImage2x : m_sliderPicture.image2x();
    if (!sliderImage2x.isNull() && sliderImage2x.size() == 2 * m_sliderImage.size()) {
        // Masked as it is (the mask reads pixels, not the ratio): a copy marked otherwise would be
        // a new picture to the store on every call.
        m_slider2x = Kav::TkavPictureStore::instance().userPicture(sliderImage2x, recipe).image();
        m_slider2x.setDevicePixelRatio(2.0);
    }
    if (showsGreyed()) {
        m_slider = greyedCopy(m_slider);
        m_slider2x = greyedCopy(m_slider2x);
    }
}

void TkavTrackBar::setBarImage(const QImage &picture)
{
    m_barImage = picture;
    m_barPicture = {};
    prepareBarStrip();
    SetSize();
    UpdateSlider();
}

void TkavTrackBar::setSliderImage(const QImage &picture)
{
    setSliderImage(picture, QImage());
}

void TkavTrackBar::setSliderImage(const QImage &picture, const QImage &picture2x)
{
    m_sliderImage = picture;
    m_sliderImage2x = picture2x;
    m_sliderPicture = {};
    prepareSlider();
    update();
}

void TkavTrackBar::UpdateControl()
{
    UpdatePicture();
    SetSize();
    UpdateSlider();
}

void TkavTrackBar::SetSize()
{
    if (Kav::isVertical(m_orientation)) {
        const int thickness = std::max(m_barImage.height(), m_slider.width());
        if (width() != thickness)
            resize(thickness, height());
    } else {
        const int thickness = std::max(m_barImage.height(), m_slider.height());
        if (height() != thickness)
            resize(width(), thickness);
    }
    updateGeometry();
    update();
}

QSize TkavTrackBar::sizeHint() const
{
    if (Kav::isVertical(m_orientation))
        return QSize(std::max(m_barImage.height(), m_slider.width()), Kav::Metrics::TrackBarLength);
    return QSize(Kav::Metrics::TrackBarLength, std::max(m_barImage.height(), m_slider.height()));
}

// --- Range ------------------------------------------------------------------------------------

void TkavTrackBar::setMax(int max)
{
    if (max == m_max)
        return;
    m_max = std::max(max, m_min);
    m_position = std::min(m_position, m_max);
    UpdateSlider();
}

void TkavTrackBar::setMin(int min)
{
    if (min == m_min)
        return;
    m_min = std::min(min, m_max);
    m_position = std::max(m_position, m_min);
    UpdateSlider();
}

void TkavTrackBar::setPosition(int position)
{
    m_position = Kav::Track::clampToRange(position, Range{m_min, m_max});
    UpdateSlider();
}

void TkavTrackBar::setPageSize(int pageSize)
{
    if (pageSize >= 0 && pageSize <= m_max)
        m_pageSize = pageSize;
}

void TkavTrackBar::setLineSize(int lineSize)
{
    if (lineSize >= 0 && lineSize <= m_max)
        m_lineSize = lineSize;
}

void TkavTrackBar::UpdateSlider()
{
    update();
    notifyChange();
}

void TkavTrackBar::notifyChange()
{
    if (m_position == m_lastNotified)
        return;
    // With a range wider than 32 bits can count, the difference is kept at the nearest it can be.
    m_lastChange = saturated(qint64(m_position) - m_lastNotified);
    m_lastNotified = m_position;
    QAccessibleValueChangeEvent event(this, m_position);
    QAccessible::updateAccessibility(&event);
    Q_EMIT OnChange(this);
}

// --- Appearance -------------------------------------------------------------------------------

void TkavTrackBar::setShowTick(bool showTick)
{
    m_showTick = showTick;
    update();
}

void TkavTrackBar::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TkavTrackBar::setFrequency(int frequency)
{
    m_frequency = frequency;
    update();
}

TColor TkavTrackBar::Color() const
{
    return TColor::fromQColor(backgroundColour());
}

void TkavTrackBar::setColor(TColor color)
{
    m_parentColor = false;
    TkavPlatformPanel::setColor(color);
}

void TkavTrackBar::setParentColor(bool parentColor)
{
    m_parentColor = parentColor;
    update();
}

QColor TkavTrackBar::backgroundColour() const
{
    if (!m_parentColor)
        return TkavPlatformPanel::Color().resolved(palette());
    const QWidget *parent = parentWidget();
    if (!parent)
        return palette().color(QPalette::Window);
    // A parent of ours keeps its colour in Color; any other widget in its palette.
    const QVariant colour = parent->property("Color");
    if (colour.metaType() == QMetaType::fromType<QColor>() || colour.metaType() == QMetaType::fromType<TColor>())
        return colour.value<QColor>();
    return parent->palette().color(parent->backgroundRole());
}

void TkavTrackBar::setTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    update();
}

void TkavTrackBar::setSliderShown(bool shown)
{
    if (shown == m_sliderShown)
        return;
    m_sliderShown = shown;
    update();
}

Kav::TrackBarOption TkavTrackBar::option() const
{
    Kav::TrackBarOption option;
    option.size = size();
    option.orientation = m_orientation;
    option.range = Range{m_min, m_max};
    option.position = m_position;
    option.slider = m_slider;
    option.slider2x = m_slider2x;
    option.sliderVisible = m_sliderShown;
    option.barStrip = m_barStrip;
    option.barStrip2x = m_barStrip2x;
    option.barThickness = m_barImage.height();
    option.showTick = m_showTick;
    option.frequency = m_frequency;
    option.focusFrame = hasFocus() && TabStop();
    return option;
}

QRect TkavTrackBar::sliderRect() const
{
    return Kav::trackBarLayout(option()).slider;
}

Kav::Backdrop TkavTrackBar::backdrop() const
{
    return m_transparent ? Kav::Backdrop::behind(backgroundColour()) : Kav::Backdrop::filled(backgroundColour());
}

void TkavTrackBar::paintPanel(QImage &canvas) const
{
    Kav::paintTrackBar(canvas, option());
}

bool TkavTrackBar::event(QEvent *event)
{
    // On a screen of another pixel ratio the double-density strips are wanted, or no longer.
    if (event->type() == QEvent::ScreenChangeInternal) {
        prepareBarStrip();
        prepareSlider();
        update();
    }
    return TkavPlatformPanel::event(event);
}

void TkavTrackBar::resizeEvent(QResizeEvent *event)
{
    TkavPlatformPanel::resizeEvent(event);
    prepareBarStrip();
    SetSize();
    UpdateSlider();
}

// --- Mouse and keys ---------------------------------------------------------------------------

int TkavTrackBar::trackLength() const
{
    return Kav::isVertical(m_orientation) ? height() : width();
}

int TkavTrackBar::sliderLength() const
{
    return Kav::isVertical(m_orientation) ? m_slider.height() : m_slider.width();
}

int TkavTrackBar::along(const QPoint &point) const
{
    return Kav::isVertical(m_orientation) ? point.y() : point.x();
}

int TkavTrackBar::positionUnder(const QPoint &point) const
{
    return Kav::Track::positionAt(trackLength(), sliderLength(), Range{m_min, m_max}, along(point));
}

void TkavTrackBar::stepPage(int pages)
{
    const int sliderNear = along(sliderRect().topLeft());
    const qint64 target = Kav::Track::pageToward(m_position, qint64(pages) * m_pageSize, sliderNear,
                                                 along(m_pointer), positionUnder(m_pointer));
    setPosition(Kav::Track::clampToRange(target, Range{m_min, m_max}));
}

void TkavTrackBar::mousePressEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mousePressEvent(event);
    m_pointer = event->position().toPoint();
    const bool onSlider = m_sliderShown && !m_slider.isNull() && sliderRect().contains(m_pointer);
    if (onSlider) {
        m_dragging = true;
    } else {
        if (event->button() != Qt::LeftButton)
            return;
        stepPage(1);
        if (!m_pageTimer) {
            m_pageTimer = Kav::makeRepeatTimer(pageTimerFactory(), this);
            m_pageTimer->start(Kav::Metrics::TrackPageIntervalMs, [this] { pageTimerTick(); });
        }
    }
    if (isEnabled() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
}

void TkavTrackBar::pageTimerTick()
{
    const QRect client(0, 0, width() + 1, height() + 1); // the far edges count as inside
    if (!m_dragging && !client.contains(m_pointer)) {
        stopPaging();
        return;
    }
    // Held beside a horizontal track the slider runs three pages at a time.
    stepPage(Kav::isVertical(m_orientation) ? 1 : 3);
}

void TkavTrackBar::stopPaging()
{
    m_pageTimer.reset();
}

void TkavTrackBar::mouseMoveEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        return;
    m_pointer = event->position().toPoint();
    if (!m_dragging)
        return;
    // The slider follows without going through the setter: only a real change is told.
    m_position = positionUnder(m_pointer);
    update();
    notifyChange();
}

void TkavTrackBar::mouseReleaseEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mouseReleaseEvent(event);
    stopPaging();
    m_dragging = false;
}

void TkavTrackBar::keyPressEvent(QKeyEvent *event)
{
    const std::optional<qint64> target
        = Kav::Track::keyTarget(event->key(), m_position, m_pageSize, m_lineSize, Range{m_min, m_max});
    if (!target) {
        TkavPlatformPanel::keyPressEvent(event);
        return;
    }
    setPosition(Kav::Track::clampToRange(*target, Range{m_min, m_max}));
    event->accept();
}

void TkavTrackBar::focusInEvent(QFocusEvent *event)
{
    TkavPlatformPanel::focusInEvent(event);
    update();
}

void TkavTrackBar::focusOutEvent(QFocusEvent *event)
{
    TkavPlatformPanel::focusOutEvent(event);
    update();
}

void TkavTrackBar::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            stopPaging();
            m_dragging = false;
        }
        prepareBarStrip();
        prepareSlider();
        update();
        break;
    case QEvent::ParentChange:
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
    TkavPlatformPanel::changeEvent(event);
}

// --- TkavScrollTrackBar -----------------------------------------------------------------------

TkavScrollTrackBar::TkavScrollTrackBar(QWidget *parent) : TkavTrackBar(parent)
{
    // The owner gives the pictures and the colour; the track has no look, ticks or tab stop.
    setBarImage(QImage());
    setSliderImage(QImage());
    setShowTick(false);
    setTabStop(false);
    setTransparent(false);
}

void TkavScrollTrackBar::setSliderVisible(bool visible)
{
    setSliderShown(visible);
}

void TkavScrollTrackBar::UpdateSliderSize()
{
    SetSize();
    UpdateSlider();
}

// --- Accessibility ----------------------------------------------------------------------------

TkavRangeAccessible::TkavRangeAccessible(QWidget *widget, QAccessible::Role role, const char *stepProperty)
    : QAccessibleWidget(widget, role), m_stepProperty(stepProperty)
{
}

void *TkavRangeAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TkavRangeAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return QString::number(widget()->property("Position").toInt());
    return QAccessibleWidget::text(t);
}

QVariant TkavRangeAccessible::currentValue() const
{
    return widget()->property("Position");
}

void TkavRangeAccessible::setCurrentValue(const QVariant &value)
{
    if (widget()->isEnabled())
        widget()->setProperty("Position", value.toInt());
}

QVariant TkavRangeAccessible::maximumValue() const
{
    return widget()->property("Max");
}

QVariant TkavRangeAccessible::minimumValue() const
{
    return widget()->property("Min");
}

QVariant TkavRangeAccessible::minimumStepSize() const
{
    return widget()->property(m_stepProperty);
}
