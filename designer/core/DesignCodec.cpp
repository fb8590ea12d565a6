#include "DesignCodec.h"
#include "DesignValues.h"
#include "Numbers.h"
#include "ObjectSections.h"
#include "StoredValue.h"
#include "SymbolDesign.h"

namespace {

using K = DesignKey;
const DesignKey kMarginKeys[] = {K::LabelLeft, K::LabelRight, K::LabelTop, K::LabelBottom,
                                 K::PageLeft,  K::PageRight,  K::PageTop,  K::PageBottom};

} // namespace

namespace DesignCodec {

LabelDocument read(const Design &design)
{
    const DesignValues values = DesignValues::of(design);
    LabelDocument document;
    document.setUnit(values.unitFlag != 0 ? LabelDocument::Unit::Inches : LabelDocument::Unit::Centimetres);
    document.setSize(values.inUnitSteps(values.symbolWidth), values.inUnitSteps(values.symbolHeight));

    std::array<double, 8> margins{};
    for (size_t i = 0; i < margins.size(); ++i)
        margins[i] = LabelMargins::amountOf(design.text(kMarginKeys[i]));
    document.setMargins(LabelMargins::fromOrder(margins));
    document.setLabelProduct(design.text(K::LabelProduct));

    DataSource source;
    constexpr DataSource::Kind kinds[] = {DataSource::Kind::None, DataSource::Kind::Text,
                                          DataSource::Kind::Sequence, DataSource::Kind::ImportFile};
    source.kind = kinds[values.source()];
    source.text = design.text(K::Caption);
    source.sequenceStart = design.text(K::SequenceStart);
    source.sequenceEnd = design.text(K::SequenceEnd);
    source.prefix = design.text(K::Prefix);
    source.suffix = design.text(K::Suffix);
    source.importFile = design.text(K::ImportFile);
    source.columns = values.columns;
    source.titled = SymbolObject::tickOf(values.hasTitle);
    document.setSource(source);
    document.setPictureDpi(values.pictureDpi);

    SymbolObject symbol;
    symbol.symbology = symbologyAt(values.symbology);
    symbol.options.load([&design](DesignKey key) { return design.text(key); });
    symbol.scaling = SymbolObject::tickOf(values.scaling);
    symbol.showText = SymbolObject::tickOf(values.showText);
    symbol.rotation = SymbolObject::Rotation(values.rotation);
    symbol.alignment = SymbolObject::Alignment(values.alignment);
    symbol.fontName = values.fontName;
    VantrelFont font;
    DesignValues::sizeFont(font, values.fontSize);
    symbol.fontPoints = font.Size();
    document.setSymbol(symbol);
    document.setObjects(ObjectSections::read(design, symbol));
    return document;
}

void write(const LabelDocument &document, Design &design)
{
    const SymbolObject &symbol = document.symbol();
    const DataSource &source = document.source();
    design.setText(K::Width, Numbers::numberText(document.width()));
    design.setText(K::Height, Numbers::numberText(document.height()));
    design.setText(K::Caption, source.text);
    design.setText(K::ImportFile, source.importFile);
    design.setText(K::SequenceStart, source.sequenceStart);
    design.setText(K::SequenceEnd, source.sequenceEnd);
    design.setText(K::Unit, StoredValue::flag(document.unit() == LabelDocument::Unit::Inches));
    design.setText(K::Symbology, Numbers::numberText(symbol.symbology ? int(*symbol.symbology) : -1));
    design.setText(K::Scaling, StoredValue::checkFlag(int(symbol.scaling)));
    design.setText(K::Rotation, Numbers::numberText(SymbolObject::degrees(symbol.rotation)));
    design.setText(K::ShowText, StoredValue::checkFlag(int(symbol.showText)));
    design.setText(K::FontName, symbol.fontName);
    design.setText(K::FontSize, Numbers::numberText(symbol.fontPoints));
    design.setText(K::HasTitle, StoredValue::checkFlag(int(source.titled)));
    design.setText(K::Align, DesignValues::alignments().at(int(symbol.alignment)));
    design.setText(K::SourceText, StoredValue::flag(source.kind == DataSource::Kind::Text));
    design.setText(K::SourceSequence, StoredValue::flag(source.kind == DataSource::Kind::Sequence));
    design.setText(K::SourceImport, StoredValue::flag(source.kind == DataSource::Kind::ImportFile));
    DesignValues::setColumns(design, source.columns);
    design.setText(K::PictureDpi, DesignValues::pictureDpiText(document.pictureDpi()));
    const std::array<double, 8> margins = document.margins().inOrder();
    for (size_t i = 0; i < margins.size(); ++i)
        design.setText(kMarginKeys[i], LabelMargins::textOf(margins[i]));
    symbol.options.save([&design](DesignKey key, const QString &text) { design.setText(key, text); });
    design.setText(K::Prefix, source.prefix);
    design.setText(K::Suffix, source.suffix);
    design.setText(K::LabelProduct, document.labelProduct());
    ObjectSections::write(document, design);
}

Design written(const LabelDocument &document)
{
    Design design;
    write(document, design);
    return design;
}

} // namespace DesignCodec
