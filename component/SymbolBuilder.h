#pragma once
#include "FormatOptions.h"
#include "SymbolModel.h"

// Turns the component's data and symbology number (its list position, 0..24)
// into a symbol model: the per-symbology input rules, then zint or our own
// Code 128 encoder, then quiet zones and the human-readable text.
class SymbolBuilder {
public:
    struct Built {
        SymbolModel model;
        QString error;        // what the symbology accepts, for the user
        bool ok() const { return error.isEmpty(); }
    };

    static constexpr int kCount = 25;
    static QString name(int barType); // empty when no symbology has that number
    // The error of a symbology number outside 0..24 (a name typed into Format).
    static QString noSymbologyMessage();
    static Built build(int barType, const QString &data, const FormatOptions &options);

    // ISSN "0317-8471" -> the EAN-13 data "977031784700"; empty when not an ISSN
    // with a correct check character.
    static QString issnToEan(const QString &issn);
};
