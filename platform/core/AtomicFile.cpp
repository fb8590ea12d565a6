#include "AtomicFile.h"
#include "AtomicFileWriter.h"

namespace AtomicFile {

void write(const QString &path, const QByteArray &bytes, Sync sync)
{
    AtomicFileWriter file(path, sync);
    file.append(bytes);
    file.commit();
}

} // namespace AtomicFile
