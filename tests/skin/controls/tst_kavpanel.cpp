#include "KAVCheckBox.h"
#include "KAVFunctions.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVRadioGroup.h"
#include "KAVMgr.h"
#include "KAVThemeFile.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// The colours of the hand-made look.
constexpr TColor ThemeBorder = TColor(0x203040);
constexpr TColor ThemeCaption = TColor(0x00A0B0);
const QRgb FrameColours[4] = {qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200), qRgb(200, 200, 0)};

// Caption bar picture: one column, every row its own colour, so stretching and placement show.
QRgb barRow(int y)
{
    return qRgb(10 + y * 5, 60, 90);
}

QImage barPicture(int height)
{
    QImage picture(1, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        picture.setPixel(0, y, barRow(y));
    return picture;
}

// A theme file with a caption bar of the given height (none for 0) and the panel's colours.
bool writeTheme(const QString &path, int barHeight)
{
    TkavThemeFileWriter writer(path);
    if (barHeight > 0) {
        const QString picture = path + QStringLiteral(".bar.bmp");
        if (!barPicture(barHeight).save(picture, "BMP"))
            return false;
        writer.AddFile(Kav::KavThemeKeyName(KavKey::SideChannelBarImage), picture);
    }
    writer.AddInteger(Kav::KavThemeKeyName(KavKey::ControlBorderColor), qint32(ThemeBorder.value));
    writer.AddInteger(Kav::KavThemeKeyName(KavKey::MenuSelectedFontColor), qint32(ThemeCaption.value));
    return writer.Save();
}

// A push button strip of four 3 x 2 frames of one colour each.
QImage buttonStrip()
{
    QImage strip(12, 2, QImage::Format_RGB32);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 2; ++y)
            strip.setPixel(x, y, FrameColours[x / 3]);
    return strip;
}

// A panel whose push button comes from the hand-made strip instead of the library's picture.
class ButtonPanel : public TkavPanel {
public:
    using TkavPanel::TkavPanel;

protected:
    ButtonFrames pushButtonFrames() const override
    {
        ButtonFrames frames;
        for (int frame = 1; frame <= 4; ++frame)
            frames[frame - 1] = Kav::TkavPictureStore::instance().userPicture(buttonStrip(), {4, frame});
        return frames;
    }
};

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at,
               Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button)
                                                                      : Qt::MouseButtons();
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void click(QWidget *widget, const QPoint &at)
{
    sendMouse(widget, QEvent::MouseMove, at);
    sendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton);
}

// Runs the roll to its end step by step and returns the height after every step.
QList<int> rollToEnd(TkavPanel &panel)
{
    QList<int> heights;
    for (int guard = 0; panel.Animating() && guard < 1000; ++guard) {
        panel.stepRoll();
        heights << panel.height();
    }
    return heights;
}

// Lets the event loop run, never waiting for more events, until done() holds or a bounded number
// of rounds has passed.
template <typename Done>
void processEventsUntil(Done done)
{
    for (int round = 0; round < 1000 && !done(); ++round)
        QCoreApplication::processEvents();
}

QList<int> countdown(int from, int downTo, int step)
{
    QList<int> values;
    for (int value = from; step < 0 ? value >= downTo : value <= downTo; value += step)
        values << value;
    return values;
}

QRgb pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

} // namespace

class tst_KAVPanel : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme21;
    std::unique_ptr<TkavFileTheme> m_theme20;
    std::unique_ptr<TkavFileTheme> m_themeNoBar;

    TkavFileTheme *theme(int barHeight) const
    {
        switch (barHeight) {
        case 21: return m_theme21.get();
        case 20: return m_theme20.get();
        default: return m_themeNoBar.get();
        }
    }

    std::unique_ptr<TkavFileTheme> loadTheme(const QString &name, int barHeight)
    {
        const QString path = m_dir.filePath(name);
        if (!writeTheme(path, barHeight))
            return nullptr;
        auto loaded = std::make_unique<TkavFileTheme>();
        loaded->setThemeFile(path);
        return loaded;
    }

    // A panel in the hand-made look.
    template <typename Panel = TkavPanel>
    std::unique_ptr<Panel> themedPanel(int barHeight, QWidget *parent = nullptr)
    {
        auto panel = std::make_unique<Panel>(parent);
        panel->setFileTheme(theme(barHeight));
        panel->setUIStyle(TkavUIStyle::FromThemeFile);
        return panel;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_theme21 = loadTheme(QStringLiteral("bar21.kav"), 21);
        m_theme20 = loadTheme(QStringLiteral("bar20.kav"), 20);
        m_themeNoBar = loadTheme(QStringLiteral("nobar.kav"), 0);
        QVERIFY(m_theme21 && m_theme21->CanUse());
        QVERIFY(m_theme20 && m_theme20->CanUse());
        QVERIFY(m_themeNoBar && m_themeNoBar->CanUse());
    }

    void defaults()
    {
        TkavPanel panel;
        QCOMPARE(panel.width(), 100);
        QCOMPARE(panel.Height(), 100);
        QVERIFY(panel.ShowButton());
        QVERIFY(!panel.Pushed());
        QVERIFY(!panel.Animating());
        QCOMPARE(panel.UIStyle(), TkavUIStyle::DeepBlue); // no skinned form around it
        panel.ensurePolished(); // which brings its look
        QCOMPARE(panel.Color(), TColor(0xFFFFFF));
    }

    void rollHeights_data()
    {
        QTest::addColumn<int>("barHeight");
        QTest::addColumn<int>("fullHeight");
        QTest::addColumn<QList<int>>("upSteps");
        QTest::addColumn<QList<int>>("downSteps");

        QTest::addRow("200 high, 21 bar")
            << 21 << 200 << countdown(185, 35, -15) + QList<int>{21}
            << countdown(36, 186, 15) + QList<int>{200};
        QTest::addRow("100 high, 20 bar") << 20 << 100 << QList<int>{85, 70, 55, 40, 25, 20}
                                          << QList<int>{35, 50, 65, 80, 95, 100};
        QTest::addRow("no bar picture rolls to 20") << 0 << 60 << QList<int>{45, 30, 20}
                                                    << QList<int>{35, 50, 60};
        QTest::addRow("within one step of the bar") << 21 << 30 << QList<int>{21} << QList<int>{30};
        QTest::addRow("already bar high") << 21 << 21 << QList<int>{21} << QList<int>{21};
    }

    void rollHeights()
    {
        QFETCH(int, barHeight);
        QFETCH(int, fullHeight);
        QFETCH(QList<int>, upSteps);
        QFETCH(QList<int>, downSteps);

        auto panel = themedPanel(barHeight);
        panel->setHeight(fullHeight);
        QSignalSpy pushed(panel.get(), &TkavPanel::OnPush);
        QSignalSpy popped(panel.get(), &TkavPanel::OnPop);

        panel->Push();
        QVERIFY(panel->Animating());
        QCOMPARE(panel->height(), fullHeight); // nothing happens before the event loop runs
        QCOMPARE(rollToEnd(*panel), upSteps);
        QVERIFY(panel->Pushed());
        QCOMPARE(panel->Height(), fullHeight); // the full height is kept while pushed
        QCOMPARE(pushed.count(), 1);
        QCOMPARE(pushed.at(0).at(0).value<QObject *>(), panel.get());
        QCOMPARE(popped.count(), 0);

        panel->Pop();
        QCOMPARE(rollToEnd(*panel), downSteps);
        QVERIFY(!panel->Pushed());
        QCOMPARE(panel->Height(), fullHeight);
        QCOMPARE(pushed.count(), 1);
        QCOMPARE(popped.count(), 1);
    }

    void pushedPanelTakesNewHeightWhenItPops()
    {
        auto panel = themedPanel(21);
        panel->setHeight(200);
        panel->show();
        panel->Push();
        rollToEnd(*panel);

        panel->setHeight(300);
        QCOMPARE(panel->height(), 21);
        QCOMPARE(panel->Height(), 300);
        panel->Pop();
        rollToEnd(*panel);
        QCOMPARE(panel->height(), 300);
    }

    void resizingExpandedPanelUpdatesFullHeight()
    {
        auto panel = themedPanel(21);
        panel->show();
        panel->resize(120, 140);
        QCOMPARE(panel->Height(), 140);

        // While pushed, a resize is not the height to pop back to.
        panel->Push();
        rollToEnd(*panel);
        panel->resize(120, 25);
        QCOMPARE(panel->Height(), 140);
    }

    void rollRunsOnTheEventLoop()
    {
        auto panel = themedPanel(21);
        panel->setHeight(200);
        panel->setAnimationInterval(0);
        panel->show();
        QSignalSpy pushed(panel.get(), &TkavPanel::OnPush);

        // Something else that is due while the panel rolls.
        int heightWhenTimerFired = -1;
        bool rollingWhenTimerFired = false;
        QTimer::singleShot(0, this, [&] {
            heightWhenTimerFired = panel->height();
            rollingWhenTimerFired = panel->Animating();
        });

        panel->Push();
        QCOMPARE(panel->height(), 200); // Push returned at once
        processEventsUntil([&] { return pushed.count() == 1; });
        QCOMPARE(pushed.count(), 1);
        QVERIFY(rollingWhenTimerFired);
        QVERIFY(heightWhenTimerFired > 21);
        QCOMPARE(panel->height(), 21);

        QSignalSpy popped(panel.get(), &TkavPanel::OnPop);
        panel->Pop();
        processEventsUntil([&] { return popped.count() == 1; });
        QCOMPARE(popped.count(), 1);
        QCOMPARE(panel->height(), 200);
        QCOMPARE(pushed.count(), 1);
    }

    void repeatedAndReversedRolls()
    {
        auto panel = themedPanel(21);
        panel->setHeight(200);
        QSignalSpy pushed(panel.get(), &TkavPanel::OnPush);
        QSignalSpy popped(panel.get(), &TkavPanel::OnPop);

        // A second Push while rolling up is the same roll: one OnPush.
        panel->Push();
        panel->stepRoll();
        panel->Push();
        rollToEnd(*panel);
        QCOMPARE(pushed.count(), 1);
        QCOMPARE(panel->height(), 21);

        // A Push while rolling down turns the roll round.
        panel->Pop();
        panel->stepRoll();
        panel->stepRoll();
        QCOMPARE(panel->height(), 51);
        panel->Push();
        QCOMPARE(rollToEnd(*panel), (QList<int>{36, 21}));
        QCOMPARE(pushed.count(), 2);
        QCOMPARE(popped.count(), 0);
        QVERIFY(panel->Pushed());
    }

    void heightSetWhileRollingUp()
    {
        auto panel = themedPanel(21);
        panel->setHeight(200);
        panel->Push();
        panel->stepRoll();
        panel->setHeight(100); // still expanded: the roll goes on from the new height
        QCOMPARE(panel->height(), 100);
        QCOMPARE(rollToEnd(*panel), (QList<int>{85, 70, 55, 40, 25, 21}));
        panel->Pop();
        rollToEnd(*panel);
        QCOMPARE(panel->height(), 100);
    }

    void pushRefusedWhenAligned_data()
    {
        QTest::addColumn<TAlign>("align");
        QTest::addColumn<bool>("refused");
        QTest::addRow("alNone") << KavLayout::alNone << false;
        QTest::addRow("alTop") << KavLayout::alTop << false;
        QTest::addRow("alBottom") << KavLayout::alBottom << false;
        QTest::addRow("alLeft") << KavLayout::alLeft << true;
        QTest::addRow("alRight") << KavLayout::alRight << true;
        QTest::addRow("alClient") << KavLayout::alClient << true;
    }

    void pushRefusedWhenAligned()
    {
        QFETCH(TAlign, align);
        QFETCH(bool, refused);

        QWidget parent;
        parent.resize(300, 250);
        auto panel = themedPanel(21, &parent);
        panel->setAlign(align);
        const int before = panel->height();
        QSignalSpy pushed(panel.get(), &TkavPanel::OnPush);

        if (!refused) {
            panel->Push();
            rollToEnd(*panel);
            QCOMPARE(pushed.count(), 1);
            QCOMPARE(panel->height(), 21);
            return;
        }
        bool thrown = false;
        try {
            panel->Push();
        } catch (const EKavPanelError &error) {
            thrown = true;
            QCOMPARE(QString::fromLatin1(error.what()),
                     QStringLiteral("Can't push when Align is alClient, alLeft or alRight."));
        }
        QVERIFY(thrown);
        QVERIFY(!panel->Animating());
        QVERIFY(!panel->Pushed());
        QCOMPARE(panel->height(), before);
        QCOMPARE(pushed.count(), 0);
        // The panel draws no button then, so nothing can be clicked to roll it.
        QVERIFY(!panel->pushButtonShown());
        QVERIFY(panel->pushButtonRect().isNull());
        // Nor can anything else reach the refusal: Push is no slot (an exception must not cross
        // the meta-object), and the accessibility layer offers no toggle and does nothing.
        QCOMPARE(panel->metaObject()->indexOfMethod("Push()"), -1);
        QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(panel.get())->actionInterface();
        QVERIFY(actions);
        QVERIFY(!actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        actions->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(!panel->Animating());
        QCOMPARE(pushed.count(), 0);
    }

    void captionBarDrawnFromPicture()
    {
        auto panel = themedPanel(21);
        panel->resize(40, 50);
        panel->setShowButton(false);
        const QImage face = panel->grab().toImage();
        QCOMPARE(face.size(), QSize(40, 50));

        for (int y = 0; y < 21; ++y) {
            QCOMPARE(pixel(face, 1, y), barRow(y)); // stretched across, between the side lines
            QCOMPARE(pixel(face, 20, y), barRow(y));
            QCOMPARE(pixel(face, 38, y), barRow(y));
            QCOMPARE(pixel(face, 0, y), ThemeBorder.resolved().rgb());
            QCOMPARE(pixel(face, 39, y), ThemeBorder.resolved().rgb());
        }
        // Below the bar: white inside the outline.
        QCOMPARE(pixel(face, 20, 21), qRgb(255, 255, 255));
        QCOMPARE(pixel(face, 20, 48), qRgb(255, 255, 255));
        QCOMPARE(pixel(face, 20, 49), ThemeBorder.resolved().rgb());
        QCOMPARE(pixel(face, 0, 30), ThemeBorder.resolved().rgb());
    }

    void captionDrawnInCaptionColourInsideTheBar()
    {
        auto panel = themedPanel(21);
        panel->resize(120, 60);
        panel->setShowButton(false);
        QFont font = panel->font();
        font.setPixelSize(14);
        panel->setFont(font);
        const QImage empty = panel->grab().toImage();
        panel->setCaption(QStringLiteral("WWW"));
        const QImage captioned = panel->grab().toImage();

        // Every changed pixel lies in the caption's rectangle (10, 0)-(119, 21), and some are in
        // the caption colour.
        bool captionColour = false;
        for (int y = 0; y < captioned.height(); ++y) {
            for (int x = 0; x < captioned.width(); ++x) {
                if (pixel(captioned, x, y) == pixel(empty, x, y))
                    continue;
                QVERIFY2(x >= 10 && x < 119 && y < 21, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                captionColour = captionColour || pixel(captioned, x, y) == ThemeCaption.resolved().rgb();
            }
        }
        QVERIFY(captionColour);
    }

    void lookColours_data()
    {
        QTest::addColumn<TkavUIStyle>("style");
        QTest::addColumn<TColor>("border");
        QTest::addColumn<TColor>("caption");

        QTest::addRow("MacOS has black captions")
            << TkavUIStyle::MacOS << TColor(0x7F7F7F) << TColor(0x000000);
        QTest::addRow("DeepBlue takes colour 20")
            << TkavUIStyle::DeepBlue << GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor)
            << GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::MenuSelectedFontColor);
        QTest::addRow("WinXP takes colour 20")
            << TkavUIStyle::WinXP << GetInsideThemeColor(TkavUIStyle::WinXP, KavKey::ControlBorderColor)
            << GetInsideThemeColor(TkavUIStyle::WinXP, KavKey::MenuSelectedFontColor);
        QTest::addRow("FromThemeFile without a theme looks DeepBlue")
            << TkavUIStyle::FromThemeFile
            << GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor)
            << GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::MenuSelectedFontColor);
    }

    void lookColours()
    {
        QFETCH(TkavUIStyle, style);
        QFETCH(TColor, border);
        QFETCH(TColor, caption);

        TkavPanel panel;
        panel.setColor(TColor(0x123456));
        panel.setUIStyle(style);
        QCOMPARE(panel.BorderColor(), border);
        QCOMPARE(panel.CaptionFontColor(), caption);
        QCOMPARE(panel.Color(), TColor(0xFFFFFF));
    }

    // Controls that keep their parent's colour take the panel's white, in their pixels too.
    void childrenTakeThePanelsColour_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("check box") << QStringLiteral("check box");
        QTest::addRow("radio button") << QStringLiteral("radio button");
        QTest::addRow("group box") << QStringLiteral("group box");
        QTest::addRow("check group") << QStringLiteral("check group");
    }

    void childrenTakeThePanelsColour()
    {
        QFETCH(QString, kind);
        TkavPanel panel;
        panel.setUIStyle(TkavUIStyle::MacOS);
        panel.resize(200, 150);
        QWidget *child = nullptr;
        if (kind == QLatin1String("check box") || kind == QLatin1String("radio button")) {
            auto *box = kind == QLatin1String("check box") ? new TkavCheckBox(&panel) : new TkavRadioButton(&panel);
            box->setUIStyle(TkavUIStyle::MacOS);
            box->setAutoSize(false);
            box->setCaption(QStringLiteral("x"));
            box->setGeometry(10, 30, 120, 30);
            child = box;
        } else {
            TkavCustomGroupBox *group = kind == QLatin1String("group box")
                ? static_cast<TkavCustomGroupBox *>(new TkavGroupBox(&panel))
                : new TkavCheckGroup(&panel);
            group->setUIStyle(TkavUIStyle::MacOS);
            group->setGeometry(10, 30, 120, 60);
            child = group;
        }
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        // A spot inside the child where it draws nothing but its background.
        const QPoint spot(child->width() - 4, child->height() - 4);

        QCOMPARE(child->property("Color").value<TColor>(), TColor(0xFFFFFF));
        QCOMPARE(pixel(child->grab().toImage(), spot.x(), spot.y()), qRgb(255, 255, 255));
        panel.setColor(TColor::fromRgb(1, 2, 3));
        QCOMPARE(pixel(child->grab().toImage(), spot.x(), spot.y()), qRgb(1, 2, 3));
        // A look change makes the panel white again, and its children with it.
        panel.setUIStyle(TkavUIStyle::WinXP);
        QCOMPARE(pixel(child->grab().toImage(), spot.x(), spot.y()), qRgb(255, 255, 255));
    }

    void fileThemeColours()
    {
        auto panel = themedPanel(21);
        QCOMPARE(panel->BorderColor(), ThemeBorder);
        QCOMPARE(panel->CaptionFontColor(), ThemeCaption);
        QCOMPARE(panel->captionBarHeight(), 21);
        QCOMPARE(panel->contentsRect(), QRect(3, 24, 94, 73));
    }

    void removedFileThemeTurnsPanelAndChildrenDeepBlue()
    {
        auto theme = loadTheme(QStringLiteral("removed.kav"), 20);
        QVERIFY(theme);
        TkavPanel panel;
        auto *child = new TkavPanel(&panel);
        panel.setFileTheme(theme.get());
        panel.setUIStyle(TkavUIStyle::FromThemeFile);
        child->setFileTheme(theme.get());
        child->setUIStyle(TkavUIStyle::FromThemeFile);

        theme.reset();
        QCOMPARE(panel.FileTheme(), nullptr);
        QCOMPARE(panel.UIStyle(), TkavUIStyle::DeepBlue);
        QCOMPARE(child->FileTheme(), nullptr);
        QCOMPARE(child->UIStyle(), TkavUIStyle::DeepBlue);
        QCOMPARE(panel.BorderColor(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor));
    }

    void pushButtonFrames_data()
    {
        QTest::addColumn<bool>("pushed");
        QTest::addColumn<bool>("mouseOver");
        QTest::addColumn<int>("frame");
        QTest::addRow("expanded") << false << false << 1;
        QTest::addRow("expanded, mouse over") << false << true << 2;
        QTest::addRow("pushed") << true << false << 3;
        QTest::addRow("pushed, mouse over") << true << true << 4;
    }

    void pushButtonFrames()
    {
        QFETCH(bool, pushed);
        QFETCH(bool, mouseOver);
        QFETCH(int, frame);

        auto panel = themedPanel<ButtonPanel>(21);
        panel->resize(60, 80);
        if (pushed) {
            panel->Push();
            rollToEnd(*panel);
        }
        // At x = 60 - 3 - 4, y = (21 - 2) / 2 / 2 + 2: where it is drawn and where it is hit.
        const QRect button = panel->pushButtonRect();
        QCOMPARE(button, QRect(53, 6, 3, 2));
        sendMouse(panel.get(), QEvent::MouseMove, mouseOver ? QPoint(55, 7) : QPoint(30, 11));

        const QImage face = panel->grab().toImage();
        QCOMPARE(panel->mouseOverButton(), mouseOver);
        for (int x = 53; x < 56; ++x)
            for (int y = 6; y < 8; ++y)
                QCOMPARE(pixel(face, x, y), FrameColours[frame - 1]);
        QCOMPARE(pixel(face, 52, 6), barRow(6));
        QCOMPARE(pixel(face, 53, 8), barRow(8));
    }

    // The button is hit exactly where it is drawn: every pixel the button changes lies in
    // pushButtonRect and fills it, and a click rolls the panel on each of its corners but not one
    // pixel outside any of its sides.
    void buttonIsHitWhereItIsDrawn_data()
    {
        QTest::addColumn<int>("barHeight");
        QTest::addColumn<int>("width");
        QTest::addRow("21 bar") << 21 << 60;
        QTest::addRow("20 bar, odd width") << 20 << 77;
        QTest::addRow("no bar picture") << 0 << 40;
    }

    void buttonIsHitWhereItIsDrawn()
    {
        QFETCH(int, barHeight);
        QFETCH(int, width);

        QWidget parent;
        parent.resize(width, 80);
        auto panel = themedPanel<ButtonPanel>(barHeight, &parent);
        panel->setGeometry(0, 0, width, 80);
        const QRect button = panel->pushButtonRect();
        QVERIFY(!button.isEmpty());

        panel->setShowButton(false);
        const QImage without = panel->grab().toImage();
        panel->setShowButton(true);
        const QImage with = panel->grab().toImage();
        QRect drawn;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (pixel(with, x, y) != pixel(without, x, y))
                    drawn |= QRect(x, y, 1, 1);
        QCOMPARE(drawn, button);

        const QPoint inside[] = {button.topLeft(), button.topRight(), button.bottomLeft(), button.bottomRight()};
        for (const QPoint &at : inside) {
            click(panel.get(), at);
            QVERIFY2(panel->Animating(), qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
            rollToEnd(*panel);
            click(panel.get(), at);
            rollToEnd(*panel);
            QVERIFY(!panel->Pushed());
        }
        const QPoint outside[] = {button.topLeft() - QPoint(1, 0), button.topLeft() - QPoint(0, 1),
                                  button.bottomRight() + QPoint(1, 0), button.bottomRight() + QPoint(0, 1)};
        for (const QPoint &at : outside) {
            click(panel.get(), at);
            QVERIFY2(!panel->Animating(), qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
        }
    }

    void mouseLeavingDropsTheHighlight()
    {
        auto panel = themedPanel<ButtonPanel>(21);
        panel->resize(60, 80);
        sendMouse(panel.get(), QEvent::MouseMove, QPoint(53, 6));
        QVERIFY(panel->mouseOverButton());
        QCOMPARE(pixel(panel->grab().toImage(), 53, 6), FrameColours[1]);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(panel.get(), &leave);
        const QImage face = panel->grab().toImage();
        QVERIFY(!panel->mouseOverButton());
        QCOMPARE(pixel(face, 53, 6), FrameColours[0]);
    }

    void clickInCaptionBar_data()
    {
        QTest::addColumn<bool>("showButton");
        QTest::addColumn<TAlign>("align");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("rolls");
        QTest::addRow("on the button") << true << KavLayout::alNone << QPoint(54, 6) << true;
        QTest::addRow("on the button's far corner") << true << KavLayout::alNone << QPoint(55, 7) << true;
        QTest::addRow("beside the button") << true << KavLayout::alNone << QPoint(52, 6) << false;
        QTest::addRow("below the button") << true << KavLayout::alNone << QPoint(54, 8) << false;
        QTest::addRow("ShowButton off") << false << KavLayout::alNone << QPoint(54, 6) << false;
        QTest::addRow("aligned left") << true << KavLayout::alLeft << QPoint(54, 6) << false;
    }

    void clickInCaptionBar()
    {
        QFETCH(bool, showButton);
        QFETCH(TAlign, align);
        QFETCH(QPoint, at);
        QFETCH(bool, rolls);

        QWidget parent;
        parent.resize(60, 80);
        auto panel = themedPanel<ButtonPanel>(21, &parent);
        panel->setAlign(align);
        panel->setGeometry(0, 0, 60, 80);
        panel->setShowButton(showButton);
        QSignalSpy clicked(panel.get(), &TkavPanel::OnClick);

        click(panel.get(), at);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(panel->Animating(), rolls);
        if (!rolls)
            return;
        rollToEnd(*panel);
        QVERIFY(panel->Pushed());
        click(panel.get(), at);
        rollToEnd(*panel);
        QVERIFY(!panel->Pushed());
        QCOMPARE(panel->height(), 80);
    }

    void alignedChildrenSitBelowTheBar()
    {
        auto panel = themedPanel(21);
        panel->resize(200, 150);
        panel->show();
        auto *top = new TkavPanel(panel.get());
        top->setHeight(40);
        top->setAlign(KavLayout::alTop);
        auto *rest = new TkavImagePanel(panel.get());
        rest->setAlign(KavLayout::alClient);
        top->show();
        rest->show();
        QCOMPARE(top->geometry(), QRect(3, 24, 194, 40));
        QCOMPARE(rest->geometry(), QRect(3, 64, 194, 83));

        // A thinner bar in another look moves them up.
        panel->setFileTheme(theme(20));
        QCOMPARE(top->geometry(), QRect(3, 23, 194, 40));

        // Rolling the top child up gives its room to the client child.
        top->Push();
        rollToEnd(*top);
        QCOMPARE(top->height(), top->captionBarHeight());
        QCOMPARE(rest->geometry().top(), 23 + top->captionBarHeight());
        QCOMPARE(Kav::KavBottom(rest->geometry()), 147);
    }

    void alignedPanelsFollowTheirParent()
    {
        QWidget form;
        form.resize(400, 300);
        auto left = themedPanel(21, &form);
        left->resize(153, 10);
        left->setAlign(KavLayout::alLeft);
        auto right = themedPanel(21, &form);
        right->setAlign(KavLayout::alClient);
        form.show();
        QCOMPARE(left->geometry(), QRect(0, 0, 153, 300));
        QCOMPARE(right->geometry(), QRect(153, 0, 247, 300));

        form.resize(500, 320);
        QCOMPARE(left->geometry(), QRect(0, 0, 153, 320));
        QCOMPARE(right->geometry(), QRect(153, 0, 347, 320));
        QCOMPARE(left->Height(), 320);

        // Hiding one gives its room to the others.
        left->hide();
        QCOMPARE(right->geometry(), QRect(0, 0, 500, 320));
    }

    void rollingInsideALayout()
    {
        QWidget form;
        auto *layout = new QVBoxLayout(&form);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto panel = themedPanel(21, &form);
        panel->setAnimationInterval(0);
        layout->addWidget(panel.get());
        auto *below = new QWidget(&form);
        layout->addWidget(below);
        form.resize(200, 300);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int expanded = panel->height();
        QVERIFY(expanded > 21);

        QSignalSpy pushed(panel.get(), &TkavPanel::OnPush);
        // The roll is stepped by hand; the layout then has its say.
        panel->Push();
        rollToEnd(*panel);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pushed.count(), 1);
        QCOMPARE(panel->height(), 21); // the layout keeps it rolled up
        QCOMPARE(panel->Height(), expanded);

        QSignalSpy popped(panel.get(), &TkavPanel::OnPop);
        panel->Pop();
        rollToEnd(*panel);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(popped.count(), 1);
        QCOMPARE(panel->height(), expanded);
        QCOMPARE(panel->maximumHeight(), QWIDGETSIZE_MAX);
    }

    void publishedProperties()
    {
        // The exam window sets the caption by name; the theme machinery reaches the look by name.
        TkavPanel panel;
        QVERIFY(panel.setProperty("Caption", QStringLiteral("当前考场设置:")));
        QCOMPARE(panel.Caption(), QStringLiteral("当前考场设置:"));
        QVERIFY(IsHasProperty(&panel, QStringLiteral("UIStyle")));
        QVERIFY(IsHasProperty(&panel, QStringLiteral("FileTheme")));
        QVERIFY(panel.setProperty("UIStyle", QVariant::fromValue(TkavUIStyle::MacOS)));
        QCOMPARE(panel.UIStyle(), TkavUIStyle::MacOS);
        QVERIFY(panel.setProperty("Height", 77));
        QCOMPARE(panel.height(), 77);
        QVERIFY(panel.setProperty("Align", QVariant::fromValue(KavLayout::alTop)));
        QCOMPARE(panel.Align(), KavLayout::alTop);
        QVERIFY(!panel.setProperty("Pushed", true));
    }

    void accessibility()
    {
        auto panel = themedPanel<ButtonPanel>(21);
        panel->setCaption(QStringLiteral("题目设置"));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(panel.get());
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::Grouping);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("题目设置"));
        QVERIFY(face->state().expandable);
        QVERIFY(face->state().expanded);

        QAccessibleActionInterface *actions = face->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        actions->doAction(QAccessibleActionInterface::toggleAction());
        rollToEnd(*panel);
        QVERIFY(panel->Pushed());
        QVERIFY(face->state().collapsed);
        QVERIFY(!face->state().expanded);

        // Without the button it is a plain grouping.
        panel->setShowButton(false);
        QVERIFY(!face->state().expandable);
        QVERIFY(!face->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    }
};

QTEST_MAIN(tst_KAVPanel)
#include "tst_kavpanel.moc"
