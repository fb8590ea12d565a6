#pragma once
#include "ImportTemplate.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// What one label of a run offers an object's template.
struct FieldRecord {
    QString value = {}; // the label's data value
    QString title = {}; // its title; empty when it has none
    QStringList fields = {}; // the row's columns, when the import file is read in columns
    long long number = 1; // the label's number in the run, from 1
    QDate date = {}; // the run's date
};

// An object's text over a label's fields, written as an import template is
// ("{{" and "}}" for the braces themselves): {value}, {title}, {n} (the
// label's number), {date} (yyyy-MM-dd) and {date:FORMAT} with a QDate format
// such as {date:dd.MM.yyyy}; with the import file read in columns, also a
// column by its header name ({sku}) or its number from 1 ({2}). The names
// value, title, n, date and date:... are always these fields: a column the
// header names so is reached by its number only.
class FieldTemplate {
public:
    // Raises QuillError when the text is no template; what names it in the
    // message ("[Object2] text" reads "The [Object2] text template ...").
    FieldTemplate(const QString &text, const QString &what);

    const QString &text() const { return m_parsed.text(); }
    // The names in braces, in order of first use and each once; a dated
    // field with its format is listed as "date".
    QStringList fieldNames() const;
    // Ties each column to the data's columns, as an import template binds.
    // Raises QuillError for a column the header lacks (listing its names), or
    // for any column when the data has none (hasColumns false: the fixed text,
    // the sequence, or the import file read line by line). source: the import
    // file as a message names it.
    void bind(const QStringList &header, bool hasHeader, bool hasColumns, const QString &source);
    // The text for one label. Raises QuillError naming the column when the
    // record's row is shorter than a column the template uses, or when a
    // column was never bound.
    QString apply(const FieldRecord &record) const;

private:
    enum class Kind { Literal, Value, Title, Number, Date, Column };
    struct Piece {
        Kind kind = Kind::Literal;
        QString text; // literal text, the date's format, or the column's name
        int column = -1; // a column's index from 0, once bound
    };
    QString columnLabel(const Piece &piece) const;
    [[noreturn]] void refuseWithoutColumns(const Piece &piece) const;

    ImportTemplate m_parsed;
    QString m_what;
    QList<Piece> m_pieces;
    QStringList m_header; // the names bind saw, for messages
};
