#pragma once
#include "DesignerView.h"

// Form1 keeps the symbol size in public variables named symbolWidth and
// symbolHeight, which would hide DesignerView's readers of the same names; the
// readers are therefore answered here and forwarded under other names.
class DesignerViewSizes : public DesignerView {
public:
    double symbolWidth() const final { return designWidthTwips(); }
    double symbolHeight() const final { return designHeightTwips(); }

protected:
    virtual double designWidthTwips() const = 0;
    virtual double designHeightTwips() const = 0;
};
