#include "Form1.h"
#include "Artwork.h"
#include "ClickCheckBox.h"
#include "DesignValues.h"
#include "DocumentSource.h"
#include "FocusValidator.h"
#include "Form1Ports.h"
#include "LabelEditor.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "OutputCommands.h"
#include "RecentDesigns.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "StatusLine.h"
#include "SymbolBuilder.h"
#include "Vantrel.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Positions are twips, converted with the screen's twips per pixel: horizontal
// for left and width, vertical for top and height. A height below 0 keeps the
// control's own height (lists take theirs from the font).
void place(QWidget *widget, double left, double top, double width, double height)
{
    const float tx = ScreenMetrics::twipsPerPixelX();
    const float ty = ScreenMetrics::twipsPerPixelY();
    const int h = height < 0 ? widget->sizeHint().height() : int(std::lround(height / ty));
    widget->setGeometry(int(std::lround(left / tx)), int(std::lround(top / ty)), int(std::lround(width / tx)),
                        h);
}

const char *const kFontSizes[]
    = {"5",  "8",  "9",  "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "20", "22",
       "24", "26", "28", "30", "32", "34", "36", "38", "40", "45", "50", "55", "60", "65", "72"};

template <std::size_t N> void addItems(QComboBox *combo, const char *const (&items)[N])
{
    // Adding to an empty list selects its first item; the design has none
    // selected, and nothing is connected yet.
    for (const char *item : items)
        combo->addItem(QString::fromLatin1(item));
    combo->setCurrentIndex(-1);
}

QLineEdit *textBox(QWidget *parent, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    return box;
}

} // namespace

Form1::Form1(SettingsStore &store, DialogProvider &dialogs, PrinterObject &printer, QWidget *parent)
    : QMainWindow(parent)
    , CommonDialog1(dialogs, printer)
    , m_store(store)
    , m_dialogs(dialogs)
    , m_printer(printer)
{
    setWindowTitle(QStringLiteral("Quillmark"));
    setWindowIcon(Artwork::windowIcon());
    m_client = new QWidget(this);
    // The design's captions were laid out for a narrow 8-point dialog font;
    // the usual desktop fonts are wider and would cut "Import text file" short.
    QFont designFont = m_client->font();
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans Narrow")))
        designFont.setFamily(QStringLiteral("Liberation Sans Narrow"));
    designFont.setPointSizeF(8.0);
    m_client->setFont(designFont);
    setCentralWidget(m_client);

    // The data-value functions read the document, which the data panel writes.
    m_dataSource = std::make_unique<DocumentSource>(m_document);
    m_view = std::make_unique<Form1View>(*this);
    m_module1 = std::make_unique<Module1>(*m_dataSource);
    buildControls();
    buildDataPanel();
    buildMenu();
    buildToolbar();
    setTabOrder();
    // First the document, so that a handler reading the data finds the change there.
    connectDocument();
    connectHandlers();
    buildEditor();
    m_output = std::make_unique<OutputCommands>(*m_view, m_dialogs, m_printer);
    m_client->installEventFilter(this);
    m_statusLine = new StatusLine(this);
    statusBar()->addWidget(m_statusLine, 1);
    showModule();

    // The design client area, 6888 x 6012 twips, between the menu bar and the status bar.
    const int clientWidth = int(std::lround(6888.0 / ScreenMetrics::twipsPerPixelX()));
    const int clientHeight = int(std::lround(6012.0 / ScreenMetrics::twipsPerPixelY()));
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (layout())
        layout()->activate();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    QWidget *w = m_client;

    Frame1 = new QGroupBox(QStringLiteral("Data"), w);
    place(Frame1, 0, 360, 6852, 1932);

    Picture4 = new QLabel(w);
    place(Picture4, 5160, 360, 372, 252);
    Picture4->hide();

    // Check1 belongs to the window although it lies inside the frame's
    // rectangle; made after the frame, it is drawn above it.
    Check1 = new ClickCheckBox(QStringLiteral("Show text label"), w);
    Check1->setTristate(true);
    Check1->setCheckState(Qt::Checked);
    place(Check1, 240, 1800, 1692, 252);

    // Made in this order, which is the order they are drawn in.
    buildSizeRow();
    buildAppearanceRows();
    buildPreview();
}

// The symbol's size and its unit.
void Form1::buildSizeRow()
{
    QWidget *w = m_client;
    Label4 = new QLabel(QStringLiteral("Width:"), w);
    place(Label4, 120, 2400, 852, 252);
    Text5 = textBox(w, QString());
    place(Text5, 840, 2400, 732, 288);
    Label5 = new QLabel(QStringLiteral("Height:"), w);
    place(Label5, 1800, 2400, 852, 252);
    Text6 = textBox(w, QString());
    place(Text6, 2400, 2400, 732, 288);
    Option4 = new QRadioButton(QStringLiteral("inches"), w);
    place(Option4, 3360, 2400, 1332, 252);
    Option5 = new QRadioButton(QStringLiteral("cm"), w);
    place(Option5, 4320, 2400, 1452, 252);

    Check2 = new ClickCheckBox(QStringLiteral("Scale barcode"), w);
    Check2->setTristate(true);
    Check2->setCheckState(Qt::Checked);
    place(Check2, 4320, 2640, 1692, 252);
    Check2->hide();

    m_unitGroup = new QButtonGroup(this);
    m_unitGroup->addButton(Option4);
    m_unitGroup->addButton(Option5);
}

// The symbology, the font and its size, the rotation and the alignment.
void Form1::buildAppearanceRows()
{
    QWidget *w = m_client;
    Label2 = new QLabel(QStringLiteral("Format:"), w);
    place(Label2, 120, 2760, 1212, 252);
    Combo1 = new QComboBox(w);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: each keystroke is the text typed, nothing more.
    Combo1->setCompleter(nullptr);
    Combo1->addItems(SymbolBuilder::listNames()); // the component's table, in list order
    Combo1->setEditText(QStringLiteral("EAN-13"));
    place(Combo1, 840, 2760, 2532, -1);
    Command6 = new QPushButton(QStringLiteral("..."), w);
    place(Command6, 3360, 2760, 252, 288);

    Label6 = new QLabel(QStringLiteral("Rotation"), w);
    place(Label6, 4320, 2880, 612, 252);
    Label7 = new QLabel(QStringLiteral("Align"), w);
    place(Label7, 5160, 2880, 612, 252);
    Label3 = new QLabel(QStringLiteral("Font:"), w);
    place(Label3, 120, 3120, 1212, 252);

    Combo2 = new QComboBox(w);
    place(Combo2, 840, 3120, 2532, -1);
    Combo3 = new QComboBox(w);
    Combo3->setEditable(true);
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    Combo3->setCompleter(nullptr);
    addItems(Combo3, kFontSizes);
    Combo3->setEditText(QStringLiteral("0"));
    place(Combo3, 3360, 3120, 612, -1);
    Combo4 = new QComboBox(w);
    Combo4->addItems(DesignValues::rotations());
    Combo4->setCurrentIndex(-1);
    place(Combo4, 4320, 3120, 612, -1);
    Combo5 = new QComboBox(w);
    Combo5->addItems(DesignValues::alignments());
    Combo5->setCurrentIndex(-1);
    place(Combo5, 5160, 3120, 1092, -1);
}

// The work area and the symbol in it.
void Form1::buildPreview()
{
    QWidget *w = m_client;
    Picture1 = new QFrame(w);
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Sunken);
    Picture1->setLineWidth(2);
    Picture1->setAutoFillBackground(true);
    QPalette workArea = Picture1->palette();
    workArea.setColor(QPalette::Window, workArea.color(QPalette::Dark));
    Picture1->setPalette(workArea);
    Picture1->setFocusPolicy(Qt::TabFocus);
    place(Picture1, 0, 3600, 6852, 2352);

    Vantrel1 = new Vantrel(Picture1);
    Vantrel1->design().setOptionsStore(&m_store);
    const float tx = ScreenMetrics::twipsPerPixelX();
    const float ty = ScreenMetrics::twipsPerPixelY();
    Vantrel1->setWidth(3132.0f / tx);
    Vantrel1->setHeight(1692.0f / ty);
    Vantrel1->Move(0.0f, 0.0f);
}

void Form1::buildDataPanel()
{
    QWidget *f = Frame1;
    Option1 = new QRadioButton(QStringLiteral("Text"), f);
    place(Option1, 240, 360, 852, 252);
    Text1 = textBox(f, QStringLiteral("0123456789"));
    place(Text1, 1560, 360, 3852, 288);
    Option2 = new QRadioButton(QStringLiteral("Sequence"), f);
    place(Option2, 240, 720, 1212, 252);
    Text7 = textBox(f, QStringLiteral("(prefix)"));
    place(Text7, 1560, 720, 972, 288);
    Text2 = textBox(f, QStringLiteral("0"));
    Text2->setEnabled(false);
    place(Text2, 2640, 720, 732, 288);
    Label1 = new QLabel(QStringLiteral("-"), f);
    place(Label1, 3480, 720, 252, 252);
    Text3 = textBox(f, QStringLiteral("999"));
    Text3->setEnabled(false);
    place(Text3, 3600, 720, 732, 288);
    Text8 = textBox(f, QStringLiteral("(sufix)"));
    place(Text8, 4440, 720, 972, 288);
    Option3 = new QRadioButton(QStringLiteral("Import text file"), f);
    place(Option3, 240, 1080, 1332, 252);
    Text4 = textBox(f, QString());
    Text4->setEnabled(false);
    place(Text4, 1560, 1080, 3852, 288);
    Command1 = new QPushButton(QStringLiteral("..."), f);
    QFont bold = Command1->font();
    bold.setBold(true);
    Command1->setFont(bold);
    Command1->setEnabled(false);
    place(Command1, 5400, 1080, 252, 288);
    Check3 = new ClickCheckBox(QStringLiteral("has title"), f);
    Check3->setTristate(true);
    place(Check3, 5760, 1080, 972, 192);
    // Under the import row's browse button and "has title", in the frame's free fourth row.
    Command7 = new QPushButton(QStringLiteral("Columns..."), f);
    Command7->setEnabled(false);
    place(Command7, 5400, 1440, 1332, 288);

    // A group of its own, apart from the unit buttons on the window.
    m_sourceGroup = new QButtonGroup(this);
    m_sourceGroup->addButton(Option1);
    m_sourceGroup->addButton(Option2);
    m_sourceGroup->addButton(Option3);
    Option1->setChecked(true);
}

void Form1::buildMenu()
{
    buildDesignMenu();
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Action"));
    mnuPrint = file->addAction(QStringLiteral("&Print"));
    mnuSave = file->addAction(QStringLiteral("&Save picture"));
    mnuCopy = file->addAction(QStringLiteral("&Copy"));
    file->addSeparator();
    mnuExit = file->addAction(QStringLiteral("E&xit"));
    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp = help->addAction(QStringLiteral("Quillmark &help"));
    mnuHelp->setShortcut(QKeySequence::HelpContents);
    mnuAbout = help->addAction(QStringLiteral("&About"));
    mnuAboutProgram = help->addAction(QStringLiteral("About &Quillmark"));
}

void Form1::buildToolbar()
{
    // A plain child of the client area, where the design puts it, rather than
    // a dock of the main window that would move the other controls down.
    Toolbar1 = new QToolBar(m_client);
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    place(Toolbar1, 0, 0, 6888, 336);
    const struct {
        Artwork::ToolbarPicture picture;
        const char *tip;
    } buttons[] = {{Artwork::ToolbarPicture::Copy, "Copy"},
                   {Artwork::ToolbarPicture::Save, "Save bitmap"},
                   {Artwork::ToolbarPicture::Print, "Print labels"}};
    for (const auto &button : buttons) {
        QAction *action = Toolbar1->addAction(Artwork::toolbarIcon(button.picture), QString());
        action->setToolTip(QString::fromLatin1(button.tip));
    }
}

void Form1::setTabOrder()
{
    // The focus order of the design; labels, frames and hidden controls keep
    // their numbers there but never take the focus.
    const std::vector<std::pair<int, QWidget *>> order
        = {{0, Option1},  {1, Text1},     {2, Option2},   {3, Text2},     {4, Text3},
           {5, Option3},  {6, Text4},     {7, Command1},  {8, Text5},     {9, Text6},
           {10, Option4}, {11, Option5},  {12, Combo1},   {13, Check1},   {14, Combo2},
           {15, Combo3},  {16, Picture1}, {25, Combo4},   {27, Command6}, {28, Check3},
           {29, Text7},   {30, Text8},    {31, Toolbar1}, {32, Combo5},   {33, Command7}};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

Module1 &Form1::module1() { return *m_module1; }
OutputCommands &Form1::output() { return *m_output; }

SettingsStore &Form1::settings() { return m_store; }
DesignerView &Form1::view() { return *m_view; }

void Form1::closeEvent(QCloseEvent *event)
{
    // A changed design file is saved or left first; staying keeps the window open.
    if (!leaveDesign()) {
        event->ignore();
        return;
    }
    runGuarded([this] { Form_Unload(); });
    event->accept();
}

// The client area changes size with the window, and also when the status bar
// first shows a line or a label and takes its height from the client area.
bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1 && event->type() == QEvent::Resize)
        m_editor->fitArea();
    if (watched == m_client && event->type() == QEvent::Resize) {
        // The toolbar follows the window's width; Form_Resize itself leaves it.
        Toolbar1->resize(m_client->width(), Toolbar1->height());
        runGuarded([this] { Form_Resize(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The window opens with the focus in the fixed text (the selected source
    // while that is disabled), never in a list a stray key would change. A
    // hidden widget cannot take the focus before this.
    if (!m_shown) {
        m_shown = true;
        QWidget *first = Text1->isEnabled() ? static_cast<QWidget *>(Text1) : m_sourceGroup->checkedButton();
        if (first)
            first->setFocus();
    }
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Minimising changes no widget size in Qt, but the client area is gone.
    if (event->type() == QEvent::WindowStateChange)
        runGuarded([this] { Form_Resize(); });
}

QSize Form1::clientSizePixels() const
{
    if (isMinimized())
        return QSize(0, 0);
    return m_client->size();
}
