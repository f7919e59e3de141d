#pragma once

#include "KAVColor.h"
#include "KAVComposer.h"
#include "KAVCustomButton.h"
#include "KAVLook.h"
#include "KAVPlatformPanel.h"
#include "KAVThemes.h"
#include "KAVTrackGeometry.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QImage>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>

namespace Kav {

// Everything one paint of a track bar reads, filled from the control's state.
struct TrackBarOption {
    QSize size;
    TkavProgressBarOrientation orientation = KavOrientation::kavHorizontal;
    Track::Range range;
    int position = 0;
    QImage slider;          // ready to draw: transparent where the slider lets the track show
    bool sliderVisible = true;
    QImage barStrip;        // the bar at the track's length, already turned for a vertical track
    // The same at double density (device pixel ratio 2), or null: drawn on dense screens.
    QImage slider2x;
    QImage barStrip2x;
    int barThickness = 0;   // the bar picture's height, i.e. the strip's thickness across
    bool showTick = false;
    int frequency = 1;
    bool focusFrame = false;
};

// Where a track bar's parts are: what is drawn and what the mouse hits come from here alone.
struct TrackBarLayout {
    QRect slider;
    QRect bar;
    QList<QLine> ticks;  // each a run of pixels, both ends included
};
TrackBarLayout trackBarLayout(const TrackBarOption &option);

// Draws the track bar over the backdrop already in face: bar, focus frame, ticks, slider.
void paintTrackBar(QImage &face, const TrackBarOption &option);
// The same onto a painter whose origin is the track bar's top-left corner.
void paintTrackBar(QPainter &painter, const TrackBarOption &option);

// The bar picture laid along a track of length pixels: its two ends at their size (their magenta
// left out), the middle stretched between them; turned to run downward for a vertical track.
// Transparent where the picture is magenta; null for no picture or no length. Marked with ratio
// (2 for a double-density bar). Shared through the face cache: every track of a picture and
// length gets the same strip.
QImage KavTrackBarStrip(const QImage &bar, int length, TkavProgressBarOrientation orientation, qreal ratio = 1.0);

} // namespace Kav

// A skinned slider: a bar picture along the track, a slider picture moved by Position, optional
// tick marks; paging by holding the mouse beside the slider, dragging the slider, and the keys.
//
// Position always lies in Min..Max (the setters clamp). OnChange is raised only when Position
// differs from the position of the previous OnChange, never for setting the same value again.
//
// Paging: a left press beside the slider moves one PageSize toward the press (never past the
// position under it) and starts the page timer (TrackPageIntervalMs); each tick steps toward the
// pointer again, three pages at a time on a horizontal track, one on a vertical one, until the
// button is released or the pointer leaves the control. The timer comes from the same kind of
// factory as the buttons' repeat timer, so tests drive it with a clock of their own.
//
// Dragging: a press on the slider (any button) drags it; the slider's centre follows the pointer.
class TkavTrackBar : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(KavOrientation::TkavProgressBarOrientation Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QImage BarImage READ BarImage WRITE setBarImage)
    Q_PROPERTY(QImage SliderImage READ SliderImage WRITE setSliderImage)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int PageSize READ PageSize WRITE setPageSize)
    Q_PROPERTY(int LineSize READ LineSize WRITE setLineSize)
    Q_PROPERTY(bool ShowTick READ ShowTick WRITE setShowTick)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int Frequency READ Frequency WRITE setFrequency)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit TkavTrackBar(QWidget *parent = nullptr);
    ~TkavTrackBar() override;

    TkavProgressBarOrientation Orientation() const { return m_orientation; }
    void setOrientation(TkavProgressBarOrientation orientation);

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    // Takes the look's pictures; MacOS also makes the track bar Transparent (other looks leave
    // Transparent as it is).
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    // The bar picture: the look's, or one given here (kept until the next change of look or
    // orientation).
    QImage BarImage() const { return m_barImage; }
    void setBarImage(const QImage &picture);
    // The slider picture, as given or as the look has it.
    QImage SliderImage() const { return m_sliderImage; }
    virtual void setSliderImage(const QImage &picture);
    // The same with the slider drawn at twice the density (exactly twice its size, else left
    // out), drawn instead on a screen of ratio above 1: the scroll bar's composed slider.
    void setSliderImage(const QImage &picture, const QImage &picture2x);

    int Max() const { return m_max; }
    // An unchanged value does nothing; below Min it becomes Min; Position follows into range.
    void setMax(int max);
    int Min() const { return m_min; }
    void setMin(int min);
    int Position() const { return m_position; }
    // Clamped to Min..Max; OnChange follows when the position differs from the last notified one.
    void setPosition(int position);

    // Paging and arrow-key steps: accepted only within 0..Max, other values are ignored.
    int PageSize() const { return m_pageSize; }
    void setPageSize(int pageSize);
    int LineSize() const { return m_lineSize; }
    void setLineSize(int lineSize);

    bool ShowTick() const { return m_showTick; }
    void setShowTick(bool showTick);
    // With Transparent the parent shows behind the track instead of Color.
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    int Frequency() const { return m_frequency; }
    void setFrequency(int frequency);

    // The background colour. While ParentColor is set it is the parent's; setting a Color clears
    // ParentColor.
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }
    bool ParentColor() const { return m_parentColor; }
    void setParentColor(bool parentColor);

    // Tab reaches the control, and it shows its focus frame; a click focuses it either way.
    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    void setTabStop(bool tabStop);

    // Position less the position of the OnChange before the latest one.
    int LastChange() const { return m_lastChange; }

    // The slider as it is drawn and hit now (client coordinates).
    QRect sliderRect() const;
    bool isDragging() const { return m_dragging; }
    bool isPaging() const { return m_pageTimer != nullptr; }

    // Replaces the maker of page timers for every track bar; an empty factory restores the
    // QTimer one. Returns the factory installed before.
    static TkavRepeatTimerFactory setPageTimerFactory(TkavRepeatTimerFactory factory);

    QSize sizeHint() const override;

Q_SIGNALS:
    void OnChange(QObject *sender);

protected:
    // Whether the pictures come from the owner rather than the look (the scroll bar's track).
    virtual bool CustomPicture() const { return false; }
    // Whether the slider's corner colour lets the track show through it.
    virtual bool SliderTransparent() const;
    // Fetches the look's pictures and prepares the bar for the track's length.
    virtual void UpdatePicture();

    // Picture, size, slider and repaint, as a change of look or orientation needs.
    void UpdateControl();
    // The control's thickness across the track: the larger of bar and slider.
    void SetSize();
    // Repaints and raises OnChange when the position moved since the last one.
    void UpdateSlider();

    Kav::TrackBarOption option() const;
    // The colour the backdrop is filled with, and the backdrop (Transparent shows the parent).
    QColor backgroundColour() const;
    Kav::Backdrop backdrop() const override;
    // Hides or shows the slider (the scroll bar's track hides it when there is nothing to scroll).
    void setSliderShown(bool shown);
    bool sliderShown() const { return m_sliderShown; }

    void paintPanel(QImage &canvas) const override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    int trackLength() const;
    int sliderLength() const;
    int along(const QPoint &point) const;
    int positionUnder(const QPoint &point) const;
    void stepPage(int pages);
    void pageTimerTick();
    void stopPaging();
    void prepareBarStrip();
    void prepareSlider();
    bool showsGreyed() const;
    void applyLook(const KavThemeValues &values);
    void notifyChange();

    TkavLook m_look;
    TkavProgressBarOrientation m_orientation = KavOrientation::kavHorizontal;
    QImage m_barImage;
    QImage m_sliderImage;
    QImage m_slider;    // m_sliderImage ready to draw
    QImage m_barStrip;
    // The look's pictures, whose double-density pixels are prepared on a screen of ratio above 1
    // only (null for pictures a program gave, which have only their own pixels), and what is
    // prepared from them.
    Kav::TkavPicture m_barPicture;
    Kav::TkavPicture m_sliderPicture;
    QImage m_sliderImage2x; // given with the slider picture (setSliderImage), or null
    QImage m_slider2x;
    QImage m_barStrip2x;
    bool m_sliderShown = true;

    int m_min = 0;
    int m_max = 10;
    int m_position = 0;
    int m_lastNotified = 0;
    int m_lastChange = 0;
    int m_pageSize = 2;
    int m_lineSize = 1;
    int m_frequency = 1;
    bool m_showTick = true;
    bool m_transparent = false;
    bool m_parentColor = true;

    bool m_dragging = false;
    std::unique_ptr<TkavRepeatTimer> m_pageTimer;
    QPoint m_pointer;   // where the mouse was last seen while held
};

// The track of the scroll bar: the track bar's arithmetic and mouse handling with a slider
// picture its owner composes, an opaque slider, no bar picture and no look of its own.
class TkavScrollTrackBar : public TkavTrackBar {
    Q_OBJECT
    Q_PROPERTY(bool SliderVisible READ SliderVisible WRITE setSliderVisible)

public:
    explicit TkavScrollTrackBar(QWidget *parent = nullptr);

    bool SliderVisible() const { return sliderShown(); }
    void setSliderVisible(bool visible);
    // The slider takes its picture's size (it always does here); kept as the owner's step.
    void UpdateSliderSize();

protected:
    bool CustomPicture() const override { return true; }
    bool SliderTransparent() const override { return false; }
};

// How the range controls tell assistive technology about themselves: a role (slider, scroll bar)
// with a value, its minimum and maximum and its step, read from the control's Position, Min, Max
// and the named step property; setting the value goes through Position.
class TkavRangeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    TkavRangeAccessible(QWidget *widget, QAccessible::Role role, const char *stepProperty);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    const char *m_stepProperty;
};

namespace Kav {
// Registers the accessible description of the track bars; the constructors call it.
void KavInstallTrackBarAccessibility();
} // namespace Kav
