#include "KAVForm.h"
#include "KAVImageButton.h"
#include "KAVMemo.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVScrollBar.h"
#include "KAVTrackGeometry.h"
#include "tst_kavrange_fixtures.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QWheelEvent>
#include <QAccessible>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace RangeFixtures;
using Kav::Track::Range;

namespace {

constexpr auto Horizontal = KavOrientation::kavHorizontal;
constexpr auto Vertical = KavOrientation::kavVertical;

void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

QRgb rgb(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & RGB_MASK;
}

} // namespace

class TestScrollBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // The arithmetic, case by case.
    void layout_data();
    void layout();
    void sliderLength_data();
    void sliderLength();
    void proportionalThumb_data();
    void proportionalThumb();
    void placement_data();
    void placement();
    void composedSlider_data();
    void composedSlider();

    // The control.
    void newBarInItsFormsLook();
    void sliderLengthFromProperties();
    void verticalLayout();
    void arrowRepeat_data();
    void arrowRepeat();
    void changeIsTold();
    void wheel();
    void picturesAndColours_data();
    void picturesAndColours();
    void zeroSizeLaysOutAgainWithRoom();
    void lookChangeLaysOutAgain_data();
    void lookChangeLaysOutAgain();
    void pictureLessThemeAndBack();
    void lostFileThemeFallsBackToDeepBlue();
    void accessibility();

    // Attached to a host that keeps its own scroll state.
    void attachedMirrorsTheHost();
    void attachedDrivesTheHost();
    void attachedWithNothingToScroll();
    void attachedPlacement();
    void releaseAndDestruction();

private:
    TkavScrollBar *fixtureBar(TkavProgressBarOrientation orientation = Horizontal);

    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;
    DrivenClock *m_clock = nullptr;
    TkavRepeatTimerFactory m_previousButtonFactory;
    TkavRepeatTimerFactory m_previousPageFactory;
    QWidget *m_window = nullptr;
};

void TestScrollBar::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_theme = writeRangeTheme(m_dir);
    QVERIFY(m_theme);
}

void TestScrollBar::init()
{
    m_clock = new DrivenClock;
    m_previousButtonFactory = TkavCustomButton::setRepeatTimerFactory(drivenFactory(*m_clock));
    m_previousPageFactory = TkavTrackBar::setPageTimerFactory(drivenFactory(*m_clock));
    m_window = new QWidget;
    m_window->resize(400, 300);
    // Shown, so that sizes are laid out as they are set rather than at the first show.
    m_window->show();
}

void TestScrollBar::cleanup()
{
    delete m_window;
    m_window = nullptr;
    TkavCustomButton::setRepeatTimerFactory(m_previousButtonFactory);
    TkavTrackBar::setPageTimerFactory(m_previousPageFactory);
    delete m_clock;
    m_clock = nullptr;
}

TkavScrollBar *TestScrollBar::fixtureBar(TkavProgressBarOrientation orientation)
{
    auto *bar = new TkavScrollBar(m_window);
    bar->show();
    bar->setFileTheme(m_theme.get());
    bar->setUIStyle(TkavUIStyle::FromThemeFile);
    bar->setOrientation(orientation);
    if (orientation == Vertical)
        bar->resize(bar->width(), 100);
    else
        bar->resize(100, bar->height());
    return bar;
}

// --- Arithmetic -------------------------------------------------------------------------------

void TestScrollBar::layout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QSize>("barSize");
    QTest::addColumn<QRect>("increase");
    QTest::addColumn<QPoint>("trackAt");
    QTest::addColumn<int>("trackLength");

    // Arrow buttons of 16 x 22 standing, 22 x 16 lying.
    QTest::addRow("vertical: H - 2b - 1") << QSize(40, 100) << true << true << QSize(16, 100)
                                          << QRect(0, 78, 16, 22) << QPoint(0, 22) << 55;
    QTest::addRow("horizontal: W - 2b") << QSize(185, 40) << false << true << QSize(185, 16)
                                        << QRect(163, 0, 22, 16) << QPoint(22, 0) << 141;
    QTest::addRow("no room between the buttons") << QSize(30, 40) << false << true << QSize(30, 16)
                                                 << QRect(8, 0, 22, 16) << QPoint(22, 0) << 0;
    QTest::addRow("zero width hides") << QSize(0, 40) << false << false << QSize(0, 40) << QRect() << QPoint()
                                      << 0;
    QTest::addRow("zero height hides") << QSize(40, 0) << true << false << QSize(40, 0) << QRect() << QPoint()
                                       << 0;
}

void TestScrollBar::layout()
{
    QFETCH(QSize, size);
    QFETCH(bool, vertical);
    QFETCH(bool, visible);
    QFETCH(QSize, barSize);
    QFETCH(QRect, increase);
    QFETCH(QPoint, trackAt);
    QFETCH(int, trackLength);
    const QSize button = vertical ? QSize(16, 22) : QSize(22, 16);
    const Kav::Track::ScrollBarLayout layout
        = Kav::Track::scrollBarLayout(size, vertical ? Vertical : Horizontal, button, button);
    QCOMPARE(layout.visible, visible);
    QCOMPARE(layout.barSize, barSize);
    if (!visible)
        return;
    QCOMPARE(layout.decrease, QRect(QPoint(0, 0), button));
    QCOMPARE(layout.increase, increase);
    QCOMPARE(layout.trackAt, trackAt);
    QCOMPARE(layout.trackLength, trackLength);
}

void TestScrollBar::sliderLength_data()
{
    QTest::addColumn<int>("trackLength");
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<int>("lineButton");
    QTest::addColumn<int>("length");

    QTest::addRow("page 2 is no percentage: a tenth") << 171 << 2 << 0 << 17;
    QTest::addRow("page 9: a tenth") << 171 << 9 << 0 << 17;
    QTest::addRow("page 10") << 171 << 10 << 0 << 17;
    QTest::addRow("page 50: half") << 171 << 50 << 0 << 85;
    QTest::addRow("page 100: all") << 171 << 100 << 0 << 171;
    QTest::addRow("page 101: a tenth") << 171 << 101 << 0 << 17;
    QTest::addRow("fixed length") << 171 << 50 << 30 << 30;
    QTest::addRow("fixed length raised to 18") << 171 << 50 << 5 << 18;
    QTest::addRow("negative fixed length lets the page decide") << 171 << 50 << -4 << 85;
    QTest::addRow("no track") << 0 << 50 << 0 << 0;
}

void TestScrollBar::sliderLength()
{
    QFETCH(int, trackLength);
    QFETCH(int, pageSize);
    QFETCH(int, lineButton);
    QFETCH(int, length);
    QCOMPARE(Kav::Track::scrollSliderLength(trackLength, pageSize, lineButton), length);
}

void TestScrollBar::proportionalThumb_data()
{
    QTest::addColumn<int>("room");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("thumb");

    QTest::addRow("a tenth in view") << 100 << 0 << 90 << 10 << 10;
    QTest::addRow("all in view") << 100 << 0 << 0 << 10 << 100;
    QTest::addRow("no page") << 100 << 0 << 90 << 0 << 0;
    QTest::addRow("no room") << 0 << 0 << 90 << 10 << 0;
    QTest::addRow("huge range") << 100 << 0 << std::numeric_limits<int>::max() << 1000 << 0;
    QTest::addRow("whole int range") << 1000 << std::numeric_limits<int>::min() << std::numeric_limits<int>::max()
                                     << std::numeric_limits<int>::max() << 333;
}

void TestScrollBar::proportionalThumb()
{
    QFETCH(int, room);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, page);
    QFETCH(int, thumb);
    QCOMPARE(Kav::Track::proportionalThumb(room, Range{min, max}, page), thumb);
}

void TestScrollBar::placement_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<int>("other");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("fits");

    // Host at (10, 20), 200 x 100.
    QTest::addRow("vertical alone") << true << 16 << 0 << QRect(192, 21, 16, 98) << true;
    QTest::addRow("vertical above a horizontal bar") << true << 16 << 12 << QRect(192, 21, 16, 86) << true;
    QTest::addRow("horizontal alone") << false << 12 << 0 << QRect(11, 106, 198, 12) << true;
    QTest::addRow("horizontal beside a vertical bar") << false << 12 << 16 << QRect(11, 106, 182, 12) << true;
    QTest::addRow("vertical wider than the host") << true << 201 << 0 << QRect(7, 21, 201, 98) << false;
    QTest::addRow("horizontal taller than the host") << false << 101 << 0 << QRect(11, 17, 198, 101) << false;
}

void TestScrollBar::placement()
{
    QFETCH(bool, vertical);
    QFETCH(int, thickness);
    QFETCH(int, other);
    QFETCH(QRect, geometry);
    QFETCH(bool, fits);
    const QRect host(10, 20, 200, 100);
    const Kav::Track::AttachedPlacement placed = vertical ? Kav::Track::placeVerticalBar(host, thickness, other)
                                                          : Kav::Track::placeHorizontalBar(host, thickness, other);
    QCOMPARE(placed.geometry, geometry);
    QCOMPARE(placed.fits, fits);
}

void TestScrollBar::composedSlider_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<QRgb>>("along"); // the colour at each offset along the slider

    const QRgb H = SliderHead, B = SliderBody, T = SliderTail;
    QTest::addRow("head, stretched body, tail") << false << 10 << QList<QRgb>{H, H, H, B, B, B, B, T, T, T};
    QTest::addRow("no room for the body") << false << 6 << QList<QRgb>{H, H, H, T, T, T};
    QTest::addRow("shorter than both ends keeps both") << false << 4 << QList<QRgb>{H, H, T, T};
    QTest::addRow("one pixel") << false << 1 << QList<QRgb>{T};
    QTest::addRow("standing up") << true << 8 << QList<QRgb>{H, H, H, B, B, T, T, T};
    QTest::addRow("nothing") << false << 0 << QList<QRgb>{};
}

void TestScrollBar::composedSlider()
{
    QFETCH(bool, vertical);
    QFETCH(int, length);
    QFETCH(QList<QRgb>, along);
    QImage head = solid(SliceSize, SliderHead), body = solid(SliceSize, SliderBody), tail = solid(SliceSize, SliderTail);
    if (vertical)
        for (QImage *slice : {&head, &body, &tail})
            *slice = slice->transformed(QTransform().rotate(90));
    const QImage slider = Kav::composeScrollSlider(head, body, tail, length, vertical ? Vertical : Horizontal);
    if (along.isEmpty()) {
        QVERIFY(slider.isNull());
        return;
    }
    QCOMPARE(slider.size(), vertical ? QSize(SliceSize.height(), length) : QSize(length, SliceSize.height()));
    for (int i = 0; i < length; ++i) {
        const QPoint at = vertical ? QPoint(2, i) : QPoint(i, 2);
        QVERIFY2(rgb(slider, at.x(), at.y()) == (along.at(i) & RGB_MASK), qPrintable(QString::number(i)));
    }
}

// --- The control ------------------------------------------------------------------------------

void TestScrollBar::newBarInItsFormsLook()
{
    auto *form = new TkavForm(m_window);
    form->setUIStyle(TkavUIStyle::MacOS);
    TkavScrollBar bar(m_window);
    QCOMPARE(bar.UIStyle(), TkavUIStyle::MacOS);
    // Taken when the bar is polished.
    bar.ensurePolished();
    QCOMPARE(bar.Orientation(), Horizontal);
    const QSize strip = Kav::Metrics::keyPictureSize(TkavUIStyle::MacOS, KavKey::ScrollBarButtonImage);
    const QSize arrow(strip.width() / 6, strip.height());
    // 185 wide and as tall as the turned arrow.
    QCOMPARE(bar.size(), QSize(185, arrow.width()));
    QCOMPARE(bar.decreaseButton()->geometry(), QRect(0, 0, arrow.height(), arrow.width()));
    const int track = 185 - 2 * arrow.height();
    QCOMPARE(bar.track()->geometry(), QRect(arrow.height(), 0, track, arrow.width()));
    QCOMPARE(bar.track()->sliderRect().width(), track / 10);
    QCOMPARE((QList<int>{bar.Min(), bar.Max(), bar.Position(), bar.PageSize(), bar.LargeChange(),
                         bar.SmallChange(), bar.LineButton()}),
             (QList<int>{0, 100, 0, 2, 2, 1, 0}));
    QCOMPARE(bar.Color(), GetInsideThemeColor(TkavUIStyle::MacOS, KavKey::ScrollBarBackgroundColor));
}

void TestScrollBar::sliderLengthFromProperties()
{
    TkavScrollBar *bar = fixtureBar(); // 100 wide: track 100 - 2 x 7 = 86
    QCOMPARE(bar->height(), ArrowSize.width());
    QCOMPARE(bar->track()->width(), 86);
    QCOMPARE(bar->track()->sliderRect().size(), QSize(8, SliceSize.height()));
    bar->setPageSize(50);
    QCOMPARE(bar->track()->sliderRect().width(), 43);
    bar->setPageSize(150); // above Max: ignored
    QCOMPARE(bar->PageSize(), 50);
    QCOMPARE(bar->track()->sliderRect().width(), 43);

    bar->setLineButton(5);
    QCOMPARE(bar->LineButton(), 18);
    QCOMPARE(bar->track()->sliderRect().width(), 18);
    bar->setLineButton(87); // longer than the room between the arrows: ignored
    QCOMPARE(bar->LineButton(), 18);
    bar->setLineButton(0);
    QCOMPARE(bar->track()->sliderRect().width(), 43);

    // LargeChange pages by its value but leaves the slider until it is rebuilt.
    bar->setLargeChange(30);
    QCOMPARE(bar->PageSize(), 30);
    QCOMPARE(bar->track()->sliderRect().width(), 43);
    sendMouse(bar->track(), QEvent::MouseButtonPress, QPoint(80, 2), Qt::LeftButton, Qt::LeftButton);
    sendMouse(bar->track(), QEvent::MouseButtonRelease, QPoint(80, 2), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(bar->Position(), 30);
    bar->resize(101, bar->height());
    QCOMPARE(bar->track()->sliderRect().width(), 26); // 30 % of 87
}

void TestScrollBar::verticalLayout()
{
    TkavScrollBar *bar = fixtureBar(Vertical);
    QCOMPARE(bar->size(), QSize(ArrowSize.width(), 100));
    QCOMPARE(bar->track()->geometry(), QRect(0, 7, SliceSize.height(), 100 - 7 - 7 - 1));
    QCOMPARE(bar->increaseButton()->geometry(), QRect(0, 93, 5, 7));
    QCOMPARE(bar->track()->sliderRect(), QRect(0, 0, SliceSize.height(), 8));
    bar->setPosition(100);
    QCOMPARE(bar->track()->sliderRect(), QRect(0, 77, SliceSize.height(), 8));
}

void TestScrollBar::arrowRepeat_data()
{
    QTest::addColumn<bool>("increase");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("heldMs");
    QTest::addColumn<int>("position");

    // SmallChange 7.
    QTest::addRow("released before the first interval") << true << 50 << 99 << 50;
    QTest::addRow("one interval") << true << 50 << 100 << 57;
    QTest::addRow("three and a half intervals") << true << 50 << 350 << 71;
    QTest::addRow("stops at max") << true << 50 << 5000 << 100;
    QTest::addRow("decrease") << false << 50 << 200 << 36;
    QTest::addRow("decrease stops at min") << false << 50 << 5000 << 0;
}

void TestScrollBar::arrowRepeat()
{
    QFETCH(bool, increase);
    QFETCH(int, start);
    QFETCH(int, heldMs);
    QFETCH(int, position);
    TkavScrollBar *bar = fixtureBar();
    bar->setSmallChange(7);
    bar->setPosition(start);
    TkavImageButton *button = increase ? bar->increaseButton() : bar->decreaseButton();
    sendMouse(button, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    m_clock->advance(heldMs);
    sendMouse(button, QEvent::MouseButtonRelease, QPoint(2, 2), Qt::LeftButton, Qt::NoButton);
    m_clock->advance(1000); // nothing more after the release
    QCOMPARE(bar->Position(), position);
}

void TestScrollBar::changeIsTold()
{
    TkavScrollBar *bar = fixtureBar();
    QSignalSpy spy(bar, &TkavScrollBar::OnChange);
    bar->setPosition(0);
    QCOMPARE(spy.count(), 0);
    bar->setPosition(500);
    QCOMPARE(bar->Position(), 100);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QObject *>(), bar->track()); // the track is the sender
    bar->setPosition(40);
    QCOMPARE(bar->LastChange(), -60);
}

void TestScrollBar::wheel()
{
    TkavScrollBar *bar = fixtureBar();
    bar->setSmallChange(2);
    bar->setPosition(50);
    auto turn = [bar](int delta) {
        QWheelEvent event(QPointF(40, 2), bar->mapToGlobal(QPointF(40, 2)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(bar, &event);
    };
    const int lines = QApplication::wheelScrollLines();
    turn(-120); // one notch toward the user: forward
    QCOMPARE(bar->Position(), 50 + lines * 2);
    turn(60); // half a notch back: kept until it makes a whole one
    QCOMPARE(bar->Position(), 50 + lines * 2);
    turn(60);
    QCOMPARE(bar->Position(), 50);
}

void TestScrollBar::picturesAndColours_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addRow("horizontal") << false;
    QTest::addRow("vertical") << true;
}

void TestScrollBar::picturesAndColours()
{
    QFETCH(bool, vertical);
    TkavScrollBar *bar = fixtureBar(vertical ? Vertical : Horizontal);
    bar->setPosition(0);
    // Each button takes its three frames; a horizontal bar turns them a quarter anticlockwise,
    // which brings the mark of the top-left pixel to the bottom-left.
    const QPoint mark = vertical ? QPoint(0, 0) : QPoint(0, ArrowSize.width() - 1);
    const QSize size = vertical ? ArrowSize : ArrowSize.transposed();
    const QImage pictures[] = {bar->decreaseButton()->PicNormal(),   bar->decreaseButton()->PicMouseOn(),
                               bar->decreaseButton()->PicMouseDown(), bar->increaseButton()->PicNormal(),
                               bar->increaseButton()->PicMouseOn(),   bar->increaseButton()->PicMouseDown()};
    for (int frame = 1; frame <= 6; ++frame) {
        const QImage &picture = pictures[frame - 1];
        QCOMPARE(picture.size(), size);
        QCOMPARE(rgb(picture, mark.x(), mark.y()), ArrowMark & RGB_MASK);
        QCOMPARE(rgb(picture, 2, 2), arrowColour(frame) & RGB_MASK);
    }
    QVERIFY(bar->decreaseButton()->PicDisabled().isNull());

    // The face: arrows, the slider's head at the track's start, the background beyond the slider.
    bar->setEnabled(false); // the arrows keep their normal pictures
    const QImage face = bar->grab().toImage();
    const QPoint decrease(2, 2), head = vertical ? QPoint(2, 7) : QPoint(7, 2);
    const QPoint tail = vertical ? QPoint(2, 14) : QPoint(14, 2), beyond = vertical ? QPoint(2, 40) : QPoint(40, 2);
    QCOMPARE(rgb(face, decrease.x(), decrease.y()), arrowColour(1) & RGB_MASK);
    QCOMPARE(rgb(face, head.x(), head.y()), SliderHead & RGB_MASK);
    QCOMPARE(rgb(face, tail.x(), tail.y()), SliderTail & RGB_MASK);
    QCOMPARE(rgb(face, beyond.x(), beyond.y()), ScrollBackground.resolved().rgb() & RGB_MASK);
}

void TestScrollBar::zeroSizeLaysOutAgainWithRoom()
{
    TkavScrollBar *bar = fixtureBar();
    bar->resize(0, bar->height());
    bar->resize(60, bar->height());
    QCOMPARE(bar->increaseButton()->geometry(), QRect(53, 0, 7, 5));
    QCOMPARE(bar->track()->width(), 46);
}

// A look change lays the bar out again by its length alone: a thickness of 0, as a look without
// arrow pictures once left it, does not keep the bar hidden. A bar of no length stays so.
void TestScrollBar::lookChangeLaysOutAgain_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QSize>("before");
    QTest::addColumn<QSize>("after");
    const QSize arrow = Kav::Metrics::keyPictureSize(TkavUIStyle::MacOS, KavKey::ScrollBarButtonImage);
    const QSize frame(arrow.width() / 6, arrow.height());
    QTest::addRow("horizontal of no height") << false << QSize(150, 0) << QSize(150, frame.width());
    QTest::addRow("vertical of no width") << true << QSize(0, 110) << QSize(frame.width(), 110);
    QTest::addRow("horizontal of no length") << false << QSize(0, 30) << QSize(0, 30);
}

void TestScrollBar::lookChangeLaysOutAgain()
{
    QFETCH(bool, vertical);
    QFETCH(QSize, before);
    QFETCH(QSize, after);
    auto *bar = new TkavScrollBar(m_window);
    bar->setOrientation(vertical ? Vertical : Horizontal);
    bar->show();
    bar->resize(before);
    QCOMPARE(bar->size(), before);
    bar->setUIStyle(TkavUIStyle::MacOS);
    QCOMPARE(bar->size(), after);
    if (after.isEmpty())
        return;
    // Laid out: the increase button at the far end, the track between the buttons.
    const int length = vertical ? after.height() : after.width();
    const QPoint far = bar->increaseButton()->geometry().bottomRight();
    QCOMPARE(vertical ? far.y() : far.x(), length - 1);
    QVERIFY(bar->track()->isVisibleTo(bar));
    QCOMPARE(vertical ? bar->track()->height() : bar->track()->width(), vertical ? bar->trackRoom() - 1 : bar->trackRoom());
}

// The gallery's case: a theme of nothing but a button picture, then back to MacOS. Every bar, the
// memo's attached ones included, keeps its size and pictures: no look makes a bar vanish.
void TestScrollBar::pictureLessThemeAndBack()
{
    QImage button(30, 10, QImage::Format_RGB32);
    button.fill(Qt::darkGreen);
    auto onlyButton = KavTest::writeFixtureTheme(m_dir, QStringLiteral("onlybutton"), {{KavKey::ButtonImage, button}}, {});
    QVERIFY(onlyButton);

    auto *horizontal = new TkavScrollBar(m_window);
    horizontal->setFixedWidth(150);
    auto *vertical = new TkavScrollBar(m_window);
    vertical->setOrientation(Vertical);
    vertical->setFixedHeight(110);
    vertical->move(200, 0);
    auto *holder = new QWidget(m_window);
    holder->setGeometry(0, 120, 220, 110);
    auto *memo = new TkavMemo(holder);
    memo->setGeometry(0, 0, 220, 110);
    memo->setWordWrap(false);
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines << QStringLiteral("A line long enough to scroll sideways, number %1").arg(i);
    memo->setLines(lines);
    auto *memoVertical = new TkavScrollBar(holder);
    auto *memoHorizontal = new TkavScrollBar(holder);
    memo->setVScrollBar(memoVertical);
    memo->setHScrollBar(memoHorizontal);
    for (QWidget *child : {static_cast<QWidget *>(horizontal), static_cast<QWidget *>(vertical), holder})
        child->show();

    struct Seen {
        QSize size;
        QImage decrease, increase;
    };
    const QList<TkavScrollBar *> bars{horizontal, vertical, memoVertical, memoHorizontal};
    auto seen = [&] {
        QList<Seen> all;
        for (TkavScrollBar *bar : bars)
            all.append({bar->size(), bar->decreaseButton()->PicNormal(), bar->increaseButton()->PicNormal()});
        return all;
    };
    auto toLook = [&](TkavUIStyle look, TkavFileTheme *theme) {
        for (TkavScrollBar *bar : {horizontal, vertical}) {
            bar->setFileTheme(theme);
            bar->setUIStyle(look);
        }
        memo->setFileTheme(theme);
        memo->setUIStyle(look);
        QCoreApplication::processEvents();
    };

    toLook(TkavUIStyle::MacOS, nullptr);
    const QList<Seen> macOS = seen();
    toLook(TkavUIStyle::FromThemeFile, onlyButton.get());
    // The theme lacks the bars' pictures: they are DeepBlue's, not none.
    const QSize deepBlueArrow = Kav::Metrics::keyPictureSize(TkavUIStyle::DeepBlue, KavKey::ScrollBarButtonImage);
    for (const Seen &bar : seen()) {
        QVERIFY(!bar.size.isEmpty());
        QCOMPARE(bar.decrease.width() * bar.decrease.height(), deepBlueArrow.width() / 6 * deepBlueArrow.height());
    }
    toLook(TkavUIStyle::MacOS, nullptr);
    const QList<Seen> back = seen();
    for (qsizetype i = 0; i < bars.size(); ++i) {
        QCOMPARE(back[i].size, macOS[i].size);
        QCOMPARE(back[i].decrease, macOS[i].decrease);
        QCOMPARE(back[i].increase, macOS[i].increase);
        QVERIFY(bars[i]->isVisible());
    }
}

void TestScrollBar::lostFileThemeFallsBackToDeepBlue()
{
    auto theme = writeRangeTheme(m_dir);
    QVERIFY(theme);
    TkavScrollBar bar(m_window);
    Kav::KavWriteFileTheme(&bar, theme.get());
    Kav::KavWriteUIStyle(&bar, TkavUIStyle::FromThemeFile);
    QCOMPARE(bar.Color(), ScrollBackground);
    theme.reset();
    QCOMPARE(bar.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(bar.Color(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ScrollBarBackgroundColor));
    const QSize strip = Kav::Metrics::keyPictureSize(TkavUIStyle::DeepBlue, KavKey::ScrollBarButtonImage);
    QCOMPARE(bar.height(), strip.width() / 6);
}

void TestScrollBar::accessibility()
{
    TkavScrollBar *bar = fixtureBar();
    bar->setPosition(25);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(bar);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::ScrollBar);
    QAccessibleValueInterface *value = accessible->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 25);
    QCOMPARE(value->maximumValue().toInt(), 100);
    QCOMPARE(value->minimumStepSize().toInt(), 1);
    value->setCurrentValue(80);
    QCOMPARE(bar->Position(), 80);
}

// --- Attached ---------------------------------------------------------------------------------

void TestScrollBar::attachedMirrorsTheHost()
{
    auto *host = new QAbstractScrollArea(m_window);
    host->show();
    host->setGeometry(10, 10, 200, 120);
    TkavAttachedScrollBars attached(host);
    TkavScrollBar *bar = fixtureBar();
    QScrollBar *native = host->verticalScrollBar();
    native->setRange(0, 100000);
    native->setPageStep(1000);
    native->setValue(70000);
    QVERIFY(attached.setBar(Qt::Vertical, bar));
    QCOMPARE(bar->Orientation(), Vertical);
    QCOMPARE(bar->Max(), 100000);
    QCOMPARE(bar->Position(), 70000);
    QVERIFY(bar->isEnabled());
    QVERIFY(bar->SliderVisible());
    // The slider is as long as the host's thumb would be, and at least 18.
    QCOMPARE(bar->LineButton(), 18);
    native->setRange(0, 90);
    native->setPageStep(10);
    attached.synchronise();
    const int room = bar->trackRoom();
    QCOMPARE(bar->LineButton(), std::max(18, room / 10));
    QCOMPARE(bar->SmallChange(), 1); // the vertical arrow step is left alone

    native->setValue(33);
    QCOMPARE(bar->Position(), 33);

    // The horizontal bar's arrow step is three pages.
    TkavScrollBar *across = fixtureBar();
    host->horizontalScrollBar()->setRange(0, 500);
    attached.setBar(Qt::Horizontal, across);
    QCOMPARE(across->Max(), 500);
    QCOMPARE(across->SmallChange(), 3 * across->PageSize());
}

void TestScrollBar::attachedDrivesTheHost()
{
    auto *host = new QAbstractScrollArea(m_window);
    host->show();
    host->setGeometry(10, 10, 200, 120);
    TkavAttachedScrollBars attached(host);
    TkavScrollBar *bar = fixtureBar();
    QScrollBar *native = host->verticalScrollBar();
    native->setRange(0, 100000);
    attached.setBar(Qt::Vertical, bar);
    QSignalSpy hostMoves(native, &QAbstractSlider::valueChanged);
    QSignalSpy barMoves(bar, &TkavScrollBar::OnChange);

    // Positions beyond 16 bits reach the host whole.
    bar->setPosition(70000);
    QCOMPARE(native->value(), 70000);
    QCOMPARE(hostMoves.count(), 1);
    QCOMPARE(barMoves.count(), 1);

    // The host's own moves come back to the bar without being sent to the host again.
    native->setValue(123);
    QCOMPARE(bar->Position(), 123);
    QCOMPARE(hostMoves.count(), 2);
    QVERIFY(!attached.isSynchronising());
    QVERIFY(!attached.isScrollingFromBar());
}

void TestScrollBar::attachedWithNothingToScroll()
{
    auto *host = new QAbstractScrollArea(m_window);
    host->show();
    host->setGeometry(10, 10, 200, 120);
    TkavAttachedScrollBars attached(host);
    TkavScrollBar *bar = fixtureBar();
    host->verticalScrollBar()->setRange(0, 0);
    attached.setBar(Qt::Vertical, bar);
    QVERIFY(!bar->isEnabled());
    QVERIFY(!bar->SliderVisible());
    QCOMPARE(bar->LineButton(), 0);
    host->verticalScrollBar()->setRange(0, 40);
    QVERIFY(bar->isEnabled());
    QVERIFY(bar->SliderVisible());
    host->setEnabled(false);
    QVERIFY(!bar->isEnabled());
}

void TestScrollBar::attachedPlacement()
{
    auto *host = new QAbstractScrollArea(m_window);
    host->show();
    host->setGeometry(10, 20, 200, 100);
    TkavAttachedScrollBars attached(host);
    TkavScrollBar *vertical = fixtureBar();
    TkavScrollBar *horizontal = fixtureBar();
    attached.setBar(Qt::Vertical, vertical);
    attached.setBar(Qt::Horizontal, horizontal);
    const int v = vertical->width(), h = horizontal->height();
    QCOMPARE(vertical->geometry(), QRect(10 + 200 - v - 2, 21, v, 100 - h - 2));
    QCOMPARE(horizontal->geometry(), QRect(11, 20 + 100 - h - 2, 200 - v - 2, h));
    QCOMPARE(attached.reservedMargins(), QMargins(0, 0, v, h));

    // It follows the host.
    host->setGeometry(30, 40, 150, 80);
    QCOMPARE(vertical->geometry(), QRect(30 + 150 - v - 2, 41, v, 80 - h - 2));

    // A host too narrow for the vertical bar hides it until there is room again.
    host->resize(v - 1, 80);
    QVERIFY(!vertical->isVisible());
    host->resize(150, 80);
    QVERIFY(vertical->isVisible());
}

void TestScrollBar::releaseAndDestruction()
{
    auto *host = new QAbstractScrollArea(m_window);
    host->show();
    host->setGeometry(10, 20, 200, 100);
    TkavAttachedScrollBars attached(host);
    QSignalSpy changes(&attached, &TkavAttachedScrollBars::barsChanged);
    TkavScrollBar *first = fixtureBar();
    host->verticalScrollBar()->setRange(0, 0); // leaves the bar disabled
    attached.setBar(Qt::Vertical, first);
    QVERIFY(!attached.setBar(Qt::Vertical, first)); // the same bar again: nothing
    QVERIFY(!first->isEnabled());

    // Attaching another releases the first: its step, range end and input come back.
    TkavScrollBar *second = fixtureBar();
    attached.setBar(Qt::Vertical, second);
    QCOMPARE(first->LineButton(), 0);
    QCOMPARE(first->Max(), 100);
    QVERIFY(first->isEnabled());
    QSignalSpy firstMoves(first, &TkavScrollBar::OnChange);
    first->setPosition(50);
    QCOMPARE(host->verticalScrollBar()->value(), 0); // no longer drives the host

    delete second;
    QCOMPARE(attached.bar(Qt::Vertical), nullptr);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(attached.reservedMargins(), QMargins());
}

QTEST_MAIN(TestScrollBar)
#include "tst_kavscrollbar.moc"
