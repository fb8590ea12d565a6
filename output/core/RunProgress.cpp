#include "RunProgress.h"

#include <QLocale>
#include <cmath>

namespace {
// The time left is told once the run has gone this long and this far, and two
// estimates in a row of the whole run's length (reports come some 200 ms apart)
// agree within a tenth: the first values of a run are slower (caches, the
// printer's first page). Once told, it stays.
constexpr long long kSteadyAfterMs = 3000;
constexpr double kSteadyAfterShare = 0.02;
constexpr double kSteadyAgreement = 0.1;

QString timeLeft(double seconds)
{
    if (seconds < 10)
        return QStringLiteral("A few seconds left");
    if (seconds < 90)
        return QStringLiteral("About %1 seconds left").arg(std::lround(seconds / 5) * 5);
    return QStringLiteral("About %1 minutes left")
        .arg(QLocale().toString(qlonglong(std::lround(seconds / 60))));
}
} // namespace

QString RunProgress::counted(long long done, std::optional<long long> total, const QString &things)
{
    const QLocale locale;
    if (!total)
        return QStringLiteral("%1 %2").arg(locale.toString(qlonglong(done)), things);
    return QStringLiteral("%1 of %2 %3")
        .arg(locale.toString(qlonglong(done)), locale.toString(qlonglong(*total)), things);
}

RunProgress::Report RunProgress::report(long long done, long long elapsedMs, const Describe &describe)
{
    const std::optional<DataExtent> data = extent();
    if (!data || data->total <= 0)
        return {.text = describe(done, std::nullopt), .share = std::nullopt};
    const double share = std::clamp(double(data->done) / double(data->total), 0.0, 1.0);
    // A file's size is no count of values: its share is told beside the count.
    QString text = data->bytes ? describe(done, std::nullopt)
            + QStringLiteral(", %1% of the import file read").arg(std::lround(share * 100))
                               : describe(done, data->total);
    if (share > 0) {
        const double whole = elapsedMs / 1000.0 / share; // seconds the run takes at its rate so far
        if (!m_steady && elapsedMs >= kSteadyAfterMs && share >= kSteadyAfterShare && m_lastEstimate
            && std::fabs(whole - *m_lastEstimate) <= kSteadyAgreement * *m_lastEstimate)
            m_steady = true;
        m_lastEstimate = whole;
        if (m_steady && share < 1.0)
            text += u'\n' + timeLeft(whole - elapsedMs / 1000.0);
    }
    return {.text = text, .share = share};
}
