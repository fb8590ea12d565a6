// Metafiles written by our device, read back by an outside reader (wmf2svg of
// libwmf) and walked record by record with an independent parser.
#include "Decode.h"
#include "WmfDevice.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>
#include <functional>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 200;

struct SvgShape {
    QString kind; // "rect", "polygon", "polyline" or "text"
    QRectF box;   // shapes: bounding box; text: origin in topLeft
    QString fill;
    QString text;
    double angle = 0; // text: clockwise degrees from the SVG transform
    double fontSize = 0;
};

using Drawing = std::function<void(QPainter &)>;

QByteArray record(const Drawing &draw)
{
    WmfDevice device(kWidth, kHeight, 96);
    QPainter painter(&device);
    painter.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);
    draw(painter);
    painter.end();
    return device.bytes();
}

QString styleValue(const QString &style, const QString &name)
{
    const QRegularExpression re(QStringLiteral("(?:^|;)\\s*%1:\\s*([^;]+)").arg(name));
    const auto m = re.match(style);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

QList<SvgShape> readSvg(const QByteArray &wmf)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("picture.wmf"));
    const QString out = dir.filePath(QStringLiteral("picture.svg"));
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly) || file.write(wmf) != wmf.size())
        return {};
    file.close();
    QProcess reader;
    reader.start(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), out, in});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        qWarning() << "wmf2svg failed:" << reader.readAllStandardError();
        return {};
    }
    QFile svg(out);
    if (!svg.open(QIODevice::ReadOnly))
        return {};
    // wmf2svg copies the text's 8-bit bytes into the SVG as they are, without
    // escaping: decode them as the code page they are in and escape them here.
    QString content = QString::fromLatin1(svg.readAll());
    const QRegularExpression textElement(QStringLiteral("(<text[^>]*>)(.*?)(</text>)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QString escaped;
    qsizetype last = 0;
    for (auto it = textElement.globalMatch(content); it.hasNext();) {
        const auto m = it.next();
        escaped += content.mid(last, m.capturedStart() - last) + m.captured(1) + m.captured(2).toHtmlEscaped()
            + m.captured(3);
        last = m.capturedEnd();
    }
    escaped += content.mid(last);
    QList<SvgShape> shapes;
    QXmlStreamReader xml(escaped);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        SvgShape shape;
        shape.kind = xml.name().toString();
        const QString style = a.value(QStringLiteral("style")).toString();
        shape.fill = styleValue(style, QStringLiteral("fill"));
        if (shape.kind == u"rect") {
            shape.box = QRectF(a.value(QStringLiteral("x")).toDouble(), a.value(QStringLiteral("y")).toDouble(), a.value(QStringLiteral("width")).toDouble(),
                               a.value(QStringLiteral("height")).toDouble());
        } else if (shape.kind == u"polygon" || shape.kind == u"polyline") {
            QPolygonF points;
            const QStringList pairs = a.value(QStringLiteral("points")).toString().simplified().split(u' ', Qt::SkipEmptyParts);
            for (const QString &pair : pairs)
                points << QPointF(pair.section(u',', 0, 0).toDouble(), pair.section(u',', 1, 1).toDouble());
            shape.box = points.boundingRect();
        } else if (shape.kind == u"text") {
            // transform="matrix(a b c d e f)": the origin is (e, f), the angle atan2(b, a).
            const QString matrix = a.value(QStringLiteral("transform")).toString();
            const QStringList m = matrix.mid(matrix.indexOf(u'(') + 1).chopped(1).split(u' ', Qt::SkipEmptyParts);
            if (m.size() == 6) {
                shape.box = QRectF(m[4].toDouble(), m[5].toDouble(), 0, 0);
                shape.angle = std::atan2(m[1].toDouble(), m[0].toDouble()) * 180 / M_PI;
            }
            shape.fontSize = styleValue(style, QStringLiteral("font-size")).toDouble();
            shape.text = xml.readElementText().trimmed();
        } else {
            continue;
        }
        shapes << shape;
    }
    return shapes;
}

// The picture as pixels, drawn by libwmf's own renderer.
QImage rasterise(const QByteArray &wmf)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("picture.wmf"));
    const QString out = dir.filePath(QStringLiteral("picture.png"));
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly) || file.write(wmf) != wmf.size())
        return {};
    file.close();
    QProcess renderer;
    renderer.start(QStringLiteral("wmf2gd"), {QStringLiteral("-o"), out, in});
    if (!renderer.waitForFinished(30000) || renderer.exitCode() != 0)
        return {};
    return QImage(out);
}

// The reader fits the picture into its view with a little slack; a unit
// or two of difference is the reader's, not ours.
bool near(double a, double b) { return std::abs(a - b) <= 2.0; }
bool near(const QRectF &a, const QRectF &b)
{
    return near(a.left(), b.left()) && near(a.top(), b.top()) && near(a.right(), b.right())
        && near(a.bottom(), b.bottom());
}

quint16 word(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}
quint32 dword(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

} // namespace

class TestWmf : public QObject {
    Q_OBJECT
private slots:
    void shapesLandWhereDrawn_data();
    void shapesLandWhereDrawn();
    void textLandsWhereDrawn_data();
    void textLandsWhereDrawn();
    void symbolsSurviveRasterising_data();
    void symbolsSurviveRasterising();
    void fileStructureIsSound_data();
    void fileStructureIsSound();
};

void TestWmf::shapesLandWhereDrawn_data()
{
    QTest::addColumn<Drawing>("draw");
    QTest::addColumn<QRectF>("expected");
    QTest::addColumn<QString>("fill");

    QTest::newRow("fillRect") << Drawing([](QPainter &p) { p.fillRect(QRect(10, 20, 30, 40), Qt::black); })
                              << QRectF(10, 20, 30, 40) << "black";
    QTest::newRow("drawRect with brush") << Drawing([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 0, 0));
        p.drawRect(QRectF(100.4, 50, 20, 100));
    }) << QRectF(100, 50, 20, 100) << "red";
    // A bar 50 long and 10 wide, placed at (300, 50) and turned; where it goes
    // is what the same drawing gives on an image.
    for (int angle : {90, 180, 270}) {
        QTransform t;
        t.translate(300, 100);
        t.rotate(angle);
        QTest::newRow(qPrintable(QStringLiteral("fillRect turned %1").arg(angle)))
            << Drawing([t](QPainter &p) {
                   p.setTransform(t);
                   p.fillRect(QRect(0, 0, 50, 10), Qt::blue);
               })
            << t.mapRect(QRectF(0, 0, 50, 10)) << "blue";
    }
    QTest::newRow("scaled") << Drawing([](QPainter &p) {
        p.scale(2, 2);
        p.fillRect(QRect(10, 10, 5, 20), Qt::black);
    }) << QRectF(20, 20, 10, 40) << "black";
    QTest::newRow("polygon") << Drawing([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::green);
        p.drawPolygon(QPolygon({QPoint(100, 100), QPoint(150, 100), QPoint(125, 150)}));
    }) << QRectF(100, 100, 50, 50) << "lime";
    QTest::newRow("path") << Drawing([](QPainter &p) {
        QPainterPath path;
        path.moveTo(200, 120);
        path.lineTo(260, 120);
        path.lineTo(260, 180);
        path.closeSubpath();
        p.fillPath(path, Qt::black);
    }) << QRectF(200, 120, 60, 60) << "black";
    QTest::newRow("stroked open path") << Drawing([](QPainter &p) {
        QPainterPath path;
        path.moveTo(10, 10);
        path.lineTo(100, 50);
        p.setPen(QPen(Qt::black, 2));
        p.drawPath(path);
    }) << QRectF(10, 10, 90, 40) << ""; // the reader gives lines no fill style
    QTest::newRow("transparent fill draws nothing") << Drawing([](QPainter &p) {
        p.fillRect(QRect(10, 10, 50, 50), Qt::transparent);
        p.setPen(Qt::transparent);
        p.drawText(QPointF(10, 10), QStringLiteral("unseen"));
    }) << QRectF() << QString();
    QTest::newRow("rect at 45 degrees") << Drawing([](QPainter &p) {
        p.translate(200, 100);
        p.rotate(45);
        p.fillRect(QRectF(-20, -20, 40, 40), Qt::black);
    }) << QRectF(200 - 28.28, 100 - 28.28, 56.57, 56.57) << "black";
}

void TestWmf::shapesLandWhereDrawn()
{
    QFETCH(Drawing, draw);
    QFETCH(QRectF, expected);
    QFETCH(QString, fill);
    const QList<SvgShape> shapes = readSvg(record(draw));
    QVERIFY2(!shapes.isEmpty(), "the reader found nothing");
    // The background first, over the whole picture.
    QVERIFY(near(shapes[0].box, QRectF(0, 0, kWidth, kHeight)));
    QCOMPARE(shapes[0].fill, QStringLiteral("white"));
    if (expected.isNull()) {
        QCOMPARE(shapes.size(), 1);
        return;
    }
    QCOMPARE(shapes.size(), 2);
    QVERIFY2(near(shapes[1].box, expected),
             qPrintable(QStringLiteral("got %1,%2 %3x%4")
                            .arg(shapes[1].box.x())
                            .arg(shapes[1].box.y())
                            .arg(shapes[1].box.width())
                            .arg(shapes[1].box.height())));
    QCOMPARE(shapes[1].fill, fill);
}

void TestWmf::textLandsWhereDrawn_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("points"); // 0: a 20-pixel font; else its size in points
    QTest::newRow("level") << 0 << QPointF(50, 100) << "0123456789" << 0;
    QTest::newRow("turned 90") << 90 << QPointF(300, 50) << "ABC-42" << 0;
    QTest::newRow("turned 180") << 180 << QPointF(300, 150) << "x y" << 0;
    QTest::newRow("turned 270") << 270 << QPointF(100, 150) << "Label" << 0;
    QTest::newRow("latin-1") << 0 << QPointF(20, 40) << QStringLiteral("Caf\u00e9 \u00a7 & <b>") << 0;
    // 15 points at 96 dpi are 20 pixels.
    QTest::newRow("size in points") << 0 << QPointF(20, 60) << "pt" << 15;
    QTest::newRow("points, turned") << 90 << QPointF(200, 20) << "pt" << 15;
}

void TestWmf::textLandsWhereDrawn()
{
    QFETCH(int, angle);
    QFETCH(QPointF, origin);
    QFETCH(QString, text);
    QFETCH(int, points);
    const QList<SvgShape> shapes = readSvg(record([&](QPainter &p) {
        QFont font(QStringLiteral("Liberation Sans"));
        if (points)
            font.setPointSize(points);
        else
            font.setPixelSize(20);
        p.setFont(font);
        p.setPen(Qt::black);
        p.translate(origin);
        p.rotate(angle);
        p.drawText(QPointF(0, 0), text);
    }));
    QCOMPARE(shapes.size(), 2);
    const SvgShape &t = shapes[1];
    QCOMPARE(t.kind, QStringLiteral("text"));
    QCOMPARE(t.text, text);
    QVERIFY2(near(t.box.topLeft().x(), origin.x()) && near(t.box.topLeft().y(), origin.y()),
             qPrintable(QStringLiteral("text at %1,%2").arg(t.box.x()).arg(t.box.y())));
    double got = std::fmod(t.angle + 360.0, 360.0);
    QVERIFY2(std::abs(got - angle) < 0.5, qPrintable(QStringLiteral("angle %1").arg(got)));
    QVERIFY2(near(t.fontSize, 20), qPrintable(QStringLiteral("size %1").arg(t.fontSize)));
}

void TestWmf::symbolsSurviveRasterising_data()
{
    QTest::addColumn<int>("format"); // ZXing::BarcodeFormat
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("angle");
    for (int angle : {0, 90, 180, 270}) {
        QTest::newRow(qPrintable(QStringLiteral("Code 128 at %1").arg(angle)))
            << int(ZXing::BarcodeFormat::Code128) << "QUILL-0123" << angle;
        QTest::newRow(qPrintable(QStringLiteral("QR at %1").arg(angle)))
            << int(ZXing::BarcodeFormat::QRCode) << "Quillmark 2" << angle;
    }
}

// A symbol drawn module by module into a metafile must still read once the
// outside reader has turned the metafile into pixels: a bar one unit off
// anywhere spoils it.
void TestWmf::symbolsSurviveRasterising()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(int, angle);
    const auto barcodeFormat = ZXing::BarcodeFormat(format);
    const bool linear = barcodeFormat == ZXing::BarcodeFormat::Code128;
    const ZXing::BitMatrix matrix =
        ZXing::MultiFormatWriter(barcodeFormat).setMargin(0).encode(text.toStdString(), 0, linear ? 1 : 0);
    constexpr int kModule = 4;
    constexpr int kQuiet = 12 * kModule;
    const int symbolWidth = matrix.width() * kModule;
    const int symbolHeight = linear ? 60 : matrix.height() * kModule;
    const bool upright = angle == 90 || angle == 270;
    const QSize picture = upright ? QSize(symbolHeight + 2 * kQuiet, symbolWidth + 2 * kQuiet)
                                  : QSize(symbolWidth + 2 * kQuiet, symbolHeight + 2 * kQuiet);
    WmfDevice device(picture.width(), picture.height(), 96);
    QPainter painter(&device);
    painter.fillRect(QRect(QPoint(0, 0), picture), Qt::white);
    painter.translate(picture.width() / 2.0, picture.height() / 2.0);
    painter.rotate(angle);
    painter.translate(-symbolWidth / 2.0, -symbolHeight / 2.0);
    for (int y = 0; y < (linear ? 1 : matrix.height()); ++y)
        for (int x = 0; x < matrix.width(); ++x)
            if (matrix.get(x, y))
                painter.fillRect(QRect(x * kModule, y * kModule, kModule, linear ? symbolHeight : kModule),
                                 Qt::black);
    painter.end();

    const QImage image = rasterise(device.bytes());
    QVERIFY2(!image.isNull(), "wmf2gd gave no picture");
    QCOMPARE(Decode::zxingOne(image), text);
}

void TestWmf::fileStructureIsSound_data()
{
    QTest::addColumn<Drawing>("draw");
    QTest::newRow("background only") << Drawing([](QPainter &) {});
    QTest::newRow("many colours and fonts") << Drawing([](QPainter &p) {
        for (int i = 0; i < 40; ++i) {
            p.fillRect(QRect(i * 5, 0, 4, 50), QColor(i * 6, 0, 255 - i * 6));
            QFont font(QStringLiteral("Liberation Serif"));
            font.setPixelSize(8 + i);
            font.setBold(i % 2);
            p.setFont(font);
            p.setPen(QColor(0, i * 6, 0));
            p.drawText(QPointF(10, 100 + i), QString::number(i));
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(200, i, 10, 10));
            p.drawLine(0, 0, 100, i);
        }
    });
}

// An outside check of what a strict reader relies on: the Aldus checksum, the
// sizes in the header, every record inside the file, object handles inside
// the table and none left behind at the end.
void TestWmf::fileStructureIsSound()
{
    QFETCH(Drawing, draw);
    const QByteArray wmf = record(draw);
    QVERIFY(wmf.size() > 22 + 18 + 6);
    QCOMPARE(dword(wmf, 0), 0x9AC6CDD7u);
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= word(wmf, 2 * i);
    QCOMPARE(word(wmf, 20), sum);
    QCOMPARE(qint16(word(wmf, 6)), qint16(0));
    QCOMPARE(qint16(word(wmf, 10)), qint16(kWidth));
    QCOMPARE(qint16(word(wmf, 12)), qint16(kHeight));
    QCOMPARE(word(wmf, 14), quint16(96));

    const QByteArray meta = wmf.mid(22);
    QCOMPARE(word(meta, 2), quint16(9));
    QCOMPARE(qsizetype(dword(meta, 6)) * 2, meta.size());
    const quint16 tableSize = word(meta, 10);
    const quint32 maxRecord = dword(meta, 12);

    QList<bool> live(tableSize, false);
    qsizetype at = 18;
    quint32 largest = 0;
    bool sawEof = false;
    while (at < meta.size()) {
        const quint32 words = dword(meta, at);
        const quint16 function = word(meta, at + 4);
        QVERIFY2(words >= 3 && at + qsizetype(words) * 2 <= meta.size(), "record runs past the file");
        largest = std::max(largest, words);
        if (function == 0x0000) {
            sawEof = true;
            QCOMPARE(at + 6, meta.size());
            break;
        }
        if (function == 0x02FA || function == 0x02FB || function == 0x02FC) {
            auto slot = std::find(live.begin(), live.end(), false);
            QVERIFY2(slot != live.end(), "more live objects than the header's table holds");
            *slot = true;
        } else if (function == 0x01F0 || function == 0x012D) {
            const quint16 handle = word(meta, at + 6);
            QVERIFY2(handle < tableSize && live[handle], "handle of no live object");
            if (function == 0x01F0)
                live[handle] = false;
        }
        at += qsizetype(words) * 2;
    }
    QVERIFY(sawEof);
    QCOMPARE(largest, maxRecord);
    QCOMPARE(live.count(true), 0);
}

QTEST_MAIN(TestWmf)
#include "tst_wmf.moc"
