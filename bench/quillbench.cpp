// quillbench: the benchmark tasks of bench/run, one task per argument.
//
//   quillbench [--dir FOLDER] [--keep] [--check all|sample|none] TASK...
//   TASK: print:N | save:N[:FORMAT[:DPI]] | import:N | preview[:KEYSTROKES] | preview-objects[:KEYSTROKES]
//         | canvas-drag[:MOVES] | canvas-open[:OPENS] | coldstart | checkpdf:FILE:N | checkshelf:FILE:CSV
//         | labelprinter:N:OUTFOLDER | picture:WIDTHxHEIGHT.bmp|png
//
// Run one task per process when the peak memory matters: it is the process's own.
#include "BenchTasks.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace {

// Outputs go to tmpfs when the machine has one, like the peers' in bench/run.
QString defaultWorkRoot()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

int usage()
{
    std::fputs("usage: quillbench [--dir FOLDER] [--keep] [--check all|sample|none] TASK...\n"
               "  TASK: print:N | save:N[:png|bmp|svg[:DPI]] | import:N | preview[:KEYSTROKES]\n"
               "        | preview-objects[:KEYSTROKES] | canvas-drag[:MOVES] | canvas-open[:OPENS]\n"
               "        | coldstart | checkpdf:FILE:N | checkshelf:FILE:CSV\n"
               "        | labelprinter:N:OUTFOLDER | picture:WIDTHxHEIGHT.bmp|png\n"
               "        | csv-save:N | csv-print:N | lines-save:N | lines-print:N\n",
               stderr);
    return 2;
}

BenchResult runTask(const QString &task, const BenchOptions &options, bool &known)
{
    known = true;
    const QStringList fields = task.split(u':');
    const QString name = fields.first();
    const qint64 count = fields.value(1).toLongLong();
    if (name == QLatin1String("print") && count > 0)
        return runPrintTask(count, options);
    const QString format = fields.value(2, QStringLiteral("png"));
    const int dpi = fields.value(3).toInt();
    const QStringList formats{QStringLiteral("png"), QStringLiteral("bmp"), QStringLiteral("svg")};
    const bool save = name == QLatin1String("save") && count > 0 && fields.size() <= 4;
    if (save && formats.contains(format) && dpi >= 0)
        return runSaveTask(count, format, dpi, options);
    if (name == QLatin1String("import") && count > 0)
        return runImportTask(count, options);
    const QStringList columns{QStringLiteral("csv-save"), QStringLiteral("csv-print"),
                              QStringLiteral("lines-save"), QStringLiteral("lines-print")};
    if (columns.contains(name) && count > 0)
        return runColumnsTask(count, name.startsWith(u'c'), name.endsWith(QLatin1String("print")), options);
    if (name == QLatin1String("preview"))
        return runPreviewTask(count > 0 ? count : 1000, options);
    if (name == QLatin1String("preview-objects"))
        return runPreviewObjectsTask(count > 0 ? count : 1000, options);
    if (name == QLatin1String("canvas-drag"))
        return runCanvasDragTask(count > 0 ? count : 1000, options);
    if (name == QLatin1String("canvas-open"))
        return runCanvasOpenTask(count > 0 ? count : 20, options);
    if (name == QLatin1String("coldstart"))
        return runColdStartTask(options);
    if (name == QLatin1String("checkpdf") && fields.size() == 3 && fields[2].toLongLong() > 0)
        return runCheckPdfTask(fields[1], fields[2].toLongLong(), options);
    if (name == QLatin1String("checkshelf") && fields.size() == 3)
        return runCheckShelfTask(fields[1], fields[2], options);
    if (name == QLatin1String("labelprinter") && count > 0 && fields.size() == 3)
        return runLabelPrinterTask(count, fields[2], options);
    const QStringList picture = fields.value(1).split(QRegularExpression(QStringLiteral("[x.]")));
    if (name == QLatin1String("picture") && picture.size() == 3 && picture[0].toInt() > 0
        && picture[1].toInt() > 0
        && (picture[2] == QLatin1String("bmp") || picture[2] == QLatin1String("png")))
        return runPictureTask(picture[0].toInt(), picture[1].toInt(), picture[2], options);
    known = false;
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Anything that falls back on the per-user configuration lands here, never
    // in the real user's settings.
    const QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", configHome.path().toLocal8Bit());

    QApplication app(argc, argv);
    // Every length the benchmark types uses "." as the decimal point.
    QLocale::setDefault(QLocale::c());

    BenchOptions options;
    options.workRoot = defaultWorkRoot();
    QStringList tasks;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--dir") && i + 1 < args.size())
            options.workRoot = args[++i];
        else if (args[i] == QLatin1String("--keep"))
            options.keep = true;
        else if (args[i] == QLatin1String("--check") && i + 1 < args.size())
            options.check = args[++i];
        else if (args[i].startsWith(u'-'))
            return usage();
        else
            tasks << args[i];
    }
    if (tasks.isEmpty())
        return usage();

    bool allOk = true;
    for (const QString &task : tasks) {
        bool known = false;
        const BenchResult result = runTask(task, options, known);
        if (!known)
            return usage();
        std::printf("%s\n", qPrintable(result.resultLine()));
        std::fprintf(stderr, "%s\n", qPrintable(result.sentence()));
        std::fflush(stdout);
        allOk = allOk && result.ok;
    }
    return allOk ? 0 : 1;
}
