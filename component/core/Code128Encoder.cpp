#include "Code128Encoder.h"

#include <QStringList>

namespace {
// Bar, space, bar, space, bar, space widths of each symbol character; 106 is
// the stop with its final bar.
const char *const kPatterns[107]
    = {"212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
       "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
       "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
       "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
       "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
       "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
       "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
       "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
       "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
       "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
       "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

constexpr int kStartA = 103;
constexpr int kStop = 106;
} // namespace

std::vector<int> Code128Encoder::codewords(const QString &data, Set set, QString &error)
{
    error.clear();
    std::vector<int> values{kStartA + int(set)};
    if (data.isEmpty()) {
        error = QStringLiteral("There is no data to encode.");
        return {};
    }
    // The same ceiling as zint's automatic Code 128.
    if (data.size() > 160) {
        error = QStringLiteral("Code 128 accepts at most 160 characters.");
        return {};
    }
    if (set == Set::C) {
        if (data.size() % 2 != 0) {
            error = QStringLiteral("Code128C accepts an even number of digits only.");
            return {};
        }
        for (qsizetype i = 0; i < data.size(); i += 2) {
            const QChar hi = data[i], lo = data[i + 1];
            if (!hi.isDigit() || !lo.isDigit() || hi.unicode() > '9' || lo.unicode() > '9') {
                error = QStringLiteral("Code128C accepts digits only, an even number of them.");
                return {};
            }
            values.push_back((hi.unicode() - '0') * 10 + (lo.unicode() - '0'));
        }
    } else {
        for (const QChar c : data) {
            const int u = c.unicode();
            if (set == Set::A && u < 96) {
                values.push_back(u < 32 ? u + 64 : u - 32);
            } else if (set == Set::B && u >= 32 && u < 128) {
                values.push_back(u - 32);
            } else {
                error = set == Set::A ? QStringLiteral("Code128A accepts upper-case letters, digits, "
                                                       "punctuation and control characters only.")
                                      : QStringLiteral("Code128B accepts printable ASCII characters only "
                                                       "(letters, digits, punctuation, space).");
                return {};
            }
        }
    }
    int sum = values.front();
    for (size_t i = 1; i < values.size(); ++i)
        sum += int(i) * values[i];
    values.push_back(sum % 103);
    values.push_back(kStop);
    return values;
}

SymbolModel Code128Encoder::encode(const QString &data, Set set, QString &error)
{
    SymbolModel model;
    const std::vector<int> values = codewords(data, set, error);
    if (!error.isEmpty())
        return model;
    SymbolModel::Row row;
    int x = 0;
    for (int value : values) {
        const char *p = kPatterns[value];
        for (int i = 0; p[i]; ++i) {
            const int w = p[i] - '0';
            if (i % 2 == 0)
                row.bars.push_back({x, w, SymbolModel::BarKind::Normal});
            x += w;
        }
    }
    model.width = x;
    model.quietLeft = model.quietRight = 10;
    model.rows.push_back(std::move(row));
    QString shown = data;
    for (QChar &c : shown)
        if (c.unicode() < 32)
            c = u' ';
    model.text.push_back({shown, 0, double(x), false});
    return model;
}
