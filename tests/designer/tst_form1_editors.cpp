// The appearance editors and the data panel, driven as a user would.
#include "DesignerSession.h"
#include "Decode.h"
#include "ClickCheckBox.h"
#include "Module1.h"
#include "Vantrel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

bool activate(Form1 &f)
{
    f.show();
    QApplication::setActiveWindow(&f);
    return QTest::qWaitForWindowActive(&f);
}

void retype(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

} // namespace

class TestForm1Editors : public QObject {
    Q_OBJECT
private slots:
    void listPicks_data();
    void listPicks();
    void previewDecodes_data();
    void previewDecodes();
    void fontPickReassertsShowText();
    void formatOptionsChangeNothing();
    void typedSymbologyIsNoSelection();
    void fontSizeFocus_data();
    void fontSizeFocus();
    void enabledStates_data();
    void enabledStates();
    void sequencePreview();
    void importPreview();
    void browse_data();
    void browse();
    void missingImportFileKeepsPreview_data();
    void missingImportFileKeepsPreview();
};

void TestForm1Editors::listPicks_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("member");
    QTest::addColumn<double>("value");

    QTest::newRow("Custom") << "Combo1" << "Custom" << "BarType" << 16.0;
    QTest::newRow("PDF417") << "Combo1" << "PDF417" << "BarType" << 24.0;
    QTest::newRow("EAN-8") << "Combo1" << "EAN-8" << "BarType" << 1.0;
    QTest::newRow("270") << "Combo4" << "270" << "Orientation" << 2700.0;
    QTest::newRow("90") << "Combo4" << "90" << "Orientation" << 900.0;
    QTest::newRow("Right") << "Combo5" << "Right" << "Alignment" << 2.0;
    QTest::newRow("Center") << "Combo5" << "Center" << "Alignment" << 1.0;
    QTest::newRow("size 36") << "Combo3" << "36" << "Size" << 36.0;
}

void TestForm1Editors::listPicks()
{
    QFETCH(QString, list);
    QFETCH(QString, item);
    QFETCH(QString, member);
    QFETCH(double, value);

    DesignerSession session;
    session.seed(keys(QStringLiteral("Orientation=180;Align=Left;bartype=5")));
    Form1 &f = session.start();
    QComboBox *combo = list == "Combo1" ? f.Combo1 : list == "Combo3" ? f.Combo3
                     : list == "Combo4" ? f.Combo4 : f.Combo5;
    combo->setCurrentIndex(combo->findText(item));
    Vantrel &v = *f.Vantrel1;
    const double actual = member == "BarType" ? v.BarType()
                        : member == "Orientation" ? v.Orientation()
                        : member == "Alignment" ? v.Alignment() : v.Font().Size();
    QCOMPARE(actual, value);

    // The pick is what the next start shows.
    session.close();
    Form1 &again = session.start();
    QComboBox *same = list == "Combo1" ? again.Combo1 : list == "Combo3" ? again.Combo3
                    : list == "Combo4" ? again.Combo4 : again.Combo5;
    QCOMPARE(same->currentText(), item);
}

// What the designer pushes is what the preview draws, read by zxing-cpp.
void TestForm1Editors::previewDecodes_data()
{
    QTest::addColumn<QString>("symbology");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("typed"); // into Text1, or Text2 for the sequence
    QTest::addColumn<QString>("decoded");

    QTest::newRow("Code128 fixed text") << "Code128" << 1 << "HELLO-42" << "HELLO-42";
    QTest::newRow("Code39 sequence start") << "Code39" << 2 << "0815" << "0815";
    QTest::newRow("EAN-13 fixed text") << "EAN-13" << 1 << "400638133393" << "4006381333931";
}

void TestForm1Editors::previewDecodes()
{
    QFETCH(QString, symbology);
    QFETCH(int, source);
    QFETCH(QString, typed);
    QFETCH(QString, decoded);

    DesignerSession session;
    session.seed(keys(QStringLiteral("vtlw=5760;vtlh=1800;mesure=1")));
    Form1 &f = session.start();
    QVERIFY(activate(f));
    f.Combo1->setCurrentIndex(f.Combo1->findText(symbology));
    (source == 1 ? f.Option1 : f.Option2)->setChecked(true);
    retype(source == 1 ? f.Text1 : f.Text2, typed);
    QCOMPARE(f.Vantrel1->Caption(), typed);
    QCOMPARE(Decode::zxingOne(f.Vantrel1->grab().toImage()), decoded);
}

void TestForm1Editors::fontPickReassertsShowText()
{
    DesignerSession session;
    Form1 &f = session.start();
    f.Check1->click();
    QCOMPARE(f.Vantrel1->ShowText(), 0);
    QVERIFY(f.Combo2->count() > 1);
    const int other = f.Combo2->currentIndex() == 0 ? 1 : 0;
    f.Vantrel1->setShowText(7); // marks whether ShowText is assigned again
    f.Combo2->setCurrentIndex(other);
    QCOMPARE(f.Vantrel1->Font().Name(), f.Combo2->itemText(other));
    QCOMPARE(f.Vantrel1->ShowText(), 0);

    // A click on a grey box ticks it.
    ClickCheckBox::setValue(f.Check1, 2);
    QCOMPARE(f.Vantrel1->ShowText(), 2);
    f.Check1->click();
    QCOMPARE(ClickCheckBox::value(f.Check1), 1);
    QCOMPARE(f.Vantrel1->ShowText(), 1);
}

void TestForm1Editors::formatOptionsChangeNothing()
{
    DesignerSession session;
    session.start();
    const Keys before = session.close();
    Form1 &f = session.start();
    f.Command6->click();
    QCOMPARE(session.close(), before);
}

void TestForm1Editors::typedSymbologyIsNoSelection()
{
    DesignerSession session;
    Form1 &f = session.start();
    QVERIFY(activate(f));
    f.Combo1->setFocus();
    f.Combo1->lineEdit()->selectAll();
    QTest::keyClicks(f.Combo1, QStringLiteral("Mine"));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("Mine"));
    QCOMPARE(f.Combo1->currentIndex(), -1);
    QCOMPARE(f.Vantrel1->BarType(), std::int16_t(0)); // no click for typing
    QCOMPARE(session.close().value(QStringLiteral("bartype")), QStringLiteral("-1"));
}

// Typing in the font size box applies each text at once; leaving the box is
// refused while the numeric value of its text is 0.
void TestForm1Editors::fontSizeFocus_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("mayLeave");

    QTest::newRow("12pt") << "12pt" << 12.0 << true;
    QTest::newRow("1, not completed to 10") << "1" << 1.0 << true;
    QTest::newRow("-5") << "-5" << -5.0 << true;
    QTest::newRow("0.5") << "0.5" << 0.5 << true;
    QTest::newRow("0") << "0" << 0.0 << false;
    QTest::newRow("abc") << "abc" << 0.0 << false;
    QTest::newRow("empty") << "" << 0.0 << false;
}

void TestForm1Editors::fontSizeFocus()
{
    QFETCH(QString, typed);
    QFETCH(double, size);
    QFETCH(bool, mayLeave);

    DesignerSession session;
    Form1 &f = session.start();
    QVERIFY(activate(f));
    f.Combo3->setFocus();
    QCOMPARE(QApplication::focusWidget(), f.Combo3);
    f.Combo3->lineEdit()->selectAll();
    QTest::keyClick(f.Combo3, Qt::Key_Delete);
    QTest::keyClicks(f.Combo3, typed);
    QCOMPARE(f.Vantrel1->Font().Size(), size);

    bool cancel = false;
    f.Combo3_Validate(cancel);
    QCOMPARE(cancel, !mayLeave);

    QTest::keyClick(f.Combo3, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget() == f.Combo3, !mayLeave);
    f.Text1->setFocus();
    QCOMPARE(QApplication::focusWidget() == f.Combo3, !mayLeave);
    QVERIFY(session.dialogs.messages.isEmpty());
}

// Which boxes can be edited per source; the option buttons stay enabled.
void TestForm1Editors::enabledStates_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("enabled"); // of Text1 Text2 Text3 Text7 Text8 Text4 Command1 Check3

    QTest::newRow("Text") << 1 << "10000000";
    QTest::newRow("Sequence") << 2 << "01111000";
    QTest::newRow("Import text file") << 3 << "00000111";
}

void TestForm1Editors::enabledStates()
{
    QFETCH(int, source);
    QFETCH(QString, enabled);

    DesignerSession session;
    Form1 &f = session.start();
    // Pass through another source first so every state is really set.
    (source == 3 ? f.Option2 : f.Option3)->setChecked(true);
    QRadioButton *option = source == 1 ? f.Option1 : source == 2 ? f.Option2 : f.Option3;
    option->setChecked(true);
    const QWidget *boxes[] = {f.Text1, f.Text2, f.Text3, f.Text7, f.Text8, f.Text4, f.Command1, f.Check3};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(boxes[i]->isEnabled(), enabled[i] == u'1');
    for (QRadioButton *b : {f.Option1, f.Option2, f.Option3})
        QVERIFY(b->isEnabled());
    QCOMPARE(f.Option1->isChecked() + f.Option2->isChecked() + f.Option3->isChecked(), 1);
    QVERIFY(f.Option4->isChecked() != f.Option5->isChecked()); // a group of their own
}

void TestForm1Editors::sequencePreview()
{
    DesignerSession session;
    Form1 &f = session.start();
    QVERIFY(activate(f));
    f.Option2->setChecked(true);
    retype(f.Text7, QStringLiteral("A-"));
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("001")); // prefix alone changes nothing
    f.Option1->setChecked(true);
    f.Option2->setChecked(true);
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("A-001"));
    QCOMPARE(f.Vantrel1->Title(), QString());

    // Typing in the start box shows the bare start text, keystroke by keystroke.
    retype(f.Text2, QStringLiteral("05"));
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("05"));
    retype(f.Text3, QStringLiteral("77"));
    retype(f.Text8, QStringLiteral("/z"));
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("05"));
    // Output runs still put prefix and suffix around every value.
    QCOMPARE(f.module1().getFirstData(), QStringLiteral("A-05/z"));

    f.Option1->setChecked(true);
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("0123456789"));
    retype(f.Text1, QStringLiteral("XY"));
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("XY"));
}

void TestForm1Editors::importPreview()
{
    DesignerSession session;
    const QString file = writeFile(session.dir, QStringLiteral("in.txt"), " A ,B\r\nTitle A\r\nC\r\n");
    Form1 &f = session.start();
    f.Text4->setText(file);
    // The shared slot left open by an earlier preview must not spoil the read.
    f.Option3->setChecked(true);
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("A"));
    QCOMPARE(f.Vantrel1->Title(), QString());

    f.Check3->click();
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral(" A ,B"));
    QCOMPARE(f.Vantrel1->Title(), QStringLiteral("Title A"));
    QVERIFY(f.module1().importFile().isOpen());

    f.Option1->setChecked(true);
    f.Vantrel1->setTitle(QStringLiteral("kept"));
    f.Option3->setChecked(true); // with the slot still open
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("A"));
    QCOMPARE(f.Vantrel1->Title(), QStringLiteral("kept")); // not touched

    f.Check3->click();
    QCOMPARE(f.Vantrel1->Title(), QString());
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("A"));

    // An empty file: the read fails, the preview shows the empty text, and
    // the other rows are still disabled.
    const QString empty = writeFile(session.dir, QStringLiteral("empty.txt"), "");
    f.Option1->setChecked(true);
    f.Text4->setText(empty);
    f.Option3->setChecked(true);
    QCOMPARE(f.Vantrel1->Caption(), QString());
    QVERIFY(!f.Text1->isEnabled());
    QVERIFY(!f.Text2->isEnabled());
}

// The browse button: a confirmed choice previews the whole first line; a
// cancel changes nothing at all.
void TestForm1Editors::browse_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("hasTitle");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");

    QTest::newRow("confirmed") << true << false << "" << "A,B" << "";
    QTest::newRow("confirmed with title") << true << true << "" << "A,B" << "Title A";
    QTest::newRow("cancelled, typed name kept") << false << false << "typed.txt" << "before" << "";
    QTest::newRow("cancelled, empty name kept") << false << false << "" << "before" << "";
}

void TestForm1Editors::browse()
{
    QFETCH(bool, confirm);
    QFETCH(bool, hasTitle);
    QFETCH(QString, typedName);
    QFETCH(QString, caption);
    QFETCH(QString, title);

    DesignerSession session;
    const QString file = writeFile(session.dir, QStringLiteral("in.txt"), "A,B\nTitle A\n");
    Form1 &f = session.start();
    f.Option3->setChecked(true);
    ClickCheckBox::setValue(f.Check3, hasTitle ? 1 : 0);
    f.Text4->setText(typedName);
    f.Vantrel1->setCaption(QStringLiteral("before"));
    f.Vantrel1->setTitle(QString());
    // An earlier picture save left its name in the shared dialog.
    f.CommonDialog1.FileName = session.dir.filePath(QStringLiteral("picture.png"));
    session.dialogs.openAnswer = confirm ? std::optional<QString>(file) : std::nullopt;

    f.Command1->click();
    QCOMPARE(session.dialogs.openCalls, 1);
    QCOMPARE(f.CommonDialog1.Filter, QStringLiteral("Text files (*.txt)|*.txt|All fiels (*.*)|*.*"));
    QCOMPARE(f.CommonDialog1.DefaultExt, QStringLiteral(".txt"));
    QCOMPARE(f.Text4->text(), confirm ? file : typedName);
    QCOMPARE(f.Vantrel1->Caption(), caption);
    QCOMPARE(f.Vantrel1->Title(), title);
}

void TestForm1Editors::missingImportFileKeepsPreview_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("missing") << "no-such-file.txt";
    QTest::newRow("a folder") << "<dir>";
    QTest::newRow("hidden") << "<hidden>";
}

void TestForm1Editors::missingImportFileKeepsPreview()
{
    QFETCH(QString, name);
    DesignerSession session;
    if (name == "<dir>")
        name = session.dir.path();
    if (name == "<hidden>")
        name = writeFile(session.dir, QStringLiteral(".hidden.txt"), "H\n");
    Form1 &f = session.start();
    f.Text4->setText(name);
    f.Vantrel1->setTitle(QStringLiteral("kept"));
    f.Option3->setChecked(true);
    QCOMPARE(f.Vantrel1->Caption(), QStringLiteral("0123456789"));
    QCOMPARE(f.Vantrel1->Title(), QStringLiteral("kept"));
    QVERIFY(f.Command1->isEnabled());
}

QTEST_MAIN(TestForm1Editors)
#include "tst_form1_editors.moc"
