#include "LabelRenderer.h"
#include "FontFamilies.h"
#include "LabelDocument.h"
#include "ScreenMetrics.h"

LabelRenderer::LabelRenderer(const LabelDocument &document, const QString &title)
    : m_title(title)
{
    setUp(document, m_symbol);
    m_symbol.setTitle(title);
    m_fontPoints = m_symbol.Font().Size();
}

void LabelRenderer::setUp(const LabelDocument &document, SymbolDesign &symbol)
{
    const SymbolObject &object = document.symbol();
    symbol.setFormatOptions(object.options);
    symbol.setBarType(object.symbology ? std::int16_t(*object.symbology) : std::int16_t(-1));
    symbol.setScaling(std::int16_t(object.scaling));
    symbol.setOrientation(SymbolObject::degrees(object.rotation) * 10.0);
    symbol.setShowText(std::int32_t(object.showText));
    symbol.setAlignment(std::int16_t(object.alignment));
    if (const QString family = FontFamilies::drawnFamily(object.fontName); !family.isEmpty())
        symbol.Font().setName(family);
    symbol.Font().setSize(object.fontPoints);
    symbol.setPictureDpi(document.pictureDpi());
    // Single precision, as the designer places the component.
    symbol.setWidth(float(document.width()) / ScreenMetrics::twipsPerPixelX());
    symbol.setHeight(float(document.height()) / ScreenMetrics::twipsPerPixelY());
}

const SymbolDesign &LabelRenderer::show(const LabelRecord &record)
{
    m_symbol.setTitle(record.title.value_or(m_title));
    m_symbol.setCaption(record.value);
    return m_symbol;
}

void LabelRenderer::draw(QPainter &painter, const QRect &area, const LabelRecord &record)
{
    show(record).draw(painter, area);
}

void LabelRenderer::scaleTextTo(float deviceTwipsPerPixelY)
{
    const float ratio = ScreenMetrics::twipsPerPixelY() / deviceTwipsPerPixelY;
    m_symbol.Font().setSize(m_fontPoints * ratio);
}
