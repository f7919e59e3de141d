// kav-lookgen: draws the pictures of the five built-in looks and the pictures loaded by fixed
// name, one 24-bit BMP per resource name, and optionally a contact sheet of all of them.
//
//   kav-lookgen OUTDIR [--sheet FILE.png] [--scenes DIR]
//
// --scenes writes each look's scene alone, magnified twice, for a closer look.
//
// Its output is what resources/looks/ holds; regenerate with
//   kav-lookgen resources/looks --sheet docs/looks.png

#include "Looks.h"
#include "Sheet.h"

#include <QDir>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QSet>

#include <array>
#include <cstdio>

#include "KAVThemes.h"

namespace {

using lookgen::Pictures;

constexpr std::array<TkavUIStyle, 5> kLooks = {TkavUIStyle::MacOS, TkavUIStyle::WinXP,
                                               TkavUIStyle::DeepBlue, TkavUIStyle::Protein,
                                               TkavUIStyle::BlueGlass};

// Whole-picture sizes per key, in look order MacOS, WinXP, DeepBlue, Protein, BlueGlass.
struct KeySizes {
    int key;
    std::array<QSize, 5> sizes;
};
const KeySizes kKeySizes[] = {
    {KavKey::ButtonImage, {QSize(252, 23), QSize(54, 21), QSize(222, 21), QSize(222, 21), QSize(231, 27)}},
    {KavKey::CheckBoxImage, {QSize(60, 17), QSize(52, 13), QSize(52, 13), QSize(52, 13), QSize(52, 13)}},
    {KavKey::RadioButtonImage, {QSize(64, 17), QSize(52, 13), QSize(52, 13), QSize(52, 13), QSize(52, 13)}},
    {KavKey::TitleBarButtonImage, {QSize(306, 17), QSize(378, 21), QSize(342, 19), QSize(342, 19), QSize(342, 19)}},
    {KavKey::TitleBarLeftImage, {QSize(48, 23), QSize(35, 29), QSize(97, 32), QSize(441, 23), QSize(162, 33)}},
    {KavKey::TitleBarClientImage, {QSize(49, 23), QSize(37, 29), QSize(98, 32), QSize(1, 23), QSize(179, 33)}},
    {KavKey::TitleBarRightImage, {QSize(48, 23), QSize(35, 29), QSize(97, 32), QSize(1, 23), QSize(101, 33)}},
    {KavKey::ProgressBarImage, {QSize(13, 10), QSize(6, 10), QSize(1, 10), QSize(1, 10), QSize(1, 10)}},
    {KavKey::TrackBarBarImage, {QSize(45, 5), QSize(45, 8), QSize(45, 4), QSize(45, 4), QSize(45, 4)}},
    {KavKey::TrackBarSliderImage, {QSize(11, 20), QSize(11, 21), QSize(11, 20), QSize(11, 20), QSize(11, 20)}},
    {KavKey::TrackBarSliderVImage, {QSize(19, 11), QSize(22, 11), QSize(18, 11), QSize(18, 11), QSize(18, 11)}},
    {KavKey::ScrollBarButtonImage, {QSize(96, 22), QSize(96, 17), QSize(96, 16), QSize(96, 16), QSize(102, 16)}},
    {KavKey::ScrollBarSliderImage, {QSize(33, 16), QSize(21, 16), QSize(21, 16), QSize(21, 16), QSize(21, 16)}},
    {KavKey::CheckListBoxImage, {QSize(40, 11), QSize(44, 11), QSize(44, 11), QSize(44, 11), QSize(44, 11)}},
    {KavKey::ScrollButtonImage, {QSize(72, 18), QSize(72, 18), QSize(72, 17), QSize(72, 17), QSize(72, 17)}},
    {KavKey::TabControlTabImage, {QSize(36, 27), QSize(18, 18), QSize(12, 17), QSize(18, 17), QSize(18, 17)}},
    {KavKey::TabControlBarImage, {QSize(17, 7), QSize(8, 1), QSize(5, 5), QSize(10, 5), QSize(10, 5)}},
    {KavKey::SideChannelHandleImage, {QSize(7, 84), QSize(8, 86), QSize(8, 83), QSize(8, 83), QSize(8, 86)}},
    {KavKey::SideChannelBarImage, {QSize(1, 21), QSize(1, 21), QSize(1, 20), QSize(1, 21), QSize(1, 21)}},
};

struct FixedPicture {
    const char *name;
    QSize size;
};
const FixedPicture kFixedPictures[] = {
    {"MACOS_FORM_BACKGROUND", QSize(8, 8)}, {"PROTEIN_FORM_BACKGROUND", QSize(8, 8)},
    {"MACOS_MENU_BAR", QSize(1, 22)},       {"MACOS_MENU_SELECT", QSize(1, 21)},
    {"MENU_CHECKED", QSize(16, 16)},        {"MDI_CONTROL_BUTTON", QSize(48, 16)},
    {"MSNPOPFORM", QSize(181, 116)},        {"PANEL_BUTTON", QSize(52, 12)},
    {"MACOS_COMBOBOX_BUTTON", QSize(16, 17)}, {"WINXP_COMBOBOX_BUTTON", QSize(16, 18)},
};

QString lookName(TkavUIStyle style)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(style)));
}

// Every picture the key table and the fixed names ask for, with its size.
QMap<QString, QSize> expectedPictures()
{
    QMap<QString, QSize> expected;
    for (const KeySizes &entry : kKeySizes)
        for (std::size_t look = 0; look < kLooks.size(); ++look)
            expected.insert(GetInsideThemeStr(kLooks[look], entry.key), entry.sizes[look]);
    for (const FixedPicture &fixed : kFixedPictures)
        expected.insert(QString::fromLatin1(fixed.name), fixed.size);
    return expected;
}

bool check(const Pictures &pictures, const QMap<QString, QSize> &expected)
{
    bool ok = true;
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        if (KavThemeKeyKind(key) != TkavType::Str)
            continue;
        for (TkavUIStyle look : kLooks) {
            if (!expected.contains(GetInsideThemeStr(look, key))) {
                std::fprintf(stderr, "no size known for key %d of %s\n", key,
                             qPrintable(lookName(look)));
                ok = false;
            }
        }
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (!pictures.contains(it.key())) {
            std::fprintf(stderr, "missing picture %s\n", qPrintable(it.key()));
            ok = false;
        } else if (pictures.value(it.key()).size() != it.value()) {
            const QSize got = pictures.value(it.key()).size();
            std::fprintf(stderr, "%s is %dx%d, must be %dx%d\n", qPrintable(it.key()), got.width(),
                         got.height(), it.value().width(), it.value().height());
            ok = false;
        }
    }
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        if (!expected.contains(it.key())) {
            std::fprintf(stderr, "picture %s is not asked for\n", qPrintable(it.key()));
            ok = false;
        }
    }
    return ok;
}

QList<lookgen::SheetSection> sheetSections(const Pictures &pictures)
{
    QList<lookgen::SheetSection> sections;
    QSet<QString> shown;
    for (TkavUIStyle look : kLooks) {
        lookgen::SheetSection section{lookName(look), look, {}};
        const QString prefix = GetInsideThemeStr(look, KavKey::ButtonImage).section('_', 0, 0) + '_';
        for (int key = 1; key <= KavThemeKeyCount; ++key) {
            const QString name = GetInsideThemeStr(look, key);
            if (!name.isEmpty() && name.startsWith(prefix) && !shown.contains(name)) {
                section.names.append(name);
                shown.insert(name);
            }
        }
        for (const FixedPicture &fixed : kFixedPictures) {
            const QString name = QString::fromLatin1(fixed.name);
            if (name.startsWith(prefix) && !shown.contains(name)) {
                section.names.append(name);
                shown.insert(name);
            }
        }
        sections.append(section);
    }
    lookgen::SheetSection shared{QStringLiteral("Shared"), TkavUIStyle::FromThemeFile, {}};
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
        if (!shown.contains(it.key()))
            shared.names.append(it.key());
    sections.append(shared);
    return sections;
}

int usage()
{
    std::fprintf(stderr, "usage: kav-lookgen OUTDIR [--sheet FILE.png] [--scenes DIR]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString outDir, sheetFile, scenesDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--sheet") && i + 1 < args.size())
            sheetFile = args.at(++i);
        else if (args.at(i) == QLatin1String("--scenes") && i + 1 < args.size())
            scenesDir = args.at(++i);
        else if (outDir.isEmpty() && !args.at(i).startsWith(QLatin1String("--")))
            outDir = args.at(i);
        else
            return usage();
    }
    if (outDir.isEmpty())
        return usage();

    Pictures pictures;
    lookgen::addMacOSLook(pictures);
    lookgen::addWinXPLook(pictures);
    lookgen::addDeepBlueLook(pictures);
    lookgen::addProteinLook(pictures);
    lookgen::addBlueGlassLook(pictures);
    lookgen::addSharedPictures(pictures);
    const bool complete = check(pictures, expectedPictures());

    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
        return 1;
    }
    int written = 0;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        const QString file = QDir(outDir).filePath(it.key() + QStringLiteral(".bmp"));
        // RGB888 makes the BMP writer store 24 bits per pixel.
        if (!it.value().convertToFormat(QImage::Format_RGB888).save(file, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        ++written;
    }
    std::printf("%d pictures written to %s\n", written, qPrintable(outDir));

    if (!sheetFile.isEmpty()) {
        if (!lookgen::contactSheet(pictures, sheetSections(pictures)).save(sheetFile, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(sheetFile));
            return 1;
        }
        std::printf("contact sheet written to %s\n", qPrintable(sheetFile));
    }
    if (!scenesDir.isEmpty()) {
        QDir().mkpath(scenesDir);
        for (TkavUIStyle look : kLooks) {
            const QImage scene = lookgen::lookScene(pictures, look);
            scene.scaled(scene.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(QDir(scenesDir).filePath(lookName(look) + QStringLiteral(".png")), "PNG");
        }
    }
    return complete ? 0 : 1;
}
