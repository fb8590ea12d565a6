#include "OutputCommands.h"
#include "DesignerView.h"
#include "Dialogs.h"
#include "Module1.h"
#include "Numbers.h"
#include "PictureNames.h"
#include "QuillError.h"
#include "SaveRun.h"
#include "ScreenMetrics.h"
#include "SymbolFitError.h"
#include "Vantrel.h"

#include <QGuiApplication>

namespace {
const QString kSaveTitle = QStringLiteral("Save picture");
const QString kCopyTitle = QStringLiteral("Copy");
} // namespace

void OutputCommands::mnuSave_Click()
{
    CommonDialog &dialog = m_view.commonDialog();
    dialog.Filter = PictureNames::saveFilter();
    dialog.DefaultExt = PictureNames::saveDefaultExt();
    dialog.FileName = QString();
    dialog.ShowSave();
    const QString chosenName = dialog.FileName;
    if (chosenName.isEmpty())
        return;

    Module1 &data = m_view.module1();
    try {
        std::int32_t pngWidth = 0;
        std::int32_t pngHeight = 0;
        if (PictureNames::formatOf(chosenName) == PictureNames::Format::Png) {
            // Widths convert with the horizontal twips per pixel, heights with the vertical.
            try {
                pngWidth = Numbers::toInt32(m_view.symbolWidth() / ScreenMetrics::twipsPerPixelX());
                pngHeight = Numbers::toInt32(m_view.symbolHeight() / ScreenMetrics::twipsPerPixelY());
            } catch (const QuillError &error) {
                throw QuillError(QStringLiteral("The symbol is too large for a PNG picture (%1).")
                                     .arg(error.description()));
            }
        }
        data.checkRun();
        SaveRun run(m_view.vantrel(), chosenName, pngWidth, pngHeight, m_view.option5Selected());
        run.run(data.getFirstData(), [&data] { return data.getNextData(); });
    } catch (const QuillError &error) {
        data.importFile().close(); // a stopped run would otherwise keep the import file open
        DialogProvider::current().messageBox(error.description(), kSaveTitle);
    } catch (const std::exception &error) {
        data.importFile().close();
        DialogProvider::current().messageBox(
            QStringLiteral("The pictures were not all saved.\n%1").arg(QString::fromLocal8Bit(error.what())),
            kSaveTitle);
    }
}

void OutputCommands::mnuCopy_Click()
{
    try {
        m_view.vantrel().CopyToClipboard();
    } catch (const QuillError &error) {
        DialogProvider::current().messageBox(SymbolFitError::describe(error, m_view.option5Selected()), kCopyTitle);
    }
}

void OutputCommands::mnuAbout_Click()
{
    DialogProvider::current().messageBox(QStringLiteral("Vantrel control version 5.1.5"),
                                         QGuiApplication::applicationDisplayName());
}

void OutputCommands::Toolbar1_ButtonClick(int buttonIndex)
{
    switch (buttonIndex) {
    case 1: mnuCopy_Click(); break;
    case 2: mnuSave_Click(); break;
    case 3: mnuPrint_Click(); break;
    default: break;
    }
}
