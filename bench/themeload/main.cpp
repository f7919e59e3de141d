// Times loading a theme file of about 10 MB (many pictures) through TkavThemeFileReader and
// through a TkavFileTheme, against reading the same bytes with QFile::readAll. Goal: loading costs
// at most twice the plain read.
//
// Usage: bench_themeload [ROUNDS]   (default 30; the ways take turns in each round)
//
// A fourth line times the reader's walk over bytes already in memory (loadData), to tell reading
// from interpreting.

#include "KAVMgr.h"
#include "KAVThemeFile.h"
#include "KavBenchTiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using KavBench::median;

constexpr int PictureCount = 400;
constexpr int PictureWidth = 96;
constexpr int PictureHeight = 90; // 24-bit rows of 288 bytes: 25,974 bytes a bitmap file

// A picture whose pixels differ from picture to picture, so that no two entries are alike.
QImage picture(int number)
{
    QImage image(PictureWidth, PictureHeight, QImage::Format_RGB32);
    for (int y = 0; y < PictureHeight; ++y)
        for (int x = 0; x < PictureWidth; ++x)
            image.setPixel(x, y, qRgb((x * 7 + number) & 0xFF, (y * 5 + number * 3) & 0xFF, (x ^ y ^ number) & 0xFF));
    return image;
}

bool writeThemeFile(const QTemporaryDir &dir, const QString &file)
{
    TkavThemeFileWriter writer(file);
    for (int i = 0; i < PictureCount; ++i) {
        const QString path = dir.filePath(QStringLiteral("p%1.bmp").arg(i));
        if (!picture(i).save(path, "BMP"))
            return false;
        writer.AddFile(QStringLiteral("Picture%1").arg(i, 3, 10, QLatin1Char('0')), path);
    }
    for (int i = 0; i < 40; ++i)
        writer.AddInteger(QStringLiteral("Number%1").arg(i), i);
    return writer.Save();
}

struct Way {
    const char *name;
    std::function<bool()> load;
    std::vector<double> milliseconds;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 30;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("large.kav"));
    if (!dir.isValid() || !writeThemeFile(dir, file)) {
        std::fprintf(stderr, "bench_themeload: cannot write the theme file in %s\n", qPrintable(dir.path()));
        return 1;
    }
    const qint64 size = QFileInfo(file).size();

    std::vector<Way> ways;
    ways.push_back({"QFile::readAll", [&] {
                        QFile in(file);
                        return in.open(QIODevice::ReadOnly) && in.readAll().size() == size;
                    }, {}});
    ways.push_back({"TkavThemeFileReader::Load", [&] {
                        TkavThemeFileReader reader;
                        return reader.Load(file) && reader.entries().size() == PictureCount + 40;
                    }, {}});
    ways.push_back({"TkavFileTheme::setThemeFile", [&] {
                        TkavFileTheme theme;
                        theme.setThemeFile(file);
                        return theme.CanUse();
                    }, {}});
    // Not a way to load a file: the reader's walk over bytes already in memory, which tells how
    // much of Load is spent reading and how much interpreting.
    QByteArray bytes;
    {
        QFile in(file);
        if (in.open(QIODevice::ReadOnly))
            bytes = in.readAll();
    }
    ways.push_back({"  of which walking the chain", [&] {
                        TkavThemeFileReader reader;
                        return reader.loadData(bytes) && reader.entries().size() == PictureCount + 40;
                    }, {}});

    // One untimed round brings the file into the page cache and the code into memory.
    for (Way &way : ways) {
        if (!way.load()) {
            std::fprintf(stderr, "bench_themeload: %s failed\n", way.name);
            return 1;
        }
    }
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        for (Way &way : ways) {
            timer.start();
            const bool ok = way.load();
            way.milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (!ok) {
                std::fprintf(stderr, "bench_themeload: %s failed\n", way.name);
                return 1;
            }
        }
    }

    std::printf("theme file: %.2f MB, %d pictures and 40 integers; %d rounds, median and best (ms)\n",
                double(size) / 1e6, PictureCount, rounds);
    const double plain = median(ways[0].milliseconds);
    for (const Way &way : ways) {
        const double m = median(way.milliseconds);
        std::printf("  %-28s median %8.3f  best %8.3f  %7.0f MB/s  %5.2f x plain read\n", way.name, m,
                    *std::min_element(way.milliseconds.begin(), way.milliseconds.end()), double(size) / 1e3 / m,
                    m / plain);
    }
    const double worst = std::max(median(ways[1].milliseconds), median(ways[2].milliseconds)) / plain;
    std::printf("goal (loading at most 2 x the plain read): %s (%.2f x)\n", worst <= 2.0 ? "met" : "missed", worst);
    return 0;
}
