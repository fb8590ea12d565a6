#pragma once
#include <QString>
#include <memory>

class QFile;

// The one slot through which the import file is read. Lines end at CR, CRLF or
// a lone LF; text is UTF-8, or Latin-1 when the file is not valid UTF-8, so no
// byte is lost. Reads stream from the file: nothing is read ahead.
class ImportFile {
public:
    ImportFile();
    ~ImportFile();

    bool isOpen() const;
    // Fails (returns false, slot stays closed) when the slot is already open,
    // or the file is missing, unreadable or a directory.
    bool open(const QString &path);
    void close();
    // One line without its terminator; false at the end of the file or when closed.
    bool readLine(QString *line);
    // One comma-delimited field: blanks in front skipped; a field that starts
    // with a double quote runs to the next double quote; otherwise to the first
    // comma or the end of the line. False when nothing is left to read.
    bool readField(QString *field);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
