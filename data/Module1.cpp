#include "Module1.h"

#include "Numbers.h"
#include "QuillError.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double kExactLimit = 9007199254740992.0; // 2^53: a double counts by one up to here
// The number text shows at most 15 significant digits.
constexpr qsizetype kSignificantDigits = 15;
// A decimal fraction longer than this is not kept digit by digit: a run that
// would count with it is refused anyway (it needs more than 15 digits).
constexpr std::int64_t kLongestFraction = 400;

const QString kPrefixPlaceholder = QStringLiteral("(prefix)");
const QString kSuffixPlaceholder = QStringLiteral("(sufix)");

Numbers::Decimal exact(const QString &text) { return Numbers::exactValue(text).value_or(Numbers::Decimal{}); }

bool beyondExactLimit(Numbers::Decimal value)
{
    static const Numbers::Decimal limit = exact(QStringLiteral("9007199254740992"));
    value.negative = false;
    return Numbers::compare(value, limit) > 0;
}

// Whole counters keep every digit as long as a double holds them exactly
// (up to 2^53, about 9e15), so long serial numbers print in full; anything
// else follows the number text rule (15 significant digits).
QString counterText(double counter)
{
    if (counter == std::floor(counter) && std::fabs(counter) <= kExactLimit)
        return QString::number(static_cast<qint64>(counter));
    return Numbers::numberText(counter);
}

// 1 - .fraction, digit by digit: "3" gives "7", "05" gives "95".
QString complement(const QString &fraction)
{
    QString rest(fraction.size(), u'0');
    for (qsizetype i = 0; i < fraction.size(); ++i)
        rest[i] = QChar(u'0' + (i + 1 < fraction.size() ? 9 : 10) - (fraction[i].unicode() - u'0'));
    return rest;
}

// A sequence value is its whole counter plus the start's decimal fraction,
// kept as typed digits, so that -10.1 counts to -.1 and not to
// -.0999999999999996 (as adding 1 to the nearest double would).
struct Counter {
    double whole = 0.0;
    QString fraction; // digits after the point of counter + .fraction; empty for a whole start
    bool exact = true; // false when the start is beyond 2^53 or its fraction longer than kept
};

Counter counterAtStart(const QString &start)
{
    Counter counter;
    counter.whole = Numbers::numericValue(start);
    const std::optional<Numbers::Decimal> value = Numbers::exactValue(start);
    if (!value)
        return counter;
    const auto digits = std::int64_t(value->digits.size());
    counter.exact = !beyondExactLimit(*value);
    if (value->exponent >= digits)
        return counter;
    const std::int64_t wholeDigits = std::max<std::int64_t>(value->exponent, 0);
    if (!counter.exact || digits - value->exponent > kLongestFraction) {
        counter.exact = false;
        return counter;
    }
    const std::string &all = value->digits;
    const double whole = wholeDigits > 0 ? double(std::stoll(all.substr(0, wholeDigits))) : 0.0;
    const QString fraction = QString(std::max<std::int64_t>(-value->exponent, 0), u'0')
        + QString::fromLatin1(all.substr(wholeDigits));
    // Kept as the whole number below and the fraction above it: -2.3 is -3 + .7.
    counter.whole = value->negative ? -whole - 1.0 : whole;
    counter.fraction = value->negative ? complement(fraction) : fraction;
    return counter;
}

// The number text of a counter: "-" when negative, no 0 before the point.
QString sequenceText(double whole, const QString &fraction)
{
    if (fraction.isEmpty())
        return counterText(whole);
    if (whole >= 0.0)
        return (whole == 0.0 ? QString() : counterText(whole)) + u'.' + fraction;
    const double below = -whole - 1.0;
    return u'-' + (below == 0.0 ? QString() : counterText(below)) + u'.' + complement(fraction);
}

// Prefix and suffix around a sequence value; the placeholders, compared exactly, mean none.
QString withAffixes(const DataSourceControls &controls, const QString &core)
{
    const QString prefix = controls.prefix();
    const QString suffix = controls.suffix();
    return (prefix == kPrefixPlaceholder ? QString() : prefix) + core
        + (suffix == kSuffixPlaceholder ? QString() : suffix);
}

} // namespace

Module1::Module1(const DataSourceControls &controls)
    : m_controls(controls)
{
}

QString Module1::getFirstData()
{
    m_rowFields.clear();
    if (m_controls.textSelected())
        return m_controls.fixedText();
    if (m_controls.sequenceSelected()) {
        const QString start = m_controls.sequenceStart();
        const Counter counter = counterAtStart(start);
        m_sequenceCounter = counter.whole;
        m_sequenceFirst = counter.whole;
        m_sequenceFraction = counter.fraction;
        return withAffixes(m_controls, start);
    }
    if (m_controls.importSelected()) {
        if (m_controls.importColumns().chosen())
            return firstRow();
        openImport();
        QString line;
        // An empty file has nothing more to give: nothing stays open.
        if (!readImportLine(&line))
            m_importFile.close();
        m_importFile.forgetStart();
        return line;
    }
    return {};
}

QString Module1::getFirstTitle()
{
    if (m_controls.textSelected() || m_controls.sequenceSelected() || !m_controls.importSelected())
        return {};
    if (m_controls.importColumns().chosen()) {
        if (!m_rows)
            firstRow();
        return m_rowTitle;
    }
    if (!m_importFile.isOpen())
        openImport();
    QString line;
    readImportLine(&line);
    return line;
}

QString Module1::getNextData()
{
    m_rowFields.clear();
    if (m_controls.textSelected())
        return {};
    if (m_controls.sequenceSelected()) {
        const double previous = m_sequenceCounter;
        m_sequenceCounter += 1.0;
        // Beyond 2^53 a double no longer counts by one: end there rather than
        // print a number twice or skip one. The end is compared as typed.
        if (m_sequenceCounter == previous || std::fabs(m_sequenceCounter) > kExactLimit)
            return {};
        QString number = sequenceText(m_sequenceCounter, m_sequenceFraction);
        if (Numbers::compare(exact(number), exact(m_controls.sequenceEnd())) > 0)
            return {};
        const QString start = m_controls.sequenceStart();
        if (start.startsWith(u'0') && start.size() > number.size())
            number.prepend(QString(start.size() - number.size(), u'0'));
        return withAffixes(m_controls, number);
    }
    if (m_controls.importSelected()) {
        if (m_controls.importColumns().chosen())
            return nextRow();
        QString line;
        readImportLine(&line);
        if (line.isEmpty())
            m_importFile.close();
        return line;
    }
    return {};
}

QString Module1::getNextTitle()
{
    if (m_controls.textSelected() || m_controls.sequenceSelected() || !m_controls.importSelected())
        return {};
    if (m_controls.importColumns().chosen())
        return m_rowTitle;
    QString line;
    readImportLine(&line);
    return line;
}

std::optional<DataExtent> Module1::extent() const
{
    if (m_controls.sequenceSelected()) {
        // The end as typed, read as the counter reads the start; at least the first value.
        const double last = counterAtStart(m_controls.sequenceEnd()).whole;
        const double count = std::max(1.0, std::floor(last - m_sequenceFirst) + 1.0);
        if (!std::isfinite(count) || count > kExactLimit)
            return std::nullopt;
        const double given = m_sequenceCounter - m_sequenceFirst + 1.0;
        return DataExtent{.done = (long long)std::min(given, count), .total = (long long)count};
    }
    if (!m_controls.importSelected())
        return std::nullopt;
    const auto bytes = m_importFile.bytesRead();
    if (!bytes || bytes->second <= 0)
        return std::nullopt;
    return DataExtent{.done = bytes->first, .total = bytes->second, .bytes = true};
}

// Closes the slot and opens the import file named in the panel; a file that
// cannot be opened leaves it closed, and the reads give the empty text.
// Standard input is taken once, and read again from its start only while its
// first rows are kept (after a check, before the run's first row).
void Module1::openImport()
{
    if (!m_controls.importFromStandardInput()) {
        m_importFile.close();
        m_importFile.open(m_controls.importFileName());
        return;
    }
    if (m_importFile.rewind())
        return;
    m_importFile.close();
    if (m_standardInputTaken)
        throw QuillError(QStringLiteral("Standard input has been read already: it can be read only once."));
    m_standardInputTaken = true;
    m_importFile.openStandardInput();
}

// The first row of data through the templates, after the header row. A
// file without rows gives the empty text and is let go.
QString Module1::firstRow()
{
    openImport();
    QString value;
    m_rowTitle.clear();
    m_rowFields.clear();
    try {
        m_rows.emplace(m_importFile, m_controls.importColumns());
        m_rows->start();
        if (m_rows->next()) {
            m_rows->evaluate(&value, &m_rowTitle);
            m_rowFields = m_rows->fields();
        } else {
            m_importFile.close();
        }
        m_importFile.forgetStart();
    } catch (const QuillError &) {
        m_importFile.close();
        m_rows.reset();
        throw;
    }
    return value;
}

// The next row's value; the empty text at the end of the data, and then the file is let go.
QString Module1::nextRow()
{
    if (!m_rows || !m_importFile.isOpen())
        return {};
    QString value;
    try {
        if (m_rows->next()) {
            m_rows->evaluate(&value, &m_rowTitle);
            m_rowFields = m_rows->fields();
        } else {
            m_importFile.close();
        }
    } catch (const QuillError &) {
        m_importFile.close();
        throw;
    }
    return value;
}

// The next line; false, and the empty text, when there is none. A line too
// long to be a value closes the file and stops whoever asked.
bool Module1::readImportLine(QString *line)
{
    try {
        if (m_importFile.readLine(line))
            return true;
    } catch (const QuillError &) {
        m_importFile.close();
        throw;
    }
    line->clear();
    return false;
}

void Module1::checkRun()
{
    if (m_controls.textSelected())
        return;
    if (m_controls.sequenceSelected()) {
        checkSequence();
        return;
    }
    if (!m_controls.importSelected())
        return;
    if (m_controls.importFromStandardInput()) {
        openImport();
        try {
            checkImport(m_importFile);
        } catch (const QuillError &) {
            m_importFile.close();
            throw;
        }
        m_importFile.rewind();
        return;
    }
    const QString name = m_controls.importFileName();
    ImportFile probe;
    if (!probe.open(name))
        throw QuillError(
            name.isEmpty()
                ? QStringLiteral("No import file is chosen.")
                : QStringLiteral("Cannot read the import file \"%1\": %2.").arg(name, probe.errorString()));
    checkImport(probe);
}

// What a run would meet first: an empty file; with columns, a template
// naming a column the file lacks and the first row of data.
void Module1::checkImport(ImportFile &file)
{
    const ImportColumns columns = m_controls.importColumns();
    if (!columns.chosen()) {
        file.refuseEmpty();
        file.readLine(nullptr); // a first line too long to be a value
        return;
    }
    QString value;
    QString title;
    ImportRows(file, columns).first(&value, &title);
}

// Every value from the start to the end is made, each once and as written,
// or the run is refused: judged on the numbers as typed, not on their doubles.
void Module1::checkSequence() const
{
    const QString startText = m_controls.sequenceStart();
    const QString endText = m_controls.sequenceEnd();
    const Numbers::Decimal start = exact(startText);
    const Numbers::Decimal end = exact(endText);
    if (Numbers::compare(end, start) <= 0)
        return; // the start alone
    const Counter first = counterAtStart(startText);
    const QString cannot = QStringLiteral("The sequence from %1 to %2 cannot count by one: ")
                               .arg(quoted(startText), quoted(endText));
    const QString limit = QLocale::c().toString(qint64(kExactLimit));
    const QString beyond = cannot + QStringLiteral("numbers beyond %1 cannot be counted exactly.").arg(limit);
    const QString tooLong
        = cannot + QStringLiteral("its numbers would need more than %1 digits.").arg(kSignificantDigits);
    if (!first.exact)
        throw QuillError(beyondExactLimit(start) ? beyond : tooLong);
    const QString second = sequenceText(first.whole + 1.0, first.fraction);
    if (first.whole < kExactLimit && Numbers::compare(end, exact(second)) < 0)
        return; // the end comes before the second value
    const QString fraction = first.fraction.isEmpty() ? QString() : u'.' + first.fraction;
    if (Numbers::compare(end, exact(QStringLiteral("9007199254740993") + fraction)) >= 0)
        throw QuillError(beyond);
    const std::int64_t wholeDigits = std::max<std::int64_t>({start.exponent, end.exponent, 0});
    if (!first.fraction.isEmpty() && wholeDigits + first.fraction.size() > kSignificantDigits)
        throw QuillError(tooLong);
}

QString Module1::importPreview(const QString &name)
{
    if (m_controls.importColumns().chosen())
        return previewRow(name, false);
    // The slot may still be open from an earlier preview or a stopped run.
    m_importFile.close();
    QString field;
    if (m_importFile.open(name)) {
        if (!m_importFile.readField(&field))
            field.clear();
        m_importFile.close();
    }
    return field;
}

QString Module1::importPreviewTitle(const QString &name)
{
    return m_controls.importColumns().chosen() ? previewRow(name, true) : QString();
}

// The first row's value or title, silent where the file cannot give one.
QString Module1::previewRow(const QString &name, bool title)
{
    m_importFile.close();
    QString value;
    QString rowTitle;
    try {
        if (m_importFile.open(name)) {
            ImportRows rows(m_importFile, m_controls.importColumns());
            rows.start();
            if (rows.next())
                rows.evaluate(&value, &rowTitle);
        }
    } catch (const QuillError &) {
        value.clear();
        rowTitle.clear();
    }
    m_importFile.close();
    return title ? rowTitle : value;
}

bool Module1::valuesCarryTitles() const
{
    return readsColumns() && !m_controls.importColumns().titleTemplate.isEmpty();
}

bool Module1::readsColumns() const
{
    return !m_controls.textSelected() && !m_controls.sequenceSelected() && m_controls.importSelected()
        && m_controls.importColumns().chosen();
}

QStringList Module1::header() const { return readsColumns() && m_rows ? m_rows->header() : QStringList(); }

void Module1::endRun() { m_importFile.close(); }
