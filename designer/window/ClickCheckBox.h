#pragma once
#include <QCheckBox>

// A check box that takes the grey third state from the program, while a click
// of the user only ticks or clears it (a grey box is ticked by a click). Its
// value is counted the classic way: 0 clear, 1 ticked, 2 grey.
class ClickCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

    static int value(const QCheckBox *box);
    // 0 clears, 1 ticks, 2 greys; the box's click handler runs on a change.
    static void setValue(QCheckBox *box, int value);

protected:
    void nextCheckState() override;
};
