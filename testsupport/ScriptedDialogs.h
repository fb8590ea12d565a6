#pragma once
#include "Dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Answers the program's dialogs without a person, as a test or the benchmark
// scripts them, and records every message box instead of showing it.
// Handed to what shows the dialogs. A dialog left unscripted is cancelled.
class ScriptedDialogs : public DialogProvider {
public:
    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    std::optional<QString> openAnswer, saveAnswer;
    std::optional<int> pictureDpi; // the save dialog's resolution chosen (0: Screen); none: left as shown
    int shownDpi = -1; // what the save dialog's resolution showed
    int saveCalls = 0;
    QString askedName; // what the last file dialog was opened with
    int openedEntry = 0; // the filter entry the last open dialog showed first, from 1
    QString openedFilter; // the entries it showed
    std::function<bool(PrinterObject &)> onPrinterDialog; // returns whether the user confirmed
    std::function<int(QDialog &)> onDialog; // works the dialog, returns its result
    std::function<std::optional<QColor>(const QColor &)> onColor;
    struct Message {
        QString text, title;
        MessageIcon icon = MessageIcon::Warning;
    };
    QList<Message> messages;
    // The texts of the message boxes shown so far, each as "title: text" when asked.
    QStringList texts(bool withTitles = false) const;
    QString allText() const { return texts().join(u'\n'); }
    QString opened; // the document shown in the desktop's viewer
    bool browser = true; // whether the desktop has a viewer that shows it
    SaveChanges saveChangesAnswer = SaveChanges::Cancel;
    QStringList questions; // asked before a changed design is left
    QStringList warnings; // shown before a run, answered with goOn
    bool goOn = true;
    int previews = 0; // sheet previews opened (each closed at once, nothing printed)
    QString labelProduct; // what the label product chooser is searched for; empty: cancelled

    std::optional<QString> openFile(const QString &filter, const QString &ext, const QString &name,
                                    int &) override;
    std::optional<QString> saveFile(const QString &filter, const QString &ext, const QString &name,
                                    int &) override;
    std::optional<QString> savePictureIn(const QString &folder, const QString &filter, const QString &ext,
                                         const QString &name, int &index, int &dpi) override;
    bool printerDialog(PrinterObject &printer) override
    {
        return onPrinterDialog && onPrinterDialog(printer);
    }
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override
    {
        messages.append({.text = text, .title = title, .icon = icon});
    }
    int runDialog(QDialog &dialog) override;
    SaveChanges askSaveChanges(const QString &text, const QString &) override
    {
        questions << text;
        return saveChangesAnswer;
    }
    bool warnBeforeRun(const QString &text, const QString &) override
    {
        warnings << text;
        return goOn;
    }
    std::optional<LabelProduct> chooseLabelProduct(const std::vector<LabelProduct> &products,
                                                   const QString &) override
    {
        const auto found = LabelProducts::search(products, labelProduct);
        if (labelProduct.isEmpty() || found.empty())
            return std::nullopt;
        return *found.front();
    }
    bool printPreview(QPrintPreviewWidget &) override
    {
        ++previews;
        return false;
    }
    bool openDocument(const QString &path) override
    {
        opened = path;
        return browser;
    }
    std::optional<QColor> chooseColor(const QColor &initial, QWidget *) override
    {
        return onColor ? onColor(initial) : std::nullopt;
    }
};
