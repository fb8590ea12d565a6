// Start-up from the saved design and what closing writes back.
#include "DesignerSession.h"

#include <QFontDatabase>
#include <QFontInfo>

class TestForm1StartUp : public QObject {
    Q_OBJECT
private slots:
    void firstRun()
    {
        DesignerSession session;
        Form1 &f = session.start();
        const QString arial = QFontDatabase::families().contains(QStringLiteral("Arial"))
            ? QStringLiteral("Arial") : QFontInfo(QFont(QStringLiteral("Arial"))).family();
        QCOMPARE(differs(f, QStringLiteral(
            "Text1=0123456789;Text2=001;Text3=999;Text4=;Text7=(prefix);Text8=(sufix);Text5=5.08;Text6=2.54;"
            "Combo1=EAN-13;Combo3=14;Combo4=0;Combo5=Left;Check1=1;Check2=0;Check3=0;source=100;unit=01/0;"
            "enabled=10000000;BarType=0;Scaling=0;Orientation=0;ShowText=1;Alignment=0;"
            "Caption=0123456789;Title=;FontSize=14")), QString());
        QCOMPARE(f.Combo2->currentText(), arial);
        QCOMPARE(f.Vantrel1->Font().Name(), f.Combo2->currentText());
        QCOMPARE(f.symbolWidth, 2880.36);
        QCOMPARE(f.symbolHeight, 1440.18);

        const Keys written = session.close();
        QCOMPARE(mismatches(written, keys(QStringLiteral(
            "vtlw=2880.36;vtlh=1440.18;Caption=0123456789;text4=;text2=001;text3=999;mesure=0;"
            "bartype=0;Scaling=0;Orientation=0;hasText=1;Check3=0;Align=Left;combo3=14;"
            "option1=1;option2=0;option3=0;combo2=") + arial)), QString());
        QCOMPARE(written.size(), 18);
        QVERIFY(session.dialogs.messages.isEmpty());
    }

    // What a previous run stored, what start-up shows (see state), and what the
    // next close writes; closing a second time writes the same again.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");

        const QString inches = "Text5=2;Text6=1;unit=10/1;Caption=0123456789";
        QTest::newRow("inches") << "vtlw=2880;vtlh=1440;mesure=1" << inches << "vtlw=2880;vtlh=1440;mesure=1";
        QTest::newRow("inches, odd size") << "vtlw=3000;vtlh=1000;mesure=1" << "Text5=2.08;Text6=0.69;unit=10/1"
                                          << "vtlw=2995.2;vtlh=993.6;mesure=1";
        QTest::newRow("mesure 5") << "mesure=5" << inches << "mesure=1;vtlw=2880;vtlh=1440";
        QTest::newRow("nothing selected") << "bartype=-1" << "Combo1=;BarType=-1" << "bartype=-1";
        QTest::newRow("import source") << "option1=0;option2=0;option3=1;text4=<file>"
                                       << "source=001;enabled=00000111;Caption=A;Title="
                                       << "option1=0;option2=0;option3=1;text4=<file>";
        QTest::newRow("no source") << "option1=0;option2=0;option3=0;Caption=fixed"
                                   << "source=000;enabled=10011001;Caption=fixed" << "option1=0;option2=0;option3=0";
        QTest::newRow("sequence source") << "option1=0;option2=1;text2=07;text3=9" << "source=010;Caption=07"
                                         << "option1=0;option2=1;option3=0;text2=07;text3=9";
        QTest::newRow("has title, import") << "Check3=1;option1=0;option3=1;text4=<file>"
                                           << "source=001;Check3=1;Caption=A;Title=" << "Check3=1;option3=1";
        QTest::newRow("grey scaling") << "Scaling=2" << "Check2=2;Scaling=2" << "Scaling=1";
        QTest::newRow("rotation and alignment") << "Orientation=90.0;Align=Right" << "Combo4=90;Combo5=Right"
                                                << "Orientation=90;Align=Right";
        QTest::newRow("font size typed") << "combo3=12abc" << "Combo3=12abc" << "combo3=12abc";
    }

    void roundTrip()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, written);

        DesignerSession session;
        const QString file = session.writeFile(QStringLiteral("labels.txt"), "A,B\r\nTitle A\r\n");
        session.seed(keys(stored.replace(QStringLiteral("<file>"), file)));
        QCOMPARE(differs(session.start(), shown), QString());

        const Keys first = session.close();
        QCOMPARE(mismatches(first, keys(written.replace(QStringLiteral("<file>"), file))), QString());
        session.start();
        QCOMPARE(session.close(), first);
        QVERIFY(session.dialogs.messages.isEmpty());
    }

    // Values the program never writes: start-up survives with a sane state, and
    // the next close writes what the start after it reads cleanly.
    void oddStoredValues_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("written");

        QTest::newRow("bartype 99") << "bartype=99" << "bartype=0";
        QTest::newRow("bartype beyond 16 bits") << "bartype=70000" << "bartype=0";
        QTest::newRow("check value 7") << "hasText=7;Check3=7;Scaling=7" << "hasText=1;Check3=1;Scaling=1";
        QTest::newRow("check value huge") << "Scaling=1e30;hasText=99999999999" << "hasText=1";
        QTest::newRow("mesure beyond 32 bits") << "mesure=99999999999" << "mesure=1";
        QTest::newRow("huge width") << "vtlw=1" + QString(400, u'0') + ";vtlh=99999999999999999999"
                                    << "vtlw=2880.36;vtlh=1440.18";
        QTest::newRow("rotation 45") << "Orientation=45" << "Orientation=0";
        QTest::newRow("alignment Middle") << "Align=Middle" << "Align=Left";
        QTest::newRow("font size abc") << "combo3=abc" << "combo3=14";
        QTest::newRow("text with newline") << "Caption=a\nb" << "Caption=a\nb";
    }

    void oddStoredValues()
    {
        QFETCH(QString, stored);
        QFETCH(QString, written);

        DesignerSession session;
        session.seed(keys(stored));
        Form1 &f = session.start();
        QVERIFY(f.Combo1->currentIndex() >= -1 && f.Combo1->currentIndex() < 25);
        QVERIFY(f.Combo4->currentIndex() >= 0 && f.Combo5->currentIndex() >= 0);
        QVERIFY(std::isfinite(f.Vantrel1->Left()) && std::isfinite(f.Vantrel1->Width()));
        QVERIFY(f.Vantrel1->Font().Size() != 0.0);

        const Keys first = session.close();
        QCOMPARE(mismatches(first, keys(written)), QString());
        session.start();
        QCOMPARE(session.close(), first);
    }
};

QTEST_MAIN(TestForm1StartUp)
#include "tst_form1_startup.moc"
