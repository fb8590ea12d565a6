#pragma once
#include "Dialogs.h"
#include "Numbers.h"
#include "PrintRun.h"

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <optional>
#include <utility>

class DesignerView;
class PrinterObject;
struct LabelProduct;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The print settings dialog: printer, unit, page and label margins, and OK to
// print. Form_Load runs at the end of the constructor, so every dialog object
// is one opening; it is unloaded (Form_Unload stores the margins) by a
// successful OK, by Cancel or Esc, and by the close box.
class frmPrint : public QDialog {
    Q_OBJECT
public:
    frmPrint(DesignerView &designer, DialogProvider &dialogs, PrinterObject &printer,
             QWidget *parent = nullptr);

    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5, *Text6, *Text7, *Text8, *Text9;
    QRadioButton *Option4, *Option5;
    QPushButton *OKButton, *CancelButton, *Command1;
    QGroupBox *Frame1, *Frame2;
    QLabel *Label1, *Label2, *Label5, *Label6, *Label7, *Label10, *Label11, *Label12, *Label13, *Label18;
    CommonDialog CommonDialog1;

    double twipsPerUnit = Numbers::kTwipsPerCm;

    // Beside the settings above, in a row below them: a label product fills in
    // the size and margins, the preview shows the pages the run would print,
    // a partly used first sheet starts at a later label, and each value is
    // printed a number of times (both 1 at every opening).
    QPushButton *LabelProductButton, *PreviewButton;
    QLabel *StartLabelCaption, *CopiesCaption;
    QLabel *ModuleLabel; // the module on the printer's dots
    QLabel *LabelProductName; // the product chosen, while it is: "Avery 5160: Address Labels, 30 a page"
    QSpinBox *StartLabel, *Copies;
    void LabelProductButton_Click();
    void PreviewButton_Click();
    void useLabelProduct(const LabelProduct &product);
    // One line of what the last printing run did: "120 labels on 3 pages to Zebra".
    QString runSummary() const { return m_summary; }

    void Form_Load();
    void Form_Unload();
    void Option4_Click();
    void Option5_Click();
    void Command1_Click();
    void CancelButton_Click();
    void OKButton_Click();

    bool isUnloaded() const { return m_unloaded; }

    void reject() override; // Esc is Cancel

    // Places a control at a position and size in twips, as the dialog was designed.
    static void place(QWidget *widget, int left, int top, int width, int height);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadMargins();
    QList<QLineEdit *> marginFields() const;
    void buildSheetRow();
    // The run drawn on the printer, on nothing (to find its faults before a
    // preview shows any page) or for the preview, with the labels' outlines.
    enum class Output { Printer, Check, Preview };
    bool printOn(LabelPrinter &printer, Output output);
    void putBackDesign();
    // The margin fields' amounts; named: QuillError naming the first field
    // that holds no number, else such a field is NaN.
    LabelMargins marginsFromFields(bool named) const;
    LabelDocument::Unit unit() const;
    void showModule();
    void fitFont();
    void unload(int result);

    DesignerView &m_designer;
    DialogProvider &m_dialogs;
    PrinterObject &m_printer;
    bool m_unloaded = false;
    QString m_summary;
    // The designer as the dialog found it, which Cancel puts back: the margins
    // (a preview or a failed OK wrote the fields into them), and what a label
    // product changes: the size as the boxes showed it, the unit, the product's
    // name and the printer's paper.
    struct Opening {
        LabelMargins margins;
        bool inches = false;
        std::pair<QString, QString> size;
        double widthTwips = 0;
        double heightTwips = 0;
        QString labelProduct;
        bool productUsed = false;
        // The paper before a product's: none once "Printer setup" is confirmed, whose paper is the user's.
        std::optional<std::pair<QPageSize, QPageLayout::Orientation>> media;
    } m_opening;
};
