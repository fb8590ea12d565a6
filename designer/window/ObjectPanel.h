#pragma once
#include "LabelDocument.h"

#include <QSizeF>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// The selected object's properties beside the canvas: its place and size in
// the document's unit, and the fields of its kind. Each change the user makes
// is told once with the whole changed object; a value that breaks the
// object's rules is not told, its field is marked with the reason instead.
class ObjectPanel : public QWidget {
    Q_OBJECT
public:
    explicit ObjectPanel(QWidget *parent = nullptr);

    // Shows the object's fields; none: "No object selected" (several selected:
    // "3 objects selected") with the fields hidden. fieldNames are the label's
    // fields, offered as "{name}" to insert into a template.
    void showObject(const std::optional<LabelObject> &object, LabelDocument::Unit unit,
                    const QStringList &fieldNames, int selectedCount = 1);
    // The label's size in twips: the designer's symbol without a place of its
    // own shows the whole label as its box.
    void setLabelSize(const QSizeF &twips);
    // How the panel asks for a picture file and a colour; empty or invalid: cancelled.
    void setPictureChooser(std::function<QString(const QString &current)> choose);
    void setColourChooser(std::function<QColor(const QColor &current)> choose);
    // How a symbol's options are asked for; none: cancelled.
    void setOptionsChooser(std::function<std::optional<FormatOptions>(const FormatOptions &current)> choose);
    // A text being typed is told now rather than after its pause.
    void commitPending();

signals:
    // step names the change as an undo step would: "Change Text", "Change Size"...
    void edited(const QString &step, const LabelObject &object);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Apply = std::function<void(LabelObject &)>;

    void addRow(const QString &label, QWidget *field, int kinds, const QString &name);
    // A number typed in the document's unit (length) or in points; apply gets twips or points.
    QLineEdit *numberField(const QString &label, int kinds, const QString &name, const QString &step,
                           bool length, std::function<void(LabelObject &, double)> apply);
    QComboBox *listField(const QString &label, const QStringList &items, int kinds, const QString &name,
                         const QString &step, std::function<void(LabelObject &, int)> apply);
    QCheckBox *checkField(const QString &text, int kinds, const QString &name, const QString &step,
                          std::function<void(LabelObject &, bool)> apply);
    QComboBox *insertList(int kinds, const QString &name, std::function<void(const QString &)> insert);
    QPushButton *colourButton(const QString &label, int kinds, const QString &name);
    void fill();
    void change(const QString &step, QWidget *field, const Apply &apply);
    void mark(QWidget *field, const QString &fault);
    void commitText();
    void chooseFill(bool filled);
    QColor askColour(const QColor &current);
    QRectF boxOf(const LabelObject &object) const;
    QString unitName() const;

    std::optional<LabelObject> m_object;
    LabelDocument::Unit m_unit = LabelDocument::Unit::Centimetres;
    QStringList m_fieldNames;
    QSizeF m_labelSize;
    int m_selected = 0;
    bool m_filling = false;
    std::function<QString(const QString &)> m_choosePicture;
    std::function<QColor(const QColor &)> m_chooseColour;
    std::function<std::optional<FormatOptions>(const FormatOptions &)> m_chooseOptions;

    QLabel *m_status = nullptr;
    QLabel *m_note = nullptr;
    QWidget *m_fields = nullptr;
    QFormLayout *m_form = nullptr;
    std::vector<std::pair<QWidget *, int>> m_rows; // each field and the kinds that show it
    QLineEdit *m_x = nullptr, *m_y = nullptr, *m_width = nullptr, *m_height = nullptr;
    QComboBox *m_rotation = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QTimer *m_textIdle = nullptr;
    int m_shows = 0; // showObject's calls, to see one made while the last text was told
    QComboBox *m_textInsert = nullptr;
    QComboBox *m_symbology = nullptr;
    QCheckBox *m_showText = nullptr;
    QLineEdit *m_data = nullptr;
    QComboBox *m_dataInsert = nullptr;
    QFontComboBox *m_font = nullptr;
    QLineEdit *m_fontSize = nullptr;
    QCheckBox *m_bold = nullptr, *m_italic = nullptr;
    QPushButton *m_colour = nullptr;
    QComboBox *m_alignment = nullptr;
    QCheckBox *m_shrink = nullptr;
    QLineEdit *m_file = nullptr;
    QComboBox *m_shape = nullptr;
    QLineEdit *m_corner = nullptr;
    QLineEdit *m_stroke = nullptr;
    QPushButton *m_strokeColour = nullptr;
    QPushButton *m_fill = nullptr;
    QCheckBox *m_noFill = nullptr;
};
