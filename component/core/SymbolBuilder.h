#pragma once
#include "FormatOptions.h"
#include "SymbolModel.h"
#include "Symbology.h"

#include <QStringList>

// Turns the component's data and symbology into a symbol model: the
// symbology's input rules, then its encoder (zint or our own Code 128), then
// quiet zones and the human-readable text. One table holds, per symbology,
// its list name, encoder and rules.
class SymbolBuilder {
public:
    struct Built {
        SymbolModel model;
        QString error; // what the symbology accepts, for the user
        bool ok() const { return error.isEmpty(); }
    };

    // The Format list's texts, in list order ("EAN-13", ... "PDF417").
    static QStringList listNames();
    static Built build(Symbology symbology, const QString &data, const FormatOptions &options);
    // A list position as a form stores it; outside the list (a name typed into
    // Format), the error noSymbologyMessage().
    static Built build(int position, const QString &data, const FormatOptions &options);
    static QString noSymbologyMessage();

    // ISSN "0317-8471" -> the EAN-13 data "977031784700"; empty when not an ISSN
    // with a correct check character.
    static QString issnToEan(const QString &issn);
};
