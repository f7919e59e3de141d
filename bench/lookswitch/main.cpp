// Switches a window of 600 skinned controls (push buttons and radio buttons) between built-in
// looks, side by side with a window of 600 plain Qt push buttons and radio buttons switching
// between two style sheets, the way a Qt program changes its look. Run it from a Release build
// (QT_QPA_PLATFORM=offscreen works). Prints the median of each measurement, the ratios and the goals:
//   - setting the looks (before painting) costs at most 1/30 of setStyleSheet;
//   - a switch plus a repaint beats the style sheets by at least 4 times;
//   - a switch back to a look already seen repaints as fast as an unchanged window (at most 1.25x).

#include "KAVButton.h"
#include "KavBenchTiming.h"
#include "KAVCheckBox.h"
#include "KAVFaceCache.h"
// Built against the library as it was before the picture store (for comparison), the benchmark
// has no counters to read.
#if __has_include("KAVPictureStore.h")
#include "KAVPictureStore.h"
#define KAV_HAS_PICTURE_STORE 1
#endif

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using KavBench::medianMs;

constexpr int Columns = 30;
constexpr int Rows = 20; // 600 controls, half buttons, half radio buttons
constexpr QSize Cell{44, 30};
constexpr int Rounds = 15;

const char *const SheetA = "QPushButton { background: #dde6f0; border: 1px solid #4a6a8a; border-radius: 3px; }"
                           "QRadioButton { color: #203040; }";
const char *const SheetB = "QPushButton { background: #f0e6dd; border: 1px solid #8a6a4a; border-radius: 3px; }"
                           "QRadioButton { color: #402010; }";

template <typename Make>
void fill(QWidget &window, Make make)
{
    window.resize(Columns * Cell.width(), Rows * Cell.height());
    for (int row = 0; row < Rows; ++row)
        for (int column = 0; column < Columns; ++column) {
            QWidget *control = make(&window, (row + column) % 2 == 0);
            control->setGeometry(column * Cell.width() + 2, row * Cell.height() + 4, Cell.width() - 4, 21);
        }
}

struct SkinnedWindow {
    QWidget window;
    std::vector<TkavButton *> buttons;
    std::vector<TkavRadioButton *> radios;

    SkinnedWindow()
    {
        fill(window, [this](QWidget *parent, bool button) -> QWidget * {
            if (button) {
                auto *b = new TkavButton(parent);
                b->setCaption(QStringLiteral("Go"));
                buttons.push_back(b);
                return b;
            }
            auto *r = new TkavRadioButton(parent);
            r->setAutoSize(false);
            r->setCaption(QStringLiteral("A"));
            radios.push_back(r);
            return r;
        });
    }

    void setLook(TkavUIStyle look)
    {
        for (TkavButton *b : buttons)
            b->setUIStyle(look);
        for (TkavRadioButton *r : radios)
            r->setUIStyle(look);
    }
};

struct PlainWindow {
    QWidget window;

    PlainWindow()
    {
        fill(window, [](QWidget *parent, bool button) -> QWidget * {
            if (button)
                return new QPushButton(QStringLiteral("Go"), parent);
            return new QRadioButton(QStringLiteral("A"), parent);
        });
    }
};

// Paints the whole window and its children now, as a repaint of a shown window does.
void repaint(QWidget &window, QImage &canvas)
{
    window.render(&canvas);
}

void report(const char *what, double ours, double theirs, const char *goal, bool met)
{
    std::printf("%-44s %9.3f ms  %9.3f ms  %7.3fx  %-24s %s\n", what, ours, theirs, ours / theirs, goal,
                met ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    SkinnedWindow skinned;
    PlainWindow plain;
    skinned.window.show();
    plain.window.show();
    QImage canvasSkinned(skinned.window.size(), QImage::Format_RGB32);
    QImage canvasPlain(plain.window.size(), QImage::Format_RGB32);

    // Warm up: every look seen once, both sheets applied once.
    for (TkavUIStyle look : {TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue}) {
        skinned.setLook(look);
        repaint(skinned.window, canvasSkinned);
    }
    for (const char *sheet : {SheetA, SheetB}) {
        plain.window.setStyleSheet(QLatin1String(sheet));
        repaint(plain.window, canvasPlain);
    }

    bool flip = false;
    auto nextLook = [&flip] { flip = !flip; return flip ? TkavUIStyle::MacOS : TkavUIStyle::WinXP; };
    auto nextSheet = [&flip] { flip = !flip; return QLatin1String(flip ? SheetA : SheetB); };

    const double setLooks = medianMs(Rounds, {}, [&] { skinned.setLook(nextLook()); });
    const double setSheets = medianMs(Rounds, {}, [&] { plain.window.setStyleSheet(nextSheet()); });
    const double switchLooks = medianMs(Rounds, {}, [&] {
        skinned.setLook(nextLook());
        repaint(skinned.window, canvasSkinned);
    });
    const double switchSheets = medianMs(Rounds, {}, [&] {
        plain.window.setStyleSheet(nextSheet());
        repaint(plain.window, canvasPlain);
    });
    // For each look: a repaint of the unchanged window, and the first repaint after switching back
    // to it from the other look (the switch itself is not timed). The worse ratio counts.
    double unchanged = 0, seenLook = 0;
    for (TkavUIStyle look : {TkavUIStyle::MacOS, TkavUIStyle::WinXP}) {
        const TkavUIStyle other = look == TkavUIStyle::MacOS ? TkavUIStyle::WinXP : TkavUIStyle::MacOS;
        skinned.setLook(look);
        repaint(skinned.window, canvasSkinned);
        const double still = medianMs(Rounds, {}, [&] { repaint(skinned.window, canvasSkinned); });
        const double back = medianMs(Rounds,
            [&] {
                skinned.setLook(other);
                repaint(skinned.window, canvasSkinned);
                skinned.setLook(look);
            },
            [&] { repaint(skinned.window, canvasSkinned); });
        if (seenLook == 0 || back / still > seenLook / unchanged) {
            unchanged = still;
            seenLook = back;
        }
    }

    std::printf("%d skinned controls against %d plain Qt controls, median of %d rounds\n",
                Columns * Rows, Columns * Rows, Rounds);
    std::printf("%-44s %12s  %12s  %8s  %s\n", "", "skinned", "peer", "ratio", "goal");
    report("set the looks / setStyleSheet", setLooks, setSheets, "<= 0.033 (1/30)", setLooks <= setSheets / 30);
    report("switch + repaint / style sheets", switchLooks, switchSheets, "<= 0.25 (4x faster)",
           switchLooks <= switchSheets / 4);
    report("repaint after switch back / unchanged", seenLook, unchanged, "<= 1.25", seenLook <= unchanged * 1.25);

#ifdef KAV_HAS_PICTURE_STORE
    const auto store = Kav::TkavPictureStore::instance().counters();
    const auto faces = TkavFaceCache::shared().counters();
    std::printf("picture store: %lld decodes, %lld prepared pictures; face cache: %lld faces composed, %lld found\n",
                static_cast<long long>(store.decodes), static_cast<long long>(store.preparations),
                static_cast<long long>(faces.composed), static_cast<long long>(faces.hits));
#endif
    return 0;
}
