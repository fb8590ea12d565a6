#pragma once
#include "ImportColumns.h"
#include "ImportSample.h"

#include <QString>
#include <QStringList>

// What the Columns dialog shows while the user chooses: the import file's
// first rows split as chosen, and the first row's value and title through the
// templates. The file is sampled afresh at every change; nothing stays open.
class ImportColumnsChoice {
public:
    static constexpr int kRows = 8; // rows the table shows

    ImportColumnsChoice(const QString &path, const ImportColumns &columns);

    const ImportColumns &columns() const { return m_columns; }
    void setColumns(const ImportColumns &columns);
    const ImportSample &sample() const { return m_sample; }

    // The delimiter list, in the order of ImportColumns::Delimiter; while the
    // delimiter is found by itself, its entry says which one was found.
    QStringList delimiterChoices() const;
    // The table's headings: each column as a template names it, "{sku}" or "{2}".
    QStringList headings() const;
    // What the first label gets, the reason it gets nothing, or that each line is a value.
    QString previewLine() const;

private:
    QString m_path;
    ImportColumns m_columns;
    ImportSample m_sample;
};
