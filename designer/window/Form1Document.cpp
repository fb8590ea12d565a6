// The window as a view of its label document: each control's change is
// written into the document before the control's handler runs, so that the
// data-value functions the handler calls read the change.
#include "ClickCheckBox.h"
#include "DocumentSource.h"
#include "Form1.h"
#include "LabelEditor.h"
#include "LabelRenderer.h"
#include "LabelRows.h"
#include "Module1.h"
#include "Numbers.h"
#include "ObjectPainter.h"
#include "PrinterObject.h"
#include "QuillError.h"
#include "Vantrel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>

namespace {

SymbolObject::Tick tickOf(const QCheckBox *box) { return SymbolObject::tickOf(ClickCheckBox::value(box)); }

} // namespace

void Form1::connectDocument()
{
    for (QComboBox *list : {Combo1, Combo2, Combo4, Combo5})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { writeSymbol(); });
    // A typed symbology selects nothing, without the list's signal.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { writeSymbol(); });
    connect(Combo3, &QComboBox::currentTextChanged, this, [this] { writeSymbol(); });
    for (QCheckBox *box : {Check1, Check2})
        connect(box, &QCheckBox::stateChanged, this, [this] { writeSymbol(); });
    connect(Check3, &QCheckBox::stateChanged, this, [this] { writeSource(); });
    for (QLineEdit *box : {Text1, Text2, Text3, Text4, Text7, Text8})
        connect(box, &QLineEdit::textChanged, this, [this] { writeSource(); });
    for (QRadioButton *option : {Option1, Option2, Option3})
        connect(option, &QRadioButton::toggled, this, [this] { writeSource(); });
    // The controls as built: a later text that is the same as the built one changes nothing.
    writeSymbol();
    writeSource();
    m_document.addObserver([this](LabelDocument::Part part) { showObjects(part); });
}

void Form1::showObjects(LabelDocument::Part part)
{
    using Part = LabelDocument::Part;
    // The sheet around the label changes nothing drawn on it; the unit only the rulers and the panel.
    if (part == Part::Margins || part == Part::LabelProduct)
        return;
    if (part == Part::Unit) {
        m_editor->showLabel(m_labelPreview.get());
        return;
    }
    // Once the canvas shows a label it stays, objects or none, until another design is taken.
    if (!m_document.hasAddedObjects() && !m_editor->shown()) {
        m_editor->showLabel(nullptr);
        m_labelPreview.reset();
        return;
    }
    if (!m_labelPreview || part != Part::Source)
        m_labelPreview = std::make_unique<LabelRenderer>(m_document);
    // The templates tied to the data's columns as a run ties them.
    m_objectFaults.clear();
    if (ObjectPainter *objects = m_labelPreview->objects()) {
        Module1 rows(*m_dataSource);
        try {
            if (rows.readsColumns())
                rows.getFirstData();
            m_objectFaults = objects->bindEach(rows);
        } catch (const QuillError &error) {
            // Data that cannot be read leaves every template unfilled, for that reason.
            for (std::size_t i = 0; i < objects->objects().size(); ++i)
                if (!LabelObjects::templateOf(objects->objects()[i]).isEmpty())
                    m_objectFaults[i] = error.description();
        }
        rows.endRun();
    }
    if (part == Part::Source)
        m_editor->dataChanged();
    m_editor->showLabel(m_labelPreview.get());
}

void Form1::buildEditor()
{
    LabelEditor::Hooks hooks;
    hooks.restore = [this](const LabelDocument &state) { showDocument(state); };
    hooks.labelCount = [this](long long most) {
        Module1 rows(*m_dataSource);
        return LabelRows::count(rows, most);
    };
    hooks.record = [this](long long number) {
        Module1 rows(*m_dataSource);
        return LabelRows::record(rows, number);
    };
    hooks.fieldNames = [this] {
        Module1 rows(*m_dataSource);
        QStringList names;
        try {
            if (rows.readsColumns()) {
                rows.getFirstData();
                names = rows.header();
            }
        } catch (const QuillError &) {
        }
        rows.endRun();
        return names;
    };
    hooks.faults = [this] { return m_objectFaults; };
    hooks.dotTwips = [this] { return double(m_printer.twipsPerPixelX()); };
    QAction *before = qobject_cast<QMenu *>(mnuPrint->parent())->menuAction();
    m_editor = std::make_unique<LabelEditor>(*this, *Picture1, before, m_document, m_dialogs, hooks);
    Picture1->installEventFilter(this);
    // The controls' changes run into one step until the focus moves on.
    // The editor is the connection's context: it goes before the window's widgets, whose
    // closing moves the focus too.
    connect(qApp, &QApplication::focusChanged, m_editor.get(), [this] { m_editor->history().seal(); });
}

void Form1::writeSymbol()
{
    SymbolObject symbol = m_document.symbol();
    symbol.symbology = symbologyAt(Combo1->currentIndex());
    symbol.options = Vantrel1->design().formatOptions();
    symbol.scaling = tickOf(Check2);
    symbol.showText = tickOf(Check1);
    symbol.rotation
        = SymbolObject::rotationOf(Numbers::numericValue(Combo4->currentText())).value_or(symbol.rotation);
    symbol.alignment = SymbolObject::Alignment(qBound(0, Combo5->currentIndex(), 2));
    symbol.fontName = Combo2->currentText();
    // A size being typed that draws nothing (an empty box) leaves the last one drawn.
    if (const double points = Vantrel1->Font().Size(); points != 0)
        symbol.fontPoints = points;
    m_document.setSymbol(symbol);
}

void Form1::writeSource()
{
    DataSource source = m_document.source();
    source.kind = Option3->isChecked() ? DataSource::Kind::ImportFile
        : Option2->isChecked()         ? DataSource::Kind::Sequence
        : Option1->isChecked()         ? DataSource::Kind::Text
                                       : DataSource::Kind::None;
    source.text = Text1->text();
    source.sequenceStart = Text2->text();
    source.sequenceEnd = Text3->text();
    source.importFile = Text4->text();
    source.prefix = Text7->text();
    source.suffix = Text8->text();
    source.titled = tickOf(Check3);
    m_document.setSource(source);
}
