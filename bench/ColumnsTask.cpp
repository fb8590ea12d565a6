#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "DataSourceControls.h"
#include "DesignerView.h"
#include "Form1.h"
#include "LabelDocument.h"
#include "LabelRenderer.h"
#include "LabelSheet.h"
#include "Module1.h"
#include "PdfCheck.h"
#include "PrintRun.h"
#include "PrinterObject.h"
#include "ProcessStats.h"
#include "QuillError.h"
#include "SaveCheck.h"
#include "SaveRun.h"
#include "ScriptedDialogs.h"
#include "Vantrel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

const QString start = QStringLiteral("0000001");
constexpr int sampleFiles = 40;
constexpr int samplePages = 12;

// The value and title of row k, as the templates make them and as the plain
// file holds them. The value is the plant's digit and the sku, all digits as
// the outside check needs them.
QString valueOf(qint64 k) { return QStringLiteral("1") + sequenceValue(k, start); }
QString titleOf(qint64 k) { return QStringLiteral("Shirt %1, blue").arg(k); }

// The import source of the data panel, with or without columns.
struct ImportSource : DataSourceControls {
    QString path;
    ImportColumns columns;
    bool textSelected() const override { return false; }
    bool sequenceSelected() const override { return false; }
    bool importSelected() const override { return true; }
    QString fixedText() const override { return {}; }
    QString sequenceStart() const override { return {}; }
    QString sequenceEnd() const override { return {}; }
    QString importFileName() const override { return path; }
    QString prefix() const override { return {}; }
    QString suffix() const override { return {}; }
    ImportColumns importColumns() const override { return columns; }
};

// A shop's export of five columns (plant, sku, name, price, qty), the name
// quoted for its comma; or the same values as plain lines, each followed by
// its title line when titled.
bool writeData(const QString &path, qint64 rows, bool csv, bool titled)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk = csv ? "plant,sku,name,price,qty\r\n" : "";
    for (qint64 k = 1; k <= rows; ++k) {
        const QByteArray sku = sequenceValue(k, start).toLatin1();
        const QByteArray title = titleOf(k).toLatin1();
        if (csv)
            chunk += "1," + sku + ",\"" + title + "\",12.50," + QByteArray::number(k % 7 + 1) + "\r\n";
        else
            chunk += "1" + sku + "\r\n" + (titled ? title + "\r\n" : QByteArray());
        if (chunk.size() > (1 << 16)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size() && file.flush();
}

} // namespace

BenchResult runColumnsTask(qint64 rows, bool csv, bool print, const BenchOptions &options)
{
    const QString name = QStringLiteral("%1-%2").arg(csv ? "csv" : "lines", print ? "print" : "save");
    BenchResult result{name, rows};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-columns-XXXXXX")));
    work.setAutoRemove(!options.keep);
    ImportSource source;
    source.path = work.filePath(csv ? QStringLiteral("shop.csv") : QStringLiteral("values.txt"));
    if (csv)
        source.columns = {.delimiter = ImportColumns::Delimiter::Detect,
                          .header = true,
                          .valueTemplate = QStringLiteral("{plant}{sku}"),
                          .titleTemplate = QStringLiteral("{name}")};
    if (!writeData(source.path, rows, csv, print)) {
        result.fail(QStringLiteral("cannot write ") + source.path);
        return result;
    }
    result.add(QStringLiteral("data_mb"), double(QFileInfo(source.path).size()) / (1024.0 * 1024.0), 1);

    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    designer.useCode128();
    designer.useSymbolSizeInInches(LabelSheet::symbolWidth, LabelSheet::symbolHeight);
    DesignerView &view = designer.form().view();
    Module1 data(source);
    const QString pictures = work.filePath(QStringLiteral("pictures"));
    const QString chosen = QDir(pictures).filePath(QStringLiteral("item.png"));
    const QString pdf = work.filePath(QStringLiteral("labels.pdf"));
    QDir().mkpath(pictures);

    // The runs the save and print handlers make, with this data source.
    QElapsedTimer timer;
    timer.start();
    try {
        data.checkRun();
        if (print) {
            PrinterObject &printer = designer.printer();
            printer.selectPdfFile(pdf);
            printer.qprinter().setPageSize(QPageSize(QPageSize::Letter));
            LabelDocument document = view.document();
            document.setMargins({LabelSheet::labelLeft, LabelSheet::labelRight, LabelSheet::labelTop,
                                 LabelSheet::labelBottom, LabelSheet::pageLeft, LabelSheet::pageRight,
                                 LabelSheet::pageTop, LabelSheet::pageBottom});
            // The file's rows with their titles; the values come from this task's own source.
            DataSource fileRows = document.source();
            fileRows.kind = DataSource::Kind::ImportFile;
            fileRows.titled = SymbolObject::Tick::Ticked;
            document.setSource(fileRows);
            LabelRenderer renderer(document);
            PrintRun run(document, renderer, data, printer);
            if (!run.execute())
                result.fail(run.error());
        } else {
            LabelRenderer renderer(view.document());
            SaveRun run(view.document(), renderer, chosen);
            run.run(data.getFirstData(), [&data] { return data.getNextData(); });
        }
    } catch (const QuillError &error) {
        result.fail(error.description());
    }
    result.seconds = double(timer.nsecsElapsed()) * 1e-9;
    result.peakMb = ProcessStats::peakMegabytes();

    if (options.check == QLatin1String("none") || !result.ok) {
        result.verified = QStringLiteral("not read back");
    } else if (print) {
        const PdfCheck check(pdf, rows, valueOf);
        const PdfCheckReport report = check.check(check.samplePages(samplePages), work.path());
        result.verified = report.summary();
        if (!report.ok())
            result.fail(QStringLiteral("labels read back wrong: ")
                        + report.problems.join(QStringLiteral("; ")));
    } else {
        const SaveCheck check(pictures, QStringLiteral("item.png"), rows, valueOf);
        const SaveCheckReport report = check.check(sampleFiles);
        result.verified = report.summary();
        if (!report.ok())
            result.fail(QStringLiteral("pictures read back wrong: ")
                        + report.problems.join(QStringLiteral("; ")));
    }
    return result;
}
