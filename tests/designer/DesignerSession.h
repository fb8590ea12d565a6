#pragma once
// A designer window driven headless: settings in a temporary folder, the
// modal dialogs replaced by a stand-in, 15 twips per pixel.
#include "ClickCheckBox.h"
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
    DesignerSession(const QString &stored = {}) { ScreenMetrics::overrideDpi(96, 96), seed(stored); }
    void seed(const QString &stored) { SettingsStore s(path); for (auto [k, v] : keys(stored).asKeyValueRange()) s.write("Form1", k, v); }
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
        form.reset(), store.reset();
        QSettings ini(path, QSettings::IniFormat);
        Keys k;
        for (const QString &key : ini.allKeys())
            k.insert(key.section(u'/', 1), ini.value(key).toString());
        return k;
    }
    QString writeFile(const QString &name, const QByteArray &content) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly), file.write(content), file.fileName();
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
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Form1> form;
};

// What the window and its component show, by name: sizes with a point, the
// values of Check1 to Check3, the ticked data and unit options, and "enabled"
// Text1 Text2 Text3 Text7 Text8 Text4 Command1 Check3; "Module" as the status bar tells it, with a point.
inline QString differs(Form1 &f, const QString &want)
{
    auto bits = [](QList<QWidget *> widgets, bool checked) {
        QString on;
        for (QWidget *w : widgets)
            on += checked ? QChar(u'0' + qobject_cast<QAbstractButton *>(w)->isChecked()) : QChar(u'0' + w->isEnabled());
        return on;
    };
    auto num = [](double n) { return QString::number(n); };
    auto box = [](QLineEdit *b) { return b->text().replace(QLocale().decimalPoint(), "."); };
    Vantrel &v = *f.Vantrel1;
    const QString moduleShown =
        f.statusBar()->findChild<QLabel *>("module")->text().replace(QLocale().decimalPoint(), ".");
    return mismatches(
        {{"Text1", f.Text1->text()}, {"Text2", f.Text2->text()}, {"Text4", f.Text4->text()}, {"Text5", box(f.Text5)},
         {"Text6", box(f.Text6)}, {"Combo1", f.Combo1->currentText()}, {"Combo3", f.Combo3->currentText()},
         {"Combo4", f.Combo4->currentText()}, {"Combo5", f.Combo5->currentText()},
         {"Checks", num(ClickCheckBox::value(f.Check1)) + num(ClickCheckBox::value(f.Check2)) + num(ClickCheckBox::value(f.Check3))},
         {"source", bits({f.Option1, f.Option2, f.Option3}, true)}, {"unit", bits({f.Option4, f.Option5}, true)},
         {"enabled", bits({f.Text1, f.Text2, f.Text3, f.Text7, f.Text8, f.Text4, f.Command1, f.Check3}, false)},
         {"BarType", num(v.BarType())}, {"Scaling", num(v.Scaling())}, {"Orientation", num(v.Orientation())},
         {"ShowText", num(v.ShowText())}, {"Alignment", num(v.Alignment())}, {"Caption", v.Caption()},
         {"Title", v.Title()}, {"FontSize", num(v.Font().Size())},
         {"Module", moduleShown}},
        want);
}

inline void retype(QWidget *box, const QString &text)
{
    box->setFocus();
    qobject_cast<QLineEdit *>(box) ? qobject_cast<QLineEdit *>(box)->selectAll() : box->findChild<QLineEdit *>()->selectAll();
    QTest::keyClick(box, Qt::Key_Delete), QTest::keyClicks(box, text);
}
