#include "FieldTemplate.h"
#include "QuillError.h"


namespace {
const QString kDate = QStringLiteral("date");
const QString kDatedPrefix = QStringLiteral("date:");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
} // namespace

FieldTemplate::FieldTemplate(const QString &text, const QString &what)
    : m_parsed(text, what)
    , m_what(what)
{
    for (const ImportTemplate::Piece &piece : m_parsed.pieces()) {
        const QString &name = piece.text;
        Kind kind = Kind::Column;
        QString field = name;
        if (!piece.isColumn)
            kind = Kind::Literal;
        else if (name == QLatin1String("value"))
            kind = Kind::Value;
        else if (name == QLatin1String("title"))
            kind = Kind::Title;
        else if (name == QLatin1String("n"))
            kind = Kind::Number;
        else if (name == kDate || name.startsWith(kDatedPrefix)) {
            kind = Kind::Date;
            field = name.mid(kDatedPrefix.size());
            // "{date:}" is the plain date, not an empty text.
            if (field.isEmpty())
                field = kDateFormat;
        }
        m_pieces.append({.kind = kind, .text = field});
    }
}

QStringList FieldTemplate::fieldNames() const
{
    QStringList names;
    for (const Piece &piece : m_pieces) {
        const QString name = piece.kind == Kind::Date ? kDate : piece.text;
        if (piece.kind != Kind::Literal && !names.contains(name))
            names << name;
    }
    return names;
}

void FieldTemplate::bind(const QStringList &header, bool hasHeader, bool hasColumns, const QString &source)
{
    m_header = hasHeader ? header : QStringList();
    for (Piece &piece : m_pieces) {
        if (piece.kind != Kind::Column)
            continue;
        piece.column = -1;
        if (!hasColumns)
            refuseWithoutColumns(piece);
        piece.column = m_parsed.columnOf(piece.text, header, hasHeader, source);
    }
}

QString FieldTemplate::apply(const FieldRecord &record) const
{
    QString made;
    for (const Piece &piece : m_pieces) {
        switch (piece.kind) {
        case Kind::Literal:
            made += piece.text;
            break;
        case Kind::Value:
            made += record.value;
            break;
        case Kind::Title:
            made += record.title;
            break;
        case Kind::Number:
            made += QString::number(record.number);
            break;
        case Kind::Date:
            made += record.date.toString(piece.text);
            break;
        case Kind::Column:
            if (piece.column < 0)
                refuseWithoutColumns(piece);
            if (piece.column >= record.fields.size())
                throw QuillError(QStringLiteral("The row has %1 column(s), but the %2 template %3 uses %4.")
                                     .arg(QString::number(record.fields.size()), m_what, quoted(text()),
                                          columnLabel(piece)));
            made += record.fields[piece.column];
            break;
        }
    }
    return made;
}

// "column 3", with its name when the header gives one.
QString FieldTemplate::columnLabel(const Piece &piece) const
{
    const QString name = m_header.value(piece.column).trimmed();
    const QString number = QStringLiteral("column %1").arg(piece.column + 1);
    return name.isEmpty() ? number : number + QStringLiteral(" (%1)").arg(quoted(name));
}

void FieldTemplate::refuseWithoutColumns(const Piece &piece) const
{
    throw QuillError(
        QStringLiteral("The %1 template %2 names the column \"%3\", but the label's data has no "
                       "columns: without the import file's columns chosen, only {value}, {title}, "
                       "{n} and {date} are there.")
            .arg(m_what, quoted(text()), piece.text));
}
