#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "Decode.h"
#include "Form1.h"
#include "OutputCommands.h"
#include "ProcessStats.h"
#include "ScreenMetrics.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QTemporaryDir>

namespace {
const QString caption = QStringLiteral("Quill-128");
} // namespace

BenchResult runPictureTask(int width, int height, const QString &format, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("picture"), 1};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-picture-XXXXXX")));
    work.setAutoRemove(!options.keep);
    const QString path = work.filePath(QStringLiteral("large.") + format);

    ScriptedDialogs dialogs;
    dialogs.saveAnswer = path;
    BenchDesigner designer(work.path(), dialogs);
    designer.useCode128();
    // Typed in inches, as many pixels as asked at the screen's resolution.
    designer.useSymbolSizeInInches(width * double(ScreenMetrics::twipsPerPixelX()) / 1440.0,
                                   height * double(ScreenMetrics::twipsPerPixelY()) / 1440.0);
    designer.useFixedText(caption);
    designer.waitUntilShown();
    const double baseMb = ProcessStats::peakMegabytes();

    QElapsedTimer timer;
    timer.start();
    designer.form().output().mnuSave_Click();
    result.seconds = double(timer.nsecsElapsed()) * 1e-9;
    result.peakMb = ProcessStats::peakMegabytes();
    result.add(QStringLiteral("base_mb"), baseMb, 1);
    result.add(QStringLiteral("one_bit_mb"), double(width) * height / 8 / 1048576, 1);
    result.add(QStringLiteral("size"), QStringLiteral("%1x%2").arg(width).arg(height));
    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));

    // Read back by Qt's reader, then a strip across the middle by zxing-cpp.
    QImageReader::setAllocationLimit(0);
    QImageReader reader(path);
    if (reader.size() != QSize(width, height)) {
        result.fail(QStringLiteral("the file is not a picture of %1 x %2 pixels").arg(width).arg(height));
    } else if (options.check == QLatin1String("none")) {
        result.verified = QStringLiteral("size");
    } else {
        const QImage picture = reader.read();
        const QImage strip = picture.copy(0, height / 2 - 50, width, 100).scaled(width / 64, 100);
        const QString read = Decode::zxingOne(strip);
        result.verified = QStringLiteral("%1/1").arg(read == caption ? 1 : 0);
        if (read != caption)
            result.fail(QStringLiteral("the picture reads \"%1\"").arg(read));
    }
    if (options.keep)
        result.notes << QStringLiteral("kept ") + path;
    return result;
}
