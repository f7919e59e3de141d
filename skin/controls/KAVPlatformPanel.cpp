#include "KAVPlatformPanel.h"

#include "KAVAccessible.h"
#include "KAVFunctions.h"
#include "KAVLook.h"

#include <QEvent>
#include <QHash>
#include <QLayout>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QSplitter>
#include <QVariant>

#include <algorithm>

using namespace KavLayout;

namespace {

// Containers whose aligned children are being placed right now: placing a child resizes it, and
// the child's resize asks its parent to align again, which must not start over.
QList<const QWidget *> &containersBeingAligned()
{
    static QList<const QWidget *> containers;
    return containers;
}

// Hidden on purpose, as opposed to not shown yet because its parent is not shown yet.
bool explicitlyHidden(const QWidget *control)
{
    return control->testAttribute(Qt::WA_WState_ExplicitShowHide)
        && control->testAttribute(Qt::WA_WState_Hidden);
}

TAlign alignOf(const QWidget *control)
{
    // Aligning reads this of every child, many times over while a look switch re-lays out the
    // controls: the property's index is looked up once per class.
    thread_local QHash<const QMetaObject *, int> alignIndex;
    const QMetaObject *meta = control->metaObject();
    auto found = alignIndex.constFind(meta);
    if (found == alignIndex.constEnd())
        found = alignIndex.insert(meta, meta->indexOfProperty("Align"));
    if (*found >= 0) {
        const int value = meta->property(*found).read(control).toInt();
        return value >= alNone && value <= alClient ? TAlign(value) : alNone;
    }
    if (!control->dynamicPropertyNames().contains("Align"))
        return alNone;
    const QVariant align = control->property("Align");
    if (!align.isValid())
        return alNone;
    const int value = align.toInt();
    return value >= alNone && value <= alClient ? TAlign(value) : alNone;
}

} // namespace

void Kav::KavUpdatePaletteColor(QWidget *widget, QPalette::ColorRole role, TColor color)
{
    const QPalette &palette = widget->palette();
    if (palette.isBrushSet(QPalette::Active, role) && TColor::fromQColor(palette.color(role)) == color)
        return;
    Kav::KavSetPaletteColor(widget, role, color);
}

void KavLayout::KavAlignControls(QWidget *container, const QRect &client)
{
    if (container == nullptr || containersBeingAligned().contains(container))
        return;
    containersBeingAligned().append(container);
    const QList<QWidget *> children = container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QRect rest = client;
    // Top and bottom first across the whole width, then left and right in the height left over,
    // then the client controls in what remains.
    for (const TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (QWidget *child : children) {
            if (child->isWindow() || explicitlyHidden(child) || alignOf(child) != pass)
                continue;
            const int w = std::min(child->width(), std::max(0, rest.width()));
            const int h = std::min(child->height(), std::max(0, rest.height()));
            switch (pass) {
            case alTop:
                child->setGeometry(rest.x(), rest.y(), rest.width(), child->height());
                rest.setTop(rest.top() + h);
                break;
            case alBottom:
                child->setGeometry(rest.x(), Kav::KavBottom(rest) - child->height(), rest.width(),
                                   child->height());
                rest.setHeight(rest.height() - h);
                break;
            case alLeft:
                child->setGeometry(rest.x(), rest.y(), child->width(), rest.height());
                rest.setLeft(rest.left() + w);
                break;
            case alRight:
                child->setGeometry(Kav::KavRight(rest) - child->width(), rest.y(), child->width(),
                                   rest.height());
                rest.setWidth(rest.width() - w);
                break;
            default:
                child->setGeometry(rest.x(), rest.y(), std::max(0, rest.width()),
                                   std::max(0, rest.height()));
                break;
            }
        }
    }
    containersBeingAligned().removeOne(container);
}

TkavPlatformPanel::TkavPlatformPanel(QWidget *parent) : QWidget(parent)
{
    Kav::KavInstallAccessibility();
}

void TkavPlatformPanel::setAlign(TAlign align)
{
    if (align == m_align)
        return;
    const bool wasAligned = m_align != alNone;
    m_align = align;
    watchParent(align != alNone);
    if (align != alNone || wasAligned)
        alignInParent();
    AlignChanged();
}

bool TkavPlatformPanel::parentSetsWidth() const
{
    return m_align == alTop || m_align == alBottom || m_align == alClient;
}

bool TkavPlatformPanel::parentSetsHeight() const
{
    return m_align == alLeft || m_align == alRight || m_align == alClient;
}

void TkavPlatformPanel::AlignChanged()
{
}

TColor TkavPlatformPanel::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Window);
}

void TkavPlatformPanel::setColor(TColor color)
{
    Kav::KavUpdatePaletteColor(this, QPalette::Window, color);
    update();
}

Kav::Backdrop TkavPlatformPanel::backdrop() const
{
    return Kav::Backdrop::filled(palette().color(QPalette::Window));
}

void TkavPlatformPanel::alignChildren()
{
    if (layout() == nullptr)
        KavAlignControls(this, contentsRect());
}

bool TkavPlatformPanel::placedByLayout() const
{
    const QWidget *parent = parentWidget();
    return parent != nullptr && (parent->layout() != nullptr || qobject_cast<const QSplitter *>(parent));
}

void TkavPlatformPanel::alignInParent()
{
    QWidget *parent = parentWidget();
    if (parent == nullptr || isWindow() || placedByLayout())
        return;
    KavAlignControls(parent, parent->contentsRect());
}

void TkavPlatformPanel::watchParent(bool watch)
{
    if (QWidget *parent = parentWidget()) {
        if (watch)
            parent->installEventFilter(this);
        else
            parent->removeEventFilter(this);
    }
}

void TkavPlatformPanel::paintEvent(QPaintEvent *event)
{
    // Panels are large and often painted in part (under a transparent control, or where a child
    // changed): only the exposed part is composed.
    Kav::KavPaintFace(this, backdrop(), [this](QImage &canvas) { paintPanel(canvas); }, event->region(),
                      Kav::FaceDensity::Device);
}

void TkavPlatformPanel::paintOwnFace(QPainter &painter, const QRect &part) const
{
    Kav::KavPaintFaceOn(painter, this, backdrop(), [this](QImage &canvas) { paintPanel(canvas); }, part,
                        QRegion(part), Kav::FaceDensity::Device);
}

void TkavPlatformPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Kav::KavUpdateOpaquePaint(this);
    alignChildren();
    if (m_align != alNone)
        alignInParent();
    Q_EMIT OnResize(this);
}

bool TkavPlatformPanel::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentAboutToChange:
        watchParent(false);
        break;
    case QEvent::ParentChange:
        watchParent(m_align != alNone);
        if (m_align != alNone)
            alignInParent();
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (m_align != alNone)
            alignInParent();
        break;
    case QEvent::LayoutRequest:
    case QEvent::ContentsRectChange:
        alignChildren();
        break;
    case QEvent::Show:
        Kav::KavUpdateOpaquePaint(this); // on the screen it is shown on
        alignChildren();
        break;
    case QEvent::ScreenChangeInternal:
        Kav::KavUpdateOpaquePaint(this);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool TkavPlatformPanel::eventFilter(QObject *watched, QEvent *event)
{
    const bool parentGeometryChanged = watched == parentWidget()
        && (event->type() == QEvent::Resize || event->type() == QEvent::ContentsRectChange);
    // A panel aligns its own children when its size or contents rectangle changes; only a plain
    // parent needs its aligned children to do it, and then the first of them does it for all.
    if (m_align != alNone && parentGeometryChanged && !qobject_cast<const TkavPlatformPanel *>(watched)
        && firstAlignedSibling() == this)
        alignInParent();
    return QWidget::eventFilter(watched, event);
}

const QWidget *TkavPlatformPanel::firstAlignedSibling() const
{
    for (const QObject *sibling : parentWidget()->children()) {
        if (sibling->isWidgetType() && alignOf(static_cast<const QWidget *>(sibling)) != alNone)
            return static_cast<const QWidget *>(sibling);
    }
    return nullptr;
}

void TkavPlatformPanel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TkavPlatformPanel::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseMove(this, event->modifiers(), at.x(), at.y());
}

void TkavPlatformPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(at);
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    Q_EMIT OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
    if (click)
        Q_EMIT OnClick(this);
}

void TkavPlatformPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT OnDblClick(this);
}
