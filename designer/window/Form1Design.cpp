// Design files: new, open, save and save as, the designs opened last, and
// the question before a changed design file is left.
#include "ClickCheckBox.h"
#include "Design.h"
#include "DesignValues.h"
#include "Form1.h"
#include "FormatOptions.h"
#include "Numbers.h"
#include "QuillError.h"
#include "RecentDesigns.h"
#include "SettingsStore.h"
#include "StoredValue.h"
#include "Vantrel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>

namespace {

const QString kFilter = QStringLiteral("Quillmark designs (*.qmdesign)|*.qmdesign|All files (*)|*");
const QString kExtension = QStringLiteral(".qmdesign");
const QString kOpenTitle = QStringLiteral("Open design");
const QString kSaveTitle = QStringLiteral("Save design");

// Beside the settings file, so that tests and a second user's store keep their own.
QString recentFile(const SettingsStore &store)
{
    return QFileInfo(store.path()).absoluteDir().filePath(QStringLiteral("Recent designs.conf"));
}

} // namespace

void Form1::buildDesignMenu()
{
    m_recent = std::make_unique<RecentDesigns>(recentFile(m_store));
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&File"));
    mnuNewDesign = menu->addAction(QStringLiteral("&New design"));
    mnuOpenDesign = menu->addAction(QStringLiteral("&Open design..."));
    mnuSaveDesign = menu->addAction(QStringLiteral("&Save design"));
    mnuSaveDesignAs = menu->addAction(QStringLiteral("Save design &as..."));
    QAction *separator = menu->addSeparator();
    for (int i = 0; i < RecentDesigns::kMost; ++i) {
        mnuRecentDesign[i] = menu->addAction(QString());
        connect(mnuRecentDesign[i], &QAction::triggered, this,
                [this, i] { runGuarded([this, i] { mnuRecentDesign_Click(i); }); });
    }
    // The list as it stands when the menu opens: another window may have added to it.
    connect(menu, &QMenu::aboutToShow, this, [this, separator] {
        const QStringList paths = m_recent->paths();
        separator->setVisible(!paths.isEmpty());
        for (int i = 0; i < RecentDesigns::kMost; ++i) {
            const QString name = QFileInfo(paths.value(i)).fileName();
            mnuRecentDesign[i]->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
            mnuRecentDesign[i]->setToolTip(paths.value(i));
            mnuRecentDesign[i]->setVisible(i < paths.size());
        }
    });
    emit menu->aboutToShow();
    connect(mnuNewDesign, &QAction::triggered, this,
            [this] { runGuarded([this] { mnuNewDesign_Click(); }); });
    connect(mnuOpenDesign, &QAction::triggered, this,
            [this] { runGuarded([this] { mnuOpenDesign_Click(); }); });
    connect(mnuSaveDesign, &QAction::triggered, this,
            [this] { runGuarded([this] { mnuSaveDesign_Click(); }); });
    connect(mnuSaveDesignAs, &QAction::triggered, this,
            [this] { runGuarded([this] { mnuSaveDesignAs_Click(); }); });
}

void Form1::mnuNewDesign_Click()
{
    if (leaveDesign())
        takeDesign(Design(), QString());
}

void Form1::mnuOpenDesign_Click()
{
    if (!leaveDesign())
        return;
    int filterIndex = 1;
    const std::optional<QString> path = m_dialogs.openFile(kFilter, kExtension, QString(), filterIndex);
    if (path && !path->isEmpty())
        openDesign(*path);
}

void Form1::mnuRecentDesign_Click(int position)
{
    const QString path = m_recent->paths().value(position);
    if (!path.isEmpty() && leaveDesign() && !openDesign(path))
        m_recent->remove(path);
}

bool Form1::openDesign(const QString &path)
{
    try {
        takeDesign(Design::readFile(path), QFileInfo(path).absoluteFilePath());
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), kOpenTitle);
        return false;
    }
    m_recent->add(m_designFile);
    return true;
}

void Form1::mnuSaveDesign_Click()
{
    if (m_designFile.isEmpty())
        mnuSaveDesignAs_Click();
    else
        writeDesign(m_designFile);
}

void Form1::mnuSaveDesignAs_Click()
{
    int filterIndex = 1;
    const QString suggested = m_designFile.isEmpty() ? QString() : QFileInfo(m_designFile).fileName();
    const std::optional<QString> chosen = m_dialogs.saveFile(kFilter, kExtension, suggested, filterIndex);
    if (!chosen || chosen->isEmpty())
        return;
    QString path = QFileInfo(*chosen).absoluteFilePath();
    if (QFileInfo(path).suffix().isEmpty())
        path += kExtension;
    if (writeDesign(path))
        m_recent->add(path);
}

bool Form1::writeDesign(const QString &path)
{
    const Design design = currentDesign();
    try {
        design.writeFile(path);
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), kSaveTitle);
        return false;
    }
    m_design = design;
    m_savedDesign = design;
    m_designFile = path;
    showDesignState();
    return true;
}

bool Form1::leaveDesign()
{
    if (!designChanged())
        return true;
    const QString question = QStringLiteral("Save changes to %1?").arg(QFileInfo(m_designFile).fileName());
    switch (m_dialogs.askSaveChanges(question, QStringLiteral("Quillmark"))) {
    case DialogProvider::SaveChanges::Save:
        return writeDesign(m_designFile);
    case DialogProvider::SaveChanges::Discard:
        return true;
    case DialogProvider::SaveChanges::Cancel:
        break;
    }
    return false;
}

void Form1::takeDesign(const Design &design, const QString &file)
{
    using K = DesignKey;
    // Before the source is chosen again, so that its preview shows them.
    Text7->setText(design.text(K::Prefix));
    Text8->setText(design.text(K::Suffix));
    applyDesign(design);
    for (const QString &section :
         {DesignKeys::entry(K::LabelLeft).section, DesignKeys::entry(K::PageLeft).section})
        design.writeSection(m_store, section);
    FormatOptions options;
    options.load([&design](DesignKey key) { return design.text(key); });
    Vantrel1->design().setFormatOptions(options);
    m_labelProduct = design.text(K::LabelProduct);
    m_design = design;
    m_designFile = file;
    m_savedDesign = currentDesign();
    showDesignState();
}

Design Form1::currentDesign() const
{
    using K = DesignKey;
    Design design = m_design;
    design.setText(K::Width, Numbers::numberText(symbolWidth));
    design.setText(K::Height, Numbers::numberText(symbolHeight));
    design.setText(K::Caption, Text1->text());
    design.setText(K::ImportFile, Text4->text());
    design.setText(K::SequenceStart, Text2->text());
    design.setText(K::SequenceEnd, Text3->text());
    design.setText(K::Unit, Numbers::numberText(unitFlag));
    design.setText(K::Symbology, Numbers::numberText(Combo1->currentIndex()));
    design.setText(K::Scaling, StoredValue::checkFlag(ClickCheckBox::value(Check2)));
    design.setText(K::Rotation, Numbers::numberText(Numbers::numericValue(Combo4->currentText())));
    design.setText(K::ShowText, StoredValue::checkFlag(ClickCheckBox::value(Check1)));
    design.setText(K::FontName, Combo2->currentText());
    design.setText(K::FontSize, Combo3->currentText());
    design.setText(K::HasTitle, StoredValue::checkFlag(ClickCheckBox::value(Check3)));
    design.setText(K::Align, Combo5->currentText());
    design.setText(K::SourceText, StoredValue::flag(Option1->isChecked()));
    design.setText(K::SourceSequence, StoredValue::flag(Option2->isChecked()));
    design.setText(K::SourceImport, StoredValue::flag(Option3->isChecked()));
    DesignValues::setColumns(design, importColumns);
    design.setText(K::PictureDpi, DesignValues::pictureDpiText(Vantrel1->design().pictureDpi()));
    // The margins as the print dialog last stored them.
    const Design stored = Design::fromStore(m_store);
    for (const DesignKeys::Entry &entry : DesignKeys::all())
        if (entry.section == DesignKeys::entry(K::LabelLeft).section
            || entry.section == DesignKeys::entry(K::PageLeft).section)
            design.setText(entry.key, stored.text(entry.key));
    Vantrel1->design().formatOptions().save(
        [&design](DesignKey key, const QString &text) { design.setText(key, text); });
    design.setText(K::Prefix, Text7->text());
    design.setText(K::Suffix, Text8->text());
    design.setText(K::LabelProduct, m_labelProduct);
    return design;
}

QString Form1::designFile() const { return m_designFile; }

bool Form1::designChanged() const { return !m_designFile.isEmpty() && currentDesign() != m_savedDesign; }

void Form1::setLabelProduct(const QString &name) { m_labelProduct = name; }

void Form1::showDesignState()
{
    if (!m_designLabel) {
        m_designLabel = new QLabel(this);
        m_designLabel->setObjectName(QStringLiteral("design"));
        statusBar()->addPermanentWidget(m_designLabel);
    }
    m_designLabel->setText(m_designFile.isEmpty()
                               ? QStringLiteral("New design")
                               : QStringLiteral("Design: %1").arg(QDir::toNativeSeparators(m_designFile)));
}
