#include "KAVTitleBarLayout.h"

#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <algorithm>

namespace Kav::TitleBarLayout {

QList<SectionPiece> sections(const QList<SectionInput> &input, const QSize &bar)
{
    const int w = bar.width();
    const int h = bar.height();
    // l and r are the last pixel taken on the left and the first taken on the right, both
    // starting just outside the bar.
    int l = -1;
    int r = w + 1;
    int client = -1;
    QList<SectionPiece> pieces;
    for (int i = 0; i < input.size(); ++i) {
        const SectionInput &section = input.at(i);
        const int width = std::max(0, section.width);
        switch (section.side) {
        case Side::Left:
            pieces.append({i, QRect(l + 1, 0, width, h), section.stretch});
            l += width;
            break;
        case Side::Right:
            if (w - l >= width) {
                pieces.append({i, QRect(r - width - 1, 0, width, h), section.stretch});
                r -= width;
            }
            break;
        case Side::Client:
            client = i;
            break;
        }
    }
    if (client >= 0 && r - 1 > l + 1)
        pieces.append({client, KavRect(l + 1, 0, r - 1, h), true});
    return pieces;
}

Result layout(const Input &input)
{
    Result result;
    result.buttons.resize(input.buttons.size());
    int x = input.barWidth + 1 + input.rightOffset;
    for (int i = 0; i < input.buttons.size(); ++i) {
        const ButtonInput &button = input.buttons.at(i);
        if (!button.visible)
            continue;
        if (button.controlBox) {
            result.controlBox = i;
            continue;
        }
        x -= button.size.width() + Metrics::TitleBarButtonGap + input.interval;
        result.buttons[i] = QRect(QPoint(x, button.top), button.size);
    }

    int left = input.leftOffset;
    if (result.controlBox >= 0) {
        const ButtonInput &box = input.buttons.at(result.controlBox);
        result.buttons[result.controlBox] = QRect(QPoint(left, box.top), box.size);
        if (input.drawAppIcon) {
            result.appIcon = QPoint(left + Metrics::TitleBarAppIconLeft, box.top);
            left += Metrics::TitleBarAppIconAdvance;
        } else {
            left += box.size.width() + Metrics::TitleBarControlBoxGap;
        }
    }
    // A caption right at the edge would touch the window border.
    if (left == 0)
        left = Metrics::TitleBarCaptionDefaultLeft;
    result.captionLeft = left;
    result.captionRight = x;
    return result;
}

int buttonAt(const Result &result, const QPoint &point)
{
    for (int i = 0; i < result.buttons.size(); ++i) {
        const QRect &rect = result.buttons.at(i);
        if (!rect.isNull() && InRect(point, rect))
            return i;
    }
    return -1;
}

QString elideCaption(const QString &caption, int room, const std::function<int(const QString &)> &widthOf)
{
    if (widthOf(caption) <= room)
        return caption;
    const QString dots = QStringLiteral("...");
    QString text = caption;
    while (!text.isEmpty() && widthOf(text + dots) > room) {
        text.chop(1);
        // Cutting between the halves of a surrogate pair would leave half a character.
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
    }
    return text + dots;
}

QRegion windowShape(const QSize &client, int r)
{
    if (r <= 0 || client.isEmpty())
        return {};
    const int cw = client.width();
    const int ch = client.height();
    // A corner can be no larger than the window.
    r = std::min({r, cw, ch});
    const int half = r / 2;
    QRegion shape(QRect(0, half, cw, ch - half));
    shape += QRect(half, 0, cw - 2 * half, half + 1);
    shape += QRegion(QRect(0, 0, r, r), QRegion::Ellipse);
    shape += QRegion(QRect(cw - r, 0, r, r), QRegion::Ellipse);
    return shape & QRect(QPoint(0, 0), client);
}

} // namespace Kav::TitleBarLayout
