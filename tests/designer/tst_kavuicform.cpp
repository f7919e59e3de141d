// A form as Qt Designer saves it (tst_kavuicform.ui: enumerations written as scope::key, the
// skinned classes as custom widgets with their headers) compiles through uic and sets up the
// values chosen in Designer.
#include "ui_tst_kavuicform.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QTest>

class TestKavUicForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enumerationsReachTheControls_data();
    void enumerationsReachTheControls();
    void captionIsSet();
    void activePageChosenBeforeThePagesHolds();
};

void TestKavUicForm::enumerationsReachTheControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QByteArray>("key");
    QTest::addRow("look of a button") << "kavButton1" << QByteArray("UIStyle") << QByteArray("MacOS");
    QTest::addRow("look from a theme file") << "kavCheckBox1" << QByteArray("UIStyle") << QByteArray("FromThemeFile");
    QTest::addRow("look of a progress bar") << "kavProgressBar1" << QByteArray("UIStyle") << QByteArray("BlueGlass");
    QTest::addRow("look of a panel") << "kavPanel1" << QByteArray("UIStyle") << QByteArray("Protein");
    QTest::addRow("class enumeration") << "kavButton1" << QByteArray("Layout") << QByteArray("blGlyphTop");
    QTest::addRow("inherited class enumeration") << "kavImagePanel1" << QByteArray("DrawStyle") << QByteArray("kavTile");
    QTest::addRow("namespace enumeration") << "kavProgressBar1" << QByteArray("Orientation") << QByteArray("kavVertical");
    QTest::addRow("alignment") << "kavPanel1" << QByteArray("Align") << QByteArray("alBottom");
    QTest::addRow("caption alignment") << "kavImagePanel1" << QByteArray("Alignment") << QByteArray("taRightJustify");
}

void TestKavUicForm::enumerationsReachTheControls()
{
    QFETCH(QString, control);
    QFETCH(QByteArray, property);
    QFETCH(QByteArray, key);

    QWidget sheet;
    Ui::LookSheet form;
    form.setupUi(&sheet);

    const QWidget *widget = sheet.findChild<QWidget *>(control);
    QVERIFY(widget);
    const QMetaObject *meta = widget->metaObject();
    const QMetaProperty metaProperty = meta->property(meta->indexOfProperty(property.constData()));
    QVERIFY2(metaProperty.isEnumType(), property.constData());
    const int value = metaProperty.read(widget).toInt();
    QCOMPARE(QByteArray(metaProperty.enumerator().valueToKey(value)), key);
}

void TestKavUicForm::captionIsSet()
{
    QWidget sheet;
    Ui::LookSheet form;
    form.setupUi(&sheet);
    QCOMPARE(form.kavButton1->Caption(), QStringLiteral("kavButton1"));
    QCOMPARE(form.kavButton1->UIStyle(), TkavUIStyle::MacOS);
}

void TestKavUicForm::activePageChosenBeforeThePagesHolds()
{
    // uic sets the page control's properties before it adds the sheets.
    QWidget sheet;
    Ui::LookSheet form;
    form.setupUi(&sheet);
    QCOMPARE(form.kavPageControl1->PageCount(), 3);
    QCOMPARE(form.kavPageControl1->ActivePage(), form.kavTabSheet_2);
    QCOMPARE(form.kavPageControl1->ActivePageIndex(), 1);
    QCOMPARE(form.kavTabSheet_3->Caption(), QStringLiteral("kavTabSheet_3"));

    // Once another page is chosen, new pages come forward as before.
    form.kavPageControl1->setActivePageIndex(0);
    auto *added = new TkavTabSheet(form.kavPageControl1);
    QCOMPARE(form.kavPageControl1->ActivePage(), added);
}

QTEST_MAIN(TestKavUicForm)
#include "tst_kavuicform.moc"
