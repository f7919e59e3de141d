#pragma once

// Where the pop-up notice stands and how much of it shows at a given time: pure functions and a
// small timeline the notice's window drives from its clock, kept apart so that they are checked
// without a window or real time.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

namespace Kav {

// The parts of a notice of the given size, in its own coordinates. Hit tests and painting both
// use these.
struct NoticeParts {
    QRect title;
    QRect text;
    QRect closeBox;
};
NoticeParts noticeParts(const QSize &size);

// What a press or click at point (notice coordinates) lands on.
enum class NoticeHit { Nothing, CloseBox, Title, Body };
NoticeHit noticeHitAt(const QSize &size, const QPoint &point);

// The top-left corner of a fully shown notice: at the bottom-right of workArea (NoticeRightMargin
// from its right edge, its bottom on the area's bottom) when autoPosition, else position.
QPoint noticeOrigin(const QRect &workArea, const QSize &size, bool autoPosition, const QPoint &position);

// The rectangle a notice whose fully shown rectangle is full occupies while visibleHeight of it
// shows: it rises from full's bottom edge (its top part shows first).
QRect noticeSlideRect(const QRect &full, int visibleHeight);

enum class NoticePhase { Hidden, SlidingIn, Shown, SlidingOut };

// The notice's course in time: slide in over animateMs, stay stayMs, slide out over animateMs.
// Times are milliseconds of one clock; a clock that goes back ends the stay at once.
class TkavNoticeTimeline {
public:
    // Negative times count as 0.
    void setTimes(int animateMs, int stayMs);
    int animateMs() const { return m_animateMs; }
    int stayMs() const { return m_stayMs; }

    // Starts the slide-in; a notice already up shows on: sliding in it goes on, shown it stays
    // stayMs from now, sliding out it turns and slides in again from where it is.
    void popup(qint64 now);
    // Starts the slide-out (animate) or hides at once. Nothing when hidden.
    void close(qint64 now, bool animate);
    // Moves on to now: an ended slide turns into the next phase; a stay that is over (or a clock
    // that went back) starts the slide-out. Returns whether the phase changed.
    bool advance(qint64 now);

    NoticePhase phase() const { return m_phase; }
    // How many of height rows show at now (0 when hidden).
    int visibleHeight(qint64 now, int height) const;
    // When the notice finished sliding in (meaningful while shown).
    qint64 shownSince() const { return m_shownSince; }

private:
    // The fraction of the slide done at now, 0..1 (1 with no slide time).
    double slideDone(qint64 now) const;
    // Starts a slide of the phase so that it goes on from fraction shown of the notice.
    void startSlide(NoticePhase phase, qint64 now, double shownFraction);

    NoticePhase m_phase = NoticePhase::Hidden;
    qint64 m_phaseStart = 0;
    qint64 m_shownSince = 0;
    int m_animateMs = 0;
    int m_stayMs = 0;
};

} // namespace Kav
