#include "KAVFunctions.h"
#include "KAVMgr.h"
#include "KAVWindowLook.h"

#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <functional>

namespace {

// Counts its paint events; the window of every test is one, so that its repaints can be counted.
class PaintCounter : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
};

} // namespace

// A skinned control reduced to its two look properties. It records every write, and it repaints
// at once (repaint(), not update()) after each, the worst a control can do inside a look switch.
class LookControl : public PaintCounter {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)

public:
    using PaintCounter::PaintCounter;

    TkavUIStyle UIStyle() const { return m_style; }
    virtual void setUIStyle(TkavUIStyle style)
    {
        writes << QStringLiteral("UIStyle");
        m_style = style;
        if (onStyle)
            onStyle();
        repaint();
    }
    TkavFileTheme *FileTheme() const { return m_theme; }
    virtual void setFileTheme(TkavFileTheme *theme)
    {
        writes << QStringLiteral("FileTheme");
        m_theme = theme;
        repaint();
    }

    // Puts the control at a look without recording it.
    void startAt(TkavUIStyle style, TkavFileTheme *theme)
    {
        m_style = style;
        m_theme = theme;
    }

    QStringList writes;
    std::function<void()> onStyle; // runs inside the UIStyle setter

private:
    TkavUIStyle m_style = TkavUIStyle::DeepBlue;
    QPointer<TkavFileTheme> m_theme;
};

// A container that, like a skinned form, hands its look on to its direct children in its own
// setter while UIStyleAutoUpdateSub is set.
class HandOnContainer : public LookControl {
    Q_OBJECT
    Q_PROPERTY(bool UIStyleAutoUpdateSub READ UIStyleAutoUpdateSub WRITE setUIStyleAutoUpdateSub)

public:
    using LookControl::LookControl;

    bool UIStyleAutoUpdateSub() const { return m_handOn; }
    void setUIStyleAutoUpdateSub(bool handOn) { m_handOn = handOn; }

    void setUIStyle(TkavUIStyle style) override
    {
        LookControl::setUIStyle(style);
        if (m_handOn)
            ContainerApplyUIStyle(this, style, FileTheme());
    }

private:
    bool m_handOn = true;
};

// A control that keeps a skinned part of its own as a child and always gives it its look, as a
// memo does with its scroll bars.
class OwnerControl : public LookControl {
    Q_OBJECT

public:
    explicit OwnerControl(QWidget *parent) : LookControl(parent), part(new LookControl(this)) {}

    void setUIStyle(TkavUIStyle style) override
    {
        LookControl::setUIStyle(style);
        part->setUIStyle(style);
    }
    void setFileTheme(TkavFileTheme *theme) override
    {
        LookControl::setFileTheme(theme);
        part->setFileTheme(theme);
    }

    LookControl *const part;
};

// Publishes a look but no file theme: not a skinned control.
class StyleOnly : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)

public:
    using QWidget::QWidget;
    TkavUIStyle UIStyle() const { return m_style; }
    void setUIStyle(TkavUIStyle style)
    {
        m_style = style;
        ++writes;
    }
    int writes = 0;

private:
    TkavUIStyle m_style = TkavUIStyle::DeepBlue;
};

namespace {

// window
// ├─ plain                         LookControl
// ├─ outer (hands on, opaque)      HandOnContainer
// │  ├─ inOuter                    LookControl
// │  └─ inner (hands on)           HandOnContainer
// │     └─ inInner (opaque)        LookControl
// ├─ (a plain QWidget)
// │  └─ behindPlain                LookControl
// ├─ owner, with its part          OwnerControl
// └─ styleOnly                     StyleOnly
struct Fixture {
    PaintCounter window;
    LookControl *plain = new LookControl(&window);
    HandOnContainer *outer = new HandOnContainer(&window);
    LookControl *inOuter = new LookControl(outer);
    HandOnContainer *inner = new HandOnContainer(outer);
    LookControl *inInner = new LookControl(inner);
    QWidget *between = new QWidget(&window);
    LookControl *behindPlain = new LookControl(between);
    OwnerControl *owner = new OwnerControl(&window);
    StyleOnly *styleOnly = new StyleOnly(&window);

    Fixture()
    {
        // Opaque controls are repainted on their own, not as part of the window behind them.
        outer->setAttribute(Qt::WA_OpaquePaintEvent);
        inInner->setAttribute(Qt::WA_OpaquePaintEvent);
        window.resize(200, 100);
        // Side by side, nothing covering anything: a control hidden behind an opaque one is never
        // painted at all.
        plain->setGeometry(5, 5, 10, 10);
        outer->setGeometry(20, 5, 60, 30);
        inOuter->setGeometry(2, 2, 10, 10);
        inner->setGeometry(15, 2, 30, 20);
        inInner->setGeometry(2, 2, 10, 10);
        between->setGeometry(90, 5, 20, 20);
        behindPlain->setGeometry(2, 2, 10, 10);
        owner->setGeometry(120, 5, 30, 20);
        owner->part->setGeometry(2, 2, 10, 10);
        styleOnly->setGeometry(160, 5, 10, 10);
    }

    QList<LookControl *> controls() const
    {
        return {plain, outer, inOuter, inner, inInner, behindPlain, owner, owner->part};
    }

    void startAt(TkavUIStyle style, TkavFileTheme *theme)
    {
        for (LookControl *control : controls())
            control->startAt(style, theme);
    }
};

} // namespace

class tst_KavWindowLook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachControlSetOnce_data();
    void eachControlSetOnce();
    void oneRepaintAfterThePass();
    void updatesLeftOffWhenTheyWereOff();
    void controlsRemovedOrAddedDuringThePass();
};

void tst_KavWindowLook::eachControlSetOnce_data()
{
    QTest::addColumn<TkavUIStyle>("fromStyle");
    QTest::addColumn<int>("fromTheme"); // 0 none, 1 or 2 one of two file themes
    QTest::addColumn<TkavUIStyle>("toStyle");
    QTest::addColumn<int>("toTheme");
    QTest::addColumn<QStringList>("writes");

    const QString style = QStringLiteral("UIStyle"), theme = QStringLiteral("FileTheme");
    QTest::addRow("other built-in look") << TkavUIStyle::MacOS << 0 << TkavUIStyle::WinXP << 0 << QStringList{style};
    QTest::addRow("to a file theme") << TkavUIStyle::MacOS << 0 << TkavUIStyle::FromThemeFile << 1
                                     << QStringList{theme, style};
    QTest::addRow("other file theme") << TkavUIStyle::FromThemeFile << 1 << TkavUIStyle::FromThemeFile << 2
                                      << QStringList{theme};
    QTest::addRow("file theme to built-in look") << TkavUIStyle::FromThemeFile << 2 << TkavUIStyle::WinXP << 0
                                                 << QStringList{theme, style};
    QTest::addRow("already at the look") << TkavUIStyle::WinXP << 1 << TkavUIStyle::WinXP << 1 << QStringList{};
}

void tst_KavWindowLook::eachControlSetOnce()
{
    QFETCH(TkavUIStyle, fromStyle);
    QFETCH(int, fromTheme);
    QFETCH(TkavUIStyle, toStyle);
    QFETCH(int, toTheme);
    QFETCH(QStringList, writes);

    TkavFileTheme themeOne, themeTwo;
    TkavFileTheme *const themes[] = {nullptr, &themeOne, &themeTwo};
    Fixture fixture;
    fixture.startAt(fromStyle, themes[fromTheme]);

    Kav::KavApplyWindowLook(&fixture.window, toStyle, themes[toTheme]);

    for (LookControl *control : fixture.controls()) {
        const QByteArray where = control->metaObject()->className() + QByteArray(" at ") +
                                 QByteArray::number(control->x());
        QVERIFY2(control->writes == writes, where + ": " + control->writes.join(u',').toUtf8());
        QCOMPARE(control->UIStyle(), toStyle);
        QCOMPARE(control->FileTheme(), themes[toTheme]);
    }
    // The containers hand their look on again once the pass is over.
    QVERIFY(fixture.outer->UIStyleAutoUpdateSub());
    QVERIFY(fixture.inner->UIStyleAutoUpdateSub());
    QCOMPARE(fixture.styleOnly->writes, 0);
}

void tst_KavWindowLook::oneRepaintAfterThePass()
{
    Fixture fixture;
    fixture.startAt(TkavUIStyle::MacOS, nullptr);
    fixture.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixture.window));
    QCoreApplication::processEvents();
    fixture.window.paints = 0;
    for (LookControl *control : fixture.controls())
        control->paints = 0;

    Kav::KavApplyWindowLook(&fixture.window, TkavUIStyle::WinXP);

    // The controls' own repaints inside the pass paint nothing...
    QCOMPARE(fixture.window.paints, 0);
    for (LookControl *control : fixture.controls())
        QCOMPARE(control->paints, 0);
    QVERIFY(fixture.window.updatesEnabled());
    // ... the event loop then repaints the window once, every control with it.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(fixture.window.paints, 1);
    for (LookControl *control : fixture.controls())
        QVERIFY2(control->paints == 1, control->metaObject()->className() + QByteArray(" at ") +
                                           QByteArray::number(control->x()) + " painted " +
                                           QByteArray::number(control->paints) + " times");
}

void tst_KavWindowLook::updatesLeftOffWhenTheyWereOff()
{
    Fixture fixture;
    fixture.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixture.window));
    QCoreApplication::processEvents();
    fixture.window.setUpdatesEnabled(false);
    fixture.window.paints = 0;

    Kav::KavApplyWindowLook(&fixture.window, TkavUIStyle::Protein);
    QCoreApplication::processEvents();

    QVERIFY(!fixture.window.updatesEnabled());
    QVERIFY(!fixture.plain->updatesEnabled());
    QCOMPARE(fixture.window.paints, 0);
    QCOMPARE(fixture.inInner->UIStyle(), TkavUIStyle::Protein);
}

void tst_KavWindowLook::controlsRemovedOrAddedDuringThePass()
{
    Fixture fixture;
    QPointer<QWidget> removedSibling = fixture.between; // holds behindPlain
    QPointer<QWidget> removedChild = fixture.inInner;
    LookControl *added = nullptr;
    // plain comes first: it removes a later sibling with a control inside; outer removes a child
    // of its own child container and creates a new control in itself.
    fixture.plain->onStyle = [&] { delete fixture.between; };
    fixture.outer->onStyle = [&] {
        delete fixture.inInner;
        if (!added)
            added = new LookControl(fixture.outer);
    };
    fixture.outer->setUIStyleAutoUpdateSub(false);

    Kav::KavApplyWindowLook(&fixture.window, TkavUIStyle::BlueGlass);

    QVERIFY(!removedSibling);
    QVERIFY(!removedChild);
    QVERIFY(added);
    QCOMPARE(added->writes, QStringList{QStringLiteral("UIStyle")});
    QCOMPARE(fixture.owner->UIStyle(), TkavUIStyle::BlueGlass);
    QCOMPARE(fixture.inner->UIStyle(), TkavUIStyle::BlueGlass);
}

QTEST_MAIN(tst_KavWindowLook)
#include "tst_kavwindowlook.moc"
