#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "Form1.h"
#include "ProcessStats.h"
#include "ScriptedDialogs.h"
#include "frmPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>

// Labels of 2 x 1 in on the default queue (bench/run's private Zebra ZPL queue
// at 203 dpi, roll of 2.25 x 1.25 in): the time runs from OK until the
// driver's output for the whole job has reached the backend's folder, which
// files each job under job-ID.out once it is complete.
BenchResult runLabelPrinterTask(qint64 labels, const QString &outFolder, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("labelprinter"), labels};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-label-XXXXXX")));
    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    designer.useCode128();
    designer.useSymbolSizeInInches(2.0, 1.0);
    designer.useSequence(QStringLiteral("00001"), labels);
    frmPrint dialog(designer.form().view(), dialogs, designer.printer());
    dialog.show();
    QCoreApplication::processEvents();
    dialog.Option4->click();
    for (QLineEdit *margin : {dialog.Text1, dialog.Text2, dialog.Text4, dialog.Text5})
        margin->setText(QStringLiteral("0"));
    for (QLineEdit *margin : {dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9})
        margin->setText(QStringLiteral("0.1"));
    const QDir out(outFolder);
    const QStringList before = out.entryList({QStringLiteral("job-*.out")}, QDir::Files);

    QElapsedTimer timer;
    timer.start();
    dialog.OKButton_Click();
    result.add(QStringLiteral("handler_seconds"), double(timer.nsecsElapsed()) * 1e-9, 3);
    QString sent;
    while (sent.isEmpty() && timer.elapsed() < 600000 && dialogs.messages.isEmpty()) {
        for (const QString &name : out.entryList({QStringLiteral("job-*.out")}, QDir::Files))
            if (!before.contains(name))
                sent = out.filePath(name);
        if (sent.isEmpty())
            QThread::msleep(5);
    }
    result.seconds = double(timer.nsecsElapsed()) * 1e-9;
    result.peakMb = ProcessStats::peakMegabytes();
    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    if (sent.isEmpty()) {
        result.fail(QStringLiteral("nothing reached the printer"));
        return result;
    }
    QFile file(sent);
    file.open(QIODevice::ReadOnly);
    const QByteArray zpl = file.readAll();
    const qint64 graphics = zpl.count("~DGR:");
    result.add(QStringLiteral("bytes_per_label"), QString::number(zpl.size() / labels));
    result.verified = QStringLiteral("%1_label_graphics_sent").arg(graphics);
    if (graphics != labels)
        result.fail(
            QStringLiteral("%1 label graphics reached the printer, not %2").arg(graphics).arg(labels));
    return result;
}
