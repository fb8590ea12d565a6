#pragma once
#include "SymbolEncoder.h"

#include <QColor>
#include <QList>
#include <QString>

class SettingsStore;

// The component's own options, kept in the settings store under a section of
// its own so that they survive a restart.
struct FormatOptions {
    struct Choice {
        int value; // customChoices: a SymbolEncoder::Code
        const char *name;
    };
    // What "Custom" may stand for: symbologies that draw as rows of square or
    // rectangular modules (zint's hexagonal and coloured codes are left out).
    static const QList<Choice> &customChoices();
    // MSI Plessey check digits, as the "MSICheckDigit" setting numbers them.
    static const QList<Choice> &msiChoices();

    SymbolEncoder::Code customSymbology = SymbolEncoder::Code::QrCode;
    bool code39Check = false;
    bool interleavedCheck = false;
    int msiCheck = 1;          // mod 10
    int barReduction = 0;      // device pixels taken off each bar (ink spread)
    QColor barColor = Qt::black;
    QColor backColor = Qt::white;

    static const QString &section();
    // A null store leaves the defaults; values out of range fall back to them.
    void load(const SettingsStore *store);
    void save(SettingsStore *store) const;

    bool operator==(const FormatOptions &other) const = default;
};
