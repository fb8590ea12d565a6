#include "PrintJob.h"
#include "AtomicFile.h"
#include "JobFolder.h"
#include "PrintServer.h"
#include "QuillError.h"
#include "SteadyPdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>

#include <unistd.h>

namespace {

// Qt's PDF writer reports success even when its writes failed (a full disk),
// so the file is read back: a whole PDF ends with its trailer, whose start
// offset points at the cross-reference table.
bool pdfComplete(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 32)
        return false;
    const qint64 size = file.size();
    file.seek(qMax<qint64>(0, size - 64));
    static const QRegularExpression trailer(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const auto match = trailer.match(QString::fromLatin1(file.readAll()));
    const qint64 xref = match.hasMatch() ? match.captured(1).toLongLong() : -1;
    return xref > 0 && xref < size && file.seek(xref) && file.read(4) == "xref";
}

} // namespace

PrintJob::PrintJob(QPrinter &printer, const Destination &to)
    : m_printer(printer)
    , m_to(to)
{
    if (to.preview) {
        if (!m_painter.begin(&printer))
            throw QuillError(QStringLiteral("The preview could not be drawn."));
        return;
    }
    // A device, a pipe or a link to one where the PDF should go is refused before a page is drawn.
    if (!to.pdfFile.isEmpty())
        AtomicFile::refuseSpecialTarget(to.pdfFile);
    const QString place = to.pdfFile.isEmpty() ? QDir::tempPath() : QFileInfo(to.pdfFile).absolutePath();
    QString why;
    m_folder = JobFolder::make(place, &why);
    if (!m_folder) {
        if (!to.pdfFile.isEmpty())
            throw QuillError(QStringLiteral("The PDF file %1 cannot be written: %2.")
                                 .arg(QDir::toNativeSeparators(to.pdfFile), why));
        throw QuillError(QStringLiteral("The print job could not be started: "
                                        "no working file can be made in %1: %2.")
                             .arg(QDir::toNativeSeparators(QDir::tempPath()), why));
    }
    const QString file = m_folder->filePath();
    if (!to.pdfFile.isEmpty())
        QFile::setPermissions(file,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    // A name without the .pdf suffix keeps a queue's own engine (its paper and
    // resolution) while it writes to the file instead of sending at once.
    printer.setOutputFileName(file);
    printer.setDocName(QStringLiteral("Quillmark labels"));
    printer.setFullPage(true);
    if (!m_painter.begin(&printer))
        throw QuillError(
            QStringLiteral("The printer \"%1\" could not start the print job.").arg(to.deviceName));
}

PrintJob::~PrintJob()
{
    if (m_painter.isActive())
        m_painter.end();
}

QuillError PrintJob::notWritten(const QString &why) const
{
    return QuillError(QStringLiteral("%1 could not be written: %2.").arg(m_to.target, why));
}

void PrintJob::newPage()
{
    // The PDF writer refuses a new page once a write of the last one failed.
    if (!m_printer.newPage())
        throw notWritten(m_folder ? m_folder->writeFailure() : QString());
}

void PrintJob::end()
{
    const bool ended = m_painter.end();
    if (m_to.preview)
        return;
    if (!ended || !pdfComplete(m_folder->filePath()))
        throw notWritten(m_folder->writeFailure());
    // The same labels give the same file: no date of the run in it.
    if (!SteadyPdf::dropDate(m_folder->filePath()))
        throw notWritten(m_folder->writeFailure());
    if (m_to.standardOutput) {
        if (const QString why = m_folder->copyTo(STDOUT_FILENO); !why.isEmpty())
            throw notWritten(why);
        return;
    }
    if (!m_to.pdfFile.isEmpty()) {
        if (const QString why = m_folder->install(m_to.pdfFile); !why.isEmpty())
            throw notWritten(why);
        return;
    }
    // The queue gets the finished job in one piece, on the media and at the
    // resolution it was drawn for.
    PrintServer::submit(m_to.queue, m_to.queueOptions, m_folder->filePath());
}
