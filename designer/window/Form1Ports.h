#pragma once
#include "DesignerView.h"

class Form1;

// The designer as the output commands and the print dialog use it.
class Form1View : public DesignerView {
public:
    explicit Form1View(Form1 &form)
        : m_form(form)
    {
    }
    LabelDocument &document() override;
    Vantrel &vantrel() override;
    Module1 &module1() override;
    CommonDialog &commonDialog() override;
    SettingsStore &settings() override;
    void storeMargins() override;
    void setSymbolSize(bool inches, const QString &width, const QString &height) override;
    std::pair<QString, QString> symbolSizeTexts() override;
    void showStatus(const QString &line) override;
    void setLabelProduct(const QString &name) override;
    void beginStep(const QString &name) override;
    void endStep() override;

private:
    Form1 &m_form;
};
