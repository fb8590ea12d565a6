#include "Module1.h"

#include "Numbers.h"

#include <cmath>

namespace {

const QString kPrefixPlaceholder = QStringLiteral("(prefix)");
const QString kSuffixPlaceholder = QStringLiteral("(sufix)");

// Whole counters keep every digit as long as a double holds them exactly
// (up to 2^53, about 9e15), so long serial numbers print in full; anything
// else follows the number text rule (15 significant digits).
QString counterText(double counter)
{
    constexpr double kExactLimit = 9007199254740992.0; // 2^53
    if (counter == std::floor(counter) && std::fabs(counter) <= kExactLimit)
        return QString::number(static_cast<qint64>(counter));
    return Numbers::numberText(counter);
}

// Prefix and suffix around a sequence value; the placeholders, compared exactly, mean none.
QString withAffixes(const DataSourceControls &controls, const QString &core)
{
    const QString prefix = controls.text7();
    const QString suffix = controls.text8();
    return (prefix == kPrefixPlaceholder ? QString() : prefix) + core
        + (suffix == kSuffixPlaceholder ? QString() : suffix);
}

} // namespace

Module1::Module1(const DataSourceControls &controls) : m_controls(controls) {}

QString Module1::getFirstData()
{
    if (m_controls.option1Selected())
        return m_controls.text1();
    if (m_controls.option2Selected()) {
        const QString start = m_controls.text2();
        m_sequenceCounter = Numbers::numericValue(start);
        return withAffixes(m_controls, start);
    }
    if (m_controls.option3Selected()) {
        m_importFile.close();
        m_importFile.open(m_controls.text4());
        QString line;
        return m_importFile.readLine(&line) ? line : QString();
    }
    return {};
}

QString Module1::getFirstTitle()
{
    if (m_controls.option1Selected() || m_controls.option2Selected() || !m_controls.option3Selected())
        return {};
    if (!m_importFile.isOpen())
        m_importFile.open(m_controls.text4());
    QString line;
    return m_importFile.readLine(&line) ? line : QString();
}

QString Module1::getNextData()
{
    if (m_controls.option1Selected())
        return {};
    if (m_controls.option2Selected()) {
        const double previous = m_sequenceCounter;
        m_sequenceCounter += 1.0;
        // Beyond 2^53 adding 1 no longer changes a double: end there rather than
        // print the same number for ever.
        if (m_sequenceCounter == previous || m_sequenceCounter > Numbers::numericValue(m_controls.text3()))
            return {};
        QString number = counterText(m_sequenceCounter);
        const QString start = m_controls.text2();
        if (start.startsWith(u'0') && start.size() > number.size())
            number.prepend(QString(start.size() - number.size(), u'0'));
        return withAffixes(m_controls, number);
    }
    if (m_controls.option3Selected()) {
        QString line;
        if (!m_importFile.readLine(&line) || line.isEmpty()) {
            m_importFile.close();
            return {};
        }
        return line;
    }
    return {};
}

QString Module1::getNextTitle()
{
    if (m_controls.option1Selected() || m_controls.option2Selected() || !m_controls.option3Selected())
        return {};
    QString line;
    return m_importFile.readLine(&line) ? line : QString();
}
