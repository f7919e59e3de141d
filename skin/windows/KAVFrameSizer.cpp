#include "KAVFrameSizer.h"

#include "KAVMetrics.h"
#include "KAVWindowDrag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace Kav {

Qt::Edges sizingEdges(QSize size, QPoint point, int band)
{
    if (band <= 0 || point.x() < 0 || point.y() < 0 || point.x() >= size.width() || point.y() >= size.height())
        return {};
    Qt::Edges edges;
    if (point.x() < band)
        edges |= Qt::LeftEdge;
    else if (point.x() > size.width() - band)
        edges |= Qt::RightEdge;
    if (point.y() < band)
        edges |= Qt::TopEdge;
    else if (point.y() > size.height() - band)
        edges |= Qt::BottomEdge;
    return edges;
}

TkavFrameSizer::TkavFrameSizer(QWidget *frame, Behaviour behaviour, QObject *parent)
    : QObject(parent), m_frame(frame), m_behaviour(std::move(behaviour))
{
    qApp->installEventFilter(this);
}

TkavFrameSizer::~TkavFrameSizer()
{
    qApp->removeEventFilter(this);
}

Qt::Edges TkavFrameSizer::edgesAt(const QPoint &global) const
{
    if (!m_frame || KavWindowDragActive(m_frame) || (m_behaviour.sizeable && !m_behaviour.sizeable()))
        return {};
    const Qt::Edges edges = sizingEdges(m_frame->size(), m_frame->mapFromGlobal(global), Metrics::SizingBand);
    if (edges && m_behaviour.yields && m_behaviour.yields(global))
        return {};
    return edges;
}

bool TkavFrameSizer::covers(const QWidget *widget) const
{
    return widget == m_frame || m_frame->isAncestorOf(widget);
}

void TkavFrameSizer::showCursor(const QWidget *under, Qt::Edges edges)
{
    // The cursor is the window's: an MDI child's edges show it on its parent's window.
    QWindow *handle = m_frame ? m_frame->window()->windowHandle() : nullptr;
    if (!handle)
        return;
    if (edges) {
        handle->setCursor(KavResizeCursor(edges));
        m_cursorShown = true;
    } else if (m_cursorShown) {
        // The window gets back the cursor of the control under the mouse.
        handle->setCursor(under ? under->cursor() : QCursor(Qt::ArrowCursor));
        m_cursorShown = false;
    }
}

bool TkavFrameSizer::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!m_frame || !watched->isWidgetType() ||
        (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::Leave))
        return false;
    const auto *widget = static_cast<QWidget *>(watched);
    if (type == QEvent::Leave) {
        if (widget == m_frame)
            showCursor(nullptr, {});
        return false;
    }
    if (!covers(widget))
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    const Qt::Edges edges = edgesAt(global);
    if (type == QEvent::MouseMove) {
        if (mouse->buttons() == Qt::NoButton)
            showCursor(widget, edges);
        return false;
    }
    if (!edges || mouse->button() != Qt::LeftButton)
        return false;
    if (m_behaviour.start)
        m_behaviour.start(edges, global);
    else
        KavStartWindowResize(m_frame, edges, global);
    return true;
}

} // namespace Kav
