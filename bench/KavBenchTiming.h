#pragma once

// Timing shared by the benchmarks: the median of repeated runs, which a stray slow run (another
// process on the machine) does not move.

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace KavBench {

// The middle value (the mean of the two middle values for an even count); 0 for none.
inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs work rounds times, each after prepare (untimed, when given), and gives the median time of
// work in milliseconds.
inline double medianMs(int rounds, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(std::move(times));
}

// Runs a and b in turns, rounds times each, and gives the median times of both in milliseconds:
// a side-by-side comparison that a change of the machine's load during the run does not tilt.
inline std::pair<double, double> medianPairMs(int rounds, const std::function<void()> &a,
                                              const std::function<void()> &b)
{
    std::vector<double> timesA, timesB;
    const auto timed = [](const std::function<void()> &work) {
        QElapsedTimer timer;
        timer.start();
        work();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    for (int round = 0; round < rounds; ++round) {
        timesA.push_back(timed(a));
        timesB.push_back(timed(b));
    }
    return {median(std::move(timesA)), median(std::move(timesB))};
}

} // namespace KavBench
