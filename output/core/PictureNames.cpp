#include "PictureNames.h"

#include <QFileInfo>
#include <utility>

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
    case u'/':
    case u'\\':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        return false;
    }
}

qsizetype folderLength(const QString &path) { return path.lastIndexOf(u'/') + 1; }

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
                          "PNG files (*.png)|*.png|All fiels (*.*)|*.*|SVG drawings (*.svg)|*.svg|"
                          "EPS drawings (*.eps)|*.eps|PDF drawings (*.pdf)|*.pdf");
}

QString saveDefaultExt() { return QStringLiteral(".bmp"); }

Format formatOf(const QString &chosenName)
{
    const QStringView last = QStringView(chosenName).right(3);
    const std::pair<QStringView, Format> endings[] = {{u"wmf", Format::Metafile},
                                                      {u"png", Format::Png},
                                                      {u"svg", Format::Svg},
                                                      {u"eps", Format::Eps},
                                                      {u"pdf", Format::Pdf}};
    for (const auto &[ending, format] : endings)
        if (last.compare(ending, Qt::CaseInsensitive) == 0)
            return format;
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
    switch (format) {
    case Format::Bitmap:
        break;
    case Format::Metafile:
        extension = u".wmf";
        break;
    case Format::Png:
        extension = u".png";
        break;
    case Format::Svg:
        extension = u".svg";
        break;
    case Format::Eps:
        extension = u".eps";
        break;
    case Format::Pdf:
        extension = u".pdf";
        break;
    }

    QString part = safeFileNamePart(value);
    const qsizetype nameBytes = base.toUtf8().size() + 1 + part.toUtf8().size() + extension.size();
    if (nameBytes > kMaxNameBytes)
        part = shortened(part, nameBytes - kMaxNameBytes);

    QString name;
    name.reserve(chosenName.size() + part.size() + 1);
    name.append(folder).append(base).append(u'_').append(part).append(extension);
    return name;
}

namespace {
constexpr size_t kFilterBits = size_t(1) << 25; // 4 MB: one false "maybe" in 10^4 names at a million
constexpr int kFilterProbes = 5;

// The filter's bits for a hash, by double hashing its two halves.
template <typename Visit> bool probe(size_t key, Visit visit)
{
    const quint64 wide = quint64(key);
    const quint64 step = (wide >> 32) | 1;
    for (int k = 0; k < kFilterProbes; ++k)
        if (!visit((wide + quint64(k) * step) % kFilterBits))
            return false;
    return true;
}
} // namespace

// A second's margin: a file system stamps times from a coarser clock than the one read here.
UniqueNames::UniqueNames()
    : m_since(QDateTime::currentDateTimeUtc().addSecs(-2))
{
}

bool UniqueNames::taken(const QString &path, size_t key) const
{
    const bool maybe
        = m_seen && probe(key, [this](quint64 bit) { return (m_seen[bit / 64] >> (bit % 64)) & 1; });
    if (!maybe)
        return false;
    const QFileInfo file(path);
    return file.exists() && file.metadataChangeTime() >= m_since;
}

QString UniqueNames::claim(const QString &path)
{
    if (!m_seen) {
        m_seen.reset(static_cast<quint64 *>(std::calloc(kFilterBits / 64, sizeof(quint64))));
        if (!m_seen)
            throw std::bad_alloc();
    }
    const auto mark = [this](size_t key) {
        probe(key, [this](quint64 bit) {
            m_seen[bit / 64] |= quint64(1) << (bit % 64);
            return true;
        });
    };
    const size_t key = qHash(path.toCaseFolded());
    if (!taken(path, key)) {
        mark(key);
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
        if (!taken(candidate, candidateKey)) {
            mark(candidateKey);
            return candidate;
        }
    }
}

} // namespace PictureNames
