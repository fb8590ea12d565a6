// Labels with objects on them (texts, a second symbol, a picture, a line and
// a box) drawn on every surface and read back from outside: zxing-cpp reads
// each symbol in its box, poppler, Ghostscript and the SVG give the texts back
// at their places, and the picture's pixels are its source's.
#include "DocumentSource.h"
#include "LabelDocument.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "PrintRun.h"
#include "PrinterObject.h"
#include "QuillError.h"
#include "SaveRun.h"
#include "ScreenMetrics.h"

#include "Decode.h"
#include "Drawings.h"
#include "Files.h"

#include <QtTest>

namespace {

constexpr int kDpi = 300;
constexpr double kInch = 1440.0;
const QRectF kTextBox(60, 60, 1400, 560); // twips on a label of 2 x 1.25 inches
const QRectF kLogoBox(1480, 60, 480, 240);
const QRectF kQrBox(2020, 60, 800, 800);
const QRectF kBarsBox(60, 920, 2760, 820);

QRect dots(const QRectF &twips, int dpi = kDpi)
{
    const double f = dpi / kInch;
    return QRectF(twips.x() * f, twips.y() * f, twips.width() * f, twips.height() * f).toAlignedRect();
}

// A shelf label: the designer's Code 128 of the row's SKU under the name and
// price, a QR code of the SKU, a two-colour logo, a rule and a rounded frame.
LabelDocument shelfLabel(const QString &data, const QString &logo)
{
    LabelDocument document;
    document.setSize(2880, 1800);
    document.setUnit(LabelDocument::Unit::Inches);
    document.setPictureDpi(kDpi);
    DataSource source;
    source.kind = DataSource::Kind::ImportFile;
    source.importFile = data;
    source.columns.header = true;
    source.columns.valueTemplate = QStringLiteral("{sku}");
    document.setSource(source);
    SymbolObject bars = document.symbol();
    bars.symbology = Symbology::Code128;
    bars.place = kBarsBox;
    TextObject text{.frame = {kTextBox}, .text = QStringLiteral("{name}\n{price} EUR No. {n}")};
    text.shrinkToFit = true;
    BarcodeObject qr{.frame = {kQrBox}};
    qr.symbol.symbology = Symbology::Custom; // a QR code, the custom symbology it starts with
    qr.symbol.showText = SymbolObject::Tick::Clear;
    BoxObject frame{.frame = {QRectF(0, 0, 2880, 1800)}, .cornerTwips = 90};
    LineObject rule{.frame = {QRectF(60, 890, 2760, 0)}, .strokePoints = 0.5};
    document.setObjects(
        {BoxObject(frame), bars, text, qr, PictureObject{.frame = {kLogoBox}, .file = logo}, rule});
    return document;
}

} // namespace

class LabelObjectsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_data;
    QString m_logo;

    QString saved(const LabelDocument &document, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        DocumentSource source(document);
        Module1 data(source);
        LabelRenderer renderer(document);
        SaveRun(document, renderer, path).run(data);
        return path;
    }

private slots:
    void initTestCase()
    {
        ScreenMetrics::overrideDpi(96, 96);
        m_data = m_dir.filePath(QStringLiteral("items.csv"));
        plant(m_data, "sku,name,price\nSKU-0042,Green tea,3.49\nSKU-0043,Black tea,2.99\n");
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::red);
        for (int y = 0; y < 20; ++y)
            for (int x = 20; x < 40; ++x)
                logo.setPixel(x, y, qRgb(0, 0, 255));
        m_logo = m_dir.filePath(QStringLiteral("logo.png"));
        QVERIFY(logo.save(m_logo));
    }

    // Each picture format holds every object: both symbols read their row's SKU in their boxes, and the
    // logo's halves keep their colours where the box fits it.
    void everyPicture_data()
    {
        QTest::addColumn<QString>("suffix");
        for (const char *suffix : {"png", "bmp", "wmf", "svg", "eps", "pdf"})
            QTest::newRow(suffix) << QString::fromLatin1(suffix);
    }
    void everyPicture()
    {
        QFETCH(QString, suffix);
        const QString path = saved(shelfLabel(m_data, m_logo), "shelf." + suffix);
        const QImage image = Drawings::rasterised(path, kDpi);
        QCOMPARE(image.size(), dots(QRectF(0, 0, 2880, 1800)).size());
        QCOMPARE(Decode::zxingOne(Decode::label(image, dots(kBarsBox))), QStringLiteral("SKU-0042"));
        QCOMPARE(Decode::zxingOne(Decode::label(image, dots(kQrBox))), QStringLiteral("SKU-0042"));
        // 480 x 240 twips holds the 2:1 logo exactly: red left, blue right.
        const QRect logo = dots(kLogoBox);
        QVERIFY(Drawings::near(image.pixel(logo.center() - QPoint(logo.width() / 4, 0)), qRgb(255, 0, 0)));
        QVERIFY(Drawings::near(image.pixel(logo.center() + QPoint(logo.width() / 4, 0)), qRgb(0, 0, 255)));
        if (suffix == "svg")
            QVERIFY(Drawings::svgTexts(contents(path)).join(' ').contains("Green tea"));
        if (suffix == "eps") {
            const QString text
                = Drawings::tool("gs", {"-q", "-dSAFER", "-sDEVICE=txtwrite", "-o", "-", path});
            QVERIFY2(text.contains("Green tea") && text.contains("3.49 EUR No. 1"), qPrintable(text));
        }
    }

    // The text lies inside its box in each turn, as pdftotext finds its words in a PDF picture.
    void textInItsBox_data()
    {
        QTest::addColumn<int>("degrees");
        for (const int degrees : {0, 90, 180, 270})
            QTest::newRow(qPrintable(QString::number(degrees))) << degrees;
    }
    void textInItsBox()
    {
        QFETCH(int, degrees);
        LabelDocument document = shelfLabel(m_data, m_logo);
        std::vector<LabelObject> objects = document.objects();
        auto &text = std::get<TextObject>(objects[2]);
        text.frame.rotation = *SymbolObject::rotationOf(degrees);
        text.text = QStringLiteral("{name}"); // shrunk to fit across the box's height
        document.setObjects(objects);
        const QString path = saved(document, QStringLiteral("turned.pdf"));
        const QString boxes = Drawings::tool("pdftotext", {"-bbox", path, "-"});
        const QRectF box(kTextBox.x() / 20, kTextBox.y() / 20, kTextBox.width() / 20, kTextBox.height() / 20);
        const QRectF slack = box.adjusted(-72.0 / kDpi, -72.0 / kDpi, 72.0 / kDpi, 72.0 / kDpi); // one dot
        static const QRegularExpression word(QStringLiteral(
            "xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]+)<"));
        QStringList found;
        for (const QRegularExpressionMatch &m : word.globalMatch(boxes)) {
            const QRectF at(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
            if (QStringList{"Green", "tea"}.contains(m.captured(5))) {
                QVERIFY2(slack.contains(at), qPrintable(m.captured(5)));
                found << m.captured(5);
            }
        }
        QCOMPARE(found.size(), 2);
    }

    // A sheet on the PDF printer: every label's symbols read their rows, the texts are on the page, and
    // an SVG logo that reaches beyond its own frame keeps within its box.
    void printed()
    {
        const QString logo = m_dir.filePath(QStringLiteral("logo.svg"));
        plant(logo,
              R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="20" viewBox="0 0 40 20">)"
              R"(<rect width="90" height="20" fill="red"/></svg>)");
        LabelDocument document = shelfLabel(m_data, logo);
        document.setMargins(LabelMargins{.pageLeft = 0.5, .pageTop = 0.5});
        DocumentSource source(document);
        Module1 data(source);
        LabelRenderer renderer(document);
        PrinterObject printer;
        const QString pdf = m_dir.filePath(QStringLiteral("sheet.pdf"));
        printer.selectPdfFile(pdf);
        printer.setMedia(QPageSize(QPageSize::Letter), QPageLayout::Portrait);
        PrintRun run(document, renderer, data, printer);
        QVERIFY2(run.execute(), qPrintable(run.error()));
        const QImage page = Drawings::rasterised(pdf, kDpi); // its first page
        for (const int label : {0, 1}) {
            const QPointF corner(0.5 * kInch + label * 2880, 0.5 * kInch);
            const QString sku = label == 0 ? "SKU-0042" : "SKU-0043";
            QCOMPARE(Decode::zxingOne(Decode::label(page, dots(kBarsBox.translated(corner)))), sku);
            QCOMPARE(Decode::zxingOne(Decode::label(page, dots(kQrBox.translated(corner)))), sku);
            const QRect box = dots(kLogoBox.translated(corner));
            QVERIFY(Drawings::near(page.pixel(box.center()), qRgb(255, 0, 0)));
            QVERIFY(Drawings::near(page.pixel(box.right() + 3, box.center().y()), qRgb(255, 255, 255)));
        }
        const QString text = Drawings::tool("pdftotext", {pdf, "-"});
        QVERIFY2(text.contains("Black tea") && text.contains("2.99 EUR No. 2"), qPrintable(text));
    }

    // What cannot be drawn stops the run before anything is written, naming what is wrong.
    void refused_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing picture") << "picture"
                                         << "nowhere.png";
        QTest::newRow("box outside the label") << "outside"
                                               << "Object 3 (Text) reaches outside the label";
        QTest::newRow("text that cannot fit") << "tight"
                                              << "does not fit its box at 4 points";
        QTest::newRow("column the file lacks") << "column"
                                               << "\"sku\", \"name\", \"price\"";
        QTest::newRow("a bitmap too large") << "huge"
                                            << "a bitmap at most 268435456 pixels in all";
    }
    void refused()
    {
        QFETCH(QString, fault);
        QFETCH(QString, says);
        LabelDocument document = shelfLabel(m_data, m_logo);
        std::vector<LabelObject> objects = document.objects();
        auto &text = std::get<TextObject>(objects[2]);
        if (fault == "picture")
            std::get<PictureObject>(objects[4]).file = m_dir.filePath(QStringLiteral("nowhere.png"));
        if (fault == "outside")
            text.frame.box.moveLeft(2000);
        if (fault == "tight")
            text.frame.box.setHeight(40);
        if (fault == "column")
            text.text = QStringLiteral("{colour}");
        if (fault == "huge")
            document.setSize(96000, 96000); // 20,000 pixels a side
        document.setObjects(objects);
        QDir(m_dir.filePath(fault)).removeRecursively();
        QVERIFY(QDir(m_dir.path()).mkdir(fault));
        QString message;
        try {
            saved(document, fault + "/shelf.png");
        } catch (const QuillError &error) {
            message = error.description();
        }
        QVERIFY2(message.contains(says), qPrintable(message));
        QCOMPARE(entries(m_dir.filePath(fault)), QStringList());
    }

    // A symbol object whose module falls short of its standard is warned of before a run, by name.
    void moduleGuard()
    {
        LabelDocument document = shelfLabel(m_data, m_logo);
        std::vector<LabelObject> objects = document.objects();
        std::get<BarcodeObject>(objects[3]).frame.box.setSize(QSizeF(200, 200)); // a dot a module
        document.setObjects(objects);
        LabelRenderer renderer(document);
        renderer.show({QStringLiteral("SKU-0042")});
        const QString warning = SaveRun(document, renderer, m_dir.filePath("guard.png")).moduleWarning();
        QVERIFY2(warning.startsWith("Object 4 (Symbol): ") && warning.contains("0.085 mm"),
                 qPrintable(warning));
    }

    // A negative size is refused by the document itself.
    void negativeSize()
    {
        LabelDocument document;
        QVERIFY_THROWS_EXCEPTION(
            QuillError, document.setObjects({document.symbol(), BoxObject{.frame = {QRectF(0, 0, -1, 9)}}}));
        QCOMPARE(document.objects().size(), size_t(1));
    }
};

QTEST_MAIN(LabelObjectsTest)
#include "tst_labelobjects.moc"
