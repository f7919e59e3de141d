#include "KAVMgr.h"
#include "KAVPictureBudget.h"
#include "KAVPictureStore.h"
#include "KAVThemeFile.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"

#include <QBuffer>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <limits>

using namespace Kav;

namespace {

void put32(QByteArray &bytes, int at, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + at);
}

void put16(QByteArray &bytes, int at, qint16 value)
{
    qToLittleEndian<qint16>(value, bytes.data() + at);
}

// A 1-bit bitmap file declaring width x height, written by hand so that huge declared sizes cost
// nothing: with pixels false only the headers and palette are there (enough for a header probe).
// The pixels, when present, alternate stored rows of palette colours 1 (white) and 0 (black).
QByteArray monoBitmap(int width, int height, bool pixels = true)
{
    const int stride = ((width + 31) / 32) * 4;
    const int dataAt = 14 + 40 + 8;
    const qint64 dataSize = pixels ? qint64(stride) * height : 0;
    QByteArray bytes(int(dataAt + dataSize), '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, bytes.size());
    put32(bytes, 10, dataAt);
    put32(bytes, 14, 40);
    put32(bytes, 18, width);
    put32(bytes, 22, height);
    put16(bytes, 26, 1);
    put16(bytes, 28, 1);
    put32(bytes, 34, qint32(qint64(stride) * height));
    // Palette: black, white.
    bytes[58] = char(0xff);
    bytes[59] = char(0xff);
    bytes[60] = char(0xff);
    for (int y = 0; pixels && y < height; y += 2)
        std::memset(bytes.data() + dataAt + qint64(y) * stride, 0xff, size_t(stride));
    return bytes;
}

// A 24-bit bitmap of 4 x 4 pixels with the given header fields, as a careless or hostile writer
// might leave them.
QByteArray patchedBitmap(qint32 width, qint32 height, quint16 bitDepth, quint32 headerSize = 40)
{
    QByteArray bytes(14 + 40 + 48, '\x40');
    std::memset(bytes.data(), 0, 14 + 40);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, bytes.size());
    put32(bytes, 10, 14 + 40);
    put32(bytes, 14, qint32(headerSize));
    put32(bytes, 18, width);
    put32(bytes, 22, height);
    put16(bytes, 26, 1);
    put16(bytes, 28, qint16(bitDepth));
    return bytes;
}

QByteArray colourBitmap(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class tst_KAVPictureBudget : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A theme file of picture entries (name -> bitmap file bytes) and one integer.
    QString writeTheme(const QString &name, const QList<QPair<QString, QByteArray>> &pictures)
    {
        const QString path = m_dir.filePath(name + QStringLiteral(".kav"));
        TkavThemeFileWriter writer(path);
        for (const auto &[entry, bytes] : pictures) {
            const QString source = m_dir.filePath(name + QLatin1Char('-') + entry + QStringLiteral(".bmp"));
            if (!writeAll(source, bytes))
                return {};
            writer.AddFile(entry, source);
        }
        writer.AddInteger(KavThemeKeyName(KavKey::FormBackgroundColor), 0x123456);
        return writer.Save() ? path : QString();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void headerProbe_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("accepted");

        const int side = PictureBudget::MaxSide;
        const int sideForBytes = int(PictureBudget::MaxPictureBytes / 4 / side);
        QTest::newRow("normal") << colourBitmap(5, 3, qRgb(1, 2, 3)) << QSize(5, 3) << true;
        QTest::newRow("exactly the limits") << monoBitmap(side, sideForBytes, false) << QSize(side, sideForBytes) << true;
        QTest::newRow("one row over the bytes") << monoBitmap(side, sideForBytes + 1, false)
                                                << QSize(side, sideForBytes + 1) << false;
        QTest::newRow("widest") << monoBitmap(side, 1, false) << QSize(side, 1) << true;
        QTest::newRow("too wide") << monoBitmap(side + 1, 1, false) << QSize(side + 1, 1) << false;
        QTest::newRow("too tall") << monoBitmap(1, side + 1, false) << QSize(1, side + 1) << false;
        QTest::newRow("hostile 5000 x 5000") << monoBitmap(5000, 5000, false) << QSize(5000, 5000) << false;
        // Stored top row first: Qt's reader tells the height as negative, the picture is upright.
        QTest::newRow("top row first") << patchedBitmap(4, -4, 24) << QSize(4, 4) << true;
        QTest::newRow("top row first, too tall") << monoBitmap(1, -(side + 1), false) << QSize(1, side + 1) << false;
        QTest::newRow("truncated header") << monoBitmap(100, 100, false).left(20) << QSize() << false;
        QTest::newRow("not a bitmap") << QByteArray("GIF89a not a bitmap at all") << QSize() << false;
        QTest::newRow("empty") << QByteArray() << QSize() << false;
    }

    void headerProbe()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(bool, accepted);
        const QSize probed = KavPictureHeaderSize(bytes);
        QCOMPARE(probed, size);
        QCOMPARE(KavPictureRefusal(probed).isEmpty(), accepted);
        if (!accepted && size.isValid())
            QVERIFY2(KavPictureRefusal(probed).contains(QString::number(size.width())), qPrintable(KavPictureRefusal(probed)));
    }

    // The decoder itself: what fits comes back whole, what does not comes back null with a reason,
    // without the pixels ever being decoded.
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decoded");

        const int side = PictureBudget::MaxSide;
        const int sideForBytes = int(PictureBudget::MaxPictureBytes / 4 / side);
        QTest::newRow("exactly the limits") << monoBitmap(side, sideForBytes) << true;
        QTest::newRow("one row over") << monoBitmap(side, sideForBytes + 1) << false;
        QTest::newRow("declares 5000 x 5000, has no pixels") << monoBitmap(5000, 5000, false) << false;
        // Qt decodes what is there; the size is still the header's, which the budget admitted.
        QTest::newRow("pixels cut short") << monoBitmap(64, 64).left(100) << true;
        QTest::newRow("not a bitmap") << QByteArray("plain text") << false;
        QTest::newRow("top row first") << patchedBitmap(4, -4, 24) << true;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decoded);
        QString why = QStringLiteral("stale");
        const QImage picture = KavDecodeBudgetedPicture(bytes, &why);
        QCOMPARE(!picture.isNull(), decoded);
        QCOMPARE(why.isEmpty(), decoded);
        if (decoded) {
            QCOMPARE(picture.size(), KavPictureHeaderSize(bytes));
            // Rows are stored bottom up; the first stored one is white.
            if (bytes.size() > 28 && bytes[28] == 1)
                QCOMPARE(picture.pixel(0, picture.height() - 1), qRgb(255, 255, 255));
        }
    }

    // One oversized entry among good ones: the file loads, that key reads as missing, the others
    // are used, and the theme says which entry was refused and why.
    void oversizedEntryReadsAsMissing()
    {
        const QString path = writeTheme(QStringLiteral("oversized"),
                                        {{KavThemeKeyName(KavKey::ButtonImage), colourBitmap(30, 10, qRgb(0, 128, 0))},
                                         {KavThemeKeyName(KavKey::CheckBoxImage), monoBitmap(5000, 5000, false)},
                                         {KavThemeKeyName(KavKey::ProgressBarImage), colourBitmap(4, 4, qRgb(9, 9, 9))}});
        QVERIFY(!path.isEmpty());

        TkavThemeFileReader reader(path);
        QVERIFY(!reader.isDamaged()); // the chain is whole
        QCOMPARE(reader.refusedEntries().size(), 1);
        QCOMPARE(reader.refusedEntries().first().name, KavThemeKeyName(KavKey::CheckBoxImage));
        QVERIFY(reader.picture(KavThemeKeyName(KavKey::CheckBoxImage)).isNull());

        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("CheckBoxImage.*refused.*5000 x 5000")));
        TkavFileTheme theme;
        theme.setThemeFile(path);
        QVERIFY(theme.CanUse());
        QVERIFY(theme.isDamaged());
        QVERIFY2(theme.errorString().contains(QStringLiteral("CheckBoxImage")), qPrintable(theme.errorString()));
        QVERIFY2(theme.errorString().contains(QStringLiteral("5000 x 5000")), qPrintable(theme.errorString()));

        QImage picture(1, 1, QImage::Format_RGB32);
        theme.GetBitmap(KavKey::CheckBoxImage, &picture);
        QVERIFY(picture.isNull());
        theme.GetBitmap(KavKey::ButtonImage, &picture);
        QCOMPARE(picture.size(), QSize(30, 10));
        QCOMPARE(picture.pixel(0, 0), qRgb(0, 128, 0));
        QCOMPARE(theme.GetInt(KavKey::FormBackgroundColor), 0x123456);

        const PictureSource source{TkavUIStyle::FromThemeFile, &theme, theme.revision()};
        QVERIFY(TkavPictureStore::instance().themePicture(source, KavKey::CheckBoxImage, {4, 1}).isNull());
    }

    // A picture entry that cannot be decoded is reported like a refused one: named with the reason
    // in errorString(), warned about, isDamaged(). Header faults are found at load; pixels that do
    // not decode when the picture is first asked for. The entry reads as missing, the rest of the
    // file is used, and a control asking for the picture gets the built-in look's.
    void undecodablePicture_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("foundAtLoad");
        QTest::addColumn<QString>("reason");

        const QString check = KavThemeKeyName(KavKey::CheckBoxImage);
        QTest::newRow("width 0") << check << patchedBitmap(0, 4, 24) << true << "0 x 4 pixels";
        QTest::newRow("negative width") << check << patchedBitmap(-4, 4, 24) << true << "-4 x 4 pixels";
        QTest::newRow("height -2^31") << check << patchedBitmap(4, std::numeric_limits<qint32>::min(), 24) << true
                                      << "4 x -2147483648 pixels";
        QTest::newRow("height 0") << check << patchedBitmap(4, 0, 24) << true << "4 x 0 pixels";
        for (const quint16 bits : {0, 2, 7, 64})
            QTest::addRow("bit depth %d", bits) << check << patchedBitmap(4, 4, bits) << true
                                                << QStringLiteral("%1 bits a pixel").arg(bits);
        QTest::newRow("header size 0xFFFFFFF0") << check << patchedBitmap(4, 4, 24, 0xFFFFFFF0) << true
                                                << "header size 4294967280";
        QTest::newRow("header size 0") << check << patchedBitmap(4, 4, 24, 0) << true << "header size 0";
        QTest::newRow("header cut short") << check << patchedBitmap(4, 4, 24).left(20) << true << "cut short";
        QTest::newRow("no bitmap at all") << check << QByteArray("GIF89a, a picture of another kind") << true
                                          << "not a bitmap file";
        QTest::newRow("no pixels") << check << patchedBitmap(4, 4, 24).left(14 + 40) << false << "cannot be decoded";
        QTest::newRow("double density") << KavDoubleDensityName(KavThemeKeyName(KavKey::ButtonImage))
                                        << patchedBitmap(4, 4, 7) << true << "7 bits a pixel";
    }

    void undecodablePicture()
    {
        QFETCH(QString, entry);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, foundAtLoad);
        QFETCH(QString, reason);

        const QString button = KavThemeKeyName(KavKey::ButtonImage);
        const QString path = writeTheme(QStringLiteral("undecodable"),
                                        {{button, colourBitmap(30, 10, qRgb(0, 128, 0))}, {entry, bytes}});
        QVERIFY(!path.isEmpty());
        const QRegularExpression warning(QStringLiteral("\"%1\" was refused: .*%2")
                                             .arg(QRegularExpression::escape(entry), QRegularExpression::escape(reason)));

        if (foundAtLoad)
            QTest::ignoreMessage(QtWarningMsg, warning);
        TkavFileTheme theme;
        theme.setThemeFile(path);
        QVERIFY(theme.CanUse());
        QCOMPARE(theme.isDamaged(), foundAtLoad);

        const int key = KavThemeKeyByName(entry.endsWith(QStringLiteral("@2x")) ? entry.chopped(3) : entry);
        if (!foundAtLoad)
            QTest::ignoreMessage(QtWarningMsg, warning);
        QImage picture(1, 1, QImage::Format_RGB32);
        if (entry.endsWith(QStringLiteral("@2x")))
            theme.GetBitmap2x(key, &picture);
        else
            theme.GetBitmap(key, &picture);
        QVERIFY(picture.isNull());
        QVERIFY(theme.isDamaged());
        QVERIFY2(theme.errorString().contains(QStringLiteral("\"%1\" was refused").arg(entry)), qPrintable(theme.errorString()));
        QVERIFY2(theme.errorString().contains(reason), qPrintable(theme.errorString()));
        // Told once: asking again warns no more (a second warning would fail the test).
        theme.GetBitmap(key, &picture);
        QCOMPARE(theme.errorString().count(QStringLiteral("was refused")), 1);

        // The rest of the file is used.
        theme.GetBitmap(KavKey::ButtonImage, &picture);
        QCOMPARE(picture.size(), QSize(30, 10));
        QCOMPARE(theme.GetInt(KavKey::FormBackgroundColor), 0x123456);

        // A control's value look-up shows the built-in look's picture (DeepBlue, a file theme's
        // fall-back look) in place of the undecodable one, the very picture that look's controls get.
        const KavThemeValues values(TkavUIStyle::FromThemeFile, &theme);
        const KavThemeValues deepBlue(TkavUIStyle::DeepBlue, nullptr);
        const PictureRecipe frame{KavThemeKeyFrameCount(key), 1, PictureMask::Magenta};
        const TkavPicture shown = values.picture(key, frame);
        QVERIFY(!shown.isNull());
        if (key == KavKey::ButtonImage) {
            QCOMPARE(shown.size(), QSize(10, 10)); // the file's own ordinary picture stays
        } else {
            QCOMPARE(shown.id(), deepBlue.picture(key, frame).id());
            QCOMPARE(values.bitmap(key, 4, 2), deepBlue.bitmap(key, 4, 2));
        }
    }

    // A good file loaded after a refused one is not reported damaged.
    void goodFileClearsRefusals()
    {
        const QString bad = writeTheme(QStringLiteral("bad"),
                                       {{KavThemeKeyName(KavKey::ButtonImage), monoBitmap(1, 5000, false)}});
        const QString good = writeTheme(QStringLiteral("good"),
                                        {{KavThemeKeyName(KavKey::ButtonImage), colourBitmap(6, 2, qRgb(1, 1, 1))}});
        TkavFileTheme theme;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ButtonImage.*refused")));
        theme.setThemeFile(bad);
        QVERIFY(theme.isDamaged());
        theme.setThemeFile(good);
        QVERIFY(!theme.isDamaged());
        QVERIFY(theme.errorString().isEmpty());
    }

    // Many pictures, each inside the limit, cannot add up past the file's total: the ones asked
    // for after it is spent are refused and reported like an oversized one.
    void totalBudgetRefusesLaterPictures()
    {
        const int side = PictureBudget::MaxSide;
        const int rows = int(PictureBudget::MaxPictureBytes / 4 / side);
        const int fit = int(PictureBudget::MaxThemeBytes / PictureBudget::MaxPictureBytes);
        const QList<int> keys{KavKey::ButtonImage, KavKey::CheckBoxImage, KavKey::RadioButtonImage,
                              KavKey::ProgressBarImage, KavKey::TrackBarBarImage, KavKey::ScrollBarButtonImage};
        QVERIFY(keys.size() > fit);
        QList<QPair<QString, QByteArray>> pictures;
        const QByteArray largest = monoBitmap(side, rows);
        for (int key : keys)
            pictures.append({KavThemeKeyName(key), largest});
        const QString path = writeTheme(QStringLiteral("many"), pictures);
        QVERIFY(!path.isEmpty());

        TkavFileTheme theme;
        theme.setThemeFile(path);
        QVERIFY(!theme.isDamaged()); // nothing is over the limit by its header
        for (int i = 0; i < keys.size(); ++i) {
            if (i >= fit)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refused.*together")));
            QImage picture;
            theme.GetBitmap(keys[i], &picture);
            QCOMPARE(picture.isNull(), i >= fit);
        }
        QVERIFY(theme.isDamaged());
        QVERIFY(theme.errorString().contains(KavThemeKeyName(keys.last())));
    }

    // Identical controls on a file theme draw the same pixels: one decoded picture held by the
    // theme and shared by the store, one prepared frame for every asker.
    void picturesAreShared()
    {
        const QString path = writeTheme(QStringLiteral("shared"),
                                        {{KavThemeKeyName(KavKey::ButtonImage), monoBitmap(96, 20)}});
        TkavFileTheme theme;
        theme.setThemeFile(path);
        QVERIFY(theme.CanUse());

        const KavThemeValues first(TkavUIStyle::FromThemeFile, &theme);
        const KavThemeValues second(TkavUIStyle::FromThemeFile, &theme);
        const TkavPicture a = first.picture(KavKey::ButtonImage, {3, 1, PictureMask::Magenta});
        const TkavPicture b = second.picture(KavKey::ButtonImage, {3, 1, PictureMask::Magenta});
        QVERIFY(!a.isNull());
        QCOMPARE(a.id(), b.id());
        QCOMPARE(a.image().constBits(), b.image().constBits());

        // The whole picture is held once: the theme's decoded copy is the store's.
        QImage owned;
        theme.GetBitmap(KavKey::ButtonImage, &owned);
        QCOMPARE(owned.format(), QImage::Format_RGB32);
        const TkavPicture whole = first.picture(KavKey::ButtonImage);
        QCOMPARE(whole.image().constBits(), owned.constBits());
    }
};

QTEST_MAIN(tst_KAVPictureBudget)
#include "tst_kavpicturebudget.moc"
