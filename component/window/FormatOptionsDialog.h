#pragma once
#include "FormatOptions.h"

#include <QDialog>

class DialogProvider;
class QCheckBox;
class QComboBox;
class QPushButton;
class QDoubleSpinBox;

// The component's own options dialog (the "..." button of the format row).
class FormatOptionsDialog : public QDialog {
    Q_OBJECT
public:
    FormatOptionsDialog(const FormatOptions &options, DialogProvider &dialogs, QWidget *parent = nullptr);

    FormatOptions options() const;

    // Shown modally through the DialogProvider; QDialog::Accepted or Rejected.
    int run();

private:
    void pickColor(QColor &color, QPushButton *button);
    static void paintSwatch(QPushButton *button, const QColor &color);

    DialogProvider &m_dialogs;
    QComboBox *m_custom;
    QCheckBox *m_code39;
    QCheckBox *m_interleaved;
    QComboBox *m_msi;
    QDoubleSpinBox *m_reduction;
    QPushButton *m_barButton;
    QPushButton *m_backButton;
    QColor m_barColor;
    QColor m_backColor;
};
