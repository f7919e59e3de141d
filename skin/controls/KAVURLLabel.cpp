#include "KAVURLLabel.h"

#include "KAVAccessible.h"
#include "KAVLook.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

const char *const TkavURLLabel::DefaultURL = "https://www.orventa.example/";

namespace {

constexpr TColor Blue = TColor(0xFF0000);
constexpr TColor Red = TColor(0x0000FF);

} // namespace

TkavURLLabel::TkavURLLabel(QWidget *parent)
    : QLabel(parent), m_url(QString::fromLatin1(DefaultURL)), m_fontHoverColor(Red),
      m_fontLinkColor(Blue)
{
    KavInstallAccessibility();
    // A caption is shown as it is written, never read as markup.
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    updateBackground();
    setFontColor(m_fontLinkColor);
    setCaption(QStringLiteral("Welcome to Orventa"));
}

void TkavURLLabel::setCaption(const QString &caption)
{
    setText(caption);
    fitToText();
}

void TkavURLLabel::setURL(const QString &url)
{
    if (url != m_url)
        m_url = url;
}

void TkavURLLabel::setFontLinkColor(TColor color)
{
    m_fontLinkColor = color;
    setFontColor(color);
}

TColor TkavURLLabel::FontColor() const
{
    return KavPaletteColor(this, QPalette::WindowText);
}

void TkavURLLabel::setFontColor(TColor color)
{
    KavSetPaletteColor(this, QPalette::WindowText, color);
}

TColor TkavURLLabel::Color() const
{
    if (m_parentColor && parentWidget())
        return KavPaletteColor(parentWidget(), parentWidget()->backgroundRole());
    return m_parentColor ? KavPaletteColor(this, QPalette::Window) : m_color;
}

void TkavURLLabel::setColor(TColor color)
{
    m_color = color;
    m_parentColor = false;
    KavSetPaletteColor(this, QPalette::Window, color);
    updateBackground();
}

void TkavURLLabel::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitToText();
}

void TkavURLLabel::setTransparent(bool transparent)
{
    m_transparent = transparent;
    updateBackground();
}

void TkavURLLabel::updateBackground()
{
    // With its parent's colour the label need not paint a background: the parent's shows.
    setAutoFillBackground(!m_transparent && !m_parentColor);
}

void TkavURLLabel::fitToText()
{
    if (m_autoSize)
        resize(sizeHint());
}

void TkavURLLabel::Click()
{
    // fromUserInput also takes a bare "www.host/page" the way the desktop shell would.
    const QString address = m_url.trimmed();
    if (!address.isEmpty())
        QDesktopServices::openUrl(QUrl::fromUserInput(address));
    Q_EMIT OnClick(this);
}

void TkavURLLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToText();
}

void TkavURLLabel::enterEvent(QEnterEvent *event)
{
    setFontColor(m_fontHoverColor);
    QLabel::enterEvent(event);
}

void TkavURLLabel::leaveEvent(QEvent *event)
{
    setFontColor(m_fontLinkColor);
    QLabel::leaveEvent(event);
}

void TkavURLLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
    event->accept();
}

void TkavURLLabel::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseMove(this, event->modifiers(), at.x(), at.y());
    event->accept();
}

void TkavURLLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    // A click is a left press and release on the label; releasing elsewhere cancels it.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(at);
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    Q_EMIT OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
    event->accept();
    if (click)
        Click();
}
