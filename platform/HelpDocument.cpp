#include "HelpDocument.h"
#include "AtomicFile.h"
#include "QuillError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextDocument>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace HelpDocument {

namespace {

// Makes folder and those above it that are missing; the message names the page
// and the first folder that could not be made, with the system's reason (a
// read-only cache says so, not that the page's folder is missing).
void makeFolder(const QString &folder, const QString &page)
{
    if (QFileInfo(folder).isDir())
        return;
    const QString parent = QFileInfo(folder).absolutePath();
    if (parent != folder)
        makeFolder(parent, page);
    const int error = ::mkdir(QFile::encodeName(folder).constData(), 0777) == 0 ? 0 : errno;
    if (QFileInfo(folder).isDir())
        return;
    const QString why = QString::fromLocal8Bit(std::strerror(error == EEXIST ? ENOTDIR : error));
    throw QuillError(QStringLiteral("Cannot write \"%1\": its folder \"%2\" cannot be made: %3.")
                         .arg(page, folder, why));
}

} // namespace

QString readmePath()
{
    const QStringList candidates = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/quillmark/README.md"),
        QStringLiteral(QUILLMARK_SOURCE_DIR "/README.md")};
    for (const QString &path : candidates)
        if (QFileInfo(path).isFile())
            return QFileInfo(path).canonicalFilePath();
    return {};
}

QString userHtml(const QString &markdown, const QString &folder)
{
    // The developers' part starts with the benchmarks.
    const qsizetype end = markdown.indexOf(QStringLiteral("\n## Benchmarks"));
    QTextDocument document;
    document.setMarkdown(end < 0 ? markdown : markdown.left(end));
    QString html = document.toHtml();
    const QString base = QStringLiteral("<base href=\"%1\"/>").arg(QUrl::fromLocalFile(folder + '/').toString());
    const qsizetype head = html.indexOf(QStringLiteral("<head>"));
    return head < 0 ? base + html : html.insert(head + 6, base);
}

QString writeUserPage()
{
    const QString readme = readmePath();
    QFile file(readme);
    if (readme.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw QuillError(QStringLiteral("The help is not installed; \"man quillmark\" describes the program."));
    const QString html = userHtml(QString::fromUtf8(file.readAll()), QFileInfo(readme).absolutePath());
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString page = QDir(folder).filePath(QStringLiteral("quillmark-help.html"));
    makeFolder(QDir::cleanPath(folder), page);
    AtomicFile::write(page, html.toUtf8());
    return page;
}

} // namespace HelpDocument
