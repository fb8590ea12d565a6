#pragma once
#include "FormatOptions.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

// The component's own options dialog (the "..." button of the format row).
class FormatOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormatOptionsDialog(const FormatOptions &options, QWidget *parent = nullptr);

    FormatOptions options() const;

    QComboBox *customBox() const { return m_custom; }
    QCheckBox *code39CheckBox() const { return m_code39; }
    QCheckBox *interleavedCheckBox() const { return m_interleaved; }
    QComboBox *msiBox() const { return m_msi; }
    QSpinBox *reductionBox() const { return m_reduction; }
    void setBarColor(const QColor &color);
    void setBackColor(const QColor &color);

    // Shows the dialog modally; tests install a runner that works the dialog
    // and returns its result instead of waiting for a person. Without a runner
    // on the offscreen platform the dialog is cancelled at once.
    using Runner = std::function<int(FormatOptionsDialog &)>;
    static void setRunner(Runner runner);
    int run();

private:
    void pickColor(QColor &color, QPushButton *button);
    static void paintSwatch(QPushButton *button, const QColor &color);

    QComboBox *m_custom;
    QCheckBox *m_code39;
    QCheckBox *m_interleaved;
    QComboBox *m_msi;
    QSpinBox *m_reduction;
    QPushButton *m_barButton;
    QPushButton *m_backButton;
    QColor m_barColor;
    QColor m_backColor;
};
