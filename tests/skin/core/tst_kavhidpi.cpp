#include "KAVButton.h"
#include "KAVButtonPainter.h"
#include "KAVCheckBox.h"
#include "KAVCheckPainter.h"
#include "KAVDBNavigator.h"
#include "KAVComposer.h"
#include "KAVFunctions.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVMSNPopForm.h"
#include "KAVProgressBar.h"
#include "KAVTabControl.h"
#include "KAVTrackBar.h"
#include "KAVToolBar.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVMgr.h"
#include "KAVPanelPainter.h"
#include "KAVPictureStore.h"
#include "KAVThemeFile.h"
#include "KAVThemes.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <QtMath>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

using namespace Kav;

namespace {

constexpr QRgb Border = qRgb(0, 0, 0);
constexpr QRgb SingleFill = qRgb(200, 0, 0);
constexpr QRgb DoubleFill = qRgb(0, 0, 200);
constexpr int FrameSide = 6; // logical pixels of one button frame of the fixture theme

// The drawing helpers that choose pixels by the device's ratio.
enum class Helper { NinePartOnPainter, NinePartOnImage, Stretched };

// A button strip of the fixture theme at the given density: three square frames of fill, each
// framed by a one-pixel border (one image pixel, whatever the density).
QImage buttonStrip(int density, QRgb fill, int extraColumns = 0)
{
    const int side = FrameSide * density;
    QImage picture(3 * side + extraColumns, side, QImage::Format_RGB32);
    picture.fill(fill);
    for (int frame = 0; frame < 3; ++frame) {
        QPainter painter(&picture);
        painter.setPen(QColor::fromRgb(Border));
        painter.drawRect(frame * side, 0, side - 1, side - 1);
    }
    return picture;
}

// Writes a theme whose button picture is the single-density strip, with an optional NAME@2x.
bool writeTheme(const QString &path, const QImage &doubled)
{
    const QString name = KavThemeKeyName(KavKey::ButtonImage);
    const QString single = path + QStringLiteral(".button.bmp");
    if (!buttonStrip(1, SingleFill).save(single, "BMP"))
        return false;
    TkavThemeFileWriter writer(path);
    writer.AddFile(name, single);
    if (!doubled.isNull()) {
        const QString doubledFile = path + QStringLiteral(".button2x.bmp");
        if (!doubled.save(doubledFile, "BMP"))
            return false;
        writer.AddFile(KavDoubleDensityName(name), doubledFile);
    }
    return writer.Save();
}

// A control that composes its face through the composer at the density it is given and draws
// its picture with nine-part drawing, as the skinned buttons do.
class PictureControl : public QWidget {
public:
    PictureControl(const TkavPicture &picture, FaceDensity density) : m_picture(picture), m_density(density)
    {
        resize(picture.size());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        KavPaintFace(
            this, Backdrop::filled(Qt::white),
            [this](QImage &face) { SpitDraw(m_picture, face, rect(), false); }, QRegion(), m_density);
    }

private:
    TkavPicture m_picture;
    FaceDensity m_density;
};

// How many image pixels the border is thick at the left edge of row y.
int borderThickness(const QImage &image, int y)
{
    int x = 0;
    while (x < image.width() && (image.pixel(x, y) & 0xFFFFFF) == (Border & 0xFFFFFF))
        ++x;
    return x;
}

// Whether some 2x2 block of a face grabbed at ratio 2 holds more than one colour: a face composed
// at one pixel per logical pixel and enlarged never does.
bool hasDetailFinerThanLogicalPixels(const QImage &grabbed)
{
    for (int y = 0; y + 1 < grabbed.height(); y += 2) {
        for (int x = 0; x + 1 < grabbed.width(); x += 2) {
            const QRgb corner = grabbed.pixel(x, y);
            if (grabbed.pixel(x + 1, y) != corner || grabbed.pixel(x, y + 1) != corner
                || grabbed.pixel(x + 1, y + 1) != corner)
                return true;
        }
    }
    return false;
}

// A skinned control to grab, with the widget that owns it (the control or its parent).
struct GrabbedControl {
    std::unique_ptr<QWidget> owner;
    QWidget *control = nullptr;
};
using ControlMaker = std::function<GrabbedControl()>;

template <typename Control>
GrabbedControl alone(Control *control)
{
    return {std::unique_ptr<QWidget>(control), control};
}

// A face at ratio 2 with its ratio set back to 1, so that pixels are addressed as the device's.
using DenseFaceMaker = std::function<QImage()>;

QImage devicePixels(QImage image)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    return image;
}

QImage grabbedAtRatio2(QWidget &control)
{
    return devicePixels(control.grab().toImage());
}

// The four device pixels of the logical pixel at logical, when they are one colour.
// A control grabbed at ratio 2, a picture it draws at its natural size, where the picture's
// top-left corner lies and the part of the picture to compare (logical pixels).
struct DrawnPicture {
    QImage grabbed; // device pixels
    TkavPicture picture;
    QPoint at;
    QRect part;
};
using DrawnPictureMaker = std::function<DrawnPicture()>;

std::optional<QRgb> wholeLogicalPixel(const QImage &face, QPoint logical)
{
    const QPoint at = logical * 2;
    const QRgb colour = face.pixel(at);
    if (face.pixel(at + QPoint(1, 0)) != colour || face.pixel(at + QPoint(0, 1)) != colour
        || face.pixel(at + QPoint(1, 1)) != colour)
        return std::nullopt;
    return colour;
}

} // namespace

Q_DECLARE_METATYPE(ControlMaker)
Q_DECLARE_METATYPE(DenseFaceMaker)
Q_DECLARE_METATYPE(DrawnPictureMaker)

// Pictures carry the same design at twice the density; controls drawn on a high-DPI device take
// it, keeping their logical size, and single-density devices are left exactly as they were.
class tst_KavHiDpi : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A loaded fixture theme whose NAME@2x entry is doubled (none when null).
    std::unique_ptr<TkavFileTheme> fixtureTheme(const QString &name, const QImage &doubled)
    {
        const QString path = m_dir.filePath(name + QStringLiteral(".skn"));
        if (!writeTheme(path, doubled))
            return nullptr;
        auto theme = std::make_unique<TkavFileTheme>();
        theme->setThemeFile(path);
        if (!theme->CanUse())
            return nullptr;
        return theme;
    }

    static TkavPicture firstButtonFrame(const TkavFileTheme &theme)
    {
        const PictureSource source{TkavUIStyle::FromThemeFile, &theme, theme.revision()};
        return TkavPictureStore::instance().themePicture(source, KavKey::ButtonImage, {3, 1});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The whole process runs at ratio 2, as on a 200% screen.
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }

    void builtInPicturesHaveDoubleDensity_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        QTest::addColumn<int>("key");
        QTest::addColumn<PictureMask>("mask");
        QTest::addRow("button") << TkavUIStyle::MacOS << int(KavKey::ButtonImage) << PictureMask::None;
        QTest::addRow("masked check box") << TkavUIStyle::WinXP << int(KavKey::CheckBoxImage) << PictureMask::Magenta;
        QTest::addRow("scroll thumb") << TkavUIStyle::DeepBlue << int(KavKey::ScrollBarSliderImage)
                                      << PictureMask::TopLeft;
    }

    void builtInPicturesHaveDoubleDensity()
    {
        QFETCH(TkavUIStyle, look);
        QFETCH(int, key);
        QFETCH(PictureMask, mask);
        const PictureSource source{look, nullptr, 0};
        const TkavPicture picture =
            TkavPictureStore::instance().themePicture(source, key, {KavThemeKeyFrameCount(key), 1, mask, false});
        QVERIFY(!picture.isNull());
        QVERIFY(picture.has2x());
        QCOMPARE(picture.image2x().size(), picture.size() * 2);
        QCOMPARE(picture.image2x().devicePixelRatio(), 2.0);
        QCOMPARE(picture.image2x().format(), picture.image().format());
        // Drawn again at twice the size, not enlarged: some pixel differs from the enlargement.
        const QImage enlarged = picture.image().scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QImage doubled = picture.image2x();
        doubled.setDevicePixelRatio(1.0);
        QVERIFY(doubled != enlarged);
        // A ratio above 1 asks for the double density, 1 for the ordinary pixels.
        QCOMPARE(picture.imageFor(2.0).cacheKey(), picture.image2x().cacheKey());
        QCOMPARE(picture.imageFor(1.25).cacheKey(), picture.image2x().cacheKey());
        QCOMPARE(picture.imageFor(1.0).cacheKey(), picture.image().cacheKey());
    }

    void noDoubleDensityPictureIsAnEnlargement_data()
    {
        // Every built-in picture with a gradient or shading in it (neighbouring pixels a few steps
        // apart); one of hard edges only is drawn twice as dense exactly as it is enlarged.
        QTest::addColumn<QString>("name");
        const auto hasShading = [](const QImage &image) {
            const auto step = [](QRgb a, QRgb b) {
                return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                 std::abs(qBlue(a) - qBlue(b))});
            };
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb here = image.pixel(x, y);
                    for (const QPoint next : {QPoint(x + 1, y), QPoint(x, y + 1)}) {
                        if (!image.valid(next))
                            continue;
                        const int d = step(here, image.pixel(next));
                        if (d > 0 && d <= 40)
                            return true;
                    }
                }
            }
            return false;
        };
        int pictures = 0;
        const QStringList names = QDir(QStringLiteral(":/looks")).entryList(QDir::Files, QDir::Name);
        for (const QString &name : names) {
            if (name.endsWith(QLatin1String("@2x")))
                continue;
            ++pictures;
            if (hasShading(QImage(QStringLiteral(":/looks/") + name)))
                QTest::newRow(qPrintable(name)) << name;
        }
        QVERIFY(pictures >= 104);
    }

    void noDoubleDensityPictureIsAnEnlargement()
    {
        QFETCH(QString, name);
        const QImage single = QImage(QStringLiteral(":/looks/") + name).convertToFormat(QImage::Format_RGB32);
        QImage doubled = QImage(QStringLiteral(":/looks/") + KavDoubleDensityName(name)).convertToFormat(QImage::Format_RGB32);
        doubled.setDevicePixelRatio(1.0);
        QCOMPARE(doubled.size(), single.size() * 2);
        const QImage enlarged = single.scaled(single.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY2(doubled != enlarged, "drawn again at twice the density, not enlarged");
    }

    void fixedNamePicturesHaveDoubleDensity()
    {
        const TkavPicture panel = TkavPictureStore::instance().resourcePicture(QStringLiteral("PANEL_BUTTON"), {4, 2});
        QVERIFY(!panel.isNull());
        QVERIFY(panel.has2x());
        QCOMPARE(panel.image2x().size(), panel.size() * 2);
    }

    void themeFileDoubleDensityEntry_data()
    {
        QTest::addColumn<QImage>("entry");
        QTest::addColumn<bool>("used");
        QTest::addRow("present") << buttonStrip(2, DoubleFill) << true;
        QTest::addRow("absent") << QImage() << false;
        // An entry that is not exactly twice the picture would misplace frames and corners.
        QTest::addRow("wrong size") << buttonStrip(2, DoubleFill, 1) << false;
    }

    void themeFileDoubleDensityEntry()
    {
        QFETCH(QImage, entry);
        QFETCH(bool, used);
        const auto theme = fixtureTheme(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'), entry);
        QVERIFY(theme);
        const TkavPicture frame = firstButtonFrame(*theme);
        QVERIFY(!frame.isNull());
        QCOMPARE(frame.size(), QSize(FrameSide, FrameSide));
        QCOMPARE(frame.image().pixel(2, 2), SingleFill | 0xFF000000u);
        QCOMPARE(frame.has2x(), used);
        const QImage &drawn = frame.imageFor(2.0);
        QCOMPARE(drawn.pixel(drawn.width() / 2, drawn.height() / 2), (used ? DoubleFill : SingleFill) | 0xFF000000u);
        if (used)
            QCOMPARE(drawn.size(), QSize(2 * FrameSide, 2 * FrameSide));
    }

    void themeReloadRetiresDoubleDensity()
    {
        // A theme that loads another file must not keep the NAME@2x of the file before.
        const QString withEntry = m_dir.filePath(QStringLiteral("reload-with.skn"));
        const QString without = m_dir.filePath(QStringLiteral("reload-without.skn"));
        QVERIFY(writeTheme(withEntry, buttonStrip(2, DoubleFill)));
        QVERIFY(writeTheme(without, QImage()));
        TkavFileTheme theme;
        theme.setThemeFile(withEntry);
        QVERIFY(firstButtonFrame(theme).has2x());
        theme.setThemeFile(without);
        QVERIFY(theme.errorString().isEmpty());
        QVERIFY(!firstButtonFrame(theme).has2x());
    }

    void helpersDrawDoubleDensityAboveRatio1_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<Helper>("helper");
        QTest::addColumn<QRgb>("fill");
        const struct {
            qreal ratio;
            QRgb fill;
        } ratios[] = {{1.0, SingleFill}, {1.5, DoubleFill}, {2.0, DoubleFill}, {3.0, DoubleFill}};
        const struct {
            Helper helper;
            const char *name;
        } helpers[] = {{Helper::NinePartOnPainter, "nine-part, painter"},
                       {Helper::NinePartOnImage, "nine-part, image"},
                       {Helper::Stretched, "stretched"}};
        for (const auto &r : ratios)
            for (const auto &h : helpers)
                QTest::addRow("%s at %g", h.name, r.ratio) << r.ratio << h.helper << r.fill;
    }

    void helpersDrawDoubleDensityAboveRatio1()
    {
        QFETCH(qreal, ratio);
        QFETCH(Helper, helper);
        QFETCH(QRgb, fill);
        const auto theme = fixtureTheme(QStringLiteral("helpers"), buttonStrip(2, DoubleFill));
        QVERIFY(theme);
        const TkavPicture frame = firstButtonFrame(*theme);
        QVERIFY(frame.has2x());
        const QRect target(0, 0, 3 * FrameSide, 2 * FrameSide);
        QImage canvas(qCeil(target.width() * ratio), qCeil(target.height() * ratio), QImage::Format_RGB32);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::white);
        if (helper == Helper::NinePartOnImage) {
            SpitDraw(frame, canvas, target, false);
        } else {
            QPainter painter(&canvas);
            if (helper == Helper::NinePartOnPainter)
                SpitDraw(frame, painter, target, false);
            else
                StretchDrawCached(frame, painter, target);
        }
        // Same logical place at every ratio: the middle shows the fill of the pixels chosen.
        QCOMPARE(canvas.pixel(canvas.width() / 2, canvas.height() / 2), fill | 0xFF000000u);
        // At whole ratios the corner is the picture's own pixel (fractional ones blend it).
        if (ratio == 1.0 || ratio == 2.0)
            QCOMPARE(canvas.pixel(0, 0), Border | 0xFF000000u);
    }

    void denseFaceIsSharp_data()
    {
        QTest::addColumn<FaceDensity>("density");
        QTest::addColumn<QRgb>("fill");
        QTest::addColumn<int>("border");
        // The double-density picture keeps its one-pixel border; a single-density face is
        // enlarged by Qt, border and all.
        QTest::addRow("device") << FaceDensity::Device << DoubleFill << 1;
        QTest::addRow("logical") << FaceDensity::Logical << SingleFill << 2;
    }

    void denseFaceIsSharp()
    {
        QFETCH(FaceDensity, density);
        QFETCH(QRgb, fill);
        QFETCH(int, border);
        const auto theme = fixtureTheme(QStringLiteral("control"), buttonStrip(2, DoubleFill));
        QVERIFY(theme);
        PictureControl control(firstButtonFrame(*theme), density);
        QCOMPARE(control.size(), QSize(FrameSide, FrameSide)); // logical size as at ratio 1
        QImage grabbed = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
        grabbed.setDevicePixelRatio(1.0);
        QCOMPARE(grabbed.size(), QSize(2 * FrameSide, 2 * FrameSide));
        QCOMPARE(borderThickness(grabbed, FrameSide), border);
        QCOMPARE(grabbed.pixel(FrameSide, FrameSide), fill | 0xFF000000u);
        if (density == FaceDensity::Device) {
            // Pixel for pixel the double-density frame, not an enlargement.
            QImage expected = firstButtonFrame(*theme).image2x().convertToFormat(QImage::Format_RGB32);
            expected.setDevicePixelRatio(1.0);
            QCOMPARE(grabbed, expected);
        }
    }

    void controlsAreSharpAtTheirLogicalSize_data()
    {
        QTest::addColumn<ControlMaker>("make");
        QTest::addColumn<QSize>("logicalSize");
        // Whether the face has pictures or text that show finer detail than a logical pixel.
        QTest::addColumn<bool>("detailed");
        QTest::addRow("button") << ControlMaker([] {
            auto *button = new TkavButton;
            button->resize(75, 25);
            return alone(button);
        }) << QSize(75, 25) << true;
        QTest::addRow("check box") << ControlMaker([] {
            auto *box = new TkavCheckBox;
            box->ensurePolished(); // its look, which sizes it, before the size given here
            box->resize(20, 20);
            box->setChecked(true);
            return alone(box);
        }) << QSize(20, 20) << true;
        QTest::addRow("radio button") << ControlMaker([] {
            auto *radio = new TkavRadioButton;
            radio->ensurePolished(); // its look, which sizes it, before the size given here
            radio->resize(20, 20);
            radio->setChecked(true);
            return alone(radio);
        }) << QSize(20, 20) << true;
        QTest::addRow("group box") << ControlMaker([] {
            auto *group = new TkavGroupBox;
            group->setCaption(QStringLiteral("Sums"));
            group->resize(80, 40);
            return alone(group);
        }) << QSize(80, 40) << true;
        QTest::addRow("captioned panel") << ControlMaker([] {
            auto *panel = new TkavPanel;
            panel->resize(120, 60);
            return alone(panel);
        }) << QSize(120, 60) << true;
        // A picture a program gives has only its own pixels; the caption over it is what sharpens.
        QTest::addRow("image panel") << ControlMaker([] {
            auto *panel = new TkavImagePanel;
            QImage tile(8, 8, QImage::Format_RGB32);
            tile.fill(Qt::yellow);
            panel->setPicture(tile);
            panel->setDrawStyle(TkavCustomPanel::kavTile);
            panel->setCaption(QStringLiteral("Tiles"));
            panel->resize(60, 30);
            return alone(panel);
        }) << QSize(60, 30) << true;
        // A see-through toolbar shows the caption of the group box under it, composed as densely.
        QTest::addRow("toolbar") << ControlMaker([] {
            auto *group = new TkavGroupBox;
            group->setCaption(QStringLiteral("Sums and differences"));
            group->resize(160, 60);
            auto *bar = new TkavToolBar(group);
            group->ensurePolished(); // the looks of both before the transparency given here
            bar->setMovable(false);
            bar->setTransparent(true);
            bar->setGeometry(0, 0, 120, 24);
            return GrabbedControl{std::unique_ptr<QWidget>(group), bar};
        }) << QSize(120, 24) << true;
        // A glyph a program gives has only its own pixels: the button keeps its place and size.
        QTest::addRow("speed button") << ControlMaker([] {
            auto *button = new TkavToolBarSpeedButton;
            QImage glyph(16, 16, QImage::Format_RGB32);
            glyph.fill(Qt::darkGreen);
            button->setGlyph(glyph);
            button->resize(23, 22);
            return alone(button);
        }) << QSize(23, 22) << false;
        QTest::addRow("tab control") << ControlMaker([] {
            auto *tabs = new TkavTabControl;
            tabs->setTabs({QStringLiteral("Sums"), QStringLiteral("Marks")});
            tabs->resize(160, 80);
            return alone(tabs);
        }) << QSize(160, 80) << true;
        QTest::addRow("progress bar") << ControlMaker([] {
            auto *bar = new TkavProgressBar;
            bar->setPosition(35);
            bar->resize(150, 12);
            return alone(bar);
        }) << QSize(150, 12) << true;
        QTest::addRow("track bar") << ControlMaker([] {
            auto *bar = new TkavTrackBar;
            bar->resize(150, 20);
            return alone(bar);
        }) << QSize(150, 20) << true;
        QTest::addRow("data navigator") << ControlMaker([] {
            auto *navigator = new TkavDBNavigator;
            navigator->resize(240, 25);
            return alone(navigator);
        }) << QSize(240, 25) << true;
        QTest::addRow("notice") << ControlMaker([] { return alone(new TfrmMSNPopForm); })
                                << TfrmMSNPopForm().noticeSize() << true;
    }

    void controlsAreSharpAtTheirLogicalSize()
    {
        QFETCH(ControlMaker, make);
        QFETCH(QSize, logicalSize);
        QFETCH(bool, detailed);
        const GrabbedControl made = make();
        QCOMPARE(made.control->size(), logicalSize);
        QImage grabbed = made.control->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(grabbed.devicePixelRatio(), 2.0);
        QCOMPARE(grabbed.size(), logicalSize * 2);
        grabbed.setDevicePixelRatio(1.0);
        if (detailed)
            QVERIFY(hasDetailFinerThanLogicalPixels(grabbed));
    }

    void checkPictureIsTheDoubleDensityPicture()
    {
        // Drawn 1:1 from the double-density pixels, not enlarged from the ordinary ones.
        TkavCheckBox box; // checked shows the first frame
        box.resize(20, 20);
        box.setChecked(true);
        QImage grabbed = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        grabbed.setDevicePixelRatio(1.0);
        const TkavPicture picture = TkavPictureStore::instance().themePicture(
            PictureSource{box.UIStyle(), nullptr, 0}, KavKey::CheckBoxImage,
            {KavThemeKeyFrameCount(KavKey::CheckBoxImage), 1, PictureMask::None, false});
        QVERIFY(picture.has2x());
        const QPoint at = KavCheckLayout(box.size(), picture.size(), 0).picture * 2;
        QImage expected = picture.image2x().convertToFormat(QImage::Format_RGB32);
        expected.setDevicePixelRatio(1.0);
        QCOMPARE(grabbed.copy(QRect(at, expected.size())), expected);
    }

    void picturesAreDrawnFromDoubleDensityPixels_data()
    {
        QTest::addColumn<DrawnPictureMaker>("make");
        QTest::addRow("notice background") << DrawnPictureMaker([] {
            TfrmMSNPopForm notice;
            const TkavPicture background = TkavPictureStore::instance().resourcePicture(QStringLiteral("MSNPOPFORM"));
            // The bottom-left corner: picture only, the title and the text sit higher.
            const QRect corner(0, background.height() - 6, 12, 6);
            return DrawnPicture{grabbedAtRatio2(notice), background, QPoint(0, 0), corner};
        });
        QTest::addRow("panel roll button") << DrawnPictureMaker([] {
            TkavPanel panel;
            panel.resize(120, 60);
            // Expanded and not under the mouse: the first of the four frames.
            const TkavPicture button = TkavPictureStore::instance().resourcePicture(QStringLiteral("PANEL_BUTTON"), {4, 1});
            const QRect place = KavPanelButtonRect(panel.size(), panel.captionBarHeight(), button.size());
            return DrawnPicture{grabbedAtRatio2(panel), button, place.topLeft(), QRect(QPoint(0, 0), place.size())};
        });
    }

    void picturesAreDrawnFromDoubleDensityPixels()
    {
        QFETCH(DrawnPictureMaker, make);
        const DrawnPicture drawn = make();
        QVERIFY(drawn.picture.has2x());
        QVERIFY(!drawn.part.isEmpty());
        // Pixel for pixel the double-density picture, not its ordinary pixels enlarged.
        const QRect device(drawn.part.topLeft() * 2, drawn.part.size() * 2);
        const QImage expected = devicePixels(drawn.picture.image2x()).copy(device);
        QCOMPARE(drawn.grabbed.copy(device.translated(drawn.at * 2)), expected);
    }

    void focusDotsAreLogicalPixels()
    {
        // The dotted focus frame keeps its pattern: each dot covers a whole logical pixel.
        QImage face(40, 20, QImage::Format_RGB32);
        face.setDevicePixelRatio(2.0);
        face.fill(Qt::white);
        KavDrawFocusFrame(face, QRect(2, 2, 10, 6));
        face.setDevicePixelRatio(1.0);
        QCOMPARE(face.pixel(4, 4), qRgb(0, 0, 0));
        QCOMPARE(face.pixel(5, 5), qRgb(0, 0, 0));
        QCOMPARE(face.pixel(6, 4), qRgb(255, 255, 255));
        QCOMPARE(face.pixel(8, 4), qRgb(0, 0, 0));
        QCOMPARE(face.pixel(2 * 11, 2 * 7), qRgb(0, 0, 0)); // bottom-right corner, x + y even
    }

    void linesAndDotsAreWholeLogicalPixels_data()
    {
        // A frame line or focus dot drawn one device pixel thin would look half as thick (or, for
        // dots, as a different pattern) on a dense face: each must cover its logical pixel.
        QTest::addColumn<DenseFaceMaker>("make");
        QTest::addColumn<QPoint>("onLine");
        QTest::addColumn<QPoint>("beside");
        QTest::addRow("group box line") << DenseFaceMaker([] {
            TkavGroupBox group;
            group.setCaption(QStringLiteral("Sums"));
            group.resize(80, 40);
            return grabbedAtRatio2(group);
        }) << QPoint(0, 30) << QPoint(1, 30);
        QTest::addRow("captioned panel outline") << DenseFaceMaker([] {
            TkavPanel panel;
            panel.resize(120, 60);
            return grabbedAtRatio2(panel);
        }) << QPoint(119, 50) << QPoint(118, 50);
        QTest::addRow("speed button frame") << DenseFaceMaker([] {
            TkavToolBarSpeedButton button;
            QImage glyph(16, 16, QImage::Format_RGB32);
            glyph.fill(Qt::darkGreen);
            button.setGlyph(glyph);
            button.resize(23, 22);
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(&button, &enter); // the frame shows under the mouse
            return grabbedAtRatio2(button);
        }) << QPoint(22, 10) << QPoint(21, 10);
        QTest::addRow("button focus dot") << DenseFaceMaker([] {
            QImage face(2 * 40, 2 * 20, QImage::Format_RGB32);
            face.setDevicePixelRatio(2.0);
            face.fill(Qt::white);
            PictureButtonOption option;
            option.rect = QRect(0, 0, 40, 20);
            option.focus.shown = true; // frame inset by 2, a dot where x + y from its corner is even
            KavPaintPictureButton(face, option);
            return devicePixels(face);
        }) << QPoint(2, 2) << QPoint(3, 2);
    }

    void linesAndDotsAreWholeLogicalPixels()
    {
        QFETCH(DenseFaceMaker, make);
        QFETCH(QPoint, onLine);
        QFETCH(QPoint, beside);
        const QImage face = make();
        const std::optional<QRgb> line = wholeLogicalPixel(face, onLine);
        const std::optional<QRgb> next = wholeLogicalPixel(face, beside);
        QVERIFY(line);
        QVERIFY(next);
        QVERIFY(*line != *next);
    }

    void denseFaceComposesOnlyTheExposedPart()
    {
        PictureControl control(TkavPicture(), FaceDensity::Device);
        control.resize(20, 10);
        QRect visible;
        const QRect exposed(4, 2, 6, 5);
        const QImage face = KavComposeFace(
            &control, Backdrop::filled(Qt::green),
            [&visible](QImage &image) {
                QPainter painter(&image);
                visible = KavVisiblePart(painter);
                painter.fillRect(image.rect(), Qt::blue); // clipped to the exposed part
            },
            exposed, FaceDensity::Device);
        QCOMPARE(face.size(), QSize(40, 20));
        QCOMPARE(face.devicePixelRatio(), 2.0);
        QCOMPARE(visible, exposed); // in logical pixels
        QCOMPARE(QColor(face.pixel(2 * 4, 2 * 2)), QColor(Qt::blue));
        QCOMPARE(QColor(face.pixel(2 * 10 - 1, 2 * 7 - 1)), QColor(Qt::blue));
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    tst_KavHiDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kavhidpi.moc"
