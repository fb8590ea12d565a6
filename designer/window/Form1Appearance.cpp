// The symbol's appearance: each control pushes its value into the component.
#include "ClickCheckBox.h"
#include "Form1.h"
#include "Numbers.h"
#include "QuillError.h"
#include "StoredValue.h"
#include "Vantrel.h"

#include <QComboBox>
#include <cmath>

void Form1::Combo1_Click() { Vantrel1->setBarType(std::int16_t(Combo1->currentIndex())); }

void Form1::Command6_Click()
{
    Vantrel1->ShowFormatOptions(m_dialogs);
    writeSymbol();
}

// The font object does not redraw by itself; assigning ShowText again, even
// unchanged, makes the component draw with the new font.
void Form1::Combo2_Click()
{
    Vantrel1->Font().setName(Combo2->currentText());
    Vantrel1->setShowText(ClickCheckBox::value(Check1));
}

void Form1::Combo3_Click()
{
    const double size = Numbers::numericValue(Combo3->currentText());
    // A size too large to draw is met on the way to a smaller one (typing
    // 1200 to mean 12) as often as meant: the preview keeps the last size it
    // could draw, and leaving the box says what is wrong.
    if (std::fabs(size) > StoredValue::kMaxFontPoints)
        return;
    Vantrel1->Font().setSize(size);
    Vantrel1->setShowText(ClickCheckBox::value(Check1));
    writeSymbol();
}

void Form1::Combo3_Change() { Combo3_Click(); }

void Form1::Combo3_Validate(bool &cancel)
{
    // Every keystroke that gave a size to draw was applied already; a size of
    // nothing keeps the focus here silently, one too large to draw with the message.
    const double size = Numbers::numericValue(Combo3->currentText());
    if (size == 0.0 || std::fabs(size) > StoredValue::kMaxFontPoints)
        cancel = true;
    if (std::fabs(size) > StoredValue::kMaxFontPoints)
        throw QuillError(QStringLiteral("Invalid font size."));
}

void Form1::Check1_Click() { Vantrel1->setShowText(ClickCheckBox::value(Check1)); }

void Form1::Check2_Click() { Vantrel1->setScaling(std::int16_t(ClickCheckBox::value(Check2))); }

void Form1::Combo4_Click()
{
    // Degrees in the list, tenths of a degree in the component.
    Vantrel1->setOrientation(Numbers::numericValue(Combo4->currentText()) * 10.0);
}

void Form1::Combo5_Click() { Vantrel1->setAlignment(std::int16_t(Combo5->currentIndex())); }
