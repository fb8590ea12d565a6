// The symbol's size in inches or centimetres, kept in twips, and the layout
// that keeps it centred in the preview.
#include "Form1.h"
#include "Numbers.h"
#include "OutputCommands.h"
#include "ScreenMetrics.h"
#include "StatusLine.h"
#include "StoredValue.h"
#include "Vantrel.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>

#include <cmath>
#include <exception>

void Form1::Option4_Click()
{
    m_document.setUnit(LabelDocument::Unit::Inches);
    unitSwitch();
}

void Form1::Option5_Click()
{
    m_document.setUnit(LabelDocument::Unit::Centimetres);
    unitSwitch();
}

void Form1::unitSwitch()
{
    // Reading the two-decimal texts back rounds the stored size to hundredths
    // of the new unit, on purpose: what is stored is what is shown.
    const double perUnit = m_document.twipsPerUnit();
    Text5->setText(Numbers::fixedFormat(m_document.width() / perUnit));
    Text6->setText(Numbers::fixedFormat(m_document.height() / perUnit));
    bool cancel = false;
    Text5_Validate(cancel);
    Text6_Validate(cancel);
}

// A label product's size, in the unit the print dialog shows.
void Form1::setSymbolSize(bool inches, const QString &width, const QString &height)
{
    (inches ? Option4 : Option5)->setChecked(true);
    Text5->setText(width);
    Text6->setText(height);
    bool cancel = false;
    Text5_Validate(cancel);
    Text6_Validate(cancel);
}

void Form1::symbolSizeFromBox(QLineEdit *box, bool width)
{
    // A text that is no number in the user's format (or one too large to
    // draw) leaves the stored size as it was; the box keeps what was typed.
    double amount = 0.0;
    if (!Numbers::tryRegionalNumber(box->text(), &amount))
        return;
    const double value
        = Numbers::unitToTwips(amount, m_document.unit() == LabelDocument::Unit::Inches ? 1 : 0);
    if (!std::isfinite(value) || std::fabs(value) > StoredValue::kMaxTwips)
        return;
    if (width)
        m_document.setSize(value, m_document.height());
    else
        m_document.setSize(m_document.width(), value);
}

void Form1::Text5_Validate(bool &)
{
    symbolSizeFromBox(Text5, true);
    sizeVantrel1();
}

void Form1::Text6_Validate(bool &)
{
    symbolSizeFromBox(Text6, false);
    sizeVantrel1();
}

void Form1::sizeVantrel1()
{
    // Single precision throughout, as the component's placement is kept.
    Vantrel1->setWidth(float(m_document.width()) / ScreenMetrics::twipsPerPixelX());
    Vantrel1->setHeight(float(m_document.height()) / ScreenMetrics::twipsPerPixelY());
    // Centred on the values the component took, which may differ from those given.
    const float width = Vantrel1->Width();
    const float height = Vantrel1->Height();
    const float left = (float(Picture1->width()) - width) / 2.0f;
    const float top = (float(Picture1->height()) - height) / 2.0f;
    Vantrel1->Move(left, top);
}

void Form1::showStatus(const QString &line)
{
    m_statusLine->setSummary(line);
    showModule(); // a run changes the symbol without a word to the window
}

void Form1::showModule()
{
    if (!m_statusLine)
        return;
    const std::optional<ModuleSize> module = output().pictureModule();
    m_statusLine->setModule(module ? QStringLiteral("Module %1").arg(module->physical()) : QString(),
                            module ? module->onDevice() : QString());
}

void Form1::Form_Resize()
{
    // Each step stands alone: a failing one is skipped and the next still runs.
    try {
        const QSize client = clientSizePixels();
        const int height = client.height() - Picture1->y();
        // A window lower than the preview's top (minimised, or very short)
        // cannot give it a negative height; it keeps its previous size.
        if (height >= 0 && client.width() >= 0)
            Picture1->setGeometry(Picture1->x(), Picture1->y(), client.width(), height);
    } catch (const std::exception &) {
    }
    try {
        sizeVantrel1();
    } catch (const std::exception &) {
    }
}
