#pragma once
#include <QString>

// How the import file's rows are split into columns and what a label takes
// from them. Without a value template the file is read line by line as it
// always was: a line is a value, "has title" takes the next line as its title.
struct ImportColumns {
    enum class Delimiter { Detect, Comma, Semicolon, Tab };

    Delimiter delimiter = Delimiter::Detect; // Detect: found among comma, semicolon and tab
    bool header = false; // the first row names the columns
    QString valueTemplate; // "{sku}-{size}": columns by name or by number from 1, literal text between
    QString titleTemplate; // the same over the columns; empty: no title from the row

    bool chosen() const { return !valueTemplate.isEmpty(); }
    bool operator==(const ImportColumns &other) const = default;
};
