#include "KAVScrollBar.h"

#include "KAVComposer.h"
#include "KAVFunctions.h"
#include "KAVImageButton.h"
#include "KAVMetrics.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

using Kav::Track::Range;

namespace Kav {

QImage composeScrollSlider(const QImage &head, const QImage &body, const QImage &tail, int length,
                           TkavProgressBarOrientation orientation)
{
    if (length < 1 || head.isNull())
        return QImage();
    const bool vertical = orientation == KavOrientation::kavVertical;
    const int thickness = vertical ? head.width() : head.height();
    QImage slider(vertical ? QSize(thickness, length) : QSize(length, thickness), QImage::Format_RGB32);
    slider.fill(Qt::black);
    const int headLength = vertical ? head.height() : head.width();
    const int tailLength = tail.isNull() ? 0 : vertical ? tail.height() : tail.width();
    // A slider shorter than its two ends shows the start of the head and the end of the tail, in
    // the proportion of their lengths, so that it still has both ends.
    const int headShown = headLength + tailLength <= length
        ? headLength
        : int(qint64(length) * headLength / (headLength + tailLength));
    const int tailShown = std::min(tailLength, length - headShown);
    const int bodyStart = headShown, bodyEnd = length - tailShown;

    QPainter painter(&slider);
    auto along = [vertical](int offset) { return vertical ? QPoint(0, offset) : QPoint(offset, 0); };
    auto span = [vertical, thickness](int from, int to) {
        return vertical ? QRect(0, from, thickness, to - from) : QRect(from, 0, to - from, thickness);
    };
    painter.drawImage(span(0, headShown), head, span(0, headShown));
    if (bodyEnd > bodyStart && !body.isNull()) // stretched by repeating pixels, as every skin picture is
        painter.drawImage(span(bodyStart, bodyEnd), body);
    if (tailShown > 0)
        painter.drawImage(along(bodyEnd), tail, span(tailLength - tailShown, tailLength));
    return slider;
}

} // namespace Kav

namespace {

QAccessibleInterface *scrollBarAccessibleFactory(const QString &className, QObject *object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1StringView("TkavScrollBar"))
        return new TkavRangeAccessible(static_cast<QWidget *>(object), QAccessible::ScrollBar, "SmallChange");
    return nullptr;
}

bool isVertical(TkavProgressBarOrientation orientation)
{
    return orientation == KavOrientation::kavVertical;
}

} // namespace

void Kav::KavInstallScrollBarAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(scrollBarAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

// --- TkavScrollBar ----------------------------------------------------------------------------

TkavScrollBar::TkavScrollBar(QWidget *parent) : TkavPlatformPanel(parent)
{
    Kav::KavInstallScrollBarAccessibility();
    m_track = new TkavScrollTrackBar(this);
    m_increase = new TkavImageButton(this);
    m_decrease = new TkavImageButton(this);
    for (TkavImageButton *button : {m_decrease, m_increase}) {
        button->setTabStop(false);
        button->setMouseContinuouslyDownInterval(Kav::Metrics::ScrollArrowRepeatMs);
        button->setAutoSize(true);
    }
    m_track->setAccessibleName(tr("Position"));
    connect(m_track, &TkavTrackBar::OnChange, this, &TkavScrollBar::OnChange);
    connect(m_increase, &TkavCustomButton::OnMouseContinuouslyDown, this,
            [this] { MouseContinuouslyDownInc(); });
    connect(m_decrease, &TkavCustomButton::OnMouseContinuouslyDown, this,
            [this] { MouseContinuouslyDownDec(); });

    m_track->setMax(100);
    m_track->setPageSize(2);
    m_track->setLineSize(1);
    resize(Kav::Metrics::ScrollBarLength, Kav::Metrics::ScrollBarLength);
    m_look.attach(this, [this](const KavThemeValues &) { applyLook(); });
}

TkavScrollBar::~TkavScrollBar() = default;

void TkavScrollBar::setOrientation(TkavProgressBarOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    applyLook();
}

void TkavScrollBar::applyLook()
{
    UpdatePictures();
    PlaceTrackBarAndButton(Placing::ThicknessFromLook);
}

void TkavScrollBar::UpdatePictures()
{
    const KavThemeValues values = m_look.values();
    setColor(values.color(KavKey::ScrollBarBackgroundColor));

    // The double-density pixels are decoded on a screen of ratio above 1 only (README).
    const bool dense = devicePixelRatioF() > 1.0;
    auto frame = [&values](int key, int count, int index) {
        return values.picture(key, Kav::PictureRecipe{count, index, Kav::PictureMask::None, false});
    };
    auto pixels2x = [dense](const Kav::TkavPicture &picture) {
        QImage doubled = dense ? picture.image2x() : QImage();
        doubled.setDevicePixelRatio(1.0); // turned as plain pixels; the button marks them again
        return doubled;
    };
    const Kav::TkavPicture head = frame(KavKey::ScrollBarSliderImage, 3, 1);
    const Kav::TkavPicture body = frame(KavKey::ScrollBarSliderImage, 3, 2);
    const Kav::TkavPicture tail = frame(KavKey::ScrollBarSliderImage, 3, 3);
    m_sliderHead = head.image();
    m_sliderBody = body.image();
    m_sliderTail = tail.image();
    m_sliderHead2x = pixels2x(head);
    m_sliderBody2x = pixels2x(body);
    m_sliderTail2x = pixels2x(tail);

    // The arrows are drawn pointing up and down; a horizontal bar turns them to point left and
    // right. The slices are drawn lying; a vertical bar stands them up.
    QImage arrows[6];
    QImage arrows2x[6];
    for (int index = 0; index < 6; ++index) {
        const Kav::TkavPicture arrow = frame(KavKey::ScrollBarButtonImage, 6, index + 1);
        arrows[index] = arrow.image();
        arrows2x[index] = pixels2x(arrow);
        if (!isVertical(m_orientation)) {
            RoundPicture(arrows[index]);
            if (!arrows2x[index].isNull())
                RoundPicture(arrows2x[index]);
        }
    }
    if (isVertical(m_orientation)) {
        for (QImage *slice : {&m_sliderHead, &m_sliderBody, &m_sliderTail, &m_sliderHead2x, &m_sliderBody2x,
                              &m_sliderTail2x}) {
            if (!slice->isNull())
                RoundPicture3(*slice);
        }
    }
    m_decrease->setAccessibleName(isVertical(m_orientation) ? tr("Line up") : tr("Line left"));
    m_increase->setAccessibleName(isVertical(m_orientation) ? tr("Line down") : tr("Line right"));
    m_decrease->setPicNormal(arrows[0]);
    m_decrease->setPicMouseOn(arrows[1]);
    m_decrease->setPicMouseDown(arrows[2]);
    m_increase->setPicNormal(arrows[3]);
    m_increase->setPicMouseOn(arrows[4]);
    m_increase->setPicMouseDown(arrows[5]);
    m_decrease->setPictures2x(arrows2x[0], arrows2x[1], arrows2x[2]);
    m_increase->setPictures2x(arrows2x[3], arrows2x[4], arrows2x[5]);
    update();
}

void TkavScrollBar::PlaceTrackBarAndButton(Placing placing)
{
    // Placing resizes the bar across, which comes back here through resizeEvent.
    if (m_placing)
        return;
    m_placing = true;
    m_track->setOrientation(m_orientation);
    const QSize decrease = m_decrease->PicNormal().size();
    QSize laidOut = size();
    // The thickness across is the look's. A look change lays the bar out by its length alone, so
    // that a thickness of 0 left by an earlier look without arrow pictures does not keep the bar
    // hidden; only a bar of no length stays so.
    if (placing == Placing::ThicknessFromLook) {
        if (isVertical(m_orientation) && laidOut.height() > 0)
            laidOut.setWidth(decrease.width());
        else if (!isVertical(m_orientation) && laidOut.width() > 0)
            laidOut.setHeight(decrease.height());
    }
    const Kav::Track::ScrollBarLayout layout =
        Kav::Track::scrollBarLayout(laidOut, m_orientation, decrease, m_increase->PicNormal().size());
    if (!layout.visible) {
        // A bar of no width or height shows nothing and can be hit nowhere; it is laid out again
        // once it has a size.
        m_placing = false;
        return;
    }
    m_decrease->setGeometry(layout.decrease);
    m_increase->setGeometry(layout.increase);
    if (isVertical(m_orientation))
        m_track->setGeometry(QRect(layout.trackAt, QSize(m_track->width(), layout.trackLength)));
    else
        m_track->setGeometry(QRect(layout.trackAt, QSize(layout.trackLength, m_track->height())));
    if (size() != layout.barSize)
        resize(layout.barSize);
    m_placing = false;
    UpdateSliderPic();
    updateGeometry();
}

bool TkavScrollBar::event(QEvent *event)
{
    // On a screen of another ratio the double-density pictures are wanted, or no longer.
    if (event->type() == QEvent::ScreenChangeInternal) {
        UpdatePictures();
        UpdateSliderPic();
    }
    return TkavPlatformPanel::event(event);
}

void TkavScrollBar::UpdateSliderPic()
{
    const int trackLength = isVertical(m_orientation) ? m_track->height() : m_track->width();
    // A fixed length below the shortest is raised, and the property keeps the raised value.
    m_lineButton = Kav::Track::effectiveLineButton(m_lineButton);
    const int length = Kav::Track::scrollSliderLength(trackLength, PageSize(), m_lineButton);
    QImage slider2x;
    if (!m_sliderHead2x.isNull()) {
        slider2x = Kav::composeScrollSlider(m_sliderHead2x, m_sliderBody2x, m_sliderTail2x, 2 * length,
                                            m_orientation);
    }
    m_track->setSliderImage(
        Kav::composeScrollSlider(m_sliderHead, m_sliderBody, m_sliderTail, length, m_orientation), slider2x);
    m_track->UpdateSliderSize();
}

int TkavScrollBar::trackRoom() const
{
    if (isVertical(m_orientation))
        return height() - m_decrease->PicNormal().height() - m_increase->PicNormal().height();
    return width() - m_decrease->PicNormal().width() - m_increase->PicNormal().width();
}

void TkavScrollBar::setLineButton(int lineButton)
{
    if (lineButton == m_lineButton || lineButton > trackRoom())
        return;
    m_lineButton = lineButton;
    UpdateSliderPic();
}

int TkavScrollBar::Max() const
{
    return m_track->Max();
}

void TkavScrollBar::setMax(int max)
{
    m_track->setMax(max);
}

int TkavScrollBar::Min() const
{
    return m_track->Min();
}

void TkavScrollBar::setMin(int min)
{
    m_track->setMin(min);
}

void TkavScrollBar::setRange(int min, int max)
{
    max = std::max(min, max);
    // Whichever end goes first must not be clamped by the other's old value.
    if (max >= m_track->Min()) {
        m_track->setMax(max);
        m_track->setMin(min);
    } else {
        m_track->setMin(min);
        m_track->setMax(max);
    }
}

int TkavScrollBar::Position() const
{
    return m_track->Position();
}

void TkavScrollBar::setPosition(int position)
{
    if (position != m_track->Position())
        m_track->setPosition(position);
}

void TkavScrollBar::setSmallChange(int smallChange)
{
    m_smallChange = std::clamp(smallChange, 1, 32767);
}

int TkavScrollBar::PageSize() const
{
    return m_track->PageSize();
}

void TkavScrollBar::setPageSize(int pageSize)
{
    m_track->setPageSize(pageSize);
    UpdateSliderPic();
}

int TkavScrollBar::LargeChange() const
{
    return m_track->PageSize() & 0xFFFF;
}

void TkavScrollBar::setLargeChange(int largeChange)
{
    m_track->setPageSize(largeChange);
}

void TkavScrollBar::setColor(TColor color)
{
    TkavPlatformPanel::setColor(color);
    m_track->setColor(color);
}

bool TkavScrollBar::SliderVisible() const
{
    return m_track->SliderVisible();
}

void TkavScrollBar::setSliderVisible(bool visible)
{
    m_track->setSliderVisible(visible);
}

int TkavScrollBar::LastChange() const
{
    return m_track->LastChange();
}

void TkavScrollBar::stepBy(qint64 delta)
{
    m_track->setPosition(Kav::Track::clampToRange(qint64(m_track->Position()) + delta,
                                                  Range{m_track->Min(), m_track->Max()}));
}

void TkavScrollBar::MouseContinuouslyDownInc()
{
    stepBy(m_smallChange);
}

void TkavScrollBar::MouseContinuouslyDownDec()
{
    stepBy(-qint64(m_smallChange));
}

QSize TkavScrollBar::sizeHint() const
{
    const int decreaseWidth = m_decrease->PicNormal().width();
    const int decreaseHeight = m_decrease->PicNormal().height();
    if (isVertical(m_orientation))
        return QSize(decreaseWidth, Kav::Metrics::ScrollBarLength);
    return QSize(Kav::Metrics::ScrollBarLength, decreaseHeight);
}

// The children cover nearly everything; what shows between them is the bar's colour.
Kav::Backdrop TkavScrollBar::backdrop() const
{
    return Kav::Backdrop::filled(Color().resolved(palette()));
}

void TkavScrollBar::paintPanel(QImage &) const {}

void TkavScrollBar::resizeEvent(QResizeEvent *event)
{
    TkavPlatformPanel::resizeEvent(event);
    PlaceTrackBarAndButton();
}

void TkavScrollBar::wheelEvent(QWheelEvent *event)
{
    // The wheel moves the bar as it moves Qt's own: a few arrow steps per notch.
    const QPoint delta = event->angleDelta();
    m_wheelRemainder += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_wheelRemainder / 120;
    m_wheelRemainder -= notches * 120;
    if (notches != 0)
        stepBy(-qint64(notches) * QApplication::wheelScrollLines() * m_smallChange);
    event->accept();
}

// --- TkavAttachedScrollBars -------------------------------------------------------------------

TkavAttachedScrollBars::TkavAttachedScrollBars(QAbstractScrollArea *host) : QObject(host), m_host(host)
{
    host->installEventFilter(this);
    for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
        QScrollBar *native = hostBar(orientation);
        connect(native, &QAbstractSlider::rangeChanged, this, [this, orientation] { synchronise(orientation); });
        connect(native, &QAbstractSlider::valueChanged, this, [this, orientation] { synchronise(orientation); });
    }
}

TkavAttachedScrollBars::~TkavAttachedScrollBars()
{
    for (Side *s : {&m_vertical, &m_horizontal}) {
        for (const QMetaObject::Connection &connection : s->connections)
            disconnect(connection);
        if (s->bar)
            s->bar->removeEventFilter(this);
    }
}

TkavAttachedScrollBars::Side &TkavAttachedScrollBars::side(Qt::Orientation orientation)
{
    return orientation == Qt::Vertical ? m_vertical : m_horizontal;
}

const TkavAttachedScrollBars::Side &TkavAttachedScrollBars::side(Qt::Orientation orientation) const
{
    return orientation == Qt::Vertical ? m_vertical : m_horizontal;
}

QScrollBar *TkavAttachedScrollBars::hostBar(Qt::Orientation orientation) const
{
    return orientation == Qt::Vertical ? m_host->verticalScrollBar() : m_host->horizontalScrollBar();
}

TkavScrollBar *TkavAttachedScrollBars::bar(Qt::Orientation orientation) const
{
    return side(orientation).bar;
}

void TkavAttachedScrollBars::release(Side &s)
{
    for (const QMetaObject::Connection &connection : s.connections)
        disconnect(connection);
    s.connections.clear();
    if (TkavScrollBar *old = s.bar) {
        old->removeEventFilter(this);
        old->setLineButton(0);
        old->setMax(100);
        old->setEnabled(true);
        if (s.hiddenForRoom)
            old->show();
    }
    s.bar = nullptr;
    s.hiddenForRoom = false;
}

bool TkavAttachedScrollBars::setBar(Qt::Orientation orientation, TkavScrollBar *newBar)
{
    Side &s = side(orientation);
    if (newBar == s.bar)
        return false;
    release(s);
    if (!newBar) {
        Q_EMIT barsChanged();
        return true;
    }
    s.bar = newBar;
    // Its thickness is its look's: the bar takes its first look now if it has none yet.
    newBar->ensurePolished();
    newBar->setOrientation(orientation == Qt::Vertical ? KavOrientation::kavVertical
                                                       : KavOrientation::kavHorizontal);
    s.connections.append(connect(newBar, &TkavScrollBar::OnChange, this,
                                 [this, orientation] { barMoved(orientation); }));
    s.connections.append(connect(newBar, &QObject::destroyed, this,
                                 [this, orientation] { barDestroyed(orientation); }));
    newBar->installEventFilter(this);
    newBar->raise();
    Q_EMIT barsChanged();
    updatePlacement();
    return true;
}

void TkavAttachedScrollBars::barDestroyed(Qt::Orientation orientation)
{
    Side &s = side(orientation);
    s.connections.clear();
    s.bar = nullptr;
    s.hiddenForRoom = false;
    Q_EMIT barsChanged();
}

QMargins TkavAttachedScrollBars::reservedMargins() const
{
    return QMargins(0, 0, m_vertical.bar ? m_vertical.bar->width() : 0,
                    m_horizontal.bar ? m_horizontal.bar->height() : 0);
}

QRect TkavAttachedScrollBars::hostRect(const TkavScrollBar *bar) const
{
    const QWidget *parent = bar->parentWidget();
    if (parent == m_host->parentWidget())
        return m_host->geometry();
    const QPoint corner = m_host->mapToGlobal(QPoint(0, 0));
    return QRect(parent ? parent->mapFromGlobal(corner) : corner, m_host->size());
}

void TkavAttachedScrollBars::place(Side &s, const Kav::Track::AttachedPlacement &placement)
{
    TkavScrollBar *bar = s.bar;
    bar->setGeometry(placement.geometry);
    const bool fits = placement.fits || !m_hideWhenCramped;
    if (!fits && bar->isVisibleTo(bar->parentWidget())) {
        s.hiddenForRoom = true;
        bar->hide();
    } else if (fits && s.hiddenForRoom) {
        s.hiddenForRoom = false;
        bar->show();
    }
}

void TkavAttachedScrollBars::setHideWhenCramped(bool hide)
{
    if (m_hideWhenCramped == hide)
        return;
    m_hideWhenCramped = hide;
    updatePlacement();
}

void TkavAttachedScrollBars::updatePlacement()
{
    if (TkavScrollBar *horizontal = m_horizontal.bar) {
        const int otherWidth = m_vertical.bar ? m_vertical.bar->width() : 0;
        place(m_horizontal, Kav::Track::placeHorizontalBar(hostRect(horizontal), horizontal->height(), otherWidth));
    }
    if (TkavScrollBar *vertical = m_vertical.bar) {
        const int otherHeight = m_horizontal.bar ? m_horizontal.bar->height() : 0;
        place(m_vertical, Kav::Track::placeVerticalBar(hostRect(vertical), vertical->width(), otherHeight));
    }
    synchronise();
}

void TkavAttachedScrollBars::synchronise()
{
    synchronise(Qt::Horizontal);
    synchronise(Qt::Vertical);
}

void TkavAttachedScrollBars::synchronise(Qt::Orientation orientation)
{
    TkavScrollBar *bar = side(orientation).bar;
    if (!bar || m_scrollingFromBar)
        return;
    const QScrollBar *native = hostBar(orientation);
    const Range range{native->minimum(), native->maximum()};
    const bool synchronising = m_synchronising;
    m_synchronising = true;
    if (!m_host->isEnabled() || range.span() <= 0) {
        // Nothing to scroll: the bar takes no input and shows no slider.
        bar->setLineButton(0);
        bar->setEnabled(false);
        bar->setSliderVisible(false);
    } else {
        bar->setLineButton(Kav::Track::proportionalThumb(bar->trackRoom(), range, native->pageStep()));
        if (orientation == Qt::Horizontal)
            bar->setSmallChange(3 * bar->PageSize());
        bar->setEnabled(true);
        bar->setSliderVisible(true);
    }
    bar->setRange(range.min, range.max);
    bar->setPosition(native->value());
    m_synchronising = synchronising;
}

void TkavAttachedScrollBars::barMoved(Qt::Orientation orientation)
{
    TkavScrollBar *bar = side(orientation).bar;
    if (!bar || m_synchronising)
        return;
    m_scrollingFromBar = true;
    hostBar(orientation)->setValue(bar->Position());
    m_host->viewport()->update();
    m_scrollingFromBar = false;
}

bool TkavAttachedScrollBars::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            updatePlacement();
            break;
        case QEvent::EnabledChange:
            synchronise();
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::Resize) {
        const auto *resize = static_cast<QResizeEvent *>(event);
        const bool vertical = watched == m_vertical.bar;
        const bool thicknessChanged = vertical ? resize->size().width() != resize->oldSize().width()
                                               : resize->size().height() != resize->oldSize().height();
        if (thicknessChanged)
            Q_EMIT roomChanged();
    }
    return QObject::eventFilter(watched, event);
}
