#include "ExamRandom.h"

namespace {
constexpr quint32 SeedMultiplier = 22695477u;          // 0x015A4E35
constexpr quint64 StepMultiplier = 0x0000015A00004E35ull;
}

void ExamRandom::seed(quint32 seed)
{
    m_state = quint32(seed * SeedMultiplier + 1u);
}

quint32 ExamRandom::step()
{
    m_state = m_state * StepMultiplier + 1u;
    return quint32(m_state >> 32) & 0x7FFFFFFFu;
}

int ExamRandom::draw(int n)
{
    if (n <= 0)
        return 0;
    return int(step() % quint32(n));
}
