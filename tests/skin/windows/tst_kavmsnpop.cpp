// The pop-up notice: where it stands, how it slides in, stays and slides out on a driven clock,
// what a press or click on it does, a second pop-up while one shows, and how it paints and
// describes itself to assistive tools.

#include "KAVFunctions.h"
#include "KAVMSNPopForm.h"
#include "KAVMetrics.h"
#include "tst_kavmsnpop_clock.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace Kav;

Q_DECLARE_METATYPE(Kav::NoticeHit)
Q_DECLARE_METATYPE(Kav::NoticePhase)

namespace {

const QSize noticeSize(181, 116);

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(local), target->mapToGlobal(QPointF(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void click(QWidget *target, const QPoint &local)
{
    sendMouse(target, QEvent::MouseButtonPress, local);
    sendMouse(target, QEvent::MouseButtonRelease, local);
}

// A notice on a driven clock, shown and fully slid in.
struct ShownNotice {
    KavTest::NoticeClock clock;
    TkavMSNPopForm notice;
    explicit ShownNotice(int animateMs = 400, int stayMs = 2000)
    {
        notice.setClock(clock.clock());
        notice.setAnimateTime(animateMs);
        notice.setStayTime(stayMs);
        notice.setTitle(QStringLiteral("Title"));
        notice.setMessageText(QStringLiteral("Message"));
        notice.Popup();
        clock.advance(animateMs + 20);
    }
    TfrmMSNPopForm *window() const { return notice.window(); }
};

} // namespace

class TestKavMSNPop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaults()
    {
        TkavMSNPopForm notice;
        QCOMPARE(notice.AnimateTime(), 400);
        QCOMPARE(notice.StayTime(), 2000);
        QVERIFY(notice.AutoPosition());
        QVERIFY(!notice.ClickHide());
        QCOMPARE(notice.TitleFontColor(), TColor(0x800000));
        QCOMPARE(notice.MessageFontColor(), TColor(0x800000));
        TfrmMSNPopForm *window = notice.window();
        QVERIFY(!window->isVisible());
        QCOMPARE(window->size(), noticeSize);
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(window->focusPolicy(), Qt::NoFocus);
    }

    void origin_data()
    {
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<bool>("autoPosition");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("bottom-right of the screen") << QRect(0, 0, 1024, 768) << true << QPoint() << QPoint(1024 - 181 - 18, 768 - 116);
        QTest::newRow("work area away from the origin") << QRect(100, 30, 800, 570) << true << QPoint(5, 5) << QPoint(900 - 181 - 18, 600 - 116);
        QTest::newRow("given position") << QRect(0, 0, 1024, 768) << false << QPoint(100, 100) << QPoint(100, 100);
        QTest::newRow("given position off the area") << QRect(0, 0, 1024, 768) << false << QPoint(-50, 2000) << QPoint(-50, 2000);
    }
    void origin()
    {
        QFETCH(QRect, workArea);
        QFETCH(bool, autoPosition);
        QFETCH(QPoint, position);
        QFETCH(QPoint, expected);
        QCOMPARE(noticeOrigin(workArea, noticeSize, autoPosition, position), expected);
    }

    void hitAt_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<Kav::NoticeHit>("expected");
        QTest::newRow("close box") << QPoint(170, 10) << NoticeHit::CloseBox;
        QTest::newRow("close box top-left") << QPoint(162, 6) << NoticeHit::CloseBox;
        QTest::newRow("close box bottom-right") << QPoint(175, 19) << NoticeHit::CloseBox;
        QTest::newRow("left of the close box") << QPoint(161, 10) << NoticeHit::Body;
        QTest::newRow("below the close box") << QPoint(170, 20) << NoticeHit::Body;
        QTest::newRow("right of the close box") << QPoint(176, 10) << NoticeHit::Body;
        QTest::newRow("title") << QPoint(20, 10) << NoticeHit::Title;
        QTest::newRow("title's last column") << QPoint(160, 22) << NoticeHit::Title;
        QTest::newRow("under the title") << QPoint(20, 23) << NoticeHit::Body;
        QTest::newRow("message") << QPoint(90, 70) << NoticeHit::Body;
        QTest::newRow("left edge") << QPoint(0, 100) << NoticeHit::Body;
        QTest::newRow("outside") << QPoint(181, 10) << NoticeHit::Nothing;
    }
    void hitAt()
    {
        QFETCH(QPoint, point);
        QFETCH(Kav::NoticeHit, expected);
        QCOMPARE(noticeHitAt(noticeSize, point), expected);
    }

    // The notice's course with defaults and the default place: it rises from the work area's
    // bottom over AnimateTime, stays StayTime (hidden at the first check past it), and sinks.
    void course_data()
    {
        QTest::addColumn<int>("animateMs");
        QTest::addColumn<int>("stayMs");
        QTest::addColumn<int>("atMs");
        QTest::addColumn<Kav::NoticePhase>("phase");
        QTest::addColumn<int>("shownRows");
        QTest::newRow("just popped") << 400 << 2000 << 0 << NoticePhase::SlidingIn << 0;
        QTest::newRow("half way in") << 400 << 2000 << 200 << NoticePhase::SlidingIn << 58;
        QTest::newRow("all in") << 400 << 2000 << 410 << NoticePhase::Shown << 116;
        QTest::newRow("just before the stay is over") << 400 << 2000 << 2399 << NoticePhase::Shown << 116;
        QTest::newRow("one check after the stay") << 400 << 2000 << 2501 << NoticePhase::SlidingOut << -1;
        QTest::newRow("slid out") << 400 << 2000 << 3000 << NoticePhase::Hidden << 0;
        QTest::newRow("no slide: at once in") << 0 << 2000 << 0 << NoticePhase::Shown << 116;
        QTest::newRow("no slide: gone after the stay") << 0 << 500 << 601 << NoticePhase::Hidden << 0;
        QTest::newRow("negative times count as none") << -100 << -5 << 101 << NoticePhase::Hidden << 0;
        QTest::newRow("no stay: slides out after sliding in") << 100 << 0 << 150 << NoticePhase::SlidingOut << -1;
    }
    void course()
    {
        QFETCH(int, animateMs);
        QFETCH(int, stayMs);
        QFETCH(int, atMs);
        QFETCH(Kav::NoticePhase, phase);
        QFETCH(int, shownRows);
        KavTest::NoticeClock clock;
        TkavMSNPopForm notice;
        notice.setClock(clock.clock());
        notice.setAnimateTime(animateMs);
        notice.setStayTime(stayMs);
        notice.Popup();
        clock.advance(atMs);
        TfrmMSNPopForm *window = notice.window();
        QCOMPARE(window->phase(), phase);
        const QRect full(noticeOrigin(GetWorkAreaRect(), noticeSize, true, QPoint()), noticeSize);
        QCOMPARE(window->fullGeometry(), full);
        if (shownRows == 0) {
            QVERIFY(!window->isVisible());
        } else {
            QVERIFY(window->isVisible());
            // The window stands on the area's bottom and grows upward.
            QCOMPARE(window->geometry().bottom(), full.bottom());
            QCOMPARE(window->geometry().left(), full.left());
            if (shownRows > 0)
                QVERIFY2(qAbs(window->height() - shownRows) <= 3, qPrintable(QString::number(window->height())));
            else
                QVERIFY(window->height() < full.height());
        }
        if (phase == NoticePhase::Hidden)
            QCOMPARE(clock.running(), 0);
        else
            QCOMPARE(clock.running(), 1);
    }

    void givenPosition()
    {
        KavTest::NoticeClock clock;
        TkavMSNPopForm notice;
        notice.setClock(clock.clock());
        notice.setAutoPosition(false);
        notice.setPositionX(100);
        notice.setPositionY(100);
        notice.Popup();
        clock.advance(500);
        QCOMPARE(notice.window()->geometry(), QRect(QPoint(100, 100), noticeSize));
    }

    // A press on the close box hides the notice at once; a click elsewhere is reported as the
    // title's or the window's, and with ClickHide a click on the window slides it out.
    void press_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("clickHide");
        QTest::addColumn<int>("titleClicks");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<Kav::NoticePhase>("phase");
        QTest::newRow("close box") << QPoint(170, 10) << false << 0 << 0 << NoticePhase::Hidden;
        QTest::newRow("close box with ClickHide") << QPoint(170, 10) << true << 0 << 0 << NoticePhase::Hidden;
        QTest::newRow("left of the close box") << QPoint(161, 10) << false << 0 << 1 << NoticePhase::Shown;
        QTest::newRow("below the close box") << QPoint(170, 20) << false << 0 << 1 << NoticePhase::Shown;
        QTest::newRow("title") << QPoint(20, 10) << false << 1 << 0 << NoticePhase::Shown;
        QTest::newRow("title with ClickHide") << QPoint(20, 10) << true << 1 << 0 << NoticePhase::Shown;
        QTest::newRow("message") << QPoint(90, 70) << false << 0 << 1 << NoticePhase::Shown;
        QTest::newRow("message with ClickHide") << QPoint(90, 70) << true << 0 << 1 << NoticePhase::SlidingOut;
    }
    void press()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, clickHide);
        QFETCH(int, titleClicks);
        QFETCH(int, clicks);
        QFETCH(Kav::NoticePhase, phase);
        KavTest::NoticeClock clock;
        TkavMSNPopForm notice;
        notice.setClock(clock.clock());
        notice.setClickHide(clickHide);
        notice.Popup();
        clock.advance(500);
        QSignalSpy titleSpy(&notice, &TkavMSNPopForm::OnTitleClick);
        QSignalSpy clickSpy(&notice, &TkavMSNPopForm::OnClick);
        click(notice.window(), point);
        QCOMPARE(titleSpy.count(), titleClicks);
        QCOMPARE(clickSpy.count(), clicks);
        for (const QSignalSpy *spy : {&titleSpy, &clickSpy})
            if (!spy->isEmpty())
                QCOMPARE(spy->first().first().value<QObject *>(), &notice);
        QCOMPARE(notice.window()->phase(), phase);
        QCOMPARE(notice.window()->isVisible(), phase != NoticePhase::Hidden);
    }

    void clickNeedsPressAndReleaseOnOnePart()
    {
        ShownNotice shown;
        QSignalSpy titleSpy(&shown.notice, &TkavMSNPopForm::OnTitleClick);
        QSignalSpy clickSpy(&shown.notice, &TkavMSNPopForm::OnClick);
        sendMouse(shown.window(), QEvent::MouseButtonPress, QPoint(20, 10));
        sendMouse(shown.window(), QEvent::MouseButtonRelease, QPoint(90, 70));
        sendMouse(shown.window(), QEvent::MouseButtonPress, QPoint(90, 70), Qt::RightButton);
        sendMouse(shown.window(), QEvent::MouseButtonRelease, QPoint(90, 70), Qt::RightButton);
        QCOMPARE(titleSpy.count() + clickSpy.count(), 0);
        QCOMPARE(shown.window()->phase(), NoticePhase::Shown);
    }

    void closeSlidesOut()
    {
        ShownNotice shown;
        shown.notice.Close();
        QCOMPARE(shown.window()->phase(), NoticePhase::SlidingOut);
        shown.clock.advance(200);
        QVERIFY(shown.window()->isVisible());
        QVERIFY(shown.window()->height() < noticeSize.height());
        shown.clock.advance(250);
        QCOMPARE(shown.window()->phase(), NoticePhase::Hidden);
        QVERIFY(!shown.window()->isVisible());
        QCOMPARE(shown.clock.running(), 0);
    }

    // A pop-up while one shows: the showing notice takes the new texts and place and starts its
    // stay anew; sliding out, it turns and rises again from where it is.
    void secondPopupWhileShown()
    {
        ShownNotice shown;
        shown.clock.advance(1500);
        shown.notice.setTitle(QStringLiteral("Second"));
        shown.notice.Popup();
        QCOMPARE(shown.window()->phase(), NoticePhase::Shown);
        QCOMPARE(shown.window()->content().title, QStringLiteral("Second"));
        shown.clock.advance(1900);
        QCOMPARE(shown.window()->phase(), NoticePhase::Shown);
        shown.clock.advance(201);
        QCOMPARE(shown.window()->phase(), NoticePhase::SlidingOut);
        QCOMPARE(shown.clock.running(), 1);
    }

    void secondPopupWhileSlidingOut()
    {
        ShownNotice shown;
        shown.notice.Close();
        shown.clock.advance(100);
        const int rowsBefore = shown.window()->height();
        shown.notice.Popup();
        QCOMPARE(shown.window()->phase(), NoticePhase::SlidingIn);
        QVERIFY(qAbs(shown.window()->height() - rowsBefore) <= 3);
        shown.clock.advance(110);
        QCOMPARE(shown.window()->phase(), NoticePhase::Shown);
        QCOMPARE(shown.window()->height(), noticeSize.height());
        QCOMPARE(shown.clock.running(), 1);
    }

    // A clock that goes back (a wrapped tick counter) ends the stay instead of keeping the
    // notice up for ever.
    void clockGoingBackEndsTheStay()
    {
        ShownNotice shown;
        shown.clock.jumpTo(-100000);
        shown.clock.advance(100);
        QCOMPARE(shown.window()->phase(), NoticePhase::SlidingOut);
    }

    void freedFromItsClickHandler()
    {
        auto *clock = new KavTest::NoticeClock;
        auto *notice = new TkavMSNPopForm;
        notice->setClock(clock->clock());
        notice->setClickHide(true);
        notice->Popup();
        clock->advance(500);
        QPointer<TfrmMSNPopForm> window = notice->window();
        connect(notice, &TkavMSNPopForm::OnClick, this, [notice] { delete notice; });
        click(window, QPoint(90, 70));
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
        delete clock;
    }

    void freedWhileSliding()
    {
        KavTest::NoticeClock clock;
        {
            TkavMSNPopForm notice;
            notice.setClock(clock.clock());
            notice.Popup();
            clock.advance(100);
        }
        QCOMPARE(clock.running(), 0);
        clock.advance(5000);
    }

    void accessible()
    {
        ShownNotice shown;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(shown.window());
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Notification);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Title"));
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Message"));
    }

    void faceWithoutPicture()
    {
        TkavNoticeFaceOption option;
        option.titleColor = Qt::red;
        option.size = noticeSize;
        QImage face(noticeSize, QImage::Format_RGB32);
        face.fill(Qt::white);
        {
            QPainter painter(&face);
            paintNoticeFace(painter, option);
        }
        const QRect closeBox = noticeParts(noticeSize).closeBox;
        QRect ink;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (face.pixel(x, y) != qRgb(255, 255, 255))
                    ink |= QRect(x, y, 1, 1);
        QCOMPARE(ink, closeBox);
    }

    // The face on a plain grey picture: the title in its colour at the top left, the message
    // centred in its own colour, the picture everywhere else.
    void face()
    {
        QImage plain(noticeSize, QImage::Format_RGB32);
        plain.fill(QColor(200, 200, 200));
        TkavNoticeFaceOption option;
        option.background = TkavPictureStore::instance().userPicture(plain);
        option.title = QStringLiteral("WWWW");
        option.text = QStringLiteral("WW");
        option.titleColor = Qt::red;
        option.textColor = Qt::blue;
        option.size = noticeSize;
        QImage face(noticeSize, QImage::Format_RGB32);
        face.fill(Qt::black);
        {
            QPainter painter(&face);
            paintNoticeFace(painter, option);
        }
        const NoticeParts parts = noticeParts(noticeSize);
        QRect titleInk, textInk;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                const QColor c = face.pixelColor(x, y);
                const QPoint p(x, y);
                if (c == QColor(200, 200, 200))
                    continue;
                if (c.red() > c.blue() + 40) {
                    QVERIFY2(parts.title.contains(p), qPrintable(QStringLiteral("title ink at %1,%2").arg(x).arg(y)));
                    titleInk |= QRect(p, QSize(1, 1));
                } else if (c.blue() > c.red() + 40) {
                    QVERIFY2(parts.text.contains(p), qPrintable(QStringLiteral("message ink at %1,%2").arg(x).arg(y)));
                    textInk |= QRect(p, QSize(1, 1));
                } else {
                    QVERIFY2(c != Qt::black, "the picture covers the whole face");
                }
            }
        QVERIFY(!titleInk.isEmpty());
        QVERIFY(!textInk.isEmpty());
        QVERIFY(titleInk.left() - parts.title.left() <= 3);
        QVERIFY(qAbs(textInk.center().x() - parts.text.center().x()) <= 3);
    }
};

QTEST_MAIN(TestKavMSNPop)
#include "tst_kavmsnpop.moc"
