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
    // count by one (beyond 2^53), or an import file that is not chosen,
    // missing, unreadable, not an ordinary file or empty.
    void checkRun() const;

    // The shared import-file slot (the data panel's import preview uses it too).
    ImportFile &importFile() { return m_importFile; }
    double sequenceCounter() const { return m_sequenceCounter; }

private:
    bool readImportLine(QString *line);

    const DataSourceControls &m_controls;
    double m_sequenceCounter = 0.0;
    ImportFile m_importFile;
};
