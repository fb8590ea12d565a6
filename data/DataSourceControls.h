#pragma once
#include "ImportColumns.h"
#include <QString>

// The designer's data panel as the data-value functions read it, afresh at
// every call.
class DataSourceControls {
public:
    virtual ~DataSourceControls() = default;
    virtual bool textSelected() const = 0; // "Text"
    virtual bool sequenceSelected() const = 0; // "Sequence"
    virtual bool importSelected() const = 0; // "Import text file"
    virtual QString fixedText() const = 0;
    virtual QString sequenceStart() const = 0;
    virtual QString sequenceEnd() const = 0;
    virtual QString importFileName() const = 0;
    virtual QString prefix() const = 0;
    virtual QString suffix() const = 0;
    // The import file's columns; none chosen unless a design sets them.
    virtual ImportColumns importColumns() const { return {}; }
    // The import data is the process's standard input, read once as a stream,
    // not the named file (the command line's "--import -").
    virtual bool importFromStandardInput() const { return false; }
};
