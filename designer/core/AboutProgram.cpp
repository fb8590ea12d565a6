#include "AboutProgram.h"
#include "SymbolEncoder.h"

#include <QtGlobal>

QString AboutProgram::version() { return QStringLiteral(QUILLMARK_VERSION); }

QString AboutProgram::title() { return QStringLiteral("About Quillmark"); }

QString AboutProgram::text()
{
    // The versions of the libraries as they are loaded, not as built against.
    return QStringLiteral("Quillmark %1\n"
                          "Designs barcode labels and prints them in quantity.\n\n"
                          "Copyright 2026 The Quillmark developers. All rights reserved: this program "
                          "may be used as delivered; it may not be copied, changed or passed on "
                          "without the written permission of the Quillmark developers.\n\n"
                          "It runs with Qt %2 and libzint %3, and uses zlib and libcups.")
        .arg(version(), QString::fromLatin1(qVersion()), SymbolEncoder::libraryVersion());
}
