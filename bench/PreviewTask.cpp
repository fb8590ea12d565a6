#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "Decode.h"
#include "Form1.h"
#include "KeystrokeTiming.h"
#include "PaintWatch.h"
#include "PrinterObject.h"
#include "ProcessStats.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <vector>

namespace {

const QString baseText = QStringLiteral("12345");
constexpr int warmUpKeystrokes = 20;

double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1, size_t(q * double(samples.size())))];
}

} // namespace

void typeKeystrokes(Form1 &form, qint64 keystrokes, BenchResult &result)
{
    const QString baseText = form.Text1->text();
    form.activateWindow();
    form.Text1->setFocus();
    form.Text1->setCursorPosition(int(baseText.size()));
    const PaintWatch watch(form.Vantrel1);

    std::vector<double> samples;
    samples.reserve(size_t(keystrokes));
    int wrongCaptions = 0;
    for (qint64 i = 0; i < keystrokes + warmUpKeystrokes; ++i) {
        const bool typing = i % 2 == 0;
        const QChar digit = QChar(u'0' + int((i / 2) % 10));
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(form.Text1, typing ? Qt::Key(Qt::Key_0 + digit.digitValue()) : Qt::Key_Backspace);
        form.Vantrel1->repaint();
        const double seconds = double(timer.nsecsElapsed()) * 1e-9;
        if (i >= warmUpKeystrokes)
            samples.push_back(seconds);
        const QString expected = typing ? baseText + digit : baseText;
        if (form.Text1->text() != expected || form.Vantrel1->Caption() != expected)
            ++wrongCaptions;
    }
    result.peakMb = ProcessStats::peakMegabytes();
    result.seconds = quantile(samples, 0.5);
    result.add(QStringLiteral("p90_seconds"), quantile(samples, 0.9));
    result.add(QStringLiteral("p99_seconds"), quantile(samples, 0.99));
    result.add(QStringLiteral("paints"), QString::number(watch.paints()));

    if (wrongCaptions > 0)
        result.fail(QStringLiteral("%1 keystrokes did not reach the symbol's data").arg(wrongCaptions));
    if (watch.paints() < keystrokes)
        result.fail(QStringLiteral("the symbol painted %1 times for %2 keystrokes")
                        .arg(watch.paints())
                        .arg(keystrokes));
}

BenchResult runPreviewTask(qint64 keystrokes, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("preview"), keystrokes};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-preview-XXXXXX")));
    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    Form1 &form = designer.form();
    designer.useCode128();
    designer.useFixedText(baseText);
    designer.waitUntilShown();
    typeKeystrokes(form, keystrokes, result);

    const QString shown = Decode::zxingOne(form.Vantrel1->grab().toImage());
    result.verified
        = QStringLiteral("preview reads ") + (shown.isEmpty() ? QStringLiteral("nothing") : shown);
    if (shown != form.Text1->text())
        result.fail(QStringLiteral("the preview does not read as the typed data %1").arg(form.Text1->text()));
    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    return result;
}

BenchResult runColdStartTask(const BenchOptions &options)
{
    BenchResult result{QStringLiteral("coldstart"), 1};
    result.add(QStringLiteral("app_seconds"), ProcessStats::secondsSinceLaunch());
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-start-XXXXXX")));
    ScriptedDialogs dialogs;
    SettingsStore store(QDir(work.path()).filePath(QStringLiteral("Quillmark2.conf")));
    PrinterObject printer;
    Form1 form(store, dialogs, printer);
    result.add(QStringLiteral("built_seconds"), ProcessStats::secondsSinceLaunch());
    form.startUp();
    result.add(QStringLiteral("started_seconds"), ProcessStats::secondsSinceLaunch());
    const PaintWatch symbolPaints(form.Vantrel1);
    const PaintWatch windowPaints(&form);
    form.show();

    // The first paint happens when the window system exposes the window; the
    // whole window is drawn in that one pass of the event loop.
    QElapsedTimer waited;
    waited.start();
    while (symbolPaints.paints() == 0 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    result.seconds = ProcessStats::secondsSinceLaunch();
    result.peakMb = ProcessStats::peakMegabytes();
    result.verified = QStringLiteral("%1 symbol paints, %2 window paints")
                          .arg(symbolPaints.paints())
                          .arg(windowPaints.paints());
    if (symbolPaints.paints() == 0)
        result.fail(QStringLiteral("the symbol was never painted"));
    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    form.close();
    return result;
}
