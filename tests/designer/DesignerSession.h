#pragma once
// A designer window driven headless: settings in a temporary folder, the
// modal dialogs replaced by a stand-in, 15 twips per pixel.
#include "Dialogs.h"
#include "Form1.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"

#include <QFile>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

class StandInDialogs : public DialogProvider {
public:
    std::optional<QString> openAnswer; // nullopt: the user cancels
    int openCalls = 0;
    QStringList messages;

    std::optional<QString> openFile(const QString &, const QString &, const QString &, int &) override
    {
        ++openCalls;
        return openAnswer;
    }
    std::optional<QString> saveFile(const QString &, const QString &, const QString &, int &) override
    {
        return std::nullopt;
    }
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

    // Closes the window as the user would and reads section "Form1" back
    // with Qt's own INI reader.
    Keys close()
    {
        form->close();
        form.reset();
        store.reset();
        QSettings ini(path, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Form1"));
        Keys keys;
        for (const QString &key : ini.childKeys())
            keys.insert(key, ini.value(key).toString());
        return keys;
    }

    QByteArray rawFile() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
