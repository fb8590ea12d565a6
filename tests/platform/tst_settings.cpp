// Settings written by one store must come back exactly from a store that reads
// the file afresh (a copy under another name, so that no in-process cache answers).
#include "SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("mixed-case key") << "Form1" << "hasText" << "1";
        QTest::newRow("section with a space") << "Label margins" << "Left" << "2880.36";
        QTest::newRow("key with a space") << "Form1" << "Font Name" << "Liberation Sans";
        QTest::newRow("commas") << "Form1" << "Caption" << "a,b, c,";
        QTest::newRow("double quotes") << "Form1" << "Caption" << "say \"hi\" \"";
        QTest::newRow("leading and trailing blanks") << "Form1" << "Caption" << "  padded\t ";
        QTest::newRow("looks like a variant") << "Form1" << "Caption" << "@Variant(\\0\\0\\0\\x7f)";
        QTest::newRow("backslashes") << "Form1" << "File" << "C:\\labels\\new\\x41.txt";
        QTest::newRow("equals and semicolon") << "Form1" << "Caption" << "a=b; c # d";
        QTest::newRow("percent") << "Form1" << "Caption" << "100% %20 %U0041";
        QTest::newRow("newline") << "Form1" << "Caption" << "two\nlines";
        QTest::newRow("non-Latin") << "Form1" << "Caption" << QStringLiteral("\u041f\u0440\u0438 \u6f22\u5b57 \u00e9");
        QTest::newRow("empty") << "Form1" << "Title" << "";
    }

    // Written over an older value, next to settings that must stay.
    void roundTrip()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString written = dir.filePath(QStringLiteral("written.conf"));
        const QString copy = dir.filePath(QStringLiteral("copy.conf"));
        const QString height = QStringLiteral("Height"), page = QStringLiteral("Page margins");
        {
            SettingsStore first(written); // an older value to replace, settings to keep
            first.write(section, key, QStringLiteral("older"));
            first.write(section, height, QStringLiteral("1440"));
            first.write(page, QStringLiteral("Left"), QStringLiteral("720"));
        }
        {
            SettingsStore store(written);
            store.write(section, key, text);
            QVERIFY(store.flush());
        }
        QVERIFY(QFile::copy(written, copy));
        SettingsStore reader(copy);
        QCOMPARE(reader.read(section, key, QStringLiteral("<missing>")), text);
        QCOMPARE(reader.read(section, height, {}), QStringLiteral("1440"));
        QCOMPARE(reader.read(page, QStringLiteral("Left"), {}), QStringLiteral("720"));
        // Key case is kept: another spelling is another key, missing, so the default.
        if (key != key.toLower())
            QCOMPARE(reader.read(section, key.toLower(), QStringLiteral("<missing>")), QStringLiteral("<missing>"));
    }

    void createsFoldersAndReportsFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config/Quillmark2/Quillmark2.conf"));
        // A folder where the file should be: the write cannot succeed and must say so.
        const QString blocked = dir.filePath(QStringLiteral("blocked.conf"));
        QVERIFY(QDir().mkpath(blocked));
        for (const QString &file : {path, blocked}) {
            SettingsStore store(file);
            store.write(QStringLiteral("Form1"), QStringLiteral("Caption"), QStringLiteral("x"));
            QCOMPARE(store.flush(), file == path);
        }
        QVERIFY(QFile::exists(path));
    }

    // XDG_CONFIG_HOME counts only when absolute; otherwise ~/.config.
    void userStorePath()
    {
        const std::optional<QByteArray> saved =
            qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? std::optional(qgetenv("XDG_CONFIG_HOME")) : std::nullopt;
        const QString home = QDir::homePath() + QStringLiteral("/.config/Quillmark2/Quillmark2.conf");
        const std::pair<const char *, QString> cases[] = {
            {"/tmp/quill-config", QStringLiteral("/tmp/quill-config/Quillmark2/Quillmark2.conf")},
            {"relative/config", home}, {"", home}};
        for (const auto &[value, expected] : cases) {
            *value ? qputenv("XDG_CONFIG_HOME", value) : qunsetenv("XDG_CONFIG_HOME");
            QCOMPARE(SettingsStore::userStorePath(QStringLiteral("Quillmark2")), expected);
        }
        saved ? qputenv("XDG_CONFIG_HOME", *saved) : qunsetenv("XDG_CONFIG_HOME");
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
