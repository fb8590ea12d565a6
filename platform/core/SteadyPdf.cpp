#include "SteadyPdf.h"

#include <QFile>
#include <QRegularExpression>

#include <functional>

namespace {

// Qt writes one cross-reference section: "xref", "0 N", then N entries of 20
// bytes, each starting with the object's offset in 10 digits.
constexpr qsizetype kEntryBytes = 20;
constexpr qsizetype kTailBytes = 1024;

using Read = std::function<QByteArray(qint64 at, qint64 length)>;

struct Xref {
    qint64 at = -1; // of "xref"
    qint64 entries = -1; // of the first entry
    qint64 count = 0;
    qint64 startxrefNumber = -1; // of the number after "startxref", in the tail read
    int info = -1; // the Info object's number
};

Xref xrefOf(const QByteArray &tail, const Read &read)
{
    Xref x;
    static const QRegularExpression end(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    static const QRegularExpression info(QStringLiteral("/Info\\s+(\\d+)\\s+0\\s+R"));
    const QString text = QString::fromLatin1(tail);
    const QRegularExpressionMatch ended = end.match(text);
    if (!ended.hasMatch())
        return {};
    const QRegularExpressionMatch named = info.match(text);
    x.info = named.hasMatch() ? named.captured(1).toInt() : -1;
    x.at = ended.captured(1).toLongLong();
    x.startxrefNumber = ended.capturedStart(1);
    const QByteArray head = read(x.at, 32);
    static const QRegularExpression section(QStringLiteral("^xref\\s*\\n\\s*0\\s+(\\d+)\\s*\\n"));
    const QRegularExpressionMatch opened = section.match(QString::fromLatin1(head));
    x.entries = opened.hasMatch() ? x.at + opened.capturedLength() : -1;
    x.count = opened.hasMatch() ? opened.captured(1).toLongLong() : 0;
    return x;
}

// Where the creation date entry of the Info object lies, and its length; -1 when none.
std::pair<qint64, qint64> dateIn(const Xref &x, const Read &read)
{
    if (x.entries < 0 || x.info <= 0)
        return {-1, 0};
    bool ok = false;
    const qint64 object = read(x.entries + x.info * kEntryBytes, 10).toLongLong(&ok);
    if (!ok)
        return {-1, 0};
    const QByteArray dictionary = read(object, 2048);
    const qsizetype key = dictionary.indexOf("/CreationDate");
    const qsizetype close = key < 0 ? -1 : dictionary.indexOf(')', key);
    const qsizetype ends = dictionary.indexOf(">>");
    if (close < 0 || (ends >= 0 && close > ends))
        return {-1, 0};
    return {object + key, close + 1 - key};
}

QString number(double points)
{
    QString text = QString::number(points, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

namespace SteadyPdf {

void dropDate(QByteArray &pdf)
{
    const Read read = [&pdf](qint64 at, qint64 length) { return pdf.mid(at, length); };
    const auto [at, length] = dateIn(xrefOf(pdf.right(kTailBytes), read), read);
    if (at >= 0)
        pdf.replace(at, length, QByteArray(length, ' '));
}

bool dropDate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const Read read
        = [&file](qint64 at, qint64 length) { return file.seek(at) ? file.read(length) : QByteArray(); };
    const auto [at, length]
        = dateIn(xrefOf(read(std::max<qint64>(0, file.size() - kTailBytes), kTailBytes), read), read);
    if (at < 0)
        return true;
    return file.seek(at) && file.write(QByteArray(length, ' ')) == length && file.flush();
}

void setPageSize(QByteArray &pdf, QSizeF points)
{
    static const QRegularExpression box(
        QStringLiteral("/MediaBox\\s*\\[\\s*([-0-9.]+)\\s+([-0-9.]+)\\s+([-0-9.]+)\\s+([-0-9.]+)\\s*\\]"));
    const QRegularExpressionMatch found = box.match(QString::fromLatin1(pdf));
    const qsizetype tailAt = std::max<qsizetype>(0, pdf.size() - kTailBytes);
    const Read read = [&pdf](qint64 at, qint64 length) { return pdf.mid(at, length); };
    const Xref x = xrefOf(pdf.mid(tailAt), read);
    if (!found.hasMatch() || x.entries < 0)
        return;
    const double left = found.captured(1).toDouble();
    const double top = found.captured(4).toDouble();
    const QByteArray exact
        = QStringLiteral("/MediaBox [%1 %2 %3 %4]")
              .arg(number(left), number(top - points.height()), number(left + points.width()), number(top))
              .toLatin1();
    const qsizetype at = found.capturedStart();
    const qsizetype delta = exact.size() - found.capturedLength();
    // Every object after the box moves by delta, and so does the table.
    for (qint64 i = 1; i < x.count; ++i) {
        const qsizetype entry = x.entries + i * kEntryBytes;
        bool ok = false;
        const qint64 offset = pdf.mid(entry, 10).toLongLong(&ok);
        if (ok && offset > at)
            pdf.replace(entry, 10, QByteArray::number(offset + delta).rightJustified(10, '0'));
    }
    const qsizetype numberAt = tailAt + x.startxrefNumber;
    const qsizetype numberLength = QByteArray::number(x.at).size();
    pdf.replace(numberAt, numberLength, QByteArray::number(x.at + delta));
    pdf.replace(at, found.capturedLength(), exact);
}

} // namespace SteadyPdf
