// The data panel: which source is in force, which boxes can be edited, and
// the first value and title of that source in the preview.
#include "ClickCheckBox.h"
#include "Form1.h"
#include "ImportColumnsDialog.h"
#include "ImportFile.h"
#include "Module1.h"
#include "Vantrel.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {

// An ordinary file by that name: not a folder, not hidden. A name the system
// cannot take counts as missing.
bool ordinaryFileExists(const QString &name)
{
    if (name.isEmpty() || name.contains(QChar(0)))
        return false;
    const QFileInfo info(name);
    return info.isFile() && !info.isHidden();
}

// The browse offers spreadsheet exports, which the Columns dialog reads, after
// its text entries, and opens on them while columns are read or the file is one.
const QString kSpreadsheetEntry = QStringLiteral("Spreadsheet exports (*.csv *.tsv)|*.csv;*.tsv");

bool spreadsheetFirst(bool columns, const QString &file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    return columns || suffix == u"csv" || suffix == u"tsv";
}

void enable(std::initializer_list<QWidget *> widgets, bool enabled)
{
    for (QWidget *widget : widgets)
        widget->setEnabled(enabled);
}

} // namespace

void Form1::Option1_Click()
{
    Text1->setEnabled(true);
    Vantrel1->setCaption(Text1->text());
    Vantrel1->setTitle(QString());
    enable({Text2, Text3, Text7, Text8, Command1, Text4, Check3, Command7}, false);
}

void Form1::Option2_Click()
{
    enable({Text2, Text3, Text7, Text8}, true);
    Vantrel1->setCaption(module1().getFirstData());
    Vantrel1->setTitle(QString());
    enable({Text1, Command1, Text4, Check3, Command7}, false);
}

void Form1::Option3_Click()
{
    enable({Command1, Text4, Check3, Command7}, true);
    previewImport();
    enable({Text2, Text3, Text1, Text7, Text8}, false);
}

void Form1::Check3_Click()
{
    if (ClickCheckBox::value(Check3) != 0) {
        Vantrel1->setCaption(module1().getFirstData());
        Vantrel1->setTitle(module1().getFirstTitle());
    } else {
        Vantrel1->setTitle(QString());
    }
    Vantrel1->Refresh();
}

void Form1::Command1_Click()
{
    CommonDialog1.Filter = QStringLiteral("Text files (*.txt)|*.txt|All fiels (*.*)|*.*");
    CommonDialog1.DefaultExt = QStringLiteral(".txt");
    // A cancelled browse changes nothing: the dialog's remembered name may be
    // that of a picture saved earlier, or empty, and is no import file.
    if (!CommonDialog1.ShowOpen(kSpreadsheetEntry,
                                spreadsheetFirst(m_document.source().columns.chosen(), Text4->text())))
        return;
    Text4->setText(CommonDialog1.FileName);
    if (ordinaryFileExists(Text4->text())) {
        Vantrel1->setCaption(module1().getFirstData());
        Vantrel1->setTitle(ClickCheckBox::value(Check3) != 0 ? module1().getFirstTitle() : QString());
    }
}

// The import file's first value; with columns chosen, the first row's value
// and, when "has title" is ticked, its title.
void Form1::previewImport()
{
    const QString name = Text4->text();
    if (!ordinaryFileExists(name))
        return;
    if (!m_document.source().columns.chosen()) {
        Vantrel1->setCaption(module1().importPreview(name).trimmed());
        return;
    }
    Vantrel1->setCaption(module1().importPreview(name));
    if (ClickCheckBox::value(Check3) != 0)
        Vantrel1->setTitle(module1().importPreviewTitle(name));
}

void Form1::Command7_Click()
{
    ImportColumnsDialog dialog(Text4->text(), m_document.source().columns, m_dialogs, this);
    if (dialog.run() != QDialog::Accepted)
        return;
    const ImportColumns columns = dialog.columns();
    DataSource source = m_document.source();
    source.columns = columns;
    m_document.setSource(source);
    if (columns.chosen() && !columns.titleTemplate.isEmpty())
        ClickCheckBox::setValue(Check3, 1);
    if (columns.chosen()) {
        previewImport();
    } else if (ordinaryFileExists(Text4->text())) {
        // Line by line again: the preview a browse to the file gives.
        Vantrel1->setCaption(module1().getFirstData());
        Vantrel1->setTitle(ClickCheckBox::value(Check3) != 0 ? module1().getFirstTitle() : QString());
    }
    Vantrel1->Refresh();
}

void Form1::Text1_Change() { Vantrel1->setCaption(Text1->text()); }

void Form1::Text2_Change()
{
    // The bare start text; output runs still put prefix and suffix around it.
    Vantrel1->setCaption(Text2->text());
}
