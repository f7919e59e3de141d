#include "KAVCheckBox.h"
#include "KAVComposer.h"
#include "KAVForm.h"
#include "KAVMgr.h"
#include "KAVPageControl.h"
#include "KAVTrackBar.h"
#include "tst_kavtabcontrol_fixtures.h"
#include "ui_tst_kavpagecontrol_form.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <QTest>

using namespace TabFixtures;

namespace {

QList<int> ints(const QString &list)
{
    QList<int> values;
    for (const QString &item : list.split(QLatin1Char(','), Qt::SkipEmptyParts))
        values.append(item.toInt());
    return values;
}

// The pages' names in page order.
QStringList order(const TkavPageControl *control)
{
    QStringList names;
    for (int i = 0; i < control->PageCount(); ++i)
        names.append(control->GetPage(i)->objectName());
    return names;
}

} // namespace

class TestPageControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void defaults();
    void activeRule_data();
    void activeRule();
    void showAndHideEvents();
    void removing_data();
    void removing();
    void reparentingAndDestroying();
    void moving_data();
    void moving();
    void hidingTheActiveTab_data();
    void hidingTheActiveTab();
    void findingPages_data();
    void findingPages();
    void clickOnTabSwitchesPage();
    void ctrlTabKeepsTheFocus();
    void moreThanSixtyFourPages();
    void looksReachThePages();
    void examPageControl();
    void builtFromDesignerForm();
    void publishedProperties();
    void accessibility();

private:
    TkavPageControl *makeControl(int pages, bool tabsShown = true);

    QWidget *m_window = nullptr;
};

void TestPageControl::init()
{
    m_window = new QWidget;
    m_window->resize(500, 400);
}

void TestPageControl::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

TkavPageControl *TestPageControl::makeControl(int pages, bool tabsShown)
{
    auto *control = new TkavPageControl(m_window);
    control->resize(400, 300);
    for (int i = 0; i < pages; ++i) {
        // As a Designer form builds it: a sheet made with the page control as its parent.
        auto *sheet = new TkavTabSheet(control);
        sheet->setObjectName(QStringLiteral("sheet%1").arg(i));
        sheet->setCaption(QStringLiteral("Page %1").arg(i));
        sheet->setTabVisible(tabsShown);
    }
    m_window->show();
    return control;
}

void TestPageControl::defaults()
{
    auto *control = new TkavPageControl(m_window);
    QCOMPARE(control->PageCount(), 0);
    QCOMPARE(control->ActivePage(), nullptr);
    QCOMPARE(control->ActivePageIndex(), 0);
    QVERIFY(control->topPanel()->Tabs().isEmpty());
    QCOMPARE(control->topPanel()->TabIndex(), -1);
    QCOMPARE(control->GetPage(0), nullptr);

    auto *sheet = new TkavTabSheet;
    QCOMPARE(sheet->PageIndex(), -1);
    QVERIFY(sheet->TabVisible());
    QCOMPARE(sheet->Align(), KavLayout::alClient);
    QVERIFY(Kav::KavIsSeeThrough(sheet));
    sheet->setPageIndex(3);
    QCOMPARE(sheet->PageIndex(), -1);

    // Made a child, it joins and becomes the active page.
    sheet->setParent(control);
    QCOMPARE(sheet->PageControl(), control);
    QCOMPARE(sheet->PageIndex(), 0);
    QCOMPARE(control->ActivePage(), sheet);
    QCOMPARE(control->PageCount(), 1);
}

void TestPageControl::activeRule_data()
{
    QTest::addColumn<bool>("tabsShown");
    QTest::addColumn<QString>("steps");
    QTest::newRow("hidden tabs, by page") << false << "0,3,1,5,5,2";
    QTest::newRow("shown tabs, by page") << true << "4,0,2,2,1";
}

void TestPageControl::activeRule()
{
    QFETCH(bool, tabsShown);
    QFETCH(QString, steps);
    TkavPageControl *control = makeControl(6, tabsShown);
    QList<TkavTabSheet *> shownBefore;
    TkavTabSheet *previous = control->ActivePage();
    for (const int step : ints(steps)) {
        TkavTabSheet *page = control->GetPage(step);
        control->setActivePage(page);
        QCOMPARE(control->ActivePage(), page);
        QCOMPARE(control->ActivePageIndex(), step);
        QCOMPARE(control->topPanel()->TabIndex(), step);
        for (int i = 0; i < control->PageCount(); ++i)
            QCOMPARE(control->GetPage(i)->isEnabled(), i == step);
        QVERIFY(page->isVisible());
        // On top: the page is what lies at the body's centre.
        const QPoint centre = page->geometry().center();
        QCOMPARE(control->childAt(centre), page);
        // The page active before stays visible beneath it.
        if (previous)
            QVERIFY(previous->isVisible());
        previous = page;
    }
    // The pages fill the body.
    const QRect body = control->contentsRect();
    QCOMPARE(control->ActivePage()->geometry(), body);
    // With every tab hidden, the strip draws no tab.
    if (!tabsShown)
        QVERIFY(control->topPanel()->currentLayout().tabs.isEmpty());
}

void TestPageControl::showAndHideEvents()
{
    TkavPageControl *control = makeControl(3);
    QStringList log;
    for (int i = 0; i < 3; ++i) {
        TkavTabSheet *page = control->GetPage(i);
        connect(page, &TkavTabSheet::OnShow, this, [&log, i] { log.append(QStringLiteral("show %1").arg(i)); });
        connect(page, &TkavTabSheet::OnHide, this, [&log, i] { log.append(QStringLiteral("hide %1").arg(i)); });
    }
    connect(control, &TkavTab::OnTabActive, this, [&log](QObject *, int i) { log.append(QStringLiteral("active %1").arg(i)); });
    connect(control, &TkavTab::OnChange, this, [&log] { log.append("change"); });
    control->setActivePage(control->GetPage(0));
    QCOMPARE(log, (QStringList{"hide 2", "show 0", "active 0", "change"}));
    log.clear();
    control->setActivePage(control->GetPage(0));
    QCOMPARE(log, QStringList{"show 0"});
    log.clear();
    control->setActivePageIndex(1);
    QCOMPARE(log, (QStringList{"hide 0", "show 1", "active 1", "change"}));
    log.clear();
    control->setActivePageIndex(7);
    QCOMPARE(log, QStringList{});
    QCOMPARE(control->ActivePageIndex(), 1);
}

void TestPageControl::removing_data()
{
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("expectedActive");
    QTest::newRow("removing the first leaves none active") << 0 << 0 << "";
    QTest::newRow("removing page 3 activates page 2") << 3 << 3 << "sheet2";
    QTest::newRow("removing the last") << 5 << 5 << "sheet4";
    QTest::newRow("removing another page activates the one before it") << 5 << 3 << "sheet2";
}

void TestPageControl::removing()
{
    QFETCH(int, active);
    QFETCH(int, removed);
    QFETCH(QString, expectedActive);
    TkavPageControl *control = makeControl(6);
    control->ActivatePage(active);
    TkavTabSheet *sheet = control->GetPage(removed);
    sheet->setParent(m_window);
    QCOMPARE(sheet->PageControl(), nullptr);
    QCOMPARE(sheet->PageIndex(), -1);
    QCOMPARE(control->PageCount(), 5);
    QCOMPARE(control->topPanel()->Tabs().size(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(control->GetPage(i)->PageIndex(), i);
    QCOMPARE(control->ActivePage() ? control->ActivePage()->objectName() : QString(), expectedActive);
    if (!control->ActivePage()) {
        QCOMPARE(control->ActivePageIndex(), 0);
        for (int i = 0; i < 5; ++i)
            QVERIFY(!control->GetPage(i)->isEnabled());
    }
}

void TestPageControl::reparentingAndDestroying()
{
    TkavPageControl *control = makeControl(4);
    auto *other = new TkavPageControl(m_window);
    TkavTabSheet *moved = control->GetPage(1);
    moved->setParent(other);
    QCOMPARE(moved->PageControl(), other);
    QCOMPARE(other->ActivePage(), moved);
    QCOMPARE(order(control), (QStringList{"sheet0", "sheet2", "sheet3"}));

    delete control->GetPage(2);
    QCOMPARE(order(control), (QStringList{"sheet0", "sheet2"}));
    QCOMPARE(control->topPanel()->Tabs(), (QStringList{"Page 0", "Page 2"}));
    QCOMPARE(control->ActivePage(), control->GetPage(1));

    // A page control destroyed before its pages' references are cleared leaves nothing dangling.
    auto *outside = new TkavTabSheet(m_window);
    delete other;
    QCOMPARE(outside->PageControl(), nullptr);
    delete control;
}

void TestPageControl::moving_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("index");
    QTest::newRow("forward") << 0 << 2 << QStringList{"sheet1", "sheet2", "sheet0", "sheet3"} << 2;
    QTest::newRow("backward") << 3 << 1 << QStringList{"sheet0", "sheet3", "sheet1", "sheet2"} << 1;
    QTest::newRow("out of range keeps its place") << 1 << 9 << QStringList{"sheet0", "sheet1", "sheet2", "sheet3"} << 1;
    QTest::newRow("negative keeps its place") << 2 << -1 << QStringList{"sheet0", "sheet1", "sheet2", "sheet3"} << 2;
}

void TestPageControl::moving()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, expected);
    QFETCH(int, index);
    TkavPageControl *control = makeControl(4);
    TkavTabSheet *sheet = control->GetPage(from);
    control->GetPage(3)->setTabVisible(false);
    sheet->setPageIndex(to);
    QCOMPARE(order(control), expected);
    QCOMPARE(sheet->PageIndex(), index);
    QCOMPARE(control->ActivePage(), sheet);
    QStringList captions;
    for (const QString &name : expected)
        captions.append(QStringLiteral("Page ") + name.right(1));
    QCOMPARE(control->topPanel()->Tabs(), captions);
    // Hidden tabs move with their pages.
    const int hiddenAt = int(expected.indexOf("sheet3"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(control->topPanel()->tabShown(i), i != hiddenAt);
}

void TestPageControl::hidingTheActiveTab_data()
{
    QTest::addColumn<QString>("hiddenFirst");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("expected");
    QTest::newRow("nearest earlier shown") << "2" << 3 << 1;
    QTest::newRow("else nearest later") << "0,1" << 2 << 3;
    QTest::newRow("none shown: stays") << "0,1,3,4" << 2 << 2;
}

void TestPageControl::hidingTheActiveTab()
{
    QFETCH(QString, hiddenFirst);
    QFETCH(int, active);
    QFETCH(int, expected);
    TkavPageControl *control = makeControl(5);
    for (const int i : ints(hiddenFirst))
        control->GetPage(i)->setTabVisible(false);
    control->ActivatePage(active);
    control->GetPage(active)->setTabVisible(false);
    QVERIFY(!control->GetPage(active)->TabVisible());
    QCOMPARE(control->ActivePageIndex(), expected);
}

void TestPageControl::findingPages_data()
{
    // Five pages; tabs of pages 1 and 3 hidden.
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    QTest::newRow("from 0") << 0 << 2 << 4;
    QTest::newRow("from 2") << 2 << 4 << 0;
    QTest::newRow("from 4 wraps") << 4 << 0 << 2;
    QTest::newRow("from a hidden page") << 3 << 4 << 2;
}

void TestPageControl::findingPages()
{
    QFETCH(int, index);
    QFETCH(int, next);
    QFETCH(int, previous);
    TkavPageControl *control = makeControl(5);
    control->GetPage(1)->setTabVisible(false);
    control->GetPage(3)->setTabVisible(false);
    QCOMPARE(control->FindNextVisiblePage(index), next);
    QCOMPARE(control->FindPrevVisiblePage(index), previous);
    QCOMPARE(control->FindNextPage(control->GetPage(index), true), control->GetPage(next));
    control->ActivatePage(index);
    control->SelectNextPage(false);
    QCOMPARE(control->ActivePageIndex(), previous);
}

void TestPageControl::clickOnTabSwitchesPage()
{
    TkavPageControl *control = makeControl(3);
    control->ActivatePage(0);
    TkavTabControlTopPanel *strip = control->topPanel();
    bool refuse = true;
    connect(control, &TkavTab::OnChanging, this, [&refuse](QObject *, bool &allow) { allow = !refuse; });
    click(strip, strip->tabRect(2).center());
    QCOMPARE(control->ActivePageIndex(), 0);
    QVERIFY(control->GetPage(0)->isEnabled());
    QVERIFY(!control->GetPage(2)->isEnabled());
    refuse = false;
    click(strip, strip->tabRect(2).center());
    QCOMPARE(control->ActivePageIndex(), 2);
    QVERIFY(!control->GetPage(0)->isEnabled());
    key(control, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(control->ActivePageIndex(), 0);
}

void TestPageControl::moreThanSixtyFourPages()
{
    TkavPageControl *control = makeControl(100);
    QCOMPARE(control->PageCount(), 100);
    QCOMPARE(control->ActivePageIndex(), 99);
    control->GetPage(80)->setTabVisible(false);
    control->setActivePage(control->GetPage(90));
    QCOMPARE(control->ActivePageIndex(), 90);
    QVERIFY(!control->topPanel()->tabRect(90).isNull());
    QVERIFY(!control->topPanel()->tabShown(80));
    QVERIFY(control->topPanel()->tabShown(99));
    control->GetPage(95)->setPageIndex(70);
    QCOMPARE(control->GetPage(70)->objectName(), QStringLiteral("sheet95"));
    (void)control->grab();
}

void TestPageControl::looksReachThePages()
{
    QTemporaryDir dir;
    auto theme = writeTabTheme(dir);
    QVERIFY(theme);
    TkavPageControl *control = makeControl(2);
    auto *track = new TkavTrackBar(control->GetPage(1));
    control->setUIStyle(TkavUIStyle::Protein);
    QCOMPARE(track->UIStyle(), TkavUIStyle::Protein);
    control->setFileTheme(theme.get());
    control->setUIStyle(TkavUIStyle::FromThemeFile);
    QCOMPARE(track->FileTheme(), theme.get());
    QCOMPARE(control->GetPage(0)->Color(), Background);
    QCOMPARE(control->GetPage(0)->BorderColor(), Border);
    control->setBorderColor(TColor::fromRgb(1, 2, 3));
    QCOMPARE(control->GetPage(1)->BorderColor(), TColor::fromRgb(1, 2, 3));
    theme.reset();
    QCOMPARE(control->UIStyle(), TkavUIStyle::DeepBlue);
}

void TestPageControl::examPageControl()
{
    // The exam window's page control: WinXP, six pages with hidden tabs, margin 10, grey border.
    auto *form = new TkavForm(m_window);
    form->setUIStyle(TkavUIStyle::MacOS);
    auto *control = new TkavPageControl(m_window);
    QCOMPARE(control->UIStyle(), TkavUIStyle::MacOS);
    const QStringList names{"tab_welcome", "tab_kc1", "tab_kc2", "tab_kc3", "tab_kc4", "tab_kc5"};
    for (const QString &name : names) {
        auto *sheet = new TkavTabSheet(control);
        sheet->setObjectName(name);
        sheet->setTabVisible(false);
    }
    control->setUIStyle(TkavUIStyle::WinXP);
    control->setLeftMargin(10);
    control->setBorderColor(TColor::fromRgb(104, 104, 104));
    control->setGeometry(4, 25, 632, 472);
    m_window->resize(640, 500);
    m_window->show();
    control->setActivePage(control->GetPage(0));
    QCOMPARE(order(control), names);
    // With every tab hidden the strip shows nothing, so Tab must not stop on it; one tab shown
    // makes it a stop again.
    QCOMPARE(control->topPanel()->focusPolicy(), Qt::NoFocus);
    control->GetPage(2)->setTabVisible(true);
    QCOMPARE(control->topPanel()->focusPolicy(), Qt::StrongFocus);
    control->GetPage(2)->setTabVisible(false);
    QCOMPARE(control->topPanel()->focusPolicy(), Qt::NoFocus);
    for (int page = 1; page <= 5; ++page) {
        control->setActivePage(control->GetPage(page));
        QVERIFY(control->GetPage(page)->isEnabled());
        QVERIFY(!control->GetPage(page - 1)->isEnabled());
    }
    const QImage face = control->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("KAV_RENDER_DIR"))
        face.save(qEnvironmentVariable("KAV_RENDER_DIR") + QStringLiteral("/exam-pages.png"));
    const int strip = control->stripHeight();
    const KavThemeValues winXP(TkavUIStyle::WinXP, nullptr);
    QCOMPARE(strip, winXP.bitmap(KavKey::TabControlTabImage).height() + winXP.bitmap(KavKey::TabControlBarImage).height());
    QVERIFY(control->topPanel()->currentLayout().tabs.isEmpty());
    const QRgb grey = qRgb(104, 104, 104);
    QCOMPARE(face.pixel(0, strip + 20), grey);
    QCOMPARE(face.pixel(631, strip + 20), grey);
    QCOMPARE(face.pixel(300, 471), grey);
    QCOMPARE(face.pixel(300, strip + 100), qRgb(255, 255, 255));
}

void TestPageControl::builtFromDesignerForm()
{
    // Sheets written inside a page control in a Designer form become its pages, in form order.
    auto *form = new QWidget(m_window);
    Ui::PagesForm ui;
    ui.setupUi(form);
    QCOMPARE(ui.pages->PageCount(), 3);
    QCOMPARE(order(ui.pages), (QStringList{"first", "second", "third"}));
    QCOMPARE(ui.first->PageControl(), ui.pages);
    QCOMPARE(ui.pages->topPanel()->Tabs(), (QStringList{"First", "Second", "Third"}));
    QVERIFY(!ui.first->TabVisible());
    QVERIFY(!ui.pages->topPanel()->tabShown(0));
    QCOMPARE(ui.pages->ActivePage(), ui.third);
    ui.pages->setActivePage(ui.first);
    m_window->show();
    QVERIFY(ui.answer->isEnabled());
    QVERIFY(!ui.third->isEnabled());
    QCOMPARE(ui.first->geometry(), ui.pages->contentsRect());
}

void TestPageControl::publishedProperties()
{
    TkavPageControl *control = makeControl(2);
    const QMetaObject *meta = control->metaObject();
    for (const char *name : {"ActivePage", "PageCount", "ActivePageIndex", "UIStyle", "FileTheme", "LeftMargin",
                             "BorderColor", "Color", "Font"})
        QVERIFY2(meta->indexOfProperty(name) >= 0, name);
    QVERIFY(control->setProperty("ActivePage", QVariant::fromValue(control->GetPage(0))));
    QCOMPARE(control->ActivePageIndex(), 0);
    QCOMPARE(control->property("PageCount").toInt(), 2);
    TkavTabSheet *sheet = control->GetPage(1);
    for (const char *name : {"PageIndex", "Caption", "TabVisible", "PageControl", "Color", "Align"})
        QVERIFY2(sheet->metaObject()->indexOfProperty(name) >= 0, name);
    QCOMPARE(sheet->property("PageControl").value<TkavPageControl *>(), control);
    QVERIFY(sheet->setProperty("Caption", QStringLiteral("Renamed")));
    QCOMPARE(control->topPanel()->Tabs().at(1), QStringLiteral("Renamed"));
}

void TestPageControl::accessibility()
{
    TkavPageControl *control = makeControl(3);
    control->ActivatePage(1);
    QAccessibleInterface *strip = QAccessible::queryAccessibleInterface(control->topPanel());
    QCOMPARE(strip->role(), QAccessible::PageTabList);
    QCOMPARE(strip->childCount(), 3);
    QCOMPARE(strip->child(1)->text(QAccessible::Name), QStringLiteral("Page 1"));
    QVERIFY(strip->child(1)->state().selected);
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface *page = QAccessible::queryAccessibleInterface(control->GetPage(i));
        QVERIFY(page);
        QCOMPARE(page->state().invisible, i != 1);
    }
    control->ActivatePage(2);
    QVERIFY(QAccessible::queryAccessibleInterface(control->GetPage(1))->state().invisible);
    QVERIFY(!QAccessible::queryAccessibleInterface(control->GetPage(2))->state().invisible);

    // The page before stays visible beneath the active one, but its controls are not offered to
    // assistive tools: only the page in front has children.
    auto *behind = new QLineEdit(control->GetPage(1));
    auto *inFront = new QLineEdit(control->GetPage(2));
    Q_UNUSED(behind);
    QVERIFY(control->GetPage(1)->isVisible());
    QAccessibleInterface *behindPage = QAccessible::queryAccessibleInterface(control->GetPage(1));
    QAccessibleInterface *frontPage = QAccessible::queryAccessibleInterface(control->GetPage(2));
    QCOMPARE(behindPage->childCount(), 0);
    QCOMPARE(behindPage->child(0), nullptr);
    QVERIFY(frontPage->childCount() >= 1);
    QCOMPARE(frontPage->indexOfChild(QAccessible::queryAccessibleInterface(inFront)), frontPage->childCount() - 1);
    control->ActivatePage(1);
    QVERIFY(behindPage->childCount() >= 1);
    QCOMPARE(frontPage->childCount(), 0);
}

void TestPageControl::ctrlTabKeepsTheFocus()
{
    // Ctrl+Tab from a control of a page shows the next page and leaves the focus in the page
    // control (on the new page's first control, else on the tab strip), so that the next Ctrl+Tab
    // goes on and Tab goes on from there.
    QWidget window;
    window.resize(400, 200);
    auto *outside = new TkavCheckBox(&window);
    outside->setCaption(QStringLiteral("Outside"));
    auto *pages = new TkavPageControl(&window);
    pages->setGeometry(0, 30, 300, 150);
    QList<TkavTabSheet *> sheets;
    for (const char *caption : {"One", "Two", "Three"}) {
        auto *sheet = new TkavTabSheet(pages);
        sheet->setCaption(QString::fromLatin1(caption));
        sheets << sheet;
    }
    auto *onFirst = new TkavCheckBox(sheets.at(0));
    onFirst->setCaption(QStringLiteral("On the first page"));
    auto *onThird = new TkavCheckBox(sheets.at(2));
    onThird->setCaption(QStringLiteral("On the third page"));
    pages->setActivePage(sheets.at(0));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    onFirst->setFocus();
    QCOMPARE(QApplication::focusWidget(), onFirst);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(pages->ActivePage(), sheets.at(1));
    QCOMPARE(QApplication::focusWidget(), pages->topPanel()); // the second page has no control
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(pages->ActivePage(), sheets.at(2));
    QCOMPARE(QApplication::focusWidget(), onThird);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(pages->ActivePage(), sheets.at(1));
    QVERIFY(QApplication::focusWidget() != nullptr);
    QVERIFY(pages->isAncestorOf(QApplication::focusWidget()));
}

QTEST_MAIN(TestPageControl)
#include "tst_kavpagecontrol.moc"
