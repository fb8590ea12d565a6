#include "OutputCommands.h"

void OutputCommands::mnuSave_Click() {}
void OutputCommands::mnuCopy_Click() {}
void OutputCommands::mnuAbout_Click() {}

void OutputCommands::Toolbar1_ButtonClick(int buttonIndex)
{
    switch (buttonIndex) {
    case 1: mnuCopy_Click(); break;
    case 2: mnuSave_Click(); break;
    case 3: mnuPrint_Click(); break;
    default: break;
    }
}
