// How the cost of a window grows with the number of controls in it: 100, 1,000 and 5,000 controls
// of seven kinds (buttons, check boxes, edits, combo boxes, panels, track bars, progress bars),
// skinned, side by side in one run with a window of the same plain Qt controls. Prints at each size
// the median of each measure for both windows, the ratio (skinned / plain) and the goal:
//   - set the look: KavApplyWindowLook between two looks against setStyleSheet between two style
//     sheets: <= 1/30;
//   - switch + event-loop repaint: the same, then the event loop run until the window is painted:
//     <= 0.25;
//   - the first switch to a look never shown before (pictures decoded, faces composed) against the
//     first switch to a style sheet never set before, with the repaint: <= 0.25;
//   - unchanged repaint: update() and the event loop, against the plain controls under Qt's own
//     style (no style sheet): <= 1.0;
//   - creation of the window with its controls, against plain Qt: <= 2.0.
// Run it from a Release build: QT_QPA_PLATFORM=offscreen build-rel/bench/growth/bench_growth
// Usage: bench_growth [COUNT...]   (default 100 1000 5000)

#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVComboBox.h"
#include "KAVEdit.h"
#include "KAVImagePanel.h"
#include "KAVProgressBar.h"
#include "KAVTrackBar.h"
#include "KAVWindowLook.h"
#include "KavBenchTiming.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStyleFactory>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using KavBench::medianPairMs;

constexpr int Kinds = 7;
constexpr QSize Cell{64, 26};

int columnsFor(int count)
{
    return count <= 100 ? 10 : count <= 1000 ? 40 : 100;
}

// Where control number i goes.
QRect cellRect(int i, int count)
{
    const int columns = columnsFor(count);
    return QRect((i % columns) * Cell.width() + 2, (i / columns) * Cell.height() + 2, Cell.width() - 4,
                 Cell.height() - 4);
}

QSize windowSize(int count)
{
    const int columns = columnsFor(count);
    return QSize(columns * Cell.width(), (count + columns - 1) / columns * Cell.height());
}

QWidget *skinnedControl(QWidget *parent, int kind)
{
    switch (kind) {
    case 0: {
        auto *button = new TkavButton(parent);
        button->setCaption(QStringLiteral("Go"));
        return button;
    }
    case 1: {
        auto *check = new TkavCheckBox(parent);
        check->setAutoSize(false);
        check->setCaption(QStringLiteral("On"));
        return check;
    }
    case 2:
        return new TkavEdit(parent);
    case 3: {
        auto *combo = new TkavComboBox(parent);
        combo->addItems({QStringLiteral("one"), QStringLiteral("two")});
        return combo;
    }
    case 4: {
        auto *panel = new TkavPanel(parent);
        panel->setShowButton(false);
        return panel;
    }
    case 5:
        return new TkavTrackBar(parent);
    default:
        return new TkavProgressBar(parent);
    }
}

QWidget *plainControl(QWidget *parent, int kind)
{
    switch (kind) {
    case 0:
        return new QPushButton(QStringLiteral("Go"), parent);
    case 1:
        return new QCheckBox(QStringLiteral("On"), parent);
    case 2:
        return new QLineEdit(parent);
    case 3: {
        // Editable, as the skinned combo box is unless told otherwise.
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->addItems({QStringLiteral("one"), QStringLiteral("two")});
        return combo;
    }
    case 4: {
        auto *frame = new QFrame(parent);
        frame->setFrameShape(QFrame::StyledPanel);
        return frame;
    }
    case 5:
        return new QSlider(Qt::Horizontal, parent);
    default: {
        auto *bar = new QProgressBar(parent);
        bar->setValue(50);
        return bar;
    }
    }
}

std::unique_ptr<QWidget> makeWindow(int count, bool skinned)
{
    auto window = std::make_unique<QWidget>();
    window->resize(windowSize(count));
    for (int i = 0; i < count; ++i) {
        QWidget *control = skinned ? skinnedControl(window.get(), i % Kinds) : plainControl(window.get(), i % Kinds);
        control->setGeometry(cellRect(i, count));
    }
    return window;
}

// A style sheet for the seven plain kinds, in one of several colour schemes (each a sheet of its
// own text, so that Qt parses each anew the first time).
QString sheet(int scheme)
{
    const QString colours[][2] = {{QStringLiteral("#dde6f0"), QStringLiteral("#4a6a8a")},
                                  {QStringLiteral("#f0e6dd"), QStringLiteral("#8a6a4a")},
                                  {QStringLiteral("#e6f0dd"), QStringLiteral("#6a8a4a")},
                                  {QStringLiteral("#f0dde6"), QStringLiteral("#8a4a6a")},
                                  {QStringLiteral("#e0e0e0"), QStringLiteral("#505050")}};
    const QString &fill = colours[scheme][0], &line = colours[scheme][1];
    return QStringLiteral("QPushButton { background: %1; border: 1px solid %2; border-radius: 3px; }"
                          "QCheckBox { color: %2; }"
                          "QLineEdit, QComboBox { background: white; border: 1px solid %2; }"
                          "QFrame { background: %1; border: 1px solid %2; }"
                          "QSlider::groove:horizontal { background: %1; height: 4px; }"
                          "QSlider::handle:horizontal { background: %2; width: 8px; }"
                          "QProgressBar { border: 1px solid %2; background: white; }"
                          "QProgressBar::chunk { background: %1; }")
        .arg(fill, line);
}

// Runs the event loop until the pending repaints are done.
void drain()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void report(const char *what, double skinned, double plain, double goal, const char *goalText)
{
    const double ratio = skinned / plain;
    std::printf("  %-38s %10.3f ms %10.3f ms %8.3fx  goal <= %-7s %s\n", what, skinned, plain, ratio, goalText,
                ratio <= goal ? "met" : "MISSED");
}

void runSize(int count, TkavUIStyle newLook, int newScheme)
{
    const int rounds = count >= 5000 ? 5 : count >= 1000 ? 9 : 21;
    const int createRounds = count >= 5000 ? 3 : count >= 1000 ? 5 : 11;

    // Creation, taken in turns; the windows are destroyed untimed.
    std::unique_ptr<QWidget> made;
    std::vector<double> creationSkinned, creationPlain;
    for (int round = 0; round < createRounds; ++round) {
        for (const bool skinned : {true, false}) {
            QElapsedTimer timer;
            timer.start();
            made = makeWindow(count, skinned);
            (skinned ? creationSkinned : creationPlain).push_back(double(timer.nsecsElapsed()) / 1e6);
            made.reset();
        }
    }

    std::unique_ptr<QWidget> skinned = makeWindow(count, true);
    std::unique_ptr<QWidget> plain = makeWindow(count, false);
    skinned->show();
    plain->show();
    drain();

    // Warm up: both looks and both sheets shown once.
    for (const TkavUIStyle look : {TkavUIStyle::WinXP, TkavUIStyle::MacOS}) {
        Kav::KavApplyWindowLook(skinned.get(), look);
        drain();
    }
    for (const int scheme : {0, 1}) {
        plain->setStyleSheet(sheet(scheme));
        drain();
    }

    bool flip = false;
    const auto nextLook = [&flip] {
        flip = !flip;
        return flip ? TkavUIStyle::WinXP : TkavUIStyle::MacOS;
    };
    bool flipSheet = false;
    const auto nextSheet = [&flipSheet, sheets = std::array<QString, 2>{sheet(0), sheet(1)}] {
        flipSheet = !flipSheet;
        return sheets[flipSheet ? 0 : 1];
    };

    const auto [setLook, setSheet] = medianPairMs(
        rounds, [&] { Kav::KavApplyWindowLook(skinned.get(), nextLook()); },
        [&] { plain->setStyleSheet(nextSheet()); });
    drain();
    const auto [switchLook, switchSheet] = medianPairMs(
        rounds,
        [&] {
            Kav::KavApplyWindowLook(skinned.get(), nextLook());
            drain();
        },
        [&] {
            plain->setStyleSheet(nextSheet());
            drain();
        });

    // The first switch to a look never shown, and to a sheet never set.
    QElapsedTimer timer;
    timer.start();
    Kav::KavApplyWindowLook(skinned.get(), newLook);
    drain();
    const double firstLook = double(timer.nsecsElapsed()) / 1e6;
    timer.start();
    plain->setStyleSheet(sheet(newScheme));
    drain();
    const double firstSheet = double(timer.nsecsElapsed()) / 1e6;

    // Unchanged repaints, the plain controls under Qt's own style.
    plain->setStyleSheet(QString());
    drain();
    const auto [repaintSkinned, repaintPlain] = medianPairMs(
        rounds,
        [&] {
            skinned->update();
            drain();
        },
        [&] {
            plain->update();
            drain();
        });

    std::printf("%d controls (%d of each of %d kinds), %d rounds, medians\n", count, count / Kinds, Kinds, rounds);
    std::printf("  %-38s %13s %13s %9s\n", "", "skinned", "plain", "ratio");
    report("set the look / setStyleSheet", setLook, setSheet, 1.0 / 30, "1/30");
    report("switch + event-loop repaint", switchLook, switchSheet, 0.25, "0.25");
    report("first switch to a new look + repaint", firstLook, firstSheet, 0.25, "0.25");
    report("unchanged repaint / plain Qt", repaintSkinned, repaintPlain, 1.0, "1.0");
    report("creation / plain Qt", KavBench::median(creationSkinned), KavBench::median(creationPlain), 2.0, "2.0");
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
        counts.push_back(std::max(Kinds, QString::fromLocal8Bit(argv[i]).toInt()));
    if (counts.empty())
        counts = {100, 1000, 5000};
    // Each size meets a look and a sheet that no size before it has shown.
    const TkavUIStyle newLooks[] = {TkavUIStyle::Protein, TkavUIStyle::BlueGlass, TkavUIStyle::DeepBlue};
    for (size_t i = 0; i < counts.size(); ++i)
        runSize(counts[i], newLooks[i % 3], 2 + int(i % 3));
    return 0;
}
