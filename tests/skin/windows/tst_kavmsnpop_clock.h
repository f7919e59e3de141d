#pragma once

// A clock the notice tests drive: now() is the driven time, and the timers made by factory() tick
// only when the test advances it, each tick seeing now() at its own due time.

#include "KAVMSNPopForm.h"

#include <memory>
#include <vector>

namespace KavTest {

class NoticeClock {
public:
    struct Slot {
        int interval = 0;
        qint64 due = 0;
        std::function<void()> tick;
        bool alive = true;
    };

    qint64 now() const { return m_now; }

    // Runs every tick due up to now + ms, in time order.
    void advance(qint64 ms)
    {
        const qint64 until = m_now + ms;
        for (;;) {
            std::shared_ptr<Slot> next;
            for (const auto &slot : m_slots)
                if (slot->alive && slot->due <= until && (!next || slot->due < next->due))
                    next = slot;
            if (!next)
                break;
            m_now = next->due;
            next->due += next->interval;
            const std::function<void()> tick = next->tick; // the tick may free its timer
            tick();
        }
        m_now = until;
    }

    // Sets the time without running any tick (a clock that jumps); running timers keep ticking
    // at their intervals from the new time.
    void jumpTo(qint64 time)
    {
        for (const auto &slot : m_slots)
            slot->due += time - m_now;
        m_now = time;
    }

    int running() const
    {
        int count = 0;
        for (const auto &slot : m_slots)
            count += slot->alive ? 1 : 0;
        return count;
    }

    TkavNoticeClock clock()
    {
        TkavNoticeClock c;
        c.now = [this] { return m_now; };
        c.timers = [this](QObject *) { return std::make_unique<Timer>(*this); };
        return c;
    }

private:
    class Timer final : public TkavRepeatTimer {
    public:
        explicit Timer(NoticeClock &clock) : m_clock(clock) {}
        ~Timer() override
        {
            if (m_slot)
                m_slot->alive = false;
        }
        void start(int intervalMs, std::function<void()> tick) override
        {
            m_slot = std::make_shared<Slot>();
            m_slot->interval = qMax(1, intervalMs);
            m_slot->due = m_clock.m_now + m_slot->interval;
            m_slot->tick = std::move(tick);
            m_clock.m_slots.push_back(m_slot);
        }

    private:
        NoticeClock &m_clock;
        std::shared_ptr<Slot> m_slot;
    };

    qint64 m_now = 0;
    std::vector<std::shared_ptr<Slot>> m_slots;
};

} // namespace KavTest
