#pragma once
#include "LabelDocument.h"

#include <QString>
#include <QUndoStack>
#include <functional>

// The steps a label document went through, to undo and redo. Every change the
// document tells becomes a step, whoever made it: the canvas and the panel
// name theirs beforehand ("Move Text"); the other controls' changes are
// named after what they changed, and run into one step until the step is
// sealed (the window seals it when the focus moves on). Undo and redo hand a
// whole earlier document to restore, which shows it in every control.
class DocumentHistory {
public:
    using Restore = std::function<void(const LabelDocument &state)>;

    DocumentHistory(LabelDocument &document, Restore restore);
    ~DocumentHistory();
    DocumentHistory(const DocumentHistory &) = delete;
    DocumentHistory &operator=(const DocumentHistory &) = delete;

    QUndoStack &stack() { return m_stack; }
    // The next change the document tells is a step of its own with this name.
    void nameNext(const QString &step);
    // The step being made is finished: the next change starts another.
    void seal()
    {
        if (m_group.isEmpty())
            m_sealed = true;
    }
    // Until endGroup(), every change runs into one step of this name, whatever
    // names or seals come between (a dialog's settings, kept or cancelled as a
    // whole): a group that ends where it began leaves no step.
    void beginGroup(const QString &step);
    void endGroup();
    // No steps any more: the document as it stands is where the history starts
    // (a design opened or begun), and the saved state.
    void reset();
    // While held, changes are not steps (a design being shown in the controls).
    void hold(bool held) { m_held = held; }
    bool restoring() const { return m_restoring; }
    // The name a change of part has when nobody named it.
    static QString partStep(LabelDocument::Part part);

private:
    class Step;
    void changed(LabelDocument::Part part);
    void restore(const LabelDocument &state);

    LabelDocument &m_document;
    Restore m_restore;
    QUndoStack m_stack;
    LabelDocument m_last; // the document after the newest step
    QString m_nextName;
    QString m_group;
    bool m_sealed = true;
    bool m_held = false;
    bool m_restoring = false;
};
