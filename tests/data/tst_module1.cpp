// The data values of the sequence and the import file, read as a run reads
// them, and the import files a run refuses.
#include "FakeControls.h"
#include "ImportRows.h"
#include "ImportSample.h"
#include "Module1.h"
#include "QuillError.h"

#include "Files.h"
#include "common/Raised.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

struct Sequence {
    QString start;
    QString end;
    QString prefix = QStringLiteral("(prefix)");
    QString suffix = QStringLiteral("(sufix)");
    QString values = QStringLiteral("<refused>"); // the run's values, or that it is refused
};
Q_DECLARE_METATYPE(Sequence)

using Delimiter = ImportColumns::Delimiter;

// A shop system's export: the code in "sku", the product's name in "name".
const ImportColumns kSkuName{
    .delimiter = Delimiter::Detect, .header = true, .valueTemplate = "{sku}", .titleTemplate = "{name}"};
const ImportColumns kSkuOnly{
    .delimiter = Delimiter::Detect, .header = true, .valueTemplate = "{sku}", .titleTemplate = ""};

struct Csv {
    QByteArray bytes;
    Delimiter delimiter = Delimiter::Detect;
    bool header = false;
    QString value = QStringLiteral("{1}");
    QString title = QStringLiteral("{2}");
    QStringList rows = {}; // value/title of each row before the end or the message
    QStringList message = {}; // what the message that stops the reader says; none: no message
};
Q_DECLARE_METATYPE(Csv)

struct Stream {
    QByteArray bytes;
    ImportColumns columns = {};
    bool titles = false;
    QString values = {}; // the run's values, or the message that refuses it
};
Q_DECLARE_METATYPE(Stream)

class TestModule1 : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

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
    void initTestCase() { ::alarm(60); } // a read that waits for ever fails the test

    void sequence_data()
    {
        QTest::addColumn<Sequence>("s");
        const auto row = [](const char *name, const Sequence &s) { QTest::newRow(name) << s; };
        row("padded", {.start = "001", .end = "003", .prefix = "A-", .values = "A-001 A-002 A-003"});
        row("one character never pads",
            {.start = "0", .end = "3", .suffix = "/B", .values = "0/B 1/B 2/B 3/B"});
        row("padding follows the start", {.start = "08", .end = "10", .values = "08 09 10"});
        row("negative", {.start = "-2", .end = "1", .values = "-2 -1 0 1"});
        row("start not a number", {.start = "abc", .end = "2", .values = "abc 1 2"});
        row("start after the end", {.start = "5", .end = "3", .values = "5"});
        row("fraction", {.start = "0.25", .end = "2", .values = "0.25 1.25"});
        row("fraction through zero",
            {.start = "-10.1",
             .end = ".9",
             .values = "-10.1 -9.1 -8.1 -7.1 -6.1 -5.1 -4.1 -3.1 -2.1 -1.1 -.1 .9"});
        row("placeholders exactly",
            {.start = "1",
             .end = "2",
             .prefix = "(Prefix)",
             .suffix = " (sufix)",
             .values = "(Prefix)1 (sufix) (Prefix)2 (sufix)"});
        row("start as typed, end a number", {.start = " 01", .end = "3pcs", .values = " 01 2 3"});
        row("up to 2^53",
            {.start = "9007199254740990",
             .end = "9007199254740992",
             .values = "9007199254740990 9007199254740991 9007199254740992"});
        row("past 2^53", {.start = "9007199254740991", .end = "1E+20"});
        row("past 2^53 as typed", {.start = "9007199254740990", .end = " 9007199254740993 pcs"});
        row("from below -2^53", {.start = "-9007199254740993", .end = "-9007199254740990"});
        row("end compared as typed",
            {.start = "9007199254740990", .end = "9007199254740990.7", .values = "9007199254740990"});
        row("more than 15 digits", {.start = "1000000000000000.5", .end = "1000000000000002"});
    }
    // Every value of the range, each once and as its number text, or the run
    // is refused before its first value.
    void sequence()
    {
        QFETCH(Sequence, s);
        FakeControls c;
        c.source(2);
        c.t2 = s.start;
        c.t3 = s.end;
        c.t7 = s.prefix;
        c.t8 = s.suffix;
        Module1 m(c);
        QString made = QStringLiteral("<refused>");
        try {
            m.checkRun();
            made = run(m, false);
            made += m.getNextData(); // the end signal stays
        } catch (const QuillError &) {
        }
        QCOMPARE(made, s.values);
    }

    void csv_data()
    {
        QTest::addColumn<Csv>("c");
        const auto row = [](const char *name, const Csv &c) { QTest::newRow(name) << c; };
        row("quoted comma, CR LF",
            {.bytes = "sku,name,qty\r\n1001,Widget,3\r\n1002,\"Gadget, large\",1\r\n",
             .header = true,
             .value = "{sku}",
             .title = "{name}",
             .rows = {"1001/Widget", "1002/Gadget, large"}});
        row("doubled quotes", {.bytes = "1,\"say \"\"hi\"\"\"\n", .rows = {"1/say \"hi\""}});
        row("line break in quotes", {.bytes = "1,\"two\nlines\"\n", .rows = {"1/two\nlines"}});
        row("semicolon found", {.bytes = "sku;name\n1001;\"a;b\"\n", .header = true, .rows = {"1001/a;b"}});
        row("tab found",
            {.bytes = "1001\tWidget, blue\n1002\tGadget\n", .rows = {"1001/Widget, blue", "1002/Gadget"}});
        row("semicolon on every line, comma not", {.bytes = "1;2,50\n2;3\n", .rows = {"1/2,50", "2/3"}});
        row("delimiter chosen", {.bytes = "a;b,c\n", .delimiter = Delimiter::Comma, .rows = {"a;b/c"}});
        row("UTF-8 with byte-order mark",
            {.bytes = "\xEF\xBB\xBFsku,name\nS1,Stra\xC3\x9F"
                      "e\n",
             .header = true,
             .value = "{sku}",
             .rows = {"S1/Straße"}});
        row("Latin-1",
            {.bytes = "S1,Stra\xDF"
                      "e\n",
             .rows = {"S1/Straße"}});
        row("CR, no end on the last line", {.bytes = "a,1\rb,2", .rows = {"a/1", "b/2"}});
        row("literal text and braces",
            {.bytes = "a,1\n", .value = "{1}-{ 2 }", .title = "{{{2}}} }", .rows = {"a-1/{1} }"}});
        row("by name and by number",
            {.bytes = "sku,size\nX,L\n",
             .header = true,
             .value = "{sku}-{2}",
             .title = "",
             .rows = {"X-L/"}});
        row("a row of empty fields ends", {.bytes = "a,1\n,\nb,2\n", .rows = {"a/1"}});
        row("a blank line ends", {.bytes = "a,1\n\nb,2\n", .rows = {"a/1"}});
        row("header only", {.bytes = "sku,name\n", .header = true});
        row("quote not closed",
            {.bytes = "a,1\nb,\"oops\nc,3\n", .rows = {"a/1"}, .message = {"Line 2 of", "column 2:"}});
        row("short row after a quoted line break",
            {.bytes = "a,\"x\r\ny\"\r\nb\r\n",
             .rows = {"a/x\r\ny"},
             .message = {"Line 3 of", "has 1 column(s)", "column 2"}});
        row("short row with a header",
            {.bytes = "sku,name\n1,A\n2\n",
             .header = true,
             .rows = {"1/A"},
             .message = {"Line 3 of", "column 2 (\"name\")"}});
        row("empty value",
            {.bytes = "sku,name\n,A\n",
             .header = true,
             .message = {"Line 2 of", "column 1 (\"sku\")", "empty value"}});
        row("column the header lacks",
            {.bytes = "sku,name\n1,A\n",
             .header = true,
             .value = "{size}",
             .message = {"\"size\"", "columns: \"sku\", \"name\"."}});
        row("name without a header",
            {.bytes = "1,A\n", .value = "{sku}", .message = {"numbered: \"1\", \"2\"."}});
        row("brace not closed", {.bytes = "1,A\n", .value = "{1", .message = {"not closed"}});
        row("record too long",
            {.bytes = "a\n\"" + QByteArray(ImportFile::kLongestLine + 1, 'x') + "\"\n",
             .title = "",
             .rows = {"a/"},
             .message = {"Line 2 of", "longer than 65536 bytes", "column 1 is still within its quotes"}});
    }
    // The rows a reader gives from a file, each through the templates, up to
    // the end of the data or to the message that stops it; the sample a
    // dialog shows holds the first of them.
    void csv()
    {
        QFETCH(Csv, c);
        const ImportColumns columns{
            .delimiter = c.delimiter, .header = c.header, .valueTemplate = c.value, .titleTemplate = c.title};
        const QString path = m_dir.filePath(QStringLiteral("import.csv"));
        QVERIFY(plant(path, c.bytes));
        QStringList rows;
        QString message;
        ImportFile file;
        try {
            QVERIFY(file.open(path));
            ImportRows reader(file, columns);
            reader.start();
            while (reader.next()) {
                QString value;
                QString title;
                reader.evaluate(&value, &title);
                rows << value + u'/' + title;
            }
        } catch (const QuillError &error) {
            message = error.description();
        }
        QCOMPARE(rows, c.rows);
        QCOMPARE(message.isEmpty(), c.message.isEmpty());
        for (const QString &part : c.message)
            QVERIFY2(message.contains(part), qPrintable(message));
        const ImportSample sample = sampleImport(path, columns);
        QCOMPARE(sample.error.isEmpty(), !c.rows.isEmpty());
        if (!c.rows.isEmpty())
            QCOMPARE(sample.value + u'/' + sample.title, c.rows.first());
    }

    void import()
    {
        const ImportColumns twoColumns{
            .delimiter = Delimiter::Detect, .header = false, .valueTemplate = "{1}-{2}", .titleTemplate = ""};
        struct Row {
            QByteArray content;
            bool titles;
            QString values;
            ImportColumns columns = {};
        };
        const Row rows[]
            = {{"A\r\nB\rC\nD", false, "A B C D"},
               {"A\r\nB\r\n\r\nC\r\n", false, "A B"}, // a blank line ends
               {"A\r\nTA\r\nB\r\nTB\r\n", true, "A/TA B/TB"},
               {"A\nTA\nB", true, "A/TA B/"},
               {"", false, ""},
               {"\xEF\xBB\xBF", false, ""},
               {"\r\nA\r\nB", false, " A B"}, // an empty first line is a value
               {"  A \rB\t\n", false, "  A  B\t"},
               {"\xEF\xBB\xBF"
                "Stra\xC3\x9F"
                "e\n\xE2\x82\xAC"
                "5",
                false, QStringLiteral("Straße €5")},
               {"Stra\xDF"
                "e\n\x80\xFF",
                false, QStringLiteral("Straße \u0080ÿ")}, // Latin-1 when not UTF-8
               // A CR LF pair split across the reader's buffer.
               {QByteArray(65534, 'x') + "A\r\nB", false, QString(65534, u'x') + QStringLiteral("A B")},
               {QByteArray(65535, 'x') + "A\r\nB", false, QString(65535, u'x') + QStringLiteral("A B")},
               // Columns: each row's value and title, up to a blank line.
               {"sku,name\r\n1001,Widget\r\n1002,\"Gadget, large\"\r\n\r\n1003,Gizmo\r\n", true,
                "1001/Widget 1002/Gadget, large", kSkuName},
               {"a;1\nb;2", true, "a-1/ b-2/", twoColumns}};
        for (const auto &row : rows) {
            FakeControls c;
            c.source(3);
            c.t4 = m_dir.filePath(QStringLiteral("import.txt"));
            c.columns = row.columns;
            QVERIFY(plant(c.t4, row.content));
            Module1 m(c);
            QCOMPARE(run(m, row.titles), row.values);
            QVERIFY(!heldOpen(c.t4));
            const QString first = m.getFirstData(); // as a preview reads it
            QCOMPARE(heldOpen(c.t4), !row.values.isEmpty()); // an empty file is not kept open
            QCOMPARE(m.getFirstData(), first); // every first call starts from the top
            // The data panel's preview: with columns, the first row's value and title.
            const QString preview = m.importPreview(c.t4) + u'/' + m.importPreviewTitle(c.t4);
            QVERIFY(!heldOpen(c.t4));
            if (row.columns.chosen())
                QCOMPARE(preview, row.values.section(u' ', 0, 0));
        }
    }

    void standardInput_data()
    {
        QTest::addColumn<Stream>("s");
        const auto row = [](const char *name, const Stream &s) { QTest::newRow(name) << s; };
        row("lines", {.bytes = "A\nB\n", .values = "A B"});
        row("lines with titles", {.bytes = "A\nTA\nB\nTB", .titles = true, .values = "A/TA B/TB"});
        row("columns",
            {.bytes = "sku;name\n1;X\n2;Y\n", .columns = kSkuName, .titles = true, .values = "1/X 2/Y"});
        // The check reads past the first chunk; the run reads the same rows again.
        row("a header longer than a chunk",
            {.bytes = "sku," + QByteArray(60000, 'n') + "\n1,X\n2," + QByteArray(60000, 'y') + "\n3,Z\n",
             .columns = kSkuOnly,
             .values = "1 2 3"});
        row("empty", {.bytes = "", .values = "Standard input is empty."});
        row("byte-order mark only",
            {.bytes = "\xEF\xBB\xBF", .columns = kSkuName, .values = "Standard input is empty."});
        row("bad first row",
            {.bytes = "sku,name\n,X\n",
             .columns = kSkuName,
             .values = "Line 2 of standard input, column 1 (\"sku\")"});
    }
    // "--import -": standard input, a pipe here, is checked and then read
    // once by the run, and cannot be read a second time.
    void standardInput()
    {
        QFETCH(Stream, s);
        int pipe[2];
        QCOMPARE(::pipe(pipe), 0);
        const int saved = ::dup(STDIN_FILENO);
        QCOMPARE(::dup2(pipe[0], STDIN_FILENO), STDIN_FILENO);
        ::close(pipe[0]);
        std::thread writer([&] {
            for (qsizetype done = 0, n = 0; done < s.bytes.size() && n >= 0; done += n)
                n = ::write(pipe[1], s.bytes.constData() + done, s.bytes.size() - done);
            ::close(pipe[1]);
        });
        FakeControls c;
        c.source(3);
        c.standardInput = true;
        c.columns = s.columns;
        Module1 m(c);
        QString made;
        const QString refused = raised([&] {
            m.checkRun();
            made = run(m, s.titles);
        });
        const QString again = raised([&m] { m.getFirstData(); });
        writer.join();
        ::dup2(saved, STDIN_FILENO);
        ::close(saved);
        const QString outcome = refused.isEmpty() ? made : refused;
        QVERIFY2(outcome.startsWith(s.values), qPrintable(outcome));
        QCOMPARE(again, QStringLiteral("Standard input has been read already: it can be read only once."));
    }

    // Only an ordinary file is read, and no further than the longest value, by
    // the run's check (step 1), the title preview (2) and the run itself (4)
    // alike; the previews stay silent where the file is only missing or empty.
    void refusedFiles()
    {
        const QString fifo = m_dir.filePath(QStringLiteral("fifo")),
                      zeros = m_dir.filePath(QStringLiteral("zeros"));
        const QString third = m_dir.filePath(QStringLiteral("third")),
                      empty = m_dir.filePath(QStringLiteral("empty"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(plant(zeros, ""));
        QVERIFY(QFile(zeros).resize(qint64(1) << 30)); // 1 GB of zero bytes, sparse
        QVERIFY(plant(third, "A\nB\n" + QByteArray(ImportFile::kLongestLine + 1, 'x') + "\nC\n"));
        QVERIFY(plant(empty, "\xEF\xBB\xBF"));
        const QString shortRow = m_dir.filePath(QStringLiteral("short.csv"));
        QVERIFY(plant(shortRow, "sku,name\n1,A\n2\n"));
        ImportColumns size = kSkuOnly;
        size.valueTemplate = QStringLiteral("{size}");
        // steps: those that stop with the message
        const struct {
            QString name, message;
            int steps;
            ImportColumns columns = {};
        } rows[] = {{fifo, "is not an ordinary file", 7},
                    {"/dev/zero", "is not an ordinary file", 7},
                    {m_dir.path(), "is not an ordinary file", 7},
                    {zeros, "Line 1 of", 7}, // an endless line
                    {third, "Line 3 of", 4},
                    {"", "No import file is chosen.", 1},
                    {"/nonexistent/list.txt", "No such file or directory.", 1},
                    {empty, "is empty.", 1}, // but a byte-order mark
                    {shortRow, "Line 3 of", 4, kSkuName},
                    {shortRow, "its header names the columns: \"sku\", \"name\".", 7, size}};
        for (const auto &[name, message, steps, columns] : rows) {
            FakeControls c;
            c.source(3);
            c.t4 = name;
            c.columns = columns;
            Module1 m(c);
            for (int step : {1, 2, 4}) {
                try {
                    step == 1 ? m.checkRun() : void(m.getFirstTitle());
                    while (step == 4 && !m.getNextData().isEmpty()) { }
                    QVERIFY2(!(steps & step), qPrintable(name + QStringLiteral(": no message")));
                } catch (const QuillError &error) {
                    QVERIFY2(steps & step && error.description().contains(message)
                                 && error.description().size() < 300,
                             qPrintable(error.description()));
                }
                QVERIFY(step == 2 || !heldOpen(c.t4));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
