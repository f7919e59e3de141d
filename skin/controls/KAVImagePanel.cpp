#include "KAVImagePanel.h"

#include "KAVAccessible.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVPanelPainter.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

using namespace KavLayout;

namespace {

// Qt's horizontal alignment for a caption's Alignment.
int horizontalAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taLeftJustify:
        return Qt::AlignLeft;
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        break;
    }
    return Qt::AlignHCenter;
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

// ---------------------------------------------------------------------------------------------
// TkavCustomPanel

TkavCustomPanel::TkavCustomPanel(QWidget *parent) : TkavPlatformPanel(parent)
{
    setColor(Kav::KavPaletteColor(this, QPalette::Button));
    resize(Kav::Metrics::PanelSize);
}

void TkavCustomPanel::setPicture(const QImage &picture)
{
    m_picture = picture;
    preparePicture();
    PictureChanged(this);
    ClearPanel();
    update();
}

void TkavCustomPanel::setTransparent(bool transparent)
{
    m_transparent = transparent;
    preparePicture();
    update();
}

void TkavCustomPanel::preparePicture()
{
    // An opaque panel draws the picture as it was given (an alpha channel of its own included).
    m_keyedPicture = m_transparent
        ? Kav::TkavPictureStore::instance().userPicture(m_picture, Kav::PictureRecipe{0, 0, Kav::PictureMask::BottomLeft, false})
        : Kav::TkavPicture();
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

void TkavCustomPanel::setBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    setContentsMargins(m_borderWidth, m_borderWidth, m_borderWidth, m_borderWidth);
    alignChildren();
}

void TkavCustomPanel::setText(const QString &text)
{
    if (text == m_text)
        return;
    // Where the old caption was drawn, for the hook.
    const QRect previous = captionRect();
    m_text = text;
    RepaintText(previous);
    update();
    announceNameChange(this);
}

QSize TkavCustomPanel::sizeHint() const
{
    if (m_autoSize && !m_picture.isNull())
        return m_picture.size();
    return Kav::Metrics::PanelSize;
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
    resize(parentSetsWidth() ? width() : m_picture.width(),
           parentSetsHeight() ? height() : m_picture.height());
    updateGeometry();
}

QRect TkavCustomPanel::captionRect() const
{
    return Kav::KavPanelCaptionPlace(size(), m_text, font(), horizontalAlignment(m_alignment), m_captionPosX,
                                     m_captionPosY)
        .rect;
}

Kav::Backdrop TkavCustomPanel::backdrop() const
{
    const QColor colour = palette().color(QPalette::Window);
    return m_transparent ? Kav::Backdrop::behind(colour) : Kav::Backdrop::filled(colour);
}

void TkavCustomPanel::paintPanel(QImage &canvas) const
{
    Kav::ImagePanelOption option;
    option.size = size();
    option.picture = m_transparent ? m_keyedPicture.image() : m_picture;
    switch (m_drawStyle) {
    case kavNormal:
        option.layout = Kav::PictureLayout::Natural;
        break;
    case kavStretch:
        option.layout = Kav::PictureLayout::Stretch;
        break;
    case kavTile:
        option.layout = Kav::PictureLayout::Tile;
        break;
    }
    option.caption = m_text;
    option.captionPlace = Kav::KavPanelCaptionPlace(size(), m_text, font(), horizontalAlignment(m_alignment),
                                                    m_captionPosX, m_captionPosY);
    option.font = font();
    option.textColour = palette().color(foregroundRole());
    Kav::KavPaintImagePanel(canvas, option);
}

void TkavCustomPanel::resizeEvent(QResizeEvent *event)
{
    update();
    TkavPlatformPanel::resizeEvent(event);
}

// ---------------------------------------------------------------------------------------------
// TkavImagePanel

TkavImagePanel::TkavImagePanel(QWidget *parent) : TkavCustomPanel(parent)
{
}

// ---------------------------------------------------------------------------------------------
// TkavPanel

const char *const TkavPanel::CantPushMessage = "Can't push when Align is alClient, alLeft or alRight.";

TkavPanel::TkavPanel(QWidget *parent) : TkavPlatformPanel(parent)
{
    setMouseTracking(true);
    m_rollTimer = new QTimer(this);
    connect(m_rollTimer, &QTimer::timeout, this, &TkavPanel::stepRoll);
    resize(Kav::Metrics::CaptionPanelSize.width(), m_fullHeight);
    // A lost file theme turns the children DeepBlue too.
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); }, TkavLook::FirstLook::OwnerForm,
                  TkavLook::FallBack::Children);
}

TkavPanel::~TkavPanel() = default;

void TkavPanel::applyLook(const KavThemeValues &values)
{
    setColor(TColor(0xFFFFFF));
    // A look without its picture draws no bar.
    m_barPicture = values.picture(KavKey::SideChannelBarImage);
    m_buttonFrames = pushButtonFrames();
    m_borderColor = values.color(KavKey::ControlBorderColor);
    // A light bar (MacOS) wants black text; the other looks' bars are dark.
    m_captionFontColor = values.traits().blackPanelCaption ? TColor(0) : values.color(KavKey::MenuSelectedFontColor);
    // The children sit below the bar; they move only when its height changed.
    if (contentsMargins().top() != captionBarHeight() + ChildMargin)
        updateChildMargins();
    update();
}

void TkavPanel::updateChildMargins()
{
    setContentsMargins(ChildMargin, captionBarHeight() + ChildMargin, ChildMargin, ChildMargin);
    alignChildren();
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

void TkavPanel::AlignChanged()
{
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

TkavPanel::ButtonFrames TkavPanel::pushButtonFrames() const
{
    // One picture for every panel and look: asked of the store once.
    static const ButtonFrames frames = [] {
        ButtonFrames library;
        const int count = int(library.size());
        for (int frame = 1; frame <= count; ++frame)
            library[std::size_t(frame - 1)] = Kav::TkavPictureStore::instance().resourcePicture(
                QStringLiteral("PANEL_BUTTON"), Kav::PictureRecipe{count, frame});
        return library;
    }();
    return frames;
}

bool TkavPanel::pushButtonShown() const
{
    return m_showButton && !parentSetsHeight();
}

QRect TkavPanel::pushButtonRect() const
{
    const Kav::TkavPicture &frame = m_buttonFrames[0];
    if (!pushButtonShown() || frame.isNull())
        return {};
    return Kav::KavPanelButtonRect(size(), captionBarHeight(), frame.size());
}

bool TkavPanel::mouseOverButton() const
{
    return m_mousePos.has_value() && pushButtonRect().contains(*m_mousePos);
}

QSize TkavPanel::sizeHint() const
{
    return Kav::Metrics::CaptionPanelSize;
}

void TkavPanel::Push()
{
    if (parentSetsHeight())
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
    if (placedByLayout()) {
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
        Q_EMIT OnPush(this);
    else
        Q_EMIT OnPop(this);
}

void TkavPanel::paintPanel(QImage &canvas) const
{
    Kav::CaptionPanelOption option;
    option.size = size();
    option.borderColour = m_borderColor.resolved(palette());
    option.bar = m_barPicture;
    option.barHeight = captionBarHeight();
    option.caption = m_caption;
    option.font = font();
    option.captionColour = m_captionFontColor.resolved(palette());
    if (pushButtonShown()) {
        const std::size_t frame = (m_expanded ? 0 : 2) + (mouseOverButton() ? 1 : 0);
        option.button = m_buttonFrames[frame];
    }
    Kav::KavPaintCaptionPanel(canvas, option);
}

void TkavPanel::resizeEvent(QResizeEvent *event)
{
    // Alignment and the user keep the full height up to date; rolling does not.
    if (!Animating() && m_expanded)
        m_fullHeight = height();
    TkavPlatformPanel::resizeEvent(event);
}

void TkavPanel::mouseMoveEvent(QMouseEvent *event)
{
    m_mousePos = event->position().toPoint();
    TkavPlatformPanel::mouseMoveEvent(event);
    if (m_showButton)
        update(0, 0, width(), captionBarHeight());
}

void TkavPanel::mouseReleaseEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The button is only there when Align lets the panel roll, so Push cannot refuse here.
    if (pushButtonRect().contains(event->position().toPoint())) {
        if (m_expanded)
            Push();
        else
            Pop();
    }
    update();
}

void TkavPanel::keyPressEvent(QKeyEvent *event)
{
    // The push button's keys, for a key no control in the panel took: Alt+Up rolls the panel up,
    // Alt+Down rolls it down again.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool up = event->key() == Qt::Key_Up, down = event->key() == Qt::Key_Down;
    if (modifiers == Qt::AltModifier && (up || down) && pushButtonShown()) {
        if (up && m_expanded)
            Push();
        else if (down && !m_expanded)
            Pop();
        event->accept();
        return;
    }
    TkavPlatformPanel::keyPressEvent(event);
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
