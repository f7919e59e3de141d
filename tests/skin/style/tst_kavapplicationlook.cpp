// The live switch: Kav::KavSetApplicationLook changes every window of a running program (Qt's
// widgets through the application's KavStyle, the library's controls through their properties)
// in one pass, without polishing any widget again, repainting each widget once.
#include <QtTest>

#include <QApplication>
#include <QCheckBox>
#include <QHash>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QVBoxLayout>

#include "KAVApplicationLook.h"
#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVForm.h"
#include "KAVMgr.h"
#include "KAVStyle.h"

namespace {

// Counts what Qt asks of the style that a full style change would ask again of every widget.
class CountingStyle : public Kav::KavStyle {
public:
    using Kav::KavStyle::KavStyle;
    int polished = 0;
    int unpolished = 0;
    void polish(QWidget *widget) override
    {
        ++polished;
        Kav::KavStyle::polish(widget);
    }
    void unpolish(QWidget *widget) override
    {
        ++unpolished;
        Kav::KavStyle::unpolish(widget);
    }
    using Kav::KavStyle::polish;
};

// Counts the paint events of every widget.
class PaintCounter : public QObject {
public:
    QHash<QObject *, int> paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

// A window with Qt's widgets and the library's controls, laid out.
struct Window {
    QWidget window;
    QPushButton *button = new QPushButton(QStringLiteral("Qt"));
    QCheckBox *check = new QCheckBox(QStringLiteral("Qt check"));
    QTabBar *tabs = new QTabBar;
    QPlainTextEdit *text = new QPlainTextEdit;
    TkavButton *kavButton = new TkavButton;
    TkavCheckBox *kavCheck = new TkavCheckBox;

    Window()
    {
        auto *layout = new QVBoxLayout(&window);
        tabs->addTab(QStringLiteral("One"));
        tabs->addTab(QStringLiteral("Two"));
        text->setPlainText(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n20"));
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        kavButton->setCaption(QStringLiteral("kav"));
        kavCheck->setCaption(QStringLiteral("kav check"));
        for (QWidget *widget : QList<QWidget *>{button, check, tabs, text, kavButton, kavCheck})
            layout->addWidget(widget);
        window.resize(240, 320);
    }
};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class tst_KavApplicationLook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void everyWindowInOnePass();
    void sizesFollowTheLook_data();
    void sizesFollowTheLook();
    void programPaletteKept();
    void installsTheStyleOnce();
    void themeFile();

private:
    QPointer<CountingStyle> m_style;
};

void tst_KavApplicationLook::init()
{
    m_style = new CountingStyle(TkavUIStyle::MacOS);
    QApplication::setStyle(m_style);
    QApplication::setPalette(QPalette()); // nothing of the program's own
}

void tst_KavApplicationLook::cleanup()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void tst_KavApplicationLook::everyWindowInOnePass()
{
    Window first;
    Window second;
    first.window.show();
    second.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first.window));
    QVERIFY(QTest::qWaitForWindowExposed(&second.window));
    settle();
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    m_style->polished = m_style->unpolished = 0;

    Kav::KavSetApplicationLook(TkavUIStyle::WinXP);

    // Nothing painted during the pass, no widget polished again.
    QVERIFY(counter.paints.isEmpty());
    QCOMPARE(m_style->polished, 0);
    QCOMPARE(m_style->unpolished, 0);
    QCOMPARE(QApplication::style(), m_style.data());
    QCOMPARE(m_style->uiStyle(), TkavUIStyle::WinXP);
    // Qt's widgets have the look's palette, the library's controls the look.
    for (Window *window : {&first, &second}) {
        QCOMPARE(window->button->palette().color(QPalette::Window), QColor(0xef, 0xeb, 0xde));
        QCOMPARE(window->kavButton->UIStyle(), TkavUIStyle::WinXP);
        QCOMPARE(window->kavCheck->UIStyle(), TkavUIStyle::WinXP);
    }

    // Then each window is painted once, and every widget in it at most once.
    settle();
    qApp->removeEventFilter(&counter);
    for (Window *window : {&first, &second}) {
        QCOMPARE(counter.paints.value(&window->window), 1);
        for (QWidget *widget : window->window.findChildren<QWidget *>()) {
            QVERIFY2(counter.paints.value(widget) <= 1,
                     qPrintable(QStringLiteral("%1 painted %2 times")
                                    .arg(QString::fromLatin1(widget->metaObject()->className()))
                                    .arg(counter.paints.value(widget))));
        }
        QCOMPARE(counter.paints.value(window->button), 1);
    }
}

void tst_KavApplicationLook::sizesFollowTheLook_data()
{
    QTest::addColumn<TkavUIStyle>("from");
    QTest::addColumn<TkavUIStyle>("to");
    // MacOS: a 15 x 17 check box, 27-pixel tabs; WinXP 13 x 13 and 18; BlueGlass a 17-pixel
    // scroll bar (16 elsewhere).
    QTest::newRow("MacOS to WinXP") << TkavUIStyle::MacOS << TkavUIStyle::WinXP;
    QTest::newRow("WinXP to MacOS") << TkavUIStyle::WinXP << TkavUIStyle::MacOS;
    QTest::newRow("DeepBlue to BlueGlass") << TkavUIStyle::DeepBlue << TkavUIStyle::BlueGlass;
}

void tst_KavApplicationLook::sizesFollowTheLook()
{
    QFETCH(TkavUIStyle, from);
    QFETCH(TkavUIStyle, to);
    Kav::KavSetApplicationLook(from);
    Window window;
    window.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window.window));
    settle();

    Kav::KavSetApplicationLook(to);
    settle();

    // What the widgets keep of the old look's sizes is gone: they measure as widgets made in the
    // new look, and the layout follows.
    const Kav::KavStyleLook &look = m_style->look();
    QCheckBox freshCheck(window.check->text());
    QCOMPARE(window.check->sizeHint(), freshCheck.sizeHint());
    QVERIFY(window.check->sizeHint().height() >= look.checkIndicator().height() + 4);
    QCOMPARE(window.check->height(), window.check->sizeHint().height());
    QCOMPARE(window.tabs->tabRect(0).height(), look.tabHeight() + 1);
    QCOMPARE(window.tabs->height(), look.tabHeight() + 1);
    QCOMPARE(window.text->verticalScrollBar()->width(), look.scrollBarExtent());
}

void tst_KavApplicationLook::programPaletteKept()
{
    QPalette own = QApplication::palette();
    own.setColor(QPalette::ToolTipBase, QColor(1, 2, 3));
    QApplication::setPalette(own);
    Window window;
    window.window.show();

    Kav::KavSetApplicationLook(TkavUIStyle::Protein);
    settle();

    QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(0xfb, 0xfb, 0xfb));
    QCOMPARE(QApplication::palette().color(QPalette::ToolTipBase), QColor(1, 2, 3));
    QCOMPARE(window.check->palette().color(QPalette::Window), QColor(0xfb, 0xfb, 0xfb));
}

void tst_KavApplicationLook::installsTheStyleOnce()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    Window window;
    window.window.show();

    Kav::KavSetApplicationLook(TkavUIStyle::DeepBlue);

    auto *style = qobject_cast<Kav::KavStyle *>(QApplication::style());
    QVERIFY(style);
    QCOMPARE(style->uiStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(window.kavButton->UIStyle(), TkavUIStyle::DeepBlue);
    // The next switch changes that style in place.
    Kav::KavSetApplicationLook(TkavUIStyle::BlueGlass);
    QCOMPARE(QApplication::style(), style);
    QCOMPARE(style->uiStyle(), TkavUIStyle::BlueGlass);
}

void tst_KavApplicationLook::themeFile()
{
    const QString path = QString::fromLocal8Bit(qgetenv("KAV_BINARY_DIR")) + QStringLiteral("/tst_kavapplicationlook.kav");
    QVERIFY(QProcess::execute(QString::fromLocal8Bit(qgetenv("KAV_BINARY_DIR")) + QStringLiteral("/tools/kav-theme/kav-theme"),
                              {QStringLiteral("export"), QStringLiteral("Protein"), path}) == 0);
    TkavFileTheme theme;
    theme.setThemeFile(path);
    QVERIFY(theme.CanUse());
    Window window;
    window.window.show();

    Kav::KavSetApplicationLook(TkavUIStyle::FromThemeFile, &theme);
    settle();

    QCOMPARE(m_style->uiStyle(), TkavUIStyle::FromThemeFile);
    QCOMPARE(m_style->fileTheme(), &theme);
    QVERIFY(m_style->look().fromFile);
    QCOMPARE(window.button->palette().color(QPalette::Window), QColor(0xfb, 0xfb, 0xfb));
    QCOMPARE(window.kavButton->UIStyle(), TkavUIStyle::FromThemeFile);
    QCOMPARE(window.kavButton->FileTheme(), &theme);
    QFile::remove(path);
}

QTEST_MAIN(tst_KavApplicationLook)
#include "tst_kavapplicationlook.moc"
