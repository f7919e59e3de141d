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
        for (TkavUIStyle look : BuiltInLooks) {
            const QImage scene = lookgen::lookScene(pictures, look);
            scene.scaled(scene.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(QDir(scenesDir).filePath(lookName(look) + QStringLiteral(".png")), "PNG");
        }
    }
    return complete ? 0 : 1;
}
