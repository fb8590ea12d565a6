#pragma once
#include "ImportColumns.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the program was asked to do on its command line. With no arguments,
// or a design file alone, it is the designer window; with a job's options it
// runs one job without a window.
struct CommandLine {
    enum class Action { Designer, Help, Version, ListSymbologies, ListFields, Print, Save, Usage };
    struct Sequence {
        QString start, end, prefix, suffix;
    };
    struct Size {
        double width = 0.0; // in the unit below
        double height = 0.0;
        bool inches = true;
    };

    Action action = Action::Designer;
    QString error; // for Usage: what was wrong with the arguments
    QString openFile; // Designer: the design file to open in the window
    QString printer; // --printer QUEUE
    QString pdf; // --pdf FILE
    QString paper; // --paper NAME: the printer's paper, e.g. Letter, A4
    QString saveFile; // --save FILE
    QString design; // --design FILE: a design file in place of the stored design
    std::optional<QString> text;
    std::optional<Sequence> sequence;
    std::optional<QString> import;
    bool titles = false;
    // --value TEMPLATE [--title T] [--delimiter D] [--header]: the import file's columns.
    std::optional<ImportColumns> columns;
    std::optional<int> symbology; // --symbology NAME: its position in the Format list
    std::optional<Size> size; // --size WIDTHxHEIGHT{in|cm}
    int firstLabel = 1; // --first N: "Start at label"
    int copies = 1; // --copies N: "Copies of each label"
    std::optional<int> dpi; // --dpi N|screen: the pictures' resolution, 0 the screen's

    bool importFromStandardInput() const { return import == QStringLiteral("-"); } // --import -

    // The arguments without the program name. Qt's own options (-style Fusion,
    // -platform NAME, -reverse, ...) are passed over: QApplication takes them.
    static CommandLine parse(const QStringList &arguments);
    static QString usage();
    // Every option parse() takes, "--print" to "--version", for the documentation's checks.
    static QStringList optionNames();
};
