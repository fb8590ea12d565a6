#include "EanLayout.h"

#include <QStringList>
#include <utility>

namespace {
struct Shape {
    int width; // modules of the main symbol
    std::vector<std::pair<int, int>> guards; // [from, to) in modules
    int quietLeft;
    int quietRight;
};

Shape shapeOf(EanLayout::Kind kind)
{
    switch (kind) {
    case EanLayout::Kind::Ean13:
        return {95, {{0, 3}, {45, 50}, {92, 95}}, 11, 7};
    case EanLayout::Kind::Ean8:
        return {67, {{0, 3}, {31, 36}, {64, 67}}, 7, 7};
    // UPC-A's first and last symbol characters run down with the guards.
    case EanLayout::Kind::UpcA:
        return {95, {{0, 10}, {45, 50}, {85, 95}}, 9, 9};
    case EanLayout::Kind::UpcE:
        return {51, {{0, 3}, {45, 51}}, 9, 7};
    case EanLayout::Kind::AddOnOnly:
        break;
    }
    return {0, {}, 7, 5};
}

void addRun(SymbolModel &model, const QString &digits, qsizetype at, qsizetype count, double from, double to)
{
    if (at + count <= digits.size())
        model.text.push_back({digits.mid(at, count), from, to, false});
}
} // namespace

void EanLayout::apply(SymbolModel &model, Kind kind, const QString &humanText)
{
    const Shape shape = shapeOf(kind);
    model.quietLeft = shape.quietLeft;
    model.quietRight = shape.quietRight;
    model.text.clear();
    if (model.rows.empty())
        return;

    int addOnStart = -1;
    // An add-on alone is all add-on: its bars start below its digits too.
    for (SymbolModel::Bar &bar : model.rows.front().bars) {
        if (bar.start >= shape.width) {
            bar.kind = SymbolModel::BarKind::AddOn;
            if (addOnStart < 0)
                addOnStart = bar.start;
            continue;
        }
        for (const auto &[from, to] : shape.guards)
            if (bar.start >= from && bar.start + bar.width <= to)
                bar.kind = SymbolModel::BarKind::Guard;
    }

    const QStringList parts = humanText.split(u'+');
    const QString main = parts.value(0);
    const QString addOn = parts.value(1);
    switch (kind) {
    case Kind::Ean13:
        addRun(model, main, 0, 1, -10, -1);
        addRun(model, main, 1, 6, 3, 45);
        addRun(model, main, 7, 6, 50, 92);
        break;
    case Kind::Ean8:
        addRun(model, main, 0, 4, 3, 31);
        addRun(model, main, 4, 4, 36, 64);
        break;
    case Kind::UpcA:
        addRun(model, main, 0, 1, -8, -1);
        addRun(model, main, 1, 5, 10, 45);
        addRun(model, main, 6, 5, 50, 85);
        addRun(model, main, 11, 1, 96, 103);
        break;
    case Kind::UpcE:
        addRun(model, main, 0, 1, -8, -1);
        addRun(model, main, 1, 6, 3, 45);
        addRun(model, main, 7, 1, 52, 58);
        break;
    case Kind::AddOnOnly:
        model.text.push_back({main, 0, double(model.width), true});
        break;
    }
    if (addOnStart >= 0 && !addOn.isEmpty()) {
        model.text.push_back({addOn, double(addOnStart), double(model.width), true});
        model.quietRight = 5;
    }
}
