#include "AtomicFileWriter.h"
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

AtomicFileWriter::AtomicFileWriter(const QString &path, AtomicFile::Sync sync) : m_path(path), m_sync(sync) {}

AtomicFileWriter::~AtomicFileWriter()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temporary.constData());
    }
}

void AtomicFileWriter::fail(int error)
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temporary.constData());
        m_fd = -1;
    }
    throw QuillError(QStringLiteral("Cannot write \"%1\": %2.")
                         .arg(m_path, QString::fromLocal8Bit(std::strerror(error))));
}

void AtomicFileWriter::open()
{
    const QFileInfo info(m_path);
    const QString folderPath = info.absolutePath();
    const QByteArray folder = QFile::encodeName(folderPath);
    m_target = QFile::encodeName(info.absoluteFilePath());
    WorkingFiles::sweepOnce(folderPath);
    for (int attempt = 0; m_fd < 0 && attempt < 16; ++attempt) {
        m_temporary = folder + '/' + WorkingFiles::newName(WorkingFiles::Kind::File);
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            fail(errno);
    }
    if (m_fd < 0)
        fail(EEXIST);
    ::flock(m_fd, LOCK_EX | LOCK_NB); // while it lives, no later run takes the file for a leftover
    // An existing file keeps its permissions (a private settings file stays private).
    struct stat old;
    if (::lstat(m_target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(m_fd, old.st_mode & 07777);
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
    const int fd = m_fd;
    m_fd = -1;
    int error = ::close(fd) != 0 ? errno : 0;
    if (!error && ::rename(m_temporary.constData(), m_target.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(m_temporary.constData());
        fail(error);
    }
    if (m_sync == AtomicFile::Sync::Yes) {
        // The rename itself lasts only once the folder is on the disk.
        const QByteArray folder = QFile::encodeName(QFileInfo(m_path).absolutePath());
        const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
}
