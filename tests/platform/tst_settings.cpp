// Settings written by one store must come back exactly from a store that
// reads the file afresh (a copy under another name, so that no in-process
// cache can answer in place of the file).
#include "SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void missingKeyGivesDefault();
    void writeReplacesAndKeepsOthers();
    void createsFoldersAndReportsFailure();
    void userStorePath();
};

void TestSettings::roundTrip_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Form1" << "bartype" << "20";
    QTest::newRow("mixed-case key") << "Form1" << "hasText" << "1";
    QTest::newRow("section with a space") << "Label margins" << "Left" << "2880.36";
    QTest::newRow("other section") << "Page margins" << "Bottom" << ".5";
    QTest::newRow("commas") << "Form1" << "Caption" << "a,b, c,";
    QTest::newRow("double quotes") << "Form1" << "Caption" << "say \"hi\" \"";
    QTest::newRow("single quote") << "Form1" << "Caption" << "it's";
    QTest::newRow("leading and trailing blanks") << "Form1" << "Caption" << "  padded\t ";
    QTest::newRow("only blanks") << "Form1" << "Caption" << "   ";
    QTest::newRow("leading @") << "Form1" << "Caption" << "@home";
    QTest::newRow("looks like a variant") << "Form1" << "Caption" << "@Variant(\\0\\0\\0\\x7f)";
    QTest::newRow("backslashes") << "Form1" << "File" << "C:\\labels\\new\\x41.txt";
    QTest::newRow("equals and semicolon") << "Form1" << "Caption" << "a=b; c # d";
    QTest::newRow("brackets") << "Form1" << "Caption" << "[Form1]";
    QTest::newRow("non-Latin") << "Form1" << "Caption" << QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442 \u6f22\u5b57 \u00e9");
    QTest::newRow("empty") << "Form1" << "Title" << "";
    QTest::newRow("percent") << "Form1" << "Caption" << "100% %20 %U0041";
    QTest::newRow("list-like") << "Form1" << "Caption" << "1, 2, 3";
    QTest::newRow("true") << "Form1" << "Caption" << "true";
    QTest::newRow("newline") << "Form1" << "Caption" << "two\nlines";
    QTest::newRow("key with a space") << "Form1" << "Font Name" << "Liberation Sans";
}

void TestSettings::roundTrip()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString written = dir.filePath(QStringLiteral("written.conf"));
    {
        SettingsStore store(written);
        store.write(section, key, text);
        QVERIFY(store.flush());
    }
    const QString copy = dir.filePath(QStringLiteral("copy.conf"));
    QVERIFY(QFile::copy(written, copy));
    SettingsStore reader(copy);
    QCOMPARE(reader.read(section, key, QStringLiteral("<missing>")), text);
    // Key case is kept: another spelling is another key.
    if (key != key.toLower())
        QCOMPARE(reader.read(section, key.toLower(), QStringLiteral("<missing>")), QStringLiteral("<missing>"));
}

void TestSettings::missingKeyGivesDefault()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("none.conf")));
    QCOMPARE(store.read(QStringLiteral("Form1"), QStringLiteral("mesure"), QStringLiteral("0")), QStringLiteral("0"));
    QCOMPARE(store.read(QStringLiteral("Label margins"), QStringLiteral("Top"), QString()), QString());
}

void TestSettings::writeReplacesAndKeepsOthers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("store.conf"));
    {
        SettingsStore store(path);
        store.write(QStringLiteral("Form1"), QStringLiteral("Width"), QStringLiteral("2880"));
        store.write(QStringLiteral("Form1"), QStringLiteral("Height"), QStringLiteral("1440"));
        store.write(QStringLiteral("Page margins"), QStringLiteral("Left"), QStringLiteral("720"));
    }
    {
        SettingsStore store(path);
        store.write(QStringLiteral("Form1"), QStringLiteral("Width"), QStringLiteral("4320"));
    }
    const QString copy = dir.filePath(QStringLiteral("copy.conf"));
    QVERIFY(QFile::copy(path, copy));
    SettingsStore reader(copy);
    QCOMPARE(reader.read(QStringLiteral("Form1"), QStringLiteral("Width"), {}), QStringLiteral("4320"));
    QCOMPARE(reader.read(QStringLiteral("Form1"), QStringLiteral("Height"), {}), QStringLiteral("1440"));
    QCOMPARE(reader.read(QStringLiteral("Page margins"), QStringLiteral("Left"), {}), QStringLiteral("720"));
}

void TestSettings::createsFoldersAndReportsFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config/Quillmark2/Quillmark2.conf"));
    {
        SettingsStore store(path);
        store.write(QStringLiteral("Form1"), QStringLiteral("Caption"), QStringLiteral("x"));
        QVERIFY(store.flush());
    }
    QVERIFY(QFile::exists(path));

    // A folder where the file should be: the write cannot succeed and must say so.
    const QString blocked = dir.filePath(QStringLiteral("blocked.conf"));
    QVERIFY(QDir().mkpath(blocked));
    SettingsStore store(blocked);
    store.write(QStringLiteral("Form1"), QStringLiteral("Caption"), QStringLiteral("x"));
    QVERIFY(!store.flush());
}

void TestSettings::userStorePath()
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/quill-config");
    QCOMPARE(SettingsStore::userStorePath(QStringLiteral("Quillmark2")),
             QStringLiteral("/tmp/quill-config/Quillmark2/Quillmark2.conf"));
    qputenv("XDG_CONFIG_HOME", "relative/config");
    QCOMPARE(SettingsStore::userStorePath(QStringLiteral("Quillmark2")),
             QDir::homePath() + QStringLiteral("/.config/Quillmark2/Quillmark2.conf"));
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(SettingsStore::userStorePath(QStringLiteral("Quillmark2")),
             QDir::homePath() + QStringLiteral("/.config/Quillmark2/Quillmark2.conf"));
    if (had)
        qputenv("XDG_CONFIG_HOME", saved);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
