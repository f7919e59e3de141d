// KavStyle draws Qt's widgets from the looks' own pictures: for each look, a QPushButton, a
// QCheckBox, a QScrollBar, a QProgressBar and a QTabBar show the pixels of the picture the
// library's matching control shows (its frame, at the place the picture belongs), and the same
// pixels as that control where both draw the same thing. Also: the sizes each look gives.
#include <QtTest>

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QTabBar>

#include <memory>

#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVProgressBar.h"
#include "KAVScrollBar.h"
#include "KAVStyle.h"
#include "KAVTabControl.h"
#include "KAVThemeValues.h"

namespace {

enum class Kind { PushButton, CheckBox, ScrollBar, ProgressBar, TabBar };

QImage shotOf(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A frame of a picture of the look, as the store holds it.
QImage frameOf(TkavUIStyle look, int key, int count, int frame)
{
    return KavThemeValues(look, nullptr).picture(key, Kav::PictureRecipe{count, frame, Kav::PictureMask::None, false}).image();
}

// Whether a picture's pixel is drawn: not magenta (the looks' key colour) and not left out by a mask.
bool drawn(QRgb pixel)
{
    return qAlpha(pixel) == 255 && (pixel & 0xFFFFFF) != 0xFF00FF;
}

// The drawn pixels of part of picture (source rectangle, all of it when null) that differ from
// shot at "at"; a short description of the first, empty when none differ.
QString differences(const QImage &shot, const QPoint &at, const QImage &picture, QRect source = QRect())
{
    if (source.isNull())
        source = picture.rect();
    if (!QRect(QPoint(0, 0), shot.size()).contains(QRect(at, source.size())))
        return QStringLiteral("the picture (%1 x %2) does not fit at (%3, %4) in %5 x %6")
            .arg(source.width()).arg(source.height()).arg(at.x()).arg(at.y()).arg(shot.width()).arg(shot.height());
    int count = 0, checked = 0;
    QString first;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb want = picture.pixel(source.x() + x, source.y() + y);
            if (!drawn(want))
                continue;
            ++checked;
            const QRgb got = shot.pixel(at.x() + x, at.y() + y);
            if ((got & 0xFFFFFF) != (want & 0xFFFFFF)) {
                if (count++ == 0)
                    first = QStringLiteral("(%1, %2) is %3, the picture has %4")
                                .arg(at.x() + x).arg(at.y() + y).arg(QColor(got).name(), QColor(want).name());
            }
        }
    }
    if (checked == 0)
        return QStringLiteral("no pixel of the picture is drawn");
    return count ? QStringLiteral("%1 of %2 pixels differ; %3").arg(count).arg(checked).arg(first) : QString();
}

// The pixels of two shots of one size that differ in area.
QString shotDifferences(const QImage &ours, const QImage &theirs, const QRect &area)
{
    if (ours.size() != theirs.size())
        return QStringLiteral("sizes differ: %1 x %2 and %3 x %4")
            .arg(ours.width()).arg(ours.height()).arg(theirs.width()).arg(theirs.height());
    int count = 0;
    QString first;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (ours.pixel(x, y) != theirs.pixel(x, y) && count++ == 0)
                first = QStringLiteral("(%1, %2): %3 against %4")
                            .arg(x).arg(y).arg(QColor(ours.pixel(x, y)).name(), QColor(theirs.pixel(x, y)).name());
        }
    }
    return count ? QStringLiteral("%1 pixels differ from the library's control; %2").arg(count).arg(first) : QString();
}

#define CHECK_SAME(text) QVERIFY2((text).isEmpty(), qPrintable(text))

// Both columns of a look check on one background, so that what shows through the pictures'
// transparent corners is the same.
void onBackground(QWidget &parent)
{
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0x40, 0x80, 0x40));
    parent.setPalette(palette);
}

} // namespace

class tst_KavStyle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void sameSkin_data();
    void sameSkin();
    void sizesOfTheLook_data();
    void sizesOfTheLook();
    void everyElementDraws();

private:
    void pushButton(TkavUIStyle look);
    void checkBox(TkavUIStyle look);
    void scrollBar(TkavUIStyle look);
    void progressBar(TkavUIStyle look);
    void tabBar(TkavUIStyle look);
};

void tst_KavStyle::init()
{
    QApplication::setPalette(QPalette());
}

void tst_KavStyle::cleanup()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void tst_KavStyle::sameSkin_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    QTest::addColumn<Kind>("kind");
    const QPair<const char *, Kind> kinds[] = {{"QPushButton", Kind::PushButton},
                                               {"QCheckBox", Kind::CheckBox},
                                               {"QScrollBar", Kind::ScrollBar},
                                               {"QProgressBar", Kind::ProgressBar},
                                               {"QTabBar", Kind::TabBar}};
    for (TkavUIStyle look : Kav::Metrics::BuiltInLooks) {
        for (const auto &[name, kind] : kinds) {
            QTest::addRow("%s %s", QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)), name) << look << kind;
        }
    }
}

void tst_KavStyle::sameSkin()
{
    QFETCH(TkavUIStyle, look);
    QFETCH(Kind, kind);
    QApplication::setStyle(new Kav::KavStyle(look));
    switch (kind) {
    case Kind::PushButton:
        pushButton(look);
        break;
    case Kind::CheckBox:
        checkBox(look);
        break;
    case Kind::ScrollBar:
        scrollBar(look);
        break;
    case Kind::ProgressBar:
        progressBar(look);
        break;
    case Kind::TabBar:
        tabBar(look);
        break;
    }
}

void tst_KavStyle::pushButton(TkavUIStyle look)
{
    QWidget qtSide, kavSide;
    onBackground(qtSide);
    onBackground(kavSide);
    QPushButton button(QStringLiteral("OK"), &qtSide);
    TkavButton kavButton(&kavSide);
    kavButton.setUIStyle(look);
    kavButton.setCaption(QStringLiteral("OK"));
    const QRect place(4, 4, 96, 31);
    button.setGeometry(place);
    kavButton.setGeometry(place);
    qtSide.resize(110, 40);
    kavSide.resize(110, 40);
    const QImage shot = shotOf(qtSide);

    // Frame 1 of ButtonImage stretched by nine-part drawing: the corners are the picture's own.
    const QImage face = frameOf(look, KavKey::ButtonImage, 3, 1);
    const int w = 6, h = 6;
    const QPoint corners[] = {{0, 0}, {face.width() - w, 0}, {0, face.height() - h}, {face.width() - w, face.height() - h}};
    const QPoint at[] = {{0, 0}, {place.width() - w, 0}, {0, place.height() - h}, {place.width() - w, place.height() - h}};
    for (int i = 0; i < 4; ++i)
        CHECK_SAME(differences(shot, place.topLeft() + at[i], face, QRect(corners[i], QSize(w, h))));
    // And the whole face is the skinned button's, caption and all.
    CHECK_SAME(shotDifferences(shot, shotOf(kavSide), qtSide.rect()));
}

void tst_KavStyle::checkBox(TkavUIStyle look)
{
    QWidget qtSide, kavSide;
    QCheckBox box(QStringLiteral("Check"), &qtSide);
    box.setChecked(true);
    box.resize(box.sizeHint());
    TkavCheckBox kavBox(&kavSide);
    kavBox.setUIStyle(look);
    kavBox.setCaption(QStringLiteral("Check"));
    kavBox.setChecked(true);
    kavBox.setAutoSize(false);
    kavBox.resize(box.size());

    // Frame 1 (checked) of CheckBoxImage, one pixel in and centred across.
    const QImage picture = frameOf(look, KavKey::CheckBoxImage, 4, 1);
    const QPoint at(1, (box.height() - picture.height()) / 2);
    CHECK_SAME(differences(shotOf(box), at, picture));
    CHECK_SAME(differences(shotOf(kavBox), at, picture));
    // A disabled one shows frame 3 (checked, disabled).
    box.setEnabled(false);
    CHECK_SAME(differences(shotOf(box), at, frameOf(look, KavKey::CheckBoxImage, 4, 3)));
    // Both size themselves alike.
    kavBox.setAutoSize(true);
    QCOMPARE(box.sizeHint(), kavBox.sizeHint());
}

void tst_KavStyle::scrollBar(TkavUIStyle look)
{
    for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
        const bool vertical = orientation == Qt::Vertical;
        QScrollBar bar(orientation);
        bar.setRange(0, 100);
        bar.setPageStep(50); // a slider longer than its head and tail together
        bar.setValue(0);
        const int extent = bar.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        bar.resize(vertical ? QSize(extent, 140) : QSize(140, extent));
        TkavScrollBar kavBar;
        kavBar.setUIStyle(look);
        kavBar.setOrientation(vertical ? KavOrientation::kavVertical : KavOrientation::kavHorizontal);
        kavBar.resize(bar.size());
        kavBar.setPageSize(50); // half the track long
        kavBar.setPosition(0);
        const QImage shot = shotOf(bar);
        const QImage kavShot = shotOf(kavBar);

        // Frames 1 and 4 of ScrollBarButtonImage at the two ends, turned for a horizontal bar.
        QImage decrease = frameOf(look, KavKey::ScrollBarButtonImage, 6, 1);
        QImage increase = frameOf(look, KavKey::ScrollBarButtonImage, 6, 4);
        if (!vertical) {
            RoundPicture(decrease);
            RoundPicture(increase);
        }
        QCOMPARE(extent, vertical ? decrease.width() : decrease.height());
        const QPoint increaseAt = vertical ? QPoint(0, bar.height() - increase.height())
                                           : QPoint(bar.width() - increase.width(), 0);
        for (const QImage &image : {shot, kavShot}) {
            CHECK_SAME(differences(image, QPoint(0, 0), decrease));
            CHECK_SAME(differences(image, increaseAt, increase));
        }
        // The slider at the start of the track begins with the head of ScrollBarSliderImage.
        QImage head = frameOf(look, KavKey::ScrollBarSliderImage, 3, 1);
        if (vertical)
            RoundPicture3(head);
        const QPoint headAt = vertical ? QPoint(0, decrease.height()) : QPoint(decrease.width(), 0);
        CHECK_SAME(differences(shot, headAt, head));
        CHECK_SAME(differences(kavShot, headAt, head));
        // Between slider and arrow the track shows the look's background colour.
        const QColor background = KavThemeValues(look, nullptr).color(KavKey::ScrollBarBackgroundColor).resolved();
        const QPoint inTrack = vertical ? QPoint(extent / 2, increaseAt.y() - 2) : QPoint(increaseAt.x() - 2, extent / 2);
        QCOMPARE(QColor(shot.pixel(inTrack)), background);
    }
}

void tst_KavStyle::progressBar(TkavUIStyle look)
{
    QProgressBar bar;
    bar.setRange(0, 100);
    bar.setValue(50);
    bar.resize(150, Kav::Metrics::ProgressBarThickness);
    TkavProgressBar kavBar;
    kavBar.setUIStyle(look);
    kavBar.setPosition(50);
    kavBar.resize(bar.size());
    const QImage shot = shotOf(bar);
    const QImage kavShot = shotOf(kavBar);

    // The fill is ProgressBarImage stretched from the frame's inside to the position: every pixel
    // there is one of the picture's colours.
    const QImage picture = KavThemeValues(look, nullptr).picture(KavKey::ProgressBarImage).image();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y) & 0xFFFFFF);
    for (int y = 1; y < bar.height() - 1; ++y) {
        for (int x = 1; x < 40; ++x) {
            QVERIFY2(colours.contains(shot.pixel(x, y) & 0xFFFFFF),
                     qPrintable(QStringLiteral("(%1, %2) %3 is no colour of the picture").arg(x).arg(y).arg(QColor(shot.pixel(x, y)).name())));
        }
    }
    // The same bar as the skinned one, outside the caption in the middle.
    CHECK_SAME(shotDifferences(shot, kavShot, QRect(0, 0, 50, bar.height())));
    CHECK_SAME(shotDifferences(shot, kavShot, QRect(100, 0, 50, bar.height())));
    const QColor border = KavThemeValues(look, nullptr).color(KavKey::ControlBorderColor).resolved();
    QCOMPARE(QColor(shot.pixel(0, 0)), border);
    QCOMPARE(QColor(shot.pixel(149, 11)), border);
}

void tst_KavStyle::tabBar(TkavUIStyle look)
{
    QTabBar bar;
    bar.addTab(QStringLiteral("One"));
    bar.addTab(QStringLiteral("Two"));
    bar.setCurrentIndex(0);
    bar.resize(bar.sizeHint());
    TkavTabControl tabs;
    tabs.setUIStyle(look);
    tabs.setTabs({QStringLiteral("One"), QStringLiteral("Two")});
    tabs.setTabIndex(0);
    tabs.resize(200, 80);
    const QImage shot = shotOf(bar);
    const QImage stripShot = shotOf(*tabs.topPanel());

    // The selected tab is frame 1 of TabControlTabImage one pixel lower, the other frame 2; each
    // is drawn in three parts, its left end at its own size.
    const QImage active = frameOf(look, KavKey::TabControlTabImage, 2, 1);
    const QImage inactive = frameOf(look, KavKey::TabControlTabImage, 2, 2);
    const QRect activeEnd(0, 0, active.width() / 3, active.height());
    const QRect inactiveEnd(0, 0, inactive.width() / 3, inactive.height());
    QCOMPARE(bar.tabRect(0).height(), inactive.height() + 1);
    CHECK_SAME(differences(shot, bar.tabRect(0).topLeft() + QPoint(0, 1), active, activeEnd));
    CHECK_SAME(differences(shot, bar.tabRect(1).topLeft(), inactive, inactiveEnd));
    // The skinned tab control draws the same ends where its tabs start.
    const QRect first = tabs.topPanel()->tabRect(0);
    const QRect second = tabs.topPanel()->tabRect(1);
    CHECK_SAME(differences(stripShot, first.topLeft(), active, activeEnd));
    CHECK_SAME(differences(stripShot, second.topLeft(), inactive, inactiveEnd));
    // Tabs as wide as the skinned control's: the caption and 20 pixels.
    QCOMPARE(bar.tabRect(0).width(), first.width());
    QCOMPARE(bar.tabRect(1).width(), second.width());
}

void tst_KavStyle::sizesOfTheLook_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    for (TkavUIStyle look : Kav::Metrics::BuiltInLooks)
        QTest::addRow("%s", QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look))) << look;
}

void tst_KavStyle::sizesOfTheLook()
{
    QFETCH(TkavUIStyle, look);
    Kav::KavStyle style(look);
    const KavThemeValues values(look, nullptr);
    // Edits have a two-pixel border, progress bars are 12 thick, menus' items as the skinned
    // menus' (20 in MacOS, 21 elsewhere).
    QCOMPARE(style.pixelMetric(QStyle::PM_DefaultFrameWidth), 2);
    QStyleOption horizontal;
    horizontal.state = QStyle::State_Horizontal;
    QCOMPARE(style.sizeFromContents(QStyle::CT_ProgressBar, &horizontal, QSize(100, 30)).height(), 12);
    QCOMPARE(style.look().menu.menuItemHeight, look == TkavUIStyle::MacOS ? 20 : 21);
    // Scroll bars as wide as the arrows, the track bar's slider as its picture.
    QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarExtent),
             values.picture(KavKey::ScrollBarButtonImage, {6, 1, Kav::PictureMask::None, false}).width());
    QStyleOptionSlider slider;
    slider.orientation = Qt::Horizontal;
    const QImage sliderPicture = values.picture(KavKey::TrackBarSliderImage).image();
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderLength, &slider), sliderPicture.width());
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderThickness, &slider),
             qMax(sliderPicture.height(), values.picture(KavKey::TrackBarBarImage).height()));
    // Check boxes as their pictures; tabs one row higher than theirs.
    QCOMPARE(style.pixelMetric(QStyle::PM_IndicatorWidth), values.picture(KavKey::CheckBoxImage, {4, 1, Kav::PictureMask::None, false}).width());
    QCOMPARE(style.pixelMetric(QStyle::PM_ExclusiveIndicatorHeight),
             values.picture(KavKey::RadioButtonImage, {4, 1, Kav::PictureMask::None, false}).height());
    QCOMPARE(style.pixelMetric(QStyle::PM_TitleBarHeight), values.picture(KavKey::TitleBarLeftImage).height());
    QCOMPARE(style.pixelMetric(QStyle::PM_MdiSubWindowFrameWidth), values.integer(KavKey::FormBorderWidthInt));
    // The window in the look's colour.
    QCOMPARE(style.standardPalette().color(QPalette::Window), values.color(KavKey::FormBackgroundColor).resolved());
}

// Every element Qt may ask for, with an option of its own kind or none, on a null widget and on
// an empty rectangle: nothing crashes (the sanitizers watch), the look's elements and Fusion's.
void tst_KavStyle::everyElementDraws()
{
    Kav::KavStyle style(TkavUIStyle::WinXP);
    QImage canvas(64, 48, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    // Shared pointers delete each option as what it is (QStyleOption has no virtual destructor).
    const QList<std::shared_ptr<QStyleOption>> options = {
        std::make_shared<QStyleOption>(), std::make_shared<QStyleOptionButton>(),
        std::make_shared<QStyleOptionSlider>(), std::make_shared<QStyleOptionProgressBar>(),
        std::make_shared<QStyleOptionTab>(), std::make_shared<QStyleOptionComboBox>(),
        std::make_shared<QStyleOptionSpinBox>(), std::make_shared<QStyleOptionGroupBox>(),
        std::make_shared<QStyleOptionTitleBar>(), std::make_shared<QStyleOptionToolButton>(),
        std::make_shared<QStyleOptionFrame>(), std::make_shared<QStyleOptionHeader>(),
        std::make_shared<QStyleOptionMenuItem>(), std::make_shared<QStyleOptionTabWidgetFrame>()};
    for (const QRect rect : {QRect(0, 0, 64, 48), QRect()}) {
        for (const std::shared_ptr<QStyleOption> &shared : options) {
            QStyleOption *option = shared.get();
            option->rect = rect;
            option->state = QStyle::State_Enabled;
            for (int element = int(QStyle::PE_Frame); element <= int(QStyle::PE_PanelItemViewRow); ++element)
                style.drawPrimitive(QStyle::PrimitiveElement(element), option, &painter);
            for (int element = int(QStyle::CE_PushButton); element <= int(QStyle::CE_ShapedFrame); ++element)
                style.drawControl(QStyle::ControlElement(element), option, &painter);
            if (auto *complex = qstyleoption_cast<QStyleOptionComplex *>(option)) {
                for (int control = int(QStyle::CC_SpinBox); control <= int(QStyle::CC_MdiControls); ++control) {
                    style.drawComplexControl(QStyle::ComplexControl(control), complex, &painter);
                    for (int part = 1; part < 0x10000; part <<= 1)
                        style.subControlRect(QStyle::ComplexControl(control), complex, QStyle::SubControl(part));
                }
            }
        }
    }
}

QTEST_MAIN(tst_KavStyle)
#include "tst_kavstyle.moc"
