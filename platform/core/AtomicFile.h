#pragma once
#include <QByteArray>
#include <QString>

// The one way the program writes a file: the bytes go to a new file with an
// unguessable name, created exclusively in the target's folder (never an
// existing file, never through a link); every write is checked to the end,
// and only a complete file is renamed over the target. So a failure leaves the
// old file as it was and no partial file behind, and a link at the target is
// replaced, never written through. The working file is one of WorkingFiles:
// the first write in a folder removes what killed runs left there.
namespace AtomicFile {

enum class Sync { No, Yes };

// Raises QuillError "Cannot write "<path>": <reason>." with the system's words
// for the reason ("No space left on device"). Sync::Yes also puts the data on
// the disk before the rename: for the settings, not for thousands of labels.
void write(const QString &path, const QByteArray &bytes, Sync sync = Sync::No);

// Only a regular file, a link (replaced, never followed) or nothing may stand
// where a file is written: a device, a pipe, a socket or a folder there, or a
// link to one of them, raises QuillError "Cannot write "<path>": it is a
// named pipe, not a regular file." Writers check before they draw, and
// AtomicFileWriter again as its last step.
void refuseSpecialTarget(const QString &path);

} // namespace AtomicFile
