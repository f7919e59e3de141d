#include "KAVCheckBox.h"
#include "KAVGroupBox.h"
#include "KAVMgr.h"
#include "KAVRadioGroup.h"
#include "KAVThemeFile.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

constexpr QRgb Border = 0xFFC80000; // qRgb(200, 0, 0)
constexpr QRgb Background = 0xFFFFFFFF;

QFont groupFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    // Whole pixels only, so that the caption's pixels are exactly its colour.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A group box on white with a red frame and black text.
template <typename Group>
void paintSetup(Group &group)
{
    // Its look first (it comes when the group is polished): what is set after it stays.
    group.ensurePolished();
    group.setFont(groupFont());
    group.setColor(QColor::fromRgb(Background));
    group.setBorderColor(QColor::fromRgb(Border));
    group.setFontColor(QColor(0, 0, 0));
}

// The darkest pixel of a rectangle, by the sum of its channels.
QRgb darkest(const QImage &image, const QRect &rect)
{
    QRgb result = 0xFFFFFFFF;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) < qRed(result) + qGreen(result) + qBlue(result))
                result = pixel;
        }
    }
    return result;
}

// A theme file that carries only the two colours a group box reads.
class ColourTheme {
public:
    ColourTheme()
    {
        const QString path = m_dir.filePath("colours.kav");
        {
            TkavThemeFileWriter writer(path);
            writer.AddInteger("ControlBorderColor", 0x123456);
            writer.AddInteger("ControlFontColor", 0x00A0B0);
            if (!writer.Save())
                qFatal("cannot write the fixture theme");
        }
        theme = std::make_unique<TkavFileTheme>();
        theme->setThemeFile(path);
    }

    std::unique_ptr<TkavFileTheme> theme;

private:
    QTemporaryDir m_dir;
};

QList<QPoint> positions(const TkavCheckGroup &group)
{
    QList<QPoint> result;
    for (const TkavCheckBox *item : group.buttons())
        result << item->pos();
    return result;
}

// One settings group as the exam window builds it: radio buttons placed by hand at x 24,
// y 16 + 24i, the second one checked.
struct SettingsGroup {
    TkavCheckGroup *group;
    QList<TkavRadioButton *> choices;
};

SettingsGroup makeSettingsGroup(QWidget *parent, const QString &caption, const QStringList &choices)
{
    SettingsGroup result;
    result.group = new TkavCheckGroup(parent);
    result.group->setUIStyle(TkavUIStyle::MacOS);
    result.group->setFont(groupFont());
    result.group->setBorderColor(TColor::fromRgb(127, 127, 127));
    result.group->setFontColor(TColor::fromRgb(0, 0, 0));
    result.group->setColumns(1);
    result.group->setTopMargin(8);
    result.group->setCaption(caption);
    result.group->resize(137, 16 + 24 * int(choices.size()) + 1);
    for (int i = 0; i < choices.size(); ++i) {
        auto *radio = new TkavRadioButton(result.group);
        radio->setUIStyle(TkavUIStyle::MacOS);
        radio->move(24, 16 + 24 * i);
        radio->setCaption(choices[i]);
        radio->setGroupIndex(0);
        result.choices << radio;
    }
    result.choices[1]->setChecked(true);
    return result;
}

int checkedCount(const SettingsGroup &settings)
{
    int count = 0;
    for (const TkavRadioButton *radio : settings.choices)
        count += radio->Checked() ? 1 : 0;
    return count;
}

} // namespace

class tst_KavGroups : public QObject {
    Q_OBJECT

private slots:
    void groupBoxDefaults();
    void frameLeavesAGapForTheCaption_data();
    void frameLeavesAGapForTheCaption();
    void disabledCaptionIsGrey();
    void enabledStateGoesToEveryChild();
    void disabledAncestorKeepsTheGroupsOwnState();
    void lookGoesToTheChildren();
    void lookFromAFileTheme();
    void losingTheFileThemeFallsBackToDeepBlue();
    void childrenTakeTheGroupsColours();
    void itemLayout_data();
    void itemLayout();
    void negativeColumnsAndMarginsAreIgnored();
    void shrinkingItemsDestroysTheLast();
    void groupClickMayRemoveTheChosenItem_data();
    void groupClickMayRemoveTheChosenItem();
    void itemsFollowTheGroup();
    void checkGroupClick();
    void radioGroupClickOncePerChange();
    void noGroupClickWhileLoading();
    void indexedAccessOutsideTheItems();
    void itemIndex_data();
    void itemIndex();
    void radioGroupCanRefuse();
    void spaceChoosesTheFocusedItem_data();
    void spaceChoosesTheFocusedItem();
    void focusAndArrowsInARadioGroup();
    void mouseClickOnAnItem_data();
    void mouseClickOnAnItem();
    void tabEntersAndLeavesAGroup_data();
    void tabEntersAndLeavesAGroup();
    void radioGroupWithNothingChosenHandsOnTheFocus_data();
    void radioGroupWithNothingChosenHandsOnTheFocus();
    void groupWithoutItemsIsNoHiddenTabStop_data();
    void groupWithoutItemsIsNoHiddenTabStop();
    void tabOrderWithTheGroupAfterItsChoices();
    void settingsPanelGroups();
    void accessibility();
};

void tst_KavGroups::groupBoxDefaults()
{
    TkavGroupBox box;
    QCOMPARE(box.size(), QSize(185, 105));
    QCOMPARE(box.Transparent(), false);
    QCOMPARE(box.TabStop(), false);
    QCOMPARE(box.UIStyle(), TkavUIStyle::DeepBlue);
    QVERIFY(box.Caption().isEmpty());

    TkavCheckGroup group;
    QCOMPARE(group.Columns(), 1);
    QCOMPARE(group.TopMargin(), 8);
    QCOMPARE(group.TabStop(), true);
    QVERIFY(group.buttons().isEmpty());

    // Layouts inside a group keep clear of the frame.
    box.setFont(groupFont());
    QCOMPARE(box.contentsMargins(), QMargins(3, 11 + 5, 3, 3));
}

void tst_KavGroups::frameLeavesAGapForTheCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addRow("caption") << QStringLiteral("难度选择");
    QTest::addRow("latin caption") << QStringLiteral("Settings");
    QTest::addRow("no caption") << QString();
}

void tst_KavGroups::frameLeavesAGapForTheCaption()
{
    QFETCH(QString, caption);
    TkavGroupBox box;
    paintSetup(box);
    box.setCaption(caption);
    const QImage face = box.grab().toImage();
    const int w = box.width(), h = box.height();
    const int line = 11 / 2 + 1;

    // Left, bottom and right sides, from the frame line down.
    for (int y = line; y < h; ++y) {
        QCOMPARE(face.pixel(0, y), Border);
        QCOMPARE(face.pixel(w - 1, y), Border);
    }
    for (int x = 0; x < w; ++x)
        QCOMPARE(face.pixel(x, h - 1), Border);
    QVERIFY(face.pixel(0, line - 1) != Border);

    // The top line with its gap: drawn at 0..2, open from 3 to caption width + 6, drawn again
    // from there to the right edge.
    const int gapEnd = caption.isEmpty() ? 2 : QFontMetrics(box.font()).horizontalAdvance(caption) + 6;
    for (int x = 0; x < w; ++x) {
        const bool inGap = x >= 3 && x <= gapEnd;
        QVERIFY2((face.pixel(x, line) == Border) != inGap, qPrintable(QStringLiteral("x %1").arg(x)));
    }
    if (!caption.isEmpty())
        QCOMPARE(darkest(face, QRect(5, 0, gapEnd - 5, 11)), qRgb(0, 0, 0));
}

void tst_KavGroups::disabledCaptionIsGrey()
{
    TkavGroupBox box;
    paintSetup(box);
    box.setCaption(QStringLiteral("HHH"));
    const QRect captionArea(5, 0, QFontMetrics(box.font()).horizontalAdvance(box.Caption()), 13);
    QCOMPARE(darkest(box.grab().toImage(), captionArea), qRgb(0, 0, 0));
    box.setEnabled(false);
    QCOMPARE(darkest(box.grab().toImage(), captionArea), qRgb(0x80, 0x80, 0x80));
}

void tst_KavGroups::enabledStateGoesToEveryChild()
{
    TkavCheckGroup group;
    auto *a = new TkavRadioButton(&group);
    auto *b = new TkavRadioButton(&group);
    auto *plain = new QWidget(&group);
    b->setEnabled(false);

    group.setEnabled(false);
    QVERIFY(!a->isEnabled());
    QVERIFY(!b->isEnabled());
    QVERIFY(!plain->isEnabled());

    // Enabling the group enables all of them, also the one that was disabled on its own.
    group.setEnabled(true);
    QVERIFY(a->isEnabled());
    QVERIFY(b->isEnabled());
    QVERIFY(plain->isEnabled());

    // The same through the base class and by property name.
    static_cast<QWidget &>(group).setEnabled(false);
    QVERIFY(!a->isEnabled());
    a->setEnabled(true); // a child on its own cannot outlive a disabled group
    QVERIFY(!a->isEnabled());
    group.setProperty("enabled", true);
    QVERIFY(a->isEnabled());
    QVERIFY(b->isEnabled());
}

void tst_KavGroups::disabledAncestorKeepsTheGroupsOwnState()
{
    QWidget panel;
    auto *group = new TkavGroupBox(&panel);
    auto *a = new TkavCheckBox(group);
    auto *b = new TkavCheckBox(group);
    b->setEnabled(false);
    panel.setEnabled(false);
    QVERIFY(!group->isEnabled());
    QVERIFY(!a->isEnabled());
    panel.setEnabled(true);
    QVERIFY(group->isEnabled());
    QVERIFY(a->isEnabled());
    QVERIFY(!b->isEnabled()); // only the group's own change is handed on
}

void tst_KavGroups::lookGoesToTheChildren()
{
    TkavCheckGroup group;
    group.setItems({QStringLiteral("one")});
    auto *handPlaced = new TkavRadioButton(&group);
    auto *inner = new TkavGroupBox(&group);
    auto *grandChild = new TkavCheckBox(inner);

    group.setUIStyle(TkavUIStyle::WinXP);
    QCOMPARE(handPlaced->UIStyle(), TkavUIStyle::WinXP);
    QCOMPARE(group.buttons().first()->UIStyle(), TkavUIStyle::WinXP);
    QCOMPARE(inner->UIStyle(), TkavUIStyle::WinXP);
    // A skinned container hands it on in its turn.
    QCOMPARE(grandChild->UIStyle(), TkavUIStyle::WinXP);
    // The frame takes the look's border and text colours...
    QCOMPARE(group.BorderColor(), TColor(0x686868));
    QCOMPARE(group.FontColor(), TColor(0xCF4602));

    // ...which a form definition may override afterwards, as the exam window does.
    group.setBorderColor(TColor::fromRgb(127, 127, 127));
    group.setFontColor(TColor(0));
    QCOMPARE(group.BorderColor(), TColor::fromRgb(127, 127, 127));
    QCOMPARE(group.FontColor(), TColor(0));
}

void tst_KavGroups::lookFromAFileTheme()
{
    ColourTheme fixture;
    TkavGroupBox box;
    auto *child = new TkavCheckBox(&box);
    box.setFileTheme(fixture.theme.get());
    box.setUIStyle(TkavUIStyle::FromThemeFile);
    QCOMPARE(box.BorderColor(), TColor(0x123456));
    QCOMPARE(box.FontColor(), TColor(0x00A0B0));
    QCOMPARE(child->FileTheme(), fixture.theme.get());
    QCOMPARE(child->UIStyle(), TkavUIStyle::FromThemeFile);
}

void tst_KavGroups::losingTheFileThemeFallsBackToDeepBlue()
{
    auto fixture = std::make_unique<ColourTheme>();
    TkavCheckGroup group;
    group.setItems({QStringLiteral("a"), QStringLiteral("b")});
    auto *handPlaced = new TkavRadioButton(&group);
    group.setFileTheme(fixture->theme.get());
    group.setUIStyle(TkavUIStyle::FromThemeFile);
    QCOMPARE(handPlaced->FileTheme(), fixture->theme.get());

    fixture.reset();
    QCOMPARE(group.FileTheme(), nullptr);
    QCOMPARE(group.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(handPlaced->UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(group.buttons().first()->UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(group.BorderColor(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor));
}

void tst_KavGroups::childrenTakeTheGroupsColours()
{
    QWidget panel;
    panel.setPalette(QPalette(QColor(255, 255, 255)));
    auto *group = new TkavCheckGroup(&panel);
    auto *radio = new TkavRadioButton(group);
    group->setFontColor(TColor::fromRgb(0, 0, 0));
    // The parent's colour, until the group is given its own.
    QCOMPARE(group->Color(), TColor(0xFFFFFF));
    QCOMPARE(radio->Color(), TColor(0xFFFFFF));
    group->setColor(TColor::fromRgb(1, 2, 3));
    QCOMPARE(radio->Color(), TColor::fromRgb(1, 2, 3));
    group->setFontColor(TColor::fromRgb(9, 8, 7));
    QCOMPARE(radio->palette().color(QPalette::WindowText), QColor(9, 8, 7));
    QCOMPARE(radio->Color(), TColor::fromRgb(1, 2, 3));
}

void tst_KavGroups::itemLayout_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("topMargin");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<QPoint>>("expected");

    // Item area from y 11 (font height) to 103; rows start at 11 + top margin.
    QTest::addRow("three items in two columns")
        << 3 << 2 << 8 << QSize(185, 105) << QList<QPoint>{{8, 19}, {8, 61}, {95, 19}};
    QTest::addRow("five items in one column, spare pixels split")
        << 5 << 1 << 8 << QSize(185, 105) << QList<QPoint>{{8, 21}, {8, 37}, {8, 53}, {8, 69}, {8, 85}};
    QTest::addRow("four items in three columns")
        << 4 << 3 << 8 << QSize(185, 105) << QList<QPoint>{{8, 19}, {8, 61}, {66, 19}, {66, 61}};
    QTest::addRow("odd spare pixel")
        << 3 << 1 << 8 << QSize(185, 100) << QList<QPoint>{{8, 19}, {8, 45}, {8, 71}};
    QTest::addRow("top margin 20")
        << 2 << 1 << 20 << QSize(185, 105) << QList<QPoint>{{8, 31}, {8, 67}};
    QTest::addRow("no columns lays out in one")
        << 2 << 0 << 8 << QSize(185, 105) << QList<QPoint>{{8, 19}, {8, 61}};
}

void tst_KavGroups::itemLayout()
{
    QFETCH(int, count);
    QFETCH(int, columns);
    QFETCH(int, topMargin);
    QFETCH(QSize, size);
    QFETCH(QList<QPoint>, expected);

    TkavCheckGroup group;
    group.setFont(groupFont());
    group.setColumns(columns);
    group.setTopMargin(topMargin);
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QStringLiteral("Item %1").arg(i);
    group.setItems(items);
    group.resize(size);
    // A hidden widget hears of its size when it is shown.
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));
    QCOMPARE(group.Columns(), columns);
    QCOMPARE(positions(group), expected);

    // Laid out again on every change that moves the area.
    group.resize(size.width(), size.height() + 40);
    QVERIFY(positions(group) != expected);
    group.resize(size);
    QCOMPARE(positions(group), expected);
}

void tst_KavGroups::negativeColumnsAndMarginsAreIgnored()
{
    TkavCheckGroup group;
    group.setColumns(3);
    group.setTopMargin(5);
    group.setColumns(-1);
    group.setTopMargin(-4);
    QCOMPARE(group.Columns(), 3);
    QCOMPARE(group.TopMargin(), 5);
}

void tst_KavGroups::shrinkingItemsDestroysTheLast()
{
    TkavCheckGroup group;
    group.setItems({"a", "b", "c", "d", "e"});
    QList<QPointer<TkavCheckBox>> before;
    for (TkavCheckBox *item : group.buttons())
        before << item;
    group.setChecked(0, true);

    group.setItems({"x", "y", "z"});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(group.buttons().size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(group.buttons()[i], before[i].data());
    QCOMPARE(group.buttons()[0]->Caption(), QStringLiteral("x"));
    QCOMPARE(group.buttons()[2]->Caption(), QStringLiteral("z"));
    QVERIFY(group.Checked(0));
    QVERIFY(before[3].isNull());
    QVERIFY(before[4].isNull());

    group.setItems({});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(group.buttons().isEmpty());
    QVERIFY(before[0].isNull());
}

void tst_KavGroups::groupClickMayRemoveTheChosenItem_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QStringList>("remaining");

    QTest::addRow("arrow key chooses b") << false << QStringList{"a"};
    QTest::addRow("mouse chooses c") << true << QStringList{"a", "b"};
}

void tst_KavGroups::groupClickMayRemoveTheChosenItem()
{
    QFETCH(bool, byMouse);
    QFETCH(QStringList, remaining);

    QWidget window;
    auto *group = new TkavRadioGroup(&window);
    group->setItems({"a", "b", "c"});
    group->setItemIndex(0);
    // The handler runs while the chosen item is still taking the focus, and removes that item.
    connect(group, &TkavCheckGroup::OnClick, group, [group] {
        const int chosen = group->ItemIndex();
        if (chosen > 0)
            group->setItems(group->Items().mid(0, chosen));
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QList<QPointer<TkavCheckBox>> items;
    for (TkavCheckBox *item : group->buttons())
        items << item;
    items[0]->setFocus();

    if (byMouse)
        QTest::mouseClick(items[2], Qt::LeftButton, {}, QPoint(3, 3));
    else
        QTest::keyClick(items[0], Qt::Key_Down);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(group->Items(), remaining);
    QCOMPARE(group->buttons().size(), remaining.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        QCOMPARE(items[i].isNull(), i >= remaining.size());
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus == nullptr || window.isAncestorOf(focus));
}

void tst_KavGroups::itemsFollowTheGroup()
{
    TkavRadioGroup group;
    group.setUIStyle(TkavUIStyle::Protein);
    group.setTransparent(true);
    group.setItems({"a", "b"});
    for (TkavCheckBox *item : group.buttons()) {
        QVERIFY(qobject_cast<TkavRadioGroupButton *>(item));
        QCOMPARE(item->parentWidget(), &group);
        QCOMPARE(item->UIStyle(), TkavUIStyle::Protein);
        QVERIFY(item->Transparent());
        QVERIFY(item->AutoSize());
        QVERIFY(!item->TabStop());
    }
    group.setTransparent(false);
    QVERIFY(!group.buttons()[1]->Transparent());

    TkavCheckGroup checks;
    checks.setItems({"a"});
    QVERIFY(qobject_cast<TkavCheckGroupButton *>(checks.buttons().first()));
    QCOMPARE(static_cast<TkavCheckGroupButton *>(checks.buttons().first())->group(), &checks);
}

void tst_KavGroups::checkGroupClick()
{
    QWidget window;
    auto *group = new TkavCheckGroup(&window);
    group->setItems({"a", "b"});
    QSignalSpy onClick(group, &TkavCheckGroup::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(group->buttons()[0], Qt::LeftButton);
    QVERIFY(group->Checked(0));
    QCOMPARE(onClick.count(), 1);
    QCOMPARE(onClick.first().first().value<QObject *>(), group);
    QTest::mouseClick(group->buttons()[0], Qt::LeftButton);
    QVERIFY(!group->Checked(0));
    QCOMPARE(onClick.count(), 2);
    group->setChecked(1, true);
    QCOMPARE(onClick.count(), 3);
    group->setChecked(1, true);
    QCOMPARE(onClick.count(), 3);

    // A click on the group itself.
    QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(group->width() - 5, group->height() - 5));
    QCOMPARE(onClick.count(), 4);
}

void tst_KavGroups::radioGroupClickOncePerChange()
{
    QWidget window;
    auto *group = new TkavRadioGroup(&window);
    group->setItems({"a", "b", "c"});
    group->setItemIndex(0);
    QSignalSpy onClick(group, &TkavCheckGroup::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(group->buttons()[2], Qt::LeftButton);
    QCOMPARE(group->ItemIndex(), 2);
    QCOMPARE(onClick.count(), 1);
    QTest::mouseClick(group->buttons()[2], Qt::LeftButton);
    QCOMPARE(onClick.count(), 1);

    // The choice follows the release on the item, not the press (nor the focus a press might
    // move): pressing and letting go elsewhere chooses nothing.
    QVERIFY(group->buttons()[2]->hasFocus());
    QTest::mousePress(group->buttons()[0], Qt::LeftButton);
    QCOMPARE(group->ItemIndex(), 2);
    QTest::mouseRelease(group->buttons()[0], Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(group->ItemIndex(), 2);
    QVERIFY(group->buttons()[2]->hasFocus());
    QCOMPARE(onClick.count(), 1);
}

void tst_KavGroups::noGroupClickWhileLoading()
{
    QWidget window;
    auto *group = new TkavRadioGroup(&window);
    QSignalSpy onClick(group, &TkavCheckGroup::OnClick);
    {
        TkavFormLoading loading(&window);
        group->setItems({"a", "b"});
        group->setItemIndex(1);
    }
    QCOMPARE(group->ItemIndex(), 1);
    QCOMPARE(onClick.count(), 0);
    group->setItemIndex(0);
    QCOMPARE(onClick.count(), 1);
}

void tst_KavGroups::indexedAccessOutsideTheItems()
{
    TkavCheckGroup group;
    group.setItems({"a", "b", "c"});
    QCOMPARE(group.Checked(-1), false);
    QCOMPARE(group.Checked(3), false);
    QCOMPARE(group.ItemEnabled(7), false);
    QCOMPARE(group.ItemEnabled(2), true);

    try {
        group.setChecked(7, true);
        QFAIL("no error for an index outside the items");
    } catch (const EKavListError &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("List index out of bounds (7)"));
        QCOMPARE(error.index(), 7);
    }
    QVERIFY_THROWS_EXCEPTION(EKavListError, group.setItemEnabled(-1, false));

    group.setItemEnabled(1, false);
    QCOMPARE(group.ItemEnabled(1), false);
    QVERIFY(!group.buttons()[1]->isEnabled());
}

void tst_KavGroups::itemIndex_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("expected");

    QTest::addRow("choose one") << 0 << 1 << 1;
    QTest::addRow("none chosen before") << -1 << 2 << 2;
    QTest::addRow("minus one unchecks all") << 2 << -1 << -1;
    QTest::addRow("past the end ignored") << 1 << 7 << 1;
    QTest::addRow("at the count ignored") << 1 << 3 << 1;
    QTest::addRow("below minus one ignored") << 1 << -2 << 1;
}

void tst_KavGroups::itemIndex()
{
    QFETCH(int, initial);
    QFETCH(int, written);
    QFETCH(int, expected);

    TkavRadioGroup group;
    group.setItems({"a", "b", "c"});
    group.setItemIndex(initial);
    QCOMPARE(group.ItemIndex(), initial);
    group.setItemIndex(written);
    QCOMPARE(group.ItemIndex(), expected);
    int checked = 0;
    for (int i = 0; i < 3; ++i)
        checked += group.Checked(i) ? 1 : 0;
    QCOMPARE(checked, expected == -1 ? 0 : 1);
    QCOMPARE(group.property("ItemIndex").toInt(), expected);
}

// A radio group that refuses every change made by clicking.
class LockedRadioGroup : public TkavRadioGroup {
public:
    using TkavRadioGroup::TkavRadioGroup;
    bool CanModify() const override { return false; }
};

void tst_KavGroups::radioGroupCanRefuse()
{
    QWidget window;
    auto *group = new LockedRadioGroup(&window);
    group->setItems({"a", "b"});
    group->setItemIndex(0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(group->buttons()[1], Qt::LeftButton);
    QCOMPARE(group->ItemIndex(), 0);

    // An item button outside any radio group is a plain radio button.
    QWidget elsewhere;
    TkavRadioGroupButton stray(&elsewhere, group);
    stray.Click();
    QVERIFY(stray.Checked());
}

void tst_KavGroups::spaceChoosesTheFocusedItem_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("expected");
    QTest::addRow("radio group") << false << 0;
    QTest::addRow("radio group that refuses") << true << -1;
}

void tst_KavGroups::spaceChoosesTheFocusedItem()
{
    QFETCH(bool, locked);
    QFETCH(int, expected);
    QWidget window;
    TkavRadioGroup *group = locked ? new LockedRadioGroup(&window) : new TkavRadioGroup(&window);
    group->setItems({"a", "b"});
    QSignalSpy onClick(group, &TkavCheckGroup::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    group->setFocus(Qt::TabFocusReason);
    QVERIFY(group->buttons()[0]->hasFocus());

    QTest::keyClick(group->buttons()[0], Qt::Key_Space);
    QCOMPARE(group->ItemIndex(), expected);
    QCOMPARE(onClick.count(), expected == -1 ? 0 : 1);
}

void tst_KavGroups::focusAndArrowsInARadioGroup()
{
    QWidget window;
    auto *before = new TkavCheckBox(&window);
    auto *group = new TkavRadioGroup(&window);
    group->move(0, 30);
    group->setItems({"a", "b", "c"});
    group->setItemIndex(1);
    QSignalSpy onClick(group, &TkavCheckGroup::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();

    // Tab reaches the group, which hands the focus to the checked item.
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(group->buttons()[1]->hasFocus());
    QCOMPARE(onClick.count(), 0);

    // The arrows move focus and choice together.
    QTest::keyClick(group->buttons()[1], Qt::Key_Down);
    QVERIFY(group->buttons()[2]->hasFocus());
    QCOMPARE(group->ItemIndex(), 2);
    QCOMPARE(onClick.count(), 1);
    QTest::keyClick(group->buttons()[2], Qt::Key_Down);
    QCOMPARE(group->ItemIndex(), 0);
    QTest::keyClick(group->buttons()[0], Qt::Key_Up);
    QCOMPARE(group->ItemIndex(), 2);
    QCOMPARE(onClick.count(), 3);

    // Space does nothing on a radio item.
    QTest::keyClick(group->buttons()[2], Qt::Key_Space);
    QCOMPARE(group->ItemIndex(), 2);
    QCOMPARE(onClick.count(), 3);
}

// A mouse click on an item takes the focus first, which in a radio group moves the choice to it;
// the click that follows finds nothing left to change. Either way the click is told once.
void tst_KavGroups::mouseClickOnAnItem_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addColumn<bool>("focusOnAnotherItem");
    QTest::addRow("radio group, focus on another item") << true << true;
    QTest::addRow("radio group, focus outside") << true << false;
    QTest::addRow("check group, focus on another item") << false << true;
    QTest::addRow("check group, focus outside") << false << false;
}

void tst_KavGroups::mouseClickOnAnItem()
{
    QFETCH(bool, radio);
    QFETCH(bool, focusOnAnotherItem);
    QWidget window;
    auto *outside = new QLineEdit(&window);
    TkavCheckGroup *group = radio ? new TkavRadioGroup(&window) : new TkavCheckGroup(&window);
    group->move(0, 30);
    group->setItems({"a", "b", "c"});
    group->setChecked(0, true);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (focusOnAnotherItem)
        group->buttons()[0]->setFocus();
    else
        outside->setFocus();

    TkavCheckBox *item = group->buttons()[1];
    QSignalSpy clicked(item, &QAbstractButton::clicked);
    QSignalSpy toggled(item, &QAbstractButton::toggled);
    QSignalSpy itemClick(item, &TkavCheckBox::OnClick);
    QSignalSpy groupClick(group, &TkavCheckGroup::OnClick);
    QTest::mouseClick(item, Qt::LeftButton);

    QVERIFY(item->hasFocus());
    QVERIFY(item->Checked());
    QCOMPARE(group->Checked(0), !radio);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(itemClick.count(), 1);
    QCOMPARE(groupClick.count(), 1);
}

void tst_KavGroups::tabEntersAndLeavesAGroup_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addRow("radio group") << true;
    QTest::addRow("check group") << false;
}

void tst_KavGroups::tabEntersAndLeavesAGroup()
{
    QFETCH(bool, radio);
    QWidget window;
    auto *before = new QLineEdit(&window);
    TkavCheckGroup *group = radio ? new TkavRadioGroup(&window) : new TkavCheckGroup(&window);
    group->move(0, 30);
    group->setItems({"a", "b", "c"});
    group->setChecked(0, true);
    auto *after = new QLineEdit(&window);
    after->move(0, 150);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    TkavCheckBox *first = group->buttons()[0];

    // Forwards: into the group (its first item), then out of it.
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Tab);
    QVERIFY(after->hasFocus());

    // Backwards: into the group, then out of it on the other side, not back to the item.
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(before->hasFocus());
    QCOMPARE(group->Checked(0), true);
}

void tst_KavGroups::radioGroupWithNothingChosenHandsOnTheFocus_data()
{
    QTest::addColumn<bool>("fromAnotherGroup");
    QTest::addRow("from an edit") << false;
    QTest::addRow("from another radio group's item") << true;
}

void tst_KavGroups::radioGroupWithNothingChosenHandsOnTheFocus()
{
    QFETCH(bool, fromAnotherGroup);
    // In Tab order: another radio group, an edit, the group.
    QWidget window;
    auto *other = new TkavRadioGroup(&window);
    other->setItems({"x", "y"});
    other->setItemIndex(0);
    auto *edit = new QLineEdit(&window);
    edit->move(0, 110);
    edit->setVisible(!fromAnotherGroup);
    auto *group = new TkavRadioGroup(&window);
    group->move(0, 150);
    group->setItems({"a", "b", "c"});
    QSignalSpy onClick(group, &TkavCheckGroup::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QImage unfocused = group->buttons()[0]->grab().toImage();
    QWidget *start = fromAnotherGroup ? static_cast<QWidget *>(other->buttons()[0]) : edit;
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Tab);

    // The first item takes the focus, and shows it, without being chosen.
    QVERIFY(group->buttons()[0]->hasFocus());
    QCOMPARE(group->ItemIndex(), -1);
    QCOMPARE(onClick.count(), 0);
    QVERIFY(group->buttons()[0]->grab().toImage() != unfocused);

    // From there the arrows choose as ever.
    QTest::keyClick(group->buttons()[0], Qt::Key_Down);
    QVERIFY(group->buttons()[1]->hasFocus());
    QCOMPARE(group->ItemIndex(), 1);
    QCOMPARE(onClick.count(), 1);
}

void tst_KavGroups::groupWithoutItemsIsNoHiddenTabStop_data()
{
    QTest::addColumn<bool>("withChoices");
    QTest::addRow("settings group") << true;
    QTest::addRow("empty group") << false;
}

void tst_KavGroups::groupWithoutItemsIsNoHiddenTabStop()
{
    QFETCH(bool, withChoices);
    QWidget window;
    auto *before = new QLineEdit(&window);
    QList<TkavRadioButton *> choices;
    TkavCheckGroup *group = nullptr;
    if (withChoices) {
        SettingsGroup settings = makeSettingsGroup(&window, QStringLiteral("题目数量"),
                                                   {"20   道题目", "40   道题目", "60   道题目"});
        group = settings.group;
        choices = settings.choices;
    } else {
        group = new TkavCheckGroup(&window);
    }
    group->move(0, 30);
    auto *after = new QLineEdit(&window);
    after->move(0, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();

    // Forwards through every choice and out.
    QTest::keyClick(before, Qt::Key_Tab);
    for (TkavRadioButton *choice : std::as_const(choices)) {
        QVERIFY(choice->hasFocus());
        QTest::keyClick(choice, Qt::Key_Tab);
    }
    QVERIFY(after->hasFocus());

    // Backwards through every choice and out.
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    for (qsizetype i = choices.size() - 1; i >= 0; --i) {
        QVERIFY(choices[i]->hasFocus());
        QTest::keyClick(choices[i], Qt::Key_Backtab, Qt::ShiftModifier);
    }
    QVERIFY(before->hasFocus());
    if (withChoices)
        QVERIFY(choices[1]->Checked());
}

void tst_KavGroups::tabOrderWithTheGroupAfterItsChoices()
{
    // A form may order its Tab stops so that the group comes after its own choices (the exam
    // window does): Tab must still go round every stop, not back into the choices.
    QWidget window;
    auto *before = new QLineEdit(&window);
    SettingsGroup settings = makeSettingsGroup(&window, QStringLiteral("题目数量"),
                                               {"20   道题目", "40   道题目", "60   道题目"});
    settings.group->move(0, 30);
    auto *after = new QLineEdit(&window);
    after->move(0, 200);
    QWidget::setTabOrder(before, settings.choices[0]);
    QWidget::setTabOrder(settings.choices.last(), after);
    QWidget::setTabOrder(after, settings.group);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    after->setFocus();
    QTest::keyClick(after, Qt::Key_Tab);
    QVERIFY(before->hasFocus());
    QTest::keyClick(before, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(after->hasFocus());
}

void tst_KavGroups::settingsPanelGroups()
{
    QWidget panel;
    panel.setPalette(QPalette(QColor(255, 255, 255)));
    panel.resize(153, 500);
    SettingsGroup nandu = makeSettingsGroup(&panel, QStringLiteral("难度选择"),
                                            {"10        以下", "100      以下", "1000    以下", "10000  以下"});
    SettingsGroup tishu = makeSettingsGroup(&panel, QStringLiteral("题目数量"),
                                            {"20   道题目", "40   道题目", "60   道题目"});
    nandu.group->move(8, 24);
    tishu.group->move(8, 144);
    QSignalSpy groupClick(nandu.group, &TkavCheckGroup::OnClick);
    QSignalSpy chosen(nandu.choices[3], &TkavCheckBox::OnClick);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    // Hand-placed choices: no items made, none moved, sized to their captions.
    QVERIFY(nandu.group->buttons().isEmpty());
    const QFontMetrics metrics(groupFont());
    for (int i = 0; i < nandu.choices.size(); ++i) {
        TkavRadioButton *radio = nandu.choices[i];
        QCOMPARE(radio->pos(), QPoint(24, 16 + 24 * i));
        QCOMPARE(radio->height(), qMax(metrics.height() + 2, 17) + 4);
        QCOMPARE(radio->width(), 16 + metrics.horizontalAdvance(radio->Caption()) + 8);
        QCOMPARE(radio->Color(), TColor(0xFFFFFF));
    }
    nandu.group->resize(150, 130);
    nandu.group->setColumns(2);
    nandu.group->setTopMargin(20);
    QCOMPARE(nandu.choices[2]->pos(), QPoint(24, 64));

    // Choosing one unchecks the others of its group only.
    QCOMPARE(checkedCount(nandu), 1);
    QTest::mouseClick(nandu.choices[3], Qt::LeftButton);
    QVERIFY(nandu.choices[3]->isChecked());
    QCOMPARE(checkedCount(nandu), 1);
    QCOMPARE(chosen.count(), 1);
    QVERIFY(tishu.choices[1]->isChecked());
    QCOMPARE(checkedCount(tishu), 1);
    // The hand-placed buttons are no items: the group's own OnClick stays silent.
    QCOMPARE(groupClick.count(), 0);

    // Disabling a group greys it and disables its choices; enabling brings them all back.
    nandu.group->setEnabled(false);
    for (TkavRadioButton *radio : nandu.choices)
        QVERIFY(!radio->isEnabled());
    QVERIFY(tishu.choices[0]->isEnabled());
    nandu.group->setEnabled(true);
    for (TkavRadioButton *radio : nandu.choices)
        QVERIFY(radio->isEnabled());
}

void tst_KavGroups::accessibility()
{
    QWidget window;
    auto *box = new TkavGroupBox(&window);
    box->setCaption(QStringLiteral("难度选择"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Grouping);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("难度选择"));

    auto *radios = new TkavRadioGroup(&window);
    radios->setCaption(QStringLiteral("Kind"));
    radios->setItems({"a", "b"});
    radios->setItemIndex(1);
    QCOMPARE(QAccessible::queryAccessibleInterface(radios)->role(), QAccessible::Grouping);
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(radios->buttons()[1]);
    QCOMPARE(item->role(), QAccessible::RadioButton);
    QVERIFY(item->state().checked);
    QCOMPARE(item->text(QAccessible::Name), QStringLiteral("b"));

    auto *checks = new TkavCheckGroup(&window);
    checks->setItems({"a"});
    QCOMPARE(QAccessible::queryAccessibleInterface(checks->buttons()[0])->role(), QAccessible::CheckBox);
}

QTEST_MAIN(tst_KavGroups)
#include "tst_kavgroups.moc"
