#pragma once
#include "Design.h"
#include "Dialogs.h"
#include "ImportColumns.h"
#include "LabelDocument.h"

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolBar;
class DesignerView;
class FocusValidator;
class DocumentSource;
class Form1View;
class LabelEditor;
class LabelRenderer;
class Module1;
class OutputCommands;
class PrinterObject;
class RecentDesigns;
class SettingsStore;
class StatusLine;
class Vantrel;

// The designer window: the live record of the design and of the data source.
// Every control forwards its change to the handler named after it; a value the
// program sets runs that handler too, nested, exactly when the value changes.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // The window asks the user through dialogs and prints on printer; both outlive it.
    Form1(SettingsStore &store, DialogProvider &dialogs, PrinterObject &printer, QWidget *parent = nullptr);
    ~Form1() override;

    // Form_Load, then the first Form_Resize; the caller shows the window.
    void startUp();

    // Start-up, settings, layout.
    void Form_Load();
    void Form_Unload();
    void Form_Resize();
    void mnuExit_Click();

    // Symbol appearance.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo3_Change();
    void Combo3_Validate(bool &cancel);
    void Combo4_Click();
    void Combo5_Click();
    void Check1_Click();
    void Check2_Click();
    void Command6_Click();

    // Symbol size and units.
    void Text5_Validate(bool &cancel);
    void Text6_Validate(bool &cancel);
    void Option4_Click();
    void Option5_Click();
    void sizeVantrel1();

    // Data panel.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Check3_Click();
    void Command1_Click();
    void Command7_Click(); // "Columns...": how the import file's rows make values and titles
    void Text1_Change();
    void Text2_Change();

    // Design files.
    void mnuNewDesign_Click();
    void mnuOpenDesign_Click();
    void mnuSaveDesign_Click();
    void mnuSaveDesignAs_Click();
    void mnuRecentDesign_Click(int position); // 0 for the newest
    // Shows a design file in every control and makes it the stored design;
    // false, with a message and nothing changed, when it cannot be used.
    bool openDesign(const QString &path);
    // The design the window shows: every control writes its changes into it.
    LabelDocument &document() { return m_document; }
    const LabelDocument &document() const { return m_document; }
    QString designFile() const; // empty while no design file is open
    bool designChanged() const; // since the design file was opened or saved
    // The label product the print dialog last filled in, kept with the design.
    void setLabelProduct(const QString &name);
    // The label canvas, its menus and the history of the document's steps.
    LabelEditor &editor() { return *m_editor; }
    // The margin sections of the store written from the document.
    void storeMargins();

    Module1 &module1();
    OutputCommands &output();
    SettingsStore &settings();
    // The designer as the output commands and the print dialog see it.
    DesignerView &view();

    // The symbol size set as the user would: the unit selected, then the
    // width and height typed into the size boxes and validated.
    void setSymbolSize(bool inches, const QString &width, const QString &height);
    // One line of what a run did, shown until the next.
    void showStatus(const QString &line);

    // Controls, under the names the handlers use.
    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5, *Text6, *Text7, *Text8;
    QRadioButton *Option1, *Option2, *Option3, *Option4, *Option5;
    QCheckBox *Check1, *Check2, *Check3;
    QComboBox *Combo1, *Combo2, *Combo3, *Combo4, *Combo5;
    QPushButton *Command1, *Command6, *Command7;
    QGroupBox *Frame1;
    QFrame *Picture1;
    QLabel *Picture4;
    QToolBar *Toolbar1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    Vantrel *Vantrel1;
    QAction *mnuPrint, *mnuSave, *mnuCopy, *mnuExit, *mnuAbout;
    QAction *mnuNewDesign, *mnuOpenDesign, *mnuSaveDesign, *mnuSaveDesignAs;
    QAction *mnuRecentDesign[4];
    QAction *mnuHelp; // beside About: the user manual, F1
    QAction *mnuAboutProgram; // beside About: the program's name, version, licence and libraries
    CommonDialog CommonDialog1;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildSizeRow();
    void buildAppearanceRows();
    void buildPreview();
    void buildDataPanel();
    void buildMenu();
    void buildDesignMenu();
    void buildToolbar();
    void setTabOrder();
    // Runs a handler; a failure ends it with a message and the program goes on.
    void runGuarded(const std::function<void()> &handler);
    void tabStopsOnSelected(QButtonGroup *group);
    void connectHandlers();
    // The controls' changes written into the document, before their handlers run.
    void connectDocument();
    void writeSymbol();
    // The canvas's label: the renderer made again when the label changes, its
    // templates tied to the data's columns.
    void showObjects(LabelDocument::Part part);
    void writeSource();
    // An earlier state of the document shown in every control (undo, redo).
    void showDocument(const LabelDocument &state);
    // Every control and the document set from a design's texts.
    void showDesign(const Design &design);
    void buildEditor();
    // The design file as opened, with the document written over it.
    Design documentDesign() const;
    void unitSwitch();
    void setOptionSelected(QRadioButton *option, bool selected);
    // Start-up's steps from a design's texts, handlers running as they do for a user.
    void applyDesign(const Design &design);
    // A whole design made the current one: the controls, prefix and suffix,
    // margins, format options and label product.
    void takeDesign(const Design &design, const QString &file);
    bool leaveDesign(); // asks to save a changed design file; false: stay
    bool writeDesign(const QString &path);
    void showDesignState();
    void showModule(); // the module of the design's pictures, in the status bar
    void applyStoredFontSize();
    void previewImport();
    void symbolSizeFromBox(QLineEdit *box, bool width);
    QSize clientSizePixels() const;

    SettingsStore &m_store;
    DialogProvider &m_dialogs;
    PrinterObject &m_printer;
    Design m_design; // the design file as opened, with keys of its own
    LabelDocument m_document;
    LabelDocument m_savedDocument; // what the design file held when opened or last saved
    QString m_designFile;
    std::unique_ptr<RecentDesigns> m_recent;
    StatusLine *m_statusLine = nullptr; // the last run's summary, the design and the module
    bool m_shown = false;
    QWidget *m_client = nullptr;
    QButtonGroup *m_sourceGroup = nullptr;
    QButtonGroup *m_unitGroup = nullptr;
    std::unique_ptr<DocumentSource> m_dataSource;
    std::unique_ptr<Form1View> m_view;
    std::unique_ptr<Module1> m_module1;
    std::unique_ptr<LabelRenderer> m_labelPreview;
    std::unique_ptr<OutputCommands> m_output;
    std::map<std::size_t, QString> m_objectFaults; // templates the data cannot fill, by object
    std::unique_ptr<LabelEditor> m_editor;
};
