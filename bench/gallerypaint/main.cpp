// Repaints the gallery page (every skinned control, one look) the first time and again unchanged,
// and counts what each repaint asks of the picture store (pictures decoded, frames cut, masked or
// greyed) and of the face cache (faces composed). Then draws N identical buttons and counts the
// faces composed for them. Run it from a Release build (QT_QPA_PLATFORM=offscreen works).
// Goals: no decode and no preparation in a repaint after the first; one face for N identical
// buttons.

#include "GalleryWindow.h"
#include "KAVButton.h"
#include "KAVFaceCache.h"
// Built against the library as it was before the picture store (to compare repaint times), the
// benchmark has no counters to read.
#if __has_include("KAVPictureStore.h")
#include "KAVPictureStore.h"
#define KAV_HAS_PICTURE_STORE 1
#endif

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 25;
constexpr int IdenticalButtons = 50;

struct Work {
    qint64 decodes = 0;
    qint64 preparations = 0;
    qint64 faces = 0;
};

Work workSoFar()
{
#ifdef KAV_HAS_PICTURE_STORE
    const auto store = Kav::TkavPictureStore::instance().counters();
    return {store.decodes, store.preparations, TkavFaceCache::shared().counters().composed};
#else
    return {};
#endif
}

Work operator-(const Work &a, const Work &b)
{
    return {a.decodes - b.decodes, a.preparations - b.preparations, a.faces - b.faces};
}

// The page as it was before the input controls were added: the top 940 x 460 pixels, which show
// the same sections in both versions.
const QRegion ClassicPart(0, 0, 940, 460);

double timedRender(QWidget &window, QImage &canvas, const QRegion &region = QRegion())
{
    QElapsedTimer timer;
    timer.start();
    window.render(&canvas, QPoint(), region);
    return double(timer.nsecsElapsed()) / 1e6;
}

double medianRender(QWidget &window, QImage &canvas, const QRegion &region)
{
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round)
        times.push_back(timedRender(window, canvas, region));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void printWork(const char *what, double ms, const Work &work)
{
    std::printf("%-34s %9.3f ms   decodes %lld, preparations %lld, faces composed %lld\n", what, ms,
                static_cast<long long>(work.decodes), static_cast<long long>(work.preparations),
                static_cast<long long>(work.faces));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const TkavUIStyle look = TkavUIStyle::WinXP;

    const Work start = workSoFar();
    GalleryWindow window;
    window.resize(GalleryWindow::PageSize);
    window.showLook(look);
    window.show();
    QImage canvas(window.size(), QImage::Format_RGB32);
    const Work created = workSoFar();

    const double first = timedRender(window, canvas);
    const Work afterFirst = workSoFar();

    const double unchanged = medianRender(window, canvas, QRegion());
    const Work afterRepaints = workSoFar();
    const double classicPart = medianRender(window, canvas, ClassicPart);

    std::printf("gallery page %dx%d in WinXP, medians of %d repaints\n", window.width(), window.height(), Rounds);
    printWork("creating the page", 0.0, created - start);
    printWork("first repaint", first, afterFirst - created);
    printWork("unchanged repaint (median)", unchanged, Work{});
    std::printf("%-34s %9.3f ms   (compare with the same measurement of the library before)\n",
                "the top 940x460 (median)", classicPart);
    const Work perRepaint = afterRepaints - afterFirst;
    printWork("all later repaints together", 0.0, perRepaint);
    const bool noWorkAfterFirst = perRepaint.decodes == 0 && perRepaint.preparations == 0 && perRepaint.faces == 0;
    std::printf("goal: no decode, preparation or new face after the first repaint: %s\n",
                noWorkAfterFirst ? "met" : "MISSED");

    // N identical buttons share one composed face.
    QWidget row;
    row.resize(IdenticalButtons * 80, 30);
    for (int i = 0; i < IdenticalButtons; ++i) {
        auto *button = new TkavButton(&row);
        button->setUIStyle(TkavUIStyle::Protein);
        button->setGeometry(i * 80, 2, 77, 25);
    }
    row.show();
    QImage rowCanvas(row.size(), QImage::Format_RGB32);
    const Work beforeRow = workSoFar();
    row.render(&rowCanvas);
    const Work rowWork = workSoFar() - beforeRow;
    std::printf("%d identical buttons: %lld face(s) composed (goal: 1): %s\n", IdenticalButtons,
                static_cast<long long>(rowWork.faces), rowWork.faces == 1 ? "met" : "MISSED");
    return 0;
}
