#include "SaveRun.h"
#include "AtomicFile.h"
#include "LabelDocument.h"
#include "LabelPicture.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "ModuleSize.h"
#include "Numbers.h"
#include "ObjectPainter.h"
#include "QuillError.h"
#include "ScreenMetrics.h"
#include "SymbolBuilder.h"
#include "SymbolDesign.h"
#include "SymbolFitError.h"
#include "SymbolRenderer.h"

#include <QDir>

using PictureNames::Format;

SaveRun::SaveRun(SymbolDesign &symbol, const QString &chosenName, std::int32_t width, std::int32_t height,
                 bool centimetres)
    : m_symbol(symbol)
    , m_chosenName(chosenName)
    , m_format(PictureNames::formatOf(chosenName))
    , m_width(width)
    , m_height(height)
    , m_centimetres(centimetres)
{
}

SaveRun::SaveRun(const LabelDocument &document, LabelRenderer &renderer, const QString &chosenName)
    : SaveRun(renderer.symbol(), chosenName, 0, 0, document.unit() == LabelDocument::Unit::Centimetres)
{
    const QSize size = picturePixels(chosenName, document.width(), document.height(), document.pictureDpi());
    m_width = size.width();
    m_height = size.height();
    m_titled = document.source().titled != SymbolObject::Tick::Clear;
    if (renderer.objects()) {
        m_renderer = &renderer;
        m_dpi = document.pictureDpi() > 0 ? document.pictureDpi() : ScreenMetrics::dpiY();
        m_record.date = QDate::currentDate();
    }
}

void SaveRun::refuseUnusable() const
{
    if (!symbologyAt(m_symbol.BarType()))
        throw QuillError(SymbolBuilder::noSymbologyMessage());
    const bool own = ownSize();
    const int width = own ? m_width : m_symbol.pixelWidth();
    const int height = own ? m_height : m_symbol.pixelHeight();
    if (width <= 0 || height <= 0)
        throw QuillError(
            QStringLiteral("No picture was saved: at %1 x %2 pixels the symbol has no room. Make its "
                           "Width and Height larger than 0.")
                .arg(width)
                .arg(height));
}

void SaveRun::run(const QString &firstValue, const std::function<QString()> &nextValue)
{
    refuseUnusable();
    save(firstValue);
    for (QString value = nextValue(); !value.isEmpty(); value = nextValue())
        save(value);
    if (m_written == 0)
        throw QuillError(QStringLiteral("No picture was saved: the data gave only an empty value."));
}

void SaveRun::run(Module1 &data, bool titled, const std::function<void()> &between)
{
    titled = titled && data.valuesCarryTitles();
    const QString first = data.getFirstData();
    if (titled)
        m_symbol.setTitle(data.getFirstTitle());
    m_record.columns = data.rowFields();
    if (m_renderer)
        m_renderer->objects()->prepareFor(data);
    run(first, [&] {
        if (between)
            between();
        const QString value = data.getNextData();
        if (titled && !value.isEmpty())
            m_symbol.setTitle(data.getNextTitle());
        m_record.columns = data.rowFields();
        return value;
    });
}

void SaveRun::save(const QString &value)
{
    const bool first = m_values++ == 0;
    if (value.isEmpty()) {
        // Only a first value can be empty; it has no picture, the others go on.
        m_symbol.setCaption(value);
        return;
    }
    const QString path
        = m_names.claim(first ? m_chosenName : PictureNames::furtherName(m_chosenName, value, m_format));
    try {
        // A device or pipe at the name is refused before the value is drawn.
        AtomicFile::refuseSpecialTarget(path);
        m_symbol.setCaption(value);
        write(path);
    } catch (const QuillError &error) {
        QString text
            = QStringLiteral("The save stopped at the value %1: its picture was not saved as \"%2\".\n%3")
                  .arg(quoted(value), path, SymbolFitError::describe(error, m_centimetres));
        if (m_written == 1)
            text += QStringLiteral("\nThe picture file saved before it is kept.");
        else if (m_written > 1)
            text += QStringLiteral("\nThe %1 picture files saved before it are kept.").arg(m_written);
        throw QuillError(text);
    }
    ++m_written;
}

void SaveRun::write(const QString &path)
{
    if (m_renderer) {
        m_record.value = m_symbol.Caption();
        m_record.title = m_symbol.Title();
        m_record.number = m_written + 1;
        const QSize size = ownSize() ? pixels() : QSize(m_symbol.pixelWidth(), m_symbol.pixelHeight());
        LabelPicture::write(*m_renderer, m_record, m_format, path, size, m_dpi);
        return;
    }
    switch (m_format) {
    case Format::Metafile: {
        // Straight from the component: going through the clipboard would destroy
        // whatever the user had copied there.
        const QByteArray metafile
            = ownSize() ? m_symbol.metafileBytes(m_width, m_height) : m_symbol.metafileBytes();
        if (metafile.isEmpty())
            throw QuillError(QStringLiteral("The symbol gave no metafile."));
        AtomicFile::write(path, metafile);
        break;
    }
    case Format::Png:
        m_symbol.SavePng(path, m_width, m_height);
        break;
    case Format::Bitmap:
        if (ownSize())
            m_symbol.saveBitmap(path, m_width, m_height);
        else
            m_symbol.saveBitmap(path);
        break;
    case Format::Svg:
        m_symbol.saveDrawing(path, SymbolDesign::Drawing::Svg, m_width, m_height);
        break;
    case Format::Eps:
        m_symbol.saveDrawing(path, SymbolDesign::Drawing::Eps, m_width, m_height);
        break;
    case Format::Pdf:
        m_symbol.saveDrawing(path, SymbolDesign::Drawing::Pdf, m_width, m_height);
        break;
    }
}

// Every format is at the component's resolution: the chosen name no longer matters here.
std::optional<ModuleSize> SaveRun::pictureModule(const SymbolDesign &symbol, const QString & /*chosenName*/,
                                                 const QSize &pixels)
{
    const std::optional<Symbology> symbology = symbologyAt(symbol.BarType());
    const bool ownSize = !pixels.isEmpty();
    const QSize picture = ownSize ? pixels : QSize(symbol.pixelWidth(), symbol.pixelHeight());
    const int pictureDpi = symbol.pictureDpi();
    const QPointF dpi = pictureDpi > 0 ? QPointF(pictureDpi, pictureDpi)
                                       : QPointF(ScreenMetrics::dpiX(), ScreenMetrics::dpiY());
    const double module = symbology && !picture.isEmpty() ? symbol.moduleOn(picture, dpi) : 0;
    const bool sideways = SymbolRenderer::quarterTurns(symbol.Orientation()) % 2 != 0;
    if (module <= 0)
        return std::nullopt;
    return ModuleSize(*symbology, module, sideways ? dpi.y() : dpi.x(), false,
                      symbol.moduleOn(picture, dpi, true));
}

QString SaveRun::moduleWarning(const SymbolDesign &symbol, const QString &chosenName, const QSize &pixels)
{
    const std::optional<ModuleSize> module = pictureModule(symbol, chosenName, pixels);
    return module ? module->warning() : QString();
}

QString SaveRun::moduleWarning() const
{
    if (!m_renderer)
        return moduleWarning(m_symbol, m_chosenName, pixels());
    // The designer's symbol in its own box of the picture.
    const QRectF box = m_renderer->symbolBox();
    const QSize inBox(int(std::lround(box.width() * m_dpi / 1440.0)),
                      int(std::lround(box.height() * m_dpi / 1440.0)));
    QStringList warnings{moduleWarning(m_symbol, m_chosenName, inBox)};
    warnings << m_renderer->objects()->moduleWarnings(QPointF(m_dpi, m_dpi), false,
                                                      {m_symbol.Caption(), m_symbol.Title()});
    warnings.removeAll(QString());
    return warnings.join(u'\n');
}

QString SaveRun::picturesIn(long long count, const QString &folder)
{
    return (count == 1 ? QStringLiteral("1 picture") : QStringLiteral("%1 pictures").arg(count))
        + QStringLiteral(" in ") + QDir::toNativeSeparators(folder);
}

bool SaveRun::ownSize() const
{
    const bool componentsSize = m_format == Format::Metafile || m_format == Format::Bitmap;
    return !componentsSize || m_symbol.pictureDpi() > 0;
}

QSize SaveRun::picturePixels(const QString &chosenName, double widthTwips, double heightTwips, int dpi)
{
    const Format format = PictureNames::formatOf(chosenName);
    if ((format == Format::Metafile || format == Format::Bitmap) && dpi <= 0)
        return {0, 0};
    // At the screen's, widths convert with the horizontal twips per pixel, heights with the vertical.
    const double perPixelX = dpi > 0 ? 1440.0 / dpi : ScreenMetrics::twipsPerPixelX();
    const double perPixelY = dpi > 0 ? 1440.0 / dpi : ScreenMetrics::twipsPerPixelY();
    try {
        return {Numbers::toInt32(widthTwips / perPixelX), Numbers::toInt32(heightTwips / perPixelY)};
    } catch (const QuillError &error) {
        throw QuillError(
            QStringLiteral("The symbol is too large for a picture (%1).").arg(error.description()));
    }
}
