#include "SaveCheck.h"
#include "Decode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

namespace {

constexpr int problemsKept = 8;

void note(SaveCheckReport &report, const QString &problem)
{
    if (report.problems.size() < problemsKept)
        report.problems << problem;
}

QString signature(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    const QByteArray head = file.read(8);
    if (head.startsWith("\x89PNG"))
        return QStringLiteral("png");
    if (head.startsWith("BM"))
        return QStringLiteral("bmp");
    if (head.startsWith("<?xml") || head.startsWith("<svg"))
        return QStringLiteral("svg");
    return QStringLiteral("other");
}

// A picture as its reader sees it: an SVG drawing rasterised by rsvg-convert at its own size.
QImage readPicture(const QString &path)
{
    if (signature(path) != QLatin1String("svg"))
        return QImage(path);
    const QTemporaryDir work;
    const QString png = work.filePath(QStringLiteral("drawing.png"));
    QProcess rsvg;
    rsvg.start(QStringLiteral("rsvg-convert"),
               {QStringLiteral("-b"), QStringLiteral("white"), QStringLiteral("-o"), png, path});
    if (!rsvg.waitForFinished(30000) || rsvg.exitCode() != 0)
        return {};
    return QImage(png);
}

} // namespace

QString SaveCheckReport::summary() const
{
    return QStringLiteral("%1/%2 sampled %3 files of %4")
        .arg(checked - wrong)
        .arg(checked)
        .arg(format)
        .arg(files);
}

SaveCheck::SaveCheck(QString folder, QString chosenName, qint64 count, std::function<QString(qint64)> valueOf)
    : m_folder(std::move(folder))
    , m_chosenName(std::move(chosenName))
    , m_count(count)
    , m_valueOf(std::move(valueOf))
{
}

SaveCheckReport SaveCheck::check(int samples) const
{
    SaveCheckReport report;
    const QDir folder(m_folder);
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    report.files = names.size();
    if (report.files != m_count)
        note(report, QStringLiteral("%1 files, expected %2").arg(report.files).arg(m_count));
    if (names.isEmpty())
        return report;
    if (!names.contains(m_chosenName))
        note(report, QStringLiteral("no file under the chosen name %1").arg(m_chosenName));
    report.format = signature(folder.filePath(names.contains(m_chosenName) ? m_chosenName : names.first()));

    QStringList picked{m_chosenName};
    for (int i = 0; i < samples; ++i)
        picked << names.at(qsizetype(qint64(names.size() - 1) * i / std::max(1, samples - 1)));
    picked.removeDuplicates();

    // Values are zero-padded to a fixed width, so a value's position follows from its digits.
    const qint64 firstNumber = m_valueOf(1).toLongLong();
    for (const QString &name : picked) {
        if (!names.contains(name))
            continue;
        ++report.checked;
        const Decode::Found found = Decode::zxingRead(readPicture(folder.filePath(name)));
        if (found.text.isEmpty() || found.format != QLatin1String("Code128")) {
            ++report.wrong;
            note(report, QStringLiteral("%1: no Code128 symbol read").arg(name));
            continue;
        }
        const QString value = found.text;
        const qint64 position = value.toLongLong() - firstNumber + 1;
        const bool aValue = position >= 1 && position <= m_count && m_valueOf(position) == value;
        const bool named = name == m_chosenName ? value == m_valueOf(1)
                                                : QFileInfo(name).completeBaseName().contains(value);
        if (!aValue || !named) {
            ++report.wrong;
            note(report, QStringLiteral("%1 holds %2").arg(name, value));
        }
    }
    return report;
}
