#include "KAVWindowState.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#if KAV_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace Kav {
namespace {

std::function<bool()> &windowManagerProbe()
{
    static std::function<bool()> probe;
    return probe;
}

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

#if KAV_HAVE_XCB
// The window an EWMH window manager names on the root window (_NET_SUPPORTING_WM_CHECK), or 0.
xcb_window_t supportingWindow(xcb_connection_t *connection, xcb_atom_t check, xcb_window_t of)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, of, check, XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (!reply)
        return 0;
    xcb_window_t window = 0;
    if (reply->type == XCB_ATOM_WINDOW && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        std::memcpy(&window, xcb_get_property_value(reply), sizeof window);
    std::free(reply);
    return window;
}

bool x11WindowManagerRunning()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return true;
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return true;
    const xcb_atom_t check = atom->atom;
    std::free(atom);
    if (check == XCB_ATOM_NONE)
        return false; // nobody ever named the atom: no EWMH window manager ran on this server
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // The manager's own window names itself too; a stale property left by one that quit does not.
    const xcb_window_t named = supportingWindow(connection, check, root);
    return named != 0 && supportingWindow(connection, check, named) == named;
}
#endif

// Keeps a top-level window on the work area while it is maximised, where no window manager does,
// and brings it back to the geometry it had before.
class SelfPlacement : public QObject {
public:
    explicit SelfPlacement(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QStringLiteral("KavSelfPlacement"));
        window->installEventFilter(this);
    }

    static SelfPlacement *of(const QWidget *window)
    {
        return window ? window->findChild<SelfPlacement *>(QStringLiteral("KavSelfPlacement"), Qt::FindDirectChildrenOnly)
                      : nullptr;
    }

    // What a request does: the window state first (Qt reports it at once where nobody answers).
    void maximize()
    {
        if (!m_window->isMaximized())
            m_normal = m_window->geometry();
        m_window->showMaximized();
        follow();
    }

    void restore()
    {
        m_window->showNormal();
        follow();
    }

    QRect restoreGeometry() const { return m_normal; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && !m_placing &&
            (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Show))
            follow();
        return QObject::eventFilter(watched, event);
    }

private:
    // Places the window for its state, once it is known that no window manager will.
    void follow()
    {
        if (!m_window || !m_window->isVisible() || KavWindowManagerAnswers())
            return;
        const Qt::WindowStates state = m_window->windowState();
        if (state & (Qt::WindowMinimized | Qt::WindowFullScreen))
            return;
        const bool maximized = state & Qt::WindowMaximized;
        if (maximized && !m_wasMaximized && !m_normal.isValid())
            m_normal = m_window->geometry(); // maximised by other means than maximize()
        m_wasMaximized = maximized;
        const QScreen *screen = m_window->screen();
        const QRect target = maximized ? (screen ? screen->availableGeometry() : QRect()) : m_normal;
        if (!maximized)
            m_normal = QRect();
        if (!target.isValid() || m_window->geometry() == target)
            return;
        // Through the platform window: QWidget::setGeometry would drop the maximised state.
        m_placing = true;
        if (QWindow *handle = m_window->windowHandle())
            handle->setGeometry(target);
        else
            m_window->setGeometry(target);
        m_placing = false;
    }

    QPointer<QWidget> m_window;
    QRect m_normal;
    bool m_wasMaximized = false;
    bool m_placing = false;
};

SelfPlacement *selfPlacementOf(QWidget *window)
{
    if (SelfPlacement *existing = SelfPlacement::of(window))
        return existing;
    return new SelfPlacement(window);
}

} // namespace

bool KavWindowsPlaceThemselves()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool KavWindowManagerAnswers()
{
    if (const std::function<bool()> &probe = windowManagerProbe())
        return probe();
    if (!onX11())
        return true;
#if KAV_HAVE_XCB
    return x11WindowManagerRunning();
#else
    return true;
#endif
}

void KavSetWindowManagerProbe(std::function<bool()> probe)
{
    windowManagerProbe() = std::move(probe);
}

void KavFollowWindowState(QWidget *window)
{
    if (window && window->isWindow() && !qobject_cast<QMdiSubWindow *>(window))
        selfPlacementOf(window);
}

void KavToggleMaximized(QWidget *window)
{
    if (!window)
        return;
    if (qobject_cast<QMdiSubWindow *>(window) || !window->isWindow()) {
        if (window->isMaximized())
            window->showNormal();
        else
            window->showMaximized();
        return;
    }
    SelfPlacement *placement = selfPlacementOf(window);
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        placement->restore();
    else
        placement->maximize();
}

QRect KavRestoreGeometry(const QWidget *window)
{
    const SelfPlacement *placement = SelfPlacement::of(window);
    return placement ? placement->restoreGeometry() : QRect();
}

} // namespace Kav
