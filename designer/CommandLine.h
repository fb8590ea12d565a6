#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// What the program was asked to do on its command line. With no arguments it
// is the designer window; with arguments it runs one job without a window.
struct CommandLine {
    enum class Action { Designer, Help, Version, Print, Save, Usage };
    struct Sequence {
        QString start, end, prefix, suffix;
    };

    Action action = Action::Designer;
    QString error;     // for Usage: what was wrong with the arguments
    QString printer;   // --printer QUEUE
    QString pdf;       // --pdf FILE
    QString paper;     // --paper NAME: the printer's paper, e.g. Letter, A4
    QString saveFile;  // --save FILE
    QString design;    // --design FILE: a settings file in place of the stored design
    std::optional<QString> text;
    std::optional<Sequence> sequence;
    std::optional<QString> import;
    bool titles = false;

    static CommandLine parse(const QStringList &arguments); // without the program name
    static QString usage();
};
