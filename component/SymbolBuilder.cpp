#include "SymbolBuilder.h"

#include "Code128Encoder.h"
#include "EanLayout.h"
#include "SymbolEncoder.h"

#include <QRegularExpression>
#include <zint.h>

namespace {
struct Entry {
    const char *name;
    int zint;           // 0: not encoded by zint directly
    int quiet;          // modules each side, where no layout of its own sets them
    const char *accepts;
};

const Entry kEntries[SymbolBuilder::kCount] = {
    {"EAN-13", BARCODE_EANX, 0, "up to 13 digits (fewer than 12 are padded with leading zeros to 12; a 13th is the check digit), optionally followed by +2 or +5 add-on digits"},
    {"EAN-8", BARCODE_EANX, 0, "up to 8 digits (fewer than 7 are padded with leading zeros to 7; an 8th is the check digit), optionally followed by +2 or +5 add-on digits"},
    {"EAN-5", BARCODE_EANX, 0, "up to 5 digits (padded with leading zeros to 5)"},
    {"EAN-2", BARCODE_EANX, 0, "up to 2 digits (padded with a leading zero to 2)"},
    {"UPC-A", BARCODE_UPCA, 0, "up to 12 digits (fewer than 11 are padded with leading zeros to 11; a 12th is the check digit), optionally followed by +2 or +5 add-on digits"},
    {"UPC-E", BARCODE_UPCE, 0, "up to 8 digits (fewer than 6 are padded with leading zeros to 6; 7 digits begin with the number system 0 or 1; an 8th is the check digit), optionally followed by +2 or +5 add-on digits"},
    {"Code39", BARCODE_CODE39, 10, "digits, upper-case letters, space and - . $ / + %"},
    {"Code39Ext", BARCODE_EXCODE39, 10, "ASCII characters only"},
    {"Code128", BARCODE_CODE128, 10, "ASCII and Latin-1 characters"},
    {"Code128A", 0, 10, "upper-case letters, digits, punctuation and control characters"},
    {"Code128B", 0, 10, "printable ASCII characters"},
    {"Code128C", 0, 10, "an even number of digits"},
    {"EAN-128", BARCODE_GS1_128, 10, "GS1 data as application identifiers and values, e.g. [01]12345678901231 or (01)12345678901231"},
    {"ISSN", BARCODE_EANX, 0, "an ISSN of 8 characters (a hyphen allowed after the 4th, the last the check character 0-9 or X), optionally followed by a space or + and 2 add-on digits"},
    {"ISBN", BARCODE_ISBNX, 0, "an ISBN of 10 or 13 digits (hyphens allowed, the last the check digit, X allowed in ISBN-10), optionally followed by +2 or +5 add-on digits"},
    {"Codebar", BARCODE_CODABAR, 10, "digits and - $ : / . +, optionally between start and stop characters A to D"},
    {"Custom", 0, 10, "the data of the symbology chosen in the format options"},
    {"Interleaved 2of5", BARCODE_C25INTER, 10, "digits only"},
    {"Code 25", BARCODE_C25IND, 10, "digits only"},
    {"POSTNet", BARCODE_POSTNET, 6, "5, 9 or 11 digits (a ZIP code, ZIP+4, or ZIP+4 with the delivery point)"},
    {"Post2/5", 0, 10, "up to 11 digits (Identcode) or 12 to 13 digits (Leitcode)"},
    {"Code93", BARCODE_CODE93, 10, "ASCII characters only"},
    {"Plessey", BARCODE_PLESSEY, 10, "digits and the letters A to F"},
    {"MSI Plessey", BARCODE_MSI_PLESSEY, 10, "digits only"},
    {"PDF417", BARCODE_PDF417, 2, "text of up to about 1,800 characters"},
};

bool allDigits(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return true;
}

QString acceptsMessage(int barType, const QString &reason)
{
    QString message = QStringLiteral("%1 accepts %2.").arg(QString::fromLatin1(kEntries[barType].name),
                                                           QString::fromLatin1(kEntries[barType].accepts));
    if (!reason.isEmpty())
        message += QStringLiteral(" (%1)").arg(reason);
    return message;
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

QChar eanCheckDigit(const QString &digits);

// zint only warns about a wrong check digit in GS1 data and encodes it anyway;
// for (00), (01) and (02) the digit is the GS1 mod-10 digit of the digits before it.
QString gs1CheckDigitError(const QString &data)
{
    static const QRegularExpression element(QStringLiteral("[\\[(](\\d{2,4})[\\])]([^\\[(]*)"));
    for (auto it = element.globalMatch(data); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString ai = match.captured(1), value = match.captured(2);
        const int length = ai == u"00" ? 18 : (ai == u"01" || ai == u"02") ? 14 : 0;
        if (length == 0 || value.size() != length || !allDigits(value))
            continue;
        const QChar expected = eanCheckDigit(value.left(length - 1));
        if (value.back() != expected)
            return QStringLiteral("the check digit of (%1) is '%2', it must be '%3'").arg(ai, value.back(), expected);
    }
    return {};
}

QChar eanCheckDigit(const QString &digits)
{
    // Weights 3 and 1 alternate from the rightmost digit.
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += (digits[digits.size() - 1 - i].unicode() - '0') * (i % 2 == 0 ? 3 : 1);
    return QChar(u'0' + (10 - sum % 10) % 10);
}

SymbolBuilder::Built fromZint(const SymbolEncoder::Request &request, int barType, int quiet,
                              QString *humanText = nullptr)
{
    SymbolBuilder::Built built;
    SymbolEncoder::Result result = SymbolEncoder::encode(request);
    if (!result.ok()) {
        built.error = acceptsMessage(barType, result.error);
        return built;
    }
    built.model = std::move(result.model);
    if (humanText)
        *humanText = result.humanText;
    SymbolModel &model = built.model;
    if (model.squareModules)
        quiet = request.symbology == BARCODE_DATAMATRIX ? 1 : 4;
    model.quietLeft = model.quietRight = quiet;
    const QString shown = result.humanText.isEmpty() ? QString::fromUtf8(request.data) : result.humanText;
    model.text.push_back({shown, 0, double(model.width), false});
    return built;
}

SymbolBuilder::Built ean(int barType, const QString &data, EanLayout::Kind kind, int zint = BARCODE_EANX)
{
    SymbolEncoder::Request request;
    request.symbology = zint;
    request.data = data.toUtf8();
    QString humanText;
    SymbolBuilder::Built built = fromZint(request, barType, 0, &humanText);
    if (built.ok())
        EanLayout::apply(built.model, kind, humanText);
    return built;
}
} // namespace

QString SymbolBuilder::name(int barType)
{
    return barType >= 0 && barType < kCount ? QString::fromLatin1(kEntries[barType].name) : QString();
}

QString SymbolBuilder::noSymbologyMessage()
{
    return QStringLiteral("No symbology is chosen: pick one from the Format list.");
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

SymbolBuilder::Built SymbolBuilder::build(int barType, const QString &data, const FormatOptions &options)
{
    Built built;
    if (barType < 0 || barType >= kCount) {
        built.error = noSymbologyMessage();
        return built;
    }
    if (data.isEmpty()) {
        built.error = acceptsMessage(barType, QStringLiteral("there is no data"));
        return built;
    }
    const Entry &entry = kEntries[barType];
    const auto invalid = [&](const QString &reason = QString()) {
        Built failed;
        failed.error = acceptsMessage(barType, reason);
        return failed;
    };
    SymbolEncoder::Request request;
    request.symbology = entry.zint;
    request.data = data.toUtf8();

    switch (barType) {
    case 0: {
        QString padded = data;
        if (!padEanMain(padded, 12, 13))
            return invalid();
        return ean(barType, padded, EanLayout::Kind::Ean13);
    }
    case 1: {
        QString padded = data;
        if (!padEanMain(padded, 7, 8))
            return invalid();
        // zint takes eight digits for an EAN-13 of 0000 and those digits, so
        // the check digit is verified here and handed over without it.
        if (padded.size() >= 8 && padded[7].isDigit()) {
            const QChar expected = eanCheckDigit(padded.left(7));
            if (padded[7] != expected)
                return invalid(QStringLiteral("Invalid check digit '%1', expecting '%2'").arg(padded[7]).arg(expected));
            padded.remove(7, 1);
        }
        return ean(barType, padded, EanLayout::Kind::Ean8);
    }
    case 2:
    case 3: {
        const int digits = barType == 2 ? 5 : 2;
        if (data.size() > digits || !allDigits(data))
            return invalid();
        return ean(barType, QString(digits - data.size(), u'0') + data, EanLayout::Kind::AddOnOnly);
    }
    case 4: return ean(barType, data, EanLayout::Kind::UpcA, BARCODE_UPCA);
    case 5: {
        // zint would quietly turn a number system other than 0 or 1 into 0.
        const QString main = data.section(u'+', 0, 0);
        if (main.size() >= 7 && main[0] != u'0' && main[0] != u'1')
            return invalid(QStringLiteral("the number system must be 0 or 1"));
        return ean(barType, data, EanLayout::Kind::UpcE, BARCODE_UPCE);
    }
    case 6:
        // zint would upper-case the letters, giving a symbol that reads
        // differently from the data.
        for (const QChar c : data)
            if (c.isLower())
                return invalid(QStringLiteral("lower-case letters need Code39Ext"));
        request.option2 = options.code39Check ? 1 : 0;
        break;
    case 7: request.option2 = options.code39Check ? 1 : 0; break;
    case 9:
    case 10:
    case 11: {
        const auto set = Code128Encoder::Set(barType - 9);
        QString error;
        built.model = Code128Encoder::encode(data, set, error);
        if (!error.isEmpty())
            built.error = error;
        return built;
    }
    case 12:
        if (const QString wrong = gs1CheckDigitError(data); !wrong.isEmpty())
            return invalid(wrong);
        request.inputMode = GS1_MODE | (data.startsWith(u'(') ? GS1PARENS_MODE : 0);
        break;
    case 13: {
        static const QRegularExpression split(QStringLiteral("^\\s*(\\S{8,9}?)(?:[ +](\\d{2}))?\\s*$"));
        const QRegularExpressionMatch match = split.match(data);
        const QString main = match.hasMatch() ? issnToEan(match.captured(1)) : QString();
        if (main.isEmpty())
            return invalid(QStringLiteral("not an ISSN with a correct check character"));
        const QString addOn = match.captured(2);
        return ean(barType, addOn.isEmpty() ? main : main + u'+' + addOn, EanLayout::Kind::Ean13);
    }
    case 14: {
        QString cleaned = data;
        cleaned.remove(u'-').remove(u' ');
        return ean(barType, cleaned, EanLayout::Kind::Ean13, BARCODE_ISBNX);
    }
    case 15: {
        static const QString startStop = QStringLiteral("ABCDabcd");
        const bool framed = data.size() >= 2 && startStop.contains(data.front()) && startStop.contains(data.back());
        request.data = (framed ? data : QStringLiteral("A") + data + QStringLiteral("B")).toUtf8();
        break;
    }
    case 16: request.symbology = options.customSymbology; break;
    case 17: request.option2 = options.interleavedCheck ? 1 : 0; break;
    case 19:
        if (!allDigits(data) || (data.size() != 5 && data.size() != 9 && data.size() != 11))
            return invalid();
        break;
    case 20:
        if (!allDigits(data) || data.size() > 13)
            return invalid();
        request.symbology = data.size() <= 11 ? BARCODE_DPIDENT : BARCODE_DPLEIT;
        break;
    case 23: request.option2 = options.msiCheck; break;
    default: break;
    }
    return fromZint(request, barType, entry.quiet);
}
