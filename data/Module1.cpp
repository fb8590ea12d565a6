#include "Module1.h"

#include "Numbers.h"
#include "QuillError.h"

#include <QLocale>
#include <cmath>

namespace {

constexpr double kExactLimit = 9007199254740992.0; // 2^53: a double counts by one up to here

const QString kPrefixPlaceholder = QStringLiteral("(prefix)");
const QString kSuffixPlaceholder = QStringLiteral("(sufix)");

// Whole counters keep every digit as long as a double holds them exactly
// (up to 2^53, about 9e15), so long serial numbers print in full; anything
// else follows the number text rule (15 significant digits).
QString counterText(double counter)
{
    if (counter == std::floor(counter) && std::fabs(counter) <= kExactLimit)
        return QString::number(static_cast<qint64>(counter));
    return Numbers::numberText(counter);
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

Module1::Module1(const DataSourceControls &controls) : m_controls(controls) {}

QString Module1::getFirstData()
{
    if (m_controls.textSelected())
        return m_controls.fixedText();
    if (m_controls.sequenceSelected()) {
        const QString start = m_controls.sequenceStart();
        m_sequenceCounter = Numbers::numericValue(start);
        return withAffixes(m_controls, start);
    }
    if (m_controls.importSelected()) {
        m_importFile.close();
        m_importFile.open(m_controls.importFileName());
        QString line;
        // An empty file has nothing more to give: nothing stays open.
        if (!readImportLine(&line))
            m_importFile.close();
        return line;
    }
    return {};
}

QString Module1::getFirstTitle()
{
    if (m_controls.textSelected() || m_controls.sequenceSelected() || !m_controls.importSelected())
        return {};
    if (!m_importFile.isOpen())
        m_importFile.open(m_controls.importFileName());
    QString line;
    readImportLine(&line);
    return line;
}

QString Module1::getNextData()
{
    if (m_controls.textSelected())
        return {};
    if (m_controls.sequenceSelected()) {
        const double previous = m_sequenceCounter;
        m_sequenceCounter += 1.0;
        // Beyond 2^53 adding 1 no longer changes a double: end there rather than
        // print the same number for ever.
        if (m_sequenceCounter == previous || m_sequenceCounter > Numbers::numericValue(m_controls.sequenceEnd()))
            return {};
        QString number = counterText(m_sequenceCounter);
        const QString start = m_controls.sequenceStart();
        if (start.startsWith(u'0') && start.size() > number.size())
            number.prepend(QString(start.size() - number.size(), u'0'));
        return withAffixes(m_controls, number);
    }
    if (m_controls.importSelected()) {
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
    QString line;
    readImportLine(&line);
    return line;
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

void Module1::checkRun() const
{
    if (m_controls.textSelected())
        return;
    if (m_controls.sequenceSelected()) {
        const double start = Numbers::numericValue(m_controls.sequenceStart());
        const double end = Numbers::numericValue(m_controls.sequenceEnd());
        if (start + 1.0 <= end && std::max(std::fabs(start), std::fabs(end)) > kExactLimit)
            throw QuillError(QStringLiteral("The sequence from %1 to %2 cannot count by one: numbers beyond %3 "
                                            "cannot be counted exactly.")
                                 .arg(quoted(m_controls.sequenceStart()), quoted(m_controls.sequenceEnd()),
                                      QLocale::c().toString(qint64(kExactLimit))));
        return;
    }
    if (!m_controls.importSelected())
        return;
    const QString name = m_controls.importFileName();
    ImportFile probe;
    if (!probe.open(name))
        throw QuillError(name.isEmpty() ? QStringLiteral("No import file is chosen.")
                                        : QStringLiteral("Cannot read the import file \"%1\": %2.")
                                              .arg(name, probe.errorString()));
    if (!probe.readLine(nullptr))
        throw QuillError(QStringLiteral("The import file \"%1\" is empty.").arg(name));
}

QString Module1::importPreview(const QString &name)
{
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

void Module1::endRun() { m_importFile.close(); }
