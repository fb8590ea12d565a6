#include "ImportColumnsChoice.h"

namespace {

QString delimiterName(ImportColumns::Delimiter delimiter)
{
    switch (delimiter) {
    case ImportColumns::Delimiter::Detect:
        break;
    case ImportColumns::Delimiter::Comma:
        return QStringLiteral("Comma");
    case ImportColumns::Delimiter::Semicolon:
        return QStringLiteral("Semicolon");
    case ImportColumns::Delimiter::Tab:
        return QStringLiteral("Tab");
    }
    return QStringLiteral("Find by itself");
}

} // namespace

ImportColumnsChoice::ImportColumnsChoice(const QString &path, const ImportColumns &columns)
    : m_path(path)
{
    setColumns(columns);
}

void ImportColumnsChoice::setColumns(const ImportColumns &columns)
{
    m_columns = columns;
    m_sample = sampleImport(m_path, m_columns, kRows);
}

QStringList ImportColumnsChoice::delimiterChoices() const
{
    using D = ImportColumns::Delimiter;
    QStringList choices;
    for (const D delimiter : {D::Detect, D::Comma, D::Semicolon, D::Tab})
        choices << delimiterName(delimiter);
    if (m_columns.delimiter == D::Detect && m_sample.error.isEmpty())
        choices[0] += QStringLiteral(" (%1)").arg(delimiterName(m_sample.delimiter).toLower());
    return choices;
}

QStringList ImportColumnsChoice::headings() const
{
    QStringList headings;
    for (const QString &name : m_sample.names)
        headings << u'{' + name + u'}';
    return headings;
}

QString ImportColumnsChoice::previewLine() const
{
    if (!m_columns.chosen())
        return QStringLiteral("No value template: each line of the file is a value.");
    if (!m_sample.error.isEmpty())
        return m_sample.error;
    if (m_columns.titleTemplate.isEmpty())
        return QStringLiteral("First label: %1").arg(m_sample.value);
    return QStringLiteral("First label: %1, titled %2").arg(m_sample.value, m_sample.title);
}
