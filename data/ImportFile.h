#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

class QFile;

// The one slot through which the import file is read, as lines or as records
// of columns. Lines end at CR, CRLF or a lone LF; text is UTF-8, or Latin-1
// when the file is not valid UTF-8, so no byte is lost; UTF-16 with its
// byte-order mark is read too. A file that is no text (a zip container such
// as a spreadsheet, or NUL bytes in its first 64 KB) raises QuillError at the
// first read. Reads stream from the file, 64 KB at a time.
class ImportFile {
public:
    // The longest value a line may hold, in bytes: a label holds far less,
    // and a file without line ends must not fill the memory.
    static constexpr qsizetype kLongestLine = 64 * 1024;

    ImportFile();
    ~ImportFile();

    bool isOpen() const;
    // Fails (returns false, slot stays closed, errorString() says why) when the
    // slot is already open, or the file is missing or unreadable. Anything but
    // an ordinary file (a folder, a pipe, a device) raises QuillError: reading
    // it could wait for ever or never end.
    bool open(const QString &path);
    // The process's standard input, whatever kind of file it is. Everything
    // read from it is kept from its first byte until forgetStart(), so that a
    // check can look at the first rows and the run read them again.
    bool openStandardInput();
    // Back to the first byte (after a byte-order mark); false when that is
    // no longer kept, or the slot holds no standard input.
    bool rewind();
    void forgetStart();
    void close();
    QString errorString() const;
    // Nothing more to read, or closed.
    bool atEnd();
    // Raises QuillError when the file holds nothing, a byte-order mark at most.
    void refuseEmpty();
    // Bytes taken from an ordinary file so far, and its size; none for
    // standard input (its end is not known) or while closed.
    std::optional<std::pair<qint64, qint64>> bytesRead() const;
    // The import file as a message names it: the import file "name", or standard input.
    QString source() const;
    // One line without its terminator; false at the end of the file or when
    // closed. A line longer than kLongestLine raises QuillError naming its number.
    bool readLine(QString *line);
    // One comma-delimited field: blanks in front skipped; a field that starts
    // with a double quote runs to the next double quote; otherwise to the first
    // comma or the end of the line. False when nothing is left to read.
    bool readField(QString *field);

    // One record: fields split at the delimiter outside double quotes. A
    // field that starts with a quote runs to the closing quote; inside it a
    // doubled quote is one quote, and delimiters and line breaks are text.
    // Text after a closing quote is kept, and so is a quote inside an
    // unquoted field. Each record is decoded on its own, as a line is. An
    // empty line is one empty field; false at the end of the file. A quote
    // left open at the end of the file, or a record longer than kLongestLine,
    // raises QuillError naming the record's first line.
    bool readRecord(QStringList *fields, char delimiter);
    // The line on which the last record began, counted from 1.
    qint64 recordLine() const;
    // Comma, semicolon or tab, from the first lines not yet read, outside
    // quotes: the one found equally often, and at least once, on each of
    // them (the most frequent of several); else the most frequent on the
    // first line; ties, and a file of one column, give the earlier of comma,
    // semicolon and tab. Reads nothing away.
    char detectDelimiter();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
