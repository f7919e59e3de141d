#include "KAVDBChecks.h"
#include "KAVThemeValues.h"
#include "tst_kavdbedits_fixtures.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using KavTest::BoundPupils;

namespace {

TkavDBCheckBox *bindCheck(BoundPupils &bound, const char *field)
{
    auto *check = new TkavDBCheckBox(&bound.window);
    check->move(10, 10);
    check->setCaption(QStringLiteral("Passed"));
    check->setDataSource(bound.source.get());
    check->setDataField(QString::fromLatin1(field));
    return check;
}

TkavDBRadioGroup *bindColours(BoundPupils &bound)
{
    auto *group = new TkavDBRadioGroup(&bound.window);
    group->setGeometry(10, 60, 160, 80);
    group->setItems({QStringLiteral("Red"), QStringLiteral("Green")});
    group->setValues({QStringLiteral("R"), QString()});
    group->setDataSource(bound.source.get());
    group->setDataField(QStringLiteral("colour"));
    return group;
}

void setColour(BoundPupils &bound, int id, const QVariant &colour)
{
    QSqlQuery query(bound.db.database());
    query.prepare(QStringLiteral("UPDATE pupils SET colour = ? WHERE id = ?"));
    query.addBindValue(colour);
    query.addBindValue(id);
    QVERIFY(query.exec());
}

} // namespace

class TestKavDBChecks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valueListsMatchWords_data();
    void valueListsMatchWords();
    void checkBoxStateFromField_data();
    void checkBoxStateFromField();
    void checkingWritesTheFirstWord();
    void booleanFieldTogglesByValue();
    void toggleOnlyInEditMode();
    void escapeRestoresTheStoredState();
    void radioGroupValueChoosesItem_data();
    void radioGroupValueChoosesItem();
    void radioGroupClickWritesTheValue();
    void radioGroupRefusesChoiceWithoutEditing();
    void destroyedSourceLeavesThemUnchecked();
    void refusedWriteOnLeaveKeepsTheFocus();
};

void TestKavDBChecks::valueListsMatchWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("matches");
    QTest::addRow("first word, other case") << "yes" << "Yes;Y" << true;
    QTest::addRow("second word") << "y" << "Yes;Y" << true;
    QTest::addRow("part of a word") << "Ye" << "Yes;Y" << false;
    QTest::addRow("the whole list") << "Yes;Y" << "Yes;Y" << false;
    QTest::addRow("single word") << "TRUE" << "True" << true;
}

void TestKavDBChecks::valueListsMatchWords()
{
    QFETCH(QString, text);
    QFETCH(QString, list);
    QFETCH(bool, matches);
    QCOMPARE(Kav::KavMatchesValueList(text, list), matches);
}

void TestKavDBChecks::checkBoxStateFromField_data()
{
    QTest::addColumn<QVariant>("colour");
    QTest::addColumn<bool>("checked");
    QTest::addRow("yes with Yes;Y") << QVariant(QStringLiteral("yes")) << true;
    QTest::addRow("Y") << QVariant(QStringLiteral("Y")) << true;
    QTest::addRow("no with No;N") << QVariant(QStringLiteral("no")) << false;
    QTest::addRow("in neither list") << QVariant(QStringLiteral("maybe")) << false;
    QTest::addRow("null") << QVariant() << false;
}

void TestKavDBChecks::checkBoxStateFromField()
{
    QFETCH(QVariant, colour);
    QFETCH(bool, checked);
    BoundPupils bound;
    setColour(bound, 1, colour);
    bound.openPupils();
    auto *check = bindCheck(bound, "colour");
    check->setChecked(!checked);
    check->setValueChecked(QStringLiteral("Yes;Y"));
    check->setValueUnchecked(QStringLiteral("No;N"));
    QCOMPARE(check->Checked(), checked);
}

void TestKavDBChecks::checkingWritesTheFirstWord()
{
    BoundPupils bound;
    auto *check = bindCheck(bound, "colour");
    check->setValueChecked(QStringLiteral("Yes;Y"));
    check->setValueUnchecked(QStringLiteral("No;N"));
    QVERIFY(bound.dataSet->Next()); // Ben: "no"
    QVERIFY(!check->Checked());
    check->Click();
    QVERIFY(check->Checked());
    QVERIFY2(bound.dataSet->Post(), qPrintable(bound.dataSet->LastError()));
    QCOMPARE(bound.stored(QStringLiteral("colour"), 2).toString(), QStringLiteral("Yes"));

    check->Click();
    QVERIFY(bound.dataSet->Post());
    QCOMPARE(bound.stored(QStringLiteral("colour"), 2).toString(), QStringLiteral("No"));
}

void TestKavDBChecks::booleanFieldTogglesByValue()
{
    BoundPupils bound;
    auto *check = bindCheck(bound, "passed");
    QVERIFY(check->Field().IsBoolean());
    QVERIFY(check->Checked()); // Anna passed
    QVERIFY(bound.dataSet->Next());
    QVERIFY(!check->Checked());
    QVERIFY(bound.dataSet->Last());
    QVERIFY(!check->Checked()); // null
    check->Click();
    QVERIFY(bound.dataSet->Post());
    QCOMPARE(bound.stored(QStringLiteral("passed"), 4).toInt(), 1);
}

void TestKavDBChecks::toggleOnlyInEditMode()
{
    BoundPupils bound;
    auto *check = bindCheck(bound, "passed");
    check->setReadOnly(true);
    check->Click();
    QVERIFY(check->Checked());
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsBrowse);

    check->setReadOnly(false);
    bound.source->setAutoEdit(false);
    check->Click();
    QVERIFY(check->Checked());

    bound.source->setAutoEdit(true);
    check->Click();
    QVERIFY(!check->Checked());
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsEdit);
}

void TestKavDBChecks::escapeRestoresTheStoredState()
{
    BoundPupils bound;
    auto *check = bindCheck(bound, "passed");
    auto *group = bindColours(bound);
    QVERIFY(bound.dataSet->MoveBy(2)); // Chloe: passed, "R"
    check->Click();
    QVERIFY(!check->Checked());
    QTest::keyClick(check, Qt::Key_Escape);
    QVERIFY(check->Checked());

    group->buttons().at(1)->Click();
    QCOMPARE(group->ItemIndex(), 1);
    QTest::keyClick(group->buttons().at(1), Qt::Key_Escape);
    QCOMPARE(group->ItemIndex(), 0);
    QCOMPARE(group->Value(), QStringLiteral("R"));
}

void TestKavDBChecks::radioGroupValueChoosesItem_data()
{
    QTest::addColumn<QVariant>("colour");
    QTest::addColumn<int>("itemIndex");
    QTest::addRow("R is item 0") << QVariant(QStringLiteral("R")) << 0;
    QTest::addRow("Green is item 1") << QVariant(QStringLiteral("Green")) << 1;
    QTest::addRow("G is none") << QVariant(QStringLiteral("G")) << -1;
    QTest::addRow("Red is no value") << QVariant(QStringLiteral("Red")) << -1;
    QTest::addRow("null is none") << QVariant() << -1;
}

void TestKavDBChecks::radioGroupValueChoosesItem()
{
    QFETCH(QVariant, colour);
    QFETCH(int, itemIndex);
    BoundPupils bound;
    setColour(bound, 2, colour);
    bound.openPupils();
    auto *group = bindColours(bound);
    QSignalSpy changes(group, &TkavDBRadioGroup::OnChange);
    QVERIFY(bound.dataSet->Next());
    QCOMPARE(group->ItemIndex(), itemIndex);
    QCOMPARE(group->Value(), colour.toString());
    QCOMPARE(changes.size(), 1); // from Anna's "Yes"
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsBrowse);
}

void TestKavDBChecks::radioGroupClickWritesTheValue()
{
    BoundPupils bound;
    auto *group = bindColours(bound);
    QCOMPARE(group->ItemIndex(), -1); // Anna: "Yes"
    group->buttons().at(0)->Click();
    QCOMPARE(group->Value(), QStringLiteral("R"));
    QVERIFY(bound.dataSet->Post());
    QCOMPARE(bound.stored(QStringLiteral("colour"), 1).toString(), QStringLiteral("R"));

    group->buttons().at(1)->Click();
    QVERIFY(bound.dataSet->Post());
    QCOMPARE(bound.stored(QStringLiteral("colour"), 1).toString(), QStringLiteral("Green"));

    // New Values change what the same field text chooses.
    group->setValues({QStringLiteral("R"), QStringLiteral("Green")});
    QCOMPARE(group->ItemIndex(), 1);
    group->setValues({QStringLiteral("Green"), QStringLiteral("G")});
    QCOMPARE(group->ItemIndex(), 0);
}

void TestKavDBChecks::radioGroupRefusesChoiceWithoutEditing()
{
    BoundPupils bound;
    auto *group = bindColours(bound);
    group->setReadOnly(true);
    group->buttons().at(0)->Click();
    QCOMPARE(group->ItemIndex(), -1);
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsBrowse);
}

void TestKavDBChecks::destroyedSourceLeavesThemUnchecked()
{
    BoundPupils bound;
    auto *check = bindCheck(bound, "passed");
    auto *group = bindColours(bound);
    QVERIFY(bound.dataSet->MoveBy(2));
    QVERIFY(check->Checked());
    QCOMPARE(group->ItemIndex(), 0);
    bound.source.reset();
    QVERIFY(!check->Checked());
    QCOMPARE(group->ItemIndex(), -1);
    QCOMPARE(check->DataSource(), nullptr);
    QCOMPARE(group->DataSource(), nullptr);
    check->Click();
    group->buttons().at(1)->Click();
    QVERIFY(!check->Checked());
    QCOMPARE(group->ItemIndex(), -1);
    QVERIFY(bound.show());
    check->setFocus();
    group->buttons().at(0)->setFocus();
    check->setFocus();
    QVERIFY(bound.errors.isEmpty());
}

void TestKavDBChecks::refusedWriteOnLeaveKeepsTheFocus()
{
    // score is a number: a check box that writes words into it is refused when it is left.
    BoundPupils bound;
    auto *check = bindCheck(bound, "score");
    check->setValueChecked(QStringLiteral("Yes"));
    auto *other = new TkavCheckBox(&bound.window);
    other->move(10, 200);
    QVERIFY(bound.show());
    check->setFocus();
    check->Click();
    QVERIFY(check->Checked());
    other->setFocus();
    QCOMPARE(QApplication::focusWidget(), check);
    QCOMPARE(bound.errors.size(), 1);
    QVERIFY(check->Checked());
    QCOMPARE(bound.stored(QStringLiteral("score"), 1).toInt(), 95);
}

QTEST_MAIN(TestKavDBChecks)
#include "tst_kavdbchecks.moc"
