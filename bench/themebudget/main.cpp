// Opens theme files built to exhaust memory (pictures whose headers declare 5000 x 5000 pixels,
// pictures just inside the limits for every picture key) the way the gallery's screenshot does,
// each in a child process of its own, and prints the child's peak memory and time beside those of
// a normal theme file. Goal: the 12.6 MB file of four 5000 x 5000 pictures under 100 MB and 1 s.
//
// Usage: bench_themebudget [ROUNDS]   (default 3; time is the median, memory the largest)
//        bench_themebudget --child FILE   (what each child runs: load, show, grab once)

#include "GalleryWindow.h"
#include "KAVMgr.h"
#include "KAVPictureBudget.h"
#include "KAVResources.h"
#include "KAVThemeFile.h"
#include "KAVThemes.h"
#include "KavBenchTiming.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

constexpr double GoalMegabytes = 100;
constexpr double GoalMilliseconds = 1000;
// The case the goal is about, in the order the cases are added below.
constexpr size_t FourHostileCase = 2;

// A 1-bit bitmap file of width x height, alternating black and white rows: 32 pixels a 4-byte
// word, so a 5000 x 5000 picture is a 3.1 MB file that decodes to 100 MB at 32 bits.
QByteArray monoBitmap(int width, int height)
{
    const int stride = ((width + 31) / 32) * 4;
    const int dataAt = 14 + 40 + 8;
    QByteArray bytes(int(dataAt + qint64(stride) * height), '\0');
    const auto put32 = [&](int at, qint32 value) { qToLittleEndian<qint32>(value, bytes.data() + at); };
    const auto put16 = [&](int at, qint16 value) { qToLittleEndian<qint16>(value, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, bytes.size());
    put32(10, dataAt);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    put16(26, 1);
    put16(28, 1);
    put32(34, stride * height);
    std::memset(bytes.data() + 58, 0xff, 3); // palette: black, white
    for (int y = 0; y < height; y += 2)
        std::memset(bytes.data() + dataAt + qint64(y) * stride, 0xff, size_t(stride));
    return bytes;
}

QList<int> pictureKeys()
{
    QList<int> keys;
    for (int key = 1; key <= 42; ++key)
        if (Kav::KavThemeKeyFrameCount(key) > 0)
            keys.append(key);
    return keys;
}

// Writes a theme file of the given picture entries (key -> bitmap file bytes).
bool writeTheme(const QTemporaryDir &dir, const QString &file, const QList<QPair<int, QByteArray>> &pictures)
{
    TkavThemeFileWriter writer(file);
    for (const auto &[key, bytes] : pictures) {
        const QString path = dir.filePath(QFileInfo(file).baseName() + QString::number(key) + QStringLiteral(".bmp"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return false;
        writer.AddFile(Kav::KavThemeKeyName(key), path);
    }
    return writer.Save();
}

// A normal theme: every picture key with the built-in DeepBlue picture.
bool writeNormalTheme(const QTemporaryDir &dir, const QString &file)
{
    QList<QPair<int, QByteArray>> pictures;
    for (int key : pictureKeys()) {
        const QString name = GetInsideThemeStr(TkavUIStyle::DeepBlue, key);
        QFile in(QStringLiteral(":/looks/") + name);
        if (!name.isEmpty() && in.open(QIODevice::ReadOnly))
            pictures.append({key, in.readAll()});
    }
    return !pictures.isEmpty() && writeTheme(dir, file, pictures);
}

int runChild(int argc, char *argv[], const QString &file)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    GalleryWindow window;
    QString error;
    if (!window.showThemeFile(file, &error)) {
        std::fprintf(stderr, "bench_themebudget: cannot use %s: %s\n", qPrintable(file), qPrintable(error));
        return 1;
    }
    window.show();
    QApplication::processEvents();
    const QImage shot = window.grab().toImage();
    return shot.isNull() ? 1 : 0;
}

struct Measure {
    double milliseconds = -1;
    double megabytes = -1;
};

// One child process on file: wall time and its own peak resident memory (wait4's rusage).
Measure measureOnce(const char *self, const QString &file)
{
    const QByteArray path = QFile::encodeName(file);
    char *arguments[] = {const_cast<char *>(self), const_cast<char *>("--child"), const_cast<char *>(path.constData()),
                         nullptr};
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, arguments, environ) != 0)
        return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {double(timer.nsecsElapsed()) / 1e6, double(usage.ru_maxrss) / 1024};
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    Kav::KavInitResources();
    const QByteArray hostile = monoBitmap(5000, 5000);
    const QByteArray edge = monoBitmap(Kav::PictureBudget::MaxSide,
                                       int(Kav::PictureBudget::MaxPictureBytes / 4 / Kav::PictureBudget::MaxSide));
    QList<QPair<int, QByteArray>> fourHostile, edgeEverywhere;
    for (int key : {KavKey::ButtonImage, KavKey::CheckBoxImage, KavKey::RadioButtonImage, KavKey::ProgressBarImage})
        fourHostile.append({key, hostile});
    for (int key : pictureKeys())
        edgeEverywhere.append({key, edge});

    struct Case {
        const char *name;
        QString file;
        bool written;
    };
    std::vector<Case> cases;
    const auto add = [&](const char *name, const QString &leaf, bool written) {
        cases.push_back({name, dir.filePath(leaf), written});
    };
    add("normal theme (built-in pictures)", QStringLiteral("normal.kav"), false);
    cases.back().written = writeNormalTheme(dir, cases.back().file);
    add("one 5000 x 5000 picture", QStringLiteral("one.kav"), false);
    cases.back().written = writeTheme(dir, cases.back().file, {{KavKey::ButtonImage, hostile}});
    add("four 5000 x 5000 pictures", QStringLiteral("four.kav"), false);
    cases.back().written = writeTheme(dir, cases.back().file, fourHostile);
    add("every picture key at the limits", QStringLiteral("edge.kav"), false);
    cases.back().written = writeTheme(dir, cases.back().file, edgeEverywhere);

    std::printf("%-34s %9s %10s %10s\n", "theme file", "file MB", "peak MiB", "time ms");
    double normalMb = 0, normalMs = 0;
    bool missed = false;
    for (size_t index = 0; index < cases.size(); ++index) {
        const Case &c = cases[index];
        if (!c.written) {
            std::fprintf(stderr, "bench_themebudget: cannot write %s\n", qPrintable(c.file));
            return 1;
        }
        std::vector<double> times;
        double peak = 0;
        for (int round = 0; round < rounds; ++round) {
            const Measure m = measureOnce(argv[0], c.file);
            if (m.milliseconds < 0) {
                std::fprintf(stderr, "bench_themebudget: the child failed on %s\n", c.name);
                return 1;
            }
            times.push_back(m.milliseconds);
            peak = std::max(peak, m.megabytes);
        }
        const double ms = KavBench::median(times);
        if (normalMs == 0) {
            normalMb = peak;
            normalMs = ms;
        }
        std::printf("%-34s %9.1f %10.1f %10.1f   x%.2f memory, x%.2f time of the normal file\n", c.name,
                    double(QFileInfo(c.file).size()) / 1e6, peak, ms, peak / normalMb, ms / normalMs);
        if (index == FourHostileCase && (peak >= GoalMegabytes || ms >= GoalMilliseconds))
            missed = true;
    }
    std::printf("goal: the four-picture file under %.0f MB and %.0f ms: %s\n", GoalMegabytes, GoalMilliseconds,
                missed ? "MISSED" : "met");
    return 0;
}
