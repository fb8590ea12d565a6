// The data values of the sequence and the import file, read as a run reads
// them. Import files a run refuses: tst_files.
#include "FakeControls.h"
#include "Module1.h"
#include "QuillError.h"

#include <QTemporaryDir>
#include <QtTest>

class TestModule1 : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString writeFile(const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(QStringLiteral("import.txt")));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }

    // The whole run a caller makes: first value, then next values until the empty text.
    static QString run(Module1 &m, bool titles)
    {
        QStringList out{m.getFirstData()};
        if (titles)
            out.last() += u'/' + m.getFirstTitle();
        for (QString v; out.size() < 1000 && !(v = m.getNextData()).isEmpty();)
            out << (titles ? v + u'/' + m.getNextTitle() : v);
        return out.join(u' ');
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
        QTest::newRow("one-character start never pads") << "0" << "3" << "(prefix)" << "/B" << "0/B 1/B 2/B 3/B";
        QTest::newRow("padding follows the start") << "08" << "10" << "(prefix)" << "(sufix)" << "08 09 10";
        QTest::newRow("negative") << "-2" << "1" << "(prefix)" << "(sufix)" << "-2 -1 0 1";
        QTest::newRow("start not a number") << "abc" << "2" << "(prefix)" << "(sufix)" << "abc 1 2";
        QTest::newRow("start beyond end") << "5" << "3" << "(prefix)" << "(sufix)" << "5";
        QTest::newRow("placeholders exactly") << "1" << "2" << "(Prefix)" << " (sufix)" << "(Prefix)1 (sufix) (Prefix)2 (sufix)";
        QTest::newRow("start kept as typed, end a number") << " 01" << "3pcs" << "(prefix)" << "(sufix)" << " 01 2 3";
        QTest::newRow("counting past 2^53 is refused") << "9007199254740991" << "1E+20" << "" << "" << "<refused>";
        QTest::newRow("serials up to 2^53 in full") << "9007199254740990" << "9007199254740992" << "(prefix)"
                                                    << "(sufix)" << "9007199254740990 9007199254740991 9007199254740992";
    }
    void sequence()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        FakeControls c;
        c.source(2);
        std::tie(c.t2, c.t3, c.t7, c.t8) = std::tie(start, end, prefix, suffix);
        Module1 m(c);
        QString values = QStringLiteral("<refused>");
        try {
            m.checkRun();
            values = run(m, false);
            values += m.getNextData(); // the end signal stays
        } catch (const QuillError &) {
        }
        QTEST(values, "values");
    }

    void import_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("titles");
        QTest::addColumn<QString>("values");
        QTest::newRow("CRLF, CR, LF") << QByteArray("A\r\nB\rC\nD") << false << "A B C D";
        QTest::newRow("blank line ends") << QByteArray("A\r\nB\r\n\r\nC\r\n") << false << "A B";
        QTest::newRow("titles") << QByteArray("A\r\nTA\r\nB\r\nTB\r\n") << true << "A/TA B/TB";
        QTest::newRow("title missing at the end") << QByteArray("A\nTA\nB") << true << "A/TA B/";
        QTest::newRow("empty file") << QByteArray() << false << "";
        QTest::newRow("byte-order mark only") << QByteArray("\xEF\xBB\xBF") << false << "";
        QTest::newRow("empty first line is a value") << QByteArray("\r\nA\r\nB") << false << " A B";
        QTest::newRow("blanks kept") << QByteArray("  A \rB\t\n") << false << "  A  B\t";
        QTest::newRow("UTF-8, BOM dropped") << QByteArray("\xEF\xBB\xBF" "Stra\xC3\x9F" "e\n\xE2\x82\xAC" "5") << false
                                          << QStringLiteral("Straße €5");
        QTest::newRow("Latin-1 when not UTF-8") << QByteArray("Stra\xDF" "e\n\x80\xFF") << false
                                                << QStringLiteral("Straße \u0080ÿ");
        for (int length : {65535, 65536}) // a CR LF pair split across the reader's buffer
            QTest::addRow("CR LF after %d bytes", length) << QByteArray(length - 1, 'x') + "A\r\nB" << false
                                                         << QString(length - 1, u'x') + QStringLiteral("A B");
    }
    void import()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, titles);
        QFETCH(QString, values);
        FakeControls c;
        c.source(3);
        c.t4 = writeFile(content);
        Module1 m(c);
        QCOMPARE(run(m, titles), values);
        QVERIFY(!m.importFile().isOpen());
        const QString first = m.getFirstData(); // as a preview reads it
        QCOMPARE(m.importFile().isOpen(), !values.isEmpty()); // an empty file is not kept open
        QCOMPARE(m.getFirstData(), first);                     // every first call starts from the top
    }
};

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
