#pragma once
#include <QString>
#include <deque>
#include <optional>

// The time a run has left, from its reports of how far it is: at the rate of
// its last few seconds, since the first values of a run go slower (caches,
// the printer's first page, the files' folder) and a rate averaged from the
// start would lag behind for most of the run.
class TimeLeft {
public:
    // A report at elapsedMs with share (0 to 1) done: "About 12 seconds left",
    // "A few seconds left" under ten, minutes from 90 seconds; empty until the
    // rate is steady, and once the run is done.
    QString update(long long elapsedMs, double share);

private:
    struct Sample {
        long long ms = 0;
        double share = 0;
    };
    std::deque<Sample> m_samples; // the reports of the last few seconds, and one before them
    std::optional<double> m_lastWhole; // the run's whole length in seconds, as the last report saw it
    std::optional<long long> m_lastSeconds; // the figure told last
    QString m_told; // and its text
    bool m_steady = false;
};
