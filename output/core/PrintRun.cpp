#include "PrintRun.h"
#include "LabelGrid.h"
#include "LabelPrinter.h"
#include "Module1.h"
#include "Numbers.h"
#include "ObjectPainter.h"
#include "QuillError.h"
#include "RunProgress.h"
#include "ScreenMetrics.h"
#include "SymbolBuilder.h"
#include "SymbolDesign.h"
#include "SymbolFitError.h"
#include "SymbolRenderer.h"

#include <QPainter>
#include <QRect>
#include <QScopeGuard>
#include <cmath>
#include <exception>

namespace {

QString unitName(double twipsPerUnit)
{
    return twipsPerUnit == Numbers::kTwipsPerInch ? QStringLiteral("in") : QStringLiteral("cm");
}

// Why not one label fits, with the room the page margins leave (twips) where
// the label is too large for it.
QString noLabelFits(const LabelGrid &grid, double f, double roomAcross, double roomDown)
{
    const QString unit = unitName(f);
    const QString label = Numbers::sizeText(grid.cellWidth / f, grid.cellHeight / f, unit);
    const QString start
        = QStringLiteral("No label fits on the page: a label of %1 (symbol and barcode margins)").arg(label);
    const QString smaller = QStringLiteral("Make the margins or the symbol smaller.");
    if (grid.cellWidth <= 0 || grid.cellHeight <= 0)
        return QStringLiteral("%1 takes no room. Make the barcode margins 0 or more.").arg(start);
    const auto room = [&](double twips, const char *direction) {
        const QString way = QLatin1String(direction);
        return twips > 0 ? Numbers::lengthText(twips / f, unit) + u' ' + way : QStringLiteral("none ") + way;
    };
    const bool wide = grid.columns <= 0;
    const bool tall = grid.rows <= 0;
    const QString larger = wide && tall ? QStringLiteral("wider and taller")
        : wide                          ? QStringLiteral("wider")
                                        : QStringLiteral("taller");
    QStringList rooms;
    if (wide)
        rooms << room(roomAcross, "across");
    if (tall)
        rooms << room(roomDown, "down");
    return QStringLiteral("%1 is %2 than the room inside the page margins, %3. %4")
        .arg(start, larger, rooms.join(QStringLiteral(" and ")), smaller);
}

} // namespace

double PrintRun::fieldNumber(const QString &field, const QString &text)
{
    try {
        return Numbers::regionalNumber(text);
    } catch (const QuillError &error) {
        throw QuillError(QStringLiteral("%1: %2").arg(field, error.description()));
    }
}

QString PrintRun::marginField(int index)
{
    static const char *const sides[] = {"Left", "Right", "Top", "Bottom"};
    return QStringLiteral("%1 \"%2\"")
        .arg(index < 4 ? QLatin1String("Barcode margins") : QLatin1String("Page margins"),
             QLatin1String(sides[index % 4]));
}

const QString &PrintRun::errorTitle()
{
    static const QString title = QStringLiteral("Printing error!");
    return title;
}

PrintRun::PrintRun(const LabelDocument &document, LabelRenderer &renderer, Module1 &data,
                   LabelPrinter &printer)
    : m_document(document)
    , m_renderer(renderer)
    , m_data(data)
    , m_printer(printer)
    , m_fixedText(document.source().kind == DataSource::Kind::Text)
    , m_titled(document.source().titled != SymbolObject::Tick::Clear)
    , m_copies(document.source().copies)
{
}

double PrintRun::marginTwipsPerUnit() const
{
    const LabelDocument::Unit unit = m_marginUnit.value_or(m_document.unit());
    return Numbers::twipsPerUnit(unit == LabelDocument::Unit::Inches ? 1 : 0);
}

double PrintRun::shownWidth() const
{
    return Numbers::shownAmount(m_document.width() / m_document.twipsPerUnit());
}
double PrintRun::shownHeight() const
{
    return Numbers::shownAmount(m_document.height() / m_document.twipsPerUnit());
}

std::optional<ModuleSize> PrintRun::moduleOnPrinter() const
{
    const SymbolDesign &symbol = m_renderer.symbol();
    const std::optional<Symbology> symbology = symbologyAt(symbol.BarType());
    if (!symbology)
        return std::nullopt;
    const float tppX = m_printer.twipsPerPixelX();
    const float tppY = m_printer.twipsPerPixelY();
    if (!(tppX > 0 && tppY > 0))
        return std::nullopt;
    const double f = marginTwipsPerUnit();
    const QPointF dpi(Numbers::kTwipsPerInch / tppX, Numbers::kTwipsPerInch / tppY);
    QSize dots(int(std::lround(f * shownWidth() / tppX)), int(std::lround(f * shownHeight() / tppY)));
    if (m_renderer.objects()) // in its own box
        dots = QSize(int(std::lround(m_renderer.symbolBox().width() / tppX)),
                     int(std::lround(m_renderer.symbolBox().height() / tppY)));
    if (dots.isEmpty())
        return std::nullopt;
    const double module = symbol.moduleOn(dots, dpi);
    const bool sideways = SymbolRenderer::quarterTurns(symbol.Orientation()) % 2 != 0;
    if (module <= 0)
        return std::nullopt;
    return ModuleSize(*symbology, module, sideways ? dpi.y() : dpi.x(), true,
                      symbol.moduleOn(dots, dpi, true));
}

QString PrintRun::moduleWarning() const
{
    const std::optional<ModuleSize> module = moduleOnPrinter();
    QStringList warnings{module ? module->warning() : QString()};
    const float tppX = m_printer.twipsPerPixelX();
    const float tppY = m_printer.twipsPerPixelY();
    if (const ObjectPainter *objects = m_renderer.objects(); objects && tppX > 0 && tppY > 0) {
        const SymbolDesign &shown = m_renderer.symbol();
        warnings << objects->moduleWarnings(
            QPointF(Numbers::kTwipsPerInch / tppX, Numbers::kTwipsPerInch / tppY), true,
            {shown.Caption(), shown.Title()});
    }
    warnings.removeAll(QString());
    return warnings.join(u'\n');
}

bool PrintRun::execute()
{
    m_labels = 0;
    m_pages = 0;
    m_cancelled = false;
    m_copiesDrawn = 0;
    m_recordTaken = false;
    m_error.clear();
    // The text back at the screen's size, for the module measured after the run.
    const auto screenText = qScopeGuard([this] { m_renderer.scaleTextTo(ScreenMetrics::twipsPerPixelY()); });
    try {
        run();
        return true;
    } catch (const RunCancelled &) {
        m_cancelled = true;
    } catch (const QuillError &error) {
        m_error = error.description();
    } catch (const std::bad_alloc &) {
        m_error = QStringLiteral("Out of memory.");
    } catch (const std::exception &error) {
        m_error = QString::fromLocal8Bit(error.what());
    }
    // No half-filled sheet goes out: the open job is thrown away.
    m_printer.abortJob();
    return false;
}

void PrintRun::drawLabel(const LabelGrid::Rect &at)
{
    // An empty value is a value: its cell stays empty and the run goes on.
    if (m_record.value.isEmpty()) {
        ++m_labels;
        return;
    }
    const bool centimetres = m_document.unit() == LabelDocument::Unit::Centimetres;
    try {
        m_record.number = m_labels + 1;
        m_renderer.draw(m_printer.painter(), QRect(at.x, at.y, at.width, at.height), m_record);
    } catch (const QuillError &error) {
        // The component knows why; the user also needs to know which label.
        throw QuillError(QStringLiteral("Label %1 (page %2), value %3: %4")
                             .arg(m_labels + 1)
                             .arg(m_pages)
                             .arg(quoted(m_record.value), SymbolFitError::describe(error, centimetres)));
    }
    ++m_labels;
    if (m_progress)
        m_progress->step(m_labels);
}

void PrintRun::run()
{
    m_data.checkRun();
    if (!m_document.symbol().symbology)
        throw QuillError(SymbolBuilder::noSymbologyMessage());
    m_printer.beginJob();
    m_pages = 1;
    // The font size is in points at the screen's resolution; on the printer's
    // dots the text keeps its printed size.
    m_renderer.scaleTextTo(m_printer.twipsPerPixelY());
    const LabelGrid grid = sheetGrid();

    m_record = {m_data.getFirstData(), std::nullopt};
    m_record.columns = m_data.rowFields();
    m_record.date = QDate::currentDate();
    m_recordTaken = true;
    if (m_titled)
        m_record.title = m_data.getFirstTitle();
    if (ObjectPainter *objects = m_renderer.objects())
        objects->prepareFor(m_data);
    // The cells of a partly used sheet that are already gone, in the grid's order.
    long long usedCells = m_firstLabel - 1;
    while (fillPage(grid, usedCells) && !m_fixedText) {
        m_printer.newPage();
        ++m_pages;
    }

    m_printer.endJob();
}

bool PrintRun::fillPage(const LabelGrid &grid, long long &usedCells)
{
    const float tppX = m_printer.twipsPerPixelX();
    const float tppY = m_printer.twipsPerPixelY();
    if (m_outlines)
        drawOutlines(grid, tppX, tppY);
    for (std::int32_t row = 0; row < grid.rows; ++row) {
        for (std::int32_t column = 0; column < grid.columns; ++column) {
            if (usedCells > 0) {
                --usedCells;
                continue;
            }
            drawLabel(grid.symbolRect(column, row, tppX, tppY));
            if (!nextLabel())
                return false;
        }
    }
    return true;
}

// Every cell's, the used ones of a partly used sheet too: the page as it is.
void PrintRun::drawOutlines(const LabelGrid &grid, float tppX, float tppY)
{
    QPainter &painter = m_printer.painter();
    painter.save();
    painter.setPen(QPen(QColor(200, 200, 200), 0)); // a hairline: one dot at any zoom
    painter.setBrush(Qt::NoBrush);
    for (std::int32_t row = 0; row < grid.rows; ++row)
        for (std::int32_t column = 0; column < grid.columns; ++column) {
            const LabelGrid::Rect at = grid.symbolRect(column, row, tppX, tppY);
            painter.drawRect(QRectF(at.x, at.y, at.width, at.height));
        }
    painter.restore();
}

bool PrintRun::nextLabel()
{
    if (m_fixedText || ++m_copiesDrawn < m_copies)
        return true;
    m_copiesDrawn = 0;
    // Asking for the next value before a new page is started means a
    // sequence that fills its last page exactly leaves no empty page.
    const QString next = m_data.getNextData();
    if (next.isEmpty())
        return false;
    m_record.value = next;
    m_record.title.reset();
    m_record.columns = m_data.rowFields();
    if (m_titled)
        m_record.title = m_data.getNextTitle();
    return true;
}

LabelGrid PrintRun::sheetGrid() const
{
    const double f = marginTwipsPerUnit();
    const LabelMargins &m = m_document.margins();
    // A margin that is no number is named as the field it came from.
    const std::array<double, 8> amounts = m.inOrder();
    for (size_t i = 0; i < amounts.size(); ++i)
        if (std::isnan(amounts[i]))
            fieldNumber(marginField(int(i)), QString());
    const LabelGrid::Margins label{m.labelLeft, m.labelRight, m.labelTop, m.labelBottom};
    const LabelGrid::Margins page{m.pageLeft, m.pageRight, m.pageTop, m.pageBottom};
    const double width = shownWidth();
    const double height = shownHeight();

    const LabelGrid grid = LabelGrid::compute(f, width, height, label, page, m_printer.pageWidthTwips(),
                                              m_printer.pageHeightTwips());
    // Without this the page loop would start page after page and never draw.
    if (!grid.fitsALabel())
        throw QuillError(noLabelFits(grid, f, m_printer.pageWidthTwips() - f * (page.left + page.right),
                                     m_printer.pageHeightTwips() - f * (page.top + page.bottom)));
    if (!grid.liesOnPage(m_printer.pageWidthTwips(), m_printer.pageHeightTwips())) {
        const auto inUnit = [f](double twips) { return Numbers::amountText(twips / f); };
        throw QuillError(QStringLiteral("The labels would not lie wholly on the page: the symbols reach from "
                                        "%1 to %2 %5 across and from %3 to %4 %5 down, on a page of %6 × %7 "
                                        "%5. Make the page margins 0 or more and the symbol larger than 0.")
                             .arg(inUnit(grid.originX), inUnit(grid.rightEdge()), inUnit(grid.originY),
                                  inUnit(grid.bottomEdge()), unitName(f), inUnit(m_printer.pageWidthTwips()),
                                  inUnit(m_printer.pageHeightTwips())));
    }

    const long long usedCells = m_firstLabel - 1;
    if (usedCells < 0 || usedCells >= (long long)grid.columns * grid.rows)
        throw QuillError(QStringLiteral("\"Start at label\" must be from 1 to %1, the labels of a page.")
                             .arg((long long)grid.columns * grid.rows));
    if (m_copies < 1 || m_copies > kMostCopies)
        throw QuillError(QStringLiteral("\"Copies of each label\" must be from 1 to %1.").arg(kMostCopies));

    return grid;
}

QString PrintRun::labelsOnPages(long long labels) const
{
    const auto counted = [](long long count, const char *one, const char *many) {
        return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
    };
    return QStringLiteral("%1 on %2")
        .arg(counted(labels, "label", "labels"), counted(m_pages, "page", "pages"));
}
