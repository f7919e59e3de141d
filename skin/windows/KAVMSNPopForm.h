#pragma once

#include "KAVColor.h"
#include "KAVMSNPopLayout.h"
#include "KAVPictureStore.h"
#include "KAVRepeatTimer.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

// The clock a notice runs on: now() in milliseconds (never going back on a sound clock) and the
// maker of the timers that step it. The default is a monotonic clock with QTimer ticks; tests
// install a driven one so that nothing waits for real time.
struct TkavNoticeClock {
    std::function<qint64()> now;
    TkavRepeatTimerFactory timers;
};

// What the notice's face shows; filled from the window's state, read by paintNoticeFace.
struct TkavNoticeFaceOption {
    Kav::TkavPicture background;
    QString title;
    QString text;
    QFont titleFont;
    QFont textFont;
    QColor titleColor;
    QColor textColor;
    QSize size; // the whole notice; a sliding notice shows its top rows
};

namespace Kav {
// Paints the notice's background picture, title (one line) and message (centred, wrapped); without
// a picture, a plain face with the close box drawn.
void paintNoticeFace(QPainter &painter, const TkavNoticeFaceOption &option);
} // namespace Kav


// The notice's window: a frameless tool window that stays on top and never takes the focus. It
// slides in and out by changing its height (its top part shows first), painted off screen.
class TfrmMSNPopForm : public QWidget {
    Q_OBJECT

public:
    TfrmMSNPopForm();
    ~TfrmMSNPopForm() override;

    // What one pop-up shows and how; copied from the component on each Popup.
    struct Content {
        QString title;
        QString text;
        QFont titleFont;
        QFont textFont;
        QColor titleColor;
        QColor textColor;
    };

    // Shows the notice with origin as its top-left corner (when fully shown). A notice already up
    // takes the new content and place and shows on (see TkavNoticeTimeline::popup).
    void popup(const Content &content, const QPoint &origin, int animateMs, int stayMs, bool clickHide);
    // Slides the notice out; with animate false it hides at once.
    void closeNotice(bool animate);
    // Where windows cannot place themselves (Wayland): the notice becomes a tool tip of host's
    // window, which the compositor shows without taking the activation from host; it shows
    // whole, without sliding. Nothing while it is shown.
    void attachTo(QWidget *host);

    void setClock(const TkavNoticeClock &clock);

    Kav::NoticePhase phase() const { return m_timeline.phase(); }
    // The rectangle of the fully shown notice on the screen.
    QRect fullGeometry() const { return QRect(m_origin, m_noticeSize); }
    const Content &content() const { return m_content; }
    QSize noticeSize() const { return m_noticeSize; }
    bool clickHide() const { return m_clickHide; }
    // Whether a click is being reported (the window is inside its own mouse event).
    bool reportingClick() const { return m_reportingClick; }

Q_SIGNALS:
    void titleClicked();
    void bodyClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    qint64 now() const;
    // Steps the timeline to now and places, shows or hides the window to match.
    void step();
    void applyPhase();
    // Tells assistive tools that the notice came up.
    void announce();
    // The timer that drives the current phase: slide steps, or the stay check.
    void restartTimer();

    Kav::TkavPicture m_background;
    QSize m_noticeSize;
    Content m_content;
    QPoint m_origin;
    bool m_clickHide = false;
    Kav::TkavNoticeTimeline m_timeline;
    Kav::NoticePhase m_timerPhase = Kav::NoticePhase::Hidden;
    TkavNoticeClock m_clock;
    std::unique_ptr<TkavRepeatTimer> m_timer;
    Kav::NoticeHit m_pressedOn = Kav::NoticeHit::Nothing;
    bool m_reportingClick = false;
};

// A notice that slides up out of the bottom-right corner of the work area (or at PositionX,
// PositionY), shows a title and a message on a fixed picture, and slides away after StayTime.
// Clicking the drawn close box hides it at once; clicks on the title and on the rest of the
// window are reported. Popup while a notice shows replaces its content and starts its stay anew.
class TkavMSNPopForm : public QObject {
    Q_OBJECT
    Q_PROPERTY(int AnimateTime READ AnimateTime WRITE setAnimateTime)
    Q_PROPERTY(int StayTime READ StayTime WRITE setStayTime)
    Q_PROPERTY(int PositionX READ PositionX WRITE setPositionX)
    Q_PROPERTY(int PositionY READ PositionY WRITE setPositionY)
    Q_PROPERTY(bool AutoPosition READ AutoPosition WRITE setAutoPosition)
    Q_PROPERTY(bool ClickHide READ ClickHide WRITE setClickHide)
    Q_PROPERTY(QString Title READ Title WRITE setTitle)
    Q_PROPERTY(QString MessageText READ MessageText WRITE setMessageText)
    Q_PROPERTY(QFont TitleFont READ TitleFont WRITE setTitleFont)
    Q_PROPERTY(QFont MessageFont READ MessageFont WRITE setMessageFont)
    Q_PROPERTY(QColor TitleFontColor READ TitleFontColor WRITE setTitleFontColor)
    Q_PROPERTY(QColor MessageFontColor READ MessageFontColor WRITE setMessageFontColor)

public:
    explicit TkavMSNPopForm(QObject *parent = nullptr);
    ~TkavMSNPopForm() override;

    int AnimateTime() const { return m_animateTime; }
    void setAnimateTime(int ms) { m_animateTime = ms; }
    int StayTime() const { return m_stayTime; }
    void setStayTime(int ms) { m_stayTime = ms; }
    int PositionX() const { return m_position.x(); }
    void setPositionX(int x) { m_position.setX(x); }
    int PositionY() const { return m_position.y(); }
    void setPositionY(int y) { m_position.setY(y); }
    bool AutoPosition() const { return m_autoPosition; }
    void setAutoPosition(bool on) { m_autoPosition = on; }
    // When set, a click on the window (not on the title) hides the notice after OnClick.
    bool ClickHide() const { return m_clickHide; }
    void setClickHide(bool on) { m_clickHide = on; }
    QString Title() const { return m_content.title; }
    void setTitle(const QString &title) { m_content.title = title; }
    QString MessageText() const { return m_content.text; }
    void setMessageText(const QString &text) { m_content.text = text; }
    QFont TitleFont() const { return m_content.titleFont; }
    void setTitleFont(const QFont &font) { m_content.titleFont = font; }
    QFont MessageFont() const { return m_content.textFont; }
    void setMessageFont(const QFont &font) { m_content.textFont = font; }
    TColor TitleFontColor() const { return TColor::fromQColor(m_content.titleColor); }
    void setTitleFontColor(TColor color) { m_content.titleColor = color.resolved(); }
    void setTitleFontColor(const QColor &color) { setTitleFontColor(TColor::fromQColor(color)); }
    TColor MessageFontColor() const { return TColor::fromQColor(m_content.textColor); }
    void setMessageFontColor(TColor color) { m_content.textColor = color.resolved(); }
    void setMessageFontColor(const QColor &color) { setMessageFontColor(TColor::fromQColor(color)); }

    // Shows the notice with the current properties (texts, fonts, times, place).
    Q_INVOKABLE void Popup();
    // Slides the notice out.
    Q_INVOKABLE void Close();

    // The clock of this notice; an empty now or timer maker keeps the default one.
    void setClock(const TkavNoticeClock &clock);
    TfrmMSNPopForm *window() const { return m_window; }

Q_SIGNALS:
    void OnTitleClick(QObject *sender);
    void OnClick(QObject *sender);

private:
    void windowClicked();

    int m_animateTime = 0;
    int m_stayTime = 0;
    QPoint m_position;
    bool m_autoPosition = true;
    bool m_clickHide = false;
    TfrmMSNPopForm::Content m_content;
    QPointer<TfrmMSNPopForm> m_window; // owned; a top-level window has no parent to free it
};
