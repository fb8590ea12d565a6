#pragma once
#include "DataSourceControls.h"
#include "ImportFile.h"
#include "ImportRows.h"
#include <QString>
#include <optional>

// Where label data comes from: the fixed text, the numeric sequence or the
// lines of the import file. Callers ask for the first value, then for further
// values until the empty text, the only end signal. With the import file's
// columns chosen, each row gives a value and its title through the templates,
// and bad data raises QuillError naming the line.
// How far a run has gone through its data, where the source knows its end.
struct DataExtent {
    long long done = 0; // values given, or bytes read
    long long total = 0; // the sequence's count, or the import file's size
    bool bytes = false; // an import file, measured in bytes
};

class Module1 {
public:
    explicit Module1(const DataSourceControls &controls);
    const DataSourceControls &controls() const { return m_controls; }

    QString getFirstData();
    QString getFirstTitle();
    QString getNextData();
    QString getNextTitle();
    // Before a save or print run writes anything: QuillError with the reason
    // when the source cannot give its values, that is a sequence that cannot
    // count by one (beyond 2^53, or with more than 15 digits after a
    // fractional start), or an import file that is not chosen,
    // missing, unreadable, not an ordinary file or empty. With columns, also
    // a template naming a column the file lacks, or a first row that fails.
    // Standard input is read only as far as that takes, and kept for the run.
    void checkRun();

    // The first field of the import file's first line, for the data panel's
    // preview; with columns, the first row's value. The empty text when it
    // cannot be read. Nothing stays open.
    QString importPreview(const QString &name);
    // With columns, the first row's title; else the empty text.
    QString importPreviewTitle(const QString &name);
    // Whether each value comes with its own row's title, which a picture then
    // carries too: the import file's columns with a title template.
    bool valuesCarryTitles() const;
    // How far the values given since getFirstData have gone: a sequence's
    // values of its count, an import file's bytes of its size. None for the
    // fixed text, standard input, or a file already let go.
    std::optional<DataExtent> extent() const;
    // A run stopped before the values ended: the import file is let go.
    void endRun();

    // Columns are chosen and the source is the import file.
    bool readsColumns() const;
    // The fields of the row the last getFirstData or getNextData read; empty
    // without columns and after the last row.
    const QStringList &rowFields() const { return m_rowFields; }
    // The run's header row as the file has it, from getFirstData on; empty
    // without a header row or without columns.
    QStringList header() const;

private:
    bool readImportLine(QString *line);
    void checkSequence() const;
    void openImport();
    QString firstRow();
    QString nextRow();
    void checkImport(ImportFile &file);
    QString previewRow(const QString &name, bool title);

    const DataSourceControls &m_controls;
    double m_sequenceCounter = 0.0;
    double m_sequenceFirst = 0.0; // the counter of the first value
    QString m_sequenceFraction; // the start's decimal fraction: the value is counter + .fraction
    ImportFile m_importFile;
    std::optional<ImportRows> m_rows; // over m_importFile, while columns are read
    QString m_rowTitle; // the title of the row last read
    QStringList m_rowFields; // the columns of the row last read
    bool m_standardInputTaken = false;
};
