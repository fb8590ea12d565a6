// The command line as scripts use it: the real program in its own process,
// with a design file of its own and no user settings, its PDF and pictures
// read back from outside (pdftoppm and zxing-cpp through the bench's checks).
#include "CommandLine.h"
#include "Decode.h"
#include "Design.h"
#include "Files.h"
#include "Form1.h"
#include "LabelSheet.h"
#include "OutputCommands.h"
#include "PdfCheck.h"
#include "PrinterObject.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "common/DesignTexts.h"
#include "frmPrint.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// What a job's child gets besides its arguments.
struct Plumbing {
    QString tmp = {}; // TMPDIR; a file stands there when empty
    QByteArray input = {}; // standard input through a pipe, when given
    QString stdoutFile = {}; // where standard output goes, in place of out
    // A standard output that takes no writes, in the shell's words: "1>&-" closed,
    // "1<FILE" open for reading only, "|true" a pipe whose reader is gone.
    QString stdoutShut = {};
};

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Code128 on the bench's 3 x 10 sheet, 2.5 x 0.75 in.
        SettingsStore design(path("design.conf"));
        const std::pair<const char *, double> margins[] = {
            {"Label margins/Left", LabelSheet::labelLeft}, {"Label margins/Right", LabelSheet::labelRight},
            {"Label margins/Top", LabelSheet::labelTop},   {"Label margins/Bottom", LabelSheet::labelBottom},
            {"Page margins/Left", LabelSheet::pageLeft},   {"Page margins/Right", LabelSheet::pageRight},
            {"Page margins/Top", LabelSheet::pageTop},     {"Page margins/Bottom", LabelSheet::pageBottom}};
        for (const auto &[key, value] : margins)
            design.write(QString(key).section('/', 0, 0), QString(key).section('/', 1),
                         LabelSheet::text(value));
        for (const auto &[key, value] :
             {std::pair{"vtlw", "3600"}, {"vtlh", "1080"}, {"mesure", "1"}, {"bartype", "8"}})
            design.write(QStringLiteral("Form1"), key, value);
        QVERIFY(design.flush().isEmpty());
        QVERIFY(m_terminal >= 0 && ::grantpt(m_terminal) == 0 && ::unlockpt(m_terminal) == 0);
        QVERIFY(plant(path("not-a-folder"), ""));
        // The third line lacks the title's column.
        QVERIFY(plant(path("short.csv"), "sku,name\n1001,Widget\n1002\n1003,Gizmo\n"));
        QVERIFY(::mkfifo(QFile::encodeName(path("pipe.png")).constData(), 0600) == 0);
        QVERIFY(QFile::link(path("pipe.png"), path("link.pdf")));
    }

    void exitStatusAndMessage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown argument") << QStringList{"--frobnicate"} << 2 << "unknown argument";
        QTest::newRow("two jobs") << QStringList{"--print", "--save", "a.png"} << 2 << "one job each";
        // Qt's own options go to the toolkit; the job's are still read around them.
        QTest::newRow("value missing after Qt's options")
            << QStringList{"--print", "-style", "Fusion", "--reverse", "-platform=offscreen", "--text"} << 2
            << "--text needs a value";
        QTest::newRow("a value like Qt's option")
            << QStringList{"--save", "a.png", "--text", "-reverse", "--copies", "2"} << 2
            << "--copies goes with --print";
        QTest::newRow("prefix twice")
            << QStringList{"--print", "--sequence", "1", "2", "--prefix", "a", "--prefix", "b"} << 2
            << "--prefix is given twice";
        QTest::newRow("two data sources")
            << QStringList{"--save", "a.png", "--text", "1", "--import", "f"} << 2 << "one data source";
        QTest::newRow("a queue and a PDF") << QStringList{"--print", "--printer", "Q", "--pdf", "x.pdf"} << 2
                                           << "--printer and --pdf choose one printer";
        QTest::newRow("missing queue")
            << QStringList{"--print", "--printer", "no-such-queue"} << 1 << "no-such-queue";
        QTest::newRow("a short row halfway through a print")
            << QStringList{"--print",  "--pdf",   "x.pdf", "--import", "short.csv",
                           "--header", "--value", "{sku}", "--title",  "{name}"}
            << 1 << "Line 3 of the import file";
        QTest::newRow("data the symbology refuses")
            << QStringList{"--save", "b.png", "--text", "\u00e9\u20ac"} << 1 << "\u20ac";
        QTest::newRow("empty picture name") << QStringList{"--save", ""} << 2 << "--save needs a file name";
        QTest::newRow("empty sequence end")
            << QStringList{"--save", "a.png", "--sequence", "1", ""} << 2 << "--sequence needs a value";
        QTest::newRow("unknown symbology") << QStringList{"--save", "a.png", "--symbology", "Code 127"} << 2
                                           << "there is no symbology \"Code 127\"";
        QTest::newRow("size without unit")
            << QStringList{"--save", "a.png", "--size", "2x1"} << 2 << "--size takes WIDTHxHEIGHT";
        QTest::newRow("size beyond drawing") << QStringList{"--save", "a.png", "--size", "20000x1in"} << 1
                                             << "The size 20000 x 1 in is refused: vtlw is 28800000";
        QTest::newRow("first label 0")
            << QStringList{"--print", "--first", "0"} << 2 << "--first takes a label";
        QTest::newRow("delimiter word")
            << QStringList{"--save", "a.png", "--value", "{1}", "--delimiter", "pipe"} << 2
            << "--delimiter takes , ; or tab";
        QTest::newRow("copies past 999") << QStringList{"--print", "--copies", "1000"} << 2
                                         << "--copies takes a count from 1 to 999, not \"1000\"";
        QTest::newRow("PDF on a terminal") << QStringList{"--print", "--pdf", "-", "--text", "A"} << 1
                                           << "standard output, which is a terminal here";
        QTest::newRow("resolution past 2400") << QStringList{"--save", "a.png", "--dpi", "4800"} << 2
                                              << "--dpi takes screen or a resolution from 50 to 2400";
        // EAN-13 on the PDF printer's 1200 dpi: 13 dots (0.275 mm) a module, and 12 (0.254 mm) warned of.
        QTest::newRow("module at the standard's least")
            << QStringList{"--print", "--pdf", "x.pdf", "--symbology", "ean-13", "--size", "1.23x1in"} << 0
            << "";
        QTest::newRow("module under the standard's least")
            << QStringList{"--print", "--pdf", "x.pdf", "--symbology", "ean-13", "--size", "1.2x1in"} << 0
            << "The module 0.254 mm (10 mils), 12 dots at 1200 dpi, is below the 0.264 mm";
        QTest::newRow("paper the printer lacks")
            << QStringList{"--print", "--pdf", "x.pdf", "--paper", "A0"} << 1 << "has no paper \"A0\"";
        // Refused before a value is drawn: the value would be refused too.
        QTest::newRow("picture over a pipe")
            << QStringList{"--save", "pipe.png", "--symbology", "ean-13", "--text", "A"} << 1
            << "pipe.png\": it is a named pipe, not a regular file.";
        QTest::newRow("PDF over a link to a pipe")
            << QStringList{"--print", "--pdf", "link.pdf", "--symbology", "ean-13", "--text", "A"} << 1
            << "link.pdf\": it is a link to a named pipe, not a regular file.";
        QTest::newRow("picture to standard output")
            << QStringList{"--save", "-", "--text", "A"} << 2 << "--save needs a file name, not -";
        QTest::newRow("PDF without standard output")
            << QStringList{"1>&-", "--print", "--pdf", "-", "--text", "A"} << 1
            << "standard output, which is closed or read-only here";
        QTest::newRow("status line to a pipe whose reader is gone")
            << QStringList{"|true", "--save", "ok.png", "--text", "A"} << 1
            << "standard output could not be written: Broken pipe.";
        QTest::newRow("fields with a job's option")
            << QStringList{"--list-fields", "--text", "A"} << 2 << "--list-fields goes with --design alone";
        QTest::newRow("symbologies to a read-only standard output")
            << QStringList{"1<ro.txt", "--list-symbologies"} << 1
            << "standard output could not be written: Bad file descriptor.";
    }
    void exitStatusAndMessage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString shut = arguments.first().startsWith("--") ? QString() : arguments.takeFirst();
        if (status != 2 && (arguments.contains("--print") || arguments.contains("--save")))
            arguments << "--design" << path("design.conf");
        for (const char *output : {"x.pdf", "a.png", "b.png"})
            QFile::remove(path(output)); // a row that wrote fails alone
        // A PDF asked for on standard output finds a terminal there.
        const QString terminal = QString::fromLatin1(::ptsname(m_terminal));
        const QString stdoutFile = arguments.contains("-") ? terminal : QString();
        const auto [code, out, err] = run(arguments, {.stdoutFile = stdoutFile, .stdoutShut = shut});
        QCOMPARE(code, status);
        // No message: the job says nothing of its module.
        QVERIFY2(message.isEmpty() ? !err.contains("module") : err.contains(message), qPrintable(err));
        if (status == 0)
            return;
        QVERIFY(out.isEmpty());
        QVERIFY(!QFileInfo::exists(path("x.pdf")) && !QFileInfo::exists(path("a.png"))
                && !QFileInfo::exists(path("b.png")));
    }

    // The design's symbology and size from the command line, the sheet
    // started at a label of its own; the names --symbology takes listed.
    void choicesOnTheCommandLine()
    {
        const CommandLine window = CommandLine::parse({"shelf.qmdesign"});
        QCOMPARE(window.action, CommandLine::Action::Designer);
        QCOMPARE(window.openFile, QStringLiteral("shelf.qmdesign"));
        const auto [listed, names, none] = run({"--list-symbologies"});
        QCOMPARE(listed, 0);
        QCOMPARE(names.split(u'\n', Qt::SkipEmptyParts).size(), 25);
        QVERIFY(names.contains("\nEAN-8\n"));
        const QString png = path("ean8.png");
        const auto [saved, out, err] = run({"--save", png, "--symbology", "ean-8", "--size", "5.08x2.54cm",
                                            "--text", "1234567", "--design", path("design.conf")});
        QVERIFY2(saved == 0, qPrintable(err));
        const QImage picture(png);
        QCOMPARE(picture.size(), QSize(192, 96));
        const Decode::Found found = Decode::zxingRead(picture);
        QCOMPARE(found.text, QStringLiteral("12345670"));
        QCOMPARE(found.format, QStringLiteral("EAN-8"));
        const auto [printed, summary, why]
            = run({"--print", "--pdf", path("first.pdf"), "--paper", "Letter", "--first", "29", "--copies",
                   "2", "--sequence", "1", "5", "--design", path("design.conf")});
        QVERIFY2(printed == 0, qPrintable(why));
        QVERIFY2(summary.startsWith("10 labels on 2 pages"), qPrintable(summary));
    }

    // The fields of the import templates first, then the objects' from the bottom, each once.
    void fieldsOfADesign()
    {
        const QString file = path("fields.qmdesign");
        QVERIFY(plant(file,
                      "[Import columns]\nValue={sku}-{size}\nTitle={name}\n"
                      "[Object1]\nKind=Text\nLeft=0\nTop=0\nWidth=2\nHeight=.5\n"
                      "Text=\"{name}\\n{date:dd.MM.yyyy} {n}\"\n"
                      "[Object2]\nKind=Symbol\nLeft=0\nTop=1\nWidth=2\nHeight=1\nData={sku}{value}\n"));
        const auto [code, out, err] = run({"--list-fields", "--design", file});
        QVERIFY2(code == 0, qPrintable(err));
        QCOMPARE(out, QStringLiteral("{sku}\n{size}\n{name}\n{date}\n{n}\n{value}\n"));
    }

    // The window started with a design file, among Qt's own options, opens it:
    // the file heads the recent designs at once.
    void windowOpensTheDesignGiven()
    {
        const QString file = path("given.qmdesign");
        designOf("Form1/bartype=8").writeFile(file);
        QProcess window;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", path("window-config"));
        window.setProcessEnvironment(env);
        window.start(QStringLiteral(QUILLMARK_BINARY), {"-style", "Fusion", file, "-reverse"});
        const QString recent = path("window-config/Quillmark2/Recent designs.conf");
        QTRY_VERIFY_WITH_TIMEOUT(contents(recent).contains(QFile::encodeName(file)), 30000);
        window.kill();
        QVERIFY(window.waitForFinished());
    }

    // The man page and the manual's copy of --help name every option the
    // parser takes, and no other.
    void documentedOptions()
    {
        const QStringList taken = CommandLine::optionNames();
        const QString page
            = QString::fromUtf8(contents(QUILLMARK_SOURCE "/dist/quillmark.1")).replace("\\-", "-");
        const QRegularExpression option(QStringLiteral("--[a-z]+(-[a-z]+)*"));
        QSet<QString> named;
        for (const QRegularExpressionMatch &match : option.globalMatch(page))
            named << match.captured();
        QCOMPARE(named, QSet<QString>(taken.begin(), taken.end()));
        const QString manual = QString::fromUtf8(contents(QUILLMARK_SOURCE "/docs/manual/command-line.md"));
        QVERIFY(manual.contains("```\n" + CommandLine::usage() + "```"));
    }

    // A spreadsheet's export, its columns chosen on the command line: each
    // label's value read back by zxing-cpp, the printed titles by poppler.
    void columnsOfACsvFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("fromPipe");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QByteArray>("design"); // a design of its own, if not empty
        const QStringList columns{"--value", "{sku}-{size}", "--header"};
        const QStringList pdf{"--print", "--pdf", "csv.pdf", "--paper", "Letter"};
        QTest::newRow("the design's own columns, titled")
            << QStringList{"--save", "csv/item.wmf", "--import", "shop.csv"} << false << "3 pictures in"
            << QByteArray("[Form1]\nbartype=8\n[Import columns]\nDelimiter=semicolon\nHeader=1\n"
                          "Value={sku}-{size}\nTitle={name}\n");
        QTest::newRow("printed from a pipe, the delimiter found")
            << pdf + QStringList{"--import", "-", "--title", "{name}"} + columns << true
            << "3 labels on 1 page" << QByteArray();
    }

    void columnsOfACsvFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, fromPipe);
        QFETCH(QString, summary);
        QFETCH(QByteArray, design);
        const QByteArray shop = "sku;name;size\r\n1001;Widget;M\r\n1002;\"Gadget; large\";L\r\n3;Gizmo;S";
        QVERIFY(plant(path("shop.csv"), shop));
        QDir(path("csv")).removeRecursively();
        QVERIFY(QDir().mkpath(path("csv")));
        QFile::remove(path("csv.pdf"));
        const QStringList values{"1001-M", "1002-L", "3-S"};
        const QStringList titles{"Widget", "Gadget; large", "Gizmo"};
        const auto valueOf = [&values](qint64 k) { return values.value(k - 1); };
        const QByteArray input = fromPipe ? shop : QByteArray();
        if (!design.isEmpty())
            QVERIFY(plant(path("columns.conf"), design));
        arguments << "--design" << path(design.isEmpty() ? "design.conf" : "columns.conf");
        const auto [code, out, err] = run(arguments, {.input = input});
        QVERIFY2(code == 0, qPrintable(err));
        QVERIFY2(out.startsWith(summary), qPrintable(out));
        if (arguments.contains("--save")) {
            const QStringList names{"item.wmf", "item_1002-L.wmf", "item_3-S.wmf"};
            QCOMPARE(QDir(path("csv")).entryList(QDir::Files, QDir::Name), names);
            for (int k = 0; k < 3; ++k) {
                // Each metafile carries its own row's title above its value, as libwmf reads them.
                const QByteArray wmf = contents(path("csv/" + names[k]));
                QStringList texts;
                for (const Decode::SvgShape &shape : Decode::wmfShapes(wmf))
                    texts << shape.text;
                texts.removeAll(QString());
                QCOMPARE(texts, QStringList({titles[k], values[k]}));
            }
            return;
        }
        const PdfCheck check(path("csv.pdf"), 3, valueOf);
        const PdfCheckReport report = check.check(check.allPages(), m_dir.path());
        QVERIFY2(report.ok(), qPrintable(report.summary() + report.problems.join("; ")));
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-raw", path("csv.pdf"), "-"});
        QVERIFY(pdftotext.waitForFinished(60000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QStringList printed = text.split(u'\n', Qt::SkipEmptyParts);
        printed.removeAll(QStringLiteral("\f"));
        QStringList expected;
        for (int k = 0; k < 3; ++k)
            expected << titles[k] << values[k]; // the title above each symbol, its text below
        QCOMPARE(printed, expected);
    }

    // One design file, opened in the window and given to the command line: both
    // draw through one renderer, so a picture and the printed pages are enough
    // to show the two doors set it up alike.
    void windowAndCommandLineAgree_data()
    {
        QTest::addColumn<QString>(
            "output"); // a PDF: values with titles, the job's PDF on its standard output
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<int>("dpi"); // chosen in the save dialog and with --dpi; 0 none
        QTest::newRow("BMP at 300 dpi") << "item.bmp"
                                        << "0" << 300;
        QTest::newRow("PDF pages of titled values on standard output") << "titled.pdf"
                                                                       << "90" << 0;
    }

    void windowAndCommandLineAgree()
    {
        QFETCH(QString, output);
        QFETCH(QString, rotation);
        QFETCH(int, dpi);
        const bool pdf = output.endsWith(".pdf");
        QString texts = "Form1/bartype=8;Form1/mesure=0;Form1/vtlw=3600;Form1/vtlh=2160;Form1/option1=0;"
                        "Form1/option2=1;Form1/text2=07;Form1/text3=12;Quillmark design/Prefix=Q-;"
                        "Page margins/Left=1;Label margins/Right=0.5;Form1/Orientation="
            + rotation;
        if (pdf) {
            // Titles in three fonts (Latin, CJK and dingbats from fallbacks), whose PDF objects Qt orders
            // by a hash.
            QVERIFY(plant(path("titled.txt"),
                          "A-1\nTitle one \xe6\x97\xa5\xe6\x9c\xac \xe2\x9c\x88\nB-2\nTitle two\n"));
            texts += ";Form1/option2=0;Form1/option3=1;Form1/Check3=1;Form1/text4=" + path("titled.txt");
        }
        const Design design = designOf(texts);
        const QString file = path("agree.qmdesign");
        design.writeFile(file);
        QDir(path("window")).removeRecursively();
        QDir(path("job")).removeRecursively();
        QVERIFY(QDir().mkpath(path("window")) && QDir().mkpath(path("job")));
        {
            ScriptedDialogs dialogs;
            SettingsStore store(path("window/Quillmark2.conf"));
            PrinterObject printer;
            Form1 window(store, dialogs, printer);
            window.startUp();
            QVERIFY(window.openDesign(file));
            if (pdf) {
                printer.selectPdfFile(path("window/" + output));
                frmPrint dialog(window.view(), dialogs, printer);
                dialog.OKButton_Click();
            } else {
                dialogs.saveAnswer = path("window/" + output);
                if (dpi)
                    dialogs.pictureDpi = dpi;
                window.output().mnuSave_Click();
            }
            QCOMPARE(window.document().pictureDpi(), dpi);
            QCOMPARE(dialogs.allText(), QString());
        }
        QStringList job
            = pdf ? QStringList{"--print", "--pdf", "-"} : QStringList{"--save", path("job/" + output)};
        if (dpi)
            job << "--dpi" << QString::number(dpi);
        const QString tmp = pdf ? path("piped") : QString(); // where the PDF job's working folder goes
        // The start's sweep: the job a killed run left goes (its pid is no process's), a living one's stays,
        // and so does one whose lock is held.
        const pid_t ended = ::fork();
        if (ended == 0)
            ::_exit(0);
        QCOMPARE(::waitpid(ended, nullptr, 0), ended);
        const QString killedJob = QStringLiteral(".quill-%1-a.job").arg(ended);
        const QString livingJob = QStringLiteral(".quill-%1-b.job").arg(::getpid());
        const QString lockedJob = QStringLiteral(".quill-%1-c.job").arg(ended);
        const QByteArray locked = QFile::encodeName(tmp + "/" + lockedJob);
        if (pdf) {
            QVERIFY(QDir(tmp).mkpath(killedJob));
            QVERIFY(QDir(tmp).mkpath(livingJob));
            QVERIFY(QDir(tmp).mkpath(lockedJob));
            QVERIFY(plant(tmp + "/" + killedJob + "/job", "%PDF-1.4 half"));
        }
        const QByteArray designBytes = contents(file);
        const QString stdoutFile = pdf ? path("job/" + output) : QString();
        const Plumbing plumbing{.tmp = tmp, .stdoutFile = stdoutFile};
        const int lock = pdf ? ::open(locked.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
        ::flock(lock, LOCK_EX);
        const auto [code, out, err] = run(job + QStringList{"--design", file}, plumbing);
        ::close(lock);
        QVERIFY2(code == 0, qPrintable(err));
        // The status line keeps out of the PDF's way, and the job's working folder is gone.
        const QString status = "2 labels on 1 page to PDF file printer (standard output)\n";
        if (pdf) {
            QCOMPARE(err, status);
            const QDir folder(tmp);
            QStringList kept{livingJob, lockedJob};
            kept.sort();
            QCOMPARE(folder.entryList({QStringLiteral(".quill-*")}, QDir::Dirs | QDir::Hidden), kept);
        }
        QCOMPARE(contents(file), designBytes); // a job never writes its design
        QVERIFY(!QFileInfo::exists(path("config")));
        if (pdf) {
            const QList<QImage> drawn = PdfCheck::render(path("job/" + output), 100);
            QCOMPARE(drawn.size(), 1);
            QVERIFY(PdfCheck::render(path("window/" + output), 100) == drawn);
            // Another run, a second later, writes the same bytes.
            QTest::qWait(1000);
            const QString again = path("job/again.pdf");
            QCOMPARE(std::get<0>(run({"--print", "--pdf", again, "--design", file})), 0);
            QVERIFY(contents(again) == contents(path("job/" + output)));
            return;
        }
        const QStringList written = QDir(path("job")).entryList(QDir::Files);
        QCOMPARE(written.size(), 6);
        for (const QString &name : written)
            QVERIFY2(contents(path("window/" + name)) == contents(path("job/" + name)), qPrintable(name));
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    std::tuple<int, QString, QString> run(const QStringList &arguments, const Plumbing &plumbing = {})
    {
        QProcess p;
        if (!plumbing.stdoutFile.isEmpty())
            p.setStandardOutputFile(plumbing.stdoutFile);
        p.setWorkingDirectory(m_dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", path("config")); // never the user's settings
        // A job needs no temporary folder: a file stands there unless a test asks for the folder.
        env.insert("TMPDIR", plumbing.tmp.isEmpty() ? path("not-a-folder") : plumbing.tmp);
        p.setProcessEnvironment(env);
        const QString shut = plumbing.stdoutShut;
        const QByteArray readOnly = QFile::encodeName(path(shut.mid(2)));
        p.setChildProcessModifier([shut, readOnly] {
            int pipe[2] = {-1, -1};
            if (shut == u"|true" && ::pipe(pipe) == 0 && ::close(pipe[0]) == 0) {
                std::signal(SIGPIPE, SIG_IGN); // as a shell's script may: EPIPE, not death
                ::dup2(pipe[1], STDOUT_FILENO);
            }
            if (shut.startsWith(u"1<"))
                ::dup2(::open(readOnly.constData(), O_RDONLY | O_CREAT, 0600), STDOUT_FILENO);
            if (shut == u"1>&-")
                ::close(STDOUT_FILENO);
        });
        p.start(QStringLiteral(QUILLMARK_BINARY), arguments);
        if (!plumbing.input.isEmpty()) {
            p.write(plumbing.input);
            p.closeWriteChannel();
        }
        p.waitForFinished(120000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromLocal8Bit(p.readAllStandardOutput()),
                QString::fromLocal8Bit(p.readAllStandardError())};
    }

    QTemporaryDir m_dir;
    int m_terminal = ::posix_openpt(O_RDWR | O_NOCTTY); // a terminal of the test's own
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
