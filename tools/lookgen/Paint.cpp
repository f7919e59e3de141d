#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace lookgen {

namespace {
int currentScale = 1;
} // namespace

void setScale(int pixelsPerPoint)
{
    currentScale = std::max(1, pixelsPerPoint);
}

int scale()
{
    return currentScale;
}

QImage scaledImage(QSize size, QImage::Format format)
{
    QImage image(size * currentScale, format);
    image.setDevicePixelRatio(currentScale);
    return image;
}

QImage canvas(int w, int h)
{
    QImage image = scaledImage(QSize(w, h), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginPainter(QPainter &p, QImage &image)
{
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

namespace {

QRgb over(QRgb premultiplied, QColor behind)
{
    const int a = qAlpha(premultiplied);
    const auto channel = [a](int source, int back) {
        return std::clamp(source + back * (255 - a) / 255, 0, 255);
    };
    return qRgb(channel(qRed(premultiplied), behind.red()),
                channel(qGreen(premultiplied), behind.green()),
                channel(qBlue(premultiplied), behind.blue()));
}

// A drawn pixel must never read as the key by accident.
QRgb avoidKey(QRgb pixel, QRgb key)
{
    if ((pixel & 0xFFFFFF) != (key & 0xFFFFFF))
        return pixel;
    return qRgb(qRed(pixel) == 255 ? 254 : qRed(pixel) + 1, qGreen(pixel), qBlue(pixel));
}

} // namespace

QImage flatten(const QImage &argb, QColor background)
{
    const QImage source = argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(source.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(source.devicePixelRatio());
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            line[x] = avoidKey(over(in[x], background), kMagenta);
    }
    return out;
}

QImage keyed(const QImage &argb, QColor behind, QRgb key)
{
    const QImage source = argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(source.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(source.devicePixelRatio());
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) < 128)
                line[x] = key | 0xFF000000;
            else
                line[x] = avoidKey(over(in[x], behind), key);
        }
    }
    return out;
}

QImage strip(const QList<QImage> &frames)
{
    int width = 0;
    for (const QImage &frame : frames)
        width += frame.width();
    const int height = frames.isEmpty() ? 0 : frames.first().height();
    // Laid out in image pixels, then given the frames' ratio.
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    int x = 0;
    for (const QImage &frame : frames) {
        p.drawImage(QRectF(x, 0, frame.width(), frame.height()), frame, QRectF(frame.rect()));
        x += frame.width();
    }
    p.end();
    out.setDevicePixelRatio(frames.isEmpty() ? 1.0 : frames.first().devicePixelRatio());
    return out;
}

QImage rotatedLeft(const QImage &image)
{
    QImage out(image.height(), image.width(), image.format());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.setPixel(y, image.width() - 1 - x, image.pixel(x, y));
    out.setDevicePixelRatio(image.devicePixelRatio());
    return out;
}

QImage rotatedRight(const QImage &image)
{
    QImage out(image.height(), image.width(), image.format());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.setPixel(image.height() - 1 - y, x, image.pixel(x, y));
    out.setDevicePixelRatio(image.devicePixelRatio());
    return out;
}

QLinearGradient vertical(const QRectF &r, Stops stops)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto &[at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

QLinearGradient horizontal(const QRectF &r, Stops stops)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    for (const auto &[at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

QColor mix(QColor a, QColor b, qreal t)
{
    const auto lerp = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor lighter(QColor c, qreal t) { return mix(c, QColor(255, 255, 255, c.alpha()), t); }
QColor darker(QColor c, qreal t) { return mix(c, QColor(0, 0, 0, c.alpha()), t); }
QColor grey(int level) { return QColor(level, level, level); }
QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QPainterPath roundedRect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath topRoundedRect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + radius);
    path.arcTo(QRectF(r.left(), r.top(), 2 * radius, 2 * radius), 180, -90);
    path.lineTo(r.right() - radius, r.top());
    path.arcTo(QRectF(r.right() - 2 * radius, r.top(), 2 * radius, 2 * radius), 90, -90);
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    return path;
}

QPainterPath pointerDown(const QRectF &r, qreal radius, qreal tipHeight)
{
    const qreal shoulder = r.bottom() - tipHeight;
    QPainterPath path;
    path.moveTo(r.center().x(), r.bottom());
    path.lineTo(r.left(), shoulder);
    path.lineTo(r.left(), r.top() + radius);
    path.arcTo(QRectF(r.left(), r.top(), 2 * radius, 2 * radius), 180, -90);
    path.lineTo(r.right() - radius, r.top());
    path.arcTo(QRectF(r.right() - 2 * radius, r.top(), 2 * radius, 2 * radius), 90, -90);
    path.lineTo(r.right(), shoulder);
    path.closeSubpath();
    return path;
}

QPainterPath Shape::path(const QRectF &r, qreal inset) const
{
    const QRectF box = r.adjusted(inset, inset, -inset, -inset);
    const qreal rad = std::max<qreal>(0, radius - inset);
    switch (kind) {
    case Round:
        return roundedRect(box, rad);
    case TopRound:
        // The open bottom edge is not inset: tabs run into what is below them.
        return topRoundedRect(QRectF(box.left(), box.top(), box.width(), r.bottom() - box.top()),
                              rad);
    case Pointer:
        return pointerDown(box, rad, std::max<qreal>(0, tip - inset * 0.4));
    case Ellipse: {
        QPainterPath path;
        path.addEllipse(box);
        return path;
    }
    }
    return {};
}

QGradientStops stops(Stops list)
{
    QGradientStops out;
    for (const auto &[at, colour] : list)
        out.append({at, colour});
    return out;
}

Face face(QColor top, QColor bottom, QColor border)
{
    Face f;
    f.base = stops({{0.0, top}, {1.0, bottom}});
    f.border = border;
    return f;
}

Face faceAcross(QColor edge, QColor middle, QColor border)
{
    Face f;
    f.base = stops({{0.0, edge}, {0.5, middle}, {1.0, edge}});
    f.across = true;
    f.border = border;
    return f;
}

void paintFace(QPainter &p, const Shape &shape, const QRectF &bounds, const Face &face)
{
    p.save();
    p.setPen(Qt::NoPen);
    const QPainterPath outer = shape.path(bounds);
    const QPainterPath inner = shape.path(bounds, 1.0);
    const QRectF in = bounds.adjusted(1, 1, -1, -1);
    // Border ring, then the base gradient inside it.
    p.fillPath(outer.subtracted(inner), face.border);
    QLinearGradient base = face.across ? QLinearGradient(in.topLeft(), in.topRight())
                                       : QLinearGradient(in.topLeft(), in.bottomLeft());
    base.setStops(face.base);
    p.fillPath(inner, base);
    if (face.ring.isValid()) {
        const QPainterPath ringInner = shape.path(bounds, 1.0 + face.ringWidth);
        p.fillPath(inner.subtracted(ringInner), face.ring);
    }
    // A glow rising from the bottom edge: evenly along it, or from its middle.
    if (face.glow.isValid() && face.glowEven) {
        const qreal reach = in.height() * 0.75;
        QLinearGradient glow(QPointF(0, in.bottom()), QPointF(0, in.bottom() - reach));
        glow.setColorAt(0.0, face.glow);
        glow.setColorAt(0.6, withAlpha(face.glow, face.glow.alpha() / 3));
        glow.setColorAt(1.0, withAlpha(face.glow, 0));
        p.fillPath(inner, glow);
    } else if (face.glow.isValid()) {
        QRadialGradient glow(QPointF(0, 0), 1.0);
        glow.setColorAt(0.0, face.glow);
        glow.setColorAt(0.6, withAlpha(face.glow, face.glow.alpha() / 3));
        glow.setColorAt(1.0, withAlpha(face.glow, 0));
        QBrush brush(glow);
        brush.setTransform(QTransform()
                               .translate(in.center().x(), in.bottom())
                               .scale(in.width() * 0.65, in.height() * 0.75));
        p.fillPath(inner, brush);
    }
    // Gloss: a white sheen over the upper part, strongest at the top.
    if (face.gloss > 0) {
        const QRectF glossRect(in.left(), in.top(), in.width(), in.height() * face.glossEnd);
        QPainterPath glossPath;
        glossPath.addRect(glossRect);
        p.fillPath(inner.intersected(glossPath),
                   vertical(glossRect, {{0.0, QColor(255, 255, 255, int(235 * face.gloss))},
                                        {1.0, QColor(255, 255, 255, int(70 * face.gloss))}}));
    }
    // Inner highlight: a one-pixel light ring just inside the border, upper half only. A face
    // with a ring keeps its ring whole all round: the highlight then lies just inside the ring,
    // and it ends on a whole row, so that no half-covered row of it runs across the face.
    if (face.innerLight.isValid() && face.ring.isValid()) {
        const qreal inset = 1.0 + face.ringWidth;
        const QPainterPath light =
            shape.path(bounds, inset).subtracted(shape.path(bounds, inset + 1.0));
        const QRectF upper(in.left(), in.top(), in.width(), std::round(in.height() * 0.4));
        p.setClipRect(upper.toAlignedRect());
        p.fillPath(light, face.innerLight);
        p.setClipping(false);
    } else if (face.innerLight.isValid()) {
        const QPainterPath ring = inner.subtracted(shape.path(bounds, 2.0));
        QPainterPath upper;
        upper.addRect(QRectF(in.left(), in.top(), in.width(), in.height() * 0.4));
        p.fillPath(ring.intersected(upper), face.innerLight);
    }
    p.restore();
}

namespace {

// Whether two neighbouring rows belong to one smooth run (a gradient), not to an edge.
bool smoothStep(QColor a, QColor b)
{
    const int step = std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                               std::abs(a.blue() - b.blue())});
    return step > 0 && step <= 24;
}

} // namespace

void fillProfile(QImage &image, const Profile &profile, int firstRow)
{
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // Rows are design rows: the painter works in them whatever the picture's ratio.
    const int rows = int(image.height() / image.devicePixelRatio());
    const int width = int(image.width() / image.devicePixelRatio());
    const int last = int(profile.size()) - 1;
    auto rowColour = [&](int y) { return profile.at(std::clamp(firstRow + y, 0, last)); };
    for (int y = 0; y < rows; ++y) {
        const QColor colour = rowColour(y);
        if (image.devicePixelRatio() < 2.0) {
            p.fillRect(0, y, width, 1, colour);
            continue;
        }
        // Twice the density: each half row takes the gradient where it lies (a quarter of the way
        // to its neighbour), so a smooth run has twice as many steps; an edge stays sharp.
        const QColor above = rowColour(y - 1), below = rowColour(y + 1);
        const QColor top = y > 0 && smoothStep(colour, above) ? mix(colour, above, 0.25) : colour;
        const QColor bottom = y < rows - 1 && smoothStep(colour, below) ? mix(colour, below, 0.25) : colour;
        p.fillRect(QRectF(0, y, width, 0.5), top);
        p.fillRect(QRectF(0, y + 0.5, width, 0.5), bottom);
    }
}

} // namespace lookgen

namespace lookgen {

Profile sampleRows(int n, Stops list)
{
    const QList<std::pair<qreal, QColor>> points(list.begin(), list.end());
    Profile rows;
    for (int y = 0; y < n; ++y) {
        const qreal t = n > 1 ? qreal(y) / (n - 1) : 0.0;
        QColor colour = points.first().second;
        for (qsizetype i = 1; i < points.size(); ++i) {
            const auto &[a, ca] = points.at(i - 1);
            const auto &[b, cb] = points.at(i);
            if (t <= b) {
                colour = b > a ? mix(ca, cb, (t - a) / (b - a)) : cb;
                break;
            }
            colour = cb;
        }
        rows.append(colour);
    }
    return rows;
}

} // namespace lookgen
