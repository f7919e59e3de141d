#include "KAVWindowDrag.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace Kav {
namespace {

// One drag the window does itself: it watches the whole application's mouse and keys until the
// drag ends, so that it does not matter which child got the press.
class WindowDrag : public QObject {
public:
    enum class Kind { MouseMove, MouseResize, KeyboardMove, KeyboardResize };

    WindowDrag(QWidget *window, Kind kind, Qt::Edges edges, const QPoint &globalPos)
        : QObject(window), m_window(window), m_kind(kind), m_edges(edges), m_start(globalPos),
          m_startPos(window->pos()), m_startGeometry(window->geometry())
    {
        setObjectName(QStringLiteral("KavWindowDrag"));
        qApp->installEventFilter(this);
        if (m_kind == Kind::MouseResize)
            QGuiApplication::setOverrideCursor(KavResizeCursor(m_edges));
        else if (keyboard())
            QGuiApplication::setOverrideCursor(m_kind == Kind::KeyboardMove ? Qt::SizeAllCursor
                                                                           : Qt::SizeFDiagCursor);
        // The mouse goes on moving the window when it leaves it.
        if (keyboard() && window->isVisible()) {
            window->grabMouse();
            m_grabbed = true;
        }
    }

    ~WindowDrag() override
    {
        if (m_grabbed && m_window)
            m_window->releaseMouse();
        releaseCursor();
    }

    // Follows the mouse at globalPos (for a drag that starts after the mouse has moved).
    void followTo(const QPoint &globalPos)
    {
        if (globalPos != m_start)
            follow(globalPos - m_start);
    }

    static WindowDrag *of(const QWidget *window)
    {
        return window ? window->findChild<WindowDrag *>(QStringLiteral("KavWindowDrag"),
                                                        Qt::FindDirectChildrenOnly)
                      : nullptr;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        Q_UNUSED(watched);
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->globalPosition().toPoint();
            if (keyboard()) {
                // Chosen from the window menu, the drag follows the mouse too, until a click.
                if (!m_mouseFrom)
                    m_mouseFrom = at;
                m_mouseBy = at - *m_mouseFrom;
                follow(m_keyed + m_mouseBy);
                return true;
            }
            if (!(mouse->buttons() & Qt::LeftButton)) {
                finish(); // the release went elsewhere (another window, the window manager)
                return false;
            }
            follow(at - m_start);
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonPress:
            finish();
            return event->type() == QEvent::MouseButtonRelease || keyboard();
        case QEvent::KeyPress:
            return key(static_cast<QKeyEvent *>(event));
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            return true; // the window has the keys while it is dragged
        case QEvent::ApplicationDeactivate:
            finish();
            return false;
        default:
            return false;
        }
    }

private:
    bool keyboard() const { return m_kind == Kind::KeyboardMove || m_kind == Kind::KeyboardResize; }
    bool moving() const { return m_kind == Kind::MouseMove || m_kind == Kind::KeyboardMove; }

    // move() places the frame and setGeometry() the client area; each kind keeps to one of them.
    void restore()
    {
        if (!m_window)
            return;
        if (moving())
            m_window->move(m_startPos);
        else
            m_window->setGeometry(m_startGeometry);
    }

    void follow(const QPoint &delta)
    {
        if (!m_window)
            return;
        if (moving())
            m_window->move(m_startPos + delta);
        else
            m_window->setGeometry(KavResizedGeometry(m_startGeometry, m_edges, delta,
                                                     m_window->minimumSize(),
                                                     m_window->maximumSize()));
    }

    bool key(QKeyEvent *event)
    {
        switch (event->key()) {
        case Qt::Key_Escape:
            restore();
            finish();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            finish();
            return true;
        default:
            break;
        }
        if (!keyboard())
            return false;
        const int step = event->modifiers() & Qt::ControlModifier ? 1 : 10;
        QPoint by;
        switch (event->key()) {
        case Qt::Key_Left: by = {-step, 0}; break;
        case Qt::Key_Right: by = {step, 0}; break;
        case Qt::Key_Up: by = {0, -step}; break;
        case Qt::Key_Down: by = {0, step}; break;
        default: return true;
        }
        m_keyed += by;
        follow(m_keyed + m_mouseBy);
        return true;
    }

    void releaseCursor()
    {
        if (m_kind != Kind::MouseMove && !m_cursorReleased)
            QGuiApplication::restoreOverrideCursor();
        m_cursorReleased = true;
    }

    void finish()
    {
        if (m_grabbed && m_window)
            m_window->releaseMouse();
        m_grabbed = false;
        releaseCursor();
        qApp->removeEventFilter(this);
        deleteLater();
        setObjectName(QString()); // a new drag may start before this one is gone
    }

    QPointer<QWidget> m_window;
    Kind m_kind;
    Qt::Edges m_edges;
    QPoint m_start;
    QPoint m_startPos;
    QRect m_startGeometry;
    QPoint m_keyed;
    // A keyboard drag: where the mouse was first seen, and how far it has moved since.
    std::optional<QPoint> m_mouseFrom;
    QPoint m_mouseBy;
    bool m_cursorReleased = false;
    bool m_grabbed = false;
};

// A move or size that the window manager does for the window. Meanwhile X window managers take
// the keyboard, which Qt reports as the window going inactive; the window still is the active one,
// and says so (KavSystemDragActive) until the drag is over: the window is active again, or the
// mouse moves with no button held, or a button goes down or up in the application.
class SystemDrag : public QObject {
public:
    explicit SystemDrag(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QStringLiteral("KavSystemDrag"));
        qApp->installEventFilter(this);
    }

    static SystemDrag *of(const QWidget *window)
    {
        return window ? window->findChild<SystemDrag *>(QStringLiteral("KavSystemDrag"), Qt::FindDirectChildrenOnly)
                      : nullptr;
    }

    static void start(QWidget *window)
    {
        if (SystemDrag *running = of(window))
            running->finish();
        new SystemDrag(window);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            finish();
            break;
        case QEvent::MouseMove:
            if (static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton)
                finish();
            break;
        case QEvent::ActivationChange:
            if (watched == m_window && m_window->isActiveWindow())
                finish();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void finish()
    {
        qApp->removeEventFilter(this);
        setObjectName(QString());
        deleteLater();
        // Whoever shows the window's activation looks again.
        if (m_window) {
            QEvent ended(KavWindowDragEndedEvent);
            QCoreApplication::sendEvent(m_window, &ended);
        }
    }

    QPointer<QWidget> m_window;
};

QWidget *topLevel(QWidget *widget)
{
    return widget ? widget->window() : nullptr;
}

WindowDrag *startOwnDrag(QWidget *window, WindowDrag::Kind kind, Qt::Edges edges, const QPoint &globalPos)
{
    if (WindowDrag *running = WindowDrag::of(window)) {
        qApp->removeEventFilter(running);
        delete running;
    }
    return new WindowDrag(window, kind, edges, globalPos);
}

} // namespace

bool KavStartWindowMove(QWidget *widget, const QPoint &globalPos)
{
    return KavStartWindowMove(widget, globalPos, globalPos);
}

bool KavStartWindowMove(QWidget *widget, const QPoint &pressPos, const QPoint &globalPos)
{
    QWidget *window = topLevel(widget);
    if (!window || window->isMaximized() || window->isFullScreen())
        return false;
    if (QWindow *handle = window->windowHandle(); handle && handle->startSystemMove()) {
        SystemDrag::start(window);
        return true;
    }
    startOwnDrag(window, WindowDrag::Kind::MouseMove, {}, pressPos)->followTo(globalPos);
    return false;
}

bool KavStartWindowResize(QWidget *widget, Qt::Edges edges, const QPoint &globalPos)
{
    QWidget *window = topLevel(widget);
    if (!window || !edges || window->isMaximized() || window->isFullScreen())
        return false;
    if (QWindow *handle = window->windowHandle(); handle && handle->startSystemResize(edges)) {
        SystemDrag::start(window);
        return true;
    }
    startOwnDrag(window, WindowDrag::Kind::MouseResize, edges, globalPos);
    return false;
}

void KavStartKeyboardMove(QWidget *widget)
{
    if (QWidget *window = topLevel(widget); window && !window->isMaximized())
        startOwnDrag(window, WindowDrag::Kind::KeyboardMove, {}, {});
}

void KavStartKeyboardResize(QWidget *widget)
{
    if (QWidget *window = topLevel(widget); window && !window->isMaximized())
        startOwnDrag(window, WindowDrag::Kind::KeyboardResize, Qt::RightEdge | Qt::BottomEdge, {});
}

bool KavSystemDragActive(const QWidget *widget)
{
    return SystemDrag::of(widget ? widget->window() : nullptr) != nullptr;
}

bool KavWindowDragActive(const QWidget *widget)
{
    return WindowDrag::of(widget ? widget->window() : nullptr) != nullptr;
}

Qt::CursorShape KavResizeCursor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool mainDiagonal = bool(edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);
        return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    if (vertical)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

QRect KavResizedGeometry(const QRect &geometry, Qt::Edges edges, const QPoint &delta,
                         const QSize &minimum, const QSize &maximum)
{
    QRect result = geometry;
    const auto clampWidth = [&](int width) { return qBound(minimum.width(), width, maximum.width()); };
    const auto clampHeight = [&](int height) {
        return qBound(minimum.height(), height, maximum.height());
    };
    if (edges & Qt::LeftEdge)
        result.setLeft(geometry.right() + 1 - clampWidth(geometry.width() - delta.x()));
    else if (edges & Qt::RightEdge)
        result.setWidth(clampWidth(geometry.width() + delta.x()));
    if (edges & Qt::TopEdge)
        result.setTop(geometry.bottom() + 1 - clampHeight(geometry.height() - delta.y()));
    else if (edges & Qt::BottomEdge)
        result.setHeight(clampHeight(geometry.height() + delta.y()));
    return result;
}

} // namespace Kav
