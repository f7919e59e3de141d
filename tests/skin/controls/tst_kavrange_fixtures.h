#pragma once

#include "kav_driven_clock.h"
#include "kav_fixture_theme.h"

// Shared by the track bar, scroll bar and memo tests: a clock the tests drive instead of waiting,
// and a small theme file of hand-made pictures whose every pixel the tests can predict.

#include "KAVCustomButton.h"
#include "KAVMgr.h"
#include "KAVThemeFile.h"
#include "KAVThemes.h"

#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace RangeFixtures {

// --- A clock the tests drive ------------------------------------------------------------------

using KavTest::DrivenClock;
using KavTest::DrivenTimer;
using KavTest::drivenFactory;




// --- A theme of predictable pictures ----------------------------------------------------------

inline const QRgb Magenta = qRgb(255, 0, 255);
inline const QRgb BarLeft = qRgb(200, 0, 0);
inline const QRgb BarMiddle = qRgb(0, 200, 0);
inline const QRgb BarRight = qRgb(0, 0, 200);
inline const QRgb Slider = qRgb(250, 200, 0);
inline const QRgb SliderV = qRgb(0, 200, 250);
inline const QRgb SliderHead = qRgb(255, 0, 0);
inline const QRgb SliderBody = qRgb(0, 255, 0);
inline const QRgb SliderTail = qRgb(0, 0, 255);
inline const QRgb ArrowMark = qRgb(0, 0, 0);
inline const TColor ScrollBackground = TColor::fromRgb(10, 20, 30);
inline const TColor BorderColour = TColor::fromRgb(90, 40, 140);

// The colour of arrow frame 1..6 (decrease normal, over, down; increase normal, over, down).
inline QRgb arrowColour(int frame)
{
    return qRgb(40 * frame, 100, 255 - 30 * frame);
}

inline constexpr int BarPart = 3;        // each of the bar's three parts is 3 x 2
inline constexpr int BarHeight = 2;
inline constexpr QSize SliderSize{4, 6}; // horizontal track bar slider
inline constexpr QSize SliderVSize{6, 4};
inline constexpr QSize ArrowSize{5, 7};  // one arrow frame as drawn for a vertical bar
inline constexpr QSize SliceSize{3, 5};  // one scroll slider slice, lying

inline QImage solid(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The bar: left end, middle and right end side by side, the ends with a magenta top-left pixel.
inline QImage barPicture()
{
    QImage bar(3 * BarPart, BarHeight, QImage::Format_RGB32);
    const QRgb parts[] = {BarLeft, BarMiddle, BarRight};
    for (int part = 0; part < 3; ++part)
        for (int y = 0; y < BarHeight; ++y)
            for (int x = 0; x < BarPart; ++x)
                bar.setPixel(part * BarPart + x, y, parts[part]);
    bar.setPixel(0, 0, Magenta);
    bar.setPixel(2 * BarPart, 0, Magenta);
    return bar;
}

// The horizontal slider: solid, with its bottom-left pixel (the transparent key) magenta.
inline QImage sliderPicture()
{
    QImage slider = solid(SliderSize, Slider);
    slider.setPixel(0, SliderSize.height() - 1, Magenta);
    return slider;
}

// Six arrow frames, each solid in arrowColour(frame) with a black mark at its top-left pixel, so
// that a turned frame shows which way it was turned.
inline QImage arrowStrip()
{
    QImage strip(6 * ArrowSize.width(), ArrowSize.height(), QImage::Format_RGB32);
    for (int frame = 1; frame <= 6; ++frame) {
        for (int y = 0; y < ArrowSize.height(); ++y)
            for (int x = 0; x < ArrowSize.width(); ++x)
                strip.setPixel((frame - 1) * ArrowSize.width() + x, y, arrowColour(frame));
        strip.setPixel((frame - 1) * ArrowSize.width(), 0, ArrowMark);
    }
    return strip;
}

inline QImage sliceStrip()
{
    QImage strip(3 * SliceSize.width(), SliceSize.height(), QImage::Format_RGB32);
    const QRgb slices[] = {SliderHead, SliderBody, SliderTail};
    for (int slice = 0; slice < 3; ++slice)
        for (int y = 0; y < SliceSize.height(); ++y)
            for (int x = 0; x < SliceSize.width(); ++x)
                strip.setPixel(slice * SliceSize.width() + x, y, slices[slice]);
    return strip;
}

// A theme file of the pictures above, loaded; nullptr when it could not be written or loaded.
inline std::unique_ptr<TkavFileTheme> writeRangeTheme(const QTemporaryDir &dir)
{
    return KavTest::writeFixtureTheme(dir, QStringLiteral("ranges"),
                                      {{KavKey::TrackBarBarImage, barPicture()},
                                       {KavKey::TrackBarSliderImage, sliderPicture()},
                                       {KavKey::TrackBarSliderVImage, solid(SliderVSize, SliderV)},
                                       {KavKey::ScrollBarButtonImage, arrowStrip()},
                                       {KavKey::ScrollBarSliderImage, sliceStrip()}},
                                      {{KavKey::ScrollBarBackgroundColor, ScrollBackground},
                                       {KavKey::ControlBorderColor, BorderColour}});
}

} // namespace RangeFixtures
