// The frame sizer: which edges a point sizes (a pure function, the window's hit test), and the one
// filter that shows the sizing cursor and starts sizing for every skinned window.
#include "KAVFrameSizer.h"
#include "KAVMetrics.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

namespace {

constexpr Qt::Edges None;
constexpr Qt::Edges Left = Qt::LeftEdge, Right = Qt::RightEdge, Top = Qt::TopEdge, Bottom = Qt::BottomEdge;

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPointF at(local);
    QMouseEvent event(type, at, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Counts the presses that reach a control.
class PressCounter : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

} // namespace

class TestFrameSizer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void edges_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("band");
        QTest::addColumn<Qt::Edges>("edges");
        const QSize frame(400, 300);
        QTest::addRow("middle") << frame << QPoint(200, 150) << 5 << None;
        QTest::addRow("left edge") << frame << QPoint(0, 150) << 5 << Left;
        QTest::addRow("left, last pixel of the band") << frame << QPoint(4, 150) << 5 << Left;
        QTest::addRow("left, just past the band") << frame << QPoint(5, 150) << 5 << None;
        // The right and bottom bands are a pixel narrower: x > width - band.
        QTest::addRow("right edge") << frame << QPoint(399, 150) << 5 << Right;
        QTest::addRow("right, last pixel of the band") << frame << QPoint(396, 150) << 5 << Right;
        QTest::addRow("right, just past the band") << frame << QPoint(395, 150) << 5 << None;
        QTest::addRow("top") << frame << QPoint(200, 4) << 5 << Top;
        QTest::addRow("bottom") << frame << QPoint(200, 296) << 5 << Bottom;
        QTest::addRow("bottom, just past the band") << frame << QPoint(200, 295) << 5 << None;
        QTest::addRow("top-left") << frame << QPoint(0, 0) << 5 << (Left | Top);
        QTest::addRow("top-right") << frame << QPoint(396, 3) << 5 << (Right | Top);
        QTest::addRow("bottom-right") << frame << QPoint(397, 297) << 5 << (Right | Bottom);
        QTest::addRow("bottom-left") << frame << QPoint(0, 299) << 5 << (Left | Bottom);
        QTest::addRow("outside, left") << frame << QPoint(-1, 150) << 5 << None;
        QTest::addRow("outside, below") << frame << QPoint(200, 300) << 5 << None;
        QTest::addRow("no band") << frame << QPoint(0, 0) << 0 << None;
        QTest::addRow("empty frame") << QSize(0, 0) << QPoint(0, 0) << 5 << None;
        // A frame narrower than both bands: left wins over right, top over bottom.
        QTest::addRow("tiny frame") << QSize(6, 6) << QPoint(3, 3) << 5 << (Left | Top);
        QTest::addRow("tiny frame, far corner") << QSize(6, 6) << QPoint(5, 5) << 5 << (Right | Bottom);
    }
    void edges()
    {
        QFETCH(QSize, size);
        QFETCH(QPoint, point);
        QFETCH(int, band);
        QFETCH(Qt::Edges, edges);
        QCOMPARE(Kav::sizingEdges(size, point, band), edges);
    }

    void edgesEverywhere()
    {
        // Every point of every small frame, with every band: never two opposite edges, an edge
        // only inside the frame and within its band, and every point of the left and top bands
        // sizes that edge.
        for (int band = 0; band <= 4; ++band) {
            for (int width = 0; width <= 10; ++width) {
                for (int height = 0; height <= 10; ++height) {
                    for (int x = -1; x <= width; ++x) {
                        for (int y = -1; y <= height; ++y) {
                            const Qt::Edges edges = Kav::sizingEdges(QSize(width, height), QPoint(x, y), band);
                            const bool inside = x >= 0 && y >= 0 && x < width && y < height;
                            const QString where = QStringLiteral("%1x%2 at %3,%4 band %5").arg(width).arg(height).arg(x).arg(y).arg(band);
                            QVERIFY2(inside || !edges, qPrintable(where));
                            QVERIFY2(!(edges & Left) || !(edges & Right), qPrintable(where));
                            QVERIFY2(!(edges & Top) || !(edges & Bottom), qPrintable(where));
                            QVERIFY2(!(edges & Left) || x < band, qPrintable(where));
                            QVERIFY2(!(edges & Right) || width - x < band, qPrintable(where));
                            QVERIFY2(!(edges & Top) || y < band, qPrintable(where));
                            QVERIFY2(!(edges & Bottom) || height - y < band, qPrintable(where));
                            if (inside && x < band)
                                QVERIFY2(edges & Left, qPrintable(where));
                            if (inside && y < band)
                                QVERIFY2(edges & Top, qPrintable(where));
                        }
                    }
                }
            }
        }
    }

    void pressOnTheBandSizesAndTheControlGetsNothing()
    {
        QWidget window;
        window.resize(200, 100);
        auto *control = new PressCounter(&window);
        control->setGeometry(0, 0, 200, 100); // covers the window, edges included
        Qt::Edges started;
        Kav::TkavFrameSizer::Behaviour behaviour;
        behaviour.start = [&started](Qt::Edges edges, const QPoint &) { started = edges; };
        Kav::TkavFrameSizer sizer(&window, behaviour);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        sendMouse(control, QEvent::MouseButtonPress, QPoint(100, 50), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(control->presses, 1);
        QCOMPARE(started, None);
        sendMouse(control, QEvent::MouseButtonPress, QPoint(198, 98), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(control->presses, 1);
        QCOMPARE(started, Right | Bottom);
        // Other buttons are the control's.
        sendMouse(control, QEvent::MouseButtonPress, QPoint(1, 50), Qt::RightButton, Qt::RightButton);
        QCOMPARE(control->presses, 2);
    }

    void cursorFollowsTheBand()
    {
        QWidget window;
        window.resize(200, 100);
        auto *control = new QWidget(&window);
        control->setGeometry(0, 0, 200, 100);
        control->setCursor(Qt::IBeamCursor);
        Kav::TkavFrameSizer sizer(&window, {});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWindow *handle = window.windowHandle();

        sendMouse(control, QEvent::MouseMove, QPoint(1, 50), Qt::NoButton, Qt::NoButton);
        QCOMPARE(handle->cursor().shape(), Qt::SizeHorCursor);
        sendMouse(control, QEvent::MouseMove, QPoint(1, 1), Qt::NoButton, Qt::NoButton);
        QCOMPARE(handle->cursor().shape(), Qt::SizeFDiagCursor);
        // Off the band the window shows the cursor of the control under the mouse again.
        sendMouse(control, QEvent::MouseMove, QPoint(100, 50), Qt::NoButton, Qt::NoButton);
        QCOMPARE(handle->cursor().shape(), Qt::IBeamCursor);
    }

    void noEdgesWhenNotSizeableOrYielding()
    {
        QWidget window;
        window.resize(200, 100);
        bool sizeable = false;
        bool yields = false;
        Kav::TkavFrameSizer::Behaviour behaviour;
        behaviour.sizeable = [&sizeable] { return sizeable; };
        behaviour.yields = [&yields](const QPoint &) { return yields; };
        Kav::TkavFrameSizer sizer(&window, behaviour);
        const QPoint corner = window.mapToGlobal(QPoint(0, 0));
        QCOMPARE(sizer.edgesAt(corner), None);
        sizeable = true;
        QCOMPARE(sizer.edgesAt(corner), Left | Top);
        yields = true; // another frame's edges win there
        QCOMPARE(sizer.edgesAt(corner), None);
    }
};

QTEST_MAIN(TestFrameSizer)
#include "tst_kavframesizer.moc"
