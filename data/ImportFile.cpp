#include "ImportFile.h"
#include "QuillError.h"

#include <QFile>
#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
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
    qsizetype start = 0; // the first byte after a byte-order mark, while kept
    qint64 lineNumber = 0; // of the line being read
    qint64 recordLine = 0;
    bool atEnd = false;
    bool startOfFile = true;
    bool standardInput = false;
    bool keep = false; // everything read stays in the buffer, from its first byte
    QByteArray record; // the bytes of the record being read, without quotes and delimiters
    std::optional<QStringDecoder> utf16; // a UTF-16 file's, from its byte-order mark on

    QString source() const
    {
        return standardInput ? QStringLiteral("standard input")
                             : QStringLiteral("the import file \"%1\"").arg(path);
    }

    QuillError tooLong(qint64 line, const QString &reason = QString()) const
    {
        return QuillError(QStringLiteral("Line %1 of %2 is longer than %3 bytes, the longest value a label "
                                         "can take%4.")
                              .arg(line)
                              .arg(source())
                              .arg(kLongestLine)
                              .arg(reason));
    }

    void append(QByteArray &bytes, const char *data, qsizetype count) const
    {
        if (bytes.size() + count > kLongestLine)
            throw tooLong(lineNumber);
        bytes.append(data, count);
    }

    void reset()
    {
        buffer.clear();
        pos = 0;
        start = 0;
        lineNumber = 1;
        recordLine = 1;
        atEnd = false;
        startOfFile = true;
        utf16.reset();
    }

    // Appends the next chunk to the buffer, or replaces the buffer with it
    // when nothing needs to stay; false at the end of the file. A UTF-16 file
    // comes in as UTF-8, so that everything after reads bytes alike.
    bool readChunk()
    {
        QByteArray chunk;
        while (chunk.isEmpty()) {
            chunk = file.read(kChunk);
            if (chunk.isEmpty()) {
                atEnd = true;
                return false;
            }
            if (utf16)
                chunk = QString(utf16->decode(chunk)).toUtf8(); // empty for half a character
        }
        if (keep) {
            buffer.append(chunk);
        } else {
            buffer = std::move(chunk);
            pos = 0;
        }
        return true;
    }

    // The start of the file: a byte-order mark is passed over, UTF-16 is
    // decoded from here on, and a file that is no text is refused.
    void takeStart()
    {
        static const QByteArray utf8Mark("\xEF\xBB\xBF");
        static const QByteArray littleEndian("\xFF\xFE");
        static const QByteArray bigEndian("\xFE\xFF");
        static const QByteArray zip("PK\x03\x04");
        const auto partial = [this] {
            const QByteArray head = buffer.mid(pos);
            for (const QByteArray *mark : {&utf8Mark, &littleEndian, &bigEndian, &zip})
                if (head.size() < mark->size() && mark->startsWith(head))
                    return true;
            return false;
        };
        // A pipe may hand over the mark in pieces.
        while (partial() && !atEnd) {
            const bool kept = keep;
            keep = true;
            readChunk();
            keep = kept;
        }
        const QByteArray head = buffer.mid(pos);
        QString name = source();
        name[0] = name[0].toUpper();
        if (head.startsWith(utf8Mark)) {
            pos += utf8Mark.size();
        } else if (head.startsWith(littleEndian) || head.startsWith(bigEndian)) {
            utf16.emplace(head.startsWith(littleEndian) ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
            buffer = buffer.left(pos) + QString(utf16->decode(head.mid(2))).toUtf8();
        } else if (head.startsWith(zip)) {
            throw QuillError(
                QStringLiteral("%1 is not text but a zip container, as a spreadsheet (.xlsx, .ods) "
                               "is: save it as CSV in UTF-8.")
                    .arg(name));
        } else if (head.contains('\0')) {
            throw QuillError(QStringLiteral("%1 is not text: it holds NUL bytes (a file of another kind, or "
                                            "UTF-16 without its byte-order mark): save it as CSV in UTF-8.")
                                 .arg(name));
        }
        start = pos;
    }

    // Makes at least one unread byte available; false at the end of the file.
    bool fill()
    {
        if (pos < buffer.size())
            return true;
        if (atEnd || !readChunk())
            return false;
        if (startOfFile) {
            startOfFile = false;
            takeStart();
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

ImportFile::ImportFile()
    : d(std::make_unique<Impl>())
{
}
ImportFile::~ImportFile() = default;

bool ImportFile::isOpen() const { return d->file.isOpen(); }

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
    d->standardInput = false;
    d->keep = false;
    d->reset();
    return true;
}

std::optional<std::pair<qint64, qint64>> ImportFile::bytesRead() const
{
    if (!d->file.isOpen() || d->standardInput)
        return std::nullopt;
    // What the file handed over less what waits in the buffer (UTF-8 of a
    // UTF-16 file's bytes: about right).
    const qint64 done = d->file.pos() - (d->buffer.size() - d->pos);
    return std::pair(std::clamp<qint64>(done, 0, d->file.size()), d->file.size());
}

bool ImportFile::openStandardInput()
{
    if (d->file.isOpen())
        return false;
    // Unbuffered: QFile's own buffer would hold a second copy of each chunk.
    const auto mode = QIODevice::ReadOnly | QIODevice::Unbuffered;
    if (!d->file.open(STDIN_FILENO, mode, QFileDevice::DontCloseHandle)) {
        d->error = d->file.errorString();
        return false;
    }
    d->error.clear();
    d->path.clear();
    d->standardInput = true;
    d->keep = true;
    d->reset();
    return true;
}

bool ImportFile::rewind()
{
    if (!d->file.isOpen() || !d->standardInput || !d->keep)
        return false;
    d->pos = d->start;
    d->lineNumber = 1;
    d->recordLine = 1;
    return true;
}

void ImportFile::forgetStart() { d->keep = false; }

bool ImportFile::atEnd() { return !d->file.isOpen() || !d->fill(); }

void ImportFile::refuseEmpty()
{
    QString source = d->source();
    source[0] = source[0].toUpper();
    if (atEnd())
        throw QuillError(QStringLiteral("%1 is empty.").arg(source));
}

QString ImportFile::source() const { return d->source(); }

qint64 ImportFile::recordLine() const { return d->recordLine; }

QString ImportFile::errorString() const { return d->error; }

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

namespace {
// A record's fields, each a slice of its bytes up to its end: UTF-8 when
// every one of them is valid UTF-8, else all Latin-1. No delimiter or quote
// byte can be part of a UTF-8 sequence, so this is the rule for lines
// applied to the whole record.
void decodeRecord(const QByteArray &bytes, const QVarLengthArray<qsizetype, 16> &ends, QStringList *fields)
{
    fields->resize(ends.size());
    bool latin1 = false;
    for (qsizetype k = 0, from = 0; k < ends.size() && !latin1; from = ends[k++]) {
        const QByteArrayView field(bytes.constData() + from, ends[k] - from);
        if (std::all_of(field.begin(), field.end(), [](char c) { return uchar(c) < 0x80; })) {
            (*fields)[k] = QString::fromLatin1(field);
            continue;
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        (*fields)[k] = utf8.decode(field);
        latin1 = utf8.hasError();
    }
    for (qsizetype k = 0, from = 0; k < ends.size() && latin1; from = ends[k++])
        (*fields)[k] = QString::fromLatin1(bytes.constData() + from, ends[k] - from);
}
} // namespace

bool ImportFile::readRecord(QStringList *fields, char delimiter)
{
    if (!d->file.isOpen() || !d->fill())
        return false;
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted } state = State::FieldStart;
    d->recordLine = d->lineNumber;
    // One buffer for the whole record, kept from record to record.
    QByteArray &bytes = d->record;
    QVarLengthArray<qsizetype, 16> ends;
    bytes.resize(0);
    char previous = 0; // inside quotes, so that CR LF counts as one line
    auto endField = [&] {
        ends.append(bytes.size());
        state = State::FieldStart;
    };
    auto add = [&](char c) {
        if (bytes.size() < kLongestLine) {
            bytes.append(c);
            return;
        }
        // Either a field that long, or a quote left open that reads on through the rest of the file.
        const QString unclosed
            = QStringLiteral(" (column %1 is still within its quotes there: is its closing quote "
                             "missing?)");
        throw d->tooLong(d->recordLine, state == State::Quoted ? unclosed.arg(ends.size() + 1) : QString());
    };
    bool ended = false;
    while (!ended && d->fill()) {
        const char *data = d->buffer.constData();
        const qsizetype size = d->buffer.size();
        qsizetype i = d->pos;
        for (; i < size && !ended; ++i) {
            const char c = data[i];
            switch (state) {
            case State::FieldStart:
                if (c == '"') {
                    state = State::Quoted;
                    previous = 0;
                    continue;
                }
                state = State::Unquoted;
                [[fallthrough]];
            case State::Unquoted:
                if (c == delimiter)
                    endField();
                else if (c == '\r' || c == '\n')
                    ended = true;
                else
                    add(c);
                break;
            case State::Quoted:
                if (c == '"') {
                    state = State::QuoteInQuoted;
                    continue;
                }
                if (c == '\r' || (c == '\n' && previous != '\r'))
                    ++d->lineNumber;
                previous = c;
                add(c);
                break;
            case State::QuoteInQuoted:
                if (c == '"') {
                    state = State::Quoted;
                    previous = c;
                    add(c);
                } else if (c == delimiter) {
                    endField();
                } else if (c == '\r' || c == '\n') {
                    ended = true;
                } else {
                    state = State::Unquoted;
                    add(c);
                }
                break;
            }
        }
        d->pos = i;
        if (ended)
            d->skipTerminator(data[i - 1]);
    }
    if (state == State::Quoted)
        throw QuillError(QStringLiteral("Line %1 of %2, column %3: the quote that opens the value is not "
                                        "closed.")
                             .arg(d->recordLine)
                             .arg(d->source())
                             .arg(ends.size() + 1));
    ends.append(bytes.size());
    if (fields)
        decodeRecord(bytes, ends, fields);
    return true;
}

char ImportFile::detectDelimiter()
{
    static constexpr char kCandidates[] = {',', ';', '\t'};
    constexpr int kLines = 10;
    if (!d->file.isOpen() || !d->fill())
        return kCandidates[0];
    const QByteArray &buffer = d->buffer;
    QList<std::array<int, 3>> lines{{0, 0, 0}};
    bool quoted = false;
    bool lineStart = true;
    char previous = 0;
    for (qsizetype i = d->pos; i < buffer.size() && lines.size() <= kLines; previous = buffer[i++]) {
        const char c = buffer[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\r' || c == '\n')) {
            if (c == '\n' && previous == '\r')
                continue;
            if (lineStart) // a blank line ends the data
                break;
            lines.append({0, 0, 0});
            lineStart = true;
            continue;
        } else if (!quoted) {
            for (int k = 0; k < 3; ++k)
                lines.last()[k] += c == kCandidates[k];
        }
        lineStart = false;
    }
    // A line not begun, or one cut off where the first chunk ends, is no line to judge by.
    if (lines.size() > 1 && (lineStart || buffer.size() >= kChunk))
        lines.removeLast();
    int best = -1;
    for (int k = 0; k < 3; ++k) {
        const int count = lines.first()[k];
        const bool steady = count > 0
            && std::all_of(lines.begin(), lines.end(), [&](const auto &line) { return line[k] == count; });
        if (steady && (best < 0 || count > lines.first()[best]))
            best = k;
    }
    if (best < 0) {
        best = 0;
        for (int k = 1; k < 3; ++k)
            if (lines.first()[k] > lines.first()[best])
                best = k;
    }
    return kCandidates[best];
}
