#pragma once
#include <QByteArray>
#include <QString>

// The files a run writes before they are complete, beside their target or in
// the temporary folder: ".quill-<pid>-<random>.tmp" (a file, see AtomicFile)
// and ".quill-<pid>-<random>.job" (a private folder holding a print job, see
// JobFolder). Their writer holds an flock on each while it lives. A run killed
// before its rename leaves one behind; a later run that writes in that folder
// removes it, and only such leftovers: a name of exactly this pattern, a
// regular file or a folder of this user, whose pid is no running process and
// whose lock nobody holds.
namespace WorkingFiles {

enum class Kind { File, JobFolder };

// A fresh name of the pattern, without a folder, for this process.
QByteArray newName(Kind kind);

// Removes the leftovers of runs that no longer exist from folder.
void sweep(const QString &folder);

// The same, once in this process's life for each folder: for writers called
// for every one of thousands of pictures.
void sweepOnce(const QString &folder);

} // namespace WorkingFiles
