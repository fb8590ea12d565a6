#include "ImportTemplate.h"
#include "QuillError.h"

ImportTemplate::ImportTemplate(const QString &text, const QString &what)
    : m_text(text)
    , m_what(what)
{
    QString literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool doubled = i + 1 < text.size() && text[i + 1] == c;
        if (c == u'}' || (c == u'{' && doubled)) {
            literal += c;
            i += doubled ? 1 : 0;
            continue;
        }
        if (c != u'{') {
            literal += c;
            continue;
        }
        const qsizetype close = text.indexOf(u'}', i + 1);
        if (close < 0)
            throw QuillError(QStringLiteral("The %1 template %2 has a \"{\" that is not closed: write "
                                            "\"{{\" for the brace itself.")
                                 .arg(what, quoted(text)));
        const QString name = text.mid(i + 1, close - i - 1).trimmed();
        if (name.isEmpty())
            throw QuillError(QStringLiteral("The %1 template %2 has a \"{}\" that names no column.")
                                 .arg(what, quoted(text)));
        if (!literal.isEmpty())
            m_pieces.append({.text = literal});
        literal.clear();
        m_pieces.append({.text = name, .isColumn = true});
        i = close;
    }
    if (!literal.isEmpty())
        m_pieces.append({.text = literal});
}

void ImportTemplate::bind(const QStringList &names, bool header, const QString &source)
{
    for (Piece &piece : m_pieces) {
        if (!piece.isColumn)
            continue;
        piece.column = -1; // a name that fails stays unbound
        piece.column = columnOf(piece.text, names, header, source);
    }
}

int ImportTemplate::columnOf(const QString &name, const QStringList &names, bool header,
                             const QString &source) const
{
    for (qsizetype k = 0; header && k < names.size(); ++k)
        if (names[k].trimmed() == name)
            return int(k);
    bool number = false;
    const int n = name.toInt(&number);
    if (number && n >= 1 && (!header || n <= names.size()))
        return n - 1;
    QStringList shown;
    for (const QString &column : names)
        shown << quoted(column.trimmed());
    const QString list = shown.join(QStringLiteral(", "));
    // Without a header row a caller that has read no row yet knows no column count.
    const QString columns = header ? QStringLiteral("its header names the columns: ") + list
        : shown.isEmpty()          ? QStringLiteral("without a header row its columns are numbered from 1")
                                   : QStringLiteral("without a header row its columns are numbered: ") + list;
    throw QuillError(QStringLiteral("The %1 template %2 names the column \"%3\", which %4 does not have; %5.")
                         .arg(m_what, quoted(m_text), name, source, columns));
}

int ImportTemplate::widest() const
{
    int widest = 0;
    for (const Piece &piece : m_pieces)
        widest = std::max(widest, piece.column + 1);
    return widest;
}

int ImportTemplate::firstEmpty(const QStringList &fields) const
{
    for (const Piece &piece : m_pieces)
        if (piece.column >= 0 && fields.value(piece.column).isEmpty())
            return piece.column + 1;
    return 0;
}

QString ImportTemplate::apply(const QStringList &fields) const
{
    QString text;
    for (const Piece &piece : m_pieces)
        text += piece.column >= 0 ? fields.value(piece.column) : piece.text;
    return text;
}
