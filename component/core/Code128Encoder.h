#pragma once
#include "SymbolModel.h"

// Code 128 with the whole symbol held in one code set (zint chooses sets on
// its own, so the forced sets are encoded here).
class Code128Encoder {
public:
    enum class Set { A, B, C };
    // Empty error when the data fits the set.
    static SymbolModel encode(const QString &data, Set set, QString &error);
    // The symbol characters (start, data, check, stop) as values 0..106.
    static std::vector<int> codewords(const QString &data, Set set, QString &error);
};
