#include "KAVErrorBox.h"
#include "KAVForm.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVTitleBar.h"
#include "KAVTitleBarLayout.h"
#include "KAVTitleBarPopupMenu.h"
#include "KAVWindowDrag.h"
#include "tst_kavtitlebar_fixtures.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include <memory>

using namespace TitleBarFixtures;
namespace Layout = Kav::TitleBarLayout;
using KavTitleBar::kavClient;
using KavTitleBar::kavClose;
using KavTitleBar::kavControlBox;
using KavTitleBar::kavCustom;
using KavTitleBar::kavHelp;
using KavTitleBar::kavLeft;
using KavTitleBar::kavMax;
using KavTitleBar::kavMin;
using KavTitleBar::kavRight;

class TestTitleBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // Pure geometry.
    void buttonLayout_data();
    void buttonLayout();
    void sectionLayout_data();
    void sectionLayout();
    void captionElision_data();
    void captionElision();
    void windowShape_data();
    void windowShape();

    // The bar.
    void looksSizeTheBar_data();
    void looksSizeTheBar();
    void inactiveCaptionReadable_data();
    void inactiveCaptionReadable();
    void macOSButtonsDrawnWhereTheyAreHit();
    void appIconTakesTheControlBoxPlace();
    void buttonFaces_data();
    void buttonFaces();
    void transparentButtonKeysOnBottomLeft();
    void clicks_data();
    void clicks();
    void dragMovesTheWindow_data();
    void dragMovesTheWindow();
    void doubleClickMaximisesAndRestores();
    void doubleClickOnControlBoxCloses();
    void secondClickOnControlBoxThroughItsMenuCloses();
    void instantClickOnCaptionMovesNothing();
    void controlBoxOpensWindowMenu();
    void customKeepsDeveloperParts();
    void refusals_data();
    void refusals();
    void outline_data();
    void outline();
    void outlineClosesTheShapedCorners();
    void windowMask();
    void windowMenuEnabling_data();
    void windowMenuEnabling();
    void windowMenuMaximisesOnceWithTwoMaxButtons();
    void fileThemeKeepsCaptionColourAndFallsBack();
    void collectionsAssignCopies();
    void accessibleButtons();

private:
    QStringList m_errors;
    Kav::ErrorBoxHandler m_previousBox;
};

void TestTitleBar::init()
{
    m_errors.clear();
    m_previousBox = Kav::KavSetErrorBoxHandler([this](QWidget *, const QString &text) { m_errors.append(text); });
}

void TestTitleBar::cleanup()
{
    Kav::KavSetErrorBoxHandler(m_previousBox);
}

// ---- Pure geometry --------------------------------------------------------------------------------

void TestTitleBar::buttonLayout_data()
{
    // Buttons: "box", "close", "max", "min", "help"; a leading '-' hides one. All 17 x 17 at top 4.
    QTest::addColumn<int>("barWidth");
    QTest::addColumn<int>("leftOffset");
    QTest::addColumn<int>("rightOffset");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("appIcon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QList<int>>("lefts"); // -1: not shown
    QTest::addColumn<int>("captionLeft");
    QTest::addColumn<int>("captionRight");

    QTest::addRow("close and minimise, offset -2") << 400 << 3 << -2 << 0 << false
                                                   << QStringList{"box", "close", "min"} << QList<int>{3, 381, 363}
                                                   << 25 << 363;
    QTest::addRow("interval widens the gaps") << 400 << 3 << -2 << 4 << false << QStringList{"box", "close", "min"}
                                              << QList<int>{3, 377, 355} << 25 << 355;
    QTest::addRow("hidden button takes no room") << 400 << 3 << -2 << 0 << false
                                                 << QStringList{"box", "close", "-max", "min"}
                                                 << QList<int>{3, 381, -1, 363} << 25 << 363;
    QTest::addRow("app icon instead of the control box") << 400 << 3 << -2 << 0 << true
                                                         << QStringList{"box", "close"} << QList<int>{3, 381} << 24
                                                         << 381;
    QTest::addRow("no control box at the edge: caption at 6") << 400 << 0 << 0 << 0 << false
                                                              << QStringList{"close"} << QList<int>{383} << 6 << 383;
    QTest::addRow("hidden control box") << 400 << 3 << 0 << 0 << false << QStringList{"-box", "close"}
                                        << QList<int>{-1, 383} << 3 << 383;
    QTest::addRow("control box anywhere in the row") << 200 << 2 << 0 << 0 << false
                                                     << QStringList{"close", "box", "help"} << QList<int>{183, 2, 165}
                                                     << 24 << 165;
}

void TestTitleBar::buttonLayout()
{
    QFETCH(int, barWidth);
    QFETCH(int, leftOffset);
    QFETCH(int, rightOffset);
    QFETCH(int, interval);
    QFETCH(bool, appIcon);
    QFETCH(QStringList, buttons);
    QFETCH(QList<int>, lefts);
    QFETCH(int, captionLeft);
    QFETCH(int, captionRight);

    Layout::Input input;
    input.barWidth = barWidth;
    input.leftOffset = leftOffset;
    input.rightOffset = rightOffset;
    input.interval = interval;
    input.drawAppIcon = appIcon;
    for (QString name : buttons) {
        const bool visible = !name.startsWith(QLatin1Char('-'));
        name.remove(QLatin1Char('-'));
        input.buttons.append({visible, name == QLatin1String("box"), QSize(17, 17), 4});
    }
    const Layout::Result result = Layout::layout(input);
    QList<int> actual;
    for (const QRect &rect : result.buttons)
        actual.append(rect.isNull() ? -1 : rect.x());
    QCOMPARE(actual, lefts);
    QCOMPARE(result.captionLeft, captionLeft);
    QCOMPARE(result.captionRight, captionRight);
    // Edges are inclusive, and neighbours never share a pixel.
    for (int i = 0; i < result.buttons.size(); ++i) {
        const QRect &rect = result.buttons.at(i);
        if (rect.isNull())
            continue;
        QCOMPARE(Layout::buttonAt(result, rect.topLeft()), i);
        QCOMPARE(Layout::buttonAt(result, rect.topLeft() + QPoint(17, 17)), i);
    }
    QCOMPARE(Layout::buttonAt(result, QPoint(150, 0)), -1);
}

void TestTitleBar::sectionLayout_data()
{
    // Sections as "L10", "R10", "C", "L5s" (s: stretched); pieces as "index:x:width".
    QTest::addColumn<int>("barWidth");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QStringList>("pieces");

    QTest::addRow("left, right, client") << 100 << QStringList{"L10", "R20", "C"}
                                         << QStringList{"0:0:10", "1:80:20", "2:10:70"};
    QTest::addRow("two on each side") << 100 << QStringList{"L10", "L5", "R20", "R10", "C"}
                                      << QStringList{"0:0:10", "1:10:5", "2:80:20", "3:70:10", "4:15:55"};
    QTest::addRow("right section that does not fit is left out") << 30 << QStringList{"L20", "R20", "C"}
                                                                 << QStringList{"0:0:20", "2:20:10"};
    QTest::addRow("no room for the client") << 30 << QStringList{"L15", "R15", "C"}
                                            << QStringList{"0:0:15", "1:15:15"};
    QTest::addRow("the last client counts") << 50 << QStringList{"C", "L10", "C"} << QStringList{"1:0:10", "2:10:40"};
    QTest::addRow("negative width is none") << 50 << QStringList{"L-5", "C"} << QStringList{"0:0:0", "1:0:50"};
}

void TestTitleBar::sectionLayout()
{
    QFETCH(int, barWidth);
    QFETCH(QStringList, sections);
    QFETCH(QStringList, pieces);

    QList<Layout::SectionInput> input;
    for (const QString &code : sections) {
        Layout::SectionInput section;
        section.side = code.startsWith(QLatin1Char('L')) ? Layout::Side::Left
            : code.startsWith(QLatin1Char('R'))          ? Layout::Side::Right
                                                         : Layout::Side::Client;
        section.width = code.mid(1).toInt();
        input.append(section);
    }
    QStringList actual;
    for (const Layout::SectionPiece &piece : Layout::sections(input, QSize(barWidth, 20))) {
        QCOMPARE(piece.dest.height(), 20);
        actual.append(QStringLiteral("%1:%2:%3").arg(piece.section).arg(piece.dest.x()).arg(piece.dest.width()));
    }
    QCOMPARE(actual, pieces);
}

void TestTitleBar::captionElision_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("room");
    QTest::addColumn<QString>("shown");

    // Every character is 10 pixels wide.
    QTest::addRow("fits") << QStringLiteral("Exam") << 40 << QStringLiteral("Exam");
    QTest::addRow("one pixel short") << QStringLiteral("Exam") << 39 << QStringLiteral("...");
    QTest::addRow("longest prefix with dots") << QStringLiteral("Mental arithmetic") << 80
                                              << QStringLiteral("Menta...");
    QTest::addRow("room for the dots only") << QStringLiteral("Exam window") << 30 << QStringLiteral("...");
    QTest::addRow("not even the dots") << QStringLiteral("Exam window") << 5 << QStringLiteral("...");
    QTest::addRow("empty caption") << QString() << 0 << QString();
    QTest::addRow("surrogate pair stays whole") << (QStringLiteral("ab") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("cd"))
                                                << 55 << QStringLiteral("ab...");
}

void TestTitleBar::captionElision()
{
    QFETCH(QString, caption);
    QFETCH(int, room);
    QFETCH(QString, shown);
    const auto width = [](const QString &text) { return int(text.size()) * 10; };
    QCOMPARE(Layout::elideCaption(caption, room, width), shown);
}

void TestTitleBar::windowShape_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<QList<QPoint>>("inside");
    QTest::addColumn<QList<QPoint>>("outside");

    QTest::addRow("square") << 0 << QList<QPoint>{} << QList<QPoint>{};
    QTest::addRow("rounded top") << 11 << QList<QPoint>{{50, 0}, {5, 5}, {0, 49}, {99, 49}, {0, 10}, {99, 10}}
                                 << QList<QPoint>{{0, 0}, {99, 0}, {1, 0}, {0, 1}, {100, 10}};
    QTest::addRow("radius larger than the window") << 300 << QList<QPoint>{{50, 25}, {0, 49}}
                                                   << QList<QPoint>{{0, 0}, {99, 0}};
}

void TestTitleBar::windowShape()
{
    QFETCH(int, radius);
    QFETCH(QList<QPoint>, inside);
    QFETCH(QList<QPoint>, outside);
    const QRegion shape = Layout::windowShape(QSize(100, 50), radius);
    QCOMPARE(shape.isEmpty(), radius == 0);
    for (const QPoint &point : inside)
        QVERIFY2(shape.contains(point), qPrintable(QStringLiteral("(%1, %2)").arg(point.x()).arg(point.y())));
    for (const QPoint &point : outside)
        QVERIFY2(!shape.contains(point), qPrintable(QStringLiteral("(%1, %2)").arg(point.x()).arg(point.y())));
}

// ---- The bar ----------------------------------------------------------------------------------------

void TestTitleBar::looksSizeTheBar_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    for (const TkavUIStyle look : Kav::Metrics::BuiltInLooks)
        QTest::addRow("%s", QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look))) << look;
}

void TestTitleBar::looksSizeTheBar()
{
    QFETCH(TkavUIStyle, look);
    Window window(look);
    TkavTitleBar &bar = *window.bar;
    bar.setCaption(QStringLiteral("Mental arithmetic exam"));
    // The bar is as high as the look's left section and has its three sections, and the caption
    // colour is black on the light MacOS bar and white on the others.
    QCOMPARE(bar.height(), Kav::Metrics::keyPictureSize(look, KavKey::TitleBarLeftImage).height());
    QCOMPARE(bar.Sections()->count(), 3);
    QCOMPARE(window.form->minimumWidth(), GetInsideThemeInt(look, KavKey::FormMinWidthInt));
    QCOMPARE(bar.Sections()->item(2)->Align(), kavClient);
    QVERIFY(bar.Sections()->item(2)->Stretch());
    QCOMPARE(bar.palette().color(QPalette::WindowText), look == TkavUIStyle::MacOS ? QColor(Qt::black) : QColor(Qt::white));
    const QSize frame(Kav::Metrics::keyPictureSize(look, KavKey::TitleBarButtonImage).width() / 18,
                      Kav::Metrics::keyPictureSize(look, KavKey::TitleBarButtonImage).height());
    for (int i = 0; i < bar.Buttons()->count(); ++i)
        QCOMPARE(bar.Buttons()->item(i)->PicNormal().size(), frame);

    // Looked at by eye when KAV_TITLEBAR_PNG names a folder.
    const QString folder = qEnvironmentVariable("KAV_TITLEBAR_PNG");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        const QString name = QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
        QVERIFY(bar.grab().save(QDir(folder).filePath(name + QStringLiteral(".png"))));
        bar.SetActive(false);
        QVERIFY(bar.grab().save(QDir(folder).filePath(name + QStringLiteral("-inactive.png"))));
    }
}

void TestTitleBar::inactiveCaptionReadable_data()
{
    looksSizeTheBar_data();
}

// An inactive window's caption is dimmer than an active one's yet stays readable on the look's
// bar: the contrast between the caption's strongest pixel and the bar behind it is at least 3:1
// (the grey of the system's inactive caption fell to about 1.5:1 on the blue and dark bars).
void TestTitleBar::inactiveCaptionReadable()
{
    QFETCH(TkavUIStyle, look);
    Window window(look, QSize(400, 100));
    TkavTitleBar &bar = *window.bar;
    const auto luminance = [](QColor colour) {
        const auto channel = [](qreal c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    // The caption's pixel farthest from the bar behind it, and its contrast with that bar.
    const auto captionContrast = [&](bool active) {
        bar.SetActive(active);
        bar.setCaption(QString());
        const QImage empty = grabFace(bar);
        bar.setCaption(QStringLiteral("Mental arithmetic exam"));
        const QImage captioned = grabFace(bar);
        qreal best = 1.0;
        for (int y = 0; y < empty.height(); ++y) {
            for (int x = 0; x < empty.width(); ++x) {
                if (empty.pixel(x, y) == captioned.pixel(x, y))
                    continue;
                const qreal a = luminance(QColor(empty.pixel(x, y))), b = luminance(QColor(captioned.pixel(x, y)));
                best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
            }
        }
        return best;
    };
    const qreal active = captionContrast(true);
    const qreal inactive = captionContrast(false);
    QVERIFY2(inactive >= 3.0, qPrintable(QStringLiteral("inactive caption contrast %1:1").arg(inactive, 0, 'f', 2)));
    QVERIFY2(inactive < active, "an inactive caption is as strong as an active one");
}

void TestTitleBar::macOSButtonsDrawnWhereTheyAreHit()
{
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    keepOnly(bar, {kavControlBox, kavClose, kavMin});
    QCOMPARE(bar.RightBtnXOffset(), -2);
    QCOMPARE(bar.LeftBtnXOffset(), 3);
    QCOMPARE(bar.ButtonInterval(), 0);
    QCOMPARE(bar.width(), 400);

    const Layout::Result layout = bar.currentLayout();
    QCOMPARE(layout.buttons.at(0).x(), 3);
    QCOMPARE(layout.buttons.at(1).x(), 381);
    QCOMPARE(layout.buttons.at(2).x(), 363);
    QCOMPARE(layout.captionLeft, 25);

    const QImage face = grabFace(bar);
    for (int i = 0; i < 3; ++i) {
        const TkavTitleBarButton *button = bar.Buttons()->item(i);
        QCOMPARE(layout.buttons.at(i).topLeft(), QPoint(layout.buttons.at(i).x(), button->Top()));
        QVERIFY2(drawnAt(face, layout.buttons.at(i).topLeft(), button->PicNormal()), qPrintable(QString::number(i)));
    }
}

void TestTitleBar::appIconTakesTheControlBoxPlace()
{
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    window.form->setWindowIcon(QIcon(QPixmap::fromImage(red)));
    TkavTitleBar &bar = *window.bar;
    bar.setDrawAppIcon(true);
    const Layout::Result layout = bar.currentLayout();
    QCOMPARE(layout.captionLeft, bar.LeftBtnXOffset() + 21);
    const QImage face = grabFace(bar);
    const QPoint icon(bar.LeftBtnXOffset() + 3, bar.Buttons()->item(0)->Top());
    QCOMPARE(face.pixelColor(icon), QColor(Qt::red));
    QCOMPARE(face.pixelColor(icon + QPoint(15, 15)), QColor(Qt::red));
    // The control box is still hit where it would be drawn.
    QCOMPARE(Layout::buttonAt(layout, QPoint(bar.LeftBtnXOffset(), icon.y())), 0);
}

void TestTitleBar::buttonFaces_data()
{
    // Mouse steps on the bar (MacOS, buttons: control box, close, min): "move:x", "press:x",
    // "release:x", "leave"; then which face the close button (at 381) shows.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("face");

    QTest::addRow("nothing") << QStringList{} << int(TkavTitleBarButton::Normal);
    QTest::addRow("hover") << QStringList{"move:385"} << int(TkavTitleBarButton::MouseOn);
    QTest::addRow("hover left edge inclusive") << QStringList{"move:381"} << int(TkavTitleBarButton::MouseOn);
    QTest::addRow("hover right edge inclusive") << QStringList{"move:398"} << int(TkavTitleBarButton::MouseOn);
    QTest::addRow("between buttons") << QStringList{"move:380"} << int(TkavTitleBarButton::Normal);
    QTest::addRow("pressed") << QStringList{"move:385", "press:385"} << int(TkavTitleBarButton::MouseDown);
    QTest::addRow("pressed elsewhere, moved on") << QStringList{"press:366", "move:385"} << int(TkavTitleBarButton::MouseOn);
    QTest::addRow("pressed, slid off and back") << QStringList{"press:385", "move:200", "move:386"}
                                                << int(TkavTitleBarButton::MouseDown);
    QTest::addRow("released") << QStringList{"press:366", "release:366", "move:385"} << int(TkavTitleBarButton::MouseOn);
    QTest::addRow("left the bar") << QStringList{"move:385", "leave"} << int(TkavTitleBarButton::Normal);
}

void TestTitleBar::buttonFaces()
{
    QFETCH(QStringList, steps);
    QFETCH(int, face);
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    keepOnly(bar, {kavControlBox, kavClose, kavMin});
    const int y = bar.Buttons()->item(1)->Top() + 5;
    for (const QString &step : steps) {
        const QString kind = step.section(QLatin1Char(':'), 0, 0);
        const QPoint at(step.section(QLatin1Char(':'), 1).toInt(), y);
        if (kind == QLatin1String("move"))
            sendMouse(&bar, QEvent::MouseMove, at, Qt::NoButton);
        else if (kind == QLatin1String("press"))
            sendMouse(&bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
        else if (kind == QLatin1String("release"))
            sendMouse(&bar, QEvent::MouseButtonRelease, at, Qt::LeftButton);
        else
            sendLeave(&bar);
    }
    const TkavTitleBarButton *close = bar.Buttons()->item(1);
    const QImage faces[] = {close->PicNormal(), close->PicMouseOn(), close->PicMouseDown()};
    // The three faces differ, so the pixels tell which one is shown.
    QVERIFY(faces[0] != faces[1] && faces[1] != faces[2] && faces[0] != faces[2]);
    QVERIFY(drawnAt(grabFace(bar), QPoint(381, close->Top()), faces[face]));
}

void TestTitleBar::transparentButtonKeysOnBottomLeft()
{
    Window window(TkavUIStyle::MacOS, QSize(200, 60));
    TkavTitleBar &bar = *window.bar;
    bar.Buttons()->clear();
    TkavTitleBarButton *button = bar.Buttons()->add();
    // A green square on a blue ground; the blue (bottom-left) is keyed out.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            picture.setPixelColor(x, y, Qt::green);
    button->setPicNormal(picture);
    button->setTop(0);
    const QImage opaque = grabFace(bar);
    button->setTransparent(true);
    const QImage keyed = grabFace(bar);
    const int x = bar.currentLayout().buttons.at(0).x();
    button->setVisible(false);
    const QImage behind = grabFace(bar);
    QCOMPARE(opaque.pixelColor(x, 0), QColor(Qt::blue));
    QCOMPARE(keyed.pixelColor(x + 3, 3), QColor(Qt::green));
    QCOMPARE(keyed.pixelColor(x, 0), behind.pixelColor(x, 0));
    QCOMPARE(keyed.pixelColor(x + 7, 7), behind.pixelColor(x + 7, 7));
}

void TestTitleBar::clicks_data()
{
    // Buttons (MacOS): control box, close, max, min, help, custom; press and release points are
    // button indexes (-1: the empty caption at x 150).
    QTest::addColumn<int>("pressOn");
    QTest::addColumn<int>("releaseOn");
    QTest::addColumn<QString>("outcome");

    QTest::addRow("close") << 1 << 1 << "closed";
    QTest::addRow("maximise") << 2 << 2 << "maximized";
    QTest::addRow("minimise") << 3 << 3 << "minimized";
    QTest::addRow("help") << 4 << 4 << "help:4";
    QTest::addRow("custom") << 5 << 5 << "custom:5";
    QTest::addRow("slid from close to minimise") << 1 << 3 << "nothing";
    QTest::addRow("pressed on the caption, released on close") << -1 << 1 << "nothing";
    QTest::addRow("pressed on close, released on the caption") << 1 << -1 << "nothing";
}

void TestTitleBar::clicks()
{
    QFETCH(int, pressOn);
    QFETCH(int, releaseOn);
    QFETCH(QString, outcome);
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    bar.Buttons()->add()->setButtonType(kavHelp);
    bar.Buttons()->add()->setPicNormal(solid(15, 15, Qt::magenta));
    window.form->show();
    QSignalSpy help(&bar, &TkavTitleBar::OnHelpBtnClick);
    QSignalSpy custom(&bar, &TkavTitleBar::OnCustomBtnsClick);

    const Layout::Result layout = bar.currentLayout();
    const auto pointOf = [&](int index) { return index < 0 ? QPoint(150, 2) : layout.buttons.at(index).center(); };
    sendMouse(&bar, QEvent::MouseButtonPress, pointOf(pressOn), Qt::LeftButton);
    sendMouse(&bar, QEvent::MouseMove, pointOf(releaseOn), Qt::NoButton);
    sendMouse(&bar, QEvent::MouseButtonRelease, pointOf(releaseOn), Qt::LeftButton);

    QString actual = QStringLiteral("nothing");
    if (!window.form->isVisible())
        actual = QStringLiteral("closed");
    else if (window.form->isMaximized())
        actual = QStringLiteral("maximized");
    else if (window.form->isMinimized())
        actual = QStringLiteral("minimized");
    else if (help.size() == 1)
        actual = QStringLiteral("help:%1").arg(help.at(0).at(1).toInt());
    else if (custom.size() == 1)
        actual = QStringLiteral("custom:%1").arg(custom.at(0).at(1).toInt());
    QCOMPARE(actual, outcome);
    QCOMPARE(help.size() + custom.size(), outcome.startsWith(QLatin1String("help")) || outcome.startsWith(QLatin1String("custom")) ? 1 : 0);
}

void TestTitleBar::dragMovesTheWindow_data()
{
    QTest::addColumn<QString>("from"); // "caption" or a button index
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("moves");

    QTest::addRow("caption") << "caption" << false << true;
    QTest::addRow("caption of a maximised window") << "caption" << true << false;
    QTest::addRow("close button") << "1" << false << false;
}

void TestTitleBar::dragMovesTheWindow()
{
    QFETCH(QString, from);
    QFETCH(bool, maximized);
    QFETCH(bool, moves);
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    window.form->move(100, 100);
    window.form->show();
    if (maximized)
        window.form->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
    const QPoint origin = window.form->pos();
    const QPoint local = from == QLatin1String("caption") ? QPoint(150, 5) : bar.currentLayout().buttons.at(from.toInt()).center();
    const QPoint start = bar.mapToGlobal(local);
    // The offscreen platform has no window manager: the window follows the mouse itself.
    const auto mouse = [&bar](QEvent::Type type, const QPoint &global, Qt::MouseButtons held) {
        const QPointF at = bar.mapFromGlobal(global);
        QMouseEvent event(type, at, at, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    };
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + QPoint(25, 40), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, start + QPoint(25, 40), Qt::NoButton);
    QCOMPARE(window.form->pos(), moves ? origin + QPoint(25, 40) : origin);
    QVERIFY(!Kav::KavWindowDragActive(window.form.get()));
    QVERIFY(window.form->isVisible()); // a press slid off the close button closes nothing
}

void TestTitleBar::doubleClickMaximisesAndRestores()
{
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    window.form->show();
    const TkavTitleBarButton *max = bar.Buttons()->item(2);
    QCOMPARE(max->ButtonType(), kavMax);
    // The look's maximise and restore faces differ under the mouse.
    const Kav::TkavPicture maximise = lookFrame(TkavUIStyle::MacOS, 8);
    const Kav::TkavPicture restore = lookFrame(TkavUIStyle::MacOS, 11);
    QVERIFY(maximise.image() != restore.image());
    QCOMPARE(max->PicMouseOn(), maximise.image());

    sendMouse(&bar, QEvent::MouseButtonDblClick, QPoint(150, 5), Qt::LeftButton);
    QVERIFY(window.form->isMaximized());
    QCOMPARE(max->PicNormal(), lookFrame(TkavUIStyle::MacOS, 10).image());
    QCOMPARE(max->PicMouseOn(), restore.image());
    QCOMPARE(max->PicMouseDown(), lookFrame(TkavUIStyle::MacOS, 12).image());

    sendMouse(&bar, QEvent::MouseButtonDblClick, QPoint(150, 5), Qt::LeftButton);
    QVERIFY(!window.form->isMaximized());
    QCOMPARE(max->PicMouseOn(), maximise.image());
    QCOMPARE(max->PicMouseDown(), lookFrame(TkavUIStyle::MacOS, 9).image());

    // A window maximised by other means shows the restore pictures too, also after the bar
    // moved onto a panel of the same window.
    window.form->showMaximized();
    QCOMPARE(max->PicMouseOn(), restore.image());
    auto *panel = new QWidget(window.form.get());
    bar.setParent(panel);
    window.form->showNormal();
    QCOMPARE(max->PicMouseOn(), maximise.image());
}

void TestTitleBar::doubleClickOnControlBoxCloses()
{
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    window.form->show();
    const QPoint box = bar.currentLayout().buttons.at(0).center();
    sendMouse(&bar, QEvent::MouseButtonDblClick, box, Qt::LeftButton);
    QVERIFY(!window.form->isVisible());
    QVERIFY(!window.form->isMaximized());
}

void TestTitleBar::secondClickOnControlBoxThroughItsMenuCloses()
{
    // The first click opens the window menu, which takes the second press: on the control box
    // within the double-click time it is the control box's double click.
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    window.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
    const QPoint box = bar.currentLayout().buttons.at(0).center();
    sendMouse(&bar, QEvent::MouseButtonPress, box, Qt::LeftButton);
    sendMouse(&bar, QEvent::MouseButtonRelease, box, Qt::LeftButton);
    TkavTitleBarPopupMenu *menu = bar.windowMenu();
    QVERIFY(menu->isVisible());
    const QPoint global = bar.mapToGlobal(box);
    const QPointF onMenu = menu->mapFromGlobal(global);
    QMouseEvent press(QEvent::MouseButtonPress, onMenu, onMenu, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
    QVERIFY(!menu->isVisible());
    QTRY_VERIFY(!window.form->isVisible());

    // A press elsewhere only closes the menu.
    Window other(TkavUIStyle::MacOS, QSize(400, 120));
    other.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(other.form.get()));
    sendMouse(other.bar, QEvent::MouseButtonPress, box, Qt::LeftButton);
    sendMouse(other.bar, QEvent::MouseButtonRelease, box, Qt::LeftButton);
    const QPoint caption = other.bar->mapToGlobal(QPoint(200, 10));
    const QPointF captionOnMenu = other.bar->windowMenu()->mapFromGlobal(caption);
    QMouseEvent elsewhere(QEvent::MouseButtonPress, captionOnMenu, captionOnMenu, caption, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(other.bar->windowMenu(), &elsewhere);
    QCoreApplication::sendPostedEvents();
    QVERIFY(other.form->isVisible());
}

void TestTitleBar::instantClickOnCaptionMovesNothing()
{
    // A press and its release in one batch (a tap): no move starts, so the window does not follow
    // the mouse afterwards.
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    window.form->move(100, 100);
    window.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
    const QPoint origin = window.form->pos();
    const QPoint at(150, 5);
    sendMouse(&bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
    sendMouse(&bar, QEvent::MouseButtonRelease, at, Qt::LeftButton);
    QVERIFY(!Kav::KavWindowDragActive(window.form.get()));
    const QPoint away = bar.mapToGlobal(at + QPoint(60, 40));
    const QPointF local = bar.mapFromGlobal(away);
    QMouseEvent move(QEvent::MouseMove, local, local, away, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
    QCOMPARE(window.form->pos(), origin);
}

void TestTitleBar::controlBoxOpensWindowMenu()
{
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    window.form->show();
    const QPoint box = bar.currentLayout().buttons.at(0).center();
    sendMouse(&bar, QEvent::MouseButtonPress, box, Qt::LeftButton);
    sendMouse(&bar, QEvent::MouseButtonRelease, box, Qt::LeftButton);
    QVERIFY(bar.windowMenu()->isVisible());
    QCOMPARE(bar.windowMenu()->pos(), bar.mapToGlobal(QPoint(0, bar.height())));
    bar.windowMenu()->hide();

    // With a menu of its own the control box opens that one.
    QMenu own;
    own.addAction(QStringLiteral("About"));
    bar.Buttons()->item(0)->setControlBoxMenu(&own);
    sendMouse(&bar, QEvent::MouseButtonPress, box, Qt::LeftButton);
    sendMouse(&bar, QEvent::MouseButtonRelease, box, Qt::LeftButton);
    QVERIFY(own.isVisible());
    QVERIFY(!bar.windowMenu()->isVisible());
    own.hide();
}

void TestTitleBar::customKeepsDeveloperParts()
{
    Window window(TkavUIStyle::MacOS, QSize(300, 120));
    TkavTitleBar &bar = *window.bar;
    bar.setCustom(true);
    bar.Sections()->clear();
    TkavTitleBarSection *section = bar.Sections()->add();
    section->setPicture(solid(30, 20, Qt::darkGreen));
    section->setAlign(kavClient);
    bar.Buttons()->clear();
    TkavTitleBarButton *button = bar.Buttons()->add();
    button->setButtonType(kavClose);
    button->setPicNormal(solid(12, 12, Qt::yellow));
    button->setTop(7);

    bar.setUIStyle(TkavUIStyle::WinXP);
    QCOMPARE(bar.UIStyle(), TkavUIStyle::WinXP);
    QCOMPARE(bar.Sections()->count(), 1);
    QCOMPARE(bar.Sections()->item(0)->Picture(), solid(30, 20, Qt::darkGreen));
    QCOMPARE(bar.Buttons()->count(), 1);
    QCOMPARE(bar.Buttons()->item(0)->PicNormal(), solid(12, 12, Qt::yellow));
    QCOMPARE(bar.Buttons()->item(0)->Top(), 7);
    // And draws them: the section stretched over the bar, the button at its place.
    const QImage face = grabFace(bar);
    QCOMPARE(face.pixelColor(150, 1), QColor(Qt::darkGreen));
    QCOMPARE(face.pixelColor(bar.currentLayout().buttons.at(0).topLeft()), QColor(Qt::yellow));
}

void TestTitleBar::refusals_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("error");

    QTest::addRow("second control box") << "button 3 kavControlBox"
                                         << "Sorry, only one button's ButtonType property can be \"kavControlBox\"";
    QTest::addRow("control box again on itself") << "button 0 kavControlBox" << QString();
    QTest::addRow("second client section") << "section 0 kavClient"
                                           << "Sorry, only one section's Align property can be \"kavClient\"";
    QTest::addRow("client section moved") << "section 2 kavLeft" << QString();
}

void TestTitleBar::refusals()
{
    QFETCH(QString, change);
    QFETCH(QString, error);
    Window window(TkavUIStyle::MacOS);
    TkavTitleBar &bar = *window.bar;
    const QStringList words = change.split(QLatin1Char(' '));
    const int index = words.at(1).toInt();
    QObject *item = words.at(0) == QLatin1String("button") ? static_cast<QObject *>(bar.Buttons()->item(index))
                                                           : static_cast<QObject *>(bar.Sections()->item(index));
    const char *property = words.at(0) == QLatin1String("button") ? "ButtonType" : "Align";
    const int before = item->property(property).toInt();
    const QMetaEnum meta = item->metaObject()->property(item->metaObject()->indexOfProperty(property)).enumerator();
    const int wanted = meta.keyToValue(words.at(2).toLatin1().constData());
    QVERIFY(item->setProperty(property, wanted));

    QCOMPARE(m_errors, error.isEmpty() ? QStringList{} : QStringList{error});
    QCOMPARE(item->property(property).toInt(), error.isEmpty() ? wanted : before);
}

void TestTitleBar::outline_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    QTest::addColumn<bool>("inForm");
    QTest::addColumn<int>("roundCorner");
    QTest::addColumn<bool>("outlined");

    QTest::addRow("WinXP never, although rounded") << TkavUIStyle::WinXP << true << 13 << false;
    QTest::addRow("BlueGlass black, rounded 11") << TkavUIStyle::BlueGlass << true << 11 << true;
    QTest::addRow("MacOS square") << TkavUIStyle::MacOS << true << 0 << false;
    QTest::addRow("not on a skinned form") << TkavUIStyle::BlueGlass << false << 11 << false;
}

void TestTitleBar::outline()
{
    QFETCH(TkavUIStyle, look);
    QFETCH(bool, inForm);
    QFETCH(int, roundCorner);
    QFETCH(bool, outlined);
    Window window(look, QSize(300, 100), inForm);
    TkavTitleBar &bar = *window.bar;
    QCOMPARE(bar.InForm(), inForm);
    QCOMPARE(bar.RoundCorner(), roundCorner); // the look's
    const QImage face = grabFace(bar);
    const QImage plain = grabWithout(bar, 0);
    const QColor outlineColour = bar.outlineColor().resolved();
    if (!outlined) {
        QCOMPARE(face, plain);
        return;
    }
    QCOMPARE(outlineColour, QColor(Qt::black));
    // The top line across the bar, and a rounded corner: its first pixel in from the edge.
    QCOMPARE(face.pixelColor(150, 0), outlineColour);
    QCOMPARE(face.pixelColor(0, 1 + roundCorner), plain.pixelColor(0, 1 + roundCorner));
    // The corner is rounded: the line bends down inside the top-left corner instead of running
    // through its corner pixel.
    QCOMPARE(face.pixelColor(0, 0), plain.pixelColor(0, 0));
    int bend = 0;
    for (int y = 1; y < roundCorner / 2 + 1; ++y)
        for (int x = 0; x < roundCorner / 2 + 1; ++x)
            bend += face.pixelColor(x, y) == outlineColour && plain.pixelColor(x, y) != outlineColour;
    QVERIFY(bend > 0);
}

void TestTitleBar::outlineClosesTheShapedCorners()
{
    // On the shaped window the outline is the edge: in each row of the rounded top corners, down
    // to where they meet the window's sides, the first pixel inside the window's shape from the
    // left and from the right is the outline's, with none of the bar's picture outside it (a
    // notch).
    // The form's own bar, across its top (the fixture's bar lies below it).
    TkavForm form;
    form.resize(300, 120);
    form.setUIStyle(TkavUIStyle::BlueGlass);
    TkavTitleBar *top = nullptr;
    for (TkavTitleBar *candidate : form.findChildren<TkavTitleBar *>())
        if (candidate->geometry().topLeft() == QPoint(0, 0))
            top = candidate;
    QVERIFY(top);
    TkavTitleBar &bar = *top;
    bar.OnFormReSize();
    const QRegion shape = form.mask();
    const QImage face = grabFace(bar);
    QVERIFY(!shape.isEmpty());
    const QColor outlineColour = bar.outlineColor().resolved();
    const int r = bar.RoundCorner();
    for (int y = 0; y < r / 2 + 1; ++y) {
        int left = 0, right = face.width() - 1;
        while (left < face.width() && !shape.contains(QPoint(left, y)))
            ++left;
        while (right >= 0 && !shape.contains(QPoint(right, y)))
            --right;
        QVERIFY(left < right);
        if (left == 0)
            break; // down to the window's sides, which are the frame's
        QVERIFY2(face.pixelColor(left, y) == outlineColour, qPrintable(QStringLiteral("row %1 from the left: %2 at %3").arg(y).arg(face.pixelColor(left, y).name()).arg(left)));
        QVERIFY2(face.pixelColor(right, y) == outlineColour, qPrintable(QStringLiteral("row %1 from the right: %2 at %3").arg(y).arg(face.pixelColor(right, y).name()).arg(right)));
    }
}

void TestTitleBar::windowMask()
{
    Window window(TkavUIStyle::BlueGlass, QSize(300, 200), true);
    TkavTitleBar &bar = *window.bar;
    QWidget *form = window.form.get();
    QCOMPARE(bar.RoundCorner(), 11);
    QVERIFY(!form->mask().isEmpty());
    QVERIFY(!form->mask().contains(QPoint(0, 0)));
    QVERIFY(form->mask().contains(QPoint(150, 0)));
    QVERIFY(form->mask().contains(QPoint(299, 199)));

    // Resizing needs the form to ask again: the old shape is the old size.
    form->resize(400, 200);
    bar.OnFormReSize();
    QVERIFY(form->mask().contains(QPoint(350, 100)));
    QVERIFY(!form->mask().contains(QPoint(399, 0)));

    bar.setRoundCorner(0);
    QVERIFY(form->mask().isEmpty());

    // A bar on an ordinary window leaves its shape alone.
    Window plain(TkavUIStyle::BlueGlass, QSize(300, 200), false);
    QVERIFY(plain.form->mask().isEmpty());
}

void TestTitleBar::windowMenuEnabling_data()
{
    // Buttons by type, "-" hides; then minimise, maximise, move, size, close enabled.
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("fixedSize");
    QTest::addColumn<QString>("enabled");

    QTest::addRow("all buttons") << QStringList{"box", "close", "max", "min"} << false << false << "min max move size close";
    QTest::addRow("no minimise") << QStringList{"box", "close", "max"} << false << false << "max move size close";
    QTest::addRow("no maximise, no close") << QStringList{"box", "min"} << false << false << "min move size";
    QTest::addRow("hidden close still closes") << QStringList{"box", "-close"} << false << false << "move size close";
    QTest::addRow("maximised: no move, no size") << QStringList{"box", "close", "max", "min"} << true << false
                                                 << "min max close";
    QTest::addRow("fixed size: no size") << QStringList{"box", "close", "min"} << false << true << "min move close";
}

void TestTitleBar::windowMenuEnabling()
{
    QFETCH(QStringList, buttons);
    QFETCH(bool, maximized);
    QFETCH(bool, fixedSize);
    QFETCH(QString, enabled);
    Window window(TkavUIStyle::MacOS);
    if (fixedSize)
        window.form->setFixedSize(window.form->size());
    TkavTitleBar &bar = *window.bar;
    bar.Buttons()->clear();
    for (QString name : buttons) {
        const bool visible = !name.startsWith(QLatin1Char('-'));
        name.remove(QLatin1Char('-'));
        TkavTitleBarButton *button = bar.Buttons()->add();
        button->setButtonType(typeNamed(name));
        button->setVisible(visible);
    }
    window.form->show();
    if (maximized)
        window.form->showMaximized();
    bar.Popup(10, 10);
    TkavTitleBarPopupMenu *menu = bar.windowMenu();
    QVERIFY(menu->isVisible());
    QStringList actual;
    const QList<QPair<QString, QAction *>> items = {{"min", menu->minimizeAction()},
                                                    {"max", menu->maximizeAction()},
                                                    {"move", menu->moveAction()},
                                                    {"size", menu->sizeAction()},
                                                    {"close", menu->closeAction()}};
    for (const auto &[name, action] : items)
        if (action->isEnabled())
            actual.append(name);
    QCOMPARE(actual.join(QLatin1Char(' ')), enabled);
    menu->hide();

    // The texts come from the string table, with their accelerators.
    QCOMPARE(menu->minimizeAction()->text(), QStringLiteral("Mi&nimize"));
    QCOMPARE(menu->maximizeAction()->text(), QStringLiteral("Ma&ximize/Restore"));
    QCOMPARE(menu->closeAction()->text(), QStringLiteral("&Close"));
}

void TestTitleBar::windowMenuMaximisesOnceWithTwoMaxButtons()
{
    Window window(TkavUIStyle::MacOS);
    TkavTitleBar &bar = *window.bar;
    TkavTitleBarButton *second = bar.Buttons()->add();
    second->setUIStyle(TkavUIStyle::MacOS);
    second->setButtonType(kavMax);
    window.form->show();
    bar.windowMenu()->maximizeAction()->trigger();
    QVERIFY(window.form->isMaximized());
    // Both buttons show the restore pictures.
    QCOMPARE(bar.Buttons()->item(2)->PicMouseOn(), lookFrame(TkavUIStyle::MacOS, 11).image());
    QCOMPARE(bar.Buttons()->item(4)->PicMouseOn(), lookFrame(TkavUIStyle::MacOS, 11).image());
    bar.windowMenu()->maximizeAction()->trigger();
    QVERIFY(!window.form->isMaximized());
    bar.windowMenu()->minimizeAction()->trigger();
    QVERIFY(window.form->isMinimized());
    bar.windowMenu()->closeAction()->trigger();
    QVERIFY(!window.form->isVisible());
}

void TestTitleBar::fileThemeKeepsCaptionColourAndFallsBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto theme = writeTitleBarTheme(dir);
    QVERIFY(theme);
    Window window(TkavUIStyle::MacOS);
    TkavTitleBar &bar = *window.bar;
    QCOMPARE(bar.palette().color(QPalette::WindowText), QColor(Qt::black));
    bar.setUIStyle(TkavUIStyle::FromThemeFile);
    QCOMPARE(bar.palette().color(QPalette::WindowText), QColor(Qt::white));
    bar.setPalette(QPalette()); // the developer's own caption colour
    Kav::KavSetPaletteColor(&bar, QPalette::WindowText, TColor(0x0000FF));
    bar.setFileTheme(theme.get());
    QCOMPARE(bar.palette().color(QPalette::WindowText), QColor(Qt::red));
    // The theme's pictures: the bar takes its height from the theme's left section.
    QCOMPARE(bar.height(), ThemeBarHeight);
    QCOMPARE(bar.Sections()->item(0)->Picture().pixelColor(0, 0), ThemeLeftColour);
    QCOMPARE(bar.Buttons()->item(1)->PicNormal().size(), QSize(ThemeButtonWidth, ThemeBarHeight - 2));

    theme.reset();
    QVERIFY(bar.FileTheme() == nullptr);
    QCOMPARE(bar.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(bar.height(), Kav::Metrics::keyPictureSize(TkavUIStyle::DeepBlue, KavKey::TitleBarLeftImage).height());
    QCOMPARE(bar.Buttons()->item(1)->UIStyle(), TkavUIStyle::DeepBlue);
}

void TestTitleBar::collectionsAssignCopies()
{
    Window from(TkavUIStyle::MacOS);
    Window to(TkavUIStyle::WinXP);
    TkavTitleBarButton *custom = from.bar->Buttons()->add();
    custom->setPicNormal(solid(9, 9, Qt::cyan));
    custom->setTop(3);
    custom->setVisible(false);
    custom->setTransparent(true); // not the look's (MacOS buttons are opaque): a copy keeps it
    from.bar->Sections()->item(0)->setWidth(7);

    to.bar->Buttons()->Assign(from.bar->Buttons());
    to.bar->Sections()->Assign(from.bar->Sections());
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(to.bar->Buttons()->count(), 5);
    for (int i = 0; i < 5; ++i) {
        const TkavTitleBarButton *a = from.bar->Buttons()->item(i);
        const TkavTitleBarButton *b = to.bar->Buttons()->item(i);
        QCOMPARE(b->ButtonType(), a->ButtonType());
        QCOMPARE(b->PicNormal(), a->PicNormal());
        QCOMPARE(b->Top(), a->Top());
        QCOMPARE(b->Visible(), a->Visible());
        QCOMPARE(b->UIStyle(), a->UIStyle());
        QCOMPARE(b->Transparent(), a->Transparent());
    }
    QCOMPARE(to.bar->Sections()->count(), 3);
    QCOMPARE(to.bar->Sections()->item(0)->Picture(), from.bar->Sections()->item(0)->Picture());
    QCOMPARE(to.bar->Sections()->item(2)->Align(), kavClient);
    // Width is copied before AutoSize, which then takes the picture's width again.
    QCOMPARE(to.bar->Sections()->item(0)->Width(), from.bar->Sections()->item(0)->Picture().width());
}

void TestTitleBar::accessibleButtons()
{
    Window window(TkavUIStyle::MacOS, QSize(400, 120));
    TkavTitleBar &bar = *window.bar;
    bar.setCaption(QStringLiteral("&Exam"));
    window.form->show();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&bar);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::TitleBar);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Exam"));
    QCOMPARE(iface->childCount(), 4);
    QStringList names;
    for (int i = 0; i < iface->childCount(); ++i)
        names.append(iface->child(i)->text(QAccessible::Name));
    QCOMPARE(names, (QStringList{"Window menu", "Close", "Maximize", "Minimize"}));
    QAccessibleActionInterface *action = iface->child(2)->actionInterface();
    QVERIFY(action);
    action->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(window.form->isMaximized());
    QCOMPARE(iface->child(2)->text(QAccessible::Name), QStringLiteral("Restore"));
}

QTEST_MAIN(TestTitleBar)
#include "tst_kavtitlebar.moc"
