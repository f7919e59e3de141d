#pragma once

// The clock the notice tests drive: now() is the driven time, and the notice's timers tick only
// when the test advances it, each tick seeing now() at its own due time.

#include "KAVMSNPopForm.h"

#include "../controls/kav_driven_clock.h"

namespace KavTest {

class NoticeClock : public DrivenClock {
public:
    TkavNoticeClock clock()
    {
        TkavNoticeClock c;
        c.now = [this] { return now(); };
        c.timers = drivenFactory(*this);
        return c;
    }
};

} // namespace KavTest
