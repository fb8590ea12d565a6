#include "LabelObjects.h"
#include "Numbers.h"

#include <cmath>

namespace {

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};

bool finite(const QRectF &box)
{
    return std::isfinite(box.x()) && std::isfinite(box.y()) && std::isfinite(box.width())
        && std::isfinite(box.height());
}

QString sizeFault(const ObjectFrame &frame)
{
    if (frame.box.width() < 0)
        return QStringLiteral("its width %1 is below 0").arg(Numbers::numberText(frame.box.width()));
    if (frame.box.height() < 0)
        return QStringLiteral("its height %1 is below 0").arg(Numbers::numberText(frame.box.height()));
    return {};
}

QString strokeFault(double points)
{
    if (points >= 0 && points <= LabelObjects::kMostStrokePoints)
        return {};
    return QStringLiteral("its stroke of %1 points is not from 0 to 1,000").arg(Numbers::numberText(points));
}

QString fontFault(double points)
{
    if (points > 0 && points <= 1000.0)
        return {};
    return QStringLiteral("its font size of %1 points is not above 0 and up to 1,000")
        .arg(Numbers::numberText(points));
}

} // namespace

std::optional<SymbolObject::Rotation> SymbolObject::rotationOf(double degrees)
{
    for (const Rotation rotation :
         {Rotation::None, Rotation::Quarter, Rotation::Half, Rotation::ThreeQuarters})
        if (degrees == SymbolObject::degrees(rotation))
            return rotation;
    return std::nullopt;
}

namespace LabelObjects {

QString kindName(const LabelObject &object)
{
    return std::visit(Overloaded{
                          [](const SymbolObject &) { return QStringLiteral("Designer symbol"); },
                          [](const TextObject &) { return QStringLiteral("Text"); },
                          [](const BarcodeObject &) { return QStringLiteral("Symbol"); },
                          [](const PictureObject &) { return QStringLiteral("Picture"); },
                          [](const LineObject &) { return QStringLiteral("Line"); },
                          [](const BoxObject &) { return QStringLiteral("Box"); },
                      },
                      object);
}

const ObjectFrame *frameOf(const LabelObject &object)
{
    return std::visit(Overloaded{
                          [](const SymbolObject &) -> const ObjectFrame * { return nullptr; },
                          [](const auto &added) -> const ObjectFrame * { return &added.frame; },
                      },
                      object);
}

QString fault(const LabelObject &object)
{
    const ObjectFrame *frame = frameOf(object);
    if (frame && !finite(frame->box))
        return QStringLiteral("its box is no number");
    return std::visit(Overloaded{
                          [](const SymbolObject &symbol) {
                              if (symbol.place && !finite(*symbol.place))
                                  return QStringLiteral("its box is no number");
                              return symbol.place ? sizeFault({*symbol.place, {}}) : QString();
                          },
                          [](const TextObject &text) {
                              const QString size = sizeFault(text.frame);
                              return size.isEmpty() ? fontFault(text.fontPoints) : size;
                          },
                          [](const BarcodeObject &symbol) {
                              const QString size = sizeFault(symbol.frame);
                              return size.isEmpty() ? fontFault(symbol.symbol.fontPoints) : size;
                          },
                          [](const PictureObject &picture) {
                              const QString size = sizeFault(picture.frame);
                              if (!size.isEmpty() || !picture.file.isEmpty())
                                  return size;
                              return QStringLiteral("it names no picture file");
                          },
                          [](const LineObject &line) { return strokeFault(line.strokePoints); },
                          [](const BoxObject &box) {
                              const QString size = sizeFault(box.frame);
                              if (!size.isEmpty())
                                  return size;
                              if (box.cornerTwips < 0 || !std::isfinite(box.cornerTwips))
                                  return QStringLiteral("its corner radius is below 0");
                              return strokeFault(box.strokePoints);
                          },
                      },
                      object);
}

QString templateOf(const LabelObject &object)
{
    if (const auto *text = std::get_if<TextObject>(&object))
        return text->text;
    if (const auto *symbol = std::get_if<BarcodeObject>(&object))
        return symbol->data;
    return {};
}

} // namespace LabelObjects
