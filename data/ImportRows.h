#pragma once
#include "ImportColumns.h"
#include "ImportTemplate.h"
#include <QStringList>

class ImportFile;

// The rows of an open import file as its columns read them: the delimiter,
// the header's names and, row by row, the fields and the value and title
// the templates make of them.
class ImportRows {
public:
    // Raises QuillError when a template is no template.
    ImportRows(ImportFile &file, const ImportColumns &columns);

    // From the file's first byte: finds the delimiter and reads the header row.
    void start();
    // start() and the first row through the templates: raises QuillError for
    // a file without rows of data, a template naming a column the file lacks
    // or a first row that fails.
    void first(QString *value, QString *title);
    // The next row of data; false at the end of the file or at a row whose
    // fields are all empty (a blank line), which ends the data.
    bool next();
    const QStringList &fields() const { return m_fields; }
    // The row through the templates. Raises QuillError naming the row's line
    // and the column for a row shorter than a template needs, or an empty value.
    void evaluate(QString *value, QString *title);

    char delimiter() const { return m_delimiter; }
    // The header's names, or empty without a header row.
    const QStringList &header() const { return m_header; }

private:
    QString column(int number) const;

    ImportFile &m_file;
    ImportColumns m_columns;
    ImportTemplate m_value;
    ImportTemplate m_title;
    char m_delimiter = ',';
    bool m_bound = false;
    QStringList m_header;
    QStringList m_fields;
};
