#include "RunProgress.h"

#include <QLocale>
#include <cmath>

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
    const QString left = m_timeLeft.update(elapsedMs, share);
    if (!left.isEmpty())
        text += u'\n' + left;
    return {.text = text, .share = share};
}
