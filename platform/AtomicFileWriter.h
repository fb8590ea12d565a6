#pragma once
#include "AtomicFile.h"

#include <QByteArray>
#include <QString>

// A file written in pieces, for pictures too large to be held whole, with the
// promise of AtomicFile::write: the pieces go to a new file with an
// unguessable name, created exclusively in the target's folder (never an
// existing file, never through a link), and only the complete file is renamed
// over the target. Without commit() (a failure, an exception while the pieces
// are made) the working file is removed and the target stays as it was.
// AtomicFile::write is one such file written in one piece.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString &path, AtomicFile::Sync sync = AtomicFile::Sync::No);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    // The working file is made at the first piece, so a file written in one
    // piece costs what AtomicFile::write costs. Both raise QuillError
    // "Cannot write "<path>": <reason>." with the system's words for the
    // reason ("No space left on device"), and remove the working file.
    void append(const QByteArray &bytes);
    void commit();

private:
    void open();
    [[noreturn]] void fail(int error);

    QString m_path;
    AtomicFile::Sync m_sync;
    QByteArray m_target; // the absolute path, encoded, once the working file is made
    QByteArray m_temporary;
    int m_fd = -1;
};
