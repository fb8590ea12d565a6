#include "ObjectPanel.h"
#include "Numbers.h"
#include "SymbolBuilder.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};

// The kinds that show a field, one bit each in LabelObject's order.
constexpr int kSymbol = 1, kText = 2, kBarcode = 4, kPicture = 8, kLine = 16, kBox = 32;
constexpr int kAdded = kText | kBarcode | kPicture | kLine | kBox;
constexpr int kAll = kSymbol | kAdded;
constexpr int kTextIdleMs = 700; // a template typed is told after this pause

// Changes a field's text only when it differs, so a cursor in it stays where it is.
void setShown(QLineEdit *field, const QString &text)
{
    if (field->text() != text)
        field->setText(text);
    field->setModified(false);
}

ObjectFrame *frameIn(LabelObject &object) { return const_cast<ObjectFrame *>(LabelObjects::frameOf(object)); }

// The font of a text, or of a symbol's text.
std::pair<QString *, double *> fontIn(LabelObject &object)
{
    if (auto *text = std::get_if<TextObject>(&object))
        return {&text->fontName, &text->fontPoints};
    SymbolObject &symbol = std::get<BarcodeObject>(object).symbol;
    return {&symbol.fontName, &symbol.fontPoints};
}

// A text's colour, or a line's or a box's stroke colour; none for the other kinds.
QColor *colourIn(LabelObject &object)
{
    return std::visit(Overloaded{
                          [](TextObject &text) { return &text.colour; },
                          [](LineObject &line) { return &line.stroke; },
                          [](BoxObject &shape) { return &shape.stroke; },
                          [](auto &) -> QColor * { return nullptr; },
                      },
                      object);
}

double &strokeIn(LabelObject &object)
{
    if (auto *line = std::get_if<LineObject>(&object))
        return line->strokePoints;
    return std::get<BoxObject>(object).strokePoints;
}

void showColour(QPushButton *button, const QColor &colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    button->setIcon(QIcon(swatch));
    button->setText(colour.alpha() == 0 ? QObject::tr("None") : colour.name());
}

} // namespace

ObjectPanel::ObjectPanel(QWidget *parent)
    : QWidget(parent)
    , m_textIdle(new QTimer(this))
{
    auto *root = new QVBoxLayout(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    QFont bold = m_status->font();
    bold.setBold(true);
    m_status->setFont(bold);
    m_note = new QLabel(tr("The designer's symbol: its symbology, text and rotation are set above."), this);
    m_note->setWordWrap(true);
    m_fields = new QWidget(this);
    m_form = new QFormLayout(m_fields);
    m_form->setContentsMargins(0, 0, 0, 0);
    root->addWidget(m_status);
    root->addWidget(m_note);
    root->addWidget(m_fields);
    root->addStretch();

    // Each side of the box changed alone, the others kept.
    using Side = void (QRectF::*)(qreal);
    const auto side = [this](Side set) {
        return [this, set](LabelObject &object, double twips) {
            QRectF box = boxOf(object);
            (box.*set)(twips);
            if (ObjectFrame *frame = frameIn(object))
                frame->box = box;
            else
                std::get<SymbolObject>(object).place = box;
        };
    };
    m_x = numberField(tr("&X:"), kAll, tr("X"), tr("Change Position"), true, side(&QRectF::moveLeft));
    m_y = numberField(tr("&Y:"), kAll, tr("Y"), tr("Change Position"), true, side(&QRectF::moveTop));
    m_width = numberField(tr("&Width:"), kAll, tr("Width"), tr("Change Size"), true, side(&QRectF::setWidth));
    m_height
        = numberField(tr("Hei&ght:"), kAll, tr("Height"), tr("Change Size"), true, side(&QRectF::setHeight));
    m_rotation = listField(tr("&Rotation:"), {tr("0°"), tr("90°"), tr("180°"), tr("270°")}, kAdded,
                           tr("Rotation"), tr("Change Rotation"), [](LabelObject &object, int index) {
                               frameIn(object)->rotation = SymbolObject::Rotation(index);
                           });

    // A text's template, typed or with fields inserted.
    m_text = new QPlainTextEdit(this);
    m_text->setTabChangesFocus(true);
    m_text->setFixedHeight(m_text->fontMetrics().lineSpacing() * 4 + 2 * m_text->frameWidth() + 8);
    m_text->installEventFilter(this);
    addRow(tr("&Text:"), m_text, kText, tr("Text"));
    m_textIdle->setSingleShot(true);
    m_textIdle->setInterval(kTextIdleMs);
    connect(m_textIdle, &QTimer::timeout, this, &ObjectPanel::commitText);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            m_textIdle->start();
    });
    m_textInsert = insertList(kText, tr("Insert field"), [this](const QString &field) {
        m_text->insertPlainText(field);
        m_text->setFocus();
        commitText();
    });

    // A symbol's symbology and data.
    m_symbology = listField(tr("Sy&mbology:"), SymbolBuilder::listNames(), kBarcode, tr("Symbology"),
                            tr("Change Symbology"), [](LabelObject &object, int index) {
                                std::get<BarcodeObject>(object).symbol.symbology = symbologyAt(index);
                            });
    // Its check digits, custom symbology, bar reduction and colours, in the component's own dialog.
    auto *options = new QPushButton(tr("O&ptions..."), this);
    options->setAccessibleName(tr("Symbol options"));
    addRow({}, options, kBarcode, tr("Symbol options"));
    connect(options, &QPushButton::clicked, this, [this, options] {
        const auto *shown = m_object ? std::get_if<BarcodeObject>(&*m_object) : nullptr;
        const std::optional<FormatOptions> chosen
            = shown && m_chooseOptions ? m_chooseOptions(shown->symbol.options) : std::nullopt;
        if (chosen)
            change(tr("Change Options"), options, [&chosen](LabelObject &object) {
                std::get<BarcodeObject>(object).symbol.options = *chosen;
            });
    });
    m_showText = checkField(tr("Sh&ow text"), kBarcode, tr("Show text"), tr("Change Show Text"),
                            [](LabelObject &object, bool on) {
                                std::get<BarcodeObject>(object).symbol.showText
                                    = on ? SymbolObject::Tick::Ticked : SymbolObject::Tick::Clear;
                            });
    m_data = new QLineEdit(this);
    addRow(tr("&Data:"), m_data, kBarcode, tr("Data"));
    const auto commitData = [this] {
        m_data->setModified(false);
        const QString typed = m_data->text();
        change(tr("Change Data"), m_data,
               [typed](LabelObject &object) { std::get<BarcodeObject>(object).data = typed; });
    };
    connect(m_data, &QLineEdit::editingFinished, this, [this, commitData] {
        if (!m_filling && m_data->isModified())
            commitData();
    });
    m_dataInsert = insertList(kBarcode, tr("Insert data field"), [this, commitData](const QString &field) {
        m_data->insert(field);
        m_data->setFocus();
        commitData();
    });

    // The font of a text, or of a symbol's text, and how a text is laid out.
    m_font = new QFontComboBox(this);
    addRow(tr("Fo&nt:"), m_font, kText | kBarcode, tr("Font"));
    connect(m_font, &QComboBox::activated, this, [this] {
        const QString family = m_font->currentText();
        change(tr("Change Font"), m_font, [family](LabelObject &object) { *fontIn(object).first = family; });
    });
    m_fontSize = numberField(tr("Si&ze:"), kText | kBarcode, tr("Font size"), tr("Change Font"), false,
                             [](LabelObject &object, double points) { *fontIn(object).second = points; });
    m_bold = checkField(tr("&Bold"), kText, tr("Bold"), tr("Change Font"),
                        [](LabelObject &object, bool on) { std::get<TextObject>(object).bold = on; });
    m_italic = checkField(tr("Ita&lic"), kText, tr("Italic"), tr("Change Font"),
                          [](LabelObject &object, bool on) { std::get<TextObject>(object).italic = on; });
    m_colour = colourButton(tr("&Colour:"), kText, tr("Colour"));
    m_alignment = listField(tr("Align&ment:"), {tr("Left"), tr("Centre"), tr("Right")}, kText,
                            tr("Alignment"), tr("Change Alignment"), [](LabelObject &object, int index) {
                                std::get<TextObject>(object).alignment = SymbolObject::Alignment(index);
                            });
    m_shrink
        = checkField(tr("Shrin&k to fit"), kText, tr("Shrink to fit"), tr("Change Shrink to Fit"),
                     [](LabelObject &object, bool on) { std::get<TextObject>(object).shrinkToFit = on; });

    // A picture's file, typed or browsed for.
    auto *picture = new QWidget(this);
    auto *pictureRow = new QHBoxLayout(picture);
    pictureRow->setContentsMargins(0, 0, 0, 0);
    m_file = new QLineEdit(picture);
    m_file->setAccessibleName(tr("Picture file"));
    auto *browse = new QPushButton(tr("&Browse..."), picture);
    browse->setAccessibleName(tr("Browse for a picture"));
    pictureRow->addWidget(m_file, 1);
    pictureRow->addWidget(browse);
    picture->setFocusProxy(m_file);
    addRow(tr("Fi&le:"), picture, kPicture, {});
    const auto commitFile = [this](const QString &typed) {
        // A name typed alone is taken where the program runs, and kept so, whatever reads it later.
        const QString file = typed.isEmpty() ? typed : QFileInfo(typed).absoluteFilePath();
        change(tr("Change Picture"), m_file,
               [file](LabelObject &object) { std::get<PictureObject>(object).file = file; });
    };
    connect(m_file, &QLineEdit::editingFinished, this, [this, commitFile] {
        if (m_filling || !m_file->isModified())
            return;
        m_file->setModified(false);
        commitFile(m_file->text().trimmed());
    });
    connect(browse, &QPushButton::clicked, this, [this, commitFile] {
        const QString current = std::get<PictureObject>(*m_object).file;
        const QString chosen = m_choosePicture
            ? m_choosePicture(current)
            : QFileDialog::getOpenFileName(this, tr("Choose a Picture"), current,
                                           tr("Pictures (*.png *.jpg *.jpeg *.svg)"));
        if (!chosen.isEmpty())
            commitFile(chosen);
    });

    // A box's shape and fill, and the stroke of a line or a box.
    m_shape = listField(
        tr("Sha&pe:"), {tr("Rectangle"), tr("Ellipse")}, kBox, tr("Shape"), tr("Change Shape"),
        [](LabelObject &object, int index) { std::get<BoxObject>(object).shape = BoxObject::Shape(index); });
    m_corner = numberField(
        tr("Corner ra&dius:"), kBox, tr("Corner radius"), tr("Change Corner Radius"), true,
        [](LabelObject &object, double twips) { std::get<BoxObject>(object).cornerTwips = twips; });
    m_stroke = numberField(tr("&Stroke width:"), kLine | kBox, tr("Stroke width"), tr("Change Stroke"), false,
                           [](LabelObject &object, double points) { strokeIn(object) = points; });
    m_strokeColour = colourButton(tr("Stroke &colour:"), kLine | kBox, tr("Stroke colour"));
    auto *fillBox = new QWidget(this);
    auto *fillRow = new QHBoxLayout(fillBox);
    fillRow->setContentsMargins(0, 0, 0, 0);
    m_fill = new QPushButton(fillBox);
    m_fill->setAccessibleName(tr("Fill"));
    m_noFill = new QCheckBox(tr("&No fill"), fillBox);
    m_noFill->setAccessibleName(tr("No fill"));
    fillRow->addWidget(m_fill, 1);
    fillRow->addWidget(m_noFill);
    fillBox->setFocusProxy(m_fill);
    addRow(tr("Fi&ll:"), fillBox, kBox, {});
    connect(m_fill, &QPushButton::clicked, this, [this] { chooseFill(true); });
    connect(m_noFill, &QCheckBox::clicked, this, [this](bool none) { chooseFill(!none); });

    showObject(std::nullopt, m_unit, {}, 0);
}

void ObjectPanel::addRow(const QString &label, QWidget *field, int kinds, const QString &name)
{
    if (!name.isEmpty())
        field->setAccessibleName(name);
    if (label.isEmpty())
        m_form->addRow(field); // a check box: its own text is its label
    else
        m_form->addRow(label, field); // the label's mnemonic goes to the field
    m_rows.emplace_back(field, kinds);
}

QLineEdit *ObjectPanel::numberField(const QString &label, int kinds, const QString &name, const QString &step,
                                    bool length, std::function<void(LabelObject &, double)> apply)
{
    auto *field = new QLineEdit(this);
    addRow(label, field, kinds, name);
    connect(field, &QLineEdit::editingFinished, this, [this, field, step, length, apply] {
        if (m_filling || !m_object || !field->isModified())
            return;
        field->setModified(false);
        QString text = field->text().trimmed();
        const QString suffix = length ? unitName() : QStringLiteral("pt"); // may be typed
        if (text.endsWith(suffix))
            text.chop(suffix.size());
        double amount = 0;
        if (!Numbers::tryRegionalNumber(text, &amount))
            return mark(field, tr("“%1” is not a number").arg(field->text()));
        if (length)
            amount = Numbers::unitToTwips(amount, m_unit == LabelDocument::Unit::Inches);
        change(step, field, [&](LabelObject &object) { apply(object, amount); });
    });
    return field;
}

QComboBox *ObjectPanel::listField(const QString &label, const QStringList &items, int kinds,
                                  const QString &name, const QString &step,
                                  std::function<void(LabelObject &, int)> apply)
{
    auto *list = new QComboBox(this);
    list->addItems(items);
    addRow(label, list, kinds, name);
    connect(list, &QComboBox::activated, this, [this, list, step, apply](int index) {
        change(step, list, [&](LabelObject &object) { apply(object, index); });
    });
    return list;
}

QCheckBox *ObjectPanel::checkField(const QString &text, int kinds, const QString &name, const QString &step,
                                   std::function<void(LabelObject &, bool)> apply)
{
    auto *check = new QCheckBox(text, this);
    addRow({}, check, kinds, name);
    connect(check, &QCheckBox::clicked, this, [this, check, step, apply] {
        check->setTristate(false); // a grey box once clicked is ticked or clear
        change(step, check, [&](LabelObject &object) { apply(object, check->isChecked()); });
    });
    return check;
}

QComboBox *ObjectPanel::insertList(int kinds, const QString &name,
                                   std::function<void(const QString &)> insert)
{
    auto *list = new QComboBox(this);
    list->setPlaceholderText(tr("Choose a field to insert"));
    addRow(tr("In&sert field:"), list, kinds, name);
    connect(list, &QComboBox::activated, this, [this, list, insert](int index) {
        const QString field = list->itemText(index);
        list->setCurrentIndex(-1); // the same field may be inserted again
        if (!m_filling && m_object && index >= 0)
            insert(field);
    });
    return list;
}

QPushButton *ObjectPanel::colourButton(const QString &label, int kinds, const QString &name)
{
    auto *button = new QPushButton(this);
    addRow(label, button, kinds, name);
    connect(button, &QPushButton::clicked, this, [this, button] {
        if (!m_object)
            return;
        LabelObject object = *m_object;
        const QColor chosen = askColour(*colourIn(object));
        if (chosen.isValid())
            change(button == m_colour ? tr("Change Colour") : tr("Change Stroke"), button,
                   [chosen](LabelObject &changed) { *colourIn(changed) = chosen; });
    });
    return button;
}

void ObjectPanel::showObject(const std::optional<LabelObject> &object, LabelDocument::Unit unit,
                             const QStringList &fieldNames, int selectedCount)
{
    const int call = ++m_shows;
    commitPending(); // what was typed into the text shown before
    if (call != m_shows)
        return; // the commit showed the object anew, its text with it
    m_object = object;
    m_unit = unit;
    m_selected = selectedCount;
    if (fieldNames != m_fieldNames || m_textInsert->count() == 0) {
        m_fieldNames = fieldNames;
        QStringList entries;
        for (const QString &field : fieldNames)
            entries << u'{' + field + u'}';
        entries << QStringLiteral("{value}") << QStringLiteral("{title}") << QStringLiteral("{n}")
                << QStringLiteral("{date}");
        for (QComboBox *list : {m_textInsert, m_dataInsert}) {
            list->clear();
            list->addItems(entries);
            list->setCurrentIndex(-1);
        }
    }
    fill();
}

void ObjectPanel::setLabelSize(const QSizeF &twips)
{
    m_labelSize = twips;
    fill();
}

void ObjectPanel::setPictureChooser(std::function<QString(const QString &)> choose)
{
    m_choosePicture = std::move(choose);
}

void ObjectPanel::setColourChooser(std::function<QColor(const QColor &)> choose)
{
    m_chooseColour = std::move(choose);
}

void ObjectPanel::setOptionsChooser(std::function<std::optional<FormatOptions>(const FormatOptions &)> choose)
{
    m_chooseOptions = std::move(choose);
}

void ObjectPanel::fill()
{
    const QScopedValueRollback filling(m_filling, true);
    const bool one = m_object && m_selected == 1;
    m_status->setText(m_selected > 1 ? tr("%1 objects selected").arg(m_selected)
                          : one      ? LabelObjects::kindName(*m_object)
                                     : tr("No object selected"));
    m_fields->setVisible(one);
    m_fields->setEnabled(one);
    m_note->setVisible(one && std::holds_alternative<SymbolObject>(*m_object));
    for (QWidget *field : m_fields->findChildren<QWidget *>())
        mark(field, {});
    if (!one)
        return;
    const int kind = 1 << m_object->index();
    for (const auto &[field, kinds] : m_rows)
        m_form->setRowVisible(field, (kinds & kind) != 0);
    const QRectF box = boxOf(*m_object);
    const auto *symbol = std::get_if<SymbolObject>(&*m_object);
    const bool whole = symbol && !symbol->place && m_labelSize.isEmpty(); // a label of no size known
    const double perUnit = Numbers::twipsPerUnit(m_unit == LabelDocument::Unit::Inches);
    const auto showLength = [&](QLineEdit *field, double twips) {
        setShown(field, Numbers::lengthText(twips / perUnit, unitName()));
    };
    const auto showPoints = [](QLineEdit *field, double points) {
        setShown(field, Numbers::lengthText(points, QStringLiteral("pt")));
    };
    const std::pair<QLineEdit *, double> sides[]
        = {{m_x, box.x()}, {m_y, box.y()}, {m_width, box.width()}, {m_height, box.height()}};
    for (const auto &[field, twips] : sides) {
        showLength(field, twips);
        if (whole)
            setShown(field, {});
        field->setPlaceholderText(whole ? tr("Whole label") : QString());
    }
    if (const ObjectFrame *frame = LabelObjects::frameOf(*m_object))
        m_rotation->setCurrentIndex(int(frame->rotation));
    const auto showFont = [&](const QString &family, double points) {
        m_font->setCurrentFont(QFont(family));
        m_font->setEditText(family); // as chosen, though another family may draw it
        showPoints(m_fontSize, points);
    };
    std::visit(Overloaded{
                   [](const SymbolObject &) {},
                   [&](const TextObject &text) {
                       if (m_text->toPlainText() != text.text)
                           m_text->setPlainText(text.text);
                       showFont(text.fontName, text.fontPoints);
                       m_bold->setChecked(text.bold);
                       m_italic->setChecked(text.italic);
                       showColour(m_colour, text.colour);
                       m_alignment->setCurrentIndex(int(text.alignment));
                       m_shrink->setChecked(text.shrinkToFit);
                   },
                   [&](const BarcodeObject &barcode) {
                       m_symbology->setCurrentIndex(barcode.symbol.symbology ? int(*barcode.symbol.symbology)
                                                                             : -1);
                       m_showText->setTristate(barcode.symbol.showText == SymbolObject::Tick::Grey);
                       m_showText->setCheckState(
                           barcode.symbol.showText == SymbolObject::Tick::Grey         ? Qt::PartiallyChecked
                               : barcode.symbol.showText == SymbolObject::Tick::Ticked ? Qt::Checked
                                                                                       : Qt::Unchecked);
                       setShown(m_data, barcode.data);
                       showFont(barcode.symbol.fontName, barcode.symbol.fontPoints);
                   },
                   [&](const PictureObject &picture) { setShown(m_file, picture.file); },
                   [&](const LineObject &line) {
                       showPoints(m_stroke, line.strokePoints);
                       showColour(m_strokeColour, line.stroke);
                   },
                   [&](const BoxObject &shape) {
                       m_shape->setCurrentIndex(int(shape.shape));
                       showLength(m_corner, shape.cornerTwips);
                       showPoints(m_stroke, shape.strokePoints);
                       showColour(m_strokeColour, shape.stroke);
                       showColour(m_fill, shape.fill);
                       m_noFill->setChecked(shape.fill.alpha() == 0);
                   },
               },
               *m_object);
}

void ObjectPanel::change(const QString &step, QWidget *field, const Apply &apply)
{
    if (m_filling || !m_object)
        return;
    LabelObject object = *m_object;
    apply(object);
    const QString fault = LabelObjects::fault(object);
    mark(field, fault);
    if (!fault.isEmpty() || object == *m_object)
        return;
    m_object = object;
    fill(); // amounts as the panel writes them; texts being typed are left as they are
    emit edited(step, object);
}

void ObjectPanel::mark(QWidget *field, const QString &fault)
{
    if (field->property("fault").toString() == fault)
        return;
    field->setProperty("fault", fault);
    field->setToolTip(fault);
    if (fault.isEmpty()) {
        field->setPalette(QPalette()); // the parent's again
        return;
    }
    // The field's own base tinted red, its text kept: readable on a light or dark theme.
    QPalette palette = field->palette();
    const QColor base = palette.color(QPalette::Base);
    palette.setColor(QPalette::Base,
                     QColor((base.red() + 2 * 220) / 3, base.green() * 2 / 3, base.blue() * 2 / 3));
    field->setPalette(palette);
}

bool ObjectPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && event->type() == QEvent::FocusOut)
        commitText();
    return QWidget::eventFilter(watched, event);
}

void ObjectPanel::commitPending()
{
    if (m_textIdle->isActive())
        commitText();
}

void ObjectPanel::commitText()
{
    m_textIdle->stop();
    const QString text = m_text->toPlainText();
    change(tr("Change Text"), m_text, [text](LabelObject &object) {
        if (auto *shown = std::get_if<TextObject>(&object))
            shown->text = text;
    });
}

void ObjectPanel::chooseFill(bool filled)
{
    if (!m_object)
        return;
    QColor colour = Qt::transparent;
    if (filled) {
        const QColor current = std::get<BoxObject>(*m_object).fill;
        colour = askColour(current.alpha() == 0 ? QColor(Qt::white) : current);
    }
    if (colour.isValid())
        change(tr("Change Fill"), m_fill,
               [colour](LabelObject &object) { std::get<BoxObject>(object).fill = colour; });
    fill(); // a choice cancelled leaves "No fill" as it was
}

QColor ObjectPanel::askColour(const QColor &current)
{
    if (m_chooseColour)
        return m_chooseColour(current);
    return QColorDialog::getColor(current, this, tr("Choose a Colour"), QColorDialog::ShowAlphaChannel);
}

QRectF ObjectPanel::boxOf(const LabelObject &object) const
{
    if (const ObjectFrame *frame = LabelObjects::frameOf(object))
        return frame->box;
    return std::get<SymbolObject>(object).place.value_or(QRectF(QPointF(), m_labelSize));
}

QString ObjectPanel::unitName() const
{
    return m_unit == LabelDocument::Unit::Inches ? QStringLiteral("in") : QStringLiteral("cm");
}
