#include "KAVGroupBox.h"

#include <QLayout>

#include "KAVAccessible.h"
#include "KAVFunctions.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {

// Draws the straight segment from `from` to `to` without its end point, as a pen drawing one
// connected line does (the next segment starts there).
void lineTo(QImage &canvas, QPoint from, QPoint to, QRgb color)
{
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    for (QPoint p = from; p != to; p += QPoint(dx, dy)) {
        if (canvas.rect().contains(p))
            canvas.setPixel(p, color);
    }
}

constexpr QRgb DisabledCaptionColor = 0xFF808080;

} // namespace

TkavCustomGroupBox::TkavCustomGroupBox(QWidget *parent) : QWidget(parent)
{
    KavInstallAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    resize(185, 105);
    applyMargins();
    setUIStyle(GetKAVFormStyle(parent ? parent->window() : nullptr));
}

void TkavCustomGroupBox::setUIStyle(TkavUIStyle style)
{
    m_look.setUIStyle(style);
    UpdateUIStyle(style, FileTheme());
}

void TkavCustomGroupBox::setFileTheme(TkavFileTheme *fileTheme)
{
    m_look.setFileTheme(fileTheme, this, [this] { fileThemeRemoved(); });
    setUIStyle(UIStyle());
}

void TkavCustomGroupBox::fileThemeRemoved()
{
    ContainerApplyUIStyle(this, TkavUIStyle::DeepBlue, nullptr);
    setUIStyle(TkavUIStyle::DeepBlue);
}

void TkavCustomGroupBox::UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme)
{
    ContainerApplyUIStyle(this, style, fileTheme);
    const KavThemeValues values(style, fileTheme);
    m_borderColor = values.color(KavKey::ControlBorderColor);
    setFontColor(values.color(KavKey::ControlFontColor));
    update();
}

void TkavCustomGroupBox::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TkavCustomGroupBox::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

TColor TkavCustomGroupBox::FontColor() const
{
    return KavPaletteColor(this, QPalette::WindowText);
}

void TkavCustomGroupBox::setFontColor(TColor color)
{
    KavSetPaletteColor(this, QPalette::WindowText, color);
    update();
}

TColor TkavCustomGroupBox::Color() const
{
    return KavPaletteColor(this, QPalette::Window);
}

void TkavCustomGroupBox::setColor(TColor color)
{
    KavSetPaletteColor(this, QPalette::Window, color);
    update();
}

void TkavCustomGroupBox::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TkavCustomGroupBox::setTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void TkavCustomGroupBox::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    handOnEnabled(enabled);
    update();
}

void TkavCustomGroupBox::handOnEnabled(bool enabled)
{
    m_ownEnabled = enabled;
    for (QObject *child : children()) {
        if (child->isWidgetType())
            static_cast<QWidget *>(child)->setEnabled(enabled);
    }
}

int TkavCustomGroupBox::fontHeight() const
{
    const int requested = font().pixelSize();
    return requested > 0 ? requested : QFontInfo(font()).pixelSize();
}

QRect TkavCustomGroupBox::GetClient() const
{
    return KavRect(3, fontHeight(), width() - 2, height() - 2);
}

void TkavCustomGroupBox::applyMargins()
{
    setContentsMargins(3, fontHeight() + 5, 3, 3);
}

QImage TkavCustomGroupBox::composeFace() const
{
    QImage face(size(), QImage::Format_RGB32);
    if (face.isNull())
        return face;
    face.fill(Color().toRgb());
    if (m_transparent)
        DoTrans(face, const_cast<TkavCustomGroupBox *>(this));

    const QFontMetrics metrics(font());
    const int captionWidth = metrics.horizontalAdvance(m_caption);
    const int right = width(), bottom = height();
    const int y = fontHeight() / 2 + 1;

    // One connected line from just left of the caption round the box and back along the top,
    // leaving a gap where the caption sits.
    const QRgb pen = m_borderColor.toRgb();
    const QPoint path[] = {
        {2, y}, {0, y}, {0, bottom - 1}, {right - 1, bottom - 1}, {right - 1, y},
        {m_caption.isEmpty() ? 0 : captionWidth + 6, y},
    };
    for (size_t i = 1; i < std::size(path); ++i)
        lineTo(face, path[i - 1], path[i], pen);

    QPainter painter(&face);
    painter.setFont(font());
    painter.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::WindowText)
                               : QColor::fromRgb(DisabledCaptionColor));
    painter.drawText(QRect(5, 0, qMax(0, right - 5), bottom), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     m_caption);
    return face;
}

void TkavCustomGroupBox::paintEvent(QPaintEvent *)
{
    const QImage face = composeFace();
    QPainter painter(this);
    painter.drawImage(0, 0, face);
}

void TkavCustomGroupBox::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::FontChange:
        applyMargins();
        update();
        break;
    case QEvent::EnabledChange: {
        // Only a change made on the group itself is handed on; one that comes from a disabled
        // ancestor reaches the children through Qt already.
        const bool ownEnabled = !testAttribute(Qt::WA_ForceDisabled);
        if (ownEnabled != m_ownEnabled)
            handOnEnabled(ownEnabled);
        update();
        break;
    }
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(e);
}

void TkavCustomGroupBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        m_leftDown = true;
    QWidget::mousePressEvent(e);
}

void TkavCustomGroupBox::mouseReleaseEvent(QMouseEvent *e)
{
    const bool wasDown = m_leftDown && e->button() == Qt::LeftButton;
    if (e->button() == Qt::LeftButton)
        m_leftDown = false;
    QWidget::mouseReleaseEvent(e);
    if (wasDown && rect().contains(e->position().toPoint()))
        Click();
}

// --- TkavGroupBox ---

TkavGroupBox::TkavGroupBox(QWidget *parent) : TkavCustomGroupBox(parent) {}

void TkavGroupBox::Click()
{
    Q_EMIT OnClick(this);
}

QSize TkavCustomGroupBox::sizeHint() const
{
    return layout() ? layout()->totalSizeHint() : QSize(185, 105);
}
