#include "SymbolBuilder.h"

#include "Code128Encoder.h"
#include "EanLayout.h"
#include "SymbolEncoder.h"

#include <QRegularExpression>
#include <iterator>

namespace {
using Built = SymbolBuilder::Built;
using Code = SymbolEncoder::Code;
struct Entry;
// A symbology's input rules: they check and shape the data, then hand it to
// the symbology's encoder.
using Rule = Built (*)(const Entry &entry, const QString &data, const FormatOptions &options);

struct Entry {
    Symbology symbology;
    const char *name; // the Format list's text
    Code code; // what zint encodes, where the rule does not choose
    int quiet; // modules each side, where no layout of its own sets them
    Rule rule;
    const char *accepts; // for the message when the rules refuse the data
};

bool allDigits(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return true;
}

QString acceptsMessage(const Entry &entry, const QString &reason)
{
    QString message = QStringLiteral("%1 accepts %2.")
                          .arg(QString::fromLatin1(entry.name), QString::fromLatin1(entry.accepts));
    if (!reason.isEmpty())
        message += QStringLiteral(" (%1)").arg(reason);
    return message;
}

Built refused(const Entry &entry, const QString &reason = QString())
{
    Built built;
    built.error = acceptsMessage(entry, reason);
    return built;
}

// Left-pads an EAN main part with zeros as zint does for short input, so that
// a short EAN-13 never turns into an EAN-8 or an add-on.
bool padEanMain(QString &data, int padTo, int longest)
{
    const qsizetype plus = data.indexOf(u'+');
    QString main = plus < 0 ? data : data.left(plus);
    if (main.isEmpty() || main.size() > longest || !allDigits(main))
        return false;
    if (main.size() < padTo)
        main = QString(padTo - main.size(), u'0') + main;
    data = plus < 0 ? main : main + data.mid(plus);
    return true;
}

QChar eanCheckDigit(const QString &digits)
{
    // Weights 3 and 1 alternate from the rightmost digit.
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += (digits[digits.size() - 1 - i].unicode() - '0') * (i % 2 == 0 ? 3 : 1);
    return QChar(u'0' + (10 - sum % 10) % 10);
}

SymbolEncoder::Request request(const Entry &entry, const QString &data, int checkDigits = 0)
{
    SymbolEncoder::Request request;
    request.code = entry.code;
    request.data = data.toUtf8();
    request.checkDigits = checkDigits;
    return request;
}

Built fromZint(const Entry &entry, const SymbolEncoder::Request &request, QString *humanText = nullptr)
{
    Built built;
    SymbolEncoder::Result result = SymbolEncoder::encode(request);
    if (!result.ok())
        return refused(entry, result.error);
    built.model = std::move(result.model);
    if (humanText)
        *humanText = result.humanText;
    SymbolModel &model = built.model;
    int quiet = entry.quiet;
    if (model.squareModules)
        quiet = request.code == Code::DataMatrix ? 1 : 4;
    model.quietLeft = model.quietRight = quiet;
    const QString shown = result.humanText.isEmpty() ? QString::fromUtf8(request.data) : result.humanText;
    model.text.push_back({shown, 0, double(model.width), false});
    return built;
}

Built ean(const Entry &entry, const QString &data, EanLayout::Kind kind)
{
    QString humanText;
    Built built = fromZint(entry, request(entry, data), &humanText);
    if (built.ok())
        EanLayout::apply(built.model, kind, humanText);
    return built;
}

// The rules, one per symbology or family.
Built plain(const Entry &entry, const QString &data, const FormatOptions &)
{
    return fromZint(entry, request(entry, data));
}

Built ean13(const Entry &entry, const QString &data, const FormatOptions &)
{
    QString padded = data;
    if (!padEanMain(padded, 12, 13))
        return refused(entry);
    return ean(entry, padded, EanLayout::Kind::Ean13);
}

Built ean8(const Entry &entry, const QString &data, const FormatOptions &)
{
    QString padded = data;
    if (!padEanMain(padded, 7, 8))
        return refused(entry);
    // zint takes eight digits for an EAN-13 of 0000 and those digits, so the
    // check digit is verified here and handed over without it.
    if (padded.size() >= 8 && padded[7].isDigit()) {
        const QChar expected = eanCheckDigit(padded.left(7));
        if (padded[7] != expected)
            return refused(
                entry,
                QStringLiteral("Invalid check digit '%1', expecting '%2'").arg(padded[7]).arg(expected));
        padded.remove(7, 1);
    }
    return ean(entry, padded, EanLayout::Kind::Ean8);
}

template <int Digits> Built addOnOnly(const Entry &entry, const QString &data, const FormatOptions &)
{
    if (data.size() > Digits || !allDigits(data))
        return refused(entry);
    return ean(entry, QString(Digits - data.size(), u'0') + data, EanLayout::Kind::AddOnOnly);
}

Built upcA(const Entry &entry, const QString &data, const FormatOptions &)
{
    return ean(entry, data, EanLayout::Kind::UpcA);
}

Built upcE(const Entry &entry, const QString &data, const FormatOptions &)
{
    // zint would quietly turn a number system other than 0 or 1 into 0.
    const QString main = data.section(u'+', 0, 0);
    if (main.size() >= 7 && main[0] != u'0' && main[0] != u'1')
        return refused(entry, QStringLiteral("the number system must be 0 or 1"));
    return ean(entry, data, EanLayout::Kind::UpcE);
}

Built code39(const Entry &entry, const QString &data, const FormatOptions &options)
{
    // zint would upper-case the letters, giving a symbol that reads
    // differently from the data.
    if (entry.code == Code::Code39)
        for (const QChar c : data)
            if (c.isLower())
                return refused(entry, QStringLiteral("lower-case letters need Code39Ext"));
    return fromZint(entry, request(entry, data, options.code39Check ? 1 : 0));
}

template <Code128Encoder::Set Set> Built code128(const Entry &, const QString &data, const FormatOptions &)
{
    Built built;
    built.model = Code128Encoder::encode(data, Set, built.error);
    return built;
}

// The fields of (00), (01) and (02) end in the GS1 mod-10 digit of the digits
// before it. One digit short, the field gets it, as EAN-13 does with twelve
// digits, so a numbered sequence of them prints valid codes. zint only warns
// about a wrong digit and encodes it anyway, so the whole field is checked here.
QString withGs1CheckDigits(const QString &data, QString &error)
{
    static const QRegularExpression element(QStringLiteral("[\\[(](\\d{2,4})[\\])]([^\\[(]*)"));
    QString completed = data;
    qsizetype inserted = 0;
    for (auto it = element.globalMatch(data); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString ai = match.captured(1), value = match.captured(2);
        const int length = ai == u"00" ? 18 : (ai == u"01" || ai == u"02") ? 14 : 0;
        if (length == 0 || value.size() < length - 1 || value.size() > length || !allDigits(value))
            continue;
        const QChar expected = eanCheckDigit(value.left(length - 1));
        if (value.size() == length - 1) {
            completed.insert(match.capturedEnd(2) + inserted, expected);
            ++inserted;
        } else if (value.back() != expected) {
            error = QStringLiteral("the check digit of (%1) is '%2', it must be '%3'")
                        .arg(ai, value.back(), expected);
            return {};
        }
    }
    return completed;
}

Built gs1(const Entry &entry, const QString &data, const FormatOptions &)
{
    QString wrong;
    const QString completed = withGs1CheckDigits(data, wrong);
    if (!wrong.isEmpty())
        return refused(entry, wrong);
    SymbolEncoder::Request gs1 = request(entry, completed);
    gs1.gs1 = true;
    gs1.gs1Parentheses = completed.startsWith(u'(');
    return fromZint(entry, gs1);
}

Built issn(const Entry &entry, const QString &data, const FormatOptions &)
{
    static const QRegularExpression split(QStringLiteral("^\\s*(\\S{8,9}?)(?:[ +](\\d{2}))?\\s*$"));
    const QRegularExpressionMatch match = split.match(data);
    const QString main = match.hasMatch() ? SymbolBuilder::issnToEan(match.captured(1)) : QString();
    if (main.isEmpty())
        return refused(entry, QStringLiteral("not an ISSN with a correct check character"));
    const QString addOn = match.captured(2);
    return ean(entry, addOn.isEmpty() ? main : main + u'+' + addOn, EanLayout::Kind::Ean13);
}

Built isbn(const Entry &entry, const QString &data, const FormatOptions &)
{
    QString cleaned = data;
    cleaned.remove(u'-').remove(u' ');
    return ean(entry, cleaned, EanLayout::Kind::Ean13);
}

Built codabar(const Entry &entry, const QString &data, const FormatOptions &)
{
    static const QString startStop = QStringLiteral("ABCDabcd");
    const bool framed
        = data.size() >= 2 && startStop.contains(data.front()) && startStop.contains(data.back());
    return fromZint(entry, request(entry, framed ? data : QStringLiteral("A") + data + QStringLiteral("B")));
}

Built custom(const Entry &entry, const QString &data, const FormatOptions &options)
{
    SymbolEncoder::Request chosen = request(entry, data);
    chosen.code = options.customSymbology;
    return fromZint(entry, chosen);
}

Built interleaved(const Entry &entry, const QString &data, const FormatOptions &options)
{
    return fromZint(entry, request(entry, data, options.interleavedCheck ? 1 : 0));
}

Built post25(const Entry &entry, const QString &data, const FormatOptions &)
{
    if (!allDigits(data) || data.size() > 13)
        return refused(entry);
    SymbolEncoder::Request post = request(entry, data);
    post.code = data.size() <= 11 ? Code::Identcode : Code::Leitcode;
    return fromZint(entry, post);
}

Built postnet(const Entry &entry, const QString &data, const FormatOptions &)
{
    if (!allDigits(data) || (data.size() != 5 && data.size() != 9 && data.size() != 11))
        return refused(entry);
    return fromZint(entry, request(entry, data));
}

Built msi(const Entry &entry, const QString &data, const FormatOptions &options)
{
    return fromZint(entry, request(entry, data, options.msiCheck));
}

using S = Symbology;
using Set = Code128Encoder::Set;
constexpr Entry kEntries[] = {
    {S::Ean13, "EAN-13", Code::Ean, 0, ean13,
     "up to 13 digits (fewer than 12 are padded with leading zeros to 12; a 13th is the check digit), "
     "optionally followed by +2 or +5 add-on digits"},
    {S::Ean8, "EAN-8", Code::Ean, 0, ean8,
     "up to 8 digits (fewer than 7 are padded with leading zeros to 7; an 8th is the check digit), "
     "optionally followed by +2 or +5 add-on digits"},
    {S::Ean5, "EAN-5", Code::Ean, 0, addOnOnly<5>, "up to 5 digits (padded with leading zeros to 5)"},
    {S::Ean2, "EAN-2", Code::Ean, 0, addOnOnly<2>, "up to 2 digits (padded with a leading zero to 2)"},
    {S::UpcA, "UPC-A", Code::UpcA, 0, upcA,
     "up to 12 digits (fewer than 11 are padded with leading zeros to 11; a 12th is the check digit), "
     "optionally followed by +2 or +5 add-on digits"},
    {S::UpcE, "UPC-E", Code::UpcE, 0, upcE,
     "up to 8 digits (fewer than 6 are padded with leading zeros to 6; 7 digits begin with the number system "
     "0 or 1; an 8th is the check digit), optionally followed by +2 or +5 add-on digits"},
    {S::Code39, "Code39", Code::Code39, 10, code39, "digits, upper-case letters, space and - . $ / + %"},
    {S::Code39Ext, "Code39Ext", Code::Code39Ext, 10, code39, "ASCII characters only"},
    {S::Code128, "Code128", Code::Code128, 10, plain, "ASCII and Latin-1 characters"},
    {S::Code128A, "Code128A", Code::Code128, 10, code128<Set::A>,
     "upper-case letters, digits, punctuation and control characters"},
    {S::Code128B, "Code128B", Code::Code128, 10, code128<Set::B>, "printable ASCII characters"},
    {S::Code128C, "Code128C", Code::Code128, 10, code128<Set::C>, "an even number of digits"},
    {S::Ean128, "EAN-128", Code::Gs1_128, 10, gs1,
     "GS1 data as application identifiers and values, e.g. [01]12345678901231 or (01)12345678901231; "
     "a (00), (01) or (02) one digit short gets its check digit"},
    {S::Issn, "ISSN", Code::Ean, 0, issn,
     "an ISSN of 8 characters (a hyphen allowed after the 4th, the last the check character 0-9 or X), "
     "optionally followed by a space or + and 2 add-on digits"},
    {S::Isbn, "ISBN", Code::Isbn, 0, isbn,
     "an ISBN of 10 or 13 digits (hyphens allowed, the last the check digit, X allowed in ISBN-10), "
     "optionally followed by +2 or +5 add-on digits"},
    {S::Codabar, "Codebar", Code::Codabar, 10, codabar,
     "digits and - $ : / . +, optionally between start and stop characters A to D"},
    {S::Custom, "Custom", Code::QrCode, 10, custom, "the data of the symbology chosen in the format options"},
    {S::Interleaved2of5, "Interleaved 2of5", Code::Interleaved2of5, 10, interleaved, "digits only"},
    {S::Code25, "Code 25", Code::Industrial2of5, 10, plain, "digits only"},
    {S::Postnet, "POSTNet", Code::Postnet, 6, postnet,
     "5, 9 or 11 digits (a ZIP code, ZIP+4, or ZIP+4 with the delivery point)"},
    {S::Post25, "Post2/5", Code::Identcode, 10, post25,
     "up to 11 digits (Identcode) or 12 to 13 digits (Leitcode)"},
    {S::Code93, "Code93", Code::Code93, 10, plain, "ASCII characters only"},
    {S::Plessey, "Plessey", Code::Plessey, 10, plain, "digits and the letters A to F"},
    {S::MsiPlessey, "MSI Plessey", Code::MsiPlessey, 10, msi, "digits only"},
    {S::Pdf417, "PDF417", Code::Pdf417, 2, plain, "text of up to about 1,800 characters"},
};
static_assert(std::size(kEntries) == kSymbologyCount);
static_assert(
    [] {
        for (int i = 0; i < kSymbologyCount; ++i)
            if (int(kEntries[i].symbology) != i)
                return false;
        return true;
    }(),
    "kEntries follows the order of Symbology");
} // namespace

QStringList SymbolBuilder::listNames()
{
    QStringList names;
    for (const Entry &entry : kEntries)
        names << QString::fromLatin1(entry.name);
    return names;
}

QString SymbolBuilder::issnToEan(const QString &issn)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-?(\\d{3})([\\dXx])$"));
    const QRegularExpressionMatch match = pattern.match(issn);
    if (!match.hasMatch())
        return {};
    const QString seven = match.captured(1) + match.captured(2);
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += (seven[i].unicode() - '0') * (8 - i);
    const int check = (11 - sum % 11) % 11;
    const QChar given = match.captured(3).at(0).toUpper();
    const QChar expected = check == 10 ? QChar(u'X') : QChar(u'0' + check);
    if (given != expected)
        return {};
    return QStringLiteral("977") + seven + QStringLiteral("00");
}

SymbolBuilder::Built SymbolBuilder::build(Symbology symbology, const QString &data,
                                          const FormatOptions &options)
{
    const Entry &entry = kEntries[int(symbology)];
    if (data.isEmpty())
        return refused(entry, QStringLiteral("there is no data"));
    return entry.rule(entry, data, options);
}

SymbolBuilder::Built SymbolBuilder::build(int position, const QString &data, const FormatOptions &options)
{
    if (const std::optional<Symbology> symbology = symbologyAt(position))
        return build(*symbology, data, options);
    Built built;
    built.error = noSymbologyMessage();
    return built;
}

QString SymbolBuilder::noSymbologyMessage()
{
    return QStringLiteral("No symbology is chosen: pick one from the Format list.");
}
