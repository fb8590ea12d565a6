#include "ImportFile.h"
#include "QuillError.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    QString path;
    QString error;
    QByteArray buffer;
    qsizetype pos = 0;
    qint64 lineNumber = 0; // of the line being read
    bool atEnd = false;
    bool startOfFile = true;

    void append(QByteArray &bytes, const char *data, qsizetype count) const
    {
        if (bytes.size() + count > kLongestLine)
            throw QuillError(QStringLiteral("Line %1 of the import file \"%2\" is longer than %3 bytes, the longest "
                                            "value a label can take.")
                                 .arg(lineNumber)
                                 .arg(path)
                                 .arg(kLongestLine));
        bytes.append(data, count);
    }

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
        ++lineNumber;
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
    if (d->file.isOpen())
        return false;
    d->error = QStringLiteral("No import file is chosen");
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    // Without O_NONBLOCK, opening a pipe would wait for a writer for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        d->error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw QuillError(QStringLiteral("\"%1\" cannot be the import file: it is not an ordinary file but a "
                                        "folder, a device or a pipe.")
                             .arg(path));
    }
    d->path = path;
    if (!d->file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        d->error = d->file.errorString();
        return false;
    }
    d->error.clear();
    d->buffer.clear();
    d->pos = 0;
    d->lineNumber = 1;
    d->atEnd = false;
    d->startOfFile = true;
    return true;
}

QString ImportFile::errorString() const
{
    return d->error;
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
        d->append(bytes, data + d->pos, end - d->pos);
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
            const char byte = char(c);
            d->append(bytes, &byte, 1);
            ++d->pos;
        }
        if (c == '"')
            ++d->pos;
        // Whatever follows the closing quote up to the delimiter is passed over.
        while ((c = peek()) != -1 && c != ',' && c != '\r' && c != '\n')
            ++d->pos;
    } else {
        while ((c = peek()) != -1 && c != ',' && c != '\r' && c != '\n') {
            const char byte = char(c);
            d->append(bytes, &byte, 1);
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
