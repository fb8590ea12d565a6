#include "PictureNames.h"

namespace PictureNames {

namespace {

// Most file systems cap a name at 255 bytes; the rest is left for a "_n" that
// keeps a name unique.
constexpr qsizetype kMaxNameBytes = 240;

bool unfitForFileName(char16_t c)
{
    if (c < 0x20 || c == 0x7f)
        return true;
    switch (c) {
    case u'/': case u'\\': case u':': case u'*': case u'?':
    case u'"': case u'<': case u'>': case u'|':
        return true;
    default:
        return false;
    }
}

qsizetype folderLength(const QString &path)
{
    return path.lastIndexOf(u'/') + 1;
}

// Drops whole characters from the end until the name fits.
QString shortened(QString part, qsizetype bytesOver)
{
    while (bytesOver > 0 && !part.isEmpty()) {
        qsizetype take = 1;
        if (part.size() >= 2 && part.back().isLowSurrogate() && part[part.size() - 2].isHighSurrogate())
            take = 2;
        bytesOver -= QStringView(part).right(take).toUtf8().size();
        part.chop(take);
    }
    return part.isEmpty() ? QStringLiteral("_") : part;
}

} // namespace

QString saveFilter()
{
    return QStringLiteral("Bitmap files (*.bmp)|*.bmp|Windows metafiles (*.wmf)|*.wmf|"
                          "PNG files (*.png)|*.png|All fiels (*.*)|*.*");
}

QString saveDefaultExt()
{
    return QStringLiteral(".bmp");
}

Format formatOf(const QString &chosenName)
{
    const QStringView last = QStringView(chosenName).right(3);
    if (last == u"wmf")
        return Format::Metafile;
    if (last == u"png")
        return Format::Png;
    return Format::Bitmap;
}

QString safeFileNamePart(const QString &value)
{
    QString safe = value;
    for (QChar &c : safe) {
        if (unfitForFileName(c.unicode()))
            c = u'_';
    }
    if (safe.isEmpty() || safe == u"." || safe == u"..")
        safe.fill(u'_', qMax<qsizetype>(1, safe.size()));
    return safe;
}

QString furtherName(const QString &chosenName, const QString &value, Format format)
{
    const qsizetype folderEnd = folderLength(chosenName);
    // The four characters dropped are never taken from the folder part.
    const qsizetype baseEnd = qMax(folderEnd, chosenName.size() - 4);
    const QStringView folder = QStringView(chosenName).left(folderEnd);
    const QStringView base = QStringView(chosenName).mid(folderEnd, baseEnd - folderEnd);
    QStringView extension = u".bmp";
    if (format == Format::Png)
        extension = u".png";
    else if (format == Format::Metafile)
        extension = u".wmf";

    QString part = safeFileNamePart(value);
    const qsizetype nameBytes = base.toUtf8().size() + 1 + part.toUtf8().size() + extension.size();
    if (nameBytes > kMaxNameBytes)
        part = shortened(part, nameBytes - kMaxNameBytes);

    QString name;
    name.reserve(chosenName.size() + part.size() + 1);
    name.append(folder).append(base).append(u'_').append(part).append(extension);
    return name;
}

QString UniqueNames::claim(const QString &path)
{
    const size_t key = qHash(path.toCaseFolded());
    if (!m_taken.contains(key)) {
        m_taken.insert(key);
        return path;
    }
    const qsizetype folderEnd = folderLength(path);
    qsizetype dot = path.lastIndexOf(u'.');
    if (dot < folderEnd)
        dot = path.size();
    const QStringView stem = QStringView(path).left(dot);
    const QStringView extension = QStringView(path).mid(dot);
    int &next = m_nextSuffix[key];
    if (next < 2)
        next = 2;
    for (;;) {
        QString candidate;
        candidate.append(stem).append(u'_').append(QString::number(next++)).append(extension);
        const size_t candidateKey = qHash(candidate.toCaseFolded());
        if (!m_taken.contains(candidateKey)) {
            m_taken.insert(candidateKey);
            return candidate;
        }
    }
}

} // namespace PictureNames
