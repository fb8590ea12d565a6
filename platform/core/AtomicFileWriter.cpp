#include "AtomicFileWriter.h"
#include "QuillError.h"
#include "WorkingFiles.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

AtomicFileWriter::AtomicFileWriter(const QString &path, AtomicFile::Sync sync)
    : m_path(path)
    , m_sync(sync)
{
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

void AtomicFileWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
        m_fd = -1;
    }
}

void AtomicFileWriter::fail(int error)
{
    discard();
    throw QuillError(
        QStringLiteral("Cannot write \"%1\": %2.").arg(m_path, QString::fromLocal8Bit(std::strerror(error))));
}

namespace {

// A file made without a name is linked in through its entry here.
bool procFdAvailable()
{
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

} // namespace

void AtomicFileWriter::open()
{
    AtomicFile::refuseSpecialTarget(m_path);
    const QFileInfo info(m_path);
    const QString folderPath = info.absolutePath();
    m_folder = QFile::encodeName(folderPath);
    m_target = QFile::encodeName(info.absoluteFilePath());
    WorkingFiles::sweepOnce(folderPath);
    // Where the file system can, the file is made without a name and so can
    // never be left behind; it gets its name at commit().
    if (procFdAvailable()) {
        m_fd = ::open(m_folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return;
    }
    takeWorkingName([this](const QByteArray &name) {
        m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        return m_fd >= 0;
    });
    keepTargetMode();
}

void AtomicFileWriter::takeWorkingName(const std::function<bool(const QByteArray &)> &make)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray name = m_folder + '/' + WorkingFiles::newName(WorkingFiles::Kind::File);
        if (make(name)) {
            m_temporary = name;
            // While it lives, no later run takes the file for a leftover.
            ::flock(m_fd, LOCK_EX | LOCK_NB);
            return;
        }
        if (errno != EEXIST)
            fail(errno);
    }
    fail(EEXIST);
}

// An existing file keeps its permissions (a private settings file stays
// private), but never the right to run as its owner or group: a picture is no program.
void AtomicFileWriter::keepTargetMode()
{
    struct stat old;
    if (::lstat(m_target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(m_fd, old.st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID));
}

// Gives the nameless file the target's name; false when a working name was
// given instead, for a rename over the file there.
bool AtomicFileWriter::linkAtTarget()
{
    // Linking the file itself is allowed to the privileged, and on newer kernels
    // to its opener; else its entry in /proc serves.
    static std::atomic<bool> byDescriptor{true};
    if (byDescriptor.load(std::memory_order_relaxed)) {
        if (::linkat(m_fd, "", AT_FDCWD, m_target.constData(), AT_EMPTY_PATH) == 0)
            return true;
        if (errno == EEXIST)
            return replaceTarget();
        byDescriptor.store(false, std::memory_order_relaxed);
    }
    const QByteArray entry = "/proc/self/fd/" + QByteArray::number(m_fd);
    if (::linkat(AT_FDCWD, entry.constData(), AT_FDCWD, m_target.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != EEXIST)
        fail(errno);
    return replaceTarget();
}

bool AtomicFileWriter::replaceTarget()
{
    const QByteArray entry = "/proc/self/fd/" + QByteArray::number(m_fd);
    keepTargetMode();
    takeWorkingName([&entry](const QByteArray &name) {
        return ::linkat(AT_FDCWD, entry.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
    });
    return false;
}

void AtomicFileWriter::append(const QByteArray &bytes)
{
    if (m_fd < 0)
        open();
    const char *data = bytes.constData();
    qsizetype size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n < 0 ? errno : EIO);
        data += n;
        size -= n;
    }
}

void AtomicFileWriter::commit()
{
    if (m_fd < 0)
        open();
    if (m_sync == AtomicFile::Sync::Yes && ::fsync(m_fd) != 0)
        fail(errno);
    // What took the target's place while the pieces were made is refused too.
    try {
        AtomicFile::refuseSpecialTarget(m_path);
    } catch (const QuillError &) {
        discard();
        throw;
    }
    const bool linked = m_temporary.isEmpty() && linkAtTarget();
    const int fd = m_fd;
    m_fd = -1;
    int error = ::close(fd) != 0 ? errno : 0;
    if (!error && !linked && ::rename(m_temporary.constData(), m_target.constData()) != 0)
        error = errno;
    if (error) {
        if (linked)
            ::unlink(m_target.constData());
        else
            ::unlink(m_temporary.constData());
        fail(error);
    }
    if (m_sync == AtomicFile::Sync::Yes) {
        // The new name itself lasts only once the folder is on the disk.
        const int dir = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
}
