#pragma once
#include <QString>
#include <memory>

class QFile;

// The one slot through which the import file is read. Lines end at CR, CRLF or
// a lone LF; text is UTF-8, or Latin-1 when the file is not valid UTF-8, so no
// byte is lost. Reads stream from the file, 64 KB at a time.
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
    void close();
    QString errorString() const;
    // One line without its terminator; false at the end of the file or when
    // closed. A line longer than kLongestLine raises QuillError naming its number.
    bool readLine(QString *line);
    // One comma-delimited field: blanks in front skipped; a field that starts
    // with a double quote runs to the next double quote; otherwise to the first
    // comma or the end of the line. False when nothing is left to read.
    bool readField(QString *field);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
