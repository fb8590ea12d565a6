#include "AboutProgram.h"
#include "BatchJob.h"
#include "CommandLine.h"
#include "Form1.h"
#include "PictureNames.h"
#include "PrinterObject.h"
#include "SettingsStore.h"
#include "SymbolBuilder.h"
#include "WorkingFiles.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

// The designer and printing may write PDFs; a save only under a PDF's name.
bool mayWritePdf(const CommandLine &job)
{
    if (job.action == CommandLine::Action::Save)
        return PictureNames::formatOf(job.saveFile) == PictureNames::Format::Pdf;
    return job.action == CommandLine::Action::Print || job.action == CommandLine::Action::Designer;
}

} // namespace

int main(int argc, char **argv)
{
    // Arguments are read before any window system is needed: --help, --version
    // and the jobs work without a display.
    // Before any file is opened: a closed standard output is no place for the first file Qt opens.
    holdClosedStandardDescriptors();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine job = CommandLine::parse(arguments);
    // Qt's PDF writer orders the fonts of a file by a hash whose seed Qt draws
    // at random when its library loads, before main; only a process started
    // with the seed fixed writes the same PDF twice. So a run that may write a
    // PDF starts itself again, once, with it fixed (if that fails, it runs as it is).
    if (mayWritePdf(job) && qstrcmp(std::getenv("QT_HASH_SEED"), "0") != 0
        && ::setenv("QT_HASH_SEED", "0", 1) == 0)
        ::execv("/proc/self/exe", argv);
    switch (job.action) {
    case CommandLine::Action::Help:
        std::fputs(qPrintable(CommandLine::usage()), stdout);
        return finishOutput(stdout, stderr, 0);
    case CommandLine::Action::Version:
        std::printf("quillmark %s\n", qPrintable(AboutProgram::version()));
        return finishOutput(stdout, stderr, 0);
    case CommandLine::Action::ListSymbologies:
        for (const QString &name : SymbolBuilder::listNames())
            std::printf("%s\n", qPrintable(name));
        return finishOutput(stdout, stderr, 0);
    case CommandLine::Action::ListFields:
        return listFields(job, stdout, stderr);
    case CommandLine::Action::Usage:
        std::fprintf(stderr, "quillmark: %s\n%s", qPrintable(job.error), qPrintable(CommandLine::usage()));
        return 2;
    case CommandLine::Action::Print:
    case CommandLine::Action::Save:
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Standard error carries the job's own messages, not the toolkit's notes.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(text));
        });
        break;
    case CommandLine::Action::Designer:
        break;
    }
    // The print jobs a killed run left in the temporary folder go at the next start.
    WorkingFiles::sweep(QDir::tempPath());
    if (job.action != CommandLine::Action::Designer) {
        // A job draws and prints without a single widget.
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("Quillmark"));
        QGuiApplication::setApplicationVersion(AboutProgram::version());
        std::unique_ptr<PrinterObject> printer;
        const auto made = [&printer]() -> JobPrinter & {
            if (!printer)
                printer = std::make_unique<PrinterObject>();
            return *printer;
        };
        return runBatchJob(job, made, stdout, stderr);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(AboutProgram::version());
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLMARK_APP_ID));
    SettingsStore store(SettingsStore::userStorePath(QStringLiteral("Quillmark2")));
    PrinterObject printer;
    const std::unique_ptr<DialogProvider> dialogs = DialogProvider::real(printer);
    Form1 f(store, *dialogs, printer);
    f.startUp();
    f.show();
    if (!job.openFile.isEmpty())
        f.openDesign(job.openFile);
    return app.exec();
}
