#include "KAVMSNPopForm.h"

#include "KAVComposer.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVWindowState.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QColor NoticeTextNavy{0x00, 0x00, 0x80};

qint64 monotonicNow()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return clock.elapsed();
}

// Assistive tools hear the notice as a notification: its title as name, its message as
// description.
class NoticeAccessible : public QAccessibleWidget {
public:
    explicit NoticeAccessible(TfrmMSNPopForm *window) : QAccessibleWidget(window, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *window = static_cast<const TfrmMSNPopForm *>(widget());
        if (t == QAccessible::Name)
            return window->content().title;
        if (t == QAccessible::Description)
            return window->content().text;
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *noticeAccessibleFactory(const QString &, QObject *object)
{
    if (auto *window = qobject_cast<TfrmMSNPopForm *>(object))
        return new NoticeAccessible(window);
    return nullptr;
}

void installNoticeAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(noticeAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

namespace Kav {

void paintNoticeFace(QPainter &painter, const TkavNoticeFaceOption &option)
{
    const NoticeParts parts = noticeParts(option.size);
    if (!option.background.isNull()) {
        painter.drawImage(QRect(QPoint(0, 0), option.background.size()),
                          option.background.imageFor(painter.device()->devicePixelRatio()));
    } else {
        // The close mark is part of the picture; without it the box is still drawn where it is
        // hit, so that the notice can be closed.
        const QRect box = parts.closeBox.adjusted(0, 0, -1, -1);
        painter.setPen(option.titleColor);
        painter.drawRect(box);
        painter.drawLine(box.topLeft() + QPoint(3, 3), box.bottomRight() - QPoint(3, 3));
        painter.drawLine(box.topRight() + QPoint(-3, 3), box.bottomLeft() + QPoint(3, -3));
    }
    painter.setFont(option.titleFont);
    painter.setPen(option.titleColor);
    painter.drawText(parts.title, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, option.title);
    painter.setFont(option.textFont);
    painter.setPen(option.textColor);
    painter.drawText(parts.text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, option.text);
}

} // namespace Kav

// ---- TfrmMSNPopForm -----------------------------------------------------------------------------

TfrmMSNPopForm::TfrmMSNPopForm()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    installNoticeAccessibility();
    setObjectName(QStringLiteral("frmMSNPop"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    m_background = Kav::TkavPictureStore::instance().resourcePicture(QStringLiteral("MSNPOPFORM"));
    QSize size = m_background.size();
    if (size.isEmpty()) {
        // Without the picture the notice keeps its usual size and shows a plain face.
        for (const Kav::Metrics::FixedPicture &picture : Kav::Metrics::FixedPictures)
            if (qstrcmp(picture.name, "MSNPOPFORM") == 0)
                size = picture.size;
    }
    m_noticeSize = size;
    resize(size);
    m_origin = Kav::noticeOrigin(GetWorkAreaRect(), size, true, QPoint());
    setClock({});
}

TfrmMSNPopForm::~TfrmMSNPopForm() = default;

void TfrmMSNPopForm::setClock(const TkavNoticeClock &clock)
{
    m_clock.now = clock.now ? clock.now : std::function<qint64()>(monotonicNow);
    m_clock.timers = clock.timers;
    m_timer.reset();
    m_timerPhase = Kav::NoticePhase::Hidden;
    restartTimer();
}

qint64 TfrmMSNPopForm::now() const
{
    return m_clock.now();
}

void TfrmMSNPopForm::popup(const Content &content, const QPoint &origin, int animateMs, int stayMs, bool clickHide)
{
    m_content = content;
    m_origin = origin;
    m_clickHide = clickHide;
    m_timeline.setTimes(animateMs, stayMs);
    const bool wasVisible = isVisible();
    m_timeline.popup(now());
    applyPhase();
    update();
    // A notice that shows on with new content is announced again; one that comes up is
    // announced as it appears.
    if (wasVisible)
        announce();
}

void TfrmMSNPopForm::announce()
{
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void TfrmMSNPopForm::closeNotice(bool animate)
{
    m_timeline.close(now(), animate);
    applyPhase();
}

void TfrmMSNPopForm::step()
{
    m_timeline.advance(now());
    applyPhase();
}

void TfrmMSNPopForm::attachTo(QWidget *host)
{
    if (!host || isVisible() || parentWidget() == host)
        return;
    setParent(host, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
}

void TfrmMSNPopForm::applyPhase()
{
    int shown = m_timeline.visibleHeight(now(), m_noticeSize.height());
    // A window the compositor places does not slide: its place is not its own to change.
    if (shown > 0 && !Kav::KavWindowsPlaceThemselves())
        shown = m_noticeSize.height();
    if (shown <= 0) {
        // Hidden, or the first instant of a slide-in: nothing of the notice shows yet.
        hide();
    } else {
        setGeometry(Kav::noticeSlideRect(fullGeometry(), shown));
        if (!isVisible()) {
            show();
            announce();
        }
    }
    restartTimer();
}

void TfrmMSNPopForm::restartTimer()
{
    const Kav::NoticePhase phase = m_timeline.phase();
    if (phase == m_timerPhase && (m_timer || phase == Kav::NoticePhase::Hidden))
        return;
    m_timerPhase = phase;
    // Freeing the timer from inside its own tick is allowed.
    m_timer.reset();
    if (phase == Kav::NoticePhase::Hidden)
        return;
    const int interval =
        phase == Kav::NoticePhase::Shown ? Kav::Metrics::NoticeStayCheckMs : Kav::Metrics::NoticeFrameMs;
    m_timer = Kav::makeRepeatTimer(m_clock.timers, this);
    m_timer->start(interval, [this] { step(); });
}

void TfrmMSNPopForm::paintEvent(QPaintEvent *)
{
    TkavNoticeFaceOption option;
    option.background = m_background;
    option.title = m_content.title;
    option.text = m_content.text;
    option.titleFont = m_content.titleFont;
    option.textFont = m_content.textFont;
    option.titleColor = m_content.titleColor;
    option.textColor = m_content.textColor;
    option.size = m_noticeSize;
    Kav::KavPaintFace(this, Kav::Backdrop::filled(Qt::white), [&option](QImage &face) {
        QPainter painter(&face);
        Kav::paintNoticeFace(painter, option);
    }, QRegion(), Kav::FaceDensity::Device);
}

void TfrmMSNPopForm::mousePressEvent(QMouseEvent *event)
{
    m_pressedOn = Kav::NoticeHit::Nothing;
    if (event->button() != Qt::LeftButton)
        return;
    const Kav::NoticeHit hit = Kav::noticeHitAt(m_noticeSize, event->position().toPoint());
    if (hit == Kav::NoticeHit::CloseBox) {
        closeNotice(false);
        return;
    }
    m_pressedOn = hit;
}

void TfrmMSNPopForm::mouseReleaseEvent(QMouseEvent *event)
{
    const Kav::NoticeHit pressed = m_pressedOn;
    m_pressedOn = Kav::NoticeHit::Nothing;
    if (event->button() != Qt::LeftButton || pressed == Kav::NoticeHit::Nothing)
        return;
    // A click is a press and release on the same part, as with any button.
    if (Kav::noticeHitAt(m_noticeSize, event->position().toPoint()) != pressed)
        return;
    m_reportingClick = true;
    if (pressed == Kav::NoticeHit::Title)
        Q_EMIT titleClicked();
    else
        Q_EMIT bodyClicked();
    m_reportingClick = false;
}

// ---- TkavMSNPopForm -----------------------------------------------------------------------------

TkavMSNPopForm::TkavMSNPopForm(QObject *parent)
    : QObject(parent), m_animateTime(Kav::Metrics::NoticeAnimateMs), m_stayTime(Kav::Metrics::NoticeStayMs)
{
    m_content.titleFont = QFont();
    m_content.textFont = QFont();
    m_content.titleColor = NoticeTextNavy;
    m_content.textColor = NoticeTextNavy;
    m_window = new TfrmMSNPopForm();
    connect(m_window, &TfrmMSNPopForm::titleClicked, this, [this] { Q_EMIT OnTitleClick(this); });
    connect(m_window, &TfrmMSNPopForm::bodyClicked, this, &TkavMSNPopForm::windowClicked);
}

TkavMSNPopForm::~TkavMSNPopForm()
{
    if (!m_window)
        return;
    if (m_window->reportingClick()) {
        // Freed from a click handler: the window is still inside its mouse event, so it goes
        // once that event is over.
        m_window->disconnect(this);
        m_window->closeNotice(false);
        m_window->deleteLater();
        return;
    }
    delete m_window.data();
}

void TkavMSNPopForm::Popup()
{
    if (!m_window)
        return;
    QPoint origin = Kav::noticeOrigin(GetWorkAreaRect(), m_window->noticeSize(), m_autoPosition, m_position);
    if (!Kav::KavWindowsPlaceThemselves()) {
        // Wayland: no work area to place it on; it rises in the corner of the active window, as
        // that window's tool tip (a window of its own would take the activation).
        QWidget *host = QApplication::activeWindow();
        if (!host && parent() && parent()->isWidgetType())
            host = static_cast<QWidget *>(parent())->window();
        if (host && host != m_window) {
            m_window->attachTo(host);
            origin = Kav::noticeOrigin(QRect(host->mapToGlobal(QPoint(0, 0)), host->size()), m_window->noticeSize(),
                                       true, QPoint());
        }
    }
    m_window->popup(m_content, origin, m_animateTime, m_stayTime, m_clickHide);
}

void TkavMSNPopForm::Close()
{
    if (m_window)
        m_window->closeNotice(true);
}

void TkavMSNPopForm::setClock(const TkavNoticeClock &clock)
{
    if (m_window)
        m_window->setClock(clock);
}

void TkavMSNPopForm::windowClicked()
{
    // The handler may free this notice.
    const QPointer<TkavMSNPopForm> alive(this);
    Q_EMIT OnClick(this);
    if (alive && m_window && m_window->clickHide())
        m_window->closeNotice(true);
}
