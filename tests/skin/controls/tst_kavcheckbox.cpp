#include "KAVCheckBox.h"
#include "KAVForm.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVThemeFile.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;
constexpr int FrameWidth = 6;
constexpr int FrameHeight = 9;

// Frame colours of the fixture strips: checked, unchecked, checked disabled, unchecked disabled.
const QRgb CheckFrames[4] = {qRgb(200, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 200), qRgb(200, 200, 0)};
const QRgb RadioFrames[4] = {qRgb(100, 0, 0), qRgb(0, 100, 0), qRgb(0, 0, 100), qRgb(100, 100, 0)};

// A strip of four solid frames, each with a magenta pixel at its bottom-left corner and at (1, 1).
QImage fixtureStrip(const QRgb (&colours)[4])
{
    QImage strip(4 * FrameWidth, FrameHeight, QImage::Format_RGB32);
    for (int frame = 0; frame < 4; ++frame) {
        for (int y = 0; y < FrameHeight; ++y) {
            for (int x = 0; x < FrameWidth; ++x)
                strip.setPixel(frame * FrameWidth + x, y, colours[frame]);
        }
        strip.setPixel(frame * FrameWidth, FrameHeight - 1, Magenta);
        strip.setPixel(frame * FrameWidth + 1, 1, Magenta);
    }
    return strip;
}

// A theme file with the two fixture strips (and, when asked, without any pictures at all).
class FixtureTheme {
public:
    explicit FixtureTheme(bool withPictures = true)
    {
        const QString checkPath = m_dir.filePath("check.bmp");
        const QString radioPath = m_dir.filePath("radio.bmp");
        fixtureStrip(CheckFrames).save(checkPath, "BMP");
        fixtureStrip(RadioFrames).save(radioPath, "BMP");
        const QString themePath = m_dir.filePath("fixture.kav");
        {
            TkavThemeFileWriter writer(themePath);
            if (withPictures) {
                writer.AddFile("CheckBoxImage", checkPath);
                writer.AddFile("RadioButtonImage", radioPath);
            }
            writer.AddInteger("ControlBorderColor", 0x0000FF);
            if (!writer.Save())
                qFatal("cannot write the fixture theme: %s", qPrintable(writer.errorString()));
        }
        theme = std::make_unique<TkavFileTheme>();
        theme->setThemeFile(themePath);
        if (!theme->CanUse())
            qFatal("cannot load the fixture theme");
    }

    std::unique_ptr<TkavFileTheme> theme;

private:
    QTemporaryDir m_dir;
};

QFont fixtureFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

template <typename Control>
void useFixture(Control &control, TkavFileTheme *theme)
{
    control.setFileTheme(theme);
    control.setUIStyle(TkavUIStyle::FromThemeFile);
}

// Where the picture of a control sits: x 1, centred vertically.
QPoint picturePixel(const QWidget &control, int x, int y)
{
    return QPoint(1 + x, (control.height() - FrameHeight) / 2 + y);
}

} // namespace

class tst_KavCheckBox : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void startsInTheFormsLook();
    void stateChanges_data();
    void stateChanges();
    void clicksGoThroughQtsClickPath_data();
    void clicksGoThroughQtsClickPath();
    void buttonGroupExclusivity();
    void spaceTogglesOnRelease();
    void spaceChoosesARadioButton();
    void doubleClickIsTwoClicks();
    void noEventsWhileLoading();
    void loadingTwoCheckedRadiosKeepsTheLater();
    void radioExclusivity_data();
    void radioExclusivity();
    void autoSize_data();
    void autoSize();
    void autoSizeInTheMacOSLook();
    void paintingResizesNothing();
    void frameForState_data();
    void frameForState();
    void radioPictureIsKeyed();
    void transparentShowsTheParent();
    void transparentOnATabSheet_data();
    void transparentOnATabSheet();
    void focusRectangle();
    void accelerator();
    void arrowsMoveAlongSiblings();
    void losingTheFileThemeFallsBackToDeepBlue();
    void accessibility_data();
    void accessibility();
    void accessibleToggleAction();
};

void tst_KavCheckBox::defaults()
{
    TkavCheckBox box;
    QCOMPARE(box.Checked(), false);
    QCOMPARE(box.State(), TkavCheckBox::cbUnchecked);
    QCOMPARE(box.AutoSize(), true);
    QCOMPARE(box.Transparent(), false);
    QCOMPARE(box.TabStop(), true);
    QCOMPARE(box.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(box.FileTheme(), nullptr);
    QCOMPARE(box.size(), box.sizeHint());

    TkavRadioButton radio;
    QCOMPARE(radio.GroupIndex(), 0);
    QCOMPARE(radio.Checked(), false);

    // Reachable by name, as the theme manager and the containers reach them.
    QCOMPARE(box.property("UIStyle").value<TkavUIStyle>(), TkavUIStyle::DeepBlue);
    QVERIFY(box.setProperty("Checked", true));
    QVERIFY(box.isChecked());
    QVERIFY(radio.setProperty("GroupIndex", 3));
    QCOMPARE(radio.GroupIndex(), 3);
}

void tst_KavCheckBox::startsInTheFormsLook()
{
    QWidget window;
    auto *skinnedForm = new TkavForm(&window);
    skinnedForm->setUIStyle(TkavUIStyle::MacOS);
    auto *panel = new QWidget(&window);
    TkavRadioButton radio(panel);
    QCOMPARE(radio.UIStyle(), TkavUIStyle::MacOS);
}

// What is done to a control, in the table below.
enum class Action { SetTrue, SetFalse, StateChecked, StateGrayed, StateUnchecked, Mouse, Space,
                    Enter, BaseSetTrue, BaseSetFalse };

void tst_KavCheckBox::stateChanges_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addColumn<bool>("initial");
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<int>("clicks");

    QTest::addRow("check: set true") << false << false << Action::SetTrue << true << 1;
    QTest::addRow("check: set true again") << false << true << Action::SetTrue << true << 0;
    QTest::addRow("check: set false") << false << true << Action::SetFalse << false << 1;
    QTest::addRow("check: set false again") << false << false << Action::SetFalse << false << 0;
    QTest::addRow("check: State checked") << false << false << Action::StateChecked << true << 1;
    QTest::addRow("check: State grayed unchecks") << false << true << Action::StateGrayed << false << 1;
    QTest::addRow("check: State grayed when unchecked") << false << false << Action::StateGrayed << false << 0;
    QTest::addRow("check: State unchecked") << false << true << Action::StateUnchecked << false << 1;
    QTest::addRow("check: mouse checks") << false << false << Action::Mouse << true << 1;
    QTest::addRow("check: mouse unchecks") << false << true << Action::Mouse << false << 1;
    QTest::addRow("check: space toggles") << false << false << Action::Space << true << 1;
    QTest::addRow("check: enter toggles") << false << true << Action::Enter << false << 1;
    QTest::addRow("check: through QAbstractButton") << false << false << Action::BaseSetTrue << true << 1;
    QTest::addRow("check: through QAbstractButton, off") << false << true << Action::BaseSetFalse << false << 1;

    QTest::addRow("radio: set true") << true << false << Action::SetTrue << true << 1;
    QTest::addRow("radio: set true again") << true << true << Action::SetTrue << true << 0;
    QTest::addRow("radio: set false raises nothing") << true << true << Action::SetFalse << false << 0;
    QTest::addRow("radio: mouse checks") << true << false << Action::Mouse << true << 1;
    QTest::addRow("radio: mouse on checked does nothing") << true << true << Action::Mouse << true << 0;
    QTest::addRow("radio: space checks") << true << false << Action::Space << true << 1;
    QTest::addRow("radio: space on checked does nothing") << true << true << Action::Space << true << 0;
    QTest::addRow("radio: enter does nothing") << true << false << Action::Enter << false << 0;
    QTest::addRow("radio: through QAbstractButton") << true << false << Action::BaseSetTrue << true << 1;
}

void tst_KavCheckBox::stateChanges()
{
    QFETCH(bool, radio);
    QFETCH(bool, initial);
    QFETCH(Action, action);
    QFETCH(bool, expected);
    QFETCH(int, clicks);

    QWidget window;
    TkavCheckBox *box = radio ? new TkavRadioButton(&window) : new TkavCheckBox(&window);
    box->setCaption(QStringLiteral("Choice"));
    box->setChecked(initial);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QVERIFY(box->hasFocus());

    QSignalSpy onClick(box, &TkavCheckBox::OnClick);
    QSignalSpy changed(box, &TkavCheckBox::CheckedChanged);
    switch (action) {
    case Action::SetTrue: box->setChecked(true); break;
    case Action::SetFalse: box->setChecked(false); break;
    case Action::StateChecked: box->setState(TkavCheckBox::cbChecked); break;
    case Action::StateGrayed: box->setState(TkavCheckBox::cbGrayed); break;
    case Action::StateUnchecked: box->setState(TkavCheckBox::cbUnchecked); break;
    case Action::Mouse: QTest::mouseClick(box, Qt::LeftButton); break;
    case Action::Space: QTest::keyClick(box, Qt::Key_Space); break;
    case Action::Enter: QTest::keyClick(box, Qt::Key_Return); break;
    case Action::BaseSetTrue: static_cast<QAbstractButton *>(box)->setChecked(true); break;
    case Action::BaseSetFalse: static_cast<QAbstractButton *>(box)->setChecked(false); break;
    }

    QCOMPARE(box->Checked(), expected);
    QCOMPARE(box->isChecked(), expected);
    QCOMPARE(box->State(), expected ? TkavCheckBox::cbChecked : TkavCheckBox::cbUnchecked);
    QCOMPARE(onClick.count(), clicks);
    if (clicks > 0)
        QCOMPARE(onClick.first().first().value<QObject *>(), box);
    QCOMPARE(changed.count(), expected != initial ? 1 : 0);
}

// How a control is clicked, in the table below.
enum class ClickWay { Mouse, Space, Enter, Accelerator, ClickSlot, QtClick };

// Every way of clicking goes through QAbstractButton's click: pressed(), released() and clicked()
// once, toggled() on a change, and a QButtonGroup hears of it, as for any Qt button. OnClick still
// follows the change alone.
void tst_KavCheckBox::clicksGoThroughQtsClickPath_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addColumn<ClickWay>("way");
    QTest::addColumn<bool>("initial");
    QTest::addColumn<bool>("expected");

    QTest::addRow("check: mouse") << false << ClickWay::Mouse << false << true;
    QTest::addRow("check: mouse unchecks") << false << ClickWay::Mouse << true << false;
    QTest::addRow("check: Space") << false << ClickWay::Space << false << true;
    QTest::addRow("check: Enter") << false << ClickWay::Enter << true << false;
    QTest::addRow("check: accelerator") << false << ClickWay::Accelerator << false << true;
    QTest::addRow("check: Click()") << false << ClickWay::ClickSlot << false << true;
    QTest::addRow("check: click()") << false << ClickWay::QtClick << false << true;
    QTest::addRow("radio: mouse") << true << ClickWay::Mouse << false << true;
    QTest::addRow("radio: mouse on the checked one") << true << ClickWay::Mouse << true << true;
    QTest::addRow("radio: Space") << true << ClickWay::Space << false << true;
    QTest::addRow("radio: accelerator") << true << ClickWay::Accelerator << false << true;
    QTest::addRow("radio: click()") << true << ClickWay::QtClick << false << true;
}

void tst_KavCheckBox::clicksGoThroughQtsClickPath()
{
    QFETCH(bool, radio);
    QFETCH(ClickWay, way);
    QFETCH(bool, initial);
    QFETCH(bool, expected);

    QWidget window;
    TkavCheckBox *box = radio ? new TkavRadioButton(&window) : new TkavCheckBox(&window);
    box->setCaption(QStringLiteral("&Go"));
    box->setChecked(initial);
    QButtonGroup group;
    group.setExclusive(false);
    group.addButton(box, 7);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();

    QSignalSpy pressed(box, &QAbstractButton::pressed);
    QSignalSpy released(box, &QAbstractButton::released);
    QSignalSpy clicked(box, &QAbstractButton::clicked);
    QSignalSpy toggled(box, &QAbstractButton::toggled);
    QSignalSpy groupClicked(&group, &QButtonGroup::buttonClicked);
    QSignalSpy groupIdClicked(&group, &QButtonGroup::idClicked);
    QSignalSpy onClick(box, &TkavCheckBox::OnClick);
    switch (way) {
    case ClickWay::Mouse: QTest::mouseClick(box, Qt::LeftButton); break;
    case ClickWay::Space: QTest::keyClick(box, Qt::Key_Space); break;
    case ClickWay::Enter: QTest::keyClick(box, Qt::Key_Return); break;
    case ClickWay::Accelerator: QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier); break;
    case ClickWay::ClickSlot: box->Click(); break;
    case ClickWay::QtClick: box->click(); break;
    }

    QCOMPARE(box->Checked(), expected);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(released.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().toBool(), expected);
    QCOMPARE(groupClicked.count(), 1);
    QCOMPARE(groupClicked.first().first().value<QAbstractButton *>(), box);
    QCOMPARE(groupIdClicked.count(), 1);
    QCOMPARE(groupIdClicked.first().first().toInt(), 7);
    const int changes = expected != initial ? 1 : 0;
    QCOMPARE(toggled.count(), changes);
    QCOMPARE(onClick.count(), changes);
    QVERIFY(!box->isDown());
}

// Check boxes in an exclusive QButtonGroup behave as Qt's do: one checked at a time, and
// clicking the checked one keeps it checked. The boxes' own state is the group's.
void tst_KavCheckBox::buttonGroupExclusivity()
{
    QWidget window;
    auto *first = new TkavCheckBox(&window);
    auto *second = new TkavCheckBox(&window);
    second->move(0, 30);
    QButtonGroup group;
    group.addButton(first);
    group.addButton(second);
    QSignalSpy firstClick(first, &TkavCheckBox::OnClick);
    QSignalSpy secondChanged(second, &TkavCheckBox::CheckedChanged);

    first->click();
    second->click();
    QVERIFY(!first->Checked());
    QVERIFY(second->Checked());
    QCOMPARE(group.checkedButton(), second);
    QCOMPARE(firstClick.count(), 2); // checked, then unchecked by the group
    second->click();
    QVERIFY(second->Checked());
    QCOMPARE(secondChanged.count(), 1);
}

void tst_KavCheckBox::spaceTogglesOnRelease()
{
    QWidget window;
    auto *box = new TkavCheckBox(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QTest::keyPress(box, Qt::Key_Space);
    QVERIFY(!box->Checked());
    QTest::keyRelease(box, Qt::Key_Space);
    QVERIFY(box->Checked());

    // Not without the focus.
    window.setFocus();
    QTest::keyRelease(box, Qt::Key_Space);
    QVERIFY(box->Checked());
}

void tst_KavCheckBox::spaceChoosesARadioButton()
{
    QWidget window;
    auto *first = new TkavRadioButton(&window);
    auto *second = new TkavRadioButton(&window);
    second->move(0, 30);
    second->setChecked(true);
    QSignalSpy firstClick(first, &TkavCheckBox::OnClick);
    QSignalSpy secondClick(second, &TkavCheckBox::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->setFocus();

    // On release, as a click: the sibling is unchecked and only the chosen one tells.
    QTest::keyPress(first, Qt::Key_Space);
    QVERIFY(!first->Checked());
    QTest::keyRelease(first, Qt::Key_Space);
    QVERIFY(first->Checked());
    QVERIFY(!second->Checked());
    QCOMPARE(firstClick.count(), 1);
    QCOMPARE(secondClick.count(), 0);

    // Enter still does nothing on a radio button; a disabled one takes no Space.
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Return);
    QVERIFY(!second->Checked());
    second->setEnabled(false);
    QTest::keyClick(second, Qt::Key_Space);
    QVERIFY(!second->Checked());
    QCOMPARE(secondClick.count(), 0);
}

void tst_KavCheckBox::doubleClickIsTwoClicks()
{
    QWidget window;
    auto *box = new TkavCheckBox(&window);
    QSignalSpy onClick(box, &TkavCheckBox::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // What the window system delivers: press, release, double click (the second press), release.
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseDClick(box, Qt::LeftButton);
    QTest::mouseRelease(box, Qt::LeftButton);
    QCOMPARE(onClick.count(), 2);
    QVERIFY(!box->Checked());
}

void tst_KavCheckBox::noEventsWhileLoading()
{
    QWidget window;
    auto *box = new TkavCheckBox(&window);
    QSignalSpy onClick(box, &TkavCheckBox::OnClick);
    QSignalSpy changed(box, &TkavCheckBox::CheckedChanged);
    {
        TkavFormLoading loading(&window);
        QVERIFY(box->isLoading());
        box->setChecked(true);
        // Controls made while the form loads are loading too.
        auto *later = new TkavCheckBox(&window);
        QSignalSpy laterClick(later, &TkavCheckBox::OnClick);
        later->setChecked(true);
        QCOMPARE(laterClick.count(), 0);
    }
    QVERIFY(!box->isLoading());
    QCOMPARE(onClick.count(), 0);
    QCOMPARE(changed.count(), 1); // the property's own notification is not an event
    QVERIFY(box->Checked());

    box->setChecked(false);
    QCOMPARE(onClick.count(), 1);

    // One control alone.
    box->setLoading(true);
    box->setChecked(true);
    QCOMPARE(onClick.count(), 1);
    box->setLoading(false);
    box->setChecked(false);
    QCOMPARE(onClick.count(), 2);
}

void tst_KavCheckBox::loadingTwoCheckedRadiosKeepsTheLater()
{
    QWidget window;
    auto *first = new TkavRadioButton(&window);
    auto *second = new TkavRadioButton(&window);
    QSignalSpy firstClick(first, &TkavCheckBox::OnClick);
    QSignalSpy secondClick(second, &TkavCheckBox::OnClick);
    {
        TkavFormLoading loading(&window);
        first->setChecked(true);
        second->setChecked(true);
    }
    QVERIFY(!first->Checked());
    QVERIFY(second->Checked());
    QCOMPARE(firstClick.count(), 0);
    QCOMPARE(secondClick.count(), 0);
}

void tst_KavCheckBox::radioExclusivity_data()
{
    QTest::addColumn<bool>("sameParent");
    QTest::addColumn<int>("otherGroupIndex");
    QTest::addColumn<bool>("otherIsCheckBox");
    QTest::addColumn<bool>("otherStaysChecked");

    QTest::addRow("same parent, same index") << true << 0 << false << false;
    QTest::addRow("same parent, other index") << true << 1 << false << true;
    QTest::addRow("other parent, same index") << false << 0 << false << true;
    QTest::addRow("check box sibling") << true << 0 << true << true;
}

void tst_KavCheckBox::radioExclusivity()
{
    QFETCH(bool, sameParent);
    QFETCH(int, otherGroupIndex);
    QFETCH(bool, otherIsCheckBox);
    QFETCH(bool, otherStaysChecked);

    QWidget window;
    auto *panelA = new QWidget(&window);
    auto *panelB = new QWidget(&window);
    auto *radio = new TkavRadioButton(panelA);
    QWidget *otherParent = sameParent ? panelA : panelB;
    TkavCheckBox *other = otherIsCheckBox ? new TkavCheckBox(otherParent) : new TkavRadioButton(otherParent);
    if (auto *otherRadio = qobject_cast<TkavRadioButton *>(other))
        otherRadio->setGroupIndex(otherGroupIndex);
    other->setChecked(true);

    QSignalSpy radioClick(radio, &TkavCheckBox::OnClick);
    QSignalSpy otherClick(other, &TkavCheckBox::OnClick);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(radio, Qt::LeftButton);

    QVERIFY(radio->Checked());
    QCOMPARE(other->Checked(), otherStaysChecked);
    QCOMPARE(radioClick.count(), 1);
    // A check box that is unchecked would tell; a radio button that is unchecked stays silent.
    QCOMPARE(otherClick.count(), 0);
}

void tst_KavCheckBox::autoSize_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("withPictures");

    QTest::addRow("short caption") << QStringLiteral("Ab") << 11 << true;
    QTest::addRow("empty caption") << QString() << 11 << true;
    QTest::addRow("font taller than picture") << QStringLiteral("Tall") << 24 << true;
    QTest::addRow("accelerator mark not measured") << QStringLiteral("&Start") << 11 << true;
    // A theme without the box's picture gives the built-in look's (DeepBlue's) instead.
    QTest::addRow("no picture in the theme") << QStringLiteral("Bare") << 11 << false;
}

void tst_KavCheckBox::autoSize()
{
    QFETCH(QString, caption);
    QFETCH(int, pixelSize);
    QFETCH(bool, withPictures);

    FixtureTheme fixture(withPictures);
    QFont font = fixtureFont();
    font.setPixelSize(pixelSize);
    for (bool radio : {false, true}) {
        std::unique_ptr<TkavCheckBox> box(radio ? new TkavRadioButton : new TkavCheckBox);
        box->setFont(font);
        useFixture(*box, fixture.theme.get());
        box->setCaption(caption);

        const QFontMetrics metrics(font);
        const QSize deepBlueStrip = Kav::Metrics::keyPictureSize(
            TkavUIStyle::DeepBlue, radio ? KavKey::RadioButtonImage : KavKey::CheckBoxImage);
        const int pictureWidth = withPictures ? FrameWidth : deepBlueStrip.width() / 4;
        const int pictureHeight = withPictures ? FrameHeight : deepBlueStrip.height();
        QString shown = caption;
        shown.remove(QLatin1Char('&'));
        QCOMPARE(box->height(), qMax(metrics.height() + 2, pictureHeight) + 4);
        QCOMPARE(box->width(), pictureWidth + metrics.horizontalAdvance(shown) + 8);

        // Without AutoSize the size is the caller's.
        box->setAutoSize(false);
        box->resize(200, 40);
        box->setCaption(caption + QStringLiteral(" more"));
        QCOMPARE(box->size(), QSize(200, 40));
        box->setAutoSize(true);
        QCOMPARE(box->size(), box->sizeHint());
    }
}

void tst_KavCheckBox::autoSizeInTheMacOSLook()
{
    // The MacOS strips have 15x17 (check box) and 16x17 (radio button) frames.
    const QFont font = fixtureFont();
    const QFontMetrics metrics(font);
    TkavCheckBox box;
    box.setFont(font);
    box.setUIStyle(TkavUIStyle::MacOS);
    box.setCaption(QStringLiteral("10 以下"));
    QCOMPARE(box.height(), qMax(metrics.height() + 2, 17) + 4);
    QCOMPARE(box.width(), 15 + metrics.horizontalAdvance(box.Caption()) + 8);

    TkavRadioButton radio;
    radio.setFont(font);
    radio.setUIStyle(TkavUIStyle::MacOS);
    radio.setCaption(QStringLiteral("10 以下"));
    QCOMPARE(radio.width(), 16 + metrics.horizontalAdvance(radio.Caption()) + 8);
}

// The size follows caption, font, look and AutoSize when they change; painting only reads it.
void tst_KavCheckBox::paintingResizesNothing()
{
    QWidget window;
    auto *box = new TkavRadioButton(&window);
    box->setCaption(QStringLiteral("Choice"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->resize(box->width() + 30, box->height() + 5);
    const QSize placed = box->size();
    box->grab();
    box->repaint();
    QCOMPARE(box->size(), placed);
    // The next change of an input sizes it again.
    box->setUIStyle(TkavUIStyle::MacOS);
    QCOMPARE(box->size(), box->sizeHint());
}

void tst_KavCheckBox::frameForState_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("frame");

    QTest::addRow("check: checked") << false << true << true << 1;
    QTest::addRow("check: unchecked") << false << false << true << 2;
    QTest::addRow("check: checked disabled") << false << true << false << 3;
    QTest::addRow("check: unchecked disabled") << false << false << false << 4;
    QTest::addRow("radio: checked") << true << true << true << 1;
    QTest::addRow("radio: unchecked") << true << false << true << 2;
    QTest::addRow("radio: checked disabled") << true << true << false << 3;
    QTest::addRow("radio: unchecked disabled") << true << false << false << 4;
}

void tst_KavCheckBox::frameForState()
{
    QFETCH(bool, radio);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QFETCH(int, frame);

    FixtureTheme fixture;
    std::unique_ptr<TkavCheckBox> box(radio ? new TkavRadioButton : new TkavCheckBox);
    box->setFont(fixtureFont());
    useFixture(*box, fixture.theme.get());
    box->setCaption(QStringLiteral("x"));
    box->setChecked(checked);
    box->setEnabled(enabled);

    const QImage face = box->grab().toImage();
    const QRgb expected = (radio ? RadioFrames : CheckFrames)[frame - 1];
    QCOMPARE(face.pixel(picturePixel(*box, 3, 4)), expected);
    QCOMPARE(face.pixel(picturePixel(*box, FrameWidth - 1, 0)), expected);
    // Nothing of the picture left of x 1.
    QCOMPARE(face.pixel(0, (box->height() - FrameHeight) / 2 + 4), box->Color().resolved().rgb());
}

void tst_KavCheckBox::radioPictureIsKeyed()
{
    FixtureTheme fixture;
    QWidget window;
    auto *box = new TkavCheckBox(&window);
    auto *radio = new TkavRadioButton(&window);
    for (TkavCheckBox *control : {box, static_cast<TkavCheckBox *>(radio)}) {
        useFixture(*control, fixture.theme.get());
        control->setColor(QColor(10, 20, 30));
    }
    const QImage boxFace = box->grab().toImage();
    const QImage radioFace = radio->grab().toImage();

    // The check box draws its picture opaque; the radio button leaves out the colour of the
    // picture's bottom-left pixel, wherever it is.
    QCOMPARE(boxFace.pixel(picturePixel(*box, 0, FrameHeight - 1)), Magenta);
    QCOMPARE(boxFace.pixel(picturePixel(*box, 1, 1)), Magenta);
    QCOMPARE(radioFace.pixel(picturePixel(*radio, 0, FrameHeight - 1)), qRgb(10, 20, 30));
    QCOMPARE(radioFace.pixel(picturePixel(*radio, 1, 1)), qRgb(10, 20, 30));
    QCOMPARE(radioFace.pixel(picturePixel(*radio, 2, 2)), RadioFrames[1]);
}

// A parent that paints itself in one colour.
class ColouredParent : public QWidget {
public:
    explicit ColouredParent(QRgb colour) : m_colour(colour) { resize(200, 100); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgb(m_colour));
    }

private:
    QRgb m_colour;
};

void tst_KavCheckBox::transparentShowsTheParent()
{
    FixtureTheme fixture;
    ColouredParent parent(qRgb(1, 120, 240));
    auto *box = new TkavCheckBox(&parent);
    useFixture(*box, fixture.theme.get());
    box->setColor(QColor(250, 250, 250));
    box->setCaption(QStringLiteral("x"));
    box->move(10, 10);

    // A spot away from picture and caption: the bottom-right corner.
    const QPoint spot(box->width() - 1, box->height() - 1);
    QCOMPARE(box->grab().toImage().pixel(spot), qRgb(250, 250, 250));
    box->setTransparent(true);
    QCOMPARE(box->grab().toImage().pixel(spot), qRgb(1, 120, 240));
}

// What lies behind a page: every pixel its own colour, so that an offset shows.
QRgb backdropColour(const QPoint &at)
{
    return qRgb(at.x() % 256, at.y() % 256, 128);
}

class Backdrop : public QWidget {
public:
    Backdrop() : m_face(300, 200, QImage::Format_RGB32)
    {
        resize(m_face.size());
        for (int y = 0; y < m_face.height(); ++y)
            for (int x = 0; x < m_face.width(); ++x)
                m_face.setPixel(x, y, backdropColour(QPoint(x, y)));
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, m_face); }

private:
    QImage m_face;
};

// A stand-in for a page of a page control: a container that declares itself see-through, so that
// a transparent control on it shows what lies behind the page.
class SeeThroughPage : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("KavSeeThrough", "true")
public:
    using QWidget::QWidget;
};

void tst_KavCheckBox::transparentOnATabSheet_data()
{
    QTest::addColumn<bool>("seeThrough");
    QTest::addRow("see-through page") << true;
    QTest::addRow("plain container") << false;
}

void tst_KavCheckBox::transparentOnATabSheet()
{
    QFETCH(bool, seeThrough);
    Backdrop backdrop;
    QWidget *sheet = seeThrough ? new SeeThroughPage(&backdrop) : new QWidget(&backdrop);
    sheet->setGeometry(20, 20, 250, 150);
    sheet->setAutoFillBackground(true);
    sheet->setPalette(QPalette(QColor(255, 255, 255)));
    auto *box = new TkavCheckBox(sheet);
    box->setCaption(QStringLiteral("x"));
    box->move(60, 40);
    box->setTransparent(true);
    backdrop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&backdrop));

    // Away from picture and caption the box shows what lies under it: behind the page, or the
    // container's own face.
    const QPoint spot(box->width() - 2, 1);
    const QRgb expected = seeThrough ? backdropColour(spot + box->pos() + sheet->pos()) : qRgb(255, 255, 255);
    QCOMPARE(box->grab().toImage().pixel(spot), expected);
}

void tst_KavCheckBox::focusRectangle()
{
    FixtureTheme fixture;
    QWidget window;
    window.setFont(fixtureFont());
    auto *box = new TkavCheckBox(&window);
    auto *other = new TkavCheckBox(&window);
    other->move(0, 40);
    useFixture(*box, fixture.theme.get());
    box->setColor(QColor(255, 255, 255));
    box->setCaption(QStringLiteral("x"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    // The dotted frame runs along the top of the text line, from just left of the caption.
    const int textTop = (box->height() - QFontMetrics(box->font()).height()) / 2;
    const int left = FrameWidth + 4 - 1;
    const QPoint dot((left + textTop) % 2 == 0 ? left : left + 1, textTop);
    QCOMPARE(box->grab().toImage().pixel(dot), qRgb(255, 255, 255));
    box->setFocus();
    QVERIFY(box->hasFocus());
    QCOMPARE(box->grab().toImage().pixel(dot), qRgb(0, 0, 0));

    // Without TabStop no frame is drawn.
    box->setTabStop(false);
    QCOMPARE(box->grab().toImage().pixel(dot), qRgb(255, 255, 255));
}

void tst_KavCheckBox::accelerator()
{
    QWidget window;
    auto *box = new TkavCheckBox(&window);
    box->setCaption(QStringLiteral("&Start"));
    auto *radio = new TkavRadioButton(&window);
    radio->setCaption(QStringLiteral("&Radio"));
    radio->move(0, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QSignalSpy onClick(box, &TkavCheckBox::OnClick);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    QVERIFY(box->Checked());
    QVERIFY(box->hasFocus());
    QCOMPARE(onClick.count(), 1);

    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    QVERIFY(radio->Checked());
    QVERIFY(radio->hasFocus());

    box->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    QVERIFY(box->Checked());
    QCOMPARE(onClick.count(), 1);
}

void tst_KavCheckBox::arrowsMoveAlongSiblings()
{
    QWidget window;
    auto *panel = new QWidget(&window);
    auto *a = new TkavRadioButton(panel);
    auto *b = new TkavRadioButton(panel);
    auto *c = new TkavRadioButton(panel);
    auto *outside = new TkavRadioButton(&window);
    outside->move(0, 100);
    a->setChecked(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    a->setFocus();

    QTest::keyClick(a, Qt::Key_Down);
    QVERIFY(b->hasFocus());
    QTest::keyClick(b, Qt::Key_Right);
    QVERIFY(c->hasFocus());
    QTest::keyClick(c, Qt::Key_Down); // round to the first
    QVERIFY(a->hasFocus());
    QTest::keyClick(a, Qt::Key_Up);
    QVERIFY(c->hasFocus());
    // Plain radio buttons are not chosen by the focus alone.
    QVERIFY(a->Checked());
    QVERIFY(!c->Checked());
}

void tst_KavCheckBox::losingTheFileThemeFallsBackToDeepBlue()
{
    auto fixture = std::make_unique<FixtureTheme>();
    TkavRadioButton radio;
    useFixture(radio, fixture->theme.get());
    QCOMPARE(radio.statePicture().size(), QSize(FrameWidth, FrameHeight));
    fixture.reset();
    QCOMPARE(radio.FileTheme(), nullptr);
    QCOMPARE(radio.UIStyle(), TkavUIStyle::DeepBlue);
    // The DeepBlue radio strip has 13x13 frames.
    QCOMPARE(radio.statePicture().size(), QSize(13, 13));
}

void tst_KavCheckBox::accessibility_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addRow("check box") << false << QAccessible::CheckBox;
    QTest::addRow("radio button") << true << QAccessible::RadioButton;
}

void tst_KavCheckBox::accessibility()
{
    QFETCH(bool, radio);
    QFETCH(QAccessible::Role, role);

    QWidget window;
    TkavCheckBox *box = radio ? new TkavRadioButton(&window) : new TkavCheckBox(&window);
    box->setCaption(QStringLiteral("&Mixed && more"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
    QVERIFY(iface);
    QCOMPARE(iface->role(), role);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Mixed & more"));
    QVERIFY(iface->state().checkable);
    QVERIFY(!iface->state().checked);
    box->setChecked(true);
    QVERIFY(iface->state().checked);
}

void tst_KavCheckBox::accessibleToggleAction()
{
    QWidget window;
    auto *box = new TkavCheckBox(&window);
    QSignalSpy onClick(box, &TkavCheckBox::OnClick);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(box->Checked());
    QCOMPARE(onClick.count(), 1);
}

QTEST_MAIN(tst_KavCheckBox)
#include "tst_kavcheckbox.moc"
