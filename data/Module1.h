#pragma once
#include "DataSourceControls.h"
#include "ImportFile.h"
#include <QString>

// Where label data comes from: the fixed text, the numeric sequence or the
// lines of the import file. Callers ask for the first value, then for further
// values until the empty text, the only end signal.
class Module1 {
public:
    explicit Module1(const DataSourceControls &controls);

    QString getFirstData();
    QString getFirstTitle();
    QString getNextData();
    QString getNextTitle();
    // Before a save or print run writes anything: QuillError with the reason
    // when the source cannot give its values, that is a sequence that cannot
    // count by one (beyond 2^53, or with more than 15 digits after a
    // fractional start), or an import file that is not chosen,
    // missing, unreadable, not an ordinary file or empty.
    void checkRun() const;

    // The first field of the import file's first line, for the data panel's
    // preview; the empty text when it cannot be read. Nothing stays open.
    QString importPreview(const QString &name);
    // A run stopped before the values ended: the import file is let go.
    void endRun();

private:
    bool readImportLine(QString *line);
    void checkSequence() const;

    const DataSourceControls &m_controls;
    double m_sequenceCounter = 0.0;
    QString m_sequenceFraction; // the start's decimal fraction: the value is counter + .fraction
    ImportFile m_importFile;
};
