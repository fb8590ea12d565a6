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
const QStringList kFields{"Text1", "Text2", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"};
const QList<QPair<QString, QString>> kKeys{
    {"Label margins", "Left"}, {"Label margins", "Right"}, {"Label margins", "Top"}, {"Label margins", "Bottom"},
    {"Page margins", "Left"},  {"Page margins", "Right"},  {"Page margins", "Top"},  {"Page margins", "Bottom"}};

QLineEdit *field(frmPrint &dialog, const QString &name)
{
    const QHash<QString, QLineEdit *> all{{"Text1", dialog.Text1}, {"Text2", dialog.Text2}, {"Text4", dialog.Text4},
                                          {"Text5", dialog.Text5}, {"Text6", dialog.Text6}, {"Text7", dialog.Text7},
                                          {"Text8", dialog.Text8}, {"Text9", dialog.Text9}};
    return all.value(name);
}

QStringList stored(SettingsStore &store)
{
    QStringList values;
    for (const auto &key : kKeys)
        values << store.read(key.first, key.second, QStringLiteral("<none>"));
    return values;
}
} // namespace

class PrintDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void focusOrderAndButtons();
    void firstOpeningShowsZeros();
    void closing_data();
    void closing();
    void unitFollowsTheDesigner_data();
    void unitFollowsTheDesigner();
    void unitSwitchKeepsTheDigits();
    void printerSetup_data();
    void printerSetup();
    void printMenuOpensModally();
};

void PrintDialogTest::initTestCase()
{
    ScreenMetrics::overrideDpi(96, 96); // 15 twips a pixel
    PrinterObject::current().selectPdfFile(QString());
}

void PrintDialogTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("container");

    QTest::newRow("Text3") << "Text3" << "" << QRect(840, 120, 3492, 288) << "";
    QTest::newRow("Option5") << "Option5" << "cm" << QRect(2280, 720, 1452, 252) << "";
    QTest::newRow("Frame2") << "Frame2" << "Page margins" << QRect(120, 1080, 2412, 2052) << "";
    QTest::newRow("Label13") << "Label13" << "Bottom:" << QRect(120, 1440, 612, 252) << "Frame2";
    QTest::newRow("Text9") << "Text9" << "" << QRect(840, 1440, 1332, 288) << "Frame2";
    QTest::newRow("Frame1") << "Frame1" << "Barcode margins" << QRect(2640, 1080, 2532, 2052) << "";
    QTest::newRow("Label6") << "Label6" << "Top:" << QRect(240, 1080, 492, 252) << "Frame1";
    QTest::newRow("Text5") << "Text5" << "" << QRect(960, 1440, 1332, 288) << "Frame1";
    QTest::newRow("OKButton") << "OKButton" << "OK" << QRect(5640, 120, 1215, 375) << "";
    QTest::newRow("Command1") << "Command1" << "Printer setup" << QRect(5640, 1080, 1212, 372) << "";
}

void PrintDialogTest::layout()
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
        {"Label5", dialog.Label5},   {"Text3", dialog.Text3},     {"Label18", dialog.Label18},
        {"Option4", dialog.Option4}, {"Option5", dialog.Option5}, {"Frame2", dialog.Frame2},
        {"Label10", dialog.Label10}, {"Text6", dialog.Text6},     {"Label11", dialog.Label11},
        {"Text7", dialog.Text7},     {"Label12", dialog.Label12}, {"Text8", dialog.Text8},
        {"Label13", dialog.Label13}, {"Text9", dialog.Text9},     {"Frame1", dialog.Frame1},
        {"Label1", dialog.Label1},   {"Text1", dialog.Text1},     {"Label2", dialog.Label2},
        {"Text2", dialog.Text2},     {"Label6", dialog.Label6},   {"Text4", dialog.Text4},
        {"Label7", dialog.Label7},   {"Text5", dialog.Text5},     {"OKButton", dialog.OKButton},
        {"CancelButton", dialog.CancelButton}, {"Command1", dialog.Command1}};
    QWidget *widget = widgets.value(name);
    QVERIFY(widget);
    // Whatever the system's font, a caption shows whole in its control.
    if (auto *label = qobject_cast<QLabel *>(widget))
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    const QRect pixels(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                       qRound(twips.height() / 15.0));
    QCOMPARE(widget->geometry(), pixels);
    QWidget *expectedParent = container == "Frame1" ? dialog.Frame1
                            : container == "Frame2" ? dialog.Frame2
                                                    : static_cast<QWidget *>(&dialog);
    QCOMPARE(widget->parentWidget(), expectedParent);
    if (!text.isEmpty()) {
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(widget)) shown = label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) shown = button->text();
        if (auto *frame = qobject_cast<QGroupBox *>(widget)) shown = frame->title();
        QCOMPARE(shown, text);
    }
}

void PrintDialogTest::focusOrderAndButtons()
{
    StandInDesigner designer;
    frmPrint dialog(designer);
    const QList<QWidget *> order{dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9, dialog.Text1,
                                 dialog.Text2, dialog.Text4, dialog.Text5, dialog.OKButton, dialog.CancelButton,
                                 dialog.Command1, dialog.Text3, dialog.Option5, dialog.Option4};
    auto nextTabStop = [](QWidget *widget) {
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
        return widget;
    };
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QCOMPARE(nextTabStop(order[i]), order[i + 1]);
    QVERIFY(dialog.OKButton->isDefault());
    QVERIFY(!dialog.CancelButton->isDefault());
    QVERIFY(dialog.Text3->isReadOnly());
    QVERIFY(!dialog.isSizeGripEnabled());
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
}

void PrintDialogTest::firstOpeningShowsZeros()
{
    StandInDesigner designer;
    frmPrint dialog(designer);
    for (const QString &name : kFields)
        QCOMPARE(field(dialog, name)->text(), QStringLiteral("0"));
    QCOMPARE(dialog.Text3->text(), PrinterObject::current().deviceName());
}

// Each way of closing: what the store holds afterwards, starting from a store
// with "1" in every entry and the page left margin edited to "2,5".
void PrintDialogTest::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("storedLeft");
    QTest::newRow("Cancel button") << "cancel" << "1";
    QTest::newRow("Esc") << "esc" << "1";
    QTest::newRow("close box") << "close" << "2,5";
    QTest::newRow("empty store, Cancel") << "cancel-empty" << "0";
}

void PrintDialogTest::closing()
{
    QFETCH(QString, how);
    QFETCH(QString, storedLeft);
    StandInDesigner designer;
    const bool empty = how.endsWith("-empty");
    if (!empty) {
        for (const auto &key : kKeys)
            designer.store.write(key.first, key.second, QStringLiteral("1"));
    }
    {
        frmPrint dialog(designer);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (!empty)
            dialog.Text6->setText(QStringLiteral("2,5"));
        if (how.startsWith("cancel")) {
            QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
        } else if (how == "esc") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            dialog.close();
        }
        QVERIFY(dialog.isUnloaded());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Text6->text(), storedLeft);
    }
    QStringList expected(8, empty ? QStringLiteral("0") : QStringLiteral("1"));
    expected[4] = storedLeft;
    QCOMPARE(stored(designer.store), expected);
    // The next opening shows what was stored.
    frmPrint again(designer);
    QCOMPARE(again.Text6->text(), storedLeft);
}

void PrintDialogTest::unitFollowsTheDesigner_data()
{
    QTest::addColumn<bool>("designerInches");
    QTest::addColumn<bool>("lastTimeInches");
    QTest::addColumn<double>("twipsPerUnit");
    QTest::newRow("inches") << true << false << 1440.0;
    QTest::newRow("cm, though inches were chosen last time") << false << true << 567.0;
}

void PrintDialogTest::unitFollowsTheDesigner()
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

void PrintDialogTest::unitSwitchKeepsTheDigits()
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

void PrintDialogTest::printerSetup_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("a PDF file chosen") << true;
    QTest::newRow("cancelled") << false;
}

void PrintDialogTest::printerSetup()
{
    QFETCH(bool, confirm);
    StandInDesigner designer;
    StandInDialogs dialogs;
    PrinterObject &printer = PrinterObject::current();
    printer.selectPdfFile(designer.dir.filePath("before.pdf"));
    const QString chosen = designer.dir.filePath("labels.pdf");
    dialogs.onPrinterDialog = [&](PrinterObject &p) {
        if (confirm)
            p.selectPdfFile(chosen);
        return confirm;
    };
    frmPrint dialog(designer);
    const QString before = dialog.Text3->text();
    QVERIFY(before.contains("before.pdf"));
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QCOMPARE(dialog.CommonDialog1.Flags, 256);
    QCOMPARE(dialog.Text3->text(), printer.deviceName());
    QCOMPARE(dialog.Text3->text().contains("labels.pdf"), confirm);
    QCOMPARE(printer.pdfFile(), confirm ? chosen : designer.dir.filePath("before.pdf"));
    QVERIFY(dialogs.messages.isEmpty());
    printer.selectPdfFile(QString());
}

void PrintDialogTest::printMenuOpensModally()
{
    StandInDesigner designer;
    OutputCommands commands(designer);
    bool wasOpen = false;
    bool wasModal = false;
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

QTEST_MAIN(PrintDialogTest)
#include "print_dialog.moc"
