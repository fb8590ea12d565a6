#pragma once
#include "DataSourceControls.h"
#include "DesignerViewSizes.h"
#include "Dialogs.h"

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolBar;
class FocusValidator;
class Module1;
class OutputCommands;
class SettingsStore;
class Vantrel;

// The designer window: the live record of the design and of the data source.
// Every control forwards its change to the handler named after it; a value the
// program sets runs that handler too, nested, exactly when the value changes.
class Form1 : public QMainWindow, public DataSourceControls, public DesignerViewSizes {
    Q_OBJECT
public:
    explicit Form1(SettingsStore &store, QWidget *parent = nullptr);
    ~Form1() override;

    // Form_Load, then the first Form_Resize; the caller shows the window.
    void startUp();
    // The printer's font names as Combo2 lists them: one entry per family, sorted.
    static QStringList fontList(const QStringList &printerFonts);

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
    void Text1_Change();
    void Text2_Change();

    Module1 &module1() override;
    OutputCommands &output();

    // DataSourceControls and DesignerView.
    bool option1Selected() const override;
    bool option2Selected() const override;
    bool option3Selected() const override;
    QString text1() const override;
    QString text2() const override;
    QString text3() const override;
    QString text4() const override;
    QString text7() const override;
    QString text8() const override;
    int check3Value() const override;
    bool option4Selected() const override;
    bool option5Selected() const override;
    QString text5() const override;
    QString text6() const override;
    Vantrel &vantrel() override;
    CommonDialog &commonDialog() override;
    SettingsStore &settings() override;
    void setSymbolSize(bool inches, const QString &width, const QString &height) override;
    void showStatus(const QString &line) override;

    // Controls, under the names the handlers use.
    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5, *Text6, *Text7, *Text8;
    QRadioButton *Option1, *Option2, *Option3, *Option4, *Option5;
    QCheckBox *Check1, *Check2, *Check3;
    QComboBox *Combo1, *Combo2, *Combo3, *Combo4, *Combo5;
    QPushButton *Command1, *Command6;
    QGroupBox *Frame1;
    QFrame *Picture1;
    QLabel *Picture4;
    QToolBar *Toolbar1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    Vantrel *Vantrel1;
    QAction *mnuPrint, *mnuSave, *mnuCopy, *mnuExit, *mnuAbout;
    QAction *mnuHelp; // beside About: the README's user sections
    CommonDialog CommonDialog1;

    // Twips; unitFlag nonzero shows sizes in inches, 0 in centimetres.
    double symbolWidth = 0.0;
    double symbolHeight = 0.0;
    std::int32_t unitFlag = 0;

protected:
    double designWidthTwips() const override { return symbolWidth; }
    double designHeightTwips() const override { return symbolHeight; }
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildDataPanel();
    void buildMenu();
    void buildToolbar();
    void setTabOrder();
    // Runs a handler; a failure ends it with a message and the program goes on.
    void runGuarded(const std::function<void()> &handler);
    void tabStopsOnSelected(QButtonGroup *group);
    void connectHandlers();
    void unitSwitch();
    void setOptionSelected(QRadioButton *option, bool selected);
    void selectStoredFont(const QString &name);
    void applyStoredFontSize();
    void symbolSizeFromBox(QLineEdit *box, double &twips);
    QSize clientSizePixels() const;

    SettingsStore &m_store;
    bool m_shown = false;
    QWidget *m_client = nullptr;
    QButtonGroup *m_sourceGroup = nullptr;
    QButtonGroup *m_unitGroup = nullptr;
    std::unique_ptr<Module1> m_module1;
    std::unique_ptr<OutputCommands> m_output;
};
