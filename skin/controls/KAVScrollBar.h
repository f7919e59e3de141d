#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVPlatformPanel.h"
#include "KAVThemes.h"
#include "KAVTrackBar.h"
#include "KAVTrackGeometry.h"

#include <QImage>
#include <QMargins>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QAbstractScrollArea;
class QScrollBar;
class TkavImageButton;

namespace Kav {

// The slider of a scroll bar at a given length, built from the three slices of the look's slider
// picture (stored for a horizontal bar; pass them turned for a vertical one): the head at the
// start, the tail at the end and the body stretched between them. A slider shorter than head and
// tail together shows the start of the head and the end of the tail, shared in the proportion of
// their lengths. Empty for a length below 1 or without a head slice.
QImage composeScrollSlider(const QImage &head, const QImage &body, const QImage &tail, int length,
                           TkavProgressBarOrientation orientation);

} // namespace Kav

// A skinned scroll bar: a decrease arrow button, a track and an increase arrow button, drawn
// from the look's ScrollBarButtonImage (six frames: normal, mouse-over and pressed of the
// decrease button, then of the increase button; turned for a horizontal bar) and its
// ScrollBarSliderImage (three slices), on ScrollBarBackgroundColor.
//
// Range, position, paging and dragging are the track's (TkavScrollTrackBar); OnChange comes from
// the track, with the track as sender. Holding an arrow button steps SmallChange every
// ScrollArrowRepeatMs, the first step one interval after the press (the buttons' repeat timer).
//
// PageSize is at once the paging step and the slider length in percent of the track (anything
// outside 10..100 counts as 10); a positive LineButton gives the slider a fixed length instead
// (at least ScrollSliderMinLength, which the property then reads).
class TkavScrollBar : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(int LineButton READ LineButton WRITE setLineButton)
    Q_PROPERTY(KavOrientation::TkavProgressBarOrientation Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE setSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE setLargeChange)
    Q_PROPERTY(int PageSize READ PageSize WRITE setPageSize)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool SliderVisible READ SliderVisible WRITE setSliderVisible)
    Q_PROPERTY(int LastChange READ LastChange)

public:
    explicit TkavScrollBar(QWidget *parent = nullptr);
    ~TkavScrollBar() override;

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    TkavProgressBarOrientation Orientation() const { return m_orientation; }
    void setOrientation(TkavProgressBarOrientation orientation);

    // A fixed slider length in pixels; 0 or less lets PageSize decide. A length longer than the
    // room between the arrow buttons is ignored.
    int LineButton() const { return m_lineButton; }
    void setLineButton(int lineButton);

    int Max() const;
    void setMax(int max);
    int Min() const;
    void setMin(int min);
    // Sets both ends at once, so that a new range beyond the old one is never clamped on the way.
    void setRange(int min, int max);
    int Position() const;
    // Nothing for the current position; otherwise clamped to Min..Max.
    void setPosition(int position);

    // Arrow step, kept within 1..32767.
    int SmallChange() const { return m_smallChange; }
    void setSmallChange(int smallChange);
    // The paging step and slider percentage (accepted within 0..Max); setting it rebuilds the
    // slider.
    int PageSize() const;
    void setPageSize(int pageSize);
    // The same store as PageSize, read as 16 bits; setting it leaves the slider as it is.
    int LargeChange() const;
    void setLargeChange(int largeChange);

    TColor Color() const { return TkavPlatformPanel::Color(); }
    // The colour behind the arrows and along the track.
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    bool SliderVisible() const;
    void setSliderVisible(bool visible);
    // The signed difference between the positions of the last two OnChange.
    int LastChange() const;

    // The room the slider may take: the bar's length less both arrow buttons.
    int trackRoom() const;

    TkavScrollTrackBar *track() const { return m_track; }
    TkavImageButton *decreaseButton() const { return m_decrease; }
    TkavImageButton *increaseButton() const { return m_increase; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void OnChange(QObject *sender);

protected:
    Kav::Backdrop backdrop() const override;
    void paintPanel(QImage &canvas) const override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;

private:
    // How the bar is laid out: keeping its size (a resize), or taking the thickness across from
    // the look's arrow pictures (a look or orientation change).
    enum class Placing { KeepSize, ThicknessFromLook };
    void PlaceTrackBarAndButton(Placing placing = Placing::KeepSize);
    // Pictures, then the layout: every look change lays the bar out again.
    void applyLook();
    void UpdatePictures();
    void UpdateSliderPic();
    void MouseContinuouslyDownInc();
    void MouseContinuouslyDownDec();
    void stepBy(qint64 delta);

    TkavLook m_look;
    TkavScrollTrackBar *m_track = nullptr;
    TkavImageButton *m_increase = nullptr;
    TkavImageButton *m_decrease = nullptr;
    QImage m_sliderHead;
    QImage m_sliderBody;
    QImage m_sliderTail;
    // The same at double density, on a screen of ratio above 1 only (null otherwise).
    QImage m_sliderHead2x;
    QImage m_sliderBody2x;
    QImage m_sliderTail2x;
    TkavProgressBarOrientation m_orientation = KavOrientation::kavHorizontal;
    int m_smallChange = 1;
    int m_lineButton = 0;
    int m_wheelRemainder = 0;
    bool m_placing = false;
};

// Skinned scroll bars standing in for a scroll area's own (the host: the memo, or any
// QAbstractScrollArea). The host keeps its scroll state in its own QScrollBars, which it no longer
// shows in an attached direction; each attached TkavScrollBar is laid over the host's edge on the
// host's parent, mirrors the host's bar (range, value, and the share of the track the host's thumb
// would take) and moves the host's bar when the user moves it.
//
// The mirror follows the host's bars as they signal (range and value); the host calls synchronise()
// after what they do not signal, such as a new page step when its viewport is resized. The bars are
// not owned: one that is destroyed is dropped, and barsChanged() tells the host.
class TkavAttachedScrollBars : public QObject {
    Q_OBJECT

public:
    explicit TkavAttachedScrollBars(QAbstractScrollArea *host);
    ~TkavAttachedScrollBars() override;

    TkavScrollBar *bar(Qt::Orientation orientation) const;
    // Attaches bar in that direction, releasing the one attached before (its OnChange, LineButton,
    // Max and Enabled are reset); nullptr detaches. Returns whether anything changed.
    bool setBar(Qt::Orientation orientation, TkavScrollBar *bar);

    // Lays the bars over the host's edges, then synchronises. A bar that does not fit across the
    // host is hidden until it fits again.
    void updatePlacement();
    // Whether a bar that does not fit is hidden (the default). A host that wants its bars always
    // shown, cramped or not, switches it off.
    bool hideWhenCramped() const { return m_hideWhenCramped; }
    void setHideWhenCramped(bool hide);
    // Copies the host's scroll state into the bars.
    void synchronise();

    // The room along the right and bottom edges of the host's viewport that the bars cover.
    QMargins reservedMargins() const;

    // What stops the mirror from feeding back: set while the bars are being synchronised, and
    // while a bar's move is being handed to the host.
    bool isSynchronising() const { return m_synchronising; }
    bool isScrollingFromBar() const { return m_scrollingFromBar; }

Q_SIGNALS:
    // A bar was attached or detached (or destroyed): the host shows its own bars accordingly.
    void barsChanged();
    // An attached bar changed its thickness: the host's viewport makes room for it.
    void roomChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Side {
        QPointer<TkavScrollBar> bar;
        QList<QMetaObject::Connection> connections;
        bool hiddenForRoom = false;
    };

    Side &side(Qt::Orientation orientation);
    const Side &side(Qt::Orientation orientation) const;
    QScrollBar *hostBar(Qt::Orientation orientation) const;
    void release(Side &side);
    void barDestroyed(Qt::Orientation orientation);
    void barMoved(Qt::Orientation orientation);
    void synchronise(Qt::Orientation orientation);
    QRect hostRect(const TkavScrollBar *bar) const;
    void place(Side &side, const Kav::Track::AttachedPlacement &placement);

    QAbstractScrollArea *m_host;
    Side m_vertical;
    Side m_horizontal;
    bool m_synchronising = false;
    bool m_scrollingFromBar = false;
    bool m_hideWhenCramped = true;
};

namespace Kav {
// Registers the accessible description of the scroll bar; its constructor calls it.
void KavInstallScrollBarAccessibility();
} // namespace Kav
