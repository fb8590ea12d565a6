#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The figures of one task, printed as one "RESULT key=value ..." line that
// bench/run reads, and as one sentence for people.
struct BenchResult {
    BenchResult() = default;
    BenchResult(QString taskName, qint64 taskCount)
        : task(std::move(taskName))
        , count(taskCount)
    {
    }

    QString task;
    qint64 count = 0; // labels, files or keystrokes
    double seconds = 0.0; // the measured handler, or the median for many samples
    double peakMb = 0.0;
    bool ok = true; // false: the run failed or its output did not check out
    QString verified; // what the outside check found, e.g. "334/334 pages"
    QList<QPair<QString, QString>> extra;
    QStringList notes; // why it is not ok, messages the program showed

    void fail(const QString &why)
    {
        ok = false;
        notes << why;
    }
    void add(const QString &key, const QString &value) { extra.append({key, value}); }
    void add(const QString &key, double value, int decimals = 6)
    {
        extra.append({key, QString::number(value, 'f', decimals)});
    }

    QString resultLine() const;
    QString sentence() const;
};
