#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVComboBox.h"
#include "KAVImagePanel.h"
#include "KAVEdit.h"
#include "KAVMemo.h"
#include "KAVPageControl.h"
#include "KAVPictureStore.h"
#include "KAVProgressBar.h"
#include "KAVScrollBar.h"
#include "KAVTabControl.h"
#include "KAVThemes.h"
#include "KAVTrackBar.h"
#include "kav_fixture_theme.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QtMath>

#include <cmath>
#include <functional>
#include <memory>

// Every control that draws a picture of its look draws it from the picture's double-density
// pixels on a screen of ratio 1.5 or 2, and from its ordinary pixels at ratio 1 (Qt scales the
// double-density pixels down, never the ordinary ones up). The fixture theme's pictures are one
// colour at single density and another at double density, so the colour a control shows in the
// middle of a picture tells which pixels it drew. The process has three screens, of ratios 1, 1.5
// and 2 (the offscreen platform's configuration), and puts a window on each.

namespace {

constexpr QRgb Single = qRgb(200, 0, 0);
constexpr QRgb Double = qRgb(0, 0, 200);

QImage filled(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture of the fixture theme: w x h at single density, twice that at double.
KavTest::FixturePicture picture(int key, QSize size)
{
    return {key, filled(size, Single), filled(size * 2, Double)};
}

// A picture of frames whose bottom-left pixels are the transparent key (a radio button's):
// white there, the density's colour elsewhere.
KavTest::FixturePicture keyedPicture(int key, QSize size, int frames)
{
    KavTest::FixturePicture keyed = picture(key, size);
    for (QImage *image : {&keyed.picture, &keyed.picture2x})
        for (int x = 0; x < image->width(); x += image->width() / frames)
            image->setPixel(x, image->height() - 1, qRgb(255, 255, 255));
    return keyed;
}

// Where in a control (its own logical coordinates) the middle of a picture is drawn.
struct Sample {
    QWidget *control = nullptr;
    QPoint at;
};
using SampleMaker = std::function<Sample(QWidget *window, TkavFileTheme *theme)>;

template <typename Control>
Control *themed(Control *control, TkavFileTheme *theme)
{
    control->setFileTheme(theme);
    control->setUIStyle(TkavUIStyle::FromThemeFile);
    return control;
}

// The colour grabbed at a logical point of a control, in device pixels.
QRgb grabbedAt(QWidget *control, QPoint logical)
{
    const QImage grabbed = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = grabbed.devicePixelRatio();
    return grabbed.pixel(QPointF(logical * ratio).toPoint()) & 0xFFFFFF;
}

} // namespace

Q_DECLARE_METATYPE(SampleMaker)

class tst_KavDenseControls : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;

    QScreen *screenOfRatio(qreal ratio) const
    {
        for (QScreen *screen : QGuiApplication::screens())
            if (qFuzzyCompare(screen->devicePixelRatio(), ratio))
                return screen;
        return nullptr;
    }

    // A window on the screen of that ratio, shown.
    std::unique_ptr<QWidget> windowAt(qreal ratio) const
    {
        auto window = std::make_unique<QWidget>();
        QScreen *screen = screenOfRatio(ratio);
        if (screen == nullptr)
            return nullptr;
        window->resize(320, 240);
        window->move(screen->geometry().topLeft() + QPoint(20, 20));
        window->setScreen(screen);
        return window;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(QGuiApplication::screens().size(), 4);
        m_theme = KavTest::writeFixtureTheme(
            m_dir, QStringLiteral("dense"),
            {picture(KavKey::ButtonImage, QSize(30, 10)), picture(KavKey::CheckBoxImage, QSize(52, 13)),
             keyedPicture(KavKey::RadioButtonImage, QSize(52, 13), 4),
             picture(KavKey::ProgressBarImage, QSize(1, 10)), picture(KavKey::TrackBarBarImage, QSize(45, 4)),
             picture(KavKey::TrackBarSliderImage, QSize(11, 20)),
             picture(KavKey::ScrollBarButtonImage, QSize(96, 16)),
             picture(KavKey::ScrollBarSliderImage, QSize(21, 16)),
             picture(KavKey::ScrollButtonImage, QSize(72, 17)), picture(KavKey::TabControlTabImage, QSize(18, 17)),
             picture(KavKey::TabControlBarImage, QSize(10, 5)),
             picture(KavKey::SideChannelBarImage, QSize(1, 20))},
            {});
        QVERIFY(m_theme);
    }

    void pictureOfTheRatio_data()
    {
        QTest::addColumn<SampleMaker>("make");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QRgb>("colour");

        const QList<std::pair<const char *, SampleMaker>> controls = {
            {"push button", [](QWidget *w, TkavFileTheme *theme) {
                 auto *button = themed(new TkavButton(w), theme);
                 button->resize(80, 27);
                 return Sample{button, QPoint(40, 22)};
             }},
            {"check box", [](QWidget *w, TkavFileTheme *theme) {
                 auto *box = themed(new TkavCheckBox(w), theme);
                 box->resize(20, 20);
                 return Sample{box, QPoint(6, 9)};
             }},
            {"radio button", [](QWidget *w, TkavFileTheme *theme) {
                 auto *radio = themed(new TkavRadioButton(w), theme);
                 radio->resize(20, 20);
                 return Sample{radio, QPoint(6, 9)};
             }},
            {"tab bar", [](QWidget *w, TkavFileTheme *theme) {
                 auto *tabs = themed(new TkavTabControl(w), theme);
                 tabs->setTabs({QStringLiteral("One")});
                 tabs->resize(200, 80);
                 TkavTabControlTopPanel *strip = tabs->topPanel();
                 // Beyond the only tab, on the bar under the strip.
                 return Sample{strip, QPoint(strip->width() - 20, strip->height() - 3)};
             }},
            {"track bar slider", [](QWidget *w, TkavFileTheme *theme) {
                 auto *bar = themed(new TkavTrackBar(w), theme);
                 bar->resize(150, 20);
                 return Sample{bar, bar->sliderRect().center()};
             }},
            {"scroll bar arrow", [](QWidget *w, TkavFileTheme *theme) {
                 auto *bar = themed(new TkavScrollBar(w), theme);
                 bar->resize(150, 16);
                 return Sample{bar, bar->decreaseButton()->geometry().center()};
             }},
            {"scroll bar slider", [](QWidget *w, TkavFileTheme *theme) {
                 auto *bar = themed(new TkavScrollBar(w), theme);
                 bar->resize(150, 16);
                 bar->setPageSize(40);
                 const QRect slider = bar->track()->sliderRect().translated(bar->track()->pos());
                 return Sample{bar, slider.center()};
             }},
            {"memo's attached bar", [](QWidget *w, TkavFileTheme *theme) {
                 auto *memo = themed(new TkavMemo(w), theme);
                 memo->setGeometry(0, 0, 200, 120);
                 auto *bar = themed(new TkavScrollBar(w), theme);
                 memo->setVScrollBar(bar);
                 return Sample{bar, bar->increaseButton()->geometry().center()};
             }},
            {"progress fill", [](QWidget *w, TkavFileTheme *theme) {
                 auto *bar = themed(new TkavProgressBar(w), theme);
                 bar->setShowCaption(false);
                 bar->setPosition(100);
                 bar->resize(150, 12);
                 return Sample{bar, QPoint(75, 6)};
             }},
            {"tab scroll button", [](QWidget *w, TkavFileTheme *theme) {
                 auto *tabs = themed(new TkavTabControl(w), theme);
                 QStringList captions;
                 for (int i = 1; i <= 20; ++i)
                     captions << QStringLiteral("Tab %1").arg(i);
                 tabs->setTabs(captions);
                 tabs->resize(200, 80);
                 TkavTabControlTopPanel *strip = tabs->topPanel();
                 return Sample{strip, strip->scrollButtons().right.center()};
             }},
            {"tab", [](QWidget *w, TkavFileTheme *theme) {
                 auto *tabs = themed(new TkavTabControl(w), theme);
                 tabs->resize(200, 80);
                 TkavTabControlTopPanel *strip = tabs->topPanel();
                 // Inside the tab's stretched middle, above its caption.
                 return Sample{strip, strip->tabRect(0).topLeft() + QPoint(5, 2)};
             }},
            {"panel caption bar", [](QWidget *w, TkavFileTheme *theme) {
                 auto *panel = themed(new TkavPanel(w), theme);
                 panel->setCaption(QString());
                 panel->setShowButton(false);
                 panel->resize(120, 60);
                 return Sample{panel, QPoint(60, 10)};
             }},
        };
        const QList<std::pair<qreal, QRgb>> ratios = {{1.0, Single}, {1.5, Double}, {2.0, Double}};
        for (const auto &[name, make] : controls)
            for (const auto &[ratio, colour] : ratios)
                QTest::addRow("%s at %g", name, ratio) << make << ratio << colour;
    }

    void pictureOfTheRatio()
    {
        QFETCH(SampleMaker, make);
        QFETCH(qreal, ratio);
        QFETCH(QRgb, colour);
        const std::unique_ptr<QWidget> window = windowAt(ratio);
        QVERIFY(window);
        const Sample sample = make(window.get(), m_theme.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(sample.control->devicePixelRatioF(), ratio);
        QCOMPARE(QColor(grabbedAt(sample.control, sample.at)), QColor(colour));
    }

    void outlinesOnWholeDevicePixels_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<TkavUIStyle>("look");
        QTest::addColumn<qreal>("ratio");
        for (const qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
            for (const auto &[name, look] : {std::pair{"MacOS", TkavUIStyle::MacOS}, std::pair{"WinXP", TkavUIStyle::WinXP}}) {
                QTest::addRow("edit, %s at %g", name, ratio) << QStringLiteral("edit") << look << ratio;
                QTest::addRow("page control, %s at %g", name, ratio) << QStringLiteral("pages") << look << ratio;
            }
        }
    }

    // An edit's frame and a page control's outline are as thick on the right as on the left and
    // as thick at the bottom as the edit's at the top, at every ratio (at a fractional one a line
    // of one logical pixel covers one device pixel or two, depending on where it falls); inside
    // the page there is nothing but the page's colour (no stray dash, no second line).
    void outlinesOnWholeDevicePixels()
    {
        QFETCH(QString, control);
        QFETCH(TkavUIStyle, look);
        QFETCH(qreal, ratio);
        const std::unique_ptr<QWidget> window = windowAt(ratio);
        QVERIFY(window);
        QWidget *shown = nullptr;
        int pageTop = 0;
        if (control == u"edit") {
            auto *edit = new TkavEdit(window.get());
            edit->setUIStyle(look);
            edit->setGeometry(11, 13, 121, 23);
            shown = edit;
        } else {
            auto *pages = new TkavPageControl(window.get());
            pages->setUIStyle(look);
            for (const char *caption : {"One", "Two"}) {
                auto *sheet = new TkavTabSheet(pages);
                sheet->setCaption(QString::fromLatin1(caption));
            }
            pages->setGeometry(11, 13, 201, 151);
            shown = pages;
            pageTop = pages->topPanel()->geometry().bottom() + 1;
        }
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QImage grabbed = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
        grabbed.setDevicePixelRatio(1.0);
        const int width = grabbed.width(), height = grabbed.height();
        const int edge = int(std::ceil(2 * ratio)) + 1; // two logical pixels of frame and one beyond
        // Left and right mirror each other on a row through the middle; so do top and bottom of
        // the edit on a column through the middle.
        const int middleRow = (height + qRound(pageTop * ratio)) / 2;
        for (int i = 0; i < edge; ++i)
            QCOMPARE(QColor(grabbed.pixel(width - 1 - i, middleRow)), QColor(grabbed.pixel(i, middleRow)));
        if (control == u"edit") {
            for (int i = 0; i < edge; ++i)
                QCOMPARE(QColor(grabbed.pixel(width / 2, height - 1 - i)), QColor(grabbed.pixel(width / 2, i)));
            return;
        }
        // The page's bottom line is as thick as its left one.
        const QRgb inside = grabbed.pixel(width / 2, middleRow);
        int left = 0, bottom = 0;
        while (left < width && grabbed.pixel(left, middleRow) != inside)
            ++left;
        while (bottom < height && grabbed.pixel(width / 2, height - 1 - bottom) != inside)
            ++bottom;
        QCOMPARE(bottom, left);
        // Inside the outline, from two logical rows below the strip, the page's colour only.
        const QRect page(left, qCeil((pageTop + 2) * ratio), width - 2 * left, height - bottom - qCeil((pageTop + 2) * ratio));
        for (int y = page.top(); y <= page.bottom(); ++y)
            for (int x = page.left(); x <= page.right(); ++x)
                if (grabbed.pixel(x, y) != inside)
                    QFAIL(qPrintable(QStringLiteral("a stray mark at device pixel %1,%2").arg(x).arg(y)));
    }

    void comboBoxButtonIsDense_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        QTest::addColumn<QString>("picture");
        QTest::addRow("MacOS") << TkavUIStyle::MacOS << "MACOS_COMBOBOX_BUTTON";
        QTest::addRow("WinXP") << TkavUIStyle::WinXP << "WINXP_COMBOBOX_BUTTON";
    }

    // The combo boxes' button pictures are the look's own (no theme key): at ratio 2 the button
    // is the double-density picture stretched over the button's device pixels, not the ordinary
    // picture enlarged.
    void comboBoxButtonIsDense()
    {
        QFETCH(TkavUIStyle, look);
        QFETCH(QString, picture);
        const std::unique_ptr<QWidget> window = windowAt(2.0);
        QVERIFY(window);
        auto *combo = new TkavComboBox(window.get());
        combo->setUIStyle(look);
        combo->resize(120, 23);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const Kav::ComboBoxRects rects = Kav::KavComboBoxRects(combo->rect());
        const Kav::TkavPicture button = Kav::TkavPictureStore::instance().resourcePicture(picture);
        QVERIFY(button.has2x());
        QImage grabbed = combo->grab().toImage().convertToFormat(QImage::Format_RGB32);
        grabbed.setDevicePixelRatio(1.0);
        // A column away from the drawn arrow: the picture's own pixels there.
        const QRect part(rects.button.x() * 2, rects.button.y() * 2, 4, rects.button.height() * 2);
        QImage doubled = button.image2x().convertToFormat(QImage::Format_RGB32);
        doubled.setDevicePixelRatio(1.0);
        // Stretched as every skin picture is: target pixel i shows source pixel i * source / target.
        const QSize target = rects.button.size() * 2;
        QImage expected(4, target.height(), QImage::Format_RGB32);
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < 4; ++x)
                expected.setPixel(x, y, doubled.pixel(x * doubled.width() / target.width(),
                                                      y * doubled.height() / target.height()));
        QCOMPARE(grabbed.copy(part), expected);
    }
};

int main(int argc, char *argv[])
{
    // Three screens of ratios 1, 1.5 and 2 side by side.
    QTemporaryDir configDir;
    const QString config = configDir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [
        {"name": "single", "x": 0, "y": 0, "width": 800, "height": 600, "dpr": 1},
        {"name": "one-and-a-half", "x": 800, "y": 0, "width": 800, "height": 600, "dpr": 1.5},
        {"name": "double", "x": 1600, "y": 0, "width": 800, "height": 600, "dpr": 2},
        {"name": "one-and-a-quarter", "x": 2400, "y": 0, "width": 800, "height": 600, "dpr": 1.25}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
    QApplication app(argc, argv);
    tst_KavDenseControls test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kavdensecontrols.moc"
