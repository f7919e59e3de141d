#include "KAVToolBarSpeedButton.h"

#include "KAVAccessible.h"
#include "KAVCustomButton.h"

#include <QPainter>

TkavToolBarSpeedButton::TkavToolBarSpeedButton(QWidget *parent) : QAbstractButton(parent)
{
    KavInstallAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    resize(18, 18);
    connect(this, &QAbstractButton::clicked, this, [this] { Q_EMIT OnClick(this); });
}

QColor TkavToolBarSpeedButton::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Button);
}

void TkavToolBarSpeedButton::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void TkavToolBarSpeedButton::enterEvent(QEnterEvent *)
{
    m_mouseOver = true;
    update();
}

void TkavToolBarSpeedButton::leaveEvent(QEvent *)
{
    m_mouseOver = false;
    update();
}

void TkavToolBarSpeedButton::paintEvent(QPaintEvent *)
{
    QImage buffer(size(), QImage::Format_RGB32);
    buffer.fill(Color());
    if (!m_glyph.isNull()) {
        QPainter canvas(&buffer);
        if (m_mouseOver) {
            canvas.setPen(QPen(Qt::black, 0));
            canvas.setBrush(Qt::NoBrush);
            canvas.drawRect(0, 0, width() - 1, height() - 1);
        }
        // A picture marked transparent takes its bottom-left pixel as the key.
        canvas.drawImage(1, 1, KavWithoutKeyColour(m_glyph, m_glyph.pixel(0, m_glyph.height() - 1)));
    }
    QPainter(this).drawImage(0, 0, buffer);
}
