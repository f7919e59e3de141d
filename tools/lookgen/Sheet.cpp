#include "Sheet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "KAVFunctions.h"

#include <algorithm>

namespace lookgen {

namespace {

const QColor kSheetBackground(72, 76, 84);
const QColor kLabel(230, 232, 236);

// Magenta pixels become transparent.
QImage keyToAlpha(const QImage &picture, QRgb key = kMagenta)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                line[x] = 0;
    }
    return out;
}

QImage frameOf(const QImage &picture, int count, int number)
{
    const int w = picture.width() / count;
    return picture.copy((number - 1) * w, 0, w, picture.height());
}

void drawStretched(QPainter &p, const QRect &target, const QImage &source, const QRect &from)
{
    if (target.width() <= 0 || target.height() <= 0 || from.width() <= 0 || from.height() <= 0)
        return;
    p.drawImage(target, source, from);
}

// Nine-part drawing exactly as the buttons do it (the library's own), so that the sheet shows
// what a button of that size shows.
void nineDraw(QPainter &p, const QImage &frame, const QRect &r, bool transparent)
{
    p.drawImage(r.topLeft(), SpitDrawFace(frame, r.size(), transparent));
}

// A spin button as the arrow button draws it: the push-button frame over the whole button, and
// a small solid black triangle in the middle.
void arrowButton(QPainter &p, const QImage &frame, const QRect &r, bool transparent, bool up)
{
    nineDraw(p, frame, r, transparent);
    const int x0 = r.left() + (r.width() - 6) / 2;
    const int y0 = r.top() + (r.height() - 3) / 2;
    QPolygon triangle;
    if (up)
        triangle << QPoint(x0, y0 + 3) << QPoint(x0 + 3, y0) << QPoint(x0 + 6, y0 + 3);
    else
        triangle << QPoint(x0, y0) << QPoint(x0 + 3, y0 + 3) << QPoint(x0 + 6, y0);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::black);
    p.drawPolygon(triangle);
    p.restore();
}

// Three-part drawing: ends keyed at natural size, middle stretched.
void threeDraw(QPainter &p, const QImage &picture, const QRect &r)
{
    const int part = picture.width() / 3;
    const QImage keyedPicture = keyToAlpha(picture);
    p.drawImage(QPoint(r.left(), r.top()), keyedPicture, QRect(0, 0, part, picture.height()));
    p.drawImage(QPoint(r.right() + 1 - part, r.top()), keyedPicture,
                QRect(2 * part, 0, part, picture.height()));
    drawStretched(p, QRect(r.left() + part, r.top(), r.width() - 2 * part, picture.height()),
                  picture, QRect(part, 0, part, picture.height()));
}

QColor colourOf(TkavUIStyle style, int key) { return GetInsideThemeColor(style, key).resolved(); }

QImage pictureOf(const Pictures &pictures, TkavUIStyle style, int key)
{
    return pictures.value(GetInsideThemeStr(style, key));
}

QFont uiFont(bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    f.setBold(bold);
    return f;
}

void titleBar(QPainter &p, const Pictures &pics, TkavUIStyle style, const QRect &bar,
              int hotButton, int hotState)
{
    const QImage left = pictureOf(pics, style, KavKey::TitleBarLeftImage);
    const QImage client = pictureOf(pics, style, KavKey::TitleBarClientImage);
    const QImage right = pictureOf(pics, style, KavKey::TitleBarRightImage);
    const int W = bar.width(), H = left.height();
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter q(&image);
    int l = -1, r = W + 1;
    q.drawImage(QPoint(l + 1, 0), left);
    l += left.width();
    if (W - l >= right.width()) {
        q.drawImage(QPoint(r - right.width() - 1, 0), right);
        r -= right.width();
    }
    drawStretched(q, QRect(l + 1, 0, r - 1 - (l + 1), H), client, client.rect());
    const QImage buttons = pictureOf(pics, style, KavKey::TitleBarButtonImage);
    const bool transparent = GetInsideThemeBool(style, KavKey::TitleBarButtonTransparentBool);
    const int top = GetInsideThemeInt(style, KavKey::TitleBarButtonTopInt);
    int x = W + 1 + GetInsideThemeInt(style, KavKey::TitleBarButtonRightOffsetInt);
    // Close, maximise, minimise from the right; the first base frame of each kind.
    const int bases[] = {16, 7, 13};
    for (int i = 0; i < 3; ++i) {
        QImage frame = frameOf(buttons, 18, bases[i] + (i == hotButton ? hotState : 0));
        x -= frame.width() + 1;
        if (transparent)
            frame = keyToAlpha(frame, frame.pixel(0, frame.height() - 1));
        q.drawImage(QPoint(x, top), frame);
    }
    int x0 = GetInsideThemeInt(style, KavKey::TitleBarButtonLeftOffsetInt);
    QImage box = frameOf(buttons, 18, 1);
    if (transparent)
        box = keyToAlpha(box, box.pixel(0, box.height() - 1));
    q.drawImage(QPoint(x0, top), box);
    x0 += box.width() + 5;
    q.setFont(uiFont(true));
    q.setPen(Kav::lookTraits(style).titleCaptionColor.resolved());
    const QFontMetrics fm(q.font());
    q.drawText(x0, (buttons.height() - fm.height()) / 2 + top + fm.ascent(),
               QStringLiteral("Mental arithmetic"));
    q.end();
    p.drawImage(bar.topLeft(), image);
}

void drawLabel(QPainter &p, int x, int y, const QString &text, QColor colour = Qt::black)
{
    p.setFont(uiFont());
    p.setPen(colour);
    p.drawText(x, y + QFontMetrics(p.font()).ascent(), text);
}

} // namespace

QImage lookScene(const Pictures &pics, TkavUIStyle style)
{
    const int W = 560, H = 300;
    QImage scene(W, H, QImage::Format_RGB32);
    scene.fill(kSheetBackground);
    QPainter p(&scene);
    p.setRenderHint(QPainter::TextAntialiasing);

    // The form: border, title bar, background.
    const int bw = GetInsideThemeInt(style, KavKey::FormBorderWidthInt);
    const QColor border = colourOf(style, KavKey::FormBorderColor);
    const QRect form(0, 0, W, H);
    p.fillRect(form, border);
    const QRect body = form.adjusted(bw, 0, -bw, -bw);
    const QString tileName = QLatin1String(Kav::lookTraits(style).formBackgroundPicture);
    if (!tileName.isEmpty())
        p.fillRect(body, QBrush(pics.value(tileName)));
    else
        p.fillRect(body, colourOf(style, KavKey::FormBackgroundColor));
    const int titleHeight = pictureOf(pics, style, KavKey::TitleBarLeftImage).height();
    titleBar(p, pics, style, QRect(bw, 0, body.width(), titleHeight), -1, 0);
    // A second bar below shows the mouse-over and pressed frames.
    const int y0 = titleHeight + 8;
    titleBar(p, pics, style, QRect(bw + 8, y0, 300, titleHeight), 0, 1);
    titleBar(p, pics, style, QRect(bw + 8 + 300 + 8, y0, W - 2 * bw - 324, titleHeight), 1, 2);

    int y = y0 + titleHeight + 10;
    // Buttons: normal, over, pressed, stretched to 84 x 25.
    const QImage button = pictureOf(pics, style, KavKey::ButtonImage);
    const bool buttonTransparent = GetInsideThemeBool(style, KavKey::ButtonTransparentBool);
    const QColor controlBack = colourOf(style, KavKey::ControlBackgroundColor);
    for (int i = 0; i < 3; ++i) {
        const QRect r(12 + i * 94, y, 84, 25);
        nineDraw(p, frameOf(button, 3, i + 1), r, buttonTransparent);
        p.setFont(uiFont());
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, QStringList{"Start", "Over", "Pressed"}.at(i));
    }
    // Check boxes and radio buttons.
    const QImage check = pictureOf(pics, style, KavKey::CheckBoxImage);
    const QImage radio = pictureOf(pics, style, KavKey::RadioButtonImage);
    for (int i = 0; i < 4; ++i) {
        const int x = 300 + (i % 2) * 120;
        const int yy = y + (i / 2) * 20 - 2;
        p.drawImage(QPoint(x, yy), frameOf(check, 4, i + 1));
        p.drawImage(QPoint(x + 56, yy), keyToAlpha(frameOf(radio, 4, i + 1)));
        drawLabel(p, x + 18, yy + 2, i < 2 ? "box" : "off", i < 2 ? Qt::black : QColor(128, 128, 128));
        drawLabel(p, x + 76, yy + 2, i < 2 ? "radio" : "off", i < 2 ? Qt::black : QColor(128, 128, 128));
    }
    y += 46;
    // A taller, wider button shows how the frame stretches.
    {
        const QRect r(352, y - 4, 112, 46);
        nineDraw(p, frameOf(button, 3, 1), r, buttonTransparent);
        p.setFont(uiFont());
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, "Hand in");
    }
    // Progress bar at 60 %.
    const QImage progress = pictureOf(pics, style, KavKey::ProgressBarImage);
    {
        const QRect r(12, y, 160, progress.height() + 2);
        p.fillRect(r, controlBack);
        drawStretched(p, QRect(r.left() + 1, r.top() + 1, 96, progress.height()), progress,
                      progress.rect());
        p.setPen(colourOf(style, KavKey::ControlBorderColor));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setFont(uiFont());
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, "60%");
    }
    // Track bar with its slider, and a vertical one.
    const QImage bar = pictureOf(pics, style, KavKey::TrackBarBarImage);
    const QImage slider = pictureOf(pics, style, KavKey::TrackBarSliderImage);
    const QImage sliderV = pictureOf(pics, style, KavKey::TrackBarSliderVImage);
    {
        const int h = std::max(bar.height(), slider.height());
        threeDraw(p, bar, QRect(190, y + (h - bar.height()) / 2, 150, bar.height()));
        p.drawImage(QPoint(190 + 50, y), keyToAlpha(slider, slider.pixel(0, slider.height() - 1)));
        const QImage turned = rotatedLeft(bar.copy());
        QImage strip(150, bar.height(), QImage::Format_RGB32);
        strip.fill(controlBack);
        {
            QPainter q(&strip);
            threeDraw(q, bar, strip.rect());
        }
        const QImage vertical = rotatedLeft(strip);
        const int vx = 520;
        p.drawImage(QPoint(vx + (sliderV.width() - vertical.width()) / 2, y), vertical);
        p.drawImage(QPoint(vx, y + 60), sliderV);
        Q_UNUSED(turned);
    }
    y += 30;
    // Horizontal scroll bar: turned arrow buttons, background, thumb from three slices.
    const QImage arrows = pictureOf(pics, style, KavKey::ScrollBarButtonImage);
    const QImage thumb = pictureOf(pics, style, KavKey::ScrollBarSliderImage);
    const QColor scrollBack = colourOf(style, KavKey::ScrollBarBackgroundColor);
    {
        const QImage dec = rotatedLeft(frameOf(arrows, 6, 1));
        const QImage inc = rotatedLeft(frameOf(arrows, 6, 5));
        const int w = 220;
        p.fillRect(QRect(12, y, w, dec.height()), scrollBack);
        p.drawImage(QPoint(12, y), dec);
        p.drawImage(QPoint(12 + w - inc.width(), y), inc);
        const QImage head = frameOf(thumb, 3, 1), mid = frameOf(thumb, 3, 2), tail = frameOf(thumb, 3, 3);
        const int tx = 12 + dec.width() + 40, tw = 80;
        const int ty = y + (dec.height() - thumb.height()) / 2;
        p.drawImage(QPoint(tx, ty), head);
        drawStretched(p, QRect(tx + head.width(), ty, tw - head.width() - tail.width(), thumb.height()),
                      mid, mid.rect());
        p.drawImage(QPoint(tx + tw - tail.width(), ty), tail);
        // Vertical scroll bar: frames as stored, slices turned clockwise.
        const QImage up = frameOf(arrows, 6, 2), down = frameOf(arrows, 6, 6);
        const int vx = 480, vh = 150, vy = y - 30;
        p.fillRect(QRect(vx, vy, up.width(), vh), scrollBack);
        p.drawImage(QPoint(vx, vy), up);
        p.drawImage(QPoint(vx, vy + vh - down.height()), down);
        const QImage vhead = rotatedRight(head), vmid = rotatedRight(mid), vtail = rotatedRight(tail);
        const int sy = vy + up.height() + 20, sl = 50;
        const int sx = vx + (up.width() - vhead.width()) / 2;
        p.drawImage(QPoint(sx, sy), vhead);
        drawStretched(p, QRect(sx, sy + vhead.height(), vmid.width(), sl - vhead.height() - vtail.height()),
                      vmid, vmid.rect());
        p.drawImage(QPoint(sx, sy + sl - vtail.height()), vtail);
        const QImage pressedUp = frameOf(arrows, 6, 3);
        p.fillRect(QRect(vx + 30, vy, up.width(), up.height()), scrollBack);
        p.drawImage(QPoint(vx + 30, vy), pressedUp);
    }
    y += 30;
    // Tab strip: bar, three tabs (the second selected), scroll buttons, page body.
    {
        const QImage tabsPicture = pictureOf(pics, style, KavKey::TabControlTabImage);
        const QImage line = pictureOf(pics, style, KavKey::TabControlBarImage);
        const QImage scroll = pictureOf(pics, style, KavKey::ScrollButtonImage);
        const QImage active = frameOf(tabsPicture, 2, 1), inactive = frameOf(tabsPicture, 2, 2);
        const int x0 = 12, w = 300, h = inactive.height();
        const QColor borderColour = colourOf(style, KavKey::ControlBorderColor);
        const int stripHeight = h + line.height();
        p.fillRect(QRect(x0, y + stripHeight, w, 50), controlBack);
        drawStretched(p, QRect(x0 + 1, y + h, w - 2, line.height()), line, line.rect());
        p.setPen(borderColour);
        p.drawLine(x0, y + h, x0, y + stripHeight + 49);
        p.drawLine(x0 + w - 1, y + h, x0 + w - 1, y + stripHeight + 49);
        p.drawLine(x0, y + stripHeight + 49, x0 + w - 1, y + stripHeight + 49);
        int x = x0 + 4;
        const QStringList captions{"Settings", "Exam", "Results"};
        p.setFont(uiFont());
        for (int i = 0; i < 3; ++i) {
            const int tw = QFontMetrics(p.font()).horizontalAdvance(captions.at(i)) + 20;
            const QRect r = i == 1 ? QRect(x, y + 1, tw, h) : QRect(x, y, tw, h);
            threeDraw(p, i == 1 ? active : inactive, r);
            p.setPen(Qt::black);
            p.drawText(r, Qt::AlignCenter, captions.at(i));
            x += tw;
        }
        const int bwid = scroll.width() / 4, bh = scroll.height();
        const int bx = x0 + w - 2 - bwid;
        const int by = y + (stripHeight > bh + 4 ? (stripHeight - bh) / 2 - 2 : 0);
        p.drawImage(QPoint(bx, by), keyToAlpha(frameOf(scroll, 4, 2)));
        p.drawImage(QPoint(bx - bwid, by), keyToAlpha(frameOf(scroll, 4, 3)));
    }
    // A panel with its caption bar and roll-up button.
    {
        const QImage captionBar = pictureOf(pics, style, KavKey::SideChannelBarImage);
        const QImage panelButton = pics.value("PANEL_BUTTON");
        const QRect r(330, y, 130, 80);
        p.setPen(colourOf(style, KavKey::ControlBorderColor));
        p.setBrush(Qt::white);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        drawStretched(p, QRect(r.left() + 1, r.top(), r.width() - 2, captionBar.height()), captionBar,
                      captionBar.rect());
        p.setFont(uiFont(true));
        p.setPen(Kav::lookTraits(style).blackPanelCaption ? QColor(Qt::black)
                                                          : colourOf(style, KavKey::MenuSelectedFontColor));
        p.drawText(QRect(r.left() + 10, r.top(), r.width() - 11, captionBar.height()),
                   Qt::AlignVCenter | Qt::AlignLeft, "Panel");
        const int fw = panelButton.width() / 4;
        const int top = (captionBar.height() - panelButton.height()) / 2;
        p.drawImage(QPoint(r.left() + r.width() - fw - 4, r.top() + top / 2 + 2),
                    frameOf(panelButton, 4, 1));
        // Boxes on the white panel: whatever of a background a picture holds shows here.
        const int by = r.top() + captionBar.height() + 8;
        for (int i = 0; i < 2; ++i) {
            const int x = r.left() + 8 + i * 60;
            p.drawImage(QPoint(x, by), frameOf(check, 4, i + 1));
            p.drawImage(QPoint(x + 24, by), keyToAlpha(frameOf(radio, 4, i + 1)));
        }
    }
    // Spin buttons, up above down, at the arrow button's own size and a little larger: the
    // button frame drawn far below its natural size.
    {
        const QImage frame = frameOf(button, 3, 1);
        int x = 12;
        for (const QSize size : {QSize(16, 11), QSize(17, 12), QSize(18, 13)}) {
            const int top = H - 8 - 2 * size.height() - 1;
            arrowButton(p, frame, QRect(QPoint(x, top), size), buttonTransparent, true);
            arrowButton(p, frame, QRect(QPoint(x, top + size.height() + 1), size),
                        buttonTransparent, false);
            x += size.width() + 10;
        }
    }
    p.end();
    return scene;
}

QImage contactSheet(const Pictures &pictures, const QList<SheetSection> &sections)
{
    const int width = 2300, margin = 16, gap = 14;
    const QSize sceneSize(560 * 2, 300 * 2);
    const QFont label = uiFont();
    const QFontMetrics fm(label);
    QFont heading = uiFont(true);
    heading.setPixelSize(20);

    // Lay out first to know the height, then paint. Pictures flow to the right of the scene
    // and, once past its bottom, over the full width.
    struct Item {
        QString name;
        QRect at;
        int scale;
    };
    QList<Item> items;
    QList<std::pair<QString, QRect>> headings;
    QList<std::pair<TkavUIStyle, QRect>> scenes;
    int y = margin;
    for (const SheetSection &section : sections) {
        headings.append({section.title, QRect(margin, y, width - 2 * margin, 28)});
        y += 34;
        int sceneBottom = y;
        if (section.style != TkavUIStyle::FromThemeFile) {
            scenes.append({section.style, QRect(QPoint(margin, y), sceneSize)});
            sceneBottom = y + sceneSize.height() + gap;
        }
        const auto rowLeft = [&](int rowTop) {
            return rowTop < sceneBottom ? margin + sceneSize.width() + gap * 2 : margin;
        };
        int x = rowLeft(y), rowHeight = 0;
        for (const QString &name : section.names) {
            const QImage picture = pictures.value(name);
            int left = rowLeft(y);
            int scale = std::clamp((width - margin - left) / std::max(1, picture.width()), 1, 3);
            if (scale < 3 && y < sceneBottom) {
                // Too wide beside the scene: continue below it.
                if (x > left)
                    y += rowHeight + gap;
                y = std::max(y, sceneBottom);
                left = x = margin;
                rowHeight = 0;
                scale = std::clamp((width - 2 * margin) / std::max(1, picture.width()), 1, 3);
            }
            const QSize shown = picture.size() * scale;
            const int cellWidth = std::max(shown.width(), fm.horizontalAdvance(name) + 4);
            const int cellHeight = shown.height() + fm.height() * 2 + 4;
            if (x + cellWidth > width - margin && x > left) {
                y += rowHeight + gap;
                x = rowLeft(y);
                rowHeight = 0;
            }
            items.append({name, QRect(x, y, cellWidth, cellHeight), scale});
            x += cellWidth + gap * 2;
            rowHeight = std::max(rowHeight, cellHeight);
        }
        y = std::max(y + rowHeight + gap * 2, sceneBottom + gap);
    }

    QImage sheet(width, y + margin, QImage::Format_RGB32);
    sheet.fill(kSheetBackground);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(heading);
    p.setPen(Qt::white);
    for (const auto &[title, rect] : headings)
        p.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, title);
    for (const auto &[style, rect] : scenes)
        p.drawImage(rect, lookScene(pictures, style).scaled(rect.size(), Qt::IgnoreAspectRatio,
                                                             Qt::FastTransformation));
    // Magenta shows as a light checkerboard so that keyed pixels stand out from drawn ones.
    QImage checker(8, 8, QImage::Format_RGB32);
    for (int cy = 0; cy < 8; ++cy)
        for (int cx = 0; cx < 8; ++cx)
            checker.setPixel(cx, cy, (cx < 4) == (cy < 4) ? qRgb(250, 250, 250) : qRgb(214, 214, 214));
    p.setFont(label);
    for (const Item &item : items) {
        const QImage picture = pictures.value(item.name);
        p.setPen(kLabel);
        p.drawText(item.at.left(), item.at.top() + fm.ascent(), item.name);
        p.drawText(item.at.left(), item.at.top() + fm.height() + fm.ascent(),
                   QStringLiteral("%1 x %2").arg(picture.width()).arg(picture.height()));
        const QRect target(item.at.left(), item.at.top() + fm.height() * 2 + 4,
                           picture.width() * item.scale, picture.height() * item.scale);
        p.fillRect(target, QBrush(checker));
        p.drawImage(target, keyToAlpha(picture).scaled(target.size(), Qt::IgnoreAspectRatio,
                                                       Qt::FastTransformation));
    }
    p.end();
    return sheet;
}

} // namespace lookgen
