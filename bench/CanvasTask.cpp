#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "DocumentHistory.h"
#include "Form1.h"
#include "LabelCanvas.h"
#include "LabelEditor.h"
#include "LabelLayout.h"
#include "PaintWatch.h"
#include "ProcessStats.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QSize windowSize(1280, 800); // a designer window as people keep it
constexpr int warmUpMoves = 20;
constexpr std::size_t draggedText = 3; // the first text of the grid

double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1, std::size_t(q * double(samples.size())))];
}

QString inches(double value) { return QString::number(value, 'f', 3); }

// A label of width x height inches with count objects: the designer's Code128
// symbol and two more symbols along the top, then texts (half of them from
// templates), boxes and lines in a grid below. Lengths in inches.
QByteArray designOf(int count, double width, double height, const QString &shop)
{
    QString text = QStringLiteral(
                       "[Form1]\nvtlw=%1\nvtlh=%2\nmesure=1\nbartype=8\ncombo2=Liberation Sans\ncombo3=10\n")
                       .arg(std::lround(width * 1440))
                       .arg(std::lround(height * 1440));
    int number = 0;
    const auto object = [&](const QString &kind, const QRectF &box, const QString &extra) {
        text += QStringLiteral("\n[Object%1]\nKind=%2\nLeft=%3\nTop=%4\nWidth=%5\nHeight=%6\n")
                    .arg(++number)
                    .arg(kind, inches(box.left()), inches(box.top()), inches(box.width()),
                         inches(box.height()))
            + extra;
    };
    const double quarter = (width - 0.2) / 4;
    object(QStringLiteral("Designer symbol"), QRectF(0.1, 0.1, 2 * quarter - 0.1, 0.8), {});
    object(QStringLiteral("Symbol"), QRectF(0.1 + 2 * quarter, 0.1, quarter - 0.1, 0.8),
           QStringLiteral("Data={value}\nSymbology=8\nShowText=1\nFont=Liberation Sans\nSize=7\n"));
    object(QStringLiteral("Symbol"), QRectF(0.1 + 3 * quarter, 0.1, quarter - 0.1, 0.8),
           QStringLiteral("Data={value}\nSymbology=6\nShowText=0\n"));
    const QRectF area(0.1, 1.0, width - 0.2, height - 1.1);
    const int rest = count - number;
    const int columns = int(std::ceil(std::sqrt(rest * area.width() / area.height())));
    const int rows = (rest + columns - 1) / columns;
    const QSizeF cell(area.width() / columns, area.height() / rows);
    const QStringList templates{QStringLiteral("{value}"), QStringLiteral("Lot {value}"),
                                QStringLiteral("No. {n}"), QStringLiteral("Item {value}, packed {n}")};
    for (int i = 0; i < rest; ++i) {
        const QRectF box(area.left() + (i % columns) * cell.width(),
                         area.top() + (i / columns) * cell.height(), cell.width() * 0.9, cell.height() * 0.8);
        const QString fixed = i % 8 == 1 ? shop : QStringLiteral("12.50");
        switch (i % 4) {
        case 0:
        case 1:
            object(QStringLiteral("Text"), box,
                   QStringLiteral("Text=%1\nFont=Liberation Sans\nSize=%2\nBold=%3\nAlign=%4\nShrink=1\n")
                       .arg(i % 4 == 0 ? templates[(i / 4) % templates.size()] : fixed)
                       .arg(6 + i % 3)
                       .arg(i % 3 == 0 ? 1 : 0)
                       .arg(i % 2 ? QStringLiteral("Center") : QStringLiteral("Left")));
            break;
        case 2:
            object(QStringLiteral("Box"), box,
                   QStringLiteral("Shape=%1\nCorner=0.03\nStroke=0.5\nFill=%2\n")
                       .arg(i % 8 == 2 ? QStringLiteral("Ellipse") : QStringLiteral("Rectangle"),
                            i % 3 ? QStringLiteral("none") : QStringLiteral("#eeeeee")));
            break;
        default: // lines across or down their cells
            object(QStringLiteral("Line"),
                   i % 8 == 3 ? QRectF(box.left(), box.center().y(), box.width(), 0)
                              : QRectF(box.center().x(), box.top(), 0, box.height()),
                   QStringLiteral("Stroke=0.5\n"));
        }
    }
    return text.toUtf8();
}

bool writeDesign(const QString &path, const QByteArray &design, BenchResult &result)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(design) == design.size() && file.flush())
        return true;
    result.fail(QStringLiteral("cannot write ") + path);
    return false;
}

// Runs the event loop until the watched widget has painted again; false after 5 s without.
bool paintedAfter(const PaintWatch &watch, int paints)
{
    QElapsedTimer waited;
    waited.start();
    while (watch.paints() <= paints) {
        if (waited.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

} // namespace

BenchResult runCanvasDragTask(qint64 moves, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("canvas-drag"), moves};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-canvas-XXXXXX")));
    const QString design = work.filePath(QStringLiteral("fifty.qmdesign"));
    const double width = 4, height = 3;
    if (!writeDesign(design, designOf(50, width, height, QStringLiteral("Shop 12")), result))
        return result;
    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    Form1 &form = designer.form();
    form.resize(windowSize);
    LabelCanvas &canvas = *form.editor().canvas();
    QWidget *viewport = canvas.viewport();
    const PaintWatch watch(viewport);
    if (!form.openDesign(design)) {
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
        return result;
    }
    designer.useFixedText(QStringLiteral("12345"));
    canvas.setSelection({draggedText});
    if (!paintedAfter(watch, 0) || !canvas.isVisible()) {
        result.fail(QStringLiteral("the canvas was not shown"));
        return result;
    }
    const std::size_t objects = form.document().objects().size();
    result.add(QStringLiteral("objects"), QString::number(objects));
    result.add(QStringLiteral("viewport"),
               QStringLiteral("%1x%2").arg(viewport->width()).arg(viewport->height()));
    const QRectF before = LabelLayout::boxOf(form.document(), draggedText);
    const int steps = form.editor().history().stack().count();

    // The pointer bounces between the label's sides, so the text stays on the label.
    const double margin = 0.05 * 1440;
    const QRectF bounds = QRectF(0, 0, width * 1440, height * 1440)
                              .adjusted(before.width() / 2 + margin, before.height() / 2 + margin,
                                        -before.width() / 2 - margin, -before.height() / 2 - margin);
    QPointF at = before.center(), step(bounds.width() / 150, bounds.height() / 110);
    QTest::mousePress(viewport, Qt::LeftButton, {}, canvas.viewportPoint(at));
    QTest::mouseMove(viewport, canvas.viewportPoint(at) + QPoint(QApplication::startDragDistance() + 2, 0));
    int missed = paintedAfter(watch, watch.paints()) ? 0 : 1;
    std::vector<double> samples;
    samples.reserve(std::size_t(moves));
    for (qint64 i = 0; i < moves + warmUpMoves; ++i) {
        if ((step.x() > 0 ? bounds.right() - at.x() : at.x() - bounds.left()) < std::abs(step.x()))
            step.setX(-step.x());
        if ((step.y() > 0 ? bounds.bottom() - at.y() : at.y() - bounds.top()) < std::abs(step.y()))
            step.setY(-step.y());
        at += step;
        const int paints = watch.paints();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseMove(viewport, canvas.viewportPoint(at));
        if (!paintedAfter(watch, paints))
            ++missed;
        if (i >= warmUpMoves)
            samples.push_back(double(timer.nsecsElapsed()) * 1e-9);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, canvas.viewportPoint(at));
    QCoreApplication::processEvents();
    result.peakMb = ProcessStats::peakMegabytes();
    result.seconds = quantile(samples, 0.5);
    result.add(QStringLiteral("p90_seconds"), quantile(samples, 0.9));
    result.add(QStringLiteral("p99_seconds"), quantile(samples, 0.99));
    result.add(QStringLiteral("max_seconds"), quantile(samples, 1));
    result.add(QStringLiteral("paints"), QString::number(watch.paints()));

    const QRectF after = LabelLayout::boxOf(form.document(), draggedText);
    const int added = form.editor().history().stack().count() - steps;
    result.verified = QStringLiteral("%1 step, the text moved by %2,%3 in")
                          .arg(added)
                          .arg(inches((after.left() - before.left()) / 1440))
                          .arg(inches((after.top() - before.top()) / 1440));
    if (objects != 50)
        result.fail(QStringLiteral("the design opened with %1 objects, not 50").arg(objects));
    if (missed > 0)
        result.fail(QStringLiteral("%1 moves did not repaint the canvas").arg(missed));
    if (added != 1 || after.size() != before.size() || after == before)
        result.fail(QStringLiteral("the drag did not end in one move of the text"));
    if (!QRectF(0, 0, width * 1440, height * 1440).contains(after))
        result.fail(QStringLiteral("the text was dragged off the label"));
    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    return result;
}

BenchResult runCanvasOpenTask(qint64 opens, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("canvas-open"), opens};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-canvas-XXXXXX")));
    // Two designs that differ in their texts, opened in turn.
    const QStringList designs{work.filePath(QStringLiteral("first.qmdesign")),
                              work.filePath(QStringLiteral("second.qmdesign"))};
    if (!writeDesign(designs[0], designOf(200, 6, 4, QStringLiteral("Shop 12")), result)
        || !writeDesign(designs[1], designOf(200, 6, 4, QStringLiteral("Shop 14")), result))
        return result;
    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    Form1 &form = designer.form();
    form.resize(windowSize);
    designer.useFixedText(QStringLiteral("12345"));
    QCoreApplication::processEvents();
    const PaintWatch watch(form.editor().canvas()->viewport());
    std::vector<double> samples;
    int failed = 0;
    for (qint64 i = 0; i < opens; ++i) {
        const int paints = watch.paints();
        QElapsedTimer timer;
        timer.start();
        const bool opened = form.openDesign(designs[i % 2]);
        if (!opened || !paintedAfter(watch, paints) || form.document().objects().size() != 200)
            ++failed;
        samples.push_back(double(timer.nsecsElapsed()) * 1e-9);
    }
    result.peakMb = ProcessStats::peakMegabytes();
    result.seconds = quantile(samples, 0.5);
    result.add(QStringLiteral("first_seconds"), samples.empty() ? 0.0 : samples.front());
    result.add(QStringLiteral("max_seconds"), quantile(samples, 1));
    result.add(QStringLiteral("paints"), QString::number(watch.paints()));
    result.verified = QStringLiteral("%1 of %2 opens showed 200 objects").arg(opens - failed).arg(opens);
    if (failed > 0)
        result.fail(QStringLiteral("%1 opens did not show the 200 objects on the canvas").arg(failed));
    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    return result;
}
