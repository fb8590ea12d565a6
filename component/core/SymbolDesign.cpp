#include "SymbolDesign.h"

#include "AtomicFile.h"
#include "AtomicFileWriter.h"
#include "Clipboard.h"
#include "DeviceRegistry.h"
#include "FormatOptions.h"
#include "Numbers.h"
#include "PictureWriters.h"
#include "PngWriter.h"
#include "QuillError.h"
#include "RowCanvas.h"
#include "ScreenMetrics.h"
#include "SteadyPdf.h"
#include "SymbolBuilder.h"
#include "SymbolFitError.h"
#include "SymbolRenderer.h"
#include "VectorPicture.h"
#include "WmfDevice.h"

#include <QBuffer>
#include <QPdfWriter>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

struct SymbolDesign::Impl {
    std::int16_t barType = 0;
    std::int32_t showText = 1;
    double orientation = 0;
    std::int16_t scaling = 0;
    QString title;
    std::int16_t alignment = 0;
    QString caption;
    VantrelFont font;
    VantrelFont shownFont; // the font as of the last member set: what the preview draws
    float left = 0, top = 0, width = 0, height = 0;
    SettingsStore *store = nullptr;
    FormatOptions options;
    int pictureDpi = 0; // 0: the screen's

    // Encoded once per change of data, symbology or options, never per paint.
    mutable std::optional<SymbolBuilder::Built> built;
    mutable SymbolRenderer renderer;
    // moduleOn's own, measuring at other resolutions than the preview's, whose
    // fonts then stay as they are between two keystrokes.
    mutable SymbolRenderer measurer;

    const SymbolBuilder::Built &symbol() const
    {
        if (!built)
            built = SymbolBuilder::build(barType, caption, options);
        return *built;
    }
    void requireSymbol() const
    {
        if (!symbol().ok())
            throw QuillError(symbol().error);
    }
    SymbolRenderer::Style style(const VantrelFont &f) const
    {
        SymbolRenderer::Style s;
        s.quarterTurns = SymbolRenderer::quarterTurns(orientation);
        s.stretch = scaling != 0;
        s.alignment = alignment;
        s.showText = showText != 0;
        s.title = title;
        s.fontName = f.Name();
        // Size is in points at the screen's resolution, on every surface. Far
        // larger text overflows the glyph rasteriser's fixed-point coordinates.
        constexpr double kMaxTextPixels = 20000.0;
        s.textPixels = std::min(f.Size() * ScreenMetrics::dpiY() / 72.0, kMaxTextPixels);
        s.barColor = options.barColor;
        s.backColor = options.backColor;
        s.barReduction = options.barReduction;
        return s;
    }
    // Draws the symbol; SymbolFitError, with nothing drawn, when it does not
    // fit. dpi is the surface's, horizontal and vertical.
    void render(QPainter &painter, const QRect &area, const SymbolRenderer::Style &s, QPointF dpi,
                bool printer = false) const
    {
        const SymbolRenderer::Layout &layout = renderer.layout(area, symbol().model, s, painter.device());
        requireReadable(layout, area, s, painter.device(), dpi, printer);
        renderer.paint(painter, area, layout, s);
    }
    // Bars under 2 mm: a hand scanner's line, tilted by the few degrees a
    // hand holds it off, runs out of such bars before it has crossed the
    // symbol. Text with an em under 6 pixels or dots (the least a 5 x 7
    // dot-matrix digit needs with a dot of room) or under 3 points (digits
    // about 1 mm high, which the eye no longer makes out) is no text. Each is
    // refused like a symbol too long, by the same kind of error. 2-D codes
    // have no bars to cross.
    static constexpr double kLeastBarMm = 2.0;
    static constexpr double kLeastTextPixels = 6.0;
    static constexpr double kLeastTextPoints = 3.0;
    void requireReadable(const SymbolRenderer::Layout &layout, const QRect &area,
                         const SymbolRenderer::Style &s, QPaintDevice *device, QPointF dpi,
                         bool printer) const
    {
        SymbolRenderer::Fit fit = layout.fit;
        if (!fit.fits)
            throw SymbolFitError(fit, fit.alongHeight ? dpi.y() : dpi.x(), printer);
        // Bars and text grow across the symbol.
        fit.alongHeight = s.quarterTurns % 2 == 0;
        const double dpiAcross = fit.alongHeight ? dpi.y() : dpi.x();
        const int across = fit.alongHeight ? area.height() : area.width();
        const double leastBar = std::ceil(kLeastBarMm / 25.4 * dpiAcross - 1e-6);
        if (!symbol().model.squareModules && layout.barHeight < leastBar) {
            fit.fits = false;
            fit.what = SymbolRenderer::Short::BarHeight;
            fit.given = across;
            // The text grows with the label, so the label that gives the bars
            // their height is found by trying; text takes half of it at most.
            const QSize step = fit.alongHeight ? QSize(0, 1) : QSize(1, 0);
            QRect larger = area;
            for (fit.needed = across + 1; fit.needed < across + 2 * leastBar + 2; ++fit.needed) {
                larger.setSize(larger.size() + step);
                if (renderer.layout(larger, symbol().model, s, device).barHeight >= leastBar)
                    break;
            }
            throw SymbolFitError(fit, dpiAcross, printer);
        }
        requireReduction(layout, s, fit.alongHeight ? dpi.x() : dpi.y(), printer);
        const double leastText
            = std::max(kLeastTextPixels, std::ceil(kLeastTextPoints / 72 * dpiAcross - 1e-6));
        if (layout.textPixels > 0 && layout.textPixels < leastText) {
            fit.fits = false;
            fit.what = SymbolRenderer::Short::Text;
            fit.given = int(std::floor(layout.textPixels));
            fit.needed = int(leastText);
            throw SymbolFitError(fit, dpiAcross, printer);
        }
    }
    // A bar width reduction may leave the narrowest bar no less than one dot
    // and half a module: below that, scanners lose the bar.
    static void requireReduction(const SymbolRenderer::Layout &layout, const SymbolRenderer::Style &s,
                                 double dpiAlong, bool printer)
    {
        const double left = layout.narrowestBar - layout.reduction;
        const bool halfModule = left < layout.module / 2 - 1e-9;
        if (layout.reduction <= 0 || (left >= 1 - 1e-9 && !halfModule))
            return;
        const QString dots = printer ? QStringLiteral("dots") : QStringLiteral("pixels");
        const QString dot = dots.chopped(1);
        const auto figure = [](double v) { return Numbers::regionalPlainText(std::round(v * 100) / 100); };
        const QString least
            = left < 1 - 1e-9 ? QStringLiteral("one ") + dot : QStringLiteral("half a module");
        throw QuillError(
            QStringLiteral("The bar width reduction of %1 leaves the narrowest bar %2 of its %3 %4 "
                           "at %5 dpi, less than %6: scanners may not read the symbol. Make the "
                           "reduction smaller or the symbol wider.")
                .arg(Numbers::lengthText(s.barReduction, QStringLiteral("mm")), figure(std::max(0.0, left)),
                     figure(layout.narrowestBar), layout.narrowestBar == 1 ? dot : dots, figure(dpiAlong),
                     least));
    }
    // The module on a surface of dpi for a symbol in area; with whole pixels a
    // module unless stretched or exact. 0 when nothing would be drawn.
    double moduleOn(const QSize &area, QPointF dpi, bool exact) const
    {
        if (!symbol().ok())
            return 0;
        QImage device(1, 1, QImage::Format_Mono);
        device.setDotsPerMeterX(int(std::lround(dpi.x() / 0.0254)));
        device.setDotsPerMeterY(int(std::lround(dpi.y() / 0.0254)));
        SymbolRenderer::Style s = style(font);
        s.stretch = s.stretch || exact;
        const QRect whole(QPoint(), area);
        const SymbolRenderer::Layout &layout = measurer.layout(whole, symbol().model, s, &device);
        return layout.fit.fits ? layout.module : 0;
    }
    // The whole pixels a placement size covers, as a window would take them.
    static int pixels(float size)
    {
        constexpr float kLargest = 16777215.0f; // the largest window size
        return int(std::lround(std::clamp(size, 0.0f, kLargest)));
    }
    static QPointF screenDpi() { return {ScreenMetrics::dpiX(), ScreenMetrics::dpiY()}; }
    QPointF savedDpi() const { return pictureDpi > 0 ? QPointF(pictureDpi, pictureDpi) : screenDpi(); }
    // The style of saved pictures: at a resolution of their own the text is
    // scaled from the screen's points, as the printing run scales it.
    SymbolRenderer::Style savedStyle() const
    {
        SymbolRenderer::Style s = style(font);
        if (pictureDpi > 0)
            s.textPixels *= pictureDpi / ScreenMetrics::dpiY();
        return s;
    }
    // A device that measures fonts at the saved pictures' resolution.
    QImage measuringDevice(QImage::Format format) const
    {
        QImage device(1, 1, format);
        if (pictureDpi > 0) {
            device.setDotsPerMeterX(int(std::lround(pictureDpi / 0.0254)));
            device.setDotsPerMeterY(int(std::lround(pictureDpi / 0.0254)));
        }
        return device;
    }
    // The layout of a saved picture; SymbolFitError when it does not fit.
    const SymbolRenderer::Layout &savedLayout(const QRect &area, const SymbolRenderer::Style &s,
                                              QImage &device) const
    {
        const SymbolRenderer::Layout &layout = renderer.layout(area, symbol().model, s, &device);
        requireReadable(layout, area, s, &device, savedDpi(), false);
        return layout;
    }
    // Pictures are drawn a band of rows at a time, so that a picture of any
    // size takes the memory of a band: a band holds about this many pixels.
    static constexpr int kBandPixels = 1 << 17;
    // What the rows of a band and the bars that reach out of it may take at most.
    static constexpr qsizetype kWindowBytes = 16 << 20;
    // The file's bytes go out in pieces of about this size.
    static constexpr qsizetype kPieceBytes = 1 << 20;

    // Draws a picture of w x h pixels band by band, each band with exactly the
    // pixels of the whole picture drawn at once, and hands on the canvas with
    // the band's top row and its number of rows; bands go from the bottom up
    // for bitmaps, which store their rows that way. Raises SymbolFitError
    // before anything is drawn when the symbol does not fit.
    using Take = std::function<void(const QImage &canvas, int top, int rows)>;
    void drawInBands(int w, int h, QImage::Format format, const QColor &fill, const SymbolRenderer::Style &s,
                     bool bottomUp, const Take &take) const
    {
        // Fonts are measured at the resolution of the picture, a QImage's.
        QImage device = measuringDevice(format);
        const QRect area(0, 0, w, h);
        const SymbolRenderer::Layout &layout = savedLayout(area, s, device);
        // A band holds the bars painted whole, up to a third of kWindowBytes.
        const qsizetype rowBytes = qsizetype(device.depth() / 8) * w;
        const int wholeRows
            = int(std::min<qsizetype>(SymbolRenderer::bandRows(layout), kWindowBytes / 3 / rowBytes));
        const int rows = std::clamp(std::max(kBandPixels / w, wholeRows), 1, h);
        const int reach = std::min(wholeRows, rows);
        RowCanvas canvas(w, h, format, rows, reach);
        for (int done = 0; done < h; done += rows) {
            const int count = std::min(rows, h - done);
            const int firstRow = bottomUp ? h - done - count : done;
            QImage &image = canvas.band(firstRow, count, fill);
            // Text that Qt's layout draws in a fallback font is sized by the
            // canvas's resolution: the picture's, as the layout measured it.
            image.setDotsPerMeterX(device.dotsPerMeterX());
            image.setDotsPerMeterY(device.dotsPerMeterY());
            QPainter painter(&image);
            renderer.paintRows(painter, area, layout, s, firstRow, count, reach);
            painter.end();
            take(image, firstRow, count);
        }
    }
    // Drawn black on white in gray, then written with the two colours of the
    // options; QImage's own PNG path is far too slow for a save run. After
    // each band `out` holds the bytes made so far, for `drained` to take.
    void png(int w, int h, QByteArray &out, const std::function<void()> &drained = {}) const
    {
        PngWriter writer(w, h, options.backColor, options.barColor, savedDpi().x(), savedDpi().y(), out);
        SymbolRenderer::Style s = savedStyle();
        s.fillBackground = false;
        s.barColor = Qt::black;
        drawInBands(w, h, QImage::Format_Grayscale8, Qt::white, s, false,
                    [&](const QImage &ink, int firstRow, int n) {
                        writer.addRows(ink, firstRow, n);
                        if (drained)
                            drained();
                    });
        writer.finish();
    }
    QByteArray pngBytes(int w, int h) const
    {
        QByteArray out;
        png(w, h, out);
        return out;
    }
    // A metafile of w x h units, dpi of them an inch; empty when it cannot be begun.
    QByteArray metafile(int w, int h, SymbolRenderer::Style s, QPointF dpi) const
    {
        WmfDevice device(w, h, int(std::lround(dpi.y())));
        QPainter painter;
        if (!device.paintEngine() || !painter.begin(&device))
            return {};
        s.fillBackground = true;
        render(painter, QRect(0, 0, w, h), s, dpi);
        painter.end();
        return device.bytes();
    }
    QImage image(int w, int h, QImage::Format format) const
    {
        QImage picture(std::max(1, w), std::max(1, h), format);
        picture.fill(options.backColor);
        QPainter painter(&picture);
        SymbolRenderer::Style s = style(font);
        s.fillBackground = false;
        render(painter, picture.rect(), s, screenDpi());
        return picture;
    }
};

void VantrelFont::setName(const QString &name) { m_name = name; }

void VantrelFont::setSize(double points)
{
    if (!std::isfinite(points) || std::fabs(points) > 1e9)
        throw QuillError(QStringLiteral("Invalid font size."));
    m_sizeTenThousandths = std::llround(points * 10000.0);
}

void VantrelFont::setSize(const QString &points)
{
    double value = 0;
    bool ok = Numbers::tryRegionalNumber(points, &value);
    if (!ok)
        value = points.trimmed().toDouble(&ok); // "." form, whatever the locale
    if (!ok)
        throw QuillError(QStringLiteral("Invalid font size: \"%1\".").arg(points));
    setSize(value);
}

SymbolDesign::SymbolDesign()
    : d(std::make_unique<Impl>())
{
}

SymbolDesign::~SymbolDesign() = default;

void SymbolDesign::setOptionsStore(SettingsStore *store)
{
    d->store = store;
    d->options.load(store);
    d->built.reset();
    memberChanged();
}

const FormatOptions &SymbolDesign::formatOptions() const { return d->options; }

void SymbolDesign::setFormatOptions(const FormatOptions &options)
{
    if (options != d->options) {
        d->options = options;
        d->options.save(d->store);
        d->built.reset();
    }
    memberChanged();
}

std::int16_t SymbolDesign::BarType() const { return d->barType; }
void SymbolDesign::setBarType(std::int16_t code)
{
    d->barType = code;
    d->built.reset();
    memberChanged();
}
std::int32_t SymbolDesign::ShowText() const { return d->showText; }
void SymbolDesign::setShowText(std::int32_t show)
{
    d->showText = show;
    memberChanged();
}
double SymbolDesign::Orientation() const { return d->orientation; }
void SymbolDesign::setOrientation(double o)
{
    d->orientation = o;
    memberChanged();
}
std::int16_t SymbolDesign::Scaling() const { return d->scaling; }
void SymbolDesign::setScaling(std::int16_t s)
{
    d->scaling = s;
    memberChanged();
}
QString SymbolDesign::Title() const { return d->title; }
void SymbolDesign::setTitle(const QString &t)
{
    d->title = t;
    memberChanged();
}
std::int16_t SymbolDesign::Alignment() const { return d->alignment; }
void SymbolDesign::setAlignment(std::int16_t a)
{
    d->alignment = a;
    memberChanged();
}
QString SymbolDesign::Caption() const { return d->caption; }
void SymbolDesign::setCaption(const QString &c)
{
    if (c != d->caption) {
        d->caption = c;
        d->built.reset();
    }
    memberChanged();
}
VantrelFont &SymbolDesign::Font() { return d->font; }

QImage SymbolDesign::Picture() const
{
    d->requireSymbol();
    PictureWriters::checkSize(std::max(1, pixelWidth()), std::max(1, pixelHeight()),
                              PictureWriters::Kind::Bitmap);
    return d->image(pixelWidth(), pixelHeight(), QImage::Format_RGB32);
}

void SymbolDesign::saveBitmap(const QString &file) const
{
    saveBitmap(file, std::max(1, pixelWidth()), std::max(1, pixelHeight()));
}

void SymbolDesign::setPictureDpi(int dpi)
{
    const int before = d->pictureDpi;
    d->pictureDpi = std::max(0, dpi);
    // The preview looks the same, but what is told of its pictures changes.
    if (d->pictureDpi != before)
        changed(false);
}
int SymbolDesign::pictureDpi() const { return d->pictureDpi; }

void SymbolDesign::saveBitmap(const QString &file, int w, int h) const
{
    d->requireSymbol();
    PictureWriters::checkSize(w, h, PictureWriters::Kind::Bitmap);
    AtomicFileWriter out(file);
    QByteArray bytes;
    bool headed = false;
    SymbolRenderer::Style s = d->savedStyle();
    s.fillBackground = false;
    const int metre = int(std::lround(d->pictureDpi / 0.0254));
    const auto take = [&](const QImage &canvas, int top, int rows) {
        if (!headed) // at the screen's: the resolution a QImage has by default, as pictures always had
            bytes = PictureWriters::bmpHeader(w, h, metre ? metre : canvas.dotsPerMeterX(),
                                              metre ? metre : canvas.dotsPerMeterY());
        headed = true;
        for (int y = top + rows - 1; y >= top; --y)
            PictureWriters::appendBmpRow(bytes, canvas.constScanLine(y), w);
        if (bytes.size() >= Impl::kPieceBytes) {
            out.append(bytes);
            bytes.clear();
        }
    };
    d->drawInBands(w, h, QImage::Format_RGB32, d->options.backColor, s, true, take);
    out.append(bytes);
    out.commit();
}

void SymbolDesign::SavePng(const QString &file, std::int32_t w, std::int32_t h) const
{
    d->requireSymbol();
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767)
        throw QuillError(QStringLiteral("Cannot write \"%1\": a picture of %2 x %3 pixels is not possible.")
                             .arg(file)
                             .arg(w)
                             .arg(h));
    AtomicFileWriter out(file);
    QByteArray bytes;
    d->png(w, h, bytes, [&] {
        if (bytes.size() >= Impl::kPieceBytes) {
            out.append(bytes);
            bytes.clear();
        }
    });
    out.append(bytes);
    out.commit();
}

void SymbolDesign::saveDrawing(const QString &file, Drawing kind, int w, int h) const
{
    d->requireSymbol();
    if (w <= 0 || h <= 0 || w > 1000000 || h > 1000000)
        throw QuillError(QStringLiteral("Cannot write \"%1\": a drawing of %2 x %3 pixels is not possible.")
                             .arg(file)
                             .arg(w)
                             .arg(h));
    const QPointF dpi = d->savedDpi();
    SymbolRenderer::Style s = d->savedStyle();
    s.fillBackground = true;
    const QRect area(0, 0, w, h);
    QByteArray bytes;
    if (kind == Drawing::Pdf) {
        // The page is the picture, at its resolution: a device pixel is a picture pixel.
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Quillmark"));
        pdf.setResolution(int(std::lround(dpi.x())));
        pdf.setPageMargins(QMarginsF());
        pdf.setPageSize(
            QPageSize(QSizeF(w / dpi.x(), h / dpi.y()), QPageSize::Inch, QString(), QPageSize::ExactMatch));
        QImage device = d->measuringDevice(QImage::Format_RGB32);
        d->savedLayout(area, s, device); // refused before the file is begun
        QPainter painter(&pdf);
        d->render(painter, area, s, dpi);
        painter.end();
        // The same design gives the same bytes, on a page of exactly its size.
        SteadyPdf::dropDate(bytes);
        SteadyPdf::setPageSize(bytes, QSizeF(w / dpi.x() * 72, h / dpi.y() * 72));
    } else {
        QImage device = d->measuringDevice(QImage::Format_RGB32);
        const SymbolRenderer::Layout &layout = d->savedLayout(area, s, device);
        bytes = kind == Drawing::Svg ? VectorPicture::svg(layout, s, area.size(), dpi.x())
                                     : VectorPicture::eps(layout, s, area.size(), dpi.x());
    }
    AtomicFile::write(file, bytes);
}

void SymbolDesign::DrawToDevice(std::int32_t hdc, std::int32_t x, std::int32_t y, std::int32_t w,
                                std::int32_t h) const
{
    QPainter *painter = DeviceRegistry::resolve(hdc);
    if (!painter)
        throw QuillError(QStringLiteral("The device handle %1 names no drawing surface.").arg(hdc));
    draw(*painter, QRect(x, y, w, h));
}

void SymbolDesign::draw(QPainter &painter, const QRect &area) const
{
    d->requireSymbol();
    SymbolRenderer::Style s = d->style(d->font);
    // Paper is white already; only a coloured background needs painting.
    s.fillBackground = d->options.backColor != QColor(Qt::white);
    const QPaintDevice *device = painter.device();
    d->render(painter, area, s, QPointF(device->logicalDpiX(), device->logicalDpiY()), true);
}

double SymbolDesign::moduleOn(const QSize &area, QPointF dpi, bool exact) const
{
    return d->moduleOn(area, dpi, exact);
}

QByteArray SymbolDesign::metafileBytes() const
{
    d->requireSymbol();
    const int w = std::max(1, pixelWidth());
    const int h = std::max(1, pixelHeight());
    PictureWriters::checkSize(w, h, PictureWriters::Kind::Vector);
    return d->metafile(w, h, d->style(d->font), Impl::screenDpi());
}

QByteArray SymbolDesign::metafileBytes(int w, int h) const
{
    d->requireSymbol();
    PictureWriters::checkSize(w, h, PictureWriters::Kind::Vector);
    return d->metafile(w, h, d->savedStyle(), d->savedDpi());
}

void SymbolDesign::CopyToClipboard() const
{
    const QByteArray wmf = metafileBytes();
    const QByteArray png = d->pngBytes(std::max(1, pixelWidth()), std::max(1, pixelHeight()));
    QList<QPair<QString, QByteArray>> formats;
    if (!wmf.isEmpty())
        formats.append({QString::fromLatin1(Clipboard::kWmfMime), wmf});
    formats.append({QStringLiteral("image/png"), png});
    Clipboard::setData(formats);
}

void SymbolDesign::Refresh() { memberChanged(true); }

void SymbolDesign::memberChanged(bool now)
{
    // A font change made through Font() shows from the next member set on.
    d->shownFont = d->font;
    changed(now);
}

float SymbolDesign::Left() const { return d->left; }
float SymbolDesign::Top() const { return d->top; }
float SymbolDesign::Width() const { return d->width; }
float SymbolDesign::Height() const { return d->height; }

void SymbolDesign::setWidth(float w)
{
    d->width = w;
    placed();
    memberChanged();
}

void SymbolDesign::setHeight(float h)
{
    d->height = h;
    placed();
    memberChanged();
}

void SymbolDesign::Move(float l, float t)
{
    d->left = l;
    d->top = t;
    placed();
}

int SymbolDesign::pixelWidth() const { return Impl::pixels(d->width); }
int SymbolDesign::pixelHeight() const { return Impl::pixels(d->height); }

QString SymbolDesign::drawPreview(QPainter &painter, const QRect &area) const
{
    const SymbolBuilder::Built &built = d->symbol();
    SymbolRenderer::Style s = d->style(d->shownFont);
    QString note;
    if (!built.ok()) {
        d->renderer.drawMessage(painter, area, built.error, s);
    } else {
        const SymbolRenderer::Fit fit = d->renderer.draw(painter, area, built.model, s);
        if (!fit.fits) {
            // The whole symbol, made smaller, above a note that pictures of this
            // size would not hold it.
            note = QStringLiteral(
                       "Too small for pictures: the symbol needs %1 pixels of %2, this size gives %3. "
                       "Printing at a higher resolution may still hold it.")
                       .arg(fit.needed)
                       .arg(fit.alongHeight ? QStringLiteral("height") : QStringLiteral("width"))
                       .arg(fit.given);
            const int band = std::max(12, area.height() / 3);
            s.shrinkToFit = true;
            s.textPixels *= double(fit.given) / fit.needed; // the text made smaller with the symbol
            d->renderer.draw(painter, area.adjusted(0, 0, 0, -band), built.model, s);
            d->renderer.drawMessage(painter, area.adjusted(0, area.height() - band, 0, 0), note, s);
        }
    }
    return note;
}
