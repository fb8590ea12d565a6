#include "DesignJob.h"
#include "LabelPrinter.h"
#include "Numbers.h"
#include "PrintRun.h"
#include "QuillError.h"
#include "SaveRun.h"
#include "ScreenMetrics.h"
#include "SymbolFitError.h"

#include <QFileInfo>
#include <QFontDatabase>

DesignJob::DesignJob(const Design &design, bool standardInput)
    : m_design(design)
    , m_values(DesignValues::of(design))
    , m_source(m_design, m_values, standardInput)
    , m_data(m_source)
{
    FormatOptions options;
    options.load([this](DesignKey key) { return m_design.text(key); });
    m_symbol.setFormatOptions(options);
    m_symbol.setBarType(std::int16_t(m_values.symbology));
    m_symbol.setScaling(std::int16_t(m_values.scaling));
    m_symbol.setOrientation(Numbers::numericValue(DesignValues::rotations().at(m_values.rotation)) * 10.0);
    m_symbol.setShowText(m_values.showText);
    m_symbol.setAlignment(std::int16_t(m_values.alignment));
    const QStringList fonts = DesignValues::fontList(QFontDatabase::families());
    if (const int font = m_values.fontIndex(fonts); font >= 0)
        m_symbol.Font().setName(fonts.at(font));
    DesignValues::sizeFont(m_symbol.Font(), m_values.fontSize);
    m_symbol.setPictureDpi(m_values.pictureDpi);
    // Single precision, as the designer places the component.
    m_symbol.setWidth(float(widthTwips()) / ScreenMetrics::twipsPerPixelX());
    m_symbol.setHeight(float(heightTwips()) / ScreenMetrics::twipsPerPixelY());
}

double DesignJob::widthTwips() const { return m_values.inUnitSteps(m_values.symbolWidth); }
double DesignJob::heightTwips() const { return m_values.inUnitSteps(m_values.symbolHeight); }

QString DesignJob::save(const QString &file)
{
    const QString name = QFileInfo(file).absoluteFilePath();
    const QSize pixels = SaveRun::picturePixels(name, widthTwips(), heightTwips(), m_symbol.pictureDpi());
    m_data.checkRun();
    SaveRun run(m_symbol, name, pixels.width(), pixels.height(), m_values.unitFlag == 0);
    try {
        run.run(m_data, m_values.hasTitle != 0);
    } catch (const QuillError &) {
        m_data.endRun();
        throw;
    }
    // After the run: only then does the component hold a value to measure.
    if (const QString warning = SaveRun::moduleWarning(m_symbol, name, pixels); !warning.isEmpty() && m_warn)
        m_warn(warning);
    return SaveRun::picturesIn(run.filesWritten(), QFileInfo(name).absolutePath());
}

QString DesignJob::print(LabelPrinter &printer, int firstLabel, int copies)
{
    using K = DesignKey;
    const double perUnit = Numbers::twipsPerUnit(m_values.unitFlag);
    PrintRun::Sheet sheet;
    // The size boxes' texts as start-up leaves them, in the user's number format.
    sheet.width = Numbers::regionalPlainText(widthTwips() / perUnit);
    sheet.height = Numbers::regionalPlainText(heightTwips() / perUnit);
    sheet.margins = {m_design.text(K::LabelLeft),   m_design.text(K::LabelRight), m_design.text(K::LabelTop),
                     m_design.text(K::LabelBottom), m_design.text(K::PageLeft),   m_design.text(K::PageRight),
                     m_design.text(K::PageTop),     m_design.text(K::PageBottom)};
    sheet.twipsPerUnit = perUnit;
    sheet.fixedText = m_values.source() == 1;
    sheet.titled = m_values.hasTitle != 0;
    sheet.centimetres = m_values.unitFlag == 0;
    PrintRun run(m_symbol, m_data, printer, sheet);
    run.setFirstLabel(firstLabel);
    run.setCopies(copies);
    if (!run.execute())
        throw QuillError(run.error());
    const std::optional<ModuleSize> module = run.moduleOnPrinter();
    if (const QString warning = module ? module->warning() : QString(); !warning.isEmpty() && m_warn)
        m_warn(warning);
    return QStringLiteral("%1 to %2").arg(run.labelsOnPages(run.labelsDrawn()), printer.deviceName());
}
