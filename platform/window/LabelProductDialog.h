#pragma once
#include "LabelProducts.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// Chooses a label product: search by brand and part number or description,
// filter by paper, see the label's size and layout.
class LabelProductDialog : public QDialog {
    Q_OBJECT
public:
    // error: why the list is empty (the templates are missing), shown instead.
    LabelProductDialog(const std::vector<LabelProduct> &products, const QString &error,
                       QWidget *parent = nullptr);

    QLineEdit *searchBox;
    QComboBox *paperBox;
    QListWidget *list;
    QLabel *details;

    void showMatches();
    std::optional<LabelProduct> chosen() const;

private:
    const std::vector<LabelProduct> &m_products;
    std::vector<const LabelProduct *> m_shown;
};
