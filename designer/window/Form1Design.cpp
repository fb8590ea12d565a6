// Design files: new, open, save and save as, the designs opened last, and
// the question before a changed design file is left.
#include "ClickCheckBox.h"
#include "Design.h"
#include "DesignCodec.h"
#include "DesignValues.h"
#include "Form1.h"
#include "FormatOptions.h"
#include "LabelEditor.h"
#include "Numbers.h"
#include "QuillError.h"
#include "RecentDesigns.h"
#include "SettingsStore.h"
#include "StatusLine.h"
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
    mnuNewDesign->setShortcut(QKeySequence::New);
    mnuOpenDesign->setShortcut(QKeySequence::Open);
    mnuSaveDesign->setShortcut(QKeySequence::Save);
    mnuSaveDesignAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
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
    const Design design = documentDesign();
    try {
        design.writeFile(path);
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), kSaveTitle);
        return false;
    }
    m_design = design;
    m_savedDocument = m_document;
    m_designFile = path;
    m_editor->history().stack().setClean();
    showDesignState();
    return true;
}

bool Form1::leaveDesign()
{
    if (!designChanged())
        return true;
    const QString question = m_designFile.isEmpty()
        ? QStringLiteral("Save the objects of this new design?")
        : QStringLiteral("Save changes to %1?").arg(QFileInfo(m_designFile).fileName());
    switch (m_dialogs.askSaveChanges(question, QStringLiteral("Quillmark"))) {
    case DialogProvider::SaveChanges::Save:
        if (m_designFile.isEmpty()) {
            mnuSaveDesignAs_Click();
            return !m_designFile.isEmpty();
        }
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
    m_editor->history().hold(true);
    showDesign(design);
    m_editor->history().hold(false);
    m_editor->history().reset();
    m_editor->setShown(m_document.hasAddedObjects());
    m_design = design;
    m_designFile = file;
    m_savedDocument = m_document;
    showDesignState();
}

void Form1::showDocument(const LabelDocument &state)
{
    // A step of the canvas alone puts the objects back; any other shows the
    // whole document in the controls, as opening it would. The designer's
    // symbol is among the objects, but only its place is the canvas's.
    LabelDocument objectsOnly = m_document;
    objectsOnly.setObjects(state.objects());
    SymbolObject symbol = m_document.symbol();
    symbol.place = state.symbol().place;
    if (objectsOnly == state && symbol == state.symbol()) {
        m_document.setObjects(state.objects());
        return;
    }
    Design design = m_design;
    DesignCodec::write(state, design);
    try {
        showDesign(design);
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), QStringLiteral("Quillmark"));
    }
}

void Form1::showDesign(const Design &design)
{
    using K = DesignKey;
    // Before the source is chosen again, so that its preview shows them.
    Text7->setText(design.text(K::Prefix));
    Text8->setText(design.text(K::Suffix));
    applyDesign(design);
    const LabelDocument opened = DesignCodec::read(design);
    m_document.setMargins(opened.margins());
    // The print dialog shows them from the store too, as when they were typed there.
    storeMargins();
    Vantrel1->design().setFormatOptions(opened.symbol().options);
    writeSymbol();
    // The objects as the design holds them, the designer's symbol as the controls now show it.
    std::vector<LabelObject> objects = opened.objects();
    for (LabelObject &object : objects)
        if (auto *symbol = std::get_if<SymbolObject>(&object)) {
            const std::optional<QRectF> place = symbol->place;
            *symbol = m_document.symbol();
            symbol->place = place;
        }
    m_document.setObjects(objects);
    m_document.setLabelProduct(opened.labelProduct());
}

Design Form1::documentDesign() const
{
    Design design = m_design;
    DesignCodec::write(m_document, design);
    // The size box's text as it stands ("12abc" draws 12 points), as the store has always kept it.
    design.setText(DesignKey::FontSize, Combo3->currentText());
    return design;
}

void Form1::storeMargins()
{
    const Design design = DesignCodec::written(m_document);
    for (const DesignKey key : {DesignKey::LabelLeft, DesignKey::PageLeft})
        design.writeSection(m_store, DesignKeys::entry(key).section);
}

QString Form1::designFile() const { return m_designFile; }

bool Form1::designChanged() const
{
    // A new design's controls live on in the store; objects added to it are
    // kept nowhere but in a design file, so they are asked about too.
    if (m_designFile.isEmpty())
        return m_document.hasAddedObjects() && !m_editor->history().stack().isClean();
    return m_document != m_savedDocument;
}

void Form1::setLabelProduct(const QString &name) { m_document.setLabelProduct(name); }

void Form1::showDesignState()
{
    m_statusLine->setDesign(m_designFile.isEmpty()
                                ? QStringLiteral("New design")
                                : QStringLiteral("Design: %1").arg(QDir::toNativeSeparators(m_designFile)));
}
