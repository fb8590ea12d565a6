// Metafiles written by our device, walked record by record with an independent
// parser. What they show is read back by libwmf's wmf2svg and
// wmf2gd with the component's output rows, at every quarter turn and with text.
#include "Decode.h"
#include "WmfDevice.h"

#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <QtTest>

namespace {
quint16 word(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 dword(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }

} // namespace

class TestWmf : public QObject {
    Q_OBJECT
private slots:
    // What a strict reader relies on: the Aldus checksum, the header's sizes (96
    // dpi for a device given none), every record inside the file, object handles
    // inside the table and none left at the end, font angles within one turn.
    void fileStructureIsSound()
    {
        WmfDevice device(400, 200, 0);
        QPainter p(&device);
        for (int i = 0; i < 40; ++i) { // a new pen, brush and font each time
            p.fillRect(QRect(i * 5, 0, 4, 50), QColor(i * 6, 0, 255 - i * 6));
            p.setFont(QFont(QStringLiteral("Liberation Serif"), 8 + i, i % 2 ? QFont::Bold : QFont::Normal));
            p.setPen(QColor(0, i * 6, 0));
            p.drawText(QPointF(10, 100 + i), QString::number(i));
            p.drawLine(0, 0, 100, i);
        }
        p.setPen(QColor(0, 0, 0, 0)); // text in a transparent pen is not seen, and not written
        p.drawText(QPointF(10, 150), QStringLiteral("unseen"));
        QVERIFY(p.end());
        const QByteArray wmf = device.bytes();
        QCOMPARE(dword(wmf, 0), 0x9AC6CDD7u);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= word(wmf, 2 * i);
        QCOMPARE(word(wmf, 20), sum);
        QCOMPARE(int(word(wmf, 6)), 0); // the frame: left, right, bottom, and units an inch
        QCOMPARE(int(word(wmf, 10)), 400);
        QCOMPARE(int(word(wmf, 12)), 200);
        QCOMPARE(int(word(wmf, 14)), 96);

        const QByteArray meta = wmf.mid(22);
        QCOMPARE(word(meta, 2), quint16(9));
        QCOMPARE(qsizetype(dword(meta, 6)) * 2, meta.size());
        const quint16 tableSize = word(meta, 10);
        QList<bool> live(tableSize, false);
        quint32 largest = 0;
        int texts = 0;
        for (qsizetype at = 18;; at += qsizetype(dword(meta, at)) * 2) {
            QVERIFY2(at + 6 <= meta.size(), "no end-of-file record");
            const quint32 words = dword(meta, at);
            const quint16 function = word(meta, at + 4);
            QVERIFY2(words >= 3 && at + qsizetype(words) * 2 <= meta.size(), "record runs past the file");
            largest = std::max(largest, words);
            texts += function == 0x0A32 ? 1 : 0;
            if (function == 0x0000) {
                QCOMPARE(at + 6, meta.size());
                break;
            }
            if (function == 0x02FB) // a font's escapement, in tenths of a degree
                QVERIFY(word(meta, at + 10) < 3600);
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
        QCOMPARE(texts, 40);
    }

    // Shapes keep their outlines when wmf2gd draws them: a ring its hole, a square turned by 45 degrees
    // its corners.
    void shapesKeepTheirOutlines()
    {
        WmfDevice device(180, 90, 96);
        QPainter p(&device);
        QPainterPath ring;
        ring.addRect(0, 0, 90, 90);
        ring.addRect(30, 30, 30, 30);
        p.fillPath(ring, Qt::black);
        p.translate(135, 0);
        p.rotate(45);
        p.fillRect(QRectF(0, 0, 63, 63), Qt::black);
        p.end();
        const QByteArray gd = Decode::wmfTool(QStringLiteral("wmf2gd"), device.bytes());
        const QImage drawn = QImage::fromData(gd).scaled(180, 90);
        QVERIFY(qGray(drawn.pixel(15, 45)) < 128); // the ring
        QVERIFY(qGray(drawn.pixel(45, 45)) > 128); // the hole
        QVERIFY(qGray(drawn.pixel(135, 45)) < 128); // the turned square
        QVERIFY(qGray(drawn.pixel(95, 5)) > 128); // beside its corner
    }

    void longLineInParts_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("records");
        QTest::newRow("as many points as a record holds") << 65535 << 1;
        QTest::newRow("one more") << 65536 << 2;
    }
    // A line of more points than one record holds runs on in records that share their ends.
    void longLineInParts()
    {
        QFETCH(int, points);
        QFETCH(int, records);
        WmfDevice device(400, 200, 96);
        QPainter p(&device);
        QPolygon line;
        for (int i = 0; i < points; ++i)
            line << QPoint(i % 400, i % 200);
        p.drawPolyline(line);
        QVERIFY(p.end());
        const QByteArray meta = device.bytes().mid(22);
        int found = 0;
        for (qsizetype at = 18; word(meta, at + 4) != 0; at += qsizetype(dword(meta, at)) * 2)
            found += word(meta, at + 4) == 0x0325; // a polyline
        QCOMPARE(found, records);
    }
};

QTEST_MAIN(TestWmf)
#include "tst_wmf.moc"
