#pragma once
#include "DesignKeys.h"

#include <QMap>
#include <QString>
#include <QStringList>

class SettingsStore;

// A whole design as the texts it is kept in: the designer's settings, the
// print margins, the component's options and the data source with its prefix
// and suffix. The settings store and design files read into it and write from
// it; the designer window and the command line both start from it.
//
// Texts are kept as they stand. A design read from the store is taken as
// start-up has always taken it (a value the controls cannot show is brought to
// the nearest one later, by the window); a design file is checked key by key
// and refused with a message naming the file, the key and the value.
class Design {
public:
    // The largest design file read: a design is a few kilobytes.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    Design(); // every key at its default: the first-run design

    QString text(DesignKey key) const;
    void setText(DesignKey key, const QString &text);

    // The keys the store keeps, each with its default when missing.
    static Design fromStore(const SettingsStore &store);
    // Writes the keys of one section to the store, as they stand.
    void writeSection(SettingsStore &store, const QString &section) const;

    // A design file: every key of the table, and whatever else the file holds
    // (kept, so that a file saved again loses nothing). readFile raises
    // QuillError naming the file, and the key and value where one is wrong.
    static Design readFile(const QString &path);
    void writeFile(const QString &path) const;
    // The text writeFile writes, its picture files as they stand.
    QByteArray fileText() const;

    // Why a key's text breaks its rule ("which is no symbology"), empty when it keeps it.
    static QString fault(DesignKey key, const QString &text);

    // Whole sections, for what the key table does not hold (the label's objects).
    QStringList sectionNames() const;
    QMap<QString, QString> section(const QString &name) const;
    void setSection(const QString &name, const QMap<QString, QString> &keys); // no keys: removed

    // The folder the design file was read from, which its picture files are
    // relative to; empty for a design from the store or made in memory.
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder) { m_folder = folder; }

    // The same texts, wherever they were read from.
    bool operator==(const Design &other) const { return m_sections == other.m_sections; }

private:
    QMap<QString, QMap<QString, QString>> m_sections;
    QString m_folder;
};
