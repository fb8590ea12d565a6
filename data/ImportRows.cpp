#include "ImportRows.h"
#include "ImportFile.h"
#include "QuillError.h"

#include <algorithm>

namespace {
char delimiterChar(ImportColumns::Delimiter delimiter)
{
    switch (delimiter) {
    case ImportColumns::Delimiter::Semicolon:
        return ';';
    case ImportColumns::Delimiter::Tab:
        return '\t';
    default:
        return ',';
    }
}
} // namespace

ImportRows::ImportRows(ImportFile &file, const ImportColumns &columns)
    : m_file(file)
    , m_columns(columns)
    , m_value(columns.valueTemplate, QStringLiteral("value"))
    , m_title(columns.titleTemplate, QStringLiteral("title"))
{
}

void ImportRows::start()
{
    m_delimiter = m_columns.delimiter == ImportColumns::Delimiter::Detect
        ? m_file.detectDelimiter()
        : delimiterChar(m_columns.delimiter);
    m_bound = false;
    m_header.clear();
    if (!m_columns.header || !m_file.readRecord(&m_header, m_delimiter))
        return;
    m_value.bind(m_header, true, m_file.source());
    m_title.bind(m_header, true, m_file.source());
    m_bound = true;
}

void ImportRows::first(QString *value, QString *title)
{
    m_file.refuseEmpty();
    start();
    if (!next()) {
        QString source = m_file.source();
        source[0] = source[0].toUpper();
        const QString afterHeader = m_columns.header ? QStringLiteral(" after its header row") : QString();
        throw QuillError(QStringLiteral("%1 has no rows of data%2.").arg(source, afterHeader));
    }
    evaluate(value, title);
}

bool ImportRows::next()
{
    if (!m_file.readRecord(&m_fields, m_delimiter))
        return false;
    if (std::all_of(m_fields.begin(), m_fields.end(), [](const QString &field) { return field.isEmpty(); }))
        return false;
    if (!m_bound) {
        QStringList numbers;
        for (qsizetype k = 1; k <= m_fields.size(); ++k)
            numbers << QString::number(k);
        m_value.bind(numbers, false, m_file.source());
        m_title.bind(numbers, false, m_file.source());
        m_bound = true;
    }
    return true;
}

void ImportRows::evaluate(QString *value, QString *title)
{
    const int widest = std::max(m_value.widest(), m_title.widest());
    const auto line
        = [this] { return QStringLiteral("Line %1 of %2").arg(m_file.recordLine()).arg(m_file.source()); };
    if (m_fields.size() < widest)
        throw QuillError(QStringLiteral("%1 has %2 column(s), but the templates use %3.")
                             .arg(line())
                             .arg(m_fields.size())
                             .arg(column(widest)));
    *value = m_value.apply(m_fields);
    if (value->isEmpty() && !m_value.isEmpty())
        throw QuillError(QStringLiteral("%1, %2: the value template %3 gives an empty value.")
                             .arg(line(), column(m_value.firstEmpty(m_fields)), quoted(m_value.text())));
    *title = m_title.apply(m_fields);
}

// "column 3", with its name when the header gives one.
QString ImportRows::column(int number) const
{
    const QString name = m_header.value(number - 1).trimmed();
    return name.isEmpty() ? QStringLiteral("column %1").arg(number)
                          : QStringLiteral("column %1 (%2)").arg(number).arg(quoted(name));
}
