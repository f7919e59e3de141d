// The skinned form on its window: where it sits, the border and background it draws, the edges
// that size the window, the menu bar and form panel it places, and the refusals.

#include "KAVErrorBox.h"
#include "KAVForm.h"
#include "KAVMainMenu.h"
#include "KAVTabControl.h"
#include "KAVThemeValues.h"
#include "KAVTitleBar.h"
#include "KAVTitleBarPopupMenu.h"
#include "KAVWindowDrag.h"
#include "KAVWindowState.h"
#include "../controls/kav_fixture_theme.h"

#include <QApplication>
#include <QFrame>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

// A window of the given client size with a skinned form of the given look on it.
struct SkinnedWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TkavForm *form = nullptr;

    explicit SkinnedWindow(QSize client = {400, 300}, TkavUIStyle look = TkavUIStyle::MacOS)
    {
        window->resize(client);
        form = new TkavForm(window.get());
        form->setUIStyle(look);
        window->resize(client);
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

// Counts the mouse presses a control receives.
class PressCounter : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

} // namespace

class TestKavForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        Kav::KavSetErrorBoxHandler({});
        Kav::KavSetWindowManagerProbe({});
    }

    void placesItselfInsideTheBorder_data()
    {
        QTest::addColumn<bool>("titleBarVisible");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("title bar shown: no top border") << true << QRect(1, 0, 398, 299);
        QTest::newRow("title bar hidden: a top border") << false << QRect(1, 1, 398, 298);
    }
    void placesItselfInsideTheBorder()
    {
        QFETCH(bool, titleBarVisible);
        QFETCH(QRect, expected);
        SkinnedWindow skinned;
        QCOMPARE(skinned.form->BorderWidth(), 1);
        skinned.form->setTitleBarVisible(titleBarVisible);
        QCOMPARE(skinned.form->geometry(), expected);
        QCOMPARE(skinned.form->TitleBar()->isVisibleTo(skinned.form), titleBarVisible);
        QCOMPARE(skinned.form->contentsRect().top(),
                 titleBarVisible ? skinned.form->TitleBar()->height() : 0);
    }

    void makesTheWindowFrameless()
    {
        SkinnedWindow skinned;
        QVERIFY(skinned.window->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(skinned.window->minimumWidth() >= 125);
        QVERIFY(skinned.window->minimumHeight() >= 50);
    }

    void switchingLookKeepsTheFormsSize()
    {
        SkinnedWindow skinned;
        const QSize formSize = skinned.form->size();
        skinned.form->setUIStyle(TkavUIStyle::WinXP);
        QCOMPARE(skinned.form->BorderWidth(), 3);
        QCOMPARE(skinned.form->BorderColor(), TColor(0xC82C00));
        QCOMPARE(skinned.form->Color(), TColor(0xDEEBEF));
        QCOMPARE(skinned.form->MenuBarColor(), TColor(0xDEEBEF));
        QCOMPARE(skinned.form->size(), formSize);
        QCOMPARE(skinned.window->size(), QSize(404, 302));
        QCOMPARE(skinned.form->pos(), QPoint(3, 0));
    }

    void fixedSizeWindowStaysFixed()
    {
        SkinnedWindow skinned;
        skinned.window->setFixedSize(400, 300);
        skinned.form->setUIStyle(TkavUIStyle::WinXP);
        QCOMPARE(skinned.window->minimumSize(), QSize(404, 302));
        QCOMPARE(skinned.window->maximumSize(), QSize(404, 302));
        QVERIFY(!skinned.form->sizeable());
    }

    void drawsTheBorderAndTheBackground_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        QTest::newRow("MacOS: pinstripes") << TkavUIStyle::MacOS;
        QTest::newRow("WinXP: plain colour") << TkavUIStyle::WinXP;
    }
    void drawsTheBorderAndTheBackground()
    {
        QFETCH(TkavUIStyle, look);
        SkinnedWindow skinned({200, 120}, look);
        const QImage image = skinned.window->grab().toImage();
        const QColor border = skinned.form->BorderColor().resolved();
        const int width = skinned.form->BorderWidth();
        QCOMPARE(image.pixelColor(0, 60), border);
        QCOMPARE(image.pixelColor(width - 1, 60), border);
        QCOMPARE(image.pixelColor(199, 60), border);
        QCOMPARE(image.pixelColor(100, 119), border);
        QVERIFY(image.pixelColor(width, 60) != border);
        // Below the title bar the form's background shows.
        const int y = skinned.form->TitleBar()->height() + 10;
        if (look == TkavUIStyle::MacOS) {
            QSet<QRgb> colours;
            for (int row = y; row < y + 8; ++row)
                colours.insert(image.pixel(50, row));
            QVERIFY2(colours.size() > 1, "the MacOS background is a pattern, not one colour");
        } else {
            QCOMPARE(image.pixelColor(50, y), skinned.form->Color().resolved());
        }
    }

    void sizingEdges_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("edges");
        // A window 400 x 300 with a 3-pixel border.
        QTest::newRow("left edge") << QPoint(2, 150) << int(Qt::LeftEdge);
        QTest::newRow("inside the band") << QPoint(4, 150) << int(Qt::LeftEdge);
        QTest::newRow("just past the band") << QPoint(5, 150) << 0;
        QTest::newRow("bottom-right") << QPoint(397, 297) << int(Qt::RightEdge | Qt::BottomEdge);
        QTest::newRow("top-left") << QPoint(1, 1) << int(Qt::LeftEdge | Qt::TopEdge);
        QTest::newRow("top-right") << QPoint(396, 3) << int(Qt::RightEdge | Qt::TopEdge);
        QTest::newRow("bottom-left") << QPoint(0, 299) << int(Qt::LeftEdge | Qt::BottomEdge);
        QTest::newRow("top, in the title bar") << QPoint(200, 4) << int(Qt::TopEdge);
        QTest::newRow("right") << QPoint(396, 150) << int(Qt::RightEdge);
        QTest::newRow("middle") << QPoint(200, 150) << 0;
    }
    void sizingEdges()
    {
        QFETCH(QPoint, point);
        QFETCH(int, edges);
        SkinnedWindow skinned({400, 300}, TkavUIStyle::WinXP);
        skinned.window->resize(400, 300);
        QCOMPARE(int(skinned.form->sizingEdgesAt(point)), edges);
    }

    void noSizingWhenFixedOrMaximised()
    {
        SkinnedWindow skinned;
        skinned.window->setFixedSize(skinned.window->size());
        QCOMPARE(int(skinned.form->sizingEdgesAt(QPoint(1, 100))), 0);
        SkinnedWindow maximised;
        maximised.window->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(maximised.window.get()));
        QCOMPARE(int(maximised.form->sizingEdgesAt(QPoint(1, 100))), 0);
    }

    void pressOnAnEdgeSizesTheWindowNotTheControl()
    {
        SkinnedWindow skinned;
        auto *control = new PressCounter(skinned.form);
        control->setGeometry(0, 30, 398, 269); // reaches the window's bottom edge
        skinned.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(skinned.window.get()));

        sendMouse(control, QEvent::MouseButtonPress, QPoint(200, 150), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(control->presses, 1);
        QVERIFY(!Kav::KavWindowDragActive(skinned.window.get()));

        sendMouse(control, QEvent::MouseButtonPress, QPoint(200, 298), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(control->presses, 1);
        QVERIFY(Kav::KavWindowDragActive(skinned.window.get())); // offscreen: the window sizes itself
        sendMouse(control, QEvent::MouseMove, QPoint(200, 318), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(skinned.window->height(), 320);
        sendMouse(control, QEvent::MouseButtonRelease, QPoint(200, 318), Qt::LeftButton, Qt::NoButton);
        QCoreApplication::processEvents();
        QVERIFY(!Kav::KavWindowDragActive(skinned.window.get()));
        QCOMPARE(skinned.form->height(), 319);
    }

    void cursorShowsTheEdgeAndComesBack()
    {
        SkinnedWindow skinned;
        auto *control = new QWidget(skinned.form);
        control->setGeometry(0, 30, 398, 269);
        control->setCursor(Qt::IBeamCursor);
        skinned.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(skinned.window.get()));
        QWindow *handle = skinned.window->windowHandle();

        sendMouse(control, QEvent::MouseMove, QPoint(1, 150), Qt::NoButton, Qt::NoButton);
        QCOMPARE(handle->cursor().shape(), Qt::SizeHorCursor);
        sendMouse(control, QEvent::MouseMove, QPoint(398, 298), Qt::NoButton, Qt::NoButton);
        QCOMPARE(handle->cursor().shape(), Qt::SizeFDiagCursor);
        sendMouse(control, QEvent::MouseMove, QPoint(100, 150), Qt::NoButton, Qt::NoButton);
        QCOMPARE(handle->cursor().shape(), Qt::IBeamCursor);

        sendMouse(control, QEvent::MouseMove, QPoint(1, 150), Qt::NoButton, Qt::NoButton);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(skinned.window.get(), &leave);
        QCOMPARE(handle->cursor().shape(), Qt::ArrowCursor);
    }

    void secondFormIsRefused()
    {
        SkinnedWindow skinned;
        try {
            new TkavForm(skinned.window.get());
            QFAIL("a second form was accepted");
        } catch (const EKavFormError &error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QStringLiteral("Sorry, You can create only one TkavForm component in one form!"));
        }
        QCOMPARE(skinned.window->findChildren<TkavForm *>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    }

    void captionFollowsTheWindowTitle()
    {
        SkinnedWindow skinned;
        skinned.window->setWindowTitle(QStringLiteral("Exam"));
        QCOMPARE(skinned.form->Caption(), QStringLiteral("Exam"));
        skinned.form->setCaption(QStringLiteral("Results"));
        QCOMPARE(skinned.window->windowTitle(), QStringLiteral("Results"));
        QCOMPARE(skinned.form->TitleBar()->Caption(), QStringLiteral("Results"));
    }

    void menuBarSitsUnderTheTitleBar()
    {
        SkinnedWindow skinned;
        auto *menu = new QMenuBar;
        menu->addMenu(QStringLiteral("&File"));
        skinned.form->setMenu(menu);
        QCOMPARE(menu->parentWidget(), skinned.form);
        const int titleHeight = skinned.form->TitleBar()->height();
        QCOMPARE(menu->geometry(), QRect(0, titleHeight, skinned.form->width(), 22));
        QCOMPARE(skinned.form->contentsRect().top(), titleHeight + 22);
        skinned.form->setMenuBarHeight(30);
        QCOMPARE(menu->height(), 30);
        QCOMPARE(skinned.form->contentsRect().top(), titleHeight + 30);
        delete menu;
        QCOMPARE(skinned.form->Menu(), nullptr);
        QCOMPARE(skinned.form->contentsRect().top(), titleHeight);

        // A window that goes with its menu bar on: the bar goes after the form, quietly.
        SkinnedWindow other;
        other.form->setMenu(new QMenuBar);
        other.window.reset();
    }

    void mainMenuMadeOnTheWindowIsTheFormsMenu()
    {
        SkinnedWindow skinned({400, 300}, TkavUIStyle::WinXP);
        auto *menu = new TkavMainMenu(skinned.window.get());
        menu->addMenu(QStringLiteral("&File"));
        menu->addMenu(QStringLiteral("&Help"));
        QCOMPARE(skinned.form->Menu(), menu);
        QCOMPARE(menu->form(), skinned.form);
        QCOMPARE(menu->UIStyle(), TkavUIStyle::WinXP);
        QCOMPARE(menu->menuBarColor(), skinned.form->MenuBarColor());
        QVERIFY(!menu->isNativeMenuBar());
        QCOMPARE(menu->actions().size(), 2);
        // The form hands its look on to its menu.
        skinned.form->setUIStyle(TkavUIStyle::MacOS);
        QCOMPARE(menu->UIStyle(), TkavUIStyle::MacOS);
        QCOMPARE(menu->menuBarColor(), skinned.form->MenuBarColor());
        // Taking the menu away hides its bar and frees the room.
        skinned.form->setMenu(nullptr);
        QCOMPARE(menu->form(), nullptr);
        QVERIFY(!menu->isVisibleTo(skinned.form));
        QCOMPARE(skinned.form->contentsRect().top(), skinned.form->TitleBar()->height());
    }

    void formPanelFillsTheArea()
    {
        SkinnedWindow skinned;
        QStringList errors;
        Kav::KavSetErrorBoxHandler([&errors](QWidget *, const QString &text) { errors << text; });
        skinned.form->setFormPanel(skinned.form);
        QCOMPARE(errors, QStringList{QStringLiteral("Sorry, you can't select the Form assign to FormPanel property")});
        QCOMPARE(skinned.form->FormPanel(), nullptr);

        auto *panel = new QFrame(skinned.form);
        panel->setFrameShape(QFrame::Box);
        skinned.form->setFormPanel(panel);
        QCOMPARE(panel->frameShape(), QFrame::NoFrame);
        QCOMPARE(panel->geometry(), skinned.form->contentsRect());
        skinned.window->resize(500, 400);
        QCOMPARE(panel->geometry(), skinned.form->contentsRect());
        delete panel;
        QCOMPARE(skinned.form->FormPanel(), nullptr);
    }

    void altSpaceOpensTheWindowMenu()
    {
        SkinnedWindow skinned;
        auto *control = new QWidget(skinned.form);
        control->setFocusPolicy(Qt::StrongFocus);
        skinned.window->show();
        QApplication::setActiveWindow(skinned.window.get());
        QVERIFY(QTest::qWaitForWindowActive(skinned.window.get()));
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Space, Qt::AltModifier);
        QMenu *menu = skinned.form->TitleBar()->windowMenu();
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), skinned.window->mapToGlobal(QPoint(0, skinned.form->TitleBar()->height())));
        menu->close();
        // A plain space is the control's.
        QTest::keyClick(control, Qt::Key_Space);
        QVERIFY(!menu->isVisible());
    }

    void maximiseAndRestore_data()
    {
        QTest::addColumn<bool>("windowManager");
        QTest::newRow("the window manager places it") << true;
        QTest::newRow("no window manager: it places itself") << false;
    }
    void maximiseAndRestore()
    {
        // Each request toggles the window's real state; the normal geometry comes back.
        QFETCH(bool, windowManager);
        Kav::KavSetWindowManagerProbe([windowManager] { return windowManager; });
        SkinnedWindow skinned;
        skinned.window->move(40, 30);
        skinned.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(skinned.window.get()));
        const QRect normal = skinned.window->geometry();
        const QRect workArea = skinned.window->screen()->availableGeometry();
        TkavTitleBar *bar = skinned.form->TitleBar();
        const QImage maximisePicture = bar->Buttons()->item(2)->PicMouseOn(); // the faces differ under the mouse
        for (int round = 0; round < 2; ++round) {
            bar->maximizeOrRestore();
            QTRY_VERIFY(skinned.window->isMaximized());
            QTRY_COMPARE(skinned.window->geometry(), workArea);
            QVERIFY(skinned.window->isMaximized()); // placing it kept the state
            QVERIFY(bar->Buttons()->item(2)->PicMouseOn() != maximisePicture);
            // A look with another border leaves the maximised window's size alone.
            for (const TkavUIStyle look : {TkavUIStyle::WinXP, TkavUIStyle::MacOS}) {
                skinned.form->setUIStyle(look);
                QCOMPARE(skinned.window->geometry(), workArea);
                QVERIFY(skinned.window->isMaximized());
            }

            bar->maximizeOrRestore();
            QTRY_VERIFY(!skinned.window->isMaximized());
            QTRY_COMPARE(skinned.window->size(), normal.size());
            QCOMPARE(bar->Buttons()->item(2)->PicMouseOn(), maximisePicture);
        }
        Kav::KavSetWindowManagerProbe({});
    }

    void f10OpensTheMenuBar()
    {
        SkinnedWindow skinned;
        auto *menu = new TkavMainMenu(skinned.window.get());
        QMenu *file = menu->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("Open"));
        auto *control = new QWidget(skinned.form);
        control->setFocusPolicy(Qt::StrongFocus);
        skinned.window->show();
        QApplication::setActiveWindow(skinned.window.get());
        QVERIFY(QTest::qWaitForWindowActive(skinned.window.get()));
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F10);
        QTRY_VERIFY(file->isVisible());
        QCOMPARE(menu->activeAction(), file->menuAction());
        file->close();
    }

    void fileThemeGivesTheFrameAndGoesBackToDeepBlue()
    {
        QTemporaryDir dir;
        std::unique_ptr<TkavFileTheme> theme = KavTest::writeFixtureTheme(
            dir, QStringLiteral("frame"), {},
            {{KavKey::FormBorderColor, TColor(0x0000FF)}, {KavKey::FormBackgroundColor, TColor(0x00FF00)},
             {KavKey::FormBorderWidthInt, TColor(2)}});
        QVERIFY(theme);
        SkinnedWindow skinned({300, 200}, TkavUIStyle::MacOS);
        skinned.form->setUIStyleAutoUpdateSub(true);
        auto *menu = new TkavMainMenu(skinned.window.get());
        skinned.form->setFileTheme(theme.get());
        skinned.form->setUIStyle(TkavUIStyle::FromThemeFile);
        QCOMPARE(skinned.form->BorderColor(), TColor(0x0000FF));
        QCOMPARE(skinned.form->Color(), TColor(0x00FF00));
        QCOMPARE(skinned.form->BorderWidth(), 2);
        QCOMPARE(menu->FileTheme(), theme.get());
        QCOMPARE(skinned.form->TitleBar()->FileTheme(), theme.get());

        theme.reset();
        QCOMPARE(skinned.form->FileTheme(), nullptr);
        QCOMPARE(skinned.form->UIStyle(), TkavUIStyle::DeepBlue);
        QCOMPARE(skinned.form->BorderColor(), KavThemeValues(TkavUIStyle::DeepBlue, nullptr).color(KavKey::FormBorderColor));
        QCOMPARE(menu->UIStyle(), TkavUIStyle::DeepBlue);
        QCOMPARE(menu->FileTheme(), nullptr);
    }

    void themeLoadingAnotherFileReachesTheFormAndItsControls()
    {
        // A form and a tab control on one file theme (owned by their window): when the theme loads
        // another file, both re-read their values from it, border pixels included.
        QTemporaryDir dir;
        const auto write = [&dir](const QString &name, TColor formBorder, TColor controlBorder) {
            return KavTest::writeFixtureTheme(dir, name, {},
                                              {{KavKey::FormBorderColor, formBorder},
                                               {KavKey::FormBorderWidthInt, TColor(2)},
                                               {KavKey::ControlBorderColor, controlBorder}});
        };
        QVERIFY(write(QStringLiteral("first"), TColor(0x0000FF), TColor(0x00FF00)));
        QVERIFY(write(QStringLiteral("second"), TColor(0xFF0000), TColor(0x00FFFF)));
        SkinnedWindow skinned({300, 200}, TkavUIStyle::MacOS);
        auto *theme = new TkavFileTheme(skinned.window.get());
        theme->setThemeFile(dir.filePath(QStringLiteral("first.kav")));
        auto *tabs = new TkavTabControl(skinned.form);
        tabs->setGeometry(10, 40, 150, 80);
        for (QObject *control : {static_cast<QObject *>(skinned.form), static_cast<QObject *>(tabs)}) {
            Kav::KavWriteFileTheme(control, theme);
            Kav::KavWriteUIStyle(control, TkavUIStyle::FromThemeFile);
        }
        QCOMPARE(skinned.form->BorderColor(), TColor(0x0000FF));
        QCOMPARE(tabs->BorderColor(), TColor(0x00FF00));

        theme->setThemeFile(dir.filePath(QStringLiteral("second.kav")));
        QCOMPARE(skinned.form->BorderColor(), TColor(0xFF0000));
        QCOMPARE(skinned.form->TitleBar()->outlineColor(), TColor(0xFF0000));
        QCOMPARE(tabs->BorderColor(), TColor(0x00FFFF));
        const QImage window = skinned.window->grab().toImage();
        QCOMPARE(window.pixelColor(0, 100), TColor(0xFF0000).resolved());
        const QImage strip = tabs->grab().toImage();
        QCOMPARE(strip.pixelColor(0, 70), TColor(0x00FFFF).resolved());
    }

    void versionIsFixed()
    {
        SkinnedWindow skinned;
        QVERIFY(skinned.form->setProperty("Version", QStringLiteral("9.9")));
        QCOMPARE(skinned.form->property("Version").toString(), QStringLiteral("4.30"));
    }
};

QTEST_MAIN(TestKavForm)
#include "tst_kavform.moc"
