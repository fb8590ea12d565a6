#pragma once
#include "DataSourceControls.h"
#include "DesignerView.h"

class Form1;

// The data panel's controls as the data-value functions read them.
class Form1DataSource : public DataSourceControls {
public:
    explicit Form1DataSource(const Form1 &form)
        : m_form(form)
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

private:
    const Form1 &m_form;
};

// The designer as the output commands and the print dialog use it.
class Form1View : public DesignerView {
public:
    explicit Form1View(Form1 &form)
        : m_form(form)
    {
    }
    bool fixedTextSelected() const override;
    bool inchesSelected() const override;
    bool centimetresSelected() const override;
    LabelDocument &document() override;
    Vantrel &vantrel() override;
    Module1 &module1() override;
    CommonDialog &commonDialog() override;
    SettingsStore &settings() override;
    void storeMargins() override;
    void setSymbolSize(bool inches, const QString &width, const QString &height) override;
    void showStatus(const QString &line) override;
    void setLabelProduct(const QString &name) override;

private:
    Form1 &m_form;
};
