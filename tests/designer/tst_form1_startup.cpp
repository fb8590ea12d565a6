// Start-up from the saved design and what closing writes back.
#include "DesignerSession.h"
#include "ClickCheckBox.h"
#include "Vantrel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

QString expectedFont(const QString &stored)
{
    if (QFontDatabase::families().contains(stored))
        return stored;
    return QFontInfo(QFont(stored)).family();
}

QString writeImportFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString name = dir.filePath(QStringLiteral("labels.txt"));
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return name;
}

} // namespace

class TestForm1StartUp : public QObject {
    Q_OBJECT
private slots:
    void firstRun();
    void roundTrip_data();
    void roundTrip();
    void oddStoredValues_data();
    void oddStoredValues();
    void exitWritesAfterUnitSwitch();
};

void TestForm1StartUp::firstRun()
{
    DesignerSession session;
    Form1 &f = session.start();
    const QLocale locale;

    QCOMPARE(f.Text1->text(), QStringLiteral("0123456789"));
    QCOMPARE(f.Text2->text(), QStringLiteral("001"));
    QCOMPARE(f.Text3->text(), QStringLiteral("999"));
    QCOMPARE(f.Text4->text(), QString());
    QCOMPARE(f.Text7->text(), QStringLiteral("(prefix)"));
    QCOMPARE(f.Text8->text(), QStringLiteral("(sufix)"));
    QCOMPARE(f.Combo1->currentIndex(), 0);
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("EAN-13"));
    QCOMPARE(ClickCheckBox::value(f.Check1), 1);
    QCOMPARE(ClickCheckBox::value(f.Check2), 0);
    QCOMPARE(ClickCheckBox::value(f.Check3), 0);
    QCOMPARE(f.Combo4->currentText(), QStringLiteral("0"));
    QCOMPARE(f.Combo5->currentText(), QStringLiteral("Left"));
    QCOMPARE(f.Combo2->currentText(), expectedFont(QStringLiteral("Arial")));
    QCOMPARE(f.Combo3->currentText(), QStringLiteral("14"));
    QVERIFY(f.Option5->isChecked());
    QVERIFY(!f.Option4->isChecked());
    QCOMPARE(f.Text5->text(), locale.toString(5.08, 'f', 2));
    QCOMPARE(f.Text6->text(), locale.toString(2.54, 'f', 2));
    QCOMPARE(f.symbolWidth, 2880.36);
    QCOMPARE(f.symbolHeight, 1440.18);
    QCOMPARE(f.unitFlag, 0);

    QVERIFY(f.Option1->isChecked());
    QVERIFY(f.Text1->isEnabled());
    for (QWidget *w : {static_cast<QWidget *>(f.Text2), static_cast<QWidget *>(f.Text3),
                       static_cast<QWidget *>(f.Text4), static_cast<QWidget *>(f.Text7),
                       static_cast<QWidget *>(f.Text8), static_cast<QWidget *>(f.Command1),
                       static_cast<QWidget *>(f.Check3)})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));

    Vantrel &v = *f.Vantrel1;
    QCOMPARE(v.BarType(), std::int16_t(0));
    QCOMPARE(v.Scaling(), std::int16_t(0));
    QCOMPARE(v.Orientation(), 0.0);
    QCOMPARE(v.ShowText(), 1);
    QCOMPARE(v.Alignment(), std::int16_t(0));
    QCOMPARE(v.Caption(), QStringLiteral("0123456789"));
    QCOMPARE(v.Title(), QString());
    QCOMPARE(v.Font().Name(), f.Combo2->currentText());
    QCOMPARE(v.Font().Size(), 14.0);

    const Keys written = session.close();
    const Keys expected = keys(QStringLiteral(
        "vtlw=2880.36;vtlh=1440.18;Caption=0123456789;text4=;text2=001;text3=999;mesure=0;"
        "bartype=0;Scaling=0;Orientation=0;hasText=1;Check3=0;Align=Left;combo3=14;"
        "option1=1;option2=0;option3=0"));
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(written.value(it.key(), QStringLiteral("<missing>")), it.value());
    QCOMPARE(written.value(QStringLiteral("combo2")), expectedFont(QStringLiteral("Arial")));
    QCOMPARE(written.size(), 18);
    QVERIFY(session.dialogs.messages.isEmpty());
}

// Each row: what a previous run stored, what start-up must show, and what the
// next close must write. Closing a second time must write the same again.
void TestForm1StartUp::roundTrip_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");   // control=text pairs checked after start-up
    QTest::addColumn<int>("barType");
    QTest::addColumn<QString>("caption"); // "<file>" for the import file's first field
    QTest::addColumn<QString>("written");

    QTest::newRow("inches") << "vtlw=2880;vtlh=1440;mesure=1" << "Text5=2;Text6=1;unit=inches" << 0
                            << "0123456789" << "vtlw=2880;vtlh=1440;mesure=1";
    QTest::newRow("inches, odd size") << "vtlw=3000;vtlh=1000;mesure=1"
                                      << "Text5=2.08;Text6=0.69;unit=inches" << 0 << "0123456789"
                                      << "vtlw=2995.2;vtlh=993.6;mesure=1";
    QTest::newRow("nothing selected") << "bartype=-1" << "Combo1=" << -1 << "0123456789"
                                      << "bartype=-1";
    QTest::newRow("PDF417") << "bartype=24" << "Combo1=PDF417" << 24 << "0123456789" << "bartype=24";
    QTest::newRow("mesure 5") << "mesure=5" << "Text5=2;Text6=1;unit=inches" << 0 << "0123456789"
                              << "mesure=1;vtlw=2880;vtlh=1440";
    QTest::newRow("import source") << "option1=0;option2=0;option3=1;text4=<file>"
                                   << "source=3" << 0 << "<file>"
                                   << "option1=0;option2=0;option3=1;text4=<file>";
    QTest::newRow("no source") << "option1=0;option2=0;option3=0;Caption=fixed"
                               << "source=0" << 0 << "fixed" << "option1=0;option2=0;option3=0";
    QTest::newRow("sequence source") << "option1=0;option2=1;text2=07;text3=9" << "source=2" << 0
                                     << "07" << "option1=0;option2=1;option3=0;text2=07;text3=9";
    QTest::newRow("has title, import") << "Check3=1;option1=0;option3=1;text4=<file>"
                                       << "source=3;Check3=1" << 0 << "<file>"
                                       << "Check3=1;option3=1";
    QTest::newRow("grey scaling") << "Scaling=2" << "Check2=2" << 0 << "0123456789" << "Scaling=1";
    QTest::newRow("rotation and alignment") << "Orientation=90.0;Align=Right"
                                            << "Combo4=90;Combo5=Right" << 0 << "0123456789"
                                            << "Orientation=90;Align=Right";
    QTest::newRow("font size typed") << "combo3=12abc" << "Combo3=12abc" << 0
                                     << "0123456789" << "combo3=12abc";
}

void TestForm1StartUp::roundTrip()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(int, barType);
    QFETCH(QString, caption);
    QFETCH(QString, written);

    DesignerSession session;
    const QString file = writeImportFile(session.dir, "A,B\r\nTitle A\r\n");
    auto withFile = [&](QString text) { return text.replace(QStringLiteral("<file>"), file); };
    session.seed(keys(withFile(stored)));
    Form1 &f = session.start();
    const QLocale locale;

    const Keys want = keys(shown);
    for (auto it = want.begin(); it != want.end(); ++it) {
        const QString &what = it.key();
        const QString &value = it.value();
        if (what == "Text5" || what == "Text6") {
            QString text = value;
            text.replace(u'.', locale.decimalPoint());
            QCOMPARE((what == "Text5" ? f.Text5 : f.Text6)->text(), text);
        } else if (what == "unit") {
            QCOMPARE(f.Option4->isChecked(), value == "inches");
            QCOMPARE(f.Option5->isChecked(), value != "inches");
            QCOMPARE(f.unitFlag, value == "inches" ? 1 : 0);
        } else if (what == "Combo1") {
            QCOMPARE(f.Combo1->currentText(), value);
        } else if (what == "Combo3") {
            QCOMPARE(f.Combo3->currentText(), value);
        } else if (what == "Combo4") {
            QCOMPARE(f.Combo4->currentText(), value);
        } else if (what == "Combo5") {
            QCOMPARE(f.Combo5->currentText(), value);
        } else if (what == "Check2") {
            QCOMPARE(ClickCheckBox::value(f.Check2), value.toInt());
            QCOMPARE(int(f.Vantrel1->Scaling()), value.toInt());
        } else if (what == "Check3") {
            QCOMPARE(ClickCheckBox::value(f.Check3), value.toInt());
        } else if (what == "source") {
            const int source = value.toInt();
            QCOMPARE(f.Option1->isChecked(), source == 1);
            QCOMPARE(f.Option2->isChecked(), source == 2);
            QCOMPARE(f.Option3->isChecked(), source == 3);
            // With none selected the panel keeps its design-time states.
            QCOMPARE(f.Text1->isEnabled(), source == 1 || source == 0);
            QCOMPARE(f.Text2->isEnabled(), source == 2);
            QCOMPARE(f.Text4->isEnabled(), source == 3);
            QCOMPARE(f.Command1->isEnabled(), source == 3);
        } else {
            QFAIL(qPrintable("unknown check " + what));
        }
    }
    QCOMPARE(int(f.Vantrel1->BarType()), barType);
    QCOMPARE(f.Vantrel1->Caption(), caption == "<file>" ? QStringLiteral("A") : caption);
    QCOMPARE(f.Vantrel1->Title(), QString());

    const Keys first = session.close();
    const Keys expected = keys(withFile(written));
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(first.value(it.key(), QStringLiteral("<missing>")), it.value());

    session.start();
    QCOMPARE(session.close(), first);
    QVERIFY(session.dialogs.messages.isEmpty());
}

// Values the program never writes: start-up survives, shows a sane state, and
// the next close writes what the start after it reads cleanly.
void TestForm1StartUp::oddStoredValues_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("written");

    QTest::newRow("bartype 99") << "bartype=99" << "bartype=0";
    QTest::newRow("bartype -2") << "bartype=-2" << "bartype=0";
    QTest::newRow("bartype beyond 16 bits") << "bartype=70000" << "bartype=0";
    QTest::newRow("check value 7") << "hasText=7;Check3=7;Scaling=7" << "hasText=1;Check3=1;Scaling=1";
    QTest::newRow("check value -1") << "hasText=-1" << "hasText=1";
    QTest::newRow("check value huge") << "Scaling=1e30;hasText=99999999999" << "hasText=1";
    QTest::newRow("mesure beyond 32 bits") << "mesure=99999999999" << "mesure=1";
    QTest::newRow("huge width") << "vtlw=1" + QString(400, u'0') + ";vtlh=99999999999999999999"
                                << "vtlw=2880.36;vtlh=1440.18";
    QTest::newRow("rotation 45") << "Orientation=45" << "Orientation=0";
    QTest::newRow("alignment Middle") << "Align=Middle" << "Align=Left";
    QTest::newRow("font size abc") << "combo3=abc" << "combo3=14";
    QTest::newRow("font size empty") << "combo3=" << "combo3=14";
    QTest::newRow("text with newline") << "Caption=a\nb" << "Caption=a\nb";
}

void TestForm1StartUp::oddStoredValues()
{
    QFETCH(QString, stored);
    QFETCH(QString, written);

    DesignerSession session;
    session.seed(keys(stored));
    Form1 &f = session.start();
    QVERIFY(f.Combo1->currentIndex() >= -1 && f.Combo1->currentIndex() < 25);
    QVERIFY(f.Combo4->currentIndex() >= 0);
    QVERIFY(f.Combo5->currentIndex() >= 0);
    QVERIFY(std::isfinite(f.Vantrel1->Left()) && std::isfinite(f.Vantrel1->Width()));
    QVERIFY(f.Vantrel1->Font().Size() != 0.0);

    const Keys first = session.close();
    const Keys expected = keys(written);
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(first.value(it.key(), QStringLiteral("<missing>")), it.value());

    session.start();
    QCOMPARE(session.close(), first);
}

void TestForm1StartUp::exitWritesAfterUnitSwitch()
{
    DesignerSession session;
    Form1 &f = session.start();
    f.show();
    f.Option4->setChecked(true);
    f.mnuExit->trigger();
    QVERIFY(!f.isVisible());
    session.form.reset();
    session.store.reset();
    QSettings ini(session.path, QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Form1/vtlw")).toString(), QStringLiteral("2880"));
    QCOMPARE(ini.value(QStringLiteral("Form1/vtlh")).toString(), QStringLiteral("1440"));
    QCOMPARE(ini.value(QStringLiteral("Form1/mesure")).toString(), QStringLiteral("1"));
    QCOMPARE(ini.childGroups(), QStringList{QStringLiteral("Form1")});
}

QTEST_MAIN(TestForm1StartUp)
#include "tst_form1_startup.moc"
