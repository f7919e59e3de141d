#pragma once

// Small windows with a title bar, mouse events sent straight to the bar, and pixel comparisons
// of what the bar drew.

#include "../controls/kav_fixture_theme.h"

#include "KAVForm.h"
#include "KAVThemeValues.h"
#include "KAVTitleBar.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

namespace TitleBarFixtures {

// A window (a skinned form when inForm) with a title bar in the given look across its top.
struct Window {
    std::unique_ptr<QWidget> form;
    TkavTitleBar *bar = nullptr;

    explicit Window(TkavUIStyle look, QSize size = QSize(300, 100), bool inForm = false)
    {
        if (inForm)
            form = std::make_unique<TkavForm>();
        else
            form = std::make_unique<QWidget>();
        form->resize(size);
        bar = new TkavTitleBar(form.get());
        bar->setUIStyle(look);
    }
};

inline QImage grabFace(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The bar drawn with another RoundCorner (the window shape follows and is put back).
inline QImage grabWithout(TkavTitleBar &bar, int roundCorner)
{
    const int kept = bar.RoundCorner();
    bar.setRoundCorner(roundCorner);
    const QImage face = grabFace(bar);
    bar.setRoundCorner(kept);
    return face;
}

// Whether face shows picture with its top-left corner at at.
inline bool drawnAt(const QImage &face, const QPoint &at, const QImage &picture)
{
    if (picture.isNull())
        return false;
    const QImage expected = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (face.pixel(at.x() + x, at.y() + y) != expected.pixel(x, y))
                return false;
    return true;
}

inline QImage solid(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at, Qt::MouseButton button)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void sendLeave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

inline TkavTitleBarBtnType typeNamed(const QString &name)
{
    if (name == QLatin1String("box"))
        return KavTitleBar::kavControlBox;
    if (name == QLatin1String("close"))
        return KavTitleBar::kavClose;
    if (name == QLatin1String("max"))
        return KavTitleBar::kavMax;
    if (name == QLatin1String("min"))
        return KavTitleBar::kavMin;
    if (name == QLatin1String("help"))
        return KavTitleBar::kavHelp;
    return KavTitleBar::kavCustom;
}

// Replaces the bar's buttons by buttons of these types, in this order.
inline void keepOnly(TkavTitleBar &bar, std::initializer_list<TkavTitleBarBtnType> types)
{
    bar.Buttons()->clear();
    for (const TkavTitleBarBtnType type : types) {
        TkavTitleBarButton *button = bar.Buttons()->add();
        button->setUIStyle(bar.UIStyle());
        button->setButtonType(type);
    }
}

// Frame (1-based) of a built-in look's title-button strip.
inline Kav::TkavPicture lookFrame(TkavUIStyle look, int frame)
{
    return KavThemeValues(look, nullptr)
        .picture(KavKey::TitleBarButtonImage, Kav::PictureRecipe{18, frame, Kav::PictureMask::None, false});
}

// A theme file with plain-coloured title-bar pictures.
inline constexpr int ThemeBarHeight = 20;
inline constexpr int ThemeButtonWidth = 14;
inline const QColor ThemeLeftColour(10, 200, 30);

inline std::unique_ptr<TkavFileTheme> writeTitleBarTheme(const QTemporaryDir &dir)
{
    QImage buttons(18 * ThemeButtonWidth, ThemeBarHeight - 2, QImage::Format_RGB32);
    for (int frame = 0; frame < 18; ++frame)
        for (int y = 0; y < buttons.height(); ++y)
            for (int x = 0; x < ThemeButtonWidth; ++x)
                buttons.setPixelColor(frame * ThemeButtonWidth + x, y, QColor(frame * 10, 0, 100));
    return KavTest::writeFixtureTheme(dir, QStringLiteral("titlebar"),
                                      {{KavKey::TitleBarLeftImage, solid(10, ThemeBarHeight, ThemeLeftColour)},
                                       {KavKey::TitleBarRightImage, solid(10, ThemeBarHeight, Qt::gray)},
                                       {KavKey::TitleBarClientImage, solid(4, ThemeBarHeight, Qt::darkGray)},
                                       {KavKey::TitleBarButtonImage, buttons}},
                                      {});
}

} // namespace TitleBarFixtures
