#include "KAVImagePanel.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QRgb A = qRgb(200, 10, 10);
const QRgb B = qRgb(10, 200, 10);
const QRgb C = qRgb(10, 10, 200);
const QRgb D = qRgb(200, 200, 10);
const QRgb Fill = qRgb(90, 90, 90);    // the panel's Color
const QRgb Parent = qRgb(20, 120, 60); // the background of the panel's parent
const QRgb Key = qRgb(255, 0, 255);

// A B
// C D
QImage fourColours()
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, A);
    picture.setPixel(1, 0, B);
    picture.setPixel(0, 1, C);
    picture.setPixel(1, 1, D);
    return picture;
}

QRgb pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

// The bounding box of the pixels in which two faces differ.
QRect differences(const QImage &a, const QImage &b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (pixel(a, x, y) != pixel(b, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// A panel that records the rectangles its RepaintText hook is given.
class RecordingPanel : public TkavImagePanel {
public:
    using TkavImagePanel::TkavImagePanel;
    QList<QRect> repaintedText;

protected:
    void RepaintText(const QRect &rect) override { repaintedText << rect; }
};

} // namespace

using Pixels = QList<QPair<QPoint, QRgb>>;

class tst_KAVPanelImage : public QObject {
    Q_OBJECT

private slots:
    void drawStyles_data()
    {
        QTest::addColumn<TkavCustomPanel::TkavDrawStyle>("style");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<Pixels>("expected");

        QTest::addRow("normal: at the corner, colour around")
            << TkavCustomPanel::kavNormal << QSize(5, 3)
            << Pixels{{{0, 0}, A}, {{1, 0}, B}, {{0, 1}, C}, {{1, 1}, D}, {{2, 0}, Fill}, {{0, 2}, Fill}, {{4, 2}, Fill}};
        QTest::addRow("tile: repeated from the origin")
            << TkavCustomPanel::kavTile << QSize(5, 3)
            << Pixels{{{0, 0}, A}, {{2, 0}, A}, {{3, 0}, B}, {{4, 0}, A}, {{0, 2}, A}, {{1, 2}, B}, {{3, 1}, D}};
        QTest::addRow("stretch: over the whole panel")
            << TkavCustomPanel::kavStretch << QSize(4, 4)
            << Pixels{{{0, 0}, A}, {{1, 1}, A}, {{2, 0}, B}, {{3, 1}, B}, {{0, 3}, C}, {{3, 3}, D}};
    }

    void drawStyles()
    {
        QFETCH(TkavCustomPanel::TkavDrawStyle, style);
        QFETCH(QSize, size);
        QFETCH(Pixels, expected);

        TkavImagePanel panel;
        panel.setColor(TColor::fromQColor(QColor(Fill)));
        panel.setDrawStyle(style);
        panel.setPicture(fourColours());
        panel.resize(size);
        const QImage face = panel.grab().toImage();
        for (const auto &[at, colour] : expected)
            QCOMPARE(pixel(face, at.x(), at.y()), colour);
    }

    void noPictureFillsWithColour()
    {
        TkavImagePanel panel;
        panel.resize(6, 4);
        panel.setColor(TColor::fromQColor(QColor(Fill)));
        const QImage face = panel.grab().toImage();
        QCOMPARE(pixel(face, 0, 0), Fill);
        QCOMPARE(pixel(face, 5, 3), Fill);
    }

    void transparency_data()
    {
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<QRgb>("keyPixel");     // where the picture has its bottom-left colour
        QTest::addColumn<QRgb>("besidePicture"); // beyond the picture's edge

        QTest::addRow("opaque") << false << Key << Fill;
        QTest::addRow("transparent") << true << Parent << Parent;
    }

    void transparency()
    {
        QFETCH(bool, transparent);
        QFETCH(QRgb, keyPixel);
        QFETCH(QRgb, besidePicture);

        QWidget parent;
        parent.resize(40, 30);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor(Parent));
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);

        // A 3 x 2 picture: key colour in the bottom row and the middle of the top row.
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Key);
        picture.setPixel(0, 0, A);
        picture.setPixel(2, 0, B);

        auto *panel = new TkavImagePanel(&parent);
        panel->setGeometry(5, 5, 6, 4);
        panel->setColor(TColor::fromQColor(QColor(Fill)));
        panel->setPicture(picture);
        panel->setTransparent(transparent);
        const QImage face = panel->grab().toImage();
        QCOMPARE(pixel(face, 0, 0), A);
        QCOMPARE(pixel(face, 2, 0), B);
        QCOMPARE(pixel(face, 1, 0), keyPixel);
        QCOMPARE(pixel(face, 1, 1), keyPixel);
        QCOMPARE(pixel(face, 4, 2), besidePicture);
    }

    // A picture with an alpha channel of its own keeps it on an opaque panel: the panel's colour
    // shows where the picture is see-through.
    void pictureWithAlpha()
    {
        QImage picture(2, 1, QImage::Format_ARGB32);
        picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
        picture.setPixel(1, 0, A);
        TkavImagePanel panel;
        panel.resize(4, 2);
        panel.setColor(TColor::fromQColor(QColor(Fill)));
        panel.setPicture(picture);
        const QImage face = panel.grab().toImage();
        QCOMPARE(pixel(face, 0, 0), Fill);
        QCOMPARE(pixel(face, 1, 0), A);
    }

    void autoSize_data()
    {
        QTest::addColumn<TAlign>("align");
        QTest::addColumn<QSize>("size");
        // The panel starts 185 x 41; the picture is 30 x 20.
        QTest::addRow("alNone") << KavLayout::alNone << QSize(30, 20);
        QTest::addRow("alTop keeps its width") << KavLayout::alTop << QSize(185, 20);
        QTest::addRow("alBottom keeps its width") << KavLayout::alBottom << QSize(185, 20);
        QTest::addRow("alLeft keeps its height") << KavLayout::alLeft << QSize(30, 41);
        QTest::addRow("alRight keeps its height") << KavLayout::alRight << QSize(30, 41);
        QTest::addRow("alClient keeps both") << KavLayout::alClient << QSize(185, 41);
    }

    void autoSize()
    {
        QFETCH(TAlign, align);
        QFETCH(QSize, size);

        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(A);

        // Picture first, then AutoSize ...
        TkavImagePanel later;
        later.setAlign(align);
        later.setPicture(picture);
        QCOMPARE(later.size(), QSize(185, 41));
        later.setAutoSize(true);
        QCOMPARE(later.size(), size);

        // ... or AutoSize first, then the picture.
        TkavImagePanel sooner;
        sooner.setAlign(align);
        sooner.setAutoSize(true);
        sooner.setPicture(picture);
        QCOMPARE(sooner.size(), size);
    }

    void alignInParent_data()
    {
        QTest::addColumn<TAlign>("align");
        QTest::addColumn<bool>("layout");
        QTest::addColumn<QRect>("geometry");
        // Parent 200 x 100 with contents margins of 5; the panel starts at (10, 10), 30 x 20.
        QTest::addRow("alNone stays") << KavLayout::alNone << false << QRect(10, 10, 30, 20);
        QTest::addRow("alTop") << KavLayout::alTop << false << QRect(5, 5, 190, 20);
        QTest::addRow("alBottom") << KavLayout::alBottom << false << QRect(5, 75, 190, 20);
        QTest::addRow("alLeft") << KavLayout::alLeft << false << QRect(5, 5, 30, 90);
        QTest::addRow("alRight") << KavLayout::alRight << false << QRect(165, 5, 30, 90);
        QTest::addRow("alClient") << KavLayout::alClient << false << QRect(5, 5, 190, 90);
        QTest::addRow("a layout decides") << KavLayout::alClient << true << QRect(10, 10, 30, 20);
    }

    void alignInParent()
    {
        QFETCH(TAlign, align);
        QFETCH(bool, layout);
        QFETCH(QRect, geometry);

        QWidget parent;
        parent.resize(200, 100);
        parent.setContentsMargins(5, 5, 5, 5);
        if (layout)
            new QHBoxLayout(&parent); // placed by the layout; the panel is not added to it
        auto *panel = new TkavImagePanel(&parent);
        panel->setGeometry(10, 10, 30, 20);
        panel->setAlign(align);
        QCOMPARE(panel->geometry(), geometry);
    }

    void alignedChildrenKeepBorderWidth()
    {
        TkavImagePanel panel;
        panel.resize(100, 60);
        auto *child = new TkavImagePanel(&panel);
        child->setAlign(KavLayout::alClient);
        QCOMPARE(child->geometry(), QRect(0, 0, 100, 60));
        panel.setBorderWidth(4);
        QCOMPARE(child->geometry(), QRect(4, 4, 92, 52));
    }

    void caption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<TAlignment>("alignment");
        QTest::addColumn<int>("posX");
        QTest::addColumn<int>("posY");
        QTest::addColumn<QString>("where"); // "nothing", "left", "right", "centre", "at 5,3"

        QTest::addRow("blanks draw nothing") << QStringLiteral("   ") << KavLayout::taCenter << -1 << -1 << QStringLiteral("nothing");
        QTest::addRow("left") << QStringLiteral("HH") << KavLayout::taLeftJustify << -1 << -1 << QStringLiteral("left");
        QTest::addRow("right") << QStringLiteral("HH") << KavLayout::taRightJustify << -1 << -1 << QStringLiteral("right");
        QTest::addRow("centre") << QStringLiteral("HH") << KavLayout::taCenter << -1 << -1 << QStringLiteral("centre");
        QTest::addRow("only x fixed follows Alignment") << QStringLiteral("HH") << KavLayout::taLeftJustify << 5 << -1 << QStringLiteral("left");
        QTest::addRow("only y fixed follows Alignment") << QStringLiteral("HH") << KavLayout::taRightJustify << -1 << 3 << QStringLiteral("right");
        QTest::addRow("fixed position") << QStringLiteral("HH") << KavLayout::taRightJustify << 5 << 3 << QStringLiteral("at 5,3");
    }

    void caption()
    {
        QFETCH(QString, caption);
        QFETCH(TAlignment, alignment);
        QFETCH(int, posX);
        QFETCH(int, posY);
        QFETCH(QString, where);

        TkavImagePanel panel;
        panel.resize(120, 40);
        panel.setColor(TColor(0xFFFFFF));
        QFont font = panel.font();
        font.setPixelSize(16);
        panel.setFont(font);
        panel.setAlignment(alignment);
        panel.setCaptionPosX(posX);
        panel.setCaptionPosY(posY);
        const QImage empty = panel.grab().toImage();
        panel.setCaption(caption);
        const QImage face = panel.grab().toImage();
        const QRect text = differences(empty, face);

        if (where == QLatin1String("nothing")) {
            QVERIFY(text.isNull());
            return;
        }
        QVERIFY(!text.isNull());
        if (where == QLatin1String("at 5,3")) {
            QCOMPARE(panel.captionRect().topLeft(), QPoint(5, 3));
            QVERIFY(text.left() >= 5 && text.left() <= 8);
            QVERIFY(text.top() >= 3);
            return;
        }
        QCOMPARE(panel.captionRect(), panel.rect());
        const int leftGap = text.left();
        const int rightGap = panel.width() - 1 - text.right();
        const int topGap = text.top();
        const int bottomGap = panel.height() - 1 - text.bottom();
        QVERIFY2(qAbs(topGap - bottomGap) <= 4, "centred vertically");
        if (where == QLatin1String("left"))
            QVERIFY(leftGap <= 3);
        else if (where == QLatin1String("right"))
            QVERIFY(rightGap <= 3);
        else
            QVERIFY(qAbs(leftGap - rightGap) <= 3);
    }

    void textChangeGoesThroughRepaintText()
    {
        RecordingPanel panel;
        panel.resize(80, 30);
        // The hook is given where the old caption was: nowhere before the first one.
        panel.setCaption(QStringLiteral("one"));
        QCOMPARE(panel.repaintedText, QList<QRect>{QRect()});
        panel.setCaption(QStringLiteral("two"));
        QCOMPARE(panel.repaintedText.size(), 2);
        QCOMPARE(panel.repaintedText.at(1), panel.rect());
        panel.setCaption(QStringLiteral("two")); // no change, no text event
        QCOMPARE(panel.repaintedText.size(), 2);
    }

    void mouseEvents()
    {
        TkavImagePanel panel;
        panel.resize(50, 30);
        QSignalSpy down(&panel, &TkavCustomPanel::OnMouseDown);
        QSignalSpy up(&panel, &TkavCustomPanel::OnMouseUp);
        QSignalSpy clicked(&panel, &TkavCustomPanel::OnClick);
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(7, 9));
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(3).toInt(), 7);
        QCOMPARE(down.at(0).at(4).toInt(), 9);
        QCOMPARE(up.count(), 1);
        QCOMPARE(clicked.count(), 1);
    }

    void accessibility()
    {
        TkavImagePanel panel;
        panel.setCaption(QStringLiteral("&Pictures"));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&panel);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::Grouping);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Pictures"));
    }
};

QTEST_MAIN(tst_KAVPanelImage)
#include "tst_kavpanelimage.moc"
