#include "KAVForm.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVProgressBar.h"
#include "kav_fixture_theme.h"
#include "KAVThemeFile.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

namespace {

constexpr int IntMin = std::numeric_limits<int>::min();
constexpr int IntMax = std::numeric_limits<int>::max();

// A fill picture of 3 x 10: its first column is FillEdge, the rest FillBody, so that the stretched
// and the turned picture show where each part went.
const QRgb FillEdge = qRgb(200, 0, 0);
const QRgb FillBody = qRgb(0, 160, 0);
const TColor Unfilled = TColor::fromRgb(230, 230, 120);
const TColor Border = TColor::fromRgb(20, 30, 140);

QImage fillPicture()
{
    QImage picture(3, 10, QImage::Format_RGB32);
    picture.fill(FillBody);
    for (int y = 0; y < picture.height(); ++y)
        picture.setPixel(0, y, FillEdge);
    return picture;
}

std::unique_ptr<TkavFileTheme> writeProgressTheme(const QTemporaryDir &dir)
{
    return KavTest::writeFixtureTheme(dir, QStringLiteral("progress"), {{KavKey::ProgressBarImage, fillPicture()}},
                                      {{KavKey::ControlBackgroundColor, Unfilled}, {KavKey::ControlBorderColor, Border}});
}

QRgb rgb(QRgb pixel)
{
    return pixel & RGB_MASK;
}

// Pixels of face within rect that are neither of the given colours: what a caption left there.
int foreignPixels(const QImage &face, const QRect &rect, QList<QRgb> known)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (!known.contains(rgb(face.pixel(x, y))))
                ++count;
    return count;
}

} // namespace

class TestProgressBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void percent_data();
    void percent();
    void fillLength_data();
    void fillLength();

    void newBar();
    void pixels_data();
    void pixels();
    void caption_data();
    void caption();
    void thicknessIsFixed();
    void turningVertical();
    void stepping();
    void looks_data();
    void looks();
    void fileThemes();
    void publishedProperties();
    void accessibility();

private:
    TkavProgressBar *fixtureBar();

    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;
    QWidget *m_window = nullptr;
};

void TestProgressBar::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_theme = writeProgressTheme(m_dir);
    QVERIFY(m_theme);
}

void TestProgressBar::init()
{
    m_window = new QWidget;
    m_window->resize(400, 300);
}

void TestProgressBar::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

TkavProgressBar *TestProgressBar::fixtureBar()
{
    auto *bar = new TkavProgressBar(m_window);
    bar->setFileTheme(m_theme.get());
    bar->setUIStyle(TkavUIStyle::FromThemeFile);
    bar->setShowCaption(false);
    return bar;
}

// --- Arithmetic -------------------------------------------------------------------------------

void TestProgressBar::percent_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<qint64>("percent");
    QTest::addColumn<QString>("caption");

    QTest::addRow("new bar") << 0 << 100 << 50 << qint64(50) << "50%";
    QTest::addRow("truncated") << 0 << 3 << 2 << qint64(66) << "66%";
    QTest::addRow("min equals max") << 7 << 7 << 9 << qint64(0) << "0%";
    QTest::addRow("above max, unclamped") << 0 << 100 << 150 << qint64(150) << "150%";
    QTest::addRow("below min, toward zero") << 0 << 100 << -5 << qint64(-5) << "-5%";
    QTest::addRow("below min, truncated toward zero") << 0 << 3 << -2 << qint64(-66) << "-66%";
    QTest::addRow("max below min") << 10 << 0 << 5 << qint64(50) << "50%";
    QTest::addRow("whole int range, middle") << IntMin << IntMax << 0 << qint64(50) << "50%";
    QTest::addRow("whole int range, end") << IntMin << IntMax << IntMax << qint64(100) << "100%";
    QTest::addRow("one step range, far past it")
        << 0 << 1 << IntMax << qint64(IntMax) * 100 << QString::number(qint64(IntMax) * 100) + "%";
    QTest::addRow("one step range, far before it")
        << IntMax - 1 << IntMax << IntMin << (qint64(IntMin) - (IntMax - 1)) * 100
        << QString::number((qint64(IntMin) - (IntMax - 1)) * 100) + "%";
}

void TestProgressBar::percent()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(qint64, percent);
    QFETCH(QString, caption);
    QCOMPARE(Kav::Progress::percent(min, max, position), percent);
    QCOMPARE(Kav::Progress::caption(min, max, position), caption);
}

void TestProgressBar::fillLength_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("length");

    QTest::addRow("half") << 149 << 0 << 100 << 50 << 74;
    QTest::addRow("at max") << 149 << 0 << 100 << 100 << 149;
    QTest::addRow("past max") << 149 << 0 << 100 << 150 << 149;
    QTest::addRow("at min") << 149 << 0 << 100 << 0 << 0;
    QTest::addRow("below min") << 149 << 0 << 100 << -5 << 0;
    QTest::addRow("min equals max") << 149 << 5 << 5 << 5 << 0;
    QTest::addRow("min equals max, past it") << 149 << 5 << 5 << 6 << 0;
    QTest::addRow("max below min") << 149 << 10 << 0 << 5 << 0;
    QTest::addRow("whole int range, just below max") << 149 << IntMin << IntMax << IntMax - 1 << 148;
    QTest::addRow("whole int range, middle") << 149 << IntMin << IntMax << 0 << 74;
    QTest::addRow("huge total, whole range") << IntMax << IntMin << IntMax << IntMax - 1 << IntMax - 1;
    QTest::addRow("no room") << 0 << 0 << 100 << 50 << 0;
    QTest::addRow("vertical length, negative range") << 99 << -200 << -100 << -150 << 49;
}

void TestProgressBar::fillLength()
{
    QFETCH(int, total);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(int, length);
    QCOMPARE(Kav::Progress::fillLength(total, min, max, position), length);
}

// --- The control ------------------------------------------------------------------------------

void TestProgressBar::newBar()
{
    TkavProgressBar bar(m_window);
    QCOMPARE(bar.size(), QSize(150, 12));
    QCOMPARE((QList<int>{bar.Min(), bar.Max(), bar.Position()}), (QList<int>{0, 100, 50}));
    QCOMPARE(bar.Caption(), QStringLiteral("50%"));
    QVERIFY(bar.ShowCaption());
    QVERIFY(!bar.SmartShowCaption());
    QCOMPARE(bar.Orientation(), KavOrientation::kavHorizontal);
    QCOMPARE(bar.CaptionColor(), TColor(0));
}

void TestProgressBar::pixels_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QList<QRgb>>("colours");

    const QRgb rest = rgb(Unfilled.resolved().rgb());
    const QRgb frame = rgb(Border.resolved().rgb());
    // Horizontal 150 x 12: fill length of 149 at 50% is 74, so the picture is stretched over
    // columns 1..73 (its first column over the first third), the unfilled part is 74..148, the
    // frame 0 and 149.
    QTest::addRow("half")
        << false << 0 << 100 << 50
        << QList<QPoint>{{0, 5}, {149, 5}, {40, 0}, {40, 11}, {1, 1}, {1, 10}, {20, 5}, {30, 5}, {73, 5}, {74, 5}, {148, 10}}
        << QList<QRgb>{frame, frame, frame, frame, FillEdge, FillEdge, FillEdge, FillBody, FillBody, rest, rest};
    QTest::addRow("past max is full")
        << false << 0 << 100 << 150 << QList<QPoint>{{1, 5}, {147, 5}, {148, 5}, {149, 5}}
        << QList<QRgb>{FillEdge, FillBody, FillBody, frame};
    QTest::addRow("below min is empty")
        << false << 0 << 100 << -5 << QList<QPoint>{{1, 5}, {74, 5}, {148, 5}} << QList<QRgb>{rest, rest, rest};
    QTest::addRow("min equals max is empty")
        << false << 3 << 3 << 3 << QList<QPoint>{{1, 5}, {148, 5}} << QList<QRgb>{rest, rest};
    QTest::addRow("max below min is empty")
        << false << 10 << 0 << 20 << QList<QPoint>{{1, 5}, {148, 5}} << QList<QRgb>{rest, rest};
    // Vertical 12 x 150: the fill rises from row 148 up to row 149 - 74 = 75; the picture's first
    // column, turned and laid upside down, is the fill's top row.
    QTest::addRow("vertical half")
        << true << 0 << 100 << 50
        << QList<QPoint>{{5, 0}, {0, 80}, {5, 1}, {5, 74}, {5, 75}, {10, 75}, {5, 90}, {5, 110}, {5, 148}, {5, 149}}
        << QList<QRgb>{frame, frame, rest, rest, FillEdge, FillEdge, FillEdge, FillBody, FillBody, frame};
    QTest::addRow("vertical full")
        << true << 0 << 100 << 100 << QList<QPoint>{{5, 1}, {5, 40}, {5, 60}, {5, 148}}
        << QList<QRgb>{FillEdge, FillEdge, FillBody, FillBody};
    QTest::addRow("vertical empty")
        << true << 0 << 100 << 0 << QList<QPoint>{{5, 1}, {5, 148}} << QList<QRgb>{rest, rest};
}

void TestProgressBar::pixels()
{
    QFETCH(bool, vertical);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<QRgb>, colours);

    TkavProgressBar *bar = fixtureBar();
    if (vertical)
        bar->setOrientation(KavOrientation::kavVertical);
    bar->setMin(min);
    bar->setMax(max);
    bar->setPosition(position);
    const QImage face = bar->grab().toImage();
    QCOMPARE(face.size(), vertical ? QSize(12, 150) : QSize(150, 12));
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QRgb actual = rgb(face.pixel(points.at(i)));
        if (actual != rgb(colours.at(i)))
            QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                 .arg(points.at(i).x()).arg(points.at(i).y())
                                 .arg(actual, 6, 16, QLatin1Char('0'))
                                 .arg(rgb(colours.at(i)), 6, 16, QLatin1Char('0'))));
    }
}

void TestProgressBar::caption_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("show");
    QTest::addColumn<bool>("smart");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QString>("caption");

    QTest::addRow("shown") << 50 << true << false << true << "50%";
    QTest::addRow("hidden") << 50 << false << false << false << "50%";
    QTest::addRow("smart at min") << 0 << true << true << false << "0%";
    QTest::addRow("smart one past min") << 1 << true << true << true << "1%";
    QTest::addRow("not smart at min") << 0 << true << false << true << "0%";
    QTest::addRow("past max") << 150 << true << false << true << "150%";
}

void TestProgressBar::caption()
{
    QFETCH(int, position);
    QFETCH(bool, show);
    QFETCH(bool, smart);
    QFETCH(bool, drawn);
    QFETCH(QString, caption);

    TkavProgressBar *bar = fixtureBar();
    bar->setPosition(position);
    bar->setShowCaption(show);
    bar->setSmartShowCaption(smart);
    bar->setCaptionColor(TColor::fromRgb(0, 0, 255));
    QCOMPARE(bar->Caption(), caption);

    const QImage face = bar->grab().toImage();
    const QList<QRgb> known{rgb(FillEdge), rgb(FillBody), rgb(Unfilled.resolved().rgb()), rgb(Border.resolved().rgb())};
    const int marks = foreignPixels(face, face.rect(), known);
    QCOMPARE(marks > 0, drawn);
    if (!drawn)
        return;
    // Centred: the marks lie around the middle, as far from the left edge as from the right.
    int left = face.width(), right = -1;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (!known.contains(rgb(face.pixel(x, y)))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    const int advance = QFontMetrics(bar->font()).horizontalAdvance(caption);
    const int expectedLeft = (face.width() - advance) / 2;
    QVERIFY2(left >= expectedLeft - 1 && right <= expectedLeft + advance,
             qPrintable(QStringLiteral("caption spans %1..%2").arg(left).arg(right)));
    QVERIFY(qAbs((left + right) - (face.width() - 1)) <= 4);
}

void TestProgressBar::thicknessIsFixed()
{
    TkavProgressBar *bar = fixtureBar();
    bar->resize(200, 20);
    QCOMPARE(bar->size(), QSize(200, 12));
    bar->resize(80, 12);
    QCOMPARE(bar->size(), QSize(80, 12));
    bar->setOrientation(KavOrientation::kavVertical);
    QCOMPARE(bar->size(), QSize(12, 80));
    bar->resize(30, 120);
    QCOMPARE(bar->size(), QSize(12, 120));
    QCOMPARE(bar->sizeHint(), QSize(12, 150));
}

void TestProgressBar::turningVertical()
{
    TkavProgressBar *bar = fixtureBar();
    bar->setShowCaption(true);
    bar->setOrientation(KavOrientation::kavVertical);
    QCOMPARE(bar->size(), QSize(12, 150));
    QCOMPARE(bar->Picture().size(), QSize(10, 3));
    // Turned anticlockwise: the picture's first column is its bottom row now.
    QCOMPARE(rgb(bar->Picture().pixel(0, 2)), rgb(FillEdge));
    QCOMPARE(rgb(bar->Picture().pixel(0, 0)), rgb(FillBody));
    // Turning vertical switches the caption off, and it stays off when the bar turns back.
    QVERIFY(!bar->ShowCaption());
    bar->setOrientation(KavOrientation::kavHorizontal);
    QCOMPARE(bar->size(), QSize(150, 12));
    QCOMPARE(bar->Picture().size(), QSize(3, 10));
    QVERIFY(!bar->ShowCaption());
    // A vertical bar draws no caption even when asked to.
    bar->setOrientation(KavOrientation::kavVertical);
    bar->setShowCaption(true);
    const QImage face = bar->grab().toImage();
    QCOMPARE(foreignPixels(face, face.rect(), {rgb(FillEdge), rgb(FillBody), rgb(Unfilled.resolved().rgb()), rgb(Border.resolved().rgb())}), 0);
}

void TestProgressBar::stepping()
{
    TkavProgressBar *bar = fixtureBar();
    bar->setPosition(5);
    bar->StepBy(-10);
    QCOMPARE(bar->Position(), -5);
    QCOMPARE(bar->Caption(), QStringLiteral("-5%"));
    bar->StepIt();
    QCOMPARE(bar->Position(), -4);
    // Stepping past the ends of int stops there instead of wrapping round.
    bar->setPosition(IntMax - 1);
    bar->StepBy(10);
    QCOMPARE(bar->Position(), IntMax);
    bar->StepIt();
    QCOMPARE(bar->Position(), IntMax);
    bar->setPosition(IntMin + 2);
    bar->StepBy(IntMin);
    QCOMPARE(bar->Position(), IntMin);
    // Setters store what they are given, Min above Max included.
    bar->setMin(300);
    bar->setMax(-300);
    QCOMPARE((QList<int>{bar->Min(), bar->Max()}), (QList<int>{300, -300}));
}

void TestProgressBar::looks_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    for (TkavUIStyle style : Kav::Metrics::BuiltInLooks)
        QTest::addRow("%s", QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(style))) << style;
}

void TestProgressBar::looks()
{
    QFETCH(TkavUIStyle, style);
    // A new bar takes its form's look: its picture and colours.
    auto *form = new TkavForm(m_window);
    form->setUIStyle(style);
    auto *bar = new TkavProgressBar(m_window);
    QCOMPARE(bar->UIStyle(), style);
    bar->ensurePolished(); // which brings the look
    const KavThemeValues values(style, nullptr);
    QCOMPARE(bar->Picture().size(), Kav::Metrics::keyPictureSize(style, KavKey::ProgressBarImage));
    QCOMPARE(bar->Color(), values.color(KavKey::ControlBackgroundColor));
    QCOMPARE(bar->BorderColor(), values.color(KavKey::ControlBorderColor));

    // The fill is the picture, stretched along and laid row for row inside the frame; the rest
    // is Color and the edge BorderColor.
    bar->setShowCaption(false);
    const QImage face = bar->grab().toImage();
    const QImage picture = bar->Picture();
    for (int y = 1; y <= 10; ++y)
        QCOMPARE(rgb(face.pixel(1, y)), rgb(picture.pixel(0, y - 1)));
    QCOMPARE(rgb(face.pixel(100, 5)), rgb(bar->Color().resolved().rgb()));
    QCOMPARE(rgb(face.pixel(0, 5)), rgb(bar->BorderColor().resolved().rgb()));
    QCOMPARE(rgb(face.pixel(149, 11)), rgb(bar->BorderColor().resolved().rgb()));

    // A picture given by hand stays until the look changes.
    bar->setPicture(fillPicture());
    QCOMPARE(bar->Picture().size(), QSize(3, 10));
    bar->setUIStyle(style);
    QCOMPARE(bar->Picture().size(), Kav::Metrics::keyPictureSize(style, KavKey::ProgressBarImage));
}

void TestProgressBar::fileThemes()
{
    // The theme manager and file themes write the look by name; a destroyed theme means DeepBlue.
    auto *bar = new TkavProgressBar(m_window);
    auto theme = writeProgressTheme(m_dir);
    QVERIFY(theme);
    Kav::KavWriteFileTheme(bar, theme.get());
    Kav::KavWriteUIStyle(bar, TkavUIStyle::FromThemeFile);
    QCOMPARE(bar->Picture().size(), QSize(3, 10));
    QCOMPARE(bar->Color(), Unfilled);
    QCOMPARE(bar->BorderColor(), Border);
    theme.reset();
    QCOMPARE(bar->FileTheme(), nullptr);
    QCOMPARE(bar->UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(bar->Picture().size(), Kav::Metrics::keyPictureSize(TkavUIStyle::DeepBlue, KavKey::ProgressBarImage));
    const QImage face = bar->grab().toImage();
    QCOMPARE(rgb(face.pixel(0, 5)), rgb(bar->BorderColor().resolved().rgb()));
}

void TestProgressBar::publishedProperties()
{
    const char *names[] = {"FileTheme", "UIStyle",     "CaptionColor", "ShowCaption", "SmartShowCaption",
                           "Max",       "Min",         "Position",     "Orientation", "BorderColor",
                           "Color",     "Picture"};
    const QMetaObject &meta = TkavProgressBar::staticMetaObject;
    for (const char *name : names) {
        const QMetaProperty property = meta.property(meta.indexOfProperty(name));
        QVERIFY2(property.isValid() && property.isWritable(), name);
    }
    TkavProgressBar bar(m_window);
    QVERIFY(bar.setProperty("Orientation", QStringLiteral("kavVertical")));
    QCOMPARE(bar.Orientation(), KavOrientation::kavVertical);
    QVERIFY(bar.setProperty("Position", 75));
    QCOMPARE(bar.property("Caption").toString(), QStringLiteral("75%"));
}

void TestProgressBar::accessibility()
{
    TkavProgressBar *bar = fixtureBar();
    bar->setMin(10);
    bar->setMax(20);
    bar->setPosition(15);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(bar);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::ProgressBar);
    QAccessibleValueInterface *value = accessible->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 15);
    QCOMPARE(value->minimumValue().toInt(), 10);
    QCOMPARE(value->maximumValue().toInt(), 20);
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("50%"));
    // Read only: assistive tools do not move a progress bar.
    value->setCurrentValue(12);
    QCOMPARE(bar->Position(), 15);
}

QTEST_MAIN(TestProgressBar)
#include "tst_kavprogressbar.moc"
