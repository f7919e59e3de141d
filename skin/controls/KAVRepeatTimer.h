#pragma once

#include <QObject>

#include <functional>
#include <memory>

// The ticking behind everything that repeats while the mouse is held: a held button's
// auto-repeat, a track bar's paging. The default one runs on a QTimer; tests (of the buttons and
// of the controls built from them) install a driven one so that nothing waits for real time.
class TkavRepeatTimer {
public:
    virtual ~TkavRepeatTimer() = default;
    // Calls tick every intervalMs milliseconds until destroyed, the first time one full interval
    // after this call. Destroying the timer from inside tick is allowed.
    virtual void start(int intervalMs, std::function<void()> tick) = 0;
};

// Makes a repeat timer; owner is the control that repeats.
using TkavRepeatTimerFactory = std::function<std::unique_ptr<TkavRepeatTimer>(QObject *owner)>;

namespace Kav {
// A timer from factory, or a QTimer-driven one (a child of owner) when factory is empty.
std::unique_ptr<TkavRepeatTimer> makeRepeatTimer(const TkavRepeatTimerFactory &factory, QObject *owner);
} // namespace Kav
