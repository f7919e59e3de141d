#include "KAVURLLabel.h"

#include "KAVAccessible.h"
#include "KAVLook.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QUrl>

#include <cmath>

const char *const TkavURLLabel::DefaultURL = "https://www.orventa.example/";

namespace {

constexpr TColor Blue = TColor(0xFF0000);
constexpr TColor Red = TColor(0x0000FF);

// How far the underline of font runs below the line's height (ascent + descent); 0 when it stays
// within. Qt draws it ceil(offset) below the baseline, but keeps it inside the descent when the
// font's own offset lies inside it; a Song-style CJK font at 12 pixels has a descent of 1 and an
// offset of 1.16, so its underline lands a pixel below the line.
int underlineOverhang(const QFont &font)
{
    if (!font.underline())
        return 0;
    const QFontMetricsF metrics(font);
    qreal offset = std::ceil(metrics.underlinePos()) + 0.5;
    if (metrics.underlinePos() <= metrics.descent())
        offset = qMin(offset, metrics.descent() - 0.5);
    const qreal bottom = metrics.ascent() + offset + metrics.lineWidth() / 2;
    return qMax(0, int(std::ceil(bottom)) - QFontMetrics(font).height());
}

} // namespace

TkavURLLabel::TkavURLLabel(QWidget *parent)
    : QLabel(parent), m_url(QString::fromLatin1(DefaultURL)), m_fontHoverColor(Red),
      m_fontLinkColor(Blue)
{
    Kav::KavInstallAccessibility();
    // A caption is shown as it is written, never read as markup.
    setTextFormat(Qt::PlainText);
    // The text starts at the top, as a platform label lays it out: the room added below the line
    // for the underline (sizeHint) stays below it instead of being shared out above and below.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
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
    return Kav::KavPaletteColor(this, QPalette::WindowText);
}

void TkavURLLabel::setFontColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::WindowText, color);
}

TColor TkavURLLabel::Color() const
{
    if (m_parentColor && parentWidget())
        return Kav::KavPaletteColor(parentWidget(), parentWidget()->backgroundRole());
    return m_parentColor ? Kav::KavPaletteColor(this, QPalette::Window) : m_color;
}

void TkavURLLabel::setColor(TColor color)
{
    m_color = color;
    m_parentColor = false;
    Kav::KavSetPaletteColor(this, QPalette::Window, color);
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

QSize TkavURLLabel::sizeHint() const
{
    return QLabel::sizeHint() + QSize(0, underlineOverhang(font()));
}

QSize TkavURLLabel::minimumSizeHint() const
{
    return QLabel::minimumSizeHint() + QSize(0, underlineOverhang(font()));
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
    if (event->type() != QEvent::FontChange)
        return;
    // A font given without a word on underlining (setFont(QFont("Sans", 14)), say) keeps the
    // link's underline; only a font that switches it off explicitly removes it. Setting it comes
    // back here with the underline on.
    if (!font().underline() && !(font().resolveMask() & QFont::UnderlineResolved)) {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        return;
    }
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
