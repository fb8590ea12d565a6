#pragma once
#include "ImportColumnsChoice.h"

#include <QDialog>

class DialogProvider;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// The Columns dialog of the data panel: the import file's first rows as a
// table, the delimiter, the header row, and the value and title templates,
// with a line that shows what the first label gets as the user types.
class ImportColumnsDialog : public QDialog {
    Q_OBJECT
public:
    ImportColumnsDialog(const QString &path, const ImportColumns &columns, DialogProvider &dialogs,
                        QWidget *parent = nullptr);

    ImportColumns columns() const;
    // Shown modally through the DialogProvider; QDialog::Accepted or Rejected.
    int run();

private:
    void choiceChanged();
    void showChoice();

    ImportColumnsChoice m_choice;
    DialogProvider &m_dialogs;
    QComboBox *m_delimiter;
    QCheckBox *m_header;
    QLineEdit *m_value;
    QLineEdit *m_title;
    QTableWidget *m_table;
    QLabel *m_preview;
};
