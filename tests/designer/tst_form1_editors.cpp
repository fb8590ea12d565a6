// The appearance editors and the data panel, driven as a user would.
#include "DesignerSession.h"
#include "Decode.h"
#include "Module1.h"

class TestForm1Editors : public QObject {
    Q_OBJECT
private slots:
    // A pick pushes its member value (see state), and is what the next start shows.
    void listPicks_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("pushed");

        QTest::newRow("Custom") << "Combo1" << "Custom" << "BarType=16";
        QTest::newRow("PDF417") << "Combo1" << "PDF417" << "BarType=24";
        QTest::newRow("270") << "Combo4" << "270" << "Orientation=2700";
        QTest::newRow("Right") << "Combo5" << "Right" << "Alignment=2";
        QTest::newRow("Center") << "Combo5" << "Center" << "Alignment=1";
        QTest::newRow("size 36") << "Combo3" << "36" << "FontSize=36";
    }

    void listPicks()
    {
        QFETCH(QString, list);
        QFETCH(QString, item);
        QFETCH(QString, pushed);

        DesignerSession session;
        session.seed(keys(QStringLiteral("Orientation=180;Align=Left;bartype=5")));
        Form1 &f = session.start();
        QComboBox *combo = list == "Combo1" ? f.Combo1 : list == "Combo3" ? f.Combo3 : list == "Combo4" ? f.Combo4 : f.Combo5;
        combo->setCurrentIndex(combo->findText(item));
        QCOMPARE(differs(f, pushed), QString());
        session.close();
        QCOMPARE(differs(session.start(), list + '=' + item), QString());
    }

    // What the designer pushes is what the preview draws, read by zxing-cpp.
    void previewDecodes_data()
    {
        QTest::addColumn<QString>("symbology");
        QTest::addColumn<bool>("sequence"); // typed into Text2 rather than Text1
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("decoded");

        QTest::newRow("Code128 fixed text") << "Code128" << false << "HELLO-42" << "HELLO-42";
        QTest::newRow("Code39 sequence start") << "Code39" << true << "0815" << "0815";
        QTest::newRow("EAN-13 fixed text") << "EAN-13" << false << "400638133393" << "4006381333931";
    }

    void previewDecodes()
    {
        QFETCH(QString, symbology);
        QFETCH(bool, sequence);
        QFETCH(QString, typed);
        QFETCH(QString, decoded);

        DesignerSession session;
        session.seed(keys(QStringLiteral("vtlw=5760;vtlh=1800;mesure=1")));
        Form1 &f = session.start();
        QVERIFY(activate(f));
        f.Combo1->setCurrentIndex(f.Combo1->findText(symbology));
        (sequence ? f.Option2 : f.Option1)->setChecked(true);
        retype(sequence ? f.Text2 : f.Text1, typed);
        QCOMPARE(f.Vantrel1->Caption(), typed);
        QCOMPARE(Decode::zxingOne(f.Vantrel1->grab().toImage()), decoded);
    }

    void checkBoxesAndFormatOptions()
    {
        DesignerSession session;
        session.start();
        const Keys before = session.close();
        Form1 &f = session.start();
        f.Command6->click(); // the format options change nothing
        f.Check1->click();
        QCOMPARE(f.Vantrel1->ShowText(), 0);
        // A font pick assigns ShowText again, from the box.
        const int first = f.Combo2->currentIndex(), other = first == 0 ? 1 : 0;
        f.Vantrel1->setShowText(7);
        f.Combo2->setCurrentIndex(other);
        QCOMPARE(f.Vantrel1->Font().Name(), f.Combo2->itemText(other));
        QCOMPARE(f.Vantrel1->ShowText(), 0);
        // A click on a grey box ticks it.
        ClickCheckBox::setValue(f.Check1, 2);
        QCOMPARE(f.Vantrel1->ShowText(), 2);
        f.Check1->click();
        QCOMPARE(ClickCheckBox::value(f.Check1), 1);
        QCOMPARE(f.Vantrel1->ShowText(), 1);
        f.Combo2->setCurrentIndex(first);
        QCOMPARE(session.close(), before);
    }

    void typedSymbologyIsNoSelection()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(activate(f));
        retype(f.Combo1, QStringLiteral("Mine"));
        QCOMPARE(f.Combo1->currentText(), QStringLiteral("Mine"));
        QCOMPARE(f.Combo1->currentIndex(), -1);
        QCOMPARE(f.Vantrel1->BarType(), std::int16_t(0)); // no click for typing
        QCOMPARE(session.close().value(QStringLiteral("bartype")), QStringLiteral("-1"));
    }

    // Each text typed into the font size box applies at once; leaving the box is
    // refused while the numeric value of its text is 0.
    void fontSizeFocus_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("size");

        QTest::newRow("12pt") << "12pt" << 12.0;
        QTest::newRow("1, not completed to 10") << "1" << 1.0;
        QTest::newRow("-5") << "-5" << -5.0;
        QTest::newRow("0.5") << "0.5" << 0.5;
        QTest::newRow("0") << "0" << 0.0;
        QTest::newRow("abc") << "abc" << 0.0;
    }

    void fontSizeFocus()
    {
        QFETCH(QString, typed);
        QFETCH(double, size);

        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(activate(f));
        retype(f.Combo3, typed);
        QCOMPARE(QApplication::focusWidget(), f.Combo3);
        QCOMPARE(f.Vantrel1->Font().Size(), size);
        QTest::keyClick(f.Combo3, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget() == f.Combo3, size == 0.0);
        f.Text1->setFocus();
        QCOMPARE(QApplication::focusWidget() == f.Combo3, size == 0.0);
        QVERIFY(session.dialogs.messages.isEmpty());
    }

    void sequencePreview()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(activate(f));
        // Each source is reached from another one so every enabled state is really set.
        f.Option3->setChecked(true);
        f.Option2->setChecked(true);
        QCOMPARE(differs(f, "source=010;unit=01/0;enabled=01111000"), QString());
        QVERIFY(f.Option1->isEnabled() && f.Option2->isEnabled() && f.Option3->isEnabled());
        retype(f.Text7, QStringLiteral("A-"));
        QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("001")); // prefix alone changes nothing
        f.Option1->setChecked(true);
        f.Option2->setChecked(true);
        QCOMPARE(differs(f, "Caption=A-001;Title="), QString());

        // Typing in the start box shows the bare start text; output runs still
        // put prefix and suffix around every value.
        retype(f.Text2, QStringLiteral("05"));
        QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("05"));
        retype(f.Text3, QStringLiteral("77"));
        retype(f.Text8, QStringLiteral("/z"));
        QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("05"));
        QCOMPARE(f.module1().getFirstData(), QStringLiteral("A-05/z"));

        f.Option1->setChecked(true);
        QCOMPARE(differs(f, "Caption=0123456789;source=100;enabled=10000000"), QString());
        retype(f.Text1, QStringLiteral("XY"));
        QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("XY"));
    }

    void importPreview()
    {
        DesignerSession session;
        const QString file = session.writeFile(QStringLiteral("in.txt"), " A ,B\r\nTitle A\r\nC\r\n");
        Form1 &f = session.start();
        f.Text4->setText(file);
        f.Option2->setChecked(true);
        f.Option3->setChecked(true);
        QCOMPARE(differs(f, "Caption=A;Title=;source=001;enabled=00000111"), QString());
        f.Check3->click();
        QCOMPARE(differs(f, "Caption= A ,B;Title=Title A"), QString());
        QVERIFY(f.module1().importFile().isOpen());

        // Reselected with the shared slot still open: read afresh, the title untouched.
        f.Option1->setChecked(true);
        QCOMPARE(differs(f, "enabled=10000000"), QString());
        f.Vantrel1->setTitle(QStringLiteral("kept"));
        f.Option3->setChecked(true);
        QCOMPARE(differs(f, "Caption=A;Title=kept"), QString());
        f.Check3->click();
        QCOMPARE(differs(f, "Caption=A;Title="), QString());

        // An empty file: the preview shows the empty text, the other rows stay disabled.
        f.Option1->setChecked(true);
        f.Text4->setText(session.writeFile(QStringLiteral("empty.txt"), ""));
        f.Option3->setChecked(true);
        QCOMPARE(differs(f, "Caption=;enabled=00000111"), QString());
    }

    // A confirmed browse previews the whole first line; a cancel changes nothing.
    void browse_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("hasTitle");
        QTest::addColumn<QString>("shown");

        QTest::newRow("confirmed") << true << false << "Text4=<file>;Caption=A,B;Title=";
        QTest::newRow("confirmed with title") << true << true << "Text4=<file>;Caption=A,B;Title=Title A";
        QTest::newRow("cancelled") << false << false << "Text4=typed.txt;Caption=before;Title=";
    }

    void browse()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, hasTitle);
        QFETCH(QString, shown);

        DesignerSession session;
        const QString file = session.writeFile(QStringLiteral("in.txt"), "A,B\nTitle A\n");
        Form1 &f = session.start();
        f.Option3->setChecked(true);
        ClickCheckBox::setValue(f.Check3, hasTitle ? 1 : 0);
        f.Text4->setText(QStringLiteral("typed.txt"));
        f.Vantrel1->setCaption(QStringLiteral("before"));
        f.Vantrel1->setTitle(QString());
        // An earlier picture save left its name in the shared dialog.
        f.CommonDialog1.FileName = session.dir.filePath(QStringLiteral("picture.png"));
        session.dialogs.openAnswer = confirm ? std::optional<QString>(file) : std::nullopt;

        f.Command1->click();
        QCOMPARE(session.dialogs.openCalls, 1);
        QCOMPARE(f.CommonDialog1.Filter, QStringLiteral("Text files (*.txt)|*.txt|All fiels (*.*)|*.*"));
        QCOMPARE(f.CommonDialog1.DefaultExt, QStringLiteral(".txt"));
        QCOMPARE(differs(f, shown.replace(QStringLiteral("<file>"), file)), QString());
    }

    // Selecting the import source with no readable file leaves the preview alone.
    void unreadableImportFileKeepsPreview()
    {
        DesignerSession session;
        const QString hidden = session.writeFile(QStringLiteral(".hidden.txt"), "H\n");
        for (const QString &name : {QString(), QStringLiteral("no-such-file.txt"), session.dir.path(), hidden}) {
            Form1 &f = session.start();
            f.Text4->setText(name);
            f.Vantrel1->setTitle(QStringLiteral("kept"));
            f.Option3->setChecked(true);
            QCOMPARE(differs(f, "Caption=0123456789;Title=kept;enabled=00000111"), QString());
        }
    }
};

QTEST_MAIN(TestForm1Editors)
#include "tst_form1_editors.moc"
