// The data values of the sequence and the import file, read as a run reads
// them, and the import files a run refuses.
#include "FakeControls.h"
#include "ImportRows.h"
#include "ImportSample.h"
#include "Module1.h"
#include "QuillError.h"

#include "Files.h"
#include "common/Raised.h"

#include <QStringEncoder>
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

// A text as a UTF-16 export holds it: the byte-order mark, then the characters.
QByteArray utf16(const QString &text, QStringEncoder::Encoding order)
{
    return QStringEncoder(order, QStringEncoder::Flag::WriteBom).encode(text);
}

// Lines or columns read by a run, from standard input or a file.
struct Stream {
    QByteArray bytes;
    ImportColumns columns = {};
    bool titles = false;
    QString values = {}; // the run's values, or the message that refuses it
    QString preview = {}; // the data panel's: the first line's first field, and its title
};
Q_DECLARE_METATYPE(Stream)

// Where a file the import cannot take is refused: everywhere, or only by the
// run's check (the previews and the run stay silent), or only by the run.
enum class Stops { Everywhere, Check, Run };

struct Refusal {
    QString file; // in the test's folder; empty and absolute paths as they stand
    QString message;
    ImportColumns columns = {};
    Stops stops = Stops::Everywhere;
};
Q_DECLARE_METATYPE(Refusal)

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
    // The files refusedFiles names; a read that waits for ever fails the test.
    void initTestCase()
    {
        ::alarm(60);
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("fifo")).constData(), 0600), 0);
        QVERIFY(QDir(m_dir.path()).mkdir("folder"));
        QVERIFY(plant(m_dir.filePath("zeros"), ""));
        QVERIFY(QFile(m_dir.filePath("zeros")).resize(qint64(1) << 30)); // 1 GB of zero bytes, sparse
        QVERIFY(plant(m_dir.filePath("third"),
                      "A\nB\n" + QByteArray(ImportFile::kLongestLine + 1, 'x') + "\nC\n"));
        QVERIFY(plant(m_dir.filePath("empty"), "\xEF\xBB\xBF"));
        QVERIFY(plant(m_dir.filePath("short.csv"), "sku,name\n1,A\n2\n"));
        QVERIFY(plant(m_dir.filePath("book.xlsx"), QByteArray("PK\x03\x04\x14\0\x06\0\x08\0", 12)));
    }

    void sequence_data()
    {
        QTest::addColumn<Sequence>("s");
        const auto row = [](const char *name, const Sequence &s) { QTest::newRow(name) << s; };
        row("padded", {.start = "001", .end = "003", .prefix = "A-", .values = "A-001 A-002 A-003"});
        row("start not a number", {.start = "abc", .end = "2", .values = "abc 1 2"});
        row("fraction through zero",
            {.start = "-10.1",
             .end = ".9",
             .values = "-10.1 -9.1 -8.1 -7.1 -6.1 -5.1 -4.1 -3.1 -2.1 -1.1 -.1 .9"});
        row("up to 2^53",
            {.start = "9007199254740990",
             .end = "9007199254740992",
             .values = "9007199254740990 9007199254740991 9007199254740992"});
        row("a start with an exponent", {.start = "1E+2", .end = "102", .values = "1E+2 101 102"});
        row("past 2^53, an end with an exponent", {.start = "9007199254740991", .end = "1E+20"});
        row("past 2^53 alone",
            {.start = "9007199254740993", .end = "9007199254740993", .values = "9007199254740993"});
        row("from below -2^53", {.start = "-9007199254740993", .end = "-9007199254740990"});
        row("end compared as typed",
            {.start = "9007199254740990", .end = "9007199254740990.7", .values = "9007199254740990"});
        row("more than 15 digits", {.start = "1000000000000000.5", .end = "1000000000000002"});
        row("a fraction as long as is kept",
            {.start = "0." + QString(399, u'0') + "1",
             .end = "1",
             .values = "0." + QString(399, u'0') + "1"});
        row("a fraction longer than is kept", {.start = "0." + QString(401, u'0') + "1", .end = "1"});
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
        row("doubled quotes", {.bytes = "1,\"say \"\"hi\"\"\"\n", .rows = {"1/say \"hi\""}});
        row("literal text and braces",
            {.bytes = "a,1\n", .value = "{1}-{ 2 }", .title = "{{{2}}} }", .rows = {"a-1/{1} }"}});
        row("a row of empty fields ends", {.bytes = "a,1\n,\nb,2\n", .rows = {"a/1"}});
        row("header only", {.bytes = "sku,name\n", .header = true});
        row("a title's name without a header",
            {.bytes = "a,1\n",
             .title = "{name}",
             .message = {"without a header row its columns are numbered: \"1\", \"2\"."}});
        row("quote not closed",
            {.bytes = "a,1\nb,\"oops\nc,3\n", .rows = {"a/1"}, .message = {"Line 2 of", "column 2:"}});
        row("short row after a quoted line break",
            {.bytes = "a,\"x\r\ny\"\r\nb\r\n",
             .rows = {"a/x\r\ny"},
             .message = {"Line 3 of", "has 1 column(s)", "column 2"}});
        row("UTF-16, big-endian",
            {.bytes = utf16("1,Stra\u00dfe\r\n2,\"x, \u65e5\"\r\n", QStringEncoder::Utf16BE),
             .rows = {"1/Stra\u00dfe", "2/x, \u65e5"}});
        row("control characters shown in a message",
            {.bytes = "a\x01\x1b[2J\u0085b\x7f,n\n,X\n",
             .header = true,
             .message = {"column 1 (\"a\\x01\\x1b[2J\\x85b\\x7f\"): the value template"}});
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

    void import_data()
    {
        QTest::addColumn<Stream>("s");
        const auto row = [](const char *name, const Stream &s) { QTest::newRow(name) << s; };
        row("line ends of every kind", {.bytes = "A\r\nB\rC\nD", .values = "A B C D"});
        row("a blank line ends", {.bytes = "A\r\nB\r\n\r\nC\r\n", .values = "A B"});
        row("a title under each value", {.bytes = "A\nTA\nB\nTB\n", .titles = true, .values = "A/TA B/TB"});
        row("the last title missing", {.bytes = "A\nTA\nB", .titles = true, .values = "A/TA B/"});
        row("a quoted first field previewed whole",
            {.bytes = "\"A, B\",x\n", .values = "\"A, B\",x", .preview = "A, B/"});
        row("a quoted first field at the file's end", {.bytes = "\"A\"", .values = "\"A\"", .preview = "A/"});
        row("empty", {.bytes = "", .values = ""});
        row("byte-order mark only", {.bytes = "\xEF\xBB\xBF", .values = ""});
        row("Latin-1 when not UTF-8",
            {.bytes = "Stra\xDF"
                      "e\n\x80\xFF",
             .values = "Straße \u0080ÿ"});
        // A CR LF pair split across the reader's buffer, and one just within it.
        row("UTF-16 with its byte-order mark",
            {.bytes = utf16("A\r\nB\u20ac\n\u65e5\u672c", QStringEncoder::Utf16LE),
             .values = "A B\u20ac \u65e5\u672c"});
        row("CR LF split by the buffer",
            {.bytes = QByteArray(65534, 'x') + "A\r\nB", .values = QString(65534, u'x') + "A B"});
        row("columns, up to a blank line",
            {.bytes = "sku,name\r\n1001,Widget\r\n1002,\"Gadget, large\"\r\n\r\n1003,Gizmo\r\n",
             .columns = kSkuName,
             .titles = true,
             .values = "1001/Widget 1002/Gadget, large"});
    }
    // An import file read line by line, or by its columns, as the run reads it;
    // the file is closed between calls, and every first call starts from the top.
    void import()
    {
        QFETCH(Stream, s);
        FakeControls c;
        c.source(3);
        c.t4 = m_dir.filePath(QStringLiteral("import.txt"));
        c.columns = s.columns;
        QVERIFY(plant(c.t4, s.bytes));
        Module1 m(c);
        QCOMPARE(run(m, s.titles), s.values);
        QVERIFY(!heldOpen(c.t4));
        const QString first = m.getFirstData(); // as a preview reads it
        QCOMPARE(heldOpen(c.t4), !s.values.isEmpty()); // an empty file is not kept open
        QCOMPARE(m.getFirstData(), first);
        // The data panel's preview: with columns, the first row's value and title.
        const QString preview = m.importPreview(c.t4) + u'/' + m.importPreviewTitle(c.t4);
        QVERIFY(!heldOpen(c.t4));
        if (s.columns.chosen())
            QCOMPARE(preview, s.values.section(u' ', 0, 0));
        if (!s.preview.isEmpty())
            QCOMPARE(preview, s.preview);
    }

    void standardInput_data()
    {
        QTest::addColumn<Stream>("s");
        const auto row = [](const char *name, const Stream &s) { QTest::newRow(name) << s; };
        // The check reads past the first chunk; the run reads the same rows again.
        row("a header longer than a chunk",
            {.bytes = "sku," + QByteArray(60000, 'n') + "\n1,X\n2," + QByteArray(60000, 'y') + "\n3,Z\n",
             .columns = kSkuOnly,
             .values = "1 2 3"});
        row("empty", {.bytes = "", .values = "Standard input is empty."});
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

    void refusedFiles_data()
    {
        QTest::addColumn<Refusal>("r");
        const auto row = [](const char *name, const Refusal &r) { QTest::newRow(name) << r; };
        const QString notOrdinary = QStringLiteral("is not an ordinary file");
        ImportColumns size = kSkuOnly;
        size.valueTemplate = QStringLiteral("{size}");
        row("a pipe", {.file = "fifo", .message = notOrdinary});
        row("NUL bytes, endless", {.file = "zeros", .message = "is not text: it holds NUL bytes"});
        row("a spreadsheet", {.file = "book.xlsx", .message = "is not text but a zip container"});
        row("a line too long", {.file = "third", .message = "Line 3 of", .stops = Stops::Run});
        row("none chosen", {.file = "", .message = "No import file is chosen.", .stops = Stops::Check});
        row("a NUL in the name, before a file's",
            {.file = QStringLiteral("third") + QChar(0) + u'x',
             .message = "No import file is chosen.",
             .stops = Stops::Check});
        row("missing",
            {.file = "/nonexistent/list.txt",
             .message = "No such file or directory.",
             .stops = Stops::Check});
        row("a byte-order mark only", {.file = "empty", .message = "is empty.", .stops = Stops::Check});
        row("a column the header lacks",
            {.file = "short.csv",
             .message = "its header names the columns: \"sku\", \"name\".",
             .columns = size});
    }
    // Only an ordinary file is read, and no further than the longest value, by
    // the run's check, the title preview and the run itself alike; the
    // previews stay silent where the file is only missing or empty.
    void refusedFiles()
    {
        QFETCH(Refusal, r);
        FakeControls c;
        c.source(3);
        c.t4 = r.file.isEmpty() || r.file.startsWith(u'/') ? r.file : m_dir.filePath(r.file);
        c.columns = r.columns;
        Module1 m(c);
        QString check;
        QString preview;
        QString whole;
        limited(RLIMIT_AS, addressSpace() + (256 << 20), [&] { // far less than the endless file
            check = raised([&m] { m.checkRun(); });
            QVERIFY(!heldOpen(c.t4));
            preview = raised([&m] { m.getFirstTitle(); });
            whole = raised([&m] {
                m.getFirstTitle();
                while (!m.getNextData().isEmpty()) { }
            });
        });
        QVERIFY(!heldOpen(c.t4));
        QCOMPARE(check.isEmpty(), r.stops == Stops::Run);
        QCOMPARE(preview.isEmpty(), r.stops != Stops::Everywhere);
        QCOMPARE(whole.isEmpty(), r.stops == Stops::Check);
        for (const QString &message : {check, preview, whole}) {
            if (!message.isEmpty())
                QVERIFY2(message.contains(r.message), qPrintable(message));
            QVERIFY2(message.size() < 300, qPrintable(message));
        }
    }
};

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
