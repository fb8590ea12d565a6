#include "AtomicFile.h"
#include "QuillError.h"
#include "WorkingFiles.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFile {

namespace {

[[noreturn]] void fail(const QString &path, int error)
{
    throw QuillError(QStringLiteral("Cannot write \"%1\": %2.").arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

// 0 on success, else errno.
int writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        data += n;
        size -= n;
    }
    return 0;
}

} // namespace

void write(const QString &path, const QByteArray &bytes, Sync sync)
{
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    WorkingFiles::sweepOnce(info.absolutePath());
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = folder + '/' + WorkingFiles::newName(WorkingFiles::Kind::File);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            fail(path, errno);
    }
    if (fd < 0)
        fail(path, EEXIST);
    ::flock(fd, LOCK_EX | LOCK_NB); // while it lives, no later run takes the file for a leftover
    // An existing file keeps its permissions (a private settings file stays private).
    struct stat old;
    if (::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    int error = writeAll(fd, bytes.constData(), bytes.size());
    if (!error && sync == Sync::Yes && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        fail(path, error);
    }
    if (sync == Sync::Yes) {
        // The rename itself lasts only once the folder is on the disk.
        const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
}

} // namespace AtomicFile
