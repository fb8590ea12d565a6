#include "BatchJob.h"
#include "Dialogs.h"
#include "Form1.h"
#include "OutputCommands.h"
#include "PrintServer.h"
#include "PrinterObject.h"
#include "QuillError.h"
#include "ProgressWindow.h"
#include "SettingsStore.h"
#include "StoredValue.h"
#include "SymbolBuilder.h"
#include "frmPrint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageSize>
#include <QRadioButton>

#include <cerrno>
#include <cstring>

namespace {

// Answers the save dialog with the job's file and keeps every message instead
// of showing it; nothing else is asked of a person.
class BatchDialogs : public DialogProvider {
public:
    explicit BatchDialogs(QString saveFile) : m_saveFile(std::move(saveFile)) {}
    std::optional<QString> openFile(const QString &, const QString &, const QString &, int &) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString &, const QString &, const QString &, int &) override
    {
        return m_saveFile.isEmpty() ? std::nullopt : std::optional<QString>(m_saveFile);
    }
    bool printerDialog(PrinterObject &) override { return false; }
    void messageBox(const QString &text, const QString &) override { messages << text; }

    QStringList messages;

private:
    QString m_saveFile;
};

// The design a job reads, or why it cannot: the --design file must be there,
// the stored settings may be missing (the first-run design). Read into a
// store that keeps in memory what the window and the print dialog write when
// they close, so a job writes neither file.
void checkDesign(const SettingsStore &store, const QString &file, bool mustExist)
{
    QString reason = store.readFailure();
    if (reason.isEmpty() && mustExist && !store.exists())
        reason = QString::fromLocal8Bit(std::strerror(ENOENT));
    if (!reason.isEmpty())
        throw QuillError(QStringLiteral("%1 cannot be read: %2.").arg(file, reason));
    if (!store.wellFormed())
        throw QuillError(QStringLiteral("%1 cannot be read as a Quillmark settings file.").arg(file));
}

// A symbology the program never writes (999, -5, nan) shows as the list's
// first one in the window, where the Format list shows what is chosen; a job
// has nobody to look, so it says that none is chosen.
void checkSymbology(const SettingsStore &store, const QString &file, int symbologies)
{
    const QString text = store.read(QStringLiteral("Form1"), QStringLiteral("bartype"), QStringLiteral("0"));
    if (!StoredValue::isListIndex(text, symbologies))
        throw QuillError(QStringLiteral("%1 %2 holds bartype=%3, which is no position in that list.")
                             .arg(SymbolBuilder::noSymbologyMessage(), file, quoted(text)));
}

// The data source given on the command line, set through the data panel's
// controls so that its own handlers run as when a person types.
void applyData(const CommandLine &job, Form1 &form)
{
    if (job.text) {
        form.Option1->click();
        form.Text1->setText(*job.text);
    } else if (job.sequence) {
        form.Option2->click();
        form.Text7->setText(job.sequence->prefix.isEmpty() ? QStringLiteral("(prefix)") : job.sequence->prefix);
        form.Text8->setText(job.sequence->suffix.isEmpty() ? QStringLiteral("(sufix)") : job.sequence->suffix);
        form.Text2->setText(job.sequence->start);
        form.Text3->setText(job.sequence->end);
    } else if (job.import) {
        form.Check3->setCheckState(job.titles ? Qt::Checked : Qt::Unchecked);
        form.Text4->setText(QFileInfo(*job.import).absoluteFilePath());
        form.Option3->click();
    }
}

void choosePrinter(const CommandLine &job, PrinterObject &printer)
{
    if (!job.printer.isEmpty()) {
        if (!PrintServer::queues().names.contains(job.printer))
            throw QuillError(QStringLiteral("There is no printer \"%1\" (lpstat -p lists the printers).").arg(job.printer));
        printer.selectQueue(job.printer);
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

int runBatchJob(const CommandLine &job, std::FILE *out, std::FILE *err)
{
    BatchDialogs dialogs(job.action == CommandLine::Action::Save ? QFileInfo(job.saveFile).absoluteFilePath()
                                                                  : QString());
    DialogProvider::install(&dialogs);
    ProgressWindow::setWindowsShown(false); // no person to watch or cancel
    QString summary;
    try {
        const bool given = !job.design.isEmpty();
        const QString source = given ? QFileInfo(job.design).absoluteFilePath()
                                     : SettingsStore::userStorePath(QStringLiteral("Quillmark2"));
        const QString file = QStringLiteral("The %1 %2").arg(given ? "design file" : "settings file",
                                                             QDir::toNativeSeparators(source));
        SettingsStore store(source, SettingsStore::Access::ReadOnly);
        checkDesign(store, file, given);
        Form1 form(store);
        checkSymbology(store, file, form.Combo1->count());
        form.startUp();
        applyData(job, form);
        if (dialogs.messages.isEmpty() && job.action == CommandLine::Action::Save) {
            form.output().mnuSave_Click();
            summary = form.output().lastRunSummary();
        } else if (dialogs.messages.isEmpty()) {
            choosePrinter(job, PrinterObject::current());
            frmPrint dialog(form.view());
            dialog.OKButton_Click();
            summary = dialog.runSummary();
        }
    } catch (const QuillError &error) {
        dialogs.messages << error.description();
    }
    DialogProvider::install(nullptr);
    if (!dialogs.messages.isEmpty()) {
        for (const QString &message : std::as_const(dialogs.messages))
            std::fprintf(err, "quillmark: %s\n", qPrintable(message));
        return 1;
    }
    std::fprintf(out, "%s\n", qPrintable(summary));
    return 0;
}
