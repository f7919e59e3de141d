#pragma once

#include "KAVMetrics.h"
#include "kav_driven_clock.h"

#include <QList>
#include <QMetaEnum>

// Fixtures of the edit and combo box tests: a clock the tests drive instead of waiting, a beep
// counter, a small theme file, renders and key events.

#include "KAVCustomButton.h"
#include "KAVEdit.h"
#include "KAVMgr.h"
#include "KAVThemeFile.h"

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace fixtures {

using KavTest::DrivenClock;
using DrivenRepeatTimer = KavTest::DrivenTimer;

// The five built-in looks, from the library's own table, and their names.
inline const QList<TkavUIStyle> &builtInLooks()
{
    static const QList<TkavUIStyle> looks(Kav::Metrics::BuiltInLooks.begin(), Kav::Metrics::BuiltInLooks.end());
    return looks;
}

inline QString lookName(TkavUIStyle look)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
}



// Installs the driven clock for every button made while it lives.
class DrivenRepeat {
public:
    DrivenRepeat()
        : m_previous(TkavCustomButton::setRepeatTimerFactory(
              [this](QObject *) { return std::make_unique<DrivenRepeatTimer>(clock); }))
    {
    }
    ~DrivenRepeat() { TkavCustomButton::setRepeatTimerFactory(m_previous); }

    DrivenClock clock;

private:
    TkavRepeatTimerFactory m_previous;
};

// Counts the beeps of the edits while it lives, silently.
class BeepCounter {
public:
    BeepCounter() : m_previous(Kav::KavSetBeepHandler([this](QWidget *) { ++count; })) {}
    ~BeepCounter() { Kav::KavSetBeepHandler(m_previous); }

    int count = 0;

private:
    Kav::BeepHandler m_previous;
};

// A loaded theme file with the given control border and form background colours.
inline std::unique_ptr<TkavFileTheme> colourTheme(const QTemporaryDir &dir, TColor border, TColor background)
{
    const QString path = dir.filePath(QStringLiteral("colours.kav"));
    {
        TkavThemeFileWriter writer(path);
        writer.AddInteger(Kav::KavThemeKeyName(KavKey::ControlBorderColor), qint32(border.value));
        writer.AddInteger(Kav::KavThemeKeyName(KavKey::FormBackgroundColor), qint32(background.value));
        if (!writer.Save())
            return nullptr;
    }
    auto theme = std::make_unique<TkavFileTheme>();
    theme->setThemeFile(path);
    return theme->CanUse() ? std::move(theme) : nullptr;
}

inline QImage render(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb rgb(TColor color)
{
    return color.resolved().rgb();
}

// Sends a key press (and its release) as the keyboard would; returns whether the press was
// accepted, i.e. did not go on to the parent.
inline bool pressKey(QWidget *widget, int key, const QString &text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
    return press.isAccepted();
}

} // namespace fixtures
