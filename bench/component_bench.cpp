// Label throughput of the barcode component: the save run (caption, encode,
// render, PNG, write) and the printing run (caption, DrawToDevice into a PDF).
#include "DeviceRegistry.h"
#include "PngWriter.h"
#include "ScreenMetrics.h"
#include "SymbolBuilder.h"
#include "SymbolRenderer.h"
#include "Symbology.h"
#include "Vantrel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {
// CPU time in user space: the component's own share, without the file system's.
double threadNanos()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e9 + t.tv_nsec;
}

double userMicros()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1e6 + usage.ru_utime.tv_usec;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ScreenMetrics::overrideDpi(96, 96);
    const int labels = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    QTemporaryDir dir;
    Vantrel v;
    v.setBarType(std::int16_t(Symbology::Code128));
    v.setShowText(1);
    v.Font().setSize(8);

    QElapsedTimer timer;
    timer.start();
    double cpu = userMicros();
    const bool printOnly = argc > 2 && QByteArray(argv[2]) == "print";
    for (int i = 0; i < labels && !printOnly; ++i) {
        v.setCaption(QStringLiteral("QM%1").arg(i, 8, 10, QLatin1Char('0')));
        v.SavePng(dir.filePath(QStringLiteral("label_%1.png").arg(i)), 192, 96);
    }
    const double save = timer.nsecsElapsed() / 1000.0 / labels;
    std::printf("save run: %.1f us per PNG label (%.0f per second), %.1f us of it in user space\n", save,
                1e6 / save, (userMicros() - cpu) / labels);

    // Where a save-run label's processor time goes, step by step.
    {
        const FormatOptions options;
        SymbolRenderer renderer;
        SymbolRenderer::Style style;
        style.textPixels = qEnvironmentVariableIsSet("NO_TEXT") ? 0 : 8.0 * 96 / 72;
        QImage ink(192, 96, QImage::Format_Grayscale8);
        double encode = 0, draw = 0, png = 0;
        QByteArray bytes;
        for (int i = 0; i < labels; ++i) {
            double t0 = threadNanos();
            const SymbolBuilder::Built built = SymbolBuilder::build(
                Symbology::Code128, QStringLiteral("QM%1").arg(i, 8, 10, QLatin1Char('0')), options);
            double t1 = threadNanos();
            encode += t1 - t0;
            ink.fill(255);
            QPainter painter(&ink);
            renderer.draw(painter, ink.rect(), built.model, style);
            painter.end();
            t0 = threadNanos();
            draw += t0 - t1;
            bytes = PngWriter::twoColour(ink, Qt::white, Qt::black, 96, 96);
            png += threadNanos() - t0;
        }
        std::printf("  encode %.1f us, draw %.1f us, PNG bytes %.1f us (%lld bytes)\n",
                    encode / 1000 / labels, draw / 1000 / labels, png / 1000 / labels,
                    (long long)bytes.size());
    }

    QPdfWriter pdf(dir.filePath(QStringLiteral("labels.pdf")));
    pdf.setResolution(600);
    QPainter painter(&pdf);
    const std::int32_t handle = DeviceRegistry::add(&painter);
    v.Font().setSize(8.0 * 600 / 96);
    timer.restart();
    cpu = userMicros();
    const int perPage = 30;
    for (int i = 0; i < labels; ++i) {
        if (i > 0 && i % perPage == 0)
            pdf.newPage();
        const int cell = i % perPage;
        v.setCaption(QStringLiteral("QM%1").arg(i, 8, 10, QLatin1Char('0')));
        v.DrawToDevice(handle, 100 + (cell % 3) * 1300, 100 + (cell / 3) * 650, 1200, 600);
    }
    painter.end();
    const double print = timer.nsecsElapsed() / 1000.0 / labels;
    DeviceRegistry::remove(handle);
    std::printf("printing run: %.1f us per label into a PDF, %.1f us of it in user space\n", print,
                (userMicros() - cpu) / labels);
    return 0;
}
