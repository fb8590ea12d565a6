// An object's text filled from a label's fields; the rows a run gives it are
// read back from printed labels (tst_labelobjects), the names it lists from
// the command line's --list-fields (tst_commandline).
#include "FieldTemplate.h"

#include "common/Raised.h"

#include <QtTest>

const QString kWhat = QStringLiteral("[Object2] text");

// A text filled from the seventh label of a run, or the message that refuses it.
struct Fill {
    QString text;
    QStringList header = {}; // the import file's header row; none when empty
    QStringList fields = {}; // the row's columns
    bool hasColumns = true;
    QString made = {};
    QString message = {}; // a part of it
};
Q_DECLARE_METATYPE(Fill)

// The seventh label of a run on 5 March 2024.
FieldRecord seventh(const QStringList &fields)
{
    return {.value = QStringLiteral("4006381333931"),
            .title = QStringLiteral("Pencil"),
            .fields = fields,
            .number = 7,
            .date = QDate(2024, 3, 5)};
}

class TestFieldTemplate : public QObject {
    Q_OBJECT

private slots:
    void apply_data()
    {
        QTest::addColumn<Fill>("f");
        const auto row = [](const char *name, const Fill &f) { QTest::newRow(name) << f; };
        const QStringList skuName = {"sku", "name"};
        row("the label's own fields",
            {.text = "{value} {title} No. {n}, {date}", .made = "4006381333931 Pencil No. 7, 2024-03-05"});
        row("date with a format", {.text = "{ date:d/M/yy }", .made = "5/3/24"});
        row("columns by name",
            {.text = "{name}-{sku}", .header = skuName, .fields = {"A1", "Pen"}, .made = "Pen-A1"});
        row("reserved names before columns",
            {.text = "{title}|{1}|{n}|{2}",
             .header = {"title", "n"},
             .fields = {"Blue", "9"},
             .made = "Pencil|Blue|7|9"});
        row("brace not closed",
            {.text = "{sku",
             .message = "The [Object2] text template \"{sku\" has a \"{\" that is not closed"});
        row("a name the header lacks",
            {.text = "{size}",
             .header = skuName,
             .message = "names the column \"size\", which the import file does not have; "
                        "its header names the columns: \"sku\", \"name\"."});
        row("a column without columns",
            {.text = "{n}: {1}",
             .hasColumns = false,
             .message = "names the column \"1\", but the label's data has no columns: without the import "
                        "file's columns chosen, only {value}, {title}, {n} and {date} are there."});
        row("a row short of a column",
            {.text = "{size}",
             .header = {"sku", "name", "size"},
             .fields = {"A1", "Pen"},
             .message = "The row has 2 column(s), but the [Object2] text template \"{size}\" uses "
                        "column 3 (\"size\")."});
    }
    // The text is read, bound to the header when there is one, and filled.
    void apply()
    {
        QFETCH(Fill, f);
        QString made;
        const QString message = raised([&] {
            FieldTemplate text(f.text, kWhat);
            text.bind(f.header, !f.header.isEmpty(), f.hasColumns, QStringLiteral("the import file"));
            made = text.apply(seventh(f.fields));
        });
        QCOMPARE(made, f.made);
        QVERIFY2(message.contains(f.message), qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestFieldTemplate)
#include "tst_fieldtemplate.moc"
