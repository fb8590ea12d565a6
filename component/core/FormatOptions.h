#pragma once
#include "DesignKeys.h"
#include "SymbolEncoder.h"

#include <QColor>
#include <QList>
#include <QString>
#include <functional>

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
    int msiCheck = 1; // mod 10
    int barReduction = 0; // device pixels taken off each bar (ink spread)
    QColor barColor = Qt::black;
    QColor backColor = Qt::white;

    static const QString &section();
    // From and to the texts a design keeps; values out of range fall back to the defaults.
    void load(const std::function<QString(DesignKey)> &text);
    void save(const std::function<void(DesignKey, const QString &)> &write) const;
    // The same through the settings store; a null store leaves the defaults.
    void load(const SettingsStore *store);
    void save(SettingsStore *store) const;

    bool operator==(const FormatOptions &other) const = default;
};
