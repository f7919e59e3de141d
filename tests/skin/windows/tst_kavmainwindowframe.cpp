// A skinned form on a QMainWindow: the window's menu bar, tool bars, dock widgets, central widget
// and status bar lie inside the skinned frame, under the title bar, and go on working there
// (docking, floating, the separators between docks, sizing the window).

#include "KAVForm.h"
#include "KAVMainMenu.h"
#include "KAVTitleBar.h"
#include "KAVWindowDrag.h"

#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include <memory>

namespace {

// A main window as programs make them, with the one line that skins it.
struct SkinnedMainWindow {
    std::unique_ptr<QMainWindow> window = std::make_unique<QMainWindow>();
    QToolBar *tools = nullptr;
    QDockWidget *dock = nullptr;
    QTextEdit *central = nullptr;
    TkavForm *form = nullptr;

    explicit SkinnedMainWindow(TkavUIStyle look = TkavUIStyle::WinXP)
    {
        window->setWindowTitle(QStringLiteral("Main window"));
        window->menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open"));
        tools = window->addToolBar(QStringLiteral("Tools"));
        tools->addAction(QStringLiteral("Bold"));
        dock = new QDockWidget(QStringLiteral("Pupils"), window.get());
        dock->setWidget(new QLabel(QStringLiteral("Anna\nBen")));
        window->addDockWidget(Qt::LeftDockWidgetArea, dock);
        central = new QTextEdit;
        window->setCentralWidget(central);
        window->statusBar()->showMessage(QStringLiteral("Ready"));
        window->resize(600, 400);

        form = new TkavForm(window.get()); // the one line
        form->setUIStyle(look);
    }

    void show()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // The part of the window inside the frame: under the title bar, within the border.
    QRect inside() const
    {
        const int border = form->BorderWidth();
        const int top = form->TitleBar()->height();
        return QRect(border, top, window->width() - 2 * border, window->height() - top - border);
    }

    // The window's own widgets, as the window places them.
    QList<QWidget *> parts() const
    {
        return {window->menuBar(), tools, dock, central, window->statusBar()};
    }
};

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &windowPos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    const QPoint global = target->window()->mapToGlobal(windowPos);
    const QPointF local = target->mapFromGlobal(global);
    QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Where a part of the window lies, in window coordinates.
QRect placeOf(const QWidget *part)
{
    return QRect(part->mapTo(part->window(), QPoint(0, 0)), part->size());
}

} // namespace

class TestKavMainWindowFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partsLieInsideTheFrame_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        QTest::addColumn<TkavUIStyle>("switchedTo");
        QTest::newRow("MacOS") << TkavUIStyle::MacOS << TkavUIStyle::MacOS;
        QTest::newRow("WinXP") << TkavUIStyle::WinXP << TkavUIStyle::WinXP;
        QTest::newRow("DeepBlue") << TkavUIStyle::DeepBlue << TkavUIStyle::DeepBlue;
        QTest::newRow("Protein") << TkavUIStyle::Protein << TkavUIStyle::Protein;
        QTest::newRow("BlueGlass") << TkavUIStyle::BlueGlass << TkavUIStyle::BlueGlass;
        // Another look brings another border and title bar: the parts follow.
        QTest::newRow("WinXP, then MacOS") << TkavUIStyle::WinXP << TkavUIStyle::MacOS;
        QTest::newRow("MacOS, then BlueGlass") << TkavUIStyle::MacOS << TkavUIStyle::BlueGlass;
    }
    void partsLieInsideTheFrame()
    {
        QFETCH(TkavUIStyle, look);
        QFETCH(TkavUIStyle, switchedTo);
        SkinnedMainWindow skinned(look);
        skinned.show();
        skinned.form->setUIStyle(switchedTo);
        QCoreApplication::processEvents();

        QVERIFY(skinned.window->windowFlags() & Qt::FramelessWindowHint);
        const QRect inside = skinned.inside();
        // The form is the title bar's strip: it covers none of the window's widgets.
        QCOMPARE(placeOf(skinned.form), QRect(inside.left(), 0, inside.width(), inside.top()));
        QCOMPARE(placeOf(skinned.form->TitleBar()), QRect(inside.left(), 0, inside.width(), inside.top()));
        for (QWidget *part : skinned.parts()) {
            QVERIFY2(part->isVisible(), part->metaObject()->className());
            QVERIFY2(!part->size().isEmpty(), part->metaObject()->className());
            QVERIFY2(inside.contains(placeOf(part)), part->metaObject()->className());
        }
        // The menu bar right under the title bar, the status bar on the bottom border, the text
        // between the dock and the right border.
        QCOMPARE(placeOf(skinned.window->menuBar()).topLeft(), inside.topLeft());
        QCOMPARE(placeOf(skinned.window->menuBar()).width(), inside.width());
        QCOMPARE(placeOf(skinned.window->statusBar()).bottom(), inside.bottom());
        QCOMPARE(placeOf(skinned.central).right(), inside.right());
        QVERIFY(placeOf(skinned.dock).right() < placeOf(skinned.central).left());
    }

    void drawsTheFrameAroundTheWindow()
    {
        SkinnedMainWindow skinned(TkavUIStyle::WinXP);
        skinned.show();
        const QImage image = skinned.window->grab().toImage();
        const QColor border = skinned.form->BorderColor().resolved();
        const QRect inside = skinned.inside();
        QCOMPARE(image.pixelColor(0, 200), border);
        QCOMPARE(image.pixelColor(image.width() - 1, 200), border);
        QCOMPARE(image.pixelColor(300, image.height() - 1), border);
        // The window's background under its widgets is the form's: the status bar shows it.
        const QRect status = placeOf(skinned.window->statusBar());
        QCOMPARE(image.pixelColor(status.center()), skinned.form->Color().resolved());
        // And the title bar is the skinned one, not something the window drew over it.
        const QImage title = skinned.form->TitleBar()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect middle(0, 8, inside.width(), inside.top() - 16); // not the rounded corners
        QCOMPARE(image.copy(middle.translated(inside.left(), 0)).convertToFormat(QImage::Format_RGB32), title.copy(middle));
    }

    void menuBarOfTheWindowIsTheFormsMenu_data()
    {
        QTest::addColumn<QString>("made");
        QTest::newRow("before the form") << QStringLiteral("before");
        QTest::newRow("after the form") << QStringLiteral("after");
        QTest::newRow("a main menu made on the window") << QStringLiteral("main menu");
    }
    void menuBarOfTheWindowIsTheFormsMenu()
    {
        QFETCH(QString, made);
        QMainWindow window;
        window.setCentralWidget(new QTextEdit);
        QMenuBar *bar = nullptr;
        if (made == QLatin1String("before"))
            bar = window.menuBar();
        auto *form = new TkavForm(&window);
        if (made == QLatin1String("after"))
            bar = window.menuBar();
        if (made == QLatin1String("main menu")) {
            bar = new TkavMainMenu(&window);
            QCOMPARE(window.menuWidget(), bar);
        }
        QMenu *file = bar->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("&Open"));
        window.resize(400, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QCOMPARE(form->Menu(), bar);
        QCOMPARE(bar->parentWidget(), &window); // the window lays it out
        QCOMPARE(placeOf(bar).top(), form->TitleBar()->height());
        QCOMPARE(bar->height(), form->MenuBarHeight());
        // F10 opens it, as in any skinned window.
        window.centralWidget()->setFocus();
        QTest::keyClick(window.centralWidget(), Qt::Key_F10);
        QTRY_VERIFY(file->isVisible());
        file->close();
    }

    void dockingAndToolBarsRespond()
    {
        SkinnedMainWindow skinned;
        skinned.show();
        const QRect inside = skinned.inside();

        // A second dock on the right lies against the right border.
        auto *notes = new QDockWidget(QStringLiteral("Notes"), skinned.window.get());
        notes->setWidget(new QLabel(QStringLiteral("Notes")));
        skinned.window->addDockWidget(Qt::RightDockWidgetArea, notes);
        QTRY_COMPARE(placeOf(notes).right(), inside.right());
        QVERIFY(inside.contains(placeOf(notes)));

        // A floating dock leaves the window and comes back inside the frame.
        skinned.dock->setFloating(true);
        QTRY_VERIFY(skinned.dock->isWindow());
        QTRY_COMPARE(placeOf(skinned.central).left(), inside.left());
        skinned.dock->setFloating(false);
        QTRY_VERIFY(!skinned.dock->isWindow());
        QTRY_VERIFY(inside.contains(placeOf(skinned.dock)));
        QTRY_VERIFY(placeOf(skinned.dock).right() < placeOf(skinned.central).left());

        // A tool bar moved to the left edge stays inside the frame, below the menu bar.
        skinned.window->addToolBar(Qt::LeftToolBarArea, skinned.tools);
        QTRY_COMPARE(placeOf(skinned.tools).left(), inside.left());
        QVERIFY(placeOf(skinned.tools).top() > placeOf(skinned.window->menuBar()).bottom());
        QCOMPARE(skinned.tools->orientation(), Qt::Vertical);
    }

    void separatorBetweenDocksSizesThem()
    {
        SkinnedMainWindow skinned;
        skinned.show();
        const QRect dock = placeOf(skinned.dock);
        const QPoint separator((dock.right() + placeOf(skinned.central).left()) / 2, dock.center().y());
        // The window itself is under the mouse there (the form covers none of it) ...
        QCOMPARE(skinned.window->childAt(separator), nullptr);
        // ... and drags the separator.
        QWidget *window = skinned.window.get();
        sendMouse(window, QEvent::MouseButtonPress, separator, Qt::LeftButton, Qt::LeftButton);
        // The window moves the separator on a timer after each move.
        sendMouse(window, QEvent::MouseMove, separator + QPoint(20, 0), Qt::NoButton, Qt::LeftButton);
        QTest::qWait(20);
        sendMouse(window, QEvent::MouseMove, separator + QPoint(40, 0), Qt::NoButton, Qt::LeftButton);
        QTest::qWait(20);
        sendMouse(window, QEvent::MouseButtonRelease, separator + QPoint(40, 0), Qt::LeftButton, Qt::NoButton);
        QTRY_COMPARE(skinned.dock->width(), dock.width() + 40);
    }

    void sizingTheWindowKeepsThePartsInside()
    {
        SkinnedMainWindow skinned;
        skinned.show();
        const QSize central = skinned.central->size();
        const QSize before = skinned.window->size();

        skinned.window->resize(700, 480);
        QTRY_COMPARE(skinned.central->size(), central + QSize(700, 480) - before);
        QCOMPARE(placeOf(skinned.window->statusBar()).bottom(), skinned.inside().bottom());
        QCOMPARE(skinned.form->width(), skinned.inside().width());
        // The form's Height is all it frames, as on any window: set back, it keeps the size.
        QCOMPARE(skinned.form->Height(), 480 - skinned.form->BorderWidth());
        skinned.form->setHeight(skinned.form->Height());
        skinned.form->setWidth(skinned.form->Width());
        QCOMPARE(skinned.window->size(), QSize(700, 480));

        // The window's edge sizes it, also where a part of the window reaches the edge.
        QWidget *status = skinned.window->statusBar();
        const QPoint bottom(300, skinned.window->height() - 2);
        sendMouse(status, QEvent::MouseButtonPress, bottom, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(Kav::KavWindowDragActive(skinned.window.get())); // offscreen: the window sizes itself
        sendMouse(status, QEvent::MouseMove, bottom + QPoint(0, 30), Qt::NoButton, Qt::LeftButton);
        sendMouse(status, QEvent::MouseButtonRelease, bottom + QPoint(0, 30), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(skinned.window->height(), 510);
        QTRY_COMPARE(skinned.central->height(), central.height() + 510 - before.height());
        QCOMPARE(placeOf(skinned.window->statusBar()).bottom(), skinned.inside().bottom());

        // Maximised and back, the parts fill the frame.
        skinned.window->showMaximized();
        QTRY_VERIFY(skinned.window->isMaximized());
        QTRY_COMPARE(placeOf(skinned.window->statusBar()).bottom(), skinned.inside().bottom());
        skinned.window->showNormal();
        QTRY_COMPARE(skinned.window->size(), QSize(700, 510));
        QTRY_COMPARE(placeOf(skinned.window->statusBar()).bottom(), skinned.inside().bottom());
    }

    void titleBarHiddenLeavesATopBorder()
    {
        SkinnedMainWindow skinned;
        skinned.show();
        skinned.form->setTitleBarVisible(false);
        const int border = skinned.form->BorderWidth();
        QTRY_COMPARE(placeOf(skinned.window->menuBar()).top(), border);
        QCOMPARE(skinned.window->contentsMargins(), QMargins(border, border, border, border));
    }
};

QTEST_MAIN(TestKavMainWindowFrame)
#include "tst_kavmainwindowframe.moc"
