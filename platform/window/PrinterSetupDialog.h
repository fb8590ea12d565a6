#pragma once
#include "PrinterObject.h"

class DialogProvider;

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Printer setup: the printer (a queue or the PDF file printer and its file),
// its paper and orientation, and its resolution where it offers more than one.
// It offers only what the printing run honours; OK makes the choice the
// printer's, Cancel leaves the printer as it was.
class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(PrinterObject &printer, DialogProvider &dialogs, QWidget *parent = nullptr);

    QComboBox *printers, *paper, *orientation, *resolution;
    QLineEdit *file;
    QPushButton *browse;
    QLabel *resolutionLabel;
    QDialogButtonBox *buttons;

    void accept() override;

private:
    void choosePrinter(int index);
    void fillChoices();

    PrinterObject &m_printer;
    DialogProvider &m_dialogs;
    PrinterObject m_choice; // what the dialog shows, made the printer's on OK
};
