#include "DesignJob.h"
#include "LabelPrinter.h"
#include "PrintRun.h"
#include "QuillError.h"
#include "SaveRun.h"

#include <QFileInfo>

DesignJob::DesignJob(const LabelDocument &document, bool standardInput)
    : m_document(document)
    , m_source(m_document, standardInput)
    , m_data(m_source)
    , m_renderer(m_document)
{
}

QString DesignJob::save(const QString &file)
{
    const QString name = QFileInfo(file).absoluteFilePath();
    SaveRun run(m_document, m_renderer, name);
    m_data.checkRun();
    try {
        run.run(m_data);
    } catch (const QuillError &) {
        m_data.endRun();
        throw;
    }
    // After the run: only then does the symbol hold a value to measure.
    if (const QString warning = run.moduleWarning(); !warning.isEmpty() && m_warn)
        m_warn(warning);
    return SaveRun::picturesIn(run.filesWritten(), QFileInfo(name).absolutePath());
}

QString DesignJob::print(LabelPrinter &printer, int firstLabel, int copies)
{
    PrintRun run(m_document, m_renderer, m_data, printer);
    run.setFirstLabel(firstLabel);
    run.setCopies(copies);
    if (!run.execute())
        throw QuillError(run.error());
    if (const QString warning = run.moduleWarning(); !warning.isEmpty() && m_warn)
        m_warn(warning);
    return QStringLiteral("%1 to %2").arg(run.labelsOnPages(run.labelsDrawn()), printer.deviceName());
}
