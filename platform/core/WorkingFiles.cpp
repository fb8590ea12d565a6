#include "WorkingFiles.h"
#include "JobFolder.h"

#include <QFile>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace WorkingFiles {

namespace {

constexpr char kPrefix[] = ".quill-";

bool running(qint64 pid)
{
    // EPERM: it runs, as another user.
    return pid == ::getpid() || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

// Removes name from the folder dir when it is still the leftover it looked
// like: ours, of its kind, and unlocked.
void removeLeftover(int dir, const char *name, Kind kind)
{
    struct stat seen;
    if (::fstatat(dir, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || seen.st_uid != ::geteuid())
        return;
    if (kind == Kind::File ? !S_ISREG(seen.st_mode) : !S_ISDIR(seen.st_mode))
        return;
    const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (kind == Kind::File ? 0 : O_DIRECTORY);
    const int fd = ::openat(dir, name, flags);
    if (fd < 0)
        return;
    struct stat opened;
    if (::fstat(fd, &opened) == 0 && opened.st_ino == seen.st_ino && opened.st_dev == seen.st_dev
        && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        if (kind == Kind::JobFolder) {
            ::unlinkat(fd, JobFolder::kFileName, 0);
            ::unlinkat(dir, name, AT_REMOVEDIR); // anything else inside keeps it
        } else {
            ::unlinkat(dir, name, 0);
        }
    }
    ::close(fd);
}

std::atomic<pid_t> g_pid{0}; // 0: not asked yet, or forked since

// This process's id, asked once and again in a forked child: a save run names
// thousands of files, and each question is a call into the kernel.
pid_t ownPid()
{
    static const bool forgottenAtFork = ::pthread_atfork(nullptr, nullptr, [] { g_pid = 0; }) == 0;
    if (!forgottenAtFork)
        return ::getpid();
    pid_t pid = g_pid.load();
    if (pid == 0) {
        pid = ::getpid();
        g_pid.store(pid);
    }
    return pid;
}

} // namespace

QByteArray newName(Kind kind)
{
    return kPrefix + QByteArray::number(ownPid()) + '-'
        + QByteArray::number(QRandomGenerator::system()->generate64(), 36)
        + (kind == Kind::File ? ".tmp" : ".job");
}

void sweep(const QString &folder)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\.quill-([1-9][0-9]{0,9})-[0-9a-z]{1,13}\\.(tmp|job)$"));
    DIR *list = ::opendir(QFile::encodeName(folder).constData());
    if (!list)
        return;
    while (const dirent *entry = ::readdir(list)) {
        if (std::strncmp(entry->d_name, kPrefix, sizeof kPrefix - 1) != 0)
            continue; // most names in a folder of pictures: no need to look closer
        const auto match = pattern.match(QString::fromLatin1(entry->d_name));
        if (!match.hasMatch() || running(match.captured(1).toLongLong()))
            continue;
        const Kind kind = match.captured(2) == u"tmp" ? Kind::File : Kind::JobFolder;
        removeLeftover(::dirfd(list), entry->d_name, kind);
    }
    ::closedir(list);
}

void sweepOnce(const QString &folder)
{
    static QMutex mutex;
    static QSet<QString> swept;
    {
        const QMutexLocker lock(&mutex);
        if (swept.contains(folder))
            return;
        swept.insert(folder);
    }
    sweep(folder);
}

} // namespace WorkingFiles
