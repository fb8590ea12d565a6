// The designer window driven as a user would: start-up from the saved design
// and what closing writes back, sizes and units, the editors, the focus and the
// data panel. Also run under a comma-decimal locale.
#include "Decode.h"
#include "DesignerSession.h"
#include "Module1.h"
#include "SymbolBuilder.h"

#include <QFontInfo>
#include <QFrame>

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void firstRun()
    {
        DesignerSession session;
        Form1 &f = session.start();
        const QString arial = QFontInfo(QFont(QStringLiteral("Arial"))).family();
        QCOMPARE(differs(f, "Text1=0123456789;Text2=001;Text4=;Text5=5.08;Text6=2.54;Combo1=EAN-13;Combo3=14;"
                            "Combo4=0;Combo5=Left;Check1=1;Check2=0;Check3=0;source=100;unit=01/0;enabled=10000000;"
                            "BarType=0;Scaling=0;Orientation=0;ShowText=1;Alignment=0;Caption=0123456789;Title=;"
                            "FontSize=14"), QString());
        QCOMPARE(f.Vantrel1->Font().Name(), arial);
        const Keys written = session.close();
        QCOMPARE(mismatches(written, "vtlw=2880.36;vtlh=1440.18;Caption=0123456789;text4=;text2=001;text3=999;"
                                     "mesure=0;bartype=0;Scaling=0;Orientation=0;hasText=1;Check3=0;Align=Left;"
                                     "combo3=14;option1=1;option2=0;option3=0;combo2=" + arial), QString());
        QCOMPARE(written.size(), 18);
        QVERIFY(session.dialogs.messages.isEmpty());
    }

    // What a previous run stored (values the program never writes included),
    // what start-up shows and what the next close writes; a second start and
    // close write the same again, and no message is shown.
    void roundTrip()
    {
        struct Row { QString stored, shown, written; };
        QList<Row> rows{
            {"vtlw=3000;vtlh=1000;mesure=1", "Text5=2.08;Text6=0.69;unit=10/1", "vtlw=2995.2;vtlh=993.6;mesure=1"},
            {"mesure=99999999999", "Text5=2;Text6=1;unit=10/1", "mesure=1;vtlw=2880;vtlh=1440"},
            {"bartype=-1", "Combo1=;BarType=-1", "bartype=-1"},
            {"option1=0;option3=1;text4=<file>", "source=001;enabled=00000111;Caption=A", "option3=1;text4=<file>"},
            {"option1=0;Caption=fixed", "source=000;enabled=10011001;Caption=fixed", "option1=0;option3=0"},
            {"option1=0;option2=1;text2=07;text3=9", "source=010;Caption=07", "text2=07;text3=9;option2=1"},
            {"Check3=1;option1=0;option3=1;text4=<file>", "Check3=1;Caption=A;Title=", "Check3=1"},
            {"Scaling=2;Orientation=90.0;Align=Right", "Check2=2;Combo4=90;Combo5=Right", "Scaling=1;Orientation=90"},
            {"combo3=12abc", "Combo3=12abc;FontSize=12", "combo3=12abc"},
            {"bartype=70000", "Combo1=EAN-13;BarType=0", "bartype=0"},
            {"hasText=7;Check3=7;Scaling=7", "Check1=1;Check3=1", "hasText=1;Check3=1;Scaling=1"},
            {"vtlw=1" + QString(400, u'0') + ";vtlh=99999999999999999999", "Text5=5.08", "vtlw=2880.36;vtlh=1440.18"},
            {"Orientation=45;Align=Middle", "Combo4=0;Combo5=Left", "Orientation=0;Align=Left"},
            {"combo3=abc", "Combo3=14;FontSize=14", "combo3=14"},
            {"combo3=-5000", "Combo3=-1000;FontSize=-1000", "combo3=-1000"}};
        // Beyond the 1000 points the renderer draws, by either reading of the text.
        for (const char *size : {"2000000000", "1e300", "2e9", "3e7", "1e8", "1e9", "1001"})
            rows.append({QStringLiteral("combo3=") + size, "Combo3=1000;FontSize=1000", "combo3=1000"});
        for (Row &row : rows) {
            DesignerSession session;
            const QString file = session.writeFile("labels.txt", "A,B\r\nTitle A\r\n");
            session.seed(row.stored.replace("<file>", file));
            QVERIFY2(differs(session.start(), row.shown).isEmpty(), qPrintable(row.stored + ": " + differs(*session.form, row.shown)));
            const Keys first = session.close();
            QVERIFY2(mismatches(first, row.written.replace("<file>", file)).isEmpty(), qPrintable(row.stored));
            session.start();
            QCOMPARE(session.close(), first);
            QVERIFY2(session.dialogs.messages.isEmpty(), qPrintable(session.dialogs.allText()));
        }
    }

    // Settings that cannot be written at close: one message naming the file
    // and the reason, and the window closes all the same.
    void unwritableSettings()
    {
        for (const QString blocker : {"folder", "folder/Quillmark2.conf"}) {
            DesignerSession session;
            session.path = session.dir.filePath("folder/Quillmark2.conf");
            blocker.endsWith(".conf") ? (void)QDir(session.dir.path()).mkpath(blocker)
                                      : (void)session.writeFile(blocker, "a file");
            Form1 &f = session.start();
            f.show();
            f.mnuExit->trigger();
            QVERIFY(!f.isVisible());
            const QString said = session.dialogs.allText();
            QVERIFY2(said.contains(session.path) && said.contains(blocker.endsWith(".conf") ? "a folder has that name"
                                                                                             : "is a file, not a folder"),
                     qPrintable(said));
            QCOMPARE(session.dialogs.messages.size(), 1);
        }
        // One entry per family, whatever foundries the font database names.
        QCOMPARE(Form1::fontList({"Nimbus Sans [UKWN]", "C059 [urw]", "Nimbus Sans", "C059 [UKWN]", "nimbus sans [x]"}),
                 (QStringList{"C059", "Nimbus Sans"}));
    }

    // Switching units shows the size in the locale's format and stores it with
    // a point; a typed size takes effect when the focus leaves the box.
    void sizesAndUnits()
    {
        DesignerSession session("mesure=1");
        Form1 &f = session.start();
        f.Option5->setChecked(true);
        QCOMPARE(differs(f, "Text5=5.08;Text6=2.54;unit=01/0"), QString());
        QCOMPARE(mismatches(session.close(), "vtlw=2880.36;vtlh=1440.18;mesure=0"), QString());
        QCOMPARE(QSettings(session.path, QSettings::IniFormat).childGroups(), QStringList{"Form1"});
        Form1 &again = session.start();
        again.Option4->setChecked(true);
        QCOMPARE(differs(again, "Text5=2.00;Text6=1.00;unit=10/1"), QString());
        QVERIFY(activate(again));
        const QList<std::pair<QString, double>> typed{
            {"2.5", 3600}, {"0", 0}, {"-1", -1440}, {"abc", -1440}, {"99999999999", -1440}};
        for (const auto &[text, width] : typed) {
            retype(again.Text5, QString(text).replace(".", QLocale().decimalPoint()));
            again.Text6->setFocus();
            QCOMPARE(again.symbolWidth, width);
            QCOMPARE(again.Vantrel1->Width(), float(width) / 15.0f);
        }
        QCOMPARE(session.close().value("vtlw"), QStringLiteral("-1440"));
    }

    void centringAndResize()
    {
        DesignerSession session;
        Form1 &f = session.start();
        // The design client area: 6888 x 6012 twips; the preview starts 3600 down.
        QCOMPARE(f.Picture1->geometry(), QRect(0, 240, 459, 161));
        QVERIFY(activate(f));
        f.resize(700, 600);
        QTRY_COMPARE(f.Picture1->width(), f.centralWidget()->width());
        QCOMPARE(f.Picture1->height(), f.centralWidget()->height() - 240);
        const QSize kept = f.Picture1->size();
        f.symbolWidth = 1440.0;
        f.resize(700, 120); // lower than the preview's top: nothing moves, the symbol is centred again
        QTRY_COMPARE(f.Vantrel1->Width(), 96.0f);
        QCOMPARE(f.Picture1->size(), kept);
        QCOMPARE(f.Vantrel1->Left(), (float(kept.width()) - 96.0f) / 2.0f);
        f.showMinimized(); // no client area: the preview keeps its size
        QTRY_VERIFY(f.isMinimized());
        QCOMPARE(f.Picture1->size(), kept);
    }

    // A pick pushes its value into the component; the preview is read by
    // zxing-cpp; a pick is what the next start shows.
    void picksAndPreview()
    {
        DesignerSession session("vtlw=5760;vtlh=1800;mesure=1");
        Form1 &f = session.start();
        QVERIFY(activate(f));
        const QList<std::tuple<QComboBox *, QString, QString, QString>> picks{
            {f.Combo1, "Code128", "HELLO-42", "BarType=8"}, {f.Combo1, "EAN-13", "400638133393", "BarType=0"},
            {f.Combo1, "Code39", "0815", "BarType=6"}, {f.Combo3, "36", "", "FontSize=36"},
            {f.Combo4, "270", "", "Orientation=2700"}, {f.Combo5, "Right", "", "Alignment=2"}};
        for (const auto &[combo, item, typed, pushed] : picks) {
            combo->setCurrentIndex(combo->findText(item));
            QCOMPARE(differs(f, pushed), QString());
            if (!typed.isEmpty())
                retype(f.Text1, typed);
            if (item == "EAN-13")
                QCOMPARE(Decode::zxingOne(f.Vantrel1->grab().toImage()), typed + "1");
            else if (!typed.isEmpty())
                QCOMPARE(Decode::zxingOne(f.Vantrel1->grab().toImage()), typed);
        }
        QCOMPARE(mismatches(session.close(), "bartype=6;combo3=36;Orientation=270;Align=Right"), QString());
    }

    // A typed symbology name is no selection: stored as -1, and at the next
    // start the preview says so instead of showing an empty label.
    void typedSymbology()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(activate(f));
        retype(f.Combo1, QStringLiteral("QR"));
        QCOMPARE(session.close().value("bartype"), QStringLiteral("-1"));
        Form1 &again = session.start();
        QCOMPARE(again.Vantrel1->errorText(), SymbolBuilder::noSymbologyMessage());
        const QImage preview = again.Vantrel1->grab().toImage();
        QImage blank(preview.size(), preview.format());
        blank.fill(preview.pixel(0, 0));
        QVERIFY(preview != blank); // the message is drawn
    }

    // Each text typed into the size box applies at once; leaving the box is
    // refused while its size is 0 or beyond 1000 points (refused with a message).
    void fontSize()
    {
        const QList<std::tuple<QString, double, bool>> rows{
            {"12pt", 12, false}, {"-5", -5, false}, {"0.5", 0.5, false}, {"1000", 1000, false}, {"abc", 0, true},
            {"2000", 200, true}};
        for (const auto &[typed, size, kept] : rows) {
            DesignerSession session;
            Form1 &f = session.start();
            QVERIFY(activate(f));
            retype(f.Combo3, typed);
            QCOMPARE(f.Vantrel1->Font().Size(), size);
            f.Text1->setFocus();
            QCOMPARE(QApplication::focusWidget() == f.Combo3, kept);
            QCOMPARE(session.dialogs.allText(), QString(size == 200 ? "Invalid font size." : ""));
        }
    }

    // The window opens with the focus in Text1; Tab enters an option group at
    // its selected button, and arrow keys move the selection.
    void focus()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(activate(f));
        QCOMPARE(QApplication::focusWidget(), f.Text1);
        f.Option2->setChecked(true);
        f.Text2->setFocus();
        QTest::keyClick(f.Text2, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), f.Option2); // "Sequence"
        f.Text6->setFocus();
        QTest::keyClick(f.Text6, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.Option5); // "cm"
        QTest::keyClick(f.Option5, Qt::Key_Left);
        QVERIFY(f.Option4->isChecked() && f.Option4->hasFocus());
        QTest::keyClick(f.Option4, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.Combo1);
    }

    void dataPanel()
    {
        DesignerSession session;
        const QString file = session.writeFile("in.txt", " A ,B\r\nTitle A\r\nC\r\n");
        Form1 &f = session.start();
        QVERIFY(activate(f));
        f.Option3->setChecked(true); // each source reached from another one
        f.Option2->setChecked(true);
        retype(f.Text7, QStringLiteral("A-"));
        QCOMPARE(differs(f, "source=010;enabled=01111000;Caption=001"), QString()); // prefix alone changes nothing
        retype(f.Text2, QStringLiteral("05"));
        QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("05")); // the runs put the prefix around it
        QCOMPARE(f.module1().getFirstData(), QStringLiteral("A-05"));
        f.Text4->setText(file);
        f.Option3->setChecked(true);
        QCOMPARE(differs(f, "Caption=A;Title=;source=001;enabled=00000111"), QString());
        f.Check3->click();
        QCOMPARE(differs(f, "Caption= A ,B;Title=Title A"), QString());
        // No readable file: the preview stays as it was.
        for (const QString &name : {QString(), QStringLiteral("no-such.txt"), session.dir.path(),
                                    session.writeFile(".hidden.txt", "H\n")}) {
            f.Option1->setChecked(true);
            f.Text4->setText(name);
            f.Vantrel1->setTitle(QStringLiteral("kept"));
            f.Option3->setChecked(true);
            QCOMPARE(differs(f, "Caption=0123456789;Title=kept;enabled=00000111"), QString());
        }
        // A confirmed browse previews the whole first line and its title; a cancel changes nothing.
        for (const bool confirm : {false, true}) {
            session.dialogs.openAnswer = confirm ? std::optional<QString>(file) : std::nullopt;
            f.Command1->click();
            QCOMPARE(f.CommonDialog1.Filter, QStringLiteral("Text files (*.txt)|*.txt|All fiels (*.*)|*.*"));
            QCOMPARE(differs(f, confirm ? "Caption= A ,B;Title=Title A" : "Caption=0123456789;Title=kept"), QString());
        }
        QCOMPARE(session.dialogs.openCalls, 2);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
