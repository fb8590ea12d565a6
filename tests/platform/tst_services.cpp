// Picture writers, the shared common dialog, the clipboard and device handles.
#include "Clipboard.h"
#include "DeviceRegistry.h"
#include "Dialogs.h"
#include "PictureWriters.h"
#include "QuillError.h"

#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <deque>

namespace {

// Answers the file dialogs from a script and records what each was asked.
struct ScriptedDialogs : DialogProvider {
    struct Answer {
        std::optional<QString> name; // nullopt: the user cancels
        int filterIndex;             // what the user picked, even when cancelling
    };
    using Asked = std::tuple<QString, QString, QString, int>; // filter, default extension, file name, filter index
    std::deque<Answer> answers;
    QList<Asked> asked;

    std::optional<QString> openFile(const QString &f, const QString &e, const QString &n, int &i) override
    {
        return saveFile(f, e, n, i);
    }
    std::optional<QString> saveFile(const QString &f, const QString &e, const QString &n, int &i) override
    {
        asked << Asked{f, e, n, i};
        const Answer a = answers.front();
        answers.pop_front();
        i = a.filterIndex;
        return a.name;
    }
    bool printerDialog(PrinterObject &) override { return false; }
    void messageBox(const QString &, const QString &) override {}
};

QImage testPattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, QColor((x * 37) % 256, (y * 59) % 256, (x * y * 13) % 256));
    return image;
}

} // namespace

class TestServices : public QObject {
    Q_OBJECT
private slots:
    void bmpReadsBack_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("format");
        // Widths 1, 2, 3 and 5 need 3, 2, 3 and 1 bytes of row padding.
        for (int width : {1, 2, 3, 5, 64})
            QTest::addRow("%d wide", width) << QSize(width, 7) << int(QImage::Format_RGB32);
        QTest::newRow("indexed source") << QSize(9, 4) << int(QImage::Format_Indexed8);
        QTest::newRow("888 source") << QSize(11, 3) << int(QImage::Format_RGB888);
        QTest::newRow("transparent shows white") << QSize(4, 2) << int(QImage::Format_ARGB32);
    }

    void bmpReadsBack()
    {
        QFETCH(QSize, size);
        QFETCH(int, format);
        QImage image = testPattern(size).convertToFormat(QImage::Format(format));
        if (image.hasAlphaChannel())
            image.setPixelColor(1, 1, Qt::transparent);
        image.setDotsPerMeterX(11811); // 300 dpi
        image.setDotsPerMeterY(3780);  // 96 dpi
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        PictureWriters::writeBmp(image, path);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24)); // bits per pixel
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));

        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage back = reader.read();
        QVERIFY2(!back.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(back.size(), size);
        QCOMPARE(back.dotsPerMeterX(), 11811);
        QCOMPARE(back.dotsPerMeterY(), 3780);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb shown = qAlpha(image.pixel(x, y)) ? image.pixel(x, y) : qRgb(255, 255, 255);
                QCOMPARE(back.pixel(x, y) & 0xFFFFFF, shown & 0xFFFFFF);
            }
    }

    void writeFailureLeavesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QImage>("image");
        const QImage good = testPattern(QSize(3, 3));
        QTest::newRow("bmp into a missing folder") << "no such folder/picture.bmp" << good;
        QTest::newRow("png into a missing folder") << "no such folder/picture.png" << good;
        QTest::newRow("empty picture as bmp") << "empty.bmp" << QImage();
        QTest::newRow("empty picture as png") << "empty.png" << QImage();
    }

    void writeFailureLeavesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QImage, image);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        try {
            name.endsWith(u".png") ? PictureWriters::writePng(image, path) : PictureWriters::writeBmp(image, path);
            QFAIL("the write reported success");
        } catch (const QuillError &error) {
            QVERIFY(error.description().contains(path));
        }
        QVERIFY(!QFile::exists(path));
    }

    // One control serves both the save and the import browse: the file name and
    // filter stay from one use to the next, and a cancel changes neither.
    void commonDialogPersists()
    {
        ScriptedDialogs dialogs;
        DialogProvider::install(&dialogs);
        const QString first = QStringLiteral("/data/first.bmp"), list = QStringLiteral("/data/list.txt");
        dialogs.answers = {{first, 2}, {std::nullopt, 4}, {list, 1}, {QStringLiteral("/data/second.wmf"), 3}};
        CommonDialog dialog;
        const QString filter = QStringLiteral("Bitmap files (*.bmp)|*.bmp|Windows metafiles (*.wmf)|*.wmf");
        const QString ext = dialog.DefaultExt = QStringLiteral("bmp");
        dialog.Filter = filter;

        QVERIFY(dialog.ShowSave());
        QVERIFY(!dialog.ShowSave());
        QCOMPARE(dialog.FileName, first);
        QCOMPARE(dialog.FilterIndex, 2);
        QVERIFY(dialog.ShowOpen());
        QCOMPARE(dialog.FileName, list);
        QVERIFY(dialog.ShowSave());
        DialogProvider::install(nullptr);

        QCOMPARE(dialogs.asked, (QList<ScriptedDialogs::Asked>{
                                    {filter, ext, QString(), 1}, {filter, ext, first, 2}, {filter, ext, first, 2},
                                    {filter, ext, list, 1}}));
        QCOMPARE(dialog.FileName, QStringLiteral("/data/second.wmf"));
        QCOMPARE(dialog.FilterIndex, 3);
    }

    void clipboardHoldsSeveralFormats()
    {
        const QString wmfMime = QString::fromLatin1(Clipboard::kWmfMime), text = QStringLiteral("text/plain");
        const QByteArray wmf("\xD7\xCD\xC6\x9A metafile bytes \0 with a zero", 32);
        Clipboard::setData({{wmfMime, wmf}, {QStringLiteral("image/png"), "\x89PNG fake"}, {text, "0123456789"}});
        QVERIFY(Clipboard::hasFormat(wmfMime));
        QCOMPARE(Clipboard::data(wmfMime), wmf);
        QCOMPARE(Clipboard::data(QStringLiteral("image/png")), QByteArray("\x89PNG fake"));
        QCOMPARE(Clipboard::data(text), QByteArray("0123456789"));
        QVERIFY(!Clipboard::hasFormat(QStringLiteral("image/bmp")));

        // A new content replaces all the formats of the old one.
        Clipboard::setData({{text, "next"}});
        QVERIFY(!Clipboard::hasFormat(wmfMime));
        QCOMPARE(Clipboard::data(wmfMime), QByteArray());
        QCOMPARE(Clipboard::data(text), QByteArray("next"));
    }

    void deviceHandles()
    {
        QPainter first, second;
        const std::int32_t a = DeviceRegistry::add(&first), b = DeviceRegistry::add(&second);
        QVERIFY(a != 0 && b != 0 && a != b);
        QCOMPARE(DeviceRegistry::resolve(a), &first);
        DeviceRegistry::remove(a);
        QCOMPARE(DeviceRegistry::resolve(a), nullptr);
        QCOMPARE(DeviceRegistry::resolve(b), &second);
        const std::int32_t c = DeviceRegistry::add(&first); // a handle once gone is not given again
        QVERIFY(c != a);
        DeviceRegistry::remove(b);
        DeviceRegistry::remove(c);
        DeviceRegistry::remove(a); // twice: harmless
        QCOMPARE(DeviceRegistry::resolve(0), nullptr);
    }
};

QTEST_MAIN(TestServices)
#include "tst_services.moc"
