// kav-lookgen: draws the pictures of the five built-in looks and the pictures loaded by fixed
// name, one 24-bit BMP per resource name (NAME.bmp) and the same design drawn again at twice the
// density for high-DPI screens (NAME@2x.bmp), and optionally a contact sheet of all of them.
//
//   kav-lookgen OUTDIR [--sheet FILE.png] [--scenes DIR]
//
// --scenes writes each look's scene alone, magnified twice, for a closer look.
//
// Its output is what resources/looks/ holds; regenerate with
//   kav-lookgen resources/looks --sheet docs/looks.png

#include "Looks.h"
#include "Sheet.h"

#include "Paint.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QSet>

#include <cstdio>

#include "KAVMetrics.h"
#include "KAVThemes.h"

namespace {

using lookgen::Pictures;
using Kav::Metrics::BuiltInLooks;
using Kav::Metrics::FixedPictures;

QString lookName(TkavUIStyle style)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(style)));
}

// Every picture the key table and the fixed names ask for, with its size as the library's
// tables give it.
QMap<QString, QSize> expectedPictures()
{
    QMap<QString, QSize> expected;
    for (const Kav::Metrics::KeyPictureSizes &entry : Kav::Metrics::KeyPictures)
        for (TkavUIStyle look : BuiltInLooks)
            expected.insert(GetInsideThemeStr(look, entry.key),
                            Kav::Metrics::keyPictureSize(look, entry.key));
    for (const Kav::Metrics::FixedPicture &fixed : FixedPictures)
        expected.insert(QString::fromLatin1(fixed.name), fixed.size);
    return expected;
}

// Whether the tables are whole (a size for every picture key of every look, frames that divide
// every width) and the pictures drawn are exactly those asked for, at their sizes.
bool check(const Pictures &pictures, const QMap<QString, QSize> &expected)
{
    bool ok = true;
    for (const Kav::Metrics::FixedPicture &fixed : FixedPictures) {
        if (fixed.frames < 1 || fixed.size.width() % fixed.frames != 0) {
            std::fprintf(stderr, "%s: %d frames do not divide %d columns\n", fixed.name,
                         fixed.frames, fixed.size.width());
            ok = false;
        }
    }
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        if (Kav::KavThemeKeyKind(key) != TkavType::Str)
            continue;
        for (TkavUIStyle look : BuiltInLooks) {
            const QSize size = Kav::Metrics::keyPictureSize(look, key);
            if (size.isEmpty()) {
                std::fprintf(stderr, "no size known for key %d of %s\n", key,
                             qPrintable(lookName(look)));
                ok = false;
            } else if (size.width() % Kav::KavThemeKeyFrameCount(key) != 0) {
                std::fprintf(stderr, "%s of %s: %d frames do not divide %d columns\n",
                             qPrintable(Kav::KavThemeKeyName(key)), qPrintable(lookName(look)),
                             Kav::KavThemeKeyFrameCount(key), size.width());
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
    for (TkavUIStyle look : BuiltInLooks) {
        lookgen::SheetSection section{lookName(look), look, {}};
        const QString prefix = GetInsideThemeStr(look, KavKey::ButtonImage).section('_', 0, 0) + '_';
        for (int key = 1; key <= KavThemeKeyCount; ++key) {
            const QString name = GetInsideThemeStr(look, key);
            if (!name.isEmpty() && name.startsWith(prefix) && !shown.contains(name)) {
                section.names.append(name);
                shown.insert(name);
            }
        }
        for (const Kav::Metrics::FixedPicture &fixed : FixedPictures) {
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

Pictures drawAll(int pixelsPerPoint)
{
    lookgen::setScale(pixelsPerPoint);
    Pictures pictures;
    lookgen::addMacOSLook(pictures);
    lookgen::addWinXPLook(pictures);
    lookgen::addDeepBlueLook(pictures);
    lookgen::addProteinLook(pictures);
    lookgen::addBlueGlassLook(pictures);
    lookgen::addSharedPictures(pictures);
    lookgen::setScale(1);
    return pictures;
}

// The pictures as files, each name with suffix before the extension.
bool writePictures(const Pictures &pictures, const QString &outDir, const QString &suffix)
{
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        const QString file = QDir(outDir).filePath(it.key() + suffix + QStringLiteral(".bmp"));
        // RGB888 makes the BMP writer store 24 bits per pixel; the ratio is not stored.
        QImage pixels = it.value().convertToFormat(QImage::Format_RGB888);
        pixels.setDevicePixelRatio(1.0);
        if (!pixels.save(file, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

// The double-density pictures must be exactly twice the size of the pictures they stand for.
bool checkDoubled(const Pictures &pictures, const Pictures &doubled)
{
    bool ok = true;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        const QSize want = it.value().size() * 2;
        const QSize got = doubled.value(it.key()).size();
        if (got != want) {
            std::fprintf(stderr, "%s@2x is %dx%d, must be %dx%d\n", qPrintable(it.key()), got.width(),
                         got.height(), want.width(), want.height());
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kav-lookgen"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAV_LOOKGEN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws the pictures of the built-in looks into OUTDIR: NAME.bmp, and NAME@2x.bmp with the "
        "same design at twice the density for high-DPI screens."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption sheetOption(QStringLiteral("sheet"),
                                         QStringLiteral("Also write a contact sheet of every picture."),
                                         QStringLiteral("FILE.png"));
    const QCommandLineOption scenesOption(QStringLiteral("scenes"),
                                          QStringLiteral("Also write each look's scene, magnified twice."),
                                          QStringLiteral("DIR"));
    parser.addOption(sheetOption);
    parser.addOption(scenesOption);
    parser.addPositionalArgument(QStringLiteral("OUTDIR"), QStringLiteral("Where the pictures are written."));
    // process() answers --help and --version (exit 0) and reports unknown options (exit 1).
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }
    const QString outDir = parser.positionalArguments().constFirst();
    const QString sheetFile = parser.value(sheetOption);
    const QString scenesDir = parser.value(scenesOption);

    const Pictures pictures = drawAll(1);
    const Pictures doubled = drawAll(2);
    // Both checks report everything they find.
    const bool tablesMatch = check(pictures, expectedPictures());
    const bool doubledMatch = checkDoubled(pictures, doubled);
    const bool complete = tablesMatch && doubledMatch;

    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
        return 1;
    }
    if (!writePictures(pictures, outDir, QString()) || !writePictures(doubled, outDir, QStringLiteral("@2x")))
        return 1;
    std::printf("%d pictures and their @2x copies written to %s\n", int(pictures.size()), qPrintable(outDir));

    if (!sheetFile.isEmpty()) {
        if (!lookgen::contactSheet(pictures, sheetSections(pictures)).save(sheetFile, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(sheetFile));
            return 1;
        }
        std::printf("contact sheet written to %s\n", qPrintable(sheetFile));
    }
    if (!scenesDir.isEmpty()) {
        QDir().mkpath(scenesDir);
        for (TkavUIStyle look : BuiltInLooks) {
            const QImage scene = lookgen::lookScene(pictures, look);
            scene.scaled(scene.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(QDir(scenesDir).filePath(lookName(look) + QStringLiteral(".png")), "PNG");
        }
    }
    return complete ? 0 : 1;
}
