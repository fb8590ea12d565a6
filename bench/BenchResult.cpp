#include "BenchResult.h"

namespace {

// bench/run splits on blanks, so values keep none.
QString field(QString value)
{
    value.replace(u' ', u'_');
    return value.isEmpty() ? QStringLiteral("-") : value;
}

} // namespace

QString BenchResult::resultLine() const
{
    QString line
        = QStringLiteral("RESULT task=%1 n=%2 seconds=%3 per_second=%4 peak_mb=%5 status=%6 verified=%7")
              .arg(task)
              .arg(count)
              .arg(seconds, 0, 'f', 6)
              .arg(seconds > 0 ? double(count) / seconds : 0.0, 0, 'f', 1)
              .arg(peakMb, 0, 'f', 1)
              .arg(ok ? QStringLiteral("ok") : QStringLiteral("failed"))
              .arg(field(verified));
    for (const auto &[key, value] : extra)
        line += QStringLiteral(" %1=%2").arg(key, field(value));
    return line;
}

QString BenchResult::sentence() const
{
    QString text = QStringLiteral("%1 %2: %3 s").arg(task).arg(count).arg(seconds, 0, 'f', 4);
    if (seconds > 0 && count > 1)
        text += QStringLiteral(", %1 a second").arg(double(count) / seconds, 0, 'f', 0);
    text += QStringLiteral(", peak %1 MB").arg(peakMb, 0, 'f', 1);
    if (!verified.isEmpty())
        text += QStringLiteral(", checked %1").arg(verified);
    text += ok ? QStringLiteral(", ok") : QStringLiteral(", FAILED");
    for (const QString &note : notes)
        text += QStringLiteral("\n  ") + note;
    return text;
}
