#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// A value or title built from a row's columns: "{sku}-{size}" or "{1}-{3}",
// literal text between. "{{" and "}}" are a literal brace, and so is a "}"
// that closes nothing; a "{" without its "}" or with no name inside is an
// error. Blanks around a name are not part of it.
class ImportTemplate {
public:
    // Raises QuillError when the text is no template; what names it in the
    // message ("value", "title").
    ImportTemplate(const QString &text, const QString &what);

    bool isEmpty() const { return m_text.isEmpty(); }
    // Ties each name to its column: the header's column of that name (its
    // names without their blanks), else a number from 1. Raises QuillError,
    // listing the columns there are, for a name that is neither; without a
    // header row (header false) a number is kept even beyond names, since a
    // later row may be longer. source: the import file as a message names it.
    void bind(const QStringList &names, bool header, const QString &source);
    // The column one name stands for, as bind ties it, from 0; raises the
    // same QuillError for a name that is neither.
    int columnOf(const QString &name, const QStringList &names, bool header, const QString &source) const;
    // The highest column the template uses, from 1; 0 when it uses none.
    int widest() const;
    // The first column the template uses that is empty in fields, from 1; 0 when none.
    int firstEmpty(const QStringList &fields) const;
    // The text for one row; fields holds at least widest() columns.
    QString apply(const QStringList &fields) const;
    const QString &text() const { return m_text; }

    struct Piece {
        QString text; // literal text, or the column's name
        int column = -1; // -1: literal; else the column's index from 0, once bound
        bool isColumn = false;
    };
    // The text as it reads: literal runs and names in braces, in order.
    const QList<Piece> &pieces() const { return m_pieces; }

private:
    QString m_text;
    QString m_what;
    QList<Piece> m_pieces;
};
