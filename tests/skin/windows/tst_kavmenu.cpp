#include "KAVForm.h"
#include "KAVMainMenu.h"
#include "KAVMenu.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVPopupMenu.h"
#include "KAVThemeValues.h"
#include "../controls/kav_fixture_theme.h"

#include <QAccessible>
#include <QMetaProperty>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

namespace M = Kav::Metrics;

// Test colours, each easy to tell from the others and from the looks'.
const TColor Background = TColor::fromRgb(250, 250, 240);
const TColor Bar = TColor::fromRgb(200, 220, 250);
const TColor Selected = TColor::fromRgb(250, 200, 100);
const TColor SelectedBorder = TColor::fromRgb(120, 40, 20);
const TColor SelectedText = TColor::fromRgb(0, 0, 160);
const TColor Text = TColor::fromRgb(0, 100, 0);
const TColor Separator = TColor::fromRgb(160, 0, 160);
// Pixels are compared without their alpha byte.
const QRgb IconColour = qRgb(0, 130, 130) & RGB_MASK;
const QRgb Grey = qRgb(128, 128, 128) & RGB_MASK;
const QRgb Black = 0;
const QRgb White = qRgb(255, 255, 255) & RGB_MASK;

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
    QPixmap pixmap(M::MenuGlyphSize);
    pixmap.fill(QColor::fromRgb(IconColour));
    return QIcon(pixmap);
}

// Whether any pixel of rect in image has colour.
bool hasColour(const QImage &image, const QRect &rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (rgb(image.pixel(x, y)) == rgb(colour))
                return true;
    return false;
}

// Whether text of colour was written within rect: a pixel close to it (text is anti-aliased).
bool hasInk(const QImage &image, const QRect &rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAbs(qRed(pixel) - qRed(colour)) < 40 && qAbs(qGreen(pixel) - qGreen(colour)) < 40
                && qAbs(qBlue(pixel) - qBlue(colour)) < 40)
                return true;
        }
    }
    return false;
}

// The menu skinned with the test colours.
void paintWithTestColours(TkavPopupMenu &menu)
{
    menu.setColor(Background);
    menu.setBarColor(Bar);
    menu.setSelectedColor(Selected);
    menu.setSelectedBorderColor(SelectedBorder);
    menu.setSelectedFontColor(SelectedText);
    menu.setFontColor(Text);
    menu.setSeparatorColor(Separator);
}

// Opens menu and waits until it is on screen.
bool openMenu(QMenu &menu)
{
    menu.popup(QPoint(50, 50));
    return QTest::qWaitForWindowExposed(&menu);
}

// The colour properties read as QColor; the tables below give the TColor values a theme stores.
QVariant asRead(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<TColor>() ? QVariant(value.value<QColor>()) : value;
}

} // namespace

class TestMenu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void itemMetrics_data();
    void itemMetrics();
    void itemPixels_data();
    void itemPixels();
    void macOSPictures_data();
    void macOSPictures();
    void flatFrame();
    void menuWindowHasAnEdge_data();
    void menuWindowHasAnEdge();
    void restingBarCaptionsInTheMenuTextColour();
    void subMenusAddedLaterAreSkinned();
    void lookFromTheFormAndTheFileTheme();
    void menuBar_data();
    void menuBar();
    void mainMenuSignalsItsChanges();
    void publishedProperties_data();
    void publishedProperties();
    void keyboardAndAccessibility();

private:
    QTemporaryDir m_dir;
};

void TestMenu::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

// --- Sizes ------------------------------------------------------------------------------------

void TestMenu::itemMetrics_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    QTest::addColumn<bool>("separator");
    QTest::addColumn<int>("itemHeightWrite");
    QTest::addColumn<int>("separatorHeightWrite");
    QTest::addColumn<int>("height");

    const auto S = TkavUIStyle::WinXP;
    const auto Mac = TkavUIStyle::MacOS;
    QTest::addRow("item") << S << false << -1 << -1 << 21;
    QTest::addRow("separator") << S << true << -1 << -1 << 5;
    QTest::addRow("item in DeepBlue") << TkavUIStyle::DeepBlue << false << -1 << -1 << 21;
    QTest::addRow("taller item") << S << false << 30 << -1 << 30;
    QTest::addRow("taller separator") << S << true << -1 << 9 << 9;
    QTest::addRow("MacOS item") << Mac << false << -1 << -1 << 20;
    QTest::addRow("MacOS separator") << Mac << true << -1 << -1 << 12;
    QTest::addRow("MacOS ignores item height") << Mac << false << 30 << -1 << 20;
    QTest::addRow("MacOS ignores separator height") << Mac << true << -1 << 9 << 12;
}

void TestMenu::itemMetrics()
{
    QFETCH(TkavUIStyle, look);
    QFETCH(bool, separator);
    QFETCH(int, itemHeightWrite);
    QFETCH(int, separatorHeightWrite);
    QFETCH(int, height);

    TkavPopupMenu menu;
    menu.setUIStyle(look);
    if (itemHeightWrite >= 0)
        menu.setMenuItemHeight(itemHeightWrite);
    if (separatorHeightWrite >= 0)
        menu.setSeparatorHeight(separatorHeightWrite);
    QAction *item = menu.addAction(QStringLiteral("Open file"));
    item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction *line = menu.addSeparator();
    menu.addAction(QStringLiteral("Close"));
    QVERIFY(openMenu(menu));

    const QRect rect = menu.actionGeometry(separator ? line : item);
    QCOMPARE(rect.height(), height);
    // Caption, shortcut, the bar and 40 more; items span the menu.
    const QFontMetrics metrics(menu.font());
    const int expected = metrics.horizontalAdvance(QStringLiteral("Open file"))
                         + metrics.horizontalAdvance(item->shortcut().toString(QKeySequence::NativeText)) + 66;
    QCOMPARE(rect.width(), expected);
    // The items lie edge to edge inside the window's frame.
    QCOMPARE(menu.actionGeometry(line).top(), menu.actionGeometry(item).bottom() + 1);
}

// --- Item pixels ------------------------------------------------------------------------------

void TestMenu::itemPixels_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    QTest::addRow("WinXP") << TkavUIStyle::WinXP;
    QTest::addRow("DeepBlue") << TkavUIStyle::DeepBlue;
    QTest::addRow("Protein") << TkavUIStyle::Protein;
    QTest::addRow("BlueGlass") << TkavUIStyle::BlueGlass;
}

void TestMenu::itemPixels()
{
    QFETCH(TkavUIStyle, look);
    TkavPopupMenu menu;
    menu.setUIStyle(look);
    paintWithTestColours(menu);
    QAction *normal = menu.addAction(QStringLiteral("Normal"));
    QAction *disabled = menu.addAction(QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    QAction *checked = menu.addAction(QStringLiteral("Checked"));
    checked->setCheckable(true);
    checked->setChecked(true);
    QAction *checkedIcon = menu.addAction(solidIcon(), QStringLiteral("Checked icon"));
    checkedIcon->setCheckable(true);
    checkedIcon->setChecked(true);
    QAction *line = menu.addSeparator();
    QAction *selected = menu.addAction(QStringLiteral("Selected"));
    QMenu *sub = menu.addMenu(QStringLiteral("More"));
    sub->addAction(QStringLiteral("Inner"));
    QVERIFY(openMenu(menu));

    // The selected item: filled, framed, its caption in the selected text colour.
    menu.setActiveAction(selected);
    QImage face = menu.grab().toImage();
    QRect r = menu.actionGeometry(selected);
    QCOMPARE(rgb(face.pixel(r.topLeft())), rgb(SelectedBorder));
    QCOMPARE(rgb(face.pixel(r.bottomRight())), rgb(SelectedBorder));
    QCOMPARE(rgb(face.pixel(r.left() + 1, r.top() + 1)), rgb(Selected));
    QCOMPARE(rgb(face.pixel(r.right() - 1, r.center().y())), rgb(Selected));
    QVERIFY(hasInk(face, r.adjusted(M::MenuBarWidth, 1, -1, -1), rgb(SelectedText)));

    // A normal item: the bar at the left, the background, the caption in the text colour.
    r = menu.actionGeometry(normal);
    QCOMPARE(rgb(face.pixel(r.left(), r.center().y())), rgb(Bar));
    QCOMPARE(rgb(face.pixel(r.left() + M::MenuBarWidth - 1, r.top())), rgb(Bar));
    QCOMPARE(rgb(face.pixel(r.left() + M::MenuBarWidth, r.top())), rgb(Background));
    QCOMPARE(rgb(face.pixel(r.right(), r.bottom())), rgb(Background));
    QVERIFY(hasInk(face, r.adjusted(M::MenuBarWidth, 0, 0, 0), rgb(Text)));
    QVERIFY(!hasColour(face, r, rgb(Selected)));

    // The separator: a line two rows down, from 4 right of the bar to 2 short of the right edge.
    r = menu.actionGeometry(line);
    const int lineY = r.top() + 2;
    QCOMPARE(rgb(face.pixel(r.left() + M::MenuBarWidth + 3, lineY)), rgb(Background));
    QCOMPARE(rgb(face.pixel(r.left() + M::MenuBarWidth + 4, lineY)), rgb(Separator));
    QCOMPARE(rgb(face.pixel(r.right() - 2, lineY)), rgb(Separator));
    QCOMPARE(rgb(face.pixel(r.right() - 1, lineY)), rgb(Background));
    QCOMPARE(rgb(face.pixel(r.left() + M::MenuBarWidth + 4, lineY + 1)), rgb(Background));

    // The check mark starts 4 pixels from the left, 3 down, inside the bar.
    // Its white pixels stay transparent: the bar shows through.
    r = menu.actionGeometry(checked);
    const QImage mark = Kav::KavLoadResourceBitmap(QStringLiteral("MENU_CHECKED"));
    int markPixels = 0;
    for (int y = 0; y < mark.height(); ++y) {
        for (int x = 0; x < mark.width(); ++x) {
            const QPoint at = r.topLeft() + M::MenuGlyphOffset + QPoint(x, y);
            const bool white = rgb(mark.pixel(x, y)) == White;
            markPixels += white ? 0 : 1;
            QCOMPARE(rgb(face.pixel(at)), white ? rgb(at.x() < r.left() + M::MenuBarWidth ? Bar : Background)
                                                : rgb(mark.pixel(x, y)));
        }
    }
    QVERIFY(markPixels > 10);

    // A checked item with an icon: the icon over a box in the selected colour, framed in black.
    r = menu.actionGeometry(checkedIcon);
    const QRect box(r.topLeft() + M::MenuIconBoxOffset, M::MenuIconBoxSize);
    QCOMPARE(rgb(face.pixel(box.topLeft())), Black);
    QCOMPARE(rgb(face.pixel(box.bottomRight())), Black);
    QCOMPARE(rgb(face.pixel(box.left() + 1, box.top() + 1)), rgb(Selected));
    QCOMPARE(rgb(face.pixel(r.left() + 4, r.top() + 3)), IconColour);
    QCOMPARE(rgb(face.pixel(r.left() + 19, r.top() + 18)), IconColour);

    // A sub-menu's arrow at the right, in the text colour.
    r = menu.actionGeometry(sub->menuAction());
    const QRect arrow(r.right() - M::MenuArrowRightGap - 3, r.top(), 4, r.height());
    QVERIFY(hasInk(face, arrow, rgb(Text)));
    QVERIFY(!hasInk(face, arrow.translated(-8, 0), rgb(Text)));

    // A disabled item under the pointer: the normal background and grey text.
    menu.setActiveAction(disabled);
    QCOMPARE(menu.activeAction(), disabled);
    face = menu.grab().toImage();
    r = menu.actionGeometry(disabled);
    QVERIFY(!hasColour(face, r, rgb(Selected)));
    QVERIFY(!hasColour(face, r, rgb(SelectedBorder)));
    QCOMPARE(rgb(face.pixel(r.right(), r.top())), rgb(Background));
    QVERIFY(hasInk(face, r, Grey));
    QVERIFY(!hasInk(face, r, rgb(Text)));
}

// The MacOS look draws its pictures: the selection picture and the line picture cut to an item's
// 20 rows, and the line picture cut to 12 for a separator.
void TestMenu::macOSPictures_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("which"); // 0 normal, 1 selected, 2 separator
    QTest::addColumn<int>("rows");
    QTest::addRow("normal item") << QStringLiteral("MACOS_MENU_BAR") << 0 << 20;
    QTest::addRow("selected item") << QStringLiteral("MACOS_MENU_SELECT") << 1 << 20;
    QTest::addRow("separator") << QStringLiteral("MACOS_MENU_BAR") << 2 << 12;
}

void TestMenu::macOSPictures()
{
    QFETCH(QString, picture);
    QFETCH(int, which);
    QFETCH(int, rows);

    TkavPopupMenu menu;
    menu.setUIStyle(TkavUIStyle::MacOS);
    QAction *normal = menu.addAction(QStringLiteral("Normal"));
    QAction *selected = menu.addAction(QStringLiteral("Selected"));
    QAction *line = menu.addSeparator();
    menu.addAction(QStringLiteral("Last"));
    QVERIFY(openMenu(menu));
    menu.setActiveAction(selected);
    const QImage face = menu.grab().toImage();

    const QImage source = Kav::KavLoadResourceBitmap(picture);
    const QRect r = menu.actionGeometry(which == 0 ? normal : which == 1 ? selected : line);
    QCOMPARE(r.height(), rows);
    // The right-most column carries no text.
    for (int row = 0; row < rows; ++row)
        QCOMPARE(rgb(face.pixel(r.right(), r.top() + row)), rgb(source.pixel(0, row)));
}

// The flat frame, on a small window rectangle: outer colour one row down, white inside it, the
// line colour along the bottom, the right and the top (all but the top-left pixel).
void TestMenu::flatFrame()
{
    const QRgb blank = qRgb(9, 9, 9);
    const QRgb outer = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb line = qRgb(200, 0, 0);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(blank);
    {
        QPainter painter(&image);
        Kav::Menu_DrawWindowBorder(painter, image.rect(), QColor(outer), QColor(line));
    }
    const char *expected[8] = {
        "_LLLLLLL", //
        "OOOOOOOL", //
        "OWWWWWOL", //
        "OW___WOL", //
        "OW___WOL", //
        "OWWWWWOL", //
        "OOOOOOOL", //
        "LLLLLLLL",
    };
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const char c = expected[y][x];
            const QRgb want = c == 'L' ? line : c == 'O' ? outer : c == 'W' ? white : blank;
            QVERIFY2(rgb(image.pixel(x, y)) == rgb(want), qPrintable(QStringLiteral("at %1,%2").arg(x).arg(y)));
        }
    }

    // A flat menu draws it around its items, which keep their sizes.
    TkavPopupMenu menu;
    menu.setUIStyle(TkavUIStyle::WinXP);
    menu.setFlatMenu(true);
    QAction *item = menu.addAction(QStringLiteral("Item"));
    QVERIFY(openMenu(menu));
    const QImage face = menu.grab().toImage();
    QCOMPARE(menu.actionGeometry(item).topLeft(), QPoint(M::MenuFlatFrameWidth, M::MenuFlatFrameWidth));
    QCOMPARE(menu.actionGeometry(item).height(), 21);
    const QRgb formBorder = rgb(GetInsideThemeColor(TkavUIStyle::WinXP, KavKey::FormBorderColor));
    QCOMPARE(rgb(face.pixel(face.width() - 1, 5)), formBorder);
    QCOMPARE(rgb(face.pixel(0, 5)), rgb(outer));
    QCOMPARE(rgb(face.pixel(1, 5)), rgb(white));
}

// --- Sub-menus --------------------------------------------------------------------------------

void TestMenu::subMenusAddedLaterAreSkinned()
{
    TkavPopupMenu menu;
    menu.setUIStyle(TkavUIStyle::MacOS);
    menu.addAction(QStringLiteral("First"));
    QMenu *sub = menu.addMenu(QStringLiteral("Later"));
    QMenu *subSub = sub->addMenu(QStringLiteral("Deeper"));
    subSub->addAction(QStringLiteral("Leaf"));
    auto *attached = new QMenu(&menu);
    QAction *holder = menu.addAction(QStringLiteral("Attached"));
    holder->setMenu(attached);
    // A skinned menu used as a sub-menu keeps its own skin.
    auto *own = new TkavPopupMenu(&menu);
    own->setUIStyle(TkavUIStyle::WinXP);
    menu.addMenu(own);

    for (QMenu *skinned : {sub, subSub, attached}) {
        QCOMPARE(skinned->style(), menu.style());
        skinned->addAction(QStringLiteral("Item"));
        QVERIFY(openMenu(*skinned));
        QCOMPARE(skinned->actionGeometry(skinned->actions().constLast()).height(), 20);
        skinned->hide();
    }
    QVERIFY(own->style() != menu.style());
    own->addAction(QStringLiteral("Item"));
    QVERIFY(openMenu(*own));
    QCOMPARE(own->actionGeometry(own->actions().constFirst()).height(), 21);

    // A look change reaches the sub-menus at once.
    menu.setUIStyle(TkavUIStyle::DeepBlue);
    QVERIFY(openMenu(*subSub));
    QCOMPARE(subSub->actionGeometry(subSub->actions().constLast()).height(), 21);
}

// --- Looks ------------------------------------------------------------------------------------

void TestMenu::lookFromTheFormAndTheFileTheme()
{
    QWidget window;
    auto *skin = new TkavForm(&window);
    skin->setUIStyle(TkavUIStyle::MacOS);
    TkavPopupMenu popup(&window);
    QCOMPARE(popup.UIStyle(), TkavUIStyle::MacOS);
    TkavMainMenu bar(&window);
    QCOMPARE(bar.UIStyle(), TkavUIStyle::MacOS);
    QCOMPARE(TkavPopupMenu().UIStyle(), TkavUIStyle::DeepBlue);

    const TColor themeSelected = TColor::fromRgb(11, 22, 33);
    std::unique_ptr<TkavFileTheme> theme = KavTest::writeFixtureTheme(
        m_dir, QStringLiteral("menu"), {},
        {{KavKey::MenuSelectedBackgroundColor, themeSelected}, {KavKey::MenuBackgroundColor, Background}});
    QVERIFY(theme);
    for (QObject *menu : {static_cast<QObject *>(&popup), static_cast<QObject *>(&bar)}) {
        menu->setProperty("FileTheme", QVariant::fromValue(theme.get()));
        menu->setProperty("UIStyle", QVariant::fromValue(TkavUIStyle::FromThemeFile));
        QCOMPARE(menu->property("SelectedColor").value<TColor>(), themeSelected);
        QCOMPARE(menu->property("Color").value<TColor>(), Background);
        QCOMPARE(menu->property("MenuItemHeight").toInt(), 21);
    }

    // The theme goes away: no dangling reference, and the DeepBlue look.
    theme.reset();
    const TColor deepBlue = GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::MenuSelectedBackgroundColor);
    for (QObject *menu : {static_cast<QObject *>(&popup), static_cast<QObject *>(&bar)}) {
        QCOMPARE(menu->property("FileTheme").value<TkavFileTheme *>(), nullptr);
        QCOMPARE(menu->property("UIStyle").value<TkavUIStyle>(), TkavUIStyle::DeepBlue);
        QCOMPARE(menu->property("SelectedColor").value<TColor>(), deepBlue);
    }
}

// --- The main menu's bar ----------------------------------------------------------------------

void TestMenu::menuWindowHasAnEdge_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    for (const TkavUIStyle look : M::BuiltInLooks)
        QTest::addRow("%d", int(look)) << look;
}

void TestMenu::menuWindowHasAnEdge()
{
    // A white menu over white content shows where it ends: a line of the look's border colour.
    QFETCH(TkavUIStyle, look);
    TkavPopupMenu menu;
    menu.setUIStyle(look);
    menu.addAction(QStringLiteral("Open"));
    menu.addAction(QStringLiteral("Close"));
    menu.popup(QPoint(20, 20));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QImage face = menu.grab().toImage();
    const QRgb edge = rgb(KavThemeValues(look, nullptr).color(KavKey::FormBorderColor));
    const QRect r = face.rect();
    for (const QPoint &point : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), QPoint(r.center().x(), 0),
                                QPoint(0, r.center().y()), QPoint(r.right(), r.center().y())})
        QVERIFY2(rgb(face.pixel(point)) == edge, qPrintable(QStringLiteral("at %1,%2").arg(point.x()).arg(point.y())));
    // The items lie inside it.
    QVERIFY(menu.actionGeometry(menu.actions().constFirst()).top() >= 1);
    menu.hide();
}

void TestMenu::restingBarCaptionsInTheMenuTextColour()
{
    // The bar's palette may carry a control text colour (blue in WinXP); its captions are the
    // menu's text colour, as the drop-down items are.
    TkavMainMenu bar;
    bar.setUIStyle(TkavUIStyle::WinXP);
    bar.setMenuBarColor(Bar);
    bar.setFontColor(Text);
    QPalette palette = bar.palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    palette.setColor(QPalette::ButtonText, Qt::blue);
    palette.setColor(QPalette::Text, Qt::blue);
    bar.setPalette(palette);
    QMenu *file = bar.addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Open"));
    bar.resize(200, bar.sizeHint().height());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const QImage face = bar.grab().toImage();
    const QRect item = bar.actionGeometry(file->menuAction());
    QVERIFY(hasInk(face, item, rgb(Text)));
    QVERIFY(!hasInk(face, item, qRgb(0, 0, 255)));
}

void TestMenu::menuBar_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    QTest::addColumn<bool>("pressed");
    QTest::addRow("MacOS hot") << TkavUIStyle::MacOS << false;
    QTest::addRow("MacOS pressed") << TkavUIStyle::MacOS << true;
    QTest::addRow("WinXP hot") << TkavUIStyle::WinXP << false;
    QTest::addRow("WinXP pressed") << TkavUIStyle::WinXP << true;
}

void TestMenu::menuBar()
{
    QFETCH(TkavUIStyle, look);
    QFETCH(bool, pressed);
    const bool mac = look == TkavUIStyle::MacOS;

    TkavMainMenu bar;
    bar.setUIStyle(look);
    bar.setMenuBarColor(Bar);
    bar.setSelectedColor(Selected);
    bar.setSelectedBorderColor(SelectedBorder);
    QMenu *file = bar.addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Open"));
    bar.addMenu(QStringLiteral("&Edit"))->addAction(QStringLiteral("Copy"));
    bar.resize(300, bar.sizeHint().height());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    // The bar and its items are 22 high; an item is its caption and 8 on either side.
    QCOMPARE(bar.height(), M::MenuBarHeight);
    const QRect item = bar.actionGeometry(file->menuAction());
    QCOMPARE(item.height(), M::MenuBarHeight);
    QCOMPARE(item.width(), QFontMetrics(bar.font()).size(Qt::TextShowMnemonic, QStringLiteral("&File")).width() + 16);
    // The drop-down is skinned too.
    QCOMPARE(file->style(), bar.style());

    // Resting: the bar's background under the items and beyond them.
    QImage face = bar.grab().toImage();
    const QImage line = Kav::KavLoadResourceBitmap(QStringLiteral("MACOS_MENU_BAR"));
    for (const QPoint point : {QPoint(item.left(), 5), QPoint(bar.width() - 1, 5)})
        QCOMPARE(rgb(face.pixel(point)), mac ? rgb(line.pixel(0, 5)) : rgb(Bar));

    // Hot, or pressed (its drop-down open).
    if (pressed) {
        bar.setActiveAction(file->menuAction());
        QVERIFY(QTest::qWaitForWindowExposed(file));
    } else {
        QStyleOptionMenuItem option;
        option.initFrom(&bar);
        option.rect = item;
        option.menuRect = bar.rect();
        option.text = QStringLiteral("&File");
        option.state |= QStyle::State_Selected;
        face.fill(Qt::white);
        QPainter painter(&face);
        bar.style()->drawControl(QStyle::CE_MenuBarItem, &option, &painter, &bar);
    }
    if (pressed)
        face = bar.grab().toImage();
    if (mac) {
        const QImage selection = Kav::KavLoadResourceBitmap(QStringLiteral("MACOS_MENU_SELECT"));
        QCOMPARE(rgb(face.pixel(item.left(), 3)), rgb(selection.pixel(0, 3 * selection.height() / item.height())));
        QCOMPARE(rgb(face.pixel(item.right(), 3)), rgb(selection.pixel(0, 3 * selection.height() / item.height())));
    } else {
        // The face loses two columns on the right while pressed.
        const int faceRight = pressed ? item.right() - 2 : item.right();
        QCOMPARE(rgb(face.pixel(item.left(), 3)), rgb(SelectedBorder));
        QCOMPARE(rgb(face.pixel(faceRight, 3)), rgb(SelectedBorder));
        QCOMPARE(rgb(face.pixel(faceRight - 1, 3)), rgb(Selected));
        if (pressed)
            QCOMPARE(rgb(face.pixel(item.right(), 3)), rgb(Bar));
    }
    file->hide();

    // The form gives the bar another height: the bar and its items follow.
    bar.setBarHeight(26);
    QCOMPARE(bar.sizeHint().height(), 26);
    QCOMPARE(bar.actionGeometry(file->menuAction()).height(), 26);
}

void TestMenu::mainMenuSignalsItsChanges()
{
    QWidget window;
    TkavMainMenu bar(&window);
    QSignalSpy items(&bar, &TkavMainMenu::itemsChanged);
    QSignalSpy item(&bar, &TkavMainMenu::itemChanged);
    QSignalSpy font(&bar, &TkavMainMenu::fontChanged);
    QAction *file = bar.addAction(QStringLiteral("File"));
    QCOMPARE(items.count(), 1);
    file->setText(QStringLiteral("Datei"));
    QCOMPARE(item.count(), 1);
    bar.setUseSystemFont(false);
    QCOMPARE(font.count(), 1);
    bar.MenuAdded();
    QCOMPARE(items.count(), 2);
    bar.removeAction(file);
    QCOMPARE(items.count(), 3);

    // The back-reference to the form that shows the bar is forgotten when the form goes.
    {
        QWidget shortLived;
        bar.setForm(&shortLived);
        QCOMPARE(bar.form(), &shortLived);
    }
    QCOMPARE(bar.form(), nullptr);
}

// --- Properties -------------------------------------------------------------------------------

void TestMenu::publishedProperties_data()
{
    QTest::addColumn<QString>("menuClass");
    for (const char *name : {"TkavPopupMenu", "TkavMainMenu"})
        QTest::addRow("%s", name) << QString::fromLatin1(name);
}

void TestMenu::publishedProperties()
{
    QFETCH(QString, menuClass);
    std::unique_ptr<QWidget> menu;
    if (menuClass == QLatin1String("TkavPopupMenu"))
        menu = std::make_unique<TkavPopupMenu>();
    else
        menu = std::make_unique<TkavMainMenu>();
    menu->ensurePolished(); // which brings its look

    // A new menu (no form): the DeepBlue look over the constructor values.
    const auto lookColour = [](int key) { return GetInsideThemeColor(TkavUIStyle::DeepBlue, key); };
    const QList<QPair<const char *, QVariant>> fresh = {
        {"OwnerDraw", true},
        {"UIStyle", QVariant::fromValue(TkavUIStyle::DeepBlue)},
        {"MenuItemHeight", 21},
        {"SeparatorHeight", 5},
        {"BarWidth", 26},
        {"BarColor", QVariant::fromValue(lookColour(KavKey::MenuBarColor))},
        {"Color", QVariant::fromValue(lookColour(KavKey::MenuBackgroundColor))},
        {"SeparatorColor", QVariant::fromValue(TColor(8684164))},
        {"SelectedColor", QVariant::fromValue(lookColour(KavKey::MenuSelectedBackgroundColor))},
        {"FontColor", QVariant::fromValue(lookColour(KavKey::MenuFontColor))},
        {"BorderColor", QVariant::fromValue(TColor(0))},
        {"FlatMenu", false},
        {"FontName", QStringLiteral("MS Sans Serif")},
        {"FontSize", 8},
        {"FontCharset", 1},
        {"UseSystemFont", true},
    };
    for (const auto &[name, value] : fresh)
        QVERIFY2(menu->property(name) == asRead(value), name);

    // Every published value written through the meta-object reads back.
    const QList<QPair<const char *, QVariant>> written = {
        {"UIStyle", QVariant::fromValue(TkavUIStyle::Protein)},
        {"MenuItemHeight", 25},
        {"SeparatorHeight", 7},
        {"BarWidth", 30},
        {"BarColor", QVariant::fromValue(Bar)},
        {"Color", QVariant::fromValue(Background)},
        {"SeparatorColor", QVariant::fromValue(Separator)},
        {"SelectedBorderColor", QVariant::fromValue(SelectedBorder)},
        {"SelectedColor", QVariant::fromValue(Selected)},
        {"SelectedFontColor", QVariant::fromValue(SelectedText)},
        {"FontColor", QVariant::fromValue(Text)},
        {"BorderColor", QVariant::fromValue(TColor(0x123456))},
        {"FlatMenu", true},
        {"FontName", QStringLiteral("Tahoma")},
        {"FontSize", 11},
        {"FontCharset", 134},
        {"UseSystemFont", false},
    };
    for (const auto &[name, value] : written) {
        QVERIFY2(menu->metaObject()->indexOfProperty(name) >= 0, name);
        QVERIFY2(menu->setProperty(name, value), name);
        QVERIFY2(menu->property(name) == asRead(value), name);
    }
    // Writes that are refused or bounded.
    QVERIFY(menu->setProperty("OwnerDraw", false));
    QCOMPARE(menu->property("OwnerDraw").toBool(), true);
    menu->setProperty("FontCharset", 300);
    QCOMPARE(menu->property("FontCharset").toInt(), 255);
    // The named font is the menu's font now.
    QCOMPARE(menu->font().pointSize(), 11);
}

// --- Behaviour stays Qt's ---------------------------------------------------------------------

void TestMenu::keyboardAndAccessibility()
{
    TkavPopupMenu menu;
    QAction *open = menu.addAction(QStringLiteral("&Open"));
    menu.addSeparator();
    QAction *save = menu.addAction(QStringLiteral("&Save"));
    QMenu *more = menu.addMenu(QStringLiteral("&More"));
    QAction *inner = more->addAction(QStringLiteral("Inner"));
    QVERIFY(openMenu(menu));

    QTest::keyClick(&menu, Qt::Key_Down);
    QCOMPARE(menu.activeAction(), open);
    QTest::keyClick(&menu, Qt::Key_Down); // over the separator
    QCOMPARE(menu.activeAction(), save);
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Right); // into the sub-menu
    QVERIFY(QTest::qWaitForWindowExposed(more));
    QCOMPARE(more->activeAction(), inner);

    // The accelerator triggers its item.
    more->hide();
    QVERIFY(openMenu(menu));
    QSignalSpy triggered(save, &QAction::triggered);
    QTest::keyClick(&menu, Qt::Key_S);
    QCOMPARE(triggered.count(), 1);

    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&menu);
    QVERIFY(accessible);
    QCOMPARE(accessible->child(0)->text(QAccessible::Name), QStringLiteral("Open"));
    QCOMPARE(accessible->child(2)->text(QAccessible::Name), QStringLiteral("Save"));
}


QTEST_MAIN(TestMenu)
#include "tst_kavmenu.moc"
