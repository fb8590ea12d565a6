// The symbol's appearance: each control pushes its value into the component.
#include "Form1.h"
#include "ClickCheckBox.h"
#include "Numbers.h"
#include "Vantrel.h"

#include <QComboBox>

void Form1::Combo1_Click()
{
    Vantrel1->setBarType(std::int16_t(Combo1->currentIndex()));
}

void Form1::Command6_Click()
{
    Vantrel1->ShowFormatOptions();
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
    Vantrel1->Font().setSize(Numbers::numericValue(Combo3->currentText()));
    Vantrel1->setShowText(ClickCheckBox::value(Check1));
}

void Form1::Combo3_Change()
{
    Combo3_Click();
}

void Form1::Combo3_Validate(bool &cancel)
{
    // Every keystroke was applied already; only a size of nothing is refused.
    if (Numbers::numericValue(Combo3->currentText()) == 0.0)
        cancel = true;
}

void Form1::Check1_Click()
{
    Vantrel1->setShowText(ClickCheckBox::value(Check1));
}

void Form1::Check2_Click()
{
    Vantrel1->setScaling(std::int16_t(ClickCheckBox::value(Check2)));
}

void Form1::Combo4_Click()
{
    // Degrees in the list, tenths of a degree in the component.
    Vantrel1->setOrientation(Numbers::numericValue(Combo4->currentText()) * 10.0);
}

void Form1::Combo5_Click()
{
    Vantrel1->setAlignment(std::int16_t(Combo5->currentIndex()));
}
