#include "OutputCommands.h"

struct OutputCommands::PrintState {};

OutputCommands::OutputCommands(DesignerView &view) : m_view(view), m_print(std::make_unique<PrintState>()) {}
OutputCommands::~OutputCommands() = default;
void OutputCommands::mnuPrint_Click() {}
bool OutputCommands::isPrintDialogOpen() const { return false; }
void OutputCommands::closePrintDialog() {}
