#include "ImportFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <array>

namespace {
constexpr qint64 kChunk = 64 * 1024;

// Each line is decoded on its own: UTF-8 when its bytes are valid UTF-8, else
// Latin-1, which maps every byte to a character, so nothing is lost.
QString decodeLine(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}
} // namespace

struct ImportFile::Impl {
    QFile file;
    QByteArray buffer;
    qsizetype pos = 0;
    bool atEnd = false;
    bool startOfFile = true;

    // Makes at least one unread byte available; false at the end of the file.
    bool fill()
    {
        if (pos < buffer.size())
            return true;
        if (atEnd)
            return false;
        buffer = file.read(kChunk);
        pos = 0;
        if (buffer.isEmpty()) {
            atEnd = true;
            return false;
        }
        if (startOfFile) {
            startOfFile = false;
            if (buffer.startsWith("\xEF\xBB\xBF"))
                pos = 3;
            return fill();
        }
        return true;
    }

    // Consumes a line terminator: CR, CRLF or a lone LF.
    void skipTerminator(char terminator)
    {
        if (terminator == '\r' && fill() && buffer[pos] == '\n')
            ++pos;
    }
};

ImportFile::ImportFile() : d(std::make_unique<Impl>()) {}
ImportFile::~ImportFile() = default;

bool ImportFile::isOpen() const
{
    return d->file.isOpen();
}

bool ImportFile::open(const QString &path)
{
    if (d->file.isOpen() || path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    d->file.setFileName(path);
    if (!d->file.open(QIODevice::ReadOnly))
        return false;
    d->buffer.clear();
    d->pos = 0;
    d->atEnd = false;
    d->startOfFile = true;
    return true;
}

void ImportFile::close()
{
    d->file.close();
    d->buffer.clear();
    d->buffer.squeeze();
    d->pos = 0;
}

bool ImportFile::readLine(QString *line)
{
    if (!d->file.isOpen() || !d->fill())
        return false;
    QByteArray bytes;
    while (d->fill()) {
        const char *data = d->buffer.constData();
        const qsizetype size = d->buffer.size();
        qsizetype end = d->pos;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        bytes.append(data + d->pos, end - d->pos);
        if (end < size) {
            const char terminator = data[end];
            d->pos = end + 1;
            d->skipTerminator(terminator);
            break;
        }
        d->pos = end;
    }
    if (line)
        *line = decodeLine(bytes);
    return true;
}

bool ImportFile::readField(QString *field)
{
    if (!d->file.isOpen() || !d->fill())
        return false;
    auto peek = [this]() -> int { return d->fill() ? (unsigned char)d->buffer[d->pos] : -1; };
    while (peek() == ' ' || peek() == '\t')
        ++d->pos;
    QByteArray bytes;
    int c = peek();
    if (c == '"') {
        ++d->pos;
        while ((c = peek()) != -1 && c != '"') {
            bytes.append(char(c));
            ++d->pos;
        }
        if (c == '"')
            ++d->pos;
        // Whatever follows the closing quote up to the delimiter is passed over.
        while ((c = peek()) != -1 && c != ',' && c != '\r' && c != '\n')
            ++d->pos;
    } else {
        while ((c = peek()) != -1 && c != ',' && c != '\r' && c != '\n') {
            bytes.append(char(c));
            ++d->pos;
        }
    }
    if (c == ',') {
        ++d->pos;
    } else if (c == '\r' || c == '\n') {
        ++d->pos;
        d->skipTerminator(char(c));
    }
    if (field)
        *field = decodeLine(bytes);
    return true;
}
