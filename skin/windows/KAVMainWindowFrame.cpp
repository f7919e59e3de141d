#include "KAVMainWindowFrame.h"

#include <QMainWindow>
#include <QMenuBar>

namespace Kav {

QMainWindow *KavMainWindowOf(QWidget *owner)
{
    return qobject_cast<QMainWindow *>(owner);
}

QRect KavFitMainWindowInFrame(QMainWindow *window, const QRect &inner, int barsHeight)
{
    barsHeight = qBound(0, barsHeight, inner.height());
    const QMargins frame(inner.left(), inner.top() + barsHeight, window->width() - inner.right() - 1,
                         window->height() - inner.bottom() - 1);
    // Setting the same margins again would lay the window out again on every resize.
    if (window->contentsMargins() != frame)
        window->setContentsMargins(frame);
    return QRect(inner.topLeft(), QSize(inner.width(), barsHeight));
}

QMenuBar *KavMainWindowMenuBar(QWidget *window)
{
    const QMainWindow *main = KavMainWindowOf(window);
    return main ? qobject_cast<QMenuBar *>(main->menuWidget()) : nullptr;
}

} // namespace Kav
