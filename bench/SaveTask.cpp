#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "Form1.h"
#include "LabelSheet.h"
#include "OutputCommands.h"
#include "ProcessStats.h"
#include "SaveCheck.h"
#include "ScriptedDialogs.h"
#include "Vantrel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

const QString sequenceStart = QStringLiteral("00001");
constexpr int sampleFiles = 40;

} // namespace

BenchResult runSaveTask(qint64 files, const QString &format, int dpi, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("save"), files};
    const QString chosenName = QStringLiteral("item.") + format;
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-save-XXXXXX")));
    work.setAutoRemove(!options.keep);
    // The pictures get a folder of their own so that the count is of them alone.
    const QString pictures = work.filePath(QStringLiteral("pictures"));
    QDir().mkpath(pictures);

    ScriptedDialogs dialogs;
    dialogs.saveAnswer = QDir(pictures).filePath(chosenName);
    dialogs.pictureDpi = dpi;
    BenchDesigner designer(work.path(), dialogs);
    designer.useCode128();
    designer.useSymbolSizeInInches(LabelSheet::symbolWidth, LabelSheet::symbolHeight);
    designer.useSequence(sequenceStart, files);

    QElapsedTimer timer;
    timer.start();
    designer.form().output().mnuSave_Click();
    result.seconds = double(timer.nsecsElapsed()) * 1e-9;
    result.peakMb = ProcessStats::peakMegabytes();
    // The bars' width in pixels, for a peer asked for the same.
    const Vantrel &symbol = *designer.form().Vantrel1;
    const QSize pixels(qRound(LabelSheet::symbolWidth * dpi), qRound(LabelSheet::symbolHeight * dpi));
    if (dpi > 0)
        result.add(QStringLiteral("module_px"), symbol.design().moduleOn(pixels, QPointF(dpi, dpi)), 2);
    result.add(QStringLiteral("dpi"), dpi > 0 ? QString::number(dpi) : QStringLiteral("screen"));

    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    if (options.check == QLatin1String("none")) {
        result.verified = QStringLiteral("%1 files").arg(QDir(pictures).entryList(QDir::Files).size());
    } else {
        const SaveCheck check(pictures, chosenName, files,
                              [](qint64 k) { return sequenceValue(k, sequenceStart); });
        const SaveCheckReport report = check.check(sampleFiles);
        result.verified = report.summary();
        result.add(QStringLiteral("format"), report.format);
        if (!report.ok())
            result.fail(QStringLiteral("pictures read back wrong: ")
                        + report.problems.join(QStringLiteral("; ")));
    }
    if (options.keep)
        result.notes << QStringLiteral("kept ") + pictures;
    return result;
}
