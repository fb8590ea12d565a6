// Picture writers, the shared common dialog and the clipboard.
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

// Answers the file dialogs from a script and remembers what it was asked.
class ScriptedDialogs : public DialogProvider {
public:
    struct Answer {
        std::optional<QString> name; // nullopt: the user cancels
        int filterIndex;             // what the user picked, even when cancelling
    };
    struct Asked {
        QString filter, defaultExt, fileName;
        int filterIndex;
    };
    std::deque<Answer> answers;
    QList<Asked> asked;

    std::optional<QString> openFile(const QString &filter, const QString &defaultExt, const QString &fileName,
                                    int &filterIndex) override
    {
        return answer(filter, defaultExt, fileName, filterIndex);
    }
    std::optional<QString> saveFile(const QString &filter, const QString &defaultExt, const QString &fileName,
                                    int &filterIndex) override
    {
        return answer(filter, defaultExt, fileName, filterIndex);
    }
    bool printerDialog(PrinterObject &) override { return false; }
    void messageBox(const QString &, const QString &) override {}

private:
    std::optional<QString> answer(const QString &filter, const QString &defaultExt, const QString &fileName,
                                  int &filterIndex)
    {
        asked << Asked{filter, defaultExt, fileName, filterIndex};
        const Answer a = answers.front();
        answers.pop_front();
        filterIndex = a.filterIndex;
        return a.name;
    }
};

QImage testPattern(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor((x * 37) % 256, (y * 59) % 256, (x * y * 13) % 256));
    return image;
}

} // namespace

class TestServices : public QObject {
    Q_OBJECT
private slots:
    void bmpReadsBack_data();
    void bmpReadsBack();
    void bmpTransparentIsWhite();
    void writeFailureLeavesNothing_data();
    void writeFailureLeavesNothing();
    void commonDialogPersists();
    void clipboardHoldsSeveralFormats();
    void deviceHandles();
};

void TestServices::bmpReadsBack_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("format");
    // Widths 1, 2, 3 and 5 need 3, 2, 3 and 1 bytes of row padding.
    for (int width : {1, 2, 3, 5, 64})
        QTest::newRow(qPrintable(QStringLiteral("%1 wide").arg(width))) << QSize(width, 7) << int(QImage::Format_RGB32);
    QTest::newRow("indexed source") << QSize(9, 4) << int(QImage::Format_Indexed8);
    QTest::newRow("888 source") << QSize(11, 3) << int(QImage::Format_RGB888);
}

void TestServices::bmpReadsBack()
{
    QFETCH(QSize, size);
    QFETCH(int, format);
    QImage image = testPattern(size.width(), size.height(), QImage::Format_RGB32);
    if (format != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format(format));
    image.setDotsPerMeterX(11811); // 300 dpi
    image.setDotsPerMeterY(3780);  // 96 dpi
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    PictureWriters::writeBmp(image, path);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("bmp"));
    const QImage back = reader.read();
    QVERIFY2(!back.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(back.size(), size);
    QCOMPARE(back.dotsPerMeterX(), 11811);
    QCOMPARE(back.dotsPerMeterY(), 3780);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            QCOMPARE(back.pixel(x, y) & 0xFFFFFF, image.pixel(x, y) & 0xFFFFFF);
}

void TestServices::bmpTransparentIsWhite()
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(1, 1, Qt::black);
    const QImage back = QImage::fromData(PictureWriters::bmpBytes(image), "BMP");
    QCOMPARE(back.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(back.pixelColor(1, 1), QColor(Qt::black));
}

void TestServices::writeFailureLeavesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QImage>("image");
    QTest::addColumn<bool>("png");
    const QImage good = testPattern(3, 3, QImage::Format_RGB32);
    QTest::newRow("bmp into a missing folder") << "no such folder/picture.bmp" << good << false;
    QTest::newRow("png into a missing folder") << "no such folder/picture.png" << good << true;
    QTest::newRow("empty picture as bmp") << "empty.bmp" << QImage() << false;
    QTest::newRow("empty picture as png") << "empty.png" << QImage() << true;
}

void TestServices::writeFailureLeavesNothing()
{
    QFETCH(QString, name);
    QFETCH(QImage, image);
    QFETCH(bool, png);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    try {
        png ? PictureWriters::writePng(image, path) : PictureWriters::writeBmp(image, path);
        QFAIL("the write reported success");
    } catch (const QuillError &error) {
        QVERIFY(error.description().contains(path));
    }
    QVERIFY(!QFile::exists(path));
}

void TestServices::commonDialogPersists()
{
    ScriptedDialogs dialogs;
    DialogProvider::install(&dialogs);
    dialogs.answers = {{QStringLiteral("/data/first.bmp"), 2},
                       {std::nullopt, 4},
                       {QStringLiteral("/data/list.txt"), 1},
                       {QStringLiteral("/data/second.wmf"), 3}};
    CommonDialog dialog;
    dialog.Filter = QStringLiteral("Bitmap files (*.bmp)|*.bmp|Windows metafiles (*.wmf)|*.wmf");
    dialog.DefaultExt = QStringLiteral("bmp");

    QVERIFY(dialog.ShowSave());
    QCOMPARE(dialog.FileName, QStringLiteral("/data/first.bmp"));
    QCOMPARE(dialog.FilterIndex, 2);

    QVERIFY(!dialog.ShowSave()); // cancelled: nothing changes
    QCOMPARE(dialog.FileName, QStringLiteral("/data/first.bmp"));
    QCOMPARE(dialog.FilterIndex, 2);

    QVERIFY(dialog.ShowOpen()); // the same control serves the import browse
    QCOMPARE(dialog.FileName, QStringLiteral("/data/list.txt"));

    QVERIFY(dialog.ShowSave());
    DialogProvider::install(nullptr);

    QCOMPARE(dialogs.asked.size(), 4);
    QCOMPARE(dialogs.asked[0].fileName, QString());
    QCOMPARE(dialogs.asked[0].filterIndex, 1);
    QCOMPARE(dialogs.asked[0].defaultExt, QStringLiteral("bmp"));
    QCOMPARE(dialogs.asked[0].filter, dialog.Filter);
    QCOMPARE(dialogs.asked[1].fileName, QStringLiteral("/data/first.bmp"));
    QCOMPARE(dialogs.asked[1].filterIndex, 2);
    QCOMPARE(dialogs.asked[2].fileName, QStringLiteral("/data/first.bmp"));
    QCOMPARE(dialogs.asked[2].filterIndex, 2);
    QCOMPARE(dialogs.asked[3].fileName, QStringLiteral("/data/list.txt"));
    QCOMPARE(dialogs.asked[3].filterIndex, 1);
    QCOMPARE(dialog.FileName, QStringLiteral("/data/second.wmf"));
    QCOMPARE(dialog.FilterIndex, 3);
}

void TestServices::clipboardHoldsSeveralFormats()
{
    const QByteArray wmf("\xD7\xCD\xC6\x9A metafile bytes \0 with a zero", 32);
    const QByteArray png("\x89PNG fake");
    Clipboard::setData({{QString::fromLatin1(Clipboard::kWmfMime), wmf},
                        {QStringLiteral("image/png"), png},
                        {QStringLiteral("text/plain"), QByteArray("0123456789")}});
    QVERIFY(Clipboard::hasFormat(QString::fromLatin1(Clipboard::kWmfMime)));
    QCOMPARE(Clipboard::data(QString::fromLatin1(Clipboard::kWmfMime)), wmf);
    QCOMPARE(Clipboard::data(QStringLiteral("image/png")), png);
    QCOMPARE(Clipboard::data(QStringLiteral("text/plain")), QByteArray("0123456789"));
    QVERIFY(!Clipboard::hasFormat(QStringLiteral("image/bmp")));

    // A new content replaces all the formats of the old one.
    Clipboard::setData({{QStringLiteral("text/plain"), QByteArray("next")}});
    QVERIFY(!Clipboard::hasFormat(QString::fromLatin1(Clipboard::kWmfMime)));
    QCOMPARE(Clipboard::data(QString::fromLatin1(Clipboard::kWmfMime)), QByteArray());
    QCOMPARE(Clipboard::data(QStringLiteral("text/plain")), QByteArray("next"));
}

void TestServices::deviceHandles()
{
    QImage image(8, 8, QImage::Format_RGB32);
    QPainter first(&image);
    QPainter second;
    const std::int32_t a = DeviceRegistry::add(&first);
    const std::int32_t b = DeviceRegistry::add(&second);
    QVERIFY(a != 0 && b != 0 && a != b);
    QCOMPARE(DeviceRegistry::resolve(a), &first);
    QCOMPARE(DeviceRegistry::resolve(b), &second);
    DeviceRegistry::remove(a);
    QCOMPARE(DeviceRegistry::resolve(a), nullptr);
    QCOMPARE(DeviceRegistry::resolve(b), &second);
    // A handle, once gone, is not given to another surface.
    const std::int32_t c = DeviceRegistry::add(&first);
    QVERIFY(c != a);
    DeviceRegistry::remove(b);
    DeviceRegistry::remove(c);
    DeviceRegistry::remove(a); // twice: harmless
    QCOMPARE(DeviceRegistry::resolve(0), nullptr);
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
