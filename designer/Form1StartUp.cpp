// Start-up from the saved design, and its saving at close.
#include "Form1.h"
#include "ClickCheckBox.h"
#include "Numbers.h"
#include "OutputCommands.h"
#include "PrinterObject.h"
#include "QuillError.h"
#include "SettingsStore.h"
#include "StoredValue.h"
#include "Vantrel.h"

#include "Dialogs.h"

#include <QButtonGroup>
#include <QRegularExpression>
#include <QSet>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

const QString kSection = QStringLiteral("Form1");

// Selects the item of a pick-only list with that text; a text that is not an
// item (never written by the program) selects the fallback item instead.
void selectItem(QComboBox *combo, const QString &text, int fallback)
{
    int index = combo->findText(text, Qt::MatchFixedString);
    if (index < 0)
        index = fallback;
    combo->setCurrentIndex(index);
}

} // namespace

void Form1::startUp()
{
    // The store leaves such a file as it is and starts empty: the first-run design.
    if (const QString failure = m_store.readFailure(); !failure.isEmpty())
        DialogProvider::current().messageBox(
            QStringLiteral("The settings file \"%1\" cannot be read: %2. The designer starts with its first "
                           "design and leaves that file as it is.")
                .arg(QDir::toNativeSeparators(m_store.path()), failure),
            QStringLiteral("Quillmark"));
    runGuarded([this] { Form_Load(); });
    runGuarded([this] { Form_Resize(); });
}

namespace {
// The font database names a family once per foundry ("C059 [urw]"); the
// family name alone selects it.
QString withoutFoundry(QString name)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return name.remove(foundry);
}
} // namespace

QStringList Form1::fontList(const QStringList &printerFonts)
{
    // Each family is listed once.
    QStringList names;
    QSet<QString> seen;
    for (const QString &font : printerFonts) {
        const QString name = withoutFoundry(font);
        if (!name.isEmpty() && !seen.contains(name.toCaseFolded())) {
            seen.insert(name.toCaseFolded());
            names << name;
        }
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

void Form1::Form_Load()
{
    auto read = [this](const char *key, const char *defaultText) {
        return m_store.read(kSection, QString::fromLatin1(key), QString::fromLatin1(defaultText));
    };

    symbolWidth = StoredValue::twips(read("vtlw", "2880"), 2880.0);
    symbolHeight = StoredValue::twips(read("vtlh", "1440"), 1440.0);
    Text1->setText(read("Caption", "0123456789"));
    Text4->setText(read("text4", ""));
    Text2->setText(read("text2", "001"));
    Text3->setText(read("text3", "999"));
    unitFlag = StoredValue::unitFlag(read("mesure", "0"));
    Combo1->setCurrentIndex(StoredValue::listIndex(read("bartype", "0"), Combo1->count(), 0));
    ClickCheckBox::setValue(Check2, StoredValue::checkValue(read("Scaling", "0")));
    ClickCheckBox::setValue(Check1, StoredValue::checkValue(read("hasText", "1")));
    // Restored while the design-time source "Text" is still selected: a tick
    // here previews that source's first value and its (empty) title.
    ClickCheckBox::setValue(Check3, StoredValue::checkValue(read("Check3", "0")));
    selectItem(Combo4, StoredValue::plainNumber(read("Orientation", "0")), 0);
    selectItem(Combo5, read("Align", "Left"), 0);

    Vantrel1->setBarType(std::int16_t(Combo1->currentIndex()));
    Vantrel1->setScaling(std::int16_t(ClickCheckBox::value(Check2)));
    Vantrel1->setOrientation(Numbers::numericValue(Combo4->currentText()) * 10.0);
    Vantrel1->setShowText(ClickCheckBox::value(Check1));
    Vantrel1->setCaption(Text1->text());

    sizeVantrel1();
    setOptionSelected(unitFlag != 0 ? Option4 : Option5, true);

    const QStringList fonts = fontList(PrinterObject::fontNames());
    {
        // Filling the list selects nothing; Qt would select the first name.
        const QSignalBlocker blocker(Combo2);
        Combo2->addItems(fonts);
        Combo2->setCurrentIndex(-1);
    }
    selectStoredFont(read("combo2", "Arial"));
    Combo3->setEditText(StoredValue::fontSizeText(read("combo3", "14")));

    if (!Combo2->currentText().isEmpty())
        Vantrel1->Font().setName(Combo2->currentText());
    applyStoredFontSize();

    Text5->setText(Numbers::regionalPlainText(symbolWidth / Numbers::twipsPerUnit(unitFlag)));
    Text6->setText(Numbers::regionalPlainText(symbolHeight / Numbers::twipsPerUnit(unitFlag)));

    setOptionSelected(Option1, StoredValue::selected(read("option1", "1")));
    setOptionSelected(Option2, StoredValue::selected(read("option2", "0")));
    setOptionSelected(Option3, StoredValue::selected(read("option3", "0")));
    if (Option1->isChecked())
        Option1_Click();
    if (Option2->isChecked())
        Option2_Click();
    if (Option3->isChecked())
        Option3_Click();
}

void Form1::selectStoredFont(const QString &name)
{
    int index = Combo2->findText(name, Qt::MatchExactly);
    if (index < 0)
        index = Combo2->findText(name, Qt::MatchFixedString);
    if (index < 0 && !name.isEmpty()) {
        // Not offered: the family the system draws in its place, if any.
        const QString substitute = withoutFoundry(QFontInfo(QFont(name)).family());
        index = Combo2->findText(substitute, Qt::MatchFixedString);
    }
    if (index >= 0)
        Combo2->setCurrentIndex(index);
}

void Form1::applyStoredFontSize()
{
    // The text is in range already (StoredValue::fontSizeText). One the font
    // cannot convert (12abc) keeps the size its numeric value gave while it
    // was typed, and stays as the user left it.
    const QString text = Combo3->currentText();
    try {
        Vantrel1->Font().setSize(text);
    } catch (const QuillError &) {
        Vantrel1->Font().setSize(Numbers::numericValue(text));
    }
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
    auto write = [this](const char *key, const QString &text) {
        m_store.write(kSection, QString::fromLatin1(key), text);
    };
    write("vtlw", Numbers::numberText(symbolWidth));
    write("vtlh", Numbers::numberText(symbolHeight));
    write("Caption", Text1->text());
    write("text4", Text4->text());
    write("text2", Text2->text());
    write("text3", Text3->text());
    write("mesure", Numbers::numberText(unitFlag));
    write("bartype", Numbers::numberText(Combo1->currentIndex()));
    write("Scaling", StoredValue::checkFlag(ClickCheckBox::value(Check2)));
    write("Orientation", Numbers::numberText(Numbers::numericValue(Combo4->currentText())));
    write("hasText", StoredValue::checkFlag(ClickCheckBox::value(Check1)));
    write("combo2", Combo2->currentText());
    write("combo3", Combo3->currentText());
    write("Check3", StoredValue::checkFlag(ClickCheckBox::value(Check3)));
    write("Align", Combo5->currentText());
    write("option1", StoredValue::flag(Option1->isChecked()));
    write("option2", StoredValue::flag(Option2->isChecked()));
    write("option3", StoredValue::flag(Option3->isChecked()));
    // The store names the file and the system's reason.
    if (const QString error = m_store.flush(); !error.isEmpty())
        DialogProvider::current().messageBox(error, QStringLiteral("Quillmark"));
}

void Form1::mnuExit_Click()
{
    output().closePrintDialog();
    close();
}
