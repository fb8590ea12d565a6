#include "JobFolder.h"
#include "WorkingFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemWords(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

} // namespace

std::unique_ptr<JobFolder> JobFolder::make(const QString &place, QString *error)
{
    WorkingFiles::sweep(place);
    const int placeFd = ::open(QFile::encodeName(place).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (placeFd < 0) {
        *error = systemWords(errno);
        return nullptr;
    }
    QByteArray name;
    int folder = -1;
    int failure = EEXIST;
    for (int attempt = 0; folder < 0 && failure == EEXIST && attempt < 16; ++attempt) {
        name = WorkingFiles::newName(WorkingFiles::Kind::JobFolder);
        if (::mkdirat(placeFd, name.constData(), 0700) != 0) {
            failure = errno;
            continue;
        }
        folder = ::openat(placeFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        failure = folder < 0 ? errno : 0;
    }
    ::close(placeFd);
    struct stat made;
    // Between mkdir and open someone who may write in place could have put a
    // folder of their own at the name: the one opened must be ours alone.
    if (folder >= 0 && (::fstat(folder, &made) != 0 || made.st_uid != ::geteuid() || (made.st_mode & 077))) {
        ::close(folder);
        folder = -1;
        failure = EPERM;
    }
    if (folder < 0) {
        *error = systemWords(failure);
        return nullptr;
    }
    ::flock(folder, LOCK_EX | LOCK_NB);
    const int file = ::openat(folder, kFileName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0) {
        *error = systemWords(errno);
        ::unlinkat(folder, kFileName, 0);
        ::rmdir(QFile::encodeName(place + u'/' + QString::fromLatin1(name)).constData());
        ::close(folder);
        return nullptr;
    }
    return std::unique_ptr<JobFolder>(new JobFolder(place, folder, file, name));
}

JobFolder::JobFolder(QString place, int folder, int file, QByteArray name)
    : m_place(std::move(place))
    , m_folder(folder)
    , m_file(file)
    , m_name(std::move(name))
{
}

JobFolder::~JobFolder()
{
    if (!m_installed)
        ::unlinkat(m_folder, kFileName, 0);
    const QByteArray path = QFile::encodeName(m_place) + '/' + m_name;
    struct stat folder;
    struct stat named;
    // Only our own folder goes, not whatever was put at its name meanwhile.
    if (::fstat(m_folder, &folder) == 0 && ::lstat(path.constData(), &named) == 0 && sameFile(folder, named))
        ::rmdir(path.constData());
    ::close(m_file);
    ::close(m_folder);
}

QString JobFolder::filePath() const
{
    if (QFileInfo::exists(QStringLiteral("/proc/self/fd")))
        return QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(m_file);
    return m_place + u'/' + QString::fromLatin1(m_name) + u'/' + QLatin1String(kFileName);
}

QString JobFolder::writeFailure() const
{
    struct stat file;
    if (::fstat(m_file, &file) != 0)
        return systemWords(errno);
    const bool wrote = ::pwrite(m_file, "\n", 1, file.st_size) == 1 && ::fsync(m_file) == 0;
    return wrote ? QStringLiteral("it was not written to its end") : systemWords(errno);
}

QString JobFolder::copyTo(int descriptor) const
{
    char buffer[1 << 16];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(m_file, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemWords(errno);
        if (got == 0)
            return {};
        offset += got;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(descriptor, buffer + done, size_t(got - done));
            if (put < 0 && errno != EINTR)
                return systemWords(errno);
            done += put > 0 ? put : 0;
        }
    }
}

QString JobFolder::install(const QString &target)
{
    struct stat file;
    struct stat named;
    if (::fstat(m_file, &file) != 0 || ::fstatat(m_folder, kFileName, &named, AT_SYMLINK_NOFOLLOW) != 0)
        return systemWords(errno);
    if (!sameFile(file, named))
        return systemWords(EEXIST); // cannot happen while the folder is ours alone
    if (::renameat(m_folder, kFileName, AT_FDCWD, QFile::encodeName(target).constData()) != 0)
        return systemWords(errno);
    m_installed = true;
    return {};
}
