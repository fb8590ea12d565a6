#include "CommandLine.h"

namespace {

CommandLine usageError(const QString &why)
{
    CommandLine c;
    c.action = CommandLine::Action::Usage;
    c.error = why;
    return c;
}

} // namespace

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: quillmark                                  open the designer\n"
        "       quillmark --print [--printer QUEUE | --pdf FILE] [--paper NAME] [DATA] [--design FILE]\n"
        "       quillmark --save FILE.png|FILE.bmp|FILE.wmf [DATA] [--design FILE]\n"
        "       quillmark --help | --version\n"
        "DATA, in place of the stored data source:\n"
        "  --text TEXT                                     one fixed text\n"
        "  --sequence START END [--prefix P] [--suffix S]  a numbered sequence\n"
        "  --import FILE [--titles]                        the lines of a text file\n"
        "--paper NAME picks one of the printer's paper sizes (Letter, A4, ...).\n"
        "--design FILE reads the design, data source and margins from that settings\n"
        "file instead of the stored ones. Nothing is stored back.\n");
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine c;
    if (arguments.isEmpty())
        return c;
    if (arguments.size() == 1 && arguments[0] == QLatin1String("--help")) {
        c.action = Action::Help;
        return c;
    }
    if (arguments.size() == 1 && arguments[0] == QLatin1String("--version")) {
        c.action = Action::Version;
        return c;
    }
    QString prefix, suffix;
    bool hasPrefix = false, hasSuffix = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        // The values an option takes, or an error when they are missing.
        auto take = [&](int count) -> std::optional<QStringList> {
            if (i + count >= arguments.size())
                return std::nullopt;
            QStringList values = arguments.mid(i + 1, count);
            i += count;
            return values;
        };
        auto once = [&](bool already) { return already ? std::optional<CommandLine>(usageError(a + " is given twice")) : std::nullopt; };
        std::optional<QStringList> v;
        if (a == QLatin1String("--print") || a == QLatin1String("--save")) {
            if (c.action != Action::Designer)
                return usageError(QStringLiteral("--print and --save are one job each"));
            if (a == QLatin1String("--save")) {
                if (!(v = take(1)) || v->at(0).isEmpty())
                    return usageError(QStringLiteral("--save needs a file name"));
                c.saveFile = v->at(0);
                c.action = Action::Save;
            } else {
                c.action = Action::Print;
            }
            continue;
        }
        int count = a == QLatin1String("--sequence") ? 2 : 1;
        if (a == QLatin1String("--titles")) {
            if (auto e = once(c.titles))
                return *e;
            c.titles = true;
            continue;
        }
        static const QStringList withValue = {"--printer", "--pdf", "--paper", "--design", "--text", "--sequence",
                                              "--prefix", "--suffix", "--import"};
        if (!withValue.contains(a))
            return usageError(QStringLiteral("unknown argument: %1").arg(a));
        if (!(v = take(count)))
            return usageError(QStringLiteral("%1 needs %2").arg(a, count == 2 ? "two values" : "a value"));
        // An empty value is an empty variable in a script, not a choice: it
        // would print on the default printer or save nothing, and report success.
        // An empty prefix or suffix is simply none.
        const bool affix = a == QLatin1String("--prefix") || a == QLatin1String("--suffix");
        if (!affix && v->contains(QString()))
            return usageError(QStringLiteral("%1 needs a value that is not empty").arg(a));
        const QString value = v->at(0);
        if (a == QLatin1String("--printer") || a == QLatin1String("--pdf")) {
            if (!c.printer.isEmpty() || !c.pdf.isEmpty())
                return usageError(QStringLiteral("--printer and --pdf choose one printer"));
            (a == QLatin1String("--printer") ? c.printer : c.pdf) = value;
        } else if (a == QLatin1String("--design") || a == QLatin1String("--paper")) {
            QString &field = a == QLatin1String("--design") ? c.design : c.paper;
            if (auto e = once(!field.isEmpty()))
                return *e;
            field = value;
        } else if (a == QLatin1String("--prefix") || a == QLatin1String("--suffix")) {
            bool &has = a == QLatin1String("--prefix") ? hasPrefix : hasSuffix;
            if (auto e = once(has))
                return *e;
            has = true;
            (a == QLatin1String("--prefix") ? prefix : suffix) = value;
        } else {
            if (c.text || c.sequence || c.import)
                return usageError(QStringLiteral("--text, --sequence and --import choose one data source"));
            if (a == QLatin1String("--text"))
                c.text = value;
            else if (a == QLatin1String("--import"))
                c.import = value;
            else
                c.sequence = Sequence{value, v->at(1), {}, {}};
        }
    }
    if (c.action == Action::Designer)
        return usageError(QStringLiteral("say --print or --save"));
    if (c.action == Action::Save && (!c.printer.isEmpty() || !c.pdf.isEmpty() || !c.paper.isEmpty()))
        return usageError(QStringLiteral("--printer, --pdf and --paper go with --print"));
    if ((hasPrefix || hasSuffix) && !c.sequence)
        return usageError(QStringLiteral("--prefix and --suffix go with --sequence"));
    if (c.titles && !c.import)
        return usageError(QStringLiteral("--titles goes with --import"));
    if (c.sequence) {
        c.sequence->prefix = prefix;
        c.sequence->suffix = suffix;
    }
    return c;
}
