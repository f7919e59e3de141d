#include "KAVMSNPopLayout.h"

#include "KAVMetrics.h"

#include <algorithm>
#include <cmath>

namespace Kav {

NoticeParts noticeParts(const QSize &size)
{
    using namespace Metrics;
    NoticeParts parts;
    parts.title = QRect(NoticeTitleTopLeft, QSize(size.width() - NoticeTitleRightGap, NoticeTitleHeight));
    parts.text = QRect(NoticeTextTopLeft,
                       QSize(size.width() - NoticeTextRightGap, size.height() - NoticeTextBottomGap));
    parts.closeBox = QRect(NoticeCloseBoxTopLeft, NoticeCloseBoxSize);
    return parts;
}

NoticeHit noticeHitAt(const QSize &size, const QPoint &point)
{
    if (!QRect(QPoint(0, 0), size).contains(point))
        return NoticeHit::Nothing;
    const NoticeParts parts = noticeParts(size);
    if (parts.closeBox.contains(point))
        return NoticeHit::CloseBox;
    if (parts.title.contains(point))
        return NoticeHit::Title;
    return NoticeHit::Body;
}

QPoint noticeOrigin(const QRect &workArea, const QSize &size, bool autoPosition, const QPoint &position)
{
    if (!autoPosition)
        return position;
    // The area's right and bottom edges lie just past its last column and row.
    const int areaRight = workArea.x() + workArea.width();
    const int areaBottom = workArea.y() + workArea.height();
    return QPoint(areaRight - size.width() - Metrics::NoticeRightMargin, areaBottom - size.height());
}

QRect noticeSlideRect(const QRect &full, int visibleHeight)
{
    const int shown = std::clamp(visibleHeight, 0, full.height());
    return QRect(full.x(), full.y() + full.height() - shown, full.width(), shown);
}

void TkavNoticeTimeline::setTimes(int animateMs, int stayMs)
{
    m_animateMs = std::max(0, animateMs);
    m_stayMs = std::max(0, stayMs);
}

double TkavNoticeTimeline::slideDone(qint64 now) const
{
    if (m_animateMs <= 0)
        return 1.0;
    return std::clamp(double(now - m_phaseStart) / m_animateMs, 0.0, 1.0);
}

void TkavNoticeTimeline::startSlide(NoticePhase phase, qint64 now, double shownFraction)
{
    // A slide that starts part way is dated back by the part already done.
    const double done = phase == NoticePhase::SlidingIn ? shownFraction : 1.0 - shownFraction;
    m_phase = phase;
    m_phaseStart = now - qint64(std::llround(done * m_animateMs));
}

void TkavNoticeTimeline::popup(qint64 now)
{
    switch (m_phase) {
    case NoticePhase::Hidden:
        startSlide(NoticePhase::SlidingIn, now, 0.0);
        break;
    case NoticePhase::SlidingIn:
        break;
    case NoticePhase::Shown:
        m_shownSince = now;
        break;
    case NoticePhase::SlidingOut:
        startSlide(NoticePhase::SlidingIn, now, 1.0 - slideDone(now));
        break;
    }
    advance(now);
}

void TkavNoticeTimeline::close(qint64 now, bool animate)
{
    if (m_phase == NoticePhase::Hidden)
        return;
    if (!animate) {
        m_phase = NoticePhase::Hidden;
        return;
    }
    if (m_phase == NoticePhase::SlidingOut)
        return;
    const double shown = m_phase == NoticePhase::SlidingIn ? slideDone(now) : 1.0;
    startSlide(NoticePhase::SlidingOut, now, shown);
    advance(now);
}

bool TkavNoticeTimeline::advance(qint64 now)
{
    const NoticePhase before = m_phase;
    if (m_phase == NoticePhase::SlidingIn && slideDone(now) >= 1.0) {
        m_phase = NoticePhase::Shown;
        m_shownSince = m_phaseStart + m_animateMs;
    }
    if (m_phase == NoticePhase::Shown) {
        const qint64 elapsed = now - m_shownSince;
        if (elapsed >= m_stayMs || elapsed < 0)
            startSlide(NoticePhase::SlidingOut, now, 1.0);
    }
    if (m_phase == NoticePhase::SlidingOut && slideDone(now) >= 1.0)
        m_phase = NoticePhase::Hidden;
    return m_phase != before;
}

int TkavNoticeTimeline::visibleHeight(qint64 now, int height) const
{
    switch (m_phase) {
    case NoticePhase::Hidden:
        return 0;
    case NoticePhase::Shown:
        return height;
    case NoticePhase::SlidingIn:
        return int(std::lround(slideDone(now) * height));
    case NoticePhase::SlidingOut:
        return int(std::lround((1.0 - slideDone(now)) * height));
    }
    return 0;
}

} // namespace Kav
