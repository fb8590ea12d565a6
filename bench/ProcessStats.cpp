#include "ProcessStats.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace ProcessStats {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}

namespace {

double nowSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Field 22 of /proc/self/stat: start time in clock ticks after boot. The command
// name in field 2 may hold blanks, so fields are counted after its closing ')'.
double processStartSinceBoot()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1.0;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1.0;
    return fields.at(19).toDouble() / double(sysconf(_SC_CLK_TCK));
}

} // namespace

double secondsSinceLaunch()
{
    bool ok = false;
    const qint64 launchNs = qEnvironmentVariable("QUILLBENCH_LAUNCH_NS").toLongLong(&ok);
    if (ok && launchNs > 0)
        return nowSeconds(CLOCK_REALTIME) - double(launchNs) * 1e-9;
    return nowSeconds(CLOCK_BOOTTIME) - processStartSinceBoot();
}

} // namespace ProcessStats
