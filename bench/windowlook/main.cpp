// The exam window against a plain-Qt copy of the same form definition, side by side in one run:
// the skinned window is the exam's own Tform_main; the copy is built from form_main.ui with every
// skinned class replaced by Qt's own (plain_form.py, at build time), under the Fusion style.
// Prints the median of each measure for both windows, the ratio (skinned / plain) and the goal:
//   - look switch, setting only: skinned MacOS <-> WinXP through KavApplyWindowLook against the copy
//     switching between two style sheets that draw the looks' pictures with border-image: <= 1/30;
//   - look switch plus the repaint that shows it (the event loop run once): <= 0.25;
//   - full repaint of the unchanged window (QWidget::render into an image): <= 1.0;
//   - process start to first painted frame (this program started again as a child for the exam
//     window, and bench_windowlook_plain, which links no skin, for the copy; interleaved, timed from
//     QProcess::start to the child's report after the window's first paint): <= 1.3;
//   - peak memory (VmHWM of those children after the first frame): <= 1.2.
// Run by hand from a Release build (add --grab <folder> for pictures of both windows in both looks):
//   QT_QPA_PLATFORM=offscreen build-rel/bench/windowlook/bench_windowlook

#include "ExamApplication.h"
#include "ExamPictures.h"
#include "FormMain.h"
#include "FormStyle.h"
#include "KAVFunctions.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"
#include "KAVWindowLook.h"
#include "KavBenchTiming.h"
#include "FirstFrame.h"
#include "PlainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using KavBench::median;
using KavBench::medianMs;

constexpr int Rounds = 31;
constexpr int StartRounds = 7;

// Counts the paint events a window receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Writes frame `frame` of a look picture of `frames` frames to dir as name.png and returns its path.
QString cutFrame(const QDir &dir, const QString &picture, int frames, int frame)
{
    const QImage strip(QStringLiteral(":/looks/") + picture);
    QImage cut;
    SpitBitmap(strip.convertToFormat(QImage::Format_RGB32), cut, frames, frame);
    // Magenta marks what the skin leaves out; a style sheet shows it unless it is transparent.
    cut = cut.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cut.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(cut.scanLine(y));
        for (int x = 0; x < cut.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xFF00FF)
                line[x] = 0;
        }
    }
    const QString path = dir.filePath(QStringLiteral("%1_%2.png").arg(picture).arg(frame));
    cut.save(path);
    return path;
}

// A style sheet that draws the look's pictures on the plain controls: push buttons, radio
// indicators, the combo box button and the panels' caption bars from the look's pictures, the
// frames of group boxes, edits, combo box and memo in the look's border colour.
QString lookSheet(const QDir &dir, const QString &prefix, TkavUIStyle look)
{
    const QString border = KavThemeValues(look, nullptr).color(KavKey::ControlBorderColor).resolved().name();
    const QString button = cutFrame(dir, prefix + QStringLiteral("_BUTTON"), Kav::KavThemeKeyFrameCount(KavKey::ButtonImage), 1);
    const int radioFrames = Kav::KavThemeKeyFrameCount(KavKey::RadioButtonImage);
    const QString radioOff = cutFrame(dir, prefix + QStringLiteral("_RADIOBUTTON"), radioFrames, 1);
    const QString radioOn = cutFrame(dir, prefix + QStringLiteral("_RADIOBUTTON"), radioFrames, 2);
    const QString combo = cutFrame(dir, prefix + QStringLiteral("_COMBOBOX_BUTTON"), 1, 1);
    const QString bar = cutFrame(dir, prefix + QStringLiteral("_SIDECHENNEL_BAR"), 1, 1);
    return QStringLiteral(
               "QPushButton { border-image: url(%1) 4 4 4 4 stretch stretch; border-width: 4px; }"
               "QRadioButton::indicator { width: 13px; height: 13px; }"
               "QRadioButton::indicator:unchecked { border-image: url(%2); }"
               "QRadioButton::indicator:checked { border-image: url(%3); }"
               "QGroupBox { border: 1px solid %6; margin-top: 8px; }"
               "QGroupBox::title { subcontrol-origin: margin; border-image: url(%5); }"
               "QLineEdit, QPlainTextEdit { border: 1px solid %6; }"
               "QComboBox { border: 1px solid %6; }"
               "QComboBox::drop-down { border-image: url(%4); width: 16px; }")
        .arg(button, radioOff, radioOn, combo, bar, border);
}

void report(const char *what, double skinned, double plain, const char *unit, double goal)
{
    const double ratio = skinned / plain;
    std::printf("%-40s %10.3f %-3s %10.3f %-3s %8.3fx  goal <= %-6.3f %s\n", what, skinned, unit, plain, unit,
                ratio, goal, ratio <= goal ? "met" : "MISSED");
}

void drain()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Child mode: build the exam window, show it, and after its first paint report its peak memory
// (FirstFrame.h); the plain copy has a program of its own that links no skin (plain_start.cpp).
int firstFrame(int argc, char **argv)
{
    ExamApplication app(argc, argv);
    setUpExamApplication();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const auto window = std::make_unique<Tform_main>();
    FirstFrame watch;
    window->installEventFilter(&watch);
    window->show();
    return app.exec();
}

struct StartFigures {
    double ms = 0;
    long peakKb = 0;
};

StartFigures startChild(bool skinned)
{
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    if (skinned)
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-frame")});
    else
        child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_windowlook_plain"), {});
    StartFigures figures;
    while (child.waitForReadyRead(30000)) {
        const QByteArray line = child.readLine();
        if (line.startsWith("frame ")) {
            figures.ms = double(timer.nsecsElapsed()) / 1e6;
            figures.peakKb = line.mid(6).trimmed().toLong();
            break;
        }
    }
    child.waitForFinished(30000);
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--first-frame") == 0)
        return firstFrame(argc, argv);

    ExamApplication app(argc, argv);
    setUpExamApplication();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    Tform_main skinned;
    PlainWindow plain;
    skinned.show();
    plain.show();
    drain();
    PaintCounter skinnedPaints, plainPaints;
    skinned.installEventFilter(&skinnedPaints);
    plain.installEventFilter(&plainPaints);

    QTemporaryDir pictures;
    const QString sheetMacOS = lookSheet(QDir(pictures.path()), QStringLiteral("MACOS"), TkavUIStyle::MacOS);
    const QString sheetWinXP = lookSheet(QDir(pictures.path()), QStringLiteral("WINXP"), TkavUIStyle::WinXP);

    // Warm up: both looks and both sheets applied and painted twice.
    for (int i = 0; i < 2; ++i) {
        for (TkavUIStyle look : {TkavUIStyle::WinXP, TkavUIStyle::MacOS}) {
            Kav::KavApplyWindowLook(&skinned, look);
            skinned.repaint();
        }
        for (const QString &sheet : {sheetWinXP, sheetMacOS}) {
            plain.setStyleSheet(sheet);
            plain.repaint();
        }
    }
    drain();
    if (argc == 3 && qstrcmp(argv[1], "--grab") == 0) {
        // Pictures of both windows in both looks, to see that the copy shows what the exam window shows.
        const QDir dir(QString::fromLocal8Bit(argv[2]));
        for (TkavUIStyle look : {TkavUIStyle::MacOS, TkavUIStyle::WinXP}) {
            const bool macOS = look == TkavUIStyle::MacOS;
            Kav::KavApplyWindowLook(&skinned, look);
            plain.setStyleSheet(macOS ? sheetMacOS : sheetWinXP);
            drain();
            skinned.grab().save(dir.filePath(macOS ? QStringLiteral("skinned-macos.png") : QStringLiteral("skinned-winxp.png")));
            // What the event loop's repaint after the switch put on the screen.
            skinned.screen()->grabWindow(skinned.winId())
                .save(dir.filePath(macOS ? QStringLiteral("screen-macos.png") : QStringLiteral("screen-winxp.png")));
            plain.grab().save(dir.filePath(macOS ? QStringLiteral("plain-macos.png") : QStringLiteral("plain-winxp.png")));
        }
        return 0;
    }

    bool flip = false;
    auto nextLook = [&flip] { flip = !flip; return flip ? TkavUIStyle::WinXP : TkavUIStyle::MacOS; };
    auto nextSheet = [&] { flip = !flip; return flip ? sheetWinXP : sheetMacOS; };

    const double setLook = medianMs(Rounds, drain, [&] { Kav::KavApplyWindowLook(&skinned, nextLook()); });
    const double setSheet = medianMs(Rounds, drain, [&] { plain.setStyleSheet(nextSheet()); });

    skinnedPaints.paints = plainPaints.paints = 0;
    const double switchLook = medianMs(Rounds, drain, [&] {
        Kav::KavApplyWindowLook(&skinned, nextLook());
        QCoreApplication::processEvents();
    });
    const int switchLookPaints = skinnedPaints.paints;
    const double switchSheet = medianMs(Rounds, drain, [&] {
        plain.setStyleSheet(nextSheet());
        QCoreApplication::processEvents();
    });
    const int switchSheetPaints = plainPaints.paints;

    // The exam window's own look against Qt's own style.
    Kav::KavApplyWindowLook(&skinned, TkavUIStyle::MacOS);
    plain.setStyleSheet(QString());
    drain();
    QImage canvas(skinned.size(), QImage::Format_RGB32);
    // Taken in turns, so that whatever else the machine does weighs on both alike.
    const auto [repaintSkinned, repaintPlain] = KavBench::medianPairMs(
        Rounds * 3, [&] { skinned.render(&canvas); }, [&] { plain.render(&canvas); });

    std::vector<double> startSkinned, startPlain, peakSkinned, peakPlain;
    for (int round = 0; round < StartRounds; ++round) {
        for (bool isSkinned : {true, false}) {
            const StartFigures figures = startChild(isSkinned);
            (isSkinned ? startSkinned : startPlain).push_back(figures.ms);
            (isSkinned ? peakSkinned : peakPlain).push_back(double(figures.peakKb) / 1024.0);
        }
    }

    const QList<QWidget *> skinnedWidgets = skinned.findChildren<QWidget *>();
    const auto skinnedControls = std::count_if(skinnedWidgets.cbegin(), skinnedWidgets.cend(), [](const QWidget *w) {
        return IsHasProperty(w, QStringLiteral("UIStyle")) && IsHasProperty(w, QStringLiteral("FileTheme"));
    });
    std::printf("exam window: %d widgets, %d skinned; plain copy: %d widgets; median of %d rounds (%d starts)\n",
                int(skinnedWidgets.size()), int(skinnedControls), int(plain.findChildren<QWidget *>().size()),
                Rounds, StartRounds);
    std::printf("%-40s %14s %14s %9s\n", "", "skinned", "plain", "ratio");
    report("look switch, setting only", setLook, setSheet, "ms", 1.0 / 30);
    report("look switch + repaint", switchLook, switchSheet, "ms", 0.25);
    report("full repaint, unchanged", repaintSkinned, repaintPlain, "ms", 1.0);
    report("process start to first frame", median(startSkinned), median(startPlain), "ms", 1.3);
    report("peak memory (VmHWM)", median(peakSkinned), median(peakPlain), "MiB", 1.2);
    std::printf("paints per switch + repaint: skinned %.2f, plain %.2f\n", double(switchLookPaints) / Rounds,
                double(switchSheetPaints) / Rounds);
    return 0;
}
