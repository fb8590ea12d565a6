// The save, copy and About commands driven through a stand-in designer, with the
// written files read back by outside decoders and readers.
#include "Decode.h"
#include "OutputCommands.h"
#include "ScreenMetrics.h"
#include "print_standins.h"

#include <QClipboard>
#include <QDirIterator>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QtTest>

namespace {

constexpr std::int16_t kCode128 = 8;
constexpr std::int16_t kEan13 = 0;

// The first n bytes of a file, or all of it for n < 0.
QByteArray head(const QString &path, int n = -1)
{
    QFile file(path);
    return !file.open(QIODevice::ReadOnly) ? QByteArray() : n < 0 ? file.readAll() : file.read(n);
}

// Every file under a folder, as paths relative to it, sorted.
QStringList filesUnder(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

QString decodeFile(const QString &path) { return Decode::zxingOne(QImageReader(path).read()); }

// A run of three values saved under the name chosen: the files expected in
// order, their first bytes, the symbol's size and, for PNGs, the pixels.
struct Files {
    QString chosen;
    QStringList files;
    QByteArray magic;
    double widthTwips, heightTwips;
    QSize pixels;
};

// A run that fails: the name chosen (relative to the test's folder), the
// symbology, the import lines, a folder made where a file should go, the files
// written before the failure with their values, and what the message names.
struct Failure {
    QString chosen;
    std::int16_t barType;
    QStringList lines;
    QString blocker;
    QStringList kept, named;
};

} // namespace

Q_DECLARE_METATYPE(Files)
Q_DECLARE_METATYPE(Failure)

class SaveRunTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<StandInDialogs> m_dialogs;
    std::unique_ptr<StandInDesigner> m_designer;
    std::unique_ptr<OutputCommands> m_output;
    QString m_out; // the chosen folder of each test

    void importFile(const QStringList &lines)
    {
        QFile file(m_dir.filePath(QStringLiteral("import.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join(u'\n').toUtf8() + "\n");
        m_designer->source(3);
        m_designer->t4 = file.fileName();
    }
    void saveAs(const QString &name)
    {
        m_dialogs->saveAnswer = name.isNull() ? std::nullopt : std::optional<QString>(name);
        m_output->mnuSave_Click();
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        ScreenMetrics::overrideDpi(96, 96);
        m_dialogs = std::make_unique<StandInDialogs>();
        m_designer = std::make_unique<StandInDesigner>();
        m_designer->source(1);
        m_designer->t1 = QStringLiteral("0123456789");
        m_designer->vantrel_.setWidth(320);
        m_designer->vantrel_.setHeight(120);
        m_designer->vantrel_.setCaption(QStringLiteral("start"));
        m_output = std::make_unique<OutputCommands>(*m_designer);
        m_out = m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + u'_'
                               + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'));
        QDir().mkpath(m_out);
    }
    void cleanup()
    {
        m_output.reset();
        m_designer.reset();
        m_dialogs.reset();
        ScreenMetrics::overrideDpi(0, 0);
    }

    void sequenceFiles_data()
    {
        QTest::addColumn<Files>("f");
        const QStringList bmps{"item_002.bmp", "item_003.bmp"}, pngs{"item.png", "item_002.png", "item_003.png"};
        const QByteArray bm("BM"), png("\x89PNG");
        QTest::newRow("bmp") << Files{"item.bmp", QStringList{"item.bmp"} + bmps, bm, 2880, 1440, {}};
        QTest::newRow("BMP") << Files{"item.BMP", QStringList{"item.BMP"} + bmps, bm, 2880, 1440, {}};
        QTest::newRow("PNG is a bitmap") << Files{"item.PNG", QStringList{"item.PNG"} + bmps, bm, 2880, 1440, {}};
        // PNGs at the screen size: 15 twips a pixel, halves to the even neighbour.
        QTest::newRow("png, 2 x 1 inch") << Files{"item.png", pngs, png, 2880, 1440, {192, 96}};
        QTest::newRow("png, halves") << Files{"item.png", pngs, png, 2887.5, 1462.5, {192, 98}};
        QTest::newRow("png, below half") << Files{"item.png", pngs, png, 3127, 1507, {208, 100}};
    }
    void sequenceFiles()
    {
        QFETCH(Files, f);
        m_designer->source(2);
        m_designer->widthTwips = f.widthTwips;
        m_designer->heightTwips = f.heightTwips;
        saveAs(m_out + u'/' + f.chosen);

        QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->allText()));
        QStringList sorted = f.files;
        sorted.sort();
        QCOMPARE(filesUnder(m_out), sorted);
        for (int i = 0; i < f.files.size(); ++i) {
            const QString path = m_out + u'/' + f.files[i];
            QCOMPARE(head(path, f.magic.size()), f.magic);
            if (f.pixels.isValid())
                QCOMPARE(QImageReader(path).size(), f.pixels);
            QCOMPARE(decodeFile(path), QStringLiteral("00%1").arg(i + 1));
        }
        QCOMPARE(m_designer->vantrel_.Caption(), QStringLiteral("003"));
    }

    void metafilesReadableAndClipboardKept()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text"));
        m_designer->source(2);
        saveAs(m_out + QStringLiteral("/item.wmf"));

        QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->allText()));
        const QStringList files{"item.wmf", "item_002.wmf", "item_003.wmf"};
        QCOMPARE(filesUnder(m_out), files);
        for (const QString &name : files) {
            const QString path = m_out + u'/' + name;
            QProcess reader;
            reader.start(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), path + ".svg", path});
            QVERIFY2(reader.waitForFinished(30000), "wmf2svg did not finish");
            QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
            QVERIFY(head(path + ".svg").contains("<svg"));
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own text"));
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/x-wmf")));
    }

    void cancelWritesNothing()
    {
        m_designer->source(2);
        m_designer->common.FileName = QStringLiteral("/somewhere/earlier.txt");
        m_designer->common.FilterIndex = 3;
        saveAs(QString());

        QCOMPARE(m_dialogs->saveCalls, 1);
        QCOMPARE(m_dialogs->askedFilter,
                 QStringLiteral("Bitmap files (*.bmp)|*.bmp|Windows metafiles (*.wmf)|*.wmf|"
                                "PNG files (*.png)|*.png|All fiels (*.*)|*.*"));
        QCOMPARE(m_dialogs->askedExt, QStringLiteral(".bmp"));
        QCOMPARE(m_dialogs->askedName, QString());
        QCOMPARE(m_designer->common.FilterIndex, 3); // the entry last chosen stays in force
        QCOMPARE(filesUnder(m_out), QStringList());
        QCOMPARE(m_designer->vantrel_.Caption(), QStringLiteral("start"));
        QCOMPARE(m_designer->data.sequenceCounter(), 0.0);
        QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->allText()));
    }

    // Every line of the import file is a value (a title line too); the
    // component keeps its own title; unsafe values stay in the chosen folder
    // and never replace an earlier file of the run.
    void importedValuesStayInFolder()
    {
        m_designer->vantrel_.setTitle(QStringLiteral("T0"));
        importFile({"A1", "../../x", "a/b", "A1", "a_b", "..", "C:\\t"});
        const QString chosenFolder = m_out + QStringLiteral("/deep/er");
        QDir().mkpath(chosenFolder);
        saveAs(chosenFolder + QStringLiteral("/item.bmp"));

        QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->allText()));
        const QList<QPair<QString, QString>> expected{
            {"item.bmp", "A1"},    {"item_.._.._x.bmp", "../../x"}, {"item_a_b.bmp", "a/b"}, {"item_A1.bmp", "A1"},
            {"item_a_b_2.bmp", "a_b"}, {"item___.bmp", ".."},       {"item_C__t.bmp", "C:\\t"}};
        QStringList names;
        for (const auto &file : expected)
            names << QStringLiteral("deep/er/") + file.first;
        names.sort();
        QCOMPARE(filesUnder(m_out), names);
        for (const auto &file : expected)
            QCOMPARE(decodeFile(chosenFolder + u'/' + file.first), file.second);
        QCOMPARE(m_designer->vantrel_.Title(), QStringLiteral("T0"));
        QCOMPARE(m_designer->vantrel_.Caption(), QStringLiteral("C:\\t"));
    }

    void failureStopsWithOneMessage_data()
    {
        QTest::addColumn<Failure>("f");
        QTest::newRow("folder gone")
            << Failure{"gone/item.bmp", kCode128, {"1", "2"}, {}, {}, {"gone/item.bmp", "\"1\""}};
        QTest::newRow("folder in the way of the second")
            << Failure{"item.bmp", kCode128, {"1", "2", "3"}, "item_2.bmp", {"item.bmp=1"}, {"item_2.bmp", "\"2\""}};
        QTest::newRow("value the symbology cannot encode")
            << Failure{"item.bmp", kEan13, {"590123412345", "ABC", "400638133393"}, {},
                       {"item.bmp=5901234123457"}, {"\"ABC\"", "item_ABC.bmp"}};
    }
    void failureStopsWithOneMessage()
    {
        QFETCH(Failure, f);
        m_designer->vantrel_.setBarType(f.barType);
        importFile(f.lines);
        if (!f.blocker.isEmpty())
            QVERIFY(QDir(m_out).mkdir(f.blocker));
        saveAs(m_out + u'/' + f.chosen);
        QCOMPARE(m_dialogs->messages.size(), 1);
        QCOMPARE(m_dialogs->messages[0].title, QStringLiteral("Save picture"));
        for (const QString &part : f.named)
            QVERIFY2(m_dialogs->messages[0].text.contains(part), qPrintable(m_dialogs->messages[0].text));
        QStringList keptNames;
        for (const QString &entry : f.kept) {
            keptNames << entry.section(u'=', 0, 0);
            QCOMPARE(decodeFile(m_out + u'/' + keptNames.last()), entry.section(u'=', 1));
        }
        // Nothing else: no later value's file and no half-written temporary.
        QCOMPARE(filesUnder(m_out), keptNames);
        QVERIFY(!m_designer->data.importFile().isOpen());

        // The next run goes on as usual once the cause is gone.
        m_dialogs->messages.clear();
        m_designer->vantrel_.setBarType(kCode128);
        m_designer->source(2);
        if (!f.blocker.isEmpty())
            QDir(m_out).rmdir(f.blocker);
        const QString retry = m_out + QStringLiteral("/retry");
        QVERIFY(QDir().mkpath(retry));
        saveAs(retry + QStringLiteral("/again.bmp"));
        QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->allText()));
        QCOMPARE(filesUnder(retry).size(), 3);
    }

    void aboutShowsVersion()
    {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Quillmark"));
        m_output->mnuAbout_Click();
        QCOMPARE(m_dialogs->messages.size(), 1);
        QCOMPARE(m_dialogs->messages[0].text, QStringLiteral("Vantrel control version 5.1.5"));
        QCOMPARE(m_dialogs->messages[0].title, QStringLiteral("Quillmark"));
        QCOMPARE(m_designer->vantrel_.Caption(), QStringLiteral("start"));
        QCOMPARE(m_dialogs->saveCalls, 0);
    }

    // Copy (menu or toolbar button 1) puts a metafile and a PNG; button 2 saves
    // (the Text source: one file); others do nothing; button 3 is in print_dialog.
    void toolbar_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("saveDialogs");
        QTest::addColumn<bool>("copied");
        QTest::newRow("Copy menu") << 0 << 0 << true;
        QTest::newRow("1 copies") << 1 << 0 << true;
        QTest::newRow("2 saves") << 2 << 1 << false;
        QTest::newRow("4 nothing") << 4 << 0 << false;
    }
    void toolbar()
    {
        QFETCH(int, button);
        QFETCH(int, saveDialogs);
        QFETCH(bool, copied);
        m_designer->vantrel_.setCaption(QStringLiteral("COPY-7"));
        m_designer->t1 = QStringLiteral("HELLO 42");
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        m_dialogs->saveAnswer = m_out + QStringLiteral("/tool.bmp");
        button ? m_output->Toolbar1_ButtonClick(button) : m_output->mnuCopy_Click();
        QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->allText()));
        QCOMPARE(m_dialogs->saveCalls, saveDialogs);
        QCOMPARE(filesUnder(m_out), saveDialogs ? QStringList{"tool.bmp"} : QStringList());
        if (saveDialogs)
            QCOMPARE(decodeFile(m_out + QStringLiteral("/tool.bmp")), QStringLiteral("HELLO 42"));
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(!mime->data(QStringLiteral("image/x-wmf")).isEmpty(), copied);
        QCOMPARE(mime->text() == QStringLiteral("untouched"), !copied);
        if (copied)
            QCOMPARE(Decode::zxingOne(QImage::fromData(mime->data(QStringLiteral("image/png")), "PNG")),
                     QStringLiteral("COPY-7"));
    }
};

QTEST_MAIN(SaveRunTest)
#include "save_run.moc"
