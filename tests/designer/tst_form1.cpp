// The designer window driven as a user would: start-up from the saved design
// and what closing writes back, sizes and units, the editors, the focus and the
// data panel. Also run under a comma-decimal locale.
#include "Decode.h"
#include "Design.h"
#include "DesignerSession.h"
#include "DocumentHistory.h"
#include "ImportColumnsDialog.h"
#include "LabelEditor.h"
#include "OutputCommands.h"
#include "SymbolBuilder.h"
#include "common/Raised.h"
#include "component/Scan.h"
#include "frmPrint.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// What is at a path, as the system tells it: its kind and its inode.
static QString identity(const QString &path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("nothing");
    return QStringLiteral("mode %1, inode %2").arg(info.st_mode).arg(info.st_ino);
}

Q_DECLARE_METATYPE(DialogProvider::SaveChanges)

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ::alarm(120); } // a read that waits for ever fails the test

    void roundTrip_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");
        const auto row = [](const char *name, const QString &stored, const char *shown, const char *written) {
            QTest::newRow(name) << stored << QString::fromLatin1(shown) << QString::fromLatin1(written);
        };
        row("nothing stored", "",
            "Text1=0123456789;Text5=5.08;Text6=2.54;Combo1=EAN-13;Combo3=14;Combo4=0;Combo5=Left;"
            "Check1=1;Check2=0;Check3=0;source=Option1;unit=Option5;enabled=Text1;Caption=0123456789;Title=",
            "mesure=0;vtlw=2880.36;vtlh=1440.18;bartype=0;combo3=14");
        row("unknown unit, no symbology", "mesure=99999999999;bartype=-1",
            "Text5=2;Text6=1;unit=Option4;Combo1=;BarType=-1", "mesure=1;vtlw=2880;bartype=-1");
        row("no source ticked", "option1=0;Caption=fixed",
            "source=;enabled=Text1 Text7 Text8 Check3;Caption=fixed", "option1=0;option3=0");
        row("titled import file", "Check3=1;option1=0;option3=1;text4=<file>",
            "Check1=1;Check2=0;Check3=1;Caption=A;Title=", "Check3=1");
        row("scaling 2, turned, right", "Scaling=2;Orientation=90.0;Align=Right",
            "Check1=1;Check2=2;Check3=0;Combo4=90;Combo5=Right", "Scaling=1;Orientation=90");
        row("font size with letters, symbology past the last", "combo3=12abc;bartype=70000",
            "Combo3=12abc;FontSize=12;Combo1=EAN-13;BarType=0", "combo3=12abc;bartype=0");
        row("check boxes at 7", "hasText=7;Check3=7;Scaling=7", "Check1=1;Check2=1;Check3=1",
            "hasText=1;Check3=1;Scaling=1");
        row("family not installed: kept, drawn in another", "combo2=Sans Serif", "", "combo2=Sans Serif");
        row("sizes beyond any page", "vtlw=1" + QString(400, u'0') + ";vtlh=99999999999999999999",
            "Text5=5.08", "vtlw=2880.36;vtlh=1440.18");
        row("turn, alignment and size not offered", "Orientation=45;Align=Middle;combo3=abc",
            "Combo4=0;Combo5=Left;Combo3=14", "Orientation=0;Align=Left;combo3=14");
        row("font size with the locale's point", "combo3=-1000<point>5", "Combo3=-1000;FontSize=-1000",
            "combo3=-1000");
        row("font size 1000.0", "combo3=1000.0", "Combo3=1000.0", "combo3=1000.0");
        // Beyond the 1000 points the renderer draws.
        row("font size 1001", "combo3=1001", "Combo3=1000;FontSize=1000", "combo3=1000");
    }
    // What a previous run stored (values the program never writes included),
    // what start-up shows and what the next close writes; a second start and
    // close write the same again, and no message is shown.
    void roundTrip()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        DesignerSession session;
        const QString file = session.writeFile("labels.txt", "A,B\r\nTitle A\r\n");
        session.seed(stored.replace("<file>", file).replace("<point>", QLocale().decimalPoint()));
        QCOMPARE(differs(session.start(), shown), QString());
        const Keys first = session.close();
        QCOMPARE(mismatches(first, written.replace("<file>", file)), QString());
        session.start();
        QCOMPARE(session.close(), first);
        QVERIFY2(session.dialogs.messages.isEmpty(), qPrintable(session.dialogs.allText()));
    }

    void unusableSettings_data()
    {
        // kind:where, a file at the folder's place or something at the file's
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("atStart"); // the message comes at start, else when the window closes
        const QString notOrdinary = QStringLiteral("it is not an ordinary file");
        const QString notAFolder = QString::fromLocal8Bit(std::strerror(ENOTDIR));
        QTest::newRow("folder is a file") << "file:folder" << notAFolder << false;
        QTest::newRow("settings file is a pipe") << "pipe:folder/Quillmark2.conf" << notOrdinary << true;
    }
    // Settings that cannot be written at close, or that are there but cannot
    // be read: one message naming the file and the reason, the first-run
    // design, the window closes all the same and the file stays as it was.
    void unusableSettings()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, reason);
        QFETCH(bool, atStart);
        DesignerSession session;
        session.path = session.dir.filePath("folder/Quillmark2.conf");
        const QString kind = blocker.section(u':', 0, 0);
        const QString blocked = session.dir.filePath(blocker.section(u':', 1));
        if (kind == "file")
            session.writeFile("folder", "");
        else
            QVERIFY(QDir(session.dir.path()).mkpath("folder"));
        if (kind == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(blocked).constData(), 0600), 0);
        const QString before = identity(blocked);
        Form1 &f = session.start();
        QCOMPARE(session.dialogs.messages.size(), atStart ? 1 : 0);
        QCOMPARE(differs(f, "Text1=0123456789;Combo1=EAN-13;source=Option1"), QString());
        f.show();
        f.mnuExit->trigger();
        QVERIFY(!f.isVisible());
        QCOMPARE(session.dialogs.messages.size(), 1);
        const QString message = session.dialogs.allText();
        QVERIFY2(message.contains(u'"' + session.path + u'"'), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(identity(blocked), before); // neither removed nor replaced
    }

    // Whenever the status bar takes another height (its first line, a label
    // added, a larger font), the preview gives way at once, ending where the bar
    // begins, with the symbol centred, as after a resize of the window.
    void statusBarLayout()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(session.activate());
        for (const QAction *button : f.Toolbar1->actions())
            QVERIFY(!button->icon().isNull());
        QLabel *module = f.statusBar()->findChild<QLabel *>("module");
        QFont labels = module->font();
        labels.setPointSize(20);
        module->setFont(labels);
        session.dialogs.saveAnswer = session.dir.filePath("labels"); // a design file: a label added
        f.mnuSaveDesignAs->trigger();
        QTest::qWait(0);
        const QRect preview = f.Picture1->geometry();
        const QPointF symbol(f.Vantrel1->Left(), f.Vantrel1->Top());
        const QRect placed = f.Vantrel1->geometry();
        QVERIFY2(std::abs(placed.left() * 2 + placed.width() - preview.width()) <= 1, "not centred across");
        const int previewBottom = f.Picture1->mapTo(&f, QPoint(0, f.Picture1->height())).y();
        QCOMPARE(previewBottom, f.statusBar()->y());
        f.resize(f.width(), f.height() + 1);
        f.resize(f.width(), f.height() - 1);
        QTest::qWait(0);
        QCOMPARE(f.Picture1->geometry(), preview);
        QCOMPARE(QPointF(f.Vantrel1->Left(), f.Vantrel1->Top()), symbol);
        f.resize(f.width() + 40, f.height()); // the preview follows the window
        QTRY_COMPARE(f.Picture1->width(), preview.width() + 40);
    }

    // At the window's first size the last run's summary is read whole: after two pictures saved, beside
    // the design's path shortened in its middle, whole in its tooltip; after 2000 labels printed, too.
    void statusSummary()
    {
        DesignerSession session("option1=0;option2=1;text2=1;text3=2");
        // The runs write into a folder of a short name whatever the temporary folder's: the summary names
        // that folder.
        const QTemporaryDir out(QStringLiteral("/tmp/q-XXXXXX"));
        session.printer.selectPdfFile(out.filePath("l.pdf"));
        Form1 &f = session.start();
        QVERIFY(session.activate());
        const QString design = session.dir.filePath("shelf.qmdesign");
        session.dialogs.saveAnswer = design;
        f.mnuSaveDesignAs->trigger();
        session.dialogs.saveAnswer = out.filePath("p.bmp");
        f.output().mnuSave_Click();
        const QLabel *told = f.statusBar()->findChild<QLabel *>("summary");
        const QLabel *path = f.statusBar()->findChild<QLabel *>("design");
        const auto readWhole = [told](const QString &start) {
            return told->text().startsWith(start) && told->text() == told->toolTip()
                && told->width() >= told->fontMetrics().horizontalAdvance(told->text());
        };
        QVERIFY2(readWhole("2 pictures in "), qPrintable(told->text()));
        QVERIFY(told->geometry().right() < path->geometry().left());
        QVERIFY2(path->text().contains(u'…'), qPrintable(path->text()));
        QCOMPARE(path->toolTip(), "Design: " + design);
        f.Text3->setText(QStringLiteral("2000"));
        frmPrint(f.view(), session.dialogs, session.printer).OKButton_Click();
        QVERIFY2(readWhole("2000 labels on "), qPrintable(told->text()));
        QCOMPARE(session.dialogs.allText(), QString());
    }

    // A pick pushes its value into the component, the preview is read by
    // zxing-cpp, and a pick is what the next start shows. A typed symbology is
    // no selection: stored as -1, and the next start's preview says so.
    void picksAndPreview()
    {
        DesignerSession session("vtlw=5760;vtlh=1800;mesure=1");
        Form1 &f = session.start();
        QVERIFY(session.activate());
        QCOMPARE(f.windowIcon().availableSizes().size(), 4); // 16 to 64 pixels
        // The status bar's module follows the symbology, the data typed last and the rotation:
        // 384 pixels make 3 a module for "0123456789" in Code 128, 120 pixels 1 for Code 39.
        const QList<std::tuple<QComboBox *, QString, QString, QString>> picks{
            {f.Combo1, "Code128", "HELLO-42", "BarType=8;Module=Module 0.794 mm (31.3 mils)"},
            {f.Combo1, "EAN-13", "400638133393", "BarType=0;Module="},
            {f.Combo1, "Code39", "0815", "BarType=6;Module=Module 0.265 mm (10.4 mils)"},
            {f.Combo3, "36", "", "FontSize=36;Module=Module 0.794 mm (31.3 mils)"},
            {f.Combo4, "270", "", "Orientation=2700;Module=Module 0.265 mm (10.4 mils)"},
            {f.Combo5, "Right", "", "Alignment=2"}};
        for (const auto &[combo, item, typed, pushed] : picks) {
            combo->setCurrentIndex(combo->findText(item));
            QCOMPARE(differs(f, pushed), QString());
            if (typed.isEmpty())
                continue;
            retype(f.Text1, typed);
            QCOMPARE(Decode::zxingOne(f.Vantrel1->grab().toImage()), item == "EAN-13" ? typed + "1" : typed);
        }
        f.Vantrel1->design().setPictureDpi(300); // pictures 375 dots high, 3 a module
        QCOMPARE(differs(f, "Module=Module 0.254 mm (10 mils)"), QString());
        retype(f.Combo1, QStringLiteral("QR"));
        QCOMPARE(mismatches(session.close(), "bartype=-1;combo3=36;Orientation=270;Align=Right"), QString());
        Form1 &again = session.start();
        QCOMPARE(raised([&] { again.Vantrel1->Picture(); }), SymbolBuilder::noSymbologyMessage());
        const QImage shown = again.Vantrel1->grab().toImage();
        QVERIFY(shown.copy(0, 0, 1, 1).scaled(shown.size()) != shown); // the message is drawn
        // A label product's size, given in the print dialog's unit, switches the designer to that unit.
        again.setSymbolSize(false, QStringLiteral("5"), QStringLiteral("2.5"));
        QVERIFY(again.Option5->isChecked());
        QCOMPARE(again.document().width(), 5 * 567.0);
    }

    void fontSize_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("size"); // the component's after the last key
        QTest::addColumn<bool>("focusStays"); // when the box is left
        QTest::addColumn<QString>("message"); // shown when the box is left, none while typing
        QTest::newRow("with a unit") << "12pt" << 12.0 << false << "";
        QTest::newRow("negative") << "-5" << -5.0 << false << "";
        QTest::newRow("largest") << "1000" << 1000.0 << false << "";
        QTest::newRow("no number") << "abc" << 0.0 << true << "";
        QTest::newRow("over the largest") << "99999" << 999.0 << true << "Invalid font size.";
    }
    // Each text typed into the size box key by key applies at once while it
    // can be drawn (up to 1000 points); leaving the box is refused while its
    // size is 0, and with a message when beyond 1000 points.
    void fontSize()
    {
        QFETCH(QString, typed);
        QFETCH(double, size);
        QFETCH(bool, focusStays);
        QFETCH(QString, message);
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(session.activate());
        retype(f.Combo3, typed);
        QCOMPARE(session.dialogs.texts(), QStringList());
        f.Text1->setFocus();
        QCOMPARE(f.Vantrel1->Font().Size(), size);
        QCOMPARE(QApplication::focusWidget() == f.Combo3, focusStays);
        QCOMPARE(session.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    // The sequence previews its bare start; a source without a readable file
    // leaves the preview as it was; a browse previews the file's first value.
    void dataPanel()
    {
        DesignerSession session;
        const QString file = session.writeFile("in.txt", " A ,B\r\nTitle A\r\nC\r\n");
        Form1 &f = session.start();
        f.Option3->setChecked(true); // each source reached from another one
        f.Option2->setChecked(true);
        f.Text7->setText(QStringLiteral("A-"));
        f.Text8->setText(QStringLiteral("-Z"));
        QCOMPARE(differs(f, "source=Option2;enabled=Text2 Text3 Text7 Text8;Caption=001"), QString());
        QCOMPARE(f.module1().getFirstData(), QStringLiteral("A-001-Z"));
        for (const QString &name : {QString(), QStringLiteral("no-such.txt"), session.dir.path(),
                                    session.writeFile(".hidden.txt", "H\n")}) {
            f.Option1->setChecked(true);
            f.Text4->setText(name);
            f.Vantrel1->setTitle(QStringLiteral("kept"));
            f.Option3->setChecked(true);
            QCOMPARE(differs(f, "Caption=0123456789;Title=kept;enabled=Text4 Command1 Check3"), QString());
        }
        session.dialogs.openAnswer = file;
        f.Check3->click(); // ticked first: the browse itself previews the title
        f.Command1->click();
        QCOMPARE(f.CommonDialog1.Filter, QStringLiteral("Text files (*.txt)|*.txt|All fiels (*.*)|*.*"));
        QCOMPARE(session.dialogs.openedFilter,
                 f.CommonDialog1.Filter + "|Spreadsheet exports (*.csv *.tsv)|*.csv;*.tsv");
        QCOMPARE(differs(f, "Caption= A ,B;Title=Title A"), QString());
        f.Option1->setChecked(true);
        f.Option3->setChecked(true); // choosing the source previews the first field
        QCOMPARE(differs(f, "Caption=A"), QString());
        // The browse opens on a text entry, also after a picture save chose its PNG entry; on
        // spreadsheet exports for an export or for columns, and choosing them leaves the entry
        // the picture save opens on.
        QCOMPARE(session.dialogs.openedEntry, 1);
        f.CommonDialog1.FilterIndex = 3;
        f.Command1->click();
        QCOMPARE(session.dialogs.openedEntry, 2);
        f.Text4->setText(session.writeFile("shop.TSV", "a\tb\n"));
        f.Command1->click();
        QCOMPARE(session.dialogs.openedEntry, 3);
        QCOMPARE(f.CommonDialog1.FilterIndex, 2);
        DataSource columns = f.document().source();
        columns.columns.valueTemplate = QStringLiteral("{1}");
        f.document().setSource(columns);
        f.Text4->setText(file);
        f.Command1->click();
        QCOMPARE(session.dialogs.openedEntry, 3);
    }

    // The Columns dialog scripted: the file's first rows as a table, the first
    // label's value and title as the choice is typed; OK previews the first row
    // and the settings keep the choice for the next start.
    void importColumns_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("storedValue"); // the value template before the dialog
        QTest::addColumn<int>("delimiter"); // the list's entry chosen
        QTest::addColumn<QString>("written"); // the delimiter as the settings keep it
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("firstRow"); // as the dialog's table shows it
        QTest::addColumn<QString>("line"); // the dialog's preview line holds this
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shownTitle");
        const QByteArray shop = "sku;name;size\r\n1001;Widget;M\r\n1002;\"Gadget; large\";L\r\n";
        const QByteArray tabs = "A-1\tred\nB-2\n"; // the second row one column short
        const QStringList widget{"1001", "Widget", "M"};
        QTest::newRow("names, semicolon found")
            << shop << "" << 0 << "detect" << true << "{sku}-{size}"
            << "{name}" << true << widget << "First label: 1001-M, titled Widget"
            << "1001-M"
            << "Widget";
        QTest::newRow("numbers, tab chosen, no title")
            << tabs << "" << 3 << "tab" << false << "{1}/{2}"
            << "" << true << QStringList{"A-1", "red"} << "First label: A-1/red"
            << "A-1/red"
            << "";
        QTest::newRow("cancelled") << shop << "" << 1 << "detect" << false << "{1}"
                                   << "" << false << QStringList{"sku;name;size"}
                                   << "First label: sku;name;size"
                                   << "sku;name;size"
                                   << "";
        QTest::newRow("value cleared: line by line again")
            << shop << "{sku}" << 2 << "semicolon" << true << ""
            << "" << true << widget << "each line of the file is a value"
            << "sku;name;size"
            << "";
    }

    void importColumns()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, storedValue);
        QFETCH(int, delimiter);
        QFETCH(QString, written);
        QFETCH(bool, header);
        QFETCH(QString, value);
        QFETCH(QString, title);
        QFETCH(bool, ok);
        QFETCH(QStringList, firstRow);
        QFETCH(QString, line);
        QFETCH(QString, caption);
        QFETCH(QString, shownTitle);
        DesignerSession session;
        const QString file = session.writeFile("export.csv", content);
        session.seed("option1=0;option3=1;text4=" + file);
        SettingsStore(session.path).write("Import columns", "Value", storedValue);
        Form1 &f = session.start();
        QVERIFY(f.Command7->isEnabled());
        QStringList shownRow;
        QString shownLine;
        bool wraps = false; // a long first label wraps instead of widening the dialog
        session.dialogs.onDialog = [&](QDialog &dialog) {
            dialog.findChild<QComboBox *>("delimiter")->setCurrentIndex(delimiter);
            dialog.findChild<QCheckBox *>("header")->setChecked(header);
            dialog.findChild<QLineEdit *>("value")->setText(value);
            dialog.findChild<QLineEdit *>("title")->setText(title);
            const QTableWidget *table = dialog.findChild<QTableWidget *>("sample");
            for (int column = 0; column < table->columnCount(); ++column)
                shownRow << table->item(0, column)->text();
            const QLabel *preview = dialog.findChild<QLabel *>("preview");
            shownLine = preview->text();
            wraps = preview->wordWrap();
            return ok ? QDialog::Accepted : QDialog::Rejected;
        };
        f.Command7->click();
        QCOMPARE(shownRow, firstRow);
        QVERIFY2(shownLine.contains(line), qPrintable(shownLine));
        QVERIFY(wraps);
        QCOMPARE(f.Vantrel1->Caption(), caption);
        QCOMPARE(f.Vantrel1->Title(), shownTitle);
        QCOMPARE(ClickCheckBox::value(f.Check3), shownTitle.isEmpty() ? 0 : 1);
        const Keys stored = session.close();
        QCOMPARE(stored.value("Value"), ok ? value : storedValue);
        QCOMPARE(stored.value("Title"), ok ? title : QString());
        QCOMPARE(stored.value("Header"), ok && header ? "1" : "0");
        QCOMPARE(stored.value("Delimiter"), ok ? written : QStringLiteral("detect"));
        Form1 &again = session.start();
        QCOMPARE(again.Vantrel1->Caption(), caption);
        QCOMPARE(again.Vantrel1->Title(), shownTitle);
        QCOMPARE(session.dialogs.allText(), QString());
    }

    // A design file opened through the File menu shows in every control and
    // becomes the stored design; one the model refuses changes nothing.
    void openDesign_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("a design") << QByteArray("[Form1]\nbartype=8\nmesure=1\nvtlw=4320\n"
                                                "option1=0\noption2=1\n"
                                                "text2=0042\n[Label margins]\nLeft=2\n"
                                                "[Quillmark design]\nPrefix=SSCC-\nSuffix=/A\n")
                                  << QString();
        QTest::newRow("no symbology")
            << QByteArray("[Form1]\nbartype=-5\n") << "holds bartype=\"-5\" in [Form1]";
    }

    void openDesign()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        DesignerSession session;
        Form1 &f = session.start();
        const LabelDocument before = f.document();
        const QString file = session.writeFile("label.qmdesign", content);
        session.dialogs.openAnswer = file;
        f.mnuOpenDesign_Click();
        QCOMPARE(f.windowTitle(), QStringLiteral("Quillmark"));
        if (!message.isEmpty()) {
            QVERIFY2(session.dialogs.allText().contains(message), qPrintable(session.dialogs.allText()));
            QVERIFY(session.dialogs.allText().contains(file));
            QVERIFY(f.document() == before);
            QCOMPARE(f.designFile(), QString());
            return;
        }
        QCOMPARE(session.dialogs.allText(), QString());
        QCOMPARE(f.designFile(), file);
        QCOMPARE(f.Combo1->currentText(), QStringLiteral("Code128"));
        QCOMPARE(f.Text5->text(), QStringLiteral("3"));
        QVERIFY(f.Option4->isChecked());
        // The prefix, the sequence's start and the suffix, as the controls hold them.
        QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("SSCC-0042/A"));
        QVERIFY(f.statusBar()->currentMessage().isEmpty());
        QVERIFY(f.statusBar()->findChild<QLabel *>("design")->toolTip().contains(file));
        // Margins changed in the print dialog after opening are the design's from then on.
        {
            frmPrint print(f.view(), session.dialogs, session.printer);
            print.Text6->setText(QLocale().toString(0.75));
            print.Form_Unload();
        }
        QCOMPARE(f.document().margins().pageLeft, 0.75);
        session.dialogs.saveChangesAnswer = DialogProvider::SaveChanges::Discard;
        const Keys written = session.close();
        QCOMPARE(mismatches(written, "bartype=8;mesure=1;vtlw=4320;option2=1;text2=0042"), QString());
        QCOMPARE(SettingsStore(session.path).read("Label margins", "Left", "0"), QStringLiteral("2"));
    }

    // A label product chosen in the print dialog is named there. Cancel, after a preview too, leaves the
    // design (a size box holding no number included), its margins and the printer's paper as they were;
    // a paper chosen in the printer setup since is the user's, and stays.
    void labelProductCancelled_data()
    {
        QTest::addColumn<bool>("setUp");
        QTest::newRow("product, cancel") << false;
        QTest::newRow("product, setup, cancel") << true;
    }

    void labelProductCancelled()
    {
        QFETCH(bool, setUp);
        DesignerSession session("mesure=0"); // cm; the product is taken in the dialog's inches
        Form1 &f = session.start();
        session.printer.selectPdfFile(session.dir.filePath("labels.pdf"));
        f.Text5->setText(QStringLiteral("abc"));
        const LabelDocument before = f.document();
        const QPageSize paper(QPageSize::A4); // not the product's US Letter
        session.printer.setMedia(paper, QPageLayout::Portrait);
        const QPageSize chosen(setUp ? QPageSize::A5 : QPageSize::A4);
        session.dialogs.onPrinterDialog = [&chosen](PrinterObject &printer) {
            printer.setMedia(chosen, QPageLayout::Portrait);
            return true;
        };
        session.dialogs.labelProduct = QStringLiteral("Avery 5160");
        const int steps = f.editor().history().stack().count();
        QString named;
        QTimer::singleShot(0, [&f, &named, setUp] {
            auto *print = qobject_cast<frmPrint *>(QApplication::activeModalWidget());
            QVERIFY(print);
            print->Option4->click();
            print->LabelProductButton->click();
            f.editor().history().seal(); // as the focus moving on to the next button does
            named = print->LabelProductName->text();
            print->PreviewButton->click();
            if (setUp)
                print->Command1->click();
            print->CancelButton->click();
        });
        f.mnuPrint->trigger();
        QCOMPARE(named, QStringLiteral("Avery 5160: Address Labels, 30 a page"));
        QVERIFY(f.document() == before);
        QCOMPARE(f.editor().history().stack().count(), steps); // nothing left to undo
        QVERIFY(session.printer.media().isEquivalentTo(chosen));
    }

    // Leaving a changed design file asks first; the store is written at close
    // whatever the answer, and staying keeps the window as it is.
    void leaveChangedDesign_data()
    {
        QTest::addColumn<DialogProvider::SaveChanges>("answer");
        QTest::addColumn<bool>("byNew");
        QTest::addColumn<QString>("caption");
        using A = DialogProvider::SaveChanges;
        QTest::newRow("exit, save") << A::Save << false << "changed";
        QTest::newRow("exit, cancel") << A::Cancel << false << "0123456789";
        QTest::newRow("new design, save") << A::Save << true << "changed";
    }

    void leaveChangedDesign()
    {
        QFETCH(DialogProvider::SaveChanges, answer);
        QFETCH(bool, byNew);
        QFETCH(QString, caption);
        DesignerSession session;
        Form1 &f = session.start();
        session.dialogs.saveAnswer = session.dir.filePath("mine");
        f.mnuSaveDesignAs_Click();
        const QString file = session.dir.filePath("mine.qmdesign");
        QCOMPARE(f.designFile(), file);
        QVERIFY(!f.designChanged());
        f.Text1->setText(QStringLiteral("changed"));
        QVERIFY(f.designChanged());
        session.dialogs.saveChangesAnswer = answer;
        f.show();
        if (byNew)
            f.mnuNewDesign_Click();
        else
            f.mnuExit_Click();
        QCOMPARE(session.dialogs.questions, QStringList{"Save changes to mine.qmdesign?"});
        QCOMPARE(Design::readFile(file).text(DesignKey::Caption), caption);
        const bool stays = answer == DialogProvider::SaveChanges::Cancel;
        QCOMPARE(f.isVisible(), stays || byNew);
        QCOMPARE(f.designFile(), stays ? file : byNew ? QString() : file);
        QCOMPARE(f.Text1->text(), stays ? QStringLiteral("changed") : byNew ? "0123456789" : "changed");
    }

    // Save as adds the extension; the designs opened last are listed newest
    // first, four at most, and open again from the menu.
    void recentDesigns()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QMenu *menu = f.menuBar()->actions().first()->menu();
        const auto listed = [&f, menu] {
            QStringList shown;
            emit menu->aboutToShow();
            for (QAction *recent : f.mnuRecentDesign)
                shown << (recent->isVisible() ? recent->text() : QString());
            return shown;
        };
        for (const char *name : {"a", "b", "c", "d", "e", "b"}) {
            session.dialogs.saveAnswer = session.dir.filePath(name);
            f.mnuSaveDesignAs_Click();
            if (QByteArray(name) == "a") // one design, one entry
                QCOMPARE(listed(), (QStringList{"&1 a.qmdesign", "", "", ""}));
        }
        QCOMPARE(listed(), (QStringList{"&1 b.qmdesign", "&2 e.qmdesign", "&3 d.qmdesign", "&4 c.qmdesign"}));
        f.Text1->setText(QStringLiteral("other"));
        session.dialogs.saveChangesAnswer = DialogProvider::SaveChanges::Discard;
        f.mnuRecentDesign_Click(3);
        QCOMPARE(f.designFile(), session.dir.filePath("c.qmdesign"));
        QCOMPARE(f.Text1->text(), QStringLiteral("0123456789"));
    }

    // The File menu's and the help's keys on the shown window; About Quillmark
    // names the version and the libraries; the real question before leaving a
    // design has access keys; Tab leaves the Columns table.
    void desktopHabits()
    {
        DesignerSession session;
        qputenv("XDG_CACHE_HOME", session.dir.filePath("cache").toLocal8Bit()); // the help's pages
        Form1 &f = session.start();
        QVERIFY(session.activate());
        const auto press = [&f](const char *keys) { QTest::keySequence(&f, QKeySequence(keys)); };
        session.dialogs.saveAnswer = session.dir.filePath("mine");
        press("Ctrl+S"); // a design without a file is saved as one
        session.dialogs.saveAnswer = session.dir.filePath("as");
        f.Text1->setText(QStringLiteral("changed"));
        press("Ctrl+S");
        QCOMPARE(f.designFile(), session.dir.filePath("mine.qmdesign"));
        QVERIFY(!f.designChanged());
        press("Ctrl+Shift+S");
        QCOMPARE(f.designFile(), session.dir.filePath("as.qmdesign"));
        press("Ctrl+N");
        QCOMPARE(f.designFile(), QString());
        session.dialogs.openAnswer = session.dir.filePath("mine.qmdesign");
        press("Ctrl+O");
        QCOMPARE(f.designFile(), session.dialogs.openAnswer);
        press("F1");
        QVERIFY(!session.dialogs.opened.isEmpty());
        f.mnuAboutProgram->trigger();
        const QString about = session.dialogs.allText();
        QVERIFY2(about.startsWith("Quillmark " QUILLMARK_VERSION "\n"), qPrintable(about));
        QVERIFY2(about.contains(QStringLiteral("Qt %1 and libzint 2.").arg(qVersion())), qPrintable(about));
        QStringList buttons;
        QTimer::singleShot(0, [&buttons] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            for (const QAbstractButton *button : box->buttons())
                buttons << button->text();
            box->button(QMessageBox::Discard)->click();
        });
        QCOMPARE(DialogProvider::real(session.printer)->askSaveChanges("Save changes?", "Quillmark"),
                 DialogProvider::SaveChanges::Discard);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Cancel", "&Discard", "&Save"}));
        ImportColumnsDialog columns(session.writeFile("two.csv", "a,b\n1,2\n"), {}, session.dialogs);
        columns.show();
        QApplication::setActiveWindow(&columns);
        QVERIFY(QTest::qWaitForWindowActive(&columns));
        columns.findChild<QTableWidget *>("sample")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), columns.findChild<QComboBox *>("delimiter"));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
