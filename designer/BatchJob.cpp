#include "BatchJob.h"
#include "Dialogs.h"
#include "Form1.h"
#include "OutputCommands.h"
#include "PrintServer.h"
#include "PrinterObject.h"
#include "QuillError.h"
#include "ProgressWindow.h"
#include "SettingsStore.h"
#include "frmPrint.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageSize>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>

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

// The design the job reads, copied so that nothing the window writes when it
// closes reaches the user's settings or their design file.
QString copyDesign(const QString &source, bool mustExist, const QTemporaryDir &scratch)
{
    const QString copy = scratch.filePath(QStringLiteral("Quillmark2.conf"));
    if (!mustExist && !QFileInfo::exists(source))
        return copy; // no stored design yet: the first-run design
    QSettings check(source, QSettings::IniFormat);
    if (!QFileInfo(source).isFile() || !QFileInfo(source).isReadable() || check.status() != QSettings::NoError)
        throw QuillError(QStringLiteral("The design file %1 cannot be read as a Quillmark settings file.")
                             .arg(QDir::toNativeSeparators(source)));
    if (!QFile::copy(source, copy))
        throw QuillError(QStringLiteral("The design file %1 cannot be read.").arg(QDir::toNativeSeparators(source)));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
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
        QTemporaryDir scratch;
        const QString source = job.design.isEmpty() ? SettingsStore::userStorePath(QStringLiteral("Quillmark2"))
                                                    : QFileInfo(job.design).absoluteFilePath();
        SettingsStore store(copyDesign(source, !job.design.isEmpty(), scratch));
        Form1 form(store);
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
