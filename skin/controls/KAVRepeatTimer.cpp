#include "KAVRepeatTimer.h"

#include <QTimer>

namespace {

class QtRepeatTimer final : public TkavRepeatTimer {
public:
    explicit QtRepeatTimer(QObject *owner) : m_timer(new QTimer(owner)) {}
    ~QtRepeatTimer() override
    {
        // The timer may be freed from inside its own tick; the owner deletes it should the
        // deferred deletion never run.
        m_timer->stop();
        QObject::disconnect(m_timer, nullptr, nullptr, nullptr);
        m_timer->deleteLater();
    }

    void start(int intervalMs, std::function<void()> tick) override
    {
        m_timer->setInterval(intervalMs);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, std::move(tick));
        m_timer->start();
    }

private:
    QTimer *m_timer;
};

} // namespace

namespace Kav {

std::unique_ptr<TkavRepeatTimer> makeRepeatTimer(const TkavRepeatTimerFactory &factory, QObject *owner)
{
    if (factory)
        return factory(owner);
    return std::make_unique<QtRepeatTimer>(owner);
}

} // namespace Kav
