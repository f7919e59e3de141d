#pragma once

#include <QtGlobal>

// The exam's random source: a 64-bit linear congruential generator. Sheets must be reproducible
// from the seed alone (two starts in the same second give the same questions), so the constants
// and the bits taken from the state are fixed.
class ExamRandom
{
public:
    void seed(quint32 seed);

    // One step of the generator: bits 32 to 62 of the new state, 0 .. 2^31 - 1.
    quint32 step();

    // 0 .. n - 1 for n >= 1. draw(0) is 0 and takes no step.
    int draw(int n);

    quint64 state() const { return m_state; }

private:
    quint64 m_state = 0;
};
