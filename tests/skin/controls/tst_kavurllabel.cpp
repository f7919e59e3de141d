#include "KAVImagePanel.h"
#include "KAVURLLabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

namespace {

constexpr TColor Blue = TColor(0xFF0000);
constexpr TColor Red = TColor(0x0000FF);
constexpr TColor Green = TColor(0x00FF00);
constexpr TColor Yellow = TColor(0x00FFFF);

void enter(QWidget *widget)
{
    QEnterEvent event(QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)), widget->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

// Stands in for the desktop: records what it was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

class tst_KAVURLLabel : public QObject {
    Q_OBJECT

private:
    UrlCatcher m_desktop;
    const QStringList m_schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                   QStringLiteral("mailto"), QStringLiteral("file")};

private slots:
    void initTestCase()
    {
        for (const QString &scheme : m_schemes)
            QDesktopServices::setUrlHandler(scheme, &m_desktop, "open");
    }

    void cleanupTestCase()
    {
        for (const QString &scheme : m_schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init() { m_desktop.opened.clear(); }

    void fontKeepsTheUnderline_data()
    {
        QTest::addColumn<bool>("sayUnderline");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("underlined");
        QTest::addRow("a font that says nothing of it") << false << false << true;
        QTest::addRow("a font that switches it off") << true << false << false;
        QTest::addRow("a font that switches it on") << true << true << true;
    }

    // A program that gives the label a font (a larger one, say) keeps the link's underline and
    // the room for it, unless the font itself switches the underline off.
    void fontKeepsTheUnderline()
    {
        QFETCH(bool, sayUnderline);
        QFETCH(bool, underline);
        TkavURLLabel label;
        const int before = label.height();
        QFont font(label.font().family(), 24);
        if (sayUnderline)
            font.setUnderline(underline);
        label.setFont(font);
        QTEST(label.font().underline(), "underlined");
        QCOMPARE(label.font().pointSize(), 24);
        QVERIFY(label.height() > before);
        QCOMPARE(label.size(), label.sizeHint());
    }

    void defaults()
    {
        TkavURLLabel label;
        QCOMPARE(label.Caption(), QStringLiteral("Welcome to Orventa"));
        QVERIFY(label.font().underline());
        QCOMPARE(label.FontColor(), Blue);
        QCOMPARE(label.FontLinkColor(), Blue);
        QCOMPARE(label.FontHoverColor(), Red);
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(label.AutoSize());
        QVERIFY(!label.Transparent());
        QVERIFY(!label.wordWrap());
        QVERIFY(!label.URL().trimmed().isEmpty());
        QCOMPARE(label.size(), label.sizeHint());
    }

    void hoverColours_data()
    {
        QTest::addColumn<TColor>("linkColour");  // set before hovering; none when invalid
        QTest::addColumn<TColor>("hoverColour"); // likewise
        QTest::addColumn<TColor>("before");
        QTest::addColumn<TColor>("over");
        QTest::addColumn<TColor>("after");

        QTest::addRow("defaults") << TColor() << TColor() << Blue << Red << Blue;
        QTest::addRow("green link") << Green << TColor() << Green << Red << Green;
        QTest::addRow("yellow hover") << TColor() << Yellow << Blue << Yellow << Blue;
    }

    void hoverColours()
    {
        QFETCH(TColor, linkColour);
        QFETCH(TColor, hoverColour);
        QFETCH(TColor, before);
        QFETCH(TColor, over);
        QFETCH(TColor, after);

        TkavURLLabel label;
        if (linkColour.value != 0)
            label.setFontLinkColor(linkColour);
        if (hoverColour.value != 0)
            label.setFontHoverColor(hoverColour);
        QCOMPARE(label.FontColor(), before);
        for (int round = 0; round < 2; ++round) {
            enter(&label);
            QCOMPARE(label.FontColor(), over);
            leave(&label);
            QCOMPARE(label.FontColor(), after);
        }
    }

    void hoverShowsInThePixels()
    {
        TkavURLLabel label;
        label.setCaption(QStringLiteral("WWWW"));
        QFont font = label.font();
        font.setPixelSize(16);
        label.setFont(font);
        auto containsColour = [](const QImage &image, TColor colour) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if ((image.pixel(x, y) | 0xFF000000u) == colour.resolved().rgb())
                        return true;
            return false;
        };
        QVERIFY(containsColour(label.grab().toImage(), Blue));
        enter(&label);
        const QImage hovered = label.grab().toImage();
        QVERIFY(containsColour(hovered, Red));
        QVERIFY(!containsColour(hovered, Blue));
    }

    void clickOpensURL_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("opened"); // empty: nothing opened

        QTest::addRow("web address") << QStringLiteral("https://www.velmora.example/tallisk")
                                     << QStringLiteral("https://www.velmora.example/tallisk");
        QTest::addRow("host without scheme") << QStringLiteral("www.velmora.example")
                                             << QStringLiteral("http://www.velmora.example");
        QTest::addRow("mail address") << QStringLiteral("mailto:tallisk@velmora.example")
                                      << QStringLiteral("mailto:tallisk@velmora.example");
        QTest::addRow("blanks around") << QStringLiteral("  https://velmora.example/  ")
                                       << QStringLiteral("https://velmora.example/");
        QTest::addRow("empty") << QString() << QString();
        QTest::addRow("blanks only") << QStringLiteral("   ") << QString();
    }

    void clickOpensURL()
    {
        QFETCH(QString, url);
        QFETCH(QString, opened);

        TkavURLLabel label;
        label.setURL(url);
        QSignalSpy clicked(&label, &TkavURLLabel::OnClick);
        sendMouse(&label, QEvent::MouseButtonPress, QPoint(2, 2));
        sendMouse(&label, QEvent::MouseButtonRelease, QPoint(3, 2));

        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).value<QObject *>(), &label);
        if (opened.isEmpty())
            QVERIFY(m_desktop.opened.isEmpty());
        else
            QCOMPARE(m_desktop.opened, QList<QUrl>{QUrl(opened)});
    }

    void releaseOutsideIsNoClick()
    {
        TkavURLLabel label;
        QSignalSpy clicked(&label, &TkavURLLabel::OnClick);
        sendMouse(&label, QEvent::MouseButtonPress, QPoint(2, 2));
        sendMouse(&label, QEvent::MouseButtonRelease, QPoint(label.width() + 5, 2));
        QCOMPARE(clicked.count(), 0);
        QVERIFY(m_desktop.opened.isEmpty());
    }

    void autoSize()
    {
        TkavURLLabel label;
        label.setCaption(QStringLiteral("联系作者"));
        const QSize small = label.size();
        label.setCaption(QStringLiteral("联系作者 联系作者 联系作者"));
        QVERIFY(label.width() > small.width());

        label.setAutoSize(false);
        label.resize(57, 13);
        label.setCaption(QStringLiteral("联系作者 联系作者 联系作者 联系作者"));
        QCOMPARE(label.size(), QSize(57, 13));
    }

    // The underline is part of the label: with AutoSize its row lies inside, also in the
    // Song-style CJK font at 12 pixels, whose underline runs below the line's descent.
    void underlineIsInside_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixelSize");
        // The font the exam program maps "宋体" to.
        QTest::addRow("Song-style CJK, 12 px") << QStringLiteral("AR PL UMing CN") << 12;
        QTest::addRow("Song-style CJK, 13 px") << QStringLiteral("AR PL UMing CN") << 13;
        QTest::addRow("Song-style CJK, 16 px") << QStringLiteral("AR PL UMing CN") << 16;
        QTest::addRow("Song-style CJK, 24 px") << QStringLiteral("AR PL UMing CN") << 24;
        QTest::addRow("default font") << QString() << 0;
    }

    void underlineIsInside()
    {
        QFETCH(QString, family);
        QFETCH(int, pixelSize);

        TkavURLLabel label;
        QFont font = label.font();
        if (!family.isEmpty())
            font.setFamilies({family});
        if (pixelSize > 0)
            font.setPixelSize(pixelSize);
        font.setStyleStrategy(QFont::NoAntialias);
        label.setFont(font);
        label.setCaption(QStringLiteral("联系作者"));
        QCOMPARE(label.size(), label.sizeHint());

        // The underline is the lowest row in the link colour that runs along most of the text.
        const QImage face = label.grab().toImage();
        const int textWidth = QFontMetrics(font).horizontalAdvance(label.Caption());
        int underlineRow = -1;
        for (int y = 0; y < face.height(); ++y) {
            int blue = 0;
            for (int x = 0; x < face.width(); ++x)
                blue += (face.pixel(x, y) | 0xFF000000u) == Blue.resolved().rgb() ? 1 : 0;
            if (blue >= textWidth * 3 / 4)
                underlineRow = y;
        }
        QVERIFY2(underlineRow >= 0, qPrintable(QStringLiteral("no underline in a label %1 high").arg(label.height())));
        // And nothing of it is cut: the same label drawn taller shows no further row of it.
        TkavURLLabel taller;
        taller.setFont(font);
        taller.setCaption(label.Caption());
        taller.setAutoSize(false);
        taller.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        taller.resize(label.width(), label.height() + 10);
        const QImage tallFace = taller.grab().toImage();
        for (int y = label.height(); y < tallFace.height(); ++y)
            for (int x = 0; x < tallFace.width(); ++x)
                QVERIFY2((tallFace.pixel(x, y) | 0xFF000000u) != Blue.resolved().rgb(),
                         qPrintable(QStringLiteral("%1,%2 lies outside the label").arg(x).arg(y)));
    }

    void captionIsPlainText()
    {
        // Markup in a caption is text to show, not formatting.
        const QString caption = QStringLiteral("Mail <b>me</b> now");
        TkavURLLabel label;
        label.setCaption(caption);
        QVERIFY(label.width() >= QFontMetrics(label.font()).horizontalAdvance(caption));
        QCOMPARE(QAccessible::queryAccessibleInterface(&label)->text(QAccessible::Name), caption);
    }

    void background()
    {
        // Until it has a colour of its own, the label shows its parent's face: here a white panel,
        // whose colour is its palette's too.
        TkavPanel parent;
        parent.setColor(TColor(0xFFFFFF));
        parent.resize(100, 60);
        QCOMPARE(parent.palette().color(QPalette::Window), QColor(Qt::white));
        auto *label = new TkavURLLabel(&parent);
        // What shows at the label's top-left corner (no text there) on the parent's face.
        auto corner = [&] { return parent.grab().toImage().pixel(10, 30) | 0xFF000000u; };
        label->move(10, 30);
        parent.show();
        QVERIFY(label->isVisible());
        QCOMPARE(corner(), qRgb(255, 255, 255));

        label->setColor(Yellow);
        QCOMPARE(label->Color(), Yellow);
        QCOMPARE(corner(), Yellow.resolved().rgb());

        label->setTransparent(true);
        QCOMPARE(corner(), qRgb(255, 255, 255));
    }

    void accessibility()
    {
        TkavURLLabel label;
        label.setCaption(QStringLiteral("联系作者"));
        label.setURL(QStringLiteral("mailto:tallisk@velmora.example"));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&label);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::Link);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("联系作者"));
        QCOMPARE(face->text(QAccessible::Description), QStringLiteral("mailto:tallisk@velmora.example"));
        QVERIFY(face->state().linked);

        QAccessibleActionInterface *actions = face->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_desktop.opened, QList<QUrl>{QUrl(QStringLiteral("mailto:tallisk@velmora.example"))});
    }

    void publishedProperties()
    {
        TkavURLLabel label;
        QVERIFY(label.setProperty("URL", QStringLiteral("https://velmora.example/")));
        QCOMPARE(label.URL(), QStringLiteral("https://velmora.example/"));
        QVERIFY(label.setProperty("Caption", QStringLiteral("联系作者")));
        QCOMPARE(label.text(), QStringLiteral("联系作者"));
        QVERIFY(label.setProperty("FontLinkColor", QVariant::fromValue(Green)));
        QCOMPARE(label.FontColor(), Green);
    }
};

QTEST_MAIN(tst_KAVURLLabel)
#include "tst_kavurllabel.moc"
