#include "KAVFaceCache.h"
#include "KAVFunctions.h"
#include "KAVMgr.h"
#include "KAVPictureStore.h"
#include "KAVThemeFile.h"
#include "KAVThemeValues.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace Kav;

namespace {

constexpr QRgb Magenta = qRgb(255, 0, 255);

// A 3 x 2 picture: a key-coloured column on the left, then red and blue.
QImage keyedPicture(QRgb key)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        picture.setPixel(0, y, key);
        picture.setPixel(1, y, qRgb(200, 0, 0));
        picture.setPixel(2, y, qRgb(0, 0, 200));
    }
    return picture;
}

// A strip of three 2 x 2 frames of one colour each.
QImage strip(QRgb a, QRgb b, QRgb c)
{
    QImage picture(6, 2, QImage::Format_RGB32);
    const QRgb colours[] = {a, b, c};
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 2; ++y)
            picture.setPixel(x, y, colours[x / 2]);
    return picture;
}

bool writeTheme(const QString &path, const QImage &buttonStrip)
{
    const QString picture = path + QStringLiteral(".button.bmp");
    if (!buttonStrip.save(picture, "BMP"))
        return false;
    TkavThemeFileWriter writer(path);
    writer.AddFile(Kav::KavThemeKeyName(KavKey::ButtonImage), picture);
    return writer.Save();
}

} // namespace

// The picture store decodes and prepares each picture once and hands every control the same one;
// a file theme that loads another file gets new pictures and its old faces are retired.
class tst_KavPictureStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void builtInPictureIsDecodedOnce()
    {
        TkavPictureStore &store = TkavPictureStore::instance();
        store.clear();
        const PictureSource macOS{TkavUIStyle::MacOS, nullptr, 0};
        const auto before = store.counters();
        const TkavPicture first = store.themePicture(macOS, KavKey::ButtonImage, {3, 2});
        const TkavPicture again = store.themePicture(macOS, KavKey::ButtonImage, {3, 2});
        const TkavPicture otherFrame = store.themePicture(macOS, KavKey::ButtonImage, {3, 3});
        const auto after = store.counters();

        QVERIFY(!first.isNull());
        QCOMPARE(first.size(), QSize(84, 23));
        QCOMPARE(again.id(), first.id());
        QVERIFY(again.image().constBits() == first.image().constBits()); // shared pixels, no copy
        QVERIFY(otherFrame.id() != first.id());
        QCOMPARE(after.decodes - before.decodes, 1);      // one decode for both frames
        QCOMPARE(after.preparations - before.preparations, 2); // two frames cut
        // The double-density pixels wait until they are asked for (a screen of ratio 1 never
        // does), and are then decoded once for every frame and copy of the picture.
        QCOMPARE(after.decodes2x, before.decodes2x);
        QCOMPARE(first.image2x().size(), QSize(168, 46));
        QVERIFY(again.image2x().constBits() == first.image2x().constBits());
        QVERIFY(otherFrame.has2x());
        QCOMPARE(store.counters().decodes2x - before.decodes2x, 1);
    }

    void framesMatchTheLookUpHelpers_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("frame");
        QTest::addRow("WinXP button hover") << TkavUIStyle::WinXP << int(KavKey::ButtonImage) << 3 << 2;
        QTest::addRow("DeepBlue scroll button whole") << TkavUIStyle::DeepBlue << int(KavKey::ScrollButtonImage) << 0 << 0;
        QTest::addRow("Protein radio last") << TkavUIStyle::Protein << int(KavKey::RadioButtonImage) << 4 << 4;
    }

    void framesMatchTheLookUpHelpers()
    {
        QFETCH(TkavUIStyle, look);
        QFETCH(int, key);
        QFETCH(int, frames);
        QFETCH(int, frame);
        QImage expected;
        GetInsideThemeBitmap(look, key, &expected, frames, frame);
        const TkavPicture picture = TkavPictureStore::instance().themePicture({look, nullptr, 0}, key, {frames, frame});
        QCOMPARE(picture.image().convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    }

    void looksSharingAPictureShareItsFrames()
    {
        // DeepBlue, Protein and BlueGlass name the same scroll-button picture.
        TkavPictureStore &store = TkavPictureStore::instance();
        const TkavPicture deepBlue = store.themePicture({TkavUIStyle::DeepBlue, nullptr, 0}, KavKey::ScrollButtonImage, {4, 1});
        const TkavPicture protein = store.themePicture({TkavUIStyle::Protein, nullptr, 0}, KavKey::ScrollButtonImage, {4, 1});
        QCOMPARE(protein.id(), deepBlue.id());
    }

    void masksAndGrey_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<PictureMask>("mask");
        QTest::addColumn<bool>("greyed");
        QTest::addColumn<bool>("firstColumnTransparent");
        QTest::addColumn<QRgb>("secondPixel");
        const QRgb red = qRgb(200, 0, 0);
        const int grey = 128 + qGray(red) / 2;
        QTest::addRow("none") << keyedPicture(Magenta) << PictureMask::None << false << false << red;
        QTest::addRow("magenta") << keyedPicture(Magenta) << PictureMask::Magenta << false << true << red;
        QTest::addRow("magenta absent") << keyedPicture(qRgb(1, 2, 3)) << PictureMask::Magenta << false << false << red;
        QTest::addRow("top-left colour") << keyedPicture(qRgb(1, 2, 3)) << PictureMask::TopLeft << false << true << red;
        QTest::addRow("bottom-left colour") << keyedPicture(qRgb(9, 9, 9)) << PictureMask::BottomLeft << false << true << red;
        QTest::addRow("greyed and masked") << keyedPicture(Magenta) << PictureMask::Magenta << true << true
                                           << qRgb(grey, grey, grey);
    }

    void masksAndGrey()
    {
        QFETCH(QImage, source);
        QFETCH(PictureMask, mask);
        QFETCH(bool, greyed);
        QFETCH(bool, firstColumnTransparent);
        QFETCH(QRgb, secondPixel);
        const TkavPicture picture = TkavPictureStore::instance().userPicture(source, {0, 0, mask, greyed});
        QVERIFY(!picture.isNull());
        const QImage pixels = picture.image().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(pixels.pixel(0, 1)) == 0, firstColumnTransparent);
        QCOMPARE(pixels.pixel(1, 0), secondPixel | 0xFF000000u);
        QCOMPARE(qAlpha(pixels.pixel(2, 1)), 255);
    }

    void userPictureIsPreparedOncePerImage()
    {
        TkavPictureStore &store = TkavPictureStore::instance();
        const QImage glyph = keyedPicture(Magenta);
        const PictureRecipe masked{0, 0, PictureMask::Magenta, false};
        const TkavPicture first = store.userPicture(glyph, masked);
        const auto before = store.counters();
        const TkavPicture again = store.userPicture(glyph, masked);
        QCOMPARE(store.counters().preparations, before.preparations);
        QCOMPARE(again.id(), first.id());
        QVERIFY(store.userPicture(QImage(), masked).isNull());
    }

    void missingPictureIsNullAndWarnedOnce()
    {
        TkavPictureStore &store = TkavPictureStore::instance();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("NO_SUCH_PICTURE")));
        QVERIFY(store.resourcePicture(QStringLiteral("NO_SUCH_PICTURE")).isNull());
        // Asked again, it is answered from the store: no second decode and no second warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("NO_SUCH_PICTURE")));
        const auto before = store.counters();
        QVERIFY(store.resourcePicture(QStringLiteral("NO_SUCH_PICTURE")).isNull());
        QCOMPARE(store.counters().decodes, before.decodes);
        // A frame of an empty picture is empty too.
        QVERIFY(store.resourcePicture(QStringLiteral("NO_SUCH_PICTURE"), {4, 1}).isNull());
    }

    void fileThemeReloadGivesNewPicturesAndRetiresOldFaces()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fileA = dir.filePath(QStringLiteral("a.kav"));
        const QString fileB = dir.filePath(QStringLiteral("b.kav"));
        QVERIFY(writeTheme(fileA, strip(qRgb(10, 0, 0), qRgb(20, 0, 0), qRgb(30, 0, 0))));
        QVERIFY(writeTheme(fileB, strip(qRgb(0, 10, 0), qRgb(0, 20, 0), qRgb(0, 30, 0))));

        TkavFileTheme theme;
        theme.setThemeFile(fileA);
        QVERIFY(theme.CanUse());
        const KavThemeValues valuesA(TkavUIStyle::FromThemeFile, &theme);
        const TkavPicture frameA = valuesA.picture(KavKey::ButtonImage, {3, 2});
        QCOMPARE(frameA.image().pixel(0, 0), qRgb(20, 0, 0));
        QCOMPARE(valuesA.picture(KavKey::ButtonImage, {3, 2}).id(), frameA.id());

        // A face composed from the old picture is retired with it.
        QImage canvas(8, 8, QImage::Format_RGB32);
        SpitDraw(frameA, canvas, QRect(0, 0, 8, 8), false);
        const TkavFaceCache::Key faceKey{frameA.id(), QSize(8, 8), 0};
        QVERIFY(!TkavFaceCache::shared().find(faceKey).isNull());

        theme.setThemeFile(fileB);
        QVERIFY(theme.CanUse());
        QVERIFY(TkavFaceCache::shared().find(faceKey).isNull());
        const KavThemeValues valuesB(TkavUIStyle::FromThemeFile, &theme);
        const TkavPicture frameB = valuesB.picture(KavKey::ButtonImage, {3, 2});
        QVERIFY(frameB.id() != frameA.id());
        QCOMPARE(frameB.image().pixel(0, 0), qRgb(0, 20, 0));
        // The control that still holds the old picture keeps valid pixels until it reloads.
        QCOMPARE(frameA.image().pixel(0, 0), qRgb(20, 0, 0));
    }

    void identicalControlsShareOneFace()
    {
        TkavFaceCache &cache = TkavFaceCache::shared();
        const TkavPicture frame =
            TkavPictureStore::instance().themePicture({TkavUIStyle::Protein, nullptr, 0}, KavKey::ButtonImage, {3, 1});
        const auto before = cache.counters();
        for (int i = 0; i < 10; ++i) {
            QImage canvas(61, 23, QImage::Format_RGB32);
            SpitDraw(frame, canvas, QRect(0, 0, 61, 23), true);
        }
        const auto after = cache.counters();
        QCOMPARE(after.composed - before.composed, 1);
        QCOMPARE(after.hits - before.hits, 9);
    }
};

QTEST_MAIN(tst_KavPictureStore)
#include "tst_kavpicturestore.moc"
