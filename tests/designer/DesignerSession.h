#pragma once
// A designer window driven headless: settings in a temporary folder, the
// modal dialogs replaced by a stand-in, 15 twips per pixel.
#include "ClickCheckBox.h"
#include "Dialogs.h"
#include "Form1.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class StandInDialogs : public DialogProvider {
public:
    std::optional<QString> openAnswer; // nullopt: the user cancels
    int openCalls = 0;
    QStringList messages;

    std::optional<QString> openFile(const QString &, const QString &, const QString &, int &) override
    { ++openCalls; return openAnswer; }
    std::optional<QString> saveFile(const QString &, const QString &, const QString &, int &) override
    { return std::nullopt; }
    bool printerDialog(PrinterObject &) override { return false; }
    void messageBox(const QString &text, const QString &) override { messages << text; }
};

using Keys = QMap<QString, QString>;

class DesignerSession {
public:
    DesignerSession()
    {
        ScreenMetrics::overrideDpi(96, 96);
        DialogProvider::install(&dialogs);
        path = dir.filePath(QStringLiteral("Quillmark2.conf"));
    }
    ~DesignerSession()
    {
        form.reset();
        store.reset();
        DialogProvider::install(nullptr);
    }

    // Keys of section "Form1" as a previous run would have left them.
    void seed(const Keys &keys)
    {
        SettingsStore seeding(path);
        for (auto it = keys.begin(); it != keys.end(); ++it)
            seeding.write(QStringLiteral("Form1"), it.key(), it.value());
    }

    Form1 &start()
    {
        form.reset();
        store = std::make_unique<SettingsStore>(path);
        form = std::make_unique<Form1>(*store);
        form->startUp();
        return *form;
    }

    // Closes the window as the user would; section "Form1" as Qt's INI reader sees it.
    Keys close()
    {
        form->close();
        form.reset();
        store.reset();
        return stored();
    }

    Keys stored() const
    {
        QSettings ini(path, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Form1"));
        Keys keys;
        for (const QString &key : ini.childKeys())
            keys.insert(key, ini.value(key).toString());
        return keys;
    }

    QString writeFile(const QString &name, const QByteArray &content) const
    {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return file.fileName();
    }

    QTemporaryDir dir;
    QString path;
    StandInDialogs dialogs;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Form1> form;
};

// "k=v;k=v" as a map; "k=" is a key whose text is empty.
inline Keys keys(const QString &pairs)
{
    Keys result;
    for (const QString &pair : pairs.split(u';', Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(u'=');
        result.insert(pair.left(eq), pair.mid(eq + 1));
    }
    return result;
}

// The keys of want that actual lacks or holds otherwise; empty when all match.
inline QString mismatches(const Keys &actual, const Keys &want)
{
    QStringList wrong;
    for (auto it = want.begin(); it != want.end(); ++it) {
        const QString got = actual.value(it.key(), QStringLiteral("<missing>"));
        if (got != it.value())
            wrong << it.key() + QStringLiteral(": ") + got + QStringLiteral(" != ") + it.value();
    }
    return wrong.join(QStringLiteral("; "));
}

// What the window and its component show, by name. Size boxes with a point;
// "source" the ticked data options, "unit" Option4, Option5 and the unit flag,
// "enabled" Text1 Text2 Text3 Text7 Text8 Text4 Command1 Check3.
inline Keys state(Form1 &f)
{
    auto bit = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    auto num = [](double n) { return QString::number(n); };
    auto point = [](QLineEdit *box) { return box->text().replace(QLocale().decimalPoint(), QStringLiteral(".")); };
    const QWidget *boxes[] = {f.Text1, f.Text2, f.Text3, f.Text7, f.Text8, f.Text4, f.Command1, f.Check3};
    QString enabled;
    for (const QWidget *w : boxes)
        enabled += bit(w->isEnabled());
    Vantrel &v = *f.Vantrel1;
    return {{"Text1", f.Text1->text()}, {"Text2", f.Text2->text()}, {"Text3", f.Text3->text()},
            {"Text4", f.Text4->text()}, {"Text7", f.Text7->text()}, {"Text8", f.Text8->text()},
            {"Text5", point(f.Text5)}, {"Text6", point(f.Text6)},
            {"Combo1", f.Combo1->currentText()}, {"Combo3", f.Combo3->currentText()},
            {"Combo4", f.Combo4->currentText()}, {"Combo5", f.Combo5->currentText()},
            {"Check1", num(ClickCheckBox::value(f.Check1))}, {"Check2", num(ClickCheckBox::value(f.Check2))},
            {"Check3", num(ClickCheckBox::value(f.Check3))},
            {"source", bit(f.Option1->isChecked()) + bit(f.Option2->isChecked()) + bit(f.Option3->isChecked())},
            {"unit", bit(f.Option4->isChecked()) + bit(f.Option5->isChecked()) + '/' + num(f.unitFlag)},
            {"enabled", enabled}, {"BarType", num(v.BarType())}, {"Scaling", num(v.Scaling())},
            {"Orientation", num(v.Orientation())}, {"ShowText", num(v.ShowText())},
            {"Alignment", num(v.Alignment())}, {"Caption", v.Caption()}, {"Title", v.Title()},
            {"FontSize", num(v.Font().Size())}};
}

// The keys of want that state(f) shows otherwise; empty when all match.
inline QString differs(Form1 &f, const QString &want)
{
    return mismatches(state(f), keys(want));
}

inline bool activate(Form1 &f)
{
    f.show();
    QApplication::setActiveWindow(&f);
    return QTest::qWaitForWindowActive(&f);
}

inline void retype(QWidget *box, const QString &text)
{
    box->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->selectAll();
    else
        box->findChild<QLineEdit *>()->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}
