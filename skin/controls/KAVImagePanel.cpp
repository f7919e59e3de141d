#include "KAVImagePanel.h"

#include "KAVAccessible.h"
#include "KAVFunctions.h"

#include <QAccessible>
#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QTimer>
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
    const QVariant align = control->property("Align");
    if (!align.isValid())
        return alNone;
    const int value = align.toInt();
    return value >= alNone && value <= alClient ? TAlign(value) : alNone;
}

// Whether the parent places its children itself, so that Align must not move them.
bool placedByLayout(const QWidget *control)
{
    const QWidget *parent = control->parentWidget();
    return parent != nullptr && (parent->layout() != nullptr || qobject_cast<const QSplitter *>(parent));
}

// The container's aligned children within its contents rectangle, unless a layout places them.
void alignChildren(QWidget *container)
{
    if (container->layout() == nullptr)
        KavAlignControls(container, container->contentsRect());
}

// The control and its aligned siblings within the parent.
void alignInParent(QWidget *control)
{
    QWidget *parent = control->parentWidget();
    if (parent == nullptr || control->isWindow() || placedByLayout(control))
        return;
    KavAlignControls(parent, parent->contentsRect());
}

// An aligned control watches its parent's size (through its own eventFilter) to follow it.
void watchParent(QWidget *control, bool watch)
{
    if (QWidget *parent = control->parentWidget()) {
        if (watch)
            parent->installEventFilter(control);
        else
            parent->removeEventFilter(control);
    }
}

// The part of an aligned control's event handling that both panels share. Returns nothing; the
// caller goes on with its own handling.
void alignOnEvent(QWidget *control, TAlign align, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentAboutToChange:
        watchParent(control, false);
        break;
    case QEvent::ParentChange:
        watchParent(control, align != alNone);
        if (align != alNone)
            alignInParent(control);
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (align != alNone)
            alignInParent(control);
        break;
    case QEvent::LayoutRequest:
    case QEvent::ContentsRectChange:
    case QEvent::Show:
        alignChildren(control);
        break;
    default:
        break;
    }
}

bool parentGeometryChanged(const QWidget *control, const QObject *watched, const QEvent *event)
{
    return watched == control->parentWidget()
        && (event->type() == QEvent::Resize || event->type() == QEvent::ContentsRectChange);
}

// VCL draws captions with the '&' of an access key shown as an underline.
constexpr int CaptionTextFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

// The push button strip is one fixed picture for every panel; read once.
const QImage &panelButtonResource()
{
    static const QImage picture = [] {
        try {
            return KavLoadResourceBitmap(QStringLiteral("PANEL_BUTTON"));
        } catch (const EKavResourceNotFound &) {
            return QImage(); // no picture, no button
        }
    }();
    return picture;
}

void announceNameChange(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void announceExpandedChange(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.expanded = true;
    changed.collapsed = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace

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
                child->setGeometry(rest.x(), KavBottom(rest) - child->height(), rest.width(),
                                   child->height());
                rest.setHeight(rest.height() - h);
                break;
            case alLeft:
                child->setGeometry(rest.x(), rest.y(), child->width(), rest.height());
                rest.setLeft(rest.left() + w);
                break;
            case alRight:
                child->setGeometry(KavRight(rest) - child->width(), rest.y(), child->width(),
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

// ---------------------------------------------------------------------------------------------
// TkavCustomPanel

TkavCustomPanel::TkavCustomPanel(QWidget *parent) : QWidget(parent)
{
    KavInstallAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_color = TColor::fromQColor(palette().color(QPalette::Button));
    resize(185, 41);
}

void TkavCustomPanel::setPicture(const QImage &picture)
{
    m_picture = picture;
    PictureChanged(this);
    ClearPanel();
    update();
}

void TkavCustomPanel::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TkavCustomPanel::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (!m_picture.isNull())
        applyAutoSize();
}

void TkavCustomPanel::setCaptionPosX(int x)
{
    m_captionPosX = x;
    update();
}

void TkavCustomPanel::setCaptionPosY(int y)
{
    m_captionPosY = y;
    update();
}

void TkavCustomPanel::setDrawStyle(TkavDrawStyle style)
{
    m_drawStyle = style;
    ClearPanel();
    update();
}

void TkavCustomPanel::setAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    update();
}

void TkavCustomPanel::setAlign(TAlign align)
{
    if (align == m_align)
        return;
    const bool wasAligned = m_align != alNone;
    m_align = align;
    watchParent(this, align != alNone);
    if (align != alNone || wasAligned)
        alignInParent(this);
}

void TkavCustomPanel::setBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    setContentsMargins(m_borderWidth, m_borderWidth, m_borderWidth, m_borderWidth);
    alignChildren(this);
}

void TkavCustomPanel::setColor(TColor color)
{
    m_color = color;
    update();
}

void TkavCustomPanel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    RepaintText(m_lastCaptionRect);
    update();
    announceNameChange(this);
}

QSize TkavCustomPanel::sizeHint() const
{
    if (m_autoSize && !m_picture.isNull())
        return m_picture.size();
    return QSize(185, 41);
}

void TkavCustomPanel::ClearPanel()
{
}

void TkavCustomPanel::RepaintText(const QRect &)
{
}

void TkavCustomPanel::PictureChanged(QObject *)
{
    if (!m_picture.isNull() && m_autoSize)
        applyAutoSize();
    ClearPanel();
    update();
}

void TkavCustomPanel::applyAutoSize()
{
    const bool parentSetsWidth = m_align == alTop || m_align == alBottom || m_align == alClient;
    const bool parentSetsHeight = m_align == alLeft || m_align == alRight || m_align == alClient;
    resize(parentSetsWidth ? width() : m_picture.width(),
           parentSetsHeight ? height() : m_picture.height());
    updateGeometry();
}

QImage TkavCustomPanel::drawablePicture() const
{
    if (!m_transparent || m_picture.isNull())
        return m_picture;
    // A transparent picture skips the pixels of the colour of its bottom-left pixel.
    QImage keyed = m_picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1) | 0xFF000000u;
    for (int y = 0; y < keyed.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
    return keyed;
}

void TkavCustomPanel::paintPanel(QImage &canvas)
{
    QPainter painter(&canvas);
    const QRect client = canvas.rect();

    // Background: the colour, or what lies under a transparent panel.
    painter.fillRect(client, m_color.toQColor());
    if (m_transparent)
        DoTrans(painter, this);

    if (!m_picture.isNull()) {
        const QImage picture = drawablePicture();
        switch (m_drawStyle) {
        case kavStretch:
            painter.drawImage(client, picture);
            break;
        case kavTile:
            TileDraw(painter, picture, client);
            break;
        case kavNormal:
            painter.drawImage(0, 0, picture);
            break;
        }
    }

    if (m_text.trimmed().isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    if (m_captionPosX == -1 || m_captionPosY == -1) {
        int horizontal = Qt::AlignHCenter;
        if (m_alignment == taLeftJustify)
            horizontal = Qt::AlignLeft;
        else if (m_alignment == taRightJustify)
            horizontal = Qt::AlignRight;
        painter.drawText(client, horizontal | Qt::AlignVCenter | CaptionTextFlags, m_text);
        m_lastCaptionRect = client;
    } else {
        const QFontMetrics metrics(font());
        const QRect at(m_captionPosX, m_captionPosY,
                       metrics.horizontalAdvance(KavStripMnemonic(m_text)), metrics.height());
        painter.drawText(at, Qt::AlignLeft | Qt::AlignTop | CaptionTextFlags, m_text);
        m_lastCaptionRect = at;
    }
}

void TkavCustomPanel::paintEvent(QPaintEvent *)
{
    QImage canvas(size(), QImage::Format_RGB32);
    if (canvas.isNull())
        return;
    paintPanel(canvas);
    QPainter(this).drawImage(0, 0, canvas);
}

void TkavCustomPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    alignChildren(this);
    if (m_align != alNone)
        alignInParent(this);
    update();
    emit OnResize(this);
}

bool TkavCustomPanel::event(QEvent *event)
{
    alignOnEvent(this, m_align, event);
    return QWidget::event(event);
}

bool TkavCustomPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (m_align != alNone && parentGeometryChanged(this, watched, event))
        alignInParent(this);
    return QWidget::eventFilter(watched, event);
}

void TkavCustomPanel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    const QPoint at = event->position().toPoint();
    emit OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TkavCustomPanel::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit OnMouseMove(this, event->modifiers(), at.x(), at.y());
}

void TkavCustomPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(at);
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    emit OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
    if (click)
        emit OnClick(this);
}

void TkavCustomPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit OnDblClick(this);
}

// ---------------------------------------------------------------------------------------------
// TkavImagePanel

TkavImagePanel::TkavImagePanel(QWidget *parent) : TkavCustomPanel(parent)
{
}

// ---------------------------------------------------------------------------------------------
// TkavPanel

const char *const TkavPanel::CantPushMessage = "Can't push when Align is alClient, alLeft or alRight.";

TkavPanel::TkavPanel(QWidget *parent) : QWidget(parent)
{
    KavInstallAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_rollTimer = new QTimer(this);
    connect(m_rollTimer, &QTimer::timeout, this, &TkavPanel::stepRoll);
    resize(100, m_fullHeight);
    setUIStyle(GetKAVFormStyle(parent ? parent->window() : nullptr));
}

TkavPanel::~TkavPanel() = default;

void TkavPanel::setFileTheme(TkavFileTheme *fileTheme)
{
    m_look.setFileTheme(fileTheme, this, [this] { fileThemeRemoved(); });
    setUIStyle(UIStyle());
}

void TkavPanel::fileThemeRemoved()
{
    ContainerApplyUIStyle(this, TkavUIStyle::DeepBlue, nullptr);
    setUIStyle(TkavUIStyle::DeepBlue);
}

void TkavPanel::setUIStyle(TkavUIStyle style)
{
    m_look.setUIStyle(style);
    m_color = TColor(0xFFFFFF);
    const KavThemeValues values = m_look.values();
    try {
        m_barPicture = values.bitmap(KavKey::SideChannelBarImage);
    } catch (const EKavResourceNotFound &) {
        m_barPicture = QImage(); // a look without its picture draws no bar
    }
    m_borderColor = values.color(KavKey::ControlBorderColor);
    // The light MacOS bar wants black text; the other looks' bars are dark.
    const bool macOS = !values.usesFile() && values.resolvedStyle() == TkavUIStyle::MacOS;
    m_captionFontColor = macOS ? TColor(0) : values.color(KavKey::MenuSelectedFontColor);
    // The bar height may have changed: the children move below it.
    updateChildMargins();
    update();
}

void TkavPanel::updateChildMargins()
{
    setContentsMargins(ChildMargin, captionBarHeight() + ChildMargin, ChildMargin, ChildMargin);
    alignChildren(this);
}

void TkavPanel::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

void TkavPanel::setCaptionFontColor(TColor color)
{
    m_captionFontColor = color;
    update();
}

void TkavPanel::setColor(TColor color)
{
    m_color = color;
    update();
}

void TkavPanel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
    announceNameChange(this);
}

void TkavPanel::setShowButton(bool show)
{
    m_showButton = show;
    update();
}

void TkavPanel::setHeight(int height)
{
    m_fullHeight = std::max(0, height);
    if (!m_expanded)
        return; // a pushed panel takes the new height when it pops
    if (Animating())
        setVisibleHeight(m_fullHeight); // the roll goes on from here
    else
        resize(width(), m_fullHeight);
}

void TkavPanel::setAlign(TAlign align)
{
    if (align == m_align)
        return;
    const bool wasAligned = m_align != alNone;
    m_align = align;
    watchParent(this, align != alNone);
    if (align != alNone || wasAligned)
        alignInParent(this);
    update();
}

void TkavPanel::setAnimationInterval(int milliseconds)
{
    m_animationInterval = std::max(0, milliseconds);
    m_rollTimer->setInterval(m_animationInterval);
}

int TkavPanel::captionBarHeight() const
{
    return m_barPicture.isNull() ? DefaultBarHeight : m_barPicture.height();
}

bool TkavPanel::pushButtonShown() const
{
    return m_showButton && m_align != alClient && m_align != alLeft && m_align != alRight;
}

QRect TkavPanel::pushButtonRect() const
{
    const QImage strip = pushButtonShown() ? pushButtonPicture() : QImage();
    if (strip.isNull())
        return {};
    const int frameWidth = strip.width() / 4;
    const int left = width() - 1 - frameWidth - 4;
    const int top = (captionBarHeight() - strip.height()) / 2;
    return KavRect(left, top, left + frameWidth, top + strip.height());
}

bool TkavPanel::buttonHit(const QPoint &point) const
{
    const QRect button = pushButtonRect();
    return !button.isNull() && InRect(point, button);
}

QSize TkavPanel::sizeHint() const
{
    return QSize(100, 100);
}

QImage TkavPanel::pushButtonPicture() const
{
    return panelButtonResource();
}

void TkavPanel::Push()
{
    if (m_align == alClient || m_align == alLeft || m_align == alRight)
        throw EKavPanelError(CantPushMessage);
    startRoll(Roll::Up);
}

void TkavPanel::Pop()
{
    startRoll(Roll::Down);
}

void TkavPanel::startRoll(Roll direction)
{
    if (m_rolling == direction)
        return; // already on its way
    // An expanded panel at rest is at its full height; a hidden one has had no resize events to
    // say so.
    if (m_rolling == Roll::None && m_expanded)
        m_fullHeight = height();
    m_rolling = direction;
    if (direction == Roll::Up)
        m_rollTarget = captionBarHeight();
    m_rollTimer->start(m_animationInterval);
}

void TkavPanel::stepRoll()
{
    switch (m_rolling) {
    case Roll::None:
        return;
    case Roll::Up:
        if (m_rollTarget < height() - RollStep) {
            setVisibleHeight(height() - RollStep);
            return;
        }
        setVisibleHeight(m_rollTarget);
        break;
    case Roll::Down:
        if (height() + RollStep < m_fullHeight) {
            setVisibleHeight(height() + RollStep);
            return;
        }
        setVisibleHeight(m_fullHeight);
        break;
    }
    finishRoll();
}

void TkavPanel::setVisibleHeight(int height)
{
    height = std::max(0, height);
    // A layout would put the panel back at its own idea of the height; the maximum holds it.
    if (placedByLayout(this)) {
        if (!m_savedMaximumHeight)
            m_savedMaximumHeight = maximumHeight();
        setMaximumHeight(height);
    }
    resize(width(), height);
    update();
}

void TkavPanel::finishRoll()
{
    const Roll done = m_rolling;
    m_rolling = Roll::None;
    m_rollTimer->stop();
    m_expanded = done == Roll::Down;
    if (m_expanded && m_savedMaximumHeight) {
        setMaximumHeight(*m_savedMaximumHeight);
        m_savedMaximumHeight.reset();
    }
    update();
    announceExpandedChange(this);
    if (done == Roll::Up)
        emit OnPush(this);
    else
        emit OnPop(this);
}

void TkavPanel::paintPanel(QImage &canvas)
{
    QPainter painter(&canvas);
    const int w = canvas.width();
    const int h = canvas.height();
    const int barHeight = captionBarHeight();

    // The panel: its colour inside a one-pixel outline.
    painter.fillRect(canvas.rect(), m_color.toQColor());
    painter.setPen(m_borderColor.toQColor());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, w - 1, h - 1);

    // The caption bar, stretched between the side lines.
    if (!m_barPicture.isNull() && w > 2)
        painter.drawImage(KavRect(1, 0, w - 1, m_barPicture.height()), m_barPicture);

    // The caption, left-aligned in the bar.
    const QRect captionRect = KavRect(10, 0, w - 1, barHeight);
    if (captionRect.isValid() && !m_caption.isEmpty()) {
        painter.save();
        painter.setClipRect(captionRect);
        painter.setFont(font());
        painter.setPen(m_captionFontColor.toQColor());
        painter.drawText(captionRect, Qt::AlignLeft | Qt::AlignVCenter | CaptionTextFlags, m_caption);
        painter.restore();
    }

    // The push button at the right end of the bar, highlighted under the mouse.
    m_overButton = false;
    const QImage strip = pushButtonShown() ? pushButtonPicture() : QImage();
    if (strip.isNull())
        return;
    const QRect button = pushButtonRect();
    m_overButton = m_mousePos.has_value() && InRect(*m_mousePos, button);
    const int frame = (m_expanded ? 1 : 3) + (m_overButton ? 1 : 0);
    QImage face;
    SpitBitmap(strip, face, 4, frame);
    painter.drawImage(w - face.width() - 4, button.top() / 2 + 2, face);
}

void TkavPanel::paintEvent(QPaintEvent *)
{
    QImage canvas(size(), QImage::Format_RGB32);
    if (canvas.isNull())
        return;
    paintPanel(canvas);
    QPainter(this).drawImage(0, 0, canvas);
}

void TkavPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Alignment and the user keep the full height up to date; rolling does not.
    if (!Animating() && m_expanded)
        m_fullHeight = height();
    alignChildren(this);
    if (m_align != alNone)
        alignInParent(this);
    emit OnResize(this);
}

bool TkavPanel::event(QEvent *event)
{
    alignOnEvent(this, m_align, event);
    return QWidget::event(event);
}

bool TkavPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (m_align != alNone && parentGeometryChanged(this, watched, event))
        alignInParent(this);
    return QWidget::eventFilter(watched, event);
}

void TkavPanel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    const QPoint at = event->position().toPoint();
    emit OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TkavPanel::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    m_mousePos = at;
    emit OnMouseMove(this, event->modifiers(), at.x(), at.y());
    if (m_showButton)
        update(0, 0, width(), captionBarHeight());
}

void TkavPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    const bool click = left && m_pressed && rect().contains(at);
    if (left)
        m_pressed = false;
    emit OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
    if (click)
        emit OnClick(this);
    if (!left)
        return;
    // The button is only there when Align lets the panel roll, so Push cannot refuse here.
    if (buttonHit(at)) {
        if (m_expanded)
            Push();
        else
            Pop();
    }
    update();
}

void TkavPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit OnDblClick(this);
}

void TkavPanel::enterEvent(QEnterEvent *event)
{
    m_mousePos = event->position().toPoint();
    QWidget::enterEvent(event);
}

void TkavPanel::leaveEvent(QEvent *event)
{
    m_mousePos.reset();
    QWidget::leaveEvent(event);
    if (m_showButton)
        update(0, 0, width(), captionBarHeight());
}
