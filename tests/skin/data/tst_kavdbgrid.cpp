#include "KAVDBEdits.h"
#include "KAVDBGrid.h"
#include "KAVMgr.h"
#include "KAVThemeValues.h"
#include "tst_kavdblists_fixtures.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

using fixtures::School;

namespace {

// A grid on the pupils with small cells, shown, so that every cell of the first rows is on screen.
struct GridOnPupils {
    explicit GridOnPupils(School &school)
    {
        window.resize(400, 200);
        grid.setGeometry(0, 0, 360, 140);
        grid.horizontalHeader()->setDefaultSectionSize(40);
        grid.verticalHeader()->setDefaultSectionSize(18);
        grid.setDataSource(&school.pupilSource);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the grid's window is not shown");
    }

    QModelIndex cell(int row, int column) const { return grid.model()->index(row, column); }
    // A point in the cell near its top right corner, away from its text and grid lines, in the
    // grid's coordinates.
    QPoint fillPoint(int row, int column) const
    {
        const QRect rect = grid.visualRect(cell(row, column));
        return grid.viewport()->mapTo(&grid, rect.topRight() + QPoint(-3, 2));
    }
    void click(int row, int column)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(cell(row, column)).center());
    }
    // Opens the cell's editor as F2 would, types text into it; the editor (null when refused).
    QLineEdit *type(int row, int column, const QString &text)
    {
        grid.setCurrentIndex(cell(row, column));
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(grid.indexWidget(cell(row, column)));
        if (editor) {
            editor->selectAll();
            QTest::keyClicks(editor, text);
        }
        return editor;
    }
    // The row the data set stands on is the one the grid shows current and selected, alone.
    bool highlightFollows(const TkavDataSet &set) const
    {
        const QModelIndexList rows = grid.selectionModel()->selectedRows();
        return grid.currentIndex().row() == set.RecNo() && rows.size() == 1 && rows.first().row() == set.RecNo();
    }

    // An error box would wait for a click that never comes: errors are caught here instead.
    fixtures::ErrorCatcher errors;
    QWidget window;
    TkavDBGrid grid{&window};
};

TColor pixelAt(const QImage &image, QPoint point)
{
    return TColor::fromQColor(image.pixelColor(point));
}

} // namespace

class TestKavDBGrid : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newGridMarksInGreenAndYellow();
    void cellsAndTitlesTakeTheLook_data();
    void cellsAndTitlesTakeTheLook();
    void textStaysReadableOnMarks_data();
    void textStaysReadableOnMarks();
    void rowFollowsRecordBothWays();
    void cellEditIsPostedOnLeavingTheRow();
    void refusedPostKeepsTheRow();
    void refusedCellValueIsToldOnceAndKept_data();
    void refusedCellValueIsToldOnceAndKept();
    void clickOnAnotherRowWhileTheCardHoldsARefusedValue();
    void cellEditorStartsTheEditAndIsRefusedWhenItCannot();
    void refusedRefreshKeepsRowsAndTitles();
    void followsSourceAndDataSetLifetime();
};

void TestKavDBGrid::newGridMarksInGreenAndYellow()
{
    TkavDBGrid grid;
    QCOMPARE(grid.FocusedColor(), TColor(0x008000));
    QCOMPARE(grid.SelectedColor(), TColor(0x00FFFF));
    // The look does not own the marking colours.
    grid.setUIStyle(TkavUIStyle::WinXP);
    QCOMPARE(grid.FocusedColor(), TColor(0x008000));
    QCOMPARE(grid.SelectedColor(), TColor(0x00FFFF));
    // The colour views have no storage of their own.
    grid.setBGColor(TColor(0x123456));
    QCOMPARE(grid.property("Color").value<TColor>(), TColor(0x123456));
    QCOMPARE(grid.palette().color(QPalette::Base), TColor(0x123456).resolved());
    grid.setTitleFontColor(TColor(0x654321));
    QCOMPARE(grid.horizontalHeader()->palette().color(QPalette::ButtonText), TColor(0x654321).resolved());

    // A file theme that goes away leaves the grid DeepBlue.
    auto *theme = new TkavFileTheme;
    grid.setFileTheme(theme);
    delete theme;
    QCoreApplication::processEvents();
    QVERIFY(!grid.FileTheme());
    QCOMPARE(grid.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(grid.BGColor(), KavThemeValues(TkavUIStyle::DeepBlue, nullptr).color(KavKey::ControlBackgroundColor));
}

void TestKavDBGrid::cellsAndTitlesTakeTheLook_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    for (const TkavUIStyle look : Kav::Metrics::BuiltInLooks)
        QTest::newRow(qPrintable(fixtures::lookName(look))) << look;
}

void TestKavDBGrid::cellsAndTitlesTakeTheLook()
{
    QFETCH(TkavUIStyle, look);
    School school;
    GridOnPupils fixture(school);
    TkavDBGrid &grid = fixture.grid;
    grid.setUIStyle(look);
    const KavThemeValues values(look, nullptr);
    QCOMPARE(grid.BorderColor(), values.color(KavKey::ControlBorderColor));
    QCOMPARE(grid.FixedBGColor(), values.color(KavKey::MenuSelectedBackgroundColor));
    QCOMPARE(grid.BGColor(), values.color(KavKey::ControlBackgroundColor));
    QCOMPARE(grid.TitleFontColor(), values.color(KavKey::MenuSelectedFontColor));
    QCOMPARE(grid.FontColor(), values.color(KavKey::MenuFontColor));

    // Ben's row is current, its first cell focused.
    QVERIFY(school.pupils.setRecNo(1));
    QImage face = grid.grab().toImage();
    QCOMPARE(pixelAt(face, fixture.fillPoint(1, 0)), grid.FocusedColor());
    QCOMPARE(pixelAt(face, fixture.fillPoint(1, 1)), grid.SelectedColor());
    QCOMPARE(pixelAt(face, fixture.fillPoint(2, 0)), grid.BGColor());
    QCOMPARE(pixelAt(face, fixture.fillPoint(0, 1)), grid.BGColor());
    const QHeaderView *titles = grid.horizontalHeader();
    QCOMPARE(pixelAt(face, titles->mapTo(&grid, QPoint(titles->sectionSize(0) / 2, 2))), grid.FixedBGColor());
    QCOMPARE(pixelAt(face, QPoint(0, 0)), grid.BorderColor());
    QCOMPARE(pixelAt(face, QPoint(grid.width() - 1, grid.height() - 1)), grid.BorderColor());

    // Colours set after the look are what is drawn.
    grid.setFocusedColor(TColor(0x0000FF));
    grid.setSelectedColor(TColor(0xFF0000));
    face = grid.grab().toImage();
    QCOMPARE(pixelAt(face, fixture.fillPoint(1, 0)), TColor(0x0000FF));
    QCOMPARE(pixelAt(face, fixture.fillPoint(1, 1)), TColor(0xFF0000));
}

void TestKavDBGrid::textStaysReadableOnMarks_data()
{
    QTest::addColumn<TColor>("fill");
    QTest::addColumn<TColor>("text");
    QTest::newRow("default focused green") << TColor(0x008000) << TColor(0xFFFFFF);
    QTest::newRow("default selected yellow") << TColor(0x00FFFF) << TColor(0x000000);
    QTest::newRow("white") << TColor(0xFFFFFF) << TColor(0x000000);
    QTest::newRow("navy") << TColor(0x800000) << TColor(0xFFFFFF);
}

void TestKavDBGrid::textStaysReadableOnMarks()
{
    QFETCH(TColor, fill);
    QFETCH(TColor, text);
    const QColor plainText(Qt::darkGray), plainFill(Qt::white);
    QCOMPARE(TColor::fromQColor(Kav::KavReadableTextOn(fill.resolved())), text);
    // Focused wins over selected; a plain cell keeps the grid's own colours.
    const Kav::GridCellColors both =
        Kav::KavGridCellColors(true, true, QColor(Qt::red), fill.resolved(), plainFill, plainText);
    QCOMPARE(TColor::fromQColor(both.fill), fill);
    QCOMPARE(TColor::fromQColor(both.text), text);
    const Kav::GridCellColors selected =
        Kav::KavGridCellColors(true, false, fill.resolved(), QColor(Qt::red), plainFill, plainText);
    QCOMPARE(TColor::fromQColor(selected.text), text);
    const Kav::GridCellColors plain =
        Kav::KavGridCellColors(false, false, fill.resolved(), fill.resolved(), plainFill, plainText);
    QCOMPARE(plain.fill, plainFill);
    QCOMPARE(plain.text, plainText);
}

void TestKavDBGrid::rowFollowsRecordBothWays()
{
    School school;
    GridOnPupils fixture(school);
    TkavDBGrid &grid = fixture.grid;
    QCOMPARE(grid.currentIndex().row(), 0);

    QVERIFY(school.pupils.Last());
    QCOMPARE(grid.currentIndex().row(), 3);
    QVERIFY(grid.selectionModel()->isRowSelected(3, {}));
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);

    fixture.click(1, 2);
    QCOMPARE(school.pupils.RecNo(), 1);
    QCOMPARE(grid.currentIndex(), fixture.cell(1, 2));
    // The data set moving keeps the column the user is in.
    QVERIFY(school.pupils.Next());
    QCOMPARE(grid.currentIndex(), fixture.cell(2, 2));

    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(school.pupils.RecNo(), 3);

    // A new record is a new row, and the current one.
    QVERIFY(school.pupils.Append());
    QCOMPARE(grid.model()->rowCount(), 5);
    QCOMPARE(grid.currentIndex().row(), school.pupils.RecNo());
    school.pupils.Cancel();
    QCOMPARE(grid.model()->rowCount(), 4);
    QCOMPARE(grid.currentIndex().row(), school.pupils.RecNo());

    // A deleted record's row goes; the grid shows the record the data set moved to.
    QVERIFY(school.pupils.setRecNo(1));
    QVERIFY2(school.pupils.Delete(), qPrintable(school.pupils.LastError()));
    QCOMPARE(grid.model()->rowCount(), 3);
    QCOMPARE(grid.currentIndex().row(), school.pupils.RecNo());
    QVERIFY(fixture.errors.messages.isEmpty());
}

void TestKavDBGrid::cellEditIsPostedOnLeavingTheRow()
{
    School school;
    GridOnPupils fixture(school);
    TkavDBGrid &grid = fixture.grid;
    const int score = school.pupils.FieldIndex(QStringLiteral("score"));

    QVERIFY(grid.model()->setData(fixture.cell(2, score), 66, Qt::EditRole));
    QCOMPARE(school.pupils.State(), TkavDataSet::dsEdit);
    QCOMPARE(school.pupils.RecNo(), 2);
    QCOMPARE(grid.currentIndex().row(), 2);

    fixture.click(0, 1);
    QCOMPARE(school.pupils.RecNo(), 0);
    QCOMPARE(school.pupils.State(), TkavDataSet::dsBrowse);
    QCOMPARE(school.stored(QStringLiteral("score"), QStringLiteral("Chloe")).toInt(), 66);
    QCOMPARE(fixture.cell(2, score).data().toInt(), 66);
}

void TestKavDBGrid::refusedPostKeepsTheRow()
{
    School school;
    GridOnPupils fixture(school);
    const QStringList &errors = fixture.errors.messages;
    TkavDBGrid &grid = fixture.grid;
    const int score = school.pupils.FieldIndex(QStringLiteral("score"));

    // Out of the table's range: the database refuses the post that moving away makes.
    QVERIFY(grid.model()->setData(fixture.cell(2, score), 150, Qt::EditRole));
    fixture.click(0, 1);
    QCoreApplication::processEvents();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(school.pupils.RecNo(), 2);
    QCOMPARE(school.pupils.State(), TkavDataSet::dsEdit);
    QVERIFY(fixture.highlightFollows(school.pupils));
    QCOMPARE(fixture.cell(2, score).data().toInt(), 150);
    QCOMPARE(school.stored(QStringLiteral("score"), QStringLiteral("Chloe")).toInt(), 78);

    school.pupils.Cancel();
    fixture.click(0, 1);
    QCOMPARE(school.pupils.RecNo(), 0);
    QCOMPARE(errors.size(), 1);
}

void TestKavDBGrid::refusedCellValueIsToldOnceAndKept_data()
{
    QTest::addColumn<QString>("leave");
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Tab") << "tab";
    QTest::newRow("a click on another row") << "click";
    QTest::newRow("the navigator's next") << "next";
}

void TestKavDBGrid::refusedCellValueIsToldOnceAndKept()
{
    QFETCH(QString, leave);
    School school;
    GridOnPupils fixture(school);
    const QStringList &errors = fixture.errors.messages;
    TkavDBGrid &grid = fixture.grid;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    const int score = school.pupils.FieldIndex(QStringLiteral("score"));

    QLineEdit *editor = fixture.type(2, score, QStringLiteral("abc"));
    QVERIFY(editor);
    QCOMPARE(school.pupils.State(), TkavDataSet::dsEdit);
    if (leave == u"enter")
        QTest::keyClick(editor, Qt::Key_Return);
    else if (leave == u"tab")
        QTest::keyClick(editor, Qt::Key_Tab);
    else if (leave == u"click")
        fixture.click(0, 1);
    else
        QVERIFY(!school.pupils.Next());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    QCOMPARE(errors.size(), leave == u"next" ? 0 : 1); // the navigator's own box tells of a Next
    if (!errors.isEmpty())
        QVERIFY2(errors.first().contains(QStringLiteral("'abc' is not a valid integer value")), qPrintable(errors.first()));
    QVERIFY2(school.pupils.LastError().contains(QStringLiteral("'abc'")), qPrintable(school.pupils.LastError()));
    // What was typed stays in the open editor, on the record being edited, which the grid shows.
    QCOMPARE(grid.indexWidget(fixture.cell(2, score)), editor);
    QCOMPARE(editor->text(), QStringLiteral("abc"));
    QCOMPARE(school.pupils.RecNo(), 2);
    QCOMPARE(school.pupils.State(), TkavDataSet::dsEdit);
    QVERIFY(fixture.highlightFollows(school.pupils));
    QCOMPARE(school.stored(QStringLiteral("score"), QStringLiteral("Chloe")).toInt(), 78);

    // Mended, it is written when the row is left.
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("66"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(!grid.indexWidget(fixture.cell(2, score)));
    fixture.click(0, 1);
    QCOMPARE(school.pupils.RecNo(), 0);
    QCOMPARE(school.stored(QStringLiteral("score"), QStringLiteral("Chloe")).toInt(), 66);
    QCOMPARE(errors.size(), leave == u"next" ? 0 : 1);
    QVERIFY(fixture.highlightFollows(school.pupils));
}

void TestKavDBGrid::clickOnAnotherRowWhileTheCardHoldsARefusedValue()
{
    School school;
    GridOnPupils fixture(school);
    const QStringList &errors = fixture.errors.messages;
    auto *card = new TkavDBEdit(&fixture.window);
    card->setGeometry(0, 150, 100, 24);
    card->setDataSource(&school.pupilSource);
    card->setDataField(QStringLiteral("score"));
    card->show();
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    QVERIFY(school.pupils.setRecNo(2));
    card->setFocus();
    card->selectAll();
    QTest::keyClicks(card, QStringLiteral("lots"));

    fixture.click(0, 1);
    QCoreApplication::processEvents();

    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QStringLiteral("'lots'")), qPrintable(errors.first()));
    QCOMPARE(QApplication::focusWidget(), card);
    QCOMPARE(card->text(), QStringLiteral("lots"));
    QCOMPARE(school.pupils.RecNo(), 2);
    QVERIFY(fixture.highlightFollows(school.pupils));
    QCOMPARE(school.stored(QStringLiteral("score"), QStringLiteral("Chloe")).toInt(), 78);
}

void TestKavDBGrid::cellEditorStartsTheEditAndIsRefusedWhenItCannot()
{
    School school;
    GridOnPupils fixture(school);
    fixtures::BeepCounter beeps;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    const int notes = school.pupils.FieldIndex(QStringLiteral("notes"));

    // An editor opened and closed unchanged writes nothing, not even an empty text for a null.
    QLineEdit *editor = fixture.type(3, notes, QString());
    QVERIFY(editor);
    QCOMPARE(school.pupils.State(), TkavDataSet::dsEdit);
    QCOMPARE(school.pupils.RecNo(), 3);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    fixture.click(0, 1);
    QCOMPARE(school.pupils.RecNo(), 0);
    QVERIFY(school.stored(QStringLiteral("notes"), QStringLiteral("Dev")).isNull());

    // Escape drops an edit the editor started.
    editor = fixture.type(1, notes, QStringLiteral("x"));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(school.pupils.State(), TkavDataSet::dsBrowse);

    // Without AutoEdit the key is refused with a beep, as in the edits.
    school.pupilSource.setAutoEdit(false);
    QVERIFY(!fixture.type(1, notes, QStringLiteral("x")));
    QCOMPARE(beeps.count, 1);
    school.pupilSource.setAutoEdit(true);

    school.pupils.setReadOnly(true);
    QVERIFY(!fixture.type(1, notes, QStringLiteral("x")));
    QCOMPARE(school.pupils.State(), TkavDataSet::dsBrowse);
    QVERIFY(fixture.errors.messages.isEmpty());
}

void TestKavDBGrid::refusedRefreshKeepsRowsAndTitles()
{
    School school;
    GridOnPupils fixture(school);
    TkavDBGrid &grid = fixture.grid;
    QVERIFY(school.pupils.setRecNo(2));
    const QString title = grid.model()->headerData(1, Qt::Horizontal).toString();
    KavTest::OtherProgram other(school.db.path());
    QVERIFY(other.lock());
    QVERIFY(!school.pupils.Refresh());
    QCOMPARE(grid.model()->rowCount(), 4);
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), title);
    QCOMPARE(fixture.cell(2, 1).data().toString(), QStringLiteral("Chloe"));
    QVERIFY(fixture.highlightFollows(school.pupils));
    QVERIFY(other.unlock());
    QVERIFY(other.exec(QStringLiteral("INSERT INTO pupils (name) VALUES ('Eve')")));
    QVERIFY(school.pupils.Refresh());
    QCOMPARE(grid.model()->rowCount(), 5);
    QVERIFY(fixture.highlightFollows(school.pupils));
}

void TestKavDBGrid::followsSourceAndDataSetLifetime()
{
    School school;
    GridOnPupils fixture(school);
    TkavDBGrid &grid = fixture.grid;
    QCOMPARE(grid.model(), school.pupils.model());

    school.pupils.Close();
    QVERIFY(!grid.model());
    QVERIFY(school.pupils.Open());
    QCOMPARE(grid.model(), school.pupils.model());
    QVERIFY(school.pupils.setRecNo(2));
    QCOMPARE(grid.currentIndex().row(), 2);

    auto *source = new TkavDataSource;
    source->setDataSet(&school.classes);
    grid.setDataSource(source);
    QCOMPARE(grid.model(), school.classes.model());
    delete source;
    QVERIFY(!grid.DataSource());
    QVERIFY(!grid.model());
    grid.repaint();
}

QTEST_MAIN(TestKavDBGrid)
#include "tst_kavdbgrid.moc"
