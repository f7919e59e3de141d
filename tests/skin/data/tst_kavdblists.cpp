#include "KAVDBLists.h"
#include "KAVMgr.h"
#include "KAVThemeValues.h"
#include "tst_kavdblists_fixtures.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using fixtures::School;

namespace {

// A lookup control of either kind on pupils.class_id, listing classes.name by classes.id.
std::unique_ptr<QWidget> makeLookup(const QString &kind, School &school, QWidget *parent)
{
    std::unique_ptr<QWidget> control;
    if (kind == QLatin1String("list"))
        control = std::make_unique<TkavDBLookupListBox>(parent);
    else
        control = std::make_unique<TkavDBLookupComboBox>(parent);
    control->setProperty("ListSource", QVariant::fromValue(&school.classSource));
    control->setProperty("KeyField", QStringLiteral("id"));
    control->setProperty("ListField", QStringLiteral("name"));
    control->setProperty("DataSource", QVariant::fromValue(&school.pupilSource));
    control->setProperty("DataField", QStringLiteral("class_id"));
    return control;
}

// What a lookup control shows as chosen; empty when nothing is.
QString shownText(const QWidget *control)
{
    if (const auto *list = qobject_cast<const QListWidget *>(control))
        return list->currentItem() ? list->currentItem()->text() : QString();
    return qobject_cast<const QComboBox *>(control)->currentText();
}

void leaveForAnotherControl(QWidget *control)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(control, &out);
}

} // namespace

class TestKavDBLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lookupChoosesThroughSecondTable_data();
    void lookupChoosesThroughSecondTable();
    void lookupListFollowsBothDataSets();
    void destroyedSourceShowsNothing_data();
    void destroyedSourceShowsNothing();
    void listBoxShowsFieldItem_data();
    void listBoxShowsFieldItem();
    void listBoxWritesItsField();
    void refusedValueKeepsChoiceAndSaysWhy();
    void refusedValueKeepsTheFocus();
    void attachedBarHidesAndShowsWithRows();
    void attachedBarMirrorsBothWays();
    void destroyedBarIsDropped();
    void looksSetBorderAndBar_data();
    void looksSetBorderAndBar();
    void lostFileThemeFallsBackToDeepBlue();
};

void TestKavDBLists::lookupChoosesThroughSecondTable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("beeps");

    const QList<int> down{Qt::Key_Down};
    const QList<int> downEscape{Qt::Key_Down, Qt::Key_Escape};
    for (const QString &kind : {QStringLiteral("list"), QStringLiteral("combo")}) {
        QTest::addRow("%s: choose and post", qPrintable(kind)) << kind << down << false << "Class 3C" << 3 << 0;
        QTest::addRow("%s: read-only refuses", qPrintable(kind)) << kind << down << true << "Class 2B" << 2 << 1;
        QTest::addRow("%s: escape drops the choice", qPrintable(kind))
            << kind << downEscape << false << "Class 2B" << 2 << 0;
    }
}

void TestKavDBLists::lookupChoosesThroughSecondTable()
{
    QFETCH(QString, kind);
    QFETCH(QList<int>, keys);
    QFETCH(bool, readOnly);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    QFETCH(int, beeps);

    School school;
    fixtures::BeepCounter beep;
    QVERIFY(school.pupils.Locate(QStringLiteral("name"), QStringLiteral("Ben")));
    QWidget window;
    std::unique_ptr<QWidget> control = makeLookup(kind, school, &window);
    control->setProperty("ReadOnly", readOnly);
    QCOMPARE(shownText(control.get()), QStringLiteral("Class 2B"));
    QCOMPARE(control->property("KeyValue").toInt(), 2);

    for (const int key : keys)
        QTest::keyClick(control.get(), Qt::Key(key));
    QCOMPARE(shownText(control.get()), shown);
    QCOMPARE(beep.count, beeps);
    leaveForAnotherControl(control.get());
    QVERIFY2(school.pupils.CheckBrowseMode(), qPrintable(school.pupils.LastError()));
    QCOMPARE(school.stored(QStringLiteral("class_id"), QStringLiteral("Ben")).toInt(), stored);
    QCOMPARE(shownText(control.get()), shown);
}

void TestKavDBLists::lookupListFollowsBothDataSets()
{
    School school;
    QWidget window;
    std::unique_ptr<QWidget> control = makeLookup(QStringLiteral("list"), school, &window);
    auto *list = static_cast<TkavDBLookupListBox *>(control.get());
    QCOMPARE(list->count(), 3);
    QCOMPARE(shownText(list), QStringLiteral("Class 1A"));

    // Another pupil: another class.
    QVERIFY(school.pupils.Locate(QStringLiteral("name"), QStringLiteral("Chloe")));
    QCOMPARE(shownText(list), QStringLiteral("Class 3C"));

    // A class added to the list's table is listed.
    QVERIFY(school.classes.Append());
    QVERIFY(school.classes.FindField(QStringLiteral("id")).setValue(4));
    QVERIFY(school.classes.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Class 4D")));
    QVERIFY2(school.classes.Post(), qPrintable(school.classes.LastError()));
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->item(3)->text(), QStringLiteral("Class 4D"));
    // A class being typed in has no key yet: it is not listed.
    QVERIFY(school.classes.Append());
    QCOMPARE(list->count(), 4);
    school.classes.Cancel();
    QCOMPARE(shownText(list), QStringLiteral("Class 3C"));

    // A key that no record has shows no choice.
    QVERIFY(school.pupils.Edit());
    QVERIFY(school.pupils.FindField(QStringLiteral("class_id")).setValue(99));
    QCOMPARE(shownText(list), QString());
    QCOMPARE(list->currentRow(), -1);
}

void TestKavDBLists::destroyedSourceShowsNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("list") << QStringLiteral("list");
    QTest::newRow("combo") << QStringLiteral("combo");
}

void TestKavDBLists::destroyedSourceShowsNothing()
{
    QFETCH(QString, kind);
    School school;
    QWidget window;
    std::unique_ptr<QWidget> control = makeLookup(kind, school, &window);
    auto *listSource = new TkavDataSource;
    listSource->setDataSet(&school.classes);
    auto *dataSource = new TkavDataSource;
    dataSource->setDataSet(&school.pupils);
    control->setProperty("ListSource", QVariant::fromValue(listSource));
    control->setProperty("DataSource", QVariant::fromValue(dataSource));
    QCOMPARE(shownText(control.get()), QStringLiteral("Class 1A"));

    delete dataSource;
    QCOMPARE(shownText(control.get()), QString());
    QVERIFY(!control->property("DataSource").value<TkavDataSource *>());
    delete listSource;
    QVERIFY(!control->property("ListSource").value<TkavDataSource *>());
    // Still usable: keys and leaving do nothing harmful.
    QTest::keyClick(control.get(), Qt::Key_Down);
    leaveForAnotherControl(control.get());
    QCOMPARE(school.pupils.State(), TkavDataSet::dsBrowse);
}

void TestKavDBLists::listBoxShowsFieldItem_data()
{
    QTest::addColumn<QString>("pupil");
    QTest::addColumn<int>("row");
    QTest::newRow("same text") << "Anna" << 0;
    QTest::newRow("other letter case") << "Ben" << 1;
    QTest::newRow("short text") << "Chloe" << 2;
    QTest::newRow("null") << "Dev" << -1;
}

void TestKavDBLists::listBoxShowsFieldItem()
{
    QFETCH(QString, pupil);
    QFETCH(int, row);
    School school;
    QWidget window;
    TkavDBListBox list(&window);
    list.setItems({QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("R"), QStringLiteral("Maybe")});
    list.setDataSource(&school.pupilSource);
    list.setDataField(QStringLiteral("colour"));
    QVERIFY(school.pupils.Locate(QStringLiteral("name"), pupil));
    QCOMPARE(list.currentRow(), row);
    QCOMPARE(list.selectedItems().size(), row < 0 ? 0 : 1);
    QCOMPARE(school.pupils.State(), TkavDataSet::dsBrowse);
}

void TestKavDBLists::listBoxWritesItsField()
{
    School school;
    QWidget window;
    TkavDBListBox list(&window);
    list.setDataSource(&school.pupilSource);
    list.setDataField(QStringLiteral("colour"));
    list.setItems({QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Maybe")});
    QCOMPARE(list.currentRow(), 0);

    QTest::keyClick(&list, Qt::Key_End);
    QCOMPARE(school.pupils.State(), TkavDataSet::dsEdit);
    leaveForAnotherControl(&list);
    QCOMPARE(school.pupils.FindField(QStringLiteral("colour")).AsString(), QStringLiteral("Maybe"));
    QVERIFY2(school.pupils.Post(), qPrintable(school.pupils.LastError()));
    QCOMPARE(school.stored(QStringLiteral("colour"), QStringLiteral("Anna")).toString(), QStringLiteral("Maybe"));
    QCOMPARE(list.currentRow(), 2);
}

void TestKavDBLists::refusedValueKeepsChoiceAndSaysWhy()
{
    School school;
    fixtures::ErrorCatcher errors;
    QWidget window;
    TkavDBListBox list(&window);
    list.setItems({QStringLiteral("95"), QStringLiteral("lots")});
    list.setDataSource(&school.pupilSource);
    list.setDataField(QStringLiteral("score"));
    QCOMPARE(list.currentRow(), 0);

    list.setCurrentRow(1);
    leaveForAnotherControl(&list);
    QCOMPARE(errors.messages.size(), 1);
    QVERIFY(!errors.messages.first().isEmpty());
    QCOMPARE(list.currentRow(), 1);
    QCOMPARE(school.stored(QStringLiteral("score"), QStringLiteral("Anna")).toInt(), 95);
    // Escape gives the stored value back, and the control can be left again.
    QTest::keyClick(&list, Qt::Key_Escape);
    QCOMPARE(list.currentRow(), 0);
    leaveForAnotherControl(&list);
    QCOMPARE(errors.messages.size(), 1);
}

void TestKavDBLists::refusedValueKeepsTheFocus()
{
    School school;
    fixtures::ErrorCatcher errors;
    QWidget window;
    TkavDBListBox list(&window);
    list.setItems({QStringLiteral("95"), QStringLiteral("lots")});
    list.setDataSource(&school.pupilSource);
    list.setDataField(QStringLiteral("score"));
    QLineEdit next(&window);
    next.move(0, 120);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list.setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), &list);

    list.setCurrentRow(1);
    next.setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QCOMPARE(errors.messages.size(), 1);
    QCOMPARE(QApplication::focusWidget(), &list);
    QCOMPARE(list.currentRow(), 1);

    // A value the field takes lets the focus go.
    list.setCurrentRow(0);
    next.setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), &next);
    QCOMPARE(errors.messages.size(), 1);
}

void TestKavDBLists::attachedBarHidesAndShowsWithRows()
{
    QWidget window;
    window.resize(300, 300);
    TkavDBListBox list(&window);
    list.setGeometry(10, 20, 121, 97);
    TkavScrollBar bar(&window);
    list.setVScrollBar(&bar);
    list.setItems({QStringLiteral("one"), QStringLiteral("two")});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    QVERIFY(bar.isHidden());
    QCOMPARE(bar.Orientation(), KavOrientation::kavVertical);
    QCOMPARE(bar.geometry(), QRect(10 + 121 - bar.width() - 2, 21, bar.width(), 95));

    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("row %1").arg(i);
    list.setItems(many);
    QCoreApplication::processEvents();
    QVERIFY(!bar.isHidden());
    QVERIFY(bar.isEnabled());

    // Moving and resizing the list places the bar again.
    list.setGeometry(30, 40, 150, 120);
    QCOMPARE(bar.geometry(), QRect(30 + 150 - bar.width() - 2, 41, bar.width(), 118));

    list.setItems({});
    QCoreApplication::processEvents();
    QVERIFY(bar.isHidden());
}

void TestKavDBLists::attachedBarMirrorsBothWays()
{
    QWidget window;
    window.resize(300, 300);
    TkavDBListBox list(&window);
    list.setGeometry(10, 20, 121, 97);
    TkavScrollBar bar(&window);
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("row %1").arg(i);
    list.setItems(many);
    list.setVScrollBar(&bar);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    const QScrollBar *native = list.verticalScrollBar();
    QVERIFY(native->maximum() > 0);
    QCOMPARE(bar.Min(), native->minimum());
    QCOMPARE(bar.Max(), native->maximum());
    // The slider takes the share of the track the list's own thumb would.
    QVERIFY(bar.LineButton() > 0);
    QVERIFY(bar.LineButton() < bar.trackRoom());

    list.scrollToBottom();
    QCOMPARE(bar.Position(), native->maximum());
    bar.setPosition(3);
    QCOMPARE(native->value(), 3);

    list.setEnabled(false);
    QVERIFY(bar.isHidden());
    list.setEnabled(true);
    QVERIFY(!bar.isHidden());
    list.hide();
    QVERIFY(bar.isHidden());
    list.show();
    QVERIFY(!bar.isHidden());
}

void TestKavDBLists::destroyedBarIsDropped()
{
    QWidget window;
    TkavDBListBox list(&window);
    auto *bar = new TkavScrollBar(&window);
    list.setVScrollBar(bar);
    QCOMPARE(list.VScrollBar(), bar);
    delete bar;
    QVERIFY(!list.VScrollBar());
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("row %1").arg(i);
    list.setItems(many);
    list.resize(100, 50);
    list.setUIStyle(TkavUIStyle::MacOS);

    // Detaching gives the bar back as it was before.
    TkavScrollBar other(&window);
    list.setVScrollBar(&other);
    list.setVScrollBar(nullptr);
    QVERIFY(!list.VScrollBar());
    QVERIFY(!other.isHidden());
    QCOMPARE(other.LineButton(), 0);
}

void TestKavDBLists::looksSetBorderAndBar_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    for (const TkavUIStyle look : Kav::Metrics::BuiltInLooks)
        QTest::newRow(qPrintable(fixtures::lookName(look))) << look;
}

void TestKavDBLists::looksSetBorderAndBar()
{
    QFETCH(TkavUIStyle, look);
    QWidget window;
    TkavDBLookupListBox list(&window);
    TkavScrollBar bar(&window);
    list.setVScrollBar(&bar);
    list.setColor(TColor(0xF0E0D0));
    list.setUIStyle(look);
    const TColor border = KavThemeValues(look, nullptr).color(KavKey::ControlBorderColor);
    QCOMPARE(list.BorderColor(), border);
    QCOMPARE(bar.UIStyle(), look);

    // Outer line in BorderColor, inner line in Color.
    const QImage face = list.grab().toImage();
    QCOMPARE(TColor::fromQColor(face.pixelColor(0, 0)), border);
    QCOMPARE(TColor::fromQColor(face.pixelColor(face.width() - 1, face.height() / 2)), border);
    QCOMPARE(TColor::fromQColor(face.pixelColor(1, 1)), TColor(0xF0E0D0));

    TkavDBLookupComboBox combo(&window);
    combo.setUIStyle(look);
    QCOMPARE(combo.BorderColor(), border);
    QCOMPARE(combo.ArrowColor(), TColor(0));
    QVERIFY(!combo.isEditable());
}

void TestKavDBLists::lostFileThemeFallsBackToDeepBlue()
{
    QWidget window;
    TkavDBListBox list(&window);
    TkavScrollBar bar(&window);
    list.setVScrollBar(&bar);
    auto *theme = new TkavFileTheme;
    list.setUIStyle(TkavUIStyle::MacOS);
    list.setFileTheme(theme);
    QCOMPARE(bar.FileTheme(), theme);
    delete theme;
    QCoreApplication::processEvents();
    QVERIFY(!list.FileTheme());
    QCOMPARE(list.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(list.BorderColor(), KavThemeValues(TkavUIStyle::DeepBlue, nullptr).color(KavKey::ControlBorderColor));
}

QTEST_MAIN(TestKavDBLists)
#include "tst_kavdblists.moc"
