#pragma once

#include "kav_fixture_theme.h"

// Shared by the tab control and page control tests: a small theme of hand-made tab pictures whose
// every pixel the tests can predict, and mouse and key helpers.

#include "KAVMgr.h"
#include "KAVThemeFile.h"
#include "KAVThemes.h"

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <memory>

namespace TabFixtures {

inline constexpr int TabPart = 4;         // each of a tab frame's three parts is 4 wide
inline constexpr int TabHeight = 12;
inline constexpr int BarHeight = 3;
inline constexpr QSize ButtonSize{8, 8};
inline const TColor Background = TColor::fromRgb(10, 20, 30);
inline const TColor Border = TColor::fromRgb(90, 40, 140);
inline const QRgb Bar = qRgb(0, 120, 0);

// Left, middle and right part of the active (frame 1) and inactive (frame 2) tab.
inline QRgb tabColour(int frame, int part)
{
    return qRgb(60 * part + 20, frame == 1 ? 200 : 100, 40);
}
// Scroll button frames 1..4: right, right hot, left, left hot.
inline QRgb buttonColour(int frame)
{
    return qRgb(50 * frame, 0, 250 - 50 * frame);
}

inline QImage tabStrip()
{
    QImage strip(6 * TabPart, TabHeight, QImage::Format_RGB32);
    for (int frame = 1; frame <= 2; ++frame)
        for (int part = 0; part < 3; ++part)
            for (int y = 0; y < TabHeight; ++y)
                for (int x = 0; x < TabPart; ++x)
                    strip.setPixel(((frame - 1) * 3 + part) * TabPart + x, y, tabColour(frame, part));
    return strip;
}

inline QImage buttonStrip()
{
    QImage strip(4 * ButtonSize.width(), ButtonSize.height(), QImage::Format_RGB32);
    for (int frame = 1; frame <= 4; ++frame)
        for (int y = 0; y < ButtonSize.height(); ++y)
            for (int x = 0; x < ButtonSize.width(); ++x)
                strip.setPixel((frame - 1) * ButtonSize.width() + x, y, buttonColour(frame));
    return strip;
}

// The theme file of the pictures above, loaded; nullptr when it could not be written or loaded.
inline std::unique_ptr<TkavFileTheme> writeTabTheme(const QTemporaryDir &dir)
{
    QImage bar(3, BarHeight, QImage::Format_RGB32);
    bar.fill(Bar);
    return KavTest::writeFixtureTheme(dir, QStringLiteral("tabs"),
                                      {{KavKey::TabControlTabImage, tabStrip()},
                                       {KavKey::TabControlBarImage, bar},
                                       {KavKey::ScrollButtonImage, buttonStrip()}},
                                      {{KavKey::ControlBackgroundColor, Background}, {KavKey::ControlBorderColor, Border}});
}

inline void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void click(QWidget *widget, QPoint at)
{
    mouse(widget, QEvent::MouseButtonPress, at);
    mouse(widget, QEvent::MouseButtonRelease, at);
}

inline void key(QWidget *widget, int keyCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, keyCode, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace TabFixtures
