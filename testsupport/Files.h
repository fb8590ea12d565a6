#pragma once
// Files as a test plants and reads them, by Qt alone, apart from the
// program's own writers and readers; and a disk or a memory that runs short.
#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// The file's bytes; a text no test writes when it cannot be read.
inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every name in the folder, hidden ones and links included.
inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The bytes written to a new file at path; whether all of them were.
inline bool plant(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs write under a limit (RLIMIT_FSIZE: a full disk, RLIMIT_AS; 0: none),
// restored afterwards.
template <typename Write> void limited(int resource, qint64 bytes, Write write)
{
    rlimit saved{};
    ::getrlimit(resource, &saved);
    const rlimit limit{bytes ? rlim_t(bytes) : saved.rlim_cur, saved.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(resource, &limit);
    write();
    ::setrlimit(resource, &saved);
}

// The address space the process takes now, in bytes; -1 when it cannot tell.
inline qint64 addressSpace()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const bool read = statm.open(QIODevice::ReadOnly);
    return read ? statm.readAll().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE) : -1;
}
