#pragma once
// A designer window driven headless: settings in a temporary folder, the
// modal dialogs replaced by a stand-in, 15 twips per pixel.
#include "ClickCheckBox.h"
#include "Files.h"
#include "Form1.h"
#include "ScreenMetrics.h"
#include "StandInDesigner.h"

#include <QtTest>
#include <QtWidgets>

using Keys = QMap<QString, QString>;

// "k=v;k=v" as a map; "k=" is a key whose text is empty.
inline Keys keys(const QString &pairs)
{
    Keys result;
    for (const QString &pair : pairs.split(u';', Qt::SkipEmptyParts))
        result.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return result;
}

// The keys of want that actual holds otherwise; empty when all match.
inline QString mismatches(const Keys &actual, const QString &want)
{
    QStringList wrong;
    for (auto [key, value] : keys(want).asKeyValueRange())
        if (actual.value(key, "<missing>") != value)
            wrong << key + u'=' + actual.value(key, "<missing>");
    return wrong.join(u';');
}

struct DesignerSession {
    DesignerSession(const QString &stored = {})
    {
        ScreenMetrics::overrideDpi(96, 96);
        seed(stored);
    }
    void seed(const QString &stored)
    {
        SettingsStore s(path);
        for (auto [key, value] : keys(stored).asKeyValueRange())
            s.write("Form1", key, value);
    }
    Form1 &start()
    {
        form.reset();
        store = std::make_unique<SettingsStore>(path);
        form = std::make_unique<Form1>(*store, dialogs, printer);
        form->startUp();
        return *form;
    }
    // Closes the window as the user would; section "Form1" as Qt's INI reader sees it.
    Keys close()
    {
        form->close();
        form.reset();
        store.reset();
        QSettings ini(path, QSettings::IniFormat);
        Keys k;
        for (const QString &key : ini.allKeys())
            k.insert(key.section(u'/', 1), ini.value(key).toString());
        return k;
    }
    QString writeFile(const QString &name, const QByteArray &content) const
    {
        plant(dir.filePath(name), content);
        return dir.filePath(name);
    }
    bool activate()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        return QTest::qWaitForWindowActive(form.get());
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Quillmark2.conf"));
    StandInDialogs dialogs;
    PrinterObject printer;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Form1> form;
};

using Widgets = QList<std::pair<QString, const QWidget *>>; // by the names Form1 gives them

// The names of the widgets that are ticked (checked) or enabled, in the order given.
inline QString named(const Widgets &widgets, bool (*on)(const QWidget *))
{
    QStringList names;
    for (const auto &[name, w] : widgets)
        if (on(w))
            names << name;
    return names.join(u' ');
}
inline bool ticked(const QWidget *w) { return qobject_cast<const QAbstractButton *>(w)->isChecked(); }
inline bool enabled(const QWidget *w) { return w->isEnabled(); }

// What the window and its component show, by name: sizes with a point, the
// values of Check1 to Check3, the ticked data ("source") and unit options, the
// enabled ones of Text1 Text2 Text3 Text7 Text8 Text4 Command1 Check3; "Module"
// as the status bar tells it, with a point.
inline QString differs(Form1 &f, const QString &want)
{
    const auto num = [](double n) { return QString::number(n); };
    const auto box = [](QLineEdit *b) { return b->text().replace(QLocale().decimalPoint(), "."); };
    const auto check = [&](QCheckBox *c) { return num(ClickCheckBox::value(c)); };
    Vantrel &v = *f.Vantrel1;
    QLabel *module = f.statusBar()->findChild<QLabel *>("module");
    const Widgets sources{{"Option1", f.Option1}, {"Option2", f.Option2}, {"Option3", f.Option3}};
    const Widgets units{{"Option4", f.Option4}, {"Option5", f.Option5}};
    const Widgets switches{{"Text1", f.Text1},       {"Text2", f.Text2},  {"Text3", f.Text3},
                           {"Text7", f.Text7},       {"Text8", f.Text8},  {"Text4", f.Text4},
                           {"Command1", f.Command1}, {"Check3", f.Check3}};
    const Keys shown{
        {"Text1", f.Text1->text()},
        {"Text5", box(f.Text5)},
        {"Text6", box(f.Text6)},
        {"Combo1", f.Combo1->currentText()},
        {"Combo3", f.Combo3->currentText()},
        {"Combo4", f.Combo4->currentText()},
        {"Combo5", f.Combo5->currentText()},
        {"Check1", check(f.Check1)},
        {"Check2", check(f.Check2)},
        {"Check3", check(f.Check3)},
        {"source", named(sources, ticked)},
        {"unit", named(units, ticked)},
        {"enabled", named(switches, enabled)},
        {"BarType", num(v.BarType())},
        {"Scaling", num(v.Scaling())},
        {"Orientation", num(v.Orientation())},
        {"Alignment", num(v.Alignment())},
        {"Caption", v.Caption()},
        {"Title", v.Title()},
        {"FontSize", num(v.Font().Size())},
        {"Module", module->text().replace(QLocale().decimalPoint(), ".")},
    };
    return mismatches(shown, want);
}

inline void retype(QWidget *box, const QString &text)
{
    box->setFocus();
    QLineEdit *line = qobject_cast<QLineEdit *>(box);
    if (!line) // an editable combo box
        line = box->findChild<QLineEdit *>();
    line->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}
