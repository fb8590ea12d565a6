#include "DocumentHistory.h"

#include <QScopeGuard>
#include <QUndoCommand>

// One step: the whole document before and after it. A document is a few
// objects and texts, so a copy costs less than working out what to put back.
class DocumentHistory::Step : public QUndoCommand {
public:
    Step(DocumentHistory &history, const QString &name, LabelDocument before, bool joins)
        : QUndoCommand(name)
        , m_history(history)
        , m_before(std::move(before))
        , m_after(history.m_document)
        , m_joins(joins)
    {
    }

    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const Step *>(other);
        if (!next->m_joins)
            return false;
        m_after = next->m_after;
        // A field typed back to what it held is no step at all, and what comes
        // next must not run into the step before it.
        setObsolete(m_after == m_before);
        if (isObsolete())
            m_history.m_sealed = true;
        return true;
    }
    void undo() override { m_history.restore(m_before); }
    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_done)
            m_history.restore(m_after);
        m_done = true;
    }

private:
    DocumentHistory &m_history;
    const LabelDocument m_before;
    LabelDocument m_after;
    const bool m_joins; // an unnamed change that runs into the step before it
    bool m_done = false;
};

DocumentHistory::DocumentHistory(LabelDocument &document, Restore restore)
    : m_document(document)
    , m_restore(std::move(restore))
    , m_last(document)
{
    m_document.addObserver([this](LabelDocument::Part part) { changed(part); });
}

DocumentHistory::~DocumentHistory() = default;

void DocumentHistory::nameNext(const QString &step)
{
    m_nextName = step;
    seal();
}

void DocumentHistory::reset()
{
    m_stack.clear();
    m_last = m_document;
    m_nextName.clear();
    m_sealed = true;
}

void DocumentHistory::beginGroup(const QString &step)
{
    m_group = step;
    m_sealed = true;
}

void DocumentHistory::endGroup()
{
    m_group.clear();
    m_sealed = true;
}

QString DocumentHistory::partStep(LabelDocument::Part part)
{
    using Part = LabelDocument::Part;
    switch (part) {
    case Part::Size:
        return QStringLiteral("Change Label Size");
    case Part::Unit:
        return QStringLiteral("Change Unit");
    case Part::Margins:
        return QStringLiteral("Change Margins");
    case Part::LabelProduct:
        return QStringLiteral("Change Label Product");
    case Part::Source:
        return QStringLiteral("Change Data");
    case Part::Symbol:
        return QStringLiteral("Change Symbol");
    case Part::Pictures:
        return QStringLiteral("Change Picture Resolution");
    case Part::Objects:
        break;
    }
    return QStringLiteral("Change Objects");
}

void DocumentHistory::changed(LabelDocument::Part part)
{
    if (m_held || m_restoring) {
        m_last = m_document;
        return;
    }
    const bool grouped = !m_group.isEmpty();
    const bool named = !grouped && !m_nextName.isEmpty();
    const QString name = grouped ? m_group : named ? m_nextName : partStep(part);
    m_nextName.clear();
    const bool joins = !named && !m_sealed;
    LabelDocument before = m_last;
    m_last = m_document;
    // A named step stands alone; the controls' changes run on until sealed
    // (a step that comes to nothing seals as it goes).
    m_sealed = named;
    m_stack.push(new Step(*this, name, std::move(before), joins));
}

void DocumentHistory::restore(const LabelDocument &state)
{
    // However the restore ends, the history goes on from the document as it is.
    const auto after = qScopeGuard([this] {
        m_restoring = false;
        m_last = m_document;
        m_sealed = true;
    });
    m_restoring = true;
    m_restore(state);
}
