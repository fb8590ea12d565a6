#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "Form1.h"
#include "LabelSheet.h"
#include "Module1.h"
#include "ProcessStats.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

BenchResult runImportTask(qint64 lines, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("import"), lines};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-import-XXXXXX")));
    work.setAutoRemove(!options.keep);
    const QString start = QStringLiteral("0000001");
    const QString path = work.filePath(QStringLiteral("values.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            result.fail(QStringLiteral("cannot write ") + path);
            return result;
        }
        QByteArray chunk;
        for (qint64 k = 1; k <= lines; ++k) {
            chunk += sequenceValue(k, start).toLatin1();
            chunk += "\r\n";
            if (chunk.size() > (1 << 16)) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
    }

    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    designer.useImportFile(path);
    Module1 &data = designer.form().module1();

    // A run reads the file line by line: the first value, then the next ones
    // until the empty text. Nothing of the file may stay in memory behind it.
    QElapsedTimer timer;
    timer.start();
    qint64 count = 0, wrong = 0;
    for (QString value = data.getFirstData(); !value.isEmpty(); value = data.getNextData()) {
        ++count;
        if (value != sequenceValue(count, start))
            ++wrong;
    }
    result.seconds = double(timer.nsecsElapsed()) * 1e-9;
    result.peakMb = ProcessStats::peakMegabytes();
    result.verified = QStringLiteral("%1/%2 values").arg(count - wrong).arg(lines);
    if (count != lines || wrong != 0)
        result.fail(QStringLiteral("read %1 values, %2 of them wrong").arg(count).arg(wrong));
    return result;
}
