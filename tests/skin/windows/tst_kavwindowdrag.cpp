// Moving and sizing a frameless window where no window manager takes it (the offscreen platform
// refuses startSystemMove, like an X server without a window manager): the window follows the
// mouse itself, keeps its size limits, and Escape puts it back.

#include "KAVWindowDrag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

using namespace Kav;

class TestKavWindowDrag : public QObject {
    Q_OBJECT

private:
    static void mouse(QWidget *target, QEvent::Type type, const QPoint &global, Qt::MouseButtons buttons)
    {
        const QPointF local = target->mapFromGlobal(global);
        QMouseEvent event(type, local, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

private Q_SLOTS:
    void resizedGeometry_data()
    {
        QTest::addColumn<int>("edges");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<QRect>("expected");
        // The window is (100, 100, 400 x 300), minimum 125 x 50, maximum 600 x 500.
        QTest::newRow("right grows") << int(Qt::RightEdge) << QPoint(30, 99) << QRect(100, 100, 430, 300);
        QTest::newRow("left grows, right edge stays") << int(Qt::LeftEdge) << QPoint(-20, 0) << QRect(80, 100, 420, 300);
        QTest::newRow("top shrinks, bottom edge stays") << int(Qt::TopEdge) << QPoint(0, 40) << QRect(100, 140, 400, 260);
        QTest::newRow("bottom-right") << int(Qt::BottomEdge | Qt::RightEdge) << QPoint(10, 20) << QRect(100, 100, 410, 320);
        QTest::newRow("left stops at the minimum width") << int(Qt::LeftEdge) << QPoint(1000, 0) << QRect(375, 100, 125, 300);
        QTest::newRow("top stops at the minimum height") << int(Qt::TopEdge) << QPoint(0, 1000) << QRect(100, 350, 400, 50);
        QTest::newRow("right stops at the maximum width") << int(Qt::RightEdge) << QPoint(1000, 0) << QRect(100, 100, 600, 300);
        QTest::newRow("top-left") << int(Qt::TopEdge | Qt::LeftEdge) << QPoint(-5, -5) << QRect(95, 95, 405, 305);
    }
    void resizedGeometry()
    {
        QFETCH(int, edges);
        QFETCH(QPoint, delta);
        QFETCH(QRect, expected);
        QCOMPARE(KavResizedGeometry(QRect(100, 100, 400, 300), Qt::Edges(edges), delta, QSize(125, 50),
                                    QSize(600, 500)),
                 expected);
    }

    void resizeCursor_data()
    {
        QTest::addColumn<int>("edges");
        QTest::addColumn<int>("shape");
        QTest::newRow("none") << 0 << int(Qt::ArrowCursor);
        QTest::newRow("left") << int(Qt::LeftEdge) << int(Qt::SizeHorCursor);
        QTest::newRow("bottom") << int(Qt::BottomEdge) << int(Qt::SizeVerCursor);
        QTest::newRow("top-left") << int(Qt::TopEdge | Qt::LeftEdge) << int(Qt::SizeFDiagCursor);
        QTest::newRow("bottom-right") << int(Qt::BottomEdge | Qt::RightEdge) << int(Qt::SizeFDiagCursor);
        QTest::newRow("top-right") << int(Qt::TopEdge | Qt::RightEdge) << int(Qt::SizeBDiagCursor);
        QTest::newRow("bottom-left") << int(Qt::BottomEdge | Qt::LeftEdge) << int(Qt::SizeBDiagCursor);
    }
    void resizeCursor()
    {
        QFETCH(int, edges);
        QFETCH(int, shape);
        QCOMPARE(int(KavResizeCursor(Qt::Edges(edges))), shape);
    }

    void mouseMoveFollowsUntilRelease()
    {
        QWidget window;
        window.setGeometry(100, 100, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint origin = window.pos();
        const QPoint start = window.mapToGlobal(QPoint(50, 10));
        QVERIFY(!KavStartWindowMove(&window, start)); // offscreen: the window moves itself
        QVERIFY(KavWindowDragActive(&window));
        mouse(&window, QEvent::MouseMove, start + QPoint(25, 40), Qt::LeftButton);
        QCOMPARE(window.pos(), origin + QPoint(25, 40));
        mouse(&window, QEvent::MouseButtonRelease, start + QPoint(25, 40), Qt::NoButton);
        QCoreApplication::processEvents();
        QVERIFY(!KavWindowDragActive(&window));
        mouse(&window, QEvent::MouseMove, start + QPoint(90, 90), Qt::NoButton);
        QCOMPARE(window.pos(), origin + QPoint(25, 40));
    }

    void mouseResizeSetsAndRestoresTheCursor()
    {
        QWidget window;
        window.setGeometry(100, 100, 300, 200);
        window.setMinimumSize(125, 50);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.mapToGlobal(QPoint(299, 199));
        KavStartWindowResize(&window, Qt::RightEdge | Qt::BottomEdge, start);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeFDiagCursor);
        mouse(&window, QEvent::MouseMove, start + QPoint(-500, 10), Qt::LeftButton);
        QCOMPARE(window.size(), QSize(125, 210));
        // A release the window never sees (it happened over another window): the next move
        // without a button ends the drag, and the cursor is not left in its sizing shape.
        mouse(&window, QEvent::MouseMove, start, Qt::NoButton);
        QCoreApplication::processEvents();
        QVERIFY(!KavWindowDragActive(&window));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void keyboardMoveAndEscape()
    {
        QWidget window;
        window.setGeometry(100, 100, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint origin = window.pos();
        KavStartKeyboardMove(&window);
        QTest::keyClick(&window, Qt::Key_Right);
        QTest::keyClick(&window, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(window.pos(), origin + QPoint(10, 1));
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.pos(), origin);
        QCoreApplication::processEvents();
        QVERIFY(!KavWindowDragActive(&window));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void keyboardMoveFollowsTheMouseUntilAClick()
    {
        // Move chosen from the window menu: the mouse moves the window too, with no button held,
        // and a click ends it where it is.
        QWidget window;
        window.setGeometry(100, 100, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint origin = window.pos();
        KavStartKeyboardMove(&window);
        const QPoint start = window.mapToGlobal(QPoint(150, 10));
        mouse(&window, QEvent::MouseMove, start, Qt::NoButton);
        mouse(&window, QEvent::MouseMove, start + QPoint(40, 25), Qt::NoButton);
        QCOMPARE(window.pos(), origin + QPoint(40, 25));
        QTest::keyClick(&window, Qt::Key_Left);
        QCOMPARE(window.pos(), origin + QPoint(30, 25));
        mouse(&window, QEvent::MouseButtonPress, window.mapToGlobal(QPoint(150, 10)), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!KavWindowDragActive(&window));
        QCOMPARE(window.pos(), origin + QPoint(30, 25));
        QVERIFY(QWidget::mouseGrabber() == nullptr);
    }

    void keyboardResizeEndsWithEnter()
    {
        QWidget window;
        window.setGeometry(100, 100, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        KavStartKeyboardResize(&window);
        QTest::keyClick(&window, Qt::Key_Left);
        QTest::keyClick(&window, Qt::Key_Up);
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(window.geometry(), QRect(100, 100, 290, 190));
        QCoreApplication::processEvents();
        QTest::keyClick(&window, Qt::Key_Left); // over: keys are the window's own again
        QCOMPARE(window.geometry(), QRect(100, 100, 290, 190));
    }

    void maximisedWindowDoesNotMove()
    {
        QWidget window;
        window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!KavStartWindowMove(&window, QPoint(10, 10)));
        QVERIFY(!KavWindowDragActive(&window));
    }
};

QTEST_MAIN(TestKavWindowDrag)
#include "tst_kavwindowdrag.moc"
