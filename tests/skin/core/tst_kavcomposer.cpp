#include "KAVComposer.h"

#include <QPainter>
#include <QtTest>

using namespace Kav;

namespace {

// A widget that paints itself in one colour.
class Solid : public QWidget {
public:
    Solid(QWidget *parent, QColor colour) : QWidget(parent), m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

// A container whose own face must not show through the controls on it.
class SeeThroughPage : public Solid {
    Q_OBJECT
    Q_CLASSINFO("KavSeeThrough", "true")

public:
    using Solid::Solid;
};

} // namespace

class tst_KavComposer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void backdrops_data()
    {
        QTest::addColumn<bool>("onPage");
        QTest::addColumn<bool>("behind");
        QTest::addColumn<QColor>("expected");
        QTest::addRow("fill") << false << false << QColor(Qt::yellow);
        QTest::addRow("behind shows the parent") << false << true << QColor(Qt::blue);
        QTest::addRow("fill on a page") << true << false << QColor(Qt::yellow);
        QTest::addRow("behind on a page shows what lies behind the page") << true << true << QColor(Qt::blue);
    }

    // The backdrop is the colour, or what lies behind the control; on a see-through page, what lies
    // behind the page.
    void backdrops()
    {
        QFETCH(bool, onPage);
        QFETCH(bool, behind);
        QFETCH(QColor, expected);
        Solid window(nullptr, Qt::blue);
        window.resize(100, 100);
        QWidget *host = &window;
        if (onPage) {
            host = new SeeThroughPage(&window, Qt::red);
            host->setGeometry(10, 10, 80, 80);
        }
        QWidget control(host);
        control.setGeometry(5, 5, 20, 10);
        window.show();
        const Backdrop backdrop = behind ? Backdrop::behind(Qt::yellow) : Backdrop::filled(Qt::yellow);
        bool drawn = false;
        const QImage face = KavComposeFace(&control, backdrop, [&](QImage &image) {
            drawn = true;
            QCOMPARE(image.size(), QSize(20, 10));
            QCOMPARE(image.format(), QImage::Format_RGB32);
        });
        QVERIFY(drawn);
        QCOMPARE(face.pixelColor(0, 0), expected);
        QCOMPARE(face.pixelColor(19, 9), expected);
        QCOMPARE(KavIsSeeThrough(host), onPage);
    }

    void emptyControlComposesNothing()
    {
        QWidget control;
        control.resize(0, 5);
        bool drawn = false;
        QVERIFY(KavComposeFace(&control, Backdrop::filled(Qt::white), [&](QImage &) { drawn = true; }).isNull());
        QVERIFY(!drawn);
    }
};

QTEST_MAIN(tst_KavComposer)
#include "tst_kavcomposer.moc"
