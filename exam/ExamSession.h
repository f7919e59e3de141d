#pragma once

#include "ExamRandom.h"

#include <QString>

#include <functional>

class ExamControls;

// The exam's behaviour: start, clock, hand-in. It keeps no record of the questions (the row
// captions are the record) and no counter for the clock (the clock text is the state), so it
// works on the window only through ExamControls.
class ExamSession
{
public:
    // Calendar time in whole seconds; the seed of the random source. Tests inject their own.
    using SecondsClock = std::function<qint64()>;
    static qint64 systemSeconds();

    enum class HandIn { ByButton, TimeUp };

    explicit ExamSession(ExamControls &controls, SecondsClock clock = &ExamSession::systemSeconds);

    // Called after every hand-in, by button or at time-up, once the report is written.
    void setHandedInListener(std::function<void()> listener);

    // Starts an exam; false, with nothing changed, when the time text is unreadable
    // (timeLimitRefusal() says why).
    [[nodiscard]] bool start();
    void tick();
    void clockChanged(const QString &clockText);
    void handIn(HandIn how);

private:
    void clearSheet();
    void fillRows(const struct ExamSettings &settings);

    ExamControls &m_controls;
    SecondsClock m_clock;
    ExamRandom m_random;
    std::function<void()> m_handedIn;
};
