// Start-up from the saved design, and its saving at close.
#include "ClickCheckBox.h"
#include "DesignCodec.h"
#include "DesignValues.h"
#include "FontFamilies.h"
#include "Form1.h"
#include "LabelEditor.h"
#include "Numbers.h"
#include "OutputCommands.h"
#include "PrinterObject.h"
#include "QuillError.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include "Dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

void Form1::startUp()
{
    // The store leaves such a file as it is and starts empty: the first-run design.
    if (const QString failure = m_store.readFailure(); !failure.isEmpty())
        m_dialogs.messageBox(
            QStringLiteral("The settings file \"%1\" cannot be read: %2. The designer starts with its first "
                           "design and leaves that file as it is.")
                .arg(QDir::toNativeSeparators(m_store.path()), failure),
            QStringLiteral("Quillmark"));
    runGuarded([this] { Form_Load(); });
    runGuarded([this] { Form_Resize(); });
    m_editor->history().reset();
}

void Form1::Form_Load()
{
    const Design stored = Design::fromStore(m_store);
    applyDesign(stored);
    // The print dialog's margins, as it last stored them.
    m_document.setMargins(DesignCodec::read(stored).margins());
}

void Form1::applyDesign(const Design &design)
{
    using K = DesignKey;
    const DesignValues values = DesignValues::of(design);
    m_document.setSize(values.symbolWidth, values.symbolHeight);
    Text1->setText(design.text(K::Caption));
    Text4->setText(design.text(K::ImportFile));
    Text2->setText(design.text(K::SequenceStart));
    Text3->setText(design.text(K::SequenceEnd));
    Combo1->setCurrentIndex(values.symbology);
    ClickCheckBox::setValue(Check2, values.scaling);
    ClickCheckBox::setValue(Check1, values.showText);
    // Restored while the design-time source "Text" is still selected: a tick
    // here previews that source's first value and its (empty) title.
    ClickCheckBox::setValue(Check3, values.hasTitle);
    Combo4->setCurrentIndex(values.rotation);
    Combo5->setCurrentIndex(values.alignment);

    Vantrel1->setBarType(std::int16_t(Combo1->currentIndex()));
    Vantrel1->setScaling(std::int16_t(ClickCheckBox::value(Check2)));
    Vantrel1->setOrientation(Numbers::numericValue(Combo4->currentText()) * 10.0);
    Vantrel1->setShowText(ClickCheckBox::value(Check1));
    Vantrel1->setCaption(Text1->text());

    sizeVantrel1();
    // A unit already selected (a design opened later) rounds the new size all the same.
    QRadioButton *unit = values.unitFlag != 0 ? Option4 : Option5;
    if (unit->isChecked())
        values.unitFlag != 0 ? Option4_Click() : Option5_Click();
    else
        setOptionSelected(unit, true);

    if (Combo2->count() == 0) {
        // Filling the list selects nothing; Qt would select the first name.
        const QSignalBlocker blocker(Combo2);
        Combo2->addItems(FontFamilies::list(PrinterObject::fontNames()));
        Combo2->setCurrentIndex(-1);
    }
    QStringList fonts;
    for (int i = 0; i < Combo2->count(); ++i)
        fonts << Combo2->itemText(i);
    if (const int font = FontFamilies::indexOf(fonts, values.fontName); font >= 0)
        Combo2->setCurrentIndex(font);
    Combo3->setEditText(values.fontSize);

    if (!Combo2->currentText().isEmpty())
        Vantrel1->Font().setName(Combo2->currentText());
    applyStoredFontSize();

    Text5->setText(Numbers::regionalPlainText(m_document.width() / m_document.twipsPerUnit()));
    Text6->setText(Numbers::regionalPlainText(m_document.height() / m_document.twipsPerUnit()));

    // Before the source is chosen, so that the import file's preview reads its columns.
    DataSource source = m_document.source();
    source.columns = values.columns;
    m_document.setSource(source);
    Vantrel1->design().setPictureDpi(values.pictureDpi);
    m_document.setPictureDpi(values.pictureDpi);
    setOptionSelected(Option1, values.option1);
    setOptionSelected(Option2, values.option2);
    setOptionSelected(Option3, values.option3);
    if (Option1->isChecked())
        Option1_Click();
    if (Option2->isChecked())
        Option2_Click();
    if (Option3->isChecked())
        Option3_Click();
}

void Form1::applyStoredFontSize()
{
    DesignValues::sizeFont(Vantrel1->Font(), Combo3->currentText());
    writeSymbol();
}

void Form1::setOptionSelected(QRadioButton *option, bool selected)
{
    if (selected) {
        option->setChecked(true);
        return;
    }
    if (!option->isChecked())
        return;
    // An exclusive group never lets its selected button go by itself.
    QButtonGroup *group = option->group();
    if (group)
        group->setExclusive(false);
    option->setChecked(false);
    if (group)
        group->setExclusive(true);
}

void Form1::Form_Unload()
{
    const Design design = documentDesign();
    design.writeSection(m_store, DesignKeys::designerSection());
    design.writeSection(m_store, DesignKeys::columnsSection());
    design.writeSection(m_store, DesignKeys::picturesSection());
    // The store names the file and the system's reason.
    if (const QString error = m_store.flush(); !error.isEmpty())
        m_dialogs.messageBox(error, QStringLiteral("Quillmark"));
}

void Form1::mnuExit_Click()
{
    output().closePrintDialog();
    close();
}
