// The skinned tab control's strip against Qt's QTabBar with the same tabs, side by side in one run,
// at 10, 100 and 1,000 tabs. Prints at each count the median of each measure for both, the ratio
// (skinned / QTabBar) and the goal, <= 2.0 for each:
//   - next tab: selecting each following tab in turn (from code), with the repaint that shows it;
//   - mouse moves: 200 moves along the strip, with whatever repaints they cause;
//   - hiding half: hiding the first half of the tabs one by one, then the repaint.
// Run it from a Release build: QT_QPA_PLATFORM=offscreen build-rel/bench/tabs/bench_tabs
// Usage: bench_tabs [COUNT...]   (default 10 100 1000)

#include "KAVTabControl.h"
#include "KavBenchTiming.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTabBar>

#include <cstdio>
#include <vector>

namespace {

using KavBench::medianPairMs;

constexpr int StripWidth = 640;
constexpr int NextSteps = 40;
constexpr int MouseMoves = 200;

void drain()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QStringList captions(int count)
{
    QStringList tabs;
    for (int i = 1; i <= count; ++i)
        tabs << QStringLiteral("Tab %1").arg(i);
    return tabs;
}

void moveMouse(QWidget *widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void report(const char *what, double skinned, double plain)
{
    const double ratio = skinned / plain;
    std::printf("  %-34s %10.3f ms %10.3f ms %8.3fx  goal <= 2.0  %s\n", what, skinned, plain, ratio,
                ratio <= 2.0 ? "met" : "MISSED");
}

void runCount(int count)
{
    const int rounds = count >= 1000 ? 7 : 15;
    TkavTabControl skinned;
    skinned.setUIStyle(TkavUIStyle::WinXP);
    skinned.setTabs(captions(count));
    skinned.resize(StripWidth, 120);
    QTabBar plain;
    for (const QString &caption : captions(count))
        plain.addTab(caption);
    plain.resize(StripWidth, plain.sizeHint().height());
    skinned.show();
    plain.show();
    drain();
    TkavTabControlTopPanel *strip = skinned.topPanel();

    // From the first tab to the following ones, and back untimed.
    const int steps = std::min(NextSteps, count - 1);
    const auto [nextSkinned, nextPlain] = medianPairMs(
        rounds,
        [&] {
            skinned.setTabIndex(0);
            drain();
            for (int i = 1; i <= steps; ++i) {
                skinned.setTabIndex(i);
                drain();
            }
        },
        [&] {
            plain.setCurrentIndex(0);
            drain();
            for (int i = 1; i <= steps; ++i) {
                plain.setCurrentIndex(i);
                drain();
            }
        });

    const int tabMiddle = strip->tabHeight() / 2;
    const auto moves = [&](QWidget *widget, int y) {
        for (int i = 0; i < MouseMoves; ++i) {
            moveMouse(widget, QPoint(5 + i * (StripWidth - 10) / MouseMoves, y));
            drain();
        }
    };
    const auto [moveSkinned, movePlain] = medianPairMs(
        rounds, [&] { moves(strip, tabMiddle); }, [&] { moves(&plain, plain.height() / 2); });

    // The last tab selected, so that hiding changes no selection; every tab shown again untimed.
    std::vector<double> hideSkinned, hidePlain;
    for (int round = 0; round < rounds; ++round) {
        skinned.setTabIndex(count - 1);
        plain.setCurrentIndex(count - 1);
        for (int i = 0; i < count; ++i) {
            strip->setTabShown(i, true);
            plain.setTabVisible(i, true);
        }
        drain();
        hideSkinned.push_back(KavBench::medianMs(1, {}, [&] {
            for (int i = 0; i < count / 2; ++i)
                strip->setTabShown(i, false);
            drain();
        }));
        hidePlain.push_back(KavBench::medianMs(1, {}, [&] {
            for (int i = 0; i < count / 2; ++i)
                plain.setTabVisible(i, false);
            drain();
        }));
    }

    std::printf("%d tabs, strip %d pixels wide, %d rounds, medians\n", count, StripWidth, rounds);
    std::printf("  %-34s %13s %13s %9s\n", "", "skinned", "QTabBar", "ratio");
    char what[64];
    std::snprintf(what, sizeof what, "next tab, %d times", steps);
    report(what, nextSkinned, nextPlain);
    std::snprintf(what, sizeof what, "%d mouse moves", MouseMoves);
    report(what, moveSkinned, movePlain);
    std::snprintf(what, sizeof what, "hiding %d tabs one by one", count / 2);
    report(what, KavBench::median(hideSkinned), KavBench::median(hidePlain));
    std::printf("  layouts of the skinned strip worked out in all: %d\n", strip->layoutRuns());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::max(2, QString::fromLocal8Bit(argv[i]).toInt()));
    if (counts.empty())
        counts = {10, 100, 1000};
    for (const int count : counts)
        runCount(count);
    return 0;
}
