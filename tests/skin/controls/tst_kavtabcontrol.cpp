#include "kav_look_rows.h"
#include "KAVForm.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVTabControl.h"
#include "KAVTabLayout.h"
#include "tst_kavtabcontrol_fixtures.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace TabFixtures;
namespace Layout = Kav::TabLayout;

namespace {

// "index:x:width", with ":cut" for a cut tab, for each tab drawn.
QStringList describe(const Layout::Result &result)
{
    QStringList tabs;
    for (const Layout::Tab &tab : result.tabs)
        tabs.append(QStringLiteral("%1:%2:%3%4")
                        .arg(tab.index)
                        .arg(tab.rect.x())
                        .arg(tab.rect.width())
                        .arg(tab.cut ? QStringLiteral(":cut") : QString()));
    return tabs;
}

Layout::Input input(const QList<int> &widths, const QList<bool> &shown, int selected, int offset)
{
    Layout::Input in;
    in.widths = widths;
    in.shown = shown;
    in.selected = selected;
    in.leftMargin = 10;
    in.stripWidth = 200;
    in.tabHeight = 12;
    in.buttonWidth = 8;
    in.scrollOffset = offset;
    return in;
}

QStringList names(int count)
{
    QStringList tabs;
    for (int i = 0; i < count; ++i)
        tabs.append(QStringLiteral("Tab %1").arg(i));
    return tabs;
}

} // namespace

class TestTabControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // The arithmetic, as tables.
    void tabWidth_data();
    void tabWidth();
    void layout_data();
    void layout();
    void tabAt_data();
    void tabAt();
    void offsetShowing_data();
    void offsetShowing();
    void scrollButtons();

    // The control.
    void defaults();
    void events_data();
    void events();
    void keyboard_data();
    void keyboard();
    void scrollButtonsScrollAndLightUp();
    void selectedTabScrolledIntoView();
    void tabChosenBeforeTheSizeStartsUnscrolled();
    void focusShownOnTheSelectedTab();
    void manyMoreTabsThanTheTable();
    void layoutKeptUntilItChanges();
    void pixels();
    void builtInLooks_data();
    void builtInLooks();
    void looks();
    void publishedProperties();
    void accessibility();

private:
    TkavTabControl *fixtureControl(const QStringList &tabs);

    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;
    QWidget *m_window = nullptr;
};

void TestTabControl::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_theme = writeTabTheme(m_dir);
    QVERIFY(m_theme);
}

void TestTabControl::init()
{
    m_window = new QWidget;
    m_window->resize(400, 300);
}

void TestTabControl::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

TkavTabControl *TestTabControl::fixtureControl(const QStringList &tabs)
{
    auto *control = new TkavTabControl(m_window);
    control->setFileTheme(m_theme.get());
    control->setUIStyle(TkavUIStyle::FromThemeFile);
    control->setTabs(tabs);
    control->resize(200, 80);
    return control;
}

// --- Arithmetic -------------------------------------------------------------------------------

void TestTabControl::tabWidth_data()
{
    QTest::addColumn<int>("captionWidth");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("width");
    QTest::newRow("caption plus padding") << 30 << false << 50;
    QTest::newRow("empty caption") << 0 << true << 80;
    QTest::newRow("caption of no width") << 0 << false << 20;
    QTest::newRow("never below the minimum") << -10 << false << 15;
}

void TestTabControl::tabWidth()
{
    QFETCH(int, captionWidth);
    QFETCH(bool, empty);
    QFETCH(int, width);
    QCOMPARE(Layout::tabWidth(captionWidth, empty), width);
}

void TestTabControl::layout_data()
{
    // Strip 200 wide, margin 10, buttons 8 wide: tabs other than the last stop at 182, the last
    // may reach 190.
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<bool>>("shown");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<bool>("overflow");
    QTest::addColumn<int>("lastFullTab");

    QTest::newRow("all fit") << QList<int>{50, 60} << QList<bool>{} << 0 << 0
                             << QStringList{"0:10:50", "1:60:60"} << false << 1;
    QTest::newRow("no tabs") << QList<int>{} << QList<bool>{} << -1 << 0 << QStringList{} << false << -1;
    QTest::newRow("last tab cut before the buttons")
        << QList<int>{80, 80, 80} << QList<bool>{} << 0 << 0 << QStringList{"0:10:80", "1:90:80", "2:170:12:cut"}
        << true << 1;
    QTest::newRow("last tab may pass the buttons") << QList<int>{80, 95} << QList<bool>{} << 0 << 0
                                                   << QStringList{"0:10:80", "1:90:95"} << false << 1;
    QTest::newRow("other tabs may not")
        << QList<int>{80, 95, 20} << QList<bool>{} << 0 << 0 << QStringList{"0:10:80", "1:90:92:cut"} << true << 0;
    QTest::newRow("scrolled by one") << QList<int>{80, 80, 80} << QList<bool>{} << 1 << 1
                                     << QStringList{"1:10:80", "2:90:80"} << false << 2;
    QTest::newRow("hidden tab takes no room") << QList<int>{50, 60, 70} << QList<bool>{true, false, true} << 0 << 0
                                              << QStringList{"0:10:50", "2:60:70"} << false << 2;
    QTest::newRow("offset counts shown tabs only")
        << QList<int>{50, 60, 70} << QList<bool>{false, true, true} << 2 << 1 << QStringList{"2:10:70"} << false << 2;
    QTest::newRow("all hidden") << QList<int>{50, 60} << QList<bool>{false, false} << -1 << 0 << QStringList{}
                                << false << 1;
}

void TestTabControl::layout()
{
    QFETCH(QList<int>, widths);
    QFETCH(QList<bool>, shown);
    QFETCH(int, selected);
    QFETCH(int, offset);
    QFETCH(QStringList, tabs);
    QFETCH(bool, overflow);
    QFETCH(int, lastFullTab);

    const Layout::Result result = Layout::layout(input(widths, shown, selected, offset));
    QCOMPARE(describe(result), tabs);
    QCOMPARE(result.overflow, overflow);
    QCOMPARE(result.lastFullTab, lastFullTab);
    for (const Layout::Tab &tab : result.tabs) {
        // The selected tab sits one pixel lower.
        QCOMPARE(tab.rect.y(), tab.index == selected ? 1 : 0);
        QCOMPARE(tab.rect.height(), 12);
    }
}

void TestTabControl::tabAt_data()
{
    // Tabs 0 (10..60, selected) and 1 (60..120), 12 high.
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("tab");
    QTest::newRow("inside the first") << QPoint(11, 5) << 0;
    QTest::newRow("on the first's left edge") << QPoint(10, 5) << -1;
    QTest::newRow("on the edge between") << QPoint(60, 5) << -1;
    QTest::newRow("inside the second") << QPoint(61, 5) << 1;
    QTest::newRow("second's last column") << QPoint(119, 5) << 1;
    QTest::newRow("past the last") << QPoint(150, 5) << -1;
    QTest::newRow("top row") << QPoint(30, 0) << -1;
    QTest::newRow("below the tabs") << QPoint(30, 12) << -1;
    QTest::newRow("left of the margin") << QPoint(5, 5) << -1;
}

void TestTabControl::tabAt()
{
    QFETCH(QPoint, at);
    QFETCH(int, tab);
    const Layout::Result result = Layout::layout(input({50, 60}, {}, 0, 0));
    QCOMPARE(Layout::tabAt(result, at, 12), tab);
}

void TestTabControl::offsetShowing_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<bool>>("shown");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("expected");
    const QList<int> four{80, 80, 80, 80};
    QTest::newRow("already shown") << four << QList<bool>{} << 1 << 0 << 0;
    QTest::newRow("beyond the right edge") << four << QList<bool>{} << 3 << 0 << 2;
    QTest::newRow("cut tab") << four << QList<bool>{} << 2 << 0 << 1;
    QTest::newRow("scrolled out to the left comes back") << four << QList<bool>{} << 0 << 2 << 0;
    QTest::newRow("hidden tab leaves the offset") << four << QList<bool>{true, true, true, false} << 3 << 1 << 1;
    QTest::newRow("no tab selected") << four << QList<bool>{} << -1 << 1 << 1;
    QTest::newRow("tab wider than the strip is shown first") << QList<int>{80, 500, 80} << QList<bool>{} << 1 << 0 << 1;
}

void TestTabControl::offsetShowing()
{
    QFETCH(QList<int>, widths);
    QFETCH(QList<bool>, shown);
    QFETCH(int, selected);
    QFETCH(int, offset);
    QFETCH(int, expected);
    Layout::Input in = input(widths, shown, selected, offset);
    QCOMPARE(Layout::offsetShowing(in), expected);
    in.scrollOffset = expected;
    const Layout::Result result = Layout::layout(in);
    if (selected >= 0 && Layout::isShown(in, selected) && widths.at(selected) < 150) {
        const auto drawn = std::find_if(result.tabs.begin(), result.tabs.end(),
                                        [&](const Layout::Tab &tab) { return tab.index == selected; });
        QVERIFY(drawn != result.tabs.end());
        QVERIFY(!drawn->cut);
    }
}

void TestTabControl::scrollButtons()
{
    const Layout::Buttons buttons = Layout::scrollButtons(QSize(200, 15), QSize(8, 8), true, 0);
    QVERIFY(buttons.shown);
    QCOMPARE(buttons.right, QRect(190, 1, 8, 8));
    QCOMPARE(buttons.left, QRect(182, 1, 8, 8));
    QVERIFY(Layout::scrollButtons(QSize(200, 15), QSize(8, 8), false, 1).shown);
    QVERIFY(!Layout::scrollButtons(QSize(200, 15), QSize(8, 8), false, 0).shown);
    // A strip hardly higher than a button keeps it at the top.
    QCOMPARE(Layout::scrollButtons(QSize(200, 10), QSize(8, 8), true, 0).right.y(), 0);
}

// --- The control --------------------------------------------------------------------------------

void TestTabControl::defaults()
{
    auto *control = new TkavTabControl(m_window);
    control->ensurePolished(); // its look, and with it the strip's height
    QCOMPARE(control->size(), QSize(185, 80));
    QCOMPARE(control->Tabs(), QStringList{"Tab1"});
    QCOMPARE(control->TabIndex(), 0);
    QCOMPARE(control->LeftMargin(), 10);
    QCOMPARE(control->topPanel()->tabRect(0).x(), 10);
    QCOMPARE(control->topPanel()->geometry(), QRect(0, 0, 185, control->stripHeight()));
    QVERIFY(control->stripHeight() > 0);
    // Children go into the body, inside the border.
    QCOMPARE(control->contentsRect(), QRect(3, control->stripHeight() + 3, 179, 80 - control->stripHeight() - 6));

    control->setTabs({});
    QCOMPARE(control->TabIndex(), -1);
    control->setTabIndex(0);
    QCOMPARE(control->TabIndex(), -1);
}

void TestTabControl::events_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("log");
    const QStringList asked{"changing"};
    const QStringList userChange{"changing", "active 2", "change"};
    QTest::newRow("click") << "click" << false << 2 << userChange;
    QTest::newRow("click refused") << "click" << true << 1 << asked;
    QTest::newRow("ctrl+tab") << "ctrl+tab" << false << 2 << userChange;
    QTest::newRow("ctrl+tab refused") << "ctrl+tab" << true << 1 << asked;
    QTest::newRow("right arrow on the strip") << "right" << false << 2 << userChange;
    QTest::newRow("by code") << "code" << false << 2 << QStringList{"active 2", "change"};
    QTest::newRow("by code, not refused") << "code" << true << 2 << QStringList{"active 2", "change"};
    QTest::newRow("deselect by code") << "none" << false << -1 << QStringList{"active -1", "change"};
    QTest::newRow("same tab by code") << "same" << false << 1 << QStringList{};
    QTest::newRow("out of range by code") << "far" << false << 1 << QStringList{};
    QTest::newRow("click on the selected tab") << "click same" << false << 1 << QStringList{};
}

void TestTabControl::events()
{
    QFETCH(QString, how);
    QFETCH(bool, refuse);
    QFETCH(int, index);
    QFETCH(QStringList, log);

    TkavTabControl *control = fixtureControl({"A", "B", "C"});
    control->setTabIndex(1);
    QStringList seen;
    connect(control, &TkavTab::OnChanging, this, [&](QObject *sender, bool &allow) {
        QCOMPARE(sender, control);
        seen.append("changing");
        if (refuse)
            allow = false;
    });
    connect(control, &TkavTab::OnTabActive, this, [&](QObject *, int i) { seen.append(QStringLiteral("active %1").arg(i)); });
    connect(control, &TkavTab::OnChange, this, [&](QObject *) { seen.append("change"); });

    TkavTabControlTopPanel *strip = control->topPanel();
    if (how == "click")
        click(strip, strip->tabRect(2).center());
    else if (how == "click same")
        click(strip, strip->tabRect(1).center());
    else if (how == "ctrl+tab")
        key(control, Qt::Key_Tab, Qt::ControlModifier);
    else if (how == "right")
        key(strip, Qt::Key_Right);
    else if (how == "code")
        control->setTabIndex(2);
    else if (how == "none")
        control->setTabIndex(-1);
    else if (how == "same")
        control->setTabIndex(1);
    else if (how == "far")
        control->setTabIndex(7);
    QCOMPARE(seen, log);
    QCOMPARE(control->TabIndex(), index);
}

void TestTabControl::keyboard_data()
{
    // Tabs 0..4, tab 2 hidden.
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<bool>("onStrip");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("to");
    const int ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("ctrl+tab skips the hidden tab") << 1 << int(Qt::Key_Tab) << false << ctrl << 3;
    QTest::newRow("ctrl+tab wraps") << 4 << int(Qt::Key_Tab) << false << ctrl << 0;
    QTest::newRow("ctrl+shift+tab (backtab)") << 3 << int(Qt::Key_Backtab) << false << ctrlShift << 1;
    QTest::newRow("ctrl+shift+tab wraps") << 0 << int(Qt::Key_Backtab) << false << ctrlShift << 4;
    QTest::newRow("ctrl+tab from the strip") << 0 << int(Qt::Key_Tab) << true << ctrl << 1;
    QTest::newRow("right arrow skips the hidden tab") << 1 << int(Qt::Key_Right) << true << 0 << 3;
    QTest::newRow("left arrow") << 3 << int(Qt::Key_Left) << true << 0 << 1;
    QTest::newRow("arrows stop at the end") << 4 << int(Qt::Key_Right) << true << 0 << 4;
    QTest::newRow("arrows stop at the start") << 0 << int(Qt::Key_Left) << true << 0 << 0;
    QTest::newRow("plain tab selects nothing") << 1 << int(Qt::Key_Tab) << false << 0 << 1;
}

void TestTabControl::keyboard()
{
    QFETCH(int, from);
    QFETCH(int, keyCode);
    QFETCH(bool, onStrip);
    QFETCH(int, modifiers);
    QFETCH(int, to);
    TkavTabControl *control = fixtureControl(names(5));
    control->topPanel()->setTabShown(2, false);
    control->setTabIndex(from);
    QWidget *target = onStrip ? static_cast<QWidget *>(control->topPanel()) : control;
    key(target, keyCode, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(control->TabIndex(), to);
}

void TestTabControl::scrollButtonsScrollAndLightUp()
{
    TkavTabControl *control = fixtureControl(names(10));
    TkavTabControlTopPanel *strip = control->topPanel();
    QVERIFY(strip->overflow());
    const Layout::Buttons buttons = strip->scrollButtons();
    QVERIFY(buttons.shown);
    QCOMPARE(buttons.right.size(), ButtonSize);
    QCOMPARE(buttons.right.right(), 200 - 3);

    // Normal frames, then the hot one under the pointer.
    QImage face = strip->grab().toImage();
    QCOMPARE(face.pixel(buttons.right.center()), buttonColour(1));
    QCOMPARE(face.pixel(buttons.left.center()), buttonColour(3));
    mouse(strip, QEvent::MouseMove, buttons.right.center());
    face = strip->grab().toImage();
    QCOMPARE(face.pixel(buttons.right.center()), buttonColour(2));
    mouse(strip, QEvent::MouseMove, buttons.left.center());
    face = strip->grab().toImage();
    QCOMPARE(face.pixel(buttons.left.center()), buttonColour(4));
    QCOMPARE(face.pixel(buttons.right.center()), buttonColour(1));

    // The right button advances one tab per click while the strip overflows; the left goes back.
    int clicks = 0;
    while (strip->overflow() && clicks < 20) {
        const int before = strip->scrollOffset();
        click(strip, buttons.right.center());
        QCOMPARE(strip->scrollOffset(), before + 1);
        ++clicks;
    }
    QVERIFY(clicks > 0 && clicks < 10);
    const int end = strip->scrollOffset();
    click(strip, buttons.right.center());
    QCOMPARE(strip->scrollOffset(), end);
    QCOMPARE(strip->currentLayout().tabs.last().index, 9);
    click(strip, buttons.left.center());
    QCOMPARE(strip->scrollOffset(), end - 1);
    for (int i = 0; i < 20; ++i)
        click(strip, buttons.left.center());
    QCOMPARE(strip->scrollOffset(), 0);
    // Scrolling by the buttons selects nothing.
    QCOMPARE(control->TabIndex(), 0);
    // A click on a scrolled-in tab selects it.
    click(strip, buttons.right.center());
    click(strip, strip->tabRect(1).center());
    QCOMPARE(control->TabIndex(), 1);
    QCOMPARE(strip->tabAt(QPoint(strip->LeftMargin() + 2, 5)), 1);
}

void TestTabControl::selectedTabScrolledIntoView()
{
    TkavTabControl *control = fixtureControl(names(12));
    TkavTabControlTopPanel *strip = control->topPanel();
    for (const int index : {11, 5, 0, 8}) {
        control->setTabIndex(index);
        const QRect rect = strip->tabRect(index);
        QVERIFY2(!rect.isNull(), qPrintable(QString::number(index)));
        QVERIFY(rect.x() + rect.width() <= 200 - 2 * ButtonSize.width() - 2 || index == 11);
        QVERIFY(rect.x() + rect.width() <= 200 - Kav::Metrics::TabLastTabRightGap);
        QCOMPARE(strip->tabAt(rect.center()), index);
    }
    // A narrower control keeps the selected tab in view.
    m_window->show();
    control->resize(120, 80);
    QVERIFY(!strip->tabRect(8).isNull());
}

void TestTabControl::manyMoreTabsThanTheTable()
{
    TkavTabControl *control = fixtureControl(names(300));
    TkavTabControlTopPanel *strip = control->topPanel();
    control->setTabIndex(250);
    QCOMPARE(control->TabIndex(), 250);
    QVERIFY(!strip->tabRect(250).isNull());
    control->setTabIndex(0);
    click(strip, strip->tabRect(1).center());
    QCOMPARE(control->TabIndex(), 1);
    strip->setTabShown(280, false);
    QVERIFY(!strip->tabShown(280));
    QVERIFY(strip->tabShown(299));
    key(control, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    key(control, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(control->TabIndex(), 299);
    (void)strip->grab();
    control->setTabs(names(3));
    QCOMPARE(control->TabIndex(), 2);
    QVERIFY(strip->scrollOffset() <= 2);
}

// The layout is worked out once per change and kept: mouse moves and hidden tabs cost a look-up
// (hundreds of tabs made each of them a full layout, and hiding them one by one cubic); whatever
// the layout reads still shows at the next look-up.
void TestTabControl::focusShownOnTheSelectedTab()
{
    // With the keyboard focus the strip marks its selected tab (and only that tab), as the other
    // controls mark themselves; without it the strip is drawn as before.
    auto *other = new QLineEdit(m_window);
    other->move(0, 200);
    TkavTabControl *control = fixtureControl(names(4));
    control->setTabIndex(1);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    TkavTabControlTopPanel *strip = control->topPanel();
    other->setFocus();
    const QImage unfocused = strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
    strip->setFocus();
    QTRY_VERIFY(strip->hasFocus());
    const QImage focused = strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRect changed;
    for (int y = 0; y < focused.height(); ++y)
        for (int x = 0; x < focused.width(); ++x)
            if (focused.pixel(x, y) != unfocused.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    QVERIFY2(!changed.isEmpty(), "the focused strip looks as an unfocused one");
    QVERIFY(strip->tabRect(1).contains(changed));
    other->setFocus();
    QTRY_VERIFY(!strip->hasFocus());
    QCOMPARE(strip->grab().toImage().convertToFormat(QImage::Format_RGB32), unfocused);
}

void TestTabControl::layoutKeptUntilItChanges()
{
    TkavTabControl *control = fixtureControl(names(300));
    TkavTabControlTopPanel *strip = control->topPanel();
    (void)strip->grab();
    const int runs = strip->layoutRuns();
    for (int x = 0; x < strip->width(); x += 4)
        mouse(strip, QEvent::MouseMove, QPoint(x, 3));
    for (int i = 0; i < 150; ++i)
        strip->setTabShown(i, false);
    QCOMPARE(strip->layoutRuns(), runs);

    QVERIFY(strip->tabRect(10).isNull());
    QCOMPARE(strip->layoutRuns(), runs + 1);
    strip->setTabShown(10, true);
    QCOMPARE(strip->currentLayout().tabs.first().index, 10);
    // Captions measured again in a larger font.
    control->setTabIndex(10);
    const int width = strip->tabRect(10).width();
    QFont font = control->font();
    font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() * 2 : 24);
    control->setFont(font);
    QVERIFY(strip->tabRect(10).width() > width);
}

void TestTabControl::pixels()
{
    TkavTabControl *control = fixtureControl({"", ""});
    control->setTabIndex(0);
    TkavTabControlTopPanel *strip = control->topPanel();
    QCOMPARE(control->stripHeight(), TabHeight + BarHeight);
    const QImage face = control->grab().toImage();
    const QRect active = strip->tabRect(0), inactive = strip->tabRect(1);
    QCOMPARE(active, QRect(10, 1, 80, TabHeight));
    QCOMPARE(inactive, QRect(90, 0, 80, TabHeight));
    const int y = 6;
    // Three parts: ends at their size, the middle stretched.
    QCOMPARE(face.pixel(active.x() + 1, y), tabColour(1, 0));
    QCOMPARE(face.pixel(active.x() + 40, y), tabColour(1, 1));
    QCOMPARE(face.pixel(active.x() + 78, y), tabColour(1, 2));
    QCOMPARE(face.pixel(inactive.x() + 1, y), tabColour(2, 0));
    QCOMPARE(face.pixel(inactive.x() + 40, y), tabColour(2, 1));
    QCOMPARE(face.pixel(inactive.x() + 79, y), tabColour(2, 2));
    // The selected tab sits one pixel lower; the inactive tab's top row shows its own picture.
    QCOMPARE(face.pixel(inactive.x() + 40, 0), tabColour(2, 1));
    // The bar under the tabs, edged in the border colour; no scroll buttons when all fit.
    QCOMPARE(face.pixel(100, TabHeight + 1), Bar);
    QCOMPARE(face.pixel(0, TabHeight + 1), Border.resolved().rgb());
    QCOMPARE(face.pixel(199, TabHeight + 1), Border.resolved().rgb());
    QVERIFY(!strip->scrollButtons().shown);
    // The body in the look's background, bordered left, bottom and right.
    QCOMPARE(face.pixel(100, 50), Background.resolved().rgb());
    QCOMPARE(face.pixel(0, 50), Border.resolved().rgb());
    QCOMPARE(face.pixel(100, 79), Border.resolved().rgb());
    QCOMPARE(face.pixel(199, 50), Border.resolved().rgb());
}

void TestTabControl::builtInLooks_data()
{
    kavAddLookRows("style");
}

void TestTabControl::builtInLooks()
{
    QFETCH(TkavUIStyle, style);
    auto *control = new TkavTabControl(m_window);
    control->setUIStyle(style);
    control->setTabs({"", "Second", "Third tab", "Fourth", "Fifth", "Sixth"});
    control->resize(300, 90);
    const KavThemeValues values(style, nullptr);
    const QImage tabs = values.bitmap(KavKey::TabControlTabImage);
    const QImage bar = values.bitmap(KavKey::TabControlBarImage);
    QVERIFY(!tabs.isNull());
    QCOMPARE(control->stripHeight(), tabs.height() + bar.height());

    const QImage face = control->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("KAV_RENDER_DIR"))
        face.save(qEnvironmentVariable("KAV_RENDER_DIR") + QStringLiteral("/tabs-%1.png").arg(int(style)));
    // The middle of the selected (empty) tab shows a pixel of the middle part of frame 1.
    const QRect active = control->topPanel()->tabRect(0);
    const int frameWidth = tabs.width() / 2, part = frameWidth / 3;
    const int row = tabs.height() / 2;
    QList<QRgb> middle;
    for (int x = part; x < 2 * part; ++x)
        middle.append(tabs.pixel(x, row) | 0xFF000000u);
    QVERIFY(middle.contains(face.pixel(active.x() + active.width() / 2, active.y() + row)));
    // The magenta key never shows.
    for (int y = 0; y < control->stripHeight(); ++y)
        for (int x = 0; x < face.width(); ++x)
            QVERIFY2(face.pixel(x, y) != qRgb(255, 0, 255), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    // The body: white in WinXP, the look's background elsewhere.
    const QRgb body = style == TkavUIStyle::WinXP ? qRgb(255, 255, 255)
                                                  : values.color(KavKey::ControlBackgroundColor).resolved().rgb();
    QCOMPARE(face.pixel(150, 80), body);
}

void TestTabControl::looks()
{
    // A new control takes its form's look.
    auto *form = new TkavForm(m_window);
    form->setUIStyle(TkavUIStyle::Protein);
    auto *control = new TkavTabControl(m_window);
    QCOMPARE(control->UIStyle(), TkavUIStyle::Protein);

    // A file theme by name, then destroyed: DeepBlue.
    auto theme = writeTabTheme(m_dir);
    QVERIFY(theme);
    Kav::KavWriteFileTheme(control, theme.get());
    Kav::KavWriteUIStyle(control, TkavUIStyle::FromThemeFile);
    QCOMPARE(control->stripHeight(), TabHeight + BarHeight);
    QCOMPARE(control->BorderColor(), Border);
    QCOMPARE(control->Color(), Background);
    theme.reset();
    QCOMPARE(control->FileTheme(), nullptr);
    QCOMPARE(control->UIStyle(), TkavUIStyle::DeepBlue);
    const KavThemeValues deepBlue(TkavUIStyle::DeepBlue, nullptr);
    QCOMPARE(control->stripHeight(), deepBlue.bitmap(KavKey::TabControlTabImage).height()
                                         + deepBlue.bitmap(KavKey::TabControlBarImage).height());

    // WinXP: white body whatever the look's background says.
    control->setUIStyle(TkavUIStyle::WinXP);
    QCOMPARE(control->Color(), TColor::fromRgb(255, 255, 255));

    // Border colour and margin set by hand.
    control->setBorderColor(TColor::fromRgb(104, 104, 104));
    QCOMPARE(control->BorderColor(), TColor::fromRgb(104, 104, 104));
    control->setLeftMargin(25);
    QCOMPARE(control->topPanel()->tabRect(0).x(), 25);
}

void TestTabControl::publishedProperties()
{
    TkavTabControl *control = fixtureControl({"A", "B"});
    for (const char *name : {"UIStyle", "FileTheme", "LeftMargin", "BorderColor", "Color", "Font", "Align", "Tabs",
                             "TabIndex"}) {
        const QMetaObject *meta = control->metaObject();
        QVERIFY2(meta->indexOfProperty(name) >= 0, name);
        QVERIFY2(meta->property(meta->indexOfProperty(name)).isWritable(), name);
    }
    QVERIFY(control->setProperty("Tabs", QStringList{"x", "y", "z"}));
    QVERIFY(control->setProperty("TabIndex", 2));
    QCOMPARE(control->TabIndex(), 2);
    QVERIFY(control->setProperty("LeftMargin", 4));
    QCOMPARE(control->property("LeftMargin").toInt(), 4);
}

void TestTabControl::accessibility()
{
    TkavTabControl *control = fixtureControl({"First", "Second", "Third"});
    m_window->show();
    QAccessibleInterface *strip = QAccessible::queryAccessibleInterface(control->topPanel());
    QVERIFY(strip);
    QCOMPARE(strip->role(), QAccessible::PageTabList);
    QCOMPARE(strip->childCount(), 3);
    QAccessibleInterface *second = strip->child(1);
    QVERIFY(second);
    QCOMPARE(second->role(), QAccessible::PageTab);
    QCOMPARE(second->text(QAccessible::Name), QStringLiteral("Second"));
    QCOMPARE(second->parent(), strip);
    QCOMPARE(strip->indexOfChild(second), 1);
    QVERIFY(strip->child(0)->state().selected);
    QVERIFY(!second->state().selected);
    int changing = 0;
    connect(control, &TkavTab::OnChanging, this, [&changing](QObject *, bool &) { ++changing; });
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(control->TabIndex(), 1);
    QCOMPARE(changing, 1);
    QVERIFY(second->state().selected);
    control->topPanel()->setTabShown(2, false);
    QVERIFY(strip->child(2)->state().invisible);
    QVERIFY(strip->child(5) == nullptr);
}

void TestTabControl::tabChosenBeforeTheSizeStartsUnscrolled()
{
    // A program that chooses a tab and then sizes the control (as the gallery does) sees the
    // strip from its first tab once shown, when the chosen one fits there; from then on the
    // strip scrolls only by its buttons and the selection.
    QWidget window;
    auto *tabs = new TkavTabControl(&window);
    tabs->setTabs(names(12));
    tabs->setTabIndex(2);
    tabs->setFixedSize(400, 90);
    window.resize(420, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TkavTabControlTopPanel *strip = tabs->topPanel();
    QCOMPARE(strip->scrollOffset(), 0);
    QVERIFY(!strip->tabRect(0).isNull());
    QVERIFY(!strip->tabRect(2).isNull());
    QCOMPARE(tabs->TabIndex(), 2);
}

QTEST_MAIN(TestTabControl)
#include "tst_kavtabcontrol.moc"
