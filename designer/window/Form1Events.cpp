// How the toolkit's notifications reach the handlers: each handler runs nested
// in whatever set the control's value, and only when the value changed.
#include "AboutProgram.h"
#include "Dialogs.h"
#include "FocusValidator.h"
#include "Form1.h"
#include "OutputCommands.h"
#include "QuillError.h"
#include "Vantrel.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolBar>

// A handler has no error handling of its own, yet the program must go on: a
// value the component refuses is reported, and the handler ends there. Every
// handler of the window runs through here.
void Form1::runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const QuillError &error) {
        m_dialogs.messageBox(error.description(), QStringLiteral("Quillmark"));
    } catch (const std::exception &error) {
        m_dialogs.messageBox(QString::fromLocal8Bit(error.what()), QStringLiteral("Quillmark"));
    }
}

// Tab enters an option group at its selected button, as arrow keys then move
// the selection: the others are reached by click only.
void Form1::tabStopsOnSelected(QButtonGroup *group)
{
    QAbstractButton *selected = group->checkedButton();
    for (QAbstractButton *button : group->buttons())
        button->setFocusPolicy(!selected || button == selected ? Qt::StrongFocus : Qt::ClickFocus);
}

void Form1::connectHandlers()
{
    const auto guarded
        = [this](auto handler) { return [this, handler](auto &&...) { runGuarded(handler); }; };
    connect(Text1, &QLineEdit::textChanged, this, guarded([this] { Text1_Change(); }));
    connect(Text2, &QLineEdit::textChanged, this, guarded([this] { Text2_Change(); }));

    connect(Check1, &QCheckBox::stateChanged, this, guarded([this] { Check1_Click(); }));
    connect(Check2, &QCheckBox::stateChanged, this, guarded([this] { Check2_Click(); }));
    connect(Check3, &QCheckBox::stateChanged, this, guarded([this] { Check3_Click(); }));

    connect(Combo1, &QComboBox::currentIndexChanged, this, guarded([this] { Combo1_Click(); }));
    // Typing into the symbology list leaves no item selected, without a click,
    // so a typed text is stored as no selection (-1).
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        if (Combo1->currentIndex() < 0 || Combo1->itemText(Combo1->currentIndex()) == text)
            return;
        const int cursor = Combo1->lineEdit()->cursorPosition();
        {
            const QSignalBlocker blocker(Combo1);
            Combo1->setCurrentIndex(-1);
            Combo1->setEditText(text);
        }
        Combo1->lineEdit()->setCursorPosition(cursor);
    });
    connect(Combo2, &QComboBox::currentIndexChanged, this, guarded([this] { Combo2_Click(); }));
    connect(Combo3, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            runGuarded([this] { Combo3_Click(); });
    });
    connect(Combo3, &QComboBox::editTextChanged, this, guarded([this] { Combo3_Change(); }));
    connect(Combo4, &QComboBox::currentIndexChanged, this, guarded([this] { Combo4_Click(); }));
    connect(Combo5, &QComboBox::currentIndexChanged, this, guarded([this] { Combo5_Click(); }));

    const std::pair<QRadioButton *, void (Form1::*)()> options[] = {{Option1, &Form1::Option1_Click},
                                                                    {Option2, &Form1::Option2_Click},
                                                                    {Option3, &Form1::Option3_Click},
                                                                    {Option4, &Form1::Option4_Click},
                                                                    {Option5, &Form1::Option5_Click}};
    for (const auto &[option, handler] : options) {
        connect(option, &QRadioButton::toggled, this, [this, option, handler = handler](bool checked) {
            tabStopsOnSelected(option->group());
            if (checked)
                runGuarded([this, handler] { (this->*handler)(); });
        });
    }
    tabStopsOnSelected(m_sourceGroup);
    tabStopsOnSelected(m_unitGroup);

    connect(Command1, &QPushButton::clicked, this, guarded([this] { Command1_Click(); }));
    connect(Command6, &QPushButton::clicked, this, guarded([this] { Command6_Click(); }));
    connect(Command7, &QPushButton::clicked, this, guarded([this] { Command7_Click(); }));

    int buttonIndex = 1;
    for (QAction *button : Toolbar1->actions()) {
        connect(button, &QAction::triggered, this,
                guarded([this, index = buttonIndex++] { output().Toolbar1_ButtonClick(index); }));
    }
    connect(mnuPrint, &QAction::triggered, this, guarded([this] { output().mnuPrint_Click(); }));
    connect(mnuSave, &QAction::triggered, this, guarded([this] { output().mnuSave_Click(); }));
    connect(mnuCopy, &QAction::triggered, this, guarded([this] { output().mnuCopy_Click(); }));
    connect(mnuExit, &QAction::triggered, this, guarded([this] { mnuExit_Click(); }));
    connect(mnuAbout, &QAction::triggered, this, guarded([this] { output().mnuAbout_Click(); }));
    connect(mnuHelp, &QAction::triggered, this, guarded([this] { output().mnuHelp_Click(); }));
    connect(mnuAboutProgram, &QAction::triggered, this,
            guarded([this] { m_dialogs.aboutProgram(AboutProgram::title(), AboutProgram::text()); }));

    // Once per change of the symbol, as cheap as one layout without drawing.
    connect(Vantrel1, &Vantrel::symbolChanged, this, [this] { showModule(); });

    new FocusValidator(Text5,
                       [this](bool &cancel) { runGuarded([this, &cancel] { Text5_Validate(cancel); }); });
    new FocusValidator(Text6,
                       [this](bool &cancel) { runGuarded([this, &cancel] { Text6_Validate(cancel); }); });
    new FocusValidator(Combo3,
                       [this](bool &cancel) { runGuarded([this, &cancel] { Combo3_Validate(cancel); }); });
}
