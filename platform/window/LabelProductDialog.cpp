#include "LabelProductDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <set>

LabelProductDialog::LabelProductDialog(const std::vector<LabelProduct> &products, const QString &error,
                                       QWidget *parent)
    : QDialog(parent)
    , m_products(products)
{
    setWindowTitle(QStringLiteral("Label product"));
    searchBox = new QLineEdit(this);
    searchBox->setPlaceholderText(QStringLiteral("Brand and part number, e.g. Avery 5160"));
    paperBox = new QComboBox(this);
    paperBox->addItem(QStringLiteral("Any paper"), QString());
    std::set<std::pair<QString, QString>> papers; // name, id
    for (const LabelProduct &p : products)
        papers.insert({p.paperName, p.paperId});
    for (const auto &[name, id] : papers)
        paperBox->addItem(name, id);
    list = new QListWidget(this);
    details = new QLabel(error, this);
    details->setWordWrap(true);
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Use this product"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Search:"), searchBox);
    form->addRow(QStringLiteral("&Paper:"), paperBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(list, 1);
    layout->addWidget(details);
    layout->addWidget(buttons);
    resize(520, 420);

    connect(searchBox, &QLineEdit::textChanged, this, &LabelProductDialog::showMatches);
    connect(paperBox, &QComboBox::currentIndexChanged, this, &LabelProductDialog::showMatches);
    connect(list, &QListWidget::currentRowChanged, this, [this, buttons, error](int row) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(row >= 0);
        details->setText(row >= 0 ? m_shown[row]->name() + QStringLiteral(": ") + m_shown[row]->summary()
                                  : error);
    });
    connect(list, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showMatches();
}

void LabelProductDialog::showMatches()
{
    m_shown = LabelProducts::search(m_products, searchBox->text(), paperBox->currentData().toString());
    list->clear();
    for (const LabelProduct *p : m_shown)
        list->addItem(QStringLiteral("%1  %2  (%3)").arg(p->name(), p->description, p->summary()));
    list->setCurrentRow(m_shown.empty() ? -1 : 0);
}

std::optional<LabelProduct> LabelProductDialog::chosen() const
{
    const int row = list->currentRow();
    if (row < 0 || row >= int(m_shown.size()))
        return std::nullopt;
    return *m_shown[row];
}
