// The skinned MDI parent: tile and cascade bounds, the title and menu it shows for the active
// child, the control buttons of a maximised child, and the skinned form of an MDI child.

#include "KAVForm.h"
#include "KAVMDIForm.h"
#include "KAVMDILayout.h"
#include "KAVMainMenu.h"
#include "KAVThemeValues.h"
#include "KAVTitleBar.h"
#include "KAVTitleBarPopupMenu.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVWindowDrag.h"
#include "../controls/kav_fixture_theme.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

using Kav::MdiLayout::TileMode;
using Rects = QList<QRect>;
using Flags = QList<bool>;

namespace {

// A shown MDI parent of the given size.
struct MdiParent {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TkavMDIForm *mdi = nullptr;

    explicit MdiParent(QSize size = {640, 480})
    {
        window->setWindowTitle(QStringLiteral("Parent"));
        mdi = new TkavMDIForm(window.get());
        window->resize(size);
        window->show();
        QApplication::setActiveWindow(window.get());
    }

    // A skinned child with the given caption (and a menu of the given top-level items).
    QMdiSubWindow *addSkinnedChild(const QString &caption, const QStringList &menuItems = {})
    {
        auto *child = new QWidget;
        child->setWindowTitle(caption);
        child->resize(300, 200);
        auto *form = new TkavForm(child);
        if (!menuItems.isEmpty()) {
            auto *menu = new QMenuBar;
            for (const QString &item : menuItems)
                menu->addMenu(item);
            form->setMenu(menu);
        }
        QMdiSubWindow *sub = mdi->addChild(child);
        settle();
        return sub;
    }

    // Lets the children's posted notices arrive.
    static void settle() { QCoreApplication::sendPostedEvents(); QCoreApplication::processEvents(); }
};

QStringList texts(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result << action->text();
    return result;
}

TkavForm *formOf(const QMdiSubWindow *sub)
{
    return sub->widget()->findChild<TkavForm *>();
}

void click(QWidget *target, const QPoint &at)
{
    const QPoint global = target->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// The middle of the title bar's first visible button of that type.
QPoint buttonCentre(const TkavTitleBar *bar, TkavTitleBarBtnType type)
{
    const Kav::TitleBarLayout::Result layout = bar->currentLayout();
    for (int i = 0; i < bar->Buttons()->count(); ++i) {
        if (bar->Buttons()->item(i)->ButtonType() == type && !layout.buttons.at(i).isNull())
            return layout.buttons.at(i).center();
    }
    return {-1, -1};
}

} // namespace

class TestKavMdiForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tileBounds_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<Flags>("minimized");
        QTest::addColumn<TileMode>("mode");
        QTest::addColumn<Rects>("expected");
        // Title bar 32, menu bar 22 in every row.
        QTest::newRow("horizontal, one of three minimised")
            << QSize(600, 400) << Flags{false, true, false} << TileMode::Horizontal
            << Rects{QRect(0, 0, 596, 161), QRect(), QRect(0, 155, 596, 161)};
        QTest::newRow("horizontal, three shown")
            << QSize(600, 400) << Flags{false, false, false} << TileMode::Horizontal
            << Rects{QRect(0, 0, 596, 114), QRect(0, 108, 596, 114), QRect(0, 216, 596, 114)};
        QTest::newRow("vertical, three shown")
            << QSize(600, 400) << Flags{false, false, false} << TileMode::Vertical
            << Rects{QRect(0, 0, 200, 342), QRect(194, 0, 200, 342), QRect(388, 0, 200, 342)};
        QTest::newRow("vertical, minimised first")
            << QSize(600, 400) << Flags{true, false, false} << TileMode::Vertical
            << Rects{QRect(), QRect(0, 0, 300, 322), QRect(294, 0, 300, 322)};
        QTest::newRow("one child") << QSize(600, 400) << Flags{false} << TileMode::Horizontal
                                   << Rects{QRect(0, 0, 596, 342)};
        QTest::newRow("all minimised: nothing moves")
            << QSize(600, 400) << Flags{true, true} << TileMode::Vertical << Rects{QRect(), QRect()};
        QTest::newRow("no children") << QSize(600, 400) << Flags{} << TileMode::Horizontal << Rects{};
        QTest::newRow("window lower than its bars: no negative heights")
            << QSize(130, 50) << Flags{false, false} << TileMode::Horizontal
            << Rects{QRect(0, 0, 126, 0), QRect(0, 0, 126, 0)};
    }
    void tileBounds()
    {
        QFETCH(QSize, client);
        QFETCH(Flags, minimized);
        QFETCH(TileMode, mode);
        QFETCH(Rects, expected);
        QCOMPARE(Kav::MdiLayout::tile({client, 32, 22}, minimized, mode), expected);
    }

    void cascadeBounds_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<Flags>("minimized");
        QTest::addColumn<Rects>("expected");
        QTest::newRow("three shown: each a title bar + 3 further")
            << QSize(600, 400) << Flags{false, false, false}
            << Rects{QRect(0, 0, 480, 240), QRect(35, 35, 480, 240), QRect(70, 70, 480, 240)};
        QTest::newRow("minimised takes no step")
            << QSize(600, 400) << Flags{false, true, false}
            << Rects{QRect(0, 0, 480, 240), QRect(), QRect(35, 35, 480, 240)};
        QTest::newRow("sizes truncated") << QSize(333, 211) << Flags{false} << Rects{QRect(0, 0, 266, 126)};
    }
    void cascadeBounds()
    {
        QFETCH(QSize, client);
        QFETCH(Flags, minimized);
        QFETCH(Rects, expected);
        QCOMPARE(Kav::MdiLayout::cascade({client, 32, 22}, minimized), expected);
    }

    void titleText_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<bool>("hasChild");
        QTest::addColumn<bool>("drawChildCaptions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("active child") << "P" << true << true << "P - [C]";
        QTest::newRow("no active child") << "P" << false << true << "P";
        QTest::newRow("child captions off") << "P" << true << false << "P";
        QTest::newRow("caption has the part already: not doubled") << "P - [X]" << true << true << "P - [X]";
    }
    void titleText()
    {
        QFETCH(QString, parent);
        QFETCH(bool, hasChild);
        QFETCH(bool, drawChildCaptions);
        QFETCH(QString, expected);
        QCOMPARE(Kav::KavMdiTitleText(parent, QStringLiteral("C"), hasChild, drawChildCaptions), expected);
    }

    void refusesWhatIsNotAFreeWindow()
    {
        QWidget window;
        auto *inner = new QWidget(&window);
        try {
            new TkavMDIForm(inner);
            QFAIL("a widget inside a window was accepted");
        } catch (const EKavFormError &error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Sorry, TkavMDIForm must be placed on a form"));
        }
        new TkavForm(&window);
        QVERIFY_THROWS_EXCEPTION(EKavFormError, new TkavMDIForm(&window));
        QWidget mdiWindow;
        new TkavMDIForm(&mdiWindow);
        QVERIFY_THROWS_EXCEPTION(EKavFormError, new TkavForm(&mdiWindow));
        QCOMPARE(mdiWindow.findChildren<TkavForm *>().size(), 0);
    }

    void goingTakesTheBarsAndLeavesTheArea()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"), {QStringLiteral("&Edit")});
        const QPointer<TkavTitleBar> bar(parent.mdi->TitleBar());
        const QPointer<QMenuBar> menuBar(parent.mdi->menuBar());
        QMdiArea *area = parent.mdi->mdiArea();
        delete parent.mdi;
        QVERIFY(bar.isNull());
        QVERIFY(menuBar.isNull());
        QCOMPARE(parent.window->findChild<QMdiArea *>(), area);
        QCOMPARE(area->subWindowList(), QList<QMdiSubWindow *>{sub});
        // Now the window may carry a skinned form of its own.
        new TkavForm(parent.window.get());
    }

    void placesBarsAreaAndFrame()
    {
        MdiParent parent({400, 300});
        auto *menu = new QMenuBar;
        menu->addMenu(QStringLiteral("&File"));
        parent.mdi->setMenu(menu);
        const int title = parent.mdi->TitleBar()->height();
        QCOMPARE(parent.mdi->TitleBar()->geometry(), QRect(0, 0, 400, title));
        QCOMPARE(parent.mdi->GetTitleBarHeight(), title + 22);
        QCOMPARE(parent.mdi->mdiArea()->geometry(), QRect(1, title + 22, 398, 300 - title - 22 - 1));
        QVERIFY(!menu->isVisible()); // its items show in the form's bar

        const QImage image = parent.window->grab().toImage();
        const QColor frame = parent.mdi->BorderColor().resolved();
        QCOMPARE(image.pixelColor(0, 150), frame);
        QCOMPARE(image.pixelColor(399, 150), frame);
        QCOMPARE(image.pixelColor(200, 299), frame);

        parent.mdi->setMenu(nullptr);
        QCOMPARE(parent.mdi->GetTitleBarHeight(), title);
        QCOMPARE(parent.mdi->mdiArea()->geometry().top(), title);
    }

    void parentSizingEdges_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("edges");
        // A parent 400 x 300.
        QTest::newRow("left, over the area") << QPoint(2, 150) << int(Qt::LeftEdge);
        QTest::newRow("bottom-right") << QPoint(397, 297) << int(Qt::RightEdge | Qt::BottomEdge);
        QTest::newRow("top, over the title bar") << QPoint(200, 4) << int(Qt::TopEdge);
        QTest::newRow("top-left") << QPoint(0, 0) << int(Qt::LeftEdge | Qt::TopEdge);
        QTest::newRow("just past the band") << QPoint(5, 150) << 0;
        QTest::newRow("middle") << QPoint(200, 150) << 0;
    }
    void parentSizingEdges()
    {
        QFETCH(QPoint, point);
        QFETCH(int, edges);
        MdiParent parent({400, 300});
        QCOMPARE(int(parent.mdi->sizingEdgesAt(point)), edges);
        parent.window->setFixedSize(400, 300);
        QCOMPARE(int(parent.mdi->sizingEdgesAt(point)), 0);
    }

    void pressOnTheParentsEdgeSizesIt()
    {
        MdiParent parent({400, 300});
        QWidget *viewport = parent.mdi->mdiArea()->viewport();
        const QPoint at = viewport->mapFrom(parent.window.get(), QPoint(398, 150));
        const QPoint global = viewport->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QVERIFY(Kav::KavWindowDragActive(parent.window.get())); // offscreen: the window sizes itself
        QMouseEvent move(QEvent::MouseMove, at + QPoint(30, 0), at + QPoint(30, 0), global + QPoint(30, 0),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, at + QPoint(30, 0), at + QPoint(30, 0), global + QPoint(30, 0),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &release);
        QCoreApplication::processEvents();
        QCOMPARE(parent.window->width(), 430);
        QCOMPARE(parent.mdi->mdiArea()->width(), 428);
    }

    void titleAndMenuFollowTheActiveChild()
    {
        MdiParent parent;
        auto *own = new QMenuBar;
        own->addMenu(QStringLiteral("&Window"));
        parent.mdi->setMenu(own);
        QMdiSubWindow *editor = parent.addSkinnedChild(QStringLiteral("Editor"), {QStringLiteral("&Edit"), QStringLiteral("&View")});
        QMdiSubWindow *plain = parent.mdi->addChild(new QWidget);
        plain->widget()->setWindowTitle(QStringLiteral("Plain"));

        parent.mdi->mdiArea()->setActiveSubWindow(editor);
        MdiParent::settle();
        QCOMPARE(parent.mdi->TitleBar()->Caption(), QStringLiteral("Parent - [Editor]"));
        QCOMPARE(texts(parent.mdi->menuBar()->actions()), (QStringList{QStringLiteral("&Edit"), QStringLiteral("&View")}));

        parent.mdi->mdiArea()->setActiveSubWindow(plain);
        MdiParent::settle();
        QCOMPARE(parent.mdi->TitleBar()->Caption(), QStringLiteral("Parent - [Plain]"));
        QCOMPARE(texts(parent.mdi->menuBar()->actions()), QStringList{QStringLiteral("&Window")});

        // A renamed child renames the title.
        parent.mdi->mdiArea()->setActiveSubWindow(editor);
        editor->widget()->setWindowTitle(QStringLiteral("Notes"));
        MdiParent::settle();
        QCOMPARE(parent.mdi->TitleBar()->Caption(), QStringLiteral("Parent - [Notes]"));

        parent.mdi->setTitleBarDrawChildMenus(false);
        QCOMPARE(texts(parent.mdi->menuBar()->actions()), QStringList{QStringLiteral("&Window")});
        parent.mdi->setTitleBarDrawChildMenus(true);

        // Closing the active child: the next one's caption and menu, then the parent's own.
        editor->close();
        MdiParent::settle();
        QVERIFY(!parent.mdi->menuBar()->actions().isEmpty());
        plain->close();
        MdiParent::settle();
        QCOMPARE(parent.mdi->TitleBar()->Caption(), QStringLiteral("Parent"));
        QCOMPARE(texts(parent.mdi->menuBar()->actions()), QStringList{QStringLiteral("&Window")});
    }

    void controlButtonsOfAMaximisedChild_data()
    {
        QTest::addColumn<bool>("hasMax");
        QTest::addColumn<bool>("hasMin");
        QTest::newRow("all buttons") << true << true;
        QTest::newRow("close and minimise only") << false << true;
        QTest::newRow("close only") << false << false;
    }
    void controlButtonsOfAMaximisedChild()
    {
        QFETCH(bool, hasMax);
        QFETCH(bool, hasMin);
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        TkavTitleBarButtons *buttons = formOf(sub)->TitleBarButtons();
        for (int i = buttons->count() - 1; i >= 0; --i) {
            const TkavTitleBarBtnType type = buttons->item(i)->ButtonType();
            if ((type == KavTitleBar::kavMax && !hasMax) || (type == KavTitleBar::kavMin && !hasMin))
                buttons->item(i)->setVisible(false);
        }
        auto shown = [&parent](TkavMDIForm::ControlButton which) {
            return parent.mdi->controlButton(which)->isVisibleTo(parent.window.get());
        };

        sub->showMaximized();
        MdiParent::settle();
        QVERIFY(shown(TkavMDIForm::CloseButton));
        QCOMPARE(shown(TkavMDIForm::RestoreButton), hasMax);
        QCOMPARE(shown(TkavMDIForm::MinimizeButton), hasMin);
        // Without any menu the bar still comes up to hold them.
        QVERIFY(parent.mdi->GetTitleBarHeight() > parent.mdi->TitleBar()->height());

        sub->showNormal();
        MdiParent::settle();
        QVERIFY(!shown(TkavMDIForm::CloseButton));
        QVERIFY(!shown(TkavMDIForm::RestoreButton));
        QVERIFY(!shown(TkavMDIForm::MinimizeButton));
        QCOMPARE(parent.mdi->GetTitleBarHeight(), parent.mdi->TitleBar()->height());
    }

    void controlButtonsActOnTheActiveChild()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        sub->showMaximized();
        MdiParent::settle();
        parent.mdi->controlButton(TkavMDIForm::RestoreButton)->click();
        MdiParent::settle();
        QVERIFY(!sub->isMaximized());
        QVERIFY(!parent.window->isMaximized());

        sub->showMaximized();
        MdiParent::settle();
        const QPointer<QMdiSubWindow> alive(sub);
        parent.mdi->controlButton(TkavMDIForm::CloseButton)->click();
        MdiParent::settle();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
        QVERIFY(parent.window->isVisible());
        QVERIFY(!parent.mdi->controlButton(TkavMDIForm::CloseButton)->isVisibleTo(parent.window.get()));
    }

    void childFormIsInsetAndHidesItsBarsOnce()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"), {QStringLiteral("&File")});
        sub->resize(300, 200);
        TkavForm *form = formOf(sub);
        QVERIFY(sub->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form->mdiSubWindow(), sub);
        QCOMPARE(form->geometry(), QRect(1, 0, 300 - 2 - 3, 200 - 1 - 3));
        // The child's menu shows in the parent only.
        QVERIFY(!form->Menu()->isVisibleTo(form));
        const int titleHeight = form->TitleBar()->height();
        QCOMPARE(form->contentsRect().top(), titleHeight);

        sub->showMaximized();
        MdiParent::settle();
        for (int i = 0; i < 3; ++i) {
            sub->resize(sub->size() + QSize(1, 1));
            MdiParent::settle();
        }
        QVERIFY(!form->TitleBar()->isVisibleTo(form));
        QCOMPARE(form->contentsRect().top(), 0);

        sub->showNormal();
        MdiParent::settle();
        QVERIFY(form->TitleBar()->isVisibleTo(form));
        QCOMPARE(form->contentsRect().top(), titleHeight);
    }

    void childKeepsItsBoundsAcrossLooks()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        sub->setGeometry(10, 20, 300, 200);
        formOf(sub)->setUIStyle(TkavUIStyle::WinXP); // a 3-pixel border after a 1-pixel one
        QCOMPARE(formOf(sub)->BorderWidth(), 3);
        QCOMPARE(sub->geometry(), QRect(10, 20, 300, 200));
        QCOMPARE(formOf(sub)->geometry(), QRect(3, 0, 300 - 6 - 3, 200 - 3 - 3));
    }

    void childSizesFromItsEdges_data()
    {
        QTest::addColumn<QPoint>("pressAt"); // in the child, 300 x 200
        QTest::addColumn<QRect>("expected");
        QTest::newRow("right edge") << QPoint(298, 100) << QRect(10, 20, 320, 200);
        QTest::newRow("bottom-right corner") << QPoint(298, 198) << QRect(10, 20, 320, 220);
        QTest::newRow("left edge: the right stays") << QPoint(1, 100) << QRect(30, 20, 280, 200);
        QTest::newRow("inside: no sizing") << QPoint(150, 100) << QRect(10, 20, 300, 200);
    }
    void childSizesFromItsEdges()
    {
        QFETCH(QPoint, pressAt);
        QFETCH(QRect, expected);
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        sub->setGeometry(10, 20, 300, 200);
        // The control under the mouse, or the child's own border.
        QWidget *target = sub->widget()->childAt(pressAt);
        if (!target)
            target = sub->widget();
        const QPoint local = target->mapFrom(sub->widget(), pressAt);
        const QPoint global = target->mapToGlobal(local);
        const QPoint to = local + QPoint(20, 20);
        QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QMouseEvent move(QEvent::MouseMove, to, to, global + QPoint(20, 20), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, to, global + QPoint(20, 20), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
        QCOMPARE(sub->geometry(), expected);
        QCOMPARE(parent.window->size(), QSize(640, 480));
    }

    void windowGoesWithAMaximisedChildAndAnAreaOfItsOwn()
    {
        // The area was there before the skin, so it goes before the skin does.
        auto window = std::make_unique<QWidget>();
        new QMdiArea(window.get());
        auto *mdi = new TkavMDIForm(window.get());
        auto *child = new QWidget;
        auto *form = new TkavForm(child);
        form->setMenu(new QMenuBar);
        form->Menu()->addMenu(QStringLiteral("&Edit"));
        mdi->addChild(child)->showMaximized();
        window->show();
        MdiParent::settle();
        QCOMPARE(window->findChildren<QMdiArea *>().size(), 1);
        window.reset();
        MdiParent::settle();
    }

    void childTitleBarActsOnItsSubWindow()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        TkavTitleBar *bar = formOf(sub)->TitleBar();

        TkavTitleBarButton *maxButton = nullptr;
        for (int i = 0; i < bar->Buttons()->count(); ++i) {
            if (bar->Buttons()->item(i)->ButtonType() == KavTitleBar::kavMax)
                maxButton = bar->Buttons()->item(i);
        }
        QVERIFY(maxButton);
        const QImage maximisePicture = maxButton->PicNormal();
        click(bar, buttonCentre(bar, KavTitleBar::kavMax));
        MdiParent::settle();
        QVERIFY(sub->isMaximized());
        QVERIFY(!parent.window->isMaximized());
        // The child's maximise button follows the child, not the parent: it shows restore now.
        QVERIFY(maxButton->PicNormal() != maximisePicture);
        sub->showNormal();
        MdiParent::settle();
        QCOMPARE(maxButton->PicNormal(), maximisePicture);

        // Dragging the caption moves the sub-window, not the parent.
        const QPoint parentAt = parent.window->pos();
        const QPoint subAt = sub->pos();
        const QPoint at(bar->width() / 2, bar->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        const QPoint to = at + QPoint(30, 20);
        QMouseEvent move(QEvent::MouseMove, to, to, bar->mapToGlobal(at) + QPoint(30, 20), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, to, bar->mapToGlobal(at) + QPoint(30, 20), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
        QCOMPARE(sub->pos(), subAt + QPoint(30, 20));
        QCOMPARE(parent.window->pos(), parentAt);

        // So does the window menu; keyboard moving is for top-level windows.
        TkavTitleBarPopupMenu *windowMenu = bar->windowMenu();
        QAction *maximise = windowMenu->maximizeAction();
        maximise->trigger();
        QVERIFY(sub->isMaximized());
        QVERIFY(!parent.window->isMaximized());
        QVERIFY(!windowMenu->moveAction()->isVisible());
        QVERIFY(!windowMenu->sizeAction()->isVisible());
        maximise->trigger();
        QVERIFY(!sub->isMaximized());

        const QPointer<QMdiSubWindow> alive(sub);
        click(bar, buttonCentre(bar, KavTitleBar::kavClose));
        MdiParent::settle();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
        QVERIFY(parent.window->isVisible());
    }

    void childTakenOutOfItsSubWindowIsATopLevelFormAgain()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        QWidget *child = sub->widget();
        TkavForm *form = formOf(sub);
        TkavTitleBarPopupMenu *windowMenu = form->TitleBar()->windowMenu();
        QCOMPARE(form->mdiSubWindow(), sub);

        // Out of the sub-window: the window menu acts on the window again, Move and Size included,
        // and the form leaves no MDI inset.
        child->setParent(nullptr);
        std::unique_ptr<QWidget> window(child);
        MdiParent::settle();
        QCOMPARE(form->mdiSubWindow(), nullptr);
        QVERIFY(windowMenu->moveAction()->isVisible());
        QVERIFY(windowMenu->sizeAction()->isVisible());
        window->resize(300, 200);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const int border = form->BorderWidth();
        QCOMPARE(form->geometry().right(), window->width() - border - 1);
        windowMenu->maximizeAction()->trigger();
        QTRY_VERIFY(window->isMaximized());
        windowMenu->maximizeAction()->trigger();
        QTRY_VERIFY(!window->isMaximized());
        // Its edges size its own window now.
        QCOMPARE(form->sizingEdgesAt(QPoint(1, 100)), Qt::LeftEdge);
        windowMenu->closeAction()->trigger();
        QVERIFY(!window->isVisible());
    }

    void followsTheLookAndTheThemeFile_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        for (TkavUIStyle look : {TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue,
                                 TkavUIStyle::Protein, TkavUIStyle::BlueGlass})
            QTest::addRow("%s", QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look))) << look;
    }
    void followsTheLookAndTheThemeFile()
    {
        QFETCH(TkavUIStyle, look);
        MdiParent parent;
        parent.mdi->setUIStyle(look);
        const KavThemeValues values(look, nullptr);
        QCOMPARE(parent.mdi->BorderColor(), values.color(KavKey::FormBorderColor));
        QCOMPARE(parent.mdi->MenuBarColor(), values.color(KavKey::FormBackgroundColor));
        QCOMPARE(parent.mdi->controlButton(TkavMDIForm::CloseButton)->Color(), values.color(KavKey::FormBackgroundColor).resolved());
        QCOMPARE(parent.mdi->TitleBar()->UIStyle(), look);
        QCOMPARE(parent.mdi->TitleBar()->RoundCorner(), 0);
        // Controls made on the window take the parent's look.
        QCOMPARE(GetKAVFormStyle(parent.window.get()), look);

        QTemporaryDir dir;
        std::unique_ptr<TkavFileTheme> theme = KavTest::writeFixtureTheme(
            dir, QStringLiteral("frame"), {}, {{KavKey::FormBorderColor, TColor(0x0000FF)}});
        QVERIFY(theme);
        parent.mdi->setFileTheme(theme.get());
        parent.mdi->setUIStyle(TkavUIStyle::FromThemeFile);
        QCOMPARE(parent.mdi->BorderColor(), TColor(0x0000FF));
        QCOMPARE(parent.mdi->TitleBar()->FileTheme(), theme.get());
        theme.reset();
        QCOMPARE(parent.mdi->FileTheme(), nullptr);
        QCOMPARE(parent.mdi->UIStyle(), TkavUIStyle::DeepBlue);
    }

    void mainMenuMadeOnTheWindowIsTheMenu()
    {
        MdiParent parent;
        auto *menu = new TkavMainMenu(parent.window.get());
        menu->addMenu(QStringLiteral("&File"));
        menu->addMenu(QStringLiteral("&Help"));
        MdiParent::settle();
        QCOMPARE(parent.mdi->Menu(), menu);
        QCOMPARE(texts(parent.mdi->menuBar()->actions()), (QStringList{QStringLiteral("&File"), QStringLiteral("&Help")}));
        delete menu;
        MdiParent::settle();
        QCOMPARE(parent.mdi->Menu(), nullptr);
        QCOMPARE(parent.mdi->GetTitleBarHeight(), parent.mdi->TitleBar()->height());
    }

    void shortcutsAreThoseOfTheMenuShown()
    {
        MdiParent parent;
        QVERIFY(QTest::qWaitForWindowActive(parent.window.get()));
        int copies[2] = {0, 0};
        QMdiSubWindow *subs[2];
        for (int i = 0; i < 2; ++i) {
            subs[i] = parent.addSkinnedChild(QStringLiteral("Child"), {QStringLiteral("&Edit")});
            QMenu *edit = formOf(subs[i])->Menu()->actions().first()->menu();
            QAction *copy = edit->addAction(QStringLiteral("Copy"));
            copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
            connect(copy, &QAction::triggered, this, [&copies, i] { ++copies[i]; });
        }
        parent.mdi->mdiArea()->setActiveSubWindow(subs[1]);
        MdiParent::settle();
        QTest::keyClick(parent.window.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(copies[0], 0);
        QCOMPARE(copies[1], 1);
        parent.mdi->mdiArea()->setActiveSubWindow(subs[0]);
        MdiParent::settle();
        QTest::keyClick(parent.window.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(copies[0], 1);
        QCOMPARE(copies[1], 1);
    }

    void minimisedChildIsASkinnedStrip()
    {
        MdiParent parent;
        QMdiSubWindow *first = parent.addSkinnedChild(QStringLiteral("One"));
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Two"));
        sub->setGeometry(20, 30, 300, 200);
        TkavForm *form = formOf(sub);
        TkavTitleBar *bar = form->TitleBar();
        TkavTitleBarButton *minButton = nullptr;
        for (int i = 0; i < bar->Buttons()->count(); ++i) {
            if (bar->Buttons()->item(i)->ButtonType() == KavTitleBar::kavMin)
                minButton = bar->Buttons()->item(i);
        }
        QVERIFY(minButton);
        const QImage minimisePicture = minButton->PicMouseOn();

        sub->showMinimized();
        MdiParent::settle();
        // A strip at the bottom of the area: the child's title bar over its bottom border.
        QVERIFY(sub->isVisible());
        QCOMPARE(sub->size(), QSize(Kav::MdiLayout::MinimizedWidth, bar->height() + form->BorderWidth()));
        QCOMPARE(sub->geometry().bottom(), parent.mdi->mdiArea()->viewport()->height() - 1);
        QVERIFY(bar->isVisibleTo(sub));
        QCOMPARE(form->geometry(), QRect(form->BorderWidth(), 0, sub->width() - 2 * form->BorderWidth(), bar->height()));
        // Its minimise button restores it now.
        QVERIFY(minButton->PicMouseOn() != minimisePicture);
        // Tiling leaves the strip's room free.
        parent.mdi->Tile(TileMode::Horizontal);
        QVERIFY(first->geometry().bottom() < sub->geometry().top() + 6);

        click(bar, buttonCentre(bar, KavTitleBar::kavMin));
        MdiParent::settle();
        QVERIFY(!sub->isMinimized());
        QCOMPARE(sub->geometry(), QRect(20, 30, 300, 200));
        QCOMPARE(minButton->PicMouseOn(), minimisePicture);

        // The window menu restores it too (its Minimize is off meanwhile).
        sub->showMinimized();
        MdiParent::settle();
        bar->Popup(0, 0);
        QVERIFY(!bar->windowMenu()->minimizeAction()->isEnabled());
        bar->windowMenu()->hide();
        bar->windowMenu()->maximizeAction()->trigger();
        MdiParent::settle();
        QVERIFY(!sub->isMinimized());
        QVERIFY(!sub->isMaximized());
    }

    void maximisedChildFillsTheAreaInEveryLook()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        sub->showMaximized();
        MdiParent::settle();
        const QRect area = parent.mdi->mdiArea()->viewport()->rect();
        for (const TkavUIStyle look : {TkavUIStyle::WinXP, TkavUIStyle::MacOS, TkavUIStyle::BlueGlass, TkavUIStyle::WinXP}) {
            formOf(sub)->setUIStyle(look);
            MdiParent::settle();
            QVERIFY(sub->isMaximized());
            QCOMPARE(sub->geometry(), area);
            const int border = formOf(sub)->BorderWidth();
            QCOMPARE(formOf(sub)->geometry(), QRect(border, border, area.width() - 2 * border - 3, area.height() - 2 * border - 3));
        }
    }

    void keysOfTheParent()
    {
        MdiParent parent;
        QMdiSubWindow *first = parent.addSkinnedChild(QStringLiteral("One"));
        QMdiSubWindow *second = parent.addSkinnedChild(QStringLiteral("Two"));
        parent.mdi->mdiArea()->setActiveSubWindow(second);
        QVERIFY(QTest::qWaitForWindowActive(parent.window.get()));
        QWidget *focus = second->widget();
        // Ctrl+F6 and Ctrl+Shift+F6 go through the children.
        QTest::keyClick(focus, Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(parent.mdi->mdiArea()->activeSubWindow(), first);
        QTest::keyClick(first->widget(), Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(parent.mdi->mdiArea()->activeSubWindow(), second);

        // Alt+Space: the parent's window menu, under the parent's title bar; Alt+Minus the active
        // child's, under the child's.
        QTest::keyClick(second->widget(), Qt::Key_Space, Qt::AltModifier);
        QMenu *parentMenu = parent.mdi->TitleBar()->windowMenu();
        QTRY_VERIFY(parentMenu->isVisible());
        QCOMPARE(parentMenu->pos(), parent.window->mapToGlobal(QPoint(0, parent.mdi->TitleBar()->height())));
        QVERIFY(!formOf(second)->TitleBar()->windowMenu()->isVisible());
        parentMenu->close();
        QTest::keyClick(second->widget(), Qt::Key_Minus, Qt::AltModifier);
        QMenu *childMenu = formOf(second)->TitleBar()->windowMenu();
        QTRY_VERIFY(childMenu->isVisible());
        QCOMPARE(childMenu->pos(), second->widget()->mapToGlobal(QPoint(0, formOf(second)->TitleBar()->height())));
        childMenu->close();
    }

    void childEdgesShowTheSizingCursor()
    {
        MdiParent parent;
        QMdiSubWindow *sub = parent.addSkinnedChild(QStringLiteral("Child"));
        sub->setGeometry(60, 40, 300, 200);
        QWidget *child = sub->widget();
        const auto moveTo = [child](const QPoint &at) {
            QMouseEvent move(QEvent::MouseMove, at, at, child->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(child, &move);
        };
        QWindow *handle = parent.window->windowHandle();
        moveTo(QPoint(298, 100));
        QCOMPARE(handle->cursor().shape(), Qt::SizeHorCursor);
        moveTo(QPoint(298, 198));
        QCOMPARE(handle->cursor().shape(), Qt::SizeFDiagCursor);
        moveTo(QPoint(150, 100));
        QCOMPARE(handle->cursor().shape(), Qt::ArrowCursor);
    }

    void tileLeavesMinimisedChildrenAlone()
    {
        MdiParent parent;
        QMdiSubWindow *first = parent.addSkinnedChild(QStringLiteral("One"));
        QMdiSubWindow *second = parent.addSkinnedChild(QStringLiteral("Two"));
        QMdiSubWindow *third = parent.addSkinnedChild(QStringLiteral("Three"));
        second->showMinimized();
        MdiParent::settle();
        const QRect minimizedAt = second->geometry();
        parent.mdi->Tile(TileMode::Vertical);
        QCOMPARE(second->geometry(), minimizedAt);
        QCOMPARE(first->geometry().top(), 0);
        QCOMPARE(third->geometry().top(), 0);
        QCOMPARE(first->width(), third->width());
        QVERIFY(first->geometry().left() != third->geometry().left());
    }
};

QTEST_MAIN(TestKavMdiForm)
#include "tst_kavmdiform.moc"
