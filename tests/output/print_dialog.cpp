// The print dialog: its form, unit, the margins it loads and
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

    // The form: fixed size, title, captions shown whole whatever the system's
    // font, focus order and buttons.
    void form()
    {
        StandInDesigner designer;
        frmPrint dialog(designer);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillmark - Print"));
        QCOMPARE(dialog.size(), QSize(qRound(7116 / 15.0), qRound(3792 / 15.0))); // with the row below the margins
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("Barcode margins"));
        for (QLabel *label : dialog.findChildren<QLabel *>())
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
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

    // The unit follows the designer, not the last choice; switching it keeps
    // the digits typed and changes the twips per unit.
    void unit_data()
    {
        QTest::addColumn<bool>("designerInches");
        QTest::newRow("inches, though cm were chosen last time") << true;
        QTest::newRow("cm, though inches were chosen last time") << false;
    }
    void unit()
    {
        QFETCH(bool, designerInches);
        StandInDesigner designer;
        designer.store.write("Page margins", "Left", "1");
        {
            designer.inches(!designerInches);
            frmPrint earlier(designer);
            earlier.Option4->setChecked(!designerInches);
            earlier.close();
        }
        designer.inches(designerInches);
        frmPrint dialog(designer);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.Option4->isChecked(), designerInches);
        QCOMPARE(dialog.Option5->isChecked(), !designerInches);
        QCOMPARE(dialog.twipsPerUnit, designerInches ? 1440.0 : 567.0);
        for (QRadioButton *option : {dialog.Option5, dialog.Option4}) {
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
            QCOMPARE(dialog.twipsPerUnit, option == dialog.Option5 ? 567.0 : 1440.0);
            QCOMPARE(dialog.Text6->text(), QStringLiteral("1"));
        }
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

    // The Print menu and toolbar button 3 open the dialog modally; closing it
    // from the designer stores the edits like the close box does.
    void opensModally_data()
    {
        QTest::addColumn<bool>("toolbar");
        QTest::newRow("Print menu") << false;
        QTest::newRow("toolbar button 3") << true;
    }
    void opensModally()
    {
        QFETCH(bool, toolbar);
        StandInDesigner designer;
        StandInDialogs dialogs;
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
        toolbar ? commands.Toolbar1_ButtonClick(3) : commands.mnuPrint_Click();
        QVERIFY(wasOpen);
        QVERIFY(wasModal);
        QVERIFY(!commands.isPrintDialogOpen());
        QCOMPARE(designer.store.read("Page margins", "Top", "<none>"), QStringLiteral("3"));
        QCOMPARE(dialogs.saveCalls, 0);
        QVERIFY(dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(PrintDialogTest)
#include "print_dialog.moc"
