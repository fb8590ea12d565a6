#pragma once
#include "SymbolDesign.h"

#include <QWidget>

// The barcode component on the designer's window: the symbol's preview at the
// component's placement, and its format options dialog.
class Vantrel : public QWidget, public SymbolDesign {
    Q_OBJECT
public:
    explicit Vantrel(QWidget *parent = nullptr);

    void ShowFormatOptions();

signals:
    // A member changed, before the preview is drawn again: what is told of
    // the symbol (its module, say) is out of date.
    void symbolChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changed(bool now) override;
    void placed() override;
};
