// The toolbar's pictures on a screen of twice the pixels, in a light and a dark palette.
#include "Artwork.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QSvgRenderer>
#include <QtTest>

class TestArtwork : public QObject {
    Q_OBJECT
private slots:
    void toolbarPicture_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<QPalette>("palette");
        const QPalette light = QApplication::setStyle("Fusion")->standardPalette();
        QPalette dark = light;
        dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::WindowText, Qt::white);
        const char *const names[] = {"copy", "save", "print"};
        for (int picture = 0; picture < 3; ++picture) {
            QTest::addRow("%s, light", names[picture]) << picture << light;
            QTest::addRow("%s, dark", names[picture]) << picture << dark;
        }
    }

    // Drawn at 32 device pixels straight from the vector source, which has detail
    // a 16-pixel picture scaled up would lose; every opaque pixel on the edge of
    // the picture stands out from the toolbar's background by 3:1 at least (WCAG 2).
    void toolbarPicture()
    {
        QFETCH(int, picture);
        QFETCH(QPalette, palette);
        const QIcon icon = Artwork::toolbarIcon(Artwork::ToolbarPicture(picture));
        QApplication::setPalette(palette); // after the icon is made: it follows a change
        const QImage drawn = icon.pixmap(QSize(16, 16), 2.0).toImage();
        QImage source(32, 32, QImage::Format_ARGB32_Premultiplied);
        source.fill(Qt::transparent);
        QPainter painter(&source);
        QSvgRenderer(Artwork::toolbarSvg(Artwork::ToolbarPicture(picture), palette)).render(&painter);
        painter.end();
        source.setDevicePixelRatio(2.0);
        QCOMPARE(drawn, source);
        QVERIFY(icon.pixmap(QSize(16, 16), 1.0).toImage().scaled(32, 32) != drawn);
        const auto linear
            = [](float v) { return v <= 0.04045f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        const auto luminance = [&](const QColor &c) {
            return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
        };
        const auto ink
            = [&](int x, int y) { return drawn.rect().contains(x, y) && qAlpha(drawn.pixel(x, y)) == 255; };
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (!ink(x, y) || (ink(x - 1, y) && ink(x + 1, y) && ink(x, y - 1) && ink(x, y + 1)))
                    continue;
                const double ratio = (luminance(drawn.pixelColor(x, y)) + 0.05)
                    / (luminance(palette.color(QPalette::Window)) + 0.05);
                QVERIFY2(std::max(ratio, 1 / ratio) >= 3.0,
                         qPrintable(QStringLiteral("at %1, %2").arg(x).arg(y)));
            }
        }
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
