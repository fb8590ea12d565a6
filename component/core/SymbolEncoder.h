#pragma once
#include "SymbolModel.h"

#include <QByteArray>
#include <optional>

// The one wrapper over libzint: a request goes in, the symbol's modules and
// human-readable text come out; failures come back as values, never thrown.
// zint's own symbology numbers stay in here.
class SymbolEncoder {
public:
    // The symbologies asked of zint: those of the Format list, then those
    // "Custom" may stand for.
    enum class Code {
        Ean,
        UpcA,
        UpcE,
        Isbn,
        Code39,
        Code39Ext,
        Code128,
        Gs1_128,
        Codabar,
        Interleaved2of5,
        Industrial2of5,
        Postnet,
        Identcode,
        Leitcode,
        Code93,
        Plessey,
        MsiPlessey,
        Pdf417,
        QrCode,
        DataMatrix,
        Aztec,
        MicroQr,
        Rmqr,
        HanXin,
        GridMatrix,
        CodeOne,
        MicroPdf417,
        Code16k,
        Code49,
        Codablock,
        Code11,
        Logmars,
        Telepen,
        Pharmacode,
        DataBarOmni,
        DataBarLimited,
        DataBarExpanded,
        Itf14,
        Planet,
        RoyalMail,
        Kix,
        UspsIntelligentMail,
        AustraliaPost,
        JapanPost,
    };
    struct Request {
        Code code = Code::Code128;
        QByteArray data; // UTF-8
        bool gs1 = false; // application identifiers in [] (in () with gs1Parentheses)
        bool gs1Parentheses = false;
        int checkDigits = 0; // the symbology's check digit choice: 0 none, 1 one, MSI 0..6
    };
    struct Result {
        SymbolModel model;
        QString humanText; // zint's human-readable text (may be empty)
        QString error; // zint's reason, without its "Error nnn: " prefix
        bool ok() const { return error.isEmpty(); }
    };

    static Result encode(const Request &request);
    // The version of the libzint the program runs with, as "2.12.0".
    static QString libraryVersion();

    // The number a code is stored as (the "CustomSymbology" setting holds it),
    // and back; nullopt for a number no code has.
    static int storedNumber(Code code);
    static std::optional<Code> fromStoredNumber(int number);
};
