#include <QLabel>
#include <QList>
#include <QMetaEnum>
#include <QTest>
#include <QWidget>

#include "KAVForm.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVStrings.h"
#include "KAVThemes.h"

#include <algorithm>
#include <cstdlib>

namespace {

using Kav::Metrics::BuiltInLooks;

QString lookName(TkavUIStyle style)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(style)));
}

constexpr QRgb kMagenta = 0xFFFF00FF;

bool hasMagenta(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == kMagenta)
                return true;
    return false;
}

// How a picture is drawn, which decides where it may or must hold the key colour.
enum class KeyUse {
    None,           // drawn opaque: no magenta anywhere
    CornerTopLeft,  // keyed by its top-left pixel, which is magenta in every frame
    CornerBottomLeft, // keyed by its bottom-left pixel (radio buttons, sliders, title buttons)
    EndsOnly,       // three-part pictures: magenta allowed only in the end thirds
    Anywhere,       // keyed drawing without a fixed key pixel
};

KeyUse keyUse(TkavUIStyle style, int key)
{
    switch (key) {
    case KavKey::ButtonImage:
        // The opaque looks draw their button corners as they are, so those may not be magenta.
        return GetInsideThemeBool(style, KavKey::ButtonTransparentBool) ? KeyUse::CornerTopLeft
                                                                        : KeyUse::None;
    case KavKey::TitleBarButtonImage:
        return GetInsideThemeBool(style, KavKey::TitleBarButtonTransparentBool)
                   ? KeyUse::CornerBottomLeft
                   : KeyUse::None;
    case KavKey::RadioButtonImage:
    case KavKey::TrackBarSliderImage:
        return KeyUse::CornerBottomLeft;
    case KavKey::TabControlTabImage:
        return KeyUse::EndsOnly;
    case KavKey::TrackBarBarImage:
        return KeyUse::EndsOnly;
    case KavKey::ScrollButtonImage:
    case KavKey::SideChannelHandleImage:
        return KeyUse::Anywhere;
    default:
        return KeyUse::None;
    }
}

} // namespace

class TestKavThemes : public QObject {
    Q_OBJECT

private slots:
    void keyTable();
    void keyNamesEndInTheirKind();
    void keyByName_data();
    void keyByName();

    void values_data();
    void values();
    void pictureNames_data();
    void pictureNames();

    void pictureSizes_data();
    void pictureSizes();
    void pictures_data();
    void pictures();
    void keyColour_data();
    void keyColour();
    void squareCheckBoxesHoldNoBackground_data();
    void squareCheckBoxesHoldNoBackground();
    void smallButtonsHoldTogether_data();
    void smallButtonsHoldTogether();
    void mouseOverRingIsWhole();
    void buttonStatesStandApart_data();
    void buttonStatesStandApart();

    void bitmapFrame();
    void bitmapWhole();
    void bitmapWithoutPicture();
    void missingResource();

    void formStyle();
    void formStyleOfNoForm();

    void traitPictures_data();
    void traitPictures();
    void fileThemeLooksHaveNoTraits();

    void strings_data();
    void strings();
};

void TestKavThemes::traitPictures_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    for (const TkavUIStyle style : BuiltInLooks)
        QTest::addRow("%s", qPrintable(lookName(style))) << style;
}

void TestKavThemes::traitPictures()
{
    // Every picture a look's traits name is one of the fixed pictures, at its size.
    QFETCH(TkavUIStyle, style);
    const Kav::TkavLookTraits &traits = Kav::lookTraits(style);
    for (const char *name : {traits.formBackgroundPicture, traits.comboButtonPicture}) {
        if (!name)
            continue;
        const auto fixed = std::find_if(std::begin(Kav::Metrics::FixedPictures), std::end(Kav::Metrics::FixedPictures),
                                        [name](const Kav::Metrics::FixedPicture &picture) { return qstrcmp(picture.name, name) == 0; });
        QVERIFY2(fixed != std::end(Kav::Metrics::FixedPictures), name);
        QCOMPARE(Kav::KavLoadResourceBitmap(QLatin1String(name)).size(), fixed->size);
    }
}

void TestKavThemes::fileThemeLooksHaveNoTraits()
{
    // A file theme's look, FromThemeFile without one (DeepBlue) and anything out of range: none of
    // the built-in looks' ways.
    for (const auto style : {TkavUIStyle::FromThemeFile, TkavUIStyle::DeepBlue, TkavUIStyle(200)}) {
        const Kav::TkavLookTraits &traits = Kav::lookTraits(style);
        QVERIFY(!traits.boldFocusCaption && !traits.pictureMenus && !traits.blackPanelCaption && !traits.whiteTabBody);
        QVERIFY(!traits.transparentTrackBar && !traits.transparentToolBar);
        QVERIFY(traits.formBackgroundPicture == nullptr && traits.comboButtonPicture == nullptr);
        QVERIFY(traits.titleBarOutline && traits.comboButtonArrow);
        QCOMPARE(traits.titleCaptionColor, TColor(0xFFFFFF));
    }
}

void TestKavThemes::keyTable()
{
    QCOMPARE(KavThemeKeyCount, 42);
    QCOMPARE(Kav::KavThemeKeyName(1), QStringLiteral("ButtonImage"));
    QCOMPARE(Kav::KavThemeKeyName(38), QStringLiteral("ScrollButtonImage"));
    QCOMPARE(Kav::KavThemeKeyName(42), QStringLiteral("SideChannelBarImage"));
    QCOMPARE(Kav::KavThemeKeyKind(2), TkavType::Bool);
    QCOMPARE(Kav::KavThemeKeyKind(15), TkavType::Color);
    QCOMPARE(Kav::KavThemeKeyKind(13), TkavType::Int);
    QCOMPARE(Kav::KavThemeKeyKind(39), TkavType::Str);
    QCOMPARE(int(KavKey::SideChannelBarImage), 42);
    // Outside the table there is no name.
    QVERIFY(Kav::KavThemeKeyName(0).isEmpty());
    QVERIFY(Kav::KavThemeKeyName(43).isEmpty());
}

void TestKavThemes::keyNamesEndInTheirKind()
{
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        const QString name = Kav::KavThemeKeyName(key);
        const char *suffix = "Image";
        switch (Kav::KavThemeKeyKind(key)) {
        case TkavType::Int:
            suffix = "Int";
            break;
        case TkavType::Color:
            suffix = "Color";
            break;
        case TkavType::Bool:
            suffix = "Bool";
            break;
        case TkavType::Str:
            break;
        }
        QVERIFY2(name.endsWith(QLatin1String(suffix)), qPrintable(name));
        QCOMPARE(Kav::KavThemeKeyByName(name), key);
    }
}

void TestKavThemes::keyByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addRow("exact") << "FormRoundCornerInt" << 14;
    QTest::addRow("lower case") << "buttonimage" << 1;
    QTest::addRow("upper case") << "SIDECHANNELBARIMAGE" << 42;
    QTest::addRow("unknown") << "SideChannelBar" << 0;
    QTest::addRow("empty") << "" << 0;
}

void TestKavThemes::keyByName()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    QCOMPARE(Kav::KavThemeKeyByName(name), key);
}

// Each row asks one lookup (by the kind in the row) for one value.
void TestKavThemes::values_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<int>("key");
    QTest::addColumn<TkavType>("asked");
    QTest::addColumn<qint64>("expected");
    const auto row = [](const char *name, TkavUIStyle style, int key, TkavType asked,
                        qint64 expected) {
        QTest::addRow("%s", name) << style << key << asked << expected;
    };
    using S = TkavUIStyle;
    using T = TkavType;
    // No built-in data for FromThemeFile: the neutral answer of each lookup.
    row("FromThemeFile int 13", S::FromThemeFile, 13, T::Int, -1);
    row("FromThemeFile colour 15", S::FromThemeFile, 15, T::Color, 0);
    row("FromThemeFile bool 2", S::FromThemeFile, 2, T::Bool, 0);
    // Asking the wrong kind.
    row("MacOS int of colour key 15", S::MacOS, 15, T::Int, -1);
    row("MacOS colour of int key 13", S::MacOS, 13, T::Color, 0);
    row("MacOS bool of int key 7", S::MacOS, 7, T::Bool, 0);
    row("WinXP int of bool key 2", S::WinXP, 2, T::Int, -1);
    // Keys or looks outside the tables answer neutrally instead of reading past them.
    row("key 0", S::MacOS, 0, T::Int, -1);
    row("key 43", S::MacOS, 43, T::Int, -1);
    row("look ordinal 6", S(6), 7, T::Int, -1);
    row("look ordinal 6 colour", S(6), 15, T::Color, 0);
    // Spot checks of the built-in values.
    row("WinXP right offset", S::WinXP, 8, T::Int, -2);
    row("MacOS left offset", S::MacOS, 7, T::Int, 3);
    row("BlueGlass right offset", S::BlueGlass, 8, T::Int, -3);
    row("BlueGlass button top", S::BlueGlass, 9, T::Int, 6);
    row("BlueGlass min width", S::BlueGlass, 13, T::Int, 270);
    row("WinXP round corner", S::WinXP, 14, T::Int, 13);
    row("WinXP border width", S::WinXP, 17, T::Int, 3);
    row("DeepBlue button top", S::DeepBlue, 9, T::Int, 2);
    row("MacOS button transparent", S::MacOS, 2, T::Bool, 1);
    row("WinXP button transparent", S::WinXP, 2, T::Bool, 0);
    row("Protein title button transparent", S::Protein, 6, T::Bool, 1);
    row("DeepBlue title button transparent", S::DeepBlue, 6, T::Bool, 0);
    row("MacOS form background", S::MacOS, 15, T::Color, 0xE7E7E7);
    row("WinXP form border", S::WinXP, 16, T::Color, 0xC82C00);
    row("Protein menu selected border", S::Protein, 18, T::Color, 0xC4302D);
    row("WinXP menu selected background", S::WinXP, 19, T::Color, 0xEFD3C6);
    row("BlueGlass menu background", S::BlueGlass, 21, T::Color, 0xE7E7E7);
    row("MacOS menu bar", S::MacOS, 23, T::Color, 0x000000);
    row("WinXP control font", S::WinXP, 27, T::Color, 0xCF4602);
    row("MacOS scroll bar background", S::MacOS, 31, T::Color, 0xC9C9C9);
    row("BlueGlass scroll bar background", S::BlueGlass, 31, T::Color, 0xF4F4F4);
    row("WinXP toolbar down background", S::WinXP, 37, T::Color, 0xE1AC93);
    row("DeepBlue toolbar border", S::DeepBlue, 35, T::Color, 0x474747);
}

void TestKavThemes::values()
{
    QFETCH(TkavUIStyle, style);
    QFETCH(int, key);
    QFETCH(TkavType, asked);
    QFETCH(qint64, expected);
    switch (asked) {
    case TkavType::Int:
        QCOMPARE(GetInsideThemeInt(style, key), int(expected));
        break;
    case TkavType::Color:
        QCOMPARE(GetInsideThemeColor(style, key), TColor(quint32(expected)));
        break;
    case TkavType::Bool:
        QCOMPARE(GetInsideThemeBool(style, key), expected != 0);
        break;
    case TkavType::Str:
        QFAIL("picture names are checked by pictureNames");
    }
}

void TestKavThemes::pictureNames_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("name");
    QTest::addRow("MacOS button") << TkavUIStyle::MacOS << 1 << "MACOS_BUTTON";
    QTest::addRow("WinXP title button") << TkavUIStyle::WinXP << 5 << "WINXP_TITLEBTN";
    QTest::addRow("MacOS slider") << TkavUIStyle::MacOS << 33 << "MACOS_SCROLLBAR_TRACK";
    QTest::addRow("Protein side channel")
        << TkavUIStyle::Protein << 41 << "PROTEIN_SIDECHENNEL_HANDLE";
    QTest::addRow("WinXP scroll button") << TkavUIStyle::WinXP << 38 << "WINXP_SCROLLBUTTON";
    QTest::addRow("DeepBlue shares") << TkavUIStyle::DeepBlue << 38 << "MORE_SCROLLBUTTON";
    QTest::addRow("Protein shares") << TkavUIStyle::Protein << 38 << "MORE_SCROLLBUTTON";
    QTest::addRow("BlueGlass shares") << TkavUIStyle::BlueGlass << 38 << "MORE_SCROLLBUTTON";
    QTest::addRow("not a picture key") << TkavUIStyle::MacOS << 2 << "";
    QTest::addRow("FromThemeFile") << TkavUIStyle::FromThemeFile << 1 << "";
}

void TestKavThemes::pictureNames()
{
    QFETCH(TkavUIStyle, style);
    QFETCH(int, key);
    QFETCH(QString, name);
    QCOMPARE(GetInsideThemeStr(style, key), name);
}

// Every built-in picture against the library's size table: each picture key of every look and
// each picture loaded by its fixed name, with the frames it is cut into.
void TestKavThemes::pictureSizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("frames");
    for (TkavUIStyle style : BuiltInLooks) {
        for (int key = 1; key <= KavThemeKeyCount; ++key) {
            if (Kav::KavThemeKeyKind(key) == TkavType::Str)
                QTest::addRow("%s/%s", qPrintable(lookName(style)), qPrintable(Kav::KavThemeKeyName(key)))
                    << GetInsideThemeStr(style, key) << Kav::Metrics::keyPictureSize(style, key)
                    << Kav::KavThemeKeyFrameCount(key);
        }
    }
    for (const Kav::Metrics::FixedPicture &fixed : Kav::Metrics::FixedPictures)
        QTest::addRow("%s", fixed.name) << QString::fromLatin1(fixed.name) << fixed.size << fixed.frames;
}

void TestKavThemes::pictureSizes()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, frames);
    QVERIFY2(!size.isEmpty(), "the table gives every picture a size");
    QVERIFY(frames > 0);
    const QImage picture = Kav::KavLoadResourceBitmap(name);
    QCOMPARE(picture.size(), size);
    QCOMPARE(picture.width() % frames, 0);
    QCOMPARE(picture.format(), QImage::Format_RGB32);
}

// One row per picture key of every look: the whole table.
void TestKavThemes::pictures_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<int>("key");
    for (TkavUIStyle style : BuiltInLooks) {
        for (int key = 1; key <= KavThemeKeyCount; ++key) {
            if (Kav::KavThemeKeyKind(key) == TkavType::Str)
                QTest::addRow("%s/%s", qPrintable(lookName(style)), qPrintable(Kav::KavThemeKeyName(key)))
                    << style << key;
        }
    }
}

void TestKavThemes::pictures()
{
    QFETCH(TkavUIStyle, style);
    QFETCH(int, key);
    const QSize size = Kav::Metrics::keyPictureSize(style, key);
    const int frames = Kav::KavThemeKeyFrameCount(key);
    QVERIFY2(!size.isEmpty() && frames > 0, "every picture key has a size and frames");

    const QString name = GetInsideThemeStr(style, key);
    QVERIFY(!name.isEmpty());
    const QImage picture = Kav::KavLoadResourceBitmap(name);
    QImage whole;
    GetInsideThemeBitmap(style, key, &whole, 0, 0);
    QCOMPARE(whole, picture);
    // The last frame comes out at one frame's size.
    QImage last;
    GetInsideThemeBitmap(style, key, &last, frames, frames);
    QCOMPARE(last.size(), QSize(size.width() / frames, size.height()));
}

void TestKavThemes::keyColour_data() { pictures_data(); }

void TestKavThemes::keyColour()
{
    QFETCH(TkavUIStyle, style);
    QFETCH(int, key);
    const int frames = Kav::KavThemeKeyFrameCount(key);
    QVERIFY(frames > 0);
    const QImage picture = Kav::KavLoadResourceBitmap(GetInsideThemeStr(style, key));
    const int frameWidth = picture.width() / frames;
    switch (keyUse(style, key)) {
    case KeyUse::None:
        QVERIFY2(!hasMagenta(picture, picture.rect()), "drawn opaque, so no pixel may be magenta");
        break;
    case KeyUse::CornerTopLeft:
        for (int frame = 0; frame < frames; ++frame)
            QCOMPARE(picture.pixel(frame * frameWidth, 0), kMagenta);
        break;
    case KeyUse::CornerBottomLeft:
        for (int frame = 0; frame < frames; ++frame)
            QCOMPARE(picture.pixel(frame * frameWidth, picture.height() - 1), kMagenta);
        break;
    case KeyUse::EndsOnly: {
        // A tab frame is itself three parts; the track bar's three frames are the parts.
        const int wholes = key == KavKey::TrackBarBarImage ? 1 : frames;
        const int wholeWidth = picture.width() / wholes;
        for (int whole = 0; whole < wholes; ++whole) {
            const int part = wholeWidth / 3;
            const QRect middle(whole * wholeWidth + part, 0, part, picture.height());
            QVERIFY2(!hasMagenta(picture, middle), "the stretched middle is drawn without a key");
        }
        break;
    }
    case KeyUse::Anywhere:
        break;
    }
}

// Check boxes draw their pictures opaque, so a frame shows all of itself wherever the box
// stands (a white panel, a grey form, a picture behind a transparent check box). The square
// boxes fill their frames: the outermost ring of every frame is one colour, the box's own
// outline, not the form's colour round a smaller box.
void TestKavThemes::squareCheckBoxesHoldNoBackground_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addRow("MacOS") << TkavUIStyle::MacOS;
    QTest::addRow("WinXP") << TkavUIStyle::WinXP;
    QTest::addRow("DeepBlue") << TkavUIStyle::DeepBlue;
}

void TestKavThemes::squareCheckBoxesHoldNoBackground()
{
    QFETCH(TkavUIStyle, style);
    const int frames = Kav::KavThemeKeyFrameCount(KavKey::CheckBoxImage);
    for (int frame = 1; frame <= frames; ++frame) {
        QImage box;
        GetInsideThemeBitmap(style, KavKey::CheckBoxImage, &box, frames, frame);
        QVERIFY(!box.isNull());
        // A square of the form's colour round a smaller box would show on a white panel.
        const QRgb outline = box.pixel(0, 0);
        const QColor form = GetInsideThemeColor(style, KavKey::FormBackgroundColor).resolved();
        const auto near = [](int a, int b) { return std::abs(a - b) <= 4; };
        QVERIFY2(!(near(qRed(outline), form.red()) && near(qGreen(outline), form.green())
                   && near(qBlue(outline), form.blue())),
                 qPrintable(QStringLiteral("frame %1 is edged in the form's colour").arg(frame)));
        const int right = box.width() - 1, bottom = box.height() - 1;
        for (int x = 0; x <= right; ++x) {
            QCOMPARE(box.pixel(x, 0), outline);
            QCOMPARE(box.pixel(x, bottom), outline);
        }
        for (int y = 0; y <= bottom; ++y) {
            QCOMPARE(box.pixel(0, y), outline);
            QCOMPARE(box.pixel(right, y), outline);
        }
    }
}

// Arrow buttons (16 x 11 by default, a little larger in spin buttons) draw the push-button frame
// far below its size. Nine-part drawing keeps only the outer part of each corner then, and the
// result must still be a button: every row drawn in one run, widening from the top to the
// middle and narrowing to the bottom, and the top and bottom rows at least half the width (a
// button's edges, not the points of a diamond).
void TestKavThemes::smallButtonsHoldTogether_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    QTest::addColumn<int>("frame");
    QTest::addColumn<QSize>("size");
    for (TkavUIStyle style : BuiltInLooks)
        for (int frame = 1; frame <= Kav::KavThemeKeyFrameCount(KavKey::ButtonImage); ++frame)
            for (const QSize size : {QSize(16, 11), QSize(17, 12), QSize(18, 13)})
                QTest::addRow("%s/frame %d/%dx%d", qPrintable(lookName(style)), frame, size.width(),
                              size.height())
                    << style << frame << size;
}

void TestKavThemes::smallButtonsHoldTogether()
{
    QFETCH(TkavUIStyle, style);
    QFETCH(int, frame);
    QFETCH(QSize, size);
    QImage picture;
    GetInsideThemeBitmap(style, KavKey::ButtonImage, &picture,
                         Kav::KavThemeKeyFrameCount(KavKey::ButtonImage), frame);
    const bool transparent = GetInsideThemeBool(style, KavKey::ButtonTransparentBool);
    const QImage face =
        SpitDrawFace(picture, size, transparent).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(face.size(), size);
    QList<int> widths;
    for (int y = 0; y < face.height(); ++y) {
        int runs = 0, width = 0;
        bool inside = false;
        for (int x = 0; x < face.width(); ++x) {
            const bool drawn = qAlpha(face.pixel(x, y)) != 0;
            if (drawn && !inside)
                ++runs;
            width += drawn ? 1 : 0;
            inside = drawn;
        }
        QVERIFY2(runs == 1, qPrintable(QStringLiteral("row %1 is drawn in %2 runs").arg(y).arg(runs)));
        widths.append(width);
    }
    QVERIFY2(widths.first() * 2 >= size.width(), "the top edge is at least half the width");
    QVERIFY2(widths.last() * 2 >= size.width(), "the bottom edge is at least half the width");
    const qsizetype widest = std::max_element(widths.cbegin(), widths.cend()) - widths.cbegin();
    for (qsizetype y = 1; y < widths.size(); ++y)
        QVERIFY2(y <= widest ? widths.at(y) >= widths.at(y - 1) : widths.at(y) <= widths.at(y - 1),
                 qPrintable(QStringLiteral("row %1 juts out").arg(y)));
}

void TestKavThemes::buttonStatesStandApart_data()
{
    QTest::addColumn<TkavUIStyle>("style");
    for (const TkavUIStyle style : Kav::Metrics::BuiltInLooks)
        QTest::addRow("%s", QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(style))) << style;
}

// A push button's normal, mouse-over and pressed pictures tell apart at a glance: the mean
// difference of two of them, over their pixels and channels, is on average at least 16 of 255
// (DeepBlue's three were 12.7 apart, and looked alike).
void TestKavThemes::buttonStatesStandApart()
{
    QFETCH(TkavUIStyle, style);
    const int frames = Kav::KavThemeKeyFrameCount(KavKey::ButtonImage);
    QList<QImage> states;
    for (int frame = 1; frame <= 3; ++frame) { // frames count from 1
        QImage picture;
        GetInsideThemeBitmap(style, KavKey::ButtonImage, &picture, frames, frame);
        states << picture.convertToFormat(QImage::Format_RGB32);
    }
    const auto meanDifference = [](const QImage &a, const QImage &b) {
        qint64 sum = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            }
        return double(sum) / (3.0 * a.width() * a.height());
    };
    double apart = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            QCOMPARE(states.at(i).size(), states.at(j).size());
            apart += meanDifference(states.at(i), states.at(j)) / 3;
        }
    QVERIFY2(apart >= 16.0, qPrintable(QStringLiteral("the three are on average %1 apart").arg(apart, 0, 'f', 1)));
}

// The WinXP button under the mouse is ringed in orange; the ring runs unbroken all round the
// frame, so a stretched button shows no pale line across it.
void TestKavThemes::mouseOverRingIsWhole()
{
    QImage over;
    GetInsideThemeBitmap(TkavUIStyle::WinXP, KavKey::ButtonImage, &over,
                         Kav::KavThemeKeyFrameCount(KavKey::ButtonImage), 2);
    QVERIFY(!over.isNull());
    // Inside the one-pixel outline, the two outer columns and rows are the ring, except where the
    // rounded corners turn.
    const QRgb ring = over.pixel(1, over.height() / 2);
    const int right = over.width() - 1, bottom = over.height() - 1;
    for (int y = 3; y <= bottom - 3; ++y)
        for (int x : {1, 2, right - 2, right - 1})
            QVERIFY2(over.pixel(x, y) == ring, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
    for (int x = 3; x <= right - 3; ++x)
        for (int y : {1, 2, bottom - 2, bottom - 1})
            QVERIFY2(over.pixel(x, y) == ring, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
}

void TestKavThemes::bitmapFrame()
{
    QImage frame;
    GetInsideThemeBitmap(TkavUIStyle::WinXP, 1, &frame, 3, 2);
    QCOMPARE(frame.size(), QSize(18, 21));
    QCOMPARE(frame, Kav::KavLoadResourceBitmap("WINXP_BUTTON").copy(18, 0, 18, 21));
}

void TestKavThemes::bitmapWhole()
{
    QImage whole;
    GetInsideThemeBitmap(TkavUIStyle::DeepBlue, 38, &whole, 0, 0);
    QCOMPARE(whole.size(), QSize(72, 17));
    QCOMPARE(whole, Kav::KavLoadResourceBitmap("MORE_SCROLLBUTTON"));
}

void TestKavThemes::bitmapWithoutPicture()
{
    QImage untouched(3, 2, QImage::Format_RGB32);
    untouched.fill(Qt::red);
    // No picture in FromThemeFile, none for a Bool key: a whole picture leaves the destination
    // as it was, a frame of nothing is empty.
    QImage whole = untouched;
    GetInsideThemeBitmap(TkavUIStyle::FromThemeFile, 1, &whole, 0, 0);
    QCOMPARE(whole, untouched);
    GetInsideThemeBitmap(TkavUIStyle::MacOS, 2, &whole, 0, 0);
    QCOMPARE(whole, untouched);
    QImage frame = untouched;
    GetInsideThemeBitmap(TkavUIStyle::FromThemeFile, 1, &frame, 3, 1);
    QVERIFY(frame.isNull());
    // No destination: nothing happens.
    GetInsideThemeBitmap(TkavUIStyle::MacOS, 1, nullptr, 3, 1);
}

void TestKavThemes::missingResource()
{
    try {
        Kav::KavLoadResourceBitmap(QStringLiteral("XYZ"));
        QFAIL("no exception");
    } catch (const EKavResourceNotFound &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Resource XYZ not found"));
        QCOMPARE(error.resourceName(), QStringLiteral("XYZ"));
    }
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, Kav::KavLoadResourceBitmap(QString()));
}

void TestKavThemes::formStyle()
{
    QWidget form;
    auto *first = new QLabel(&form);
    // Asked before the skinned form exists (as the controls made before it ask): it is found once
    // it is made, whatever became of the children looked at before.
    QCOMPARE(GetKAVFormStyle(&form), TkavUIStyle::DeepBlue);
    new QLabel(&form);
    QCOMPARE(GetKAVFormStyle(&form), TkavUIStyle::DeepBlue);
    delete first;
    auto *skinned = new TkavForm(&form);
    skinned->setUIStyle(TkavUIStyle::WinXP);
    // A window has one skinned form: a second is refused and the first one's look holds.
    QVERIFY_THROWS_EXCEPTION(EKavFormError, new TkavForm(&form));
    QCOMPARE(GetKAVFormStyle(&form), TkavUIStyle::WinXP);
    // The property is what form definitions set.
    QVERIFY(skinned->setProperty("UIStyle", QVariant::fromValue(TkavUIStyle::MacOS)));
    QCOMPARE(GetKAVFormStyle(&form), TkavUIStyle::MacOS);
    delete skinned;
    QCOMPARE(GetKAVFormStyle(&form), TkavUIStyle::DeepBlue);
}

void TestKavThemes::formStyleOfNoForm()
{
    QWidget bare;
    QCOMPARE(GetKAVFormStyle(&bare), TkavUIStyle::DeepBlue);
    // A control inside a form is no form, even with a skinned form inside it.
    QWidget form;
    auto *panel = new QWidget(&form);
    (new TkavForm(panel))->setUIStyle(TkavUIStyle::MacOS);
    QCOMPARE(GetKAVFormStyle(panel), TkavUIStyle::DeepBlue);
    // A non-visual owner (a data module).
    QObject module;
    QCOMPARE(GetKAVFormStyle(&module), TkavUIStyle::DeepBlue);
    QCOMPARE(GetKAVFormStyle(nullptr), TkavUIStyle::DeepBlue);
}

void TestKavThemes::strings_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addRow("minimize") << KavString::TitleMenuItemMinimize << "Mi&nimize";
    QTest::addRow("maximize") << KavString::TitleMenuItemMaximize << "Ma&ximize/Restore";
    QTest::addRow("close") << KavString::TitleMenuItemClose << "&Close";
    QTest::addRow("unknown") << 65469 << "";
    QTest::addRow("zero") << 0 << "";
}

void TestKavThemes::strings()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QCOMPARE(Kav::KavLoadString(id), text);
}

QTEST_MAIN(TestKavThemes)
#include "tst_kavthemes.moc"
