// End to end through a label printer: the test starts a private cupsd in a
// temporary folder with CUPS's own sample Zebra ZPL driver as its default
// queue (roll of 2.25 x 1.25 in labels) and a backend that files what the
// driver sends; it prints, rebuilds each label from the printer's ~DG graphics
// and decodes it. The machine's own CUPS set-up is neither read nor changed.
#include "Form1.h"
#include "OutputCommands.h"
#include "PdfCheck.h"
#include "PrintServer.h"
#include "PrinterObject.h"
#include "PrinterSetupDialog.h"
#include "ScreenMetrics.h"
#include "StandInDesigner.h"
#include "frmPrint.h"

#include "Decode.h"
#include "Drawings.h"
#include "Files.h"
#include "common/ChildRun.h"
#include "common/Raised.h"

#include <QPrinterInfo>
#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <sys/prctl.h>

namespace {

const QString kQueue = QStringLiteral("Zebra");
const QString kOneResolution = QStringLiteral("Cpcl"); // a printer of 203 dpi only

// Files each job as the printer would receive it, into the folder named by the device URI.
const char *kBackend = R"SH(#!/bin/sh
[ $# -eq 0 ] && { echo 'direct quilllabels "Unknown" "Quillmark label folder"'; exit 0; }
out="${DEVICE_URI#quilllabels:}/job-$1"
if [ -n "$6" ]; then cat "$6" > "$out.tmp"; else cat > "$out.tmp"; fi && mv "$out.tmp" "$out.out"
)SH";

// A process this test starts ends with it, also when the test is killed (a
// ctest timeout): no server or test run is left behind. SIGKILL, since a
// server the stalled-server case has stopped would hold a SIGTERM for ever.
void endsWithThisTest(QProcess &process)
{
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1); // the test ended before the signal was asked for
    });
}

int run(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    endsWithThisTest(process);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C"); // CUPS's tools answer in words that are read here
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool done = process.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return done && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// A blank page through printer.
QString printBlank(PrinterObject &printer)
{
    return raised([&printer] {
        printer.beginJob();
        printer.endJob();
    });
}

bool writeFile(const QString &path, const QByteArray &text, QFile::Permissions permissions)
{
    return plant(path, text) && QFile::setPermissions(path, permissions);
}

// The graphics a ZPL printer receives (~DG, rows of hex with ZPL's run-length
// codes: G-Y repeat 1-19, g-z 20-400, ',' zeros to the row's end, ':' the row
// before), one 1-bit image each, black where the printer burns a dot.
QList<QImage> zplGraphics(const QByteArray &zpl)
{
    QList<QImage> images;
    static const QRegularExpression head(QStringLiteral("~DGR:CUPS\\.GRF,(\\d+),(\\d+),"));
    for (auto it = head.globalMatch(QString::fromLatin1(zpl)); it.hasNext();) {
        const auto match = it.next();
        const int perRow = match.captured(2).toInt(), rows = match.captured(1).toInt() / perRow;
        QImage image(perRow * 8, rows, QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        QByteArray row, last;
        int count = 0;
        for (qsizetype at = match.capturedEnd(), y = 0; y < rows && at < zpl.size(); ++at) {
            const char c = zpl[at];
            if (c >= 'G' && c <= 'Y') {
                count += c - 'F';
                continue;
            } else if (c >= 'g' && c <= 'z') {
                count += (c - 'f') * 20;
                continue;
            } else if (c == ':' || c == ',') {
                row = c == ':' ? last : row.leftJustified(perRow * 2, '0');
            } else {
                row += QByteArray(qMax(count, 1), c);
                count = 0;
                if (row.size() < perRow * 2)
                    continue;
            }
            memcpy(image.scanLine(y++), QByteArray::fromHex(row).constData(), perRow);
            last = row;
            row.clear();
        }
        images << image;
    }
    return images;
}

// The widths of the bars and spaces along row y, from the first bar to the last.
QList<int> runs(const QImage &image, int y)
{
    QList<int> widths;
    bool dark = false;
    for (int x = 0; x < image.width(); ++x) {
        if ((qGray(image.pixel(x, y)) < 128) != dark) {
            widths << 0;
            dark = !dark;
        }
        if (!widths.isEmpty())
            ++widths.last();
    }
    if (!dark && !widths.isEmpty())
        widths.removeLast();
    return widths;
}

// Every bar and space of the row a whole number of the narrowest; empty when so.
QString wholeModules(const QImage &image, int y)
{
    const QList<int> widths = runs(image, y);
    const int module = widths.isEmpty() ? 0 : *std::min_element(widths.begin(), widths.end());
    for (int width : widths)
        if (module == 0 || width % module)
            return QStringLiteral("a width of %1 dots, the module %2").arg(width).arg(module);
    return widths.size() < 20 ? QStringLiteral("no symbol on row %1").arg(y) : QString();
}

// How a case with a stopped server reaches the printer: the PDF file printer
// from the command line, else the queue.
enum class Route { PdfCommandLine, CommandLine, PrintDialog, PrinterSetup, Window };

struct StalledCase {
    Route route;
    const char *told; // how what the user is told starts, %1 the message naming the server; "": nothing
    int status = 0; // the command line's
};

// The server the stalled-server case stopped; continued by an alarm when the
// code under test hangs in it, so that a hang fails the test instead of wedging it.
pid_t g_stoppedServer = 0;

// A label product chosen in the print dialog with the Zebra queue.
struct RollCase {
    QString product;
    QString paper; // the page's name after the choice (the queue's key when refused)
    double widthMm = 0, heightMm = 0;
    QString refused; // the message when the queue cannot take the paper
};

// A label design of docs/examples, its data, and what its labels carry.
struct ExampleCase {
    QString design;
    QString data;
    QString paper; // the Zebra queue's; empty: its roll of 2.25 x 1.25 in labels
    QList<QStringList> symbols; // each label's, in the order of the design's sections
};

const QString kExamples = QStringLiteral(QUILLMARK_SOURCE "/docs/examples/");

// The boxes of a design's symbols in inches, in the order of its sections, and the label's size.
QList<QRectF> symbolBoxes(const QString &design, QSizeF *label)
{
    QSettings file(design, QSettings::IniFormat);
    *label = QSizeF(file.value("Form1/vtlw").toDouble(), file.value("Form1/vtlh").toDouble()) / 1440;
    QList<QRectF> boxes;
    for (int n = 1; file.childGroups().contains(QStringLiteral("Object%1").arg(n)); ++n) {
        file.beginGroup(QStringLiteral("Object%1").arg(n));
        if (file.value("Kind").toString().contains("symbol", Qt::CaseInsensitive))
            boxes << QRectF(file.value("Left").toDouble(), file.value("Top").toDouble(),
                            file.value("Width").toDouble(), file.value("Height").toDouble());
        file.endGroup();
    }
    return boxes;
}

// The symbols of a label whose top-left corner lies at corner (dots), each read in its own box.
QStringList symbolsOn(const QImage &image, QPointF corner, int dpi, const QList<QRectF> &boxes)
{
    QStringList found;
    for (const QRectF &box : boxes) {
        const QRectF dots(corner + box.topLeft() * dpi, box.size() * dpi);
        found << Decode::zxingOne(Decode::label(image, dots.toAlignedRect()));
    }
    return found;
}

} // namespace

Q_DECLARE_METATYPE(StalledCase)
Q_DECLARE_METATYPE(RollCase)
Q_DECLARE_METATYPE(ExampleCase)

class PrintCupsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ScreenMetrics::overrideDpi(96, 96);
        // The command line run here reads and writes no user's settings.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(m_root.path()).filePath("config")));
        m_down = startServer();
        if (!m_down.isEmpty())
            return;
        // From here on the server is up: anything that goes wrong is a failure.
        QString output;
        QVERIFY2(run("lpadmin",
                     {"-p", kQueue, "-E", "-v", "quilllabels:" + m_out, "-m", "drv:///sample.drv/zebra.ppd",
                      "-o", "PageSize=w162h90"},
                     &output)
                         == 0
                     && run("lpadmin", {"-d", kQueue}) == 0
                     && run("lpadmin",
                            {"-p", kOneResolution, "-E", "-v", "quilllabels:" + m_out, "-m",
                             "drv:///sample.drv/zebracpl.ppd"},
                            &output)
                         == 0,
                 qPrintable(QStringLiteral("lpadmin could not add the queue: ") + output));
    }

    void cleanupTestCase()
    {
        m_cupsd.terminate();
        m_cupsd.waitForFinished(10000);
    }

    void labelPrinter_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("landscape"); // a 1 x 2 in symbol on the label turned a quarter
        QTest::newRow("300 dpi, chosen in Printer setup") << 300 << false;
        QTest::newRow("landscape, turned by whole dots") << 203 << true;
    }

    // Code128 1001..1004 at 2 x 1 in with page margins of 0.1 in: one label a
    // page, each page the roll's label as the driver lays it out, every bar and
    // space whole dots.
    void labelPrinter()
    {
        QFETCH(int, dpi);
        QFETCH(bool, landscape);
        if (!m_down.isEmpty())
            QSKIP(qPrintable(m_down));
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        designer.sequence("1001", "1004");
        if (landscape) {
            designer.width = "1.00";
            designer.height = "2.00";
        }
        PrinterObject &printer = designer.printer;
        // The default queue is the printer the program starts with, at its own media.
        QCOMPARE(printer.deviceName(), kQueue);
        QCOMPARE(printer.media().key(), QStringLiteral("w162h90"));
        dialogs.onPrinterDialog = [dpi, landscape, &dialogs](PrinterObject &p) {
            PrinterSetupDialog setup(p, dialogs);
            setup.resolution->setCurrentIndex(setup.resolution->findData(dpi));
            setup.orientation->setCurrentIndex(landscape);
            setup.accept();
            return setup.result() == QDialog::Accepted;
        };
        frmPrint dialog(designer, dialogs, designer.printer);
        dialog.Command1_Click();
        QCOMPARE(printer.resolution(), dpi);
        for (QLineEdit *margin : {dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9})
            margin->setText("0.1");
        const int before = jobs().size();
        dialog.OKButton_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));

        QTRY_COMPARE_WITH_TIMEOUT(jobs().size(), before + 1, 60000);
        const QString sent = QDir(m_out).filePath(jobs().first()); // the newest
        const QList<QImage> labels = zplGraphics(contents(sent));
        QCOMPARE(labels.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(labels[i].height(), qRound(1.25 * dpi));
            QCOMPARE(labels[i].width(), (qRound(2.25 * dpi) + 7) / 8 * 8);
            const QImage upright = landscape ? labels[i].transformed(QTransform().rotate(-90)) : labels[i];
            QCOMPARE(Decode::zxingOne(Decode::label(upright, upright.rect())), QString::number(1001 + i));
            const QString uneven = wholeModules(upright, qRound(0.4 * dpi));
            QVERIFY2(uneven.isEmpty(), qPrintable(uneven));
        }
    }

    void labelProductOnTheQueue_data()
    {
        QTest::addColumn<RollCase>("roll");
        QTest::newRow("Dymo 11354, a roll: a custom page of its label") << RollCase{
            .product = "Dymo 11354", .paper = "32 × 57 mm", .widthMm = 32, .heightMm = 57, .refused = {}};
        QTest::newRow("Avery 5160, US Letter: wider than the printer takes")
            << RollCase{.product = "Avery 5160",
                        .paper = "w162h90",
                        .refused = "The printer \"Zebra\" has no paper of size US Letter."};
    }
    // A label product of paper the queue does not list becomes a custom page
    // of the label's size on it, named by its size (the preview's title names
    // the page so); the driver then prints each label that size.
    void labelProductOnTheQueue()
    {
        QFETCH(RollCase, roll);
        if (!m_down.isEmpty())
            QSKIP(qPrintable(m_down));
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        designer.sequence("1001", "1002");
        dialogs.labelProduct = roll.product;
        PrinterObject &printer = designer.printer;
        printer.selectQueue(kQueue);
        frmPrint dialog(designer, dialogs, designer.printer);
        dialog.LabelProductButton_Click();
        if (!roll.refused.isEmpty()) {
            QCOMPARE(dialogs.texts().value(0).section(u'\n', 0, 0), roll.refused);
            QCOMPARE(printer.media().key(), roll.paper);
            return;
        }
        QCOMPARE(dialogs.allText(), QString());
        QCOMPARE(printer.media().name(), roll.paper);
        dialog.PreviewButton_Click();
        QCOMPARE(dialogs.previews, 1);
        QCOMPARE(dialogs.allText(), QString());
        const int before = jobs().size();
        dialog.OKButton_Click();
        QCOMPARE(dialogs.allText(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(jobs().size(), before + 1, 60000);
        const QList<QImage> labels = zplGraphics(contents(QDir(m_out).filePath(jobs().first())));
        QCOMPARE(labels.size(), 2);
        const int dpi = printer.resolution();
        for (int i = 0; i < 2; ++i) {
            const int wide = (qRound(roll.widthMm / 25.4 * dpi) + 7) / 8 * 8;
            QVERIFY2(qAbs(labels[i].width() - wide) <= 8, qPrintable(QString::number(labels[i].width())));
            const int high = qRound(roll.heightMm / 25.4 * dpi);
            QVERIFY2(qAbs(labels[i].height() - high) <= 1, qPrintable(QString::number(labels[i].height())));
            const QString decoded = Decode::zxingOne(Decode::label(labels[i], labels[i].rect()));
            QCOMPARE(decoded, QString::number(1001 + i));
        }
    }

    void jobFileFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("queue"); // the Zebra queue, its job in TMPDIR; else the PDF file printer
        QTest::newRow("PDF file, a link swapped in while the job is written") << "link" << false;
        QTest::newRow("queue, a link swapped in while the job is written") << "link" << true;
        QTest::newRow("PDF file, a run killed mid-job, then the next runs") << "kill" << false;
    }
    // Where others may write (a shared folder, TMPDIR), anything that appears
    // while a job is written is swapped for a link to a file elsewhere: that file
    // stays as it was and the job ends where it should, a PDF as a regular file.
    // A run killed mid-job leaves its working file only while it lives (here
    // stopped); the next run after the kill removes it.
    void jobFileFaults()
    {
        QFETCH(QString, fault);
        QFETCH(bool, queue);
        if (queue && !m_down.isEmpty())
            QSKIP(qPrintable(m_down));
        const QTemporaryDir dir;
        const QString outside = dir.filePath(QStringLiteral("the user's own file"));
        QVERIFY(plant(outside, "not a PDF"));
        const QString shared = dir.filePath(QStringLiteral("shared"));
        QVERIFY(QDir().mkpath(shared));
        const QString pdf = shared + QStringLiteral("/labels.pdf");
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(shared));
        const auto restoreTmp = qScopeGuard([oldTmp] { qputenv("TMPDIR", oldTmp); });
        PrinterObject printer;
        if (queue)
            printer.selectQueue(kQueue);
        else
            printer.selectPdfFile(pdf);
        const int sent = jobs().size();

        if (fault == u"kill") {
            StoppedRun killed([&printer] { printer.beginJob(); });
            QVERIFY(killed.stopped());
            const QStringList working = entries(shared);
            QCOMPARE(working.size(), 1);
            QCOMPARE(printBlank(printer), QString());
            QVERIFY(entries(shared).contains(working[0])); // its writer lives
            QVERIFY(killed.kill());
        }
        if (fault == u"link") {
            QCOMPARE(raised([&printer] { printer.beginJob(); }), QString());
            for (const QString &entry : entries(shared)) {
                QVERIFY(QFile::rename(shared + u'/' + entry, dir.filePath(entry)));
                QVERIFY(QFile::link(outside, shared + u'/' + entry));
            }
            QVERIFY(!entries(shared).isEmpty());
            QCOMPARE(raised([&printer] { printer.endJob(); }), QString());
        } else {
            QCOMPARE(printBlank(printer), QString());
        }
        QCOMPARE(contents(outside), QByteArray("not a PDF"));
        if (queue) {
            QTRY_COMPARE_WITH_TIMEOUT(jobs().size(), sent + 1, 60000);
            return;
        }
        QVERIFY(QFileInfo(pdf).isFile() && !QFileInfo(pdf).isSymLink());
        QCOMPARE(PdfCheck::pageCount(pdf), 1);
        if (fault != u"link") // the PDF alone: no working file is left
            QCOMPARE(entries(shared), QStringList{"labels.pdf"});
    }

    // The PDF file printer at 203 dpi gives whole dots there too; a full disk
    // (here a file size limit) stops the run with the reason and the user's file
    // name, and the PDF printed before stays as it was.
    void pdfAtItsResolutionAndOnAFullDisk()
    {
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        designer.sequence("1001", "1001");
        const QString pdf = designer.dir.filePath("labels.pdf");
        PrinterObject &printer = designer.printer;
        printer.selectPdfFile(pdf);
        printer.setMedia(QPageSize(QPageSize::Letter), QPageLayout::Portrait);
        printer.setResolution(203);
        QCOMPARE(printer.mediaSizes().count(QPageSize(QPageSize::Letter)),
                 1); // the paper chosen is listed once
        frmPrint(designer, dialogs, designer.printer).OKButton_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
        const QImage page = PdfCheck::render(pdf, 203).value(0).convertToFormat(QImage::Format_Grayscale8);
        QCOMPARE(Decode::zxingOne(Decode::label(page, QRect(0, 0, 406, 203))), QStringLiteral("1001"));
        QCOMPARE(wholeModules(page.copy(0, 0, 406, 203), 80), QString());
        const QByteArray printed = contents(pdf);

        designer.sequence("1", "2000");
        frmPrint dialog(designer, dialogs, designer.printer);
        limited(RLIMIT_FSIZE, 16384, [&dialog] { dialog.OKButton_Click(); });
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Printing error!"));
        QCOMPARE(dialogs.messages[0].text,
                 QStringLiteral("The PDF file %1 could not be written: File too large.").arg(pdf));
        QCOMPARE(contents(pdf), printed);
        QCOMPARE(QDir(designer.dir.path()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden),
                 QStringList{"labels.pdf"});
    }

    void examples_data()
    {
        QTest::addColumn<ExampleCase>("example");
        QTest::newRow("shelf label: EAN-13, name and price")
            << ExampleCase{.design = "shelf.qmdesign",
                           .data = "shelf.csv",
                           .paper = {},
                           .symbols = {{"4012345000016"}, {"4012345000184"}, {"4012345000252"}}};
        // zxing-cpp gives GS1-128 as its AIs and data, without parentheses.
        QTest::newRow("shipping label, 4 x 6 in: QR code and SSCC") << ExampleCase{
            .design = "shipping.qmdesign",
            .data = "shipping.csv",
            .paper = "w288h432",
            .symbols = {{"A-20871\n340123450000047111\n50968 Köln", "00340123450000047111"},
                        {"A-20872\n340123450000047128\n1016 DV Amsterdam", "00340123450000047128"}}};
        QTest::newRow("asset tag: logo, QR code and number")
            << ExampleCase{.design = "asset.qmdesign",
                           .data = "assets.csv",
                           .paper = {},
                           .symbols = {{"LL-IT-004711"}, {"LL-IT-004712"}, {"LL-LAB-000318"}}};
    }

    // The examples as the README prints them, from the command line: to a PDF
    // on Letter (the labels side by side from its top-left corner) and to the
    // Zebra queue at 203 dpi, one label a page; each symbol read in its box.
    void examples()
    {
        QFETCH(ExampleCase, example);
        if (!m_down.isEmpty())
            QSKIP(qPrintable(m_down));
        QSizeF label;
        const QList<QRectF> boxes = symbolBoxes(kExamples + example.design, &label);
        const QTemporaryDir dir;
        const QString pdf = dir.filePath("labels.pdf");
        const QString program = QStringLiteral(QUILLMARK_BINARY);
        const QStringList job{"--print", "--design", kExamples + example.design, "--import",
                              kExamples + example.data};
        const qsizetype count = example.symbols.size();
        QString told;
        QCOMPARE(run(program, job + QStringList{"--pdf", pdf, "--paper", "Letter"}, &told), 0);
        // A warning would come first: the modules suit their symbologies here and at 203 dpi.
        QVERIFY2(told.startsWith(QStringLiteral("%1 labels on 1 page").arg(count)), qPrintable(told));
        const QImage page = Drawings::rasterised(pdf, 300);
        const int columns = int(8.5 / label.width());
        for (int i = 0; i < example.symbols.size(); ++i) {
            const QPointF corner(i % columns * label.width() * 300, i / columns * label.height() * 300);
            QCOMPARE(symbolsOn(page, corner, 300, boxes), example.symbols[i]);
        }

        const int before = jobs().size();
        const QStringList paper
            = example.paper.isEmpty() ? QStringList() : QStringList{"--paper", example.paper};
        QCOMPARE(run(program, job + QStringList{"--printer", kQueue} + paper, &told), 0);
        QVERIFY2(told.startsWith(QStringLiteral("%1 labels on %1 pages").arg(count)), qPrintable(told));
        QTRY_COMPARE_WITH_TIMEOUT(jobs().size(), before + 1, 60000);
        const QList<QImage> labels = zplGraphics(contents(QDir(m_out).filePath(jobs().first())));
        QCOMPARE(labels.size(), count);
        for (int i = 0; i < labels.size(); ++i) {
            QCOMPARE(labels[i].height(), qRound(label.height() * 203));
            QCOMPARE(symbolsOn(labels[i], QPointF(), 203, boxes), example.symbols[i]);
        }
    }

    void stalledServer_data()
    {
        QTest::addColumn<StalledCase>("stalled");
        QTest::newRow("command line, --pdf: printed")
            << StalledCase{.route = Route::PdfCommandLine, .told = ""};
        QTest::newRow("command line, --printer: the server named")
            << StalledCase{.route = Route::CommandLine, .told = "quillmark: %1", .status = 1};
        QTest::newRow("print dialog, the queue: the server named while the window paints")
            << StalledCase{.route = Route::PrintDialog, .told = "Printing error!: %1"};
        QTest::newRow("Printer setup: the server named, the PDF file printer offered")
            << StalledCase{.route = Route::PrinterSetup, .told = "Printer setup: %1"};
        QTest::newRow("the window starts and saves a picture")
            << StalledCase{.route = Route::Window, .told = ""};
    }

    // The server stopped (SIGSTOP), as a hung cupsd is: it accepts a
    // connection and never answers. Printing to a PDF file asks it nothing; a
    // job for its queue ends within the bound with a message that names it,
    // and the event loop goes on meanwhile. Last of the slots, so that no
    // other meets a server that did not answer a moment ago.
    void stalledServer()
    {
        QFETCH(StalledCase, stalled);
        if (!m_down.isEmpty())
            QSKIP(qPrintable(m_down));
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        designer.sequence("1001", "1001");
        const QString pdf = designer.dir.filePath("stalled.pdf");
        const QString picture = designer.dir.filePath("item.png");
        designer.printer.selectQueue(kQueue);
        g_stoppedServer = pid_t(m_cupsd.processId());
        QCOMPARE(::kill(g_stoppedServer, SIGSTOP), 0);
        std::signal(SIGALRM, [](int) { ::kill(g_stoppedServer, SIGCONT); });
        ::alarm(30);
        const auto resume = qScopeGuard([] {
            ::alarm(0);
            ::kill(g_stoppedServer, SIGCONT);
        });
        int ticks = 0;
        QTimer paint;
        connect(&paint, &QTimer::timeout, this, [&ticks] { ++ticks; });
        paint.start(50);
        QElapsedTimer clock;
        clock.start();

        QString told;
        int status = 0;
        const QString program = QStringLiteral(QUILLMARK_BINARY);
        if (stalled.route == Route::PdfCommandLine)
            status = run(program, {"--print", "--text", "1001", "--pdf", pdf});
        if (stalled.route == Route::CommandLine)
            status = run(program, {"--print", "--text", "1001", "--printer", kQueue}, &told);
        if (stalled.route == Route::PrintDialog) {
            frmPrint dialog(designer, dialogs, designer.printer);
            dialog.OKButton_Click();
            told = dialogs.texts(true).join(u'\n');
        }
        if (stalled.route == Route::PrinterSetup) {
            QStringList offered;
            dialogs.onPrinterDialog = [&offered, &dialogs](PrinterObject &printer) {
                PrinterSetupDialog setup(printer, dialogs);
                for (int i = 0; i < setup.printers->count(); ++i)
                    offered << setup.printers->itemText(i);
                return false;
            };
            frmPrint dialog(designer, dialogs, designer.printer);
            dialog.Command1_Click();
            told = dialogs.texts(true).join(u'\n');
            QCOMPARE(offered, QStringList{"PDF file printer"});
        }
        if (stalled.route == Route::Window) {
            SettingsStore store(designer.dir.filePath("window.conf"));
            Form1 window(store, dialogs, designer.printer);
            window.startUp();
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            dialogs.saveAnswer = picture;
            window.output().mnuSave_Click();
            told = dialogs.allText();
            QVERIFY(QFileInfo(picture).size() > 0);
        }
        const qint64 waited = clock.elapsed();

        const QString socket = QDir(m_root.path()).filePath("cups.sock");
        const QString stalls
            = QStringLiteral("The print server %1 does not answer within 5 seconds").arg(socket);
        const QString expected = QString::fromUtf8(stalled.told).replace(QStringLiteral("%1"), stalls);
        QVERIFY2(expected.isEmpty() ? told.isEmpty() : told.startsWith(expected), qPrintable(told));
        QCOMPARE(status, stalled.status);
        QVERIFY2(waited < (PrintServer::kAnswerSeconds + 3) * 1000, qPrintable(QString::number(waited)));
        QCOMPARE(QFileInfo::exists(pdf), stalled.route == Route::PdfCommandLine);
        if (stalled.route == Route::PrintDialog)
            QVERIFY2(ticks >= PrintServer::kAnswerSeconds * 10, qPrintable(QString::number(ticks)));
    }

private:
    // Empty when the server is up; otherwise why not.
    QString startServer()
    {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
        if (cupsd.isEmpty() || !m_root.isValid())
            return QStringLiteral("cupsd is not installed (package cups)");
        const QString root = m_root.path();
        QFile::setPermissions(root, QFile::Permissions(0x7755));
        QDir dir(root);
        for (const char *sub : {"spool", "cache", "state", "log", "out", "bin/backend"})
            dir.mkpath(QLatin1String(sub));
        m_out = dir.filePath("out");
        QFile::setPermissions(m_out, QFile::Permissions(0x7777));
        // Filters, drivers and helpers are CUPS's own; only the backend is ours.
        for (const char *sub : {"filter", "daemon", "notifier", "monitor", "cgi-bin", "driver"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub),
                        dir.filePath("bin/") + QLatin1String(sub));
        const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        const QString socket = dir.filePath("cups.sock");
        // cupsd runs a backend as root only when others cannot read or run it.
        if (!writeFile(dir.filePath("bin/backend/quilllabels"), kBackend, QFile::ReadOwner | QFile::ExeOwner)
            || !writeFile(
                dir.filePath("cupsd.conf"),
                QStringLiteral("Listen %1\nLogLevel warn\nBrowsing No\n"
                               "DefaultAuthType None\nMaxJobs 0\n<Location />\n Allow all\n</Location>\n"
                               "<Policy default>\n <Limit All>\n  Allow all\n </Limit>\n</Policy>\n")
                    .arg(socket)
                    .toUtf8(),
                readable)
            || !writeFile(dir.filePath("cups-files.conf"),
                          QStringLiteral(
                              "ServerRoot %1\nServerBin %1/bin\n"
                              "RequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\nTempDir %1/spool\n"
                              "ErrorLog %1/log/error_log\nSandboxing Relaxed\n")
                              .arg(root)
                              .toUtf8(),
                          readable))
            return QStringLiteral("cannot write the server's files");
        endsWithThisTest(m_cupsd);
        m_cupsd.start(cupsd, {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")});
        // Every client below, the program's print plugin included, talks to this server only.
        qputenv("CUPS_SERVER", QFile::encodeName(socket));
        // lpstat -r succeeds before the scheduler listens; only its words tell.
        QString output;
        m_cupsd.waitForStarted();
        for (int i = 0; i < 100 && m_cupsd.state() == QProcess::Running; ++i) {
            if (run("lpstat", {"-r"}, &output) == 0 && output.contains("scheduler is running"))
                return {};
            QTest::qWait(100);
        }
        return QStringLiteral("cupsd does not answer: ") + output;
    }
    QStringList jobs() const
    {
        return QDir(m_out).entryList({QStringLiteral("job-*.out")}, QDir::Files, QDir::Time);
    }

    QTemporaryDir m_root{QStringLiteral("/tmp/quill-cups-XXXXXX")};
    QProcess m_cupsd;
    QString m_out, m_down; // m_down: why there is no server
};

QTEST_MAIN(PrintCupsTest)
#include "print_cups.moc"
