#pragma once
#include "DataSourceControls.h"

class LabelDocument;

// A document's data source as the data-value functions read it, afresh at
// every call, so that they follow the document as it is edited.
class DocumentSource : public DataSourceControls {
public:
    // standardInput: the import data is the process's standard input.
    explicit DocumentSource(const LabelDocument &document, bool standardInput = false)
        : m_document(document)
        , m_standardInput(standardInput)
    {
    }
    bool textSelected() const override;
    bool sequenceSelected() const override;
    bool importSelected() const override;
    QString fixedText() const override;
    QString sequenceStart() const override;
    QString sequenceEnd() const override;
    QString importFileName() const override;
    QString prefix() const override;
    QString suffix() const override;
    ImportColumns importColumns() const override;
    bool importFromStandardInput() const override { return m_standardInput; }

private:
    const LabelDocument &m_document;
    bool m_standardInput;
};
