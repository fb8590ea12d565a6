#include "ImportColumnsDialog.h"
#include "Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>

ImportColumnsDialog::ImportColumnsDialog(const QString &path, const ImportColumns &columns,
                                         DialogProvider &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_choice(path, columns)
    , m_dialogs(dialogs)
    , m_delimiter(new QComboBox(this))
    , m_header(new QCheckBox(tr("The first row holds the column names"), this))
    , m_value(new QLineEdit(this))
    , m_title(new QLineEdit(this))
    , m_table(new QTableWidget(this))
    , m_preview(new QLabel(this))
{
    setWindowTitle(tr("Quillmark - Columns"));
    // Names the tests and the benchmark find the controls by.
    m_delimiter->setObjectName(QStringLiteral("delimiter"));
    m_header->setObjectName(QStringLiteral("header"));
    m_value->setObjectName(QStringLiteral("value"));
    m_title->setObjectName(QStringLiteral("title"));
    m_table->setObjectName(QStringLiteral("sample"));
    m_preview->setObjectName(QStringLiteral("preview"));

    m_delimiter->addItems(m_choice.delimiterChoices());
    m_delimiter->setCurrentIndex(int(columns.delimiter));
    m_header->setChecked(columns.header);
    m_value->setText(columns.valueTemplate);
    m_value->setPlaceholderText(QStringLiteral("{sku}-{size}"));
    m_title->setText(columns.titleTemplate);
    m_title->setPlaceholderText(tr("none, or {name}"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab goes on to the next control; the arrows move from cell to cell.
    m_table->setTabKeyNavigation(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_preview->setWordWrap(true);
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *form = new QFormLayout(this);
    const QString shown = path.isEmpty() ? tr("No import file is chosen.") : QDir::toNativeSeparators(path);
    auto *file = new QLabel(shown, this);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(tr("File:"), file);
    form->addRow(m_table);
    form->addRow(tr("Delimiter:"), m_delimiter);
    form->addRow(QString(), m_header);
    form->addRow(tr("Value:"), m_value);
    form->addRow(tr("Title:"), m_title);
    form->addRow(m_preview);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    // Tab follows the rows down from the table.
    setTabOrder(m_table, m_delimiter);
    setTabOrder(m_delimiter, m_header);
    setTabOrder(m_header, m_value);
    setTabOrder(m_value, m_title);

    connect(m_delimiter, &QComboBox::currentIndexChanged, this, &ImportColumnsDialog::choiceChanged);
    connect(m_header, &QCheckBox::toggled, this, &ImportColumnsDialog::choiceChanged);
    connect(m_value, &QLineEdit::textChanged, this, &ImportColumnsDialog::choiceChanged);
    connect(m_title, &QLineEdit::textChanged, this, &ImportColumnsDialog::choiceChanged);
    showChoice();
    resize(560, 420);
}

ImportColumns ImportColumnsDialog::columns() const { return m_choice.columns(); }

int ImportColumnsDialog::run() { return m_dialogs.runDialog(*this); }

void ImportColumnsDialog::choiceChanged()
{
    ImportColumns columns;
    columns.delimiter = ImportColumns::Delimiter(m_delimiter->currentIndex());
    columns.header = m_header->isChecked();
    columns.valueTemplate = m_value->text();
    columns.titleTemplate = m_title->text();
    m_choice.setColumns(columns);
    showChoice();
}

void ImportColumnsDialog::showChoice()
{
    {
        // Only the found delimiter's note changes; the choice stays.
        const QSignalBlocker blocker(m_delimiter);
        const QStringList choices = m_choice.delimiterChoices();
        for (int i = 0; i < choices.size(); ++i)
            m_delimiter->setItemText(i, choices[i]);
    }
    const ImportSample &sample = m_choice.sample();
    const QStringList headings = m_choice.headings();
    m_table->clear();
    m_table->setColumnCount(int(headings.size()));
    m_table->setRowCount(int(sample.rows.size()));
    m_table->setHorizontalHeaderLabels(headings);
    for (int row = 0; row < sample.rows.size(); ++row)
        for (int column = 0; column < sample.rows[row].size() && column < headings.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(sample.rows[row][column]));
    m_preview->setText(m_choice.previewLine());
}
