#pragma once
#include "ImportColumns.h"
#include <QList>
#include <QString>
#include <QStringList>

// The import file's first rows as the columns read them, for a dialog that
// shows them and the value and title its templates make of the first row.
struct ImportSample {
    ImportColumns::Delimiter delimiter = ImportColumns::Delimiter::Comma; // used: chosen, or found
    QStringList names; // the header's names, or "1", "2", ... without a header row
    QList<QStringList> rows; // up to maxRows data rows, as split
    QString value; // the first data row through the value template
    QString title; // the first data row through the title template
    QString error; // why the file or the templates give no first row; empty when fine
};

// Never throws; nothing stays open.
ImportSample sampleImport(const QString &path, const ImportColumns &columns, int maxRows = 8);
