#include "CaptionPanel.h"

#include <QLinearGradient>
#include <QPainter>

CaptionPanel::CaptionPanel(QWidget *parent) : QWidget(parent)
{
}

void CaptionPanel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update(0, 0, width(), CaptionBarHeight);
}

void CaptionPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());

    const QRect bar(0, 0, width(), CaptionBarHeight);
    QLinearGradient shade(bar.topLeft(), bar.bottomLeft());
    shade.setColorAt(0.0, QColor(0xFA, 0xFA, 0xFA));
    shade.setColorAt(0.5, QColor(0xE4, 0xE4, 0xE4));
    shade.setColorAt(1.0, QColor(0xCC, 0xCC, 0xCC));
    painter.fillRect(bar, shade);

    painter.setPen(QColor(127, 127, 127));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawLine(0, CaptionBarHeight - 1, width() - 1, CaptionBarHeight - 1);

    painter.setPen(Qt::black);
    painter.drawText(bar.adjusted(8, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}
