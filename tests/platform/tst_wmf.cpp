// Metafiles written by our device, read back by libwmf's wmf2svg and walked
// record by record with an independent parser. What the component draws
// (rectangles at every quarter turn, text) is read back with its output rows.
#include "Decode.h"
#include "WmfDevice.h"

#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <QtTest>
#include <functional>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 200;
using Drawing = std::function<void(QPainter &)>;
using Decode::SvgShape;

QByteArray record(const Drawing &draw)
{
    WmfDevice device(kWidth, kHeight, 96);
    QPainter painter(&device);
    painter.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);
    draw(painter);
    painter.end();
    return device.bytes();
}

// The reader fits the picture into its view with a little slack; a unit
// or two of difference is the reader's, not ours.
bool near(double a, double b) { return std::abs(a - b) <= 2.0; }
bool near(const QRectF &a, const QRectF &b)
{
    return near(a.left(), b.left()) && near(a.top(), b.top()) && near(a.right(), b.right())
        && near(a.bottom(), b.bottom());
}

quint16 word(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 dword(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }

} // namespace
Q_DECLARE_METATYPE(SvgShape)

class TestWmf : public QObject {
    Q_OBJECT
private slots:
    void shapesLandWhereDrawn_data()
    {
        QTest::addColumn<Drawing>("draw");
        QTest::addColumn<SvgShape>("expected"); // no box, no text: nothing but the background
        const auto shape = [](const char *fill, QRectF box) { return SvgShape{{}, fill, {}, box}; };
        QTest::newRow("rect at 45 degrees") << Drawing([](QPainter &p) {
            p.translate(200, 100);
            p.rotate(45);
            p.fillRect(QRectF(-20, -20, 40, 40), Qt::black);
        }) << shape("black", QRectF(200 - 28.28, 100 - 28.28, 56.57, 56.57));
        QTest::newRow("polygon") << Drawing([](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::green);
            p.drawPolygon(QPolygon({QPoint(100, 100), QPoint(150, 100), QPoint(125, 150)}));
        }) << shape("lime", QRectF(100, 100, 50, 50));
        QTest::newRow("stroked open path") << Drawing([](QPainter &p) {
            QPainterPath path(QPointF(10, 10));
            path.lineTo(100, 50);
            p.setPen(QPen(Qt::black, 2));
            p.drawPath(path);
        }) << shape("", QRectF(10, 10, 90, 40)); // the reader gives lines no fill style
        QTest::newRow("transparent fill draws nothing") << Drawing([](QPainter &p) {
            p.fillRect(QRect(10, 10, 50, 50), Qt::transparent);
            p.setPen(Qt::transparent);
            p.drawText(QPointF(10, 10), QStringLiteral("unseen"));
        }) << shape("", QRectF());
        // Text in Liberation Sans of 20 pixels, or of the given points: 15 at 96 dpi are 20 pixels.
        const auto text = [](const char *name, QPointF origin, int angle, const QString &text, int points = 0) {
            QTest::newRow(name) << Drawing([=](QPainter &p) {
                QFont font(QStringLiteral("Liberation Sans"));
                points ? font.setPointSize(points) : font.setPixelSize(20);
                p.setFont(font);
                p.setPen(Qt::black);
                p.translate(origin);
                p.rotate(angle);
                p.drawText(QPointF(0, 0), text);
            }) << SvgShape{{}, QStringLiteral("black"), text, QRectF(origin, QSizeF()), double(angle), 20};
        };
        text("text turned 90", {300, 50}, 90, QStringLiteral("ABC-42"));
        text("text size in points", {20, 60}, 0, QStringLiteral("pt"), 15);
    }

    void shapesLandWhereDrawn()
    {
        QFETCH(Drawing, draw);
        QFETCH(SvgShape, expected);
        const QList<SvgShape> shapes = Decode::wmfShapes(record(draw));
        QVERIFY2(!shapes.isEmpty(), "the reader found nothing");
        QVERIFY(near(shapes[0].box, QRectF(0, 0, kWidth, kHeight))); // the background first
        QCOMPARE(shapes[0].fill, QStringLiteral("white"));
        QCOMPARE(shapes.size(), expected.box.isNull() && expected.text.isEmpty() ? 1 : 2);
        if (shapes.size() == 1)
            return;
        const SvgShape &got = shapes[1];
        QVERIFY2(near(got.box, expected.box), qPrintable(QDebug::toString(got.box)));
        QCOMPARE(got.fill, expected.fill);
        QCOMPARE(got.text, expected.text);
        const double angle = std::fmod(got.angle + 360.0, 360.0);
        QVERIFY2(std::abs(angle - expected.angle) < 0.5, qPrintable(QStringLiteral("angle %1").arg(angle)));
        QVERIFY2(near(got.fontSize, expected.fontSize), qPrintable(QStringLiteral("size %1").arg(got.fontSize)));
    }

    // What a strict reader relies on: the Aldus checksum, the header's sizes, every
    // record inside the file, object handles inside the table and none left at the end.
    void fileStructureIsSound()
    {
        const QByteArray wmf = record([](QPainter &p) {
            for (int i = 0; i < 40; ++i) { // a new pen, brush and font each time
                p.fillRect(QRect(i * 5, 0, 4, 50), QColor(i * 6, 0, 255 - i * 6));
                p.setFont(QFont(QStringLiteral("Liberation Serif"), 8 + i, i % 2 ? QFont::Bold : QFont::Normal));
                p.setPen(QColor(0, i * 6, 0));
                p.drawText(QPointF(10, 100 + i), QString::number(i));
                p.drawLine(0, 0, 100, i);
            }
        });
        QCOMPARE(dword(wmf, 0), 0x9AC6CDD7u);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= word(wmf, 2 * i);
        QCOMPARE(word(wmf, 20), sum);
        QCOMPARE((QList<int>{word(wmf, 6), word(wmf, 10), word(wmf, 12), word(wmf, 14)}), (QList<int>{0, kWidth, kHeight, 96}));

        const QByteArray meta = wmf.mid(22);
        QCOMPARE(word(meta, 2), quint16(9));
        QCOMPARE(qsizetype(dword(meta, 6)) * 2, meta.size());
        const quint16 tableSize = word(meta, 10);
        QList<bool> live(tableSize, false);
        quint32 largest = 0;
        for (qsizetype at = 18;; at += qsizetype(dword(meta, at)) * 2) {
            QVERIFY2(at + 6 <= meta.size(), "no end-of-file record");
            const quint32 words = dword(meta, at);
            const quint16 function = word(meta, at + 4);
            QVERIFY2(words >= 3 && at + qsizetype(words) * 2 <= meta.size(), "record runs past the file");
            largest = std::max(largest, words);
            if (function == 0x0000) {
                QCOMPARE(at + 6, meta.size());
                break;
            }
            if (function == 0x02FA || function == 0x02FB || function == 0x02FC) { // create pen, font, brush
                auto slot = std::find(live.begin(), live.end(), false);
                QVERIFY2(slot != live.end(), "more live objects than the header's table holds");
                *slot = true;
            } else if (function == 0x01F0 || function == 0x012D) { // delete, select
                const quint16 handle = word(meta, at + 6);
                QVERIFY2(handle < tableSize && live[handle], "handle of no live object");
                if (function == 0x01F0)
                    live[handle] = false;
            }
        }
        QCOMPARE(largest, dword(meta, 12));
        QCOMPARE(live.count(true), 0);
    }
};

QTEST_MAIN(TestWmf)
#include "tst_wmf.moc"
