#include "kav_look_rows.h"
#include "KAVForm.h"
#include "KAVMemo.h"
#include "KAVMgr.h"
#include "KAVScrollBar.h"
#include "tst_kavrange_fixtures.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QWheelEvent>

using namespace RangeFixtures;

namespace {

QFont fixtureFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

QStringList numberedLines(int count, const QString &text = QStringLiteral("line"))
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("%1 %2").arg(text).arg(i);
    return lines;
}

void pressKey(QWidget *widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

// Whether the skinned bar shows exactly the state of the memo's own bar in that direction.
bool mirrors(const TkavScrollBar *bar, const QScrollBar *native)
{
    const bool scrollable = native->maximum() > native->minimum();
    return bar->Min() == native->minimum() && bar->Max() == native->maximum()
        && bar->Position() == native->value() && bar->isEnabled() == scrollable
        && bar->SliderVisible() == scrollable;
}

} // namespace

class TestMemo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void border_data();
    void border();
    void looks();
    void followsTheText_data();
    void followsTheText();
    void followsResize();
    void followsWrapping();
    void barScrollsTheText();
    void nothingToScrollDisablesTheBar();
    void bothBarsAndTheTextArea();
    void cornerBetweenTheBarsIsTheMemos_data();
    void cornerBetweenTheBarsIsTheMemos();
    void destroyedBarLeavesNoScrollBarThere();
    void scrollBarsWithoutAttachedBars();
    void readOnlyWelcomeMemo();
    void returnsAndTabs();
    void publishedProperties();

private:
    TkavMemo *fixtureMemo();

    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;
    QWidget *m_window = nullptr;
};

void TestMemo::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_theme = writeRangeTheme(m_dir);
    QVERIFY(m_theme);
}

void TestMemo::init()
{
    m_window = new QWidget;
    m_window->resize(400, 300);
    m_window->show();
}

void TestMemo::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

TkavMemo *TestMemo::fixtureMemo()
{
    auto *memo = new TkavMemo(m_window);
    memo->setFont(fixtureFont());
    memo->setGeometry(10, 10, 200, 120);
    memo->show();
    return memo;
}

void TestMemo::border_data()
{
    QTest::addColumn<int>("scrollBars");
    QTest::addColumn<QList<QPoint>>("outer");
    QTest::addColumn<QList<QPoint>>("inner");

    // A 40 x 30 memo: the outer line along its edge, the inner one just inside.
    const QList<QPoint> outer{{0, 0}, {39, 0}, {0, 29}, {39, 29}, {20, 0}, {0, 15}, {39, 15}, {20, 29}};
    const QList<QPoint> inner{{1, 1}, {38, 1}, {1, 28}, {38, 28}, {20, 1}, {1, 15}, {38, 15}, {20, 28}};
    QTest::addRow("no scroll bars") << int(TkavMemo::ssNone) << outer << inner;
    QTest::addRow("Qt's bars inside the border") << int(TkavMemo::ssBoth) << outer << inner;
}

void TestMemo::border()
{
    QFETCH(int, scrollBars);
    QFETCH(QList<QPoint>, outer);
    QFETCH(QList<QPoint>, inner);
    TkavMemo *memo = fixtureMemo();
    memo->setScrollBars(TkavMemo::TScrollStyle(scrollBars));
    memo->setGeometry(5, 5, 40, 30);
    const TColor border = TColor::fromRgb(200, 10, 20), colour = TColor::fromRgb(240, 250, 160);
    memo->setBorderColor(border);
    memo->setColor(colour);
    const QImage face = memo->grab().toImage();
    for (const QPoint &at : outer)
        QVERIFY2((face.pixel(at) & RGB_MASK) == (border.resolved().rgb() & RGB_MASK), qPrintable(QStringLiteral("outer %1,%2").arg(at.x()).arg(at.y())));
    for (const QPoint &at : inner)
        QVERIFY2((face.pixel(at) & RGB_MASK) == (colour.resolved().rgb() & RGB_MASK), qPrintable(QStringLiteral("inner %1,%2").arg(at.x()).arg(at.y())));
}

void TestMemo::looks()
{
    auto *form = new TkavForm(m_window);
    form->setUIStyle(TkavUIStyle::WinXP);
    TkavMemo *memo = fixtureMemo();
    QCOMPARE(memo->UIStyle(), TkavUIStyle::WinXP);
    QCOMPARE(memo->BorderColor(), GetInsideThemeColor(TkavUIStyle::WinXP, KavKey::ControlBorderColor));

    // The look sets the border colour only; a border colour stored after it wins.
    const TColor colour = TColor::fromRgb(1, 2, 3);
    memo->setColor(colour);
    const QFont font = memo->font();
    Kav::KavWriteUIStyle(memo, TkavUIStyle::MacOS);
    QCOMPARE(memo->BorderColor(), GetInsideThemeColor(TkavUIStyle::MacOS, KavKey::ControlBorderColor));
    QCOMPARE(memo->Color(), colour);
    QCOMPARE(memo->font(), font);
    memo->setBorderColor(TColor(8355711));
    QCOMPARE(memo->BorderColor(), TColor::fromRgb(127, 127, 127));

    // The attached bar takes the memo's look and file theme.
    auto *bar = new TkavScrollBar(m_window);
    memo->setVScrollBar(bar);
    memo->setUIStyle(TkavUIStyle::Protein);
    QCOMPARE(bar->UIStyle(), TkavUIStyle::Protein);
    auto theme = writeRangeTheme(m_dir);
    QVERIFY(theme);
    Kav::KavWriteFileTheme(memo, theme.get());
    Kav::KavWriteUIStyle(memo, TkavUIStyle::FromThemeFile);
    QCOMPARE(bar->FileTheme(), theme.get());
    QCOMPARE(bar->UIStyle(), TkavUIStyle::FromThemeFile);
    QCOMPARE(memo->BorderColor(), BorderColour);
    QCOMPARE(bar->Color(), ScrollBackground);
    QCOMPARE(bar->width(), ArrowSize.width());

    // The theme goes: both fall back to DeepBlue.
    theme.reset();
    QCOMPARE(memo->UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(memo->BorderColor(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor));
    QCOMPARE(bar->UIStyle(), TkavUIStyle::DeepBlue);
}

void TestMemo::followsTheText_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("typed") << QStringLiteral("type");
    QTest::addRow("pasted by the clipboard") << QStringLiteral("paste");
    QTest::addRow("pasted by Ctrl+V") << QStringLiteral("ctrl-v");
    QTest::addRow("set by the program") << QStringLiteral("lines");
    QTest::addRow("scrolled by the wheel") << QStringLiteral("wheel");
    QTest::addRow("scrolled by Page Down") << QStringLiteral("page-down");
    QTest::addRow("scrolled by Ctrl+End") << QStringLiteral("ctrl-end");
    QTest::addRow("undone") << QStringLiteral("undo");
}

void TestMemo::followsTheText()
{
    QFETCH(QString, how);
    TkavMemo *memo = fixtureMemo();
    auto *bar = new TkavScrollBar(m_window);
    memo->setVScrollBar(bar);
    QScrollBar *native = memo->verticalScrollBar();
    QVERIFY(!bar->isEnabled()); // nothing to scroll yet
    const QString text = numberedLines(40).join(QLatin1Char('\n'));

    if (how == QLatin1String("type")) {
        // Typing past the last visible line scrolls the text; the bar follows.
        for (int i = 0; i < 40; ++i) {
            pressKey(memo, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            pressKey(memo, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        }
    } else if (how == QLatin1String("paste")) {
        QGuiApplication::clipboard()->setText(text);
        memo->paste();
    } else if (how == QLatin1String("ctrl-v")) {
        QGuiApplication::clipboard()->setText(text);
        pressKey(memo, Qt::Key_V, Qt::ControlModifier);
    } else if (how == QLatin1String("lines")) {
        memo->setLines(numberedLines(40));
    } else if (how == QLatin1String("wheel")) {
        memo->setLines(numberedLines(40));
        QWheelEvent wheel(QPointF(20, 20), memo->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                          QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(memo->viewport(), &wheel);
        QVERIFY(native->value() > 0);
    } else if (how == QLatin1String("page-down")) {
        memo->setLines(numberedLines(40));
        pressKey(memo, Qt::Key_PageDown);
        QVERIFY(native->value() > 0);
    } else if (how == QLatin1String("ctrl-end")) {
        memo->setLines(numberedLines(40));
        pressKey(memo, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(native->value() > 0);
    } else if (how == QLatin1String("undo")) {
        memo->setLines(numberedLines(40));
        memo->selectAll();
        pressKey(memo, Qt::Key_Delete);
        QVERIFY(!bar->isEnabled());
        memo->undo();
    }
    QVERIFY(native->maximum() > 0);
    QVERIFY(mirrors(bar, native));
    QVERIFY(!memo->attachedScrollBars()->isSynchronising());
}

void TestMemo::followsResize()
{
    TkavMemo *memo = fixtureMemo();
    auto *bar = new TkavScrollBar(m_window);
    bar->setFileTheme(m_theme.get());
    bar->setUIStyle(TkavUIStyle::FromThemeFile);
    memo->setVScrollBar(bar);
    memo->setLines(numberedLines(200));
    const int shortThumb = bar->LineButton();
    QCOMPARE(bar->height(), 120 - 2);

    // Twice as high: twice the lines in view, so a longer slider, and a longer bar.
    memo->resize(200, 240);
    QCOMPARE(bar->height(), 240 - 2);
    QVERIFY(bar->LineButton() > shortThumb);
    const QScrollBar *native = memo->verticalScrollBar();
    QCOMPARE(bar->LineButton(), std::max(18, int(qint64(bar->trackRoom()) * native->pageStep()
                                                 / (native->maximum() - native->minimum() + native->pageStep()))));
    QVERIFY(mirrors(bar, native));

    // Moving the memo takes the bar along.
    memo->move(40, 30);
    QCOMPARE(bar->geometry().topLeft(), QPoint(40 + 200 - bar->width() - 2, 31));
}

void TestMemo::followsWrapping()
{
    TkavMemo *memo = fixtureMemo();
    auto *vertical = new TkavScrollBar(m_window);
    auto *horizontal = new TkavScrollBar(m_window);
    memo->setVScrollBar(vertical);
    memo->setHScrollBar(horizontal);
    memo->setLines(numberedLines(12, QStringLiteral("a rather long line that does not fit the memo's width")));
    QVERIFY(memo->WordWrap());
    QVERIFY(!horizontal->isEnabled()); // wrapped: nothing to scroll sideways
    const int wrappedMax = vertical->Max();

    memo->setWordWrap(false);
    QVERIFY(horizontal->isEnabled());
    QVERIFY(mirrors(horizontal, memo->horizontalScrollBar()));
    QVERIFY(mirrors(vertical, memo->verticalScrollBar()));
    QVERIFY(vertical->Max() < wrappedMax);
    QCOMPARE(horizontal->SmallChange(), 3 * horizontal->PageSize());
}

void TestMemo::barScrollsTheText()
{
    TkavMemo *memo = fixtureMemo();
    auto *bar = new TkavScrollBar(m_window);
    memo->setVScrollBar(bar);
    memo->setLines(numberedLines(100));
    QCOMPARE(memo->cursorForPosition(QPoint(4, 4)).blockNumber(), 0);
    QSignalSpy moves(memo->verticalScrollBar(), &QAbstractSlider::valueChanged);
    bar->setPosition(30);
    QCOMPARE(memo->verticalScrollBar()->value(), 30);
    QCOMPARE(memo->cursorForPosition(QPoint(4, 4)).blockNumber(), 30);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(bar->Position(), 30);
}

void TestMemo::nothingToScrollDisablesTheBar()
{
    TkavMemo *memo = fixtureMemo();
    auto *bar = new TkavScrollBar(m_window);
    memo->setVScrollBar(bar);
    memo->setLines({QStringLiteral("one line")});
    QVERIFY(!bar->isEnabled());
    QVERIFY(!bar->SliderVisible());
    memo->setLines(numberedLines(30));
    QVERIFY(bar->isEnabled());
    QVERIFY(bar->SliderVisible());
    memo->setEnabled(false);
    QVERIFY(!bar->isEnabled());
}

void TestMemo::bothBarsAndTheTextArea()
{
    TkavMemo *memo = fixtureMemo();
    auto *vertical = new TkavScrollBar(m_window);
    auto *horizontal = new TkavScrollBar(m_window);
    memo->setVScrollBar(vertical);
    memo->setHScrollBar(horizontal);
    QCOMPARE(memo->ScrollBars(), TkavMemo::ssBoth);
    const int v = vertical->width(), h = horizontal->height();
    QCOMPARE(vertical->geometry(), QRect(10 + 200 - v - 2, 11, v, 120 - h - 2));
    QCOMPARE(horizontal->geometry(), QRect(11, 10 + 120 - h - 2, 200 - v - 2, h));
    // Qt's own bars are not shown; the text stops where the skinned bars begin.
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->viewport()->geometry(), QRect(2, 2, 200 - 4 - v, 120 - 4 - h));
    // The bars lie over the memo.
    QVERIFY(m_window->children().indexOf(vertical) > m_window->children().indexOf(memo));
}

void TestMemo::cornerBetweenTheBarsIsTheMemos_data()
{
    kavAddLookRows("look");
}

// The square where the two attached bars meet shows the memo's colour, not the window's (a beige
// corner in a white WinXP memo).
void TestMemo::cornerBetweenTheBarsIsTheMemos()
{
    QFETCH(TkavUIStyle, look);
    m_window->setPalette(QPalette(QColor(236, 233, 216)));
    TkavMemo *memo = fixtureMemo();
    memo->setUIStyle(look);
    auto *vertical = new TkavScrollBar(m_window);
    auto *horizontal = new TkavScrollBar(m_window);
    memo->setVScrollBar(vertical);
    memo->setHScrollBar(horizontal);
    vertical->show();
    horizontal->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // What neither bar covers between them, inside the memo's two-pixel frame.
    const QRect corner = QRect(QPoint(horizontal->geometry().right() + 1, vertical->geometry().bottom() + 1),
                               memo->geometry().adjusted(2, 2, -2, -2).bottomRight());
    QVERIFY(corner.width() >= 10 && corner.height() >= 10);
    const QImage shown = m_window->grab(corner).toImage().convertToFormat(QImage::Format_RGB32);
    const QColor memoColour = memo->Color().resolved(memo->palette());
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            QCOMPARE(QColor(shown.pixel(x, y)), memoColour);
}

void TestMemo::destroyedBarLeavesNoScrollBarThere()
{
    TkavMemo *memo = fixtureMemo();
    auto *vertical = new TkavScrollBar(m_window);
    auto *horizontal = new TkavScrollBar(m_window);
    memo->setVScrollBar(vertical);
    memo->setHScrollBar(horizontal);
    delete vertical;
    QCOMPARE(memo->VScrollBar(), nullptr);
    QCOMPARE(memo->ScrollBars(), TkavMemo::ssHorizontal);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->viewport()->geometry().width(), 200 - 4);
    memo->setHScrollBar(nullptr);
    QCOMPARE(memo->ScrollBars(), TkavMemo::ssNone);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void TestMemo::scrollBarsWithoutAttachedBars()
{
    TkavMemo *memo = fixtureMemo();
    QCOMPARE(memo->ScrollBars(), TkavMemo::ssNone);
    QVERIFY(memo->setProperty("ScrollBars", QStringLiteral("ssVertical")));
    QCOMPARE(memo->ScrollBars(), TkavMemo::ssVertical);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    memo->setLines(numberedLines(50));
    QCOMPARE(memo->ScrollBars(), TkavMemo::ssVertical);
}

void TestMemo::readOnlyWelcomeMemo()
{
    // As the exam's welcome page has it: read-only, MacOS, a grey border and Qt's vertical bar.
    TkavMemo *memo = fixtureMemo();
    memo->setGeometry(320, 104, 289, 193);
    memo->setUIStyle(TkavUIStyle::MacOS);
    memo->setBorderColor(TColor(8355711));
    memo->setReadOnly(true);
    memo->setScrollBars(TkavMemo::ssVertical);
    memo->setLines(numberedLines(60, QStringLiteral("使用说明")));
    QVERIFY(memo->verticalScrollBar()->isVisible());
    const QImage face = memo->grab().toImage();
    QCOMPARE(face.pixel(0, 50) & RGB_MASK, qRgb(127, 127, 127) & RGB_MASK);

    // Typing changes nothing; the keys still scroll.
    pressKey(memo, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCOMPARE(memo->Lines().size(), 60);
    QCOMPARE(memo->Lines().first(), QStringLiteral("使用说明 0"));
    pressKey(memo, Qt::Key_PageDown);
    QVERIFY(memo->verticalScrollBar()->value() > 0);

    // A skinned bar attached to a read-only memo follows the keys as well.
    auto *bar = new TkavScrollBar(m_window);
    memo->setVScrollBar(bar);
    pressKey(memo, Qt::Key_PageDown);
    QVERIFY(mirrors(bar, memo->verticalScrollBar()));
    QVERIFY(bar->Position() > 0);
}

void TestMemo::returnsAndTabs()
{
    TkavMemo *memo = fixtureMemo();
    QVERIFY(memo->WantReturns());
    QVERIFY(!memo->WantTabs());
    QVERIFY(memo->tabChangesFocus());
    memo->setWantReturns(false);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(memo, &enter);
    QVERIFY(!enter.isAccepted()); // left to the window, for its default button
    QCOMPARE(memo->toPlainText(), QString());
    memo->setWantReturns(true);
    pressKey(memo, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCOMPARE(memo->blockCount(), 2);
    memo->setWantTabs(true);
    QVERIFY(!memo->tabChangesFocus());
}

void TestMemo::publishedProperties()
{
    const char *names[] = {"FileTheme", "UIStyle", "BorderColor", "VScrollBar", "HScrollBar", "Color", "Font",
                           "Lines", "ReadOnly", "ScrollBars", "WordWrap", "WantReturns", "WantTabs", "TabStop"};
    const QMetaObject &meta = TkavMemo::staticMetaObject;
    for (const char *name : names) {
        const QMetaProperty property = meta.property(meta.indexOfProperty(name));
        QVERIFY2(property.isValid() && property.isWritable(), name);
    }
    TkavMemo *memo = fixtureMemo();
    auto *bar = new TkavScrollBar(m_window);
    QVERIFY(memo->setProperty("VScrollBar", QVariant::fromValue(bar)));
    QCOMPARE(memo->VScrollBar(), bar);
    QVERIFY(memo->setProperty("Lines", QStringList{QStringLiteral("简单使用说明:"), QStringLiteral("5.请使用 TAB 键")}));
    QCOMPARE(memo->toPlainText(), QStringLiteral("简单使用说明:\n5.请使用 TAB 键"));
    QCOMPARE(memo->property("Lines").toStringList().size(), 2);
}

QTEST_MAIN(TestMemo)
#include "tst_kavmemo.moc"
