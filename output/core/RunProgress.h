#pragma once
#include "Module1.h"
#include "TimeLeft.h"

#include <QString>
#include <functional>
#include <optional>

// Thrown out of a run when the user cancelled it.
struct RunCancelled { };

// Word of a long run, told of every value done. Showing it and offering
// Cancel belongs to the window side (ProgressWindow); the run only counts.
class RunProgress {
public:
    virtual ~RunProgress() = default;

    // One more value done; raises RunCancelled when the user cancelled. A
    // short run costs one counter a value.
    void step(long long done)
    {
        if ((++m_calls & 15) == 0)
            look(done);
    }

    // Where the run's data ends, asked at each look: a sequence's count or an
    // import file's size. Without it, or while it gives none, the end is unknown.
    void setExtent(std::function<std::optional<DataExtent>()> extent) { m_extent = std::move(extent); }
    std::optional<DataExtent> extent() const { return m_extent ? m_extent() : std::nullopt; }

    // What the window says at done, with the run's own words for a count
    // (describe: done, and the total when known): "3,888 of 20,000 pictures",
    // with the share of the import file read, and the time left once steady.
    struct Report {
        QString text;
        std::optional<double> share; // 0 to 1; none: a busy bar
    };
    using Describe = std::function<QString(long long done, std::optional<long long> total)>;
    Report report(long long done, long long elapsedMs, const Describe &describe);
    // A count with the locale's digit grouping: "3,888 of 20,000 pictures", "3,888 pictures".
    static QString counted(long long done, std::optional<long long> total, const QString &things);

protected:
    virtual void look(long long done) = 0;

private:
    unsigned m_calls = 0;
    std::function<std::optional<DataExtent>()> m_extent;
    TimeLeft m_timeLeft;
};
