// End to end through a real CUPS queue: the test starts a private cupsd in a
// temporary folder (its own configuration, spool, logs and a backend that
// files each job it receives), points the program at it through CUPS_SERVER,
// prints, and decodes the labels of the PDF that arrives at the queue's end.
// The machine's own CUPS set-up is neither read nor changed.
#include "PrinterObject.h"
#include "ScreenMetrics.h"
#include "frmPrint.h"
#include "print_standins.h"

#include "common/Decode.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString kQueue = QStringLiteral("QuillLabels");

// A PDF printer of letter and A4 paper; the job's PDF goes through unchanged
// apart from CUPS's own pdftopdf step.
const char *kPpd = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "QUILLLBL.PPD"
*Manufacturer: "Quillmark"
*Product: "(Label file)"
*ModelName: "Quillmark label file"
*ShortNickName: "Quillmark label file"
*NickName: "Quillmark label file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: Letter
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: Letter
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: Letter
*ImageableArea Letter/US Letter: "0 0 612 792"
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: Letter
*PaperDimension Letter/US Letter: "612 792"
*PaperDimension A4/A4: "595 842"
*DefaultResolution: 600dpi
)PPD";

// Writes each job's file into the folder named by the device URI.
const char *kBackend = R"SH(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct quilllabels "Unknown" "Quillmark label folder"'; exit 0; fi
folder="${DEVICE_URI#quilllabels:}"
out="$folder/job-$1.pdf"
if [ -n "$6" ]; then cat "$6" > "$out.tmp" || exit 1; else cat > "$out.tmp" || exit 1; fi
mv "$out.tmp" "$out"
)SH";

bool writeFile(const QString &path, const QByteArray &text, QFile::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return false;
    file.close();
    return file.setPermissions(permissions);
}

} // namespace

class PrintCupsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void queueIsTheCurrentPrinter();
    void jobArrivesAndDecodes();
    void failedRunSendsNoJob();

private:
    QString startServer();
    int run(const QString &program, const QStringList &arguments, QString *output = nullptr);
    QStringList arrivedJobs() const;

    QTemporaryDir m_root{QStringLiteral("/tmp/quill-cups-XXXXXX")};
    QProcess m_cupsd;
    QString m_socket;
    QString m_out;
};

int PrintCupsTest::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Empty when the server is up with the queue; otherwise why not.
QString PrintCupsTest::startServer()
{
    const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
    if (cupsd.isEmpty())
        return QStringLiteral("cupsd is not installed (package cups)");
    if (!m_root.isValid())
        return QStringLiteral("no temporary folder");
    const QString root = m_root.path();
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                    | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QDir dir(root);
    for (const char *sub : {"spool", "cache", "state", "log", "ppd", "out", "bin/backend"})
        dir.mkpath(QLatin1String(sub));
    m_out = dir.filePath("out");
    QFile::setPermissions(m_out, QFile::Permissions(0x7777));
    // Filters and helpers are CUPS's own; only the backend is ours.
    for (const char *sub : {"filter", "daemon", "notifier", "monitor", "cgi-bin", "driver"})
        QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub), dir.filePath("bin/") + QLatin1String(sub));
    // cupsd runs a backend as root only when others cannot read or run it.
    if (!writeFile(dir.filePath("bin/backend/quilllabels"), kBackend,
                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        || !writeFile(dir.filePath("labels.ppd"), kPpd, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther))
        return QStringLiteral("cannot write the server's files");

    m_socket = dir.filePath("cups.sock");
    const QByteArray conf = QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                           "DefaultAuthType None\nMaxJobs 0\n"
                                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                           "<Policy default>\n  <Limit All>\n    Order allow,deny\n"
                                           "    Allow all\n  </Limit>\n</Policy>\n")
                                .arg(m_socket).toUtf8();
    const QByteArray files = QStringLiteral("ServerRoot %1\nServerBin %1/bin\nRequestRoot %1/spool\n"
                                            "CacheDir %1/cache\nStateDir %1/state\nTempDir %1/spool\n"
                                            "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                                            "PageLog %1/log/page_log\nSandboxing Relaxed\n")
                                 .arg(root).toUtf8();
    const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (!writeFile(dir.filePath("cupsd.conf"), conf, readable)
        || !writeFile(dir.filePath("cups-files.conf"), files, readable))
        return QStringLiteral("cannot write the server's configuration");

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(cupsd, {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")});
    if (!m_cupsd.waitForStarted(10000))
        return QStringLiteral("cupsd did not start: ") + m_cupsd.errorString();
    // Every client below, the program's print plugin included, talks to this server only.
    qputenv("CUPS_SERVER", QFile::encodeName(m_socket));
    for (int i = 0; i < 100 && run("lpstat", {"-r"}) != 0; ++i) {
        if (m_cupsd.state() != QProcess::Running)
            return QStringLiteral("cupsd stopped at once: ") + QString::fromLocal8Bit(m_cupsd.readAll());
        QTest::qWait(100);
    }
    QString output;
    if (run("lpstat", {"-r"}, &output) != 0)
        return QStringLiteral("cupsd does not answer: ") + output;
    return {};
}

void PrintCupsTest::initTestCase()
{
    ScreenMetrics::overrideDpi(96, 96);
    const QString why = startServer();
    if (!why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("A private CUPS server could not be started: ") + why));
    // From here on the server is up: anything that goes wrong is a failure.
    QString output;
    QVERIFY2(run("lpadmin", {"-p", kQueue, "-E", "-v", "quilllabels:" + m_out, "-P",
                             QDir(m_root.path()).filePath("labels.ppd")}, &output) == 0,
             qPrintable(QStringLiteral("lpadmin could not add the queue: ") + output));
}

void PrintCupsTest::cleanupTestCase()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000)) {
        m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }
}

QStringList PrintCupsTest::arrivedJobs() const
{
    return QDir(m_out).entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name);
}

void PrintCupsTest::queueIsTheCurrentPrinter()
{
    QVERIFY(QPrinterInfo::availablePrinterNames().contains(kQueue));
    // The only queue there is, so the program starts with it.
    PrinterObject &printer = PrinterObject::current();
    QVERIFY(!printer.isPdfFilePrinter());
    QCOMPARE(printer.deviceName(), kQueue);
    StandInDesigner designer;
    frmPrint dialog(designer);
    QCOMPARE(dialog.Text3->text(), kQueue);
}

void PrintCupsTest::jobArrivesAndDecodes()
{
    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.t7 = QStringLiteral("LBL");
    designer.sequence("01", "12");
    PrinterObject::current().selectQueue(kQueue);
    PrinterObject::current().qprinter().setPageSize(QPageSize(QPageSize::Letter));

    frmPrint dialog(designer);
    dialog.Text8->setText("1"); // page top margin, inches
    dialog.OKButton_Click();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.value(0).text));
    QVERIFY(dialog.isUnloaded());
    QCOMPARE(PrinterObject::current().deviceName(), kQueue); // the queue stays chosen after its job

    // The job passes through the server's filters and backend on its own time.
    QTRY_COMPARE_WITH_TIMEOUT(arrivedJobs().size(), 1, 60000);
    const QString pdf = QDir(m_out).filePath(arrivedJobs().first());
    QCOMPARE(PdfPages::count(pdf), 1);
    const QImage page = PdfPages::render(pdf, 150).value(0);
    QVERIFY(!page.isNull());
    for (int cell = 0; cell < 12; ++cell) {
        const QRect symbol(cell % 4 * 300, 150 + cell / 4 * 150, 300, 150);
        QCOMPARE(Decode::zxingOne(PdfPages::label(page, symbol)), QStringLiteral("LBL%1").arg(cell + 1, 2, 10, QLatin1Char('0')));
    }
}

// A run that fails after the job was opened sends nothing to the queue.
void PrintCupsTest::failedRunSendsNoJob()
{
    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.sequence("01", "04");
    PrinterObject::current().selectQueue(kQueue);
    QString before;
    run("lpstat", {"-W", "all", "-o", kQueue}, &before);

    frmPrint dialog(designer);
    dialog.Text9->setText("10.5"); // page bottom margin: no row fits
    dialog.OKButton_Click();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(!dialog.isUnloaded());
    QString after;
    run("lpstat", {"-W", "all", "-o", kQueue}, &after);
    QVERIFY2(before.contains(kQueue + "-"), qPrintable(before)); // the earlier test's job is listed
    QCOMPARE(after, before);
    QCOMPARE(arrivedJobs().size(), 1);
    QVERIFY(!PrinterObject::current().isPrinting());
}

QTEST_MAIN(PrintCupsTest)
#include "print_cups.moc"
