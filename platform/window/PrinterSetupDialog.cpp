#include "PrinterSetupDialog.h"
#include "Dialogs.h"
#include "PrintServer.h"
#include "QuillError.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kPdfPrinter = QStringLiteral("PDF file printer");
}

PrinterSetupDialog::PrinterSetupDialog(PrinterObject &printer, DialogProvider &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_printer(printer)
    , m_dialogs(dialogs)
{
    setWindowTitle(QStringLiteral("Printer setup"));
    // A print server that does not answer leaves the PDF file printer to choose.
    QString trouble;
    PrintServer::Queues queues;
    try {
        queues = PrintServer::queues();
    } catch (const QuillError &error) {
        trouble = error.description();
    }
    printers = new QComboBox(this);
    printers->addItems(queues.names);
    printers->addItem(kPdfPrinter);
    file = new QLineEdit(this);
    browse = new QPushButton(QStringLiteral("Browse..."), this);
    paper = new QComboBox(this);
    orientation = new QComboBox(this);
    orientation->addItem(QStringLiteral("Portrait"), int(QPageLayout::Portrait));
    orientation->addItem(QStringLiteral("Landscape"), int(QPageLayout::Landscape));
    resolution = new QComboBox(this);
    resolutionLabel = new QLabel(QStringLiteral("Resolution:"), this);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(file);
    fileRow->addWidget(browse);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Printer:"), printers);
    form->addRow(QStringLiteral("PDF file:"), fileRow);
    form->addRow(QStringLiteral("Paper size:"), paper);
    form->addRow(QStringLiteral("Orientation:"), orientation);
    form->addRow(resolutionLabel, resolution);
    form->addRow(buttons);

    // The dialog starts from the printer's current choice.
    const bool queue = trouble.isEmpty() && !printer.queueName().isEmpty();
    try {
        if (queue)
            m_choice.selectQueue(printer.queueName());
        else
            m_choice.selectPdfFile(printer.pdfFile());
    } catch (const QuillError &error) {
        trouble = error.description();
        m_choice.selectPdfFile(printer.pdfFile());
    }
    if (queue || printer.isPdfFilePrinter()) {
        try {
            m_choice.setMedia(printer.media(), printer.orientation());
        } catch (const QuillError &) {
            // paper the printer does not list: the dialog offers its default
        }
        if (m_choice.resolutions().contains(printer.resolution()))
            m_choice.setResolution(printer.resolution());
    }
    file->setText(printer.pdfFile());
    printers->setCurrentIndex(m_choice.isPdfFilePrinter() ? printers->count() - 1
                                                          : qMax(0, printers->findText(printer.queueName())));
    if (!trouble.isEmpty())
        m_dialogs.messageBox(trouble, windowTitle());
    fillChoices();

    connect(printers, &QComboBox::activated, this, &PrinterSetupDialog::choosePrinter);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("PDF file"), file->text(),
                                                          QStringLiteral("PDF files (*.pdf)"));
        if (!name.isEmpty())
            file->setText(name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? name : name + ".pdf");
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrinterSetupDialog::reject);
}

// Another printer brings its own paper and resolution.
void PrinterSetupDialog::choosePrinter(int index)
{
    try {
        if (index == printers->count() - 1)
            m_choice.selectPdfFile(file->text());
        else
            m_choice.selectQueue(printers->itemText(index));
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), windowTitle());
        m_choice.selectPdfFile(file->text());
        printers->setCurrentIndex(printers->count() - 1);
    }
    fillChoices();
}

void PrinterSetupDialog::fillChoices()
{
    const bool pdf = m_choice.isPdfFilePrinter();
    file->setEnabled(pdf);
    browse->setEnabled(pdf);
    paper->clear();
    for (const QPageSize &size : m_choice.mediaSizes()) {
        paper->addItem(size.name(), QVariant::fromValue(size));
        if (size.isEquivalentTo(m_choice.media()))
            paper->setCurrentIndex(paper->count() - 1);
    }
    orientation->setCurrentIndex(orientation->findData(int(m_choice.orientation())));
    resolution->clear();
    for (int dpi : m_choice.resolutions()) {
        resolution->addItem(QStringLiteral("%1 dpi").arg(dpi), dpi);
        if (dpi == m_choice.resolution())
            resolution->setCurrentIndex(resolution->count() - 1);
    }
    resolution->setVisible(resolution->count() > 1);
    resolutionLabel->setVisible(resolution->count() > 1);
}

void PrinterSetupDialog::accept()
{
    try {
        const bool pdf = printers->currentIndex() == printers->count() - 1;
        if (pdf)
            m_printer.selectPdfFile(file->text().trimmed());
        else
            m_printer.selectQueue(printers->currentText());
        m_printer.setMedia(paper->currentData().value<QPageSize>(),
                           QPageLayout::Orientation(orientation->currentData().toInt()));
        if (resolution->count() > 0)
            m_printer.setResolution(resolution->currentData().toInt());
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), windowTitle());
        return;
    }
    QDialog::accept();
}
