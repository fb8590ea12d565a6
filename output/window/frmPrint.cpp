#include "frmPrint.h"
#include "DesignKeys.h"
#include "DesignerView.h"
#include "Numbers.h"
#include "PrinterObject.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

int pixelsX(int twips) { return qRound(twips / ScreenMetrics::twipsPerPixelX()); }
int pixelsY(int twips) { return qRound(twips / ScreenMetrics::twipsPerPixelY()); }

template <typename Widget>
Widget *make(QWidget *parent, const QString &text, int left, int top, int width, int height)
{
    auto *widget = new Widget(text, parent);
    frmPrint::place(widget, left, top, width, height);
    return widget;
}

QLineEdit *box(QWidget *parent, int left, int top)
{
    auto *edit = new QLineEdit(parent);
    frmPrint::place(edit, left, top, 1332, 288);
    return edit;
}

} // namespace

// Positions are laid out in twips, as the dialog was designed.
void frmPrint::place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(pixelsX(left), pixelsY(top), pixelsX(width), pixelsY(height));
}

frmPrint::frmPrint(DesignerView &designer, DialogProvider &dialogs, PrinterObject &printer, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
    , CommonDialog1(dialogs, printer)
    , m_designer(designer)
    , m_dialogs(dialogs)
    , m_printer(printer)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Quillmark - Print"));
    setFixedSize(pixelsX(7116), pixelsY(4830)); // 3264 and the rows of buildSheetRow()
    setSizeGripEnabled(false);

    Label5 = make<QLabel>(this, QStringLiteral("Printer:"), 120, 120, 732, 252);
    Text3 = new QLineEdit(this);
    place(Text3, 840, 120, 3492, 288);
    Text3->setReadOnly(true);
    {
        QPalette palette = Text3->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        Text3->setPalette(palette);
    }
    Label18 = make<QLabel>(this, QStringLiteral("Units:"), 120, 720, 612, 252);
    Option4 = make<QRadioButton>(this, QStringLiteral("inches"), 840, 720, 1332, 252);
    Option5 = make<QRadioButton>(this, QStringLiteral("cm"), 2280, 720, 1452, 252);

    Frame2 = make<QGroupBox>(this, QStringLiteral("Page margins"), 120, 1080, 2412, 2052);
    Label10 = make<QLabel>(Frame2, QStringLiteral("Left:"), 120, 360, 612, 252);
    Text6 = box(Frame2, 840, 360);
    Label11 = make<QLabel>(Frame2, QStringLiteral("Right:"), 120, 720, 612, 252);
    Text7 = box(Frame2, 840, 720);
    Label12 = make<QLabel>(Frame2, QStringLiteral("Top:"), 120, 1080, 612, 252);
    Text8 = box(Frame2, 840, 1080);
    Label13 = make<QLabel>(Frame2, QStringLiteral("Bottom:"), 120, 1440, 612, 252);
    Text9 = box(Frame2, 840, 1440);

    Frame1 = make<QGroupBox>(this, QStringLiteral("Barcode margins"), 2640, 1080, 2532, 2052);
    Label1 = make<QLabel>(Frame1, QStringLiteral("Left:"), 240, 360, 612, 252);
    Text1 = box(Frame1, 960, 360);
    Label2 = make<QLabel>(Frame1, QStringLiteral("Right:"), 240, 720, 612, 252);
    Text2 = box(Frame1, 960, 720);
    Label6 = make<QLabel>(Frame1, QStringLiteral("Top:"), 240, 1080, 492, 252);
    Text4 = box(Frame1, 960, 1080);
    Label7 = make<QLabel>(Frame1, QStringLiteral("Bottom:"), 240, 1440, 612, 252);
    Text5 = box(Frame1, 960, 1440);

    OKButton = make<QPushButton>(this, QStringLiteral("OK"), 5640, 120, 1215, 375);
    CancelButton = make<QPushButton>(this, QStringLiteral("Cancel"), 5640, 600, 1215, 375);
    Command1 = make<QPushButton>(this, QStringLiteral("Printer setup"), 5640, 1080, 1212, 372);
    OKButton->setDefault(true);
    CancelButton->setAutoDefault(false);
    Command1->setAutoDefault(false);
    buildSheetRow();

    fitFont();

    const QList<QWidget *> focusOrder{Text6,      Text7,  Text8,        Text9,    Text1,
                                      Text2,      Text4,  Text5,        OKButton, CancelButton,
                                      Command1,   Text3,  Option5,      Option4,  LabelProductButton,
                                      StartLabel, Copies, PreviewButton};
    for (qsizetype i = 0; i + 1 < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i], focusOrder[i + 1]);
    Text6->setFocus(); // the first page margin, not the locked printer name

    connect(Option4, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option4_Click();
    });
    connect(Option5, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option5_Click();
    });
    connect(OKButton, &QPushButton::clicked, this, &frmPrint::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmPrint::CancelButton_Click);
    connect(Command1, &QPushButton::clicked, this, &frmPrint::Command1_Click);

    const LabelDocument &opened = m_designer.document();
    m_opening.margins = opened.margins();
    m_opening.inches = opened.unit() == LabelDocument::Unit::Inches;
    m_opening.size = m_designer.symbolSizeTexts();
    m_opening.widthTwips = opened.width();
    m_opening.heightTwips = opened.height();
    m_opening.labelProduct = opened.labelProduct();
    Form_Load();
}

// The controls keep their designed sizes in twips; where the system's font is
// wider than the one they were laid out for, the dialog's font is made smaller
// until every caption shows whole.
void frmPrint::fitFont()
{
    QFont font = this->font();
    for (qreal size = font.pointSizeF(); size >= 6.0; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetrics metrics(font);
        bool fits = true;
        for (const QLabel *label : findChildren<QLabel *>())
            fits = fits && metrics.horizontalAdvance(label->text()) <= label->width();
        for (const QPushButton *button : findChildren<QPushButton *>())
            fits = fits && metrics.horizontalAdvance(button->text()) + 8 <= button->width();
        if (fits)
            break;
    }
    if (font.pointSizeF() > 0)
        setFont(font);
}

// The margin fields in the order of their keys: label margins, then page margins.
QList<QLineEdit *> frmPrint::marginFields() const
{
    return {Text1, Text2, Text4, Text5, Text6, Text7, Text8, Text9};
}

void frmPrint::loadMargins()
{
    const std::array<double, 8> margins = m_designer.document().margins().inOrder();
    const QList<QLineEdit *> fields = marginFields();
    for (qsizetype i = 0; i < fields.size(); ++i)
        fields[i]->setText(LabelMargins::textOf(margins[size_t(i)]));
}

void frmPrint::Form_Load()
{
    Text3->setText(m_printer.deviceName());
    loadMargins();
    // An auto-exclusive button cannot be cleared by setChecked(false); the
    // designer always has exactly one of the two selected, so the pair ends right.
    const bool inches = m_designer.document().unit() == LabelDocument::Unit::Inches;
    Option4->setChecked(inches);
    Option5->setChecked(!inches);
    twipsPerUnit = Numbers::twipsPerUnit(Option4->isChecked() ? 1 : 0);
    showModule();
}

void frmPrint::Form_Unload()
{
    m_designer.document().setMargins(marginsFromFields(false));
    SettingsStore &store = m_designer.settings();
    m_designer.storeMargins();
    if (const QString error = store.flush(); !error.isEmpty())
        m_dialogs.messageBox(error, QStringLiteral("Quillmark"));
}

void frmPrint::Option4_Click()
{
    twipsPerUnit = Numbers::twipsPerUnit(Option4->isChecked() ? 1 : 0);
    showModule();
}
void frmPrint::Option5_Click()
{
    twipsPerUnit = Numbers::twipsPerUnit(Option4->isChecked() ? 1 : 0);
    showModule();
}

void frmPrint::Command1_Click()
{
    if (CommonDialog1.ShowPrinter())
        m_opening.media.reset();
    Text3->setText(m_printer.deviceName());
    showModule();
}

void frmPrint::CancelButton_Click()
{
    putBackDesign();
    loadMargins();
    unload(QDialog::Rejected);
}

void frmPrint::OKButton_Click()
{
    if (printOn(m_printer, Output::Printer))
        unload(QDialog::Accepted);
}

void frmPrint::reject() { CancelButton_Click(); }

void frmPrint::unload(int result)
{
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    done(result);
}

void frmPrint::closeEvent(QCloseEvent *event)
{
    // The close box keeps the edits (unlike Cancel, which reloads them first).
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    done(QDialog::Rejected);
    event->accept();
}
