#pragma once
#include "DesignKeys.h"
#include "SymbolEncoder.h"

#include <QColor>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

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
    double barReduction = 0; // millimetres taken off each bar (ink spread)
    QColor barColor = Qt::black;
    QColor backColor = Qt::white;

    // The most a bar may lose: a module of 2 mm loses half of it.
    static constexpr double kMostReductionMm = 1.0;
    // A stored reduction in millimetres: "0.05mm", or a whole number of pixels
    // from 0 to 50 as earlier versions kept it, taken at pixelDpi (the design's
    // picture resolution, where those pixels were drawn) and held to the most;
    // nullopt for any other text.
    static std::optional<double> reductionOf(const QString &text, double pixelDpi);
    static QString reductionText(double millimetres); // "0", "0.05mm"

    // From and to the texts a design keeps; values out of range fall back to the defaults.
    void load(const std::function<QString(DesignKey)> &text);
    void save(const std::function<void(DesignKey, const QString &)> &write) const;
    // The same through the settings store; a null store leaves the defaults.
    void load(const SettingsStore *store);
    void save(SettingsStore *store) const;

    bool operator==(const FormatOptions &other) const = default;
};
