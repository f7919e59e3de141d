#include "KAVFunctions.h"

#include "KAVComposer.h"
#include "KAVFaceCache.h"
#include "KAVPictureStore.h"

#include <QGuiApplication>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QMetaProperty>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QVarLengthArray>
#include <QWidget>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>

namespace {

constexpr QRgb MagentaKey = 0xFF00FF;
constexpr QRgb RgbMask = 0xFFFFFF;

// A rectangle by its edges, right and bottom exclusive, as the piece layouts are written.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    Edges intersected(const Edges &o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    Edges translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

Edges edgesOf(const QRect &rect)
{
    return {rect.x(), rect.y(), Kav::KavRight(rect), Kav::KavBottom(rect)};
}

// One piece of a multi-part drawing: a part of the picture and where it goes.
struct Piece {
    Edges source;
    Edges target;
    bool skipKey = false;
};

// An image's size in logical pixels.
QSize logicalSize(const QImage &image)
{
    const qreal ratio = image.devicePixelRatio();
    return QSize(qCeil(image.width() / ratio), qCeil(image.height() / ratio));
}

bool isDirect32(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied;
}

// The picture as 32-bit pixels whose low 24 bits are the colour.
QImage readable32(const QImage &picture)
{
    if (isDirect32(picture.format()))
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

// Keeps a source span inside a picture of extent size and at least one pixel long, so that odd
// layouts (even-sized or tiny pictures) still take a real line of the picture instead of
// reading outside it or leaving a hole.
void clampSpan(int &from, int &to, int size)
{
    from = std::clamp(from, 0, size - 1);
    to = std::min(std::max(to, from + 1), size);
}

Edges clampedSource(Edges source, const QSize &pictureSize)
{
    clampSpan(source.left, source.right, pictureSize.width());
    clampSpan(source.top, source.bottom, pictureSize.height());
    return source;
}

// Copies source (a rectangle of the 32-bit picture) onto target of the 32-bit image dst, stretched
// by pixel replication, writing only inside clip. With skipKey, pixels of colour key are left out.
// Written pixels are opaque. Returns whether a pixel was left out.
//
// The pieces of nine- and three-part drawing are mostly copies at their own width (corners, side
// edges) or one source column stretched (top and bottom edges and the centre of an odd-sized
// frame), and a vertical stretch repeats whole rows: each of these is a plain copy or fill.
bool stretchCopy(const QImage &picture, const Edges &source, QImage &dst, const Edges &target,
                 const Edges &clip, bool skipKey, QRgb key)
{
    if (source.isEmpty() || target.isEmpty())
        return false;
    const Edges area = target.intersected(clip).intersected({0, 0, dst.width(), dst.height()});
    if (area.isEmpty())
        return false;
    const qint64 sw = source.width();
    const qint64 sh = source.height();
    const qint64 tw = target.width();
    const qint64 th = target.height();
    const int n = area.width();
    const bool sameWidth = sw == tw;
    const bool oneColumn = sw == 1;

    // Column mapping once per piece instead of a division per pixel.
    QVarLengthArray<int, 512> columns;
    if (!sameWidth && !oneColumn) {
        columns.resize(n);
        for (int x = area.left; x < area.right; ++x)
            columns[x - area.left] = source.left + int((x - target.left) * sw / tw);
    }

    uchar *const bits = dst.bits();
    const qsizetype stride = dst.bytesPerLine();
    bool skippedAny = false;
    int lastSourceRow = -1;
    const QRgb *lastRow = nullptr; // the last row written, when nothing in it was left out
    for (int y = area.top; y < area.bottom; ++y) {
        const int sy = source.top + int((y - target.top) * sh / th);
        auto *to = reinterpret_cast<QRgb *>(bits + y * stride) + area.left;
        if (sy == lastSourceRow && lastRow) {
            std::memcpy(to, lastRow, size_t(n) * sizeof(QRgb));
            lastRow = to;
            continue;
        }
        const auto *from = reinterpret_cast<const QRgb *>(picture.constScanLine(sy));
        bool skipped = false;
        if (oneColumn) {
            const QRgb pixel = from[source.left];
            if (skipKey && (pixel & RgbMask) == key)
                skipped = true;
            else
                std::fill(to, to + n, pixel | 0xFF000000u);
        } else if (sameWidth && skipKey) {
            // Without a branch per pixel, so that the compiler can do several at once.
            const QRgb *start = from + source.left + (area.left - target.left);
            QRgb anyKey = 0;
            for (int i = 0; i < n; ++i) {
                const QRgb pixel = start[i];
                const QRgb isKey = QRgb((pixel & RgbMask) == key);
                anyKey |= isKey;
                to[i] = isKey ? to[i] : (pixel | 0xFF000000u);
            }
            skipped = anyKey != 0;
        } else if (sameWidth) {
            const QRgb *start = from + source.left + (area.left - target.left);
            for (int i = 0; i < n; ++i)
                to[i] = start[i] | 0xFF000000u;
        } else {
            for (int i = 0; i < n; ++i) {
                const QRgb pixel = from[columns[i]];
                if (skipKey && (pixel & RgbMask) == key) {
                    skipped = true;
                    continue;
                }
                to[i] = pixel | 0xFF000000u;
            }
        }
        skippedAny = skippedAny || skipped;
        lastSourceRow = sy;
        lastRow = skipped ? nullptr : to;
    }
    return skippedAny;
}

bool hasTransparentPixel(const QImage &face)
{
    const int width = face.width(), height = face.height();
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(face.constScanLine(y));
        QRgb all = 0xFFFFFFFFu; // AND of the row, a loop the compiler can vectorise
        for (int x = 0; x < width; ++x)
            all &= row[x];
        if (qAlpha(all) != 255)
            return true;
    }
    return false;
}

// Pieces drawn onto an ARGB32_Premultiplied image covering area (canvas coordinates), skipped
// and uncovered pixels transparent; RGB32 when every pixel is covered, so that drawing it is
// a plain copy.
QImage composeFace(const QImage &picture, const QList<Piece> &pieces, const Edges &area,
                   const Edges &clip, QRgb key)
{
    QImage face(area.width(), area.height(), QImage::Format_ARGB32_Premultiplied);
    if (face.isNull())
        return face;
    face.fill(Qt::transparent);
    const Edges localClip = clip.translated(-area.left, -area.top);
    bool skipped = false;
    QVarLengthArray<QRect, 9> drawn;
    for (const Piece &piece : pieces) {
        const Edges target = piece.target.translated(-area.left, -area.top);
        skipped = stretchCopy(picture, piece.source, face, target, localClip, piece.skipKey, key) || skipped;
        const Edges visible = target.intersected(localClip).intersected({0, 0, face.width(), face.height()});
        if (!visible.isEmpty() && !piece.source.isEmpty())
            drawn.append(QRect(visible.left, visible.top, visible.width(), visible.height()));
    }
    // Transparent where a pixel was left out or no piece reached; a left-out pixel that a later
    // piece covered makes a face that needs blending though it need not (the pixels are the same).
    if (skipped)
        return face;
    QRegion covered;
    for (const QRect &rect : drawn)
        covered += rect;
    if (covered == QRegion(face.rect()) || !hasTransparentPixel(face))
        face.reinterpretAsFormat(QImage::Format_RGB32);
    return face;
}

// Copies an opaque (RGB32) face onto a 32-bit canvas at (x, y), row by row.
void copyOpaqueFace(const QImage &face, QImage &canvas, int x, int y)
{
    const Edges area = Edges{x, y, x + face.width(), y + face.height()}.intersected(
        {0, 0, canvas.width(), canvas.height()});
    for (int row = area.top; row < area.bottom; ++row) {
        const auto *from = reinterpret_cast<const QRgb *>(face.constScanLine(row - y)) + (area.left - x);
        auto *to = reinterpret_cast<QRgb *>(canvas.scanLine(row)) + area.left;
        std::memcpy(to, from, size_t(std::max(0, area.width())) * sizeof(QRgb));
    }
}

// Targets reach at most this far; used as "no clip" for painters.
constexpr Edges Unclipped{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

// The smallest rectangle holding the visible part (within clip) of every piece's target.
Edges boundsOf(const QList<Piece> &pieces, const Edges &clip)
{
    Edges bounds = {};
    for (const Piece &piece : pieces) {
        const Edges visible = piece.target.intersected(clip);
        if (visible.isEmpty())
            continue;
        bounds = bounds.isEmpty()
            ? visible
            : Edges{std::min(bounds.left, visible.left), std::min(bounds.top, visible.top),
                    std::max(bounds.right, visible.right), std::max(bounds.bottom, visible.bottom)};
    }
    return bounds;
}

void drawPieces(const QImage &picture, const QList<Piece> &pieces, QPainter &canvas, QRgb key,
                const Edges &clip = Unclipped)
{
    const Edges area = boundsOf(pieces, clip);
    if (area.isEmpty())
        return;
    canvas.drawImage(area.left, area.top, composeFace(picture, pieces, area, area, key));
}

// Draws pieces onto a QImage canvas: straight into 32-bit images, otherwise through a painter.
void drawPieces(const QImage &picture, const QList<Piece> &pieces, QImage &canvas, QRgb key)
{
    if (canvas.devicePixelRatio() != 1.0) {
        // Pieces are laid out in logical pixels; a denser canvas maps them through its painter.
        const QSize logical = logicalSize(canvas);
        QPainter painter(&canvas);
        drawPieces(picture, pieces, painter, key, Edges{0, 0, logical.width(), logical.height()});
        return;
    }
    const Edges canvasEdges{0, 0, canvas.width(), canvas.height()};
    if (isDirect32(canvas.format())) {
        for (const Piece &piece : pieces)
            stretchCopy(picture, piece.source, canvas, piece.target, canvasEdges, piece.skipKey, key);
        return;
    }
    QPainter painter(&canvas);
    drawPieces(picture, pieces, painter, key, canvasEdges);
}

// The nine pieces of a frame picture of pictureSize over a target of W x H at (0, 0), in drawing
// order. Corners keep their size up to half the target; the right and bottom corners are one
// pixel smaller than the left and top ones, the bottom edge starts one column left of the centre
// and takes over the centre's last row; button frames are drawn for exactly this layout.
QList<Piece> ninePieces(const QSize &pictureSize, int W, int H, bool transparent)
{
    const int SW = pictureSize.width();
    const int SH = pictureSize.height();
    const int hw = SW / 2, hh = SH / 2, dw = W / 2, dh = H / 2;

    const int leftWidth = std::max(0, std::min(hw, dw));
    const int topHeight = std::max(0, std::min(hh, dh));
    const int rightWidth = std::max(0, std::min(hw - 1, dw - 1));
    const int bottomHeight = std::max(0, std::min(hh - 1, dh - 1));

    const Edges tl{0, 0, leftWidth, topHeight};
    const Edges bl{0, H - bottomHeight, leftWidth, H};
    const Edges tr{W - rightWidth, 0, W, topHeight};
    const Edges br{W - rightWidth, H - bottomHeight, W, H};

    auto source = [&](int l, int t, int r, int b) { return clampedSource({l, t, r, b}, pictureSize); };

    QList<Piece> pieces;
    pieces.reserve(9);
    // Corners: the part of the corner picture next to the picture's own corner.
    pieces.append({{0, 0, leftWidth, topHeight}, tl, transparent});
    pieces.append({{0, SH - bottomHeight, leftWidth, SH}, bl, transparent});

    // Left edge, cut to the target's width from the left.
    Edges left = source(0, hh, hw, SH - hh);
    const Edges leftTarget{0, tl.bottom, tl.right, bl.top};
    left.right = left.left + std::min(left.width(), leftTarget.width());
    pieces.append({left, leftTarget, true});

    pieces.append({{SW - rightWidth, 0, SW, topHeight}, tr, transparent});
    pieces.append({{SW - rightWidth, SH - bottomHeight, SW, SH}, br, transparent});

    // Right edge, cut to the target's width from the right.
    Edges right = source(SW - hw + 1, SH - hh, SW, hh + 2);
    const Edges rightTarget{tr.left, tr.bottom, tr.right, br.top};
    right.left = right.right - std::min(right.width(), rightTarget.width());
    pieces.append({right, rightTarget, true});

    // Top edge, cut to the target's height from the top.
    Edges top = source(hw, 0, SW - hw + 1, hh);
    const Edges topTarget{tl.right, 0, tr.left, tl.bottom};
    top.bottom = top.top + std::min(top.height(), topTarget.height());
    pieces.append({top, topTarget, true});

    pieces.append({source(hw, hh, SW - hw + 1, SH - hh), {tl.right, tl.bottom, tr.left, br.top - 1}, true});

    // Bottom edge, cut to the target's height from the bottom.
    Edges bottom = source(hw, SH - hh, SW - hw + 1, SH);
    const Edges bottomTarget{tl.right - 1, bl.top - 1, br.left, br.bottom};
    bottom.top = bottom.bottom - std::min(bottom.height(), bottomTarget.height());
    pieces.append({bottom, bottomTarget, true});

    // Corner pieces may be empty; stretchCopy skips every empty source or target.
    return pieces;
}

// Face cache flag of the faces composed from a picture's double-density pixels.
constexpr quint32 DoubleDensityFace = 4u;

// The face of a store picture's double-density pixels at twice size, composed once and marked
// with ratio 2, so that drawing it fills size logical pixels sharply.
QImage cachedSpitFace2x(const Kav::TkavPicture &picture, const QSize &size, bool transparent)
{
    const TkavFaceCache::Key key{picture.id(), size, DoubleDensityFace | (transparent ? 1u : 0u)};
    TkavFaceCache &cache = TkavFaceCache::shared();
    QImage face = cache.find(key);
    cache.countLookup(!face.isNull());
    if (face.isNull()) {
        face = SpitDrawFace(picture.image2x(), size * 2, transparent);
        face.setDevicePixelRatio(2.0);
        cache.insert(key, face);
    }
    return face;
}

// Whether a store picture is drawn from its double-density pixels on this painter's device.
bool drawsDoubled(const Kav::TkavPicture &picture, const QPainter &canvas)
{
    // The ratio first: asking for the double-density pixels decodes them.
    return canvas.device() != nullptr && canvas.device()->devicePixelRatioF() > 1.0 && picture.has2x();
}

// Draws a double-density face at point; at ratios other than 2 Qt scales it, smoothly.
void drawDoubledFace(QPainter &canvas, const QPoint &point, const QImage &face)
{
    if (face.isNull())
        return;
    if (canvas.device()->devicePixelRatioF() == face.devicePixelRatio()) {
        canvas.drawImage(point, face);
        return;
    }
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, true);
    canvas.drawImage(point, face);
    canvas.restore();
}

// The face of picture at size, composed once: identity is the store's id of the picture, or the
// image's own cache key for a picture from elsewhere.
QImage cachedSpitFace(const QImage &picture, quint64 identity, const QSize &size, bool transparent)
{
    const TkavFaceCache::Key key{identity, size, transparent ? 1u : 0u};
    TkavFaceCache &cache = TkavFaceCache::shared();
    QImage face = cache.find(key);
    cache.countLookup(!face.isNull());
    if (face.isNull()) {
        face = SpitDrawFace(picture, size, transparent);
        cache.insert(key, face);
    }
    return face;
}


// A 1-pixel frame just inside rect, like a brush frame of the rectangle.
void frameRect(QPainter &painter, const QRect &rect, const QColor &color)
{
    if (rect.isEmpty())
        return;
    painter.fillRect(QRect(rect.x(), rect.y(), rect.width(), 1), color);
    painter.fillRect(QRect(rect.x(), rect.y() + rect.height() - 1, rect.width(), 1), color);
    painter.fillRect(QRect(rect.x(), rect.y(), 1, rect.height()), color);
    painter.fillRect(QRect(rect.x() + rect.width() - 1, rect.y(), 1, rect.height()), color);
}

// Property names are matched without regard to case, which costs a walk over every property of
// the class; a look switch asks the same few questions of hundreds of controls of a handful of
// classes, so the answers are kept per class (classes live as long as the program).
int propertyIndex(const QMetaObject *meta, const QString &name)
{
    thread_local QHash<QPair<const QMetaObject *, QString>, int> known;
    const QPair<const QMetaObject *, QString> key(meta, name);
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    const int index = Kav::KavFindProperty(meta, name.toLatin1().constData()).propertyIndex();
    known.insert(key, index);
    return index;
}

} // namespace

void SpitBitmap(const QImage &source, QImage &destination, int frameCount, int frameNumber)
{
    if (frameCount < 1 || frameNumber < 1 || frameNumber > frameCount || source.isNull()) {
        destination = QImage();
        return;
    }
    const int frameWidth = source.width() / frameCount;
    if (frameWidth == 0) {
        destination = QImage();
        return;
    }
    // copy() makes a new image, so source and destination may be the same object.
    destination = source.copy((frameNumber - 1) * frameWidth, 0, frameWidth, source.height());
}

QImage SpitDrawFace(const QImage &picture, const QSize &size, bool transparent)
{
    if (picture.isNull() || size.isEmpty())
        return QImage();
    const QImage pixels = readable32(picture);
    const Edges area{0, 0, size.width(), size.height()};
    return composeFace(pixels, ninePieces(pixels.size(), size.width(), size.height(), transparent), area,
                       area, MagentaKey);
}

namespace {

void drawSpitFace(const QImage &face, QImage &canvas, const QRect &rect)
{
    if (face.isNull())
        return;
    if (face.format() == QImage::Format_RGB32 && isDirect32(canvas.format())) {
        copyOpaqueFace(face, canvas, rect.x(), rect.y());
        return;
    }
    // Faces with skipped pixels go through the painter, whose blending is vectorised.
    QPainter painter(&canvas);
    painter.drawImage(rect.topLeft(), face);
}

// Nine-part drawing onto a canvas of ratio 1 through the face cache. A face met for the first time
// is composed for the cache; when it has left-out pixels, which drawing it would blend through a
// painter, its pieces go straight onto a 32-bit canvas instead: the same pixels, for less than
// setting up the painter, so that a first draw costs no more than Qt's own nine-patch drawing.
void drawCachedSpit(const QImage &picture, quint64 identity, QImage &canvas, const QRect &rect, bool transparent)
{
    const TkavFaceCache::Key key{identity, rect.size(), transparent ? 1u : 0u};
    TkavFaceCache &cache = TkavFaceCache::shared();
    QImage face = cache.find(key);
    cache.countLookup(!face.isNull());
    if (face.isNull()) {
        face = SpitDrawFace(picture, rect.size(), transparent);
        cache.insert(key, face);
        if (!face.isNull() && face.format() != QImage::Format_RGB32 && isDirect32(canvas.format())) {
            const QImage pixels = readable32(picture);
            QList<Piece> pieces = ninePieces(pixels.size(), rect.width(), rect.height(), transparent);
            for (Piece &piece : pieces)
                piece.target = piece.target.translated(rect.x(), rect.y());
            drawPieces(pixels, pieces, canvas, MagentaKey);
            return;
        }
    }
    drawSpitFace(face, canvas, rect);
}

quint64 identityOf(const QImage &picture)
{
    return quint64(picture.cacheKey());
}

} // namespace

void SpitDraw(const QImage &picture, QPainter &canvas, const QRect &rect, bool transparent)
{
    if (picture.isNull() || rect.isEmpty())
        return;
    const QImage face = cachedSpitFace(picture, identityOf(picture), rect.size(), transparent);
    if (!face.isNull())
        canvas.drawImage(rect.topLeft(), face);
}

void SpitDraw(const QImage &picture, QImage &canvas, const QRect &rect, bool transparent)
{
    if (picture.isNull() || rect.isEmpty() || canvas.isNull())
        return;
    if (canvas.devicePixelRatio() != 1.0) {
        QPainter painter(&canvas);
        SpitDraw(picture, painter, rect, transparent);
        return;
    }
    drawCachedSpit(picture, identityOf(picture), canvas, rect, transparent);
}

void SpitDraw(const Kav::TkavPicture &picture, QPainter &canvas, const QRect &rect, bool transparent)
{
    if (picture.isNull() || rect.isEmpty())
        return;
    if (drawsDoubled(picture, canvas)) {
        drawDoubledFace(canvas, rect.topLeft(), cachedSpitFace2x(picture, rect.size(), transparent));
        return;
    }
    const QImage face = cachedSpitFace(picture.image(), picture.id(), rect.size(), transparent);
    if (!face.isNull())
        canvas.drawImage(rect.topLeft(), face);
}

void SpitDraw(const Kav::TkavPicture &picture, QImage &canvas, const QRect &rect, bool transparent)
{
    if (picture.isNull() || rect.isEmpty() || canvas.isNull())
        return;
    if (canvas.devicePixelRatio() != 1.0) {
        QPainter painter(&canvas);
        SpitDraw(picture, painter, rect, transparent);
        return;
    }
    drawCachedSpit(picture.image(), picture.id(), canvas, rect, transparent);
}

void StretchDrawCached(const Kav::TkavPicture &picture, QPainter &canvas, const QRect &rect)
{
    if (picture.isNull() || rect.isEmpty())
        return;
    // Flag 2 keeps stretched faces apart from nine-part ones (flags 0 and 1) of the same picture;
    // double-density faces add their own flag.
    const bool doubled = drawsDoubled(picture, canvas);
    const QImage &source = doubled ? picture.image2x() : picture.image();
    const int scale = doubled ? 2 : 1;
    const TkavFaceCache::Key key{picture.id(), rect.size(), doubled ? (DoubleDensityFace | 2u) : 2u};
    TkavFaceCache &cache = TkavFaceCache::shared();
    QImage face = cache.find(key);
    cache.countLookup(!face.isNull());
    if (face.isNull()) {
        face = QImage(rect.size() * scale, source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                    : QImage::Format_RGB32);
        if (face.isNull())
            return;
        face.fill(Qt::transparent);
        QImage unmarked = source;
        unmarked.setDevicePixelRatio(1.0);
        QPainter(&face).drawImage(face.rect(), unmarked);
        face.setDevicePixelRatio(scale);
        cache.insert(key, face);
    }
    if (doubled)
        drawDoubledFace(canvas, rect.topLeft(), face);
    else
        canvas.drawImage(rect.topLeft(), face);
}

namespace {

QList<Piece> threePieces(const QImage &picture, const QRect &rect)
{
    const int partWidth = picture.width() / 3;
    const int SH = picture.height();
    const Edges r = edgesOf(rect);
    return {
        {{0, 0, partWidth, SH}, {r.left, r.top, r.left + partWidth, r.top + SH}, true},
        {{2 * partWidth, 0, 3 * partWidth, SH}, {r.right - partWidth, r.top, r.right, r.top + SH}, true},
        // The middle goes on last and opaque, stretched over the whole height of rect.
        {{partWidth, 0, 2 * partWidth, SH}, {r.left + partWidth, r.top, r.right - partWidth, r.bottom}, false},
    };
}

QRgb threePartKey(const QImage &pixels, bool transparent)
{
    return transparent ? (pixels.pixel(0, 0) & RgbMask) : MagentaKey;
}

} // namespace

void SpitDrawHorizontal(const QImage &picture, QPainter &canvas, const QRect &rect, bool transparent)
{
    if (picture.width() < 3 || picture.height() < 1)
        return;
    const QImage pixels = readable32(picture);
    drawPieces(pixels, threePieces(pixels, rect), canvas, threePartKey(pixels, transparent));
}

void SpitDrawHorizontal(const QImage &picture, QImage &canvas, const QRect &rect, bool transparent)
{
    if (picture.width() < 3 || picture.height() < 1 || canvas.isNull())
        return;
    const QImage pixels = readable32(picture);
    drawPieces(pixels, threePieces(pixels, rect), canvas, threePartKey(pixels, transparent));
}

void TileDraw(QPainter &canvas, const QImage &picture, const QRect &rect)
{
    const int pw = picture.width();
    const int ph = picture.height();
    if (pw <= 0 || ph <= 0)
        return;
    for (int x = 0; x < Kav::KavRight(rect); x += pw) {
        for (int y = 0; y < Kav::KavBottom(rect); y += ph)
            canvas.drawImage(x, y, picture);
    }
}

void TileDraw(QImage &canvas, const QImage &picture, const QRect &rect)
{
    if (canvas.isNull())
        return;
    QPainter painter(&canvas);
    TileDraw(painter, picture, rect);
}

namespace {

// A brush a rectangle fill reproduces exactly, wherever it starts.
bool isPlainBrush(const QBrush &brush)
{
    return brush.style() == Qt::SolidPattern || brush.style() == Qt::NoBrush;
}

// What QWidget::render with DrawWindowBackground paints of a widget under part (in its own
// coordinates) before its paint event: the window colour, then its own fill when it fills its
// background. False, painting nothing, where a plain fill would not be the same.
bool paintPlainBackground(QPainter &canvas, const QWidget *widget, const QRect &part)
{
    const QPalette &palette = widget->palette();
    const QBrush window = palette.brush(QPalette::Window);
    const QBrush own = palette.brush(widget->backgroundRole());
    if (widget->testAttribute(Qt::WA_StyledBackground) || widget->testAttribute(Qt::WA_NoSystemBackground)
        || widget->testAttribute(Qt::WA_TranslucentBackground) || !isPlainBrush(window) || !isPlainBrush(own))
        return false;
    if (!(widget->autoFillBackground() && own.isOpaque())) {
        canvas.save();
        canvas.setCompositionMode(QPainter::CompositionMode_Source);
        canvas.fillRect(part, window);
        canvas.restore();
    }
    if (widget->autoFillBackground())
        canvas.fillRect(part, own);
    return true;
}

// Paints widget's own painting under part (its coordinates) at the painter's origin without
// QWidget::render, where that is possible: a plain QWidget paints only its background, and a
// face source its face. QWidget::render first walks every widget inside the one it renders,
// which for a window of many transparent controls grows with the square of their number.
bool paintDirectly(QPainter &canvas, QWidget *widget, const QRect &part)
{
    const auto *faceSource = dynamic_cast<const Kav::KavFaceSource *>(widget);
    // The exact class, not the meta-object: a subclass without Q_OBJECT has QWidget's meta-object
    // and may paint.
    const bool plainWidget = typeid(*widget) == typeid(QWidget);
    if (!faceSource && !plainWidget)
        return false;
    if (!paintPlainBackground(canvas, widget, part))
        return false;
    if (faceSource)
        faceSource->paintOwnFace(canvas, part);
    return true;
}

} // namespace

void DoTrans(QPainter &canvas, QWidget *control, const QRect &part)
{
    QWidget *parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return;
    canvas.save();
    // The parent's own background and painting under the control (only there: a large parent
    // composes just that part), shifted so that the control's corner lands on the canvas origin;
    // the parent's children stay out.
    const QRect under = (part.isNull() ? control->rect() : part).translated(control->pos()).intersected(parent->rect());
    if (under.isEmpty()) {
        canvas.restore();
        return;
    }
    canvas.translate(-control->pos());
    canvas.setClipRect(under, Qt::IntersectClip);
    const bool painted = paintDirectly(canvas, parent, under);
    canvas.restore();
    if (painted)
        return;
    canvas.save();
    // render() puts the region's top-left corner at the target offset.
    parent->render(&canvas, under.topLeft() - control->pos(), QRegion(under), QWidget::DrawWindowBackground);
    canvas.restore();
}

void DoTrans(QImage &canvas, QWidget *control)
{
    if (canvas.isNull() || !control || !control->parentWidget())
        return;
    QPainter painter(&canvas);
    DoTrans(painter, control);
}

void DrawControlBorder(QWidget *control, QPainter &painter, TColor borderColor, TColor innerColor,
                       bool drawInner)
{
    if (!control)
        return;
    const QPalette &palette = control->palette();
    Kav::KavDrawBorder(painter, control->rect(), borderColor.resolved(palette), innerColor.resolved(palette),
                       drawInner);
}

void Kav::KavDrawBorder(QPainter &painter, const QRect &rect, const QColor &borderColor, const QColor &innerColor,
                        bool drawInner)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (ratio != std::floor(ratio) && painter.worldTransform().isIdentity()) {
        // At a fractional ratio a logical pixel is not a whole number of device pixels, and lines
        // one logical pixel wide come out one device pixel on some sides and two on others. The
        // frame is laid on device pixels instead: the outer line as thick on every side (the
        // whole part of the ratio), the inner one filling the rest of the two logical pixels.
        const int outer = std::max(1, int(ratio));
        const int both = std::max(outer + (drawInner ? 1 : 0), qRound(2 * ratio));
        const QRect device(qRound(rect.x() * ratio), qRound(rect.y() * ratio), qRound(rect.width() * ratio),
                           qRound(rect.height() * ratio));
        painter.save();
        painter.scale(1.0 / ratio, 1.0 / ratio);
        const auto ring = [&painter](const QRect &r, int thickness, const QColor &colour) {
            if (r.width() <= 0 || r.height() <= 0 || thickness <= 0)
                return;
            painter.fillRect(QRect(r.x(), r.y(), r.width(), thickness), colour);
            painter.fillRect(QRect(r.x(), r.bottom() + 1 - thickness, r.width(), thickness), colour);
            painter.fillRect(QRect(r.x(), r.y(), thickness, r.height()), colour);
            painter.fillRect(QRect(r.right() + 1 - thickness, r.y(), thickness, r.height()), colour);
        };
        ring(device, outer, borderColor);
        if (drawInner)
            ring(device.adjusted(outer, outer, -outer, -outer), both - outer, innerColor);
        painter.restore();
        return;
    }
    frameRect(painter, rect, borderColor);
    if (drawInner)
        frameRect(painter, rect.adjusted(1, 1, -1, -1), innerColor);
}

namespace {

// Turns picture a quarter turn; source(column, row) gives the old position of each new pixel.
template <typename SourceOf>
void turnPicture(QImage &picture, SourceOf source)
{
    if (picture.isNull())
        return;
    const QImage old = isDirect32(picture.format())
        ? picture
        : picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QImage turned(old.height(), old.width(), old.format());
    if (turned.isNull())
        return;
    const int oldWidth = old.width(), oldHeight = old.height();
    for (int row = 0; row < oldWidth; ++row) {
        auto *to = reinterpret_cast<QRgb *>(turned.scanLine(row));
        for (int column = 0; column < oldHeight; ++column) {
            const QPoint from = source(column, row, oldWidth, oldHeight);
            to[column] = reinterpret_cast<const QRgb *>(old.constScanLine(from.y()))[from.x()];
        }
    }
    picture = turned;
}

} // namespace

void RoundPicture(QImage &picture)
{
    // new (y, W - 1 - x) := old (x, y)
    turnPicture(picture, [](int column, int row, int W, int) { return QPoint(W - 1 - row, column); });
}

void RoundPicture3(QImage &picture)
{
    // new (y, x) := old (x, H - 1 - y)
    turnPicture(picture, [](int column, int row, int, int H) { return QPoint(row, H - 1 - column); });
}

QRegion BitmapRegion(const QImage &picture, TColor transparentColor)
{
    QRegion region;
    if (picture.isNull())
        return region;
    const QImage pixels = readable32(picture);
    const QRgb key = transparentColor.resolved().rgb() & RgbMask;
    const int width = pixels.width(), height = pixels.height();
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            if ((row[x] & RgbMask) == key) {
                ++x;
                continue;
            }
            const int runStart = x;
            while (x < width && (row[x] & RgbMask) != key)
                ++x;
            region += QRect(runStart, y, x - runStart, 1);
        }
    }
    return region;
}

QRegion SetBitmapWindow(QWidget *window, const QImage &picture, TColor transparentColor)
{
    const QRegion region = BitmapRegion(picture, transparentColor);
    if (window)
        window->setMask(region);
    return region;
}

void SetWinControlTransparent(QWidget *control)
{
    if (!control)
        return;
    control->setAttribute(Qt::WA_OpaquePaintEvent, false);
    control->setAutoFillBackground(false);
    control->setAttribute(Qt::WA_TranslucentBackground, true);
}

bool InRect(int x, int y, const QRect &rect)
{
    return rect.x() <= x && x <= Kav::KavRight(rect) && rect.y() <= y && y <= Kav::KavBottom(rect);
}

bool InRect(const QPoint &point, const QRect &rect)
{
    return InRect(point.x(), point.y(), rect);
}

QRect GetWorkAreaRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void PlaceControl(QWidget *control, const QPoint &point)
{
    if (!control)
        return;
    control->move(point.x(), control->y());
    control->move(control->x(), point.y());
}

void PlaceControl(QWidget *control, const QRect &rect)
{
    if (!control)
        return;
    control->move(rect.x(), control->y());
    control->move(control->x(), rect.y());
    control->resize(rect.width(), control->height());
    control->resize(control->width(), rect.height());
}

QString PCharToStr(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QString PCharToStr(const char *text, qsizetype capacity)
{
    if (!text || capacity <= 0)
        return QString();
    const auto *end = static_cast<const char *>(std::memchr(text, '\0', size_t(capacity)));
    return QString::fromUtf8(text, end ? end - text : capacity);
}

QMetaProperty Kav::KavFindProperty(const QMetaObject *meta, const char *name)
{
    const int exact = meta->indexOfProperty(name);
    if (exact >= 0)
        return meta->property(exact);
    for (int i = 0; i < meta->propertyCount(); ++i) {
        if (qstricmp(meta->property(i).name(), name) == 0)
            return meta->property(i);
    }
    return {};
}

bool IsHasProperty(const QObject *object, const QString &name)
{
    return object && propertyIndex(object->metaObject(), name) >= 0;
}

namespace {

const QMdiSubWindow *mdiSubWindowOf(const QWidget *form)
{
    if (const auto *sub = qobject_cast<const QMdiSubWindow *>(form))
        return sub;
    return form ? qobject_cast<const QMdiSubWindow *>(form->parentWidget()) : nullptr;
}

// An MDI child is active while it is the active child of an active window; any other form
// while it is the active window.
bool isFormActive(const QWidget *form)
{
    if (!form)
        return false;
    if (const QMdiSubWindow *sub = mdiSubWindowOf(form)) {
        const QMdiArea *area = sub->mdiArea();
        return area && area->activeSubWindow() == sub && sub->isActiveWindow();
    }
    return form->isActiveWindow();
}

} // namespace

bool FormHasFocus(const QWidget *form, const QWidget *mainForm)
{
    if (!mainForm)
        return isFormActive(form);
    const QMdiArea *mdiArea = mainForm->findChild<QMdiArea *>();
    if (mdiArea && form == mainForm)
        return true;
    if (QGuiApplication::applicationState() != Qt::ApplicationActive)
        return false;
    if (!form || form == mainForm)
        return true;
    if (mdiArea) {
        const QMdiSubWindow *active = mdiArea->activeSubWindow();
        if (active && active == mdiSubWindowOf(form))
            return true;
    }
    return isFormActive(form);
}

void ContainerApplyUIStyle(QObject *container, const QVariant &style, QObject *fileTheme)
{
    if (!container)
        return;
    QList<QPointer<QObject>> children;
    for (QObject *child : container->children()) {
        if (child->isWidgetType())
            children.append(child);
    }
    for (const QPointer<QObject> &child : children) {
        if (!child)
            continue; // an earlier child's new look removed it
        const QMetaObject *meta = child->metaObject();
        const int themeIndex = propertyIndex(meta, QStringLiteral("FileTheme"));
        const int styleIndex = propertyIndex(meta, QStringLiteral("UIStyle"));
        if (themeIndex < 0 || styleIndex < 0)
            continue;
        const QMetaProperty themeProperty = meta->property(themeIndex);
        // Writing the file theme makes a control take its look again; the look is written next
        // anyway, so the theme is written only when it changes.
        if (themeProperty.read(child).value<QObject *>() != fileTheme) {
            // A null QObject* does not convert to a derived pointer type; a null of the property's
            // own type does.
            themeProperty.write(child, fileTheme ? QVariant::fromValue(fileTheme)
                                                 : QVariant(themeProperty.metaType()));
        }
        if (child)
            meta->property(styleIndex).write(child, style);
    }
}

bool IsWin95()
{
    return false;
}
