// EPS drawings made through a QPainter, read by Ghostscript: drawn at the
// device's resolution they look as the same painting on an image does, and
// their text comes back as text.
#include "EpsDevice.h"
#include "PostScript.h"

#include "Decode.h"
#include "Drawings.h"
#include "Files.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 160;
constexpr int kDpi = 120;

void draw(QPainter &painter, const QString &scene)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixel(0, 0, qRgb(220, 20, 20));
    quarters.setPixel(1, 0, qRgb(20, 160, 40));
    quarters.setPixel(0, 1, qRgb(30, 60, 220));
    quarters.setPixel(1, 1, qRgb(240, 200, 0));
    if (scene == u"text") {
        painter.translate(60, 150);
        painter.rotate(-90);
        painter.drawText(QPointF(0, 0), QStringLiteral("Hull"));
    } else if (scene == u"image") {
        painter.translate(40, 140);
        painter.rotate(-90);
        painter.drawImage(QRectF(0, 0, 120, 160), quarters);
    } else if (scene == u"frame") { // a box's outline, a label object's
        painter.setPen(QPen(Qt::black, 6));
        painter.drawRect(QRectF(40, 30, 160, 100));
    } else { // the scene's name as text
        painter.drawText(QPointF(10, 60), scene);
    }
}

QByteArray epsOf(const QString &scene)
{
    EpsDevice device(kWidth, kHeight, kDpi);
    QPainter painter(&device);
    draw(painter, scene);
    painter.end();
    return device.bytes();
}

// The drawing written into dir, its path.
QString written(const QTemporaryDir &dir, const QByteArray &eps)
{
    const QString path = dir.filePath(QStringLiteral("drawing.eps"));
    return plant(path, eps) ? path : QString();
}

} // namespace

class TestEpsDevice : public QObject {
    Q_OBJECT

private slots:
    void looksAsPainted_data()
    {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QList<QPoint>>("samples");
        QTest::newRow("turned text") << "text" << QList<QPoint>{{45, 144}, {35, 135}};
        QTest::newRow("turned image") << "image" << QList<QPoint>{{70, 50}, {70, 130}, {170, 50}, {170, 130}};
        QTest::newRow("framed box") << "frame" << QList<QPoint>{{40, 80}, {200, 80}, {120, 130}, {120, 80}};
    }
    void looksAsPainted()
    {
        QFETCH(QString, scene);
        QFETCH(QList<QPoint>, samples);
        QImage painted(kWidth, kHeight, QImage::Format_RGB32);
        painted.fill(Qt::white);
        QPainter painter(&painted);
        draw(painter, scene);
        painter.end();
        QTemporaryDir dir;
        const QImage drawn = Drawings::rasterised(written(dir, epsOf(scene)), kDpi);
        QCOMPARE(drawn.size(), painted.size());
        const QRect inkDrawn = Decode::inkBox(drawn, drawn.rect());
        const QRect inkPainted = Decode::inkBox(painted, painted.rect());
        QVERIFY2((inkDrawn.topLeft() - inkPainted.topLeft()).manhattanLength() <= 3, qPrintable(scene));
        QVERIFY2((inkDrawn.bottomRight() - inkPainted.bottomRight()).manhattanLength() <= 3,
                 qPrintable(scene));
        for (const QPoint &at : samples)
            QVERIFY2(Drawings::near(drawn.pixel(at), painted.pixel(at)),
                     qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
    }

    void textIsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("Latin-1") << QStringLiteral("Größe (12)");
        QTest::newRow("beyond Latin-1") << QStringLiteral("Łódź €5");
    }
    void textIsText()
    {
        QFETCH(QString, text);
        const QByteArray eps = epsOf(text);
        QCOMPARE(epsOf(text), eps);
        QTemporaryDir dir;
        QString read
            = Drawings::tool("gs", {"-q", "-dSAFER", "-sDEVICE=txtwrite", "-o", "-", written(dir, eps)});
        read.remove(QRegularExpression(QStringLiteral("\\s")));
        QCOMPARE(read, QString(text).remove(u' '));
    }

    // Control characters are not drawn; tabs and line breaks are the text's own.
    void controlsDropped()
    {
        QCOMPARE(PostScript::drawnText(QStringLiteral("a\tb\x01\u0085c\r\n")), QStringLiteral("a\tbc\r\n"));
    }
};

QTEST_MAIN(TestEpsDevice)
#include "tst_epsdevice.moc"
