#include "SymbolEncoder.h"

#include <QRegularExpression>
#include <algorithm>
#include <iterator>
#include <memory>
#include <zint.h>

namespace {
struct ZintDeleter {
    void operator()(zint_symbol *symbol) const { ZBarcode_Delete(symbol); }
};

bool moduleIsSet(const zint_symbol *symbol, int row, int column)
{
    // zint 2.11 packs each row's modules into bits, lowest bit first.
    return (symbol->encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

QString withoutPrefix(const char *errtxt)
{
    static const QRegularExpression prefix(QStringLiteral("^(Error|Warning) \\d+: "));
    return QString::fromUtf8(errtxt).remove(prefix);
}

// zint's number for each Code, in the enum's order.
constexpr int kZintNumbers[] = {
    BARCODE_EANX,     BARCODE_UPCA,        BARCODE_UPCE,    BARCODE_ISBNX,     BARCODE_CODE39,
    BARCODE_EXCODE39, BARCODE_CODE128,     BARCODE_GS1_128, BARCODE_CODABAR,   BARCODE_C25INTER,
    BARCODE_C25IND,   BARCODE_POSTNET,     BARCODE_DPIDENT, BARCODE_DPLEIT,    BARCODE_CODE93,
    BARCODE_PLESSEY,  BARCODE_MSI_PLESSEY, BARCODE_PDF417,  BARCODE_QRCODE,    BARCODE_DATAMATRIX,
    BARCODE_AZTEC,    BARCODE_MICROQR,     BARCODE_RMQR,    BARCODE_HANXIN,    BARCODE_GRIDMATRIX,
    BARCODE_CODEONE,  BARCODE_MICROPDF417, BARCODE_CODE16K, BARCODE_CODE49,    BARCODE_CODABLOCKF,
    BARCODE_CODE11,   BARCODE_LOGMARS,     BARCODE_TELEPEN, BARCODE_PHARMA,    BARCODE_DBAR_OMN,
    BARCODE_DBAR_LTD, BARCODE_DBAR_EXP,    BARCODE_ITF14,   BARCODE_PLANET,    BARCODE_RM4SCC,
    BARCODE_KIX,      BARCODE_USPS_IMAIL,  BARCODE_AUSPOST, BARCODE_JAPANPOST,
};
static_assert(std::size(kZintNumbers) == std::size_t(SymbolEncoder::Code::JapanPost) + 1);
} // namespace

QString SymbolEncoder::libraryVersion()
{
    // zint tells it as one number, 21200 for 2.12.0.
    const int number = ZBarcode_Version();
    return QStringLiteral("%1.%2.%3").arg(number / 10000).arg(number / 100 % 100).arg(number % 100);
}

int SymbolEncoder::storedNumber(Code code) { return kZintNumbers[int(code)]; }

std::optional<SymbolEncoder::Code> SymbolEncoder::fromStoredNumber(int number)
{
    const auto found = std::find(std::begin(kZintNumbers), std::end(kZintNumbers), number);
    if (found == std::end(kZintNumbers))
        return std::nullopt;
    return Code(found - std::begin(kZintNumbers));
}

SymbolEncoder::Result SymbolEncoder::encode(const Request &request)
{
    Result result;
    std::unique_ptr<zint_symbol, ZintDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        result.error = QStringLiteral("Out of memory.");
        return result;
    }
    const int number = storedNumber(request.code);
    symbol->symbology = number;
    symbol->input_mode
        = request.gs1 ? GS1_MODE | (request.gs1Parentheses ? GS1PARENS_MODE : 0) : UNICODE_MODE;
    symbol->option_1 = -1;
    symbol->option_2 = request.checkDigits;
    symbol->option_3 = 0;
    const int status
        = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(request.data.constData()),
                          int(request.data.size()));
    if (status >= ZINT_ERROR) {
        result.error = withoutPrefix(symbol->errtxt);
        if (result.error.isEmpty())
            result.error = QStringLiteral("The data cannot be encoded.");
        return result;
    }

    SymbolModel &model = result.model;
    model.width = symbol->width;
    model.squareModules = ZBarcode_Cap(number, ZINT_CAP_FIXED_RATIO) != 0;
    // Rows without a height of their own share what the symbol's height leaves.
    double fixedSum = 0;
    int unsized = 0;
    for (int r = 0; r < symbol->rows; ++r) {
        if (symbol->row_height[r] > 0)
            fixedSum += symbol->row_height[r];
        else
            ++unsized;
    }
    const double share = unsized ? std::max(1.0, (double(symbol->height) - fixedSum) / unsized) : 1.0;
    for (int r = 0; r < symbol->rows; ++r) {
        SymbolModel::Row row;
        row.weight = symbol->row_height[r] > 0 ? symbol->row_height[r] : share;
        for (int c = 0; c < symbol->width;) {
            if (!moduleIsSet(symbol.get(), r, c)) {
                ++c;
                continue;
            }
            int end = c + 1;
            while (end < symbol->width && moduleIsSet(symbol.get(), r, end))
                ++end;
            row.bars.push_back({c, end - c, SymbolModel::BarKind::Normal});
            c = end;
        }
        model.rows.push_back(std::move(row));
    }
    result.humanText = QString::fromUtf8(reinterpret_cast<const char *>(symbol->text));
    return result;
}
