// Repaints the gallery page (every skinned control, one look) the first time and again unchanged,
// and counts what each repaint asks of the picture store (pictures decoded, frames cut, masked or
// greyed) and of the face cache (faces composed). Then draws N identical buttons and counts the
// faces composed for them. Run it from a Release build (QT_QPA_PLATFORM=offscreen works).
// Goals: no decode and no preparation in a repaint after the first; one face for N identical
// buttons.

#include "GalleryWindow.h"
#include "KAVButton.h"
#include "KAVFaceCache.h"
#include "KAVPictureStore.h"

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
    const auto store = Kav::TkavPictureStore::instance().counters();
    return {store.decodes, store.preparations, TkavFaceCache::shared().counters().composed};
}

Work operator-(const Work &a, const Work &b)
{
    return {a.decodes - b.decodes, a.preparations - b.preparations, a.faces - b.faces};
}

double timedRender(QWidget &window, QImage &canvas)
{
    QElapsedTimer timer;
    timer.start();
    window.render(&canvas);
    return double(timer.nsecsElapsed()) / 1e6;
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

    std::vector<double> repaints;
    for (int round = 0; round < Rounds; ++round)
        repaints.push_back(timedRender(window, canvas));
    const Work afterRepaints = workSoFar();
    std::sort(repaints.begin(), repaints.end());
    const double unchanged = repaints[repaints.size() / 2];

    std::printf("gallery page %dx%d in WinXP\n", window.width(), window.height());
    printWork("creating the page", 0.0, created - start);
    printWork("first repaint", first, afterFirst - created);
    printWork("unchanged repaint (median)", unchanged, Work{});
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
