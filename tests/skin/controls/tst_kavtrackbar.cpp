#include "kav_look_rows.h"
#include "KAVForm.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVTrackBar.h"
#include "KAVTrackGeometry.h"
#include "tst_kavrange_fixtures.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <set>

using namespace RangeFixtures;
using Kav::Track::Range;

namespace {

constexpr int IntMin = std::numeric_limits<int>::min();
constexpr int IntMax = std::numeric_limits<int>::max();

void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
void press(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonPress, at, button, button);
}
void moveHeld(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseMove, at, Qt::NoButton, button);
}
void release(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// Every tick centre by walking each value, as a reference for the bounded walk.
QList<int> bruteForceTicks(int length, int slider, Range range, int frequency)
{
    std::set<int> centres;
    const qint64 span = range.span();
    if (span <= 0)
        return {};
    const qint64 room = std::max(0, length - slider);
    for (qint64 t = 0; t <= span; ++t) {
        const bool tick = t == span || t == 0 || (frequency >= 1 && t % frequency == 0);
        if (tick)
            centres.insert(int(room * t / span) + slider / 2);
    }
    return QList<int>(centres.begin(), centres.end());
}

} // namespace

class TestTrackBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // The arithmetic, case by case.
    void sliderOffset_data();
    void sliderOffset();
    void positionAt_data();
    void positionAt();
    void pageToward_data();
    void pageToward();
    void keyTarget_data();
    void keyTarget();
    void tickCentres_data();
    void tickCentres();
    void tickCentresMatchWalkingEveryValue();

    // The control.
    void rangeSetters_data();
    void rangeSetters();
    void changeOnlyOnRealChange();
    void lastChangeOfHugeRange();
    void paging_data();
    void paging();
    void dragging_data();
    void dragging();
    void keys_data();
    void keys();
    void verticalMapping();
    void clickTakesFocusAndShowsIt();
    void pixels_data();
    void pixels();
    void transparentSliderCornerShowsBackdrop();
    void parentColourFillsTheBackdrop_data();
    void parentColourFillsTheBackdrop();
    void looks();
    void disabledLooksGreyed_data();
    void disabledLooksGreyed();
    void publishedProperties();
    void accessibility();

private:
    // A horizontal track bar of the fixture theme: 204 wide, slider 4 wide, so positions 0..100
    // are two pixels apart.
    TkavTrackBar *fixtureTrack(TkavProgressBarOrientation orientation = KavOrientation::kavHorizontal);

    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;
    DrivenClock *m_clock = nullptr;
    TkavRepeatTimerFactory m_previousFactory;
    QWidget *m_window = nullptr;
};

void TestTrackBar::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_theme = writeRangeTheme(m_dir);
    QVERIFY(m_theme);
}

void TestTrackBar::init()
{
    m_clock = new DrivenClock;
    m_previousFactory = TkavTrackBar::setPageTimerFactory(drivenFactory(*m_clock));
    m_window = new QWidget;
    m_window->resize(400, 300);
}

void TestTrackBar::cleanup()
{
    delete m_window;
    m_window = nullptr;
    TkavTrackBar::setPageTimerFactory(m_previousFactory);
    delete m_clock;
    m_clock = nullptr;
}

TkavTrackBar *TestTrackBar::fixtureTrack(TkavProgressBarOrientation orientation)
{
    auto *track = new TkavTrackBar(m_window);
    track->setFileTheme(m_theme.get());
    track->setUIStyle(TkavUIStyle::FromThemeFile);
    track->setOrientation(orientation);
    track->setMax(100);
    track->setPageSize(10);
    track->setLineSize(1);
    if (orientation == KavOrientation::kavVertical)
        track->resize(track->width(), SliderVSize.height() + 200);
    else
        track->resize(SliderSize.width() + 200, track->height());
    return track;
}

// --- Arithmetic -------------------------------------------------------------------------------

void TestTrackBar::sliderOffset_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("offset");

    QTest::addRow("min at the start") << 200 << 20 << 0 << 10 << 0 << 0;
    QTest::addRow("max puts the far edge at the end") << 200 << 20 << 0 << 10 << 10 << 180;
    QTest::addRow("five of ten at 90") << 200 << 20 << 0 << 10 << 5 << 90;
    QTest::addRow("truncates toward zero") << 200 << 20 << 0 << 7 << 1 << 25;
    QTest::addRow("negative range") << 200 << 20 << -10 << -5 << -6 << 144;
    QTest::addRow("min equals max") << 200 << 20 << 4 << 4 << 4 << 0;
    QTest::addRow("slider fills the track") << 20 << 20 << 0 << 10 << 7 << 0;
    QTest::addRow("slider longer than the track") << 10 << 20 << 0 << 10 << 7 << 0;
    QTest::addRow("beyond max counts as max") << 200 << 20 << 0 << 10 << 99 << 180;
    QTest::addRow("whole int range at min") << 1000 << 10 << IntMin << IntMax << IntMin << 0;
    QTest::addRow("whole int range at max") << 1000 << 10 << IntMin << IntMax << IntMax << 990;
    QTest::addRow("whole int range at zero") << 1000 << 10 << IntMin << IntMax << 0 << 495;
    QTest::addRow("huge range on a huge track") << 16777215 << 0 << 0 << IntMax << IntMax - 1 << 16777214;
}

void TestTrackBar::sliderOffset()
{
    QFETCH(int, length);
    QFETCH(int, slider);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(int, offset);
    QCOMPARE(Kav::Track::sliderOffset(length, slider, Range{min, max}, position), offset);
}

void TestTrackBar::positionAt_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("position");

    // (x - 10) * 10 / 180 on a 200-pixel track with a 20-pixel slider.
    QTest::addRow("drag to 100 gives 5") << 200 << 20 << 0 << 10 << 100 << 5;
    QTest::addRow("2.5 rounds down to even") << 200 << 20 << 0 << 10 << 55 << 2;
    QTest::addRow("3.5 rounds up to even") << 200 << 20 << 0 << 10 << 73 << 4;
    QTest::addRow("below a half rounds down") << 200 << 20 << 0 << 10 << 54 << 2;
    QTest::addRow("start end") << 200 << 20 << 0 << 10 << 10 << 0;
    QTest::addRow("far end") << 200 << 20 << 0 << 10 << 190 << 10;
    QTest::addRow("dragged before the start") << 200 << 20 << 0 << 10 << -500 << 0;
    QTest::addRow("dragged beyond the end") << 200 << 20 << 0 << 10 << 5000 << 10;
    QTest::addRow("point at INT_MIN") << 200 << 20 << 0 << 10 << IntMin << 0;
    QTest::addRow("point at INT_MAX") << 200 << 20 << 0 << 10 << IntMax << 10;
    QTest::addRow("offset range") << 200 << 20 << 100 << 110 << 100 << 105;
    QTest::addRow("negative range") << 200 << 20 << -30 << -20 << 100 << -25;
    QTest::addRow("min equals max") << 200 << 20 << 7 << 7 << 150 << 7;
    QTest::addRow("slider fills the track gives 0") << 20 << 20 << -5 << 5 << 15 << 0;
    QTest::addRow("that 0 brought into range") << 20 << 20 << 3 << 9 << 15 << 3;
    QTest::addRow("slider longer than the track") << 10 << 20 << 3 << 9 << 15 << 3;
    QTest::addRow("whole int range, start") << 1010 << 10 << IntMin << IntMax << 5 << IntMin;
    QTest::addRow("whole int range, end") << 1010 << 10 << IntMin << IntMax << 1005 << IntMax;
    // 500 * 4294967295 / 1000 = 2147483647.5, halves to even: 2147483648, plus INT_MIN.
    QTest::addRow("whole int range, middle") << 1010 << 10 << IntMin << IntMax << 505 << 0;
}

void TestTrackBar::positionAt()
{
    QFETCH(int, length);
    QFETCH(int, slider);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, point);
    QFETCH(int, position);
    QCOMPARE(Kav::Track::positionAt(length, slider, Range{min, max}, point), position);
}

void TestTrackBar::pageToward_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<int>("sliderNear");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("pointPosition");
    QTest::addColumn<qint64>("result");

    QTest::addRow("after the slider: one page") << 10 << qint64(5) << 40 << 100 << 30 << qint64(15);
    QTest::addRow("after the slider: not past the point") << 10 << qint64(50) << 40 << 100 << 30 << qint64(30);
    QTest::addRow("before the slider: one page") << 30 << qint64(5) << 120 << 20 << 2 << qint64(25);
    QTest::addRow("before the slider: not past the point") << 30 << qint64(50) << 120 << 20 << 2 << qint64(2);
    QTest::addRow("at the slider's edge: nothing") << 30 << qint64(5) << 120 << 120 << 2 << qint64(30);
    QTest::addRow("no overflow near INT_MAX") << IntMax - 1 << qint64(10) << 0 << 100 << IntMax
                                              << qint64(IntMax);
    QTest::addRow("no overflow near INT_MIN") << IntMin + 1 << qint64(30) << 100 << 0 << IntMin
                                              << qint64(IntMin);
}

void TestTrackBar::pageToward()
{
    QFETCH(int, position);
    QFETCH(qint64, step);
    QFETCH(int, sliderNear);
    QFETCH(int, point);
    QFETCH(int, pointPosition);
    QFETCH(qint64, result);
    QCOMPARE(Kav::Track::pageToward(position, step, sliderNear, point, pointPosition), result);
}

void TestTrackBar::keyTarget_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<qint64>("target");

    // Page 7, line 2, range -50..50.
    QTest::addRow("Page Up") << int(Qt::Key_PageUp) << 10 << true << qint64(3);
    QTest::addRow("Page Down") << int(Qt::Key_PageDown) << 10 << true << qint64(17);
    QTest::addRow("Home") << int(Qt::Key_Home) << 10 << true << qint64(-50);
    QTest::addRow("End") << int(Qt::Key_End) << 10 << true << qint64(50);
    QTest::addRow("Left") << int(Qt::Key_Left) << 10 << true << qint64(8);
    QTest::addRow("Up") << int(Qt::Key_Up) << 10 << true << qint64(8);
    QTest::addRow("Right") << int(Qt::Key_Right) << 10 << true << qint64(12);
    QTest::addRow("Down") << int(Qt::Key_Down) << 10 << true << qint64(12);
    QTest::addRow("Down past INT_MAX") << int(Qt::Key_Down) << IntMax << true << qint64(IntMax) + 2;
    QTest::addRow("Space") << int(Qt::Key_Space) << 10 << false << qint64(0);
    QTest::addRow("a letter") << int(Qt::Key_A) << 10 << false << qint64(0);
}

void TestTrackBar::keyTarget()
{
    QFETCH(int, key);
    QFETCH(int, position);
    QFETCH(bool, handled);
    QFETCH(qint64, target);
    const std::optional<qint64> result = Kav::Track::keyTarget(key, position, 7, 2, Range{-50, 50});
    QCOMPARE(result.has_value(), handled);
    if (handled)
        QCOMPARE(*result, target);
}

void TestTrackBar::tickCentres_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QList<int>>("centres");

    // 110-pixel track, 10-pixel slider: ten pixels per value of 0..10, centres 5 further in.
    QTest::addRow("frequency 3: 0, 3, 6, 9 and max") << 110 << 10 << 0 << 10 << 3 << QList<int>{5, 35, 65, 95, 105};
    QTest::addRow("frequency 1: every value") << 60 << 10 << 0 << 5 << 1
                                              << QList<int>{5, 15, 25, 35, 45, 55};
    QTest::addRow("frequency 5 lands on max once") << 110 << 10 << 0 << 10 << 5 << QList<int>{5, 55, 105};
    QTest::addRow("frequency larger than the range") << 110 << 10 << 0 << 10 << 50 << QList<int>{5, 105};
    QTest::addRow("frequency 0: min and max") << 110 << 10 << 0 << 10 << 0 << QList<int>{5, 105};
    QTest::addRow("negative frequency: min and max") << 110 << 10 << 0 << 10 << -3 << QList<int>{5, 105};
    QTest::addRow("counted from min") << 110 << 10 << -7 << 3 << 4 << QList<int>{5, 45, 85, 105};
    QTest::addRow("min equals max: none") << 110 << 10 << 4 << 4 << 1 << QList<int>{};
    QTest::addRow("no room: one tick") << 10 << 10 << 0 << 10 << 1 << QList<int>{5};
    QTest::addRow("more values than pixels") << 14 << 10 << 0 << 1000 << 1 << QList<int>{5, 6, 7, 8, 9};
    QTest::addRow("whole int range, every value") << 14 << 10 << IntMin << IntMax << 1
                                                  << QList<int>{5, 6, 7, 8, 9};
    // Ticks at offsets 0, 2^31 - 1, 2^32 - 2 and 2^32 - 1 of 2^32 - 1 over four pixels.
    QTest::addRow("whole int range, sparse ticks") << 14 << 10 << IntMin << IntMax << IntMax
                                                   << QList<int>{5, 6, 8, 9};
}

void TestTrackBar::tickCentres()
{
    QFETCH(int, length);
    QFETCH(int, slider);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, frequency);
    QFETCH(QList<int>, centres);
    QCOMPARE(Kav::Track::tickCentres(length, slider, Range{min, max}, frequency), centres);
}

void TestTrackBar::tickCentresMatchWalkingEveryValue()
{
    // Both ways of finding ticks (walking the ticks, or the pixels when ticks outnumber them)
    // must agree with walking every value.
    for (const int length : {1, 7, 23, 64})
        for (const int slider : {0, 5})
            for (const Range range : {Range{0, 1}, Range{-3, 17}, Range{0, 100}, Range{5, 260}})
                for (const int frequency : {-1, 0, 1, 2, 3, 7, 40, 300}) {
                    const QList<int> expected = bruteForceTicks(length, slider, range, frequency);
                    const QList<int> actual = Kav::Track::tickCentres(length, slider, range, frequency);
                    if (actual != expected)
                        QFAIL(qPrintable(QStringLiteral("length %1 slider %2 range %3..%4 frequency %5")
                                             .arg(length).arg(slider).arg(range.min).arg(range.max).arg(frequency)));
                }
}

// --- The control ------------------------------------------------------------------------------

void TestTrackBar::rangeSetters_data()
{
    // Each step sets one property; the row gives Min, Max, Position and PageSize afterwards.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("expected"); // min, max, position, page size

    QTest::addRow("defaults") << QStringList{} << QList<int>{0, 10, 0, 2};
    QTest::addRow("position clamped to max") << QStringList{"Position=99"} << QList<int>{0, 10, 10, 2};
    QTest::addRow("position clamped to min") << QStringList{"Position=-9"} << QList<int>{0, 10, 0, 2};
    QTest::addRow("max below min becomes min") << QStringList{"Min=5", "Max=2"} << QList<int>{5, 5, 5, 2};
    QTest::addRow("min above max becomes max") << QStringList{"Min=20"} << QList<int>{10, 10, 10, 2};
    QTest::addRow("lowering max pulls position") << QStringList{"Position=8", "Max=6"} << QList<int>{0, 6, 6, 2};
    QTest::addRow("raising min pushes position") << QStringList{"Position=2", "Min=4"} << QList<int>{4, 10, 4, 2};
    QTest::addRow("page size within 0..Max") << QStringList{"PageSize=10"} << QList<int>{0, 10, 0, 10};
    QTest::addRow("page size above max ignored") << QStringList{"PageSize=20"} << QList<int>{0, 10, 0, 2};
    QTest::addRow("negative page size ignored") << QStringList{"PageSize=-1"} << QList<int>{0, 10, 0, 2};
    QTest::addRow("whole int range") << QStringList{QStringLiteral("Min=%1").arg(IntMin),
                                                    QStringLiteral("Max=%1").arg(IntMax),
                                                    QStringLiteral("Position=%1").arg(IntMax)}
                                     << QList<int>{IntMin, IntMax, IntMax, 2};
}

void TestTrackBar::rangeSetters()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, expected);
    TkavTrackBar track(m_window);
    for (const QString &step : steps) {
        const QStringList parts = step.split(QLatin1Char('='));
        QVERIFY(track.setProperty(parts[0].toLatin1().constData(), parts[1].toInt()));
    }
    QCOMPARE((QList<int>{track.Min(), track.Max(), track.Position(), track.PageSize()}), expected);
}

void TestTrackBar::changeOnlyOnRealChange()
{
    TkavTrackBar track(m_window);
    QSignalSpy changes(&track, &TkavTrackBar::OnChange);
    track.setPosition(4);
    track.setPosition(4);
    track.setPosition(40); // clamped to 10
    track.setPosition(10);
    track.setMax(10);      // unchanged
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(0).at(0).value<QObject *>(), &track);
    QCOMPARE(track.LastChange(), 6);
    track.setMax(3);       // pulls the position back
    QCOMPARE(changes.count(), 3);
    QCOMPARE(track.LastChange(), -7);
}

void TestTrackBar::lastChangeOfHugeRange()
{
    TkavTrackBar track(m_window);
    track.setMin(IntMin);
    track.setMax(IntMax);
    track.setPosition(IntMin);
    track.setPosition(IntMax);
    // The true difference does not fit 32 bits; the nearest that does is kept.
    QCOMPARE(track.LastChange(), IntMax);
    track.setPosition(IntMin);
    QCOMPARE(track.LastChange(), IntMin);
}

void TestTrackBar::paging_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("pressAt");          // along the track
    QTest::addColumn<QList<int>>("moves");      // pointer positions along the track, one per tick
    QTest::addColumn<QList<int>>("positions");  // after the press, then after each 100 ms
    QTest::addColumn<bool>("stillPaging");

    // Positions are 2 pixels apart; the slider (4 long) sits at 2 x position.
    QTest::addRow("click right of the slider pages once")
        << false << 20 << 150 << QList<int>{} << QList<int>{30} << true;
    QTest::addRow("click left of the slider pages back")
        << false << 50 << 20 << QList<int>{} << QList<int>{40} << true;
    QTest::addRow("held right: three pages a tick, up to the pointer")
        << false << 0 << 152 << QList<int>{152, 152, 152} << QList<int>{10, 40, 70, 75} << true;
    QTest::addRow("held left: three pages a tick back")
        << false << 100 << 12 << QList<int>{12, 12} << QList<int>{90, 60, 30} << true;
    QTest::addRow("held below a vertical track: one page a tick")
        << true << 0 << 152 << QList<int>{152, 152, 152} << QList<int>{10, 20, 30, 40} << true;
    QTest::addRow("click near the far end stops at the pointer")
        << false << 0 << 16 << QList<int>{} << QList<int>{7} << true;
    QTest::addRow("leaving the control stops paging")
        << false << 0 << 152 << QList<int>{300, 152} << QList<int>{10, 10, 10} << false;
    QTest::addRow("the far edge still counts as inside")
        << false << 0 << 152 << QList<int>{204} << QList<int>{10, 40} << true;
}

void TestTrackBar::paging()
{
    QFETCH(bool, vertical);
    QFETCH(int, start);
    QFETCH(int, pressAt);
    QFETCH(QList<int>, moves);
    QFETCH(QList<int>, positions);
    QFETCH(bool, stillPaging);

    TkavTrackBar *track = fixtureTrack(vertical ? KavOrientation::kavVertical : KavOrientation::kavHorizontal);
    track->setPosition(start);
    const auto point = [vertical](int along) { return vertical ? QPoint(2, along) : QPoint(along, 2); };

    press(track, point(pressAt));
    QCOMPARE(track->Position(), positions.at(0));
    QVERIFY(track->isPaging());
    for (qsizetype i = 0; i < moves.size(); ++i) {
        moveHeld(track, point(moves.at(i)));
        m_clock->advance(100);
        QCOMPARE(track->Position(), positions.at(i + 1));
    }
    QCOMPARE(track->isPaging(), stillPaging);
    release(track, point(pressAt));
    QVERIFY(!track->isPaging());
    QCOMPARE(m_clock->running(), 0);
}

void TestTrackBar::dragging_data()
{
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<int>("changes");

    // The slider starts at position 10 (x 20..23); the pointer is its centre.
    QTest::addRow("follows the pointer") << QList<int>{62, 102} << QList<int>{30, 50} << 2;
    QTest::addRow("beyond the far end stops at max") << QList<int>{1000, 5000} << QList<int>{100, 100} << 1;
    QTest::addRow("before the start stops at min") << QList<int>{-40} << QList<int>{0} << 1;
    QTest::addRow("moving within one value tells nothing") << QList<int>{22, 23, 24} << QList<int>{10, 10, 11} << 1;
}

void TestTrackBar::dragging()
{
    QFETCH(QList<int>, moves);
    QFETCH(QList<int>, positions);
    QFETCH(int, changes);

    TkavTrackBar *track = fixtureTrack();
    track->setPosition(10);
    QCOMPARE(track->sliderRect(), QRect(20, 0, SliderSize.width(), SliderSize.height()));
    QSignalSpy spy(track, &TkavTrackBar::OnChange);
    press(track, QPoint(21, 3), Qt::RightButton); // any button drags
    QVERIFY(track->isDragging());
    QVERIFY(!track->isPaging());
    for (qsizetype i = 0; i < moves.size(); ++i) {
        moveHeld(track, QPoint(moves.at(i), 3), Qt::RightButton);
        QCOMPARE(track->Position(), positions.at(i));
    }
    QCOMPARE(spy.count(), changes);
    release(track, QPoint(moves.last(), 3), Qt::RightButton);
    QVERIFY(!track->isDragging());
}

void TestTrackBar::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("position");

    QTest::addRow("Page Down") << int(Qt::Key_PageDown) << 50 << 60;
    QTest::addRow("Page Up") << int(Qt::Key_PageUp) << 50 << 40;
    QTest::addRow("Page Up stops at min") << int(Qt::Key_PageUp) << 4 << 0;
    QTest::addRow("Home") << int(Qt::Key_Home) << 50 << 0;
    QTest::addRow("End") << int(Qt::Key_End) << 50 << 100;
    QTest::addRow("Right") << int(Qt::Key_Right) << 50 << 51;
    QTest::addRow("Down") << int(Qt::Key_Down) << 50 << 51;
    QTest::addRow("Left") << int(Qt::Key_Left) << 50 << 49;
    QTest::addRow("Up") << int(Qt::Key_Up) << 50 << 49;
    QTest::addRow("Right stops at max") << int(Qt::Key_Right) << 100 << 100;
    QTest::addRow("other keys do nothing") << int(Qt::Key_X) << 50 << 50;
}

void TestTrackBar::keys()
{
    QFETCH(int, key);
    QFETCH(int, start);
    QFETCH(int, position);
    TkavTrackBar *track = fixtureTrack();
    track->setPosition(start);
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(track, &event);
    QCOMPARE(track->Position(), position);
    QCOMPARE(event.isAccepted(), key != Qt::Key_X);
}

void TestTrackBar::verticalMapping()
{
    TkavTrackBar *track = fixtureTrack(KavOrientation::kavVertical);
    QCOMPARE(track->width(), SliderVSize.width()); // the slider is thicker than the bar
    track->setPosition(25);
    QCOMPARE(track->sliderRect(), QRect(QPoint(0, 50), SliderVSize));
    press(track, track->sliderRect().center());
    moveHeld(track, QPoint(0, 152));
    QCOMPARE(track->Position(), 75);
    release(track, QPoint(0, 152));
}

void TestTrackBar::clickTakesFocusAndShowsIt()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    TkavTrackBar *track = fixtureTrack();
    track->show();
    track->setColor(TColor::fromRgb(255, 255, 255));
    track->setShowTick(false);
    QCOMPARE(track->grab().toImage().pixel(100, 0) & RGB_MASK, qRgb(255, 255, 255) & RGB_MASK);
    press(track, QPoint(150, 2));
    release(track, QPoint(150, 2));
    QVERIFY(track->hasFocus());
    // The focus frame inverts every other pixel of the edge.
    const QImage face = track->grab().toImage();
    QCOMPARE(face.pixel(100, 0) & RGB_MASK, qRgb(0, 0, 0) & RGB_MASK);
    QCOMPARE(face.pixel(101, 0) & RGB_MASK, qRgb(255, 255, 255) & RGB_MASK);
    // Without TabStop a click still focuses, but no frame is shown.
    track->setTabStop(false);
    QCOMPARE(track->grab().toImage().pixel(100, 0) & RGB_MASK, qRgb(255, 255, 255) & RGB_MASK);
    track->clearFocus();
    press(track, QPoint(150, 2));
    release(track, QPoint(150, 2));
    QVERIFY(track->hasFocus());
    // A disabled track bar takes no focus from a click that reaches it.
    track->clearFocus();
    track->setEnabled(false);
    press(track, QPoint(20, 2));
    QVERIFY(!track->hasFocus());
    release(track, QPoint(20, 2));
}

void TestTrackBar::pixels_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("ticks");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QList<QRgb>>("colours");

    const QRgb back = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    // Horizontal: 24 wide, 6 high (the slider's height); bar rows 2..3; slider at position 5 of
    // 10 is at x 10..13; ticks every 2 values at x 2, 6, 10, ... 22 on rows 3..5.
    QTest::addRow("horizontal bar ends and middle")
        << false << false
        << QList<QPoint>{{0, 2}, {1, 2}, {0, 3}, {2, 3}, {3, 3}, {20, 3}, {21, 2}, {21, 3}, {23, 3}, {5, 1}, {5, 4}}
        << QList<QRgb>{back, BarLeft, BarLeft, BarLeft, BarMiddle, BarMiddle, back, BarRight, BarRight, back, back};
    QTest::addRow("horizontal slider over the bar")
        << false << false << QList<QPoint>{{10, 0}, {13, 5}, {11, 3}, {9, 3}, {14, 3}}
        << QList<QRgb>{Slider, Slider, Slider, BarMiddle, BarMiddle};
    QTest::addRow("horizontal ticks along the bottom")
        << false << true << QList<QPoint>{{2, 3}, {2, 5}, {6, 4}, {22, 5}, {2, 2}, {4, 5}}
        << QList<QRgb>{black, black, black, black, BarLeft, back};
    // Vertical: 6 wide, 24 high; bar columns 2..3 running down; slider rows 10..13; ticks at rows
    // 2, 6, ... 22, columns 0..2 and 3..5.
    QTest::addRow("vertical bar and slider")
        << true << false << QList<QPoint>{{2, 5}, {3, 17}, {1, 5}, {4, 17}, {0, 10}, {5, 13}}
        << QList<QRgb>{BarMiddle, BarMiddle, back, back, SliderV, SliderV};
    QTest::addRow("vertical ticks on both sides")
        << true << true << QList<QPoint>{{0, 2}, {2, 2}, {3, 2}, {5, 2}, {0, 3}}
        << QList<QRgb>{black, black, black, black, back};
}

void TestTrackBar::pixels()
{
    QFETCH(bool, vertical);
    QFETCH(bool, ticks);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<QRgb>, colours);

    TkavTrackBar *track = fixtureTrack(vertical ? KavOrientation::kavVertical : KavOrientation::kavHorizontal);
    track->setColor(TColor::fromRgb(255, 255, 255));
    track->setTabStop(false);
    track->setShowTick(ticks);
    track->setFrequency(2);
    track->setMax(10);
    track->setPosition(5);
    if (vertical)
        track->resize(track->width(), 24);
    else
        track->resize(24, track->height());
    const QImage face = track->grab().toImage();
    QCOMPARE(face.size(), vertical ? QSize(6, 24) : QSize(24, 6));
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QRgb actual = face.pixel(points.at(i)) & RGB_MASK;
        if (actual != (colours.at(i) & RGB_MASK))
            QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                 .arg(points.at(i).x()).arg(points.at(i).y())
                                 .arg(actual, 6, 16, QLatin1Char('0'))
                                 .arg(colours.at(i) & RGB_MASK, 6, 16, QLatin1Char('0'))));
    }
}

void TestTrackBar::transparentSliderCornerShowsBackdrop()
{
    // The slider's corner pixel of its key colour lets the track show; with Transparent, what lies
    // behind the track shows at the bar's magenta corners too.
    m_window->setAutoFillBackground(true);
    QPalette palette = m_window->palette();
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    m_window->setPalette(palette);
    TkavTrackBar *track = fixtureTrack();
    track->setShowTick(false);
    track->setTabStop(false);
    track->setPosition(0);
    track->setTransparent(true);
    const QImage face = track->grab().toImage();
    QCOMPARE(face.pixel(0, SliderSize.height() - 1) & RGB_MASK, qRgb(1, 2, 3) & RGB_MASK);
    QCOMPARE(face.pixel(1, SliderSize.height() - 1) & RGB_MASK, Slider & RGB_MASK);
    QCOMPARE(face.pixel(201, 2) & RGB_MASK, qRgb(1, 2, 3) & RGB_MASK); // the bar's right-end key
    QCOMPARE(face.pixel(203, 3) & RGB_MASK, BarRight & RGB_MASK);
}

void TestTrackBar::parentColourFillsTheBackdrop_data()
{
    QTest::addColumn<bool>("colourProperty");
    QTest::addRow("parent's Color property") << true;
    QTest::addRow("plain parent's palette") << false;
}

void TestTrackBar::parentColourFillsTheBackdrop()
{
    // With ParentColor a track bar is filled with what its parent is filled with: a parent that
    // keeps its colour in a Color property tells it there (whatever its palette says), any other
    // widget through its palette.
    QFETCH(bool, colourProperty);
    const QColor colour(10, 20, 30);
    auto *parent = new QWidget(m_window);
    QPalette palette = parent->palette();
    palette.setColor(parent->backgroundRole(), colourProperty ? QColor(200, 100, 0) : colour);
    parent->setPalette(palette);
    if (colourProperty)
        parent->setProperty("Color", colour); // as the skinned containers' Color reads
    TkavTrackBar *track = fixtureTrack();
    track->setParent(parent);
    track->setShowTick(false);
    QVERIFY(track->ParentColor());
    QVERIFY(!track->Transparent());
    QCOMPARE(track->grab().toImage().pixel(100, 0) & RGB_MASK, colour.rgb() & RGB_MASK);
}

void TestTrackBar::looks()
{
    // A new track bar takes its form's look; MacOS makes it transparent, and it stays so.
    auto *form = new TkavForm(m_window);
    form->setUIStyle(TkavUIStyle::MacOS);
    auto *track = new TkavTrackBar(m_window);
    QCOMPARE(track->UIStyle(), TkavUIStyle::MacOS);
    track->ensurePolished(); // which brings the look
    QVERIFY(track->Transparent());
    QCOMPARE(track->width(), 185);
    const QSize macSlider = Kav::Metrics::keyPictureSize(TkavUIStyle::MacOS, KavKey::TrackBarSliderImage);
    QCOMPARE(track->height(), macSlider.height());
    Kav::KavWriteUIStyle(track, TkavUIStyle::WinXP);
    QCOMPARE(track->UIStyle(), TkavUIStyle::WinXP);
    QVERIFY(track->Transparent());
    QCOMPARE(track->SliderImage().size(),
             Kav::Metrics::keyPictureSize(TkavUIStyle::WinXP, KavKey::TrackBarSliderImage));

    // A file theme by name, then destroyed: DeepBlue.
    auto theme = writeRangeTheme(m_dir);
    QVERIFY(theme);
    Kav::KavWriteFileTheme(track, theme.get());
    Kav::KavWriteUIStyle(track, TkavUIStyle::FromThemeFile);
    QCOMPARE(track->SliderImage().size(), SliderSize);
    QCOMPARE(track->height(), SliderSize.height());
    theme.reset();
    QCOMPARE(track->FileTheme(), nullptr);
    QCOMPARE(track->UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(track->SliderImage().size(),
             Kav::Metrics::keyPictureSize(TkavUIStyle::DeepBlue, KavKey::TrackBarSliderImage));

    // A bar picture of one's own stays until the look changes.
    track->setBarImage(barPicture());
    QCOMPARE(track->BarImage().size(), barPicture().size());
    track->setUIStyle(TkavUIStyle::Protein);
    QCOMPARE(track->BarImage().size(), Kav::Metrics::keyPictureSize(TkavUIStyle::Protein, KavKey::TrackBarBarImage));
}

void TestTrackBar::disabledLooksGreyed_data()
{
    kavAddLookRows("look");
}

// A disabled track bar shows its bar and slider greyed (no colour left in them), as disabled
// buttons and boxes do; enabled again it looks exactly as before.
void TestTrackBar::disabledLooksGreyed()
{
    QFETCH(TkavUIStyle, look);
    auto *track = new TkavTrackBar(m_window);
    track->setUIStyle(look);
    track->setPosition(4);
    track->setFocusPolicy(Qt::NoFocus); // the focus, which disabling takes away, is not the point
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const auto colourIn = [](const QImage &image) {
        qint64 saturation = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                saturation += QColor(image.pixel(x, y)).hsvSaturation();
        return saturation;
    };
    const QImage enabled = track->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(colourIn(enabled) > 0);
    track->setEnabled(false);
    const QImage disabled = track->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(disabled != enabled);
    // The backdrop (the window behind a transparent bar) may keep a tint; the pictures keep none.
    QVERIFY2(colourIn(disabled) * 4 < colourIn(enabled), "the disabled bar still shows its colours");
    track->setEnabled(true);
    QCOMPARE(track->grab().toImage().convertToFormat(QImage::Format_RGB32), enabled);
}

void TestTrackBar::publishedProperties()
{
    const char *names[] = {"Orientation", "FileTheme", "UIStyle", "BarImage", "SliderImage", "Max", "Min",
                           "Position", "PageSize", "LineSize", "ShowTick", "Transparent", "Frequency",
                           "Color", "ParentColor", "TabStop"};
    const QMetaObject &meta = TkavTrackBar::staticMetaObject;
    for (const char *name : names) {
        const QMetaProperty property = meta.property(meta.indexOfProperty(name));
        QVERIFY2(property.isValid() && property.isWritable(), name);
    }
    TkavTrackBar track(m_window);
    QVERIFY(track.setProperty("Orientation", QStringLiteral("kavVertical")));
    QCOMPARE(track.Orientation(), KavOrientation::kavVertical);
    QCOMPARE(QMetaEnum::fromType<TkavProgressBarOrientation>().valueToKey(KavOrientation::kavHorizontal),
             "kavHorizontal");
    // Defaults.
    QCOMPARE((QList<int>{track.Min(), track.Max(), track.Position(), track.PageSize(), track.LineSize(),
                         track.Frequency()}),
             (QList<int>{0, 10, 0, 2, 1, 1}));
    QVERIFY(track.ShowTick());
    QVERIFY(track.TabStop());
    QVERIFY(track.ParentColor());
}

void TestTrackBar::accessibility()
{
    TkavTrackBar *track = fixtureTrack();
    track->setPosition(30);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(track);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Slider);
    QAccessibleValueInterface *value = accessible->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 30);
    QCOMPARE(value->minimumValue().toInt(), 0);
    QCOMPARE(value->maximumValue().toInt(), 100);
    QCOMPARE(value->minimumStepSize().toInt(), 1);
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("30"));
    value->setCurrentValue(60);
    QCOMPARE(track->Position(), 60);
    track->setEnabled(false);
    QVERIFY(accessible->state().disabled);
}

QTEST_MAIN(TestTrackBar)
#include "tst_kavtrackbar.moc"
