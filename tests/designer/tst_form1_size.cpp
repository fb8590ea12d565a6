// Symbol size and units, centring and the layout on resize. Also registered
// under a comma-decimal locale: the boxes show commas, the store keeps points.
#include "DesignerSession.h"
#include "Vantrel.h"

#include <QFrame>
#include <QLocale>
#include <QRadioButton>

namespace {

QString regional(const QString &pointText)
{
    return QString(pointText).replace(u'.', QLocale().decimalPoint());
}

} // namespace

class TestForm1Size : public QObject {
    Q_OBJECT
private slots:
    void unitSwitches()
    {
        DesignerSession session;
        session.seed(keys(QStringLiteral("mesure=1")));
        Form1 &f = session.start();
        QCOMPARE(f.symbolWidth, 2880.0);

        f.Option5->setChecked(true);
        QCOMPARE(f.Text5->text(), regional("5.08"));
        QCOMPARE(f.Text6->text(), regional("2.54"));
        if (qEnvironmentVariable("LC_ALL").startsWith(QStringLiteral("de_DE")))
            QCOMPARE(f.Text5->text(), QStringLiteral("5,08"));
        QCOMPARE(f.symbolWidth, 2880.36);
        QCOMPARE(f.symbolHeight, 1440.18);
        QCOMPARE(f.unitFlag, 0);

        // Stored with points whatever the locale, and read back the same.
        session.close();
        QFile file(session.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ini = file.readAll();
        QVERIFY2(ini.contains("vtlw=2880.36") && ini.contains("vtlh=1440.18"), ini.constData());
        Form1 &again = session.start();
        QCOMPARE(again.symbolWidth, 2880.36);
        QCOMPARE(again.Text5->text(), regional("5.08"));

        again.Option4->setChecked(true);
        QCOMPARE(again.Text5->text(), regional("2.00"));
        QCOMPARE(again.Text6->text(), regional("1.00"));
        QCOMPARE(again.symbolWidth, 2880.0);
        QCOMPARE(again.symbolHeight, 1440.0);
        QCOMPARE(again.unitFlag, 1);
        QCOMPARE(again.Vantrel1->Width(), 192.0f);

        // Leaving by the menu writes the switched size, and only section "Form1".
        again.show();
        again.mnuExit->trigger();
        QVERIFY(!again.isVisible());
        session.form.reset();
        session.store.reset();
        QCOMPARE(mismatches(session.stored(), keys(QStringLiteral("vtlw=2880;vtlh=1440;mesure=1"))), QString());
        QCOMPARE(QSettings(session.path, QSettings::IniFormat).childGroups(), QStringList{QStringLiteral("Form1")});
    }

    // Typing into the width box and leaving it, by the focus moving on.
    void typedSize_data()
    {
        QTest::addColumn<bool>("inches");
        QTest::addColumn<QString>("typed"); // "." stands for the locale's separator
        QTest::addColumn<double>("width");

        QTest::newRow("3 cm") << false << "3" << 1701.0;
        QTest::newRow("2.5 cm") << false << "2.5" << 1417.5;
        QTest::newRow("0 inches is kept") << true << "0" << 0.0;
        QTest::newRow("negative kept") << true << "-1" << -1440.0;
        QTest::newRow("not a number") << true << "abc" << 2880.0;
        QTest::newRow("too large to draw") << true << "99999999999" << 2880.0;
    }

    void typedSize()
    {
        QFETCH(bool, inches);
        QFETCH(QString, typed);
        QFETCH(double, width);

        DesignerSession session;
        session.seed(keys(inches ? QStringLiteral("mesure=1") : QString()));
        Form1 &f = session.start();
        QVERIFY(activate(f));
        retype(f.Text5, regional(typed));
        QCOMPARE(QApplication::focusWidget(), f.Text5);
        f.Text6->setFocus();

        QCOMPARE(QApplication::focusWidget(), f.Text6);
        QCOMPARE(f.symbolWidth, width);
        QCOMPARE(f.Text5->text(), regional(typed));
        QCOMPARE(f.Vantrel1->Width(), float(width) / 15.0f);
        QCOMPARE(session.close().value(QStringLiteral("vtlw")), QString::number(width));
    }

    void centringAndResize()
    {
        DesignerSession session;
        Form1 &f = session.start();
        // The design client area: 6888 x 6012 twips; the preview starts 3600 down.
        QCOMPARE(f.centralWidget()->width(), 459);
        QCOMPARE(f.Picture1->geometry(), QRect(0, 240, 459, 401 - 240));

        f.Picture1->resize(457, 157);
        f.symbolWidth = 2880.0;
        f.symbolHeight = 1440.0;
        f.sizeVantrel1();
        QCOMPARE(f.Vantrel1->Width(), 192.0f);
        QCOMPARE(f.Vantrel1->Height(), 96.0f);
        QCOMPARE(f.Vantrel1->Left(), 132.5f);
        QCOMPARE(f.Vantrel1->Top(), 30.5f);

        QVERIFY(activate(f));
        f.resize(700, 600);
        QTRY_COMPARE(f.Picture1->width(), f.centralWidget()->width());
        QCOMPARE(f.Picture1->height(), f.centralWidget()->height() - 240);
        QCOMPARE(f.Vantrel1->Left(), (float(f.Picture1->width()) - 192.0f) / 2.0f);
        QCOMPARE(f.Vantrel1->Top(), (float(f.Picture1->height()) - 96.0f) / 2.0f);

        // Minimised: no client area, so the preview keeps its size.
        const QSize before = f.Picture1->size();
        f.showMinimized();
        QTRY_VERIFY(f.isMinimized());
        QCOMPARE(f.Picture1->size(), before);

        // Lower than the preview's top: nothing moves, the symbol is centred again.
        f.showNormal();
        f.resize(500, 450);
        QTRY_COMPARE(f.Picture1->width(), f.centralWidget()->width());
        const QSize kept = f.Picture1->size();
        f.symbolWidth = 1440.0;
        f.resize(500, 120);
        QTRY_COMPARE(f.Vantrel1->Width(), 96.0f);
        QCOMPARE(f.Picture1->size(), kept);
        QCOMPARE(f.Vantrel1->Left(), (float(kept.width()) - 96.0f) / 2.0f);
    }
};

QTEST_MAIN(TestForm1Size)
#include "tst_form1_size.moc"
