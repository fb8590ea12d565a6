#pragma once
#include "SymbolModel.h"

#include <QByteArray>

// The one wrapper over libzint: a request goes in, the symbol's modules and
// human-readable text come out; failures come back as values, never thrown.
class SymbolEncoder {
public:
    struct Request {
        int symbology = 0;     // zint's BARCODE_* number
        QByteArray data;       // UTF-8
        int inputMode = -1;    // zint's input mode; -1 = Unicode
        int option1 = -1;
        int option2 = 0;
        int option3 = 0;
    };
    struct Result {
        SymbolModel model;
        QString humanText;  // zint's human-readable text (may be empty)
        QString error;      // zint's reason, without its "Error nnn: " prefix
        bool ok() const { return error.isEmpty(); }
    };

    static Result encode(const Request &request);
    static bool hasSquareModules(int symbology);
};
