#include "AtomicFile.h"
#include "AtomicFileWriter.h"
#include "QuillError.h"

#include <QFile>
#include <sys/stat.h>

namespace AtomicFile {

namespace {

QString kindOf(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return QStringLiteral("a folder");
    case S_IFCHR:
        return QStringLiteral("a character device");
    case S_IFBLK:
        return QStringLiteral("a block device");
    case S_IFIFO:
        return QStringLiteral("a named pipe");
    case S_IFSOCK:
        return QStringLiteral("a socket");
    default:
        return QStringLiteral("no regular file");
    }
}

} // namespace

void refuseSpecialTarget(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat entry;
    if (::lstat(name.constData(), &entry) != 0 || S_ISREG(entry.st_mode))
        return; // nothing there, or a file to replace; other failures are the write's to report
    QString kind;
    if (!S_ISLNK(entry.st_mode)) {
        kind = kindOf(entry.st_mode);
    } else {
        // A link to nothing (or a loop) is a name to take; a link to a file is replaced.
        struct stat linked;
        if (::stat(name.constData(), &linked) != 0 || S_ISREG(linked.st_mode))
            return;
        kind = QStringLiteral("a link to ") + kindOf(linked.st_mode);
    }
    throw QuillError(QStringLiteral("Cannot write \"%1\": it is %2, not a regular file.").arg(path, kind));
}

void write(const QString &path, const QByteArray &bytes, Sync sync)
{
    AtomicFileWriter file(path, sync);
    file.append(bytes);
    file.commit();
}

} // namespace AtomicFile
