// The print dialog: its layout, focus order, unit, the margins it loads and
// stores by each way of closing, and Printer setup.
#include "OutputCommands.h"
#include "PrinterObject.h"
#include "ScreenMetrics.h"
#include "frmPrint.h"
#include "print_standins.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
const QList<QPair<QString, QString>> kKeys{
    {"Label margins", "Left"}, {"Label margins", "Right"}, {"Label margins", "Top"}, {"Label margins", "Bottom"},
    {"Page margins", "Left"},  {"Page margins", "Right"},  {"Page margins", "Top"},  {"Page margins", "Bottom"}};

// The margin fields in the order of kKeys.
QList<QLineEdit *> fields(frmPrint &d)
{
    return {d.Text1, d.Text2, d.Text4, d.Text5, d.Text6, d.Text7, d.Text8, d.Text9};
}
} // namespace

class PrintDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ScreenMetrics::overrideDpi(96, 96); // 15 twips a pixel
        PrinterObject::current().selectPdfFile(QString());
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("container");
        QTest::newRow("Text3") << "Text3" << "" << QRect(840, 120, 3492, 288) << "";
        QTest::newRow("Option5") << "Option5" << "cm" << QRect(2280, 720, 1452, 252) << "";
        QTest::newRow("Frame2") << "Frame2" << "Page margins" << QRect(120, 1080, 2412, 2052) << "";
        QTest::newRow("Label13") << "Label13" << "Bottom:" << QRect(120, 1440, 612, 252) << "Frame2";
        QTest::newRow("Frame1") << "Frame1" << "Barcode margins" << QRect(2640, 1080, 2532, 2052) << "";
        QTest::newRow("Text5") << "Text5" << "" << QRect(960, 1440, 1332, 288) << "Frame1";
        QTest::newRow("Command1") << "Command1" << "Printer setup" << QRect(5640, 1080, 1212, 372) << "";
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        QFETCH(QString, container);
        StandInDesigner designer;
        frmPrint dialog(designer);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillmark - Print"));
        QCOMPARE(dialog.size(), QSize(qRound(7116 / 15.0), qRound(3264 / 15.0)));
        const QHash<QString, QWidget *> widgets{
            {"Text3", dialog.Text3},     {"Option5", dialog.Option5}, {"Frame2", dialog.Frame2},
            {"Label13", dialog.Label13}, {"Frame1", dialog.Frame1},   {"Text5", dialog.Text5},
            {"Command1", dialog.Command1}};
        QWidget *widget = widgets.value(name);
        QVERIFY(widget);
        const QRect pixels(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                           qRound(twips.height() / 15.0));
        QCOMPARE(widget->geometry(), pixels);
        QWidget *parent = container.isEmpty() ? &dialog : widgets.value(container);
        QCOMPARE(widget->parentWidget(), parent);
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            shown = label->text();
            // Whatever the system's font, a caption shows whole in its control.
            QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->width());
        }
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) shown = button->text();
        if (auto *frame = qobject_cast<QGroupBox *>(widget)) shown = frame->title();
        QCOMPARE(shown, text);
    }

    void focusOrderAndButtons()
    {
        StandInDesigner designer;
        frmPrint dialog(designer);
        const QList<QWidget *> order{dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9, dialog.Text1,
                                     dialog.Text2, dialog.Text4, dialog.Text5, dialog.OKButton, dialog.CancelButton,
                                     dialog.Command1, dialog.Text3, dialog.Option5, dialog.Option4};
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QWidget *next = order[i];
            do
                next = next->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus));
            QCOMPARE(next, order[i + 1]);
        }
        QVERIFY(dialog.OKButton->isDefault());
        QVERIFY(!dialog.CancelButton->isDefault());
        QVERIFY(dialog.Text3->isReadOnly());
        QVERIFY(!dialog.isSizeGripEnabled());
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    }

    // Each way of closing: what the store holds afterwards, starting from a
    // store with "1" in every entry (or an empty one) and the page left margin
    // edited to "2,5".
    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("storedLeft");
        QTest::newRow("Cancel button") << "cancel" << "1";
        QTest::newRow("Esc") << "esc" << "1";
        QTest::newRow("close box") << "close" << "2,5";
        QTest::newRow("empty store, Cancel") << "cancel-empty" << "0";
    }
    void closing()
    {
        QFETCH(QString, how);
        QFETCH(QString, storedLeft);
        StandInDesigner designer;
        const bool empty = how.endsWith("-empty");
        const QString before = empty ? QStringLiteral("0") : QStringLiteral("1");
        if (!empty) {
            for (const auto &key : kKeys)
                designer.store.write(key.first, key.second, before);
        }
        {
            frmPrint dialog(designer);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            for (QLineEdit *field : fields(dialog))
                QCOMPARE(field->text(), before);
            QCOMPARE(dialog.Text3->text(), PrinterObject::current().deviceName());
            if (!empty)
                dialog.Text6->setText(QStringLiteral("2,5"));
            if (how.startsWith("cancel"))
                QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
            else if (how == "esc")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
            QVERIFY(dialog.isUnloaded());
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.Text6->text(), storedLeft);
        }
        QStringList expected(8, before), stored;
        expected[4] = storedLeft;
        for (const auto &key : kKeys)
            stored << designer.store.read(key.first, key.second, QStringLiteral("<none>"));
        QCOMPARE(stored, expected);
        // The next opening shows what was stored.
        frmPrint again(designer);
        QCOMPARE(again.Text6->text(), storedLeft);
    }

    void unitFollowsTheDesigner_data()
    {
        QTest::addColumn<bool>("designerInches");
        QTest::addColumn<bool>("lastTimeInches");
        QTest::addColumn<double>("twipsPerUnit");
        QTest::newRow("inches") << true << false << 1440.0;
        QTest::newRow("cm, though inches were chosen last time") << false << true << 567.0;
    }
    void unitFollowsTheDesigner()
    {
        QFETCH(bool, designerInches);
        QFETCH(bool, lastTimeInches);
        QFETCH(double, twipsPerUnit);
        StandInDesigner designer;
        {
            designer.inches(lastTimeInches);
            frmPrint earlier(designer);
            earlier.Option4->setChecked(lastTimeInches);
            earlier.close();
        }
        designer.inches(designerInches);
        frmPrint dialog(designer);
        QCOMPARE(dialog.Option4->isChecked(), designerInches);
        QCOMPARE(dialog.Option5->isChecked(), !designerInches);
        QCOMPARE(dialog.twipsPerUnit, twipsPerUnit);
    }

    void unitSwitchKeepsTheDigits()
    {
        StandInDesigner designer;
        designer.store.write("Page margins", "Left", "1");
        frmPrint dialog(designer);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.twipsPerUnit, 1440.0);
        QTest::mouseClick(dialog.Option5, Qt::LeftButton, {}, QPoint(6, dialog.Option5->height() / 2));
        QCOMPARE(dialog.twipsPerUnit, 567.0);
        QCOMPARE(dialog.Text6->text(), QStringLiteral("1"));
        QTest::mouseClick(dialog.Option4, Qt::LeftButton, {}, QPoint(6, dialog.Option4->height() / 2));
        QCOMPARE(dialog.twipsPerUnit, 1440.0);
        QCOMPARE(dialog.Text6->text(), QStringLiteral("1"));
    }

    void printerSetup_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("a PDF file chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void printerSetup()
    {
        QFETCH(bool, confirm);
        StandInDesigner designer;
        StandInDialogs dialogs;
        PrinterObject &printer = PrinterObject::current();
        const QString before = designer.dir.filePath("before.pdf"), chosen = designer.dir.filePath("labels.pdf");
        printer.selectPdfFile(before);
        dialogs.onPrinterDialog = [&](PrinterObject &p) {
            if (confirm)
                p.selectPdfFile(chosen);
            return confirm;
        };
        frmPrint dialog(designer);
        QVERIFY(dialog.Text3->text().contains("before.pdf"));
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QCOMPARE(dialog.CommonDialog1.Flags, 256);
        QCOMPARE(dialog.Text3->text(), printer.deviceName());
        QCOMPARE(dialog.Text3->text().contains("labels.pdf"), confirm);
        QCOMPARE(printer.pdfFile(), confirm ? chosen : before);
        QVERIFY(dialogs.messages.isEmpty());
        printer.selectPdfFile(QString());
    }

    void printMenuOpensModally()
    {
        StandInDesigner designer;
        OutputCommands commands(designer);
        bool wasOpen = false, wasModal = false;
        // Runs inside the dialog's own event loop, once it is up.
        QMetaObject::invokeMethod(this, [&] {
            auto *dialog = qobject_cast<frmPrint *>(QApplication::activeModalWidget());
            wasOpen = commands.isPrintDialogOpen();
            wasModal = dialog && dialog->isModal() && !dialog->parentWidget();
            if (dialog)
                dialog->Text8->setText("3");
            commands.closePrintDialog();
        }, Qt::QueuedConnection);
        commands.mnuPrint_Click();
        QVERIFY(wasOpen);
        QVERIFY(wasModal);
        QVERIFY(!commands.isPrintDialogOpen());
        // Closing from the designer stores the edits like the close box does.
        QCOMPARE(designer.store.read("Page margins", "Top", "<none>"), QStringLiteral("3"));
    }
};

QTEST_MAIN(PrintDialogTest)
#include "print_dialog.moc"
