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
    static const QRegularExpression form(
        QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)x(\\d+\\.?\\d*|\\.\\d+)(in|cm)$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return CommandLine::Size{.width = match.captured(1).toDouble(),
                             .height = match.captured(2).toDouble(),
                             .inches
                             = match.captured(3).compare(QLatin1String("in"), Qt::CaseInsensitive) == 0};
}

// What the options have said so far; the prefix and suffix wait for the
// sequence, which may come after them.
struct Parsing {
    CommandLine c;
    QSet<QString> given;
    QString prefix;
    QString suffix;
};

enum class Kind {
    Once, // given at most once, with values that are not empty
    Job, // --print, --save: given twice, they are told they are one job each
    Affix, // --prefix, --suffix: an empty one is simply none
};

// One option: how many values it takes, and what it does with them (an
// error text, or empty when taken).
struct Option {
    const char *name;
    int values;
    Kind kind;
    std::function<QString(Parsing &, const QStringList &)> take;
};

const char *const kFieldsAlone = "--list-fields goes with --design alone";

QString job(CommandLine &c, CommandLine::Action action)
{
    if (c.action == CommandLine::Action::ListFields)
        return QLatin1String(kFieldsAlone);
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
    return QStringLiteral("--symbology: there is no symbology \"%1\" (--list-symbologies lists them)")
        .arg(name);
}

QString size(CommandLine &c, const QString &text)
{
    c.size = sizeOf(text);
    if (c.size)
        return {};
    return QStringLiteral("--size takes WIDTHxHEIGHT with in or cm, as 2x1in or 5.08x2.54cm, not \"%1\"")
        .arg(text);
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
    const std::pair<D, QStringList> names[]
        = {{D::Comma, {",", "comma"}}, {D::Semicolon, {";", "semicolon"}}, {D::Tab, {"\t", "\\t", "tab"}}};
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
    using A = CommandLine::Action;
    using P = Parsing;
    using V = QStringList;
    static const QList<Option> table{
        {"--print", 0, Kind::Job, [](P &p, const V &) { return job(p.c, A::Print); }},
        {"--save", 1, Kind::Job,
         [](P &p, const V &v) {
             // A picture's format is its name's; - names none (./- is a file of that name).
             if (v[0] == QLatin1String("-"))
                 return QStringLiteral(
                     "--save needs a file name, not - (only --pdf - writes to standard output)");
             p.c.saveFile = v[0];
             return job(p.c, A::Save);
         }},
        {"--list-fields", 0, Kind::Once,
         [](P &p, const V &) {
             if (p.c.action != A::Designer)
                 return QString::fromLatin1(kFieldsAlone);
             p.c.action = A::ListFields;
             return QString();
         }},
        {"--printer", 1, Kind::Once, [](P &p, const V &v) { return printer(p.c, p.c.printer, v[0]); }},
        {"--pdf", 1, Kind::Once, [](P &p, const V &v) { return printer(p.c, p.c.pdf, v[0]); }},
        {"--paper", 1, Kind::Once, [](P &p, const V &v) { return set(p.c.paper, v[0]); }},
        {"--design", 1, Kind::Once, [](P &p, const V &v) { return set(p.c.design, v[0]); }},
        {"--text", 1, Kind::Once, [](P &p, const V &v) { return source(p.c, [&] { p.c.text = v[0]; }); }},
        {"--import", 1, Kind::Once, [](P &p, const V &v) { return source(p.c, [&] { p.c.import = v[0]; }); }},
        {"--sequence", 2, Kind::Once,
         [](P &p, const V &v) {
             return source(p.c, [&] { p.c.sequence = CommandLine::Sequence{v[0], v[1], {}, {}}; });
         }},
        {"--prefix", 1, Kind::Affix, [](P &p, const V &v) { return set(p.prefix, v[0]); }},
        {"--suffix", 1, Kind::Affix, [](P &p, const V &v) { return set(p.suffix, v[0]); }},
        {"--titles", 0, Kind::Once,
         [](P &p, const V &) {
             p.c.titles = true;
             return QString();
         }},
        {"--value", 1, Kind::Once, [](P &p, const V &v) { return set(columns(p.c).valueTemplate, v[0]); }},
        {"--title", 1, Kind::Once, [](P &p, const V &v) { return set(columns(p.c).titleTemplate, v[0]); }},
        {"--delimiter", 1, Kind::Once, [](P &p, const V &v) { return delimiter(p.c, v[0]); }},
        {"--header", 0, Kind::Once,
         [](P &p, const V &) {
             columns(p.c).header = true;
             return QString();
         }},
        {"--symbology", 1, Kind::Once, [](P &p, const V &v) { return symbology(p.c, v[0]); }},
        {"--size", 1, Kind::Once, [](P &p, const V &v) { return size(p.c, v[0]); }},
        {"--first", 1, Kind::Once, [](P &p, const V &v) { return firstLabel(p.c, v[0]); }},
        {"--copies", 1, Kind::Once, [](P &p, const V &v) { return copies(p.c, v[0]); }},
        {"--dpi", 1, Kind::Once, [](P &p, const V &v) { return dpi(p.c, v[0]); }},
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

// Takes the option at arguments[i] with its values and moves i to the last of
// them; an error text, or empty when taken.
QString takeOption(Parsing &p, const QStringList &arguments, qsizetype &i)
{
    const QString &name = arguments[i];
    const Option *option = optionNamed(name);
    if (!option)
        return QStringLiteral("unknown argument: %1").arg(name);
    if (p.given.contains(name) && option->kind != Kind::Job)
        return name + QStringLiteral(" is given twice");
    p.given.insert(name);
    if (i + option->values >= arguments.size())
        return QStringLiteral("%1 needs %2").arg(name, option->values == 2 ? "two values" : "a value");
    const QStringList values = arguments.mid(i + 1, option->values);
    i += option->values;
    // An empty value is an empty variable in a script, not a choice: it
    // would print on the default printer or save nothing, and report success.
    if (option->kind != Kind::Affix && values.contains(QString())) {
        if (name == QLatin1String("--save"))
            return QStringLiteral("--save needs a file name");
        return QStringLiteral("%1 needs a value that is not empty").arg(name);
    }
    return option->take(p, values);
}

// Options each right on its own that do not go together, in the order they are told.
struct Mismatch {
    bool (*found)(const Parsing &);
    const char *message;
};

const Mismatch mismatches[] = {
    {[](const Parsing &p) {
         const QSet<QString> alone{"--list-fields", "--design"};
         return p.c.action == CommandLine::Action::ListFields && !alone.contains(p.given);
     },
     kFieldsAlone},
    {[](const Parsing &p) { return p.c.action == CommandLine::Action::Designer; }, "say --print or --save"},
    {[](const Parsing &p) {
         return p.c.action == CommandLine::Action::Save
             && (!p.c.printer.isEmpty() || !p.c.pdf.isEmpty() || !p.c.paper.isEmpty());
     },
     "--printer, --pdf and --paper go with --print"},
    {[](const Parsing &p) { return p.c.action == CommandLine::Action::Save && p.given.contains("--first"); },
     "--first goes with --print"},
    {[](const Parsing &p) { return p.c.action == CommandLine::Action::Save && p.given.contains("--copies"); },
     "--copies goes with --print"},
    {[](const Parsing &p) { return p.c.action == CommandLine::Action::Print && p.c.dpi.has_value(); },
     "--dpi goes with --save; a print is at the printer's resolution"},
    {[](const Parsing &p) {
         return (p.given.contains("--prefix") || p.given.contains("--suffix")) && !p.c.sequence;
     },
     "--prefix and --suffix go with --sequence"},
    {[](const Parsing &p) { return p.c.titles && !p.c.import; }, "--titles goes with --import"},
    {[](const Parsing &p) { return p.c.columns && p.c.columns->valueTemplate.isEmpty(); },
     "--title, --delimiter and --header go with --value"},
    {[](const Parsing &p) { return p.c.columns && (p.c.text || p.c.sequence); },
     "--value goes with an import file, not --text or --sequence"},
    {[](const Parsing &p) { return p.c.columns && p.c.titles; },
     "--titles takes every second line as a title; with --value, --title says which columns make it"},
};

// The options that stand alone.
const std::pair<const char *, CommandLine::Action> aloneOptions[] = {
    {"--help", CommandLine::Action::Help},
    {"--version", CommandLine::Action::Version},
    {"--list-symbologies", CommandLine::Action::ListSymbologies},
};

// An option that stands alone, or a design file.
std::optional<CommandLine> alone(const QString &only)
{
    CommandLine c;
    for (const auto &[name, action] : aloneOptions) {
        if (only == QLatin1String(name)) {
            c.action = action;
            return c;
        }
    }
    if (only.startsWith(u'-') || only.isEmpty())
        return std::nullopt;
    c.openFile = only;
    return c;
}

// The toolkit's option an argument names, as Qt spells it (one dash or two, a
// value after = or in the next argument): 1 when it takes the next argument
// as its value, 0 when not; nullopt when it is none of the toolkit's. An
// option of our own of the same name (--title) stays ours.
std::optional<int> toolkitValues(const QString &argument)
{
    // The options every Qt program takes (QApplication's, QGuiApplication's and
    // the X11 platform's), with a value and without. The toolkit reads them
    // when the window starts; the command line passes over them.
    static const QStringList valued
        = QStringLiteral("style stylesheet platform platformpluginpath platformtheme plugin qwindowgeometry "
                         "qwindowicon qwindowtitle session display geometry title icon name visual")
              .split(u' ');
    static const QStringList flags
        = QStringLiteral("reverse widgetcount qmljsdebugger testability sync nograb dograb").split(u' ');
    if (!argument.startsWith(u'-') || optionNamed(argument))
        return std::nullopt;
    const qsizetype dashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
    const QString name = argument.section(u'=', 0, 0).mid(dashes);
    if (flags.contains(name))
        return 0;
    if (valued.contains(name))
        return argument.contains(u'=') ? 0 : 1;
    return std::nullopt;
}

// The arguments without the toolkit's options and their values; an error
// text when one lacks its value. Our options' values are ours whatever they
// look like (--text -reverse prints "-reverse").
QString withoutToolkitOptions(QStringList &arguments)
{
    QStringList own;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (const Option *option = optionNamed(arguments[i])) {
            own += arguments.mid(i, 1 + option->values);
            i += option->values;
            continue;
        }
        const std::optional<int> values = toolkitValues(arguments[i]);
        if (!values) {
            own << arguments[i];
            continue;
        }
        if (*values == 0)
            continue;
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(arguments[i]);
        ++i;
    }
    arguments = own;
    return {};
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
        "       quillmark --list-fields [--design FILE]    the fields the design's templates use, as {name}\n"
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
        "Nothing is stored back. Qt's own options (-style NAME, -platform NAME, -reverse, ...) go to\n"
        "the toolkit.\n");
}

QStringList CommandLine::optionNames()
{
    QStringList names;
    for (const auto &[name, action] : aloneOptions)
        names << QLatin1String(name);
    for (const Option &option : options())
        names << QLatin1String(option.name);
    return names;
}

CommandLine CommandLine::parse(const QStringList &given)
{
    QStringList arguments = given;
    if (const QString error = withoutToolkitOptions(arguments); !error.isEmpty())
        return usageError(error);
    if (arguments.isEmpty())
        return {};
    if (arguments.size() == 1) {
        if (const std::optional<CommandLine> only = alone(arguments[0]))
            return *only;
    }
    Parsing p;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (const QString error = takeOption(p, arguments, i); !error.isEmpty())
            return usageError(error);
    }
    for (const Mismatch &mismatch : mismatches) {
        if (mismatch.found(p))
            return usageError(QLatin1String(mismatch.message));
    }
    if (p.c.sequence) {
        p.c.sequence->prefix = p.prefix;
        p.c.sequence->suffix = p.suffix;
    }
    return p.c;
}
