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

    // The shared import-file slot (the data panel's import preview uses it too).
    ImportFile &importFile() { return m_importFile; }
    double sequenceCounter() const { return m_sequenceCounter; }

private:
    const DataSourceControls &m_controls;
    double m_sequenceCounter = 0.0;
    ImportFile m_importFile;
};
