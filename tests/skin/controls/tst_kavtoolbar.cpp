#include "KAVForm.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVThemeFile.h"
#include "KAVToolBar.h"
#include "kav_fixture_theme.h"
#include "KAVTrackBar.h"

#include <QAccessible>
#include <QMainWindow>
#include <QMenu>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

const TColor Face = TColor::fromRgb(250, 220, 120);
const TColor FaceBorder = TColor::fromRgb(30, 60, 150);
const TColor FaceDown = TColor::fromRgb(240, 150, 60);
const TColor BarColour = TColor::fromRgb(255, 255, 255);
const QRgb IconColour = qRgb(0, 130, 0);
const QRgb Behind = qRgb(1, 2, 3) & RGB_MASK;

QRgb rgb(QRgb pixel)
{
    return pixel & RGB_MASK;
}

QRgb rgb(TColor colour)
{
    return colour.resolved().rgb() & RGB_MASK;
}

QIcon solidIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor::fromRgb(IconColour));
    return QIcon(pixmap);
}

// The top-left pixel of the icon colour within rect of face; (-1, -1) when there is none.
QPoint iconCorner(const QImage &face, const QRect &rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (rgb(face.pixel(x, y)) == rgb(IconColour))
                return {x, y};
    return {-1, -1};
}

// A theme file with nothing but the tool bar's three colours.
std::unique_ptr<TkavFileTheme> writeToolBarTheme(const QTemporaryDir &dir)
{
    return KavTest::writeFixtureTheme(dir, QStringLiteral("toolbar"), {},
                                      {{KavKey::ToolBarButtonBorderColor, FaceBorder},
                                       {KavKey::ToolBarButtonBackgroundColor, Face},
                                       {KavKey::ToolBarButtonDownBackgroundColor, FaceDown}});
}

} // namespace

class TestToolBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void faceForState_data();
    void faceForState();
    void buttonFaces_data();
    void buttonFaces();
    void pressedLabelMovesOneDownRight();
    void dropDownButton();
    void dropDownOpensMenu();
    void wrapping();
    void transparency_data();
    void transparency();
    void transparentControlOnBar();
    void looks();
    void publishedProperties();
    void accessibility();

private:
    // A tool bar of the test colours on the window, with three icon buttons, shown.
    TkavToolBar *fixtureBar();
    QToolButton *button(TkavToolBar *bar, int index);
    // Makes tool a split button with a one-item menu, which it returns.
    static QMenu *giveDropDownMenu(QToolButton *tool);

    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;
    QWidget *m_window = nullptr;
};

void TestToolBar::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_theme = writeToolBarTheme(m_dir);
    QVERIFY(m_theme);
}

void TestToolBar::init()
{
    m_window = new QWidget;
    // Away from the pointer's resting place, so that no button starts under the mouse.
    m_window->setGeometry(200, 200, 400, 200);
    m_window->setAutoFillBackground(true);
    QPalette palette = m_window->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(Behind));
    m_window->setPalette(palette);
}

void TestToolBar::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

TkavToolBar *TestToolBar::fixtureBar()
{
    auto *bar = new TkavToolBar(m_window);
    bar->setFileTheme(m_theme.get());
    bar->setUIStyle(TkavUIStyle::FromThemeFile);
    bar->setColor(BarColour);
    for (int i = 0; i < 3; ++i)
        bar->addAction(solidIcon(), QStringLiteral("Tool %1").arg(i));
    bar->setGeometry(0, 0, 300, 40);
    m_window->show();
    return bar;
}

QToolButton *TestToolBar::button(TkavToolBar *bar, int index)
{
    return qobject_cast<QToolButton *>(bar->widgetForAction(bar->actions().at(index)));
}

QMenu *TestToolBar::giveDropDownMenu(QToolButton *tool)
{
    auto *menu = new QMenu(tool->parentWidget());
    menu->addAction(QStringLiteral("One"));
    tool->setMenu(menu);
    tool->setPopupMode(QToolButton::MenuButtonPopup);
    return menu;
}

// --- Which face -------------------------------------------------------------------------------

void TestToolBar::faceForState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("dropDown");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("mark");

    const int on = QStyle::State_Enabled;
    const int hot = on | QStyle::State_MouseOver;
    using F = Kav::ToolButtonFace;
    QTest::addRow("normal is the platform's") << on << false << int(F::Platform) << false;
    QTest::addRow("hot") << hot << false << int(F::Hot) << false;
    QTest::addRow("hot and pressed") << (hot | QStyle::State_Sunken) << false << int(F::Down) << false;
    QTest::addRow("hot and checked") << (hot | QStyle::State_On) << false << int(F::Hot) << false;
    QTest::addRow("pressed away from the mouse") << (on | QStyle::State_Sunken) << false << int(F::Hot) << false;
    QTest::addRow("checked away from the mouse") << (on | QStyle::State_On) << false << int(F::Hot) << false;
    QTest::addRow("hot drop-down has its mark") << hot << true << int(F::Hot) << true;
    QTest::addRow("pressed drop-down has its mark") << (hot | QStyle::State_Sunken) << true << int(F::Down) << true;
    QTest::addRow("checked drop-down away has none") << (on | QStyle::State_On) << true << int(F::Hot) << false;
    QTest::addRow("disabled under the mouse is flat") << int(QStyle::State_MouseOver) << false << int(F::Platform)
                                                      << false;
}

void TestToolBar::faceForState()
{
    QFETCH(int, state);
    QFETCH(bool, dropDown);
    QFETCH(int, kind);
    QFETCH(bool, mark);
    const Kav::ToolButtonFace face = Kav::toolButtonFace(QStyle::State(state), dropDown);
    QCOMPARE(int(face.kind), kind);
    QCOMPARE(face.dropDownMark, mark);
}

// --- Pixels -----------------------------------------------------------------------------------

void TestToolBar::buttonFaces_data()
{
    QTest::addColumn<bool>("underMouse");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QRgb>("border");
    QTest::addColumn<QRgb>("inside");

    QTest::addRow("normal is flat") << false << false << false << rgb(BarColour) << rgb(BarColour);
    QTest::addRow("hot") << true << false << false << rgb(FaceBorder) << rgb(Face);
    QTest::addRow("pressed") << true << true << false << rgb(FaceBorder) << rgb(FaceDown);
    QTest::addRow("checked") << false << false << true << rgb(FaceBorder) << rgb(Face);
    QTest::addRow("checked and hot") << true << false << true << rgb(FaceBorder) << rgb(Face);
}

void TestToolBar::buttonFaces()
{
    QFETCH(bool, underMouse);
    QFETCH(bool, down);
    QFETCH(bool, checked);
    QFETCH(QRgb, border);
    QFETCH(QRgb, inside);

    TkavToolBar *bar = fixtureBar();
    QToolButton *tool = button(bar, 1);
    QVERIFY(tool);
    QCOMPARE(tool->style(), TkavToolBarStyle::instance());
    tool->setAttribute(Qt::WA_UnderMouse, underMouse);
    tool->setCheckable(checked);
    tool->setChecked(checked);
    tool->setDown(down);

    const QImage face = bar->grab().toImage();
    const QRect r = tool->geometry();
    QCOMPARE(rgb(face.pixel(r.topLeft())), border);
    QCOMPARE(rgb(face.pixel(r.bottomRight())), border);
    QCOMPARE(rgb(face.pixel(r.left() + 1, r.top() + 1)), inside);
    QCOMPARE(rgb(face.pixel(r.right() - 1, r.bottom() - 1)), inside);
    // The icon is drawn in every state.
    QVERIFY(iconCorner(face, r).x() >= 0);
    // The neighbours stay flat.
    const QRect left = button(bar, 0)->geometry();
    QCOMPARE(rgb(face.pixel(left.left() + 1, left.top() + 1)), rgb(BarColour));
}

void TestToolBar::pressedLabelMovesOneDownRight()
{
    TkavToolBar *bar = fixtureBar();
    QToolButton *tool = button(bar, 0);
    tool->setAttribute(Qt::WA_UnderMouse, true);
    const QPoint hot = iconCorner(bar->grab().toImage(), tool->geometry());
    tool->setDown(true);
    const QPoint pressed = iconCorner(bar->grab().toImage(), tool->geometry());
    QVERIFY(hot.x() >= 0);
    QCOMPARE(pressed, hot + QPoint(1, 1));
}

void TestToolBar::dropDownButton()
{
    TkavToolBar *bar = fixtureBar();
    QToolButton *tool = button(bar, 2);
    giveDropDownMenu(tool);
    tool->setAttribute(Qt::WA_UnderMouse, true);

    const QImage face = bar->grab().toImage();
    const QRect r = tool->geometry();
    const int end = r.x() + r.width(); // one past the last column
    const int middle = r.top() + r.height() / 2;
    const QRgb black = qRgb(0, 0, 0) & RGB_MASK;
    // The split line runs the whole height 14 pixels from the right; the arrow's tip sits 7 in.
    QCOMPARE(rgb(face.pixel(end - 14, r.top() + 1)), black);
    QCOMPARE(rgb(face.pixel(end - 14, r.bottom() - 1)), black);
    QCOMPARE(rgb(face.pixel(end - 9, middle)), black);
    QCOMPARE(rgb(face.pixel(end - 5, middle)), black);
    QCOMPARE(rgb(face.pixel(end - 7, middle + 2)), black);
    QCOMPARE(rgb(face.pixel(end - 9, middle + 2)), rgb(Face));
    QCOMPARE(rgb(face.pixel(end - 10, middle)), rgb(Face));
    // The icon is centred in the part left of the split line.
    const QPoint icon = iconCorner(face, r);
    const int leftGap = icon.x() - r.left();
    const int rightGap = (end - 14) - (icon.x() + 16);
    QVERIFY2(qAbs(leftGap - rightGap) <= 2, qPrintable(QStringLiteral("%1 vs %2").arg(leftGap).arg(rightGap)));
}

void TestToolBar::dropDownOpensMenu()
{
    TkavToolBar *bar = fixtureBar();
    QToolButton *tool = button(bar, 2);
    QMenu *menu = giveDropDownMenu(tool);
    QSignalSpy shown(menu, &QMenu::aboutToShow);
    // The menu runs its own loop; closing it as soon as it shows hands control back.
    connect(menu, &QMenu::aboutToShow, menu, [menu] { QMetaObject::invokeMethod(menu, &QMenu::close, Qt::QueuedConnection); });
    QSignalSpy clicked(tool, &QToolButton::clicked);
    QTest::mouseClick(tool, Qt::LeftButton, {}, QPoint(tool->width() - 4, tool->height() / 2));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(clicked.count(), 0);
    // The main part is still a button.
    QTest::mouseClick(tool, Qt::LeftButton, {}, QPoint(4, tool->height() / 2));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(shown.count(), 1);
}

void TestToolBar::wrapping()
{
    // On its own, a bar too short for its buttons lists the rest in its extension button's menu.
    TkavToolBar *bar = fixtureBar();
    for (int i = 3; i < 12; ++i)
        bar->addAction(solidIcon(), QStringLiteral("Tool %1").arg(i));
    bar->setGeometry(0, 0, 120, bar->sizeHint().height());
    QCoreApplication::processEvents();
    auto *extension = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    QVERIFY(extension);
    QVERIFY(extension->isVisible());
    QVERIFY(!button(bar, 11)->isVisible());
    QVERIFY(extension->menu());
    QVERIFY(extension->menu()->actions().contains(bar->actions().at(11)));

    // In a main window the extension button wraps the buttons onto more rows.
    QMainWindow window;
    window.setGeometry(200, 200, 140, 200);
    window.setAnimated(false); // the rows appear at once rather than over timed frames
    auto *docked = new TkavToolBar(&window);
    for (int i = 0; i < 12; ++i)
        docked->addAction(solidIcon(), QStringLiteral("Tool %1").arg(i));
    window.addToolBar(docked);
    window.show();
    QCoreApplication::processEvents();
    auto *more = docked->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    QVERIFY(more && more->isVisible());
    QVERIFY(!docked->widgetForAction(docked->actions().at(11))->isVisible());
    more->click();
    QCoreApplication::processEvents();
    QSet<int> rows;
    for (QAction *action : docked->actions()) {
        QWidget *tool = docked->widgetForAction(action);
        QVERIFY2(tool->isVisible(), qPrintable(action->text()));
        rows.insert(tool->y());
    }
    QVERIFY(rows.size() > 1);
}

void TestToolBar::transparency_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<bool>("transparent");
    const auto name = [](TkavUIStyle style) { return QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(style)); };
    for (TkavUIStyle style : Kav::Metrics::BuiltInLooks)
        QTest::addRow("%s", name(style)) << style
                                         << (style == TkavUIStyle::MacOS || style == TkavUIStyle::Protein);
    QTest::addRow("theme file") << TkavUIStyle::FromThemeFile << false;
}

void TestToolBar::transparency()
{
    QFETCH(TkavUIStyle, style);
    QFETCH(bool, transparent);
    TkavToolBar *bar = fixtureBar();
    bar->setUIStyle(style);
    QCOMPARE(bar->Transparent(), transparent);
    const QImage face = bar->grab().toImage();
    QCOMPARE(rgb(face.pixel(bar->width() - 3, 2)), transparent ? Behind : rgb(BarColour));
    if (style != TkavUIStyle::FromThemeFile) {
        const KavThemeValues values(style, nullptr);
        QCOMPARE(bar->ButtonColor(), values.color(KavKey::ToolBarButtonBackgroundColor));
        QCOMPARE(bar->ButtonBorderColor(), values.color(KavKey::ToolBarButtonBorderColor));
        QCOMPARE(bar->ButtonDownColor(), values.color(KavKey::ToolBarButtonDownBackgroundColor));
    }
}

void TestToolBar::transparentControlOnBar()
{
    // A transparent skinned control on the bar shows the bar's face: its Color while the bar is
    // opaque, what lies behind the bar while it is transparent.
    TkavToolBar *bar = fixtureBar();
    auto *track = new TkavTrackBar;
    track->setTransparent(true);
    track->setShowTick(false);
    track->setTabStop(false);
    bar->addWidget(track);
    QCoreApplication::processEvents();
    QVERIFY(track->isVisible());
    QCOMPARE(rgb(track->grab().toImage().pixel(track->width() / 2, 0)), rgb(BarColour));
    bar->setTransparent(true);
    QCOMPARE(rgb(track->grab().toImage().pixel(track->width() / 2, 0)), Behind);
}

void TestToolBar::looks()
{
    auto *form = new TkavForm(m_window);
    form->setUIStyle(TkavUIStyle::Protein);
    auto *bar = new TkavToolBar(m_window);
    QCOMPARE(bar->UIStyle(), TkavUIStyle::Protein);
    bar->ensurePolished(); // which brings the look
    QVERIFY(bar->Transparent());

    // The theme manager and file themes write the look by name; a destroyed theme means DeepBlue.
    auto theme = writeToolBarTheme(m_dir);
    QVERIFY(theme);
    Kav::KavWriteFileTheme(bar, theme.get());
    Kav::KavWriteUIStyle(bar, TkavUIStyle::FromThemeFile);
    QCOMPARE(bar->ButtonColor(), Face);
    QCOMPARE(bar->ButtonDownColor(), FaceDown);
    QCOMPARE(bar->ButtonBorderColor(), FaceBorder);
    QVERIFY(!bar->Transparent());
    theme.reset();
    QCOMPARE(bar->FileTheme(), nullptr);
    QCOMPARE(bar->UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(bar->ButtonColor(), KavThemeValues(TkavUIStyle::DeepBlue, nullptr).color(KavKey::ToolBarButtonBackgroundColor));
}

void TestToolBar::publishedProperties()
{
    const char *names[] = {"FileTheme", "UIStyle", "ButtonColor", "ButtonBorderColor", "ButtonDownColor",
                           "Color", "Transparent"};
    const QMetaObject &meta = TkavToolBar::staticMetaObject;
    for (const char *name : names) {
        const QMetaProperty property = meta.property(meta.indexOfProperty(name));
        QVERIFY2(property.isValid() && property.isWritable(), name);
    }
    TkavToolBar bar(m_window);
    QVERIFY(bar.setProperty("ButtonColor", QVariant::fromValue(Face)));
    QCOMPARE(bar.ButtonColor(), Face);
    // Qt's own tool bar properties stay.
    QVERIFY(bar.setProperty("toolButtonStyle", int(Qt::ToolButtonTextUnderIcon)));
    QCOMPARE(bar.toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
}

void TestToolBar::accessibility()
{
    TkavToolBar *bar = fixtureBar();
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(bar);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::ToolBar);
    int buttons = 0;
    for (int i = 0; i < accessible->childCount(); ++i)
        if (accessible->child(i)->role() == QAccessible::Button && accessible->child(i)->object() != nullptr
            && accessible->child(i)->object()->objectName() != QLatin1StringView("qt_toolbar_ext_button"))
            ++buttons;
    QCOMPARE(buttons, 3);
}

QTEST_MAIN(TestToolBar)
#include "tst_kavtoolbar.moc"
