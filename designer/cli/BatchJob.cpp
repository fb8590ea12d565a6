#include "BatchJob.h"
#include "Design.h"
#include "DesignCodec.h"
#include "DesignJob.h"
#include "DesignValues.h"
#include "FieldTemplate.h"
#include "ImportTemplate.h"
#include "JobPrinter.h"
#include "Numbers.h"
#include "ObjectSections.h"
#include "QuillError.h"
#include "SettingsStore.h"
#include "StoredValue.h"
#include "SymbolBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The stored design as the window starts with it, read but never written. A
// symbology the program never writes (999, -5, nan) shows as the list's first
// one in the window, where a person sees what is chosen; a job has nobody to
// look, so it says that none is chosen.
Design storedDesign()
{
    const QString path = SettingsStore::userStorePath(QStringLiteral("Quillmark2"));
    const QString file = QStringLiteral("The settings file %1").arg(QDir::toNativeSeparators(path));
    const SettingsStore store(path, SettingsStore::Access::ReadOnly);
    if (!store.readFailure().isEmpty())
        throw QuillError(QStringLiteral("%1 cannot be read: %2.").arg(file, store.readFailure()));
    if (!store.wellFormed())
        throw QuillError(QStringLiteral("%1 cannot be read as a Quillmark settings file.").arg(file));
    const Design design = Design::fromStore(store);
    const QString symbology = design.text(DesignKey::Symbology);
    if (!Design::fault(DesignKey::Symbology, symbology).isEmpty())
        throw QuillError(QStringLiteral("%1 %2 holds bartype=%3, which is no position in that list.")
                             .arg(SymbolBuilder::noSymbologyMessage(), file, quoted(symbology)));
    return design;
}

Design jobDesign(const CommandLine &job)
{
    return job.design.isEmpty() ? storedDesign() : Design::readFile(QFileInfo(job.design).absoluteFilePath());
}

// The import templates' columns, then the objects' fields, as their runs name the templates.
QStringList fieldNames(const Design &design)
{
    QStringList names;
    const auto add = [&names](const QString &name) {
        if (!names.contains(name))
            names << name;
    };
    const std::pair<DesignKey, QString> imported[] = {{DesignKey::ImportValue, QStringLiteral("value")},
                                                      {DesignKey::ImportTitle, QStringLiteral("title")}};
    for (const auto &[key, what] : imported) {
        const ImportTemplate columns(design.text(key), what);
        for (const ImportTemplate::Piece &piece : columns.pieces())
            if (piece.isColumn)
                add(piece.text);
    }
    const std::vector<LabelObject> objects = ObjectSections::read(design, SymbolObject());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const QString what
            = QStringLiteral("Object %1 (%2)").arg(i + 1).arg(LabelObjects::kindName(objects[i]));
        for (const QString &name : FieldTemplate(LabelObjects::templateOf(objects[i]), what).fieldNames())
            add(name);
    }
    return names;
}

void selectSource(Design &design, int source)
{
    design.setText(DesignKey::SourceText, source == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    design.setText(DesignKey::SourceSequence, source == 2 ? QStringLiteral("1") : QStringLiteral("0"));
    design.setText(DesignKey::SourceImport, source == 3 ? QStringLiteral("1") : QStringLiteral("0"));
}

// The command line's choices in place of the design's.
void applyOptions(const CommandLine &job, Design &design)
{
    using K = DesignKey;
    if (job.text) {
        selectSource(design, 1);
        design.setText(K::Caption, *job.text);
    } else if (job.sequence) {
        selectSource(design, 2);
        design.setText(K::SequenceStart, job.sequence->start);
        design.setText(K::SequenceEnd, job.sequence->end);
        design.setText(K::Prefix,
                       job.sequence->prefix.isEmpty() ? QStringLiteral("(prefix)") : job.sequence->prefix);
        design.setText(K::Suffix,
                       job.sequence->suffix.isEmpty() ? QStringLiteral("(sufix)") : job.sequence->suffix);
    } else if (job.import) {
        selectSource(design, 3);
        const QString file = *job.import;
        const bool standardInput = job.importFromStandardInput();
        design.setText(K::ImportFile, standardInput ? file : QFileInfo(file).absoluteFilePath());
        design.setText(K::HasTitle, job.titles ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (job.columns)
        DesignValues::setColumns(design, *job.columns);
    // With columns, a title template ticks "has title", as the Columns dialog does.
    const ImportColumns columns = DesignValues::of(design).columns;
    if (columns.chosen() && (job.import || job.columns))
        design.setText(K::HasTitle, StoredValue::flag(!columns.titleTemplate.isEmpty()));
    if (job.dpi)
        design.setText(K::PictureDpi, DesignValues::pictureDpiText(*job.dpi));
    if (job.symbology)
        design.setText(K::Symbology, QString::number(*job.symbology));
    if (job.size) {
        const std::int32_t unit = job.size->inches ? 1 : 0;
        design.setText(K::Unit, QString::number(unit));
        design.setText(K::Width, Numbers::numberText(Numbers::unitToTwips(job.size->width, unit)));
        design.setText(K::Height, Numbers::numberText(Numbers::unitToTwips(job.size->height, unit)));
        for (const DesignKey key : {K::Width, K::Height})
            if (const QString why = Design::fault(key, design.text(key)); !why.isEmpty())
                throw QuillError(QStringLiteral("The size %1 x %2 %3 is refused: %4 is %5, %6.")
                                     .arg(job.size->width)
                                     .arg(job.size->height)
                                     .arg(job.size->inches ? "in" : "cm", DesignKeys::entry(key).name,
                                          design.text(key), why));
    }
}

void choosePrinter(const CommandLine &job, JobPrinter &printer)
{
    if (!job.printer.isEmpty()) {
        if (!printer.queueNames().contains(job.printer))
            throw QuillError(QStringLiteral("There is no printer \"%1\" (lpstat -p lists the printers).")
                                 .arg(job.printer));
        printer.selectQueue(job.printer);
    } else if (job.pdf == QLatin1String("-")) {
        printer.selectPdfStandardOutput();
    } else if (!job.pdf.isEmpty()) {
        printer.selectPdfFile(QFileInfo(job.pdf).absoluteFilePath());
    }
    if (job.paper.isEmpty())
        return;
    QStringList names;
    for (const QPageSize &size : printer.mediaSizes()) {
        if (size.name().compare(job.paper, Qt::CaseInsensitive) == 0
            || size.key().compare(job.paper, Qt::CaseInsensitive) == 0) {
            printer.setMedia(size, QPageLayout::Portrait);
            return;
        }
        names << size.name();
    }
    throw QuillError(QStringLiteral("The printer %1 has no paper \"%2\"; it offers %3.")
                         .arg(printer.deviceName(), job.paper, names.join(QStringLiteral(", "))));
}

} // namespace

int runBatchJob(const CommandLine &job, const std::function<JobPrinter &()> &printer, std::FILE *out,
                std::FILE *err)
{
    // With the PDF on standard output, the status line goes with the messages.
    const bool pdfOut = job.pdf == QLatin1String("-");
    QString summary;
    try {
        // A PDF on a terminal is a screenful of bytes, and may set it askew.
        if (pdfOut && ::isatty(STDOUT_FILENO))
            throw QuillError(QStringLiteral("--pdf - writes the PDF to standard output, which is a terminal "
                                            "here; send it to a file or a pipe (--pdf - > labels.pdf)."));
        // Closed (held by holdClosedStandardDescriptors) or open for reading only, it takes no PDF.
        const int outFlags = ::fcntl(STDOUT_FILENO, F_GETFL);
        if (pdfOut && (outFlags < 0 || (outFlags & O_ACCMODE) == O_RDONLY))
            throw QuillError(QStringLiteral("--pdf - writes the PDF to standard output, which is closed or "
                                            "read-only here; send it to a file or a pipe "
                                            "(--pdf - > labels.pdf)."));
        Design design = jobDesign(job);
        applyOptions(job, design);
        DesignJob run(DesignCodec::read(design), job.importFromStandardInput());
        run.setWarn(
            [err](const QString &warning) { std::fprintf(err, "quillmark: %s\n", qPrintable(warning)); });
        if (job.action == CommandLine::Action::Save) {
            summary = run.save(job.saveFile);
        } else {
            JobPrinter &chosen = printer();
            choosePrinter(job, chosen);
            summary = run.print(chosen, job.firstLabel, job.copies);
        }
    } catch (const QuillError &error) {
        std::fprintf(err, "quillmark: %s\n", qPrintable(error.description()));
        return 1;
    }
    std::fprintf(pdfOut ? err : out, "%s\n", qPrintable(summary));
    return finishOutput(out, err, 0);
}

int listFields(const CommandLine &job, std::FILE *out, std::FILE *err)
{
    QStringList names;
    try {
        names = fieldNames(jobDesign(job));
    } catch (const QuillError &error) {
        std::fprintf(err, "quillmark: %s\n", qPrintable(error.description()));
        return 1;
    }
    for (const QString &name : names)
        std::fprintf(out, "{%s}\n", qPrintable(name));
    return finishOutput(out, err, 0);
}

int finishOutput(std::FILE *out, std::FILE *err, int status)
{
    if (std::fflush(out) == 0 && !std::ferror(out))
        return status;
    const int error = errno ? errno : EIO; // the failed write's, at the flush or before it
    std::fprintf(err, "quillmark: standard output could not be written: %s.\n", std::strerror(error));
    return 1;
}

void holdClosedStandardDescriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}
