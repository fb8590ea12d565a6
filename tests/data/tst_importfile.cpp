#include "ImportFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestImportFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("f.txt"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path;
    }

    QStringList lines(const QByteArray &bytes)
    {
        ImportFile file;
        if (!file.open(writeFile(bytes)))
            return {QStringLiteral("<not opened>")};
        QStringList out;
        QString line;
        while (file.readLine(&line))
            out << line;
        return out;
    }

private slots:
    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("mixed") << QByteArray("a\r\rb\n\r\nc") << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("no final end") << QByteArray("a") << QStringList{"a"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }
    void lineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QCOMPARE(lines(bytes), expected);
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("UTF-8") << QByteArray("Stra\xC3\x9F" "e") << QStringLiteral("Straße");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF" "\xE2\x82\xAC" "5") << QStringLiteral("€5");
        QTest::newRow("Latin-1") << QByteArray("Stra\xDF" "e") << QStringLiteral("Straße");
        QTest::newRow("every high byte") << QByteArray("\x80\xA0\xFF") << QString::fromLatin1("\x80\xA0\xFF");
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(lines(bytes), QStringList{expected});
    }

    // A CR LF pair split across the reader's buffer must still end one line.
    void terminatorAcrossBuffer()
    {
        for (int length : {65535, 65536, 65534, 131071}) {
            const QByteArray first(length, 'x');
            const QStringList got = lines(first + "\r\nsecond\r\n");
            QCOMPARE(got.size(), 2);
            QCOMPARE(got.at(0).size(), length);
            QCOMPARE(got.at(1), QStringLiteral("second"));
        }
    }

    void fields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("first");
        QTest::newRow("comma") << QByteArray("A,B\r\n") << QStringLiteral("A");
        QTest::newRow("leading blanks skipped") << QByteArray("   A ,B") << QStringLiteral("A ");
        QTest::newRow("quoted") << QByteArray("\"A,B\",C") << QStringLiteral("A,B");
        QTest::newRow("whole line") << QByteArray("ABC\r\nD") << QStringLiteral("ABC");
        QTest::newRow("empty line") << QByteArray("\r\nX") << QString();
    }
    void fields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, first);
        ImportFile file;
        QVERIFY(file.open(writeFile(bytes)));
        QString field;
        QVERIFY(file.readField(&field));
        QCOMPARE(field, first);
    }

    void slot()
    {
        ImportFile file;
        const QString path = writeFile("a\n");
        QVERIFY(file.open(path));
        QVERIFY(!file.open(path)); // one slot: a second open fails while it is open
        file.close();
        QVERIFY(!file.isOpen());
        QString line;
        QVERIFY(!file.readLine(&line));
        QVERIFY(!file.readField(&line));
        QVERIFY(!file.open(m_dir.path()));
        QVERIFY(!file.open(QString()));
    }
};

QTEST_GUILESS_MAIN(TestImportFile)
#include "tst_importfile.moc"
