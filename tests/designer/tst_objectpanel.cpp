// The property panel beside the canvas, worked with keys and clicks: each
// kind's fields filled from its object, amounts typed in centimetres and in
// inches told in exact twips, a field inserted at the cursor, a picture and a
// colour chosen, a refused value marked and not told, and nothing told while
// the panel fills itself.
#include "ObjectPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

namespace {

using Unit = LabelDocument::Unit;
const QStringList kFields = {"lot", "sku"};

// One object of each kind, named as the panel's title names it.
LabelObject sample(const QString &kind)
{
    if (kind == "Designer symbol")
        return SymbolObject{.place = QRectF(0, 0, 1701, 1440)};
    if (kind == "Text")
        return TextObject{.frame = {QRectF(567, 283.5, 2268, 567), SymbolObject::Rotation::Quarter},
                          .text = "Lot \nBest before {date}",
                          .fontName = "Liberation Sans",
                          .alignment = SymbolObject::Alignment::Center};
    if (kind == "Symbol") {
        BarcodeObject barcode{.frame = {QRectF(1134, 0, 1701, 850.5)}, .data = "{sku}"};
        barcode.symbol.symbology = Symbology::Code128;
        barcode.symbol.showText = SymbolObject::Tick::Grey;
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

// What a field shows: its text, a list's choice, a tick box's state.
QString shownText(QWidget *widget)
{
    if (auto *check = qobject_cast<QCheckBox *>(widget))
        return QStringList{"clear", "grey", "ticked"}.at(check->checkState());
    for (const char *property : {"plainText", "currentText", "text"}) {
        if (const QVariant text = widget->property(property); text.isValid())
            return text.toString();
    }
    return {};
}

// The fields shown that no mnemonic leads to: their own, their label's or their row's.
QStringList unreached(ObjectPanel &panel)
{
    QStringList names;
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
        if (!reached)
            names << widget->accessibleName();
    }
    return names;
}

// A panel showing a sample, and the edits it tells, in order.
struct Shown {
    explicit Shown(const QString &kind, Unit unit = Unit::Centimetres)
    {
        panel.showObject(sample(kind), unit, kFields);
        QObject::connect(&panel, &ObjectPanel::edited, &panel,
                         [this](const QString &step, const LabelObject &object) {
                             steps << step;
                             objects.push_back(object);
                         });
    }
    ObjectPanel panel;
    QStringList steps;
    std::vector<LabelObject> objects;
};

} // namespace

struct TypedCase {
    QString kind = "Text";
    Unit unit = Unit::Centimetres;
    QString name = {}; // the field's
    QString typed = {}; // "." is the locale's decimal point
    QString step = {}; // none: refused
    QRectF box = {}; // the frame told
    QString reason = {}; // the refusing field's tooltip holds it
};

class TestObjectPanel : public QObject {
    Q_OBJECT
private slots:
    // Each kind's fields filled from its object, every one led to by a mnemonic.
    void shownFields_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *kind, const char *field, const QString &expected) {
            QTest::newRow(name) << QString(kind) << QString(field) << expected;
        };
        row("symbol height", "Designer symbol", "Height", local("2.54 cm"));
        row("text template", "Text", "Text", "Lot \nBest before {date}");
        row("text alignment", "Text", "Alignment", "Centre");
        row("symbol symbology", "Symbol", "Symbology", "Code128");
        row("symbol show text", "Symbol", "Show text", "grey");
        row("picture file", "Picture", "Picture file", "/labels/logo.svg");
        row("line height", "Line", "Height", local("-0.25 cm"));
        row("box shape", "Box", "Shape", "Ellipse");
    }
    void shownFields()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        Shown shown(kind);
        QWidget *filled = field(shown.panel, name);
        QVERIFY2(filled, qPrintable(name + " is not shown"));
        QCOMPARE(shownText(filled), expected);
        QCOMPARE(shown.panel.findChild<QLabel *>("status")->text(), kind);
        QCOMPARE(unreached(shown.panel), QStringList());
    }

    // The designer's symbol shows its box; its rotation is set elsewhere.
    void designerSymbol()
    {
        Shown shown("Designer symbol", Unit::Inches);
        QVERIFY(!field(shown.panel, "Rotation"));
        QCOMPARE(shownText(field(shown.panel, "Width")), local("1.181 in"));
    }

    // Several selected: their count, and no fields.
    void selection()
    {
        ObjectPanel panel;
        panel.showObject(std::nullopt, Unit::Centimetres, kFields, 3);
        QCOMPARE(panel.findChild<QLabel *>("status")->text(), QStringLiteral("3 objects selected"));
        QVERIFY(!field(panel, "X"));
    }

    // A value typed over a field's and Return: told as one step, or refused and marked.
    void typed_data()
    {
        QTest::addColumn<TypedCase>("c");
        const auto row = [](const char *name, const TypedCase &c) { QTest::newRow(name) << c; };
        row("x in cm",
            {.name = "X", .typed = "2.5", .step = "Change Position", .box = {1417.5, 283.5, 2268, 567}});
        row("height in inches",
            {.unit = Unit::Inches,
             .name = "Height",
             .typed = "1.125 in",
             .step = "Change Size",
             .box = {567, 283.5, 2268, 1620}});
        row("negative width", {.name = "Width", .typed = "-2", .reason = "its width -1134 is below 0"});
        row("negative height", {.name = "Height", .typed = "-1", .reason = "its height -567 is below 0"});
        row("no picture file",
            {.kind = "Picture", .name = "Picture file", .reason = "it names no picture file"});
    }
    void typed()
    {
        QFETCH(TypedCase, c);
        Shown shown(c.kind, c.unit);
        QWidget *typedInto = field(shown.panel, c.name);
        QTest::keyClick(typedInto, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(typedInto, Qt::Key_Delete);
        QTest::keyClicks(typedInto, local(c.typed));
        QTest::keyClick(typedInto, Qt::Key_Return);
        QCOMPARE(shown.steps, c.step.isEmpty() ? QStringList() : QStringList{c.step});
        const bool marked
            = typedInto->palette().color(QPalette::Base) != shown.panel.palette().color(QPalette::Base);
        QCOMPARE(marked, c.step.isEmpty());
        QVERIFY2(typedInto->toolTip().contains(c.reason), qPrintable(typedInto->toolTip()));
        if (c.step.isEmpty())
            QCOMPARE(shownText(typedInto), local(c.typed)); // kept for the user to put right
        else
            QCOMPARE(LabelObjects::frameOf(shown.objects.front())->box, c.box);
    }

    // A field's name chosen from the list goes in at the cursor: here the first line's end.
    void insertField()
    {
        Shown shown("Text");
        QWidget *text = field(shown.panel, "Text");
        QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_End);
        QTest::keyClick(field(shown.panel, "Insert field"), Qt::Key_Down); // the label's first field
        QCOMPARE(shown.steps, QStringList{"Change Text"});
        QCOMPARE(LabelObjects::templateOf(shown.objects.front()), "Lot {lot}\nBest before {date}");
        QCOMPARE(shownText(text), "Lot {lot}\nBest before {date}");
        QCOMPARE(shownText(field(shown.panel, "Insert field")), QString());
    }

    // The chooser is asked with the file shown; cancelled, nothing is told.
    void pictureChosen()
    {
        Shown shown("Picture");
        QStringList answers{QString(), "/labels/shop.png"};
        QStringList asked;
        shown.panel.setPictureChooser([&](const QString &current) {
            asked << current;
            return answers.takeFirst();
        });
        shown.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown.panel));
        QTest::mouseClick(field(shown.panel, "Browse for a picture"), Qt::LeftButton);
        QTest::mouseClick(field(shown.panel, "Browse for a picture"), Qt::LeftButton);
        QCOMPARE(asked, QStringList({"/labels/logo.svg", "/labels/logo.svg"}));
        QCOMPARE(shown.steps, QStringList{"Change Picture"});
        QCOMPARE(std::get<PictureObject>(shown.objects.front()).file, "/labels/shop.png");
    }

    // A symbol's options are asked for with its own, and the answer is told.
    void optionsChosen()
    {
        Shown shown("Symbol");
        shown.panel.setOptionsChooser([](FormatOptions options) {
            options.code39Check = !options.code39Check;
            return std::optional(options);
        });
        shown.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown.panel));
        QTest::mouseClick(field(shown.panel, "Symbol options"), Qt::LeftButton);
        QCOMPARE(shown.steps, QStringList{"Change Options"});
        QVERIFY(std::get<BarcodeObject>(shown.objects.front()).symbol.options.code39Check);
    }

    void colourChosen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("showing"); // the field that shows the colour chosen
        QTest::newRow("text colour") << QString("Text") << QString("Colour") << QString("Change Colour")
                                     << QString("Colour");
        QTest::newRow("box no fill cleared")
            << QString("Box") << QString("No fill") << QString("Change Fill") << QString("Fill");
        QTest::newRow("box fill") << QString("Box") << QString("Fill") << QString("Change Fill")
                                  << QString("Fill");
    }
    void colourChosen()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, step);
        QFETCH(QString, showing);
        Shown shown(kind);
        shown.panel.setColourChooser([](const QColor &) { return QColor("#ffeecc"); });
        shown.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown.panel));
        QTest::mouseClick(field(shown.panel, name), Qt::LeftButton);
        QCOMPARE(shown.steps, QStringList{step});
        QCOMPARE(shownText(field(shown.panel, showing)), "#ffeecc");
        QVERIFY(shown.objects.front() != sample(kind));
    }

    // Filling the panel, in either unit and again over the same object, tells nothing.
    void fillingTellsNothing()
    {
        Shown shown("Box");
        for (const char *kind : {"Designer symbol", "Text", "Symbol", "Picture", "Line", "Box"}) {
            shown.panel.showObject(sample(kind), Unit::Centimetres, kFields);
            shown.panel.showObject(sample(kind), Unit::Inches, {"batch"});
            shown.panel.showObject(sample(kind), Unit::Inches, {"batch"});
            QTest::keyClick(field(shown.panel, "X"), Qt::Key_Return);
        }
        shown.panel.showObject(std::nullopt, Unit::Inches, {});
        QTest::qWait(800); // past the pause after which a typed text is told
        QVERIFY2(shown.steps.isEmpty(), qPrintable(shown.steps.join(", ")));
    }
};

QTEST_MAIN(TestObjectPanel)
#include "tst_objectpanel.moc"
