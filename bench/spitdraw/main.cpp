// Repeated nine-part drawing of one 84 x 23 button frame, as controls repaint it, against Qt's
// own nine-patch drawing (qDrawBorderPixmap) of the same picture at the same size.
// Run it from a Release build; prints nanoseconds per draw and the ratio.
// Then first draws: each draw at a size never drawn before (so the face is composed and kept), onto
// a control's face image as controls draw, against qDrawBorderPixmap at the same sizes. Goal: <= 1.0.

#include "KAVFunctions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QtWidgets/qdrawutil.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A button frame: grey gradient body, dark outline, magenta outside the rounded corners.
QImage buttonFrame()
{
    QImage frame(84, 23, QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            frame.setPixel(x, y, qRgb(250 - 3 * y, 250 - 3 * y, 255 - 2 * y));
    for (int x = 0; x < frame.width(); ++x) {
        frame.setPixel(x, 0, qRgb(60, 60, 90));
        frame.setPixel(x, frame.height() - 1, qRgb(60, 60, 90));
    }
    for (int y = 0; y < frame.height(); ++y) {
        frame.setPixel(0, y, qRgb(60, 60, 90));
        frame.setPixel(frame.width() - 1, y, qRgb(60, 60, 90));
    }
    const int right = frame.width() - 1, bottom = frame.height() - 1;
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(right, 0), QPoint(right - 1, 0),
                           QPoint(right, 1), QPoint(0, bottom), QPoint(1, bottom), QPoint(0, bottom - 1),
                           QPoint(right, bottom), QPoint(right - 1, bottom), QPoint(right, bottom - 1)})
        frame.setPixel(p, qRgb(255, 0, 255));
    return frame;
}

// The same frame with magenta turned into transparency, as Qt's nine-patch drawing needs it.
QPixmap keyedPixmap(const QImage &frame)
{
    QImage keyed = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < keyed.height(); ++y)
        for (int x = 0; x < keyed.width(); ++x)
            if ((keyed.pixel(x, y) & 0xFFFFFF) == 0xFF00FF)
                keyed.setPixel(x, y, 0);
    return QPixmap::fromImage(keyed);
}

double nanosPerDraw(int iterations, const std::function<void()> &draw)
{
    for (int i = 0; i < iterations / 10 + 1; ++i) // warm up (and fill the face cache)
        draw();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < iterations; ++i)
        draw();
    return double(timer.nsecsElapsed()) / iterations;
}

void run(const QImage &frame, const QPixmap &pixmap, const QSize &size, bool transparent, int iterations)
{
    const QRect target(QPoint(0, 0), size);
    // The nine-part layout's margins: corners of 42 x 11 at the left and top, 41 x 10 at the
    // right and bottom.
    const QMargins margins(42, 11, 41, 10);
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::gray);

    const double ours = nanosPerDraw(iterations, [&] {
        QPainter painter(&canvas);
        SpitDraw(frame, painter, target, transparent);
    });
    const double oursImage = nanosPerDraw(iterations, [&] { SpitDraw(frame, canvas, target, transparent); });
    const double oursUncached = nanosPerDraw(iterations / 10 + 1, [&] {
        QPainter painter(&canvas);
        painter.drawImage(0, 0, SpitDrawFace(frame, size, transparent));
    });
    const double qt = nanosPerDraw(iterations, [&] {
        QPainter painter(&canvas);
        qDrawBorderPixmap(&painter, target, margins, pixmap);
    });

    std::printf("%4dx%-4d %-7s SpitDraw(QPainter) %7.0f ns  SpitDraw(QImage) %7.0f ns  uncached %7.0f ns  "
                "qDrawBorderPixmap %7.0f ns  ratio SpitDraw/qt %.2f (QImage %.2f)\n",
                size.width(), size.height(), transparent ? "keyed" : "opaque", ours, oursImage,
                oursUncached, qt, ours / qt, oursImage / qt);
}

// Sizes around base, each met once in the whole run.
QSize unseenSize(const QSize &base)
{
    static int next = 0;
    const int n = next++;
    return base + QSize(n % 97, n / 97 % 89);
}

bool firstDraws(const QImage &frame, const QPixmap &pixmap, const QSize &base, bool transparent, int iterations)
{
    const QMargins margins(42, 11, 41, 10);
    QImage canvas(base + QSize(100, 100), QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    std::vector<QSize> sizes;
    for (int i = 0; i < iterations; ++i)
        sizes.push_back(unseenSize(base));
    QElapsedTimer timer;
    timer.start();
    for (const QSize &size : sizes)
        SpitDraw(frame, canvas, QRect(QPoint(0, 0), size), transparent);
    const double ours = double(timer.nsecsElapsed()) / iterations;
    timer.start();
    for (const QSize &size : sizes) {
        QPainter painter(&canvas);
        qDrawBorderPixmap(&painter, QRect(QPoint(0, 0), size), margins, pixmap);
    }
    const double qt = double(timer.nsecsElapsed()) / iterations;
    const double ratio = ours / qt;
    std::printf("first draws near %4dx%-4d %-7s SpitDraw %8.0f ns  qDrawBorderPixmap %8.0f ns  ratio %.2f  "
                "goal <= 1.0  %s\n",
                base.width(), base.height(), transparent ? "keyed" : "opaque", ours, qt, ratio,
                ratio <= 1.0 ? "met" : "MISSED");
    return ratio <= 1.0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QImage frame = buttonFrame();
    const QPixmap pixmap = keyedPixmap(frame);
    std::printf("84x23 frame; corners keyed (magenta skipped) or opaque; painter set-up included\n");
    for (const bool transparent : {true, false}) {
        run(frame, pixmap, QSize(80, 27), transparent, 200000);
        run(frame, pixmap, QSize(300, 200), transparent, 20000);
    }
    for (const bool transparent : {true, false}) {
        firstDraws(frame, pixmap, QSize(80, 27), transparent, 4000);
        firstDraws(frame, pixmap, QSize(300, 200), transparent, 1000);
    }
    return 0;
}
