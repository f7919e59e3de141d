#include "KAVComposer.h"
#include "KAVFaceCache.h"
#include "KAVFunctions.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

#include <functional>

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;
constexpr QRgb Grey = 0xFF808080;

// A picture whose every pixel tells where it came from: red = column, green = row. Blue 0x40
// keeps every pixel away from magenta.
QImage coordinatePicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x, y, 0x40));
    return picture;
}

QPoint sourceOf(QRgb pixel)
{
    return QPoint(qRed(pixel), qGreen(pixel));
}

QImage canvasOf(int width, int height, QRgb fill = Grey, QImage::Format format = QImage::Format_RGB32)
{
    QImage canvas(width, height, format);
    canvas.fill(fill);
    return canvas;
}

// Pixel replication: destination offset i of a span of length d takes source offset i * s / d.
int replicate(int offset, int sourceLength, int targetLength)
{
    return offset * sourceLength / targetLength;
}

// One piece of the 84 x 23 frame over (0, 0, 100, 30): the target rectangle and the picture
// rectangle it is made from, both as left, top, right, bottom.
struct WorkedPiece {
    const char *name;
    QRect target;
    QRect source;
};

const WorkedPiece WorkedExample[] = {
    {"top-left corner", Kav::KavRect(0, 0, 42, 11), Kav::KavRect(0, 0, 42, 11)},
    {"bottom-left corner", Kav::KavRect(0, 20, 42, 30), Kav::KavRect(0, 13, 42, 23)},
    {"left edge", Kav::KavRect(0, 11, 42, 20), Kav::KavRect(0, 11, 42, 12)},
    {"top-right corner", Kav::KavRect(59, 0, 100, 11), Kav::KavRect(43, 0, 84, 11)},
    {"bottom-right corner", Kav::KavRect(59, 20, 100, 30), Kav::KavRect(43, 13, 84, 23)},
    {"right edge", Kav::KavRect(59, 11, 100, 20), Kav::KavRect(43, 12, 84, 13)},
    {"top edge", Kav::KavRect(42, 0, 59, 11), Kav::KavRect(42, 0, 43, 11)},
    {"centre", Kav::KavRect(42, 11, 59, 19), Kav::KavRect(42, 11, 43, 12)},
    {"bottom edge", Kav::KavRect(41, 19, 59, 30), Kav::KavRect(42, 12, 43, 23)},
};

// Test stand-ins for a look's file theme and for skinned children.
enum class FakeStyle { FromThemeFile, MacOS, WinXP, DeepBlue };

} // namespace

class FakeFileTheme : public QObject
{
    Q_OBJECT
};

class StyleLog
{
public:
    static QStringList &entries()
    {
        static QStringList log;
        return log;
    }
};

class ThemedWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(FakeFileTheme *FileTheme READ fileTheme WRITE setFileTheme)
    Q_PROPERTY(Look UIStyle READ uiStyle WRITE setUIStyle)
public:
    enum Look { FromThemeFile, MacOS, WinXP, DeepBlue };
    Q_ENUM(Look)

    using QWidget::QWidget;
    FakeFileTheme *fileTheme() const { return theme_; }
    void setFileTheme(FakeFileTheme *theme)
    {
        theme_ = theme;
        StyleLog::entries().append(objectName() + ":FileTheme");
    }
    Look uiStyle() const { return style_; }
    void setUIStyle(Look style)
    {
        style_ = style;
        StyleLog::entries().append(objectName() + ":UIStyle");
    }

private:
    FakeFileTheme *theme_ = nullptr;
    Look style_ = DeepBlue;
};

// Publishes the look but cannot take a file theme.
class StyleOnlyWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int UIStyle READ uiStyle WRITE setUIStyle)
public:
    using QWidget::QWidget;
    int uiStyle() const { return style_; }
    void setUIStyle(int style) { style_ = style; StyleLog::entries().append(objectName() + ":UIStyle"); }

private:
    int style_ = 3;
};

// A component that is not a control, publishing both properties.
class ThemedComponent : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *FileTheme READ fileTheme WRITE setFileTheme)
    Q_PROPERTY(int UIStyle READ uiStyle WRITE setUIStyle)
public:
    using QObject::QObject;
    QObject *fileTheme() const { return nullptr; }
    void setFileTheme(QObject *) { StyleLog::entries().append(objectName() + ":FileTheme"); }
    int uiStyle() const { return 0; }
    void setUIStyle(int) { StyleLog::entries().append(objectName() + ":UIStyle"); }
};

// A parent that paints its left columns blue over its window colour.
class StripedParent : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    int blueColumns = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, blueColumns, height(), Qt::blue);
    }
};

// A container that paints nothing but its composed face: a diagonal stripe over its colour.
class FaceParent : public QWidget, public Kav::KavFaceSource
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    void paintOwnFace(QPainter &painter, const QRect &part) const override
    {
        Kav::KavPaintFaceOn(painter, this, Kav::Backdrop::filled(QColor(250, 240, 10)), drawFace(), part, QRegion(part));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        Kav::KavPaintFace(this, Kav::Backdrop::filled(QColor(250, 240, 10)), drawFace(), event->region());
    }

private:
    static std::function<void(QImage &)> drawFace()
    {
        return [](QImage &face) {
            QPainter painter(&face);
            painter.setPen(QPen(Qt::darkMagenta, 3));
            painter.drawLine(0, 0, face.width(), face.height());
        };
    }
};

// A plain QWidget in all but its class: without Q_OBJECT it has QWidget's meta-object, and paints.
class PaintingWithoutMetaObject : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(0, 0, 12, height(), Qt::cyan); }
};

// A control that looks transparent the way skinned controls do: its paint composes the
// parent's background in an off-screen image and copies that once.
class SeeThroughControl : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage face(size(), QImage::Format_RGB32);
        face.fill(Qt::black);
        DoTrans(face, this);
        QPainter(this).drawImage(0, 0, face);
    }
};

class tst_KAVFunctions : public QObject
{
    Q_OBJECT

private slots:
    void spitBitmap_data();
    void spitBitmap();
    void spitBitmapSameImage();

    void spitDrawWorkedExample_data();
    void spitDrawWorkedExample();
    void spitDrawBottomEdgeTakesRow19();
    void spitDrawMagentaCorners_data();
    void spitDrawMagentaCorners();
    void spitDrawSmallAndOddSizes_data();
    void spitDrawSmallAndOddSizes();
    void spitDrawCanvasKinds_data();
    void spitDrawCanvasKinds();

    void faceCacheMatchesUncachedDraw_data();
    void faceCacheMatchesUncachedDraw();
    void faceCacheSeesChangedPicture();
    void faceCacheIsBounded();
    void faceCacheRetiresPicture();

    void spitDrawHorizontalExample_data();
    void spitDrawHorizontalExample();
    void spitDrawHorizontalStretchMapping_data();
    void spitDrawHorizontalStretchMapping();
    void spitDrawHorizontalCanvasKinds();
    void spitDrawHorizontalNarrowPicture();

    void tileDraw_data();
    void tileDraw();

    void roundPicture_data();
    void roundPicture();
    void roundPictureRoundTrip();

    void bitmapRegion_data();
    void bitmapRegion();
    void setBitmapWindowSetsMask();

    void inRect_data();
    void inRect();

    void placeControl();

    void pcharToStr_data();
    void pcharToStr();
    void pcharToStrBounded();

    void isHasProperty_data();
    void isHasProperty();

    void containerApplyUIStyleOrderAndReach();
    void containerApplyUIStyleValues();

    void doTransShowsParentBackground();
    void doTransWithoutParent();
    void doTransPaintsWhatRenderPaints_data();
    void doTransPaintsWhatRenderPaints();
    void doTransInsidePaintEvent();

    void drawControlBorder_data();
    void drawControlBorder();

    void formHasFocus();
};

// --- SpitBitmap -------------------------------------------------------------------------------

void tst_KAVFunctions::spitBitmap_data()
{
    QTest::addColumn<QSize>("stripSize");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("number");
    QTest::addColumn<QSize>("frameSize");
    QTest::addColumn<int>("firstColumn");

    QTest::addRow("three frames, second") << QSize(54, 21) << 3 << 2 << QSize(18, 21) << 18;
    QTest::addRow("six frames, remainder unused") << QSize(102, 16) << 6 << 6 << QSize(17, 16) << 85;
    QTest::addRow("one frame") << QSize(30, 5) << 1 << 1 << QSize(30, 5) << 0;
    QTest::addRow("count zero") << QSize(54, 21) << 0 << 1 << QSize() << 0;
    QTest::addRow("count negative") << QSize(54, 21) << -2 << 1 << QSize() << 0;
    QTest::addRow("number zero") << QSize(54, 21) << 3 << 0 << QSize() << 0;
    QTest::addRow("number past the strip") << QSize(54, 21) << 3 << 4 << QSize() << 0;
    QTest::addRow("strip narrower than count") << QSize(2, 5) << 3 << 1 << QSize() << 0;
}

void tst_KAVFunctions::spitBitmap()
{
    QFETCH(QSize, stripSize);
    QFETCH(int, count);
    QFETCH(int, number);
    QFETCH(QSize, frameSize);
    QFETCH(int, firstColumn);

    const QImage strip = coordinatePicture(stripSize.width(), stripSize.height());
    QImage frame = coordinatePicture(3, 3);
    SpitBitmap(strip, frame, count, number);

    if (frameSize.isEmpty()) {
        QVERIFY(frame.isNull());
        return;
    }
    QCOMPARE(frame.size(), frameSize);
    QCOMPARE(sourceOf(frame.pixel(0, 0)), QPoint(firstColumn, 0));
    QCOMPARE(sourceOf(frame.pixel(frameSize.width() - 1, frameSize.height() - 1)),
             QPoint(firstColumn + frameSize.width() - 1, frameSize.height() - 1));
}

void tst_KAVFunctions::spitBitmapSameImage()
{
    QImage strip = coordinatePicture(54, 21);
    SpitBitmap(strip, strip, 3, 3);
    QCOMPARE(strip.size(), QSize(18, 21));
    QCOMPARE(sourceOf(strip.pixel(0, 5)), QPoint(36, 5));
}

// --- SpitDraw ---------------------------------------------------------------------------------

void tst_KAVFunctions::spitDrawWorkedExample_data()
{
    QTest::addColumn<int>("piece");
    for (int i = 0; i < int(std::size(WorkedExample)); ++i)
        QTest::addRow("%s", WorkedExample[i].name) << i;
}

// Each piece of the worked example lands on its rectangle, made from its picture rectangle by
// pixel replication, except where a later piece draws over it.
void tst_KAVFunctions::spitDrawWorkedExample()
{
    QFETCH(int, piece);
    const WorkedPiece &expected = WorkedExample[piece];

    QImage canvas = canvasOf(100, 30);
    SpitDraw(coordinatePicture(84, 23), canvas, Kav::KavRect(0, 0, 100, 30), true);

    const QRect &t = expected.target;
    const QRect &s = expected.source;
    int checked = 0;
    for (int y = t.y(); y < Kav::KavBottom(t); ++y) {
        for (int x = t.x(); x < Kav::KavRight(t); ++x) {
            bool overdrawn = false;
            for (int later = piece + 1; later < int(std::size(WorkedExample)); ++later)
                overdrawn = overdrawn || WorkedExample[later].target.contains(x, y);
            if (overdrawn)
                continue;
            const QPoint want(s.x() + replicate(x - t.x(), s.width(), t.width()),
                              s.y() + replicate(y - t.y(), s.height(), t.height()));
            QCOMPARE(sourceOf(canvas.pixel(x, y)), want);
            ++checked;
        }
    }
    QVERIFY(checked > 0);
}

void tst_KAVFunctions::spitDrawBottomEdgeTakesRow19()
{
    QImage canvas = canvasOf(100, 30);
    SpitDraw(coordinatePicture(84, 23), canvas, Kav::KavRect(0, 0, 100, 30), true);

    // Row 19 between the side edges comes from the bottom edge's first picture row, not the centre's.
    for (int x = 42; x < 59; ++x)
        QCOMPARE(sourceOf(canvas.pixel(x, 19)), QPoint(42, 12));
    QCOMPARE(sourceOf(canvas.pixel(50, 18)), QPoint(42, 11));
    // The bottom edge also covers the bottom-left corner's last column.
    QCOMPARE(sourceOf(canvas.pixel(41, 25)), QPoint(42, 18));
    QCOMPARE(sourceOf(canvas.pixel(40, 25)), QPoint(40, 18));
    // Nothing of the target is left undrawn.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            QVERIFY2(canvas.pixel(x, y) != Grey, qPrintable(QStringLiteral("hole at %1,%2").arg(x).arg(y)));
}

void tst_KAVFunctions::spitDrawMagentaCorners_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<QRgb>("cornerColour");
    QTest::addRow("opaque corners") << false << Magenta;
    QTest::addRow("transparent corners") << true << Grey;
}

void tst_KAVFunctions::spitDrawMagentaCorners()
{
    QFETCH(bool, transparent);
    QFETCH(QRgb, cornerColour);

    QImage picture = coordinatePicture(84, 23);
    for (const QPoint corner : {QPoint(0, 0), QPoint(0, 22), QPoint(83, 0), QPoint(83, 22)})
        picture.setPixel(corner, Magenta);
    picture.setPixel(42, 5, Magenta);  // top edge
    picture.setPixel(42, 11, Magenta); // centre
    picture.setPixel(5, 11, Magenta);  // left edge
    picture.setPixel(80, 12, Magenta); // right edge
    picture.setPixel(42, 20, Magenta); // bottom edge

    QImage canvas = canvasOf(100, 30);
    SpitDraw(picture, canvas, Kav::KavRect(0, 0, 100, 30), transparent);

    for (const QPoint corner : {QPoint(0, 0), QPoint(0, 29), QPoint(99, 0), QPoint(99, 29)})
        QCOMPARE(canvas.pixel(corner), cornerColour);
    // Edges and centre skip magenta whatever the corners do.
    QCOMPARE(canvas.pixel(50, 5), Grey);
    QCOMPARE(canvas.pixel(50, 15), Grey);
    QCOMPARE(canvas.pixel(5, 15), Grey);
    QCOMPARE(canvas.pixel(96, 15), Grey);
    QCOMPARE(canvas.pixel(50, 27), Grey);
    // ... while the corner pieces still draw their other pixels.
    QCOMPARE(sourceOf(canvas.pixel(1, 1)), QPoint(1, 1));
}

void tst_KAVFunctions::spitDrawSmallAndOddSizes_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QSize>("targetSize");

    QTest::addRow("one pixel target") << QSize(84, 23) << QSize(1, 1);
    QTest::addRow("two pixel target") << QSize(84, 23) << QSize(2, 2);
    QTest::addRow("one column") << QSize(84, 23) << QSize(1, 40);
    QTest::addRow("one row") << QSize(84, 23) << QSize(120, 1);
    QTest::addRow("target smaller than corners") << QSize(84, 23) << QSize(10, 6);
    QTest::addRow("target equal to picture") << QSize(84, 23) << QSize(84, 23);
    QTest::addRow("one pixel picture") << QSize(1, 1) << QSize(30, 20);
    QTest::addRow("two pixel picture") << QSize(2, 2) << QSize(30, 20);
    QTest::addRow("one row picture") << QSize(9, 1) << QSize(30, 20);
    QTest::addRow("even height picture") << QSize(84, 22) << QSize(100, 30);
    QTest::addRow("even picture") << QSize(4, 4) << QSize(50, 40);
    QTest::addRow("odd picture") << QSize(77, 27) << QSize(300, 200);
}

// Whatever the sizes: the whole target is drawn (an opaque picture leaves no hole), nothing
// outside it is touched, and nothing is read outside the picture (the sanitizers watch).
void tst_KAVFunctions::spitDrawSmallAndOddSizes()
{
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, targetSize);

    const QImage picture = coordinatePicture(pictureSize.width(), pictureSize.height());
    const QRect target(QPoint(3, 4), targetSize);
    QImage canvas = canvasOf(targetSize.width() + 6, targetSize.height() + 8);
    SpitDraw(picture, canvas, target, false);

    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const bool inside = target.contains(x, y);
            const QRgb pixel = canvas.pixel(x, y);
            QVERIFY2(inside == (pixel != Grey), qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            if (inside) {
                const QPoint from = sourceOf(pixel);
                QVERIFY(from.x() < pictureSize.width() && from.y() < pictureSize.height());
            }
        }
    }
}

void tst_KAVFunctions::spitDrawCanvasKinds_data()
{
    QTest::addColumn<bool>("viaPainter");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("transparent");
    QTest::addRow("painter, rgb32") << true << int(QImage::Format_RGB32) << true;
    QTest::addRow("painter, argb32 premultiplied") << true << int(QImage::Format_ARGB32_Premultiplied) << false;
    QTest::addRow("image, argb32") << false << int(QImage::Format_ARGB32) << true;
    QTest::addRow("image, rgb888") << false << int(QImage::Format_RGB888) << true;
    QTest::addRow("image, rgb888 opaque corners") << false << int(QImage::Format_RGB888) << false;
}

// Every kind of canvas gets the pixels of the direct 32-bit draw.
void tst_KAVFunctions::spitDrawCanvasKinds()
{
    QFETCH(bool, viaPainter);
    QFETCH(int, format);
    QFETCH(bool, transparent);

    QImage picture = coordinatePicture(84, 23);
    picture.setPixel(0, 0, Magenta);
    picture.setPixel(42, 5, Magenta);
    const QRect target(5, 2, 90, 25);

    QImage expected = canvasOf(100, 30);
    SpitDraw(picture, expected, target, transparent);

    QImage canvas = canvasOf(100, 30, Grey, QImage::Format(format));
    if (viaPainter) {
        QPainter painter(&canvas);
        SpitDraw(picture, painter, target, transparent);
    } else {
        SpitDraw(picture, canvas, target, transparent);
    }
    QCOMPARE(canvas.convertToFormat(QImage::Format_RGB32), expected);
}

// --- Face cache -------------------------------------------------------------------------------

void tst_KAVFunctions::faceCacheMatchesUncachedDraw_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("transparent");
    QTest::addRow("button, opaque corners") << QSize(80, 27) << false;
    QTest::addRow("button, transparent corners") << QSize(80, 27) << true;
    QTest::addRow("large") << QSize(300, 200) << true;
}

void tst_KAVFunctions::faceCacheMatchesUncachedDraw()
{
    QFETCH(QSize, size);
    QFETCH(bool, transparent);

    QImage picture = coordinatePicture(84, 23);
    picture.setPixel(0, 0, Magenta);
    picture.setPixel(42, 11, Magenta);

    // Uncached: the composed face drawn by a painter over the canvas.
    QImage uncached = canvasOf(size.width(), size.height());
    {
        QPainter painter(&uncached);
        painter.drawImage(0, 0, SpitDrawFace(picture, size, transparent));
    }
    TkavFaceCache::shared().clear();
    for (int round = 0; round < 2; ++round) { // the first draw fills the cache, the second uses it
        QImage cached = canvasOf(size.width(), size.height());
        SpitDraw(picture, cached, QRect(QPoint(0, 0), size), transparent);
        QCOMPARE(cached, uncached);
        QCOMPARE(TkavFaceCache::shared().count(), 1);
    }
}

void tst_KAVFunctions::faceCacheSeesChangedPicture()
{
    QImage picture = coordinatePicture(84, 23);
    QImage canvas = canvasOf(100, 30);
    SpitDraw(picture, canvas, Kav::KavRect(0, 0, 100, 30), false);
    QCOMPARE(sourceOf(canvas.pixel(1, 1)), QPoint(1, 1));

    picture.setPixel(1, 1, qRgb(1, 2, 3));
    SpitDraw(picture, canvas, Kav::KavRect(0, 0, 100, 30), false);
    QCOMPARE(canvas.pixel(1, 1), qRgb(1, 2, 3));
}

void tst_KAVFunctions::faceCacheIsBounded()
{
    const QImage face = canvasOf(20, 20); // 1600 bytes of pixels
    TkavFaceCache cache(20 * 1024);
    for (int i = 0; i < 100; ++i)
        cache.insert({quint64(i), face.size(), 0}, face);
    QVERIFY(cache.usedBytes() <= cache.budgetBytes());
    QVERIFY(cache.count() < 100);
    // The most recent faces stay, the oldest go.
    QVERIFY(!cache.find({99, face.size(), 0}).isNull());
    QVERIFY(cache.find({0, face.size(), 0}).isNull());
    // A face too large for its share of the budget is not kept.
    cache.insert({1000, QSize(100, 100), 0}, canvasOf(100, 100));
    QVERIFY(cache.find({1000, QSize(100, 100), 0}).isNull());
}

void tst_KAVFunctions::faceCacheRetiresPicture()
{
    const QImage face = canvasOf(4, 4);
    TkavFaceCache cache;
    cache.insert({1, QSize(4, 4), 0}, face);
    cache.insert({1, QSize(4, 4), 1}, face);
    cache.insert({2, QSize(4, 4), 0}, face);
    cache.retirePicture(1);
    QCOMPARE(cache.count(), 1);
    QVERIFY(!cache.find({2, QSize(4, 4), 0}).isNull());
    cache.clear();
    QCOMPARE(cache.count(), 0);
    QCOMPARE(cache.usedBytes(), 0);
}

// --- SpitDrawHorizontal -----------------------------------------------------------------------

void tst_KAVFunctions::spitDrawHorizontalExample_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<QRgb>("topLeft");
    QTest::addColumn<QRgb>("expectedTopLeft");
    QTest::addColumn<QRgb>("expectedMagenta");

    // With transparent, the key is the picture's top-left colour, so magenta ends show.
    QTest::addRow("key from top-left pixel") << true << qRgb(0, 200, 0) << Grey << Magenta;
    QTest::addRow("magenta key") << false << qRgb(0, 200, 0) << qRgb(0, 200, 0) << Grey;
}

void tst_KAVFunctions::spitDrawHorizontalExample()
{
    QFETCH(bool, transparent);
    QFETCH(QRgb, topLeft);
    QFETCH(QRgb, expectedTopLeft);
    QFETCH(QRgb, expectedMagenta);

    QImage bar = coordinatePicture(45, 5);
    bar.setPixel(0, 0, topLeft);
    bar.setPixel(44, 4, Magenta);
    bar.setPixel(20, 2, Magenta); // the middle is drawn opaque either way
    QImage canvas = canvasOf(110, 8);
    SpitDrawHorizontal(bar, canvas, Kav::KavRect(0, 0, 100, 5), transparent);

    QCOMPARE(canvas.pixel(0, 0), expectedTopLeft);
    QCOMPARE(canvas.pixel(99, 4), expectedMagenta);
    QCOMPARE(sourceOf(canvas.pixel(14, 3)), QPoint(14, 3));      // left end at x = 0, 15 wide
    QCOMPARE(sourceOf(canvas.pixel(85, 1)), QPoint(30, 1));      // right end at x = 85
    QCOMPARE(sourceOf(canvas.pixel(15, 0)), QPoint(15, 0));      // middle from x = 15 ...
    QCOMPARE(sourceOf(canvas.pixel(84, 0)), QPoint(29, 0));      // ... to x = 84
    QCOMPARE(canvas.pixel(15 + 5 * 70 / 15 + 1, 2), Magenta);   // stretched magenta, opaque
    QCOMPARE(canvas.pixel(100, 0), Grey);
    QCOMPARE(canvas.pixel(50, 5), Grey);
}

void tst_KAVFunctions::spitDrawHorizontalStretchMapping_data()
{
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QList<int>>("middleColumns");
    QTest::addColumn<QList<int>>("middleRows");

    // Picture 9 x 2: middle part = columns 3, 4, 5.
    QTest::addRow("stretch 3 to 7") << Kav::KavRect(0, 0, 13, 2) << QList<int>{3, 3, 3, 4, 4, 5, 5} << QList<int>{0, 1};
    QTest::addRow("shrink 3 to 2") << Kav::KavRect(0, 0, 8, 2) << QList<int>{3, 4} << QList<int>{0, 1};
    QTest::addRow("same width") << Kav::KavRect(0, 0, 9, 2) << QList<int>{3, 4, 5} << QList<int>{0, 1};
    QTest::addRow("stretch 2 rows to 5") << Kav::KavRect(0, 0, 9, 5) << QList<int>{3, 4, 5} << QList<int>{0, 0, 0, 1, 1};
    QTest::addRow("offset target") << Kav::KavRect(4, 1, 15, 3) << QList<int>{3, 3, 4, 4, 5} << QList<int>{0, 1};
}

void tst_KAVFunctions::spitDrawHorizontalStretchMapping()
{
    QFETCH(QRect, target);
    QFETCH(QList<int>, middleColumns);
    QFETCH(QList<int>, middleRows);

    QImage canvas = canvasOf(20, 10);
    SpitDrawHorizontal(coordinatePicture(9, 2), canvas, target, false);
    for (int row = 0; row < middleRows.size(); ++row) {
        for (int column = 0; column < middleColumns.size(); ++column) {
            const QPoint at(target.x() + 3 + column, target.y() + row);
            QCOMPARE(sourceOf(canvas.pixel(at)), QPoint(middleColumns[column], middleRows[row]));
        }
    }
}

void tst_KAVFunctions::spitDrawHorizontalCanvasKinds()
{
    QImage bar = coordinatePicture(45, 5);
    bar.setPixel(0, 0, Magenta);
    const QRect target = Kav::KavRect(3, 2, 90, 9);
    QImage expected = canvasOf(100, 12);
    SpitDrawHorizontal(bar, expected, target, false);

    QImage viaPainter = canvasOf(100, 12);
    {
        QPainter painter(&viaPainter);
        SpitDrawHorizontal(bar, painter, target, false);
    }
    QCOMPARE(viaPainter, expected);

    QImage rgb888 = canvasOf(100, 12, Grey, QImage::Format_RGB888);
    SpitDrawHorizontal(bar, rgb888, target, false);
    QCOMPARE(rgb888.convertToFormat(QImage::Format_RGB32), expected);
}

// Ends wider than the target overlap (the right end wins) and the middle has no room.
void tst_KAVFunctions::spitDrawHorizontalNarrowPicture()
{
    QImage canvas = canvasOf(40, 6);
    SpitDrawHorizontal(coordinatePicture(45, 5), canvas, Kav::KavRect(0, 0, 20, 5), false);
    QCOMPARE(sourceOf(canvas.pixel(4, 0)), QPoint(4, 0));
    QCOMPARE(sourceOf(canvas.pixel(5, 0)), QPoint(30, 0));
    QCOMPARE(sourceOf(canvas.pixel(19, 4)), QPoint(44, 4));
    QCOMPARE(canvas.pixel(20, 0), Grey);

    QImage untouched = canvasOf(10, 10);
    SpitDrawHorizontal(coordinatePicture(2, 5), untouched, Kav::KavRect(0, 0, 10, 5), false);
    SpitDrawHorizontal(QImage(), untouched, Kav::KavRect(0, 0, 10, 5), false);
    QCOMPARE(untouched, canvasOf(10, 10));
}

// --- TileDraw ---------------------------------------------------------------------------------

void tst_KAVFunctions::tileDraw_data()
{
    QTest::addColumn<QSize>("tileSize");
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QRect>("drawn"); // area covered by tiles

    QTest::addRow("exact fit") << QSize(3, 2) << Kav::KavRect(0, 0, 6, 4) << Kav::KavRect(0, 0, 6, 4);
    QTest::addRow("last tiles run past") << QSize(3, 2) << Kav::KavRect(0, 0, 7, 5) << Kav::KavRect(0, 0, 9, 6);
    QTest::addRow("tiles start at the origin") << QSize(4, 4) << Kav::KavRect(5, 5, 9, 9) << Kav::KavRect(0, 0, 12, 12);
    QTest::addRow("empty picture") << QSize(0, 0) << Kav::KavRect(0, 0, 10, 10) << QRect();
    QTest::addRow("empty target") << QSize(3, 3) << Kav::KavRect(0, 0, 0, 0) << QRect();
}

void tst_KAVFunctions::tileDraw()
{
    QFETCH(QSize, tileSize);
    QFETCH(QRect, target);
    QFETCH(QRect, drawn);

    const QImage tile = tileSize.isEmpty() ? QImage() : coordinatePicture(tileSize.width(), tileSize.height());
    QImage canvas = canvasOf(16, 16);
    TileDraw(canvas, tile, target);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (!drawn.contains(x, y)) {
                QCOMPARE(canvas.pixel(x, y), Grey);
                continue;
            }
            QCOMPARE(sourceOf(canvas.pixel(x, y)), QPoint(x % tileSize.width(), y % tileSize.height()));
        }
    }
}

// --- RoundPicture, RoundPicture3 --------------------------------------------------------------

void tst_KAVFunctions::roundPicture_data()
{
    QTest::addColumn<bool>("clockwise");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("oldPixel");
    QTest::addColumn<QPoint>("newPixel");

    // Anticlockwise: the old top-right comes to the top-left.
    QTest::addRow("anticlockwise, top-right") << false << QSize(96, 22) << QPoint(95, 0) << QPoint(0, 0);
    QTest::addRow("anticlockwise, top-left") << false << QSize(96, 22) << QPoint(0, 0) << QPoint(0, 95);
    QTest::addRow("anticlockwise, bottom-left") << false << QSize(96, 22) << QPoint(0, 21) << QPoint(21, 95);
    QTest::addRow("anticlockwise, bottom-right") << false << QSize(96, 22) << QPoint(95, 21) << QPoint(21, 0);
    // Clockwise: the old bottom-left comes to the top-left.
    QTest::addRow("clockwise, bottom-left") << true << QSize(7, 16) << QPoint(0, 15) << QPoint(0, 0);
    QTest::addRow("clockwise, top-left") << true << QSize(7, 16) << QPoint(0, 0) << QPoint(15, 0);
    QTest::addRow("clockwise, top-right") << true << QSize(7, 16) << QPoint(6, 0) << QPoint(15, 6);
    QTest::addRow("clockwise, inner pixel") << true << QSize(7, 16) << QPoint(2, 5) << QPoint(10, 2);
}

void tst_KAVFunctions::roundPicture()
{
    QFETCH(bool, clockwise);
    QFETCH(QSize, size);
    QFETCH(QPoint, oldPixel);
    QFETCH(QPoint, newPixel);

    QImage picture = coordinatePicture(size.width(), size.height());
    clockwise ? RoundPicture3(picture) : RoundPicture(picture);
    QCOMPARE(picture.size(), size.transposed());
    QCOMPARE(sourceOf(picture.pixel(newPixel)), oldPixel);
}

void tst_KAVFunctions::roundPictureRoundTrip()
{
    const QImage original = coordinatePicture(13, 5);
    QImage picture = original;
    RoundPicture(picture);
    RoundPicture3(picture);
    QCOMPARE(picture, original);

    QImage twice = original;
    RoundPicture(twice);
    RoundPicture(twice);
    QCOMPARE(twice, original.mirrored(true, true));

    QImage empty;
    RoundPicture(empty);
    RoundPicture3(empty);
    QVERIFY(empty.isNull());
}

// --- SetBitmapWindow --------------------------------------------------------------------------

void tst_KAVFunctions::bitmapRegion_data()
{
    QTest::addColumn<QStringList>("rows"); // M = magenta, R = red
    QTest::addColumn<QList<QRect>>("rects");

    QTest::addRow("runs in one row") << QStringList{"MRRMR"} << QList<QRect>{QRect(1, 0, 2, 1), QRect(4, 0, 1, 1)};
    QTest::addRow("all transparent") << QStringList{"MMM", "MMM"} << QList<QRect>{};
    QTest::addRow("all opaque") << QStringList{"RRR", "RRR"} << QList<QRect>{QRect(0, 0, 3, 2)};
    QTest::addRow("rounded corners")
        << QStringList{"MRRM", "RRRR", "MRRM"}
        << QList<QRect>{QRect(1, 0, 2, 1), QRect(0, 1, 4, 1), QRect(1, 2, 2, 1)};
}

void tst_KAVFunctions::bitmapRegion()
{
    QFETCH(QStringList, rows);
    QFETCH(QList<QRect>, rects);

    QImage picture(rows.first().size(), rows.size(), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            picture.setPixel(x, y, rows[y][x] == u'M' ? Magenta : qRgb(255, 0, 0));

    QRegion expected;
    for (const QRect &rect : rects)
        expected += rect;
    QCOMPARE(BitmapRegion(picture, clFuchsia), expected);
}

void tst_KAVFunctions::setBitmapWindowSetsMask()
{
    QImage picture(5, 1, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    picture.setPixel(0, 0, Magenta);
    picture.setPixel(3, 0, Magenta);

    QWidget window;
    window.resize(5, 1);
    const QRegion region = SetBitmapWindow(&window, picture, clFuchsia);
    QCOMPARE(window.mask(), region);
    QCOMPARE(region, QRegion(1, 0, 2, 1) + QRegion(4, 0, 1, 1));
}

// --- InRect, PlaceControl ---------------------------------------------------------------------

void tst_KAVFunctions::inRect_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("inside");

    const QRect square = Kav::KavRect(0, 0, 10, 10);
    QTest::addRow("right-bottom edge counts") << QPoint(10, 10) << square << true;
    QTest::addRow("left-top edge counts") << QPoint(0, 0) << square << true;
    QTest::addRow("inside") << QPoint(5, 3) << square << true;
    QTest::addRow("past the right edge") << QPoint(11, 5) << square << false;
    QTest::addRow("past the bottom edge") << QPoint(5, 11) << square << false;
    QTest::addRow("left of the rect") << QPoint(-1, 5) << square << false;
    QTest::addRow("above an offset rect") << QPoint(25, 19) << Kav::KavRect(20, 20, 30, 30) << false;
    QTest::addRow("on an offset rect's far corner") << QPoint(30, 30) << Kav::KavRect(20, 20, 30, 30) << true;
}

void tst_KAVFunctions::inRect()
{
    QFETCH(QPoint, point);
    QFETCH(QRect, rect);
    QFETCH(bool, inside);
    QCOMPARE(InRect(point, rect), inside);
    QCOMPARE(InRect(point.x(), point.y(), rect), inside);
}

void tst_KAVFunctions::placeControl()
{
    QWidget parent;
    QWidget control(&parent);
    control.setGeometry(1, 2, 3, 4);

    PlaceControl(&control, QPoint(7, 9));
    QCOMPARE(control.geometry(), QRect(7, 9, 3, 4));

    PlaceControl(&control, Kav::KavRect(5, 6, 25, 36));
    QCOMPARE(control.geometry(), QRect(5, 6, 20, 30));

    PlaceControl(nullptr, QPoint(1, 1));
}

// --- PCharToStr -------------------------------------------------------------------------------

void tst_KAVFunctions::pcharToStr_data()
{
    QTest::addColumn<QByteArray>("bytes"); // passed with its NUL
    QTest::addColumn<QString>("expected");

    QTest::addRow("plain") << QByteArray("abc") << QStringLiteral("abc");
    QTest::addRow("empty") << QByteArray("") << QString();
    QTest::addRow("stops at the first NUL") << QByteArray("ab\0cd", 5) << QStringLiteral("ab");
    QTest::addRow("chinese") << QByteArray("正确") << QStringLiteral("正确");
}

void tst_KAVFunctions::pcharToStr()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(PCharToStr(bytes.constData()), expected);
    QCOMPARE(PCharToStr(bytes.constData(), bytes.size() + 1), expected);
}

void tst_KAVFunctions::pcharToStrBounded()
{
    QVERIFY(PCharToStr(nullptr).isEmpty());
    QVERIFY(PCharToStr(nullptr, 4).isEmpty());
    const char unterminated[3] = {'x', 'y', 'z'};
    QCOMPARE(PCharToStr(unterminated, 3), QStringLiteral("xyz"));
    QCOMPARE(PCharToStr(unterminated, 2), QStringLiteral("xy"));
}

// --- IsHasProperty, ContainerApplyUIStyle -----------------------------------------------------

void tst_KAVFunctions::isHasProperty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("has");

    QTest::addRow("exact") << QStringLiteral("UIStyle") << true;
    QTest::addRow("lower case") << QStringLiteral("uistyle") << true;
    QTest::addRow("upper case") << QStringLiteral("FILETHEME") << true;
    QTest::addRow("inherited") << QStringLiteral("ENABLED") << true;
    QTest::addRow("missing") << QStringLiteral("Caption") << false;
    QTest::addRow("prefix only") << QStringLiteral("UISty") << false;
}

void tst_KAVFunctions::isHasProperty()
{
    QFETCH(QString, name);
    QFETCH(bool, has);

    ThemedWidget widget;
    QCOMPARE(IsHasProperty(&widget, name), has);
    QVERIFY(!IsHasProperty(nullptr, name));
    // Dynamic properties are not published by the class.
    QObject plain;
    plain.setProperty("UIStyle", 1);
    QVERIFY(!IsHasProperty(&plain, QStringLiteral("UIStyle")));
}

void tst_KAVFunctions::containerApplyUIStyleOrderAndReach()
{
    QWidget container;
    auto *first = new ThemedWidget(&container);
    first->setObjectName("first");
    auto *styleOnly = new StyleOnlyWidget(&container);
    styleOnly->setObjectName("styleOnly");
    auto *component = new ThemedComponent(&container);
    component->setObjectName("component");
    auto *plain = new QWidget(&container);
    auto *grandchild = new ThemedWidget(plain);
    grandchild->setObjectName("grandchild");
    auto *second = new ThemedWidget(&container);
    second->setObjectName("second");

    FakeFileTheme theme;
    StyleLog::entries().clear();
    ContainerApplyUIStyle(&container, ThemedWidget::WinXP, &theme);

    QCOMPARE(StyleLog::entries(), (QStringList{"first:FileTheme", "first:UIStyle", "second:FileTheme",
                                               "second:UIStyle"}));
    QCOMPARE(first->fileTheme(), &theme);
    QCOMPARE(second->uiStyle(), ThemedWidget::WinXP);
    QCOMPARE(styleOnly->uiStyle(), 3);
    QCOMPARE(grandchild->fileTheme(), nullptr);

    ContainerApplyUIStyle(nullptr, 1, &theme);
}

void tst_KAVFunctions::containerApplyUIStyleValues()
{
    QWidget container;
    auto *child = new ThemedWidget(&container);
    FakeFileTheme theme;

    // A plain number writes the enumeration property too.
    ContainerApplyUIStyle(&container, QVariant(int(ThemedWidget::MacOS)), &theme);
    QCOMPARE(child->uiStyle(), ThemedWidget::MacOS);
    QCOMPARE(child->fileTheme(), &theme);

    // No file theme clears the child's.
    ContainerApplyUIStyle(&container, ThemedWidget::DeepBlue, nullptr);
    QCOMPARE(child->uiStyle(), ThemedWidget::DeepBlue);
    QCOMPARE(child->fileTheme(), nullptr);
}

// --- DoTrans ----------------------------------------------------------------------------------

void tst_KAVFunctions::doTransShowsParentBackground()
{
    StripedParent parent;
    parent.resize(60, 40);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(200, 30, 30));
    parent.setPalette(palette);
    parent.blueColumns = 15;

    auto *control = new QWidget(&parent);
    control->setGeometry(10, 10, 20, 20);
    // A sibling over part of the control stays out of the picture.
    auto *sibling = new QWidget(&parent);
    sibling->setAutoFillBackground(true);
    QPalette green = sibling->palette();
    green.setColor(QPalette::Window, Qt::green);
    sibling->setPalette(green);
    sibling->setGeometry(20, 20, 10, 10);

    QImage canvas = canvasOf(20, 20);
    DoTrans(canvas, control);

    QCOMPARE(canvas.pixel(0, 0), qRgb(0, 0, 255));      // parent x = 10 is painted blue
    QCOMPARE(canvas.pixel(4, 19), qRgb(0, 0, 255));     // parent x = 14
    QCOMPARE(canvas.pixel(5, 0), qRgb(200, 30, 30));    // parent x = 15, window colour
    QCOMPARE(canvas.pixel(15, 15), qRgb(200, 30, 30));  // under the sibling: still the parent
}

// DoTrans paints plain widgets and face sources itself, everything else through QWidget::render:
// the pixels are the same either way.
void tst_KAVFunctions::doTransPaintsWhatRenderPaints_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("autoFill");
    QTest::addRow("plain widget") << 0 << false;
    QTest::addRow("plain widget filling its background") << 0 << true;
    QTest::addRow("face source") << 1 << false;
    QTest::addRow("painting subclass without its own meta-object") << 2 << true;
    QTest::addRow("widget with a style sheet") << 3 << false;
}

void tst_KAVFunctions::doTransPaintsWhatRenderPaints()
{
    QFETCH(int, kind);
    QFETCH(bool, autoFill);
    QWidget window;
    window.resize(120, 80);
    QWidget *parent = kind == 1 ? new FaceParent(&window)
                    : kind == 2 ? new PaintingWithoutMetaObject(&window)
                                : new QWidget(&window);
    parent->setGeometry(5, 5, 100, 60);
    parent->setAutoFillBackground(autoFill);
    QPalette palette = parent->palette();
    palette.setColor(QPalette::Window, QColor(20, 90, 200));
    parent->setPalette(palette);
    if (kind == 3)
        parent->setStyleSheet(QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 red, stop:1 blue);"));
    auto *control = new QWidget(parent);
    control->setGeometry(7, 9, 40, 30);
    window.show();

    QImage canvas = canvasOf(40, 30);
    DoTrans(canvas, control);
    QImage expected = canvasOf(40, 30);
    parent->render(&expected, QPoint(), QRegion(control->geometry()), QWidget::DrawWindowBackground);
    QCOMPARE(canvas, expected);
}

void tst_KAVFunctions::doTransWithoutParent()
{
    QWidget orphan;
    orphan.resize(10, 10);
    QImage canvas = canvasOf(10, 10);
    DoTrans(canvas, &orphan);
    DoTrans(canvas, nullptr);
    QCOMPARE(canvas, canvasOf(10, 10));
}

void tst_KAVFunctions::doTransInsidePaintEvent()
{
    QTest::failOnWarning(QRegularExpression(".*"));
    StripedParent parent;
    parent.resize(60, 40);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(30, 160, 30));
    parent.setPalette(palette);
    parent.blueColumns = 20;
    auto *control = new SeeThroughControl(&parent);
    control->setGeometry(15, 5, 20, 20);

    const QImage shot = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.pixel(16, 6), qRgb(0, 0, 255));
    QCOMPARE(shot.pixel(25, 6), qRgb(30, 160, 30));
    QCOMPARE(shot.pixel(34, 24), qRgb(30, 160, 30));
}

// --- DrawControlBorder ------------------------------------------------------------------------

void tst_KAVFunctions::drawControlBorder_data()
{
    QTest::addColumn<bool>("drawInner");
    QTest::addColumn<quint32>("innerColour");
    QTest::addColumn<QRgb>("expectedInner");

    QTest::addRow("border and inner line") << true << quint32(0x00FF00) << qRgb(0, 255, 0);
    QTest::addRow("border only") << false << quint32(0x00FF00) << Grey;
    // 0x80000005 is the system's window colour, the edits' usual colour.
    QTest::addRow("system window colour") << true << quint32(0x80000005) << qRgb(1, 2, 3);
}

void tst_KAVFunctions::drawControlBorder()
{
    QFETCH(bool, drawInner);
    QFETCH(quint32, innerColour);
    QFETCH(QRgb, expectedInner);

    QWidget control;
    control.resize(10, 8);
    QPalette palette = control.palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    control.setPalette(palette);

    QImage canvas = canvasOf(10, 8);
    {
        QPainter painter(&canvas);
        DrawControlBorder(&control, painter, TColor(0x0000FF), TColor(innerColour), drawInner);
    }
    const QRgb red = qRgb(255, 0, 0);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool outer = x == 0 || y == 0 || x == 9 || y == 7;
            const bool inner = !outer && (x == 1 || y == 1 || x == 8 || y == 6);
            const QRgb want = outer ? red : inner ? expectedInner : Grey;
            QCOMPARE(canvas.pixel(x, y), want);
        }
    }
}

// --- FormHasFocus -----------------------------------------------------------------------------

void tst_KAVFunctions::formHasFocus()
{
    QWidget form;
    QWidget mainForm;

    // Without a main form the form's own activity decides.
    QVERIFY(!FormHasFocus(&form, nullptr));
    QVERIFY(!FormHasFocus(nullptr, nullptr));

    // An MDI parent counts for itself even while the application is inactive.
    QWidget mdiMain;
    new QMdiArea(&mdiMain);
    QVERIFY(FormHasFocus(&mdiMain, &mdiMain));

    if (QGuiApplication::applicationState() != Qt::ApplicationActive) {
        QVERIFY(!FormHasFocus(&mainForm, &mainForm));
        QVERIFY(!FormHasFocus(&form, &mainForm));
    }

    mainForm.show();
    mainForm.activateWindow();
    if (!QTest::qWaitForWindowActive(&mainForm))
        QSKIP("window activation is not available on this platform");
    QVERIFY(FormHasFocus(&mainForm, &mainForm));
    QVERIFY(FormHasFocus(nullptr, &mainForm));
    QVERIFY(!FormHasFocus(&form, &mainForm));

    // The active MDI child counts; another child does not.
    QWidget mdiParent;
    auto *area = new QMdiArea(&mdiParent);
    mdiParent.resize(300, 200);
    area->resize(300, 200);
    auto *childA = new QWidget;
    auto *childB = new QWidget;
    area->addSubWindow(childA)->show();
    area->addSubWindow(childB)->show();
    mdiParent.show();
    mdiParent.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mdiParent));
    area->setActiveSubWindow(area->subWindowList().at(0));
    QVERIFY(FormHasFocus(childA, &mdiParent));
    area->setActiveSubWindow(area->subWindowList().at(1));
    QVERIFY(FormHasFocus(childB, &mdiParent));
    QVERIFY(!FormHasFocus(childA, &mdiParent));
}

QTEST_MAIN(tst_KAVFunctions)
#include "tst_kavfunctions.moc"
