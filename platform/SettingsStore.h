#pragma once
#include <QMap>
#include <QString>

// The per-user settings store: (section, key) -> text for one application.
// Kept in an INI file that QSettings reads; reading a missing key gives the
// default, writing creates or replaces, nothing is ever deleted. Key case is
// kept exactly.
class SettingsStore {
public:
    // The real user's store: $XDG_CONFIG_HOME/<application>/<application>.conf
    // (~/.config when XDG_CONFIG_HOME is unset).
    static QString userStorePath(const QString &application);

    explicit SettingsStore(const QString &iniPath);
    // Flushes; a failure there has nobody to tell, so call flush() first.
    ~SettingsStore();

    QString read(const QString &section, const QString &key, const QString &defaultText) const;
    void write(const QString &section, const QString &key, const QString &text);
    // Puts changed settings on disk: the file is replaced by a complete new one
    // or stays as it was. The empty text on success, else a message naming the
    // file and the reason ("Cannot write "...": No space left on device.").
    QString flush();
    QString path() const;

private:
    QString m_path;
    QMap<QString, QMap<QString, QString>> m_sections;
    bool m_changed = false;
};
