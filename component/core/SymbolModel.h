#pragma once
#include <QString>
#include <vector>

// One encoded symbol, in whole modules, before any surface is known.
// Positions count from the symbol's first module; quiet zones lie outside.
struct SymbolModel {
    enum class BarKind : unsigned char {
        Normal,
        Guard, // EAN/UPC guards: run on down into the text band
        AddOn, // EAN/UPC add-on bars: start below the add-on's digits
    };
    struct Bar {
        int start = 0;
        int width = 0;
        BarKind kind = BarKind::Normal;
    };
    struct Row {
        std::vector<Bar> bars;
        double weight = 1.0; // share of the bar area's height
    };
    // Human-readable text centred over [from, to) modules.
    struct TextRun {
        QString text;
        double from = 0;
        double to = 0;
        bool above = false; // EAN/UPC add-on digits sit above its bars
    };

    int width = 0; // modules
    int quietLeft = 0;
    int quietRight = 0;
    // Matrix codes keep square modules; everything else fills the height given.
    bool squareModules = false;
    std::vector<Row> rows;
    std::vector<TextRun> text;

    bool isEmpty() const { return rows.empty() || width <= 0; }
    int totalModules() const { return quietLeft + width + quietRight; }
};
