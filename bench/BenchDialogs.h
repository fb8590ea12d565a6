#pragma once
#include "Dialogs.h"

#include <QStringList>

// Answers the program's dialogs without a person: the save dialog gets a fixed
// file name, the open and printer dialogs are cancelled, and every message box
// is recorded instead of shown, so that a failing run shows up in the figures
// rather than blocking the benchmark. Installed for its lifetime.
class BenchDialogs : public DialogProvider {
public:
    BenchDialogs();
    ~BenchDialogs() override;
    BenchDialogs(const BenchDialogs &) = delete;
    BenchDialogs &operator=(const BenchDialogs &) = delete;

    void setSaveAnswer(const QString &path) { m_saveAnswer = path; }
    // "title: text" of every message box shown so far.
    const QStringList &messages() const { return m_messages; }

    std::optional<QString> openFile(const QString &filter, const QString &defaultExt,
                                    const QString &fileName, int &filterIndex) override;
    std::optional<QString> saveFile(const QString &filter, const QString &defaultExt,
                                    const QString &fileName, int &filterIndex) override;
    bool printerDialog(PrinterObject &printer) override;
    void messageBox(const QString &text, const QString &title) override;

private:
    QString m_saveAnswer;
    QStringList m_messages;
};
