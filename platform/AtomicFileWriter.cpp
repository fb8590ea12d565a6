#include "AtomicFileWriter.h"
#include "QuillError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

AtomicFileWriter::AtomicFileWriter(const QString &path) : m_path(path) {}

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

void AtomicFileWriter::append(const QByteArray &bytes)
{
    if (m_fd < 0) {
        const QFileInfo info(m_path);
        const QByteArray folder = QFile::encodeName(info.absolutePath());
        for (int attempt = 0; m_fd < 0 && attempt < 16; ++attempt) {
            const quint64 random = QRandomGenerator::system()->generate64();
            m_temporary = folder + "/.quill-" + QByteArray::number(random, 36) + ".tmp";
            const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
            m_fd = ::open(m_temporary.constData(), flags, 0666);
            if (m_fd < 0 && errno != EEXIST)
                fail(errno);
        }
        if (m_fd < 0)
            fail(EEXIST);
        // An existing file keeps its permissions.
        struct stat old;
        const QByteArray target = QFile::encodeName(info.absoluteFilePath());
        if (::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
            ::fchmod(m_fd, old.st_mode & 07777);
    }
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
        append(QByteArray());
    const int fd = m_fd;
    m_fd = -1;
    const QByteArray target = QFile::encodeName(QFileInfo(m_path).absoluteFilePath());
    int error = ::close(fd) != 0 ? errno : 0;
    if (!error && ::rename(m_temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(m_temporary.constData());
        fail(error);
    }
}
