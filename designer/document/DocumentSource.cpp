#include "DocumentSource.h"
#include "LabelDocument.h"

using Kind = DataSource::Kind;

bool DocumentSource::textSelected() const { return m_document.source().kind == Kind::Text; }
bool DocumentSource::sequenceSelected() const { return m_document.source().kind == Kind::Sequence; }
bool DocumentSource::importSelected() const { return m_document.source().kind == Kind::ImportFile; }
QString DocumentSource::fixedText() const { return m_document.source().text; }
QString DocumentSource::sequenceStart() const { return m_document.source().sequenceStart; }
QString DocumentSource::sequenceEnd() const { return m_document.source().sequenceEnd; }
QString DocumentSource::importFileName() const { return m_document.source().importFile; }
QString DocumentSource::prefix() const { return m_document.source().prefix; }
QString DocumentSource::suffix() const { return m_document.source().suffix; }
ImportColumns DocumentSource::importColumns() const { return m_document.source().columns; }
