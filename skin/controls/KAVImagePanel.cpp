#include "KAVImagePanel.h"

#include "KAVAccessible.h"
#include "KAVFunctions.h"

#include <QAccessible>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

using namespace KavLayout;

namespace {

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

// ---------------------------------------------------------------------------------------------
// TkavCustomPanel

TkavCustomPanel::TkavCustomPanel(QWidget *parent) : TkavPlatformPanel(parent)
{
    setColor(KavPaletteColor(this, QPalette::Button));
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
    resize(parentSetsWidth() ? width() : m_picture.width(),
           parentSetsHeight() ? height() : m_picture.height());
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
    painter.fillRect(client, Color().toQColor());
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
    setColor(TColor(0xFFFFFF));
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

bool TkavPanel::pushButtonShown() const
{
    return m_showButton && !parentSetsHeight();
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

void TkavPanel::paintPanel(QImage &canvas)
{
    QPainter painter(&canvas);
    const int w = canvas.width();
    const int h = canvas.height();
    const int barHeight = captionBarHeight();

    // The panel: its colour inside a one-pixel outline.
    painter.fillRect(canvas.rect(), Color().toQColor());
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
    if (buttonHit(event->position().toPoint())) {
        if (m_expanded)
            Push();
        else
            Pop();
    }
    update();
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
