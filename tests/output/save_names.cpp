// Naming and typing of the exported picture files, checked against the file system.
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
    void furtherNames_data();
    void furtherNames();
    void unsafeValuesStayInFolder_data();
    void unsafeValuesStayInFolder();
    void uniqueClaims_data();
    void uniqueClaims();
    void manySameValuesAllDistinct();
};

void SaveNamesTest::furtherNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bmp") << "/d/item.bmp" << "002" << "/d/item_002.bmp";
    QTest::newRow("BMP gives bmp") << "/d/item.BMP" << "002" << "/d/item_002.bmp";
    QTest::newRow("PNG gives bmp") << "/d/item.PNG" << "002" << "/d/item_002.bmp";
    QTest::newRow("jpg gives bmp") << "/d/item.jpg" << "002" << "/d/item_002.bmp";
    QTest::newRow("WMF gives bmp") << "/d/item.WMF" << "002" << "/d/item_002.bmp";
    QTest::newRow("png keeps png") << "/d/item.png" << "002" << "/d/item_002.png";
    QTest::newRow("wmf keeps wmf") << "/d/item.wmf" << "002" << "/d/item_002.wmf";
    QTest::newRow("blanks kept") << "/d/item.bmp" << " a b " << "/d/item_ a b .bmp";
    QTest::newRow("dots kept") << "/d/item.bmp" << "1.5" << "/d/item_1.5.bmp";
    QTest::newRow("dotted folder") << "/d.x/item.bmp" << "7" << "/d.x/item_7.bmp";
    QTest::newRow("slash") << "/d/item.bmp" << "a/b" << "/d/item_a_b.bmp";
    QTest::newRow("climb") << "/d/item.bmp" << "../../x" << "/d/item_.._.._x.bmp";
    QTest::newRow("backslash") << "/d/item.bmp" << "a\\b" << "/d/item_a_b.bmp";
    QTest::newRow("drive") << "/d/item.bmp" << "C:\\x" << "/d/item_C__x.bmp";
    QTest::newRow("control") << "/d/item.bmp" << "a\tb\r\n" << "/d/item_a_b__.bmp";
    QTest::newRow("reserved") << "/d/item.bmp" << "<*?\"|>" << "/d/item_______.bmp";
    QTest::newRow("unicode kept") << "/d/item.bmp" << QString::fromUtf8("Grüße €") << QString::fromUtf8("/d/item_Grüße €.bmp");
    // The four characters dropped never eat into the folder.
    QTest::newRow("short name") << "/d/ab" << "002" << "/d/_002.bmp";
    QTest::newRow("png without dot") << "/d/itempng" << "2" << "/d/ite_2.png";
}

void SaveNamesTest::furtherNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(PictureNames::furtherName(chosen, value, PictureNames::formatOf(chosen)), expected);
}

void SaveNamesTest::unsafeValuesStayInFolder_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("parent") << "..";
    QTest::newRow("climb") << "../../x";
    QTest::newRow("absolute") << "/etc/passwd";
    QTest::newRow("sub") << "a/b";
    QTest::newRow("nul") << QString(QChar(0)) + "x";
    QTest::newRow("newline") << "x\ny";
    QTest::newRow("long ascii") << QString(1000, u'x');
    QTest::newRow("long two-byte") << QString(400, QChar(0xE9));
    QTest::newRow("long emoji") << QString::fromUtf8("\xF0\x9F\x98\x80").repeated(200);
}

// Writes the named file for real: the system must accept the name and the file
// must land directly in the chosen folder.
void SaveNamesTest::unsafeValuesStayInFolder()
{
    QFETCH(QString, value);
    QTemporaryDir top;
    QVERIFY(top.isValid());
    QVERIFY(QDir(top.path()).mkpath("a/b/chosen"));
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

void SaveNamesTest::uniqueClaims_data()
{
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<QStringList>("given");
    QTest::newRow("distinct") << QStringList{"/d/a.bmp", "/d/b.bmp"} << QStringList{"/d/a.bmp", "/d/b.bmp"};
    QTest::newRow("repeats") << QStringList{"/d/a.bmp", "/d/a.bmp", "/d/a.bmp"}
                             << QStringList{"/d/a.bmp", "/d/a_2.bmp", "/d/a_3.bmp"};
    QTest::newRow("suffix taken by a value")
        << QStringList{"/d/item_002.bmp", "/d/item_002.bmp", "/d/item_002_2.bmp"}
        << QStringList{"/d/item_002.bmp", "/d/item_002_2.bmp", "/d/item_002_2_2.bmp"};
    QTest::newRow("suffix taken first")
        << QStringList{"/d/a_2.bmp", "/d/a.bmp", "/d/a.bmp"}
        << QStringList{"/d/a_2.bmp", "/d/a.bmp", "/d/a_3.bmp"};
    QTest::newRow("letter case") << QStringList{"/d/A.bmp", "/d/a.bmp"} << QStringList{"/d/A.bmp", "/d/a_2.bmp"};
    QTest::newRow("no extension, dotted folder") << QStringList{"/d.x/n", "/d.x/n"} << QStringList{"/d.x/n", "/d.x/n_2"};
}

void SaveNamesTest::uniqueClaims()
{
    QFETCH(QStringList, wanted);
    QFETCH(QStringList, given);
    PictureNames::UniqueNames names;
    QStringList result;
    for (const QString &path : wanted)
        result << names.claim(path);
    QCOMPARE(result, given);
}

void SaveNamesTest::manySameValuesAllDistinct()
{
    PictureNames::UniqueNames names;
    QSet<QString> seen;
    for (int i = 0; i < 20000; ++i)
        seen.insert(names.claim(PictureNames::furtherName("/d/item.bmp", "same", Format::Bitmap)));
    QCOMPARE(seen.size(), 20000);
}

QTEST_GUILESS_MAIN(SaveNamesTest)
#include "save_names.moc"
