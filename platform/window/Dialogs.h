#pragma once
#include "LabelProducts.h"

#include <QColor>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class PrinterObject;
class QDialog;
class QPrintPreviewWidget;
class QWidget;

// Every modal interaction with the user goes through one provider, which
// tests replace so that handlers run without a person.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // filter is in the "Description|pattern|Description|pattern" form; filterIndex
    // (1-based) is the entry to open on and receives the entry the user chose.
    // nullopt when the user cancelled.
    virtual std::optional<QString> openFile(const QString &filter, const QString &defaultExt,
                                            const QString &fileName, int &filterIndex)
        = 0;
    virtual std::optional<QString> saveFile(const QString &filter, const QString &defaultExt,
                                            const QString &fileName, int &filterIndex)
        = 0;
    // Printer setup: the printer, its paper and resolution; true when
    // confirmed (the printer changed).
    virtual bool printerDialog(PrinterObject &printer) = 0;
    // A message box with one OK button, whose icon tells a failure from
    // information, the texts and the caption staying as they are.
    enum class MessageIcon { Warning, Information };
    virtual void showMessage(const QString &text, const QString &title, MessageIcon icon) = 0;
    // A failure the program reports (a run that stopped, data refused, a file
    // that cannot be written or read): the warning icon.
    void messageBox(const QString &text, const QString &title)
    {
        showMessage(text, title, MessageIcon::Warning);
    }
    // Information with no failure in it (About): the information icon.
    void information(const QString &text, const QString &title)
    {
        showMessage(text, title, MessageIcon::Information);
    }
    // The program's own About box (name, version, licence, libraries), with
    // its icon; a provider without one shows it as information.
    virtual void aboutProgram(const QString &title, const QString &text) { information(text, title); }
    // A dialog of our own shown modally (the format options); returns its
    // result, QDialog::Accepted or Rejected. A provider that does not answer
    // it cancels it, as it does the colour picker (nullopt: cancelled).
    virtual int runDialog(QDialog &dialog);
    virtual std::optional<QColor> chooseColor(const QColor &initial, QWidget *parent);

    // The save dialog opened in a folder (empty: where the dialog likes).
    virtual std::optional<QString> saveFileIn(const QString &folder, const QString &filter,
                                              const QString &defaultExt, const QString &fileName,
                                              int &filterIndex)
    {
        (void)folder;
        return saveFile(filter, defaultExt, fileName, filterIndex);
    }
    // The picture save dialog: saveFileIn with a box for the pictures'
    // resolution ("Screen", 203, 300, 600, 1200 or any dots per inch in the
    // kept range), which opens on dpi (0: Screen) and leaves the choice there.
    virtual std::optional<QString> savePictureIn(const QString &folder, const QString &filter,
                                                 const QString &defaultExt, const QString &fileName,
                                                 int &filterIndex, int &dpi)
    {
        (void)dpi;
        return saveFileIn(folder, filter, defaultExt, fileName, filterIndex);
    }
    // The label product chooser; error says why the list is empty. nullopt
    // when the user cancelled.
    virtual std::optional<LabelProduct> chooseLabelProduct(const std::vector<LabelProduct> &products,
                                                           const QString &error)
    {
        (void)products, (void)error;
        return std::nullopt;
    }
    // Shows a document (the help page) in the desktop's viewer; false when
    // none could be started.
    virtual bool openDocument(const QString &path)
    {
        (void)path;
        return false;
    }
    // The sheet preview: the widget draws its pages when shown (or on
    // updatePreview()). true when the user asks to print what it shows.
    virtual bool printPreview(QPrintPreviewWidget &preview)
    {
        (void)preview;
        return false;
    }

    // Leaving a changed design: save it first, leave it unsaved, or stay. A
    // provider that does not answer stays.
    enum class SaveChanges { Save, Discard, Cancel };
    virtual SaveChanges askSaveChanges(const QString &text, const QString &title);
    // A warning before a run the user may still want: true to go on (OK),
    // false to stop (Cancel). A provider that does not answer goes on.
    virtual bool warnBeforeRun(const QString &text, const QString &title);

    // The real dialogs, shown to the user; the preview names printer's paper and device.
    static std::unique_ptr<DialogProvider> real(const PrinterObject &printer);
};

// The common-dialog control of a window: its settings and the file name persist
// from one use to the next, as the two commands that share it rely on.
class CommonDialog {
public:
    CommonDialog(DialogProvider &dialogs, PrinterObject &printer)
        : m_dialogs(dialogs)
        , m_printer(printer)
    {
    }

    QString Filter;
    QString DefaultExt;
    QString FileName;
    QString InitDir; // the folder the save dialog opens in
    int FilterIndex = 1;

    // On cancel FileName is left as it was. added ("Description|pattern") is one
    // more entry shown after Filter's for this use alone, opened on when
    // openOnAdded; choosing it leaves FilterIndex as it was.
    bool ShowOpen(const QString &added = {}, bool openOnAdded = false);
    // The save dialog for pictures: also their resolution, dots per inch (0: the screen's).
    bool ShowSavePicture(int &dpi);
    bool ShowPrinter();

private:
    DialogProvider &m_dialogs;
    PrinterObject &m_printer;
};
