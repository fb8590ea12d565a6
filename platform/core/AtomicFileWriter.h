#pragma once
#include "AtomicFile.h"

#include <QByteArray>
#include <QString>

#include <functional>

// A file written in pieces, for pictures too large to be held whole, with the
// promise of AtomicFile::write: the pieces go to a new file in the target's
// folder, made without a name where the file system can (so nothing is left
// behind even when the process is killed) or else with an unguessable one,
// created exclusively (never an existing file, never through a link). Only the
// complete file takes the target's name, linked in when the name is free and
// renamed over the old file when not. Without commit() (a failure, an
// exception while the pieces are made) the working file goes and the target
// stays as it was. AtomicFile::write is one such file written in one piece.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString &path, AtomicFile::Sync sync = AtomicFile::Sync::No);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    // The working file is made at the first piece, so a file written in one
    // piece costs what AtomicFile::write costs. Both raise QuillError
    // "Cannot write "<path>": <reason>." with the system's words for the
    // reason ("No space left on device"), and remove the working file; both
    // refuse a target that is not a regular file (AtomicFile::refuseSpecialTarget).
    void append(const QByteArray &bytes);
    void commit();

private:
    void open();
    void takeWorkingName(const std::function<bool(const QByteArray &)> &make);
    void keepTargetMode();
    bool linkAtTarget();
    bool replaceTarget();
    void discard(); // the working file goes
    [[noreturn]] void fail(int error);

    QString m_path;
    AtomicFile::Sync m_sync;
    QByteArray m_folder; // the target's folder and
    QByteArray m_target; // absolute path, encoded, once the working file is made
    QByteArray m_temporary; // empty while the working file has no name
    int m_fd = -1;
};
