#include "ObjectPainter.h"
#include "FieldTemplate.h"
#include "FontFamilies.h"
#include "LabelDocument.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "ModuleSize.h"
#include "Numbers.h"
#include "QuillError.h"
#include "ScreenMetrics.h"
#include "SymbolDesign.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace {

// Twips of slack where an object meets the label's edge: the design file's decimals.
constexpr double kEdgeSlack = 0.5;

int degreesOf(const ObjectFrame &frame) { return SymbolObject::degrees(frame.rotation); }

// The content's own box, before it is turned into the frame's: a quarter
// turn lays its width along the frame's height.
QSizeF contentSize(const QRectF &box, int degrees)
{
    return degrees % 180 == 0 ? box.size() : box.size().transposed();
}

// The painter turned about the box's centre, so that content drawn in
// (-w/2, -h/2, w, h) fills the box.
void turnInto(QPainter &painter, const QRectF &box, int degrees)
{
    painter.translate(box.center());
    painter.rotate(degrees);
}

QRectF centred(const QSizeF &size)
{
    return {-size.width() / 2, -size.height() / 2, size.width(), size.height()};
}

QString pointsText(double points) { return Numbers::numberText(std::round(points * 10) / 10); }

} // namespace

struct ObjectPainter::Prepared {
    LabelObject object;
    std::unique_ptr<FieldTemplate> fields; // a text's text, a symbol's data
    std::unique_ptr<SymbolDesign> symbol;
    QImage image;
    std::unique_ptr<QSvgRenderer> drawing;
    QString pictureFault; // why the picture cannot be read
    QFont font; // a text's, but for its size
};

ObjectPainter::ObjectPainter(const LabelDocument &document)
    : m_width(document.width())
    , m_height(document.height())
    , m_list(document.objects())
{
    const std::vector<LabelObject> &objects = m_list;
    m_objects.resize(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        Prepared &prepared = m_objects[i];
        prepared.object = objects[i];
        if (std::holds_alternative<SymbolObject>(objects[i]))
            continue;
        if (const QString text = LabelObjects::templateOf(objects[i]); !text.isEmpty())
            prepared.fields = std::make_unique<FieldTemplate>(text, named(i));
        if (const auto *text = std::get_if<TextObject>(&objects[i])) {
            const QString family = FontFamilies::drawnFamily(text->fontName);
            prepared.font = QFont(family.isEmpty() ? text->fontName : family);
            prepared.font.setBold(text->bold);
            prepared.font.setItalic(text->italic);
        }
        if (const auto *symbol = std::get_if<BarcodeObject>(&objects[i])) {
            prepared.symbol = std::make_unique<SymbolDesign>();
            LabelRenderer::setUp(symbol->symbol, degreesOf(symbol->frame), document.pictureDpi(),
                                 *prepared.symbol);
        }
        if (const auto *picture = std::get_if<PictureObject>(&objects[i])) {
            const QString file = QDir::toNativeSeparators(picture->file);
            if (!QFileInfo::exists(picture->file)) {
                prepared.pictureFault = QStringLiteral("the picture file %1 is not there").arg(file);
            } else if (picture->file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
                prepared.drawing = std::make_unique<QSvgRenderer>(picture->file);
                if (!prepared.drawing->isValid())
                    prepared.pictureFault
                        = QStringLiteral("the picture file %1 cannot be read as SVG").arg(file);
            } else {
                QImageReader reader(picture->file);
                reader.setAutoTransform(true);
                prepared.image = reader.read();
                if (prepared.image.isNull())
                    prepared.pictureFault = QStringLiteral("the picture file %1 cannot be read: %2")
                                                .arg(file, reader.errorString());
            }
        }
    }
}

ObjectPainter::~ObjectPainter() = default;

QString ObjectPainter::named(std::size_t index) const
{
    return QStringLiteral("Object %1 (%2)")
        .arg(index + 1)
        .arg(LabelObjects::kindName(m_objects[index].object));
}

void ObjectPainter::prepareFor(const Module1 &data)
{
    for (Prepared &prepared : m_objects)
        bind(prepared, data);
    check();
}

std::map<std::size_t, QString> ObjectPainter::bindEach(const Module1 &data)
{
    std::map<std::size_t, QString> faults;
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        try {
            bind(m_objects[i], data);
            if (const QString fault = faultOf(i); !fault.isEmpty())
                faults[i] = fault;
        } catch (const QuillError &error) {
            faults[i] = error.description();
        }
    }
    return faults;
}

void ObjectPainter::bind(Prepared &prepared, const Module1 &data)
{
    const DataSourceControls &source = data.controls();
    if (prepared.fields)
        prepared.fields->bind(data.header(), source.importColumns().header, data.readsColumns(),
                              source.importFileName());
}

QRectF ObjectPainter::onSurface(const QRectF &box, const QRectF &area) const
{
    const double scaleX = area.width() / m_width;
    const double scaleY = area.height() / m_height;
    return {area.x() + box.x() * scaleX, area.y() + box.y() * scaleY, box.width() * scaleX,
            box.height() * scaleY};
}

QStringList ObjectPainter::fieldNames() const
{
    QStringList names;
    for (const Prepared &prepared : m_objects)
        if (prepared.fields)
            for (const QString &name : prepared.fields->fieldNames())
                if (!names.contains(name))
                    names.append(name);
    return names;
}

void ObjectPainter::check() const
{
    for (std::size_t i = 0; i < m_objects.size(); ++i)
        if (const QString fault = faultOf(i); !fault.isEmpty())
            throw QuillError(fault);
}

QString ObjectPainter::faultOf(std::size_t index) const
{
    const QRectF label(0, 0, m_width, m_height);
    const QRectF within = label.adjusted(-kEdgeSlack, -kEdgeSlack, kEdgeSlack, kEdgeSlack);
    const LabelObject &object = m_objects[index].object;
    const ObjectFrame *frame = LabelObjects::frameOf(object);
    const auto *symbol = std::get_if<SymbolObject>(&object);
    const QRectF box = frame ? frame->box.normalized() : symbol->place.value_or(label);
    if (!within.contains(box.topLeft()) || !within.contains(box.bottomRight()))
        return QStringLiteral("%1 reaches outside the label: its box is %2 x %3 at %4, %5 "
                              "twips from the label's top left, on a label of %6 x %7.")
            .arg(named(index), Numbers::numberText(box.width()), Numbers::numberText(box.height()),
                 Numbers::numberText(box.x()), Numbers::numberText(box.y()), Numbers::numberText(m_width),
                 Numbers::numberText(m_height));
    if (!m_objects[index].pictureFault.isEmpty())
        return QStringLiteral("%1 cannot be drawn: %2.").arg(named(index), m_objects[index].pictureFault);
    return {};
}

QRect ObjectPainter::wholePixels(const QRectF &box)
{
    const QPoint topLeft(int(std::lround(box.left())), int(std::lround(box.top())));
    const QPoint bottomRight(int(std::lround(box.right())), int(std::lround(box.bottom())));
    return {topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())};
}

QString ObjectPainter::moduleWarnings(QPointF dpi, bool printer, const LabelRecord &record) const
{
    QStringList warnings;
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        const auto *object = std::get_if<BarcodeObject>(&m_objects[i].object);
        if (!object || !object->symbol.symbology)
            continue;
        SymbolDesign &symbol = *m_objects[i].symbol;
        try {
            symbol.setCaption(m_objects[i].fields->apply(record.fields()));
        } catch (const QuillError &) {
            continue; // the run names what the data lacks
        }
        const QSize pixels(int(std::lround(object->frame.box.width() * dpi.x() / 1440.0)),
                           int(std::lround(object->frame.box.height() * dpi.y() / 1440.0)));
        const double module = pixels.isEmpty() ? 0 : symbol.moduleOn(pixels, dpi);
        const bool sideways = int(object->frame.rotation) % 2 != 0;
        if (module <= 0)
            continue;
        const ModuleSize size(*object->symbol.symbology, module, sideways ? dpi.y() : dpi.x(), printer,
                              symbol.moduleOn(pixels, dpi, true));
        if (const QString warning = size.warning(); !warning.isEmpty())
            warnings << QStringLiteral("%1: %2").arg(named(i), warning);
    }
    return warnings.join(u'\n');
}

void ObjectPainter::draw(QPainter &painter, const QRectF &area, std::size_t index, const LabelRecord &record)
{
    Prepared &prepared = m_objects[index];
    const ObjectFrame *frame = LabelObjects::frameOf(prepared.object);
    const QRectF box = onSurface(frame->box, area);
    const double dpi = area.height() / m_height * 1440.0; // the surface's pixels an inch
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    try {
        if (std::holds_alternative<TextObject>(prepared.object))
            drawText(painter, prepared, box, dpi, record);
        else if (std::holds_alternative<BarcodeObject>(prepared.object))
            drawSymbol(painter, prepared, box, dpi, record);
        else if (std::holds_alternative<PictureObject>(prepared.object))
            drawPicture(painter, prepared, box);
        else
            drawShape(painter, prepared.object, box, dpi);
    } catch (const QuillError &error) {
        painter.restore();
        throw QuillError(QStringLiteral("%1: %2").arg(named(index), error.description()));
    }
    painter.restore();
}

void ObjectPainter::drawText(QPainter &painter, const Prepared &prepared, const QRectF &box, double dpi,
                             const LabelRecord &record) const
{
    const auto &object = std::get<TextObject>(prepared.object);
    const QString text = prepared.fields ? prepared.fields->apply(record.fields()) : QString();
    const QStringList lines = text.split(u'\n');
    const int degrees = degreesOf(object.frame);
    const QSizeF room = contentSize(box, degrees);
    QFont font = prepared.font;
    // A font's points count in the device's logical resolution; these are the surface's.
    const double perPoint = dpi / painter.device()->logicalDpiY();
    const auto measured = [&](double points) {
        font.setPointSizeF(points * perPoint);
        const QFontMetricsF metrics(font, painter.device());
        double width = 0;
        for (const QString &line : lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        return QSizeF(width, metrics.height() + (lines.size() - 1) * metrics.lineSpacing());
    };
    double points = object.fontPoints;
    QSizeF need = measured(points);
    const auto fits
        = [&] { return need.width() <= room.width() + 0.01 && need.height() <= room.height() + 0.01; };
    if (!fits() && object.shrinkToFit) {
        points *= std::min(room.width() / need.width(), room.height() / need.height());
        for (need = measured(points); !fits() && points >= TextObject::kLeastPoints; need = measured(points))
            points *= 0.97;
    }
    if (!fits() || points < TextObject::kLeastPoints) {
        const QString at
            = object.shrinkToFit ? pointsText(TextObject::kLeastPoints) : pointsText(object.fontPoints);
        throw QuillError(QStringLiteral("the text %1 does not fit its box at %2 points.%3")
                             .arg(quoted(text), at,
                                  object.shrinkToFit ? QString()
                                                     : QStringLiteral(" Make the box larger or let the text "
                                                                      "shrink to fit.")));
    }
    const QFontMetricsF metrics(font, painter.device());
    turnInto(painter, box, degrees);
    painter.setFont(font);
    painter.setPen(object.colour);
    const QRectF inside = centred(room);
    double baseline = inside.top() + metrics.ascent();
    for (const QString &line : lines) {
        const double width = metrics.horizontalAdvance(line);
        double x = inside.left();
        if (object.alignment == SymbolObject::Alignment::Center)
            x = inside.center().x() - width / 2;
        else if (object.alignment == SymbolObject::Alignment::Right)
            x = inside.right() - width;
        painter.drawText(QPointF(x, baseline), line);
        baseline += metrics.lineSpacing();
    }
}

void ObjectPainter::drawSymbol(QPainter &painter, Prepared &prepared, const QRectF &box, double dpi,
                               const LabelRecord &record) const
{
    const QString data = prepared.fields ? prepared.fields->apply(record.fields()) : QString();
    if (data.isEmpty())
        throw QuillError(QStringLiteral("its data is empty."));
    // The component's points count at the screen's resolution; printed, they keep their size.
    prepared.symbol->Font().setSize(std::get<BarcodeObject>(prepared.object).symbol.fontPoints * dpi
                                    * ScreenMetrics::twipsPerPixelY() / 1440.0);
    prepared.symbol->setCaption(data);
    prepared.symbol->draw(painter, wholePixels(box));
}

void ObjectPainter::drawPicture(QPainter &painter, const Prepared &prepared, const QRectF &box) const
{
    const auto &object = std::get<PictureObject>(prepared.object);
    const int degrees = degreesOf(object.frame);
    const QSizeF source
        = prepared.drawing ? QSizeF(prepared.drawing->defaultSize()) : QSizeF(prepared.image.size());
    if (source.isEmpty())
        return;
    const QSizeF fitted = source.scaled(contentSize(box, degrees), Qt::KeepAspectRatio);
    turnInto(painter, box, degrees);
    if (prepared.drawing) {
        // A drawing may reach beyond its own frame; nothing of it beyond the box.
        painter.setClipRect(centred(fitted), Qt::IntersectClip);
        prepared.drawing->render(&painter, centred(fitted));
    } else
        painter.drawImage(centred(fitted), prepared.image);
}

void ObjectPainter::drawShape(QPainter &painter, const LabelObject &object, const QRectF &box, double dpi)
{
    const double perPoint = dpi / 72.0;
    if (const auto *line = std::get_if<LineObject>(&object)) {
        if (line->strokePoints <= 0)
            return;
        QPen pen(line->stroke, line->strokePoints * perPoint);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(box.topLeft(), box.bottomRight());
        return;
    }
    const auto &shape = std::get<BoxObject>(object);
    const double stroke = shape.strokePoints * perPoint;
    if (shape.strokePoints > 0) {
        QPen pen(shape.stroke, stroke);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(shape.fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(shape.fill));
    // The stroke inside the box: its middle half a stroke in from the edge.
    const QRectF inside
        = shape.strokePoints > 0 ? box.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2) : box;
    if (shape.shape == BoxObject::Shape::Ellipse) {
        painter.drawEllipse(inside);
    } else if (shape.cornerTwips > 0) {
        const double radius = shape.cornerTwips * dpi / 1440.0;
        painter.drawRoundedRect(inside, radius, radius);
    } else {
        painter.drawRect(inside);
    }
}
