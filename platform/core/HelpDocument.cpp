#include "HelpDocument.h"
#include "AtomicFile.h"
#include "QuillError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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
    throw QuillError(
        QStringLiteral("Cannot write \"%1\": its folder \"%2\" cannot be made: %3.").arg(page, folder, why));
}

} // namespace

QString manualPath()
{
    const QString page = QStringLiteral("/docs/manual/index.md");
    const QStringList candidates
        = {QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/quillmark") + page,
           QStringLiteral(QUILLMARK_SOURCE_DIR) + page};
    for (const QString &path : candidates)
        if (QFileInfo(path).isFile())
            return QFileInfo(path).canonicalFilePath();
    return {};
}

QString notInstalled()
{
    return QStringLiteral("The help is not installed; \"man quillmark\" describes the program.");
}

QString pageHtml(const QString &markdown, const QString &folder, const QString &pages)
{
    QTextDocument document;
    document.setMarkdown(markdown);
    QString html = document.toHtml();
    // The base finds the pictures beside the Markdown; the pages themselves are
    // HTML in the cache, so their links are made whole.
    static const QRegularExpression pageLink(QStringLiteral("href=\"([\\w-]+)\\.md(#[^\"]*)?\""));
    const QString target = QUrl::fromLocalFile(pages + u'/').toString();
    html.replace(pageLink, QStringLiteral("href=\"%1\\1.html\\2\"").arg(target));
    const QString pictures = QUrl::fromLocalFile(folder + u'/').toString();
    const QString base = QStringLiteral("<base href=\"%1\"/>").arg(pictures);
    const qsizetype head = html.indexOf(QStringLiteral("<head>"));
    return head < 0 ? base + html : html.insert(head + 6, base);
}

QString writeUserPage()
{
    const QString first = manualPath();
    if (first.isEmpty())
        throw QuillError(notInstalled());
    const QDir manual = QFileInfo(first).absoluteDir();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString folder = QDir::cleanPath(cache + QStringLiteral("/help"));
    const QString index = QDir(folder).filePath(QStringLiteral("index.html"));
    makeFolder(folder, index);
    for (const QFileInfo &page : manual.entryInfoList({QStringLiteral("*.md")}, QDir::Files)) {
        QFile file(page.filePath());
        if (!file.open(QIODevice::ReadOnly))
            throw QuillError(QStringLiteral("The help page \"%1\" cannot be read: %2.")
                                 .arg(page.filePath(), file.errorString()));
        const QString html = pageHtml(QString::fromUtf8(file.readAll()), manual.path(), folder);
        const QString name = page.completeBaseName() + QStringLiteral(".html");
        AtomicFile::write(QDir(folder).filePath(name), html.toUtf8());
    }
    return index;
}

} // namespace HelpDocument
