#include "FormatOptionsDialog.h"
#include "Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>

FormatOptionsDialog::FormatOptionsDialog(const FormatOptions &options, DialogProvider &dialogs,
                                         QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_custom(new QComboBox(this))
    , m_code39(new QCheckBox(tr("Add a check digit"), this))
    , m_interleaved(new QCheckBox(tr("Add a check digit"), this))
    , m_msi(new QComboBox(this))
    , m_reduction(new QDoubleSpinBox(this))
    , m_barButton(new QPushButton(this))
    , m_backButton(new QPushButton(this))
    , m_barColor(options.barColor)
    , m_backColor(options.backColor)
{
    setWindowTitle(tr("Format options"));
    for (const FormatOptions::Choice &choice : FormatOptions::customChoices())
        m_custom->addItem(QString::fromLatin1(choice.name), choice.value);
    m_custom->setCurrentIndex(std::max(0, m_custom->findData(int(options.customSymbology))));
    for (const FormatOptions::Choice &choice : FormatOptions::msiChoices())
        m_msi->addItem(QString::fromLatin1(choice.name), choice.value);
    m_msi->setCurrentIndex(std::max(0, m_msi->findData(options.msiCheck)));
    m_code39->setChecked(options.code39Check);
    m_interleaved->setChecked(options.interleavedCheck);
    // Millimetres: one design loses the same ink on every printer.
    m_reduction->setDecimals(3);
    m_reduction->setRange(0, FormatOptions::kMostReductionMm);
    m_reduction->setSingleStep(0.01);
    m_reduction->setSuffix(tr(" mm"));
    m_reduction->setValue(options.barReduction);
    paintSwatch(m_barButton, m_barColor);
    paintSwatch(m_backButton, m_backColor);
    connect(m_barButton, &QPushButton::clicked, this, [this] { pickColor(m_barColor, m_barButton); });
    connect(m_backButton, &QPushButton::clicked, this, [this] { pickColor(m_backColor, m_backButton); });

    auto *form = new QFormLayout(this);
    form->addRow(tr("Custom symbology:"), m_custom);
    form->addRow(tr("Code39:"), m_code39);
    form->addRow(tr("Interleaved 2of5:"), m_interleaved);
    form->addRow(tr("MSI Plessey check digit:"), m_msi);
    form->addRow(tr("Bar width reduction:"), m_reduction);
    form->addRow(tr("Bar colour:"), m_barButton);
    form->addRow(tr("Background colour:"), m_backButton);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

FormatOptions FormatOptionsDialog::options() const
{
    FormatOptions options;
    options.customSymbology = SymbolEncoder::Code(m_custom->currentData().toInt());
    options.code39Check = m_code39->isChecked();
    options.interleavedCheck = m_interleaved->isChecked();
    options.msiCheck = m_msi->currentData().toInt();
    options.barReduction = m_reduction->value();
    options.barColor = m_barColor;
    options.backColor = m_backColor;
    return options;
}

int FormatOptionsDialog::run() { return m_dialogs.runDialog(*this); }

void FormatOptionsDialog::pickColor(QColor &color, QPushButton *button)
{
    if (const auto picked = m_dialogs.chooseColor(color, this)) {
        color = *picked;
        paintSwatch(button, color);
    }
}

void FormatOptionsDialog::paintSwatch(QPushButton *button, const QColor &color)
{
    button->setText(color.name());
    button->setStyleSheet(
        QStringLiteral("background-color: %1; color: %2")
            .arg(color.name(), color.lightness() < 128 ? QStringLiteral("white") : QStringLiteral("black")));
}
