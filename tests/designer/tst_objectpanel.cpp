// The property panel beside the canvas, worked with keys and clicks: each
// kind's fields filled from its object, amounts typed in centimetres and in
// inches told in exact twips, fields inserted at the cursor, a picture and a
// colour chosen, a refused value marked and not told, and nothing told while
// the panel fills itself.
#include "ObjectPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

using Unit = LabelDocument::Unit;
const QStringList kFields = {"lot", "sku"};

// One object of each kind, named as the panel's title names it.
LabelObject sample(const QString &kind)
{
    if (kind == "Designer symbol")
        return SymbolObject{.place = QRectF(0, 0, 1701, 1440)};
    if (kind == "Text") {
        return TextObject{.frame = {QRectF(567, 283.5, 2268, 567), SymbolObject::Rotation::Quarter},
                          .text = "Lot \nBest before {date}",
                          .fontName = "Liberation Sans",
                          .fontPoints = 9.5,
                          .bold = true,
                          .colour = QColor("#204060"),
                          .alignment = SymbolObject::Alignment::Center,
                          .shrinkToFit = true};
    }
    if (kind == "Symbol") {
        BarcodeObject barcode{.frame = {QRectF(1134, 0, 1701, 850.5)}, .data = "{sku}"};
        barcode.symbol.symbology = Symbology::Code128;
        barcode.symbol.showText = SymbolObject::Tick::Grey;
        barcode.symbol.fontName = "DejaVu Sans";
        barcode.symbol.fontPoints = 8;
        return barcode;
    }
    if (kind == "Picture")
        return PictureObject{.frame = {QRectF(0, 0, 567, 567)}, .file = "/labels/logo.svg"};
    if (kind == "Line")
        return LineObject{
            .frame = {QRectF(0, 1417.5, 2551.5, -141.75)}, .strokePoints = .75, .stroke = Qt::red};
    return BoxObject{.shape = BoxObject::Shape::Ellipse, .cornerTwips = 141.75, .strokePoints = 2};
}

// A number as the user's locale writes it: "2.5" is "2,5" under a comma-decimal locale.
QString local(QString text) { return text.replace('.', QLocale().decimalPoint()); }

// The panel's field with this accessible name, as shown: a row of several is not the field.
QWidget *field(ObjectPanel &panel, const QString &name)
{
    for (QWidget *widget : panel.findChildren<QWidget *>())
        if (widget->accessibleName() == name && !widget->focusProxy() && widget->isVisibleTo(&panel))
            return widget;
    return nullptr;
}

QString shownText(QWidget *widget)
{
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->text();
    if (auto *text = qobject_cast<QPlainTextEdit *>(widget))
        return text->toPlainText();
    if (auto *list = qobject_cast<QComboBox *>(widget))
        return list->currentText();
    if (auto *check = qobject_cast<QCheckBox *>(widget))
        return QStringList{"clear", "grey", "ticked"}.at(check->checkState());
    return qobject_cast<QPushButton *>(widget)->text();
}

// The edits the panel tells, in order.
struct Edits {
    explicit Edits(ObjectPanel &panel)
    {
        QObject::connect(&panel, &ObjectPanel::edited, &panel,
                         [this](const QString &step, const LabelObject &object) {
                             steps << step;
                             objects.push_back(object);
                         });
    }
    QStringList steps;
    std::vector<LabelObject> objects;
};

// Types into a field over what it holds and presses Return.
void retype(QWidget *widget, const QString &text)
{
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(widget, text);
    QTest::keyClick(widget, Qt::Key_Return);
}

} // namespace

Q_DECLARE_METATYPE(LabelDocument::Unit)

class TestObjectPanel : public QObject {
    Q_OBJECT
private slots:
    void shownFields_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *kind, const char *field, const QString &expected) {
            QTest::newRow(name) << QString(kind) << QString(field) << expected;
        };
        row("symbol x", "Designer symbol", "X", "0 cm");
        row("symbol width", "Designer symbol", "Width", "3 cm");
        row("symbol height", "Designer symbol", "Height", local("2.54 cm"));
        row("text y", "Text", "Y", local("0.5 cm"));
        row("text rotation", "Text", "Rotation", "90°");
        row("text template", "Text", "Text", "Lot \nBest before {date}");
        row("text font", "Text", "Font", "Liberation Sans");
        row("text size", "Text", "Font size", local("9.5 pt"));
        row("text bold", "Text", "Bold", "ticked");
        row("text italic", "Text", "Italic", "clear");
        row("text colour", "Text", "Colour", "#204060");
        row("text alignment", "Text", "Alignment", "Centre");
        row("text shrink", "Text", "Shrink to fit", "ticked");
        row("symbol symbology", "Symbol", "Symbology", "Code128");
        row("symbol show text", "Symbol", "Show text", "grey");
        row("symbol data", "Symbol", "Data", "{sku}");
        row("symbol font", "Symbol", "Font", "DejaVu Sans");
        row("symbol size", "Symbol", "Font size", "8 pt");
        row("symbol height", "Symbol", "Height", local("1.5 cm"));
        row("picture file", "Picture", "Picture file", "/labels/logo.svg");
        row("line height", "Line", "Height", local("-0.25 cm"));
        row("line stroke", "Line", "Stroke width", local("0.75 pt"));
        row("line colour", "Line", "Stroke colour", "#ff0000");
        row("box shape", "Box", "Shape", "Ellipse");
        row("box corner", "Box", "Corner radius", local("0.25 cm"));
        row("box stroke", "Box", "Stroke width", "2 pt");
        row("box fill", "Box", "Fill", "None");
        row("box no fill", "Box", "No fill", "ticked");
    }
    void shownFields()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        ObjectPanel panel;
        panel.showObject(sample(kind), Unit::Centimetres, kFields);
        QWidget *shown = field(panel, name);
        QVERIFY2(shown, qPrintable(name + " is not shown"));
        QCOMPARE(shownText(shown), expected);
        QCOMPARE(panel.findChild<QLabel *>("status")->text(), kind);
    }

    // The designer's symbol shows its box and a note; its rotation is set elsewhere.
    void designerSymbol()
    {
        ObjectPanel panel;
        panel.showObject(sample("Designer symbol"), Unit::Inches, kFields);
        QVERIFY(!field(panel, "Rotation"));
        QCOMPARE(shownText(field(panel, "Width")), local("1.181 in"));
        bool noted = false;
        for (const QLabel *label : panel.findChildren<QLabel *>())
            noted = noted || (label->text().contains("rotation are set above") && label->isVisibleTo(&panel));
        QVERIFY(noted);
    }

    void selection_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("status");
        QTest::newRow("none") << 0 << "No object selected";
        QTest::newRow("three") << 3 << "3 objects selected";
    }
    void selection()
    {
        QFETCH(int, count);
        QFETCH(QString, status);
        ObjectPanel panel;
        const std::optional<LabelObject> object = count ? std::optional(sample("Text")) : std::nullopt;
        panel.showObject(object, Unit::Centimetres, kFields, count);
        QCOMPARE(panel.findChild<QLabel *>("status")->text(), status);
        QVERIFY(!field(panel, "X"));
        QVERIFY(!field(panel, "Text"));
    }

    // Every field shown has a label with a mnemonic that leads to it.
    void keyboardReach_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"Designer symbol", "Text", "Symbol", "Picture", "Line", "Box"})
            QTest::newRow(kind) << QString(kind);
    }
    void keyboardReach()
    {
        QFETCH(QString, kind);
        ObjectPanel panel;
        panel.showObject(sample(kind), Unit::Centimetres, kFields);
        for (QWidget *widget : panel.findChildren<QWidget *>()) {
            if (widget->accessibleName().isEmpty() || !widget->isVisibleTo(&panel))
                continue;
            bool reached = false;
            if (auto *button = qobject_cast<QAbstractButton *>(widget))
                reached = button->text().contains('&');
            for (const QLabel *label : panel.findChildren<QLabel *>())
                reached = reached || (label->buddy() == widget && label->text().contains('&'));
            if (widget->parentWidget() != &panel && widget->parentWidget()->focusProxy() == widget)
                reached = true; // through the label of its row
            QVERIFY2(reached, qPrintable(widget->accessibleName()));
        }
    }

    void typedLengths_data()
    {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QRectF>("box");
        const auto row = [](const char *name, Unit unit, const char *field, const char *typed,
                            const char *step, const QRectF &box) {
            QTest::newRow(name) << unit << QString(field) << local(typed) << QString(step) << box;
        };
        row("x in cm", Unit::Centimetres, "X", "2.5", "Change Position", {1417.5, 283.5, 2268, 567});
        row("x with its unit", Unit::Centimetres, "X", "1.5 cm", "Change Position",
            {850.5, 283.5, 2268, 567});
        row("width in cm", Unit::Centimetres, "Width", "3.25", "Change Size", {567, 283.5, 1842.75, 567});
        row("y in inches", Unit::Inches, "Y", "0.75", "Change Position", {567, 1080, 2268, 567});
        row("height in inches", Unit::Inches, "Height", "1.125 in", "Change Size", {567, 283.5, 2268, 1620});
    }
    void typedLengths()
    {
        QFETCH(Unit, unit);
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, step);
        QFETCH(QRectF, box);
        ObjectPanel panel;
        panel.showObject(sample("Text"), unit, kFields);
        Edits edits(panel);
        retype(field(panel, name), typed);
        QCOMPARE(edits.steps, QStringList{step});
        QCOMPARE(LabelObjects::frameOf(edits.objects.front())->box, box);
    }

    void insertField_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *kind, const char *editor, const char *list,
                            const char *step, const char *expected) {
            QTest::newRow(name) << QString(kind) << QString(editor) << QString(list) << QString(step)
                                << QString(expected);
        };
        row("text at a line's end", "Text", "Text", "Insert field", "Change Text",
            "Lot {lot}\nBest before {date}");
        row("data at its start", "Symbol", "Data", "Insert data field", "Change Data", "{lot}{sku}");
    }
    void insertField()
    {
        QFETCH(QString, kind);
        QFETCH(QString, editor);
        QFETCH(QString, list);
        QFETCH(QString, step);
        QFETCH(QString, expected);
        ObjectPanel panel;
        panel.showObject(sample(kind), Unit::Centimetres, kFields);
        Edits edits(panel);
        QWidget *edited = field(panel, editor);
        const bool lines = qobject_cast<QPlainTextEdit *>(edited) != nullptr;
        QTest::keyClick(edited, Qt::Key_Home, lines ? Qt::ControlModifier : Qt::NoModifier);
        if (lines)
            QTest::keyClick(edited, Qt::Key_End); // the first line's end
        QTest::keyClick(field(panel, list), Qt::Key_Down); // the first entry, the label's first field
        QCOMPARE(edits.steps, QStringList{step});
        QCOMPARE(LabelObjects::templateOf(edits.objects.front()), expected);
        QCOMPARE(shownText(edited), expected);
        QCOMPARE(shownText(field(panel, list)), QString());
    }

    void pictureChosen_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("a file") << "/labels/shop.png" << QStringList{"Change Picture"};
        QTest::newRow("cancelled") << QString() << QStringList();
    }
    void pictureChosen()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, steps);
        ObjectPanel panel;
        QString asked;
        panel.setPictureChooser([&](const QString &current) {
            asked = current;
            return chosen;
        });
        panel.showObject(sample("Picture"), Unit::Centimetres, kFields);
        Edits edits(panel);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QTest::mouseClick(field(panel, "Browse for a picture"), Qt::LeftButton);
        QCOMPARE(asked, "/labels/logo.svg");
        QCOMPARE(edits.steps, steps);
        if (!steps.isEmpty())
            QCOMPARE(std::get<PictureObject>(edits.objects.front()).file, chosen);
    }

    void colourChosen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *name, const char *kind, const char *button, const char *step,
                            const char *shown) {
            QTest::newRow(name) << QString(kind) << QString(button) << QString(step) << QString(shown);
        };
        row("text colour", "Text", "Colour", "Change Colour", "Colour");
        row("line stroke", "Line", "Stroke colour", "Change Stroke", "Stroke colour");
        row("box fill", "Box", "Fill", "Change Fill", "Fill");
        row("box no fill cleared", "Box", "No fill", "Change Fill", "Fill");
    }
    void colourChosen()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, step);
        QFETCH(QString, shown);
        ObjectPanel panel;
        panel.setColourChooser([](const QColor &) { return QColor("#ffeecc"); });
        panel.showObject(sample(kind), Unit::Centimetres, kFields);
        Edits edits(panel);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QTest::mouseClick(field(panel, name), Qt::LeftButton);
        QCOMPARE(edits.steps, QStringList{step});
        QCOMPARE(shownText(field(panel, shown)), "#ffeecc");
        QVERIFY(edits.objects.front() != sample(kind));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *name, const char *kind, const char *field, const char *typed,
                            const char *reason) {
            QTest::newRow(name) << QString(kind) << QString(field) << QString(typed) << QString(reason);
        };
        row("negative width", "Text", "Width", "-2", "its width -1134 is below 0");
        row("no number", "Box", "X", "left", "“left” is not a number");
        row("no font size", "Symbol", "Font size", "0", "its font size of 0 points");
        row("stroke too wide", "Line", "Stroke width", "2000", "is not from 0 to 1,000");
        row("no picture file", "Picture", "Picture file", "", "it names no picture file");
    }
    void refused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        ObjectPanel panel;
        panel.showObject(sample(kind), Unit::Centimetres, kFields);
        Edits edits(panel);
        QWidget *refusing = field(panel, name);
        QTest::keyClick(refusing, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(refusing, Qt::Key_Delete);
        retype(refusing, typed);
        QVERIFY(edits.steps.isEmpty());
        QVERIFY2(refusing->toolTip().contains(reason), qPrintable(refusing->toolTip()));
        QVERIFY(refusing->palette().color(QPalette::Base) != panel.palette().color(QPalette::Base));
        QCOMPARE(shownText(refusing), typed);
    }

    // Filling the panel, in either unit and again over the same object, tells nothing.
    void fillingTellsNothing()
    {
        ObjectPanel panel;
        Edits edits(panel);
        for (const char *kind : {"Designer symbol", "Text", "Symbol", "Picture", "Line", "Box"}) {
            panel.showObject(sample(kind), Unit::Centimetres, kFields);
            panel.showObject(sample(kind), Unit::Inches, {"batch"});
            panel.showObject(sample(kind), Unit::Inches, {"batch"});
            QTest::keyClick(field(panel, "X"), Qt::Key_Return);
        }
        panel.showObject(std::nullopt, Unit::Inches, {});
        QTest::qWait(800); // past the pause after which a typed text is told
        QVERIFY2(edits.steps.isEmpty(), qPrintable(edits.steps.join(", ")));
    }
};

QTEST_MAIN(TestObjectPanel)
#include "tst_objectpanel.moc"
