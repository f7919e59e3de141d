#include "KAVCheckPainter.h"

#include "KAVAccessible.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <QFontMetrics>
#include <QPainter>

namespace Kav {

QSize KavMeasureCheckCaption(const QFont &font, const QString &caption)
{
    const QFontMetrics metrics(font);
    // ascent + descent, as "W" measures
    return QSize(metrics.horizontalAdvance(Kav::KavStripMnemonic(caption)), metrics.height());
}

CheckLayout KavCheckLayout(const QSize &size, const QSize &pictureSize, int lineHeight)
{
    CheckLayout layout;
    layout.picture = QPoint(Metrics::CheckPictureLeft, (size.height() - pictureSize.height()) / 2);
    // The caption keeps its distance from the picture's width, not from where the picture starts.
    const int textLeft = pictureSize.width() + Metrics::CheckTextGap;
    const int textTop = (size.height() - lineHeight) / 2;
    layout.text = QRect(textLeft, textTop, qMax(0, size.width() - textLeft), qMax(0, size.height() - textTop));
    layout.focus = Kav::KavRect(textLeft - 1, textTop, size.width(), textTop + lineHeight + 2);
    return layout;
}

QSize KavCheckSizeHint(const QSize &pictureSize, const QSize &captionSize)
{
    return QSize(pictureSize.width() + captionSize.width() + Metrics::CheckExtraWidth,
                 qMax(captionSize.height() + 2, pictureSize.height()) + Metrics::CheckExtraHeight);
}

void KavPaintCheck(QImage &face, const CheckOption &option)
{
    const CheckLayout layout = KavCheckLayout(option.size, option.picture.size(), option.captionSize.height());
    {
        QPainter painter(&face);
        if (!option.picture.isNull())
            painter.drawImage(QRect(layout.picture, option.picture.size()),
                              option.picture.imageFor(face.devicePixelRatio()));
        painter.setFont(option.font);
        painter.setPen(option.textColour);
        painter.drawText(layout.text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
                         option.caption);
    }
    if (option.focusFrame)
        KavDrawFocusFrame(face, layout.focus);
}

void KavDrawFocusFrame(QImage &canvas, const QRect &rect)
{
    // In logical pixels: a dense canvas gets the same dots, each as large as a logical pixel.
    const QRect area = rect.intersected(QRect(QPoint(0, 0), canvas.deviceIndependentSize().toSize()));
    if (area.isEmpty())
        return;
    QList<QRect> dots;
    auto invert = [&dots](int x, int y) {
        if ((x + y) % 2 == 0)
            dots << QRect(x, y, 1, 1);
    };
    const int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    for (int x = area.left(); x <= area.right(); ++x) {
        if (top >= area.top())
            invert(x, top);
        if (bottom <= area.bottom() && bottom != top)
            invert(x, bottom);
    }
    for (int y = area.top() + 1; y < area.bottom(); ++y) {
        if (left >= area.left())
            invert(left, y);
        if (right <= area.right() && right != left)
            invert(right, y);
    }
    // Inverting an opaque pixel is an exclusive-or with white.
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRects(dots);
}

} // namespace Kav
