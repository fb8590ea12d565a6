// Symbol size and units, centring and the layout on resize. Registered twice:
// also under a comma-decimal locale, where the boxes must show commas and the
// store must keep points.
#include "DesignerSession.h"
#include "Numbers.h"
#include "Vantrel.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTest>

namespace {

QString regional(const QString &pointText)
{
    return QString(pointText).replace(u'.', QLocale().decimalPoint());
}

bool activate(Form1 &f)
{
    f.show();
    QApplication::setActiveWindow(&f);
    return QTest::qWaitForWindowActive(&f);
}

} // namespace

class TestForm1Size : public QObject {
    Q_OBJECT
private slots:
    void unitSwitches();
    void storedNumbersKeepPoints();
    void typedSize_data();
    void typedSize();
    void centring_data();
    void centring();
    void resizeAndMinimise();
};

void TestForm1Size::unitSwitches()
{
    DesignerSession session;
    session.seed(keys(QStringLiteral("mesure=1")));
    Form1 &f = session.start();
    QCOMPARE(f.symbolWidth, 2880.0);

    f.Option5->setChecked(true);
    QCOMPARE(f.Text5->text(), regional("5.08"));
    QCOMPARE(f.Text6->text(), regional("2.54"));
    QCOMPARE(f.symbolWidth, 2880.36);
    QCOMPARE(f.symbolHeight, 1440.18);
    QCOMPARE(f.unitFlag, 0);

    f.Option4->setChecked(true);
    QCOMPARE(f.Text5->text(), regional("2.00"));
    QCOMPARE(f.Text6->text(), regional("1.00"));
    QCOMPARE(f.symbolWidth, 2880.0);
    QCOMPARE(f.symbolHeight, 1440.0);
    QCOMPARE(f.unitFlag, 1);
    // Vantrel sized to the new twips: 2880 / 15 pixels.
    QCOMPARE(f.Vantrel1->Width(), 192.0f);
}

void TestForm1Size::storedNumbersKeepPoints()
{
    DesignerSession session;
    Form1 &f = session.start();
    QCOMPARE(f.Text5->text(), regional("5.08"));
    if (qEnvironmentVariable("LC_ALL").startsWith(QStringLiteral("de_DE")))
        QCOMPARE(f.Text5->text(), QStringLiteral("5,08"));
    session.close();
    const QByteArray ini = session.rawFile();
    QVERIFY2(ini.contains("vtlw=2880.36"), ini.constData());
    QVERIFY2(ini.contains("vtlh=1440.18"), ini.constData());

    // Read back the same whatever the locale.
    Form1 &again = session.start();
    QCOMPARE(again.symbolWidth, 2880.36);
    QCOMPARE(again.Text5->text(), regional("5.08"));
}

// Typing into a size box and leaving it, by the focus moving on.
void TestForm1Size::typedSize_data()
{
    QTest::addColumn<bool>("inches");
    QTest::addColumn<QString>("typed"); // "." stands for the locale's separator
    QTest::addColumn<double>("width");

    QTest::newRow("3 inches") << true << "3" << 4320.0;
    QTest::newRow("3 cm") << false << "3" << 1701.0;
    QTest::newRow("2.5 cm") << false << "2.5" << 1417.5;
    QTest::newRow("0 inches is kept") << true << "0" << 0.0;
    QTest::newRow("negative kept") << true << "-1" << -1440.0;
    QTest::newRow("not a number") << true << "abc" << 2880.0;
    QTest::newRow("empty") << true << "" << 2880.0;
    QTest::newRow("too large to draw") << true << "99999999999" << 2880.0;
}

void TestForm1Size::typedSize()
{
    QFETCH(bool, inches);
    QFETCH(QString, typed);
    QFETCH(double, width);

    DesignerSession session;
    session.seed(keys(inches ? QStringLiteral("mesure=1") : QStringLiteral("mesure=0;vtlw=2880")));
    Form1 &f = session.start();
    if (!inches) {
        f.Option4->setChecked(true); // back to exactly 2880 twips
        f.Option5->setChecked(true);
        f.symbolWidth = 2880.0;
    }
    QVERIFY(activate(f));
    f.Text5->setFocus();
    QCOMPARE(QApplication::focusWidget(), f.Text5);
    f.Text5->selectAll();
    QTest::keyClick(f.Text5, Qt::Key_Delete);
    QTest::keyClicks(f.Text5, regional(typed));
    f.Text6->setFocus();

    QCOMPARE(QApplication::focusWidget(), f.Text6);
    QCOMPARE(f.symbolWidth, width);
    QCOMPARE(f.Text5->text(), regional(typed));
    QCOMPARE(f.Vantrel1->Width(), float(width) / 15.0f);
    const Keys written = session.close();
    QCOMPARE(written.value(QStringLiteral("vtlw")), width == 0.0 ? QStringLiteral("0")
                                                               : Numbers::numberText(width));
}

void TestForm1Size::centring_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");

    QTest::newRow("2 by 1 inch") << 2880.0 << 1440.0 << 132.5f << 30.5f;
    QTest::newRow("wider than the preview") << 7440.0 << 1440.0 << -19.5f << 30.5f;
    QTest::newRow("odd twips") << 100.0 << 50.0 << 225.16666f << 76.83333f;
}

void TestForm1Size::centring()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(float, left);
    QFETCH(float, top);

    DesignerSession session;
    Form1 &f = session.start();
    f.Picture1->resize(457, 157);
    f.symbolWidth = width;
    f.symbolHeight = height;
    f.sizeVantrel1();
    QCOMPARE(f.Vantrel1->Width(), float(width) / 15.0f);
    QCOMPARE(f.Vantrel1->Height(), float(height) / 15.0f);
    QCOMPARE(f.Vantrel1->Left(), left);
    QCOMPARE(f.Vantrel1->Top(), top);
}

void TestForm1Size::resizeAndMinimise()
{
    DesignerSession session;
    Form1 &f = session.start();
    // The design client area: 6888 x 6012 twips; the preview starts 3600 down.
    QCOMPARE(f.centralWidget()->width(), 459);
    QCOMPARE(f.Picture1->geometry(), QRect(0, 240, 459, 401 - 240));
    QCOMPARE(f.Vantrel1->Left(), (459.0f - f.Vantrel1->Width()) / 2.0f);

    QVERIFY(activate(f));
    f.resize(700, 600);
    QTRY_COMPARE(f.Picture1->width(), f.centralWidget()->width());
    QCOMPARE(f.Picture1->height(), f.centralWidget()->height() - 240);
    QCOMPARE(f.Vantrel1->Left(), (float(f.Picture1->width()) - f.Vantrel1->Width()) / 2.0f);
    QCOMPARE(f.Vantrel1->Top(), (float(f.Picture1->height()) - f.Vantrel1->Height()) / 2.0f);
    const QSize before = f.Picture1->size();

    // Minimised: no client area, so the preview keeps its size.
    f.showMinimized();
    QTRY_VERIFY(f.isMinimized());
    QCOMPARE(f.Picture1->size(), before);

    f.showNormal();
    f.resize(500, 450);
    QTRY_COMPARE(f.Picture1->width(), f.centralWidget()->width());
    QCOMPARE(f.Picture1->height(), f.centralWidget()->height() - 240);
    QCOMPARE(f.Vantrel1->Top(), (float(f.Picture1->height()) - f.Vantrel1->Height()) / 2.0f);

    // Lower than the preview's top: nothing moves, the symbol is centred again.
    f.symbolWidth = 1440.0;
    const QSize kept = f.Picture1->size();
    f.resize(500, 120);
    QTRY_COMPARE(f.Vantrel1->Width(), 96.0f);
    QCOMPARE(f.Picture1->size(), kept);
    QCOMPARE(f.Vantrel1->Left(), (float(kept.width()) - 96.0f) / 2.0f);
}

QTEST_MAIN(TestForm1Size)
#include "tst_form1_size.moc"
