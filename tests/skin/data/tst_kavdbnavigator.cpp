#include "KAVDBNavigator.h"
#include "KAVErrorBox.h"
#include "KAVMgr.h"

#include "../controls/kav_driven_clock.h"
#include "kav_db_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace KavNav;

Q_DECLARE_METATYPE(TButtonSet)

namespace {

QList<int> widthsOf(const Kav::NavigatorLayout &layout, TButtonSet visible)
{
    QList<int> widths;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        if (contains(visible, TNavigateBtn(i)))
            widths.append(layout.buttons[std::size_t(i)].width());
    }
    return widths;
}

TButtonSet enabledButtons(const TkavDBNavigator &nav)
{
    TButtonSet set;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        if (nav.Button(TNavigateBtn(i))->isEnabled())
            set |= bitOf(TNavigateBtn(i));
    }
    return set;
}

QString namesOf(TButtonSet set)
{
    QStringList names;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        if (contains(set, TNavigateBtn(i)))
            names.append(QString::fromLatin1(QMetaEnum::fromType<TNavigateBtn>().valueToKey(i)));
    }
    return names.join(u',');
}

constexpr TButtonSet Moving = nbFirstBit | nbPriorBit | nbNextBit | nbLastBit;
constexpr TButtonSet Browsing = nbInsertBit | nbDeleteBit | nbEditBit | nbRefreshBit;

// A navigator bound to the pupils table of a fresh school database, shown.
struct Bench {
    KavTest::SchoolDatabase db;
    std::unique_ptr<TkavDataSet> dataSet = std::make_unique<TkavDataSet>();
    std::unique_ptr<TkavDataSource> source = std::make_unique<TkavDataSource>();
    QWidget window;
    TkavDBNavigator *nav = new TkavDBNavigator(&window);

    explicit Bench(const QString &filter = {})
    {
        dataSet->setDatabase(db.database());
        dataSet->setTableName(QStringLiteral("pupils"));
        dataSet->setIndexFieldNames(QStringLiteral("id"));
        dataSet->setFilter(filter);
        dataSet->setLockTimeout(50);
        source->setDataSet(dataSet.get());
        nav->setDataSource(source.get());
        window.resize(300, 60);
        window.show();
    }

    int pupils() const { return db.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils")).toInt(); }
    QPoint centreOf(TNavigateBtn b) const { return nav->Button(b)->rect().center(); }
};

// Catches what the navigator would show in error boxes and confirmation boxes.
struct Boxes {
    QStringList errors;
    QStringList questions;
    bool answer = true;
    Kav::ErrorBoxHandler previousError;
    TkavDBNavigator::ConfirmQuestion previousQuestion;

    Boxes()
    {
        previousError = Kav::KavSetErrorBoxHandler([this](QWidget *, const QString &text) { errors.append(text); });
        previousQuestion = TkavDBNavigator::setConfirmQuestion(
            [this](QWidget *, const QString &caption, const QString &text) {
                questions.append(caption + QLatin1Char('|') + text);
                return answer;
            });
    }
    ~Boxes()
    {
        Kav::KavSetErrorBoxHandler(previousError);
        TkavDBNavigator::setConfirmQuestion(previousQuestion);
    }
};

} // namespace

class TestKavDBNavigator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void newNavigatorAndResizing();
    void layoutOfTheParentDecidesTheWidth();
    void enabling_data();
    void enabling();
    void insertAndPostAreStored();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void refusedPostKeepsEditingAndShowsTheError();
    void refusedRefreshShowsWhyWithTheDriversWords();
    void beforeActionMayCloseTheDataSet();
    void heldButtonRepeats_data();
    void heldButtonRepeats();
    void refusedRepeatStopsTheTimer();
    void hints();
    void keysMoveTheFocusAmongVisibleButtons();
    void lookReachesTheButtons();
};

void TestKavDBNavigator::layout_data()
{
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<TButtonSet>("visible");
    QTest::addColumn<bool>("keepWidth");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<int>>("widths");

    const QList<int> ten25(10, 25);
    QTest::addRow("new navigator") << QSize(250, 30) << AllButtons << false << QSize(250, 30) << ten25;
    QTest::addRow("aligned, remainder 2 of 4")
        << QSize(250, 30) << Moving << true << QSize(250, 30) << QList<int>{62, 63, 62, 63};
    QTest::addRow("not aligned, cut to whole buttons")
        << QSize(103, 30) << Moving << false << QSize(100, 30) << QList<int>{25, 25, 25, 25};
    QTest::addRow("aligned, remainder 3 of 10")
        << QSize(253, 30) << AllButtons << true << QSize(253, 30)
        << QList<int>{25, 26, 25, 25, 25, 26, 25, 25, 26, 25};
    QTest::addRow("narrower than the smallest buttons")
        << QSize(50, 30) << Moving << true << QSize(80, 30) << QList<int>{20, 20, 20, 20};
    QTest::addRow("lower than the smallest button")
        << QSize(250, 10) << AllButtons << false << QSize(250, 18) << ten25;
    QTest::addRow("none visible counts as one") << QSize(5, 5) << TButtonSet() << false << QSize(20, 18)
                                                << QList<int>{};
    QTest::addRow("one visible takes the width")
        << QSize(77, 30) << TButtonSet(nbPostBit) << false << QSize(77, 30) << QList<int>{77};
}

void TestKavDBNavigator::layout()
{
    QFETCH(QSize, asked);
    QFETCH(TButtonSet, visible);
    QFETCH(bool, keepWidth);
    QFETCH(QSize, size);
    QFETCH(QList<int>, widths);

    const Kav::NavigatorLayout layout = Kav::KavNavigatorLayout(asked, visible, keepWidth);
    QCOMPARE(layout.size, size);
    QCOMPARE(widthsOf(layout, visible), widths);
    // Visible buttons follow one another from the left over the full height; hidden ones wait
    // just right of the navigator.
    int x = 0;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        const QRect r = layout.buttons[std::size_t(i)];
        QCOMPARE(r.height(), size.height());
        if (contains(visible, TNavigateBtn(i))) {
            QCOMPARE(r.x(), x);
            x += r.width();
        } else {
            QCOMPARE(r.x(), size.width() + 1);
        }
    }
    if (!widths.isEmpty())
        QCOMPARE(x, size.width());
}

void TestKavDBNavigator::newNavigatorAndResizing()
{
    QWidget window;
    auto *nav = new TkavDBNavigator(&window);
    window.show();
    QCOMPARE(nav->size(), QSize(250, 30));
    QCOMPARE(nav->VisibleButtons(), AllButtons);
    QVERIFY(nav->ConfirmDelete());
    QCOMPARE(nav->FocusedButton(), nbFirst);
    for (int i = 0; i < NavigateBtnCount; ++i) {
        QCOMPARE(nav->Button(TNavigateBtn(i))->geometry(), QRect(25 * i, 0, 25, 30));
        QVERIFY(!nav->Button(TNavigateBtn(i))->Glyph().isNull());
        QCOMPARE(nav->Button(TNavigateBtn(i))->AllowTimer(), i == nbPrior || i == nbNext);
    }

    nav->setVisibleButtons(Moving);
    nav->resize(103, 30);
    QCOMPARE(nav->width(), 100);
    QVERIFY(nav->Button(nbInsert)->isHidden());
    QCOMPARE(nav->Button(nbLast)->geometry(), QRect(75, 0, 25, 30));

    nav->setAlign(KavLayout::alTop);
    QCOMPARE(nav->width(), window.width());
    QCOMPARE(nav->Button(nbLast)->geometry().right(), nav->width() - 1);
}

void TestKavDBNavigator::layoutOfTheParentDecidesTheWidth()
{
    // A navigator placed by a layout keeps the width it is given, spread over its buttons,
    // rather than cutting it down and being stretched again.
    QWidget window;
    auto *box = new QHBoxLayout(&window);
    box->setContentsMargins(0, 0, 0, 0);
    auto *nav = new TkavDBNavigator;
    nav->setVisibleButtons(Moving);
    box->addWidget(nav);
    window.resize(103, 30);
    window.show();
    QCOMPARE(nav->width(), 103);
    QCOMPARE(nav->Button(nbLast)->geometry().right(), 102);
    QCOMPARE(nav->minimumWidth(), 80);
}

void TestKavDBNavigator::enabling_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<TButtonSet>("enabled");

    QTest::addRow("no data source") << "no source" << TButtonSet();
    QTest::addRow("closed data set") << "closed" << TButtonSet();
    QTest::addRow("source disabled") << "source disabled" << TButtonSet();
    QTest::addRow("navigator disabled") << "navigator disabled" << TButtonSet();
    QTest::addRow("source destroyed") << "source destroyed" << TButtonSet();
    QTest::addRow("data set destroyed") << "data set destroyed" << TButtonSet();
    QTest::addRow("empty") << "empty" << TButtonSet(nbInsertBit | nbEditBit | nbRefreshBit);
    QTest::addRow("one record") << "one record" << TButtonSet(Browsing);
    QTest::addRow("first") << "first" << TButtonSet(nbNextBit | nbLastBit | Browsing);
    QTest::addRow("middle") << "middle" << TButtonSet(Moving | Browsing);
    QTest::addRow("last") << "last" << TButtonSet(nbFirstBit | nbPriorBit | Browsing);
    QTest::addRow("editing") << "editing"
                             << TButtonSet(nbPriorBit | nbFirstBit | nbNextBit | nbLastBit | nbInsertBit
                                           | nbDeleteBit | nbPostBit | nbCancelBit | nbRefreshBit);
    QTest::addRow("read-only") << "read-only" << TButtonSet(nbNextBit | nbLastBit);
    QTest::addRow("made read-only when open") << "made read-only" << TButtonSet(nbNextBit | nbLastBit);
    QTest::addRow("made writable again") << "made writable" << TButtonSet(nbNextBit | nbLastBit | Browsing);
    QTest::addRow("navigator enabled again") << "enabled again" << TButtonSet(nbNextBit | nbLastBit | Browsing);
}

void TestKavDBNavigator::enabling()
{
    QFETCH(QString, scenario);
    QFETCH(TButtonSet, enabled);

    const QString filter = scenario == QLatin1String("empty")        ? QStringLiteral("id < 0")
                           : scenario == QLatin1String("one record") ? QStringLiteral("id = 1")
                                                                     : QString();
    Bench bench(filter);
    if (scenario == QLatin1String("read-only"))
        bench.dataSet->setReadOnly(true);
    if (scenario != QLatin1String("closed"))
        QVERIFY2(bench.dataSet->Open(), qPrintable(bench.dataSet->LastError()));

    if (scenario == QLatin1String("no source"))
        bench.nav->setDataSource(nullptr);
    else if (scenario == QLatin1String("source disabled"))
        bench.source->setEnabled(false);
    else if (scenario == QLatin1String("navigator disabled"))
        bench.nav->setEnabled(false);
    else if (scenario == QLatin1String("enabled again")) {
        bench.nav->setEnabled(false);
        bench.nav->setEnabled(true);
    } else if (scenario == QLatin1String("source destroyed"))
        bench.source.reset();
    else if (scenario == QLatin1String("data set destroyed"))
        bench.dataSet.reset();
    else if (scenario.startsWith(QLatin1String("made"))) {
        bench.dataSet->setReadOnly(true);
        if (scenario == QLatin1String("made writable"))
            bench.dataSet->setReadOnly(false);
    } else if (scenario == QLatin1String("middle"))
        QVERIFY(bench.dataSet->setRecNo(1));
    else if (scenario == QLatin1String("last"))
        QVERIFY(bench.dataSet->Last());
    else if (scenario == QLatin1String("editing")) {
        QVERIFY(bench.dataSet->setRecNo(1));
        QVERIFY(bench.dataSet->Edit());
    }

    QCOMPARE(namesOf(enabledButtons(*bench.nav)), namesOf(enabled));
    // A navigator without an open data set still takes clicks: they only tell of themselves.
    if (enabled == TButtonSet() && scenario != QLatin1String("navigator disabled")) {
        QSignalSpy clicks(bench.nav, &TkavDBNavigator::OnClick);
        QSignalSpy before(bench.nav, &TkavDBNavigator::BeforeAction);
        QVERIFY(bench.nav->BtnClick(nbNext));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(before.size(), 0);
    }
}

void TestKavDBNavigator::insertAndPostAreStored()
{
    Bench bench;
    QVERIFY(bench.dataSet->Open());
    QStringList events;
    QObject::connect(bench.nav, &TkavDBNavigator::BeforeAction, bench.nav,
                     [&](QObject *sender, TNavigateBtn b) {
                         QCOMPARE(sender, bench.nav);
                         events.append(QStringLiteral("before %1 in %2").arg(b).arg(bench.dataSet->State()));
                     });
    QObject::connect(bench.nav, &TkavDBNavigator::OnClick, bench.nav, [&](QObject *, TNavigateBtn b) {
        events.append(QStringLiteral("click %1 in %2").arg(b).arg(bench.dataSet->State()));
    });

    QTest::mouseClick(bench.nav->Button(nbInsert), Qt::LeftButton, {}, bench.centreOf(nbInsert));
    QCOMPARE(bench.dataSet->State(), TkavDataSet::dsInsert);
    QVERIFY(bench.nav->Button(nbPost)->isEnabled());
    QVERIFY(!bench.nav->Button(nbEdit)->isEnabled());
    QVERIFY(bench.dataSet->FindField(QStringLiteral("name")).setAsString(QStringLiteral("Eve")));
    QVERIFY(bench.dataSet->FindField(QStringLiteral("score")).setAsString(QStringLiteral("66")));
    QTest::mouseClick(bench.nav->Button(nbPost), Qt::LeftButton, {}, bench.centreOf(nbPost));

    QCOMPARE(bench.dataSet->State(), TkavDataSet::dsBrowse);
    QCOMPARE(bench.pupils(), 5);
    QCOMPARE(bench.db.readBack(QStringLiteral("SELECT score FROM pupils WHERE name = 'Eve'")).toInt(), 66);
    QVERIFY(!bench.nav->Button(nbPost)->isEnabled());
    QVERIFY(bench.nav->Button(nbEdit)->isEnabled());
    const QStringList expected{
        QStringLiteral("before %1 in %2").arg(nbInsert).arg(TkavDataSet::dsBrowse),
        QStringLiteral("click %1 in %2").arg(nbInsert).arg(TkavDataSet::dsInsert),
        QStringLiteral("before %1 in %2").arg(nbPost).arg(TkavDataSet::dsInsert),
        QStringLiteral("click %1 in %2").arg(nbPost).arg(TkavDataSet::dsBrowse),
    };
    QCOMPARE(events, expected);
}

void TestKavDBNavigator::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("confirmDelete");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("pupilsLeft");

    QTest::addRow("answered OK") << true << true << 1 << 3;
    QTest::addRow("answered Cancel") << true << false << 1 << 4;
    QTest::addRow("no confirmation") << false << false << 0 << 3;
}

void TestKavDBNavigator::deleteAsksFirst()
{
    QFETCH(bool, confirmDelete);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(int, pupilsLeft);

    Boxes boxes;
    boxes.answer = answer;
    Bench bench;
    QVERIFY(bench.dataSet->Open());
    QVERIFY(bench.dataSet->setRecNo(1)); // Ben
    bench.nav->setConfirmDelete(confirmDelete);
    QSignalSpy clicks(bench.nav, &TkavDBNavigator::OnClick);

    QTest::mouseClick(bench.nav->Button(nbDelete), Qt::LeftButton, {}, bench.centreOf(nbDelete));

    QCOMPARE(boxes.questions.size(), questions);
    if (questions > 0)
        QCOMPARE(boxes.questions.first(), QStringLiteral("Confirm|Delete record?"));
    QCOMPARE(bench.pupils(), pupilsLeft);
    QCOMPARE(bench.db.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils WHERE name = 'Ben'")).toInt(),
             pupilsLeft == 4 ? 1 : 0);
    // Cancelled or not, the click is told of.
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.first().at(1).value<TNavigateBtn>(), nbDelete);
    QVERIFY(boxes.errors.isEmpty());
}

void TestKavDBNavigator::refusedPostKeepsEditingAndShowsTheError()
{
    Boxes boxes;
    Bench bench;
    QVERIFY(bench.dataSet->Open());
    QVERIFY(bench.nav->BtnClick(nbEdit));
    // The score must lie between 0 and 100.
    QVERIFY(bench.dataSet->FindField(QStringLiteral("score")).setAsString(QStringLiteral("250")));
    QSignalSpy clicks(bench.nav, &TkavDBNavigator::OnClick);

    QTest::mouseClick(bench.nav->Button(nbPost), Qt::LeftButton, {}, bench.centreOf(nbPost));

    QCOMPARE(boxes.errors.size(), 1);
    QVERIFY(!boxes.errors.first().isEmpty());
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(bench.dataSet->State(), TkavDataSet::dsEdit);
    QCOMPARE(bench.dataSet->FindField(QStringLiteral("score")).AsString(), QStringLiteral("250"));
    QVERIFY(bench.nav->Button(nbPost)->isEnabled());
    QVERIFY(bench.nav->Button(nbCancel)->isEnabled());
    QCOMPARE(bench.db.readBack(QStringLiteral("SELECT score FROM pupils WHERE name = 'Anna'")).toInt(), 95);

    QTest::mouseClick(bench.nav->Button(nbCancel), Qt::LeftButton, {}, bench.centreOf(nbCancel));
    QCOMPARE(bench.dataSet->State(), TkavDataSet::dsBrowse);
    QCOMPARE(clicks.size(), 1);
}

void TestKavDBNavigator::refusedRefreshShowsWhyWithTheDriversWords()
{
    // The real box this time: its text is for the user, its details the driver's.
    Bench bench;
    QVERIFY(bench.dataSet->Open());
    QVERIFY(bench.dataSet->setRecNo(2));
    KavTest::OtherProgram other(bench.db.path());
    QVERIFY(other.lock());
    QString text;
    QString details;
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, &closer, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++boxes;
            text = box->text();
            details = box->detailedText();
            box->accept();
        }
    });
    closer.start(10);
    QSignalSpy clicks(bench.nav, &TkavDBNavigator::OnClick);

    QVERIFY(!bench.nav->BtnClick(nbRefresh));
    closer.stop();

    QCOMPARE(boxes, 1);
    QVERIFY2(text.startsWith(QStringLiteral("The records could not be read again because another program is using "
                                            "the database.")),
             qPrintable(text));
    QVERIFY2(details.contains(QStringLiteral("database is locked")), qPrintable(details));
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(bench.dataSet->RecNo(), 2);
    QCOMPARE(bench.dataSet->RecordCount(), 4);
    QVERIFY(bench.nav->Button(nbRefresh)->isEnabled());

    QVERIFY(other.unlock());
    QVERIFY(other.exec(QStringLiteral("DELETE FROM pupils WHERE id = 1")));
    QVERIFY(bench.nav->BtnClick(nbRefresh));
    QCOMPARE(bench.dataSet->RecordCount(), 3);
    QCOMPARE(bench.dataSet->FindField(QStringLiteral("name")).AsString(), QStringLiteral("Chloe"));
}

void TestKavDBNavigator::beforeActionMayCloseTheDataSet()
{
    Boxes boxes;
    Bench bench;
    QVERIFY(bench.dataSet->Open());
    QObject::connect(bench.nav, &TkavDBNavigator::BeforeAction, bench.dataSet.get(), &TkavDataSet::Close);
    QSignalSpy clicks(bench.nav, &TkavDBNavigator::OnClick);

    QVERIFY(bench.nav->BtnClick(nbLast));

    QCOMPARE(clicks.size(), 1);
    QVERIFY(boxes.errors.isEmpty());
    QCOMPARE(namesOf(enabledButtons(*bench.nav)), QString());
}

void TestKavDBNavigator::heldButtonRepeats_data()
{
    QTest::addColumn<TNavigateBtn>("button");
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<int>("recordWhileHeld");
    QTest::addColumn<int>("recordAfterRelease");

    QTest::addRow("next, before the delay") << nbNext << 399 << 0 << 1;
    QTest::addRow("next, after the delay") << nbNext << 400 << 1 << 2;
    QTest::addRow("next, delay and one interval") << nbNext << 500 << 2 << 3;
    QTest::addRow("next, held to the end") << nbNext << 5000 << 3 << 3;
    QTest::addRow("last does not repeat") << nbLast << 5000 << 0 << 3;
}

void TestKavDBNavigator::heldButtonRepeats()
{
    QFETCH(TNavigateBtn, button);
    QFETCH(int, holdMs);
    QFETCH(int, recordWhileHeld);
    QFETCH(int, recordAfterRelease);

    KavTest::DrivenClock clock;
    const TkavRepeatTimerFactory previous = TkavCustomButton::setRepeatTimerFactory(KavTest::drivenFactory(clock));
    {
        Bench bench;
        QVERIFY(bench.dataSet->Open());
        TkavNavButton *held = bench.nav->Button(button);
        QTest::mousePress(held, Qt::LeftButton, {}, bench.centreOf(button));
        clock.advance(holdMs);
        QCOMPARE(bench.dataSet->RecNo(), recordWhileHeld);
        QTest::mouseRelease(held, Qt::LeftButton, {}, bench.centreOf(button));
        QCOMPARE(bench.dataSet->RecNo(), recordAfterRelease);
        QVERIFY(!held->isRepeating());
        clock.advance(1000);
        QCOMPARE(bench.dataSet->RecNo(), recordAfterRelease);
    }
    TkavCustomButton::setRepeatTimerFactory(previous);
}

void TestKavDBNavigator::refusedRepeatStopsTheTimer()
{
    KavTest::DrivenClock clock;
    const TkavRepeatTimerFactory previous = TkavCustomButton::setRepeatTimerFactory(KavTest::drivenFactory(clock));
    {
        Boxes boxes;
        Bench bench;
        QVERIFY(bench.dataSet->Open());
        // A record that cannot be written: moving on must post it first, which is refused.
        QVERIFY(bench.nav->BtnClick(nbEdit));
        QVERIFY(bench.dataSet->FindField(QStringLiteral("score")).setAsString(QStringLiteral("-5")));
        TkavNavButton *next = bench.nav->Button(nbNext);
        QTest::mousePress(next, Qt::LeftButton, {}, bench.centreOf(nbNext));
        QVERIFY(next->isRepeating());
        clock.advance(1000);
        QCOMPARE(boxes.errors.size(), 1);
        QVERIFY(!next->isRepeating());
        QCOMPARE(bench.dataSet->RecNo(), 0);
        QCOMPARE(bench.dataSet->State(), TkavDataSet::dsEdit);
        QTest::mouseRelease(next, Qt::LeftButton, {}, bench.centreOf(nbNext));
    }
    TkavCustomButton::setRepeatTimerFactory(previous);
}

void TestKavDBNavigator::hints()
{
    TkavDBNavigator nav;
    const QStringList defaults{"First record", "Prior record", "Next record", "Last record", "Insert record",
                               "Delete record", "Edit record", "Post edit", "Cancel edit", "Refresh data"};
    QCOMPARE(TkavDBNavigator::DefaultHints(), defaults);
    for (int i = 0; i < NavigateBtnCount; ++i)
        QCOMPARE(nav.Button(TNavigateBtn(i))->toolTip(), defaults.at(i));

    nav.setHints(defaults);
    QVERIFY(nav.Hints().isEmpty());

    nav.setHints({QString(), QStringLiteral("Back one"), QStringLiteral("Ahead one")});
    QCOMPARE(nav.Hints().size(), 3);
    QCOMPARE(nav.Button(nbFirst)->toolTip(), QStringLiteral("First record"));
    QCOMPARE(nav.Button(nbPrior)->toolTip(), QStringLiteral("Back one"));
    QCOMPARE(nav.Button(nbNext)->toolTip(), QStringLiteral("Ahead one"));
    QCOMPARE(nav.Button(nbLast)->toolTip(), QStringLiteral("Last record"));

    // Screen readers name each button by its hint.
    QAccessibleInterface *prior = QAccessible::queryAccessibleInterface(nav.Button(nbPrior));
    QVERIFY(prior);
    QCOMPARE(prior->text(QAccessible::Name), QStringLiteral("Back one"));

    // More lines than buttons are kept but go nowhere.
    QStringList many(12, QStringLiteral("x"));
    nav.setHints(many);
    QCOMPARE(nav.Button(nbRefresh)->toolTip(), QStringLiteral("x"));
}

void TestKavDBNavigator::keysMoveTheFocusAmongVisibleButtons()
{
    Bench bench;
    QVERIFY(bench.dataSet->Open());
    TkavDBNavigator *nav = bench.nav;
    nav->setTabStop(true);
    bench.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&bench.window));
    nav->setFocus();
    QVERIFY(nav->hasFocus());

    // The focused button shows the dotted frame; the others do not.
    const QImage unfocused = nav->Button(nbNext)->grab().toImage();
    QTest::keyClick(nav, Qt::Key_Right);
    QCOMPARE(nav->FocusedButton(), nbPrior);
    QTest::keyClick(nav, Qt::Key_Right);
    QCOMPARE(nav->FocusedButton(), nbNext);
    QVERIFY(nav->Button(nbNext)->grab().toImage() != unfocused);

    QSignalSpy clicks(nav, &TkavDBNavigator::OnClick);
    QTest::keyClick(nav, Qt::Key_Space);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.first().at(1).value<TNavigateBtn>(), nbNext);
    QCOMPARE(bench.dataSet->RecNo(), 1);

    // Hidden buttons are stepped over, and never take the focus at either end.
    nav->setVisibleButtons(AllButtons & ~TButtonSet(nbPriorBit | nbFirstBit | nbRefreshBit));
    QTest::keyClick(nav, Qt::Key_Left);
    QCOMPARE(nav->FocusedButton(), nbNext);
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(nav, Qt::Key_Right);
    QCOMPARE(nav->FocusedButton(), nbCancel);

    // A focused button that is hidden hands the focus to the first visible one.
    nav->setVisibleButtons(Moving & ~TButtonSet(nbFirstBit));
    QCOMPARE(nav->FocusedButton(), nbPrior);

    // A mouse press moves the focus to the pressed button.
    QTest::mouseClick(nav->Button(nbLast), Qt::LeftButton, {}, bench.centreOf(nbLast));
    QCOMPARE(nav->FocusedButton(), nbLast);
    QCOMPARE(bench.dataSet->RecNo(), 3);

    // Space on a disabled button does nothing.
    clicks.clear();
    QTest::keyClick(nav, Qt::Key_Space);
    QCOMPARE(clicks.size(), 0);
}

void TestKavDBNavigator::lookReachesTheButtons()
{
    TkavDBNavigator nav;
    nav.setUIStyle(TkavUIStyle::MacOS);
    for (int i = 0; i < NavigateBtnCount; ++i)
        QCOMPARE(nav.Button(TNavigateBtn(i))->UIStyle(), TkavUIStyle::MacOS);

    auto theme = std::make_unique<TkavFileTheme>();
    nav.setFileTheme(theme.get());
    nav.setUIStyle(TkavUIStyle::FromThemeFile);
    QCOMPARE(nav.Button(nbPost)->FileTheme(), theme.get());
    theme.reset();
    QCOMPARE(nav.FileTheme(), nullptr);
    QCOMPARE(nav.UIStyle(), TkavUIStyle::DeepBlue);
    for (int i = 0; i < NavigateBtnCount; ++i) {
        QCOMPARE(nav.Button(TNavigateBtn(i))->FileTheme(), nullptr);
        QCOMPARE(nav.Button(TNavigateBtn(i))->UIStyle(), TkavUIStyle::DeepBlue);
    }
}

QTEST_MAIN(TestKavDBNavigator)
#include "tst_kavdbnavigator.moc"
