#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVForm.h"
#include "KAVFaceCache.h"
#include "KAVFunctions.h"
#include "KAVGroupBox.h"
#include "kav_driven_clock.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVPictureStore.h"
#include "KAVThemeFile.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

using KavTest::DrivenClock;
using DrivenRepeatTimer = KavTest::DrivenTimer;



// --- Fixture pictures and theme ----------------------------------------------------------------

const QRgb Magenta = qRgb(255, 0, 255);
const QRgb NormalFace = qRgb(255, 0, 0);
const QRgb MouseOnFace = qRgb(0, 160, 0);
const QRgb PressedFace = qRgb(0, 0, 255);
const QRgb ParentColour = qRgb(255, 255, 0);

// Three 12 x 10 frames in solid colours, each with a magenta top-left corner pixel.
QImage buttonStrip(QRgb normalFace = NormalFace)
{
    QImage strip(36, 10, QImage::Format_RGB32);
    const QRgb faces[] = {normalFace, MouseOnFace, PressedFace};
    for (int frame = 0; frame < 3; ++frame) {
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x)
                strip.setPixel(frame * 12 + x, y, faces[frame]);
        strip.setPixel(frame * 12, 0, Magenta);
    }
    return strip;
}

// The file of a theme whose ButtonImage is buttonStrip() and whose buttons are transparent or not;
// empty when it could not be written.
QString writeThemeFile(const QTemporaryDir &dir, const QString &name, bool transparent, QRgb normalFace = NormalFace)
{
    const QString picture = dir.filePath(name + QStringLiteral(".bmp"));
    if (!buttonStrip(normalFace).save(picture, "BMP"))
        return QString();
    const QString path = dir.filePath(name + QStringLiteral(".kav"));
    {
        TkavThemeFileWriter writer(path);
        writer.AddFile(Kav::KavThemeKeyName(KavKey::ButtonImage), picture);
        writer.AddBool(Kav::KavThemeKeyName(KavKey::ButtonTransparentBool), transparent);
        if (!writer.Save())
            return QString();
    }
    return path;
}

// A file theme loaded from writeThemeFile().
std::unique_ptr<TkavFileTheme> writeTheme(const QTemporaryDir &dir, const QString &name, bool transparent)
{
    const QString path = writeThemeFile(dir, name, transparent);
    if (path.isEmpty())
        return nullptr;
    auto theme = std::make_unique<TkavFileTheme>();
    theme->setThemeFile(path);
    if (!theme->CanUse())
        return nullptr;
    return theme;
}

QFont fixtureFont(bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The pixels in which two renders differ: the caption, when one of them has none.
QSet<QPair<int, int>> difference(const QImage &a, const QImage &b)
{
    QSet<QPair<int, int>> points;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & RGB_MASK) != (b.pixel(x, y) & RGB_MASK))
                points.insert({x, y});
    return points;
}

QSet<QPair<int, int>> shifted(const QSet<QPair<int, int>> &points, int dx, int dy)
{
    QSet<QPair<int, int>> moved;
    for (const auto &point : points)
        moved.insert({point.first + dx, point.second + dy});
    return moved;
}

QImage render(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// --- Events ------------------------------------------------------------------------------------

void sendMouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void sendKey(QWidget *widget, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(), autoRepeat);
    QCoreApplication::sendEvent(widget, &event);
}

// A window shown and active, so that focus and shortcuts work as for the user.
struct ShownWindow {
    QWidget window;
    ShownWindow()
    {
        window.resize(240, 120);
        window.move(300, 300);
    }
    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

class FailingButton : public TkavButton {
public:
    using TkavButton::TkavButton;

protected:
    void PaintButtonNormal(QImage &) override { throw std::runtime_error("no picture"); }
};

} // namespace

class tst_KavButton : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stateMachine_data();
    void stateMachine();
    void repeatTicks_data();
    void repeatTicks();
    void repeatStopsOnReleaseAndLeave();
    void defaultRepeatTimerIsAQTimer();
    void keyboardClick_data();
    void keyboardClick();
    void dialogKeys_data();
    void dialogKeys();
    void modalResultOnDialog_data();
    void modalResultOnDialog();
    void modalResultOnPlainWindow();
    void clickOrder();
    void qtSignals_data();
    void qtSignals();
    void exclusiveGroup();
    void actionDrivesButton();

    void initialTransparency_data();
    void initialTransparency();
    void autoSize_data();
    void autoSize();
    void propertiesByName();
    void fileThemeRemovalFallsBackToDeepBlue();
    void reloadedFileThemeShowsItsPictures();
    void fontAndColourFollowTheParent();

    void faceFrame_data();
    void faceFrame();
    void captionShiftedWhenPressed();
    void disabledCaptionHasWhiteShadow();
    void transparentCornersShowParent_data();
    void transparentCornersShowParent();
    void transparentOnTabSheetShowsGrandparent();
    void focusRectangle();
    void focusedMacOSCaptionIsBold_data();
    void focusedMacOSCaptionIsBold();
    void blankCaptionLeavesNoBoldBehind();
    void unreadablePictureGivesBlankFace();
    void twoImageGlyph_data();
    void twoImageGlyph();
    void glyphShiftedWhenPressed();
    void arrowTriangle_data();
    void arrowTriangle();
    void imageButtonFallsBackToNormal_data();
    void imageButtonFallsBackToNormal();
    void controlButtonTakesFrameSize();
    void speedButtonFramesOnHover();
    void captionInFontColour_data();
    void captionInFontColour();
    void glyphPlacement_data();
    void glyphPlacement();
    void paintPreparesNoPictures();
    void identicalButtonsShareOneFace();

    void accessibility_data();
    void accessibility();
    void captionlessButtonsAreNamed_data();
    void captionlessButtonsAreNamed();

private:
    DrivenClock *m_clock = nullptr;
    TkavRepeatTimerFactory m_previousFactory;
    QTemporaryDir m_dir;
};

void tst_KavButton::init()
{
    m_clock = new DrivenClock;
    m_previousFactory = TkavCustomButton::setRepeatTimerFactory(
        [clock = m_clock](QObject *) { return std::make_unique<DrivenRepeatTimer>(*clock); });
}

void tst_KavButton::cleanup()
{
    TkavCustomButton::setRepeatTimerFactory(m_previousFactory);
    delete m_clock;
    m_clock = nullptr;
}

// --- State machine -----------------------------------------------------------------------------

void tst_KavButton::stateMachine_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("mouseOver");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<bool>("timer");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("enters");
    QTest::addColumn<int>("exits");

    const auto steps = [](const char *list) { return QString::fromLatin1(list).split(u' '); };
    QTest::addRow("enter") << steps("enter") << true << false << false << 0 << 1 << 0;
    QTest::addRow("leave") << steps("enter leave") << false << false << false << 0 << 1 << 1;
    QTest::addRow("press") << steps("enter press") << true << true << true << 0 << 1 << 0;
    QTest::addRow("release inside") << steps("enter press release") << true << false << false << 1 << 1 << 0;
    QTest::addRow("move inside while held") << steps("enter press moveIn") << true << true << true << 0 << 1 << 0;
    QTest::addRow("right edge counts as inside") << steps("enter press moveEdge") << true << true << true << 0 << 1 << 0;
    QTest::addRow("drag out") << steps("enter press moveOut") << false << false << false << 0 << 1 << 1;
    QTest::addRow("release outside") << steps("enter press moveOut releaseOut leave") << false << false << false << 0 << 1 << 1;
    QTest::addRow("drag back in") << steps("enter press moveOut moveIn") << true << false << false << 0 << 2 << 1;
    QTest::addRow("drag back in and release") << steps("enter press moveOut moveIn release") << true << false << false << 1 << 2 << 1;
    QTest::addRow("leave while held") << steps("enter press leave") << false << false << false << 0 << 1 << 1;
    QTest::addRow("second press keeps one timer") << steps("enter press press") << true << true << true << 0 << 1 << 0;
    QTest::addRow("right button") << steps("enter rightPress") << true << false << false << 0 << 1 << 0;
    QTest::addRow("right button release") << steps("enter rightPress rightRelease") << true << false << false << 0 << 1 << 0;
    QTest::addRow("space down") << steps("spaceDown") << false << true << false << 0 << 0 << 0;
    QTest::addRow("space up") << steps("spaceDown spaceUp") << false << false << false << 1 << 0 << 0;
    QTest::addRow("return up") << steps("returnDown returnUp") << false << false << false << 1 << 0 << 0;
    QTest::addRow("held space repeats no click") << steps("spaceDown spaceUpRepeat spaceDownRepeat") << false << true << false << 0 << 0 << 0;
    QTest::addRow("space up without down") << steps("spaceUp") << false << false << false << 0 << 0 << 0;
    QTest::addRow("focus lost while key held") << steps("spaceDown blur spaceUp") << false << false << false << 0 << 0 << 0;
    QTest::addRow("disabled while held") << steps("enter press disable") << true << false << false << 0 << 1 << 0;
    QTest::addRow("hidden while held") << steps("enter press hide") << false << false << false << 0 << 1 << 0;
}

void tst_KavButton::stateMachine()
{
    QFETCH(QStringList, steps);
    ShownWindow shown;
    auto *button = new TkavButton(&shown.window);
    button->move(20, 20);
    auto *other = new QLineEdit(&shown.window);
    other->move(20, 70);
    QVERIFY(shown.show());
    button->setFocus();
    QVERIFY(button->hasFocus());

    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QSignalSpy enters(button, &TkavCustomButton::OnMouseEnter);
    QSignalSpy exits(button, &TkavCustomButton::OnMouseExit);
    const QPoint inside(10, 10);
    const QPoint outside(button->width() + 5, 10);
    for (const QString &step : steps) {
        if (step == u"enter") {
            QEnterEvent event(inside, inside, button->mapToGlobal(inside));
            QCoreApplication::sendEvent(button, &event);
        } else if (step == u"leave") {
            QEvent event(QEvent::Leave);
            QCoreApplication::sendEvent(button, &event);
        } else if (step == u"press") {
            sendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, inside);
        } else if (step == u"release") {
            sendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, inside);
        } else if (step == u"releaseOut") {
            sendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, outside);
        } else if (step == u"moveIn") {
            sendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, inside);
        } else if (step == u"moveEdge") {
            sendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(button->width(), 10));
        } else if (step == u"moveOut") {
            sendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, outside);
        } else if (step == u"rightPress") {
            sendMouse(button, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, inside);
        } else if (step == u"rightRelease") {
            sendMouse(button, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, inside);
        } else if (step == u"spaceDown") {
            sendKey(button, QEvent::KeyPress, Qt::Key_Space);
        } else if (step == u"spaceDownRepeat") {
            sendKey(button, QEvent::KeyPress, Qt::Key_Space, true);
        } else if (step == u"spaceUp") {
            sendKey(button, QEvent::KeyRelease, Qt::Key_Space);
        } else if (step == u"spaceUpRepeat") {
            sendKey(button, QEvent::KeyRelease, Qt::Key_Space, true);
        } else if (step == u"returnDown") {
            sendKey(button, QEvent::KeyPress, Qt::Key_Return);
        } else if (step == u"returnUp") {
            sendKey(button, QEvent::KeyRelease, Qt::Key_Return);
        } else if (step == u"blur") {
            other->setFocus();
        } else if (step == u"disable") {
            button->setEnabled(false);
        } else if (step == u"hide") {
            button->hide();
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QTEST(button->isMouseOver(), "mouseOver");
    QTEST(button->isPressed(), "pressed");
    QTEST(button->hasRepeatTimer(), "timer");
    QTEST(int(clicks.count()), "clicks");
    QTEST(int(enters.count()), "enters");
    QTEST(int(exits.count()), "exits");
    QCOMPARE(button->isDown(), button->isPressed());
    QVERIFY(m_clock->made <= 1);
}

// --- Auto-repeat -------------------------------------------------------------------------------

void tst_KavButton::repeatTicks_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("ticks");

    QTest::addRow("quick click") << 100 << 50 << 0;
    QTest::addRow("just before the first tick") << 100 << 99 << 0;
    QTest::addRow("first tick one interval after the press") << 100 << 100 << 1;
    QTest::addRow("held about 350 ms") << 100 << 350 << 3;
    QTest::addRow("other interval") << 40 << 200 << 5;
    QTest::addRow("interval 0 never ticks") << 0 << 1000 << 0;
    QTest::addRow("negative interval never ticks") << -5 << 1000 << 0;
}

void tst_KavButton::repeatTicks()
{
    QFETCH(int, interval);
    QFETCH(int, held);
    QWidget window;
    auto *button = new TkavButton(&window);
    button->setMouseContinuouslyDownInterval(interval);
    QSignalSpy ticks(button, &TkavCustomButton::OnMouseContinuouslyDown);
    QSignalSpy clicks(button, &TkavCustomButton::OnClick);

    sendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(5, 5));
    m_clock->advance(held);
    QTEST(int(ticks.count()), "ticks");
    QCOMPARE(clicks.count(), 0);

    sendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.first().first().value<QObject *>(), button);
    const int atRelease = int(ticks.count());
    m_clock->advance(1000);
    QCOMPARE(int(ticks.count()), atRelease);
}

void tst_KavButton::repeatStopsOnReleaseAndLeave()
{
    QWidget window;
    auto *button = new TkavButton(&window);
    QSignalSpy ticks(button, &TkavCustomButton::OnMouseContinuouslyDown);
    QSignalSpy clicks(button, &TkavCustomButton::OnClick);

    // Leaving the held button frees the timer; the release outside then clicks nothing.
    sendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(5, 5));
    m_clock->advance(150);
    QCOMPARE(ticks.count(), 1);
    QCOMPARE(ticks.first().first().value<QObject *>(), button);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    m_clock->advance(1000);
    QCOMPARE(ticks.count(), 1);
    sendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(500, 5));
    QCOMPARE(clicks.count(), 0);

    // A tick handler may end the hold itself (a scroll bar arrow reaching its end).
    ticks.clear();
    connect(button, &TkavCustomButton::OnMouseContinuouslyDown, button, [button] {
        if (button->isEnabled())
            button->setEnabled(false);
    });
    sendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(5, 5));
    m_clock->advance(1000);
    QCOMPARE(ticks.count(), 1);
    QVERIFY(!button->hasRepeatTimer());
}

void tst_KavButton::defaultRepeatTimerIsAQTimer()
{
    TkavCustomButton::setRepeatTimerFactory({});
    QWidget window;
    auto *button = new TkavButton(&window);
    button->setMouseContinuouslyDownInterval(70);
    sendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(5, 5));
    auto *timer = button->findChild<QTimer *>();
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 70);
    sendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(5, 5));
    QVERIFY(!timer->isActive());
    QVERIFY(!button->hasRepeatTimer());
}

// --- Keyboard ----------------------------------------------------------------------------------

void tst_KavButton::keyboardClick_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");

    QTest::addRow("space") << "button" << int(Qt::Key_Space) << int(Qt::NoModifier) << true << 1;
    QTest::addRow("return") << "button" << int(Qt::Key_Return) << int(Qt::NoModifier) << true << 1;
    QTest::addRow("keypad enter") << "button" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << 1;
    QTest::addRow("ctrl+space") << "button" << int(Qt::Key_Space) << int(Qt::ControlModifier) << true << 0;
    QTest::addRow("other key") << "button" << int(Qt::Key_A) << int(Qt::NoModifier) << true << 0;
    QTest::addRow("accelerator from elsewhere") << "edit" << int(Qt::Key_S) << int(Qt::AltModifier) << true << 1;
    QTest::addRow("another accelerator") << "edit" << int(Qt::Key_T) << int(Qt::AltModifier) << true << 0;
    QTest::addRow("accelerator of a disabled button") << "edit" << int(Qt::Key_S) << int(Qt::AltModifier) << false << 0;
    // A bare letter is an accelerator while a control that takes no text has the focus.
    QTest::addRow("bare letter, button focused") << "button" << int(Qt::Key_S) << int(Qt::NoModifier) << true << 1;
    QTest::addRow("bare letter, other button focused") << "other" << int(Qt::Key_S) << int(Qt::NoModifier) << true << 1;
    QTest::addRow("bare capital, other button focused") << "other" << int(Qt::Key_S) << int(Qt::ShiftModifier) << true << 1;
    QTest::addRow("bare letter, check box focused") << "check" << int(Qt::Key_S) << int(Qt::NoModifier) << true << 1;
    QTest::addRow("bare letter of no caption") << "other" << int(Qt::Key_T) << int(Qt::NoModifier) << true << 0;
    QTest::addRow("bare letter, disabled button") << "other" << int(Qt::Key_S) << int(Qt::NoModifier) << false << 0;
    QTest::addRow("bare letter in an edit types") << "edit" << int(Qt::Key_S) << int(Qt::NoModifier) << true << 0;
    QTest::addRow("ctrl+letter is none") << "other" << int(Qt::Key_S) << int(Qt::ControlModifier) << true << 0;
}

void tst_KavButton::keyboardClick()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, enabled);

    ShownWindow shown;
    auto *button = new TkavButton(&shown.window);
    button->setCaption(QStringLiteral("&Start"));
    button->move(20, 20);
    auto *edit = new QLineEdit(&shown.window);
    edit->move(20, 70);
    auto *other = new TkavButton(&shown.window);
    other->setCaption(QStringLiteral("Other"));
    other->move(120, 20);
    auto *check = new TkavCheckBox(&shown.window);
    check->setCaption(QStringLiteral("Check"));
    check->move(120, 70);
    QVERIFY(shown.show());
    QWidget *receiver = target == u"button" ? static_cast<QWidget *>(button)
        : target == u"other"                ? static_cast<QWidget *>(other)
        : target == u"check"                ? static_cast<QWidget *>(check)
                                            : edit;
    receiver->setFocus();
    QVERIFY(receiver->hasFocus());
    button->setEnabled(enabled);

    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(int(clicks.count()), "clicks");
    QVERIFY(!button->isPressed());
    if (!clicks.isEmpty())
        QVERIFY(button->hasFocus()); // a click takes the focus
}

void tst_KavButton::dialogKeys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("defaultUsable");
    QTest::addColumn<int>("defaultClicks");
    QTest::addColumn<int>("cancelClicks");
    QTest::addColumn<int>("focusedClicks");

    const int none = int(Qt::NoModifier);
    QTest::addRow("return in an edit") << "edit" << int(Qt::Key_Return) << none << true << 1 << 0 << 0;
    QTest::addRow("keypad enter") << "edit" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << 1 << 0 << 0;
    QTest::addRow("shift+return") << "edit" << int(Qt::Key_Return) << int(Qt::ShiftModifier) << true << 0 << 0 << 0;
    QTest::addRow("ctrl+return") << "edit" << int(Qt::Key_Return) << int(Qt::ControlModifier) << true << 0 << 0 << 0;
    QTest::addRow("alt+return") << "edit" << int(Qt::Key_Return) << int(Qt::AltModifier) << true << 0 << 0 << 0;
    QTest::addRow("escape") << "edit" << int(Qt::Key_Escape) << none << true << 0 << 1 << 0;
    QTest::addRow("shift+escape") << "edit" << int(Qt::Key_Escape) << int(Qt::ShiftModifier) << true << 0 << 0 << 0;
    QTest::addRow("nothing focused") << "window" << int(Qt::Key_Return) << none << true << 1 << 0 << 0;
    QTest::addRow("focused button takes return") << "button" << int(Qt::Key_Return) << none << true << 0 << 0 << 1;
    QTest::addRow("focused button passes escape on") << "button" << int(Qt::Key_Escape) << none << true << 0 << 1 << 0;
    QTest::addRow("editor keeps its return") << "plain" << int(Qt::Key_Return) << none << true << 0 << 0 << 0;
    QTest::addRow("disabled or hidden default") << "edit" << int(Qt::Key_Return) << none << false << 0 << 0 << 0;
}

void tst_KavButton::dialogKeys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, defaultUsable);

    ShownWindow shown;
    auto *edit = new QLineEdit(&shown.window);
    edit->setGeometry(10, 10, 100, 20);
    auto *plain = new QPlainTextEdit(&shown.window);
    plain->setGeometry(120, 10, 100, 40);
    auto *focused = new TkavButton(&shown.window);
    focused->move(10, 40);
    auto *defaultButton = new TkavButton(&shown.window);
    defaultButton->move(10, 80);
    defaultButton->setDefault(true);
    auto *hiddenDefault = new TkavButton(&shown.window);
    hiddenDefault->setDefault(true);
    hiddenDefault->hide();
    auto *cancelButton = new TkavButton(&shown.window);
    cancelButton->move(100, 80);
    cancelButton->setCancel(true);
    QVERIFY(shown.show());
    if (!defaultUsable)
        defaultButton->setEnabled(false);

    QWidget *receiver = &shown.window;
    if (focus == u"edit")
        receiver = edit;
    else if (focus == u"plain")
        receiver = plain;
    else if (focus == u"button")
        receiver = focused;
    receiver->setFocus();

    QSignalSpy defaultClicks(defaultButton, &QAbstractButton::clicked);
    QSignalSpy hiddenClicks(hiddenDefault, &QAbstractButton::clicked);
    QSignalSpy cancelClicks(cancelButton, &QAbstractButton::clicked);
    QSignalSpy focusedClicks(focused, &QAbstractButton::clicked);
    QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(int(defaultClicks.count()), "defaultClicks");
    QTEST(int(cancelClicks.count()), "cancelClicks");
    QTEST(int(focusedClicks.count()), "focusedClicks");
    QCOMPARE(hiddenClicks.count(), 0);
}

// --- Modal result and clicks -------------------------------------------------------------------

void tst_KavButton::modalResultOnDialog_data()
{
    QTest::addColumn<int>("modalResult");
    QTest::addColumn<bool>("closes");

    QTest::addRow("ok") << 1 << true;
    QTest::addRow("cancel") << 2 << true;
    QTest::addRow("none keeps the dialog open") << 0 << false;
}

void tst_KavButton::modalResultOnDialog()
{
    QFETCH(int, modalResult);
    QFETCH(bool, closes);
    QDialog dialog;
    auto *button = new TkavButton(&dialog);
    button->setModalResult(modalResult);
    dialog.open();
    QVERIFY(dialog.isVisible());
    button->Click();
    QCOMPARE(!dialog.isVisible(), closes);
    if (closes)
        QCOMPARE(dialog.result(), modalResult);
}

void tst_KavButton::modalResultOnPlainWindow()
{
    QWidget window;
    auto *panel = new QWidget(&window);
    auto *button = new TkavButton(panel);
    button->setModalResult(6);
    button->Click();
    QCOMPARE(window.property("ModalResult").toInt(), 6);
    // Zero is handed on too: it tells the window not to close.
    button->setModalResult(0);
    button->Click();
    QCOMPARE(window.property("ModalResult").toInt(), 0);

    // A button that is a window of its own has no form to tell.
    TkavButton orphan;
    orphan.setModalResult(3);
    QSignalSpy clicks(&orphan, &TkavCustomButton::OnClick);
    orphan.Click();
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!orphan.dynamicPropertyNames().contains("ModalResult"));
}

void tst_KavButton::clickOrder()
{
    ShownWindow shown;
    auto *edit = new QLineEdit(&shown.window);
    auto *button = new TkavButton(&shown.window);
    button->move(20, 40);
    button->setModalResult(4);
    QVERIFY(shown.show());
    edit->setFocus();

    bool pressedAtClick = true;
    bool focusedAtClick = false;
    int resultAtClick = -1;
    connect(button, &TkavCustomButton::OnClick, this, [&](QObject *sender) {
        QCOMPARE(sender, button);
        pressedAtClick = button->isPressed();
        focusedAtClick = button->hasFocus();
        resultAtClick = shown.window.property("ModalResult").toInt();
    });
    // QAbstractButton::click() takes the same road as the button's own clicks.
    sendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(5, 5));
    button->click();
    QCOMPARE(pressedAtClick, false);
    QCOMPARE(focusedAtClick, true);
    QCOMPARE(resultAtClick, 4);
    QVERIFY(!button->hasRepeatTimer());

    QSignalSpy clicks(button, &TkavCustomButton::OnClick);
    button->setEnabled(false);
    button->Click();
    button->click();
    QCOMPARE(clicks.count(), 0);
}

// What a Qt developer expects of any QAbstractButton, whichever way it is clicked: one clicked()
// (and one OnClick, one QButtonGroup::buttonClicked), pressed() and released() in pairs, toggled()
// for a checkable button, and the focus with the click.
void tst_KavButton::qtSignals_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("releases");
    QTest::addColumn<int>("toggles");
    QTest::addColumn<bool>("focused");

    QTest::addRow("mouse") << "mouse" << false << 1 << 1 << 1 << 0 << true;
    QTest::addRow("space") << "space" << false << 1 << 1 << 1 << 0 << true;
    QTest::addRow("return") << "return" << false << 1 << 1 << 1 << 0 << true;
    QTest::addRow("accelerator") << "accelerator" << false << 1 << 1 << 1 << 0 << true;
    QTest::addRow("default button") << "default" << false << 1 << 1 << 1 << 0 << true;
    QTest::addRow("click()") << "click" << false << 1 << 1 << 1 << 0 << true;
    QTest::addRow("Click()") << "Click" << false << 1 << 1 << 1 << 0 << true;
    QTest::addRow("checkable by mouse") << "mouse" << true << 1 << 1 << 1 << 1 << true;
    QTest::addRow("checkable by space") << "space" << true << 1 << 1 << 1 << 1 << true;
    QTest::addRow("checkable clicked twice") << "mouse mouse" << true << 2 << 2 << 2 << 2 << true;
    QTest::addRow("press takes no focus") << "press" << false << 0 << 1 << 0 << 0 << false;
    QTest::addRow("dragged off") << "press dragOff releaseOff" << false << 0 << 1 << 1 << 0 << false;
    QTest::addRow("dragged off and back on") << "press dragOff dragOn release" << false << 1 << 2 << 2 << 0 << true;
    QTest::addRow("disabled while held") << "press disable" << false << 0 << 1 << 1 << 0 << false;
    QTest::addRow("hidden while held") << "press hide" << false << 0 << 1 << 1 << 0 << false;
    QTest::addRow("focus lost while space is held") << "spaceDown blur" << false << 0 << 1 << 1 << 0 << false;
    QTest::addRow("right button") << "rightClick" << false << 0 << 0 << 0 << 0 << false;
}

void tst_KavButton::qtSignals()
{
    QFETCH(QString, steps);
    QFETCH(bool, checkable);
    QFETCH(int, toggles);
    ShownWindow shown;
    auto *edit = new QLineEdit(&shown.window);
    edit->move(20, 70);
    auto *button = new TkavButton(&shown.window);
    button->move(20, 20);
    button->setCaption(QStringLiteral("&Start"));
    button->setCheckable(checkable);
    QButtonGroup group;
    group.setExclusive(false);
    group.addButton(button);
    QVERIFY(shown.show());
    edit->setFocus();
    QVERIFY(edit->hasFocus());

    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QSignalSpy onClicks(button, &TkavCustomButton::OnClick);
    QSignalSpy groupClicks(&group, &QButtonGroup::buttonClicked);
    QSignalSpy presses(button, &QAbstractButton::pressed);
    QSignalSpy releases(button, &QAbstractButton::released);
    QSignalSpy toggled(button, &QAbstractButton::toggled);
    const QPoint inside(10, 10);
    const QPoint outside(button->width() + 5, 10);
    for (const QString &step : steps.split(u' ')) {
        if (step == u"mouse") {
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, inside);
        } else if (step == u"rightClick") {
            QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, inside);
        } else if (step == u"press") {
            sendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, inside);
        } else if (step == u"dragOff") {
            sendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, outside);
        } else if (step == u"dragOn") {
            sendMouse(button, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, inside);
        } else if (step == u"release") {
            sendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, inside);
        } else if (step == u"releaseOff") {
            sendMouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, outside);
        } else if (step == u"space" || step == u"return") {
            button->setFocus();
            QTest::keyClick(button, step == u"space" ? Qt::Key_Space : Qt::Key_Return);
        } else if (step == u"spaceDown") {
            button->setFocus();
            sendKey(button, QEvent::KeyPress, Qt::Key_Space);
        } else if (step == u"blur") {
            edit->setFocus();
        } else if (step == u"accelerator") {
            QTest::keyClick(edit, Qt::Key_S, Qt::AltModifier);
        } else if (step == u"default") {
            button->setDefault(true);
            QTest::keyClick(edit, Qt::Key_Return);
        } else if (step == u"click") {
            button->click();
        } else if (step == u"Click") {
            button->Click();
        } else if (step == u"disable") {
            button->setEnabled(false);
        } else if (step == u"hide") {
            button->hide();
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QTEST(int(clicks.count()), "clicks");
    QCOMPARE(onClicks.count(), clicks.count());
    QCOMPARE(groupClicks.count(), clicks.count());
    QTEST(int(presses.count()), "presses");
    QTEST(int(releases.count()), "releases");
    QCOMPARE(int(toggled.count()), toggles);
    QCOMPARE(button->isChecked(), toggles % 2 == 1);
    QTEST(button->hasFocus(), "focused");
    QVERIFY(!button->hasRepeatTimer() || button->isDown());
}

void tst_KavButton::exclusiveGroup()
{
    QWidget window;
    QButtonGroup group;
    TkavButton *buttons[2] = {new TkavButton(&window), new TkavButton(&window)};
    for (TkavButton *button : buttons) {
        button->setCheckable(true);
        group.addButton(button);
    }
    QSignalSpy groupClicks(&group, &QButtonGroup::buttonClicked);

    buttons[0]->click();
    QVERIFY(buttons[0]->isChecked());
    buttons[1]->click();
    QVERIFY(!buttons[0]->isChecked());
    QVERIFY(buttons[1]->isChecked());
    // Clicking the chosen one again keeps it chosen, and is still a click.
    buttons[1]->click();
    QVERIFY(buttons[1]->isChecked());
    QCOMPARE(group.checkedButton(), buttons[1]);
    QCOMPARE(groupClicks.count(), 3);
}

void tst_KavButton::actionDrivesButton()
{
    QWidget window;
    auto *button = new TkavButton(&window);
    QAction action(QStringLiteral("&Go"));
    action.setEnabled(false);
    button->setAction(&action);
    QCOMPARE(button->Caption(), QStringLiteral("&Go"));
    QVERIFY(!button->isEnabled());

    action.setEnabled(true);
    action.setText(QStringLiteral("&Run"));
    QVERIFY(button->isEnabled());
    QCOMPARE(button->Caption(), QStringLiteral("&Run"));

    QSignalSpy triggered(&action, &QAction::triggered);
    button->Click();
    QCOMPARE(triggered.count(), 1);

    QPixmap icon(16, 16);
    icon.fill(Qt::green);
    action.setIcon(QIcon(icon));
    QCOMPARE(button->Glyph().size(), QSize(16, 16));
}

// --- Look --------------------------------------------------------------------------------------

void tst_KavButton::initialTransparency_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<bool>("transparent");

    QTest::addRow("MacOS") << TkavUIStyle::MacOS << true;
    QTest::addRow("WinXP") << TkavUIStyle::WinXP << false;
    QTest::addRow("DeepBlue") << TkavUIStyle::DeepBlue << false;
    QTest::addRow("Protein") << TkavUIStyle::Protein << false;
    QTest::addRow("BlueGlass") << TkavUIStyle::BlueGlass << true;
}

void tst_KavButton::initialTransparency()
{
    QFETCH(TkavUIStyle, style);
    QWidget form;
    auto *skin = new TkavForm(&form);
    skin->setUIStyle(style);
    auto *panel = new QWidget(&form);
    auto *button = new TkavButton(panel);
    QCOMPARE(button->UIStyle(), style);
    // The look comes when the button is polished.
    button->ensurePolished();
    QTEST(button->Transparent(), "transparent");
    QCOMPARE(button->PicTransparent(), button->Transparent());
    QCOMPARE(button->size(), QSize(80, 27));
    auto *arrow = new TKavArrowButton(panel);
    arrow->ensurePolished();
    QTEST(arrow->Transparent(), "transparent");
}

void tst_KavButton::autoSize_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<QSize>("size");

    // A button that sizes itself takes one frame of its look's button picture.
    for (TkavUIStyle style : Kav::Metrics::BuiltInLooks) {
        const QSize picture = Kav::Metrics::keyPictureSize(style, KavKey::ButtonImage);
        QTest::addRow("%s", QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(style)))
            << style << QSize(picture.width() / Kav::KavThemeKeyFrameCount(KavKey::ButtonImage), picture.height());
    }
    QTest::addRow("FromThemeFile has no built-in picture") << TkavUIStyle::FromThemeFile << QSize(24, 21);
}

void tst_KavButton::autoSize()
{
    QFETCH(TkavUIStyle, style);
    if (style != TkavUIStyle::FromThemeFile && !QFile::exists(QStringLiteral(":/looks/") + GetInsideThemeStr(style, KavKey::ButtonImage)))
        QSKIP("the look's pictures are not built in");
    QWidget window;
    auto *button = new TkavButton(&window);
    button->setUIStyle(style);
    button->setAutoSize(true);
    QTEST(button->size(), "size");
}

void tst_KavButton::propertiesByName()
{
    QWidget window;
    auto *button = new TkavButton(&window);
    const auto theme = writeTheme(m_dir, QStringLiteral("byname"), true);
    QVERIFY(theme);

    ContainerApplyUIStyle(&window, TkavUIStyle::FromThemeFile, theme.get());
    QCOMPARE(button->UIStyle(), TkavUIStyle::FromThemeFile);
    QCOMPARE(button->FileTheme(), theme.get());
    QVERIFY(button->Transparent()); // read from the file theme

    QVERIFY(button->setProperty("Layout", QStringLiteral("blGlyphTop")));
    QCOMPARE(button->Layout(), TkavButton::blGlyphTop);
    QVERIFY(button->setProperty("ResHandle", 77u));
    QCOMPARE(button->property("ResHandle").toUInt(), 0u);
    QVERIFY(button->setProperty("Caption", QStringLiteral("开始考试")));
    QCOMPARE(button->text(), QStringLiteral("开始考试"));
    button->setText(QStringLiteral("我要交卷"));
    QCOMPARE(button->property("Caption").toString(), QStringLiteral("我要交卷"));

    // The image button has no look of its own, whatever it is given.
    auto *image = new TkavImageButton(&window);
    QVERIFY(image->setProperty("UIStyle", QVariant::fromValue(TkavUIStyle::MacOS)));
    QCOMPARE(image->property("UIStyle").value<TkavUIStyle>(), TkavUIStyle::FromThemeFile);
}

void tst_KavButton::fileThemeRemovalFallsBackToDeepBlue()
{
    QWidget window;
    auto *button = new TkavButton(&window);
    auto theme = writeTheme(m_dir, QStringLiteral("removed"), true);
    QVERIFY(theme);
    button->setFileTheme(theme.get());
    button->setUIStyle(TkavUIStyle::FromThemeFile);
    QVERIFY(button->Transparent());
    theme.reset();
    QCOMPARE(button->FileTheme(), nullptr);
    QCOMPARE(button->UIStyle(), TkavUIStyle::DeepBlue);
    QVERIFY(!button->Transparent());
    QVERIFY(!render(button).isNull());
}

void tst_KavButton::reloadedFileThemeShowsItsPictures()
{
    const QString first = writeThemeFile(m_dir, QStringLiteral("first"), false);
    const QString second = writeThemeFile(m_dir, QStringLiteral("second"), false, qRgb(90, 40, 160));
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QWidget form;
    auto *theme = new TkavFileTheme(&form);
    theme->setThemeFile(first);
    auto *button = new TkavButton(&form);
    button->setFileTheme(theme);
    button->setUIStyle(TkavUIStyle::FromThemeFile);
    QCOMPARE(render(button).pixel(5, 13), NormalFace);
    // The theme hands itself to its form's components again, which fetch the new pictures.
    theme->setThemeFile(second);
    QCOMPARE(render(button).pixel(5, 13), qRgb(90, 40, 160));
}

void tst_KavButton::fontAndColourFollowTheParent()
{
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::yellow);
    parent.setPalette(palette);
    QFont parentFont = fixtureFont();
    parent.setFont(parentFont);
    // An image button without pictures shows nothing but its background colour.
    auto *button = new TkavImageButton(&parent);
    button->resize(12, 8);

    QVERIFY(button->property("ParentFont").toBool());
    QCOMPARE(button->font(), parentFont);
    QVERIFY(button->ParentColor());
    QCOMPARE(button->Color().resolved(), QColor(Qt::yellow));
    QCOMPARE(render(button).pixel(5, 5), qRgb(255, 255, 0));

    // A font or colour of its own stays when the parent's change.
    QFont own = fixtureFont(true);
    QVERIFY(button->setProperty("Font", own));
    QVERIFY(!button->ParentFont());
    QVERIFY(button->setProperty("Color", QVariant::fromValue(TColor::fromQColor(Qt::cyan))));
    QVERIFY(!button->ParentColor());
    parentFont.setPixelSize(20);
    parent.setFont(parentFont);
    palette.setColor(QPalette::Window, Qt::green);
    parent.setPalette(palette);
    QCOMPARE(button->font(), own);
    QCOMPARE(render(button).pixel(5, 5), qRgb(0, 255, 255));

    // Following the parent again takes its current font and colour.
    button->setParentFont(true);
    button->setParentColor(true);
    QCOMPARE(button->font(), parentFont);
    QVERIFY(button->ParentColor());
    QCOMPARE(render(button).pixel(5, 5), qRgb(0, 255, 0));
    button->setParentFont(false);
    QVERIFY(!button->ParentFont());
    QCOMPARE(button->font(), parentFont);
}

// --- Faces -------------------------------------------------------------------------------------

namespace {

// A parent in one colour with a button of the fixture theme on it.
struct ThemedScene {
    QWidget parent;
    std::unique_ptr<TkavFileTheme> theme;
    TkavButton *button = nullptr;

    ThemedScene(const QTemporaryDir &dir, bool transparent, const QString &caption = QStringLiteral("Go"))
    {
        parent.resize(200, 100);
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor(ParentColour));
        palette.setColor(QPalette::Button, QColor(ParentColour));
        palette.setColor(QPalette::ButtonText, Qt::black);
        parent.setPalette(palette);
        theme = writeTheme(dir, transparent ? QStringLiteral("clear") : QStringLiteral("solid"), transparent);
        button = new TkavButton(&parent);
        button->setGeometry(10, 10, 80, 27);
        button->setFont(fixtureFont());
        button->setFileTheme(theme.get());
        button->setUIStyle(TkavUIStyle::FromThemeFile);
        button->setCaption(caption);
    }

    // The button's face with and without its caption: their difference is the caption.
    QSet<QPair<int, int>> ink()
    {
        const QString caption = button->Caption();
        const QImage with = render(button);
        button->setCaption(QString());
        const QImage without = render(button);
        button->setCaption(caption);
        return difference(with, without);
    }
};

void enter(QWidget *widget)
{
    QEnterEvent event(QPointF(3, 3), QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)));
    QCoreApplication::sendEvent(widget, &event);
}

void press(QWidget *widget)
{
    sendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(3, 3));
}

QRect boundsOf(const QImage &image, QRgb colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & RGB_MASK) == (colour & RGB_MASK))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

void tst_KavButton::faceFrame_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QRgb>("face");

    QTest::addRow("normal") << "normal" << NormalFace;
    QTest::addRow("mouse over") << "over" << MouseOnFace;
    QTest::addRow("pressed") << "pressed" << PressedFace;
    QTest::addRow("pressed wins over mouse over") << "over pressed" << PressedFace;
    QTest::addRow("disabled shows the normal frame") << "over disabled" << NormalFace;
}

void tst_KavButton::faceFrame()
{
    QFETCH(QString, state);
    ThemedScene scene(m_dir, false);
    QVERIFY(scene.theme);
    if (state.contains(u"over"))
        enter(scene.button);
    if (state.contains(u"pressed"))
        press(scene.button);
    if (state.contains(u"disabled"))
        scene.button->setEnabled(false);
    const QImage face = render(scene.button);
    QCOMPARE(face.size(), QSize(80, 27));
    QTEST(face.pixel(5, 13), "face");
    QTEST(face.pixel(75, 25), "face");
}

void tst_KavButton::captionShiftedWhenPressed()
{
    ThemedScene scene(m_dir, false);
    QVERIFY(scene.theme);
    const auto normal = scene.ink();
    QVERIFY(normal.size() > 10);
    press(scene.button);
    QCOMPARE(scene.ink(), shifted(normal, 1, 1));
}

void tst_KavButton::disabledCaptionHasWhiteShadow()
{
    ThemedScene scene(m_dir, false);
    QVERIFY(scene.theme);
    const auto enabledInk = scene.ink();
    scene.button->setEnabled(false);
    const QImage face = render(scene.button);
    const auto ink = scene.ink();

    QSet<QPair<int, int>> grey, white;
    for (const auto &point : ink) {
        const QRgb pixel = face.pixel(point.first, point.second) & RGB_MASK;
        if (pixel == (qRgb(128, 128, 128) & RGB_MASK))
            grey.insert(point);
        else if (pixel == (qRgb(255, 255, 255) & RGB_MASK))
            white.insert(point);
        else
            QFAIL("caption pixel neither grey nor white");
    }
    // The grey caption sits where the enabled one does, its white shadow one pixel down right.
    QCOMPARE(grey, enabledInk);
    QVERIFY(!white.isEmpty());
    QCOMPARE(grey | white, grey | shifted(grey, 1, 1));
}

void tst_KavButton::transparentCornersShowParent_data()
{
    QTest::addColumn<bool>("transparentLook");
    QTest::addColumn<QRgb>("corner");

    QTest::addRow("transparent look shows the parent") << true << ParentColour;
    QTest::addRow("opaque look draws its corner") << false << Magenta;
}

void tst_KavButton::transparentCornersShowParent()
{
    QFETCH(bool, transparentLook);
    ThemedScene scene(m_dir, transparentLook);
    QVERIFY(scene.theme);
    QCOMPARE(scene.button->Transparent(), transparentLook);
    const QImage face = render(scene.button);
    QTEST(face.pixel(0, 0), "corner");
    QCOMPARE(face.pixel(1, 0), NormalFace);
}

namespace {

// Left of x = 35 yellow, right of it green, whatever its children are.
class SplitBackground : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, 35, height(), QColor(ParentColour));
        painter.fillRect(35, 0, width() - 35, height(), Qt::green);
    }
};

} // namespace

// Declared at file level so that moc sees it; a page of a page control is a see-through
// container: a transparent button on it shows the page's parent.
class TTabSheet : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("KavSeeThrough", "true")

public:
    using QWidget::QWidget;
};

void tst_KavButton::transparentOnTabSheetShowsGrandparent()
{
    SplitBackground grandparent;
    grandparent.resize(200, 100);
    auto *sheet = new TTabSheet(&grandparent);
    sheet->setGeometry(30, 20, 150, 60);
    sheet->setAutoFillBackground(true);
    QPalette palette = sheet->palette();
    palette.setColor(QPalette::Window, Qt::cyan);
    sheet->setPalette(palette);
    const auto theme = writeTheme(m_dir, QStringLiteral("sheet"), true);
    QVERIFY(theme);
    auto *button = new TkavButton(sheet);
    button->setGeometry(10, 5, 80, 27);
    button->setFileTheme(theme.get());
    button->setUIStyle(TkavUIStyle::FromThemeFile);
    // The corner lies over x = 40 of the grandparent, which is green there.
    QCOMPARE(render(button).pixel(0, 0), qRgb(0, 255, 0));
}

void tst_KavButton::focusRectangle()
{
    ShownWindow shown;
    const auto theme = writeTheme(m_dir, QStringLiteral("focus"), false);
    QVERIFY(theme);
    auto *button = new TkavButton(&shown.window);
    button->setGeometry(10, 10, 80, 27);
    button->setFileTheme(theme.get());
    button->setUIStyle(TkavUIStyle::FromThemeFile);
    button->setCaption(QStringLiteral("   ")); // blanks: no caption, but still a focus rectangle
    auto *edit = new QLineEdit(&shown.window);
    edit->move(10, 60);
    QVERIFY(shown.show());

    edit->setFocus();
    const QImage unfocused = render(button);
    QCOMPARE(unfocused.pixel(2, 2), NormalFace);
    button->setFocus();
    QImage focused = render(button);
    const QRgb inverted = qRgb(0, 255, 255);
    QCOMPARE(focused.pixel(2, 2), inverted);
    QCOMPARE(focused.pixel(3, 2), NormalFace);
    QCOMPARE(focused.pixel(4, 2), inverted);
    // Frame (2, 2)-(78, 25): every other pixel, counted from the top-left corner.
    QCOMPARE(focused.pixel(76, 24), inverted);
    QCOMPARE(focused.pixel(77, 24), NormalFace);
    QCOMPARE(focused.pixel(77, 23), inverted);
    QCOMPARE(focused.pixel(78, 24), NormalFace);
    QCOMPARE(focused.pixel(1, 1), NormalFace);
    QCOMPARE(difference(focused, unfocused).size() > 50, true);

    button->setFocusedRectMargin(4);
    focused = render(button);
    QCOMPARE(focused.pixel(2, 2), NormalFace);
    QCOMPARE(focused.pixel(4, 4), inverted);
}

void tst_KavButton::focusedMacOSCaptionIsBold_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<bool>("bold");

    QTest::addRow("MacOS") << TkavUIStyle::MacOS << true;
    QTest::addRow("BlueGlass") << TkavUIStyle::BlueGlass << true;
    QTest::addRow("WinXP") << TkavUIStyle::WinXP << false;
    QTest::addRow("DeepBlue") << TkavUIStyle::DeepBlue << false;
}

void tst_KavButton::focusedMacOSCaptionIsBold()
{
    QFETCH(TkavUIStyle, style);
    QFETCH(bool, bold);
    ShownWindow shown;
    auto *button = new TkavButton(&shown.window);
    button->setGeometry(10, 10, 80, 27);
    button->setFont(fixtureFont());
    button->setUIStyle(style);
    button->setCaption(QStringLiteral("Go"));
    auto *edit = new QLineEdit(&shown.window);
    edit->move(10, 60);
    QVERIFY(shown.show());

    auto inkOf = [button] {
        const QImage with = render(button);
        button->setCaption(QString());
        const QImage without = render(button);
        button->setCaption(QStringLiteral("Go"));
        return std::make_pair(difference(with, without), without);
    };
    edit->setFocus();
    const auto [normalInk, unfocusedFace] = inkOf();
    button->setFocus();
    const auto [focusedInk, focusedFace] = inkOf();
    QVERIFY(!normalInk.isEmpty());
    if (bold) {
        QVERIFY(focusedInk.size() > normalInk.size());
        QCOMPARE(focusedFace, unfocusedFace); // no focus rectangle
    } else {
        QCOMPARE(focusedInk, normalInk);
        QVERIFY(focusedFace != unfocusedFace);
    }
}

void tst_KavButton::blankCaptionLeavesNoBoldBehind()
{
    ShownWindow shown;
    auto *button = new TkavButton(&shown.window);
    button->setGeometry(10, 10, 80, 27);
    auto *reference = new TkavButton(&shown.window);
    reference->setGeometry(10, 50, 80, 27);
    for (TkavButton *each : {button, reference}) {
        each->setFont(fixtureFont());
        each->setUIStyle(TkavUIStyle::MacOS);
    }
    reference->setCaption(QStringLiteral("Go"));
    auto *edit = new QLineEdit(&shown.window);
    edit->move(120, 10);
    QVERIFY(shown.show());

    button->setCaption(QStringLiteral("  "));
    button->setFocus();
    render(button); // focused with nothing to write: the bold caption is not kept for later
    edit->setFocus();
    button->setCaption(QStringLiteral("Go"));
    QCOMPARE(render(button), render(reference));
}

void tst_KavButton::unreadablePictureGivesBlankFace()
{
    QWidget parent;
    auto *button = new FailingButton(&parent);
    button->setUIStyle(TkavUIStyle::DeepBlue);
    button->setFont(fixtureFont());
    const QImage blank = render(button);
    QCOMPARE(blank.pixel(5, 13), qRgb(255, 255, 255));
    button->setCaption(QStringLiteral("Go"));
    QVERIFY(!difference(render(button), blank).isEmpty());
}

void tst_KavButton::twoImageGlyph_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QRgb>("shown");
    QTest::addColumn<QRgb>("notShown");

    const QRgb left = qRgb(0, 200, 200), right = qRgb(200, 0, 200);
    QTest::addRow("enabled shows the left half") << true << left << right;
    QTest::addRow("disabled shows the right half") << false << right << left;
}

void tst_KavButton::twoImageGlyph()
{
    QFETCH(bool, enabled);
    QFETCH(QRgb, shown);
    QFETCH(QRgb, notShown);
    QImage glyph(32, 16, QImage::Format_RGB32);
    glyph.fill(Magenta);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) {
            glyph.setPixel(x, y, qRgb(0, 200, 200));
            glyph.setPixel(16 + x, y, qRgb(200, 0, 200));
        }
    ThemedScene scene(m_dir, false);
    QVERIFY(scene.theme);
    scene.button->setGlyph(glyph);
    scene.button->setEnabled(enabled);
    const QImage face = render(scene.button);
    QCOMPARE(boundsOf(face, shown).size(), QSize(12, 12));
    QVERIFY(boundsOf(face, notShown).isNull());
    QCOMPARE(boundsOf(face, Magenta), QRect(0, 0, 1, 1)); // only the face's own opaque corner
}

void tst_KavButton::glyphShiftedWhenPressed()
{
    const QRgb colour = qRgb(10, 120, 30);
    QImage glyph(10, 10, QImage::Format_RGB32);
    glyph.fill(colour);
    glyph.setPixel(0, 0, Magenta);
    ThemedScene scene(m_dir, false);
    QVERIFY(scene.theme);
    scene.button->setGlyph(glyph);

    // Glyph left of the caption, the pair centred: X = (W - tw - gw - S) / 2, Y = (H - gh) / 2.
    const int tw = QFontMetrics(fixtureFont()).size(Qt::TextSingleLine | Qt::TextShowMnemonic, QStringLiteral("Go")).width();
    const QRect normal = boundsOf(render(scene.button), colour);
    QCOMPARE(normal, QRect((80 - tw - 10 - 4) / 2, (27 - 10) / 2, 10, 10));
    press(scene.button);
    QCOMPARE(boundsOf(render(scene.button), colour), normal.translated(1, 1));
}

void tst_KavButton::arrowTriangle_data()
{
    QTest::addColumn<TKavArrowButton::TkavArrowButtonType>("arrow");
    QTest::addColumn<QPoint>("inside");

    // 16 x 11: x0 = 5, y0 = 4.
    QTest::addRow("up") << TKavArrowButton::kavUp << QPoint(8, 6);
    QTest::addRow("down") << TKavArrowButton::kavDown << QPoint(8, 5);
}

void tst_KavButton::arrowTriangle()
{
    QFETCH(TKavArrowButton::TkavArrowButtonType, arrow);
    QFETCH(QPoint, inside);
    QWidget parent;
    const auto theme = writeTheme(m_dir, QStringLiteral("arrow"), false);
    QVERIFY(theme);
    auto *button = new TKavArrowButton(&parent);
    button->setGeometry(0, 0, 16, 11);
    button->setFileTheme(theme.get());
    button->setUIStyle(TkavUIStyle::FromThemeFile);
    button->setArrow(arrow);
    const QImage face = render(button);
    QCOMPARE(face.pixel(inside), qRgb(0, 0, 0));
    QCOMPARE(face.pixel(8, 2), NormalFace);
    QCOMPARE(face.pixel(8, 9), NormalFace);
    QCOMPARE(face.pixel(2, 5), NormalFace);
    // Never a caption.
    button->setCaption(QStringLiteral("X"));
    QCOMPARE(render(button), face);
}

void tst_KavButton::imageButtonFallsBackToNormal_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("statePicture");
    QTest::addColumn<QRgb>("shown");

    const QRgb normal = qRgb(200, 0, 0), over = qRgb(0, 200, 0), down = qRgb(0, 0, 200), off = qRgb(90, 90, 90);
    QTest::addRow("normal") << "normal" << true << normal;
    QTest::addRow("mouse over") << "over" << true << over;
    QTest::addRow("mouse over without its picture") << "over" << false << normal;
    QTest::addRow("pressed") << "pressed" << true << down;
    QTest::addRow("pressed without its picture") << "pressed" << false << normal;
    QTest::addRow("disabled") << "disabled" << true << off;
    QTest::addRow("disabled without its picture") << "disabled" << false << normal;
}

void tst_KavButton::imageButtonFallsBackToNormal()
{
    QFETCH(QString, state);
    QFETCH(bool, statePicture);
    auto solid = [](QRgb colour) {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(colour);
        return picture;
    };
    QWidget parent;
    auto *button = new TkavImageButton(&parent);
    button->setAutoSize(true);
    button->setPicNormal(solid(qRgb(200, 0, 0)));
    QCOMPARE(button->size(), QSize(8, 8));
    if (statePicture) {
        button->setPicMouseOn(solid(qRgb(0, 200, 0)));
        button->setPicMouseDown(solid(qRgb(0, 0, 200)));
        button->setPicDisabled(solid(qRgb(90, 90, 90)));
    }
    if (state == u"over")
        enter(button);
    else if (state == u"pressed")
        press(button);
    else if (state == u"disabled")
        button->setEnabled(false);
    QTEST(render(button).pixel(4, 4), "shown");
}

void tst_KavButton::controlButtonTakesFrameSize()
{
    QWidget parent;
    const auto theme = writeTheme(m_dir, QStringLiteral("control"), false);
    QVERIFY(theme);
    auto *button = new TkavControlButton(&parent);
    QVERIFY(!button->TabStop());
    QCOMPARE(button->UIStyle(), TkavUIStyle::DeepBlue);
    button->setFileTheme(theme.get());
    button->setUIStyle(TkavUIStyle::FromThemeFile);
    button->setThemeID(KavKey::ButtonImage);
    button->setPicCount(3);
    button->setPicIndex(1);
    QCOMPARE(button->size(), QSize(12, 10));
    QCOMPARE(render(button).pixel(5, 5), NormalFace);
    enter(button);
    QCOMPARE(render(button).pixel(5, 5), MouseOnFace);
    press(button);
    QCOMPARE(render(button).pixel(5, 5), NormalFace);

    // Nothing to show is an empty face, not a failure.
    button->setThemeID(0);
    QVERIFY(!render(button).isNull());
}

void tst_KavButton::speedButtonFramesOnHover()
{
    QWidget parent;
    auto *button = new TkavToolBarSpeedButton(&parent);
    QCOMPARE(button->size(), QSize(18, 18));
    button->setColor(Qt::white);
    const QImage plain = render(button);
    enter(button);
    QCOMPARE(render(button), plain); // no glyph: nothing but the face

    QImage glyph(8, 8, QImage::Format_RGB32);
    glyph.fill(qRgb(200, 0, 0));
    glyph.setPixel(0, 7, Magenta); // a transparent picture's key is its bottom-left pixel
    button->setGlyph(glyph);
    QImage face = render(button);
    QCOMPARE(face.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(face.pixel(17, 17), qRgb(0, 0, 0));
    QCOMPARE(face.pixel(1, 1), qRgb(200, 0, 0));
    QCOMPARE(face.pixel(1, 8), qRgb(255, 255, 255));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    face = render(button);
    QCOMPARE(face.pixel(0, 0), qRgb(255, 255, 255));

    QSignalSpy clicks(button, &TkavToolBarSpeedButton::OnClick);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
}

// A button's caption is written in its font colour: what its container's font colour hands down
// (a group box's FontColor), or a colour of its own.
void tst_KavButton::captionInFontColour_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QRgb>("ink");

    QTest::addRow("plain parent") << "" << qRgb(0, 0, 0);
    QTest::addRow("group box's font colour") << "blueGroup" << qRgb(0, 0, 255);
    QTest::addRow("own font colour") << "blueGroup redButton" << qRgb(200, 0, 0);
    QTest::addRow("disabled stays grey") << "blueGroup disabled" << qRgb(128, 128, 128);
}

void tst_KavButton::captionInFontColour()
{
    QFETCH(QString, setup);
    QFETCH(QRgb, ink);
    QWidget window;
    auto *group = new TkavGroupBox(&window);
    group->setGeometry(0, 0, 200, 100);
    group->ensurePolished(); // its look first: a font colour given after it stays
    if (setup.contains(u"blueGroup"))
        group->setFontColor(QColor(Qt::blue));
    const auto theme = writeTheme(m_dir, QStringLiteral("colour"), false);
    QVERIFY(theme);
    auto *button = new TkavButton(group);
    button->setGeometry(10, 20, 80, 27);
    button->setFont(fixtureFont());
    button->setFileTheme(theme.get());
    button->setUIStyle(TkavUIStyle::FromThemeFile);
    if (setup.contains(u"redButton")) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::WindowText, QColor(200, 0, 0));
        button->setPalette(palette);
    }
    button->setEnabled(!setup.contains(u"disabled"));

    button->setCaption(QStringLiteral("Go"));
    const QImage face = render(button);
    button->setCaption(QString());
    const auto caption = difference(face, render(button));
    QVERIFY(caption.size() > 10);
    int inked = 0;
    for (const auto &point : caption) {
        const QRgb pixel = face.pixel(point.first, point.second);
        if (pixel == ink)
            ++inked;
        else if (!setup.contains(u"disabled") || pixel != qRgb(255, 255, 255)) // the grey's shadow
            QFAIL(qPrintable(QStringLiteral("caption pixel #%1").arg(pixel & RGB_MASK, 6, 16, QLatin1Char('0'))));
    }
    QVERIFY(inked > 10);
}

void tst_KavButton::glyphPlacement_data()
{
    QTest::addColumn<Kav::GlyphSide>("side");
    QTest::addColumn<int>("captionWidth");
    QTest::addColumn<QPoint>("glyph");
    QTest::addColumn<QPoint>("caption");

    // An 80 x 27 button, a 10 x 10 glyph, a caption 14 high, 4 pixels apart.
    QTest::addRow("left") << Kav::GlyphSide::Left << 20 << QPoint(23, 8) << QPoint(37, 6);
    QTest::addRow("right") << Kav::GlyphSide::Right << 20 << QPoint(47, 8) << QPoint(23, 6);
    // (27 - 14 - 10 - 4) / 2 is -1 / 2: rounded toward zero, not down.
    QTest::addRow("top") << Kav::GlyphSide::Top << 20 << QPoint(35, 0) << QPoint(30, 14);
    QTest::addRow("bottom") << Kav::GlyphSide::Bottom << 20 << QPoint(35, 17) << QPoint(30, -1);
    QTest::addRow("caption wider than the button") << Kav::GlyphSide::Left << 91 << QPoint(-12, 8) << QPoint(2, 6);
}

void tst_KavButton::glyphPlacement()
{
    QFETCH(Kav::GlyphSide, side);
    QFETCH(int, captionWidth);
    const Kav::GlyphPlacement place = Kav::KavPlaceGlyph(QSize(80, 27), QSize(captionWidth, 14), QSize(10, 10), side, 4);
    QTEST(place.glyph.topLeft(), "glyph");
    QCOMPARE(place.glyph.size(), QSize(10, 10));
    QTEST(place.caption, "caption");
}

// Pictures are cut, masked and greyed when the look or a picture changes; a paint, in whatever
// state, only draws what was prepared.
void tst_KavButton::paintPreparesNoPictures()
{
    QImage glyph(12, 12, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 120, 0));
    glyph.setPixel(0, 0, Magenta);
    QWidget window;
    QList<TkavCustomButton *> buttons;
    for (int i = 0; i < 3; ++i) {
        auto *button = new TkavButton(&window);
        button->setCaption(QStringLiteral("Go"));
        button->setGlyph(glyph);
        buttons.append(button);
    }
    buttons.append(new TKavArrowButton(&window));
    auto *image = new TkavImageButton(&window);
    image->setPicNormal(glyph);
    image->setPicTransparent(true);
    buttons.append(image);
    auto *control = new TkavControlButton(&window);
    control->setThemeID(KavKey::TitleBarButtonImage);
    control->setPicCount(Kav::KavThemeKeyFrameCount(KavKey::TitleBarButtonImage));
    control->setPicIndex(1);
    buttons.append(control);
    // Both looks seen once, so that switching between them needs nothing new.
    for (TkavUIStyle look : {TkavUIStyle::WinXP, TkavUIStyle::MacOS}) {
        for (TkavCustomButton *button : buttons) {
            button->setUIStyle(look);
            render(button);
        }
    }

    const Kav::TkavPictureStore::Counters before = Kav::TkavPictureStore::instance().counters();
    enter(buttons[0]);
    press(buttons[1]);
    buttons[2]->setEnabled(false);
    for (TkavCustomButton *button : buttons) {
        render(button);
        button->setUIStyle(TkavUIStyle::WinXP);
        render(button);
        button->setUIStyle(TkavUIStyle::MacOS);
        render(button);
    }
    const Kav::TkavPictureStore::Counters after = Kav::TkavPictureStore::instance().counters();
    QCOMPARE(after.decodes, before.decodes);
    QCOMPARE(after.preparations, before.preparations);
}

void tst_KavButton::identicalButtonsShareOneFace()
{
    QWidget window;
    QList<TkavButton *> buttons;
    for (int i = 0; i < 4; ++i) {
        auto *button = new TkavButton(&window);
        button->setUIStyle(TkavUIStyle::Protein);
        button->resize(93, 29); // a size no other test draws
        buttons.append(button);
    }
    const TkavFaceCache::Counters before = TkavFaceCache::shared().counters();
    for (TkavButton *button : buttons)
        render(button);
    const TkavFaceCache::Counters after = TkavFaceCache::shared().counters();
    QCOMPARE(after.composed - before.composed, 1);
    QCOMPARE(after.hits - before.hits, 3);
}

// --- Accessibility -----------------------------------------------------------------------------

void tst_KavButton::accessibility_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QString>("name");

    QTest::addRow("caption") << "开始考试" << true << false << "开始考试";
    QTest::addRow("accelerator") << "&Start" << true << false << "Start";
    QTest::addRow("disabled") << "我要交卷" << false << false << "我要交卷";
    QTest::addRow("pressed") << "OK" << true << true << "OK";
}

void tst_KavButton::accessibility()
{
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(bool, pressed);
    QWidget window;
    auto *button = new TkavButton(&window);
    button->setCaption(caption);
    button->setEnabled(enabled);
    if (pressed)
        press(button);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Button);
    QTEST(accessible->text(QAccessible::Name), "name");
    const QAccessible::State state = accessible->state();
    QCOMPARE(bool(state.disabled), !enabled);
    QCOMPARE(bool(state.pressed), pressed);
    QVERIFY(state.focusable || !enabled);
    QVERIFY(!state.checkable);
}

// Which captionless button, in the table below.
enum class Captionless { ArrowUp, ArrowDown, SpeedButton };

void tst_KavButton::captionlessButtonsAreNamed_data()
{
    QTest::addColumn<Captionless>("kind");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("name");

    QTest::addRow("arrow up") << Captionless::ArrowUp << QString() << "Up";
    QTest::addRow("arrow down") << Captionless::ArrowDown << QString() << "Down";
    QTest::addRow("arrow with a tool tip") << Captionless::ArrowDown << "Next page" << "Next page";
    QTest::addRow("speed button with a tool tip") << Captionless::SpeedButton << "Close" << "Close";
    QTest::addRow("speed button without") << Captionless::SpeedButton << QString() << QString();
}

void tst_KavButton::captionlessButtonsAreNamed()
{
    QFETCH(Captionless, kind);
    QFETCH(QString, toolTip);
    QWidget window;
    QAbstractButton *button = nullptr;
    if (kind == Captionless::SpeedButton) {
        button = new TkavToolBarSpeedButton(&window);
    } else {
        auto *arrow = new TKavArrowButton(&window);
        arrow->setArrow(kind == Captionless::ArrowUp ? TKavArrowButton::kavUp : TKavArrowButton::kavDown);
        button = arrow;
    }
    button->setToolTip(toolTip);
    QSignalSpy clicked(button, &QAbstractButton::clicked);

    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Button);
    QTEST(accessible->text(QAccessible::Name), "name");
    QVERIFY(!accessible->state().pressed);

    // Still a button to press.
    QAccessibleActionInterface *actions = accessible->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(tst_KavButton)
#include "tst_kavbutton.moc"
