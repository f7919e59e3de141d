#pragma once

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

// Ticks the repeat timers of held buttons when told to.
class DrivenClock {
public:
    struct Slot {
        int interval = 0;
        qint64 due = 0;
        std::function<void()> tick;
        bool alive = true;
    };

    // Runs every tick due up to now + ms, in time order.
    void advance(qint64 ms)
    {
        const qint64 until = m_now + ms;
        for (;;) {
            std::shared_ptr<Slot> next;
            for (const auto &slot : m_slots) {
                if (slot->alive && slot->interval > 0 && slot->due <= until && (!next || slot->due < next->due))
                    next = slot;
            }
            if (!next)
                break;
            m_now = next->due;
            next->due += next->interval;
            const std::function<void()> tick = next->tick; // the tick may free its timer
            tick();
        }
        m_now = until;
    }

    std::shared_ptr<Slot> add(int interval, std::function<void()> tick)
    {
        auto slot = std::make_shared<Slot>();
        slot->interval = interval;
        slot->due = m_now + interval;
        slot->tick = std::move(tick);
        m_slots.push_back(slot);
        return slot;
    }

private:
    qint64 m_now = 0;
    std::vector<std::shared_ptr<Slot>> m_slots;
};

class DrivenRepeatTimer final : public TkavRepeatTimer {
public:
    explicit DrivenRepeatTimer(DrivenClock &clock) : m_clock(clock) {}
    ~DrivenRepeatTimer() override
    {
        if (m_slot)
            m_slot->alive = false;
    }
    void start(int intervalMs, std::function<void()> tick) override { m_slot = m_clock.add(intervalMs, std::move(tick)); }

private:
    DrivenClock &m_clock;
    std::shared_ptr<DrivenClock::Slot> m_slot;
};

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
        writer.AddInteger(KavThemeKeyName(KavKey::ControlBorderColor), qint32(border.value));
        writer.AddInteger(KavThemeKeyName(KavKey::FormBackgroundColor), qint32(background.value));
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
    return color.toRgb();
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
