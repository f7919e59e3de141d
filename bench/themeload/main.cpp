// Loading a real theme file, against reading its bytes with QFile::readAll. The file is what
// `kav-theme export LOOK` writes (every key of the look, its pictures embedded as bitmap files),
// written here the same way for each built-in look. Prints, side by side in one run (the ways take
// turns in each round), the medians in microseconds, the ratio to the plain read and the goal
// (<= 1.05):
//   - load: TkavFileTheme::setThemeFile on a new file theme, until it can be used;
//   - load + every key: the same, then every key asked for, each picture decoded.
//
// Usage: bench_themeload [ROUNDS]   (default 300)

#include "KAVMgr.h"
#include "KAVThemeFile.h"
#include "KAVThemes.h"
#include "KavBenchTiming.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMetaEnum>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using KavBench::median;

constexpr double Goal = 1.05;

// Writes the look as `kav-theme export` does.
bool exportLook(TkavUIStyle look, const QString &file)
{
    TkavThemeFileWriter writer(file);
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        const QString name = Kav::KavThemeKeyName(key);
        switch (Kav::KavThemeKeyKind(key)) {
        case TkavType::Str: {
            const QString resource = QStringLiteral(":/looks/") + GetInsideThemeStr(look, key);
            if (!QFile::exists(resource))
                return false;
            writer.AddFile(name, resource);
            break;
        }
        case TkavType::Bool:
            writer.AddBool(name, GetInsideThemeBool(look, key));
            break;
        case TkavType::Int:
            writer.AddInteger(name, GetInsideThemeInt(look, key));
            break;
        case TkavType::Color:
            writer.AddInteger(name, qint32(GetInsideThemeColor(look, key).value));
            break;
        }
    }
    return writer.Save();
}

// Asks the theme for every key's value; pictures are decoded.
int readEveryKey(const TkavFileTheme &theme)
{
    int pictures = 0;
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        switch (Kav::KavThemeKeyKind(key)) {
        case TkavType::Str: {
            QImage picture;
            theme.GetBitmap(key, &picture);
            pictures += picture.isNull() ? 0 : 1;
            break;
        }
        case TkavType::Bool:
            (void)theme.GetBool(key);
            break;
        case TkavType::Int:
            (void)theme.GetInt(key);
            break;
        case TkavType::Color:
            (void)theme.GetColor(key);
            break;
        }
    }
    return pictures;
}

struct Way {
    const char *name;
    std::function<bool()> run;
    std::vector<double> micros;
};

void report(const Way &way, double plain)
{
    const double m = median(way.micros);
    const double ratio = m / plain;
    std::printf("  %-26s %10.1f us  %7.2fx  goal <= %.2f  %s\n", way.name, m, ratio, Goal,
                ratio <= Goal ? "met" : "MISSED");
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 300;
    QTemporaryDir dir;
    bool allMet = true;

    for (const TkavUIStyle look : {TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue,
                                   TkavUIStyle::Protein, TkavUIStyle::BlueGlass}) {
        const QString lookName = QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
        const QString file = dir.filePath(lookName + QStringLiteral(".kav"));
        if (!dir.isValid() || !exportLook(look, file)) {
            std::fprintf(stderr, "bench_themeload: cannot write %s\n", qPrintable(file));
            return 1;
        }
        const qint64 size = QFileInfo(file).size();
        int pictures = 0;
        std::vector<Way> ways;
        ways.push_back({"QFile::readAll", [&] {
                            QFile in(file);
                            return in.open(QIODevice::ReadOnly) && in.readAll().size() == size;
                        }, {}});
        ways.push_back({"load", [&] {
                            TkavFileTheme theme;
                            theme.setThemeFile(file);
                            return theme.CanUse();
                        }, {}});
        ways.push_back({"load + every key", [&] {
                            TkavFileTheme theme;
                            theme.setThemeFile(file);
                            pictures = readEveryKey(theme);
                            return theme.CanUse() && pictures > 0;
                        }, {}});
        // One untimed round brings the file into the page cache and the code into memory.
        for (Way &way : ways) {
            if (!way.run()) {
                std::fprintf(stderr, "bench_themeload: %s of %s failed\n", way.name, qPrintable(file));
                return 1;
            }
        }
        QElapsedTimer timer;
        for (int round = 0; round < rounds; ++round) {
            for (Way &way : ways) {
                timer.start();
                way.run();
                way.micros.push_back(double(timer.nsecsElapsed()) / 1e3);
            }
        }
        const double plain = median(ways[0].micros);
        std::printf("%s exported: %.1f kB, %d keys, %d pictures; median of %d rounds\n", qPrintable(lookName),
                    double(size) / 1e3, KavThemeKeyCount, pictures, rounds);
        std::printf("  %-26s %10.1f us\n", ways[0].name, plain);
        for (size_t i = 1; i < ways.size(); ++i) {
            report(ways[i], plain);
            allMet = allMet && median(ways[i].micros) / plain <= Goal;
        }
    }
    std::printf("goal (loading at most %.2f x the plain read of the file): %s\n", Goal, allMet ? "met" : "MISSED");
    return 0;
}
