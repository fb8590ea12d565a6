#include "OutputCommands.h"
#include "DesignerView.h"
#include "Dialogs.h"
#include "HelpDocument.h"
#include "HelpWindow.h"
#include "LabelDocument.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "Numbers.h"
#include "PictureNames.h"
#include "ProgressWindow.h"
#include "QuillError.h"
#include "SaveRun.h"
#include "ScreenMetrics.h"
#include "SymbolFitError.h"
#include "Vantrel.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QSignalBlocker>

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
    int dpi = m_view.vantrel().design().pictureDpi();
    dialog.ShowSavePicture(dpi);
    const QString chosenName = dialog.FileName;
    if (chosenName.isEmpty())
        return;
    // Kept with the design, as the other choices that make its pictures.
    m_view.vantrel().design().setPictureDpi(dpi);
    const LabelDocument &document = m_view.document();
    m_view.document().setPictureDpi(dpi);
    // The next save opens where this one went, still with no name.
    dialog.InitDir = QFileInfo(chosenName).absolutePath();

    Module1 &data = m_view.module1();
    int written = 0;
    QString ending;
    Vantrel &preview = m_view.vantrel();
    // Pictures whose values bring no title of their own keep the one the preview shows.
    LabelRenderer renderer(document, preview.Title());
    // The preview shows the last value written, and the window hears of the run once, by its status line.
    const auto showLast = qScopeGuard([&] {
        const QSignalBlocker quiet(&preview);
        preview.setCaption(renderer.symbol().Caption());
        preview.setTitle(renderer.symbol().Title());
    });
    try {
        SaveRun run(document, renderer, chosenName);
        renderer.show({preview.Caption(), std::nullopt});
        const QString warning = run.moduleWarning();
        if (!warning.isEmpty() && !m_dialogs.warnBeforeRun(warning, kSaveTitle))
            return;
        data.checkRun();
        ProgressWindow progress(kSaveTitle, [](long long done, std::optional<long long> total) {
            return RunProgress::counted(done, total, QStringLiteral("pictures")) + (total ? "" : " saved");
        });
        progress.setExtent([&data] { return data.extent(); });
        // Between two files, so that a cancelled run leaves whole files only.
        run.run(data, [&] {
            written = run.filesWritten();
            progress.step(written);
        });
        written = run.filesWritten();
    } catch (const RunCancelled &) {
        data.endRun();
        ending = QStringLiteral("Saving cancelled: ");
    } catch (const QuillError &error) {
        data.endRun();
        ending = QStringLiteral("Saving stopped: ");
        m_dialogs.messageBox(error.description(), kSaveTitle);
    } catch (const std::exception &error) {
        data.endRun();
        ending = QStringLiteral("Saving stopped: ");
        m_dialogs.messageBox(
            QStringLiteral("The pictures were not all saved.\n%1").arg(QString::fromLocal8Bit(error.what())),
            kSaveTitle);
    }
    m_lastSummary = ending + SaveRun::picturesIn(written, dialog.InitDir) + (ending.isEmpty() ? "" : " kept");
    m_view.showStatus(m_lastSummary);
}

std::optional<ModuleSize> OutputCommands::pictureModule() const
{
    const QString name = PictureNames::saveDefaultExt();
    const SymbolDesign &symbol = m_view.vantrel().design();
    try {
        const LabelDocument &document = m_view.document();
        const QSize pixels
            = SaveRun::picturePixels(name, document.width(), document.height(), symbol.pictureDpi());
        return SaveRun::pictureModule(symbol, name, pixels);
    } catch (const QuillError &) {
        return std::nullopt; // too large for a picture at all
    }
}

void OutputCommands::mnuCopy_Click()
{
    try {
        m_view.vantrel().CopyToClipboard();
    } catch (const QuillError &error) {
        m_dialogs.messageBox(
            SymbolFitError::describe(error, m_view.document().unit() == LabelDocument::Unit::Centimetres),
            kCopyTitle);
    }
}

void OutputCommands::mnuAbout_Click()
{
    m_dialogs.information(QStringLiteral("Vantrel control version 5.1.5"),
                          QGuiApplication::applicationDisplayName());
}

void OutputCommands::mnuHelp_Click()
{
    const QString first = HelpDocument::manualPath();
    if (first.isEmpty()) {
        m_dialogs.messageBox(HelpDocument::notInstalled(), QStringLiteral("Quillmark help"));
        return;
    }
    try {
        if (m_dialogs.openDocument(HelpDocument::writeUserPage()))
            return;
    } catch (const QuillError &) {
        // A cache that cannot take the pages leaves the window below.
    }
    HelpWindow window(first);
    m_dialogs.runDialog(window);
}

void OutputCommands::Toolbar1_ButtonClick(int buttonIndex)
{
    switch (buttonIndex) {
    case 1:
        mnuCopy_Click();
        break;
    case 2:
        mnuSave_Click();
        break;
    case 3:
        mnuPrint_Click();
        break;
    default:
        break;
    }
}
