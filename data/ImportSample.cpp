#include "ImportSample.h"
#include "ImportFile.h"
#include "ImportRows.h"
#include "QuillError.h"

#include <algorithm>

namespace {
ImportColumns::Delimiter delimiterOf(char delimiter)
{
    switch (delimiter) {
    case ';':
        return ImportColumns::Delimiter::Semicolon;
    case '\t':
        return ImportColumns::Delimiter::Tab;
    default:
        return ImportColumns::Delimiter::Comma;
    }
}
} // namespace

ImportSample sampleImport(const QString &path, const ImportColumns &columns, int maxRows)
{
    ImportSample sample;
    ImportFile file;
    try {
        if (!file.open(path))
            throw QuillError(path.isEmpty() ? QStringLiteral("No import file is chosen.")
                                            : QStringLiteral("Cannot read the import file \"%1\": %2.")
                                                  .arg(path, file.errorString()));
        ImportRows first(file, columns);
        first.first(&sample.value, &sample.title);
        sample.delimiter = delimiterOf(first.delimiter());
    } catch (const QuillError &error) {
        sample.error = error.description();
    }
    file.close();
    // The rows are worth showing also when the templates are wrong: read
    // again without them. A fault further down is the run's to report.
    ImportColumns split = columns;
    split.valueTemplate.clear();
    split.titleTemplate.clear();
    try {
        if (!file.open(path))
            return sample;
        ImportRows rows(file, split);
        rows.start();
        sample.names = rows.header();
        qsizetype widest = 0;
        while (sample.rows.size() < maxRows && rows.next()) {
            sample.rows << rows.fields();
            widest = std::max(widest, rows.fields().size());
        }
        for (qsizetype k = 1; !columns.header && k <= widest; ++k)
            sample.names << QString::number(k);
    } catch (const QuillError &) {
    }
    file.close();
    return sample;
}
