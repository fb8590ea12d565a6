#pragma once
#include "DocumentHistory.h"
#include "LabelLayout.h"
#include "LabelRenderer.h"

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class DialogProvider;
class LabelCanvas;
class ObjectPanel;
class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class QScrollArea;
class QToolBar;
class QWidget;

// The label canvas in the designer window: the canvas in the preview's place
// once a label has objects, the property panel beside it, the Insert, Edit
// and View menus and the objects' toolbar, and the history of the document's
// steps. Every edit goes into the document as one named step.
class LabelEditor : public QObject {
    Q_OBJECT
public:
    // What the editor asks of the window it sits in.
    struct Hooks {
        std::function<void(const LabelDocument &)> restore; // an earlier document shown in every control
        std::function<long long(long long most)> labelCount; // the labels the data gives, up to most
        std::function<LabelRecord(long long)> record; // a label's record, from 1
        std::function<QStringList()> fieldNames; // the data's columns
        std::function<std::map<std::size_t, QString>()> faults; // objects whose templates cannot be filled
        std::function<double()> dotTwips; // a dot of the chosen printer
    };

    // The canvas lies over area (the preview's frame); menus go before the
    // window's menu before; dialogs ask for pictures and colours.
    LabelEditor(QMainWindow &window, QWidget &area, QAction *before, LabelDocument &document,
                DialogProvider &dialogs, Hooks hooks);
    ~LabelEditor() override;

    DocumentHistory &history() { return *m_history; }
    LabelCanvas *canvas() const { return m_canvas; }
    ObjectPanel *panel() const { return m_panel; }
    // Whether the canvas stands in the preview's place.
    bool shown() const { return m_shown; }
    void setShown(bool shown);
    // The document changed or the data did: drawn again from renderer.
    void showLabel(LabelRenderer *renderer);
    void dataChanged(); // the labels counted again, the label shown kept where it still is
    long long labelNumber() const { return m_number; }
    void showLabelNumber(long long number);
    // Follows the area's size.
    void fitArea();

    // A new object of that kind in the middle of the label, selected.
    void insert(const LabelObject &object, const QString &kind);
    void commit(const QString &step, const std::vector<LabelObject> &objects);

    QMenu *insertMenu = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *viewMenu = nullptr;
    QToolBar *toolbar = nullptr;
    QAction *insertText = nullptr, *insertSymbol = nullptr, *insertPicture = nullptr;
    QAction *insertLine = nullptr, *insertBox = nullptr;
    QAction *undo = nullptr, *redo = nullptr;
    QAction *cut = nullptr, *copy = nullptr, *paste = nullptr, *duplicate = nullptr, *remove = nullptr;
    QAction *selectAll = nullptr;
    QAction *bringForward = nullptr, *sendBackward = nullptr;
    QAction *align[6] = {};
    QAction *distributeAcross = nullptr, *distributeDown = nullptr;
    QAction *zoomFit = nullptr, *zoomIn = nullptr, *zoomOut = nullptr;
    QAction *zoomTo[3] = {}; // 100%, 200%, 400%
    QAction *showGrid = nullptr, *snapToGrid = nullptr;
    QAction *previousLabel = nullptr, *nextLabel = nullptr;
    QLabel *labelShown = nullptr; // "Label 1 of 250"
    QDockWidget *dock = nullptr;

private:
    void buildInsertMenu(QMenu *menu);
    void buildEditMenu(QMenu *menu);
    void buildViewMenu(QMenu *menu);
    void buildToolbar();
    void insertPictureFile();
    void cutSelection();
    void copySelection();
    void pasteClipboard();
    void duplicateSelection();
    void deleteSelection();
    void selectEverything();
    void pasteObjects(const QString &verb, std::vector<LabelObject> objects);
    void removeSelection(const QString &verb);
    void selectionChanged();
    void showPanel();
    void setGridStep(double units);
    void showNumber();
    double defaultGridUnits() const;
    void guarded(const std::function<void()> &edit);

    QMainWindow &m_window;
    QWidget &m_area;
    LabelDocument &m_document;
    DialogProvider &m_dialogs;
    Hooks m_hooks;
    std::unique_ptr<DocumentHistory> m_history;
    LabelCanvas *m_canvas = nullptr;
    ObjectPanel *m_panel = nullptr;
    QScrollArea *m_scroller = nullptr; // the panel's, in the dock
    std::optional<std::size_t> m_panelIndex; // the object the panel shows
    QActionGroup *m_gridSteps = nullptr;
    LabelRenderer *m_renderer = nullptr;
    bool m_shown = false;
    long long m_number = 1;
    std::optional<LabelRecord> m_record; // the label shown's, read from the data once
    long long m_count = 1;
    int m_pastes = 0; // pasted again and again: each lands a little further on
};
