#include "LabelEditor.h"

#include "Dialogs.h"
#include "FormatOptionsDialog.h"
#include "LabelCanvas.h"
#include "ObjectClipboard.h"
#include "ObjectPanel.h"
#include "QuillError.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QUndoStack>
#include <algorithm>

namespace {

constexpr double kInch = 1440.0;
constexpr long long kMostCounted = 100000; // labels counted for "Label 1 of ..."
constexpr int kCanvasRoom = 240; // pixels the canvas gets below the preview's own height
const QString kPictureFilter
    = QStringLiteral("Pictures (*.png *.jpg *.jpeg *.svg)|*.png;*.jpg;*.jpeg;*.svg|All files (*)|*");

// A new object's box: size in inches, shrunk to fit the label, in its middle.
QRectF middleBox(const LabelDocument &document, QSizeF size)
{
    size *= kInch;
    const QSizeF label(document.width(), document.height());
    const double scale
        = std::min({1.0, 0.8 * label.width() / size.width(), 0.8 * label.height() / size.height()});
    size *= scale;
    return QRectF(QPointF((label.width() - size.width()) / 2, (label.height() - size.height()) / 2), size);
}

QString countedName(const QString &verb, const std::vector<LabelObject> &objects)
{
    if (objects.size() == 1)
        return verb + u' ' + LabelObjects::kindName(objects.front());
    return QStringLiteral("%1 %2 Objects").arg(verb).arg(objects.size());
}

} // namespace

LabelEditor::LabelEditor(QMainWindow &window, QWidget &area, QAction *before, LabelDocument &document,
                         DialogProvider &dialogs, Hooks hooks)
    : m_window(window)
    , m_area(area)
    , m_document(document)
    , m_dialogs(dialogs)
    , m_hooks(std::move(hooks))
    , m_history(std::make_unique<DocumentHistory>(document, [this](const LabelDocument &state) {
        // The selected places may hold other objects once the step is undone.
        m_canvas->setSelection({});
        m_hooks.restore(state);
    }))
{
    m_canvas = new LabelCanvas(m_document, &m_area);
    m_canvas->hide();
    m_canvas->setDotTwips(m_hooks.dotTwips);
    m_canvas->setCommit(
        [this](const QString &step, const std::vector<LabelObject> &objects) { commit(step, objects); });
    connect(m_canvas, &LabelCanvas::selectionChanged, this, [this] { selectionChanged(); });

    m_panel = new ObjectPanel;
    m_panel->setPictureChooser([this](const QString &current) {
        int filterIndex = 1;
        return m_dialogs.openFile(kPictureFilter, QString(), current, filterIndex).value_or(QString());
    });
    m_panel->setColourChooser([this](const QColor &current) {
        return m_dialogs.chooseColor(current, &m_window).value_or(QColor());
    });
    m_panel->setOptionsChooser([this](const FormatOptions &current) -> std::optional<FormatOptions> {
        FormatOptionsDialog dialog(current, m_dialogs, &m_window);
        if (dialog.run() != QDialog::Accepted)
            return std::nullopt;
        return dialog.options();
    });
    connect(m_panel, &ObjectPanel::edited, this, [this](const QString &step, const LabelObject &object) {
        // To the object the panel showed, which the selection may have left already.
        std::vector<LabelObject> objects = m_document.objects();
        if (!m_panelIndex || *m_panelIndex >= objects.size())
            return;
        objects[*m_panelIndex] = object;
        commit(step, objects);
    });
    dock = new QDockWidget(QStringLiteral("Object"), &m_window);
    dock->setObjectName(QStringLiteral("objectDock"));
    // The panel scrolls rather than make the window as tall as all its fields.
    m_scroller = new QScrollArea;
    auto *scroller = m_scroller;
    scroller->setWidget(m_panel);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setMinimumWidth(m_panel->fontMetrics().averageCharWidth() * 44
                              + scroller->verticalScrollBar()->sizeHint().width());
    dock->setWidget(scroller);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_window.addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();

    QMenuBar *bar = m_window.menuBar();
    insertMenu = new QMenu(QStringLiteral("&Insert"), bar);
    editMenu = new QMenu(QStringLiteral("&Edit"), bar);
    viewMenu = new QMenu(QStringLiteral("&View"), bar);
    for (QMenu *menu : {insertMenu, editMenu, viewMenu})
        bar->insertMenu(before, menu);
    buildInsertMenu(insertMenu);
    buildEditMenu(editMenu);
    buildViewMenu(viewMenu);
    buildToolbar();
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { selectionChanged(); });
    selectionChanged();
}

LabelEditor::~LabelEditor() = default;

void LabelEditor::buildInsertMenu(QMenu *menu)
{
    insertText = menu->addAction(QStringLiteral("&Text"), this, [this] {
        TextObject text{.frame = {middleBox(m_document, {1.5, 0.3})}, .text = QStringLiteral("Text")};
        insert(text, QStringLiteral("Text"));
    });
    insertSymbol = menu->addAction(QStringLiteral("&Symbol"), this, [this] {
        BarcodeObject symbol{.frame = {middleBox(m_document, {1.5, 0.6})}};
        symbol.symbol.symbology = Symbology::Code128; // any value encodes
        insert(symbol, QStringLiteral("Symbol"));
    });
    insertPicture = menu->addAction(QStringLiteral("&Picture..."), this, [this] { insertPictureFile(); });
    insertLine = menu->addAction(QStringLiteral("&Line"), this, [this] {
        QRectF box = middleBox(m_document, {1.0, 0.0001});
        box.setHeight(0);
        insert(LineObject{.frame = {box}}, QStringLiteral("Line"));
    });
    insertBox = menu->addAction(QStringLiteral("&Box"), this, [this] {
        insert(BoxObject{.frame = {middleBox(m_document, {1.0, 0.5})}}, QStringLiteral("Box"));
    });
}

void LabelEditor::buildEditMenu(QMenu *menu)
{
    undo = m_history->stack().createUndoAction(menu, QStringLiteral("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    redo = m_history->stack().createRedoAction(menu, QStringLiteral("&Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    menu->addAction(undo);
    menu->addAction(redo);
    menu->addSeparator();
    // The clipboard keys act on the objects while the canvas has the focus;
    // elsewhere they stay with the field being typed in.
    const auto onCanvas
        = [this, menu](const QString &text, const QKeySequence &keys, std::function<void()> slot) {
              QAction *action = menu->addAction(text, this, [this, slot] { guarded(slot); });
              action->setShortcut(keys);
              action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
              m_canvas->addAction(action);
              return action;
          };
    cut = onCanvas(QStringLiteral("Cu&t"), QKeySequence::Cut, [this] { cutSelection(); });
    copy = onCanvas(QStringLiteral("&Copy"), QKeySequence::Copy, [this] { copySelection(); });
    paste = onCanvas(QStringLiteral("&Paste"), QKeySequence::Paste, [this] { pasteClipboard(); });
    duplicate = onCanvas(QStringLiteral("D&uplicate"), QKeySequence(Qt::CTRL | Qt::Key_D),
                         [this] { duplicateSelection(); });
    remove = onCanvas(QStringLiteral("&Delete"), QKeySequence::Delete, [this] { deleteSelection(); });
    selectAll
        = onCanvas(QStringLiteral("Select &all"), QKeySequence::SelectAll, [this] { selectEverything(); });
    menu->addSeparator();
    QMenu *alignMenu = menu->addMenu(QStringLiteral("A&lign"));
    const struct {
        const char *text;
        LabelLayout::Align align;
    } aligns[] = {{"&Left edges", LabelLayout::Align::Left},
                  {"&Centres across", LabelLayout::Align::HorizontalCentre},
                  {"&Right edges", LabelLayout::Align::Right},
                  {"&Top edges", LabelLayout::Align::Top},
                  {"&Middles down", LabelLayout::Align::VerticalCentre},
                  {"&Bottom edges", LabelLayout::Align::Bottom}};
    for (int i = 0; i < 6; ++i) {
        const LabelLayout::Align way = aligns[i].align;
        align[i] = alignMenu->addAction(QString::fromLatin1(aligns[i].text), this, [this, way] {
            const LabelLayout::Selection selection = m_canvas->selection();
            commit(LabelLayout::stepName(QStringLiteral("Align"), m_document, selection),
                   LabelLayout::aligned(m_document, selection, way));
        });
    }
    QMenu *spread = menu->addMenu(QStringLiteral("Di&stribute"));
    const auto distribute = [this](Qt::Orientation orientation) {
        const LabelLayout::Selection selection = m_canvas->selection();
        commit(LabelLayout::stepName(QStringLiteral("Distribute"), m_document, selection),
               LabelLayout::distributed(m_document, selection, orientation));
    };
    distributeAcross
        = spread->addAction(QStringLiteral("&Across"), this, [=] { distribute(Qt::Horizontal); });
    distributeDown = spread->addAction(QStringLiteral("&Down"), this, [=] { distribute(Qt::Vertical); });
    const auto restack = [this](bool forward) {
        const LabelLayout::Selection selection = m_canvas->selection();
        const LabelLayout::Restacked restacked
            = LabelLayout::restacked(m_document.objects(), selection, forward);
        commit(
            LabelLayout::stepName(forward ? QStringLiteral("Bring Forward") : QStringLiteral("Send Backward"),
                                  m_document, selection),
            restacked.objects);
        m_canvas->setSelection(restacked.selection);
    };
    bringForward = onCanvas(QStringLiteral("Bring &forward"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight),
                            [=] { restack(true); });
    sendBackward = onCanvas(QStringLiteral("Send &backward"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft),
                            [=] { restack(false); });
}

void LabelEditor::buildViewMenu(QMenu *menu)
{
    zoomFit = menu->addAction(QStringLiteral("Zoom to &fit"), m_canvas, &LabelCanvas::zoomToFit);
    zoomFit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    const int percents[] = {100, 200, 400};
    for (int i = 0; i < 3; ++i) {
        const int percent = percents[i];
        zoomTo[i] = menu->addAction(QStringLiteral("&%1%").arg(percent), this,
                                    [this, percent] { m_canvas->setZoom(percent / 100.0); });
    }
    zoomTo[0]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    zoomIn = menu->addAction(QStringLiteral("Zoom &in"), m_canvas, &LabelCanvas::zoomIn);
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOut = menu->addAction(QStringLiteral("Zoom &out"), m_canvas, &LabelCanvas::zoomOut);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    menu->addSeparator();
    showGrid = menu->addAction(QStringLiteral("Show &grid"));
    showGrid->setCheckable(true);
    snapToGrid = menu->addAction(QStringLiteral("&Snap to grid"));
    snapToGrid->setCheckable(true);
    snapToGrid->setChecked(true);
    const auto gridChanged = [this] {
        LabelCanvas::Grid grid = m_canvas->grid();
        grid.shown = showGrid->isChecked();
        grid.snap = snapToGrid->isChecked();
        m_canvas->setGrid(grid);
    };
    connect(showGrid, &QAction::toggled, this, gridChanged);
    connect(snapToGrid, &QAction::toggled, this, gridChanged);
    QMenu *steps = menu->addMenu(QStringLiteral("Grid s&tep"));
    m_gridSteps = new QActionGroup(this);
    for (const double units : {0.05, 0.1, 0.25, 0.5}) {
        QAction *step = steps->addAction(QString(), this, [this, units] { setGridStep(units); });
        step->setCheckable(true);
        step->setData(units);
        m_gridSteps->addAction(step);
    }
    // The steps' texts name the unit the design is in when the menu opens.
    connect(steps, &QMenu::aboutToShow, this, [this] {
        const bool inches = m_document.unit() == LabelDocument::Unit::Inches;
        for (QAction *step : m_gridSteps->actions()) {
            const double units = step->data().toDouble();
            step->setText(QStringLiteral("%1 %2").arg(QLocale().toString(units), inches ? "in" : "cm"));
            step->setChecked(qFuzzyCompare(units * m_document.twipsPerUnit(), m_canvas->grid().stepTwips));
        }
    });
    setGridStep(defaultGridUnits());
}

void LabelEditor::buildToolbar()
{
    toolbar = new QToolBar(QStringLiteral("Objects"), &m_window);
    toolbar->setObjectName(QStringLiteral("objectsToolbar"));
    toolbar->addActions({insertText, insertSymbol, insertPicture, insertLine, insertBox});
    toolbar->addSeparator();
    toolbar->addActions({zoomFit, zoomIn, zoomOut});
    toolbar->addSeparator();
    previousLabel = toolbar->addAction(QStringLiteral("&Previous label"), this,
                                       [this] { showLabelNumber(m_number - 1); });
    previousLabel->setShortcut(QKeySequence(Qt::ALT | Qt::Key_PageUp));
    labelShown = new QLabel(toolbar);
    labelShown->setObjectName(QStringLiteral("labelShown"));
    toolbar->addWidget(labelShown);
    nextLabel
        = toolbar->addAction(QStringLiteral("&Next label"), this, [this] { showLabelNumber(m_number + 1); });
    nextLabel->setShortcut(QKeySequence(Qt::ALT | Qt::Key_PageDown));
    viewMenu->addSeparator();
    viewMenu->addActions({previousLabel, nextLabel});
    m_window.addToolBar(Qt::TopToolBarArea, toolbar);
    toolbar->hide();
}

double LabelEditor::defaultGridUnits() const
{
    return m_document.unit() == LabelDocument::Unit::Inches ? 0.05 : 0.1;
}

void LabelEditor::setGridStep(double units)
{
    LabelCanvas::Grid grid = m_canvas->grid();
    grid.stepTwips = units * m_document.twipsPerUnit();
    m_canvas->setGrid(grid);
}

void LabelEditor::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    // The window grows by the panel, the toolbar and room for the canvas, so
    // that the controls keep their places; it gives the room back after.
    const QSize central = m_window.centralWidget()->size() + QSize(0, shown ? kCanvasRoom : -kCanvasRoom);
    // The controls keep their width beside the panel, however wide its fields make it.
    m_window.centralWidget()->setMinimumWidth(shown ? central.width() : 0);
    // The canvas takes the preview's place, and its place in the focus order.
    for (QWidget *child : m_area.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->setVisible(shown == (child == m_canvas));
    m_area.setFocusProxy(shown ? m_canvas : nullptr);
    if (!shown)
        m_canvas->setSelection({});
    dock->setVisible(shown);
    toolbar->setVisible(shown);
    if (m_window.layout()) {
        m_window.layout()->activate();
        m_window.resize(m_window.size() + central - m_window.centralWidget()->size());
        m_window.layout()->activate();
    }
    if (shown) {
        fitArea();
        dataChanged();
        showLabel(m_renderer);
        m_canvas->zoomToFit();
    }
}

void LabelEditor::fitArea() { m_canvas->setGeometry(m_area.contentsRect()); }

void LabelEditor::showLabel(LabelRenderer *renderer)
{
    m_renderer = renderer;
    if (!m_shown) {
        if (!renderer)
            m_canvas->showLabel(nullptr, {});
        return;
    }
    // The data is read again only when it or the label shown changed, not on every edit.
    if (!m_record) {
        m_record.emplace();
        try {
            m_record = m_hooks.record(m_number);
        } catch (const QuillError &) {
            // The objects are still placed; the reason is marked on the objects that read the data.
        }
    }
    m_canvas->setObjectFaults(m_hooks.faults());
    m_canvas->showLabel(renderer, *m_record);
    showPanel();
}

void LabelEditor::dataChanged()
{
    m_record.reset();
    if (!m_shown)
        return;
    m_count = std::max(1LL, m_hooks.labelCount(kMostCounted));
    m_number = std::clamp(m_number, 1LL, m_count);
    showNumber();
}

void LabelEditor::showLabelNumber(long long number)
{
    number = std::clamp(number, 1LL, m_count);
    if (number == m_number)
        return;
    m_number = number;
    m_record.reset();
    showNumber();
    showLabel(m_renderer);
}

void LabelEditor::showNumber()
{
    // Data beyond what is counted is told as more.
    const QString count
        = m_count < kMostCounted ? QString::number(m_count) : QStringLiteral("%1 or more").arg(m_count);
    labelShown->setText(QStringLiteral("Label %1 of %2").arg(m_number).arg(count));
    previousLabel->setEnabled(m_number > 1);
    nextLabel->setEnabled(m_number < m_count);
}

void LabelEditor::guarded(const std::function<void()> &edit)
{
    try {
        edit();
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), QStringLiteral("Quillmark"));
    }
}

void LabelEditor::commit(const QString &step, const std::vector<LabelObject> &objects)
{
    if (objects == m_document.objects())
        return;
    guarded([&] {
        m_history->nameNext(step);
        m_document.setObjects(objects);
    });
    // Objects pasted into a label the canvas did not show yet bring it.
    if (m_document.hasAddedObjects())
        setShown(true);
}

void LabelEditor::insert(const LabelObject &object, const QString &kind)
{
    std::vector<LabelObject> objects = m_document.objects();
    objects.push_back(object);
    setShown(true);
    commit(QStringLiteral("Insert %1").arg(kind), objects);
    if (m_document.objects().size() == objects.size())
        m_canvas->setSelection({objects.size() - 1});
    m_canvas->setFocus();
}

void LabelEditor::insertPictureFile()
{
    int filterIndex = 1;
    const std::optional<QString> file = m_dialogs.openFile(kPictureFilter, QString(), QString(), filterIndex);
    if (!file || file->isEmpty())
        return;
    insert(PictureObject{.frame = {middleBox(m_document, {0.8, 0.8})}, .file = *file},
           QStringLiteral("Picture"));
}

void LabelEditor::cutSelection()
{
    copySelection();
    removeSelection(QStringLiteral("Cut"));
}

void LabelEditor::deleteSelection() { removeSelection(QStringLiteral("Delete")); }

void LabelEditor::pasteClipboard()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (data && data->hasFormat(ObjectClipboard::mimeType()))
        pasteObjects(QStringLiteral("Paste"),
                     ObjectClipboard::pasted(data->data(ObjectClipboard::mimeType())));
}

void LabelEditor::duplicateSelection()
{
    const QByteArray copied = ObjectClipboard::copied(m_document, m_canvas->selection());
    if (!copied.isEmpty())
        pasteObjects(QStringLiteral("Duplicate"), ObjectClipboard::pasted(copied));
}

void LabelEditor::selectEverything()
{
    LabelLayout::Selection all(m_document.objects().size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    m_canvas->setSelection(all);
}

void LabelEditor::copySelection()
{
    const QByteArray copied = ObjectClipboard::copied(m_document, m_canvas->selection());
    if (copied.isEmpty())
        return;
    auto *data = new QMimeData;
    data->setData(ObjectClipboard::mimeType(), copied);
    QApplication::clipboard()->setMimeData(data);
    m_pastes = 0;
}

void LabelEditor::pasteObjects(const QString &verb, std::vector<LabelObject> objects)
{
    // Where the copies would cover what they were copied from, they land a
    // little lower and to the right; always on the label.
    std::vector<QRectF> boxes;
    for (std::size_t i = 0; i < m_document.objects().size(); ++i)
        boxes.push_back(LabelLayout::boxOf(m_document, i));
    const double step = 0.1 * kInch;
    const bool covers = std::any_of(objects.begin(), objects.end(), [&](const LabelObject &object) {
        return std::find(boxes.begin(), boxes.end(), LabelObjects::frameOf(object)->box) != boxes.end();
    });
    const double offset = covers ? step * ++m_pastes : 0;
    std::vector<LabelObject> all = m_document.objects();
    LabelLayout::Selection pasted;
    for (LabelObject &object : objects) {
        QRectF box = LabelObjects::frameOf(object)->box.translated(offset, offset);
        const QRectF sides = box.normalized();
        box.translate(std::min(0.0, m_document.width() - sides.right()),
                      std::min(0.0, m_document.height() - sides.bottom()));
        box.translate(std::max(0.0, -box.normalized().left()), std::max(0.0, -box.normalized().top()));
        pasted.push_back(all.size());
        all.push_back(LabelLayout::withBox(object, box));
    }
    commit(countedName(verb, objects), all);
    if (m_document.objects().size() == all.size())
        m_canvas->setSelection(pasted);
}

void LabelEditor::removeSelection(const QString &verb)
{
    const LabelLayout::Selection selection = m_canvas->selection();
    const std::vector<LabelObject> kept = LabelLayout::removed(m_document.objects(), selection);
    if (kept.size() == m_document.objects().size())
        return;
    std::vector<LabelObject> gone;
    for (const std::size_t i : selection)
        if (!std::holds_alternative<SymbolObject>(m_document.objects()[i]))
            gone.push_back(m_document.objects()[i]);
    m_canvas->setSelection({});
    commit(countedName(verb, gone), kept);
}

void LabelEditor::selectionChanged()
{
    const LabelLayout::Selection selection = m_canvas->selection();
    const bool any = !selection.empty();
    const bool removable = std::any_of(selection.begin(), selection.end(), [this](std::size_t i) {
        return i < m_document.objects().size()
            && !std::holds_alternative<SymbolObject>(m_document.objects()[i]);
    });
    for (QAction *action : {copy, duplicate, bringForward, sendBackward})
        action->setEnabled(any);
    for (QAction *action : {cut, remove})
        action->setEnabled(removable);
    for (QAction *action : align)
        action->setEnabled(any);
    distributeAcross->setEnabled(selection.size() >= 3);
    distributeDown->setEnabled(selection.size() >= 3);
    const QMimeData *data = QApplication::clipboard()->mimeData();
    paste->setEnabled(data && data->hasFormat(ObjectClipboard::mimeType()));
    showPanel();
}

void LabelEditor::showPanel()
{
    m_panel->commitPending(); // what was typed, to the object it was typed for
    const LabelLayout::Selection selection = m_canvas->selection();
    m_panelIndex.reset();
    if (selection.size() == 1)
        m_panelIndex = selection.front();
    std::optional<LabelObject> shown;
    if (selection.size() == 1 && selection.front() < m_document.objects().size()) {
        shown = LabelLayout::withBox(m_document.objects()[selection.front()],
                                     LabelLayout::boxOf(m_document, selection.front()));
    }
    m_panel->setLabelSize(QSizeF(m_document.width(), m_document.height()));
    m_panel->showObject(shown, m_document.unit(), m_hooks.fieldNames(), int(selection.size()));
    // The dock as wide as the fields of the object shown need.
    m_scroller->setMinimumWidth(
        std::max(m_scroller->minimumWidth(),
                 m_panel->minimumSizeHint().width() + m_scroller->verticalScrollBar()->sizeHint().width()));
}
