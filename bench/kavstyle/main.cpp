// Qt's standard widgets (ten kinds, in a grid layout; 200, 600 and 1,800 of them) switching
// between two looks under KavStyle (Kav::KavSetApplicationLook), side by side in one run with the
// same widgets switching between two style sheets, the way a Qt program changes its look today;
// and the repaint of the unchanged window under KavStyle against Fusion. Run it from a Release
// build with QT_QPA_PLATFORM=offscreen; "bench_kavstyle TURNS" takes fewer turns (the test runs
// one). Each measurement is a switch (or an update()) and the event loop's work that follows:
// layouts and the window's repaint. Prints, for each count, the medians, the ratios and the goals
// (set for 600 widgets, and held at every count):
//   - a look switch plus its repaint beats the style sheets by at least 4 times (looks that
//     measure differently, MacOS and WinXP, and looks that measure alike, DeepBlue and Protein);
//   - an unchanged window repaints at most 1.2 times as long as under Fusion.
// The three windows are never alive at once (a look switch reaches every window of the program):
// each is made, measured a few rounds and destroyed in turn, and the turns repeat, so that a
// change of the machine's load during the run tilts none of them.

#include "KAVApplicationLook.h"
#include "KAVFaceCache.h"
#include "KAVPictureStore.h"
#include "KAVStyle.h"
#include "KavBenchTiming.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyleFactory>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Columns = 20;
// 200, 600 (the goals' count) and 1,800 widgets, a tenth of each kind.
constexpr int RowCounts[] = {10, 30, 90};
constexpr int DefaultTurns = 5;
constexpr int RoundsPerTurn = 5;

const char *const SheetA =
    "QPushButton { background: #dde6f0; border: 1px solid #4a6a8a; border-radius: 3px; }"
    "QCheckBox, QRadioButton { color: #203040; }"
    "QLineEdit, QSpinBox, QComboBox { background: #f4f8fc; border: 1px solid #4a6a8a; }"
    "QScrollBar { background: #e0e8f0; } QSlider::groove:horizontal { background: #c0d0e0; height: 4px; }"
    "QProgressBar { border: 1px solid #4a6a8a; } QProgressBar::chunk { background: #4a8ad0; }";
const char *const SheetB =
    "QPushButton { background: #f0e6dd; border: 1px solid #8a6a4a; border-radius: 3px; }"
    "QCheckBox, QRadioButton { color: #402010; }"
    "QLineEdit, QSpinBox, QComboBox { background: #fcf8f4; border: 1px solid #8a6a4a; }"
    "QScrollBar { background: #f0e8e0; } QSlider::groove:horizontal { background: #e0d0c0; height: 4px; }"
    "QProgressBar { border: 1px solid #8a6a4a; } QProgressBar::chunk { background: #d08a4a; }";

QWidget *makeWidget(int kind, QWidget *parent)
{
    switch (kind) {
    case 0:
        return new QPushButton(QStringLiteral("Go"), parent);
    case 1:
        return new QCheckBox(QStringLiteral("Yes"), parent);
    case 2:
        return new QRadioButton(QStringLiteral("One"), parent);
    case 3:
        return new QLineEdit(QStringLiteral("text"), parent);
    case 4: {
        auto *box = new QComboBox(parent);
        box->addItems({QStringLiteral("Five"), QStringLiteral("Ten")});
        return box;
    }
    case 5: {
        auto *spin = new QSpinBox(parent);
        spin->setValue(7);
        return spin;
    }
    case 6: {
        auto *bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setValue(30);
        return bar;
    }
    case 7: {
        auto *slider = new QSlider(Qt::Horizontal, parent);
        slider->setValue(40);
        return slider;
    }
    case 8: {
        auto *bar = new QProgressBar(parent);
        bar->setValue(60);
        return bar;
    }
    default: {
        auto *button = new QPushButton(QStringLiteral("Off"), parent);
        button->setEnabled(false);
        return button;
    }
    }
}

// The window of rows x Columns widgets, shown and painted once.
std::unique_ptr<QWidget> makeWindow(int rows)
{
    auto window = std::make_unique<QWidget>();
    auto *grid = new QGridLayout(window.get());
    grid->setSpacing(4);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < Columns; ++column)
            grid->addWidget(makeWidget((row * Columns + column) % 10, window.get()), row, column);
    window->resize(Columns * 96, rows * 30);
    window->show();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    return window;
}

// What follows a change: posted events (layouts), then the window's repaint.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void repaintUnchanged(QWidget &window)
{
    window.update();
    settle();
}

// Counts the widgets painted, so that every measurement can show that it painted the window.
class PaintCount : public QObject {
public:
    long long paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

PaintCount *paintCount()
{
    static PaintCount *count = [] {
        auto *filter = new PaintCount;
        qApp->installEventFilter(filter);
        return filter;
    }();
    return count;
}

// The widgets painted per round of each measurement, summed over its rounds.
struct Painted {
    long long widgets = 0;
    int rounds = 0;
    double perRound() const { return rounds ? double(widgets) / rounds : 0; }
};

// Runs work rounds times and appends each time in milliseconds.
void timeRounds(std::vector<double> &times, Painted &painted, const std::function<void()> &work)
{
    for (int round = 0; round < RoundsPerTurn; ++round) {
        const long long before = paintCount()->paints;
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        painted.widgets += paintCount()->paints - before;
        ++painted.rounds;
    }
}

void report(const char *what, double ours, double theirs, const char *goal, bool met)
{
    std::printf("%-46s %9.3f ms  %9.3f ms  %7.3fx  %-22s %s\n", what, ours, theirs, ours / theirs, goal,
                met ? "met" : "MISSED");
}

// Measures a window of rows x Columns widgets, turns times, and prints its figures; gives whether
// every goal was met.
bool measure(int rows, int turns)
{
    std::vector<double> switchDiffering, switchAlike, sheets, ourRepaint, fusionRepaint;
    Painted paintedDiffering, paintedAlike, paintedSheets, paintedOurs, paintedFusion;

    for (int turn = 0; turn < turns; ++turn) {
        {
            // KavStyle: the look changes in place.
            QApplication::setStyle(new Kav::KavStyle(TkavUIStyle::MacOS));
            const std::unique_ptr<QWidget> window = makeWindow(rows);
            for (TkavUIStyle look : {TkavUIStyle::WinXP, TkavUIStyle::DeepBlue, TkavUIStyle::Protein, TkavUIStyle::MacOS}) {
                Kav::KavSetApplicationLook(look); // warm: every look's pictures seen once
                settle();
            }
            bool flip = false;
            timeRounds(switchDiffering, paintedDiffering, [&] {
                flip = !flip;
                Kav::KavSetApplicationLook(flip ? TkavUIStyle::WinXP : TkavUIStyle::MacOS);
                settle();
            });
            Kav::KavSetApplicationLook(TkavUIStyle::DeepBlue);
            settle();
            timeRounds(switchAlike, paintedAlike, [&] {
                flip = !flip;
                Kav::KavSetApplicationLook(flip ? TkavUIStyle::Protein : TkavUIStyle::DeepBlue);
                settle();
            });
            Kav::KavSetApplicationLook(TkavUIStyle::WinXP);
            settle();
            timeRounds(ourRepaint, paintedOurs, [&] { repaintUnchanged(*window); });
        }
        {
            // Fusion: the same widgets switching style sheets, and repainting unchanged.
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
            const std::unique_ptr<QWidget> window = makeWindow(rows);
            timeRounds(fusionRepaint, paintedFusion, [&] { repaintUnchanged(*window); });
            for (const char *sheet : {SheetA, SheetB}) { // warm
                window->setStyleSheet(QLatin1String(sheet));
                settle();
            }
            bool flip = false;
            timeRounds(sheets, paintedSheets, [&] {
                flip = !flip;
                window->setStyleSheet(QLatin1String(flip ? SheetA : SheetB));
                settle();
            });
        }
    }

    using KavBench::median;
    const double differing = median(switchDiffering), alike = median(switchAlike), sheet = median(sheets);
    const double ours = median(ourRepaint), fusion = median(fusionRepaint);
    std::printf("\n%d of Qt's widgets, median of %d rounds each\n", Columns * rows, turns * RoundsPerTurn);
    std::printf("%-46s %12s  %12s  %8s  %s\n", "", "KavStyle", "peer", "ratio", "goal");
    const bool metDiffering = differing <= sheet / 4, metAlike = alike <= sheet / 4, metRepaint = ours <= fusion * 1.2;
    report("switch + repaint, MacOS/WinXP / style sheets", differing, sheet, "<= 0.25 (4x faster)", metDiffering);
    report("switch + repaint, DeepBlue/Protein / sheets", alike, sheet, "<= 0.25 (4x faster)", metAlike);
    report("unchanged repaint / Fusion", ours, fusion, "<= 1.2", metRepaint);
    std::printf("widgets painted per round: switches %.0f and %.0f, style sheets %.0f; repaints %.0f and Fusion %.0f\n",
                paintedDiffering.perRound(), paintedAlike.perRound(), paintedSheets.perRound(), paintedOurs.perRound(),
                paintedFusion.perRound());
    return metDiffering && metAlike && metRepaint;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int turns = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : DefaultTurns;
    paintCount();
    int missed = 0;
    for (int rows : RowCounts)
        missed += measure(rows, turns) ? 0 : 1;
    std::printf("\ngoals %s\n", missed ? "MISSED at some count" : "met at every count");
    const auto store = Kav::TkavPictureStore::instance().counters();
    const auto faces = TkavFaceCache::shared().counters();
    std::printf("picture store: %lld decodes, %lld prepared pictures; face cache: %lld faces composed, %lld found\n",
                static_cast<long long>(store.decodes), static_cast<long long>(store.preparations),
                static_cast<long long>(faces.composed), static_cast<long long>(faces.hits));
    return 0;
}
