#include "DesignerView.h"
#include "OutputCommands.h"
#include "frmPrint.h"

#include <QPointer>
#include <QScopeGuard>

struct OutputCommands::PrintState {
    QPointer<frmPrint> dialog;
};

OutputCommands::OutputCommands(DesignerView &view, DialogProvider &dialogs, PrinterObject &printer)
    : m_view(view)
    , m_dialogs(dialogs)
    , m_printer(printer)
    , m_print(std::make_unique<PrintState>())
{
}
OutputCommands::~OutputCommands() = default;

void OutputCommands::mnuPrint_Click()
{
    // Loaded anew at every opening; without an owner window, as the designer expects.
    m_view.beginStep(QStringLiteral("Change Print Settings"));
    const auto ended = qScopeGuard([this] { m_view.endStep(); });
    frmPrint dialog(m_view, m_dialogs, m_printer);
    m_print->dialog = &dialog;
    dialog.exec();
    m_print->dialog = nullptr;
}

void OutputCommands::closePrintDialog()
{
    if (m_print->dialog && !m_print->dialog->isUnloaded())
        m_print->dialog->close();
}
