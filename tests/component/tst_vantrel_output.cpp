// Every output of the component at the sizes users pick, judged from outside:
// decoded by zxing-cpp or zbar, metafile text read by wmf2svg; bars, quiet
// zones and text from the layout all surfaces paint. A symbol that does not
// fit is refused with the sizes named, and nothing is written or drawn.
// Bitmap and PNG files, drawn and written a band of rows at a time, hold
// exactly the picture drawn whole, also where memory is short; a full disk
// leaves no partial file. Pictures at a resolution of their own record it in
// their headers; SVG, EPS and PDF drawings, rasterised by rsvg-convert,
// Ghostscript and poppler at their resolution, decode and have bars of whole
// modules.
#include "Clipboard.h"
#include "Decode.h"
#include "Files.h"
#include "SaveRun.h"
#include "Scan.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "SymbolBuilder.h"
#include "SymbolRenderer.h"
#include "Vantrel.h"

#include "Drawings.h"

#include <QClipboard>
#include <QPainter>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>
#include <unistd.h>

namespace {
// Picture: its bitmap file.
enum Surface { Preview, Picture, Png, Copy, Metafile, Device, SaveInCm, Svg, Eps, Pdf };
const char *const kSurfaces[]
    = {"preview", "bitmap", "PNG", "clipboard", "metafile", "device", "save run", "SVG", "EPS", "PDF"};

using S = Symbology;
using Code = SymbolEncoder::Code;
struct Case {
    Symbology barType = S::Code128;
    QString data{}, expected{}; // expected: what a decoder reads, if not the data
    Surface surface = Picture;
    QSize size = {500, 500}; // pixels or dots of the surface
    int dpi = 96, orientation = 0;
    int quiet = 10, need = 0; // modules at least on each side; not 0: refused, needing this many pixels
    QString title = {},
            reader = {}; // reader: "" zxing-cpp, "39ext" its full-ASCII Code 39, else zbar's option
    Code custom = Code::QrCode;
    double points = 8;
    int alignment = -1, scaling = 0; // alignment -1: left, and where the symbol sits is not checked
    qint64 disk = 0; // not 0: the disk takes only this many bytes of a file
    qint64 memory = 0; // not 0: the process gets only this many bytes more address space
    QString shown = {}; // the text under the symbol, where it is not what a decoder reads
    QString refused = {}; // not empty: refused for short bars or small text, with these words
    QString oneLine = {}; // the title with its line breaks drawn as spaces; empty: it has none
    double reduction = 0; // bar width reduction, millimetres
    int narrowest = 0; // not 0: the narrowest bar's pixels or dots, as the reduction leaves it
};
// A drawing as another program rasterises it at dpi, in gray.
QImage rasterised(const QString &path, Surface, int dpi)
{
    return Drawings::rasterised(path, dpi)
        .convertToFormat(QImage::Format_Grayscale8)
        .convertToFormat(QImage::Format_RGB32);
}
using Drawings::svgTexts;
using Drawings::tool;

// The characters of a text in order of their codes, blanks left out: text drawn in parts
// (EAN digits) may come back from a reader in any order.
QString sortedCharacters(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    std::sort(text.begin(), text.end());
    return text;
}

// The dark runs' lengths along the line through the middle of the ink, across the bars.
QList<int> darkRuns(const QImage &image, const QRect &ink, bool sideways)
{
    QList<int> runs;
    int run = 0;
    const int length = sideways ? image.height() : image.width();
    for (int i = 0; i <= length; ++i) {
        const QPoint at = sideways ? QPoint(ink.center().x(), i) : QPoint(i, ink.center().y());
        const bool dark = i < length && qGray(image.pixel(at)) < 128;
        if (dark)
            ++run;
        if (!dark && run > 0)
            runs << run;
        if (!dark)
            run = 0;
    }
    return runs;
}

// The resolution a PNG (pHYs) or bitmap (pixels per metre) file records, in pixels per metre.
int recordedPerMetre(const QString &path, Surface surface)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    if (surface == Picture)
        return qFromLittleEndian<qint32>(bytes.constData() + 38);
    if (surface == Metafile) // the placeable header's units an inch
        return qRound(qFromLittleEndian<quint16>(bytes.constData() + 14) / 0.0254);
    const qsizetype chunk = bytes.indexOf("pHYs");
    return chunk < 0 ? 0 : int(qFromBigEndian<quint32>(bytes.constData() + chunk + 4));
}

QByteArray clipboard(const QString &mime) { return QGuiApplication::clipboard()->mimeData()->data(mime); }

// Black where a picture is dark, white elsewhere: a PNG file holds two colours.
QImage twoColours(const QImage &picture)
{
    const QImage mono = picture.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return mono.convertToFormat(QImage::Format_RGB32);
}

// The process's address space now, from the system's account of it (in pages).
SymbolRenderer::Style styleOf(const Case &c)
{
    return {.quarterTurns = c.orientation / 900,
            .stretch = c.scaling != 0,
            .alignment = std::max(0, c.alignment),
            .title = c.title,
            .fontName = QStringLiteral("Liberation Sans"),
            .textPixels = c.points * c.dpi / 72};
}

// The layout every surface paints, for this row's cell and resolution:
// whole pixels a module, quiet zones kept, placed as aligned, no text on a bar.
void checkLayout(const Case &c, const FormatOptions &options)
{
    SymbolRenderer renderer;
    QImage device = Scan::page(1, 1, c.dpi);
    const SymbolModel model = SymbolBuilder::build(c.barType, c.data, options).model;
    const SymbolRenderer::Layout &layout
        = renderer.layout(QRect(QPoint(), c.size), model, styleOf(c), &device);
    const int length = c.orientation % 1800 ? c.size.height() : c.size.width();
    QRectF extent;
    double module = length; // the narrowest bar
    for (const QRectF &bar : layout.bars) {
        extent |= bar;
        module = std::min(module, bar.width());
    }
    for (const QRectF &bar : layout.bars) {
        const bool whole = bar.left() == std::floor(bar.left()) && std::fmod(bar.width(), module) == 0;
        const bool onModule = std::fmod(bar.left() - extent.left(), module) == 0;
        if (!c.scaling) // a stretched symbol's bars need not be whole pixels
            QVERIFY2(whole && onModule, "a bar is not whole pixels a module");
        for (const SymbolRenderer::Layout::Text &t : layout.texts) {
            const double width = t.font->metrics->horizontalAdvance(t.text);
            const QRectF box(t.origin.x(), t.origin.y() - t.font->ascent, width, t.font->height);
            QVERIFY(!bar.intersects(box));
            QVERIFY2(box.left() >= 0 && box.right() <= length, "text beyond the label's edge");
        }
    }
    const double left = extent.left();
    const double right = length - extent.right();
    const QString sides = QStringLiteral("%1 %2 %3").arg(left).arg(right).arg(module);
    QVERIFY2(std::min(left, right) >= c.quiet * module, qPrintable(sides));
    if (c.alignment < 0) // where the symbol sits is not checked
        return;
    const double placed[]
        = {left, std::abs(left - right), right}; // left: no more than its quiet zone, centred, right
    const double allowed[] = {c.quiet * module, 1, c.quiet * module};
    QVERIFY2(placed[c.alignment] <= allowed[c.alignment], qPrintable(sides));
}

} // namespace
Q_DECLARE_METATYPE(Case)

class TestVantrelOutput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    void outputs_data()
    {
        QTest::addColumn<Case>("c");
        const auto row = [](const Case &c) {
            QTest::addRow("%s %s %dx%d %d dpi %d", qPrintable(c.data.left(16).replace(u'\n', u' ')),
                          kSurfaces[c.surface], c.size.width(), c.size.height(), c.dpi, c.orientation)
                << c;
        };
        // Every symbology, each on another surface and turned another way.
        const struct {
            Symbology barType;
            const char *data, *expected, *reader;
            int quiet;
            Code custom = Code::QrCode;
        } symbologies[] = {{S::Ean13, "590123412345", "5901234123457", "", 7},
                           {S::Ean13, "12345", "000000123457", "", 7},
                           {S::Ean8, "9638507+12", "96385074", "", 7},
                           {S::Ean5, "52495", "52495", "-Sean5.enable", 5},
                           {S::Ean2, "12", "12", "-Sean2.enable", 5},
                           {S::UpcA, "03600029145", "036000291452", "", 9},
                           {S::UpcE, "0123456", "01234565", "", 7},
                           {S::Code39, "CODE 39-TEST", "CODE 39-TEST", "", 10},
                           {S::Code39Ext, "Code39 ext!", "Code39 ext!", "39ext", 10},
                           {S::Code128, "Hello, World 123", "Hello, World 123", "", 10},
                           {S::Code128A, "A B\tC", "A B\tC", "", 10},
                           {S::Code128B, "Hello b~", "Hello b~", "", 10},
                           {S::Code128C, "12345678", "12345678", "", 10},
                           {S::Ean128, "(01)12345678901231(10)ABC", "011234567890123110ABC", "", 10},
                           {S::Issn, "2434-561x 05", "9772434561006", "", 7},
                           {S::Isbn, "0306406152", "9780306406157", "", 7},
                           {S::Codabar, "C40156D", "40156", "", 10},
                           {S::Custom, "Quillmark QR 123", "Quillmark QR 123", "", 2},
                           {S::Custom, "Quillmark DM 456", "Quillmark DM 456", "", 1, Code::DataMatrix},
                           {S::Interleaved2of5, "12345678", "12345678", "", 10},
                           {S::Post25, "1234567890123", "12345678901236", "", 10},
                           {S::Code93, "CODE93 TEST", "CODE93 TEST", "", 10},
                           {S::Pdf417, "PDF417 Quillmark 0123456789", "PDF417 Quillmark 0123456789", "", 2}};
        int i = 0;
        for (const auto &s : symbologies) {
            const auto surface = Surface(i % 6);
            row({.barType = s.barType,
                 .data = s.data,
                 .expected = s.expected,
                 .surface = surface,
                 .size = surface >= Metafile ? QSize(1000, 1000) : QSize(500, 500),
                 .dpi = surface == Device ? 300 : 96,
                 .orientation = 900 * (i++ % 4),
                 .quiet = s.quiet,
                 .reader = s.reader,
                 .custom = s.custom});
        }
        // The sizes users pick: 1.5 x 0.75 in and the default 2 x 1 in on screen, 4 x 2 cm, printers' dots.
        row({.barType = S::Code39Ext, .data = "Quill-39e", .surface = Copy, .size = {144, 72}, .need = 227});
        row({.barType = S::Ean128,
             .data = "[01]09501101530003[10]ABC123",
             .surface = Picture,
             .size = {192, 96},
             .need = 242});
        row({.barType = S::Post25,
             .data = "1234567890123",
             .surface = Metafile,
             .size = {144, 72},
             .need = 155});
        // Bars at 2 mm and text at 6 pixels (on screen) or 3 pt (on a printer), and just below: refused.
        row({.data = "AB", .size = {192, 15}});
        row({.data = "AB",
             .size = {192, 14},
             .refused = "needs 0.16 in (15 pixels) of height, but the picture is"});
        row({.data = "AB", .surface = Device, .size = {31, 400}, .dpi = 203, .orientation = 900});
        row({.data = "AB",
             .surface = Device,
             .size = {30, 400},
             .dpi = 203,
             .orientation = 900,
             .refused = "needs 0.16 in (31 dots) of width, but the label is 0.15 in (30 dots) wide"});
        row({.data = "AB", .surface = Png, .size = {192, 96}, .points = 4.5});
        row({.data = "AB",
             .surface = Png,
             .size = {192, 96},
             .points = 4.4,
             .refused = "its text would be 5 pixels high, and text needs 6 pixels"});
        row({.data = "AB", .surface = Device, .size = {600, 300}, .dpi = 300, .points = 3.2});
        row({.data = "AB",
             .surface = Device,
             .size = {600, 300},
             .dpi = 300,
             .points = 3.1,
             .refused = "its text would be 12 dots high, and text needs 13 dots"});
        // GS1 fields one digit short get their check digit, in the bars and in the text.
        row({.barType = S::Ean128,
             .data = "[00]01234560000000001",
             .expected = "00012345600000000012",
             .surface = Metafile,
             .size = {1000, 300},
             .shown = "(00)012345600000000012"});
        row({.data = "SKU-000123-BLUE", .surface = Preview, .size = {151, 76}, .need = 209});
        row({.data = "SKU-000123-BLUE", .surface = SaveInCm, .size = {151, 76}, .need = 209});
        row({.barType = S::Ean13,
             .data = "590123412345+12",
             .expected = "12|5901234123457",
             .surface = Device,
             .size = {1200, 600},
             .dpi = 600,
             .orientation = 1800,
             .quiet = 7,
             .reader = "-Sean2.enable"});
        row({.data = "AB",
             .surface = Picture,
             .size = {192, 96},
             .title = "A title far longer than the label is wide"});
        row({.data = "Quill-128",
             .surface = Metafile,
             .size = {500, 1000},
             .orientation = 2700,
             .title = "5 \u20ac \u2013 Caf\u00e9"}); // the euro and the dash in the metafile's code page
        row({.data = "Quill-128",
             .surface = Metafile,
             .size = {1000, 500},
             .orientation = 1800,
             .title = "\u65e5\u672c\u8a9e"}); // in no code page: outlines
        for (const auto &[alignment, scaling] : {std::pair{0, 0}, {1, 0}, {2, 0}, {1, 1}})
            row({.data = "AB", .size = {1000, 120}, .alignment = alignment, .scaling = scaling});
        // A pixel a module, several bands of rows, every turn; bitmap rows of 155 and 2001 pixels padded by
        // 3 bytes and 1.
        for (const Surface surface : {Picture, Png})
            for (const int turn : {0, 900, 1800, 2700})
                row({.data = "Quill-128",
                     .surface = surface,
                     .size = turn % 1800 ? QSize(2001, 155) : QSize(155, 2001),
                     .orientation = turn});
        // Where memory is short (the picture alone would take 64 MB); on a full disk after a megabyte, and at
        // once.
        row({.data = "Quill-128", .size = {4000, 4000}, .memory = 48 << 20});
        row({.data = "Quill-128", .size = {2000, 1000}, .disk = 3 << 20});
        row({.data = "Quill-128", .surface = Png, .size = {2000, 1000}, .disk = 1024});
        // Saved at a resolution of their own: 2 x 1 in and a turned 1 x 2 in; too narrow at 203 dpi.
        for (const int dpi : {300, 600}) {
            for (const Surface surface : {Picture, Png, Metafile, Svg, Eps, Pdf})
                row({.data = "Quill-300", .surface = surface, .size = {2 * dpi, dpi}, .dpi = dpi});
            for (const Surface surface : {Png, Svg, Eps, Pdf})
                row({.barType = S::Ean13,
                     .data = "590123412345",
                     .expected = "5901234123457",
                     .surface = surface,
                     .size = {dpi, 2 * dpi},
                     .dpi = dpi,
                     .orientation = 900,
                     .quiet = 7,
                     .title = "Batch 7 \u65e5\u672c"}); // in the design's font and a fallback
        }
        row({.data = "Fish & Chips <1>",
             .surface = Svg,
             .size = {900, 300},
             .dpi = 300,
             .title = "Menu \"A\" & B \U0001D11E", // a character beyond 16 bits
             .memory = 256 << 20});
        row({.data = "Quill-300",
             .surface = Svg,
             .size = {900, 300},
             .dpi = 300,
             .title = "A\001B\014C\033D"}); // control characters
        for (const Surface surface : {Svg, Eps}) // hyphens, accents, CJK and the euro as drawn
            row({.data = "Quill-300",
                 .surface = surface,
                 .size = {900, 300},
                 .dpi = 300,
                 .title = "Caf\u00e9-\u65e5\u672c\u8a9e \u20ac it's"});
        for (const Surface surface : {Png, Svg, Pdf})
            row({.data = "SKU-000123-BLUE", .surface = surface, .size = {203, 100}, .dpi = 203, .need = 209});
        // A page of exactly the design's size: 1.6 in is 115.2 points, not 116.
        row({.data = "Quill-300", .surface = Pdf, .size = {480, 300}, .dpi = 300});
        // A title's line breaks (CR LF, CR, U+2028; LF as the data's) are one space on every surface; the
        // data keeps its own.
        row({.data = "AB",
             .surface = Pdf,
             .size = {800, 400},
             .dpi = 300,
             .title = "Two\r\nlines",
             .oneLine = "Two lines"});
        row({.data = "AB",
             .surface = Metafile,
             .size = {400, 200},
             .title = "Two\rlines",
             .oneLine = "Two lines"});
        row({.barType = S::Custom,
             .data = "Two\nlines",
             .surface = Svg,
             .size = {900, 600},
             .dpi = 300,
             .quiet = 4,
             .title = "Two\u2028lines",
             .shown = "Two lines",
             .oneLine = "Two lines"});
        // Bar width reduction in millimetres: one dot at 300 dpi, four at 1200; two of a three-dot module
        // leave less than half of it.
        for (const auto &[dpi, narrowest] : {std::pair{300, 2}, {1200, 11}})
            row({.data = "Quill-128",
                 .surface = Device,
                 .size = {2 * dpi, dpi},
                 .dpi = dpi,
                 .reduction = 0.085,
                 .narrowest = narrowest});
        row({.data = "Quill-128",
             .surface = Device,
             .size = {600, 300},
             .dpi = 300,
             .refused = "leaves the narrowest bar 1 of its 3 dots at 300 dpi, less than half a module",
             .reduction = 0.17});
        row({.data = "Quill-128",
             .surface = Png,
             .size = {154, 100},
             .refused = "leaves the narrowest bar 0 of its 1 pixel at 96 dpi, less than one pixel",
             .reduction = 0.26});
        for (const int dpi : {203, 600}) // cells no multiple of the modules long, every turn
            for (const int turn : {0, 900, 1800, 2700})
                row({.data = "Quill-128",
                     .surface = Device,
                     .size = turn % 1800 ? QSize(dpi * 2 / 3 + 1, dpi * 2 + 7)
                                         : QSize(dpi * 2 + 7, dpi * 2 / 3 + 1),
                     .dpi = dpi,
                     .orientation = turn});
    }

    void outputs()
    {
        QFETCH(Case, c);
        SettingsStore store(m_dir.filePath(QStringLiteral("options.ini")));
        const FormatOptions options{.customSymbology = c.custom, .barReduction = c.reduction};
        options.save(&store);
        Vantrel v;
        v.design().setOptionsStore(&store);
        // Saved pictures at a resolution of their own scale the text themselves.
        const bool saved
            = c.surface == Picture || c.surface == Png || c.surface == Metafile || c.surface >= Svg;
        const bool ownDpi = saved && c.dpi != 96;
        Scan::setUp(v,
                    {.width = c.size.width(),
                     .height = c.size.height(),
                     .barType = int(c.barType),
                     .data = c.data,
                     .fontSize = ownDpi ? c.points : c.points * c.dpi / 96,
                     .title = c.title, // as the printing run scales it
                     .orientation = c.orientation,
                     .alignment = std::max(0, c.alignment),
                     .scaling = c.scaling});

        const char *const extensions[]
            = {"png", "bmp", "png", "png", "wmf", "png", "png", "svg", "eps", "pdf"};
        const QString path = m_dir.filePath(QStringLiteral("label.") + extensions[c.surface]);
        if (ownDpi)
            v.design().setPictureDpi(c.dpi);
        QVERIFY(plant(path, "old"));
        Clipboard::setData({{QStringLiteral("image/png"), QByteArray("old")}});
        QImage image = Scan::page(c.size.width() + 40, c.size.height() + 40, c.dpi);
        QRect cell(QPoint(17, 23), c.size);
        QByteArray wmf;
        const qint64 memory = c.memory ? addressSpace() + c.memory : 0;
        QString error;
        limited(c.disk ? RLIMIT_FSIZE : RLIMIT_AS, c.disk ? c.disk : memory, [&] {
            error = raised([&] {
                if (c.surface == Picture && !ownDpi)
                    v.design().saveBitmap(path);
                if (c.surface == Picture && ownDpi)
                    v.design().saveBitmap(path, c.size.width(), c.size.height());
                if (c.surface >= Svg)
                    v.design().saveDrawing(path, SymbolDesign::Drawing(c.surface - Svg), c.size.width(),
                                           c.size.height());
                if (c.surface == Png)
                    v.SavePng(path, c.size.width(), c.size.height());
                if (c.surface == Metafile && ownDpi)
                    SaveRun(v.design(), path, c.size.width(), c.size.height()).save(c.data);
            });
        });
        if (c.disk) { // the old file whole, no working file beside it, the name and the reason said
            const QString reason = QString::fromLocal8Bit(strerror(EFBIG));
            QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
            QCOMPARE(contents(path), QByteArray("old"));
            const QDir folder(m_dir.path());
            const QStringList working
                = folder.entryList({QStringLiteral(".quill-*")}, QDir::Hidden | QDir::Files);
            QCOMPARE(working, QStringList());
            return;
        }
        if (error.isEmpty())
            error = raised([&] {
                if (c.surface == Preview)
                    image = v.grab().toImage();
                if (c.surface == Picture)
                    image = QImage(path, "BMP");
                if (c.surface == Png)
                    image = QImage(path, "PNG");
                if (c.surface == Copy) {
                    v.CopyToClipboard();
                    image = QImage::fromData(clipboard(QStringLiteral("image/png")), "PNG");
                }
                if (c.surface == Metafile) { // drawn by wmf2gd at the picture's resolution
                    wmf = ownDpi ? contents(path) : v.design().metafileBytes();
                    const QStringList size = {QStringLiteral("--maxwidth=%1").arg(c.size.width()),
                                              QStringLiteral("--maxheight=%1").arg(c.size.height()),
                                              QStringLiteral("--maxpect")};
                    image = QImage::fromData(Decode::wmfTool(QStringLiteral("wmf2gd"), wmf, size));
                }
                if (c.surface == Device)
                    Scan::drawOn(v, image, cell);
                if (c.surface == SaveInCm)
                    SaveRun(v.design(), path, c.size.width(), c.size.height(), true).save(c.data);
                if (c.surface >= Svg)
                    image = rasterised(path, c.surface, c.dpi);
            });
        if ((c.need && c.surface != Preview) || !c.refused.isEmpty()) {
            QVERIFY2(error.contains(c.refused), qPrintable(error));
            if (c.need) { // the length needed and the length there is, both named
                const int there = c.orientation % 1800 ? c.size.height() : c.size.width();
                QVERIFY2(error.contains(QStringLiteral("(%1 ").arg(c.need)), qPrintable(error));
                QVERIFY2(error.contains(QStringLiteral("(%1 ").arg(there)), qPrintable(error));
            }
            if (c.surface == SaveInCm)
                QVERIFY2(error.contains(QStringLiteral(" cm (%1 pixels)").arg(c.need)), qPrintable(error));
            QCOMPARE(contents(path), QByteArray("old")); // what was there stays
            QCOMPARE(clipboard(QStringLiteral("image/png")), QByteArray("old"));
            if (c.surface == Device) // nothing drawn
                QVERIFY(Decode::inkBox(image, image.rect()).isNull());
            return;
        }
        QVERIFY2(error.isEmpty(), qPrintable(error));
        if (c.surface == Picture && !ownDpi) // what the picture drawn whole holds
            QCOMPARE(image, v.Picture());
        if (c.surface == Png && !ownDpi)
            QCOMPARE(twoColours(image), twoColours(v.Picture()));
        if (saved) // the picture is the design's size at its resolution, and its header says so
            QCOMPARE(image.size(), c.size);
        if (ownDpi && c.surface < Svg)
            QCOMPARE(recordedPerMetre(path, c.surface), qRound(c.dpi / 0.0254));
        // A PDF's page is the design's size, and no date makes one run differ from the next.
        if (c.surface == Pdf) {
            const QString info = tool("pdfinfo", {path});
            const QString page = QStringLiteral("Page size: %1 x %2 pts")
                                     .arg(c.size.width() * 72.0 / c.dpi)
                                     .arg(c.size.height() * 72.0 / c.dpi);
            QVERIFY2(info.simplified().contains(page.simplified()) && !info.contains("CreationDate"),
                     qPrintable(info));
            if (!c.oneLine.isEmpty())
                QCOMPARE(tool("pdftotext", {path, "-"}).split(u'\n').first(), c.oneLine);
        }
        // A titled picture, or a drawing whose glyphs beyond Latin-1 are outlines: as large as poppler draws
        // the PDF.
        if (((c.surface == Png && ownDpi) || c.surface == Eps) && !c.title.isEmpty()) {
            const QString pdf = path + QStringLiteral(".pdf");
            v.design().saveDrawing(pdf, SymbolDesign::Drawing::Pdf, c.size.width(), c.size.height());
            const QImage drawn = rasterised(pdf, Pdf, c.dpi);
            const QSize off
                = Decode::inkBox(image, image.rect()).size() - Decode::inkBox(drawn, drawn.rect()).size();
            QVERIFY2(std::abs(off.width()) <= 2 && std::abs(off.height()) <= 2, qPrintable(pdf));
        }
        if (c.surface == Png && !c.oneLine.isEmpty()) { // the same picture as with the title on one line
            v.setTitle(c.oneLine);
            v.SavePng(path + ".one.png", c.size.width(), c.size.height());
            QCOMPARE(image, QImage(path + ".one.png", "PNG"));
        }
        if (c.narrowest) { // the reduction taken in the surface's dots
            const QList<int> runs = darkRuns(image, Decode::inkBox(image, cell), false);
            QCOMPARE(*std::min_element(runs.begin(), runs.end()), c.narrowest);
        }
        if (c.surface == Copy) // the metafile beside the picture
            QCOMPARE(clipboard(QString::fromLatin1(Clipboard::kWmfMime)), v.design().metafileBytes());
        if (c.surface < Device)
            cell = image.rect();
        const bool sideways = c.orientation % 1800 != 0;
        const int start = sideways ? cell.top() : cell.left(),
                  length = sideways ? cell.height() : cell.width();
        const QRect ink = Decode::inkBox(image, cell);
        // Along the symbol, no ink at the cell's edges: nothing cut, text and title included.
        QVERIFY2(!ink.isNull() && (sideways ? ink.top() : ink.left()) > start
                     && (sideways ? ink.bottom() : ink.right()) < start + length - 1,
                 qPrintable(QDebug::toString(ink)));
        if (c.need) { // the preview: the whole symbol made smaller, and a word that pictures would not hold
                      // it
            const QRect aboveNote(0, 0, image.width(), image.height() / 3);
            QVERIFY(!Decode::inkBox(image, aboveNote).isNull());
            QVERIFY2(v.toolTip().contains(QStringLiteral(" %1 pixels").arg(c.need)), qPrintable(v.toolTip()));
            return;
        }
        const QString expected = c.expected.isEmpty() ? c.data : c.expected;
        const QString shown = c.shown.isEmpty() ? expected : c.shown;
        QStringList found;
        if (c.reader.startsWith(u'-'))
            found = Decode::zbarImage(image, {c.reader});
        else
            found << Decode::zxingOne(image, c.reader == u"39ext");
        found.sort();
        QCOMPARE(found.join(u'|'), expected);
        checkLayout(c, options);
        if (c.surface >= Svg) { // the rasterised bars are whole modules, as the smallest is
            const QList<int> runs = darkRuns(image, ink, sideways);
            const int module = *std::min_element(runs.begin(), runs.end());
            for (const int run : runs)
                QVERIFY2(run % module == 0, qPrintable(QStringLiteral("%1 of %2").arg(run).arg(module)));
        }
        if (c.surface == Svg) { // well-formed, the value and the title text, control characters dropped
            QCOMPARE(QProcess::execute(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path}), 0);
            const QStringList texts = svgTexts(contents(path));
            QVERIFY2(texts.join(QString()).contains(shown), qPrintable(texts.join(u'|'))); // EAN in parts
            const QRegularExpression controls(QStringLiteral("[\\x01-\\x1f]"));
            const QString title = QString(c.title).remove(controls);
            if (!c.title.isEmpty())
                QVERIFY2(texts.contains(c.oneLine.isEmpty() ? title : c.oneLine),
                         qPrintable(texts.join(u'|')));
        }
        if (c.surface == Eps) { // the text in the design's font, beyond Latin-1 in its glyphs' outlines
            QVERIFY(contents(path).contains("/LiberationSans findfont"));
            const QStringList text = {"-q", "-sDEVICE=txtwrite", "-o", "-", path}; // as Ghostscript reads it
            QCOMPARE(sortedCharacters(tool("gs", text)), sortedCharacters(shown + c.title));
        }
        if (c.surface == Metafile) { // wmf2svg finds the text and the title, of the font's size, and nothing
                                     // outside the frame
            const QList<Decode::SvgShape> shapes = Decode::wmfShapes(wmf);
            QVERIFY(
                !shapes.isEmpty()); // the background first: the frame, as large as wmf2svg chose to draw it
            const QRectF frame = shapes[0].box.adjusted(-1, -1, 1, 1);
            const double scale = shapes[0].box.width() / c.size.width();
            QString texts;
            for (const Decode::SvgShape &shape : shapes) {
                const bool text = shape.kind == u"text";
                QVERIFY2(text ? frame.contains(shape.box.topLeft()) : frame.contains(shape.box),
                         qPrintable(shape.kind));
                if (!text)
                    continue;
                const double points = shape.fontSize / scale;
                QVERIFY2(std::abs(points - c.points * c.dpi / 72) <= 1, qPrintable(QString::number(points)));
                const double turned = std::fmod(shape.angle + c.orientation / 10 + 360, 360);
                QVERIFY2(std::abs(turned) < 0.5, qPrintable(QString::number(shape.angle))); // with the symbol
                texts += shape.text;
            }
            const bool outlined = c.title.contains(QChar(0x65e5));
            const QString title = outlined ? QString() : c.title;
            QVERIFY2(texts.contains(c.oneLine.isEmpty() ? title : c.oneLine), qPrintable(texts));
            QVERIFY2(!texts.contains(u'?'), qPrintable(texts));
            QVERIFY2(texts.simplified().contains(shown.simplified()), qPrintable(texts));
            return;
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestVantrelOutput)
#include "tst_vantrel_output.moc"
