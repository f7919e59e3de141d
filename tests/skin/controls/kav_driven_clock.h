#pragma once

// A clock the control tests drive instead of waiting: repeat timers made by drivenFactory() tick
// only when the test advances the clock. Shared by the tests of every control that repeats while
// the mouse is held (buttons, spin edits, track bars, scroll bars).

#include "KAVRepeatTimer.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

namespace KavTest {

class DrivenClock {
public:
    struct Slot {
        int interval = 0;
        qint64 due = 0;
        std::function<void()> tick;
        bool alive = true;
    };

    // The driven time, in milliseconds since the clock was made.
    qint64 now() const { return m_now; }

    // Sets the time without running any tick (a clock that jumps); running timers keep ticking
    // at their intervals from the new time.
    void jumpTo(qint64 time)
    {
        for (const auto &slot : m_slots)
            slot->due += time - m_now;
        m_now = time;
    }

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

    // Timers still running.
    int running() const
    {
        int count = 0;
        for (const auto &slot : m_slots)
            count += slot->alive ? 1 : 0;
        return count;
    }

    // Timers made on this clock.
    int made = 0;

private:
    qint64 m_now = 0;
    std::vector<std::shared_ptr<Slot>> m_slots;
};

class DrivenTimer final : public TkavRepeatTimer {
public:
    explicit DrivenTimer(DrivenClock &clock) : m_clock(clock) { ++clock.made; }
    ~DrivenTimer() override
    {
        if (m_slot)
            m_slot->alive = false;
    }
    void start(int intervalMs, std::function<void()> tick) override { m_slot = m_clock.add(intervalMs, std::move(tick)); }

private:
    DrivenClock &m_clock;
    std::shared_ptr<DrivenClock::Slot> m_slot;
};

inline TkavRepeatTimerFactory drivenFactory(DrivenClock &clock)
{
    return [&clock](QObject *) { return std::make_unique<DrivenTimer>(clock); };
}

} // namespace KavTest
