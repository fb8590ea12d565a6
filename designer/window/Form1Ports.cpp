#include "Form1Ports.h"
#include "ClickCheckBox.h"
#include "DocumentHistory.h"
#include "Form1.h"
#include "LabelEditor.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

void Form1View::storeMargins() { m_form.storeMargins(); }
LabelDocument &Form1View::document() { return m_form.document(); }
Vantrel &Form1View::vantrel() { return *m_form.Vantrel1; }
Module1 &Form1View::module1() { return m_form.module1(); }
CommonDialog &Form1View::commonDialog() { return m_form.CommonDialog1; }
SettingsStore &Form1View::settings() { return m_form.settings(); }
void Form1View::setSymbolSize(bool inches, const QString &width, const QString &height)
{
    m_form.setSymbolSize(inches, width, height);
}
std::pair<QString, QString> Form1View::symbolSizeTexts()
{
    return {m_form.Text5->text(), m_form.Text6->text()};
}
void Form1View::showStatus(const QString &line) { m_form.showStatus(line); }
void Form1View::setLabelProduct(const QString &name) { m_form.setLabelProduct(name); }
void Form1View::beginStep(const QString &name) { m_form.editor().history().beginGroup(name); }
void Form1View::endStep() { m_form.editor().history().endGroup(); }
