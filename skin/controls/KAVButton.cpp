#include "KAVButton.h"

#include "KAVFunctions.h"

#include <QAction>
#include <QFontMetrics>
#include <QPainter>

TkavButton::TkavButton(QWidget *parent) : TkavCustomButton(parent)
{
    resize(80, 27);
    // The base could not reach this class while it was being built.
    UIStyleChanged();
}

void TkavButton::setGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    updateGeometry();
    update();
}

void TkavButton::setLayout(TButtonLayout layout)
{
    m_layout = layout;
    update();
}

void TkavButton::setSpacing(int spacing)
{
    m_spacing = spacing;
    update();
}

void TkavButton::UIStyleChanged()
{
    setTransparent(themeValues().boolean(KavKey::ButtonTransparentBool));
}

void TkavButton::ActionChange()
{
    TkavCustomButton::ActionChange();
    const QAction *action = Action();
    if (action && m_glyph.isNull() && !action->icon().isNull()) {
        setGlyph(action->icon().pixmap(16, 16).toImage());
    }
}

QSize TkavButton::captionSize() const
{
    return QFontMetrics(font()).size(Qt::TextSingleLine | Qt::TextShowMnemonic, Caption());
}

QSize TkavButton::sizeHint() const
{
    const QSize caption = captionSize();
    int glyphWidth = m_glyph.width();
    if (glyphWidth == 2 * m_glyph.height())
        glyphWidth = m_glyph.height();
    const int contentWidth = caption.width() + (m_glyph.isNull() ? 0 : glyphWidth + m_spacing);
    return QSize(qMax(80, contentWidth + 16), qMax(27, qMax(caption.height(), m_glyph.height()) + 8));
}

QSize TkavButton::minimumSizeHint() const
{
    return QSize(24, 21);
}

void TkavButton::PaintPic(QPainter &canvas, const QImage &picture)
{
    SpitDraw(picture, canvas, rect(), PicTransparent());
    if (!m_glyph.isNull())
        drawGlyph(canvas);
}

void TkavButton::drawGlyph(QPainter &canvas)
{
    const QSize caption = captionSize();
    const int tw = caption.width(), th = caption.height();
    int gw = m_glyph.width();
    const int gh = m_glyph.height();
    const int W = width(), H = height(), S = m_spacing;

    // Two images side by side: enabled, disabled.
    const bool twoImages = gw == 2 * gh;
    if (twoImages)
        gw = gh;

    QPoint glyphPos;
    switch (m_layout) {
    case blGlyphLeft:
        glyphPos = QPoint((W - tw - gw - S) / 2, (H - gh) / 2);
        m_captionPos = QPoint(glyphPos.x() + gw + S, (H - th) / 2);
        break;
    case blGlyphRight:
        glyphPos = QPoint((W + tw + S - gw) / 2, (H - gh) / 2);
        m_captionPos = QPoint(glyphPos.x() - tw - S, (H - th) / 2);
        break;
    case blGlyphTop:
        glyphPos = QPoint((W - gw) / 2, (H - th - gh - S) / 2);
        m_captionPos = QPoint((W - tw) / 2, glyphPos.y() + gh + S);
        break;
    case blGlyphBottom:
        glyphPos = QPoint((W - gw) / 2, (H + th + S - gh) / 2);
        m_captionPos = QPoint((W - tw) / 2, glyphPos.y() - th - S);
        break;
    }
    if (isPressed())
        glyphPos += QPoint(1, 1);

    // Every image is masked with the glyph's top-left colour.
    const QRgb key = m_glyph.pixel(0, 0);
    const QImage image = twoImages ? m_glyph.copy(isEnabled() ? 0 : gw, 0, gw, gh) : m_glyph;
    drawImageListStyle(canvas, image, glyphPos, key, !twoImages && !isEnabled());
}

void TkavButton::PaintText(QPainter &canvas, const QString &text)
{
    if (m_glyph.isNull()) {
        TkavCustomButton::PaintText(canvas, text);
        return;
    }
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
    auto from = [this](const QPoint &corner) { return KavRect(corner.x(), corner.y(), width(), height()); };
    canvas.save();
    canvas.setFont(font());
    canvas.setBrush(Qt::NoBrush);
    if (!isEnabled()) {
        canvas.setPen(Qt::white);
        canvas.drawText(from(m_captionPos + QPoint(1, 1)), flags, text);
        canvas.setPen(QColor(128, 128, 128));
        canvas.drawText(from(m_captionPos), flags, text);
    } else {
        canvas.setPen(palette().color(QPalette::ButtonText));
        canvas.drawText(from(isPressed() ? m_captionPos + QPoint(1, 1) : m_captionPos), flags, text);
    }
    canvas.restore();
}

void TkavButton::PaintFocus(QPainter &canvas)
{
    if (UIStyle() == TkavUIStyle::MacOS || UIStyle() == TkavUIStyle::BlueGlass)
        setBoldCaptionOnce();
    else
        TkavCustomButton::PaintFocus(canvas);
}
