// Metafiles written by our device, walked record by record with an independent
// parser and read by libUEMF. What they show is read back by libwmf's wmf2svg and
// wmf2gd with the component's output rows, at every quarter turn and with text.
#include "Decode.h"
#include "WmfDevice.h"

#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <QtTest>
#include <uwmf.h>

namespace {
quint16 word(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 dword(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }

// The area Windows fills for the shapes of a metafile, by its rules, from the
// records as libUEMF reads them: a polygon up to its corners, a rectangle
// without a pen one unit short on the right and at the bottom. Empty when
// libUEMF refuses the file.
QRect windowsFill(const QByteArray &wmf)
{
    const char *at = wmf.constData();
    const char *const end = at + wmf.size();
    U_WMRPLACEABLE placeable{};
    U_WMRHEADER header{};
    const int headerBytes = wmfheader_get(at, end, &placeable, &header);
    if (headerBytes <= 0)
        return {};
    constexpr int kFree = -1;
    constexpr int kNoPen = -2;
    QList<int> table(header.nObjects, kFree); // a pen's style, or what else the slot holds
    int penStyle = U_PS_SOLID;
    QRect filled;
    for (at += headerBytes; at < end;) {
        const size_t size = U_WMRRECSAFE_get(at, end);
        const int type = size ? U_WMRTYPE(at) : int(U_WMR_EOF);
        const qsizetype freeSlot = table.indexOf(kFree); // objects take the lowest free slot
        U_PEN pen{};
        U_RECT16 r{};
        uint16_t object = 0;
        uint16_t count = 0;
        const char *points = nullptr;
        if (size == 0 || type == U_WMR_EOF)
            return size ? filled : QRect();
        if (type == U_WMR_CREATEPENINDIRECT && U_WMRCREATEPENINDIRECT_get(at, &pen) && freeSlot >= 0)
            table[freeSlot] = pen.Style;
        if ((type == U_WMR_CREATEBRUSHINDIRECT || type == U_WMR_CREATEFONTINDIRECT) && freeSlot >= 0)
            table[freeSlot] = kNoPen;
        if (type == U_WMR_DELETEOBJECT && U_WMRDELETEOBJECT_get(at, &object) && object < table.size())
            table[object] = kFree;
        if (type == U_WMR_SELECTOBJECT && U_WMRSELECTOBJECT_get(at, &object) && table.value(object) >= 0)
            penStyle = table[object];
        const int shortBy = penStyle == U_PS_NULL ? 1 : 0;
        if (type == U_WMR_RECTANGLE && U_WMRRECTANGLE_get(at, &r))
            filled |= QRect(QPoint(r.left, r.top), QPoint(r.right - 1 - shortBy, r.bottom - 1 - shortBy));
        if (type == U_WMR_POLYGON && U_WMRPOLYGON_get(at, &count, &points)) {
            QPolygon polygon;
            for (int i = 0; i < count; ++i) {
                U_POINT16 p{};
                std::memcpy(&p, points + i * sizeof p, sizeof p);
                polygon << QPoint(p.x, p.y);
            }
            filled |= polygon.boundingRect().adjusted(0, 0, -1, -1);
        }
        at += size;
    }
    return {};
}
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
    }

    void barsFillAsWindowsDrawsThem_data()
    {
        QTest::addColumn<QRect>("bar");
        QTest::addColumn<int>("quarterTurns");
        QTest::addColumn<QRect>("filled");
        QTest::newRow("one unit wide") << QRect(5, 4, 1, 20) << 0 << QRect(5, 4, 1, 20);
        QTest::newRow("one unit wide, turned") << QRect(5, 4, 1, 20) << 1 << QRect(16, 5, 20, 1);
    }

    // Bars keep their width where Windows draws the file.
    void barsFillAsWindowsDrawsThem()
    {
        QFETCH(QRect, bar);
        QFETCH(int, quarterTurns);
        QFETCH(QRect, filled);
        WmfDevice device(40, 40, 96);
        QPainter p(&device);
        if (quarterTurns == 1) {
            p.translate(40, 0);
            p.rotate(90);
        }
        p.fillRect(bar, Qt::black);
        QVERIFY(p.end());
        QCOMPARE(windowsFill(device.bytes()), filled);
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
