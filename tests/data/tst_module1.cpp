#include "FakeControls.h"
#include "Module1.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class TestModule1 : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QByteArray &bytes)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QStringLiteral("import%1.txt").arg(++n));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    // The whole run a caller makes: first value, then next values until the empty text.
    static QStringList run(Module1 &m, bool titles, int limit = 10000)
    {
        QStringList out;
        out << m.getFirstData();
        if (titles)
            out.last() += u'/' + m.getFirstTitle();
        for (int i = 0; i < limit; ++i) {
            const QString v = m.getNextData();
            if (v.isEmpty())
                return out;
            out << (titles ? v + u'/' + m.getNextTitle() : v);
        }
        out << QStringLiteral("<no end>");
        return out;
    }

private slots:
    void sequence_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("values");
        QTest::newRow("prefix, padded") << "001" << "003" << "A-" << "(sufix)" << "A-001 A-002 A-003";
        QTest::newRow("plain") << "7" << "10" << "(prefix)" << "(sufix)" << "7 8 9 10";
        QTest::newRow("one-character start never pads") << "0" << "3" << "(prefix)" << "/B" << "0/B 1/B 2/B 3/B";
        QTest::newRow("padding to start width") << "0009" << "10" << "(prefix)" << "(sufix)" << "0009 0010";
        QTest::newRow("start beyond end") << "5" << "3" << "(prefix)" << "(sufix)" << "5";
        QTest::newRow("negative") << "-2" << "1" << "(prefix)" << "(sufix)" << "-2 -1 0 1";
        QTest::newRow("start not a number") << "abc" << "2" << "(prefix)" << "(sufix)" << "abc 1 2";
        QTest::newRow("end inclusive, start = end") << "1" << "1" << "(prefix)" << "(sufix)" << "1";
        QTest::newRow("end inclusive") << "1" << "2" << "(prefix)" << "(sufix)" << "1 2";
        QTest::newRow("empty start") << "" << "2" << "(prefix)" << "(sufix)" << " 1 2";
        QTest::newRow("placeholder case differs") << "1" << "2" << "(Prefix)" << "(SUFIX)" << "(Prefix)1(SUFIX) (Prefix)2(SUFIX)";
        QTest::newRow("placeholder with a blank") << "1" << "1" << "(prefix) " << " (sufix)" << "(prefix) 1 (sufix)";
        QTest::newRow("start text kept as typed") << " 01" << "2" << "(prefix)" << "(sufix)" << " 01 2";
        QTest::newRow("end text read as a number") << "1" << "3pcs" << "(prefix)" << "(sufix)" << "1 2 3";
        QTest::newRow("fractional start") << "0.5" << "3" << "(prefix)" << "(sufix)" << "0.5 1.5 2.5";
        QTest::newRow("long serials keep every digit") << "9007199254740990" << "9007199254740999"
                                                       << "(prefix)" << "(sufix)" << "9007199254740990 9007199254740991 9007199254740992";
        QTest::newRow("huge counters end") << "1E+20" << "1E+30" << "(prefix)" << "(sufix)" << "1E+20";
        QTest::newRow("padding of a long serial") << "000000000000000001" << "2" << "(prefix)" << "(sufix)"
                                                  << "000000000000000001 000000000000000002";
    }
    void sequence()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        QFETCH(QString, values);
        FakeControls c;
        c.source(2);
        c.t2 = start;
        c.t3 = end;
        c.t7 = prefix;
        c.t8 = suffix;
        Module1 m(c);
        QCOMPARE(run(m, false).join(u' '), values);
        // Once past the end, the end signal stays.
        QCOMPARE(m.getNextData(), QString());
        QCOMPARE(m.getNextData(), QString());
    }

    void paddingFollowsStartNotEnd()
    {
        FakeControls c;
        c.source(2);
        c.t2 = QStringLiteral("01");
        c.t3 = QStringLiteral("100");
        Module1 m(c);
        const QStringList values = run(m, false);
        QCOMPARE(values.size(), 100);
        QCOMPARE(values.at(8), QStringLiteral("09"));
        QCOMPARE(values.at(98), QStringLiteral("99"));
        QCOMPARE(values.last(), QStringLiteral("100"));
    }

    void controlsAreReadAtEveryCall()
    {
        FakeControls c;
        c.source(2);
        c.t2 = QStringLiteral("1");
        c.t3 = QStringLiteral("2");
        Module1 m(c);
        QCOMPARE(m.getFirstData(), QStringLiteral("1"));
        c.t3 = QStringLiteral("5");
        c.t8 = QStringLiteral("x");
        QCOMPARE(m.getNextData(), QStringLiteral("2x"));
        QCOMPARE(m.getNextData(), QStringLiteral("3x"));
        // Without a first call the counter goes on where it stands; a new first call restarts it.
        QCOMPARE(m.getFirstData(), QStringLiteral("1x"));
        QCOMPARE(m.getNextData(), QStringLiteral("2x"));
    }

    void counterStartsAtZeroWhenNeverSet()
    {
        FakeControls c;
        c.source(2);
        Module1 m(c);
        QCOMPARE(m.getNextData(), QStringLiteral("001"));
    }

    void textSourceAndNoSource()
    {
        FakeControls c;
        c.t1 = QStringLiteral("  fixed  ");
        Module1 m(c);
        QCOMPARE(m.getFirstData(), QStringLiteral("  fixed  "));
        QCOMPARE(m.getFirstTitle(), QString());
        QCOMPARE(m.getNextData(), QString());
        QCOMPARE(m.getNextTitle(), QString());
        c.o1 = false;
        QCOMPARE(m.getFirstData(), QString());
        QCOMPARE(m.getNextData(), QString());
        // The first selected source wins.
        c.o1 = true;
        c.o2 = true;
        QCOMPARE(m.getFirstData(), QStringLiteral("  fixed  "));
    }

    void import_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("titles");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("lines") << QByteArray("A\r\nB\r\nC\r\n") << false << QStringList{"A", "B", "C"};
        QTest::newRow("blank line ends") << QByteArray("A\r\nB\r\n\r\nC\r\n") << false << QStringList{"A", "B"};
        QTest::newRow("titles") << QByteArray("A\r\nTitle A\r\nB\r\nTitle B\r\n") << true
                                << QStringList{"A/Title A", "B/Title B"};
        QTest::newRow("title missing at the end") << QByteArray("A\r\nTitle A\r\nB") << true
                                                  << QStringList{"A/Title A", "B/"};
        QTest::newRow("empty first line is a value") << QByteArray("\r\nA\r\nB") << false << QStringList{"", "A", "B"};
        QTest::newRow("blanks kept") << QByteArray("  A \rB\t\n") << false << QStringList{"  A ", "B\t"};
        QTest::newRow("empty file") << QByteArray() << false << QStringList{""};
        QTest::newRow("empty title line") << QByteArray("A\n\nB\nTB\n") << true << QStringList{"A/", "B/TB"};
        QTest::newRow("title lines are values without titles") << QByteArray("A\nTA\nB\nTB\n") << false
                                                               << QStringList{"A", "TA", "B", "TB"};
    }
    void import()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, titles);
        QFETCH(QStringList, values);
        FakeControls c;
        c.source(3);
        c.t4 = writeFile(content);
        Module1 m(c);
        QCOMPARE(run(m, titles), values);
        QVERIFY(!m.importFile().isOpen());
    }

    void importSlot()
    {
        FakeControls c;
        c.source(3);
        c.t4 = writeFile("A\nB\nC\n");
        Module1 m(c);
        // A preview reads only the first value and leaves the file open...
        QCOMPARE(m.getFirstData(), QStringLiteral("A"));
        QVERIFY(m.importFile().isOpen());
        // ...and a later run still starts from the top.
        QCOMPARE(m.getFirstData(), QStringLiteral("A"));
        QCOMPARE(m.getNextData(), QStringLiteral("B"));
        // The first title with the file already open reads on where it stands.
        QCOMPARE(m.getFirstTitle(), QStringLiteral("C"));
        QCOMPARE(m.getNextData(), QString());
        QVERIFY(!m.importFile().isOpen());
        QCOMPARE(m.getNextData(), QString());
        // With the slot closed, the first title opens the file at its first line.
        QCOMPARE(m.getFirstTitle(), QStringLiteral("A"));
        // Switching the source does not close the slot.
        c.source(1);
        QVERIFY(m.importFile().isOpen());
    }

    void importFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty name") << QString();
        QTest::newRow("missing") << QStringLiteral("/nonexistent/file.txt");
        QTest::newRow("directory") << QStringLiteral("/tmp");
    }
    void importFailures()
    {
        QFETCH(QString, name);
        FakeControls c;
        c.source(3);
        c.t4 = name;
        Module1 m(c);
        QCOMPARE(m.getFirstData(), QString());
        QCOMPARE(m.getFirstTitle(), QString());
        QCOMPARE(m.getNextData(), QString());
        QCOMPARE(m.getNextTitle(), QString());
        QVERIFY(!m.importFile().isOpen());
    }

    void unreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        FakeControls c;
        c.source(3);
        c.t4 = writeFile("A\n");
        QFile::setPermissions(c.t4, QFileDevice::WriteOwner);
        Module1 m(c);
        QCOMPARE(m.getFirstData(), QString());
        QCOMPARE(m.getNextData(), QString());
    }

    // Random start and end texts and random import bytes: no crash, no hang,
    // and every run ends.
    void fuzz()
    {
        QRandomGenerator rng(20261206);
        const char alphabet[] = "0123456789.-+eE ,\r\n\"ab\xC3\xA9\xFF";
        auto randomBytes = [&](int maxLength) {
            QByteArray b;
            const int n = int(rng.bounded(maxLength));
            for (int i = 0; i < n; ++i)
                b.append(rng.bounded(4) == 0 ? char(rng.bounded(256)) : alphabet[rng.bounded(int(sizeof alphabet - 1))]);
            return b;
        };
        FakeControls c;
        Module1 m(c);
        for (int i = 0; i < 400; ++i) {
            c.source(2);
            c.t2 = QString::fromLatin1(randomBytes(12));
            c.t3 = QString::fromLatin1(randomBytes(12));
            int count = 0;
            m.getFirstData();
            while (!m.getNextData().isEmpty() && ++count < 2000) {
            }
            c.source(3);
            c.t4 = writeFile(randomBytes(400));
            const QStringList values = run(m, i % 2 == 0);
            QVERIFY(!values.contains(QStringLiteral("<no end>")));
        }
    }
};

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
