#include "SymbolEncoder.h"

#include <QRegularExpression>
#include <algorithm>
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
} // namespace

bool SymbolEncoder::hasSquareModules(int symbology)
{
    return ZBarcode_Cap(symbology, ZINT_CAP_FIXED_RATIO) != 0;
}

SymbolEncoder::Result SymbolEncoder::encode(const Request &request)
{
    Result result;
    std::unique_ptr<zint_symbol, ZintDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        result.error = QStringLiteral("Out of memory.");
        return result;
    }
    symbol->symbology = request.symbology;
    symbol->input_mode = request.inputMode < 0 ? UNICODE_MODE : request.inputMode;
    symbol->option_1 = request.option1;
    symbol->option_2 = request.option2;
    symbol->option_3 = request.option3;
    const int status = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(request.data.constData()),
                                       int(request.data.size()));
    if (status >= ZINT_ERROR) {
        result.error = withoutPrefix(symbol->errtxt);
        if (result.error.isEmpty())
            result.error = QStringLiteral("The data cannot be encoded.");
        return result;
    }

    SymbolModel &model = result.model;
    model.width = symbol->width;
    model.squareModules = hasSquareModules(request.symbology);
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
