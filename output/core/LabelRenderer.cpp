#include "LabelRenderer.h"
#include "FontFamilies.h"
#include "LabelDocument.h"
#include "ObjectPainter.h"
#include "QuillError.h"
#include "ScreenMetrics.h"

#include <QPainter>
#include <cmath>

FieldRecord LabelRecord::fields() const
{
    return {value, title.value_or(QString()), columns, number, date.isValid() ? date : QDate::currentDate()};
}

LabelRenderer::LabelRenderer(const LabelDocument &document, const QString &title)
    : m_symbolBox(document.symbolBox())
    , m_label(document.width(), document.height())
    , m_title(title)
{
    setUp(document, m_symbol);
    if (document.hasAddedObjects())
        m_objects = std::make_unique<ObjectPainter>(document);
    m_symbol.setTitle(title);
    m_fontPoints = m_symbol.Font().Size();
}

LabelRenderer::~LabelRenderer() = default;

void LabelRenderer::setUp(const LabelDocument &document, SymbolDesign &symbol)
{
    const SymbolObject &object = document.symbol();
    setUp(object, SymbolObject::degrees(object.rotation), document.pictureDpi(), symbol);
    // Single precision, as the designer places the component.
    symbol.setWidth(float(document.width()) / ScreenMetrics::twipsPerPixelX());
    symbol.setHeight(float(document.height()) / ScreenMetrics::twipsPerPixelY());
}

void LabelRenderer::setUp(const SymbolObject &object, int degrees, int dpi, SymbolDesign &symbol)
{
    symbol.setFormatOptions(object.options);
    symbol.setBarType(object.symbology ? std::int16_t(*object.symbology) : std::int16_t(-1));
    symbol.setScaling(std::int16_t(object.scaling));
    symbol.setOrientation(degrees * 10.0);
    symbol.setShowText(std::int32_t(object.showText));
    symbol.setAlignment(std::int16_t(object.alignment));
    if (const QString family = FontFamilies::drawnFamily(object.fontName); !family.isEmpty())
        symbol.Font().setName(family);
    symbol.Font().setSize(object.fontPoints);
    symbol.setPictureDpi(dpi);
}

const SymbolDesign &LabelRenderer::show(const LabelRecord &record)
{
    m_symbol.setTitle(record.title.value_or(m_title));
    m_symbol.setCaption(record.value);
    return m_symbol;
}

void LabelRenderer::draw(QPainter &painter, const QRect &area, const LabelRecord &record, QStringList *faults,
                         const std::function<bool(std::size_t)> &drawn)
{
    if (!m_objects) {
        if (!drawn || drawn(0))
            show(record).draw(painter, area);
        return;
    }
    if (const QColor back = background(); back != QColor(Qt::white) && !drawn)
        painter.fillRect(area, back);
    // The designer's text as large on this surface as printed.
    m_symbol.Font().setSize(m_fontPoints * ScreenMetrics::twipsPerPixelY() * area.height()
                            / m_label.height());
    const std::vector<LabelObject> &objects = m_objects->objects();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (drawn && !drawn(i))
            continue;
        try {
            if (!std::holds_alternative<SymbolObject>(objects[i])) {
                m_objects->draw(painter, area, i, record);
                continue;
            }
            show(record).draw(painter, ObjectPainter::wholePixels(m_objects->onSurface(m_symbolBox, area)));
        } catch (const QuillError &error) {
            if (!faults)
                throw;
            faults->append(error.description());
        }
    }
}

QColor LabelRenderer::background() const { return m_symbol.formatOptions().backColor; }

void LabelRenderer::scaleTextTo(float deviceTwipsPerPixelY)
{
    const float ratio = ScreenMetrics::twipsPerPixelY() / deviceTwipsPerPixelY;
    m_symbol.Font().setSize(m_fontPoints * ratio);
}
