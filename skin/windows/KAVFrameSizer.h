#pragma once

#include <QObject>
#include <QPointer>
#include <QPoint>
#include <QSize>
#include <Qt>

#include <functional>

class QWidget;

namespace Kav {

// Which edges a point sizes in a frame of size, as a window's hit test answers: x < band is the
// left edge, x > width - band the right one (so the right band is a pixel narrower), and likewise
// top and bottom; a corner counts for both of its edges. Left wins over right and top over bottom
// in a frame too small for both bands. Nothing for a point outside the frame or a band of 0.
Qt::Edges sizingEdges(QSize size, QPoint point, int band);

// Sizes a frameless frame from its edges: the skinned window's own (TkavForm, TkavMDIForm) or an
// MDI child's (a widget in a frameless QMdiSubWindow). It watches the mouse over the frame and
// every control on it (the application's events: a control at the edge gets the mouse, not the
// frame): over the sizing band the window shows the sizing cursor, and a left press there starts
// sizing instead of reaching the control. The band is Metrics::SizingBand wide.
class TkavFrameSizer : public QObject {
    Q_OBJECT

public:
    struct Behaviour {
        // Whether the frame may be sized now (not maximised, of no fixed size, ...).
        std::function<bool()> sizeable;
        // Starts sizing from edges, the left button having gone down at global.
        std::function<void(Qt::Edges edges, const QPoint &global)> start;
        // Whether another frame's edges win at global (an MDI parent's over its child's).
        std::function<bool(const QPoint &global)> yields;
    };

    // frame: the widget whose edges size; its events and those of its controls are watched.
    TkavFrameSizer(QWidget *frame, Behaviour behaviour, QObject *parent = nullptr);
    ~TkavFrameSizer() override;

    // The edges that a press at global would size now; none while the frame cannot be sized or a
    // move or size that its window does itself is under way.
    Qt::Edges edgesAt(const QPoint &global) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool covers(const QWidget *widget) const;
    void showCursor(const QWidget *under, Qt::Edges edges);

    QPointer<QWidget> m_frame;
    Behaviour m_behaviour;
    bool m_cursorShown = false;
};

} // namespace Kav
