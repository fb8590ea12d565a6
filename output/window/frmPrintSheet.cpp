// The print dialog's row beside its margin settings: label products, the
// sheet preview and a partly used first sheet; and the run that OK and the
// preview share, with its progress and the line that says what it did.
#include "DesignerView.h"
#include "Dialogs.h"
#include "DryRunPrinter.h"
#include "LabelProducts.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "Numbers.h"
#include "PrintRun.h"
#include "PrinterObject.h"
#include "ProgressWindow.h"
#include "QuillError.h"
#include "Vantrel.h"
#include "frmPrint.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSpinBox>
#include <cmath>

void frmPrint::buildSheetRow()
{
    LabelProductButton = new QPushButton(QStringLiteral("Label product..."), this);
    place(LabelProductButton, 120, 3300, 2412, 375);
    StartLabelCaption = new QLabel(QStringLiteral("Start at label:"), this);
    place(StartLabelCaption, 2640, 3360, 1992, 252);
    StartLabel = new QSpinBox(this);
    place(StartLabel, 4680, 3330, 852, 288);
    StartLabel->setRange(1, 9999);
    StartLabelCaption->setBuddy(StartLabel);
    CopiesCaption = new QLabel(QStringLiteral("Copies of each label:"), this);
    place(CopiesCaption, 2640, 3780, 1992, 252);
    Copies = new QSpinBox(this);
    place(Copies, 4680, 3750, 852, 288);
    Copies->setRange(1, PrintRun::kMostCopies);
    CopiesCaption->setBuddy(Copies);
    // The fixed text fills its page with the one label whatever the count.
    Copies->setEnabled(m_designer.document().source().kind != DataSource::Kind::Text);
    CopiesCaption->setEnabled(Copies->isEnabled());
    ModuleLabel = new QLabel(this);
    place(ModuleLabel, 120, 4200, 6732, 252);
    LabelProductName = new QLabel(this);
    place(LabelProductName, 120, 4500, 6732, 252);
    PreviewButton = new QPushButton(QStringLiteral("Preview"), this);
    place(PreviewButton, 5640, 3300, 1215, 375);
    for (QPushButton *button : {LabelProductButton, PreviewButton})
        button->setAutoDefault(false);
    connect(LabelProductButton, &QPushButton::clicked, this, &frmPrint::LabelProductButton_Click);
    connect(PreviewButton, &QPushButton::clicked, this, &frmPrint::PreviewButton_Click);
}

void frmPrint::LabelProductButton_Click()
{
    QString error;
    const std::vector<LabelProduct> products = LabelProducts::load(LabelProducts::defaultFolder(), &error);
    if (const auto chosen = m_dialogs.chooseLabelProduct(products, error))
        useLabelProduct(*chosen);
}

// The numbers are given in the unit this dialog shows. The printing run reads
// the designer's width and height in that unit too, so the designer is
// switched to it first: both then show the same unit and the designer's
// stored size is the label's.
void frmPrint::useLabelProduct(const LabelProduct &product)
{
    m_opening.productUsed = true;
    const LabelProductFill fill = LabelProducts::fill(product, twipsPerUnit);
    m_designer.setLabelProduct(QStringLiteral("%1 %2").arg(product.brand, product.part));
    m_designer.setSymbolSize(twipsPerUnit == Numbers::kTwipsPerInch, Numbers::fixedFormat(fill.width),
                             Numbers::fixedFormat(fill.height));
    const auto text = [](double value) { return Numbers::amountText(value, 2); };
    const QList<QPair<QLineEdit *, double>> fields{
        {Text1, fill.labelLeft}, {Text2, fill.labelRight}, {Text4, fill.labelTop}, {Text5, fill.labelBottom},
        {Text6, fill.pageLeft},  {Text7, fill.pageRight},  {Text8, fill.pageTop},  {Text9, fill.pageBottom}};
    for (const auto &[field, value] : fields)
        field->setText(text(value));
    const QString described = product.description.isEmpty()
        ? product.name()
        : product.name() + QStringLiteral(": ") + product.description;
    LabelProductName->setText(
        QStringLiteral("%1, %2 a page").arg(described).arg(product.columns * product.rows));
    LabelProductName->setToolTip(LabelProductName->text()); // a long description is cut off
    // The product's paper; for a roll or a single label, that is one label.
    const QPageSize paper = product.paper();
    try {
        if (!m_opening.media)
            m_opening.media = std::pair(m_printer.media(), m_printer.orientation());
        m_printer.setMedia(paper, QPageLayout::Portrait);
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description()
                                 + QStringLiteral("\nThe label size and margins are filled in; choose the "
                                                  "paper in \"Printer setup\"."),
                             QStringLiteral("Label product"));
    }
}

// Cancel: what a label product changed in the designer and the printer, and
// the margins the preview or a failed OK wrote, are as the dialog found them.
void frmPrint::putBackDesign()
{
    if (m_opening.productUsed) {
        // The size itself first: boxes that held no number put back none.
        m_designer.document().setSize(m_opening.widthTwips, m_opening.heightTwips);
        m_designer.setSymbolSize(m_opening.inches, m_opening.size.first, m_opening.size.second);
        m_designer.setLabelProduct(m_opening.labelProduct);
        try {
            if (m_opening.media)
                m_printer.setMedia(m_opening.media->first, m_opening.media->second);
        } catch (const QuillError &error) {
            m_dialogs.messageBox(error.description(), QStringLiteral("Label product"));
        }
    }
    m_designer.document().setMargins(m_opening.margins);
}

// The pages as OK would print them, drawn by the same run; the component
// shows what it showed before, and nothing is printed or stored.
void frmPrint::PreviewButton_Click()
{
    PrinterObject &printer = m_printer;
    QPrinter *pages = nullptr;
    try {
        pages = &printer.qprinter(); // the default queue, asked of the print server on first use
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), PrintRun::errorTitle());
        return;
    }
    // The whole run is made first on no paper: a sheet that cannot print is
    // said before the preview opens, not shown as the pages before the fault
    // with a Print button behind the message.
    DryRunPrinter check(printer);
    if (!printOn(check, Output::Check))
        return;
    QPrintPreviewWidget preview(pages);
    connect(&preview, &QPrintPreviewWidget::paintRequested, this, [this, &printer] {
        printer.setPreview(true);
        const auto off = qScopeGuard([&printer] { printer.setPreview(false); });
        printOn(printer, Output::Preview);
    });
    const bool print = m_dialogs.printPreview(preview);
    if (print)
        OKButton_Click();
}

void frmPrint::showModule()
{
    LabelRenderer renderer(m_designer.document(), m_designer.vantrel().Title());
    renderer.show({m_designer.vantrel().Caption(), std::nullopt});
    PrintRun run(m_designer.document(), renderer, m_designer.module1(), m_printer);
    run.setMarginUnit(unit());
    const std::optional<ModuleSize> module = run.moduleOnPrinter();
    ModuleLabel->setText(module ? module->onDevice() : QString());
}

LabelDocument::Unit frmPrint::unit() const
{
    return twipsPerUnit == Numbers::kTwipsPerInch ? LabelDocument::Unit::Inches
                                                  : LabelDocument::Unit::Centimetres;
}

LabelMargins frmPrint::marginsFromFields(bool named) const
{
    std::array<double, 8> margins{};
    const QList<QLineEdit *> fields = marginFields();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        margins[size_t(i)] = LabelMargins::amountOf(fields[i]->text());
        if (named && std::isnan(margins[size_t(i)]))
            PrintRun::fieldNumber(PrintRun::marginField(int(i)), fields[i]->text());
    }
    return LabelMargins::fromOrder(margins);
}

bool frmPrint::printOn(LabelPrinter &printer, Output output)
{
    const bool preview = output != Output::Printer;
    try {
        m_designer.document().setMargins(marginsFromFields(true));
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), PrintRun::errorTitle());
        return false;
    }
    Vantrel &shown = m_designer.vantrel();
    LabelRenderer renderer(m_designer.document(), shown.Title());
    renderer.show({shown.Caption(), std::nullopt});
    PrintRun run(m_designer.document(), renderer, m_designer.module1(), printer);
    run.setMarginUnit(unit());
    const QString warning = run.moduleWarning();
    // Stopping leaves the dialog open, for another printer or size.
    if (!preview && !warning.isEmpty() && !m_dialogs.warnBeforeRun(warning, windowTitle()))
        return false;
    run.setFirstLabel(StartLabel->value());
    run.setCopies(Copies->value());
    run.setOutlines(output == Output::Preview);
    const auto labelsOnPages = [&run](long long labels) { return run.labelsOnPages(labels); };
    // Each value makes its copies: the labels to come are the values' count times those.
    const int copies = Copies->value();
    const auto labelsOf = [&run, copies](long long labels, std::optional<long long> values) {
        const long long pages = run.pagesStarted();
        const QString pagesText = RunProgress::counted(pages, std::nullopt, pages == 1 ? "page" : "pages");
        const auto total = values ? std::optional(*values * copies) : std::nullopt;
        return RunProgress::counted(labels, total, "labels") + QStringLiteral(" on %1").arg(pagesText);
    };
    ProgressWindow progress(preview ? QStringLiteral("Preview") : QStringLiteral("Printing"), labelsOf);
    if (m_designer.document().source().kind != DataSource::Kind::Text)
        progress.setExtent([this] { return m_designer.module1().extent(); });
    run.setProgress(&progress);
    const bool printed = run.execute();
    if (!preview) {
        // The preview shows the last value printed; the window hears of the run once, by its status line.
        const QSignalBlocker quiet(&shown);
        if (const std::optional<LabelRecord> last = run.lastRecord()) {
            shown.setCaption(last->value);
            if (last->title)
                shown.setTitle(*last->title);
        }
    }
    if (!printed && !run.cancelled())
        m_dialogs.messageBox(run.error(), PrintRun::errorTitle());
    if (preview)
        return printed;
    const QString to = printer.deviceName();
    m_summary = printed   ? QStringLiteral("%1 to %2").arg(labelsOnPages(run.labelsDrawn()), to)
        : run.cancelled() ? QStringLiteral("Printing cancelled: nothing was sent to %1").arg(to)
                          : QStringLiteral("Printing failed: nothing was sent to %1").arg(to);
    m_designer.showStatus(m_summary);
    return printed;
}
