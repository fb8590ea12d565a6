#include "CommandLine.h"
#include "DesignValues.h"
#include "PrintRun.h"
#include "SymbolBuilder.h"

#include <QRegularExpression>
#include <QSet>
#include <functional>

namespace {

CommandLine usageError(const QString &why)
{
    CommandLine c;
    c.action = CommandLine::Action::Usage;
    c.error = why;
    return c;
}

// "2x1in", "5.08x2.54cm": numbers with "." as the point, whatever the locale.
std::optional<CommandLine::Size> sizeOf(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)x(\\d+\\.?\\d*|\\.\\d+)(in|cm)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return CommandLine::Size{.width = match.captured(1).toDouble(),
                             .height = match.captured(2).toDouble(),
                             .inches = match.captured(3).compare(QLatin1String("in"), Qt::CaseInsensitive) == 0};
}

// One option: how many values it takes, and what it does with them (an
// error text, or empty when taken).
struct Option {
    const char *name;
    int values;
    std::function<QString(CommandLine &, const QStringList &)> take;
};

QString job(CommandLine &c, CommandLine::Action action)
{
    if (c.action != CommandLine::Action::Designer)
        return QStringLiteral("--print and --save are one job each");
    c.action = action;
    return {};
}

// A data source, unless one is chosen already.
QString source(CommandLine &c, const std::function<void()> &choose)
{
    if (c.text || c.sequence || c.import)
        return QStringLiteral("--text, --sequence and --import choose one data source");
    choose();
    return {};
}

QString printer(CommandLine &c, QString &field, const QString &value)
{
    if (!c.printer.isEmpty() || !c.pdf.isEmpty())
        return QStringLiteral("--printer and --pdf choose one printer");
    field = value;
    return {};
}

QString set(QString &field, const QString &value)
{
    field = value;
    return {};
}

QString symbology(CommandLine &c, const QString &name)
{
    const QStringList names = SymbolBuilder::listNames();
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            c.symbology = i;
    if (c.symbology)
        return {};
    return QStringLiteral("--symbology: there is no symbology \"%1\" (--list-symbologies lists them)").arg(name);
}

QString size(CommandLine &c, const QString &text)
{
    c.size = sizeOf(text);
    if (c.size)
        return {};
    return QStringLiteral("--size takes WIDTHxHEIGHT with in or cm, as 2x1in or 5.08x2.54cm, not \"%1\"").arg(text);
}

QString firstLabel(CommandLine &c, const QString &text)
{
    bool ok = false;
    c.firstLabel = text.toInt(&ok);
    if (ok && c.firstLabel >= 1)
        return {};
    return QStringLiteral("--first takes a label number from 1, not \"%1\"").arg(text);
}

ImportColumns &columns(CommandLine &c)
{
    if (!c.columns)
        c.columns = ImportColumns{};
    return *c.columns;
}

// A character, the two characters \t as a shell passes them, or the delimiter's name.
QString delimiter(CommandLine &c, const QString &text)
{
    using D = ImportColumns::Delimiter;
    const std::pair<D, QStringList> names[] = {{D::Comma, {",", "comma"}},
                                               {D::Semicolon, {";", "semicolon"}},
                                               {D::Tab, {"\t", "\\t", "tab"}}};
    for (const auto &[delimiter, spellings] : names) {
        if (spellings.contains(text, Qt::CaseInsensitive)) {
            columns(c).delimiter = delimiter;
            return {};
        }
    }
    return QStringLiteral("--delimiter takes , ; or tab (also comma, semicolon, \\t), not \"%1\"").arg(text);
}

QString copies(CommandLine &c, const QString &text)
{
    bool ok = false;
    c.copies = text.toInt(&ok);
    if (ok && c.copies >= 1 && c.copies <= PrintRun::kMostCopies)
        return {};
    return QStringLiteral("--copies takes a count from 1 to %1, not \"%2\"")
        .arg(PrintRun::kMostCopies)
        .arg(text);
}

QString dpi(CommandLine &c, const QString &text)
{
    c.dpi = DesignValues::pictureDpiOf(text);
    if (c.dpi)
        return {};
    const DesignKeys::Entry &entry = DesignKeys::entry(DesignKey::PictureDpi);
    return QStringLiteral("--dpi takes screen or a resolution from %1 to %2 dots per inch, not \"%3\"")
        .arg(entry.low)
        .arg(entry.high)
        .arg(text);
}

const QList<Option> &options()
{
    using C = CommandLine;
    using V = QStringList;
    static const QList<Option> table{
        {"--print", 0, [](C &c, const V &) { return job(c, C::Action::Print); }},
        {"--save", 1,
         [](C &c, const V &v) {
             c.saveFile = v[0];
             return job(c, C::Action::Save);
         }},
        {"--printer", 1, [](C &c, const V &v) { return printer(c, c.printer, v[0]); }},
        {"--pdf", 1, [](C &c, const V &v) { return printer(c, c.pdf, v[0]); }},
        {"--paper", 1, [](C &c, const V &v) { return set(c.paper, v[0]); }},
        {"--design", 1, [](C &c, const V &v) { return set(c.design, v[0]); }},
        {"--text", 1, [](C &c, const V &v) { return source(c, [&] { c.text = v[0]; }); }},
        {"--import", 1, [](C &c, const V &v) { return source(c, [&] { c.import = v[0]; }); }},
        {"--sequence", 2,
         [](C &c, const V &v) { return source(c, [&] { c.sequence = C::Sequence{v[0], v[1], {}, {}}; }); }},
        {"--prefix", 1, [](C &, const V &) { return QString(); }}, // taken with --sequence, below
        {"--suffix", 1, [](C &, const V &) { return QString(); }},
        {"--titles", 0,
         [](C &c, const V &) {
             c.titles = true;
             return QString();
         }},
        {"--value", 1, [](C &c, const V &v) { return set(columns(c).valueTemplate, v[0]); }},
        {"--title", 1, [](C &c, const V &v) { return set(columns(c).titleTemplate, v[0]); }},
        {"--delimiter", 1, [](C &c, const V &v) { return delimiter(c, v[0]); }},
        {"--header", 0,
         [](C &c, const V &) {
             columns(c).header = true;
             return QString();
         }},
        {"--symbology", 1, [](C &c, const V &v) { return symbology(c, v[0]); }},
        {"--size", 1, [](C &c, const V &v) { return size(c, v[0]); }},
        {"--first", 1, [](C &c, const V &v) { return firstLabel(c, v[0]); }},
        {"--copies", 1, [](C &c, const V &v) { return copies(c, v[0]); }},
        {"--dpi", 1, [](C &c, const V &v) { return dpi(c, v[0]); }},
    };
    return table;
}

const Option *optionNamed(const QString &name)
{
    for (const Option &option : options())
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

} // namespace

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: quillmark [DESIGN.qmdesign]                open the designer (with that design)\n"
        "       quillmark --print [--printer QUEUE | --pdf FILE|-] [--paper NAME] [--first N] [--copies N]\n"
        "                 [DESIGN] [DATA]\n"
        "       quillmark --save FILE.png|FILE.bmp|FILE.wmf|FILE.svg|FILE.eps|FILE.pdf [--dpi N]\n"
        "                 [DESIGN] [DATA]\n"
        "       quillmark --list-symbologies | --help | --version\n"
        "DESIGN, in place of the stored design:\n"
        "  --design FILE                                   a design file (.qmdesign) or a settings file\n"
        "  --symbology NAME                                a name of the Format list, in any letter case\n"
        "  --size WIDTHxHEIGHT{in|cm}                      the symbol's size, as 2x1in or 5.08x2.54cm\n"
        "DATA, in place of the design's data source:\n"
        "  --text TEXT                                     one fixed text\n"
        "  --sequence START END [--prefix P] [--suffix S]  a numbered sequence\n"
        "  --import FILE [--titles]                        the lines of a text file; - reads standard input\n"
        "COLUMNS of a CSV import file (a spreadsheet's export), in place of the design's:\n"
        "  --value TEMPLATE                                each row's value, as {sku}-{size} or {1}\n"
        "  --title TEMPLATE                                each row's title, as {name}; ticks has title\n"
        "  --delimiter , | ; | tab                         else found by itself among the three\n"
        "  --header                                        the first row names the columns\n"
        "--paper NAME picks one of the printer's paper sizes (Letter, A4, ...); --first N\n"
        "starts the first sheet at label N; --copies N prints each value on N labels in a row\n"
        "(the fixed text fills its one page anyway). --dpi N saves the pictures at N dots per inch\n"
        "(50 to 2400; screen: the screen's pixels). --pdf - writes the PDF to standard output,\n"
        "which must not be a terminal, and the status line to standard error.\n"
        "Nothing is stored back.\n");
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine c;
    if (arguments.size() == 1) {
        const QString &only = arguments[0];
        if (only == QLatin1String("--help"))
            c.action = Action::Help;
        else if (only == QLatin1String("--version"))
            c.action = Action::Version;
        else if (only == QLatin1String("--list-symbologies"))
            c.action = Action::ListSymbologies;
        else if (!only.startsWith(u'-') && !only.isEmpty())
            c.openFile = only;
        if (c.action != Action::Designer || !c.openFile.isEmpty())
            return c;
    }
    if (arguments.isEmpty())
        return c;
    QSet<QString> given;
    QString prefix, suffix;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &name = arguments[i];
        const Option *option = optionNamed(name);
        if (!option)
            return usageError(QStringLiteral("unknown argument: %1").arg(name));
        if (given.contains(name) && name != QLatin1String("--print") && name != QLatin1String("--save"))
            return usageError(name + QStringLiteral(" is given twice"));
        given.insert(name);
        if (i + option->values >= arguments.size())
            return usageError(QStringLiteral("%1 needs %2").arg(name, option->values == 2 ? "two values" : "a value"));
        const QStringList values = arguments.mid(i + 1, option->values);
        i += option->values;
        // An empty value is an empty variable in a script, not a choice: it
        // would print on the default printer or save nothing, and report success.
        // An empty prefix or suffix is simply none.
        const bool affix = name == QLatin1String("--prefix") || name == QLatin1String("--suffix");
        if (!affix && values.contains(QString()))
            return usageError(name == QLatin1String("--save") ? QStringLiteral("--save needs a file name")
                                                              : QStringLiteral("%1 needs a value that is not empty")
                                                                    .arg(name));
        if (affix)
            (name == QLatin1String("--prefix") ? prefix : suffix) = values[0];
        if (const QString error = option->take(c, values); !error.isEmpty())
            return usageError(error);
    }
    if (c.action == Action::Designer)
        return usageError(QStringLiteral("say --print or --save"));
    if (c.action == Action::Save && (!c.printer.isEmpty() || !c.pdf.isEmpty() || !c.paper.isEmpty()))
        return usageError(QStringLiteral("--printer, --pdf and --paper go with --print"));
    if (c.action == Action::Save && given.contains(QStringLiteral("--first")))
        return usageError(QStringLiteral("--first goes with --print"));
    if (c.action == Action::Save && given.contains(QStringLiteral("--copies")))
        return usageError(QStringLiteral("--copies goes with --print"));
    if (c.action == Action::Print && c.dpi)
        return usageError(QStringLiteral("--dpi goes with --save; a print is at the printer's resolution"));
    if ((given.contains(QStringLiteral("--prefix")) || given.contains(QStringLiteral("--suffix"))) && !c.sequence)
        return usageError(QStringLiteral("--prefix and --suffix go with --sequence"));
    if (c.titles && !c.import)
        return usageError(QStringLiteral("--titles goes with --import"));
    if (c.columns && c.columns->valueTemplate.isEmpty())
        return usageError(QStringLiteral("--title, --delimiter and --header go with --value"));
    if (c.columns && (c.text || c.sequence))
        return usageError(QStringLiteral("--value goes with an import file, not --text or --sequence"));
    if (c.columns && c.titles)
        return usageError(QStringLiteral("--titles takes every second line as a title; with --value, "
                                         "--title says which columns make it"));
    if (c.sequence) {
        c.sequence->prefix = prefix;
        c.sequence->suffix = suffix;
    }
    return c;
}
