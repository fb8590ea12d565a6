#include "TimeLeft.h"

#include <QLocale>
#include <cmath>

namespace {
// The rate is measured over this much of the run's recent past.
constexpr long long kRateWindowMs = 5000;
// The time left is told once the run has gone this long and this far, and two
// estimates in a row of the whole run's length (reports come some 200 ms apart)
// agree within a tenth. Once told, it stays.
constexpr long long kSteadyAfterMs = 3000;
constexpr double kSteadyAfterShare = 0.02;
constexpr double kSteadyAgreement = 0.1;
constexpr long long kFewSeconds = 10;
constexpr long long kSecondsUpTo = 90; // beyond, minutes
} // namespace

QString TimeLeft::update(long long elapsedMs, double share)
{
    m_samples.push_back({.ms = elapsedMs, .share = share});
    while (m_samples.size() > 2 && m_samples[1].ms <= elapsedMs - kRateWindowMs)
        m_samples.pop_front();
    if (share >= 1.0)
        return {};
    const Sample &from = m_samples.front();
    // A run that did not move for a while (a printer taking a page, one value
    // of many copies) keeps the figure told last rather than losing it.
    if (elapsedMs <= from.ms || share <= from.share)
        return m_told;
    const double rate = (share - from.share) / double(elapsedMs - from.ms) * 1000.0; // share a second
    const double left = (1.0 - share) / rate;
    const double whole = elapsedMs / 1000.0 + left;
    if (!m_steady && elapsedMs >= kSteadyAfterMs && share >= kSteadyAfterShare && m_lastWhole
        && std::fabs(whole - *m_lastWhole) <= kSteadyAgreement * *m_lastWhole)
        m_steady = true;
    m_lastWhole = whole;
    if (!m_steady)
        return {};
    long long seconds = std::llround(left);
    // A figure that would go up by one second stays: a rate measured over a
    // few seconds wavers that much, and the figure would flicker.
    if (m_lastSeconds && seconds == *m_lastSeconds + 1)
        seconds = *m_lastSeconds;
    m_lastSeconds = seconds;
    if (seconds < kFewSeconds)
        m_told = QStringLiteral("A few seconds left");
    else if (seconds < kSecondsUpTo)
        m_told = QStringLiteral("About %1 seconds left").arg(seconds);
    else
        m_told = QStringLiteral("About %1 minutes left")
                     .arg(QLocale().toString(std::llround(double(seconds) / 60)));
    return m_told;
}
