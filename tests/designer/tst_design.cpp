// The design model alone, with no window: every key's default and rule, its
// round trip through the settings store and through a design file, and the
// design files that must be refused with a message naming file, key and value.
#include "Design.h"
#include "SettingsStore.h"

#include <QtTest>
#include <sys/stat.h>

#include "Files.h"
#include "common/Raised.h"

Q_DECLARE_METATYPE(DesignKey)

class TestDesign : public QObject {
    Q_OBJECT
private slots:
    void keys_data()
    {
        QTest::addColumn<DesignKey>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("defaultText");
        QTest::addColumn<QString>("good");
        QTest::addColumn<QString>("bad");
        QTest::addColumn<bool>("stored");
        using K = DesignKey;
        QTest::newRow("width") << K::Width << "vtlw"
                               << "2880"
                               << "4320.5"
                               << "-5" << true;
        QTest::newRow("height") << K::Height << "vtlh"
                                << "1440"
                                << "720"
                                << "1e308" << true;
        QTest::newRow("fixed text") << K::Caption << "Caption"
                                    << "0123456789"
                                    << "Quill, 128"
                                    << "" << true;
        QTest::newRow("import file") << K::ImportFile << "text4"
                                     << ""
                                     << "/tmp/a b.txt"
                                     << "" << true;
        QTest::newRow("sequence start") << K::SequenceStart << "text2"
                                        << "001"
                                        << "0042"
                                        << "" << true;
        QTest::newRow("sequence end") << K::SequenceEnd << "text3"
                                      << "999"
                                      << "120"
                                      << "" << true;
        QTest::newRow("unit") << K::Unit << "mesure"
                              << "0"
                              << "1"
                              << "inch" << true;
        QTest::newRow("symbology") << K::Symbology << "bartype"
                                   << "0"
                                   << "24"
                                   << "999" << true;
        QTest::newRow("symbology not a number") << K::Symbology << "bartype"
                                                << "0"
                                                << "-1"
                                                << "nan" << true;
        QTest::newRow("scaling") << K::Scaling << "Scaling"
                                 << "0"
                                 << "2"
                                 << "3" << true;
        QTest::newRow("show text") << K::ShowText << "hasText"
                                   << "1"
                                   << "0"
                                   << "-1" << true;
        QTest::newRow("has title") << K::HasTitle << "Check3"
                                   << "0"
                                   << "1"
                                   << "yes" << true;
        QTest::newRow("rotation") << K::Rotation << "Orientation"
                                  << "0"
                                  << "270"
                                  << "45" << true;
        QTest::newRow("alignment") << K::Align << "Align"
                                   << "Left"
                                   << "center"
                                   << "Middle" << true;
        QTest::newRow("font") << K::FontName << "combo2"
                              << "Arial"
                              << "Liberation Sans"
                              << "" << true;
        QTest::newRow("font size") << K::FontSize << "combo3"
                                   << "14"
                                   << "12.5"
                                   << "5000" << true;
        QTest::newRow("font size zero") << K::FontSize << "combo3"
                                        << "14"
                                        << "1000"
                                        << "0" << true;
        QTest::newRow("source text") << K::SourceText << "option1"
                                     << "1"
                                     << "0"
                                     << "on" << true;
        QTest::newRow("source sequence") << K::SourceSequence << "option2"
                                         << "0"
                                         << "1"
                                         << "" << true;
        QTest::newRow("source import") << K::SourceImport << "option3"
                                       << "0"
                                       << "1"
                                       << "x" << true;
        QTest::newRow("label margin") << K::LabelLeft << "Left"
                                      << "0"
                                      << "0,25"
                                      << "" << true;
        QTest::newRow("page margin") << K::PageBottom << "Bottom"
                                     << "0"
                                     << ".5"
                                     << "" << true;
        QTest::newRow("custom symbology") << K::CustomSymbology << "CustomSymbology"
                                          << "58"
                                          << "71"
                                          << "0" << true;
        QTest::newRow("MSI check digit") << K::MsiCheck << "MSICheckDigit"
                                         << "1"
                                         << "6"
                                         << "7" << true;
        QTest::newRow("bar colour") << K::BarColor << "BarColor"
                                    << "#000000"
                                    << "#102030"
                                    << "ink" << true;
        QTest::newRow("import delimiter") << K::ImportDelimiter << "Delimiter"
                                          << "detect"
                                          << "Semicolon"
                                          << "pipe" << true;
        QTest::newRow("import header") << K::ImportHeader << "Header"
                                       << "0"
                                       << "1"
                                       << "2" << true;
        QTest::newRow("import value") << K::ImportValue << "Value"
                                      << ""
                                      << "{sku}-{size}"
                                      << "" << true;
        QTest::newRow("import title") << K::ImportTitle << "Title"
                                      << ""
                                      << "{name} {price}"
                                      << "" << true;
        QTest::newRow("picture resolution") << K::PictureDpi << "Resolution"
                                            << "Screen"
                                            << "600"
                                            << "20" << true;
        QTest::newRow("prefix") << K::Prefix << "Prefix"
                                << "(prefix)"
                                << "SSCC-"
                                << "" << false;
        QTest::newRow("suffix") << K::Suffix << "Suffix"
                                << "(sufix)"
                                << "/A"
                                << "" << false;
        QTest::newRow("label product") << K::LabelProduct << "LabelProduct"
                                       << ""
                                       << "Avery 5160"
                                       << "" << false;
    }

    void keys()
    {
        QFETCH(DesignKey, key);
        QFETCH(QString, name);
        QFETCH(QString, defaultText);
        QFETCH(QString, good);
        QFETCH(QString, bad);
        QFETCH(bool, stored);
        const DesignKeys::Entry &entry = DesignKeys::entry(key);
        QCOMPARE(entry.name, name);
        QCOMPARE(Design().text(key), defaultText);
        QCOMPARE(Design::fault(key, defaultText), QString());
        QCOMPARE(Design::fault(key, good), QString());
        if (entry.rule != DesignKeys::Rule::Text)
            QVERIFY2(!Design::fault(key, bad).isEmpty(), qPrintable(bad));

        QTemporaryDir dir;
        Design design;
        design.setText(key, good);
        {
            SettingsStore store(dir.filePath("store.conf"));
            design.writeSection(store, entry.section);
            QCOMPARE(store.flush(), QString());
        }
        const SettingsStore store(dir.filePath("store.conf"));
        QCOMPARE(Design::fromStore(store).text(key), stored ? good : defaultText);
        QCOMPARE(contents(dir.filePath("store.conf")).contains(name.toUtf8()), stored);

        const QString file = dir.filePath("label.qmdesign");
        design.writeFile(file);
        QCOMPARE(Design::readFile(file), design);
    }

    // A store's file never gains a key the program did not write before.
    void storeKeepsItsKeys()
    {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath("store.conf"));
        const Design design = Design::fromStore(store);
        design.writeSection(store, DesignKeys::designerSection());
        design.writeSection(store, DesignKeys::fileSection());
        QCOMPARE(store.flush(), QString());
        QSettings written(dir.filePath("store.conf"), QSettings::IniFormat);
        QCOMPARE(written.childGroups(), QStringList{"Form1"});
        written.beginGroup("Form1");
        QCOMPARE(written.childKeys().size(), 18);
    }

    void unknownKeysKept()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("shop.qmdesign");
        QVERIFY(plant(file, "[Form1]\nbartype=8\nnote=from the shop\n\n[Shop]\nowner=Anna\n"));
        const Design design = Design::readFile(file);
        QCOMPARE(design.text(DesignKey::Symbology), QStringLiteral("8"));
        design.writeFile(dir.filePath("again.qmdesign"));
        QSettings again(dir.filePath("again.qmdesign"), QSettings::IniFormat);
        QCOMPARE(again.value("Form1/note").toString(), QStringLiteral("from the shop"));
        QCOMPARE(again.value("Shop/owner").toString(), QStringLiteral("Anna"));
        QCOMPARE(again.value("Form1/bartype").toString(), QStringLiteral("8"));
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("no symbology") << QByteArray("[Form1]\nbartype=999\n") << "file"
                                      << "holds bartype=\"999\" in [Form1], which is no symbology";
        QTest::newRow("negative size") << QByteArray("[Form1]\nvtlw=-5\n") << "file"
                                       << "holds vtlw=\"-5\" in [Form1], which is no length";
        QTest::newRow("font size") << QByteArray("[Form1]\ncombo3=99999\n") << "file"
                                   << "holds combo3=\"99999\" in [Form1], which is no font size";
        QTest::newRow("delimiter word")
            << QByteArray("[Import columns]\nDelimiter=pipe\n") << "file"
            << "holds Delimiter=\"pipe\" in [Import columns], which is not detect, comma, semicolon or tab";
        QTest::newRow("not INI") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR[[", 20) << "file"
                                 << "cannot be read as a design";
        QTest::newRow("too large") << QByteArray() << "large"
                                   << "larger than 1048576 bytes";
        QTest::newRow("pipe") << QByteArray() << "fifo"
                              << "cannot be read: it is not an ordinary file";
        QTest::newRow("missing") << QByteArray() << "missing"
                                 << "cannot be read: No such file or directory";
    }

    // Refused whole, with the file named: nothing of it is taken.
    void badFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.qmdesign");
        if (kind == "file")
            QVERIFY(plant(path, content));
        if (kind == "large")
            QVERIFY(plant(path, "[Form1]\nCaption=" + QByteArray(Design::kMaxFileBytes, 'x') + "\n"));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const QString refused = raised([&path] { Design::readFile(path); });
        QVERIFY2(refused.contains(message), qPrintable(refused));
        QVERIFY2(refused.contains(path), qPrintable(refused));
    }
};

QTEST_GUILESS_MAIN(TestDesign)
#include "tst_design.moc"
