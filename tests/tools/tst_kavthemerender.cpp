#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVMgr.h"
#include "KAVRadioGroup.h"
#include "KAVThemes.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVURLLabel.h"
#include "tst_kavtheme_support.h"

#include <QEnterEvent>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace KavThemeToolTest;

namespace {

const TkavUIStyle BuiltInLooks[] = {TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue,
                                    TkavUIStyle::Protein, TkavUIStyle::BlueGlass};

QString lookName(TkavUIStyle look)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
}

// The parent every control is drawn on: a fine three-colour stripe, so that whatever a control
// lets through (transparent corners, a transparent background) shows exactly where it lies.
class StripedStage : public QWidget {
public:
    StripedStage()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(260, 160);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        static const QRgb stripes[] = {qRgb(0x20, 0x90, 0x70), qRgb(0xF0, 0xA0, 0x30), qRgb(0x60, 0x60, 0xC0)};
        QImage face(size(), QImage::Format_RGB32);
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                face.setPixel(x, y, stripes[((x + 2 * y) / 3) % 3]);
        QPainter(this).drawImage(0, 0, face);
    }
};

// Held buttons repeat on a timer; here nothing may tick.
class IdleRepeatTimer : public TkavRepeatTimer {
public:
    void start(int, std::function<void()>) override {}
};

// One control in one state. make builds it on the stage with everything that does not depend on
// the look; enterState (optional) runs once the look is applied and the stage is shown, for
// states that come from input.
struct ControlCase {
    const char *name;
    std::function<QWidget *(QWidget *stage)> make;
    std::function<void(QWidget *control)> enterState;
};

// Both check that the state was reached: a row that silently drew the normal face would prove
// nothing.
void hover(QWidget *control)
{
    const QPointF inside(3, 3);
    QEnterEvent enter(inside, inside, control->mapToGlobal(inside));
    QCoreApplication::sendEvent(control, &enter);
    const auto *button = qobject_cast<TkavCustomButton *>(control);
    QVERIFY(button && button->isMouseOver());
}

void press(QWidget *control)
{
    QTest::mousePress(control, Qt::LeftButton, {}, control->rect().center());
    const auto *button = qobject_cast<TkavCustomButton *>(control);
    QVERIFY(button && button->isPressed());
}

TkavButton *button(QWidget *stage, const QSize &size, bool enabled = true)
{
    auto *b = new TkavButton(stage);
    b->setGeometry(QRect(QPoint(8, 8), size));
    b->setCaption(QStringLiteral("&Start"));
    b->setEnabled(enabled);
    return b;
}

TKavArrowButton *arrow(QWidget *stage, TkavArrowButtonType direction)
{
    auto *a = new TKavArrowButton(stage);
    a->setGeometry(8, 8, 18, 13);
    a->setArrow(direction);
    return a;
}

// Shows frame index of count frames of a theme picture, taking the frame's size.
TkavControlButton *controlButton(QWidget *stage, int key, int count, int index)
{
    auto *c = new TkavControlButton(stage);
    c->move(8, 8);
    c->setThemeID(key);
    c->setPicCount(count);
    c->setPicIndex(index);
    return c;
}

template <typename Box>
Box *checkBox(QWidget *stage, bool checked, bool enabled, bool transparent = false)
{
    auto *box = new Box(stage);
    box->setAutoSize(false);
    box->setGeometry(8, 8, 120, 21);
    box->setCaption(QStringLiteral("&Mixed"));
    box->setChecked(checked);
    box->setEnabled(enabled);
    box->setTransparent(transparent);
    return box;
}

template <typename Group>
Group *group(QWidget *stage)
{
    auto *g = new Group(stage);
    g->setGeometry(8, 8, 220, 90);
    g->setCaption(QStringLiteral("Kind"));
    g->setColumns(2);
    g->setItems({QStringLiteral("Add"), QStringLiteral("Subtract"), QStringLiteral("Mixed")});
    return g;
}

TkavPanel *panel(QWidget *stage, const QString &caption, bool showButton)
{
    auto *p = new TkavPanel(stage);
    p->setGeometry(8, 8, 180, 90);
    p->setHeight(90);
    p->setCaption(caption);
    p->setShowButton(showButton);
    return p;
}

QImage fixturePicture()
{
    QImage picture(20, 12, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 12, y * 20, 0x80));
    return picture;
}

// Every skinned control, and each state in which it draws another frame or colour of its look.
// Left out: TkavToolBarSpeedButton and TkavURLLabel, which have no look at all.
const QList<ControlCase> &controlCases()
{
    static const QList<ControlCase> cases = {
        {"TkavButton", [](QWidget *s) { return button(s, {90, 27}); }, {}},
        {"TkavButton/mouseOver", [](QWidget *s) { return button(s, {90, 27}); }, hover},
        {"TkavButton/pressed", [](QWidget *s) { return button(s, {90, 27}); }, press},
        {"TkavButton/disabled", [](QWidget *s) { return button(s, {90, 27}, false); }, {}},
        {"TkavButton/large", [](QWidget *s) { return button(s, {170, 46}); }, {}},
        {"TKavArrowButton/up", [](QWidget *s) { return arrow(s, TKavArrowButton::kavUp); }, {}},
        {"TKavArrowButton/down/pressed", [](QWidget *s) { return arrow(s, TKavArrowButton::kavDown); }, press},
        {"TkavControlButton/close",
         [](QWidget *s) { return controlButton(s, KavKey::TitleBarButtonImage, 18, 16); }, {}},
        {"TkavControlButton/close/mouseOver",
         [](QWidget *s) { return controlButton(s, KavKey::TitleBarButtonImage, 18, 16); }, hover},
        {"TkavControlButton/close/picTransparent",
         [](QWidget *s) {
             auto *c = controlButton(s, KavKey::TitleBarButtonImage, 18, 16);
             c->setPicTransparent(true);
             return c;
         },
         {}},
        {"TkavControlButton/scrollBack",
         [](QWidget *s) { return controlButton(s, KavKey::ScrollButtonImage, 4, 3); }, {}},
        {"TkavControlButton/wholeSlider",
         [](QWidget *s) { return controlButton(s, KavKey::TrackBarSliderImage, 0, 0); }, {}},
        {"TkavImageButton",
         [](QWidget *s) {
             auto *b = new TkavImageButton(s);
             b->setGeometry(8, 8, 30, 20);
             b->setPicNormal(fixturePicture());
             return b;
         },
         {}},
        {"TkavCheckBox/checked", [](QWidget *s) { return checkBox<TkavCheckBox>(s, true, true); }, {}},
        {"TkavCheckBox/unchecked", [](QWidget *s) { return checkBox<TkavCheckBox>(s, false, true); }, {}},
        {"TkavCheckBox/checkedDisabled", [](QWidget *s) { return checkBox<TkavCheckBox>(s, true, false); }, {}},
        {"TkavCheckBox/uncheckedDisabled", [](QWidget *s) { return checkBox<TkavCheckBox>(s, false, false); }, {}},
        {"TkavCheckBox/transparent", [](QWidget *s) { return checkBox<TkavCheckBox>(s, true, true, true); }, {}},
        {"TkavCheckBox/autoSize",
         [](QWidget *s) {
             auto *box = checkBox<TkavCheckBox>(s, true, true);
             box->setAutoSize(true);
             return box;
         },
         {}},
        {"TkavRadioButton/checked", [](QWidget *s) { return checkBox<TkavRadioButton>(s, true, true); }, {}},
        {"TkavRadioButton/unchecked", [](QWidget *s) { return checkBox<TkavRadioButton>(s, false, true); }, {}},
        {"TkavRadioButton/checkedDisabled",
         [](QWidget *s) { return checkBox<TkavRadioButton>(s, true, false); }, {}},
        {"TkavRadioButton/uncheckedDisabled",
         [](QWidget *s) { return checkBox<TkavRadioButton>(s, false, false); }, {}},
        {"TkavRadioButton/transparent",
         [](QWidget *s) { return checkBox<TkavRadioButton>(s, true, true, true); }, {}},
        {"TkavGroupBox",
         [](QWidget *s) {
             auto *g = new TkavGroupBox(s);
             g->setGeometry(8, 8, 160, 80);
             g->setCaption(QStringLiteral("Time"));
             return g;
         },
         {}},
        {"TkavGroupBox/disabled",
         [](QWidget *s) {
             auto *g = new TkavGroupBox(s);
             g->setGeometry(8, 8, 160, 80);
             g->setCaption(QStringLiteral("Time"));
             g->setEnabled(false);
             return g;
         },
         {}},
        // The group hands its look (and file theme) on to the controls placed inside it.
        {"TkavGroupBox/withControls",
         [](QWidget *s) {
             auto *g = new TkavGroupBox(s);
             g->setGeometry(8, 8, 200, 110);
             g->setCaption(QStringLiteral("Time"));
             auto *b = new TkavButton(g);
             b->setGeometry(10, 24, 90, 27);
             b->setCaption(QStringLiteral("&Go"));
             auto *c = new TkavCheckBox(g);
             c->setAutoSize(false);
             c->setGeometry(10, 60, 120, 21);
             c->setCaption(QStringLiteral("Limit"));
             c->setChecked(true);
             auto *r = new TkavRadioButton(g);
             r->setAutoSize(false);
             r->setGeometry(10, 82, 120, 21);
             r->setCaption(QStringLiteral("None"));
             return g;
         },
         {}},
        {"TkavCheckGroup",
         [](QWidget *s) {
             auto *g = group<TkavCheckGroup>(s);
             g->setChecked(0, true);
             g->setChecked(2, true);
             return g;
         },
         {}},
        {"TkavCheckGroup/disabledItem",
         [](QWidget *s) {
             auto *g = group<TkavCheckGroup>(s);
             g->setChecked(1, true);
             g->setItemEnabled(1, false);
             g->setItemEnabled(2, false);
             return g;
         },
         {}},
        {"TkavRadioGroup",
         [](QWidget *s) {
             auto *g = group<TkavRadioGroup>(s);
             g->setItemIndex(1);
             return g;
         },
         {}},
        {"TkavRadioGroup/disabled",
         [](QWidget *s) {
             auto *g = group<TkavRadioGroup>(s);
             g->setItemIndex(2);
             g->setEnabled(false);
             return g;
         },
         {}},
        {"TkavPanel", [](QWidget *s) { return panel(s, QStringLiteral("Exam"), true); }, {}},
        {"TkavPanel/noButton", [](QWidget *s) { return panel(s, QStringLiteral("Exam"), false); }, {}},
        {"TkavPanel/noCaption", [](QWidget *s) { return panel(s, QString(), true); }, {}},
        {"TkavImagePanel/stretched",
         [](QWidget *s) {
             auto *p = new TkavImagePanel(s);
             p->setGeometry(8, 8, 60, 30);
             p->setPicture(fixturePicture());
             p->setDrawStyle(TkavCustomPanel::kavStretch);
             p->setText(QStringLiteral("Pic"));
             return p;
         },
         {}},
        {"TkavToolBarSpeedButton",
         [](QWidget *s) {
             auto *b = new TkavToolBarSpeedButton(s);
             b->setGeometry(8, 8, 18, 18);
             b->setGlyph(fixturePicture().copy(0, 0, 12, 10));
             return b;
         },
         {}},
        {"TkavURLLabel",
         [](QWidget *s) {
             auto *l = new TkavURLLabel(s);
             l->move(8, 8);
             l->setCaption(QStringLiteral("Contact"));
             return l;
         },
         {}},
    };
    return cases;
}

const ControlCase *findCase(const QString &name)
{
    for (const ControlCase &c : controlCases())
        if (QLatin1String(c.name) == name)
            return &c;
    return nullptr;
}

// A control on its own stage, given its look the way containers hand it on: file theme first.
class StagedControl {
public:
    StagedControl(const ControlCase &c, TkavUIStyle style, TkavFileTheme *theme)
    {
        m_control = c.make(&m_stage);
        Kav::KavWriteFileTheme(m_control, theme);
        Kav::KavWriteUIStyle(m_control, style);
        m_stage.show();
        if (c.enterState)
            c.enterState(m_control);
    }

    QWidget *control() const { return m_control; }
    QImage grab() const { return m_control->grab().toImage(); }

private:
    StripedStage m_stage;
    QWidget *m_control;
};

QImage render(const ControlCase &c, TkavUIStyle style, TkavFileTheme *theme)
{
    return StagedControl(c, style, theme).grab();
}

} // namespace

// The theme-file path end to end: a built-in look exported by kav-theme and loaded as a file
// theme draws every skinned control exactly as the built-in look does.
class tst_KavThemeRender : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    TkavRepeatTimerFactory m_previousTimers;

    QString themeFile(TkavUIStyle look) const { return m_dir.filePath(lookName(look) + QStringLiteral(".kav")); }

    static void addCaseRows()
    {
        QTest::addColumn<QString>("control");
        for (const ControlCase &c : controlCases())
            QTest::addRow("%s", c.name) << QString::fromLatin1(c.name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath() + QStringLiteral(" is not built")));
        for (TkavUIStyle look : BuiltInLooks) {
            const QString failure = exportLook(lookName(look), themeFile(look));
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
        }
        m_previousTimers = TkavCustomButton::setRepeatTimerFactory(
            [](QObject *) { return std::make_unique<IdleRepeatTimer>(); });
    }

    void cleanupTestCase() { TkavCustomButton::setRepeatTimerFactory(m_previousTimers); }

    void exportedLookDrawsAsBuiltIn_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        QTest::addColumn<QString>("control");
        for (TkavUIStyle look : BuiltInLooks)
            for (const ControlCase &c : controlCases())
                QTest::addRow("%s/%s", qPrintable(lookName(look)), c.name) << look << QString::fromLatin1(c.name);
    }

    void exportedLookDrawsAsBuiltIn()
    {
        QFETCH(TkavUIStyle, look);
        QFETCH(QString, control);
        const ControlCase *c = findCase(control);
        QVERIFY(c);

        TkavFileTheme theme;
        theme.setThemeFile(themeFile(look));
        QVERIFY2(theme.CanUse(), qPrintable(theme.errorString()));

        const QImage builtIn = render(*c, look, nullptr);
        const QImage fromFile = render(*c, TkavUIStyle::FromThemeFile, &theme);
        const QString difference = pictureDifference(fromFile, builtIn);
        // The built-in MacOS panel writes its caption in black, which no theme key holds; from a
        // file the caption takes MenuSelectedFontColor, white in MacOS (TkavPanel::setUIStyle).
        const char *whiteMacOSCaption = "a MacOS theme file cannot give the panel its black caption";
        QEXPECT_FAIL("MacOS/TkavPanel", whiteMacOSCaption, Continue);
        QEXPECT_FAIL("MacOS/TkavPanel/noButton", whiteMacOSCaption, Continue);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // Every control draws exactly as the renders kept in tests/tools/data/renders, made before the
    // paint layer was rebuilt. KAV_UPDATE_RENDERS=1 writes the current renders there instead.
    void drawsAsReferenceRender_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        QTest::addColumn<QString>("control");
        for (TkavUIStyle look : BuiltInLooks)
            for (const ControlCase &c : controlCases())
                QTest::addRow("%s/%s", qPrintable(lookName(look)), c.name) << look << QString::fromLatin1(c.name);
    }

    void drawsAsReferenceRender()
    {
        QFETCH(TkavUIStyle, look);
        QFETCH(QString, control);
        const ControlCase *c = findCase(control);
        QVERIFY(c);
        const QDir folder(QDir(qEnvironmentVariable("KAV_SOURCE_DIR")).filePath(QStringLiteral("tests/tools/data/renders/") + lookName(look)));
        const QString file = folder.filePath(QString(control).replace(u'/', u'-') + QStringLiteral(".png"));
        const QImage actual = render(*c, look, nullptr);
        if (qEnvironmentVariableIntValue("KAV_UPDATE_RENDERS")) {
            QVERIFY(folder.mkpath(QStringLiteral(".")));
            QVERIFY(actual.convertToFormat(QImage::Format_RGB32).save(file));
            return;
        }
        const QImage expected(file);
        QVERIFY2(!expected.isNull(), qPrintable(file + QStringLiteral(" is missing")));
        const QString difference = pictureDifference(actual, expected);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void themeFileStyleWithoutThemeDrawsAsDeepBlue_data() { addCaseRows(); }

    void themeFileStyleWithoutThemeDrawsAsDeepBlue()
    {
        QFETCH(QString, control);
        const ControlCase *c = findCase(control);
        QVERIFY(c);

        const QString difference =
            pictureDifference(render(*c, TkavUIStyle::FromThemeFile, nullptr), render(*c, TkavUIStyle::DeepBlue, nullptr));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void destroyedThemeTurnsControlToDeepBlue_data() { addCaseRows(); }

    void destroyedThemeTurnsControlToDeepBlue()
    {
        QFETCH(QString, control);
        const ControlCase *c = findCase(control);
        QVERIFY(c);
        const QImage deepBlue = render(*c, TkavUIStyle::DeepBlue, nullptr);
        auto theme = std::make_unique<TkavFileTheme>();
        theme->setThemeFile(themeFile(TkavUIStyle::MacOS));
        QVERIFY2(theme->CanUse(), qPrintable(theme->errorString()));

        const StagedControl staged(*c, TkavUIStyle::FromThemeFile, theme.get());
        // The image button and image panel draw their own pictures in every look; the speed button
        // and the URL label have no look.
        static const QStringList lookless = {QStringLiteral("TkavImageButton"), QStringLiteral("TkavImagePanel/stretched"),
                                            QStringLiteral("TkavToolBarSpeedButton"), QStringLiteral("TkavURLLabel")};
        const bool drawsAnyLook = !lookless.contains(QLatin1String(c->name));
        if (drawsAnyLook)
            QVERIFY2(!pictureDifference(staged.grab(), deepBlue).isEmpty(), "the MacOS file draws like DeepBlue");

        theme.reset();
        QCOMPARE(staged.control()->property("FileTheme").value<TkavFileTheme *>(), nullptr);
        if (drawsAnyLook)
            QCOMPARE(staged.control()->property("UIStyle").value<TkavUIStyle>(), TkavUIStyle::DeepBlue);
        const QString difference = pictureDifference(staged.grab(), deepBlue);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
};

QTEST_MAIN(tst_KavThemeRender)
#include "tst_kavthemerender.moc"
