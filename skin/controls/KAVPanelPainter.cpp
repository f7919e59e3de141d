#include "KAVPanelPainter.h"

#include "KAVAccessible.h"
#include "KAVComposer.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <QFontMetrics>
#include <QPainter>

#include <iterator>

namespace Kav {

namespace {

// Captions show the '&' of an access key as an underline.
constexpr int CaptionTextFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

// Draws the straight (horizontal or vertical) segment from `from` to `to` without its end point,
// as a pen drawing one connected line does (the next segment starts there). One logical pixel
// thick, at any density of the face.
void lineTo(QPainter &painter, QPoint from, QPoint to, const QColor &colour)
{
    if (from == to)
        return;
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    const QPoint last = to - QPoint(dx, dy);
    painter.fillRect(QRect(QPoint(qMin(from.x(), last.x()), qMin(from.y(), last.y())),
                           QPoint(qMax(from.x(), last.x()), qMax(from.y(), last.y()))),
                     colour);
}

} // namespace

// --- group box ---

int KavGroupBoxLineY(int fontHeight)
{
    return fontHeight / 2 + 1;
}

void KavPaintGroupBox(QImage &face, const GroupBoxOption &option)
{
    QPainter painter(&face);
    KavPaintGroupBox(painter, option);
}

void KavPaintGroupBox(QPainter &painter, const GroupBoxOption &option)
{
    const int right = option.size.width(), bottom = option.size.height();
    const int y = KavGroupBoxLineY(option.fontHeight);
    const int gapEnd = option.caption.isEmpty() && option.captionIndent == 0
        ? 0
        : option.captionIndent + QFontMetrics(option.font).horizontalAdvance(option.caption) + Metrics::GroupLineGapRight;

    // One connected line from just left of the caption round the box and back along the top,
    // leaving a gap where the caption sits:
    //
    //   --  caption  ---------
    //  |                      |
    //  |______________________|
    const QColor pen = QColor::fromRgb(option.borderColour.rgb());
    const QPoint path[] = {
        {Metrics::GroupLineGapLeft, y}, {0, y}, {0, bottom - 1}, {right - 1, bottom - 1}, {right - 1, y}, {gapEnd, y},
    };
    for (size_t i = 1; i < std::size(path); ++i)
        lineTo(painter, path[i - 1], path[i], pen);

    painter.save();
    painter.setFont(option.font);
    painter.setPen(option.captionColour);
    const int captionLeft = Metrics::GroupCaptionLeft + option.captionIndent;
    painter.drawText(QRect(captionLeft, 0, qMax(0, right - captionLeft), bottom),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, option.caption);
    painter.restore();
}

// --- image panel ---

PanelCaptionPlace KavPanelCaptionPlace(const QSize &size, const QString &caption, const QFont &font,
                                       int horizontalAlignment, int posX, int posY)
{
    if (caption.trimmed().isEmpty())
        return {};
    if (posX == -1 || posY == -1)
        return {QRect(QPoint(0, 0), size), horizontalAlignment | Qt::AlignVCenter | CaptionTextFlags};
    const QFontMetrics metrics(font);
    return {QRect(posX, posY, metrics.horizontalAdvance(Kav::KavStripMnemonic(caption)), metrics.height()),
            Qt::AlignLeft | Qt::AlignTop | CaptionTextFlags};
}

void KavPaintImagePanel(QImage &face, const ImagePanelOption &option)
{
    QPainter painter(&face);
    const QRect client(QPoint(0, 0), option.size);
    if (!option.picture.isNull()) {
        const QImage &picture = option.picture;
        switch (option.layout) {
        case PictureLayout::Stretch:
            painter.drawImage(client, picture);
            break;
        case PictureLayout::Tile:
            TileDraw(painter, picture, client);
            break;
        case PictureLayout::Natural:
            painter.drawImage(0, 0, picture);
            break;
        }
    }
    if (option.captionPlace.rect.isEmpty())
        return;
    painter.setFont(option.font);
    painter.setPen(option.textColour);
    painter.drawText(option.captionPlace.rect, option.captionPlace.flags, option.caption);
}

// --- captioned panel ---

QRect KavPanelButtonRect(const QSize &panelSize, int barHeight, const QSize &frameSize)
{
    if (frameSize.isEmpty())
        return {};
    // Centring the frame in the bar and halving that again is how the button has always sat: a
    // little above the middle of a tall bar.
    const int centred = (barHeight - frameSize.height()) / 2;
    return QRect(QPoint(panelSize.width() - frameSize.width() - Metrics::PanelButtonRightMargin, centred / 2 + 2),
                 frameSize);
}

QRect KavPanelCaptionRect(const QSize &panelSize, int barHeight)
{
    return Kav::KavRect(Metrics::PanelCaptionLeft, 0, panelSize.width() - 1, barHeight);
}

void KavPaintCaptionPanel(QImage &face, const CaptionPanelOption &option)
{
    QPainter painter(&face);
    const int w = option.size.width();
    const int h = option.size.height();

    // The panel's colour inside a one-pixel outline: four filled lines, which the raster engine
    // draws far faster than a stroked rectangle.
    const QColor border(option.borderColour);
    painter.fillRect(0, 0, w, 1, border);
    painter.fillRect(0, h - 1, w, 1, border);
    painter.fillRect(0, 0, 1, h, border);
    painter.fillRect(w - 1, 0, 1, h, border);

    // The caption bar, stretched between the side lines. A panel composed in part (under a
    // small transparent control) often does not show its bar at all.
    const QRect visible = KavVisiblePart(painter);
    const QRect barRect = Kav::KavRect(1, 0, w - 1, option.bar.height());
    if (!option.bar.isNull() && w > 2 && visible.intersects(barRect))
        StretchDrawCached(option.bar, painter, barRect);

    // The caption, left-aligned in the bar.
    const QRect captionRect = KavPanelCaptionRect(option.size, option.barHeight);
    if (captionRect.isValid() && !option.caption.isEmpty() && visible.intersects(captionRect)) {
        painter.save();
        painter.setClipRect(captionRect);
        painter.setFont(option.font);
        painter.setPen(option.captionColour);
        painter.drawText(captionRect, Qt::AlignLeft | Qt::AlignVCenter | CaptionTextFlags, option.caption);
        painter.restore();
    }

    // The roll button at the right end of the bar.
    if (!option.button.isNull())
        painter.drawImage(KavPanelButtonRect(option.size, option.barHeight, option.button.size()),
                          option.button.imageFor(face.devicePixelRatio()));
}

} // namespace Kav
