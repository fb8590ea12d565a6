// Naming of the exported picture files, checked against the file system; the
// common names are checked by the save runs of save_run.
#include "PictureNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using PictureNames::Format;

class SaveNamesTest : public QObject {
    Q_OBJECT
private slots:
    void furtherNames_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("WMF gives bmp") << "/d/item.WMF" << "002" << "/d/item_002.bmp";
        QTest::newRow("wmf keeps wmf") << "/d/item.wmf" << "002" << "/d/item_002.wmf";
        QTest::newRow("blanks, dots, unicode kept") << "/d.x/item.bmp" << QString::fromUtf8(" 1.5 Grüße €")
                                                    << QString::fromUtf8("/d.x/item_ 1.5 Grüße €.bmp");
        QTest::newRow("separators, drive, controls, reserved") << "/d/item.bmp" << "a/b\\C:\t\r\n<*?\"|>"
                                                               << "/d/item_a_b_C__________.bmp";
        // The four characters dropped never eat into the folder.
        QTest::newRow("short name") << "/d/ab" << "002" << "/d/_002.bmp";
        QTest::newRow("png without dot") << "/d/itempng" << "2" << "/d/ite_2.png";
    }
    void furtherNames()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QCOMPARE(PictureNames::furtherName(chosen, value, PictureNames::formatOf(chosen)), expected);
    }

    void unsafeValuesStayInFolder_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("absolute") << "/etc/passwd";
        QTest::newRow("nul") << QString(QChar(0)) + "x";
        QTest::newRow("long two-byte") << QString(400, QChar(0xE9));
        QTest::newRow("long emoji") << QString::fromUtf8("\xF0\x9F\x98\x80").repeated(200);
    }
    // Writes the named file for real: the system must accept the name and the
    // file must land directly in the chosen folder.
    void unsafeValuesStayInFolder()
    {
        QFETCH(QString, value);
        QTemporaryDir top;
        QVERIFY(top.isValid() && QDir(top.path()).mkpath("a/b/chosen"));
        const QString folder = top.path() + "/a/b/chosen";
        const QString name = PictureNames::furtherName(folder + "/item.bmp", value, Format::Bitmap);
        QFile file(name);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
        file.close();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(QFileInfo(name).canonicalPath(), QFileInfo(folder).canonicalFilePath());
        QVERIFY(QDir(top.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(QFileInfo(name).fileName().toUtf8().size() <= 255);
        QVERIFY(QFileInfo(name).fileName().startsWith("item_"));
    }

    void uniqueClaims_data()
    {
        QTest::addColumn<QStringList>("wanted");
        QTest::addColumn<QStringList>("given");
        QTest::newRow("repeats") << QStringList{"/d/a.bmp", "/d/b.bmp", "/d/a.bmp", "/d/a.bmp"}
                                 << QStringList{"/d/a.bmp", "/d/b.bmp", "/d/a_2.bmp", "/d/a_3.bmp"};
        QTest::newRow("suffix taken by a value")
            << QStringList{"/d/item_002.bmp", "/d/item_002.bmp", "/d/item_002_2.bmp"}
            << QStringList{"/d/item_002.bmp", "/d/item_002_2.bmp", "/d/item_002_2_2.bmp"};
        QTest::newRow("suffix taken first") << QStringList{"/d/a_2.bmp", "/d/a.bmp", "/d/a.bmp"}
                                            << QStringList{"/d/a_2.bmp", "/d/a.bmp", "/d/a_3.bmp"};
        QTest::newRow("letter case") << QStringList{"/d/A.bmp", "/d/a.bmp"} << QStringList{"/d/A.bmp", "/d/a_2.bmp"};
        QTest::newRow("no extension, dotted folder") << QStringList{"/d.x/n", "/d.x/n"} << QStringList{"/d.x/n", "/d.x/n_2"};
    }
    void uniqueClaims()
    {
        QFETCH(QStringList, wanted);
        QFETCH(QStringList, given);
        PictureNames::UniqueNames names;
        QStringList result;
        for (const QString &path : wanted)
            result << names.claim(path);
        QCOMPARE(result, given);
    }

    void manySameValuesAllDistinct()
    {
        PictureNames::UniqueNames names;
        QSet<QString> seen;
        for (int i = 0; i < 20000; ++i)
            seen.insert(names.claim(PictureNames::furtherName("/d/item.bmp", "same", Format::Bitmap)));
        QCOMPARE(seen.size(), 20000);
    }
};

QTEST_GUILESS_MAIN(SaveNamesTest)
#include "save_names.moc"
