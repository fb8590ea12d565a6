#include "IniText.h"

#include <QByteArrayView>
#include <algorithm>

namespace {

bool plainAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
        || c == u'-' || c == u'.';
}

bool hexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Section and key names as QSettings spells them in an INI file.
QByteArray iniKey(const QString &key)
{
    QByteArray out;
    for (QChar ch : key) {
        const char16_t c = ch.unicode();
        if (c == u'/')
            out += '\\';
        else if (plainAscii(c))
            out += char(c);
        else if (c <= 0xFF)
            out += '%' + QByteArray::number(c, 16).rightJustified(2, '0').toUpper();
        else
            out += "%U" + QByteArray::number(c, 16).rightJustified(4, '0').toUpper();
    }
    return out;
}

// A text value as QSettings reads it back unchanged: quoted unless plain, "\"
// escapes, and a leading "@" doubled (QSettings keeps "@..." for typed values).
QByteArray iniValue(QString text)
{
    if (text.startsWith(u'@'))
        text.prepend(u'@');
    const bool plain
        = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return plainAscii(c.unicode()); });
    if (plain)
        return text.toUtf8();
    QByteArray out = "\"";
    bool afterHexEscape = false;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        // A "\x" escape takes every hex digit after it, so one that follows is escaped too.
        if (c < 0x20 || c == 0x7F || (afterHexEscape && hexDigit(c))) {
            out += "\\x" + QByteArray::number(c, 16);
            afterHexEscape = true;
            continue;
        }
        afterHexEscape = false;
        if (c == u'"' || c == u'\\')
            out += '\\';
        out += QString(ch).toUtf8();
    }
    return out + '"';
}

bool blank(char c) { return c == ' ' || c == '\t'; }

bool lineBreak(char c) { return c == '\n' || c == '\r'; }

// One line of the file, without the blanks in front: from start to end, and
// the first "=" outside double quotes (-1 when none).
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype equals = -1;
};

// The next line from pos, past blank lines and comments (a ";" at the start
// of a line). A line ends at a line break outside double quotes; a ";" after
// its start is the value's own, as people write it in a caption. A backslash
// takes the character after it along, a line break too (one CR LF or LF CR).
bool nextLine(QByteArrayView bytes, qsizetype &pos, Line *line)
{
    const qsizetype size = bytes.size();
    while (pos < size && (blank(bytes[pos]) || lineBreak(bytes[pos]) || bytes[pos] == ';')) {
        if (bytes[pos] == ';')
            while (pos < size && !lineBreak(bytes[pos]))
                ++pos;
        else
            ++pos;
    }
    if (pos >= size)
        return false;
    *line = Line{.start = pos, .end = pos, .equals = -1};
    bool inQuotes = false;
    qsizetype i = pos;
    for (; i < size; ++i) {
        const char c = bytes[i];
        if (!inQuotes && lineBreak(c))
            break;
        if (c == '=' && !inQuotes && line->equals < 0)
            line->equals = i;
        else if (c == '"')
            inQuotes = !inQuotes;
        else if (c == '\\' && i + 1 < size) {
            ++i;
            const bool pair
                = i + 1 < size && lineBreak(bytes[i]) && lineBreak(bytes[i + 1]) && bytes[i] != bytes[i + 1];
            i += pair ? 1 : 0;
        }
    }
    line->end = i;
    pos = i;
    return true;
}

// A section or key name: "\" for "/", %XX and %UXXXX for any character, the
// other bytes each the Latin-1 character.
QString unescapedName(QByteArrayView bytes)
{
    QString out;
    for (qsizetype i = 0; i < bytes.size();) {
        const char c = bytes[i];
        if (c == '\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c == '%' && i + 1 < bytes.size()) {
            const qsizetype first = i + (bytes[i + 1] == 'U' ? 2 : 1);
            const qsizetype digits = bytes[i + 1] == 'U' ? 4 : 2;
            const QByteArrayView code = bytes.sliced(first, std::min(digits, bytes.size() - first));
            const bool ok = code.size() == digits && std::all_of(code.begin(), code.end(), hexDigit);
            if (ok) {
                out += QChar(char16_t(code.toByteArray().toUInt(nullptr, 16)));
                i = first + digits;
                continue;
            }
        }
        out += QLatin1Char(c);
        ++i;
    }
    return out;
}

char16_t escaped(char c)
{
    switch (c) {
    case 'a':
        return u'\a';
    case 'b':
        return u'\b';
    case 'f':
        return u'\f';
    case 'n':
        return u'\n';
    case 'r':
        return u'\r';
    case 't':
        return u'\t';
    case 'v':
        return u'\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return char16_t(c);
    }
    return 0;
}

// The digits of a \x or octal escape from i on, as one character.
char16_t escapeCode(QByteArrayView bytes, qsizetype &i, int base)
{
    unsigned code = 0;
    for (; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const bool digit = base == 16 ? hexDigit(c) : (c >= '0' && c <= '7');
        if (!digit)
            break;
        const unsigned value = c <= '9' ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10);
        code = (code * unsigned(base) + value) & 0xFFFFu;
    }
    return char16_t(code);
}

// A value as it stands after the "=": the characters it spells. Blanks around
// it are not part of it unless quoted or escaped; the text in double quotes is
// taken as it stands, with the same escapes as outside them.
QString unescapedValue(QByteArrayView bytes)
{
    QString out;
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < size && blank(bytes[i]))
            ++i;
    };
    skipBlanks();
    bool inQuotes = false;
    bool quoted = false;
    qsizetype kept = 0; // trailing blanks within this length are escaped or quoted: they stay
    while (i < size) {
        const char c = bytes[i];
        if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                kept = out.size();
            }
            continue;
        }
        if (c == '\\') {
            if (++i >= size)
                break;
            const char e = bytes[i++];
            if (escaped(e) != 0) {
                out += QChar(escaped(e));
            } else if (e == 'x') {
                if (i < size && hexDigit(bytes[i]))
                    out += QChar(escapeCode(bytes, i, 16));
            } else if (e >= '0' && e <= '7') {
                --i;
                out += QChar(escapeCode(bytes, i, 8));
            } else if (lineBreak(e) && i < size && lineBreak(bytes[i]) && bytes[i] != e) {
                ++i; // a continued line: the break is no part of the value
            }
            kept = out.size();
            continue;
        }
        qsizetype j = i + 1;
        while (j < size && bytes[j] != '\\' && bytes[j] != '"')
            ++j;
        out += QString::fromUtf8(bytes.sliced(i, j - i));
        i = j;
    }
    if (!quoted) {
        qsizetype end = out.size();
        while (end > kept && (out[end - 1] == u' ' || out[end - 1] == u'\t'))
            --end;
        out.truncate(end);
    }
    if (out.startsWith(QLatin1String("@@")))
        out.remove(0, 1);
    return out;
}

} // namespace

namespace IniText {

QByteArray write(const Sections &sections)
{
    QByteArray ini;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        if (!ini.isEmpty())
            ini += '\n';
        const QString &name = section.key();
        ini += name.isEmpty()                                    ? QByteArray("[General]")
            : name.compare(u"General", Qt::CaseInsensitive) == 0 ? "[%" + iniKey(name) + ']'
                                                                 : '[' + iniKey(name) + ']';
        ini += '\n';
        for (auto key = section->cbegin(); key != section->cend(); ++key)
            ini += iniKey(key.key()) + '=' + iniValue(key.value()) + '\n';
    }
    return ini;
}

bool read(const QByteArray &bytes, Sections *sections)
{
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    bool wellFormed = true;
    QString section;
    Line line;
    while (nextLine(bytes, pos, &line)) {
        const QByteArrayView text = QByteArrayView(bytes).sliced(line.start, line.end - line.start);
        if (text.front() == '[') {
            const qsizetype close = text.indexOf(']');
            wellFormed = wellFormed && close >= 0;
            const QByteArray name
                = text.sliced(1, (close < 0 ? text.size() : close) - 1).trimmed().toByteArray();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.mid(1));
            else
                section = unescapedName(name);
            continue;
        }
        if (line.equals < 0) {
            wellFormed = false;
            continue;
        }
        qsizetype keyEnd = line.equals;
        while (keyEnd > line.start && blank(bytes[keyEnd - 1]))
            --keyEnd;
        const QString key = unescapedName(QByteArrayView(bytes).sliced(line.start, keyEnd - line.start));
        // A key holding "\" is a further level, as QSettings reads it: it starts a section of its own.
        const QString path = section.isEmpty() ? key : section + u'/' + key;
        const qsizetype slash = path.indexOf(u'/');
        const QString value
            = unescapedValue(QByteArrayView(bytes).sliced(line.equals + 1, line.end - line.equals - 1));
        if (slash < 0)
            (*sections)[QString()][path] = value;
        else
            (*sections)[path.left(slash)][path.mid(slash + 1)] = value;
    }
    return wellFormed;
}

} // namespace IniText
